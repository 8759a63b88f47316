#!/usr/bin/env bash
# The installed program in a real X window under a window manager (openbox),
# driven as a person would: Ok, "Selesai", "?", the info window, Close; then
# the target and LastInfo.txt are checked. Along the way: the main window is
# centred with its frame, message boxes are modal and titled "Valdoren", the
# info window carries no icon, and at QT_SCALE_FACTOR=2 both windows have
# twice their size. Then: Ok on a database with another password shows its
# message and leaves the file byte for byte as it was; and the window's close
# box during a run stops the run, releases the target and ends the program;
# meanwhile a screen reader, over the accessibility bus, can change none of
# the choices, and is told when they become unavailable and available again.
# A screen reader reads every kind of message box as the message itself,
# character for character, and Ctrl+C copies the same text, with
# accessibility switched on by QT_LINUX_ACCESSIBILITY_ALWAYS_ON and, as a
# screen reader does, by the accessibility bus's status.
#
# endtoend.sh BUILD_DIR [PROGRAM_FOLDER]: the program installed from
# BUILD_DIR, or the one already installed in PROGRAM_FOLDER (such as the
# package's /usr/lib/valdoren).
set -uo pipefail
export LC_ALL=C.UTF-8
build_dir=$1
here=$(cd "$(dirname "$0")" && pwd)
# A session bus of its own, and a runtime folder of its own, where the
# accessibility bus keeps its socket: a second test beside this one must not
# share either. Whatever the test started carries that folder in its
# environment, so what is left once the session has ended is found.
if [ -z "${VALDOREN_OWN_SESSION_BUS:-}" ]; then
  for tool in dbus-run-session /usr/libexec/at-spi-bus-launcher xclip; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (tools/install-deps installs it)"; exit 1; }
  done
  /usr/bin/python3 -c "import gi; gi.require_version('Atspi', '2.0')" 2>/dev/null ||
    { echo "FAIL: no AT-SPI binding for Python (python3-gi, gir1.2-atspi-2.0)"; exit 1; }
  runtime=$(mktemp -d)
  VALDOREN_OWN_SESSION_BUS=1 XDG_RUNTIME_DIR=$runtime dbus-run-session -- bash "$0" "$@"
  status=$?
  for _ in $(seq 100); do
    left=$(grep -lsz "^XDG_RUNTIME_DIR=$runtime\$" /proc/[0-9]*/environ | cut -d/ -f3)
    [ -z "$left" ] && break
    sleep 0.1
  done
  rm -rf "$runtime"
  if [ -n "$left" ]; then
    echo "FAIL: left behind: $(ps -o pid=,args= -p "${left//$'\n'/,}")"
    exit 1
  fi
  exit $status
fi
. "$here/xvfb-session.sh"
start_xvfb
start_window_manager
# The accessibility bus, kept off the display: a program finds it only
# through the session bus, where its status says whether a screen reader
# runs.
env -u DISPLAY /usr/libexec/at-spi-bus-launcher --launch-immediately &
A11Y_PID=$!
for _ in $(seq 100); do
  dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus 2>/dev/null | grep -q "boolean true" && break
  sleep 0.1
done
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1

STAGE=$(mktemp -d)
export XDG_CONFIG_HOME=$STAGE/config # where Qt's file dialog keeps its state
export XDG_DATA_HOME=$STAGE/data     # where LastInfo.txt goes when the program folder is not writable
if [ -n "${2:-}" ]; then
  folder=$2
else
  cmake --install "$build_dir" --prefix "$STAGE/install" >/dev/null || { echo "FAIL: install"; exit 1; }
  folder=$STAGE/install/lib/valdoren
fi
db=$folder/valdoren-db
export WINEPREFIX=$STAGE/wine
target=$WINEPREFIX/drive_c/Karsela/ROZ5/dbROZ.mdb
mkdir -p "$(dirname "$target")"
"$db" create-target "$target" --program ROZ || exit 1
SCALE=1

fail() { echo "FAIL: $*"; exit 1; }

# click WINDOW X Y: a left click at a point of the window's client area, in
# the program's device-independent pixels. The server takes the move before
# the click; waiting for the move (--sync) would wait for nothing when the
# pointer is already there.
click() {
  xdotool mousemove --window "$1" $(($2 * SCALE)) $(($3 * SCALE)) click 1
}

# client_geometry WINDOW: "X Y WIDTH HEIGHT" of the client area on the screen.
client_geometry() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
                           /^  Width/ {w=$NF} /^  Height/ {h=$NF} END {print x, y, w, h}'
}

