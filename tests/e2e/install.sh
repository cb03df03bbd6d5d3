#!/usr/bin/env bash
# The installer beside the program (build/install/install with its kos folder):
# the desktop entry and icon land in $XDG_DATA_HOME (or ~/.local/share) with the
# Exec line naming the program, a second run overwrites them, and every failed
# step is named after "安装失败" with exit status 1.
# Usage: install.sh PATH/TO/quillnote   (the installer is install/install beside it)
set -u

NAME=install.sh
fail() { echo "$NAME: FAIL: $*" >&2; exit 1; }

EXE=$(readlink -f "${1:?usage: install.sh PATH/TO/quillnote}")
BUILD=$(dirname "$EXE")
INSTALLER=$BUILD/install/install
KOS=$BUILD/install/kos
[ -x "$INSTALLER" ] || fail "missing $INSTALLER"
[ -f "$KOS/quillnote.desktop" ] && [ -f "$KOS/quillnote.png" ] || fail "missing $KOS"
command -v desktop-file-validate >/dev/null || fail "desktop-file-validate is not installed (make deps)"

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

# A stand-in for update-desktop-database that records the folder it was given.
TOOLS=$WORK/tools
mkdir -p "$TOOLS" "$WORK/empty"
cat >"$TOOLS/update-desktop-database" <<SH
#!/bin/sh
printf '%s\n' "\$@" >>"$WORK/tool.log"
SH
chmod +x "$TOOLS/update-desktop-database"
BASE_PATH=$TOOLS:$PATH

# run INSTALLER [VAR=VALUE ...]: runs it offscreen; sets RC, OUT, ERR.
run() {
    local installer=$1; shift
    rm -f "$WORK/tool.log"
    env QT_QPA_PLATFORM=offscreen PATH="$BASE_PATH" "$@" "$installer" >"$WORK/out" 2>"$WORK/err"
    RC=$?
    OUT=$(cat "$WORK/out")
    ERR=$(grep -v '^QStandardPaths:' "$WORK/err")
}

# The tool is started without waiting: give it a moment to write its log.
expect_tool_started_on() {
    for _ in $(seq 50); do [ -s "$WORK/tool.log" ] && break; sleep 0.1; done
    [ "$(cat "$WORK/tool.log" 2>/dev/null)" = "$1" ] ||
        fail "$2: update-desktop-database got '$(cat "$WORK/tool.log" 2>/dev/null)', expected '$1'"
}

# expect_installed DATA_HOME EXEC_VALUE what
expect_installed() {
    local desktop=$1/applications/quillnote.desktop icon=$1/icons/hicolor/64x64/apps/quillnote.png
    [ -f "$desktop" ] || fail "$3: no $desktop"
    [ -f "$icon" ] || fail "$3: no $icon"
    awk -v exec="Exec=$2" '/^Exec=/ { print exec; next } { print }' "$KOS/quillnote.desktop" >"$WORK/expected.desktop"
    cmp -s "$desktop" "$WORK/expected.desktop" ||
        fail "$3: desktop entry differs from kos/quillnote.desktop with Exec=$2: $(diff "$WORK/expected.desktop" "$desktop")"
    desktop-file-validate "$desktop" || fail "$3: the installed desktop entry does not validate"
    cmp -s "$icon" "$KOS/quillnote.png" || fail "$3: icon differs from kos/quillnote.png"
    python3 - "$icon" <<'PY' || fail "$3: the icon is not a 64 x 64 PNG"
import struct, sys
data = open(sys.argv[1], "rb").read(24)
sys.exit(0 if data[:8] == b"\x89PNG\r\n\x1a\n" and struct.unpack(">II", data[16:24]) == (64, 64) else 1)
PY
}

# 1. First run into $XDG_DATA_HOME; HOME is left alone.
H=$WORK/home1 D=$WORK/data1
mkdir -p "$H"
run "$INSTALLER" HOME="$H" XDG_DATA_HOME="$D"
[ "$RC" = 0 ] || fail "first run: status $RC, stderr: $ERR"
[ "$OUT" = "安装成功" ] || fail "first run: printed '$OUT'"
expect_installed "$D" "$EXE" "first run"
expect_tool_started_on "$D/applications" "first run"
[ -z "$(ls -A "$H")" ] || fail "first run wrote into HOME although XDG_DATA_HOME was set"

# 2. A second run overwrites both files.
echo damaged >"$D/applications/quillnote.desktop"
echo damaged >"$D/icons/hicolor/64x64/apps/quillnote.png"
run "$INSTALLER" HOME="$H" XDG_DATA_HOME="$D"
[ "$RC" = 0 ] && [ "$OUT" = "安装成功" ] || fail "second run: status $RC, printed '$OUT', stderr: $ERR"
expect_installed "$D" "$EXE" "second run"

