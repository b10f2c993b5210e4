#!/usr/bin/env bash
# Starts the viewer with the arguments given (file names are taken from the folder the script is
# started in). Before that, when the viewer is not built or a source changed since its build, it
# installs what is missing and builds the viewer of the release preset (the viewer alone, not the
# benchmarks the preset also makes), quietly: the build's output goes to a log, shown only when
# the build fails.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
viewer="$root/build/release/viewer/zelview"
log="$root/build/release-build.log"

build="$root/build/release"

# True when the viewer is built and nothing it is built from changed since. Before anything else
# ninja brings its build file up to date: it re-checks the source folders (the CONFIGURE_DEPENDS
# globs, so that an added source is seen) and re-runs CMake when they or a CMake file changed.
# A dry run cannot tell whether that step has work (it always reports it), so that step runs for
# real, quietly; the viewer itself is then asked with a dry run over the same build file read as
# an included one, which ninja does not try to regenerate.
up_to_date() {
  [ -x "$viewer" ] && command -v ninja >/dev/null || return 1
  ninja -C "$build" build.ninja >/dev/null 2>&1 || return 1
  [ -e "$build/viewer-check.ninja" ] || echo "include build.ninja" >"$build/viewer-check.ninja"
  ninja -C "$build" -f viewer-check.ninja -n zelview 2>/dev/null | grep -q '^ninja: no work to do'
}

if ! up_to_date; then
  echo "Building the viewer (output in $log) ..." >&2
  mkdir -p "$root/build"
  # Let ccache share its cache between clones in different folders.
  if ! (cd "$root" && scripts/setup-deps.sh &&
        export CCACHE_BASEDIR="$root" CCACHE_NOHASHDIR=1 &&
        cmake --preset release && cmake --build --preset release -j "$(nproc)" --target zelview) >"$log" 2>&1; then
    tail -n 30 "$log" >&2
    echo "The viewer could not be built; the whole output is in $log" >&2
    exit 1
  fi
fi
exec "$viewer" "$@"
