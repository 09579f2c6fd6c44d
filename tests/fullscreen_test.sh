#!/bin/sh
# Full screen as a player sees it: on private Xvfb desktops of the sizes players have, under
# the openbox window manager, the title (and on one desktop a stage) in the display choices is
# captured and the picture in it measured: the largest whole factor that fits, square logical
# pixels (4:3 within one pixel), centred, black around; plain blocks (software or OpenGL)
# uniform at the whole factor, Scale2x and smoothing uniform at half of it but not at it.
# Usage: fullscreen_test.sh GAME_EXE BUILD_DIR [WxH ...]. Exits 77 (skipped) when a tool is missing
# or under an emulator.
set -u

GAME=$1
BUILD_DIR=$2
shift 2
SIZES=${*:-1366x768 1920x1080 2560x1440 3840x2160 2560x1080}
CAPTION='Fribb 3 v1.00'
LOGICAL_W=320
LOGICAL_H=240
PLAYFIELD_ROWS=192            # the top rows the stage fills; the HUD below is black at the left edge
START_TIMEOUT=60              # seconds for the window to appear (a busy machine takes long to start)
SHOW_TIMEOUT=60               # seconds of key presses to reach the title, or a stage from it
SKIP=77

. "$(dirname "$0")/xvfb_common.sh"
require_native
require_tools Xvfb xdotool xwininfo xprop openbox import convert compare

export SDL_VIDEODRIVER=x11
export SDL_AUDIODRIVER=dummy
export LIBGL_ALWAYS_SOFTWARE=1
# The compatibility layer's own scaling stays as the game asks for it.
unset SDL12COMPAT_SCALE_METHOD SDL12COMPAT_WINDOW_SCALING SDL12COMPAT_HIGHDPI SDL12COMPAT_OPENGL_SCALING

WM_PID=
stop_desktop() {
    [ -n "$WM_PID" ] && kill "$WM_PID" 2>/dev/null && wait "$WM_PID" 2>/dev/null
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
    WM_PID=
    XVFB_PID=
}
trap 'stop_desktop; cleanup' EXIT INT TERM

# A desktop of WxH with openbox managing it (full-screen windows then cover the whole screen).
start_desktop() {
    start_xvfb "${1}x${2}x24"
    openbox >"$WORK/openbox.log" 2>&1 &
    WM_PID=$!
    i=0
    until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do
        i=$((i + 1))
        if [ $i -gt 100 ]; then
            echo "SKIPPED: openbox did not start"
            cat "$WORK/openbox.log"
            exit $SKIP
        fi
        sleep 0.1
    done
}

# Non-black bounding box of a picture: sets BOX_W BOX_H BOX_L BOX_T (BOX_W 0 when all black).
bounding_box() {
    box=$(convert "$1" -bordercolor black -border 1 -format '%@' info: 2>/dev/null)
    BOX_W=0 BOX_H=0 BOX_L=0 BOX_T=0
    case $box in
    *x*+*+*) ;;
    *) return ;;
    esac
    set -- $(echo "$box" | tr 'x+' '  ')
    BOX_W=$1 BOX_H=$2 BOX_L=$(($3 - 1)) BOX_T=$(($4 - 1))
    [ "$BOX_W" -gt 0 ] && [ "$BOX_L" -ge 0 ] || BOX_W=0
}

