#!/usr/bin/env bash
# The Debian package: CPack builds it from the build folder, dpkg-deb -x unpacks
# it into a temporary root, and the unpacked program runs there: --version, an
# --export of a small document, and a start under Xvfb with a fresh HOME that
# makes the user's program folder and leaves <root>/usr/share/quillnote as it
# was. desktop-file-validate, appstreamcli and lintian check what it installs.
# Usage: package.sh BUILD_FOLDER    (KEEP_DEB=FILE keeps the package)
set -u

NAME=package.sh
fail() { echo "$NAME: FAIL: $*" >&2; exit 1; }
BUILD=$(readlink -f "${1:?usage: package.sh BUILD_FOLDER}")
for tool in cpack dpkg-deb dpkg-shlibdeps desktop-file-validate appstreamcli lintian xmllint Xvfb xdotool xdpyinfo; do
    command -v "$tool" >/dev/null || fail "$tool is not installed (make deps)"
done

WORK=$(mktemp -d)
XVFB_PID=""
APP_PID=""
cleanup() {
    [ -n "$APP_PID" ] && kill "$APP_PID" 2>/dev/null
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM QUILLNOTE_HOME XDG_DATA_HOME

# ---- Build the package.
cpack -G DEB --config "$BUILD/CPackConfig.cmake" -B "$WORK/out" >"$WORK/cpack.log" 2>&1 \
    || { cat "$WORK/cpack.log" >&2; fail "cpack failed"; }
DEB=$(ls "$WORK"/out/quillnote_*.deb 2>/dev/null | head -1)
[ -f "$DEB" ] || { cat "$WORK/cpack.log" >&2; fail "no quillnote_*.deb"; }
[ -n "${KEEP_DEB:-}" ] && cp "$DEB" "$KEEP_DEB"
VERSION=$(dpkg-deb -f "$DEB" Version)
DEPENDS=$(dpkg-deb -f "$DEB" Depends)
echo "package: $(basename "$DEB"), Depends: $DEPENDS"
# dpkg-shlibdeps found the linked libraries.
for lib in libqt6widgets6 libqt6multimedia6 libfluidsynth3 libc6; do
    echo "$DEPENDS" | grep -q "$lib" || fail "Depends lacks $lib: $DEPENDS"
done

# Everything lies below /usr, nothing a run of the build left behind.
dpkg-deb -c "$DEB" | awk '{print $6}' >"$WORK/contents"
grep -v '^\./usr/' "$WORK/contents" | grep -v '^\./$' && fail "files outside /usr"
for f in usr/bin/quillnote usr/share/quillnote/speed.txt usr/share/quillnote/explin.txt \
         usr/share/quillnote/s/k0.bmp usr/share/quillnote/wn/ usr/share/quillnote/sound/ \
         usr/share/applications/quillnote.desktop usr/share/icons/hicolor/scalable/apps/quillnote.svg \
         usr/share/icons/hicolor/48x48/apps/quillnote.png usr/share/icons/hicolor/64x64/apps/quillnote.png \
         usr/share/icons/hicolor/128x128/apps/quillnote.png usr/share/icons/hicolor/256x256/apps/quillnote.png \
         usr/share/man/man1/quillnote.1.gz usr/share/doc/quillnote/copyright; do
    grep -qx "\./$f" "$WORK/contents" || fail "the package lacks /$f"
done
grep -q 'usr/share/metainfo/.*\.metainfo\.xml$' "$WORK/contents" || fail "no AppStream metadata"
grep -q 'set\.ini' "$WORK/contents" && fail "the package holds a set.ini"

# ---- Unpack and run it there.
ROOT=$WORK/root
dpkg-deb -x "$DEB" "$ROOT" || fail "dpkg-deb -x failed"
EXE=$ROOT/usr/bin/quillnote
DATA=$ROOT/usr/share/quillnote
snapshot() { (cd "$DATA" && find . -printf '%p %s %m %T@\n' | sort && find . -type f -exec md5sum {} + | sort); }
snapshot >"$WORK/data.before"

GOT=$("$EXE" --version) || fail "--version failed"
[ "$GOT" = "quillnote $VERSION" ] || fail "--version said '$GOT', the package is $VERSION"

for size in 48 64 128 256; do
    file "$ROOT/usr/share/icons/hicolor/${size}x${size}/apps/quillnote.png" | grep -q "$size x $size" \
        || fail "the ${size}x${size} icon is not $size pixels"
done
xmllint --noout "$ROOT/usr/share/icons/hicolor/scalable/apps/quillnote.svg" || fail "the SVG icon is not well-formed"
zcat "$ROOT/usr/share/man/man1/quillnote.1.gz" | grep -qF -- '\-\-export' || fail "the manual lacks --export"
zcat "$ROOT/usr/share/man/man1/quillnote.1.gz" | grep -q 'Page Up' || fail "the manual lacks the keys"

# A small document: a page bitmap with one black line and its sidecar.
mkdir -p "$WORK/songs"
python3 - "$WORK/songs" <<'PY'
import struct, sys, os
w, h = 668, 945
stride = (w * 3 + 3) // 4 * 4
rows = bytearray()
for y in range(h - 1, -1, -1):
    row = bytearray(b'\xff' * (w * 3))
    if y == 120:
        for x in range(20, 300): row[3 * x:3 * x + 3] = b'\x00\x00\x00'
    rows += row + b'\x00' * (stride - w * 3)
head = struct.pack('<2sIHHI', b'BM', 54 + len(rows), 0, 0, 54)
info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
open(os.path.join(sys.argv[1], 'song.bmp'), 'wb').write(head + info + bytes(rows))
b = bytearray(506)
struct.pack_into('<hhh', b, 0, 80, 8, 60)
b[47], b[48], b[49] = 2, 0, 0
b[51:95] = b'Package'.ljust(44)
open(os.path.join(sys.argv[1], 'song.dat'), 'wb').write(b)
PY
EXPORT_HOME=$WORK/export-home
mkdir -p "$EXPORT_HOME"
HOME=$EXPORT_HOME "$EXE" --export "$WORK/songs/song.bmp" --out "$WORK/exported" --format png \
    >"$WORK/export.out" 2>"$WORK/export.err" || { cat "$WORK/export.out" "$WORK/export.err" >&2; fail "--export failed"; }
file "$WORK/exported/song.png" | grep -q 'PNG image data, 668 x 945' || fail "the export is no 668 x 945 PNG"
[ -e "$EXPORT_HOME/.local" ] && fail "--export made a folder in HOME"

# A start under Xvfb with a fresh HOME: the user's folder is made from the installed copies.
FRESH=$WORK/fresh-home
mkdir -p "$FRESH"
DISPLAY_NUM=$(( $$ % 50 + 150 ))
while [ -e "/tmp/.X${DISPLAY_NUM}-lock" ]; do DISPLAY_NUM=$((DISPLAY_NUM + 1)); done
export DISPLAY=:$DISPLAY_NUM
export XDG_RUNTIME_DIR=$WORK/runtime
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
Xvfb "$DISPLAY" -noreset -screen 0 1280x1024x24 -nolisten tcp >"$WORK/xvfb.log" 2>&1 &
XVFB_PID=$!
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
xdpyinfo >/dev/null 2>&1 || fail "Xvfb did not start on $DISPLAY"
HOME=$FRESH "$EXE" >"$WORK/app.log" 2>&1 &
APP_PID=$!
WID=$(timeout 15 xdotool search --sync --onlyvisible --name '^Quillnote$' 2>/dev/null | head -1)
[ -n "$WID" ] || { cat "$WORK/app.log" >&2; fail "no visible window named Quillnote"; }
USER_DIR=$FRESH/.local/share/quillnote
[ -d "$USER_DIR" ] || { cat "$WORK/app.log" >&2; fail "no $USER_DIR"; }
(cd "$DATA" && find . -type f | sort) >"$WORK/bundled.files"
(cd "$USER_DIR" && find . -type f ! -name set.ini | sort) >"$WORK/user.files"
diff "$WORK/bundled.files" "$WORK/user.files" || fail "the user's folder is no copy of the installed data"
cmp -s "$DATA/speed.txt" "$USER_DIR/speed.txt" || fail "speed.txt differs from the installed one"
kill -0 "$APP_PID" 2>/dev/null || { cat "$WORK/app.log" >&2; fail "the program ended by itself"; }
kill "$APP_PID"; wait "$APP_PID" 2>/dev/null; APP_PID=""
snapshot >"$WORK/data.after"
diff "$WORK/data.before" "$WORK/data.after" || fail "the installed data changed"

# ---- The validators.
desktop-file-validate "$ROOT/usr/share/applications/quillnote.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net --explain "$ROOT"/usr/share/metainfo/*.metainfo.xml || fail "appstreamcli validate"
lintian --tag-display-limit 0 "$DEB" >"$WORK/lintian.txt" 2>&1
echo "lintian:"; cat "$WORK/lintian.txt"
grep -q '^E: ' "$WORK/lintian.txt" && fail "lintian reports errors"
echo "$NAME: OK ($(grep -c '^W: ' "$WORK/lintian.txt") lintian warnings)"
