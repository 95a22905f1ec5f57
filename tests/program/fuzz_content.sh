#!/usr/bin/env bash
# A bounded fuzz campaign over the content the game reads: every document of data/ (one puzzle
# stands for all of them) and a saved preferences.xml, each in a few damaged forms (truncated,
# bytes flipped, a byte order mark, numbers huge, negative and not numbers), every binary
# content file with lying lengths, durations far beyond any clock and a body of tens of thousands
# of pieces. Each run starts the game on a copy of its data, drives it a
# little and then sends SIGTERM: the game must end with status 0 within 10 s, or have refused to
# start with a non-zero status and a line saying why; never a sanitizer report, never a hang.
# Runs go in four lanes, each with its own X server, to stay within two minutes under ASan.
# Last, the first tutorial's blur eases in with the scene showing around its welcome pane.
source "$(dirname "$0")/common.bash"
command -v xdotool >/dev/null || fail "xdotool is not installed"
command -v xwininfo >/dev/null || fail "xwininfo is not installed"
copy_game
LANES=4
SETTLE=1 # seconds from the window's first appearance to the first touch

# --- the damaged forms -------------------------------------------------------------------------

truncate_half() { head -c $(($(stat -c %s "$1") / 2)) "$1" >"$1.cut" && mv "$1.cut" "$1"; }

# Inverts one byte at each of a few positions spread over the file, fixed by the seed.
flip_bytes() {
    local file="$1" seed="$2" size at byte i
    size=$(stat -c %s "$file")
    [ "$size" -gt 0 ] || return 0
    for i in 1 2 3 4 5 6; do
        at=$(((seed * 7919 + i * 104729) % size))
        byte=$(od -An -tu1 -j "$at" -N1 "$file" | tr -d ' ')
        printf "\\$(printf '%03o' $((byte ^ 0x5A)))" | dd of="$file" bs=1 seek="$at" conv=notrunc status=none
    done
}

add_bom() { { printf '\xEF\xBB\xBF'; cat "$1"; } >"$1.bom" && mv "$1.bom" "$1"; }

# Every number of the document becomes the text given.
numbers_become() { sed -i -E "s/-?[0-9]+(\.[0-9]+)?/$2/g" "$1"; }

# Writes a 32-bit little-endian value at a byte offset.
put_u32() {
    local v="$3"
    printf "\\$(printf '%03o' $((v & 255)))\\$(printf '%03o' $(((v >> 8) & 255)))\\$(printf '%03o' $(((v >> 16) & 255)))\\$(printf '%03o' $(((v >> 24) & 255)))" |
        dd of="$1" bs=1 seek="$2" conv=notrunc status=none
}

FORMS=(truncate flip bom huge negative nan)
damage() { # file form seed
    case "$2" in
    truncate) truncate_half "$1" ;;
    flip) flip_bytes "$1" "$3" ;;
    bom) add_bom "$1" ;;
    huge) numbers_become "$1" 99999999999 ;;
    negative) numbers_become "$1" -2147483648 ;;
    nan) numbers_become "$1" nan ;;
    esac
}

# --- the runs ----------------------------------------------------------------------------------

# A saved game to damage: the first puzzle in play with a history.
PREFERENCES='<preferences
    currenthistory="63625352,63625332"
    currentpuzzle="puzzle1000"
    disableaudio="false"
    fullscreen="false"
    musicvolume="0.800000"
    soundvolume="0.800000"
    unlocked="1003"
    puzzle1000="5,1.500000,20.000000,0,1" />
'

# Each case is "label|command" where command damages the run folder $R (data in $R/data).
CASES=()
index=0
for doc in $(cd "$WORK/data" && find . -name '*.xml' ! -path './puzzle/*' | sort) ./puzzle/puzzle1000.xml \
    $(cd "$WORK/data" && find . -name '*.fnt' | sort) preferences; do
    # Two of the six forms per document, one damaging its structure and one its numbers,
    # turning with the document, so that every form meets every kind of document across the
    # campaign while the runs stay few.
    for k in 0 3; do
        form=${FORMS[$(((index + k) % 6))]}
        if [ "$doc" = preferences ]; then
            CASES+=("preferences.xml $form|printf '%s' \"\$PREFERENCES\" >\"\$R/preferences.xml\"; damage \"\$R/preferences.xml\" $form $index")
        else
            CASES+=("${doc#./} $form|damage \"\$R/data/$doc\" $form $index")
        fi
    done
    index=$((index + 1))
done
# And each kind of number in every document at once, so that every key meets every kind.
for form in huge negative nan; do
    CASES+=("every document's numbers $form|for f in \$(find \"\$R/data\" -name '*.xml' -o -name '*.fnt'); do damage \"\$f\" $form 0; done")
