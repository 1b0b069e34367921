#!/usr/bin/env bash
# Other clients against the lock (run inside scripts/with-session): one that
# raises an override-redirect window above the panels every 50 ms, and one
# that holds the keyboard when the lock is raised.
#   hostile.sh VOSTREL XCLIENT
set -euo pipefail

vostrel=$(realpath "$1")
xclient=$2
work="$VOSTREL_SESSION_DIR/e2e-hostile"
mkdir -p "$work"
shots=${VOSTREL_E2E_ARTIFACTS:-$work}
mkdir -p "$shots"
source "$(dirname "$0")/common.sh"

xsetroot -solid '#ff00ff'
"$vostrel" defaults write app.vostrel.pin.stored "$pin_1234" --string
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
kill -USR1 "$holder"
wait_for 10 test -s "$work/grab-latency" || fail "no grab latency measured"
latency=$(cat "$work/grab-latency")
echo "   the lock had the keyboard ${latency} ms after the other client let go"
[ "$latency" -ge 0 ] && [ "$latency" -le 100 ] || fail "grab latency ${latency} ms"
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

echo "PASS"
