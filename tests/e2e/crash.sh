#!/usr/bin/env bash
# The lock fails closed: Vostrel killed while locked (kill -9, xkill, the
# terminal's hang-up or Ctrl+C to its process group) leaves every monitor
# covered and every key swallowed until the relaunched Vostrel is unlocked;
# the guard ignores signals from anyone but Vostrel, is replaced when killed,
# and relaunches for as long as it takes; and the way back in after a
# forgotten PIN. Runs inside scripts/with-session.
#   crash.sh VOSTREL KEYLOGGER XCLIENT
set -euo pipefail

vostrel=$(realpath "$1")
keylogger=$2
xclient=$3
work="$VOSTREL_SESSION_DIR/e2e-crash"
mkdir -p "$work"
shots=${VOSTREL_E2E_ARTIFACTS:-$work}
mkdir -p "$shots"
source "$(dirname "$0")/common.sh"

guard_pattern="^$(dirname "$vostrel")/vostrel-guard"
guard_pids() { pgrep -f "$guard_pattern" | sort | tr '\n' ' '; }
guards_are() { [ "$(pgrep -f "$guard_pattern" | wc -l)" -eq "$1" ]; }
app_pid() { pgrep -f "^$vostrel( --relock)?\$" | head -n 1; }
no_desktop() {
    import -window root "$shots/$1.png"
    [ "$(count_colour "$shots/$1.png" '#ff00ff')" -eq 0 ] || fail "$1: desktop pixels"
}

xsetroot -solid '#ff00ff'
"$vostrel" defaults write app.vostrel.pin.stored "$pin_1234" --string
"$vostrel" defaults write hasCompletedOnboarding true
: >"$work/typed"
"$keylogger" "$work/typed" &
pids+=($!)
wait_for 10 xdotool search --name e2e-keylogger >/dev/null || fail "the key logger did not show"
xdotool mousemove 600 450 # over the key logger

# The guard is started through a wrapper that has it relaunch through
# another, which, armed, dies at once or hangs, once each.
cat >"$work/launcher" <<LAUNCHER
#!/bin/sh
[ -e "$work/fail-next-launch" ] && rm -f "$work/fail-next-launch" && exit 1
[ -e "$work/hang-next-launch" ] && rm -f "$work/hang-next-launch" && exec sleep 600
exec "$vostrel" "\$@"
LAUNCHER
cat >"$work/guard" <<GUARD
#!/usr/bin/env bash
args=("\$@")
for i in "\${!args[@]}"; do [ "\${args[i]}" = --app-path ] && args[i+1]="$work/launcher"; done
exec "$(dirname "$vostrel")/vostrel-guard" "\${args[@]}" --relaunch-patience-ms 3000
GUARD
chmod +x "$work/launcher" "$work/guard"
# A session of its own, as a terminal gives it: its process group is its own.
VOSTREL_GUARD="$work/guard" setsid "$vostrel" >"$work/vostrel.log" 2>&1 &
wait_for 20 "$vostrel" status >/dev/null 2>&1 || fail "Vostrel did not answer on D-Bus"

