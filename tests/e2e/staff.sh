#!/usr/bin/env bash
# Staff input in the real program: ticking "从五线谱输入" opens the staff panel
# at the window's bottom edge; a click on the ledger line below the treble
# staff in the quarter-note zone must stamp the plain 1 at page x 20 of the
# first line, and a click on the staff's bottom line in the sixteenth-note zone
# the 3 with two beam lines after it (x 38), exactly as the glyph atlas draws them.
# Usage: staff.sh PATH/TO/quillnote   (the atlases are in generated/ beside it)
set -u

EXE=${1:?usage: staff.sh PATH/TO/quillnote}
EXE=$(readlink -f "$EXE")
SRC_HOME=$(dirname "$EXE")
ATLASES=$SRC_HOME/generated

NAME=staff.sh
source "$(dirname "$0")/lib/session.bash"

[ -f "$ATLASES/Picmode.bmp" ] || fail "missing $ATLASES/Picmode.bmp"
/usr/bin/convert "$ATLASES/Picmode.bmp" -depth 8 "ppm:$WORK/picmode.ppm" || fail "cannot read Picmode.bmp"

eval "$(xdotool getwindowgeometry --shell "$WID")"  # WIDTH, HEIGHT
PANEL_X=80
PANEL_Y=$((HEIGHT - 277))

xdotool mousemove 600 500
xdotool windowfocus --sync "$WID" || fail "cannot focus the window"
sleep 0.3
# "从五线谱输入": toolbar panel at (8, 64), the check box at (8, 400) in it.
xdotool mousemove 22 472 click 1
sleep 0.5
shot
# The panel's staff: its top line runs across at panel y 100.
expect_pixel $((PANEL_X + 250)) $((PANEL_Y + 100)) "0 0 0" "staff panel not open"

xdotool mousemove $((PANEL_X + 100)) $((PANEL_Y + 190))
sleep 0.2
xdotool click 1
sleep 0.2
xdotool mousemove $((PANEL_X + 200)) $((PANEL_Y + 172))
sleep 0.2
xdotool click 1
sleep 0.2
xdotool mousemove 600 300  # off the panel and clear of the first line
sleep 0.5
shot

python3 - "$SHOT" "$WORK/picmode.ppm" "$E2E_LIB" <<'PY' || fail "the clicked notes differ from the atlas cells (see above)"
import sys

sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, sys.argv[3])
from ppm import load

screen, notes = (load(p) for p in sys.argv[1:3])
PAGE_X, TOP = 176, 96

def check(name, code, beams, page_x):
    bad = []
    for y in range(40):
        for x in range(12):
            want = notes(12 * code + x, 40 * beams + y)
            got = screen(PAGE_X + page_x + x, TOP + y)
            if got != want:
                bad.append((page_x + x, TOP + y, got, want))
    if bad:
        x, y, got, want = bad[0]
        print(f"{name}: {len(bad)} pixels differ; first at page ({x},{y}): {got} != {want}")
    return not bad

ok = check("1 at x 20 (ledger line, quarter zone)", 14, 0, 20)
ok &= check("3 with two beams at x 38 (bottom line, 16th zone)", 16, 2, 38)
sys.exit(0 if ok else 1)
PY

kill -0 "$APP_PID" 2>/dev/null || fail "the program ended by itself"
echo "staff.sh: OK"
