#!/usr/bin/env bash
# The triggers that lock by themselves, from end to end on a private Xvfb
# (run inside scripts/with-session): a stored schedule slot right after
# start-up, and the desktop's Do Not Disturb through a stand-in notification
# server.
#   autolock.sh VOSTREL STANDINS NOTIFICATIONSERVER
set -euo pipefail

vostrel=$(realpath "$1")
standins=$2
notificationserver=$3
work="$VOSTREL_SESSION_DIR/e2e"
mkdir -p "$work"
shots=${VOSTREL_E2E_ARTIFACTS:-$work}
mkdir -p "$shots"

source "$(dirname "$0")/common.sh"

set_dnd() {
    dbus-send --session --print-reply --dest=org.freedesktop.Notifications \
        /org/freedesktop/Notifications org.freedesktop.DBus.Properties.Set \
        string:org.freedesktop.Notifications string:Inhibited "variant:boolean:$1" >/dev/null
}
vostrel_pid=""
start_vostrel() {
    "$vostrel" >>"$work/vostrel.log" 2>&1 &
    vostrel_pid=$!
    pids+=("$vostrel_pid")
}
stop_vostrel() {
    # Its guard first, or the guard would start a locked Vostrel again.
    pkill -KILL -f "^$(dirname "$vostrel")/vostrel-guard" 2>/dev/null || true
    kill "$vostrel_pid"
    wait "$vostrel_pid" 2>/dev/null || true
    wait_for 10 bash -c "! '$vostrel' status >/dev/null 2>&1" || fail "Vostrel did not quit"
}

xsetroot -solid '#ff00ff'
"$vostrel" defaults write app.vostrel.pin.stored "$pin_1234" --string
"$vostrel" defaults write hasCompletedOnboarding true
"$standins" "$work/inhibit" &
pids+=($!)

step "a slot covering the current minute, every day, stored before start-up"
read -r start_hour start_minute end_hour end_minute < <(python3 -c '
import datetime
now = datetime.datetime.now()
start, end = now - datetime.timedelta(minutes=1), now + datetime.timedelta(minutes=4)
print(start.hour, start.minute, end.hour, end.minute)')
slots="[{\"id\":\"0F6B9C1E-6A43-4C1E-9F0B-2D1C3E4F5A6B\",\"startHour\":$start_hour,\"startMinute\":$start_minute,\"endHour\":$end_hour,\"endMinute\":$end_minute,\"days\":[1,2,3,4,5,6,7],\"enabled\":true}]"
"$vostrel" defaults write scheduleSlots "$slots" --data

step "the schedule locks within 30 s of start-up"
started=$SECONDS
start_vostrel
wait_for 30 covered || fail "no lock 30 s after start-up: '$(panel_geometries)'"
echo "   locked $((SECONDS - started)) s after start-up"
wait_for 10 bash -c "'$vostrel' status | grep -q 'Screen locked. Keeping awake.'" ||
    fail "status under the schedule: '$("$vostrel" status)'"
sleep 0.3
import -window root "$shots/schedule-locked.png"
[ "$(count_colour "$shots/schedule-locked.png" '#ff00ff')" -eq 0 ] || fail "desktop pixels under the scheduled lock"
[ "$("$vostrel" defaults read scheduleSlots)" != "" ] || fail "the stored schedule is gone"

step "unlocked inside the slot, the lock returns at the next check"
"$vostrel" unlock 1234 || fail "the PIN was refused"
wait_for 5 uncovered || fail "the lock stayed up after unlocking"
wait_for 35 covered || fail "the schedule did not lock again: '$(panel_geometries)'"
stop_vostrel

step "a malformed schedule: no lock, the stored value left as it was"
"$vostrel" defaults write scheduleSlots '[{"id":"0F6B9C1E-6A43-4C1E-9F0B-2D1C3E4F5A6B","startHour":0,"startMinute":0,"endHour":23,"endMinute":59,"days":[1,2,3,4,5,6,7]}]' --data
before=$("$vostrel" defaults read scheduleSlots)
start_vostrel
wait_for 20 "$vostrel" status >/dev/null 2>&1 || fail "Vostrel did not answer on D-Bus"
sleep 2
uncovered || fail "a malformed schedule locked"
[ "$("$vostrel" defaults read scheduleSlots)" = "$before" ] || fail "the malformed schedule was rewritten"
stop_vostrel
"$vostrel" defaults delete scheduleSlots

step "Do Not Disturb turning on locks"
"$vostrel" defaults write focusModeAutoLock true
"$notificationserver" &
server_pid=$!
pids+=("$server_pid")
wait_for 10 bash -c "dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner string:org.freedesktop.Notifications | grep -q 'boolean true'" ||
    fail "the stand-in notification server did not start"
start_vostrel
wait_for 20 "$vostrel" status >/dev/null 2>&1 || fail "Vostrel did not answer on D-Bus"
set_dnd true
wait_for 10 covered || fail "no lock after Do Not Disturb turned on: '$(panel_geometries)'"
wait_for 10 bash -c "'$vostrel' status | grep -q 'Screen locked. Keeping awake.'" ||
    fail "status under Do Not Disturb: '$("$vostrel" status)'"

step "one lock per Do Not Disturb period"
"$vostrel" unlock 1234 || fail "the PIN was refused"
wait_for 5 uncovered || fail "the lock stayed up after unlocking"
set_dnd true
sleep 1
uncovered || fail "a second lock in the same Do Not Disturb period"
set_dnd false
set_dnd true
wait_for 10 covered || fail "no lock in the next Do Not Disturb period"
"$vostrel" unlock 1234 || fail "the PIN was refused"
wait_for 5 uncovered || fail "the lock stayed up after unlocking"

step "the notification server vanishing neither locks nor crashes"
set_dnd false
kill "$server_pid"
wait "$server_pid" 2>/dev/null || true
sleep 1
"$vostrel" status >/dev/null || fail "Vostrel stopped answering after the server left"
uncovered || fail "the server leaving locked"

echo "PASS"