# 3. Without a usable XDG_DATA_HOME the files go to ~/.local/share; with no
#    display and no platform named, the outcome is printed all the same.
for xdg in unset "" "relative/data"; do
    H=$WORK/home-${xdg//\//-}
    mkdir -p "$H"
    if [ "$xdg" = unset ]; then
        (cd "$WORK" && env -u XDG_DATA_HOME -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM \
            PATH="$BASE_PATH" HOME="$H" "$INSTALLER" >"$WORK/out" 2>"$WORK/err")
        RC=$? OUT=$(cat "$WORK/out")
    else
        (cd "$WORK" && run "$INSTALLER" HOME="$H" XDG_DATA_HOME="$xdg"; exit "$RC")
        RC=$? OUT=$(cat "$WORK/out")
    fi
    [ "$RC" = 0 ] && [ "$OUT" = "安装成功" ] || fail "XDG_DATA_HOME=$xdg: status $RC, printed '$OUT'"
    expect_installed "$H/.local/share" "$EXE" "XDG_DATA_HOME=$xdg"
    [ ! -e "$WORK/relative" ] || fail "a relative XDG_DATA_HOME was used"
done

# 4. The program in the folder above the installer, on a path with a space:
#    the Exec value is quoted.
P="$WORK/my apps"
mkdir -p "$P/install"
cp "$INSTALLER" "$P/install/install" && cp -r "$KOS" "$P/install/kos"
printf '#!/bin/sh\n' >"$P/quillnote" && chmod +x "$P/quillnote"
D=$WORK/data4
run "$P/install/install" HOME="$WORK/home1" XDG_DATA_HOME="$D"
[ "$RC" = 0 ] || fail "spaced path: status $RC, stderr: $ERR"
expect_installed "$D" "\"$P/quillnote\"" "spaced path"

# 5. Failures: each failed step is named on its own line after "安装失败".
#    setup NAME: an installer copy in $WORK/NAME/install with the program above it.
setup() {
    mkdir -p "$WORK/$1/install"
    cp "$INSTALLER" "$WORK/$1/install/install"
    printf '#!/bin/sh\n' >"$WORK/$1/quillnote" && chmod +x "$WORK/$1/quillnote"
}
# expect_failure WHAT LINE-PATTERN...: status 1, nothing on stdout, and stderr is
# "安装失败" followed by exactly one line per pattern, in order.
expect_failure() {
    local what=$1; shift
    [ "$RC" = 1 ] || fail "$what: status $RC"
    [ -z "$OUT" ] || fail "$what: printed '$OUT' on stdout"
    mapfile -t lines <<<"$ERR"
    [ "${lines[0]}" = "安装失败" ] || fail "$what: message begins '${lines[0]}'"
    [ "${#lines[@]}" = $(($# + 1)) ] || fail "$what: expected $# failed steps, got: $ERR"
    local i=1
    for pattern in "$@"; do
        [[ "${lines[$i]}" == $pattern ]] || fail "$what: line $i is '${lines[$i]}', expected $pattern"
        i=$((i + 1))
    done
}

# No kos folder: both copies fail, the command is still started.
setup nokos
D=$WORK/data5
run "$WORK/nokos/install/install" HOME="$WORK/home1" XDG_DATA_HOME="$D"
expect_failure "no kos folder" "复制 */kos/quillnote.desktop 到 $D/applications/quillnote.desktop：*" \
    "复制 */kos/quillnote.png 到 $D/icons/hicolor/64x64/apps/quillnote.png：*"
[ ! -e "$D/applications/quillnote.desktop" ] && [ ! -e "$D/icons" ] || fail "no kos folder: something was installed"
expect_tool_started_on "$D/applications" "no kos folder"

# No quillnote beside or above the installer: the entry would start nothing.
mkdir -p "$WORK/lonely/install"
cp "$INSTALLER" "$WORK/lonely/install/install" && cp -r "$KOS" "$WORK/lonely/install/kos"
D=$WORK/data6
run "$WORK/lonely/install/install" HOME="$WORK/home1" XDG_DATA_HOME="$D"
expect_failure "no program" "复制 */kos/quillnote.desktop 到 *：*找不到 quillnote 程序"
[ ! -e "$D/applications/quillnote.desktop" ] || fail "no program: a desktop entry was installed"
cmp -s "$D/icons/hicolor/64x64/apps/quillnote.png" "$KOS/quillnote.png" || fail "no program: the icon was not copied"

# The destination cannot be created (XDG_DATA_HOME is a file).
touch "$WORK/datafile"
run "$INSTALLER" HOME="$WORK/home1" XDG_DATA_HOME="$WORK/datafile"
expect_failure "unwritable destination" "复制 *quillnote.desktop 到 *：无法创建文件夹 *" \
    "复制 *quillnote.png 到 *：无法创建文件夹 *"

# update-desktop-database cannot be started: the copies stand, the start is reported.
D=$WORK/data7
BASE_PATH=$WORK/empty run "$INSTALLER" HOME="$WORK/home1" XDG_DATA_HOME="$D"
expect_failure "no update-desktop-database" "启动 update-desktop-database $D/applications：*"
expect_installed "$D" "$EXE" "no update-desktop-database"

echo "$NAME: ok"
