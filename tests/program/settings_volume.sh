#!/usr/bin/env bash
# The settings, from the in-game menu and from the board of puzzles, at the screen's size. On a
# first run puzzle 1000 is in play; its first move is made. Escape turns the screen over to the
# menu, its link "Settings" pans the pane to them, and dragging the music slider's knob to the
# left end turns the music off, which the saved preferences.xml shows ("musicvolume" 0) while
# the sound volume stays as it was. The drag is long enough for a swipe to the left, yet the
# puzzle behind the menu keeps its move. "Back" pans the menu home, whose sound line now offers
# "Sound on"; "Resume" returns to the puzzle, where a swipe to the left does take the move back.
# In the menu again "Sound on" then "Sound off" turn both volumes up and down; the music knob
# dragged from the left end to the right raises the music, and the puzzle does not take the
# swipe to the right as a redo; back home the line offers "Sound off" again. "Back to the pond"
# leads to the board, whose gear pans its strip over to the volumes: the sounds' knob dragged
# to the right end and back to the left end leaves the puzzle in play as it was, and the back
# button pans the strip home to its title. Places are those of the phone's 320x480 screen, which
# the panes keep on every screen at their scale.
source "$(dirname "$0")/common.bash"
command -v xdotool >/dev/null || fail "xdotool is not installed"
copy_game
start_xvfb
start_game
timeout 20 xdotool search --sync --onlyvisible --name '^Frog Pond$' >/dev/null || fail "no window named Frog Pond"
xdotool mousemove --sync "$(pane_x 160)" "$(pane_y 240)" || fail "cannot move the pointer"

