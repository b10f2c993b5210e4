#!/usr/bin/env bash
# scripts/viewer.sh (the argument) run in a small tree built by the real CMake and ninja: its
# "viewer" is a shell script made from the sources src/*.txt, found by a CONFIGURE_DEPENDS glob as
# in the project, and prints where it runs, what it got and what it was made from. The set-up is a
# noisy stand-in. The script starts the viewer at once when nothing changed (no build, no word of
# its own), passes names relative to the caller's folder through untouched, and builds quietly when
# a source changed or was added, and then the viewer alone (not the other targets of its preset).
set -euo pipefail
script="$1"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
command -v ninja >/dev/null || fail "ninja is needed"

tree="$tmp/tree"
mkdir -p "$tree/scripts" "$tree/src" "$tmp/work/data"
cp "$script" "$tree/scripts/viewer.sh"
cat >"$tree/scripts/setup-deps.sh" <<'END'
#!/usr/bin/env bash
echo setup >>"$STAND_IN/ran"
for i in $(seq 60); do echo "set-up line $i"; done
END
cat >"$tree/CMakePresets.json" <<'END'
{ "version": 6,
  "configurePresets": [ { "name": "release", "generator": "Ninja",
                          "binaryDir": "${sourceDir}/build/release" } ],
  "buildPresets": [ { "name": "release", "configurePreset": "release" } ] }
END
cat >"$tree/CMakeLists.txt" <<'END'
cmake_minimum_required(VERSION 3.25)
project(StandIn NONE)
file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/*.txt)
set(viewer ${CMAKE_BINARY_DIR}/viewer/zelview)
add_custom_command(OUTPUT ${viewer} DEPENDS ${sources} ${CMAKE_SOURCE_DIR}/make-viewer.sh
                   COMMAND bash ${CMAKE_SOURCE_DIR}/make-viewer.sh ${viewer} ${sources})
add_custom_target(zelview ALL DEPENDS ${viewer})
# What the release preset builds besides the viewer (the benchmarks): never built by the script.
add_custom_target(bench ALL COMMAND echo bench >>$ENV{STAND_IN}/ran)
END
# Makes the viewer from the sources; a source holding "broken" fails the build after 60 lines.
cat >"$tree/make-viewer.sh" <<'END'
out="$1"; shift
echo build >>"$STAND_IN/ran"
if grep -q broken "$@"; then for i in $(seq 60); do echo "build line $i"; done; exit 1; fi
mkdir -p "$(dirname "$out")"
{ echo '#!/usr/bin/env bash'
  echo 'echo "cwd=$PWD"; for a in "$@"; do echo "arg=$a"; done'
  echo "echo 'from=$(cat "$@" | tr '\n' ' ')'"; } >"$out"
chmod +x "$out"
END
echo "one" >"$tree/src/a.txt"
chmod +x "$tree/scripts/"*.sh
export STAND_IN="$tmp"
cd "$tmp/work"
start() { ../tree/scripts/viewer.sh "$@" 2>&1; }
expect_quiet_start() { # what ran, then the viewer's output expected for data/a.csv
  rm -f "$tmp/ran"
  out="$(start data/a.csv)"
  [ "$out" = "$(printf 'cwd=%s\narg=data/a.csv\nfrom=%s' "$tmp/work" "$1")" ] || fail "$2: got [$out]"
  [ ! -e "$tmp/ran" ] || fail "$2: built although nothing changed: $(cat "$tmp/ran")"
}
expect_quiet_build() { # the viewer's sources expected after the build
  rm -f "$tmp/ran"
  out="$(start --help)"
  grep -q "^setup$" "$tmp/ran" || fail "$2: no set-up before the build"
  grep -q "^build$" "$tmp/ran" || fail "$2: no build"
  grep -q "^bench$" "$tmp/ran" && fail "$2: built more than the viewer"
  [ "$(printf '%s\n' "$out" | grep -c 'line \|Re-\|^-- ')" = 0 ] || fail "$2: build output shown: [$out]"
  [ "$(printf '%s\n' "$out" | tail -n 3)" = "$(printf 'cwd=%s\narg=--help\nfrom=%s' "$tmp/work" "$1")" ] ||
    fail "$2: got [$out]"
  [ "$(printf '%s\n' "$out" | wc -l)" -le 4 ] || fail "$2: more than one line of its own: [$out]"
}

# Not built yet: set-up and build run quietly, then the viewer. Started again with nothing
# changed: the viewer starts at once, in the caller's folder, with the names as given.
expect_quiet_build "one " "first start"
expect_quiet_start "one " "second start"
expect_quiet_start "one " "third start"
out="$(start -- -x.csv)"
[ "$out" = "$(printf 'cwd=%s\narg=--\narg=-x.csv\nfrom=one ' "$tmp/work")" ] || fail "options: got [$out]"

# A source changed, then a source added (seen only through the glob): each is built once.
echo "two" >"$tree/src/a.txt"
expect_quiet_build "two " "a source changed"
expect_quiet_start "two " "after the change"
echo "three" >"$tree/src/b.txt"
expect_quiet_build "two three " "a source added"
expect_quiet_start "two three " "after the addition"

# A build that fails: the end of its output is shown, the viewer does not start, status 1.
echo "broken" >"$tree/src/b.txt"
status=0
out="$(start data/a.csv)" || status=$?
[ "$status" = 1 ] || fail "failed build: status $status"
printf '%s\n' "$out" | grep -q "build line 60" || fail "failed build: no output shown [$out]"
printf '%s\n' "$out" | grep -q "^cwd=" && fail "the viewer started after a failed build"
echo "viewer.sh: all cases pass"
