#!/usr/bin/env bash
# First use and the settings window from end to end, on a private Xvfb (run
# inside scripts/with-session): a start by D-Bus activation that opens no
# window, locks refused without a PIN, onboarding on an empty configuration, the PIN
# and theme it stores, the settings window at the next launch and on a
# relaunch, and a PIN changed on the Security page reaching the lock screen.
#   settings.sh VOSTREL
# Screenshots are kept in $VOSTREL_E2E_ARTIFACTS when it is set.
set -euo pipefail

vostrel=$(realpath "$1")
work="$VOSTREL_SESSION_DIR/e2e-settings"
mkdir -p "$work"
shots=${VOSTREL_E2E_ARTIFACTS:-$work}
mkdir -p "$shots"

source "$(dirname "$0")/common.sh"
trap 'echo "FAIL: line $LINENO: $BASH_COMMAND" >&2' ERR

# A session bus of our own that knows only the service file of the Vostrel
# under test, made from the one that is installed: a copy of Vostrel installed
# on this machine must not be started by D-Bus activation in its place.
mkdir -p "$work/services"
sed "s|@VOSTREL_INSTALLED_BINDIR@|$(dirname "$vostrel")|" \
    "$(dirname "$0")/../../data/app.vostrel.Vostrel.service.in" >"$work/services/app.vostrel.Vostrel.service"
cat >"$work/bus.conf" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:path=$work/bus.sock</listen>
  <servicedir>$work/services</servicedir>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
CONF
rm -f "$work/bus.sock"
dbus-daemon --config-file="$work/bus.conf" --nofork --nopidfile --print-address=3 \
    3>"$work/bus.address" >>"$work/vostrel.log" 2>&1 &
pids+=($!)
wait_for 5 test -s "$work/bus.address" || fail "the private session bus did not start"
DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$work/bus.address")
export DBUS_SESSION_BUS_ADDRESS

# The id of the mapped window whose title is exactly $1.
window_named() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1; }
shows() { [ -n "$(window_named "$1")" ]; }
hidden() { [ -z "$(window_named "$1")" ]; }
# A screenshot of window $1 kept as $2. X may refuse the read-back while a
# window is still being mapped or resized: try again before giving up.
keep_shot() {
    local try
    for try in 1 2 3 4 5; do
        import -window "$1" "$2" 2>/dev/null && return 0
        sleep 0.2
    done
    fail "could not take $2"
}
# Gives window $1 the keyboard, waiting until it has it.
focus() {
    local try
    for try in 1 2 3; do
        timeout 5 xdotool windowfocus --sync "$1" 2>/dev/null && return 0
        sleep 0.2
    done
    fail "window $1 did not take the focus"
}
# Clicks at x y inside window $1.
click_in() {
    xdotool mousemove --window "$1" "$2" "$3" click 1
    sleep 0.2
}
start_vostrel() {
    "$vostrel" >>"$work/vostrel.log" 2>&1 &
    vostrel_pid=$!
    pids+=("$vostrel_pid")
    # Not `vostrel status`: asked before this instance owns its name, the
    # bus would start another one by activation.
    wait_for 20 started_owns_name || fail "Vostrel did not take its name on D-Bus"
}
started_owns_name() { [ "$(owner_pid)" = "$vostrel_pid" ]; }
stop_vostrel() {
    kill "$vostrel_pid" 2>/dev/null || fail "Vostrel had quit before it was stopped"
    wait "$vostrel_pid" 2>/dev/null || true
}

[ -z "$("$vostrel" defaults read 2>/dev/null | tr -d '{}[:space:]')" ] || fail "the configuration is not empty"

any_window() { [ -n "$(xdotool search --onlyvisible --name Vostrel 2>/dev/null)" ]; }

step "asked for its status, a Vostrel that is not running starts without a window"
[ -z "$(owner_pid)" ] || fail "something owns app.vostrel.Vostrel already"
status_text=$("$vostrel" status) || fail "vostrel status exited $?"
activated=$(owner_pid)
[ -n "$activated" ] || fail "the status call started nothing"
! wait_for 3 any_window || fail "the activated Vostrel opened a window: $(xdotool search --onlyvisible --name Vostrel getwindowname %@)"
[[ $status_text == "Vostrel: Idle. No PIN is set: open Vostrel to choose one." ]] ||
    fail "status of a fresh user: '$status_text'"

step "a fresh user's lock is refused and covers nothing"
set +e
message=$("$vostrel" lock 2>&1)
status=$?
set -e
[ "$status" = 1 ] || fail "vostrel lock exited $status: $message"
[ "$message" = "vostrel: No PIN is set: open Vostrel to choose one" ] || fail "vostrel lock said '$message'"
sleep 1
uncovered || fail "panels after a refused lock: '$(panel_geometries)'"
"$vostrel" status | grep -q "Screen locked" && fail "status says locked"

