#!/usr/bin/env bash
# The batch export in the real program: save a document, press "批量导出图片",
# pick it in the dialog titled "定位文件夹", confirm "导出成功", and find the
# exported picture equal to the page on the screen (title, header, notes).
# Usage: batch_export.sh PATH/TO/quillnote
set -u

EXE=${1:?usage: batch_export.sh PATH/TO/quillnote}
EXE=$(readlink -f "$EXE")
SRC_HOME=$(dirname "$EXE")

NAME=batch_export.sh
source "$(dirname "$0")/lib/session.bash"

PAGE_X=176
DOCS=$WORK/docs
mkdir -p "$DOCS"

focus_main
xdotool key --delay 60 1 2 3 4 5 6 7
xdotool key ctrl+s
dialog "保存"
xdotool type --delay 20 "$DOCS/song.bmp"
xdotool key Return
for _ in $(seq 50); do [ -s "$DOCS/song.dat" ] && break; sleep 0.1; done
[ -s "$DOCS/song.dat" ] || fail "the document was not saved"

# "批量导出图片", then any file of the folder.
focus_main
xdotool mousemove 80 219 click 1
dialog "定位文件夹"
xdotool type --delay 20 "$DOCS/song.bmp"
xdotool key Return
dialog "提示"
OUT=$(ls -d "$DOCS/导出 "* 2>/dev/null | head -1)
[ -n "$OUT" ] && [ -s "$OUT/song.bmp" ] || fail "no exported song.bmp in a 导出 folder"
xdotool key Return
sleep 0.5

# The screen without guide lines, the caret on the next line.
focus_main
xdotool mousemove 80 459 click 1   # "显示辅助线" off
sleep 0.3
focus_main
xdotool key Down
xdotool mousemove 1200 1000
sleep 0.5
shot

/usr/bin/convert "$OUT/song.bmp" -depth 8 "ppm:$WORK/exported.ppm" || fail "cannot read the exported picture"
python3 - "$SHOT" "$WORK/exported.ppm" "$E2E_LIB" <<'PY' || fail "the exported picture differs from the screen (see above)"
import sys
sys.dont_write_bytecode = True
sys.path.insert(0, sys.argv[3])
from ppm import load
screen, exported = load(sys.argv[1]), load(sys.argv[2])
PAGE_X = 176
# Title, header and the typed line; the minimise button lies over the page's top
# right, and the menu button "≡" left of it (page x 554 on, rows 8 to 27).
buttons = lambda x, y: x >= 552 and y < 30
bad = [(x, y) for y in range(0, 150) for x in range(0, 560)
       if not buttons(x, y) and screen(PAGE_X + x, y) != exported(x, y)]
ink = sum(1 for y in range(96, 136) for x in range(20, 200) if exported(x, y) == (0, 0, 0))
if bad: print(f"{len(bad)} pixels differ, first at page {bad[0]}: screen {screen(PAGE_X + bad[0][0], bad[0][1])} exported {exported(*bad[0])}")
if ink < 50: print("the exported picture shows no notes")
sys.exit(0 if not bad and ink >= 50 else 1)
PY

kill -0 "$APP_PID" 2>/dev/null || fail "the program ended by itself"
echo "batch_export.sh: OK"