# The guard's black window waits right under the panels (top-most first).
cover_under_panels() {
    [ "$(xwininfo -root -children | sed -n 's/^ *0x[0-9a-f]* \("[^"]*"\).*/\1/p' | head -n 3 |
        tr '\n' ' ')" = '"Vostrel" "Vostrel" "Vostrel guard" ' ]
}
lock_with_guard() {
    "$vostrel" lock
    wait_for 10 covered || fail "panels after locking: '$(panel_geometries)'"
    wait_for 10 guards_are 1 || fail "no guard: $(guard_pids)"
    wait_for 10 cover_under_panels || fail "the guard's window is not under the panels"
}
# The relaunched Vostrel covers again, the old guard stands down, and the
# PIN unlocks; no key typed on the way reached another window.
relocked_unlocks() {
    local label=$1
    wait_for 30 bash -c "pgrep -f '^$vostrel --relock' >/dev/null" || fail "$label: no relaunch"
    wait_for 20 covered || fail "$label: the relaunched Vostrel did not cover: '$(panel_geometries)'"
    wait_for 10 locked || fail "$label: the relaunched Vostrel is not locked"
    no_desktop "relocked-$label"
    wait_for 10 guards_are 1 || fail "$label: guards after the relock: $(guard_pids)"
    xdotool type --delay 40 1234
    wait_for 10 uncovered || fail "$label: the right PIN did not unlock after the relock"
    [ -z "$(typed)" ] || fail "$label: keys reached another window: '$(typed)'"
    wait_for 5 guards_are 0 ||
        fail "$label: a guard stayed after unlocking: $(pgrep -af "$guard_pattern")"
}
# Runs the kill while keys are typed every 4 ms and the screen is sampled.
kill_while_typing() {
    local label=$1
    shift
    "$xclient" watch 2.5 "$work/gap-$label" >"$work/watch.out" &
    local watcher=$!
    wait_for 5 grep -q watching "$work/watch.out" || fail "$label: the pixel watcher did not start"
    xdotool type --delay 4 "$(printf 'q%.0s' $(seq 400))" &
    local typist=$!
    sleep 0.4
    "$@"
    wait "$typist" "$watcher" || fail "$label: typing or watching failed"
    local ms sweeps
    read -r ms sweeps <"$work/gap-$label"
    echo "   $label: desktop seen for ${ms} ms (${sweeps} sweeps), $(typed | wc -c) keys leaked"
    [ "$sweeps" -eq 0 ] || fail "$label: the desktop showed for ${ms} ms: $(grep magenta "$work/watch.out")"
    [ -z "$(typed)" ] || fail "$label: $(typed | wc -c) keys reached the window under the pointer"
}

step "the terminal hangs up: the guard, in a session of its own, covers and relaunches"
lock_with_guard
kill -HUP -- "-$(ps -o pgid= -p "$(app_pid)" | tr -d ' ')"
sleep 0.3
no_desktop hangup
relocked_unlocks hangup

step "signals from other processes never stand the guard down; Ctrl+C to the group"
lock_with_guard
guard=$(guard_pids)
for signal in HUP INT TERM USR1 QUIT; do kill -"$signal" $guard; done
sleep 0.3
[ "$(guard_pids)" = "$guard" ] || fail "the guard did not survive stray signals: '$(guard_pids)'"
kill -INT -- "-$(ps -o pgid= -p "$(app_pid)" | tr -d ' ')"
sleep 0.3
no_desktop interrupt
relocked_unlocks interrupt

step "kill -9 after the guard was killed and replaced: no pixel, no key"
lock_with_guard
first_guard=$(guard_pids)
kill -9 $first_guard
wait_for 10 bash -c "g=\$(pgrep -f '$guard_pattern' | sort | tr '\n' ' '); [ -n \"\$g\" ] && [ \"\$g\" != '$first_guard' ]" ||
    fail "the killed guard was not replaced"
covered || fail "killing the guard uncovered the screen"
wait_for 10 cover_under_panels ||
    fail "the new guard's window is not under the panels: $(xwininfo -root -children | head -n 9)"
kill_while_typing kill-9 kill -9 "$(app_pid)"
relocked_unlocks kill-9

step "xkill of the lock panel: no pixel, no key"
lock_with_guard
kill_while_typing xkill xkill -id "$(panels | head -n 1 | cut -d' ' -f2)"
relocked_unlocks xkill

step "relaunches that die at once or hang are retried; a window mapped meanwhile is pushed back"
lock_with_guard
touch "$work/fail-next-launch" "$work/hang-next-launch"
kill -9 "$(app_pid)"
wait_for 10 bash -c "[ ! -e '$work/fail-next-launch' ]" || fail "no relaunch was tried"
"$xclient" map &
mapper=$!
pids+=($mapper)
sleep 0.3
deadline=$((SECONDS + 10))
shot=0
while ((SECONDS < deadline)); do
    no_desktop "retry-$((++shot))"
    sleep 0.5
done
relocked_unlocks retry
[ ! -e "$work/hang-next-launch" ] || fail "the hanging relaunch was not tried"
kill "$mapper"

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
