# Sourced by scripts/debian13-root and scripts/test-debian13: where the
# Debian 13 root lives and how a command runs inside it.

# Other tools (the Wayland end-to-end test's sway) find the root here too.
debian13_root=${VOSTREL_DEBIAN13_ROOT:-/var/cache/vostrel/trixie}
# Written last when the root is made: a root without it was cut short.
debian13_stamp=$debian13_root/var/lib/vostrel/root-complete

debian13_require_root() {
    if [ "$(id -u)" -ne 0 ]; then
        echo "$(basename "$0"): needs root for debootstrap, mount and chroot (run it with sudo)" >&2
        exit 1
    fi
}

# Fails when anything of the host is mounted inside the root: deleting the
# root then would delete through the mount.
debian13_no_mounts_inside() {
    if findmnt -rn -o TARGET | grep -q -e "^$debian13_root/" -e "^$debian13_root\$"; then
        echo "$(basename "$0"): something is mounted inside $debian13_root:" >&2
        findmnt -rn -o TARGET | grep -e "^$debian13_root/" -e "^$debian13_root\$" >&2
        return 1
    fi
}

# debian13_run SRC COMMAND [ARGS...]: runs COMMAND inside the root with the
# tree SRC at /src and proc, sysfs, /dev and a fresh /dev/shm mounted.
# The mounts are made in a mount namespace of this command alone, so the
# host never sees them and they go with the command however it ends (a
# SIGKILL included); the trap inside also takes them down in order on
# every ordinary exit.
debian13_run() {
    local src=$1
    shift
    # Only what the build and the tests need crosses into the root, so
    # nothing of the host's paths leaks into the Debian 13 build.
    local env=(PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin
        HOME=/root LANG=C.UTF-8 TERM="${TERM:-dumb}" DEBIAN_FRONTEND=noninteractive)
    local name
    for name in CMAKE_C_COMPILER_LAUNCHER CMAKE_CXX_COMPILER_LAUNCHER \
        VOSTREL_BUILD_DIR VOSTREL_SANITIZE VOSTREL_TEST_DEB_INSTALL; do
        if [ -n "${!name:-}" ]; then env+=("$name=${!name}"); fi
    done
    unshare --mount --propagation private -- bash -euc '
        root=$1 src=$2 nenv=$3
        shift 3
        env=("${@:1:$nenv}")
        shift "$nenv"
        mounted=()
        cleanup() {
            local i
            for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
                umount -l "${mounted[i]}" 2>/dev/null || true
            done
        }
        trap cleanup EXIT
        trap "exit 130" INT
        trap "exit 143" TERM
        mnt() { mount "$@"; mounted+=("${!#}"); }
        mnt -t proc proc "$root/proc"
        mnt -t sysfs sysfs "$root/sys"
        mnt --rbind /dev "$root/dev"
        # Wayland compositors allocate their buffers here.
        mnt -t tmpfs -o mode=1777,nosuid,nodev tmpfs "$root/dev/shm"
        mkdir -p "$root/src"
        mnt --bind "$src" "$root/src"
        cp /etc/resolv.conf "$root/etc/resolv.conf"
        # Not exec: the trap must outlive the command.
        chroot "$root" /usr/bin/env -i "${env[@]}" "$@"
    ' bash "$debian13_root" "$src" "${#env[@]}" "${env[@]}" "$@"
}