# frame_off_centre WINDOW: how far the centre of the window with its frame
# lies from the screen's centre, "DX DY" in pixels.
frame_off_centre() {
  local x y w h left right top bottom sw sh
  read -r x y w h < <(client_geometry "$1")
  IFS=', ' read -r left right top bottom < <(xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= //')
  read -r sw sh < <(xwininfo -root | awk '/^  Width/ {w=$NF} /^  Height/ {h=$NF} END {print w, h}')
  echo $(((2 * (x - left) + left + w + right - sw) / 2)) $(((2 * (y - top) + top + h + bottom - sh) / 2))
}

# expect_on_screen WINDOW WHAT: the window with its frame lies on the screen.
expect_on_screen() {
  local x y w h left right top bottom sw sh
  read -r x y w h < <(client_geometry "$1")
  IFS=', ' read -r left right top bottom < <(xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= //')
  read -r sw sh < <(xwininfo -root | awk '/^  Width/ {w=$NF} /^  Height/ {h=$NF} END {print w, h}')
  [ $((x - left)) -ge 0 ] && [ $((y - top)) -ge 0 ] && [ $((x + w + right)) -le "$sw" ] &&
    [ $((y + h + bottom)) -le "$sh" ] || fail "$2 lies off the screen: $w x $h at $x, $y"
}

expect_centred() {
  local dx dy
  for _ in $(seq 100); do
    read -r dx dy < <(frame_off_centre "$main")
    [ "${dx#-}" -le 1 ] && [ "${dy#-}" -le 1 ] && return 0
    sleep 0.1
  done
  fail "the main window with its frame is off the screen's centre by $dx, $dy"
}

expect_size() {
  local x y w h
  read -r x y w h < <(client_geometry "$1")
  [ "$w x $h" = "$2" ] || fail "$3 is $w x $h, not $2"
}

# answered ID NAME: waits until the window that was answered has gone, so
# that what follows reaches the window under it however slow the machine.
answered() {
  for _ in $(seq 600); do
    xwininfo -id "$1" 2>/dev/null | grep -q "IsViewable" || return 0
    sleep 0.1
  done
  fail "the window \"$2\" stayed open"
}

# answer NAME KEY: waits for a window of that name, gives it the focus, presses KEY.
answer() {
  local id
  id=$(wait_for_window "$1" 60) || fail "no window \"$1\""
  xdotool windowfocus --sync "$id" key "$2"
  answered "$id" "$1"
}

# answer_message KEY [OWNER]: a message box titled "Valdoren", modal over
# the main window or OWNER.
answer_message() {
  local id
  id=$(wait_for_window "Valdoren" 60) || fail "no message box titled \"Valdoren\""
  [[ "$(xprop -id "$id" _NET_WM_STATE)" == *_NET_WM_STATE_MODAL* ]] || fail "the message box is not modal"
  [ "$(xprop -id "$id" WM_TRANSIENT_FOR | awk '{print $NF}')" = "$(printf '0x%x' "${2:-$main}")" ] ||
    fail "the message box does not belong to its window"
  xdotool windowfocus --sync "$id" key "$1"
  answered "$id" "Valdoren"
}

start_program() {
  (cd / && exec "$folder/valdoren") &
  APP_PID=$!
  main=$(wait_for_window "Valdoren Baru ke Lorvanta" 60) || fail "the main window did not appear"
}

expect_exit_status_0() {
  wait_for_exit "$APP_PID" 60 || fail "the program did not end"
  APP_PID=
  [ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS"
}

close_program() {
  click "$main" $((372 + 27)) $((198 + 12)) # Command2, "Cancel" or "Close"
  expect_exit_status_0
}

open_help() {
  click "$main" $((272 + 15)) $((198 + 12)) # "?"
  info=$(wait_for_window "Info" 60) || fail "no info window"
}

# listening OUT ARGUMENT...: tests/smoke/atspi.py in the background, its
# output in OUT, once it listens; its process in LISTENER_PID. OUT is
# emptied here, not by the reader's own redirection, which may come after
# the wait has read the last reader's "listening".
listening() {
  local out=$1
  : >"$out"
  /usr/bin/python3 "$here/atspi.py" "${@:2}" >>"$out" 2>&1 &
  LISTENER_PID=$!
  until grep -q "^listening" "$out"; do
    kill -0 "$LISTENER_PID" 2>/dev/null || fail "screen reader ($2): $(cat "$out")"
    sleep 0.1
  done
}

# screen_reader idle|running|told|status TEXT: tests/smoke/atspi.py; told goes on in the
# background once it hears the program, until TOLD_PID ends.
screen_reader() {
  [ "$1" = told ] || { /usr/bin/python3 "$here/atspi.py" "$@" || fail "screen reader check ($1)"; return 0; }
  listening "$STAGE/told.txt" told
  TOLD_PID=$LISTENER_PID
}

# listen_for MESSAGE [path TEXT | untick]...: a screen reader, there before
# the box, waits for the next message box, which must read MESSAGE.
listen_for() {
  printf '%s' "$1" >"$STAGE/expected"
  listening "$STAGE/says.txt" says "$STAGE/expected" "${@:2}"
  SAYS_PID=$LISTENER_PID
}

# heard [OWNER]: the box read as the message; Ctrl+C in it copies the
# message too; Return answers it.
heard() {
  local id
  wait "$SAYS_PID" || fail "screen reader: $(cat "$STAGE/says.txt")"
  grep "^ok:" "$STAGE/says.txt"
  id=$(wait_for_window "Valdoren" 60) || fail "no message box titled \"Valdoren\""
  xdotool windowfocus --sync "$id" key ctrl+c
  for _ in $(seq 100); do
    xclip -selection clipboard -o >"$STAGE/copied" 2>/dev/null && cmp -s "$STAGE/copied" "$STAGE/expected" && break
    sleep 0.1
  done
  cmp -s "$STAGE/copied" "$STAGE/expected" || fail "Ctrl+C copied $(od -c "$STAGE/copied" | head -n 5)"
  answer_message Return "${1:-$main}"
}

# ok_says MESSAGE [path TEXT | untick]...: Ok, as a screen reader hears it.
ok_says() {
  listen_for "$@"
  click "$main" $((308 + 29)) $((198 + 12)) # Ok
  heard
}

# messages_heard: every kind of message the window shows before and after a
# run reaches a screen reader and the clipboard as it is: a missing target,
# a long path, odd characters shown escaped, "Selesai", "Text Copied", and
# nothing ticked. The window is left with nothing ticked.
messages_heard() {
  local long=/$(printf 'Karsela/%.0s' $(seq 400))dbROZ.mdb
  ok_says "Tidak ada file /nowhere/dbROZ.mdb" path /nowhere/dbROZ.mdb
  ok_says "Tidak ada file $long" path "$long"
  ok_says $'Tidak ada file C:\\a\\x0db\\x0d\nc\\u2029d\\ufdd0e\\u202e\\dbROZ.mdb' \
    path $'C:\\a\rb\r\nc\u2029d\ufdd0e\u202e\\dbROZ.mdb'
  ok_says "Selesai" path 'C:\Karsela\ROZ5\dbROZ.mdb'
  open_help
  listen_for "Text Copied"
  click "$info" $((266 + 46)) $((272 + 6)) # "Copy to ClipBoard"
  heard "$info"
  answer "Info" Escape
  ok_says "Tidak ada data yang dipilih." untick
}

# --- A whole run -----------------------------------------------------------
start_program
expect_centred
echo "ok: the main window opens centred with its frame"
screen_reader idle
screen_reader told
listen_for "Selesai"
xdotool windowfocus --sync "$main" key Return # Ok has the focus
heard
{ wait "$TOLD_PID" && grep "^ok:" "$STAGE/told.txt"; } || fail "screen reader check (told): $(cat "$STAGE/told.txt")"
echo "ok: message boxes are modal and titled Valdoren"
open_help
[[ "$(xprop -id "$info" _NET_WM_ICON)" == *"not found"* ]] || fail "the info window carries an icon"
answer "Info" Escape
close_program
echo "ok: Ok, Selesai, ?, Close; the info window has no icon of its own"

"$db" compare "$folder/NewCodes.mdb" "$target" >"$STAGE/compare.txt" || fail "codes missing: $(cat "$STAGE/compare.txt")"
grep -q "^total: .* 0 missing, 0 with another description$" "$STAGE/compare.txt" ||
  fail "descriptions not as cut: $(cat "$STAGE/compare.txt")"
"$db" dump "$target" tblNegara --password GorvanPelikMiro >"$STAGE/negara.csv"
grep -q "^CI,Côte d'Ivoire," "$STAGE/negara.csv" || fail "Côte d'Ivoire is missing"
echo "ok: every code stored, names cut to their limits"

printf '%s\r\n' "Program ini untuk memasukkan kode-kode satuan baru sesuai P-44/ZT/2009 tanggal 23 November 2009 tentang Daftar Kode Standar Internasional yang Digunakan untuk Pengisian Pemberitahuan Pabean, ke dalam Lorvanta." \
  "Lorvanta/Program yang dimaksud adalah:" "- Program ROZ versi 5 (dbROZ.mdb)" "- Program VAM versi 5 (dbVAM.mdb)" \
  "- Program LUG/ZT 23 versi 2.5 (dbLUG.mdb)" "- Program SOMA versi 1.3 (dbSOMA.mdb)" \
  "Klik [Browse] untuk mencari database dimaksud, kemudian klik [Ok]." >"$STAGE/expected-info"
info_file=$folder/LastInfo.txt
[ -w "$folder" ] || info_file=$XDG_DATA_HOME/valdoren/LastInfo.txt
cmp -s "$STAGE/expected-info" "$info_file" || fail "LastInfo.txt differs from the help text"
echo "ok: LastInfo.txt holds the help text"

# --- Twice the scale -----------------------------------------------------------
SCALE=2
export QT_SCALE_FACTOR=2
start_program
expect_size "$main" "870 x 462" "the main window at scale 2"
expect_centred
click "$main" $((6 + 360 + 24)) $((6 + 148 + 11)) # Browse
browse=$(wait_for_window "Ambil Database ROZ, VAM, LUG atau SOMA" 60) || fail "no Browse dialog"
expect_on_screen "$browse" "the Browse dialog at scale 2"
answer "Ambil Database ROZ, VAM, LUG atau SOMA" Escape
open_help
expect_size "$info" "934 x 600" "the info window at scale 2"
answer "Info" Escape
close_program
unset QT_SCALE_FACTOR
SCALE=1
echo "ok: at scale 2 the windows are 870 x 462 and 934 x 600 pixels, and Browse opens on the screen"

# --- Every message, as a screen reader hears it --------------------------------
# Switched on by the variable, then by the accessibility bus's status as a
# screen reader sets it when it starts, without the variable.
start_program
messages_heard
close_program
unset QT_LINUX_ACCESSIBILITY_ALWAYS_ON
dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.freedesktop.DBus.Properties.Set \
  string:org.a11y.Status string:ScreenReaderEnabled variant:boolean:true >/dev/null || fail "cannot set the status"
start_program
messages_heard
close_program
echo "ok: every message reaches a screen reader and the clipboard as it is, accessibility on either way"

# --- Another program's password ----------------------------------------------
rm "$target"
"$db" create-target "$target" --program SOMA || exit 1
cp "$target" "$STAGE/before.mdb"
start_program
ok_says $'Database C:\\Karsela\\ROZ5\\dbROZ.mdb tidak dapat dibuka.
Password yang dipakai program ini untuk database dengan nama ini tidak cocok dengannya.
Pilih database program Lorvanta (dbROZ.mdb, dbVAM.mdb, dbLUG.mdb atau dbSOMA.mdb) dengan nama aslinya.'
close_program
cmp -s "$target" "$STAGE/before.mdb" || fail "the file changed"
echo "ok: wrong password reported, file untouched"

# --- The close box during a run ------------------------------------------------
# Every row costs the target some work of its own, so the run lasts long
# enough to be closed in its middle.
rm "$target"
"$db" create-target "$target" --program ROZ || exit 1
python3 - "$target" <<'PY' || fail "cannot slow the target down"
import sqlite3, sys
db = sqlite3.connect(sys.argv[1])
for table in ("Kemasan", "Negara", "PelDN", "PelLN", "Satuan", "Valuta"):
    db.execute(f"""CREATE TRIGGER slow{table} AFTER INSERT ON tbl{table} BEGIN
        SELECT count(*) FROM (WITH RECURSIVE c(x) AS (VALUES(1) UNION ALL SELECT x + 1 FROM c WHERE x < 200000)
                              SELECT x FROM c);
        END""")
db.commit()
PY
# present: the codes the target holds, read while the program writes.
present() {
  "$db" compare "$folder/NewCodes.mdb" "$target" | sed -n 's/^total: [0-9]* in the source, \([0-9]*\) present.*/\1/p'
}
# stores_more N: waits until the run has saved more than N codes.
stores_more() {
  for _ in $(seq 600); do
    [ "$(present)" -gt "$1" ] && return 0
    sleep 0.1
  done
  fail "the run did not start"
}
start_program
xdotool windowfocus --sync "$main" key Return
stores_more 0
click "$main" $((372 + 27)) $((198 + 12)) # Cancel
screen_reader status "Proses dibatalkan"
click "$main" $((308 + 29)) $((198 + 12)) # Ok again
stores_more "$(present)"
screen_reader running
wmctrl -i -c "$main" # as the close box does
expect_exit_status_0
[ ! -e "$target-journal" ] || fail "the target was left with a journal"
"$db" compare "$folder/NewCodes.mdb" "$target" >"$STAGE/compare.txt"
[ $? -eq 1 ] || fail "the run was not stopped: $(cat "$STAGE/compare.txt")"
stored=$(present)
"$db" dump "$target" tblKemasan --password GorvanPelikMiro >/dev/null || fail "the target cannot be read"
echo "ok: Cancel stops a run, as a screen reader hears; the close box stops the next ($stored codes kept) and ends the program"
