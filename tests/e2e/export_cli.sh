#!/usr/bin/env bash
# The command-line export, with no display: usage errors, a missing source, an
# unwritable output folder, each format, and the batch rules (documents of a
# folder only, a damaged one reported, exit status 1 when any failed).
# Usage: export_cli.sh PATH/TO/quillnote
set -u

EXE=${1:?usage: export_cli.sh PATH/TO/quillnote}
EXE=$(readlink -f "$EXE")
SRC_HOME=$(dirname "$EXE")
NAME=export_cli.sh
fail() { echo "$NAME: FAIL: $*" >&2; exit 1; }
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM QUILLNOTE_HOME

HOME_DIR=$WORK/home
mkdir -p "$HOME_DIR" && cp -r "$SRC_HOME/explin.txt" "$SRC_HOME/s" "$HOME_DIR/"
printf '\x64' > "$HOME_DIR/set.ini"   # export ratio 100

# Documents: a, c with sidecars; b without; d damaged. Title "Twinkle", phrase 0.
mkdir -p "$WORK/songs"
python3 - "$WORK/songs" <<'PY'
import struct, sys, os
folder = sys.argv[1]
def bmp(path, w=668, h=945, cut=False):
    stride = (w * 3 + 3) // 4 * 4
    rows = bytearray()
    for y in range(h - 1, -1, -1):      # bottom-up
        row = bytearray(b'\xff' * (w * 3))
        if y == 120:
            for x in range(20, 300): row[3 * x:3 * x + 3] = b'\x00\x00\x00'
        rows += row + b'\x00' * (stride - w * 3)
    head = struct.pack('<2sIHHI', b'BM', 54 + len(rows), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    data = head + info + bytes(rows)
    open(path, 'wb').write(data[:200] if cut else data)
def sidecar(path):
    b = bytearray(506)
    struct.pack_into('<hhh', b, 0, 80, 8, 60)
    b[6], b[7] = 1, 1                   # staff input and guide lines: never shown in exports
    b[47], b[48], b[49] = 2, 0, 0
    b[51:95] = b'Twinkle'.ljust(44)
    struct.pack_into('<hhh', b, 149, 1, 0, 0)
    struct.pack_into('<hhh', b, 200, 300, 400, 0)
    b[153:197] = b'Allegro'.ljust(44)
    open(path, 'wb').write(b)
for n in 'acd':
    bmp(os.path.join(folder, n + '.bmp'), cut=(n == 'd'))
    sidecar(os.path.join(folder, n + '.dat'))
bmp(os.path.join(folder, 'b.bmp'))
PY

run() {  # run EXPECTED_STATUS ARGS...: runs the export, keeps its output
    local want=$1; shift
    "$EXE" --home "$HOME_DIR" "$@" >"$WORK/out.txt" 2>"$WORK/err.txt"
    local got=$?
    [ "$got" = "$want" ] || { cat "$WORK/out.txt" "$WORK/err.txt" >&2; fail "'$*' exited $got, expected $want"; }
}

# Usage errors: status 2 and the usage text.
for args in "--export" "--export --format gif $WORK/songs/a.bmp" "--export --bogus $WORK/songs/a.bmp" \
            "--export --scale abc $WORK/songs/a.bmp"; do
    run 2 $args
    grep -q "Usage: quillnote --export" "$WORK/err.txt" || fail "no usage text for '$args'"
done

# A folder: a and c exported (c first), b skipped, d reported; status 1.
run 1 --export "$WORK/songs" --out "$WORK/out"
[ "$(ls "$WORK/out" | tr '\n' ' ')" = "a.bmp c.bmp " ] || fail "folder export wrote: $(ls "$WORK/out")"
[ "$(grep -c . "$WORK/out.txt")" = 2 ] || fail "expected two exported lines: $(cat "$WORK/out.txt")"
head -1 "$WORK/out.txt" | grep -q "c.bmp" || fail "c.bmp is not exported first"
grep -q "d.bmp" "$WORK/err.txt" || fail "the damaged d.bmp is not reported"
python3 - "$WORK/out/a.bmp" <<'PY' || fail "exported picture is wrong"
import struct, sys
d = open(sys.argv[1], 'rb').read()
w, h = struct.unpack_from('<ii', d, 18)
assert (w, abs(h)) == (668, 945), (w, h)
PY

# Without --out: a new "导出 hhmmss" folder beside a source file; PNG at 50 %.
run 0 --export "$WORK/songs/a.bmp" --format png --scale 50
OUT=$(ls -d "$WORK/songs/导出 "* 2>/dev/null | head -1)
[ -n "$OUT" ] && [ -f "$OUT/a.png" ] || fail "no 导出 folder with a.png beside the source"
python3 - "$OUT/a.png" <<'PY' || fail "PNG size wrong"
import struct, sys
d = open(sys.argv[1], 'rb').read()
assert d[:8] == b'\x89PNG\r\n\x1a\n'
w, h = struct.unpack_from('>II', d, 16)
assert (w, h) == (334, 472), (w, h)
PY

# PDF: the title and the phrase as text, the page drawn from its music.
run 0 --export "$WORK/songs/c.bmp" --format pdf --out "$WORK/pdf"
command -v pdftotext >/dev/null || fail "pdftotext is not installed (make deps)"
TEXT=$(pdftotext "$WORK/pdf/c.pdf" - 2>/dev/null)
echo "$TEXT" | grep -q "Twinkle" || fail "the PDF has no title text: $TEXT"
echo "$TEXT" | grep -q "Allegro" || fail "the PDF has no tempo text"
PHRASE=$(python3 -c "import sys; print(open(sys.argv[1],'rb').read().decode('gbk').splitlines()[0].strip('\"'))" "$HOME_DIR/explin.txt")
echo "$TEXT" | grep -qF "$PHRASE" || fail "the PDF lacks the phrase '$PHRASE'"
pdftoppm -r 72 -png "$WORK/pdf/c.pdf" "$WORK/pdfpage" || fail "pdftoppm failed"
python3 - "$WORK/pdfpage-1.png" <<'PY' || fail "the PDF page picture lacks the page bitmap's line"
import subprocess, sys
ppm = subprocess.run(['/usr/bin/convert', sys.argv[1], '-depth', '8', 'ppm:-'], capture_output=True, check=True).stdout
# P6 header: three whitespace-separated fields then the data
parts = ppm.split(b'\n', 3)
w, h = map(int, parts[1].split())
data = parts[3]
assert (w, h) == (595, 842), (w, h)
dark = sum(1 for i in range(0, len(data), 3) if data[i] < 100 and data[i + 1] < 100 and data[i + 2] < 100)
assert dark > 100, dark
PY

# PDF and SVG drawn anew from the page's music, or the very pixels as one lossless picture.
run 0 --export "$WORK/songs/c.bmp" --format svg --out "$WORK/svg"
grep -q "<svg" "$WORK/svg/c.svg" || fail "c.svg is no SVG"
grep -q "Twinkle" "$WORK/svg/c.svg" || fail "the SVG has no title text"
run 0 --export "$WORK/songs/c.bmp" --format pdf --print-style as-shown --out "$WORK/shown"
IMAGES=$(pdfimages -list "$WORK/shown/c.pdf" | tail -n +3)
[ "$(echo "$IMAGES" | grep -c .)" = 1 ] || fail "the as-shown PDF should hold one picture: $IMAGES"
echo "$IMAGES" | grep -q jpeg && fail "the as-shown PDF holds a JPEG: $IMAGES"
run 2 --export "$WORK/songs/c.bmp" --format pdf --print-style blurry --out "$WORK/shown"

# The notes read back from the pages: MIDI and MusicXML, one file per document.
run 1 --export "$WORK/songs" --format mid --out "$WORK/mid"
[ "$(ls "$WORK/mid" | tr '\n' ' ')" = "a.mid c.mid " ] || fail "MIDI export wrote: $(ls "$WORK/mid")"
[ "$(head -c 4 "$WORK/mid/a.mid")" = "MThd" ] || fail "a.mid is no MIDI file"
run 0 --export "$WORK/songs/a.bmp" --format musicxml --out "$WORK/xml"
if command -v xmllint >/dev/null; then
    xmllint --noout "$WORK/xml/a.musicxml" || fail "a.musicxml is not well-formed"
fi
grep -q "Twinkle" "$WORK/xml/a.musicxml" || fail "the MusicXML lacks the title"

# A missing source and an output folder that cannot be made: status 1 with the reason.
run 1 --export "$WORK/nothing.bmp" --out "$WORK/o2"
grep -q "nothing.bmp" "$WORK/err.txt" || fail "missing source not named"
touch "$WORK/afile"
run 1 --export "$WORK/songs/a.bmp" --out "$WORK/afile/sub"
grep -q "afile/sub" "$WORK/err.txt" || fail "unwritable output folder not named"

[ ! -e "$HOME_DIR/set.ini" ] || [ "$(stat -c %s "$HOME_DIR/set.ini")" = 1 ] || fail "the export changed set.ini"
echo "export_cli.sh: OK"
