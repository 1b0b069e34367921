#!/usr/bin/env bash
# Installs the built Debian package into the real system with apt-get, starts
# the installed Vostrel under Xvfb, and removes the package again, with
# whatever it pulled in. It changes the system, so scripts/test runs it only
# when asked: VOSTREL_TEST_DEB_INSTALL=1 scripts/test.
#   deb-install.sh BUILD_DIR
# Apart from apt-get resolving the declared dependencies, it checks that every
# shared object the running application has loaded (Qt plugins and QML
# modules included, which no linker sees) belongs to a package the .deb
# depends on, directly or through others: on a machine that already has
# everything for building, that is what shows a dependency missing.
set -euo pipefail
cd "$(dirname "$0")/../.."

build=$(realpath "$1")
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive

common="$PWD/tests/e2e/common.sh"
source "$common"
logs=()

# The package e2e_install built, unless it is missing or older than the build.
deb=$(ls "$build"/package/vostrel_*.deb 2>/dev/null | head -n 1 || true)
if [ -z "$deb" ] || [ "$build/bin/vostrel" -nt "$deb" ]; then
    (cd "$build" && cpack -G DEB >/dev/null)
    deb=$(ls "$build"/package/vostrel_*.deb)
fi
if dpkg-query -W -f='${Status}' vostrel 2>/dev/null | grep -q 'install ok installed'; then
    fail "vostrel is installed on this system already; this check does not touch an existing installation"
fi

installed_packages() { dpkg-query -W -f='${db:Status-Abbrev} ${Package}\n' | awk '$1 == "ii" {print $2}' | sort; }
installed_packages >"$build/deb-install.before"
pulled=()
remove() {
    step "remove the package and what it pulled in"
    "${sudo_cmd[@]}" apt-get remove -y -q vostrel "${pulled[@]}" >/dev/null || true
    if dpkg-query -W -f='${Status}' vostrel 2>/dev/null | grep -q 'install ok installed'; then
        echo "FAIL: vostrel is still installed" >&2
        exit 1
    fi
}
trap remove EXIT

step "apt-get install $(basename "$deb")"
"${sudo_cmd[@]}" apt-get install -y -q "$(dirname "$deb")/$(basename "$deb")" >"$build/deb-install.log" 2>&1 ||
    { cat "$build/deb-install.log" >&2; fail "apt-get install"; }
installed_packages >"$build/deb-install.after"
mapfile -t pulled < <(comm -13 "$build/deb-install.before" "$build/deb-install.after" | grep -vx vostrel || true)
echo "   pulled in: ${pulled[*]:-(nothing; everything was installed already)}"
dpkg -L vostrel | grep -qx /usr/share/dbus-1/interfaces/app.vostrel.Vostrel.xml ||
    fail "the package does not install the D-Bus interface file"

step "the installed Vostrel starts under Xvfb, locks with its guard, and uses only what it depends on"
closure=$(apt-cache depends --recurse --installed --no-recommends --no-suggests --no-conflicts \
    --no-breaks --no-replaces --no-enhances vostrel | grep -vE '^\s|<' | sort -u)
# with-session runs its command in the background, where standard input is
# /dev/null: the script goes in as an argument.
session_script=$(cat <<'SESSION'
set -euo pipefail
closure=$1
work=$HOME
source "$2"
vostrel defaults write app.vostrel.pin.stored "$pin_1234" --string
vostrel defaults write hasCompletedOnboarding true
/usr/bin/vostrel >"$HOME/vostrel.log" 2>&1 &
app=$!
trap 'kill -KILL $app 2>/dev/null || true' EXIT
wait_for 30 vostrel status >/dev/null 2>&1 || fail "no answer to vostrel status"
[ "$(vostrel status)" = "Vostrel: Idle." ] || fail "status: $(vostrel status)"
vostrel lock
guard_running() {
    local child
    for child in $(cat /proc/"$app"/task/*/children 2>/dev/null); do
        [ "$(readlink "/proc/$child/exe")" = /usr/libexec/vostrel/vostrel-guard ] && return 0
    done
    return 1
}
wait_for 10 guard_running || fail "/usr/libexec/vostrel/vostrel-guard did not start with the lock"
# Loaded when present and done without otherwise: Qt's X11 plugin opens
# libXcursor for the desktop's cursor theme.
optional="libxcursor1"
undeclared=""
for object in $(awk '$6 ~ /\.so/ {print $6}' "/proc/$app/maps" | sort -u); do
    owner=$(dpkg -S "$object" 2>/dev/null | head -n 1 | cut -d: -f1) || true
    [ -n "$owner" ] || continue
    grep -qxF "$owner" <<<"$optional" && continue
    grep -qx "$owner" <<<"$closure" || undeclared+=" $owner($(basename "$object"))"
done
[ -z "$undeclared" ] || fail "loaded from packages the .deb does not depend on:$undeclared"
vostrel unlock 1234 || fail "unlock"
kill -TERM "$app"
wait "$app" 2>/dev/null || true
echo "   ok: $(vostrel --version)"
SESSION
)
scripts/with-session bash -c "$session_script" session "$closure" "$common" || fail "the installed application"
