#!/usr/bin/env bash
# Documents in the real program: type notes, name the title through its input
# box, save through the real file dialog, press "新建", open the file through
# the dialog, and find the same page and title on the screen as before.
# Usage: documents.sh PATH/TO/quillnote
set -u

EXE=${1:?usage: documents.sh PATH/TO/quillnote}
EXE=$(readlink -f "$EXE")
SRC_HOME=$(dirname "$EXE")

NAME=documents.sh
source "$(dirname "$0")/lib/session.bash"

PAGE_X=176
SONG=$WORK/song.bmp

# region FILE: the page's typed line and the title as a PPM crop of the last shot.
region() {
    /usr/bin/convert "$SHOT" -crop "668x160+$PAGE_X+0" +repage -depth 8 "ppm:$1" || fail "crop failed"
}

focus_main
xdotool key --delay 60 1 2 3 4 5 6
sleep 0.3

# The title: double-click opens its input box.
xdotool mousemove $((PAGE_X + 334)) 18 click --repeat 2 --delay 80 1
dialog "提示"
xdotool key ctrl+a
xdotool type --delay 40 "Twinkle"
xdotool key Return
sleep 0.5

# Save through the file dialog (Ctrl+S on an untitled page asks for a name).
focus_main
xdotool key ctrl+s
dialog "保存"
xdotool type --delay 20 "$SONG"
xdotool key Return
for _ in $(seq 50); do [ -s "$SONG" ] && [ -s "$WORK/song.dat" ] && break; sleep 0.1; done
[ -s "$SONG" ] || fail "the page bitmap was not written"
[ -s "$WORK/song.dat" ] || fail "the sidecar was not written"
focus_main
sleep 0.5
shot
region "$WORK/saved.ppm"

# "新建": the document was saved, so no question; the page is blank again.
xdotool mousemove 80 123 click 1
sleep 0.7
focus_main
shot
region "$WORK/blank.ppm"

# Open it again.
xdotool key ctrl+o
dialog "打开"
xdotool type --delay 20 "$SONG"
xdotool key Return
sleep 1
focus_main
xdotool key Down              # the caret leaves the typed line
xdotool mousemove 1200 1000   # out of the way of the page
sleep 0.5
shot
region "$WORK/opened.ppm"

python3 - "$WORK/saved.ppm" "$WORK/blank.ppm" "$WORK/opened.ppm" "$SONG" "$E2E_LIB" <<'PY' || fail "the opened page differs from the saved one (see above)"
import subprocess, sys
sys.dont_write_bytecode = True
sys.path.insert(0, sys.argv[5])
from ppm import load

saved, blank, opened = (load(p) for p in sys.argv[1:4])
ok = True

def differing(a, b, rows, cols):
    return [(x, y) for y in rows for x in cols if a(x, y) != b(x, y)]

# The title band (page rows 8..40) and the typed line (rows 96..136, caret excluded).
title_rows, line_rows = range(8, 40), range(96, 136)
cols, line_cols = range(0, 668), range(20, 120)
d = differing(saved, opened, title_rows, cols)
if d: print(f"title differs after opening at {len(d)} pixels, first {d[0]}"); ok = False
if not differing(saved, blank, title_rows, cols): print("the new page still shows the saved title"); ok = False
if not differing(saved, blank, line_rows, line_cols): print("the new page still shows the typed notes"); ok = False

# The typed notes on the screen equal the bitmap file's pixels.
bmp = subprocess.run(["/usr/bin/convert", sys.argv[4], "-depth", "8", "ppm:-"], capture_output=True, check=True).stdout
open(sys.argv[4] + ".ppm", "wb").write(bmp)
page = load(sys.argv[4] + ".ppm")
GUIDE = (224, 224, 224)
bad = [(x, y) for y in line_rows for x in line_cols
       if opened(x, y) != page(x, y) and not (opened(x, y) == GUIDE and page(x, y) == (255, 255, 255))]
if bad: print(f"typed line differs from the bitmap at {len(bad)} pixels, first {bad[0]}"); ok = False
ink = sum(1 for y in line_rows for x in line_cols if page(x, y) == (0, 0, 0))
if ink < 50: print(f"the saved bitmap holds almost no ink ({ink})"); ok = False
sys.exit(0 if ok else 1)
PY

grep -q "Twinkle" "$WORK/song.dat" || fail "the sidecar does not hold the title"
kill -0 "$APP_PID" 2>/dev/null || fail "the program ended by itself"
echo "documents.sh: OK"
