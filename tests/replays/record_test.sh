#!/bin/sh
# Record, then replay: keys pressed in a real window (a private Xvfb server,
# keys sent with xdotool) are recorded by "fribb3-replay record", and replaying
# the recorded script must end in exactly the same final line.
# Usage: record_test.sh REPLAY_EXE. Exits 77 (skipped) without Xvfb or xdotool,
# when the keys never reached the window, or under an emulator.
set -u

REPLAY=$1
CAPTION='Fribb 3 v1.00'
FRAMES=700          # about 12 seconds of real time: the intro, a walk and a jump
START_TIMEOUT=30    # seconds for the window to appear (the machine may be busy)
RUN_TIMEOUT=90      # seconds for the whole recording
SKIP=77

. "$(dirname "$0")/../xvfb_common.sh"
require_native
require_tools Xvfb xdotool xwininfo
start_xvfb 800x600x24

SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy "$REPLAY" record "$WORK/rec.script" --stage 1 --frames $FRAMES --dump \
    >"$WORK/record.out" 2>&1 &
APP_PID=$!

if ! window=$(wait_for_window "$CAPTION" "$START_TIMEOUT"); then
    echo "FAIL: no window appeared"
    cat "$WORK/record.out"
    exit 1
fi
focus_window "$window"

# Past the intro, walk right, jump once while walking, stop.
sleep 4
xdotool keydown Right
sleep 1
xdotool keydown space
sleep 0.3
xdotool keyup space
sleep 1
xdotool keyup Right

(sleep "$RUN_TIMEOUT"; kill "$APP_PID" 2>/dev/null) >/dev/null 2>&1 &
watchdog=$!
wait "$APP_PID"
code=$?
APP_PID=
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

SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "$REPLAY" --stage 1 --frames $FRAMES --dump "$WORK/rec.script" \
    >"$WORK/replay.out"
# The real clock of a recording may skip drawing a frame now and then, so the
# pictures, and with them the digest, may differ; every state must not.
for run in record replay; do
    grep -v '^dump [0-9]* picture ' "$WORK/$run.out" >"$WORK/$run.states"
done
recorded=$(grep '^final ' "$WORK/record.out" | sed 's/ digest=.*//')
replayed=$(grep '^final ' "$WORK/replay.out" | sed 's/ digest=.*//')
echo "script:"
cat "$WORK/rec.script"
echo "recorded: $recorded"
echo "replayed: $replayed"
states=$("$REPLAY" diff "$WORK/record.states" "$WORK/replay.states")
if [ -z "$recorded" ] || [ "$recorded" != "$replayed" ] || [ "$states" != "no difference" ]; then
    echo "FAIL: the replay of the recording ends differently: $states"
    exit 1
fi
exit 0
