#!/usr/bin/env bash
# The mouse in the real program: type a bar, drag over it with the real pointer
# (the selection rectangle shows while the button is held), click elsewhere to
# move the caret, press "粘贴", and find the bar's pixels at the new place in a
# screenshot, twice; the bar itself stays where it was.
# Usage: mouse.sh PATH/TO/quillnote
set -u

EXE=${1:?usage: mouse.sh PATH/TO/quillnote}
EXE=$(readlink -f "$EXE")
SRC_HOME=$(dirname "$EXE")

NAME=mouse.sh
source "$(dirname "$0")/lib/session.bash"

PAGE_X=176   # the page canvas in the window, which lies at the screen's (0, 0)
# page X Y: the screen point of a page point.
page() { echo "$((PAGE_X + $1)) $2"; }

focus_main
xdotool key --delay 60 1 2 3 4   # digits at x 20..85, the bar line at 86..97
sleep 0.3
# Guide lines off ("显示辅助线"), so only the page's own pixels are compared.
xdotool mousemove 24 456 click 1
sleep 0.3

# Drag from the first cell to page (110, 160): a selection of 90 x 60 at (20, 96).
xdotool mousemove $(page 23 100) mousedown 1
for x in $(seq 30 10 110); do xdotool mousemove $(page "$x" 160); sleep 0.03; done
sleep 0.3
shot
cp "$SHOT" "$WORK/dragging.ppm"
xdotool mouseup 1
sleep 0.3

for target in "203 280" "323 400"; do
    set -- $target
    xdotool mousemove $(page "$1" "$2") click 1   # the caret to the grid place under the pointer
    sleep 0.2
    xdotool mousemove 48 740 click 1              # "粘贴"
    sleep 0.2
done
xdotool key Down                # the caret leaves the pasted rows
xdotool mousemove 1200 1000     # the pointer off the page
sleep 0.5
shot

python3 - "$WORK/dragging.ppm" "$SHOT" "$E2E_LIB" <<'PY' || fail "the pasted bar is not where it belongs (see above)"
import sys
sys.dont_write_bytecode = True
sys.path.insert(0, sys.argv[3])
from ppm import load

dragging, after = load(sys.argv[1]), load(sys.argv[2])
PAGE_X = 176
BLACK, WHITE = (0, 0, 0), (255, 255, 255)
ok = True

# While the button is held the selection rectangle shows its outline from x 20 to 109 on row 96.
outline = sum(1 for x in range(20, 110) if dragging(PAGE_X + x, 96) not in (BLACK, WHITE))
if outline < 20: print(f"no selection rectangle while dragging ({outline} outline pixels on row 96)"); ok = False

def region(img, left, top):
    return [[img(PAGE_X + left + x, top + y) for x in range(90)] for y in range(60)]

source = region(after, 20, 96)
ink = sum(row.count(BLACK) for row in source)
if ink < 100: print(f"the typed bar holds almost no ink ({ink})"); ok = False
for left, top in ((200, 276), (320, 396)):
    got = region(after, left, top)
    bad = [(x, y) for y in range(60) for x in range(90) if got[y][x] != source[y][x]]
    if bad:
        x, y = bad[0]
        print(f"paste at ({left},{top}): {len(bad)} pixels differ from the bar, first at +({x},{y}): "
              f"{got[y][x]} != {source[y][x]}")
        ok = False
# Between the two pastes the page stayed white.
stray = [(x, y) for y in range(276, 396) for x in range(290, 320) if after(PAGE_X + x, y) != WHITE]
if stray: print(f"ink between the pastes at {stray[0]}"); ok = False
sys.exit(0 if ok else 1)
PY

kill -0 "$APP_PID" 2>/dev/null || fail "the program ended by itself"
echo "mouse.sh: OK"
