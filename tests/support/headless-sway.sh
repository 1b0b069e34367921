#!/usr/bin/env bash
# A headless sway for tests, from the system or from a Debian root made with
# debootstrap (a newer sway than the system's).
#
#   headless-sway.sh start ROOT OUTPUTS [BACKGROUND]
#       starts sway with OUTPUTS headless outputs ("/" as ROOT: the system's
#       sway) and prints the absolute path of its Wayland socket; clients of
#       the host reach it by that path, swaymsg through the sway-ipc.*.sock
#       beside it.
#   headless-sway.sh stop SOCKET
#       stops the sway that owns SOCKET and removes its folder.
# A sway that is never stopped ends by itself after $HEADLESS_SWAY_LIFETIME
# seconds (300 unless set), so that a killed test leaves none behind.
#
# sway refuses to run as root, so as root it runs as nobody, in a runtime
# folder of nobody's. In a root it also needs /proc and a tmpfs on /dev/shm
# (without one every output fails to allocate its buffers); both are mounted
# in a mount namespace of sway's own, so nothing is left mounted when it ends.
set -euo pipefail

usage() { echo "usage: $0 start ROOT OUTPUTS [BACKGROUND] | stop SOCKET" >&2; exit 2; }

start() {
    local root=${1%/} outputs=$2 background=${3:-#ff00ff}
    [ -x "${root}/usr/bin/sway" ] || { echo "headless-sway: no sway in '${1}'" >&2; exit 1; }
    local dir
    dir=$(mktemp -d "${root}/tmp/vostrel-sway.XXXXXX")
    chmod 711 "$dir"
    mkdir -m 700 "$dir/runtime"
    local inside=${dir#"$root"}
    local as_sway=()
    if [ "$(id -u)" = 0 ]; then
        chown 65534:65534 "$dir/runtime"
        as_sway=(setpriv --reuid=65534 --regid=65534 --clear-groups)
    fi
    # No Xwayland is installed; a desktop of one known colour shows any
    # pixel that a client leaves uncovered.
    cat >"$dir/config" <<CONF
xwayland disable
output * bg $background solid_color
CONF
    chmod 644 "$dir/config"
    local env=(timeout "${HEADLESS_SWAY_LIFETIME:-300}" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin XDG_RUNTIME_DIR="$inside/runtime"
        WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1
        WLR_HEADLESS_OUTPUTS="$outputs" sway -c "$inside/config")
    if [ -z "$root" ]; then
        setsid "${as_sway[@]}" "${env[@]}" >"$dir/sway.log" 2>&1 </dev/null &
    else
        # The namespace's mounts go with sway, as does its private /dev/shm.
        setsid unshare --mount --propagation private sh -c '
            root=$1; shift
            mount -t proc proc "$root/proc" &&
            mount -t tmpfs -o mode=1777,size=256m shm "$root/dev/shm" &&
            exec chroot "$root" "$@"' sh "$root" "${as_sway[@]}" "${env[@]}" \
            >"$dir/sway.log" 2>&1 </dev/null &
    fi
    echo $! >"$dir/pid"
    local socket="" deadline=$((SECONDS + 20))
    while [ -z "$socket" ]; do
        socket=$(find "$dir/runtime" -maxdepth 1 -name 'wayland-*' -type s 2>/dev/null | head -n 1)
        if [ -z "$socket" ]; then
            if ((SECONDS >= deadline)) || ! kill -0 "$(cat "$dir/pid")" 2>/dev/null; then
                echo "headless-sway: sway did not start:" >&2
                cat "$dir/sway.log" >&2
                stop_dir "$dir"
                exit 1
            fi
            sleep 0.05
        fi
    done
    echo "$socket"
}

stop_dir() {
    local dir=$1 pid
    pid=$(cat "$dir/pid" 2>/dev/null || true)
    if [ -n "$pid" ]; then
        # setsid made sway's starter a group leader: the group holds sway.
        kill -TERM -- "-$pid" 2>/dev/null || true
        local deadline=$((SECONDS + 5))
        while kill -0 -- "-$pid" 2>/dev/null && ((SECONDS < deadline)); do sleep 0.05; done
        kill -KILL -- "-$pid" 2>/dev/null || true
    fi
    rm -rf "$dir"
}

case "${1:-}" in
start) [ $# -ge 3 ] || usage; start "$2" "$3" "${4:-}" ;;
stop)
    [ $# -eq 2 ] || usage
    dir=$(dirname "$(dirname "$2")")
    [ -f "$dir/pid" ] || { echo "headless-sway: no sway started for '$2'" >&2; exit 1; }
    stop_dir "$dir"
    ;;
*) usage ;;
esac
