#!/usr/bin/env bash
# Other clients against the lock (run inside scripts/with-session): one that
# raises an override-redirect window above the panels every 50 ms, one that
# holds the keyboard when the lock is raised, one that moves, resizes,
# reparents and unmaps a panel, a compositor that dims unfocused windows, and
# the server's own grab-breaking key under a window manager.
#   hostile.sh VOSTREL XCLIENT KEYLOGGER
set -euo pipefail

vostrel=$(realpath "$1")
xclient=$2
keylogger=$3
work="$VOSTREL_SESSION_DIR/e2e-hostile"
mkdir -p "$work"
shots=${VOSTREL_E2E_ARTIFACTS:-$work}
mkdir -p "$shots"
source "$(dirname "$0")/common.sh"

# The theme's solid colour, so a pixel tells the lock from what is behind it.
ocean="8 28 56"
locked_status() { "$vostrel" status | grep -o 'Screen locked[^.]*\.'; }
status_is() { [ "$(locked_status)" = "$1" ]; }

xsetroot -solid '#ff00ff'
"$vostrel" defaults write app.vostrel.pin.stored "$pin_1234" --string
"$vostrel" defaults write overlayBackgroundMotion false
"$vostrel" defaults write overlayBackgroundFill solid
"$vostrel" defaults write showTaskTicker false
"$vostrel" defaults write selectedTheme deep_ocean
"$vostrel" >"$work/vostrel.log" 2>&1 &
wait_for 20 "$vostrel" status >/dev/null 2>&1 || fail "Vostrel did not answer on D-Bus"

step "a keyboard held by another client: covered at once, the grab follows its release"
"$xclient" hold-grab "$work/grab-latency" >"$work/holder.out" &
holder=$!
pids+=($holder)
wait_for 5 grep -q grabbed "$work/holder.out" || fail "the test client could not grab"
"$vostrel" lock
wait_for 2 covered || fail "the screens were not covered while another client held the keyboard"
sleep 0.3
import -window root "$shots/waiting.png"
[ "$(count_colour "$shots/waiting.png" '#ff00ff')" -eq 0 ] || fail "desktop pixels while waiting"
[ "$(locked_status)" = "Screen locked (keyboard not held)." ] ||
    fail "status while another client holds the keyboard: $("$vostrel" status)"
kill -USR1 "$holder"
wait_for 10 test -s "$work/grab-latency" || fail "no grab latency measured"
latency=$(cat "$work/grab-latency")
echo "   the lock had the keyboard ${latency} ms after the other client let go"
[ "$latency" -ge 0 ] && [ "$latency" -le 100 ] || fail "grab latency ${latency} ms"
wait_for 2 status_is "Screen locked." || fail "status once the lock has the keyboard: $("$vostrel" status)"
xdotool type --delay 40 1234
wait_for 10 uncovered || fail "the PIN did not unlock after the grab"

step "a client raising itself above the panels every 50 ms never shows"
"$vostrel" lock
wait_for 10 covered || fail "panels after locking"
"$xclient" raise &
pids+=($!)
sleep 0.3
for i in $(seq 10); do
    import -window root "$shots/raiser-$i.png"
    [ "$(count_colour "$shots/raiser-$i.png" '#ff00ff')" -eq 0 ] ||
        fail "the raising window shows in screenshot $i"
    sleep 0.05
done
xdotool type --delay 40 1234
wait_for 10 uncovered || fail "the PIN did not unlock"
kill "${pids[-1]}"

step "a panel moved, resized, reparented or unmapped by another client is back within a frame"
"$vostrel" lock
wait_for 10 covered || fail "panels after locking"
# The focus panel, whose window also holds the grabs.
focus=$(panels | awk '$1 == "1920x1080+1920+0" {print $2}')
for how in move resize reparent unmap; do
    wait_for 2 "$xclient" keyboard-held || fail "$how: the lock does not hold the keyboard"
    out=$("$xclient" displace "$focus" "$how") || fail "$how: not put back ($out, exit $?)"
    echo "   $how: $out"
    read -r covered_ms keyboard_ms < <(sed 's/[a-z]*=//g' <<<"$out")
    [ "$covered_ms" -le 50 ] && [ "$keyboard_ms" -le 50 ] || fail "$how: $out"