done
CASES+=(
    "preferences.xml a FIFO|mkfifo \"\$R/preferences.xml\""
    "preferences.xml a folder|mkdir \"\$R/preferences.xml\""
    "preferences.xml a history of 100000 fields|{ printf '<preferences currentpuzzle=\"puzzle1000\" currenthistory=\"63625352'; for i in \$(seq 1 100000); do printf ',63625332'; done; printf '\" />'; } >\"\$R/preferences.xml\""
    "every sound with a lying data length|for f in \"\$R\"/data/sounds/*.wav; do put_u32 \"\$f\" 40 2147483632; done"
    "every sound with a lying RIFF and format length|for f in \"\$R\"/data/sounds/*.wav; do put_u32 \"\$f\" 4 4294967295; put_u32 \"\$f\" 16 4294967200; done"
    "every texture with a lying header length|for f in \$(find \"\$R/data\" -name '*.png'); do put_u32 \"\$f\" 8 2147483647; done"
    "every texture with a huge size|for f in \$(find \"\$R/data\" -name '*.png'); do put_u32 \"\$f\" 16 4294967295; put_u32 \"\$f\" 20 16777216; done"
    "the move map with lying counts|for at in 0 4 8 12 16 20 24 28 32 64 128; do put_u32 \"\$R/data/movemap.mvm\" \$at 4294967295; done"
)

# --- times, a long body and the tutorial's blur ------------------------------------------------
# Durations far beyond any clock, a body of tens of thousands of pieces, and the first puzzle's
# tutorial (taken out of the other runs) with its times damaged.
SOURCE_DATA="$(dirname "$GAME_SOURCE")/data"
# Every attribute that holds seconds (and a few of its neighbours) becomes the text given.
seconds_become() {
    sed -i -E "s/([a-z]*(time|delay|period|fade|fadein|fadeout|survive|duration|ramp|timeout|choke|tonguethrow|tonguestick|tonguestretch|tonguesnap)=\")[^\"]*\"/\1$2\"/g" "$1"
}
for value in 1e39 -1e39 nan 99999999999; do
    CASES+=("rules.xml seconds $value|seconds_become \"\$R/data/rules.xml\" $value")
done
for value in 1e39 -1e39; do
    CASES+=("every document's seconds $value, with the tutorial|cp \"$SOURCE_DATA/puzzle/puzzle1000.xml\" \"\$R/data/puzzle/\"; for f in \$(find \"\$R/data\" -name '*.xml'); do seconds_become \"\$f\" $value; done")
done
CASES+=("a species chain of 30000 body pieces|yes '<flap crop=\"0.1875,0.375\"><pin joint=\"6\" uv=\"0.09375,0.0546875\"/><pin joint=\"10\" uv=\"0.09375,0.3203125\"/><material off=\"0.25,0.5\" main=\"frogbody\" shadow=\"frog-shadow\"/></flap>' | head -n 30000 >\"\$R/chain\" && sed -i \"/<leftleg>/r \$R/chain\" \"\$R/data/species/d-azureus.xml\"")

# --- progress in a damaged preferences.xml ------------------------------------------------------
# Volumes that are not numbers reach the mixer and the sliders clamped, never as garbage.
nan_volumes() { printf '%s' "$PREFERENCES" | sed 's/volume="0.800000"/volume="nan"/g' >"$R/preferences.xml"; }
CASES+=("preferences.xml volumes not a number|nan_volumes")
# Cut inside the last record's value: every complete record before the cut is kept and saved
# back whole, with the damaged bytes kept aside (checked after the lanes, below).
cut_in_record() { printf '%s' "${PREFERENCES%,0,1\" />*}" >"$R/preferences.xml"; }
records_kept() {
    grep -q 'unlocked="100[3-9]"' "$R/preferences.xml" && grep -q 'currentpuzzle="puzzle1000"' "$R/preferences.xml" &&
        grep -q '/>$' "$R/preferences.xml" && [ -f "$R/preferences.xml.corrupt-1" ]
}
# A zero byte inside the last record's name keeps the records before it, as a cut does; a stray
# quote after a value makes the rest read as names that are not names, which are never saved.
zero_in_name() { { printf '%s' "${PREFERENCES%%puzzle1000=*}pu"; printf '\0'; printf '%s' "zzle1000=${PREFERENCES#*puzzle1000=}"; } >"$R/preferences.xml"; }
stray_quote() { printf '%s' "${PREFERENCES/unlocked=\"1003\"/unlocked=\"1003\"\"}" >"$R/preferences.xml"; }
no_damaged_name() { records_kept && ! grep -q '=="' "$R/preferences.xml"; }
# ---------------------------------------------------------------------------------------------------

