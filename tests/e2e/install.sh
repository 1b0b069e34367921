#!/usr/bin/env bash
# The installed application (run inside scripts/with-session): the Debian
# package builds and passes lintian; unpacked into a temporary root, its
# vostrel runs, its desktop entry, AppStream metadata and systemd unit are
# valid, and with no instance running `vostrel status` starts the installed
# application through D-Bus activation, on a session bus that reads the
# package's own D-Bus service file; its D-Bus interface file matches what
# that application publishes.
#   install.sh BUILD_DIR
# The package stays in BUILD_DIR/package (scripts/test installs that one for
# real when VOSTREL_TEST_DEB_INSTALL=1).
set -euo pipefail

build=$(realpath "$1")
work="$VOSTREL_SESSION_DIR/install"
mkdir -p "$work"
root="$work/root"
vostrel="$root/usr/bin/vostrel"

guard_binary="$root/usr/libexec/vostrel/vostrel-guard"
source "$(dirname "$0")/common.sh"
# The bus and the application it activates write here.
logs=("$work/bus.log")
app_pid=""
on_exit() { if [ -n "$app_pid" ]; then kill -KILL "$app_pid" 2>/dev/null || true; fi; }

step "the package builds"
rm -f "$build"/package/vostrel_*.deb
(cd "$build" && cpack -G DEB >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log" >&2; fail "cpack"; }
deb=$(ls "$build"/package/vostrel_*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6quick6 libical3 libqt6multimedia6 libxcb-screensaver0 qml6-module-qtquick-controls \
    qml6-module-qtquick-templates qml6-module-qtqml-workerscript qml6-module-qt5compat-graphicaleffects \
    adwaita-icon-theme; do
    # Debian 13 renamed libraries for 64-bit time_t: libical3 is libical3t64 there.
    grep -qE "(^|, )$needed(t64)?( |,|$)" <<<"$depends" || fail "Depends lacks $needed: $depends"
done

step "lintian finds no error"
lintian --fail-on error "$deb" >"$work/lintian.log" 2>&1 ||
    { cat "$work/lintian.log" >&2; fail "lintian"; }

step "unpacked into a temporary root, the installed vostrel runs"
dpkg-deb -x "$deb" "$root"
version=$("$vostrel" --version) || fail "vostrel --version exited $?"
[[ $version == "vostrel $(dpkg-deb -f "$deb" Version) (build "* ]] || fail "version: $version"
[ -x "$root/usr/libexec/vostrel/vostrel-guard" ] || fail "no crash guard in libexec/vostrel"
[ -x "$root/usr/libexec/vostrel/vostrel-app" ] || fail "no application in libexec/vostrel"
# The command line loads Qt Core and D-Bus only.
! ldd "$vostrel" | grep -qE 'libQt6(Gui|Quick|WebEngine)' || fail "vostrel loads the GUI libraries"
for size in 16 22 24 32 48 64 128 256 512; do
    icon="$root/usr/share/icons/hicolor/${size}x$size/apps/app.vostrel.Vostrel.png"
    [ "$(file -b "$icon" | grep -o "$size x $size")" = "$size x $size" ] || fail "icon $size: $(file -b "$icon")"
done
[ -s "$root/usr/share/icons/hicolor/scalable/apps/app.vostrel.Vostrel.svg" ] || fail "no scalable icon"
zcat "$root/usr/share/man/man1/vostrel.1.gz" | grep -q '^\.SH ENVIRONMENT' || fail "manual page"

step "desktop entry, AppStream metadata and systemd unit are valid"
desktop="$root/usr/share/applications/app.vostrel.Vostrel.desktop"
desktop-file-validate "$desktop" || fail "desktop-file-validate"
grep -qx 'Actions=lock-screen;keep-awake;get-status;' "$desktop" || fail "desktop actions"
grep -qx 'DBusActivatable=true' "$desktop" || fail "not D-Bus activatable"
appstreamcli validate --no-net "$root/usr/share/metainfo/app.vostrel.Vostrel.metainfo.xml" ||
    fail "appstreamcli validate"
unit="$root/usr/lib/systemd/user/app.vostrel.Vostrel.service"
grep -qx 'ExecStart=/usr/bin/vostrel --background' "$unit" || fail "unit ExecStart: $(grep ExecStart "$unit")"
if command -v systemd-analyze >/dev/null; then
    mkdir -p "$work/unit" "$work/runtime" && chmod 700 "$work/runtime"
    sed "s|^ExecStart=/usr/bin/vostrel |ExecStart=$vostrel |" "$unit" >"$work/unit/app.vostrel.Vostrel.service"
    complaints=$(XDG_RUNTIME_DIR="$work/runtime" systemd-analyze --man=no --user verify \
        "$work/unit/app.vostrel.Vostrel.service" 2>&1)
    [ -z "$complaints" ] || fail "systemd-analyze verify: $complaints"
else
    echo "   (systemd-analyze not installed: the unit is not verified)"
fi

step "the session bus starts the installed application on demand"
service="$root/usr/share/dbus-1/services/app.vostrel.Vostrel.service"
grep -qx 'Exec=/usr/bin/vostrel --background' "$service" || fail "D-Bus service Exec: $(grep Exec "$service")"
mkdir -p "$work/services"
# The one change: Exec points into the temporary root instead of /usr.
sed "s|^Exec=/usr/bin/vostrel |Exec=$vostrel |" "$service" >"$work/services/app.vostrel.Vostrel.service"
cat >"$work/bus.conf" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:path=$work/bus.sock</listen>
  <servicedir>$work/services</servicedir>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
CONF
export DBUS_SESSION_BUS_ADDRESS="unix:path=$work/bus.sock"
dbus-daemon --config-file="$work/bus.conf" --nofork --nopidfile >"$work/bus.log" 2>&1 &
pids+=($!)
wait_for 10 test -S "$work/bus.sock" || fail "the private bus did not start"
"$vostrel" defaults write app.vostrel.pin.stored "$pin_1234" --string
"$vostrel" defaults write hasCompletedOnboarding true

set +e
"$vostrel" unlock 1234 >/dev/null 2>&1
status=$?
set -e
[ "$status" = 3 ] || fail "unlock with nothing running exited $status, not 3"
[ -z "$(owner_pid)" ] || fail "unlock started Vostrel"

status_text=$("$vostrel" status) || fail "vostrel status exited $?"
[ "$status_text" = "Vostrel: Idle." ] || fail "status: '$status_text'"
app_pid=$(owner_pid)
[ -n "$app_pid" ] || fail "no process owns app.vostrel.Vostrel after the status call"
# vostrel hands over to the installed application, keeping its own name.
[ "$(readlink "/proc/$app_pid/exe")" = "$root/usr/libexec/vostrel/vostrel-app" ] ||
    fail "the bus name is owned by $(readlink "/proc/$app_pid/exe"), not the installed vostrel-app"
[ "$(tr '\0' ' ' <"/proc/$app_pid/cmdline")" = "$vostrel --background " ] ||
    fail "the application shows as '$(tr '\0' ' ' <"/proc/$app_pid/cmdline")', not as vostrel"

step "the installed interface file describes what the application publishes"
# Methods, signals and properties with their arguments' types, in order.
members() {
    python3 -c '
import sys, xml.etree.ElementTree as tree
iface = tree.fromstring(sys.stdin.read()).find("interface[@name=\x27app.vostrel.Vostrel\x27]")
for member in iface:
    args = [str(arg.get("direction")) + ":" + arg.get("type") for arg in member.iter("arg")]
    print(member.tag, member.get("name"), member.get("type", ""), *args)'
}
interface="$root/usr/share/dbus-1/interfaces/app.vostrel.Vostrel.xml"
[ -s "$interface" ] || fail "no D-Bus interface file in share/dbus-1/interfaces"
published=$(gdbus introspect --session --dest app.vostrel.Vostrel --object-path /app/vostrel/Vostrel --xml |
    members) || fail "cannot introspect the running application"
[ -n "$published" ] && [ "$(members <"$interface")" = "$published" ] ||
    fail "the interface file differs from the running application: $(members <"$interface") / $published"

step "the activated application locks with the installed guard, and unlocks"
"$vostrel" lock || fail "vostrel lock exited $?"
# No inhibitor services on this bus, so no "Keeping awake.": not the point here.
[[ "$("$vostrel" status)" == "Vostrel: Screen locked. "* ]] ||
    fail "status while locked: '$("$vostrel" status)'"
guard_running() {
    local child
    for child in $(cat /proc/"$app_pid"/task/*/children 2>/dev/null); do
        [ "$(readlink "/proc/$child/exe")" = "$root/usr/libexec/vostrel/vostrel-guard" ] && return 0
    done
    return 1
}
wait_for 10 guard_running || fail "the installed vostrel-guard was not started with the lock"
"$vostrel" unlock 1234 || fail "vostrel unlock exited $?"
guard_gone() { ! guard_running; }
wait_for 10 guard_gone || fail "the guard outlived the unlock"

kill -TERM "$app_pid"
wait_for 10 test ! -e "/proc/$app_pid" || fail "Vostrel did not end on SIGTERM"
app_pid=""
echo "PASS"
