#!/usr/bin/env bash
# Themes from end to end (run inside scripts/with-session): a theme chosen
# with `vostrel defaults write` shows its backdrop, switching the theme while
# locked keeps the digits already typed, and the snapshot button writes its
# picture to the Desktop folder.
#   themes.sh VOSTREL
set -euo pipefail

vostrel=$(realpath "$1")
work="$VOSTREL_SESSION_DIR/e2e-themes"
mkdir -p "$work"
shots=${VOSTREL_E2E_ARTIFACTS:-$work}
mkdir -p "$shots"
source "$(dirname "$0")/common.sh"

# The colour of one pixel of the root window, as "R G B".
pixel() {
    import -window root -crop "1x1+$1+$2" +repage -depth 8 txt:- |
        awk 'NR == 2 {gsub(/[()]/, "", $2); split($2, c, ","); print c[1], c[2], c[3]}'
}
near() { # near "R G B" "R G B" TOLERANCE
    python3 -c 'import sys; a=list(map(int,sys.argv[1].split())); b=list(map(int,sys.argv[2].split())); sys.exit(0 if all(abs(x-y)<=int(sys.argv[3]) for x,y in zip(a,b)) else 1)' "$1" "$2" "$3"
}

xsetroot -solid '#ff00ff'
"$vostrel" defaults write app.vostrel.pin.stored "$pin_1234" --string
"$vostrel" defaults write overlayBackgroundMotion false
"$vostrel" defaults write overlayBackgroundFill solid
"$vostrel" defaults write showTaskTicker false
"$vostrel" defaults write selectedTheme deep_ocean
"$vostrel" >"$work/vostrel.log" 2>&1 &
wait_for 20 "$vostrel" status >/dev/null 2>&1 || fail "Vostrel did not answer on D-Bus"

step "a theme written before locking shows its backdrop"
"$vostrel" lock
wait_for 10 covered || fail "panels after locking"
sleep 1
ocean=$(pixel 200 900)
near "$ocean" "8 28 56" 6 || fail "deep_ocean solid shows $ocean, not 8 28 56"
import -window root "$shots/deep-ocean.png"

step "switching the theme while locked keeps the digits typed"
xdotool type --delay 40 12
"$vostrel" defaults write selectedTheme sunset
backdrop_changed() { ! near "$(pixel 200 900)" "$ocean" 6; }
wait_for 10 backdrop_changed ||
    fail "the backdrop did not change with the theme"
import -window root "$shots/sunset.png"
covered || fail "switching the theme uncovered the screen"
xdotool type --delay 40 34
wait_for 10 uncovered || fail "the digits typed before the switch were lost"

step "the snapshot button writes Vostrel-<time>.png to the Desktop folder"
"$vostrel" lock
wait_for 10 covered || fail "panels after locking again"
sleep 1
# The snapshot button, 24 px from the top right corner of the right monitor.
xdotool mousemove 3800 40 click 1
desktop="$HOME/Desktop"
wait_for 10 bash -c "ls '$desktop'/Vostrel-*.png >/dev/null 2>&1" || fail "no snapshot on the Desktop"
ls "$desktop" | grep -Eq '^Vostrel-[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9]{2}-[0-9]{2}-[0-9]{2}Z\.png$' ||
    fail "snapshot name: $(ls "$desktop")"
sleep 0.3
import -window root "$shots/saved.png"
xdotool type --delay 40 1234
wait_for 10 uncovered || fail "the PIN did not unlock"

echo "PASS"
