#!/usr/bin/env bash
# The installed program in a real X window, driven as a person would: Ok,
# "Selesai", "?", the info window, Close; then the target and LastInfo.txt
# are checked. A second case: Ok on a database with another password shows
# its message and leaves the file byte for byte as it was.
set -uo pipefail
build_dir=$1
. "$(dirname "$0")/xvfb-session.sh"
start_xvfb

STAGE=$(mktemp -d)
cmake --install "$build_dir" --prefix "$STAGE/install" >/dev/null || { echo "FAIL: install"; exit 1; }
folder=$STAGE/install/lib/valdoren
db=$folder/valdoren-db
export WINEPREFIX=$STAGE/wine
target=$WINEPREFIX/drive_c/Karsela/ROZ5/dbROZ.mdb
mkdir -p "$(dirname "$target")"
"$db" create-target "$target" --program ROZ || exit 1

fail() { echo "FAIL: $*"; exit 1; }

# click WINDOW X Y: a left click at a point of the window's client area.
click() {
  local X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$1")"
  xdotool mousemove --sync $((X + $2)) $((Y + $3)) click 1
}

# answer NAME KEY: waits for a window of that name, gives it the focus, presses KEY.
answer() {
  local id
  id=$(wait_for_window "$1" 60) || fail "no window \"$1\""
  xdotool windowfocus --sync "$id" key "$2"
}

start_program() {
  (cd / && exec "$folder/valdoren") &
  APP_PID=$!
  main=$(wait_for_window "Valdoren Baru ke Lorvanta" 60) || fail "the main window did not appear"
}

close_program() {
  click "$main" $((372 + 27)) $((198 + 12)) # Command2, "Cancel" or "Close"
  wait_for_exit "$APP_PID" 60 || fail "the program did not end"
  APP_PID=
  [ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS"
}

# --- A whole run -----------------------------------------------------------
start_program
xdotool windowfocus --sync "$main" key Return # Ok has the focus
answer "Valdoren" Return                      # "Selesai"
click "$main" $((272 + 15)) $((198 + 12))     # "?"
answer "Info" Escape
close_program
echo "ok: Ok, Selesai, ?, Close"

for table in Kemasan Negara PelDN PelLN Satuan Valuta; do
  expected=$("$db" dump "$folder/NewCodes.mdb" "$table" | tail -n +2 | cut -d, -f1 | sort -u)
  stored=$("$db" dump "$target" "tbl$table" --password GorvanPelikMiro | tail -n +2 | cut -d, -f1 | sort -u)
  [ "$expected" = "$stored" ] || fail "tbl$table does not hold every code of $table"
done
"$db" dump "$target" tblNegara --password GorvanPelikMiro >"$STAGE/negara.csv"
grep -q "^CI,Côte d'Ivoire," "$STAGE/negara.csv" || fail "Côte d'Ivoire is missing"
for limit in Kemasan:45 Negara:40 PelDN:45 PelLN:30 Satuan:45 Valuta:30; do
  table=${limit%%:*}
  "$db" dump "$folder/NewCodes.mdb" "$table" >"$STAGE/source.csv"
  "$db" dump "$target" "tbl$table" --password GorvanPelikMiro >"$STAGE/stored.csv"
  python3 - "$STAGE/source.csv" "$STAGE/stored.csv" "${limit##*:}" <<'PY' || fail "tbl$table: descriptions not as cut"
import csv, sys
source = list(csv.reader(open(sys.argv[1], encoding="utf-8", newline="")))[1:]
stored = {row[0]: row[1] for row in list(csv.reader(open(sys.argv[2], encoding="utf-8", newline="")))[1:]}
limit = int(sys.argv[3])
first = {}
for code, name in source:
    first.setdefault(code, name)
sys.exit(0 if all(stored[code] == name[:limit] for code, name in first.items()) else 1)
PY
done
echo "ok: every code stored, names cut to their limits"

printf '%s\r\n' "Program ini untuk memasukkan kode-kode satuan baru sesuai P-44/ZT/2009 tanggal 23 November 2009 tentang Daftar Kode Standar Internasional yang Digunakan untuk Pengisian Pemberitahuan Pabean, ke dalam Lorvanta." \
  "Lorvanta/Program yang dimaksud adalah:" "- Program ROZ versi 5 (dbROZ.mdb)" "- Program VAM versi 5 (dbVAM.mdb)" \
  "- Program LUG/ZT 23 versi 2.5 (dbLUG.mdb)" "- Program SOMA versi 1.3 (dbSOMA.mdb)" \
  "Klik [Browse] untuk mencari database dimaksud, kemudian klik [Ok]." >"$STAGE/expected-info"
cmp -s "$STAGE/expected-info" "$folder/LastInfo.txt" || fail "LastInfo.txt differs from the help text"
echo "ok: LastInfo.txt holds the help text"

# --- Another program's password ----------------------------------------------
rm "$target"
"$db" create-target "$target" --program SOMA || exit 1
cp "$target" "$STAGE/before.mdb"
start_program
xdotool windowfocus --sync "$main" key Return
answer "Valdoren" Return # the message naming the database and the reason
close_program
cmp -s "$target" "$STAGE/before.mdb" || fail "the file changed"
echo "ok: wrong password reported, file untouched"