shot() {
    import -window root "$WORK/$1.png" 2>/dev/null || fail "no screenshot $1"
}
# Pixels of two screenshots that differ by more than the fuzz, within the crop (WxH+X+Y) if
# given.
differing() {
    local crop=()
    [ -n "${3:-}" ] && crop=(-crop "$3")
    compare -metric AE -fuzz 12% "${crop[@]}" "$WORK/$1.png" "$WORK/$2.png" null: 2>&1 | cut -d' ' -f1
}
# A tap on a point of a pane given in the phone's pixels: "centre" or "top" anchored. It is held
# until the cursor has shown the press marker, as a link fires only then.
tap_pane() {
    local y
    if [ "$1" = top ]; then y=$(top_y "$3"); else y=$(pane_y "$3"); fi
    xdotool mousemove --sync "$(pane_x "$2")" "$y" mousedown 1 || fail "cannot press $4"
    sleep 0.2
    xdotool mouseup 1 || fail "cannot release $4"
}
# Drags a slider's knob from phone point (x, y) of a pane ("centre" or "top" anchored) to the
# left or right, 144 pixels in small steps: past the end of its track, and far enough for a
# swipe.
drag_knob() {
    local direction="$1" anchor="$2" x="$3" y="$4" step sign=1
    [ "$direction" = left ] && sign=-1
    if [ "$anchor" = top ]; then y=$(top_y "$y"); else y=$(pane_y "$y"); fi
    xdotool mousemove --sync "$(pane_x "$x")" "$y" mousedown 1 || fail "cannot press the knob"
    for step in 10 24 44 64 84 104 124 144; do
        xdotool mousemove --sync "$(pane_x $((x + sign * step)))" "$y" || fail "cannot drag"
        sleep 0.05
    done
    xdotool mouseup 1 || fail "cannot release"
    sleep 0.3
}
# The part of the screen a panel of the phone's (x, y, width, height), centred, takes here.
pane_crop() {
    local x0 y0 x1 y1
    x0=$(pane_x "$1") y0=$(pane_y "$2") x1=$(pane_x $(($1 + $3))) y1=$(pane_y $(($2 + $4)))
    echo "$((x1 - x0))x$((y1 - y0))+$x0+$y0"
}
top_crop() {
    local x0 y0 x1 y1
    x0=$(pane_x "$1") y0=$(top_y "$2") x1=$(pane_x $(($1 + $3))) y1=$(top_y $(($2 + $4)))
    echo "$((x1 - x0))x$((y1 - y0))+$x0+$y0"
}
# Much of the crop changed (more than a tenth of it), or little (less than a fiftieth).
crop_pixels() { local size="${1%%+*}"; echo $((${size%x*} * ${size#*x})); }
# Waits until a pane's pan has ended: two shots half a second apart agree within the crop.
settle() {
    local changed
    sleep 1
    for _ in $(seq 1 20); do
        shot settle.a
        sleep 0.5
        shot settle.b
        changed=$(differing settle.a settle.b "$1")
        [ "${changed%.*}" -lt $(($(crop_pixels "$1") / 100)) ] 2>/dev/null && return 0
    done
    fail "the pane still moves after 20 s ($changed pixels differ)"
}
# A line of text that reads otherwise changes a twentieth of its crop at least.
expect_text_changed() {
    local changed
    changed=$(differing "$1" "$2" "$3")
    [ "${changed%.*}" -gt $(($(crop_pixels "$3") / 20)) ] 2>/dev/null || fail "$4 ($changed pixels differ)"
}
expect_changed() {
    local changed
    changed=$(differing "$1" "$2" "$3")
    [ "${changed%.*}" -gt $(($(crop_pixels "$3") / 10)) ] 2>/dev/null || fail "$4 ($changed pixels differ)"
}
expect_same() {
    local changed
    changed=$(differing "$1" "$2" "$3")
    [ "${changed%.*}" -lt $(($(crop_pixels "$3") / 50)) ] 2>/dev/null || fail "$4 ($changed pixels differ)"
}

# The volumes a new player starts with, once the start-up's save has written them.
wait_saved musicvolume 0.800000
sound="$(saved soundvolume)"
[ -n "$sound" ] || fail "no soundvolume in preferences.xml"
sleep 2 # the start pane turns away to the puzzle

# The first move; a move is saved at once.
mapfile -t STEPS < <(hint_steps puzzle1000)
solve_by_hints puzzle1000 1 1
wait_saved currenthistory "${STEPS[0]},${STEPS[1]}"

# The menu turns in; its link "Settings"; the pane eases over in 0.6 s.
xdotool key Escape || fail "cannot press Escape"
pane_up
MENU=$(pane_crop 40 60 240 360)
# The moves made and the performance under the title: "Moves: 1, par 2" and "Perfect" here.
MOVES=$(pane_crop 116 104 144 48)
# The end of the sound line, "off" or "on"; the taps below keep the pointer's marker out of it.
SOUNDLINE=$(pane_crop 172 336 40 24)
shot menu
tap_pane centre 160 263 "Settings"
settle "$MENU"
shot settings
expect_changed menu settings "$MENU" "Settings did not pan into view"

# The music knob, at 0.8 of its track, dragged past the left end.
SLIDER=$(pane_crop 120 182 160 30)
drag_knob left centre 224 197
shot music
expect_changed settings music "$SLIDER" "the music slider looks the same after the drag"
wait_saved musicvolume 0.000000
[ "$(saved soundvolume)" = "$sound" ] || fail "soundvolume changed to $(saved soundvolume)"

# Back to the menu, which offers to turn the sound on, and from it to the puzzle.
tap_pane centre 160 329 "Back"
settle "$MENU"
shot back
expect_same menu back "$MENU" "Back did not pan the menu home"
expect_same menu back "$MOVES" "the music knob's drag to the left took the move back"
expect_text_changed menu back "$SOUNDLINE" "the menu still offers \"Sound off\" with the music at 0"
tap_pane centre 160 391 "Resume"
pane_gone
shot resumed
expect_changed menu resumed "$MENU" "Resume did not return to the puzzle"

# In play a swipe to the left across the water above the board takes the move back.
swipe_water() {
    local x0 x1 y i
    x0=$(board_x "$1") x1=$(board_x "$2") y=$(board_y 0.5)
    xdotool mousemove --sync "$x0" "$y" mousedown 1 || fail "cannot press for a swipe"
    for i in 1 2 3 4 5; do
        xdotool mousemove --sync $((x0 + (x1 - x0) * i / 5)) "$y" || fail "cannot swipe"
        sleep 0.03
    done
    xdotool mouseup 1 || fail "cannot release a swipe"
}
swipe_water 6 1
sleep 1.5

# "Sound on", then "Sound off": both volumes up, then both down.
xdotool key Escape || fail "cannot press Escape"
pane_up
tap_pane centre 160 348 "Sound on"
wait_saved musicvolume 0.800000
sleep 0.5
tap_pane centre 160 348 "Sound off"
wait_saved musicvolume 0.000000
[ "$(saved soundvolume)" = 0.000000 ] || fail "\"Sound off\" left soundvolume at $(saved soundvolume)"
shot muted
expect_text_changed menu muted "$MOVES" "the swipe to the left in play did not take the move back"
expect_same back muted "$SOUNDLINE" "the menu does not offer \"Sound on\" after \"Sound off\""

# The music knob, at the left end, dragged past the right end: the music comes back, and the
# move taken back stays so.
tap_pane centre 160 263 "Settings"
settle "$MENU"
drag_knob right centre 147 197
wait_saved musicvolume 1.000000
tap_pane centre 160 329 "Back"
settle "$MENU"
shot raised
expect_same muted raised "$MOVES" "the music knob's drag to the right made the move again"
expect_same menu raised "$SOUNDLINE" "the menu does not offer \"Sound off\" with the music raised"

# To the board of puzzles, and its settings.
tap_pane centre 160 306 "Back to the pond"
pane_gone
played="$(saved currentpuzzle)/$(saved currenthistory)"
STRIP=$(top_crop 40 10 240 80)
shot board
tap_pane top 160 71 "the gear"
settle "$STRIP"
shot volumes
expect_changed board volumes "$STRIP" "the gear did not pan the strip to the volumes"
drag_knob right top 121 66
wait_saved soundvolume 1.000000
drag_knob left top 199 66
wait_saved soundvolume 0.000000
[ "$(saved musicvolume)" = 1.000000 ] || fail "musicvolume changed to $(saved musicvolume)"
sleep 1
[ "$(saved currentpuzzle)/$(saved currenthistory)" = "$played" ] ||
    fail "the board's sliders changed the puzzle in play to $(saved currentpuzzle)/$(saved currenthistory)"
tap_pane top 246 48 "the back button"
settle "$STRIP"
shot home
expect_same board home "$STRIP" "the back button did not pan the strip home"
stop_game
