#!/usr/bin/env bash
# Vostrel in a Wayland session (run inside scripts/with-session, for its
# buses and folders): a headless sway stands in for the desktop. Its panels
# would be ordinary windows there, so locking is refused on every path and
# the desktop stays as it was; keep-awake and the settings window still work.
#   wayland.sh VOSTREL STANDINS
# Screenshots are kept in $VOSTREL_E2E_ARTIFACTS when it is set.
set -euo pipefail

vostrel=$(realpath "$1")
standins=$2
work="$VOSTREL_SESSION_DIR/e2e-wayland"
mkdir -p "$work"
shots=${VOSTREL_E2E_ARTIFACTS:-$work}
mkdir -p "$shots"

source "$(dirname "$0")/common.sh"

for tool in sway swaymsg grim compare; do
    command -v "$tool" >/dev/null || fail "$tool is not installed (scripts/deps --test installs it)"
done
source "$(dirname "$0")/../support/sway-version.sh"
if system_sway_locks; then
    echo "SKIP: this sway offers the session lock; tests/e2e/sessionlock.sh locks it"
    exit 77
fi

# Xwayland is not installed; the desktop is magenta, so a change shows.
socket=$(timeout 30 "$(dirname "$0")/../support/headless-sway.sh" start / 1 '#ff00ff') ||
    fail "sway did not start"
on_exit() { "$(dirname "$0")/../support/headless-sway.sh" stop "$socket"; }
WAYLAND_DISPLAY=$socket
SWAYSOCK=$(find "$(dirname "$socket")" -maxdepth 1 -name 'sway-ipc.*.sock' | head -n 1)
export WAYLAND_DISPLAY SWAYSOCK XDG_SESSION_TYPE=wayland
unset DISPLAY
sway_windows() { swaymsg -t get_tree | grep -o '"name": "[^"]*"' | grep -v '"name": "\(root\|__i3\|__i3_scratch\|HEADLESS-[0-9]*\|[0-9]*\)"' || true; }

"$vostrel" defaults write app.vostrel.pin.stored "$pin_1234" --string
"$vostrel" defaults write hasCompletedOnboarding true
"$standins" "$work/inhibit" &
pids+=($!)

step "Vostrel starts in the Wayland session"
wait_for 10 grim "$shots/wayland-before.png" || fail "grim cannot take a screenshot"
"$vostrel" --background >"$work/vostrel.log" 2>&1 &
pids+=($!)
wait_for 20 "$vostrel" status >/dev/null 2>&1 || fail "Vostrel did not answer on D-Bus"
message="This Wayland session offers no secure lock (ext-session-lock-v1); Vostrel can lock X11 sessions, and Wayland sessions of sway, Hyprland, river, labwc, niri and COSMIC"
[ "$("$vostrel" status)" = "Vostrel: Idle. $message." ] || fail "status: $("$vostrel" status)"

step "vostrel lock is refused, saying why, and the desktop stays as it was"
# The desktop as it is now: sway's first frames may still be on their way
# when grim first works.
grim "$shots/wayland-before.png"
set +e
said=$("$vostrel" lock 2>&1)
status=$?
set -e
[ "$status" = 1 ] || fail "vostrel lock exited $status: $said"
[ "$said" = "vostrel: $message" ] || fail "vostrel lock said '$said'"
sleep 1.5
grim "$shots/wayland-after-lock.png"
changed=$(compare -metric AE "$shots/wayland-before.png" "$shots/wayland-after-lock.png" null: 2>&1 || true)
[ "$changed" = 0 ] || fail "$changed pixels of the desktop changed after the refused lock"
[ -z "$(sway_windows)" ] || fail "windows appeared: $(sway_windows)"
"$vostrel" status | grep -q "Screen locked" && fail "status says locked"

step "keep-awake and the settings window still work"
"$vostrel" keep-awake 5 || fail "keep-awake exited $?"
"$vostrel" status | grep -q "Keeping awake" || fail "status after keep-awake: $("$vostrel" status)"
"$vostrel" >/dev/null 2>&1 || fail "launching again did not reach the running instance"
wait_for 15 bash -c "swaymsg -t get_tree | grep -q '\"name\": \"Vostrel Settings'" ||
    fail "the settings window did not open; windows: $(sway_windows)"
sleep 1
grim "$shots/wayland-settings.png"
echo "PASS"
