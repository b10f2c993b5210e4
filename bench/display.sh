# Sourced by the window benchmarks: without DISPLAY, starts an Xvfb on a free display for the
# script's run (ended when the script ends), and gives Qt a private runtime folder.
if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 90 120); do [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break; done
  Xvfb ":$n" -screen 0 1280x1024x24 >/dev/null 2>&1 &
  zel_xvfb=$!
  trap 'kill "$zel_xvfb" 2>/dev/null || true' EXIT
  export DISPLAY=":$n"
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
fi
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-${TMPDIR:-/tmp}/zel-xdg}
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM
