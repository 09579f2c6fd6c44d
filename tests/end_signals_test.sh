#!/bin/sh
# SIGTERM, SIGINT and SIGHUP end the program promptly and in order from every kind of screen:
# each whole-game flow is cut at an input poll inside the screen looked at and played by
# fribb3-replay --boot, whose screenshot of that poll goes into a FIFO. The game then waits in
# that screen, in the middle of writing the picture, while the signal is sent; once the picture
# is read the game must end within a second (longer under an emulator), print its final line,
# leave every user file as it was or whole, and no temporary file. The game itself (fribb3) and
# `fribb3-replay record` too.
# Usage: end_signals_test.sh BUILD_DIR FLOWS_DIR
set -u

BUILD=$(cd "$1" && pwd)
FLOWS=$(cd "$2" && pwd)
REPLAY=$BUILD/fribb3-replay
DATA=$BUILD/tests/flows/data
# Under an emulator every limit is FRIBB3_TEST_TIME_FACTOR times longer.
FACTOR=${FRIBB3_TEST_TIME_FACTOR:-1}
END_LIMIT_MS=$((1000 * FACTOR))   # from the signal's arrival to the end of the process
START_LIMIT=$((30 * FACTOR))      # seconds the game may take to reach the screen (a busy machine)
SETTLE_TENTHS=$((2 * FACTOR))     # under an emulator: a margin after the last archive opens
SIGNALS="TERM INT HUP"

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
failures=0

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

now_ms() {
    date +%s%3N
}

signal_number() {
    case $1 in
    HUP) echo 1 ;;
    INT) echo 2 ;;
    TERM) echo 15 ;;
    esac
}

# The first POLLS input polls of a flow script (its #args line kept), then SUFFIX.
cut_script() {
    awk -v polls="$2" '
        /^#args/ { print; next }
        /^[ \t]*(#|$)/ { next }
        {
            if (left == "") left = polls
            if (left <= 0) exit
            n = $1 + 0
            if (n > left) n = left
            $1 = n
            print
            left -= n
        }' "$1"
    printf '%b' "$3"
}

# Each user file is the prepared one or a whole new one; nothing else is in the folder.
check_files() {
    dir=$1 before=$2 what=$3
    for f in "$dir"/* "$dir"/.[!.]*; do
        [ -e "$f" ] || [ -L "$f" ] || continue
        name=$(basename "$f")
        case $name in
        fribb3.cfg | hiscores.dat | savegame.dat) ;;
        shot.fifo | shot.bmp | data) continue ;;
        *)
            fail "$what: $name left in the working directory"
            continue
            ;;
        esac
        if [ -n "$before" ] && [ -f "$before/$name" ] && cmp -s "$f" "$before/$name"; then
            continue
        fi
        size=$(wc -c <"$f")
        case $name in
        hiscores.dat) [ "$size" -eq 160 ] || fail "$what: hiscores.dat of $size bytes" ;;
        savegame.dat) [ "$size" -eq 4 ] || fail "$what: savegame.dat of $size bytes" ;;
        fribb3.cfg)
            lines=$(wc -l <"$f")
            [ "$lines" -eq 29 ] && tail -n 1 "$f" | grep -q '^gfxmode=[0-9]*$' ||
                fail "$what: fribb3.cfg is not whole"
            ;;
        esac
    done
}

# A watchdog for a game that never opens the FIFO: it ends the game and opens the FIFO from
# the other side, so the test does not wait for ever. Sets $watchdog.
watch_fifo() {
    fifo=$1 game=$2
    (sleep "$START_LIMIT" && kill -9 "$game" 2>/dev/null; : >"$fifo") >/dev/null 2>&1 &
    watchdog=$!
}

# Waits until process PID holds the end signals for its event pump: a signal now asks it to
# end instead of killing it. On the machine itself the mark is SIGHUP in the main thread's
# blocked set (nothing else blocks it). An emulator blocks and catches signals itself from its
# start, so there the mark is the last archive the game opens, well after the signals are held,
# and then a settling time.
wait_caught() {
    tries=$((START_LIMIT * 10))
    while [ "$tries" -gt 0 ]; do
        if [ "${FRIBB3_TEST_EMULATED:-0}" = 1 ]; then
            if has_open "$1" sound.zda; then
                sleep "$((SETTLE_TENTHS / 10)).$((SETTLE_TENTHS % 10))"
                return 0
            fi
        else
            mask=$(sed -n 's/^SigBlk:[ \t]*//p' "/proc/$1/status" 2>/dev/null)
            case $mask in
            *[13579bdf]) return 0 ;;
            esac
        fi
        sleep 0.1
        tries=$((tries - 1))
    done
    return 1
}

# Whether process PID has a file named NAME open.
has_open() {
    for fd in /proc/"$1"/fd/*; do
        case $(readlink "$fd" 2>/dev/null) in
        */"$2") return 0 ;;
        esac
    done
    return 1
}

# Sends SIG to PID and waits for it; sets $code and $took (milliseconds).
end_by() {
    kill -s "$1" "$2"
    start=$(now_ms)
    wait "$2" 2>/dev/null
    code=$?
    took=$(($(now_ms) - start))
}

# Plays one case: NAME SCRIPT CUT SUFFIX SHOT PREPARED SIGNAL - the script's first CUT polls
# and SUFFIX, the signal at poll SHOT, the user files of PREPARED put in place first. Returns 1
# when the game was slower than the limit to end (and nothing else went wrong).
play_case() {
    name=$1 script=$2 cut=$3 suffix=$4 poll=$5 prepared=$6 sig=$7
    what="$name, SIG$sig"
    dir=$WORK/$name-$sig
    rm -rf "$dir"
    mkdir -p "$dir"
    [ -n "$prepared" ] && cp "$prepared"/* "$dir"/
    cut_script "$script" "$cut" "$suffix" >"$dir.script"
    args=$(sed -n 's/^#args//p' "$dir.script")
    mkfifo "$dir/shot.fifo"
    # shellcheck disable=SC2086
    "$REPLAY" --boot --data "$DATA" --workdir "$dir" $args --frames 1000000000 \
        --shot "$poll:$dir/shot.fifo" "$dir.script" >"$dir.out" 2>"$dir.err" &
    game=$!
    watch_fifo "$dir/shot.fifo" "$game"
    # The open returns once the game has opened the FIFO at that poll; the picture is larger
    # than the pipe holds, so the game then waits in its write until the picture is read.
    exec 3<"$dir/shot.fifo"
    kill "$watchdog" 2>/dev/null
    kill -s "$sig" "$game"
    start=$(now_ms)
    cat <&3 >"$dir/shot.bmp"
    exec 3<&-
    wait "$game" 2>/dev/null
    code=$?
    took=$(($(now_ms) - start))
    expected=$((128 + $(signal_number "$sig")))
    [ "$code" -eq "$expected" ] || fail "$what: exit code $code, not $expected"
    grep -q '^final ' "$dir.out" || fail "$what: no final line, the game did not end in order: $(cat "$dir.err")"
    check_files "$dir" "$prepared" "$what"
    [ "$took" -le "$END_LIMIT_MS" ]
}

# Runs CASE ARGS...; a case slower than the limit gets a second run, as a machine busy with
# other work can stall any process for a while, and fails when it is slow again.
timed() {
    if ! "$@"; then
        echo "$what: $took ms to end, once more"
        "$@" || fail "$what: took $took ms to end, twice"
    fi
}

# The game itself on the real clock, in its intro: it ends in order, which writes the
# hiscore table after the scenes.
game_case() {
    sig=$1 what="fribb3, SIG$1"
    expected=$((128 + $(signal_number "$sig")))
    rm -f "$WORK/game/hiscores.dat"
    (cd "$WORK/game" && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy exec "$BUILD/fribb3" -w) \
        >"$WORK/game.out" 2>&1 &
    game=$!
    wait_caught "$game" || fail "$what: never caught the signals"
    end_by "$sig" "$game"
    [ "$code" -eq "$expected" ] || fail "$what: exit code $code, not $expected: $(cat "$WORK/game.out")"
    [ -f "$WORK/game/hiscores.dat" ] || fail "$what: did not end in order (no hiscore table)"
    check_files "$WORK/game" '' "$what"
    [ "$took" -le "$END_LIMIT_MS" ]
}

# The replay tool's recording in stage 1: its game is its child and writes the recording on
# the way out.
record_case() {
    sig=$1 what="record, SIG$1"
    expected=$((128 + $(signal_number "$sig")))
    rm -f "$WORK/recorded.script"
    SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "$REPLAY" record "$WORK/recorded.script" --stage 1 \
        --data "$DATA" >"$WORK/record.out" 2>&1 &
    game=$!
    child=
    tries=$((START_LIMIT * 10))
    while [ -z "$child" ] && [ "$tries" -gt 0 ]; do
        child=$(cat "/proc/$game/task/$game/children" 2>/dev/null | tr -d ' ')
        [ -n "$child" ] || sleep 0.1
        tries=$((tries - 1))
    done
    wait_caught "$child" || fail "$what: the game never caught the signals"
    end_by "$sig" "$game"
    [ "$code" -eq "$expected" ] || fail "$what: exit code $code, not $expected: $(cat "$WORK/record.out")"
    head -n 1 "$WORK/recorded.script" | grep -q '^# recorded by' || fail "$what: the recording was not written"
    [ "$took" -le "$END_LIMIT_MS" ]
}

ENTRY=$FLOWS/name_entry.before
mkdir -p "$WORK/game"
ln -s "$BUILD/data" "$WORK/game/data"
for sig in $SIGNALS; do
    # new_game: the maker's logo, the warning, the title prompt, the main menu, a story
    # picture, the stage's "FRIBB, RUN!", play, the pause menu, the bonus count.
    timed play_case maker "$FLOWS/new_game.script" 100 '' 100 '' "$sig"
    timed play_case warning "$FLOWS/new_game.script" 153 '' 153 '' "$sig"
    timed play_case title "$FLOWS/new_game.script" 175 '' 175 '' "$sig"
    timed play_case menu "$FLOWS/new_game.script" 191 '' 191 '' "$sig"
    timed play_case story "$FLOWS/new_game.script" 205 '' 205 '' "$sig"
    timed play_case stage_intro "$FLOWS/new_game.script" 300 '' 300 '' "$sig"
    timed play_case play "$FLOWS/new_game.script" 420 '' 420 '' "$sig"
    timed play_case pause "$FLOWS/new_game.script" 420 '1 P\n4 -\n' 425 '' "$sig"
    timed play_case bonus "$FLOWS/new_game.script" 700 '' 700 '' "$sig"
    # The options screen, and a key capture showing "ALREADY USED" while it waits for a key.
    timed play_case options "$FLOWS/options_nochange.script" 560 '' 560 '' "$sig"
    timed play_case capture "$FLOWS/options_keys.script" 600 '' 600 '' "$sig"
    # name_entry: game over, the name entry, the continue question, the hiscore view.
    timed play_case game_over "$FLOWS/name_entry.script" 3950 '' 3950 "$ENTRY" "$sig"
    timed play_case name_entry "$FLOWS/name_entry.script" 4010 '' 4010 "$ENTRY" "$sig"
    timed play_case continue "$FLOWS/name_entry.script" 4016 '' 4016 "$ENTRY" "$sig"
    timed play_case hiscores "$FLOWS/name_entry.script" 4022 '' 4022 "$ENTRY" "$sig"
    timed game_case "$sig"
    timed record_case "$sig"
done

if [ "$failures" -gt 0 ]; then
    echo "$failures failures"
    exit 1
fi
echo "every signal ended every screen in order"
