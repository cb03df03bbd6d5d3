#!/usr/bin/env bash
# Undo in the real program: type a bar (four notes, the fourth with its bar
# line), press Ctrl+Z four times and find the first line of the page on the
# screen as it was before the bar; after three presses only the first note is
# left. Ctrl+Y and Ctrl+Shift+Z bring the bar back.
# Usage: undo.sh PATH/TO/quillnote
set -u

EXE=${1:?usage: undo.sh PATH/TO/quillnote}
EXE=$(readlink -f "$EXE")
SRC_HOME=$(dirname "$EXE")

NAME=undo.sh
source "$(dirname "$0")/lib/session.bash"

PAGE_X=176

# line FILE: the first line of the page (page rows 90..140) from a new shot,
# taken with the caret parked one line lower so its blinking stays out of it.
line() {
    xdotool key Down
    sleep 0.5
    shot
    /usr/bin/convert "$SHOT" -crop "668x50+$PAGE_X+90" +repage -depth 8 "ppm:$1" || fail "crop failed"
    xdotool key Up
    sleep 0.2
}

xdotool mousemove 600 500
xdotool windowfocus --sync "$WID" || fail "cannot focus the window"
sleep 0.3
line "$WORK/before.ppm"
xdotool key --delay 80 1 2 3 4
line "$WORK/bar.ppm"
xdotool key --delay 80 ctrl+z ctrl+z ctrl+z
line "$WORK/one.ppm"
xdotool key ctrl+z
line "$WORK/undone.ppm"
xdotool key --delay 80 ctrl+y ctrl+y ctrl+shift+z ctrl+shift+z
line "$WORK/redone.ppm"

python3 - "$WORK" "$E2E_LIB" <<'PY' || fail "the page after undo and redo is not as expected (see above)"
import sys

sys.dont_write_bytecode = True
sys.path.insert(0, sys.argv[2])
from ppm import load

before, bar, one, undone, redone = (load(f"{sys.argv[1]}/{n}.ppm") for n in ("before", "bar", "one", "undone", "redone"))
ROWS, COLS = range(0, 50), range(0, 668)  # page rows 90..140

def differing(a, b, cols=COLS):
    return [(x, y + 90) for y in ROWS for x in cols if a(x, y) != b(x, y)]

ok = True
def check(cond, message):
    global ok
    if not cond:
        print(message)
        ok = False

d = differing(before, bar)
check(any(x >= 86 for x, _ in d), "the typed bar (notes and bar line) does not show")
d = differing(before, undone)
check(not d, f"after four Ctrl+Z the line differs from before the bar at {len(d)} pixels, first {d[:1]}")
d = differing(before, one, range(32, 668))
check(not d, f"after three Ctrl+Z more than the first note is left: {len(d)} pixels, first {d[:1]}")
check(differing(before, one, range(20, 32)), "after three Ctrl+Z the first note is gone too")
d = differing(bar, redone)
check(not d, f"after redoing four times the line differs from the typed bar at {len(d)} pixels, first {d[:1]}")
sys.exit(0 if ok else 1)
PY

kill -0 "$APP_PID" 2>/dev/null || fail "the program ended by itself"
echo "undo.sh: OK"
