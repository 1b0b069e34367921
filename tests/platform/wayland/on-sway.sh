#!/usr/bin/env bash
# Runs a backend test against a headless sway of 1.8 or later (OUTPUTS
# outputs, a magenta desktop): the system's where it is that new (Debian 13),
# else the one of the Debian 13 root, and then the system's older sway as
# well, which offers neither the session lock nor the idle notification
# ($VOSTREL_TEST_OLD_SWAY).
#   on-sway.sh OUTPUTS TEST_BINARY [ROOT]
# Exits 77 (skipped) when there is no such sway or no root rights to enter it.
set -euo pipefail

outputs=$1
binary=$2
sway=$(dirname "$0")/../../support/headless-sway.sh
source "$(dirname "$0")/../../support/sway-version.sh"
if system_sway_locks; then
    root=/
else
    root=${3:-${VOSTREL_DEBIAN13_ROOT:-/var/cache/vostrel/trixie}}
fi
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

socket=$(timeout 30 "$sway" start "$root" "$outputs" '#ff00ff')
sockets+=("$socket")
export WAYLAND_DISPLAY=$socket VOSTREL_TEST_ROOT=${root%/}/
SWAYSOCK=$(find "$(dirname "$socket")" -maxdepth 1 -name 'sway-ipc.*.sock' | head -n 1)
export SWAYSOCK
if command -v sway >/dev/null && ! system_sway_locks; then
    old=$(timeout 30 "$sway" start / 1)
    sockets+=("$old")
    export VOSTREL_TEST_OLD_SWAY=$old
fi
export QT_QPA_PLATFORM=offscreen QT_QUICK_BACKEND=software
timeout 150 "$binary"
