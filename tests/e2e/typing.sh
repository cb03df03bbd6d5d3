#!/usr/bin/env bash
# Typing in the real program: the keys 1 2 3 4 and semicolon pressed in a real
# X window must put the digits 1..4 at page x 20, 38, 56, 74 of the first line,
# the automatic bar line at 86 and the rest at 98, exactly as the glyph atlases
# draw them.
# Usage: typing.sh PATH/TO/quillnote   (the atlases are in generated/ beside it)
set -u

EXE=${1:?usage: typing.sh PATH/TO/quillnote}
EXE=$(readlink -f "$EXE")
SRC_HOME=$(dirname "$EXE")
ATLASES=$SRC_HOME/generated

NAME=typing.sh
source "$(dirname "$0")/lib/session.bash"

[ -f "$ATLASES/Picmode.bmp" ] || fail "missing $ATLASES/Picmode.bmp"
/usr/bin/convert "$ATLASES/Picmode.bmp" -depth 8 "ppm:$WORK/picmode.ppm" || fail "cannot read Picmode.bmp"
/usr/bin/convert "$ATLASES/Picmode2.bmp" -depth 8 "ppm:$WORK/picmode2.ppm" || fail "cannot read Picmode2.bmp"

xdotool mousemove 600 500
xdotool windowfocus --sync "$WID" || fail "cannot focus the window"
sleep 0.3
xdotool key --delay 60 1 2 3 4 semicolon
sleep 0.7
shot

python3 - "$SHOT" "$WORK/picmode.ppm" "$WORK/picmode2.ppm" "$E2E_LIB" <<'PY' || fail "the typed line differs from the atlas cells (see above)"
import sys

sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, sys.argv[4])
from ppm import load

screen, notes, ornaments = (load(p) for p in sys.argv[1:4])
PAGE_X, TOP = 176, 96
WHITE, GUIDE = (255, 255, 255), (224, 224, 224)
GUIDE_X = 94  # a guide line marks the end of the first bar on page x 94, rows 0..31

def check(name, atlas, ax, ay, page_x, width=12):
    bad = []
    for y in range(40):
        for x in range(width):
            want = atlas(ax + x, ay + y)
            got = screen(PAGE_X + page_x + x, TOP + y)
            if got != want and not (page_x + x == GUIDE_X and y < 32 and want == WHITE and got == GUIDE):
                bad.append((page_x + x, TOP + y, got, want))
    if bad:
        x, y, got, want = bad[0]
        print(f"{name}: {len(bad)} pixels differ; first at page ({x},{y}): {got} != {want}")
    return not bad

ok = True
for i, x in enumerate((20, 38, 56, 74)):
    ok &= check(f"digit {i + 1} at x {x}", notes, 12 * (14 + i), 0, x)
for x in (32, 50, 68):
    ok &= check(f"space at x {x}", lambda ax, ay: WHITE, 0, 0, x, 6)
ok &= check("bar line at x 86", ornaments, 12, 0, 86)
ok &= check("rest at x 98", notes, 12 * 35, 0, 98)
sys.exit(0 if ok else 1)
PY

kill -0 "$APP_PID" 2>/dev/null || fail "the program ended by itself"
echo "typing.sh: OK"
