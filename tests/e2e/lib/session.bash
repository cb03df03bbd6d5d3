# Shared by the end-to-end scripts: a private program folder, a private Xvfb
# display, the real program started on it, and pixel reads of a screenshot.
# Source it after setting EXE to the program and NAME to the script's name.

fail() { echo "$NAME: FAIL: $*" >&2; exit 1; }
for tool in Xvfb xdotool xdpyinfo import; do
    command -v "$tool" >/dev/null || fail "$tool is not installed (make deps)"
done

WORK=$(mktemp -d)
XVFB_PID=""
APP_PID=""
cleanup() {
    [ -n "$APP_PID" ] && kill "$APP_PID" 2>/dev/null
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
    wait 2>/dev/null
    [ -n "${KEEP_WORK:-}" ] && cp -r "$WORK" "$KEEP_WORK"
    rm -rf "$WORK"
}
trap cleanup EXIT

# A program folder of our own, so the run leaves the build's set.ini alone.
HOME_DIR=$WORK/home
mkdir -p "$HOME_DIR"
for item in speed.txt explin.txt s wn sound; do
    [ -e "$SRC_HOME/$item" ] || fail "missing $SRC_HOME/$item"
    cp -r "$SRC_HOME/$item" "$HOME_DIR/"
done

# A display number of our own, so parallel runs do not meet.
DISPLAY_NUM=$(( $$ % 50 + 100 ))
while [ -e "/tmp/.X${DISPLAY_NUM}-lock" ]; do DISPLAY_NUM=$((DISPLAY_NUM + 1)); done
export DISPLAY=:$DISPLAY_NUM
export XDG_RUNTIME_DIR=$WORK/runtime
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
# Recovery copies of our own, so a run never finds (or leaves) the user's.
export XDG_STATE_HOME=$WORK/state
unset QT_QPA_PLATFORM QUILLNOTE_HOME

Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >"$WORK/xvfb.log" 2>&1 &
XVFB_PID=$!
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
xdpyinfo >/dev/null 2>&1 || fail "Xvfb did not start on $DISPLAY"

"$EXE" --home "$HOME_DIR" >"$WORK/app.log" 2>&1 &
APP_PID=$!
WID=$(timeout 10 xdotool search --sync --onlyvisible --name '^Quillnote$' 2>/dev/null | head -1)
[ -n "$WID" ] || { cat "$WORK/app.log" >&2; fail "no visible window named Quillnote"; }


# shot: takes a screenshot of the whole screen into $SHOT.
SHOT=$WORK/shot.ppm
shot() {
    import -display "$DISPLAY" -window root -depth 8 "ppm:$SHOT" || fail "screenshot failed"
    [ -n "${KEEP_SHOT:-}" ] && cp "$SHOT" "$KEEP_SHOT"
    return 0
}

# pixel X Y: "R G B" of the screenshot.
E2E_LIB=$(dirname "${BASH_SOURCE[0]}")
pixel() { python3 "$E2E_LIB/ppm.py" "$SHOT" "$1" "$2"; }

expect_pixel() {  # X Y "R G B" what
    local got
    got=$(pixel "$1" "$2")
    [ "$got" = "$3" ] || fail "$4: pixel ($1,$2) is $got, expected $3"
}


# focus_main: the pointer over the window and the input focus on it.
focus_main() {
    xdotool mousemove 600 500
    xdotool windowfocus --sync "$WID" || fail "cannot focus the window"
    sleep 0.3
}

# dialog TITLE: waits for a visible window of that title and focuses it.
dialog() {
    local id
    id=$(timeout 10 xdotool search --sync --onlyvisible --name "^$1\$" 2>/dev/null | head -1)
    [ -n "$id" ] || fail "no dialog titled $1"
    xdotool windowfocus --sync "$id" || fail "cannot focus the dialog $1"
    sleep 0.5
}
