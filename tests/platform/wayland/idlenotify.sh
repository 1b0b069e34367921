#!/usr/bin/env bash
# Runs tst_idlenotifytimesource against a headless sway 1.10 from a Debian 13
# root and, when the system's sway is older than 1.8, against that one too
# (it offers no ext-idle-notify-v1).
#   idlenotify.sh TEST_BINARY [ROOT]
# Exits 77 (skipped) when there is no such root or no root rights to enter it.
set -euo pipefail

binary=$1
root=${2:-${VOSTREL_TRIXIE_ROOT:-/var/cache/vostrel/trixie}}
sway=$(dirname "$0")/../../support/headless-sway.sh
if [ ! -x "$root/usr/bin/sway" ] || [ ! -x "$root/usr/bin/wtype" ]; then
    echo "SKIP: no Debian 13 root with sway and wtype at $root"
    exit 77
fi
if [ "$(id -u)" != 0 ]; then
    echo "SKIP: entering $root needs root"
    exit 77
fi

sockets=()
stop() {
    local socket
    for socket in "${sockets[@]}"; do "$sway" stop "$socket" || true; done
}
trap stop EXIT

socket=$(timeout 30 "$sway" start "$root" 1)
sockets+=("$socket")
export WAYLAND_DISPLAY=$socket VOSTREL_TEST_ROOT=$root
if command -v sway >/dev/null && ! sway --version | grep -q 'version 1\.\(8\|9\|1[0-9]\)'; then
    old=$(timeout 30 "$sway" start / 1)
    sockets+=("$old")
    export VOSTREL_TEST_OLD_SWAY=$old
fi
timeout 90 "$binary"
