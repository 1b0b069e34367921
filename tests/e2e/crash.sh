#!/usr/bin/env bash
# The lock fails closed: Vostrel killed while locked leaves every monitor
# covered and every key swallowed until the relaunched Vostrel is unlocked;
# a guard killed first is replaced; the way back in after a forgotten PIN.
# Runs inside scripts/with-session.
#   crash.sh VOSTREL KEYLOGGER
set -euo pipefail

vostrel=$(realpath "$1")
keylogger=$2
work="$VOSTREL_SESSION_DIR/e2e-crash"
mkdir -p "$work"
shots=${VOSTREL_E2E_ARTIFACTS:-$work}
mkdir -p "$shots"
source "$(dirname "$0")/common.sh"

guard_pids() { pgrep -f "^$(dirname "$vostrel")/vostrel-guard" | sort | tr '\n' ' '; }
app_pid() { pgrep -f "^$vostrel( --relock)?\$" | head -n 1; }
locked() { [ "$("$vostrel" status 2>/dev/null)" = "Vostrel: Screen locked. " ] ||
    "$vostrel" status 2>/dev/null | grep -q "Screen locked"; }

xsetroot -solid '#ff00ff'
"$vostrel" defaults write app.vostrel.pin.stored "$pin_1234" --string
"$vostrel" defaults write hasCompletedOnboarding true
: >"$work/typed"
"$keylogger" "$work/typed" &
pids+=($!)
wait_for 10 xdotool search --name e2e-keylogger >/dev/null || fail "the key logger did not show"
other=$(xdotool search --name e2e-keylogger | head -n 1)

"$vostrel" >"$work/vostrel.log" 2>&1 &
wait_for 20 "$vostrel" status >/dev/null 2>&1 || fail "Vostrel did not answer on D-Bus"

crash_and_relock() {
    local label=$1
    local app
    app=$(app_pid)
    [ -n "$app" ] || fail "no Vostrel process"
    kill -9 "$app"
    sleep 0.2
    import -window root "$shots/crash-$label.png"
    [ "$(count_colour "$shots/crash-$label.png" '#ff00ff')" -eq 0 ] ||
        fail "$label: desktop pixels 200 ms after the crash"
    xdotool windowfocus "$other" 2>/dev/null || true
    xdotool type --delay 20 qwe
    sleep 0.3
    [ -z "$(typed)" ] || fail "$label: keys reached another window after the crash: '$(typed)'"
    wait_for 20 bash -c "pgrep -f '^$vostrel --relock' >/dev/null" || fail "$label: no relaunch"
    wait_for 20 covered || fail "$label: the relaunched Vostrel did not cover: '$(panel_geometries)'"
    wait_for 10 locked || fail "$label: the relaunched Vostrel is not locked"
    import -window root "$shots/relocked-$label.png"
    [ "$(count_colour "$shots/relocked-$label.png" '#ff00ff')" -eq 0 ] ||
        fail "$label: desktop pixels after the relock"
    # The old guard stands down; the relocked Vostrel has a guard of its own.
    wait_for 10 bash -c "[ \$(pgrep -f '^$(dirname "$vostrel")/vostrel-guard' | wc -l) -eq 1 ]" ||
        fail "$label: guards after the relock: $(guard_pids)"
    xdotool type --delay 40 1234
    wait_for 10 uncovered || fail "$label: the right PIN did not unlock after the relock"
    [ -z "$(typed)" ] || fail "$label: the PIN reached another window: '$(typed)'"
}

step "a guard watches every lock"
"$vostrel" lock
wait_for 10 covered || fail "panels after locking: '$(panel_geometries)'"
wait_for 10 bash -c "[ -n \"\$(pgrep -f '^$(dirname "$vostrel")/vostrel-guard')\" ]" || fail "no guard"

step "kill -9 while locked: covered, keys swallowed, relocked, the PIN unlocks"
crash_and_relock app
wait_for 5 bash -c "[ -z \"\$(pgrep -f '^$(dirname "$vostrel")/vostrel-guard')\" ]" ||
    fail "a guard stayed after unlocking: $(guard_pids)"

step "the guard killed first is replaced, and still covers a crash"
"$vostrel" lock
wait_for 10 covered || fail "panels after locking again"
wait_for 10 bash -c "[ -n \"\$(pgrep -f '^$(dirname "$vostrel")/vostrel-guard')\" ]" || fail "no guard"
first_guard=$(guard_pids)
kill -9 $first_guard
wait_for 10 bash -c "g=\$(pgrep -f '^$(dirname "$vostrel")/vostrel-guard' | sort | tr '\n' ' '); [ -n \"\$g\" ] && [ \"\$g\" != '$first_guard' ]" ||
    fail "the killed guard was not replaced"
covered || fail "killing the guard uncovered the screen"
crash_and_relock guard-replaced

# The route the README gives for a forgotten PIN, from a text console.
step "a forgotten PIN: deleted, and Vostrel ended, the relaunch does not lock"
"$vostrel" lock
wait_for 10 covered || fail "panels after locking for the forgotten PIN"
"$vostrel" defaults delete app.vostrel.pin.stored
sleep 0.5
covered || fail "deleting the PIN alone lowered the lock"
app=$(app_pid)
# What `pkill -x vostrel-app` finds (here by its id, to touch nothing else).
[ "$(cat "/proc/$app/comm")" = vostrel-app ] || fail "the application is named '$(cat "/proc/$app/comm")'"
kill -TERM "$app"
wait_for 20 bash -c "pgrep -f '^$vostrel --relock' >/dev/null" || fail "no relaunch after TERM"
wait_for 20 uncovered || fail "the relaunch without a PIN covered: '$(panel_geometries)'"
wait_for 10 bash -c "[ -z \"\$(pgrep -f '^$(dirname "$vostrel")/vostrel-guard')\" ]" ||
    fail "the guard did not let go: $(guard_pids)"
wait_for 10 bash -c "xdotool search --onlyvisible --name '^Vostrel Settings\$' >/dev/null" ||
    fail "the relaunch did not open the Security page to choose a new PIN"
sleep 1
import -window root "$shots/forgotten-pin.png"
[ "$(count_colour "$shots/forgotten-pin.png" '#ff00ff')" -gt 100000 ] || fail "the desktop did not come back"
"$vostrel" status | grep -q "No PIN is set" || fail "status: $("$vostrel" status)"

echo "PASS"
