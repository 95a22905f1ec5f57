#!/usr/bin/env bash
# The settings, from the in-game menu and from the board of puzzles, at the screen's size. On a
# first run puzzle 1000 is in play: Escape turns the screen over to the menu, its link "Settings"
# pans the pane to them, and dragging the music slider's knob to the left end turns the music
# off, which the saved preferences.xml shows ("musicvolume" 0) while the sound volume stays as it
# was; "Back" pans the menu home and "Resume" returns to the puzzle. "Back to the pond" leads to
# the board, whose gear pans its strip over to the volumes: the sounds' knob dragged to the left
# end turns the sounds off, and the back button pans the strip home to its title. Places are
# those of the phone's 320x480 screen, which the panes keep on every screen at their scale.
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
# left, past the end of its track, in small steps.
drag_knob_left() {
    local anchor="$1" x="$2" y="$3" step
    if [ "$anchor" = top ]; then y=$(top_y "$y"); else y=$(pane_y "$y"); fi
    xdotool mousemove --sync "$(pane_x "$x")" "$y" mousedown 1 || fail "cannot press the knob"
    for step in 10 24 44 64 84 104 124 144; do
        xdotool mousemove --sync "$(pane_x $((x - step)))" "$y" || fail "cannot drag"
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

# The menu turns in; its link "Settings"; the pane eases over in 0.6 s.
xdotool key Escape || fail "cannot press Escape"
pane_up
MENU=$(pane_crop 40 60 240 360)
shot menu
tap_pane centre 130 347 "Settings"
sleep 1.5
shot settings
expect_changed menu settings "$MENU" "Settings did not pan into view"

# The music knob, at 0.8 of its track, dragged past the left end.
SLIDER=$(pane_crop 120 186 160 30)
drag_knob_left centre 224 201
shot music
expect_changed settings music "$SLIDER" "the music slider looks the same after the drag"
wait_saved musicvolume 0.000000
[ "$(saved soundvolume)" = "$sound" ] || fail "soundvolume changed to $(saved soundvolume)"

# Back to the menu, and from it to the puzzle.
tap_pane centre 160 331 "Back"
sleep 1.5
shot back
expect_same menu back "$MENU" "Back did not pan the menu home"
tap_pane centre 160 264 "Resume"
pane_gone
shot resumed
expect_changed menu resumed "$MENU" "Resume did not return to the puzzle"

# To the board of puzzles, and its settings.
xdotool key Escape || fail "cannot press Escape"
pane_up
tap_pane centre 160 298 "Back to the pond"
pane_gone
STRIP=$(top_crop 40 10 240 70)
shot board
tap_pane top 160 64 "the gear"
sleep 1.5
shot volumes
expect_changed board volumes "$STRIP" "the gear did not pan the strip to the volumes"
drag_knob_left top 194 60
wait_saved soundvolume 0.000000
[ "$(saved musicvolume)" = 0.000000 ] || fail "musicvolume changed to $(saved musicvolume)"
tap_pane top 246 24 "the back button"
sleep 1.5
shot home
expect_same board home "$STRIP" "the back button did not pan the strip home"
stop_game