# Drives the game a little: drags across the board and taps, as a player would.
# (No --sync: it waits long for a pointer that is already where it is sent.)
drive() {
    local step
    for step in "mousemove 150 250 mousedown 1" "mousemove 190 280" "mousemove 240 300 mouseup 1" \
        "mousemove 100 200 click 1" "mousemove 260 240 mousedown 1" "mousemove 60 245 mouseup 1" \
        "mousemove 160 400 click 1"; do
        xdotool $step 2>/dev/null || true
        sleep 0.05
    done
}

# One case in folder $R on the lane's display; prints nothing when it holds, else why not.
run_case() {
    local label="$1" command="$2" pid status=0 ended=""
    R="$3"
    mkdir -p "$R"
    ln "$WORK/frogpond" "$R/frogpond"
    cp -r "$WORK/data" "$R/data"
    eval "$command" || { echo "$label: cannot damage: $command"; return; }
    local began=$SECONDS
    "$R/frogpond" >"$R/out.log" 2>"$R/err.log" &
    pid=$!
    echo "$pid" >"$R/pid"
    # Until the window shows (or the game ends), then a moment for the first puzzle.
    for _ in $(seq 1 100); do
        kill -0 "$pid" 2>/dev/null || break
        # Any window will do: a damaged text.xml names it otherwise.
        xwininfo -root -children 2>/dev/null | grep -qE '^ +[1-9][0-9]* child' && break
        sleep 0.1
    done
    sleep "$SETTLE"
    if kill -0 "$pid" 2>/dev/null; then
        drive
        sleep 0.3
    fi
    if kill -0 "$pid" 2>/dev/null; then
        kill -TERM "$pid"
        for _ in $(seq 1 100); do
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
        if kill -0 "$pid" 2>/dev/null; then
            kill -KILL "$pid" 2>/dev/null
            wait "$pid" 2>/dev/null
            echo "$label: still running 10 s after SIGTERM"
            return
        fi
        wait "$pid" || status=$?
        [ "$status" -eq 0 ] || ended="exit status $status after SIGTERM"
    else
        wait "$pid" || status=$?
        # Ended on its own: only a loud refusal is fine.
        if [ "$status" -eq 0 ]; then
            ended="ended by itself with status 0"
        elif ! grep -q '^frogpond: ' "$R/err.log"; then
            ended="ended with status $status and no line saying why"
        fi
    fi
    if grep -qE 'Sanitizer|runtime error' "$R/err.log"; then
        ended="${ended:+$ended; }a sanitizer report"
    fi
    # A case may check what the run left behind (the fourth argument, run in the case's folder $R).
    if [ -z "$ended" ] && [ -n "${4:-}" ] && ! eval "$4"; then
        ended="$4 does not hold: $(head -c 2000 "$R/preferences.xml" 2>/dev/null)"
    fi
    [ -z "$ended" ] || echo "$label: $ended: $(head -c 3000 "$R/err.log")"
    echo "$((SECONDS - began)) s $label" >>"$TIMES"
    # Passed runs leave nothing behind; failed ones keep their folder until the end of the test.
    [ -n "$ended" ] || rm -rf "$R"
}

# The lanes: lane n runs cases n, n + LANES, ... on an X server of its own.
LANE_PIDS=()
XVFB_PIDS=()
stop_lanes() {
    local p
    for p in "${LANE_PIDS[@]}"; do kill "$p" 2>/dev/null; done
    for f in "$WORK"/lane*/case*/pid; do
        [ -f "$f" ] && kill -KILL "$(cat "$f")" 2>/dev/null
    done
    for p in "${XVFB_PIDS[@]}"; do kill "$p" 2>/dev/null; done
    cleanup
}
trap stop_lanes EXIT

start_lane_xvfb() { # lane -> display number on stdout of the fifo
    local fifo="$WORK/displayfd$1"
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 320x480x24 -nolisten tcp 3>"$fifo" 2>"$WORK/xvfb$1.log" &
    XVFB_PIDS+=($!)
    read -r -t 20 "DISPLAY_$1" <"$fifo" || fail "Xvfb did not start: $(cat "$WORK/xvfb$1.log")"
}

for lane in $(seq 0 $((LANES - 1))); do
    start_lane_xvfb "$lane"
