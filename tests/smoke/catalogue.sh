#!/usr/bin/env bash
# Every text of the window's sources has its Indonesian wording in the
# catalogue: lupdate, run on a copy against the sources as they are now,
# finds nothing new and nothing unfinished.
set -euo pipefail
lupdate=$1
catalogue=$2
sources=$3
shift 3
copy=$(mktemp --suffix=.ts)
trap 'rm -f "$copy"' EXIT
cp "$catalogue" "$copy"
"$lupdate" -silent -locations none -I "$sources" "$@" -ts "$copy"
if grep -n 'type="unfinished"' "$copy"; then
  echo "FAIL: texts without Indonesian wording; run: cmake --build build --target update_translations"
  exit 1
fi
echo "ok: every text has its Indonesian wording"
