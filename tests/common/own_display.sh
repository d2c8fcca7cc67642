#!/usr/bin/env bash
# Runs a test program on an X server of its own. The window tests compare
# what the screen shows; on a display shared with tests running beside them,
# another program's window can cover the view they read. Without Xvfb the
# program runs on the display it was given.
command -v Xvfb >/dev/null 2>&1 || exec "$@"

dir=$(mktemp -d) || exec "$@"
mkfifo "$dir/display"
# Xvfb writes its display number once it takes connections.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -noreset -nolisten tcp 3>"$dir/display" 2>"$dir/log" &
server=$!
cleanup() {
  kill "$server" 2>/dev/null
  wait "$server" 2>/dev/null
  rm -rf "$dir"
}
trap cleanup EXIT
display=""
read -r -t 20 display <"$dir/display"
if [ -z "$display" ]; then
  echo "own_display: Xvfb did not start:" >&2
  cat "$dir/log" >&2
  exit 1
fi
export DISPLAY=":$display"
unset WAYLAND_DISPLAY
# The display number can come before the first client is let in.
if command -v xdpyinfo >/dev/null 2>&1; then
  for _ in $(seq 1 100); do
    xdpyinfo >/dev/null 2>&1 && break
    sleep 0.05
  done
fi
"$@"
