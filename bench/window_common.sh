# Sourced by the window benchmarks after they set root, records and samples: checks the release
# build (BUILD_DIR, default build/release) and sets build; writes the session file once and sets
# file; without DISPLAY, starts an Xvfb on a free display for the script's run (ended when the
# script ends); gives Qt a private runtime folder.
build=${BUILD_DIR:-$root/build/release}
for exe in "$build/viewer/zelview" "$build/bench/window_load"; do
  [ -x "$exe" ] || { echo "no $exe: build the release preset first"; exit 2; }
done

work=${TMPDIR:-/tmp}
c++ -O2 -std=c++20 -o "$work/zel_session_gen" "$root/bench/session_gen.cpp"
file="$work/zel_timing_${records}x${samples}.csv"
[ -s "$file" ] || "$work/zel_session_gen" "$records" "$samples" "$file"

if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 90 120); do [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break; done
  Xvfb ":$n" -screen 0 1280x1024x24 >/dev/null 2>&1 &
  zel_xvfb=$!
  trap 'kill "$zel_xvfb" 2>/dev/null || true' EXIT
  export DISPLAY=":$n"
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
fi
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$work/zel-xdg}
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM
