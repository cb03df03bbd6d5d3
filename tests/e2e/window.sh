#!/usr/bin/env bash
# The real program in a real X window: size and place of the window, a guide
# line and the white page, read back from the screen.
# Usage: window.sh PATH/TO/quillnote   (its folder is the program folder to copy)
# Set KEEP_SHOT=FILE to keep the screenshot.
set -u

EXE=${1:?usage: window.sh PATH/TO/quillnote}
EXE=$(readlink -f "$EXE")
SRC_HOME=$(dirname "$EXE")

NAME=window.sh
source "$(dirname "$0")/lib/session.bash"

GEOM=$(xdotool getwindowgeometry "$WID")
echo "$GEOM"
echo "$GEOM" | grep -q 'Position: 0,0' || fail "window not at 0,0: $GEOM"
echo "$GEOM" | grep -q 'Geometry: 852x945' || fail "window not 852x945: $GEOM"

# Give the first paint a moment, then read the screen back.
sleep 0.7
shot

# The page starts at x 176; the first guide line stands at page x 94 from y 96 for 32 pixels.
expect_pixel $((176 + 94)) $((96 + 10)) "224 224 224" "guide line"
expect_pixel $((176 + 94)) $((96 + 31)) "224 224 224" "guide line end"
expect_pixel $((176 + 94)) $((96 + 40)) "255 255 255" "page below the guide line"
expect_pixel $((176 + 300)) 500 "255 255 255" "white page"
expect_pixel $((176 + 600)) 900 "255 255 255" "white page near the bottom"

kill -0 "$APP_PID" 2>/dev/null || fail "the program ended by itself"
echo "window.sh: OK"
