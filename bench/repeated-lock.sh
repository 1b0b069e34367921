#!/usr/bin/env bash
# Locks and unlocks the running application through D-Bus many times and
# reports what is left behind: windows, inhibitors, guards, file
# descriptors, threads, an X grab, and the growth of resident memory.
# Run inside scripts/with-session (scripts/bench does that).
#   repeated-lock.sh BUILD_DIR [CYCLES]
set -euo pipefail
build=$1
cycles=${2:-1000}
vostrel=$(realpath "$build/bin/vostrel")
work="$VOSTREL_SESSION_DIR/repeated"
mkdir -p "$work"
source "$(dirname "$0")/../tests/e2e/common.sh"
"$vostrel" defaults write app.vostrel.pin.stored "$pin_1234" --string >/dev/null

"$build/tests/e2e/e2e_standins" "$work/inhibit" &
standins=$!
"$vostrel" >"$work/vostrel.log" 2>&1 &
app=$!
trap 'kill $app $standins 2>/dev/null || true' EXIT
for _ in $(seq 200); do "$vostrel" status >/dev/null 2>&1 && break; sleep 0.05; done

rss_kb() { awk '/VmRSS/ {print $2}' "/proc/$app/status"; }
fds() { ls "/proc/$app/fd" | wc -l; }
threads() { ls "/proc/$app/task" | wc -l; }
windows() { xwininfo -root -tree | grep -c '"Vostrel"' || true; }
viewable_panels() {
    local n=0
    for id in $(xwininfo -root -children | awk '/"Vostrel"/ {print $1}'); do
        xwininfo -id "$id" | grep -q IsViewable && n=$((n + 1))
    done
    echo $n
}
cycle() {
    "$vostrel" lock
    "$vostrel" unlock 1234 >/dev/null
}

for _ in $(seq 10); do cycle; done
sleep 3  # past the heap trim that follows an unlock
base_rss=$(rss_kb) base_fds=$(fds) base_threads=$(threads) base_windows=$(windows)
start=$SECONDS
samples=""
for i in $(seq $((cycles - 10))); do
    cycle
    # Where the growth happens: early (caches filling) or all along (a leak).
    [ $((i % 100)) -eq 0 ] && samples+=" $(($(rss_kb) / 1024))"
done
elapsed=$((SECONDS - start))
sleep 3  # past the heap trim that follows an unlock
"$vostrel" stop-keep-awake
sleep 0.5

end_rss=$(rss_kb)
grab="free"
"$build/tests/e2e/e2e_xclient" hold-grab "$work/none" >"$work/grab.out" 2>&1 &
probe=$!
sleep 0.5
grep -q grabbed "$work/grab.out" || grab="HELD by someone"
kill $probe 2>/dev/null || true

echo "lock/unlock cycles:        $cycles ($((cycles - 10)) measured, ${elapsed} s)"
echo "resident memory:           $((base_rss / 1024)) MB after 10 cycles, $((end_rss / 1024)) MB after $cycles (growth $(((end_rss - base_rss))) kB)"
echo "resident memory every 100:  ${samples# } MB"
echo "file descriptors:          $base_fds -> $(fds)"
echo "threads:                   $base_threads -> $(threads)"
echo "Vostrel windows:           $base_windows -> $(windows) (viewable panels now: $(viewable_panels))"
echo "guard processes left:      $(pgrep -fc "^$(dirname "$vostrel")/vostrel-guard" || true)"
echo "inhibitors:                $(cat "$work/inhibit")"
echo "keyboard grab:             $grab"
