# Shared by the real-window tests (sourced): tool checks, a private Xvfb server, clean-up, finding the window.
# The caller sets SKIP (the skip exit code) first and keeps the process it starts in APP_PID.

# Exits with SKIP when the programs under test run under an emulator (a cross build, whose
# ctest sets FRIBB3_TEST_EMULATED=1): the X server is this machine's, so a program of another
# byte order talks to it across byte orders (the pictures of Mesa's software renderer then show
# with their bytes swapped), and keys and pictures timed for a player meet a program many
# times slower.
require_native() {
    if [ "${FRIBB3_TEST_EMULATED:-0}" = 1 ]; then
        echo "SKIPPED: a real-window test, not run under an emulator"
        exit $SKIP
    fi
}

# Exits with SKIP unless every tool named is installed.
require_tools() {
    for tool in "$@"; do
        if ! command -v "$tool" >/dev/null 2>&1; then
            echo "SKIPPED: $tool is not installed"
            exit $SKIP
        fi
    done
}

WORK=$(mktemp -d)
XVFB_PID=
APP_PID=
cleanup() {
    [ -n "$APP_PID" ] && kill "$APP_PID" 2>/dev/null
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT INT TERM

# Starts Xvfb with screen GEOMETRY (WxHxDEPTH) and exports its DISPLAY; exits with SKIP when it does not start.
# Xvfb picks a free display number itself and writes it to the descriptor it is given.
# -noreset: by default the server resets when its last client leaves, and a program started
# during that reset fails to connect.
start_xvfb() {
    Xvfb -displayfd 3 -noreset -screen 0 "$1" -nolisten tcp 3>"$WORK/display" 2>"$WORK/xvfb.log" &
    XVFB_PID=$!
    i=0
    while [ ! -s "$WORK/display" ]; do
        i=$((i + 1))
        if [ $i -gt 100 ] || ! kill -0 "$XVFB_PID" 2>/dev/null; then
            echo "SKIPPED: Xvfb did not start"
            cat "$WORK/xvfb.log"
            exit $SKIP
        fi
        sleep 0.1
    done
    DISPLAY=:$(cat "$WORK/display")
    export DISPLAY
}

# Prints the id of the mapped window titled CAPTION; fails after TIMEOUT seconds.
wait_for_window() {
    i=0
    while [ $i -lt $(($2 * 10)) ]; do
        for id in $(xdotool search --name "^$1\$" 2>/dev/null); do
            if xwininfo -id "$id" 2>/dev/null | grep -q 'IsViewable'; then
                echo "$id"
                return 0
            fi
        done
        sleep 0.1
        i=$((i + 1))
    done
    return 1
}

# Gives the keyboard focus to WINDOW.
focus_window() {
    xdotool windowfocus --sync "$1" >/dev/null 2>&1 || xdotool windowfocus "$1"
}