# Measures the game's picture in a screenshot: its width is the non-black box's (the stage
# reaches both sides), its height follows from the stage's rows in the picture's left column.
# Sets PIC_W PIC_H PIC_L PIC_T FACTOR_X FACTOR_Y; fails unless it looks like a whole picture.
measure() {
    bounding_box "$1"
    [ "$BOX_W" -gt 0 ] || return 1
    PIC_W=$BOX_W PIC_L=$BOX_L PIC_T=$BOX_T
    convert "$1" -crop "1x${SCREEN_H}+${PIC_L}+0" +repage "$WORK/column.png"
    bounding_box "$WORK/column.png"
    [ "$BOX_W" -gt 0 ] && [ "$BOX_T" -eq "$PIC_T" ] || return 1
    FACTOR_X=$((PIC_W / LOGICAL_W))
    # Smoothing blurs the stage's last row into the HUD: round to whole logical rows.
    FACTOR_Y=$(((BOX_H + PLAYFIELD_ROWS / 2) / PLAYFIELD_ROWS))
    PIC_H=$((FACTOR_Y * LOGICAL_H))
    blur=$((BOX_H - FACTOR_Y * PLAYFIELD_ROWS))
    [ $((FACTOR_X * LOGICAL_W)) -eq "$PIC_W" ] && [ "$FACTOR_Y" -gt 0 ] && [ ${blur#-} -le "$FACTOR_Y" ]
}

# 0 when every BxB block of the picture in the screenshot is one colour.
uniform_blocks() {
    convert "$1" -crop "${PIC_W}x${PIC_H}+${PIC_L}+${PIC_T}" +repage "$WORK/picture.png"
    small="$((PIC_W / $2))x$((PIC_H / $2))!"
    convert "$WORK/picture.png" -sample "$small" -sample "${PIC_W}x${PIC_H}!" "$WORK/blocks.png"
    [ "$(compare -metric AE "$WORK/picture.png" "$WORK/blocks.png" null: 2>&1)" = 0 ]
}

# Red of the pixel at logical (X, Y) of the measured picture.
logical_red() {
    f=$((PIC_W / LOGICAL_W))
    convert "$1" -crop "1x1+$((PIC_L + $2 * f + f / 2))+$((PIC_T + $3 * f + f / 2))" -format '%[fx:int(255*r)] %[fx:int(255*g)]' info:
}

# Ends the game: SIGTERM, and SIGKILL when it is still there a few seconds later (a game
# asked to quit in a stage may wait on its quit question).
end_game() {
    [ -n "$APP_PID" ] || return 0
    kill "$APP_PID" 2>/dev/null
    i=0
    while kill -0 "$APP_PID" 2>/dev/null && [ $i -lt 30 ]; do
        sleep 0.1
        i=$((i + 1))
    done
    kill -9 "$APP_PID" 2>/dev/null
    wait "$APP_PID" 2>/dev/null
    APP_PID=
}

FAILURES=0
fail() {
    echo "FAIL $*"
    FAILURES=$((FAILURES + 1))
}

# Checks the measured picture of SHOT for display choice ARGS whose blocks are of KIND
# (plain: uniform at the factor; filter: uniform at half of it but not at it; smooth: not
# uniform at it) and whose factor must be WANT. Prints the measurement.
check_picture() {
    shot=$1 args=$2 kind=$3 want=$4 what=$5
    label="${SCREEN_W}x${SCREEN_H} $args $what"
    problems=
    [ "$FACTOR_X" -eq "$FACTOR_Y" ] || problems="$problems; pixels ${FACTOR_X}x${FACTOR_Y}, not square"
    [ "$FACTOR_X" -eq "$want" ] || problems="$problems; factor $FACTOR_X, want $want"
    aspect=$((3 * PIC_W - 4 * PIC_H))
    [ ${aspect#-} -le 4 ] || problems="$problems; not 4:3"
    dx=$((PIC_L - (SCREEN_W - PIC_W) / 2))
    dy=$((PIC_T - (SCREEN_H - PIC_H) / 2))
    [ ${dx#-} -le 1 ] && [ ${dy#-} -le 1 ] || problems="$problems; off centre by $dx,$dy"
    bounding_box "$shot"
    [ $((BOX_T + BOX_H)) -le $((PIC_T + PIC_H)) ] || problems="$problems; something shows below the picture"
    case $kind in
    plain) uniform_blocks "$shot" "$want" || problems="$problems; ${want}x$want blocks not uniform" ;;
    filter)
        [ $((want % 2)) -eq 0 ] || problems="$problems; odd factor for a doubling filter"
        uniform_blocks "$shot" $((want / 2)) || problems="$problems; filtered pixels not uniform $((want / 2))x$((want / 2)) blocks"
        uniform_blocks "$shot" "$want" && problems="$problems; ${want}x$want blocks uniform: the filter does not show"
        ;;
    smooth) uniform_blocks "$shot" "$want" && problems="$problems; ${want}x$want blocks uniform: not smoothed" ;;
    esac
    if [ -n "$problems" ]; then
        fail "$label: picture ${PIC_W}x${PIC_H}+${PIC_L}+${PIC_T}$problems"
        cp "$shot" "${FAILED_SHOTS:-/tmp}/fullscreen-fail-${SCREEN_W}x${SCREEN_H}-$(echo "$args $what" | tr ' ' '_').png" 2>/dev/null
    else
        echo "ok   $label: picture ${PIC_W}x${PIC_H} at +${PIC_L}+${PIC_T}, factor $FACTOR_X, $kind blocks ($(($(date +%s) - RUN_START)) s)"
    fi
}

# Presses KEY every quarter second, capturing the screen every second, until the capture
# passes the test command given after it; fails after SHOW_TIMEOUT.
press_until() {
    key=$1
    shift
    i=0
    while [ $i -lt $((SHOW_TIMEOUT * 4)) ]; do
        kill -0 "$APP_PID" 2>/dev/null || return 1
        xdotool key "$key" 2>/dev/null
        sleep 0.25
        i=$((i + 1))
        if [ $((i % 4)) -eq 0 ]; then
            import -window root "$WORK/shot.png" 2>/dev/null && "$@" "$WORK/shot.png" && return 0
        fi
    done
    return 1
}

title_shows() {
    measure "$1"
}

# The stage: a whole picture with the HUD's red hurry bar.
stage_shows() {
    measure "$1" || return 1
    set -- $(logical_red "$1" 250 199)
    [ "$1" -gt 200 ] && [ "$2" -lt 60 ]
}

# run_choice "ARGS" KIND WANT STAGE: the title, and with STAGE yes a stage after NEW GAME.
run_choice() {
    args=$1 kind=$2 want=$3 stage=$4
    RUN_START=$(date +%s)
    (cd "$BUILD_DIR" && exec "$GAME" $args) >"$WORK/game.log" 2>&1 &
    APP_PID=$!
    if ! window=$(wait_for_window "$CAPTION" "$START_TIMEOUT"); then
        fail "${SCREEN_W}x${SCREEN_H} $args: no window appeared"
        cat "$WORK/game.log"
    else
        focus_window "$window"
        if press_until space title_shows; then
            cp "$WORK/shot.png" "$WORK/title.png"
            check_picture "$WORK/title.png" "$args" "$kind" "$want" title
            if [ "$stage" = yes ]; then
                xdotool key Return
                sleep 0.5
                if press_until Return stage_shows; then
                    check_picture "$WORK/shot.png" "$args" "$kind" "$want" stage
                else
                    fail "${SCREEN_W}x${SCREEN_H} $args: no stage after NEW GAME (last box ${BOX_W}x${BOX_H}+${BOX_L}+${BOX_T})"
                fi
            fi
        else
            fail "${SCREEN_W}x${SCREEN_H} $args: no whole picture of the title (last box ${BOX_W}x${BOX_H}+${BOX_L}+${BOX_T})"
            cat "$WORK/game.log"
        fi
    fi
    end_game
}

# Every display choice on one desktop; FAILURES counts within this desktop's run.
test_desktop() {
    size=$1
    SCREEN_W=${size%x*}
    SCREEN_H=${size#*x}
    start_desktop "$SCREEN_W" "$SCREEN_H"
    fits_x=$((SCREEN_W / LOGICAL_W))
    fits_y=$((SCREEN_H / LOGICAL_H))
    fits=$((fits_x < fits_y ? fits_x : fits_y))
    even=$((fits / 2 * 2))
    # Plain doubling and Scale2x on every desktop; on 1920x1080 also a stage, smoothing
    # and OpenGL (sharp, smooth, -hd) and 24 bits, which share the others' layout code.
    run_choice "-x2" plain "$fits" "$([ "$size" = 1920x1080 ] && echo yes || echo no)"
    run_choice "-s2x" filter "$even" no
    if [ "$size" = 1920x1080 ]; then
        run_choice "-aa" filter "$even" no
        run_choice "-ogl" plain "$fits" no
        run_choice "-ogl -aa" smooth "$fits" no
        run_choice "-b24 -s2x" filter "$even" no
    fi
    stop_desktop
}

# The desktops run side by side (each on its own server): the runs mostly wait on the game's
# intro, so this takes little more than the longest of them.
ALL_WORK=$WORK
pids=
for size in $SIZES; do
    (
        WORK=$ALL_WORK/$size
        mkdir -p "$WORK"
        XVFB_PID= WM_PID= APP_PID=
        trap 'end_game; stop_desktop' EXIT
        trap 'exit 1' INT TERM
        test_desktop "$size"
        [ $FAILURES -eq 0 ]
    ) &
    pids="$pids $!"
done
failed=0
for pid in $pids; do
    wait "$pid" || failed=1
done
WORK=$ALL_WORK
exit $failed
