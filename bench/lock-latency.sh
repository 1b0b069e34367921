#!/usr/bin/env bash
# Lock latency and memory of the built application, inside a private session
# (run through scripts/with-session; scripts/bench does that).
#   lock-latency.sh APP_BUILD_DIR [BENCH_BUILD_DIR]
set -euo pipefail
build=$1
vostrel="$build/bin/vostrel"
latency="${2:-$build}/bench/vostrel-bench-locklatency"
source "$(dirname "$0")/../tests/e2e/common.sh"
"$vostrel" defaults write app.vostrel.pin.stored "$pin_1234" --string >/dev/null

"$vostrel" >/dev/null 2>&1 &
app=$!
trap 'kill $app 2>/dev/null || true' EXIT
for _ in $(seq 200); do "$vostrel" status >/dev/null 2>&1 && break; sleep 0.05; done

rss() { awk '/VmRSS/ {printf "%.1f MB", $2 / 1024}' "/proc/$app/status"; }
sleep 2
echo "resident memory, idle before the first lock: $(rss)"
monitors=$(xrandr --listmonitors | awk 'NR > 1 {print $3}' | sed -E 's#/[0-9]+##g' | paste -sd,)
"$latency" lock 20 --warmup 1 --pin 1234 --dbus --monitors "$monitors"
echo "resident memory, idle after 20 locks: $(rss)"
"$vostrel" lock
sleep 1
echo "resident memory, locked: $(rss)"
"$vostrel" unlock 1234