step "the hotkey without a PIN opens onboarding instead of locking"
xdotool key super+l
wait_for 10 shows "Welcome to Vostrel" || fail "the hotkey did not open onboarding"
uncovered || fail "the hotkey covered the screens without a PIN"
sleep 0.6
keep_shot "$(window_named "Welcome to Vostrel")" "$shots/e2e-onboarding-pin-needed.png"
kill "$activated"
wait_for 10 bash -c "! kill -0 $activated 2>/dev/null" || fail "the activated Vostrel did not quit"
wait_for 5 hidden "Welcome to Vostrel" || fail "onboarding outlived its application"

step "a first launch on an empty configuration opens onboarding"
start_vostrel
wait_for 10 shows "Welcome to Vostrel" || fail "onboarding did not open"
hidden "Vostrel Settings" || fail "the settings window opened before onboarding was done"
onboarding=$(window_named "Welcome to Vostrel")
geometry=$(xdotool getwindowgeometry "$onboarding" | awk '/Geometry/ {print $2}')
[ "$geometry" = "560x480" ] || fail "onboarding is $geometry"
focus "$onboarding"
sleep 0.6
keep_shot "$onboarding" "$shots/e2e-onboarding-welcome.png"

# Continue and Get Started end 40 from the right edge, 28 from the bottom.
continue_x=495
continue_y=436
click_in "$onboarding" $continue_x $continue_y

step "a PIN of three digits is refused, five digits typed twice are taken"
xdotool type --delay 30 123
xdotool key Tab
xdotool type --delay 30 123
xdotool key Return
sleep 0.3
"$vostrel" defaults read app.vostrel.pin.stored >/dev/null 2>&1 && fail "a 3-digit PIN was stored"
keep_shot "$onboarding" "$shots/e2e-onboarding-pin-error.png"
xdotool key shift+Tab ctrl+a
xdotool type --delay 30 12345
xdotool key Tab ctrl+a
xdotool type --delay 30 12345
xdotool key Return
wait_for 5 bash -c "[ \"\$('$vostrel' defaults read app.vostrel.pin.stored 2>/dev/null)\" = '$(encoded_pin 12345)' ]" ||
    fail "the PIN was not stored at the PIN step: $("$vostrel" defaults read app.vostrel.pin.stored 2>&1)"

step "the theme is left as it is"
click_in "$onboarding" $continue_x $continue_y
wait_for 5 bash -c "[ \"\$('$vostrel' defaults read selectedTheme 2>/dev/null)\" = live_blur ]" ||
    fail "the theme was not stored: $("$vostrel" defaults read selectedTheme 2>&1)"
[ "$("$vostrel" defaults read hasCompletedOnboarding 2>/dev/null || true)" != true ] ||
    fail "onboarding was marked complete too early"
click_in "$onboarding" $continue_x $continue_y
wait_for 5 hidden "Welcome to Vostrel" || fail "Get Started did not close onboarding"
[ "$("$vostrel" defaults read hasCompletedOnboarding)" = true ] || fail "completion was not stored"

step "the next launch opens the settings window on General"
stop_vostrel
start_vostrel
wait_for 10 shows "Vostrel Settings" || fail "the settings window did not open"
hidden "Welcome to Vostrel" || fail "onboarding opened again"
settings=$(window_named "Vostrel Settings")
geometry=$(xdotool getwindowgeometry "$settings" | awk '/Geometry/ {print $2}')
# Sized from the first monitor's 1920 x 1080, clamped.
[ "$geometry" = "1080x740" ] || fail "the settings window is $geometry"
sleep 0.5
keep_shot "$settings" "$shots/e2e-settings-general.png"

step "closing hides it; running vostrel again reopens it"
focus "$settings"
xdotool key ctrl+w
wait_for 5 hidden "Vostrel Settings" || fail "Ctrl+W did not close the settings window"
"$vostrel" >/dev/null 2>&1 || fail "launching again did not reach the running instance"
wait_for 10 shows "Vostrel Settings" || fail "a relaunch did not reopen the settings window"
settings=$(window_named "Vostrel Settings")
"$vostrel" >/dev/null 2>&1
sleep 0.5
[ "$(xdotool search --onlyvisible --name '^Vostrel Settings$' | wc -l)" -eq 1 ] ||
    fail "a relaunch with the window open opened another"

step "the Security page changes the PIN"
focus "$settings"
# The sidebar's second entry, then the first field of the Change PIN card.
click_in "$settings" 80 152
click_in "$settings" 380 162
xdotool type --delay 30 12345
xdotool key Tab
xdotool type --delay 30 2468
xdotool key Tab
xdotool type --delay 30 2468
xdotool key Return
wait_for 5 bash -c "[ \"\$('$vostrel' defaults read app.vostrel.pin.stored 2>/dev/null)\" = '$(encoded_pin 2468)' ]" ||
    fail "the Security page did not store the new PIN"
sleep 0.3
keep_shot "$settings" "$shots/e2e-settings-security.png"

step "the lock screen expects four digits now"
"$vostrel" lock
wait_for 10 locked || fail "status after locking: $("$vostrel" status)"
sleep 0.5
xdotool type --delay 60 246
sleep 0.5
locked || fail "three digits unlocked"
xdotool type --delay 60 8
wait_for 5 bash -c "! '$vostrel' status | grep -q 'Screen locked'" || fail "the new 4-digit PIN did not unlock"
echo "PASS"
