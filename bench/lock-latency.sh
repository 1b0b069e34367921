#!/usr/bin/env bash
# Lock latency and memory of the built application, inside a private session
# (run through scripts/with-session; scripts/bench does that).
#   lock-latency.sh BUILD_DIR
set -euo pipefail
build=$1
vostrel="$build/bin/vostrel"
pin=$(python3 -c 'import base64; print(base64.b64encode(bytes(a ^ b for a, b in zip(b"1234", b"RiverOx"))).decode())')
"$vostrel" defaults write app.vostrel.pin.stored "$pin" --string >/dev/null

"$vostrel" >/dev/null 2>&1 &
app=$!
trap 'kill $app 2>/dev/null || true' EXIT
for _ in $(seq 200); do "$vostrel" status >/dev/null 2>&1 && break; sleep 0.05; done

rss() { awk '/VmRSS/ {printf "%.1f MB", $2 / 1024}' "/proc/$app/status"; }
sleep 2
echo "resident memory, idle before the first lock: $(rss)"
"$build/bench/vostrel-bench-locklatency" 20 1234 2
echo "resident memory, idle after 20 locks: $(rss)"
"$vostrel" lock
sleep 1
echo "resident memory, locked: $(rss)"
"$vostrel" unlock 1234
