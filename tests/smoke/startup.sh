#!/usr/bin/env bash
# The built program in a real X window: with NewCodes.mdb beside it the main
# window appears; without it a message box appears, and pressing Enter on it
# ends the program with no main window ever shown.
set -uo pipefail
program=$1
newcodes=$2
. "$(dirname "$0")/xvfb-session.sh"
start_xvfb

STAGE=$(mktemp -d)
export XDG_CONFIG_HOME=$STAGE/config # where Qt's file dialog keeps its state
mkdir "$STAGE/with" "$STAGE/without"
cp "$program" "$STAGE/with/valdoren"
cp "$newcodes" "$STAGE/with/NewCodes.mdb"
cp "$program" "$STAGE/without/valdoren"

# Where no session bus runs, it starts none: libdbus would run dbus-launch
# (from the PATH, too), whose bus stays behind.
mkdir -m 700 "$STAGE/bin" "$STAGE/runtime"
printf '#!/bin/sh\ntouch "%s"\n' "$STAGE/launched" >"$STAGE/bin/dbus-launch" && chmod +x "$STAGE/bin/dbus-launch"
env -u DBUS_SESSION_BUS_ADDRESS XDG_RUNTIME_DIR="$STAGE/runtime" PATH="$STAGE/bin:$PATH" "$STAGE/with/valdoren" &
APP_PID=$!
if ! wait_for_window "Valdoren Baru ke Lorvanta" 30 >/dev/null; then
  echo "FAIL: the main window did not appear"
  exit 1
fi
echo "ok: main window shown with NewCodes.mdb present"
kill "$APP_PID"
wait "$APP_PID" 2>/dev/null
APP_PID=
[ ! -e "$STAGE/launched" ] || { echo "FAIL: without a session bus, it ran dbus-launch"; exit 1; }
echo "ok: no session bus started where none runs"

# A session bus at $XDG_RUNTIME_DIR/bus, named nowhere else, is the one it
# uses: a screen reader talks to it there.
bus=unix:path=$STAGE/runtime/bus
dbus-daemon --session --nofork --address="$bus" 2>/dev/null &
BUS_PID=$!
on_bus() { dbus-send --bus="$bus" --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus "$@" 2>/dev/null; }
for _ in $(seq 100); do on_bus org.freedesktop.DBus.ListNames >/dev/null && break; sleep 0.1; done
env -u DBUS_SESSION_BUS_ADDRESS XDG_RUNTIME_DIR="$STAGE/runtime" "$STAGE/with/valdoren" &
APP_PID=$!
wait_for_window "Valdoren Baru ke Lorvanta" 30 >/dev/null || { echo "FAIL: the main window did not appear"; exit 1; }
connected=
for _ in $(seq 100); do
  for name in $(on_bus org.freedesktop.DBus.ListNames | grep -o '":[0-9.]*"' | tr -d '"'); do
    on_bus org.freedesktop.DBus.GetConnectionUnixProcessID string:"$name" | grep -q "uint32 $APP_PID\$" && connected=1
  done
  [ -n "$connected" ] && break
  sleep 0.1
done
kill "$APP_PID" "$BUS_PID"
wait "$APP_PID" "$BUS_PID" 2>/dev/null
APP_PID= BUS_PID=
[ -n "$connected" ] || { echo "FAIL: it did not use the session bus at \$XDG_RUNTIME_DIR/bus"; exit 1; }
echo "ok: the session bus at \$XDG_RUNTIME_DIR/bus is used"

"$STAGE/without/valdoren" &
APP_PID=$!
if ! box=$(wait_for_window "Valdoren" 30); then
  echo "FAIL: no message box without NewCodes.mdb"
  exit 1
fi
if xdotool search --onlyvisible --name "^Valdoren Baru ke Lorvanta\$" >/dev/null 2>&1; then
  echo "FAIL: the main window opened without NewCodes.mdb"
  exit 1
fi
xdotool windowfocus --sync "$box" key Return
if ! wait_for_exit "$APP_PID" 20; then
  echo "FAIL: the program did not end after the message"
  exit 1
fi
APP_PID=
[ "$EXIT_STATUS" -eq 0 ] || { echo "FAIL: exit status $EXIT_STATUS"; exit 1; }
echo "ok: message box, then the program ended with status 0"
