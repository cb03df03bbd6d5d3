#!/usr/bin/env bash
# The import in the real program: Ctrl+I, the song typed into the real file
# dialog, the end message closed, Ctrl+S through the save dialog; the saved
# page equals the page the command-line import writes for the same song, and
# the sidecar holds the song's title.
# Usage: import.sh PATH/TO/quillnote
set -u

EXE=${1:?usage: import.sh PATH/TO/quillnote}
EXE=$(readlink -f "$EXE")
SRC_HOME=$(dirname "$EXE")

NAME=import.sh
source "$(dirname "$0")/lib/session.bash"

SONG=$WORK/twinkle.musicxml
python3 - "$SONG" <<'PY'
import sys
notes = [("C", 4), ("C", 4), ("G", 4), ("G", 4), ("A", 4), ("A", 4), ("G", 8),
         ("F", 4), ("F", 4), ("E", 4), ("E", 4), ("D", 4), ("D", 4), ("C", 8)]
words = "一闪一闪亮晶晶满天都是小星星"
body, bar, at = "", [], 0
for i, (step, d) in enumerate(notes):
    bar.append(f'<note><pitch><step>{step}</step><octave>4</octave></pitch><duration>{d}</duration><voice>1</voice>'
               f'<lyric number="1"><text>{words[i]}</text></lyric></note>')
    at += d
    if at == 16:
        body += f'<measure number="{body.count("<measure") + 1}">' + "".join(bar) + "</measure>"
        bar, at = [], 0
attrs = '<attributes><divisions>4</divisions><key><fifths>0</fifths></key><time><beats>4</beats><beat-type>4</beat-type></time></attributes>'
body = body.replace("<note>", attrs + "<note>", 1)
open(sys.argv[1], "w").write('<?xml version="1.0"?><score-partwise version="4.0"><work><work-title>Twinkle</work-title></work>'
    '<part-list><score-part id="P1"><part-name>V</part-name></score-part></part-list><part id="P1">' + body + '</part></score-partwise>')
PY

# The same song through the command line, for comparison.
"$EXE" --import "$SONG" --out "$WORK/cli" --home "$HOME_DIR" >"$WORK/cli.txt" 2>"$WORK/cli.err" || { cat "$WORK/cli.err" >&2; fail "the command-line import failed"; }
grep -q "4 bars read back as imported" "$WORK/cli.err" || { cat "$WORK/cli.err" >&2; fail "the command-line import did not prove its page"; }

focus_main
xdotool key ctrl+i
dialog "导入"
xdotool type --delay 20 "$SONG"
xdotool key Return
dialog "提示"          # the end message
xdotool key Return
sleep 0.5

focus_main
xdotool key ctrl+s
dialog "保存"
xdotool type --delay 20 "$WORK/window.bmp"
xdotool key Return
for _ in $(seq 50); do [ -s "$WORK/window.bmp" ] && [ -s "$WORK/window.dat" ] && break; sleep 0.1; done
[ -s "$WORK/window.bmp" ] || fail "the page bitmap was not written"

python3 - "$WORK/window.bmp" "$WORK/cli/Twinkle.bmp" <<'PY' || fail "the window's page differs from the command line's"
import sys
a, b = (open(p, "rb").read() for p in sys.argv[1:3])
if a[54:] != b[54:]:
    print(f"pixel data differ ({len(a)} and {len(b)} bytes)")
    sys.exit(1)
if a.count(b"\x00\x00\x00") < 200:
    print("the page holds almost no ink")
    sys.exit(1)
PY
grep -q "Twinkle" "$WORK/window.dat" || fail "the sidecar does not hold the title"
kill -0 "$APP_PID" 2>/dev/null || fail "the program ended by itself"
echo "import.sh: OK"
