# Sourced by the smoke tests: starts a private Xvfb, exports DISPLAY, and
# stops it (and whatever the test started) on exit.
start_xvfb() {
  command -v Xvfb >/dev/null || { echo "SKIP: Xvfb is not installed"; exit 77; }
  command -v xdotool >/dev/null || { echo "SKIP: xdotool is not installed"; exit 77; }
  local fifo
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$fifo" >/dev/null 2>&1 &
  XVFB_PID=$!
  local number
  read -r -t 20 number <"$fifo" || { echo "FAIL: Xvfb did not start"; exit 1; }
  rm -f "$fifo"
  export DISPLAY=":$number"
  export QT_QPA_PLATFORM=xcb
  trap stop_session EXIT
}

stop_session() {
  [ -n "${APP_PID:-}" ] && kill "$APP_PID" 2>/dev/null
  [ -n "${WM_PID:-}" ] && kill "$WM_PID" 2>/dev/null
  [ -n "${A11Y_PID:-}" ] && kill "$A11Y_PID" 2>/dev/null
  [ -n "${BUS_PID:-}" ] && kill "$BUS_PID" 2>/dev/null
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null
  [ -n "${STAGE:-}" ] && rm -rf "$STAGE"
  return 0
}

# wait_for_window NAME SECONDS: prints the window id once a window of exactly
# that name is mapped.
wait_for_window() {
  local name=$1 seconds=$2 id
  for _ in $(seq $((seconds * 10))); do
    id=$(xdotool search --onlyvisible --name "^${name}\$" 2>/dev/null | head -n1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

# wait_for_exit PID SECONDS: succeeds with the process's exit status in EXIT_STATUS.
wait_for_exit() {
  local pid=$1 seconds=$2
  for _ in $(seq $((seconds * 10))); do
    if ! kill -0 "$pid" 2>/dev/null; then
      wait "$pid"
      EXIT_STATUS=$?
      return 0
    fi
    sleep 0.1
  done
  return 1
}

# start_window_manager: openbox on the session's display, so windows get
# frames, title bars and the window manager's close requests; waits until
# it manages the screen.
start_window_manager() {
  local tool
  for tool in openbox wmctrl xprop xwininfo; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
  done
  openbox --sm-disable >/dev/null 2>&1 &
  WM_PID=$!
  for _ in $(seq 200); do
    wmctrl -m >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "FAIL: openbox did not start"
  exit 1
}
