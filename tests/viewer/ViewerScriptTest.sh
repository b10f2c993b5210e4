#!/usr/bin/env bash
# scripts/viewer.sh (the argument) run in a stand-in tree: a viewer that prints where it runs and
# what it got, noisy stand-ins for the set-up and cmake, and a ninja whose dry run reports work
# only while "changed" exists. The script starts the viewer at once when nothing changed, passes
# names relative to the caller's folder through untouched, and builds quietly otherwise.
set -euo pipefail
script="$1"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

mkdir -p "$tmp/tree/scripts" "$tmp/tree/build/release/viewer" "$tmp/bin" "$tmp/work/data"
cp "$script" "$tmp/tree/scripts/viewer.sh"
cat >"$tmp/tree/build/release/viewer/zelview" <<'END'
#!/usr/bin/env bash
echo "cwd=$PWD"
for a in "$@"; do echo "arg=$a"; done
END
cat >"$tmp/tree/scripts/setup-deps.sh" <<'END'
#!/usr/bin/env bash
echo setup >>"$STAND_IN/ran"
for i in $(seq 60); do echo "set-up line $i"; done
END
cat >"$tmp/bin/cmake" <<'END'
#!/usr/bin/env bash
echo "cmake $*" >>"$STAND_IN/ran"
for i in $(seq 60); do echo "build line $i"; done
[ ! -e "$STAND_IN/broken" ]
END
cat >"$tmp/bin/ninja" <<'END'
#!/usr/bin/env bash
if [ -e "$STAND_IN/changed" ]; then echo "[1/2] Building CXX object viewer/Entry.cpp.o"
else echo "ninja: Entering directory 'build/release'"; echo "ninja: no work to do."; fi
END
chmod +x "$tmp/tree/scripts/viewer.sh" "$tmp/tree/build/release/viewer/zelview" "$tmp/tree/scripts/setup-deps.sh" "$tmp/bin/"*
export PATH="$tmp/bin:$PATH" STAND_IN="$tmp"
cd "$tmp/work"

# Nothing changed: the viewer starts at once, in the caller's folder, with the names as given.
out="$(../tree/scripts/viewer.sh data/a.csv 2>&1)"
[ "$out" = "$(printf 'cwd=%s\narg=data/a.csv' "$tmp/work")" ] || fail "up to date: got [$out]"
[ ! -e "$tmp/ran" ] || fail "built although nothing changed: $(cat "$tmp/ran")"
out="$(../tree/scripts/viewer.sh -- -x.csv 2>&1)"
[ "$out" = "$(printf 'cwd=%s\narg=--\narg=-x.csv' "$tmp/work")" ] || fail "options: got [$out]"

# A source changed: set-up and build run, their output kept out of sight, then the viewer.
touch "$tmp/changed"
out="$(../tree/scripts/viewer.sh --help 2>&1)"
grep -q "^setup$" "$tmp/ran" || fail "no set-up before the build"
grep -q "^cmake --build --preset release" "$tmp/ran" || fail "no build"
[ "$(printf '%s\n' "$out" | grep -c 'line')" = 0 ] || fail "build output shown: [$out]"
[ "$(printf '%s\n' "$out" | tail -n 2)" = "$(printf 'cwd=%s\narg=--help' "$tmp/work")" ] || fail "changed: got [$out]"
[ "$(printf '%s\n' "$out" | wc -l)" -le 3 ] || fail "more than one line of its own: [$out]"

# A build that fails: the end of its output is shown, the viewer does not start, status 1.
touch "$tmp/broken"
status=0
out="$(../tree/scripts/viewer.sh data/a.csv 2>&1)" || status=$?
[ "$status" = 1 ] || fail "failed build: status $status"
printf '%s\n' "$out" | grep -q "build line 60" || fail "failed build: no output shown [$out]"
printf '%s\n' "$out" | grep -q "^cwd=" && fail "the viewer started after a failed build"
echo "viewer.sh: all cases pass"