done
wait_for 5 covered || fail "panels after the attacks: '$(panel_geometries)'"
sleep 0.3
import -window root "$shots/displaced.png"
[ "$(count_colour "$shots/displaced.png" '#ff00ff')" -eq 0 ] || fail "desktop pixels after the attacks"
xdotool type --delay 40 1234
wait_for 10 uncovered || fail "the PIN did not unlock after the attacks"

step "a compositor dimming unfocused windows draws the lock opaque"
: >"$work/typed"
"$keylogger" "$work/typed" &
pids+=($!)
wait_for 10 xdotool search --onlyvisible --name e2e-keylogger >/dev/null || fail "the key logger did not show"
other=$(xdotool search --onlyvisible --name e2e-keylogger | head -n 1)
printf 'backend = "xrender";\ninactive-opacity = 0.8;\nfading = false;\nshadow = false;\n' >"$work/picom.conf"
picom --config "$work/picom.conf" >"$work/picom.log" 2>&1 &
picom=$!
pids+=($picom)
sleep 1
kill -0 "$picom" || fail "picom did not start: $(cat "$work/picom.log")"
"$vostrel" lock
wait_for 10 covered || fail "panels under picom"
sleep 1
import -window root "$shots/picom.png"
# Inside the key logger's window on the left monitor, whose panel has no focus.
behind=$(pixel 300 300)
[ "$behind" = "$ocean" ] || fail "the lock shows $behind over a window, not $ocean"
[ "$(pixel 1500 900)" = "$ocean" ] || fail "the lock shows $(pixel 1500 900) over the desktop"
xdotool type --delay 40 1234
wait_for 10 uncovered || fail "the PIN did not unlock under picom"
kill "$picom"

step "the server's grab-breaking key under a window manager: focus and grab are taken back at once"
openbox >"$work/openbox.log" 2>&1 &
pids+=($!)
wait_for 10 bash -c "xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'" || fail "openbox did not start"
setxkbmap -option grab:break_actions
# Not viewable for a moment while openbox puts it in a frame.
wait_for 5 xdotool windowfocus "$other" 2>/dev/null || fail "the key logger could not take the focus"
"$vostrel" lock
wait_for 10 covered || fail "panels under openbox"
wait_for 2 "$xclient" keyboard-held || fail "the lock does not hold the keyboard under openbox"
lock_focus=$(xdotool getwindowfocus)
[ "$lock_focus" != "$other" ] || fail "the lock left the focus on the key logger"
focus_is_lock() { [ "$(xdotool getwindowfocus)" = "$lock_focus" ]; }
for round in 1 2 3; do
    # Another program takes the focus while locked, as it may at any time.
    xdotool windowfocus "$other"
    wait_for 1 focus_is_lock || fail "round $round: the focus stayed on $(xdotool getwindowfocus)"
    # A person breaks the grab and types on at once.
    xdotool key ctrl+alt+KP_Divide type leak
    wait_for 1 "$xclient" keyboard-held || fail "round $round: the keyboard stayed free after the break"
    wait_for 1 status_is "Screen locked." ||
        fail "round $round: status $("$vostrel" status)"
done
sleep 0.3
[ -z "$(typed)" ] || fail "keys reached the window behind the lock after the break: '$(typed)'"
focus_is_lock || fail "the focus left the lock: $(xdotool getwindowfocus)"
covered || fail "the break uncovered the screen"
xdotool key --delay 40 Escape 1 2 3 4
wait_for 10 uncovered || fail "the PIN did not unlock after the breaks"

echo "PASS"
