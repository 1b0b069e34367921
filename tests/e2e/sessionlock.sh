#!/usr/bin/env bash
# The lock on a compositor that offers the session lock (ext-session-lock-v1):
# a headless sway 1.8 or later (the system's on Debian 13, else the one of the
# Debian 13 root that scripts/debian13-root makes), two outputs, a window of a
# known colour underneath. Run inside
# scripts/with-session, for its buses and folders.
#   sessionlock.sh VOSTREL KEYLOGGER STANDINS
# Screenshots are kept in $VOSTREL_E2E_ARTIFACTS when it is set.
set -euo pipefail

vostrel=$(realpath "$1")
keylogger=$2
standins=$3
source "$(dirname "$0")/../support/sway-version.sh"
if system_sway_locks; then
    root=/
else
    root=${VOSTREL_DEBIAN13_ROOT:-/var/cache/vostrel/trixie}
fi
if [ ! -x "$root/usr/bin/sway" ] || [ ! -x "$root/usr/bin/wtype" ] || [ "$(id -u)" != 0 ]; then
    echo "SKIP: needs root rights and a sway of 1.8 or later, with wtype, at $root"
    exit 77
fi
work="$VOSTREL_SESSION_DIR/e2e-sessionlock"
mkdir -p "$work"
shots=${VOSTREL_E2E_ARTIFACTS:-$work}
mkdir -p "$shots"

source "$(dirname "$0")/common.sh"
sway_helper="$(dirname "$0")/../support/headless-sway.sh"

# The desktop is green and the window underneath magenta: a lock that lets
# either through shows it. New windows open on the focused output, HEADLESS-2.
socket=$(timeout 60 "$sway_helper" start "$root" 2 '#00ff00') || fail "sway did not start"
on_exit() { "$sway_helper" stop "$socket"; }
WAYLAND_DISPLAY=$socket
SWAYSOCK=$(find "$(dirname "$socket")" -maxdepth 1 -name 'sway-ipc.*.sock' | head -n 1)
export WAYLAND_DISPLAY SWAYSOCK XDG_SESSION_TYPE=wayland
unset DISPLAY

shoot() { timeout 10 grim -o "$1" "$shots/$2.png"; }
# Pixels of the desktop or the window in a shot of one output.
leaked() { echo $(($(count_colour "$shots/$1.png" '#00ff00') + $(count_colour "$shots/$1.png" '#ff00ff'))); }
lock_screen_pid() { pgrep -f "^$(dirname "$vostrel")/vostrel-lockscreen" | head -n 1; }
# A few keys typed on whatever has the keyboard now, by the root's wtype (a
# new virtual keyboard each time, which loses what comes before the client
# has bound it: hence the pause first).
type_keys() { timeout 10 chroot "$root" env WAYLAND_DISPLAY="${socket#"${root%/}"}" wtype -s 300 "$1"; }
all_covered() {
    local output
    for output in HEADLESS-1 HEADLESS-2; do
        shoot "$output" "$1-$output" || return 1
        [ "$(leaked "$1-$output")" = 0 ] || return 1
    done
}

"$vostrel" defaults write app.vostrel.pin.stored "$pin_1234" --string
"$vostrel" defaults write hasCompletedOnboarding true
"$standins" "$work/inhibit" &
pids+=($!)
QT_QPA_PLATFORM=wayland "$keylogger" "$work/typed" &
pids+=($!)
shown() { shoot HEADLESS-2 before && [ "$(count_colour "$shots/before.png" '#ff00ff')" -gt 10000 ]; }
wait_for 20 shown || fail "the window underneath did not show"

step "Vostrel starts and locks"
"$vostrel" --background >"$work/vostrel.log" 2>&1 &
pids+=($!)
wait_for 20 "$vostrel" status >/dev/null 2>&1 || fail "Vostrel did not answer on D-Bus"
"$vostrel" lock || fail "vostrel lock failed"
# It answers once the compositor has confirmed the lock, not before.
locked || fail "vostrel lock returned before the lock was up: $("$vostrel" status)"
wait_for 10 all_covered locked || fail "an output shows the desktop while locked"
case $("$vostrel" status) in
*"not held"*) fail "status: $("$vostrel" status)" ;;
esac

step "keys typed go to no other client; a wrong PIN is refused"
type_keys 0000
sleep 1
locked || fail "a wrong PIN unlocked"
type_keys "a"
sleep 0.5
[ -z "$(typed)" ] || fail "the window underneath received '$(typed)'"

step "kill -9 of the lock screen leaves every output covered; another takes over"
first=$(lock_screen_pid)
[ -n "$first" ] || fail "no lock-screen process"
kill -9 "$first"
sleep 0.2
all_covered killed || fail "an output showed the desktop after the lock screen died"
took_over() { local pid; pid=$(lock_screen_pid); [ -n "$pid" ] && [ "$pid" != "$first" ]; }
wait_for 10 took_over || fail "no new lock-screen process"
locked || fail "status: $("$vostrel" status)"
# The new lock screen draws: no longer sway's red.
drawn() { shoot HEADLESS-1 retaken && [ "$(count_colour "$shots/retaken.png" '#ff0000')" = 0 ]; }
wait_for 10 drawn || fail "the new lock screen did not draw"

step "an output created during the lock is covered"
swaymsg -q create_output
covered_new() { shoot HEADLESS-3 new-output && [ "$(leaked new-output)" = 0 ]; }
wait_for 10 covered_new || fail "the new output shows the desktop"

step "kill -9 of Vostrel itself leaves every output covered; a new Vostrel takes over"
app=$(owner_pid)
[ -n "$app" ] || fail "no Vostrel on the bus"
kill -9 "$app"
sleep 0.2
all_covered app-killed || fail "an output showed the desktop after Vostrel died"
relaunched() { local pid; pid=$(owner_pid); [ -n "$pid" ] && [ "$pid" != "$app" ] && locked; }
wait_for 30 relaunched || fail "no new Vostrel took the lock over: $("$vostrel" status 2>&1)"
wait_for 10 drawn || fail "the new lock screen did not draw"
all_covered relaunched || fail "an output showed the desktop after the relaunch"

step "the right PIN typed on the lock unlocks"
type_keys 1234
wait_for 10 bash -c "! '$vostrel' status | grep -q 'Screen locked'" || fail "the PIN did not unlock"
desktop_back() { shoot HEADLESS-2 after && [ "$(count_colour "$shots/after.png" '#ff00ff')" -gt 10000 ]; }
wait_for 10 desktop_back || fail "the window did not come back"
wait_for 5 bash -c "[ -z \"\$(pgrep -f '^$(dirname "$vostrel")/vostrel-lockscreen')\" ]" ||
    fail "the lock screen did not leave"
[ -z "$(typed)" ] || fail "the window underneath received '$(typed)'"
echo "PASS"
