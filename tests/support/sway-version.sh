# Sourced by the tests that need a headless sway: whether the system's sway
# offers the session lock and the idle notification (1.8 and later).
system_sway_locks() {
    command -v sway >/dev/null && sway --version | grep -q 'version 1\.\(8\|9\|[1-9][0-9]\)'
}
