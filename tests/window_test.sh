#!/bin/sh
# Real-window check: the game opens a window of the right size in each display mode on a
# private Xvfb server and ends with exit code 0 when Escape is pressed; and it ends, rather
# than hangs, when the X server goes away under it.
# Usage: window_test.sh GAME_EXE BUILD_DIR. Exits 77 (skipped) when Xvfb or xdotool is missing,
# or under an emulator.
set -u

GAME=$1
BUILD_DIR=$2
CAPTION='Fribb 3 v1.00'
# The screen has the size of the largest window, the 1360x768 one of OpenGL with -hd;
# full-screen modes open at the screen's own size.
SCREEN_GEOMETRY=1360x768x24
START_TIMEOUT=30              # seconds for a window to appear (the machine may be busy)
EXIT_TIMEOUT=5                # seconds from the last key press to the end of the process
# Seconds for the game to end once its X server is gone: its own alarm gives SDL_Quit three
# seconds, and a slow machine or an emulator (over four seconds under qemu) needs more.
LOST_TIMEOUT=15
INTRO_TIMEOUT=30              # seconds of jump presses that may be needed to get through the intro scenes
SKIP=77

. "$(dirname "$0")/xvfb_common.sh"
require_native
require_tools Xvfb xdotool xwininfo
start_xvfb "$SCREEN_GEOMETRY"
echo "Xvfb on $DISPLAY"

# Video goes to the X server (named, so a failed connection is an error rather than a
# silent fall-back to another driver); audio stays silent; OpenGL uses Mesa's software renderer.
export SDL_VIDEODRIVER=x11
export SDL_AUDIODRIVER=dummy
export LIBGL_ALWAYS_SOFTWARE=1

# Sends keys to the window, giving it the focus first. Later screens (intro scenes, menus)
# are dismissed by passing more keys here before the final Escape.
send_keys() {
    window=$1
    shift
    focus_window "$window"
    for key in "$@"; do
        xdotool key --delay 50 "$key"
        sleep 0.1
    done
}

# Waits for the game to end, killing it after TIMEOUT seconds (EXIT_TIMEOUT when not given);
# sets EXIT_CODE to its exit code, or to "timeout" when it had to be killed.
wait_for_exit() {
    (sleep "${1:-$EXIT_TIMEOUT}"; kill "$APP_PID" 2>/dev/null && touch "$WORK/killed") &
    watchdog=$!
    wait "$APP_PID"
    EXIT_CODE=$?
    kill "$watchdog" 2>/dev/null
    wait "$watchdog" 2>/dev/null
    if [ -e "$WORK/killed" ]; then
        EXIT_CODE=timeout
        rm -f "$WORK/killed"
    fi
}

# Maximum sample value (0 for black) of a region WxH+X+Y of a captured picture.
region_max() {
    convert "$1" -crop "$2" +repage -format '%[max]' info:
}

# With -hd the 1024x768 picture must sit at x 168..1191 of the 1360x768 window: the
# bands either side stay black once the picture shows. Prints a failure reason, if any.
check_hd_picture() {
    window=$1
    if ! command -v import >/dev/null 2>&1; then
        echo "(picture position not checked: ImageMagick is not installed)" >&2
        return
    fi
    i=0
    while [ $i -lt $((START_TIMEOUT * 2)) ]; do
        import -window "$window" "$WORK/hd.png" 2>/dev/null
        if [ -s "$WORK/hd.png" ] && [ "$(region_max "$WORK/hd.png" 1024x768+168+0)" != 0 ]; then
            [ "$(region_max "$WORK/hd.png" 168x768+0+0)" = 0 ] || echo "picture reaches left of x 168"
            [ "$(region_max "$WORK/hd.png" 168x768+1192+0)" = 0 ] || echo "picture reaches right of x 1191"
            return
        fi
        sleep 0.5
        i=$((i + 1))
    done
    echo "the picture stayed black"
}

FAILURES=0
# check_mode "ARGS" WIDTH HEIGHT
check_mode() {
    args=$1
    want="$2x$3"
    problem=
    (cd "$BUILD_DIR" && exec "$GAME" $args) >"$WORK/game.log" 2>&1 &
    APP_PID=$!
    if ! window=$(wait_for_window "$CAPTION" "$START_TIMEOUT"); then
        echo "FAIL $args: no window appeared; windows now:"
        xwininfo -root -tree
        kill "$APP_PID" 2>/dev/null
        wait "$APP_PID"
        echo "exit code $?"
        cat "$WORK/game.log"
        APP_PID=
        FAILURES=$((FAILURES + 1))
        return
    fi
    size=$(xwininfo -id "$window" | awk '/Width:/ {w = $2} /Height:/ {h = $2} END {print w "x" h}')
    case " $args " in
    *" -hd "*) problem=$(check_hd_picture "$window") ;;
    esac
    send_keys "$window" Escape
    # The quit takes effect after the intro scenes: jump ends each of them (the
    # maker's scene only once its logo has arrived, so keep pressing).
    i=0
    while kill -0 "$APP_PID" 2>/dev/null && [ $i -lt $((INTRO_TIMEOUT * 2)) ]; do
        xdotool key space 2>/dev/null
        sleep 0.5
        i=$((i + 1))
    done
    wait_for_exit
    code=$EXIT_CODE
    APP_PID=
    if [ "$size" != "$want" ] || [ "$code" != 0 ] || [ -n "$problem" ]; then
        echo "FAIL $args: window $size (want $want), exit $code (want 0) $problem"
        cat "$WORK/game.log"
        FAILURES=$((FAILURES + 1))
    else
        echo "ok   $args: window $size, exit 0"
    fi
}

# Windows: 1x, doubled (a later -x2, -s2x or -aa turns zoom back on after -w), OpenGL.
check_mode "-w" 320 240
check_mode "-w -x2" 640 480
check_mode "-w -s2x" 640 480
check_mode "-w -b24 -aa" 640 480
check_mode "-w -x2 -ogl" 640 480
check_mode "-w -x2 -ogl -hd" 1360 768
# Full screen takes the desktop's own size (the picture inside it: fullscreen_test.sh).
check_mode "-x2" 1360 768
check_mode "-b24 -aa" 1360 768
check_mode "-ogl" 1360 768

# The X server goes away under a running game: the game must end, not hang.
(cd "$BUILD_DIR" && exec "$GAME" -w) >"$WORK/game.log" 2>&1 &
APP_PID=$!
if wait_for_window "$CAPTION" "$START_TIMEOUT" >/dev/null; then
    kill "$XVFB_PID"
    wait "$XVFB_PID" 2>/dev/null
    XVFB_PID=
    wait_for_exit "$LOST_TIMEOUT"
    if [ "$EXIT_CODE" = timeout ]; then
        echo "FAIL display lost: the game was still running ${LOST_TIMEOUT}s after the X server ended"
        FAILURES=$((FAILURES + 1))
    else
        echo "ok   display lost: the game ended (exit $EXIT_CODE)"
    fi
else
    echo "FAIL display lost: no window appeared"
    FAILURES=$((FAILURES + 1))
fi
APP_PID=

[ $FAILURES -eq 0 ] || exit 1
exit 0
