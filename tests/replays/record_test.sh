#!/bin/sh
# Record, then replay: keys pressed in a real window (a private Xvfb server,
# keys sent with xdotool) are recorded by "fribb3-replay record", and replaying
# the recorded script must end in exactly the same final line.
# Usage: record_test.sh REPLAY_EXE. Exits 77 (skipped) without Xvfb or xdotool,
# or when the keys never reached the window.
set -u

REPLAY=$1
CAPTION='Fribb 3 v1.00'
FRAMES=700          # about 12 seconds of real time: the intro, a walk and a jump
START_TIMEOUT=30    # seconds for the window to appear (the machine may be busy)
RUN_TIMEOUT=90      # seconds for the whole recording
SKIP=77

for tool in Xvfb xdotool xwininfo; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "SKIPPED: $tool is not installed"
        exit $SKIP
    fi
done

WORK=$(mktemp -d)
XVFB_PID=
REC_PID=
cleanup() {
    [ -n "$REC_PID" ] && kill "$REC_PID" 2>/dev/null
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT INT TERM

# -noreset keeps the server up between clients.
Xvfb -displayfd 3 -noreset -screen 0 800x600x24 -nolisten tcp 3>"$WORK/display" 2>"$WORK/xvfb.log" &
XVFB_PID=$!
i=0
while [ ! -s "$WORK/display" ]; do
    i=$((i + 1))
    if [ $i -gt 100 ] || ! kill -0 "$XVFB_PID" 2>/dev/null; then
        echo "SKIPPED: Xvfb did not start"
        exit $SKIP
    fi
    sleep 0.1
done
DISPLAY=:$(cat "$WORK/display")
export DISPLAY

SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy "$REPLAY" record "$WORK/rec.script" --stage 1 --frames $FRAMES \
    >"$WORK/record.out" 2>&1 &
REC_PID=$!

window=
i=0
while [ -z "$window" ] && [ $i -lt $((START_TIMEOUT * 10)) ]; do
    for id in $(xdotool search --name "^$CAPTION\$" 2>/dev/null); do
        xwininfo -id "$id" 2>/dev/null | grep -q IsViewable && window=$id
    done
    sleep 0.1
    i=$((i + 1))
done
if [ -z "$window" ]; then
    echo "FAIL: no window appeared"
    cat "$WORK/record.out"
    exit 1
fi
xdotool windowfocus --sync "$window" >/dev/null 2>&1 || xdotool windowfocus "$window"

# Past the intro, walk right, jump once while walking, stop.
sleep 4
xdotool keydown Right
sleep 1
xdotool keydown space
sleep 0.3
xdotool keyup space
sleep 1
xdotool keyup Right

(sleep "$RUN_TIMEOUT"; kill "$REC_PID" 2>/dev/null) >/dev/null 2>&1 &
watchdog=$!
wait "$REC_PID"
code=$?
REC_PID=
kill "$watchdog" 2>/dev/null
if [ "$code" != 0 ] || [ ! -s "$WORK/rec.script" ]; then
    echo "FAIL: recording ended with $code"
    cat "$WORK/record.out"
    exit 1
fi
if ! grep -q 'R' "$WORK/rec.script" || ! grep -q 'J' "$WORK/rec.script"; then
    echo "SKIPPED: the keys did not reach the window"
    cat "$WORK/rec.script"
    exit $SKIP
fi

recorded=$(grep '^final ' "$WORK/record.out")
replayed=$(SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "$REPLAY" --stage 1 --frames $FRAMES "$WORK/rec.script" |
    grep '^final ')
echo "script:"
cat "$WORK/rec.script"
echo "recorded: $recorded"
echo "replayed: $replayed"
if [ -z "$recorded" ] || [ "$recorded" != "$replayed" ]; then
    echo "FAIL: the replay of the recording ends differently"
    exit 1
fi
exit 0