done
started=$(date +%s)
for lane in $(seq 0 $((LANES - 1))); do
    display_var="DISPLAY_$lane"
    (
        export DISPLAY=":${!display_var}"
        TIMES="$WORK/times$lane"
        for ((n = lane; n < ${#CASES[@]}; n += LANES)); do
            run_case "${CASES[$n]%%|*}" "${CASES[$n]#*|}" "$WORK/lane$lane/case$n"
        done
    ) >"$WORK/lane$lane.log" 2>&1 &
    LANE_PIDS+=($!)
done
for p in "${LANE_PIDS[@]}"; do wait "$p"; done
LANE_PIDS=()
elapsed=$(($(date +%s) - started))

# The first tutorial eases its blur in over the scene behind the welcome pane: the first
# screen that shows the pane shows the scene above it, inside the border (many colours), not
# one colour.
blur_shows_scene() {
    local R="$WORK/blur" pid shot="$WORK/blur/shot.png" hex colours
    mkdir -p "$R"
    ln "$WORK/frogpond" "$R/frogpond"
    cp -r "$WORK/data" "$R/data"
    cp "$SOURCE_DATA/puzzle/puzzle1000.xml" "$R/data/puzzle/"
    export DISPLAY=":$DISPLAY_0"
    "$R/frogpond" >"$R/out.log" 2>"$R/err.log" &
    pid=$!
    echo "$pid" >"$R/pid"
    for _ in $(seq 1 360); do
        kill -0 "$pid" 2>/dev/null || { echo "the tutorial run ended: $(head -c 2000 "$R/err.log")"; return; }
        if import -window root "$shot" 2>/dev/null; then
            hex=$(convert "$shot" -format '%[hex:p{160,226}]' info: 2>/dev/null | tr 'A-F' 'a-f')
            # The pane's cream (f3 ec c8, each channel within 24).
            if [ -n "$hex" ] && [ $((16#${hex:0:2} > 219 && 16#${hex:2:2} > 212 && 16#${hex:4:2} > 176 && 16#${hex:4:2} < 225)) = 1 ]; then
                colours=$(convert "$shot" -crop 240x80+40+40 +repage -format %k info:)
                kill -TERM "$pid"
                wait "$pid"
                [ "$colours" -gt 8 ] || echo "the tutorial's welcome hides the scene: $colours colour(s) above the pane"
                return
            fi
        fi
        sleep 0.25
    done
    kill -KILL "$pid"
    echo "the tutorial's welcome pane never showed"
}
blur_failure=$(blur_shows_scene)
[ -z "$blur_failure" ] || fail "$blur_failure"

# A start pane that cannot be made, with a long flip: one line names it, and the screen shows
# the game (many colours, away from the pointer in the corner) rather than an empty card
# turning for a minute.
missing_start_pane() {
    local R="$WORK/startpane" pid shot="$WORK/startpane/shot.png" colours
    mkdir -p "$R"
    ln "$WORK/frogpond" "$R/frogpond"
    cp -r "$WORK/data" "$R/data"
    sed -i -E 's/startpane="[^"]*"/startpane="nosuchpane"/; s/fliptime="[^"]*"/fliptime="60"/' "$R/data/rules.xml"
    export DISPLAY=":$DISPLAY_0"
    "$R/frogpond" >"$R/out.log" 2>"$R/err.log" &
    pid=$!
    echo "$pid" >"$R/pid"
    for _ in $(seq 1 100); do
        xwininfo -root -children 2>/dev/null | grep -qE '^ +[1-9][0-9]* child' && break
        sleep 0.1
    done
    sleep 3
    import -window root "$shot" 2>/dev/null
    colours=$(convert "$shot" -crop 240x400+40+40 +repage -format %k info: 2>/dev/null)
    kill -TERM "$pid"
    wait "$pid"
    [ "${colours:-0}" -gt 8 ] || echo "a start pane that cannot be made leaves ${colours:-no} colour(s) on the screen"
    grep -q '^frogpond: rules.xml: ui/startpane: .*"nosuchpane"' "$R/err.log" ||
        echo "a start pane that cannot be made is not reported: $(head -c 2000 "$R/err.log")"
}
start_pane_failure=$(missing_start_pane)
[ -z "$start_pane_failure" ] || fail "$start_pane_failure"

# --- progress in a damaged preferences.xml, checked after the run ---------------------------------
progress_failure=$(
    export DISPLAY=":$DISPLAY_0"
    TIMES="$WORK/times-progress"
    run_case "preferences.xml cut inside a record" cut_in_record "$WORK/progress" records_kept
    run_case "preferences.xml a zero byte in a name" zero_in_name "$WORK/progress-zero" records_kept
    run_case "preferences.xml a stray quote" stray_quote "$WORK/progress-quote" no_damaged_name
)
[ -z "$progress_failure" ] || fail "$progress_failure"
# ---------------------------------------------------------------------------------------------------

failures=$(cat "$WORK"/lane*.log)
count=${#CASES[@]}
if [ -n "$failures" ]; then
    echo "$failures" >&2
    fail "$(grep -c '' <<<"$failures") of $count damaged starts did not hold (in ${elapsed} s)"
fi
echo "$count passed, 0 failed (in ${elapsed} s; slowest: $(sort -rn "$WORK"/times* | head -n 3 | paste -sd ';'))"
