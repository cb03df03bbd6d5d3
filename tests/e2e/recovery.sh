#!/usr/bin/env bash
# Crash recovery in the real program: save a page, type on and change the
# title, wait for the recovery copy, kill -9, start again and answer Yes: Ctrl+S
# then saves the recovered page and title to the original file with no dialog.
# A second run answers No and finds the copy in "discarded".
# Usage: recovery.sh PATH/TO/quillnote
set -u

EXE=${1:?usage: recovery.sh PATH/TO/quillnote}
EXE=$(readlink -f "$EXE")
SRC_HOME=$(dirname "$EXE")

NAME=recovery.sh
export QUILLNOTE_AUTOSAVE_SECONDS=2
source "$(dirname "$0")/lib/session.bash"

PAGE_X=176
SONG=$WORK/song.bmp
RECOVERY=$XDG_STATE_HOME/quillnote/recovery

# start_again: the program once more on the same folders; sets APP_PID.
start_again() {
    "$EXE" --home "$HOME_DIR" >>"$WORK/app.log" 2>&1 &
    APP_PID=$!
}
# main_window: waits for the main window and focuses it; sets WID.
main_window() {
    WID=$(timeout 10 xdotool search --sync --onlyvisible --name '^Quillnote$' 2>/dev/null | head -1)
    [ -n "$WID" ] || { cat "$WORK/app.log" >&2; fail "no visible window named Quillnote"; }
    focus_main
}
# wait_for_copy: until a recovery copy is written (the interval is 2 s).
wait_for_copy() {
    for _ in $(seq 80); do ls "$RECOVERY"/*.qnr >/dev/null 2>&1 && return 0; sleep 0.1; done
    fail "no recovery copy in $RECOVERY after 8 s"
}
kill_hard() {
    kill -9 "$APP_PID"
    wait "$APP_PID" 2>/dev/null
    APP_PID=""
}
set_title() {
    xdotool mousemove $((PAGE_X + 334)) 18 click --repeat 2 --delay 80 1
    dialog "提示"
    xdotool key ctrl+a
    xdotool type --delay 40 "$1"
    xdotool key Return
    sleep 0.5
    focus_main
}

# The first save: three notes.
focus_main
xdotool key --delay 60 1 2 3
xdotool key ctrl+s
dialog "保存"
xdotool type --delay 20 "$SONG"
xdotool key Return
for _ in $(seq 50); do [ -s "$WORK/song.dat" ] && break; sleep 0.1; done
[ -s "$SONG" ] || fail "the first save wrote no bitmap"
cp "$SONG" "$WORK/first.bmp"
ls "$RECOVERY"/*.qnr >/dev/null 2>&1 && fail "a saved document has a recovery copy"

# Unsaved: three notes more and a title; then the kill.
focus_main
xdotool key --delay 60 4 5 6
set_title "Twinkle"
sleep 2.5          # the copy of the last change
wait_for_copy
kill_hard
ls "$RECOVERY"/*.qnr >/dev/null 2>&1 || fail "the copy did not survive the kill"
cmp -s "$SONG" "$WORK/first.bmp" || fail "the document itself changed before any save"

# Start again: the question, Yes.
start_again
dialog "提示"
xdotool key Return   # Yes
main_window
BEFORE=$(stat -c %Y.%s "$SONG")
sleep 1.1
xdotool key ctrl+s   # the original path: no dialog
for _ in $(seq 50); do [ "$(stat -c %Y.%s "$SONG")" != "$BEFORE" ] && break; sleep 0.1; done
[ "$(stat -c %Y.%s "$SONG")" != "$BEFORE" ] || fail "Ctrl+S did not save the recovered page to $SONG"
if xdotool search --onlyvisible --name '^保存$' >/dev/null 2>&1; then fail "Ctrl+S asked for a name"; fi
sleep 0.5
ls "$RECOVERY"/*.qnr >/dev/null 2>&1 && fail "the copy is left after the save"

python3 - "$WORK/first.bmp" "$SONG" "$WORK/song.dat" <<'PY' || fail "the recovered document is not the one typed before the kill"
import struct, sys
def load(path):
    d = open(path, 'rb').read()
    at, = struct.unpack_from('<I', d, 10)
    w, h = struct.unpack_from('<ii', d, 18)
    stride = (w * 3 + 3) // 4 * 4
    def ink(x, y):
        row = (h - 1 - y) if h > 0 else y
        o = at + row * stride + 3 * x
        return d[o:o + 3] == b'\0\0\0'
    return w, abs(h), ink
w1, h1, first = load(sys.argv[1])
w2, h2, now = load(sys.argv[2])
assert (w1, h1) == (w2, h2), ((w1, h1), (w2, h2))
line = range(96, 136)
def count(ink, xs): return sum(1 for y in line for x in xs if ink(x, y))
left, right = range(20, 68), range(70, 140)
assert count(first, left) > 20 and count(first, right) == 0, (count(first, left), count(first, right))
assert count(now, left) == count(first, left), "the first three notes changed"
assert count(now, right) > 20, "the three notes typed after the save are missing"
side = open(sys.argv[3], 'rb').read()
title = side[51:95].decode('gbk').strip()
assert title == 'Twinkle', title
PY

# A second run: type, wait for the copy, kill, answer No.
focus_main
xdotool key --delay 60 7 1
wait_for_copy
COPY=$(basename "$(ls "$RECOVERY"/*.qnr | head -1)")
kill_hard
start_again
dialog "提示"
xdotool key Escape   # No
main_window
[ -f "$RECOVERY/discarded/$COPY" ] || fail "the refused copy is not in discarded: $(ls -R "$RECOVERY")"
ls "$RECOVERY"/*.qnr >/dev/null 2>&1 && {
    # Only the running window's own copy may be there, and it has nothing to save.
    for f in "$RECOVERY"/*.qnr; do [ "$(basename "$f")" = "$COPY" ] && fail "the refused copy is still offered"; done
}
echo "$NAME: ok"
