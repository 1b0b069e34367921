#!/usr/bin/env bash
# The tray icon and its panel from end to end, with trayer as the system tray
# on a private Xvfb (run inside scripts/with-session): the icon, the panel
# opening under it, keep-awake from the panel with its countdown, refused
# when no inhibitor service is there, Lock Now and Quit, and screenshots of
# the open panel idle, refused and keeping awake.
#   tray.sh VOSTREL STANDINS
# Screenshots are kept in $VOSTREL_E2E_ARTIFACTS when it is set.
set -euo pipefail

vostrel=$(realpath "$1")
standins=$2
work="$VOSTREL_SESSION_DIR/e2e-tray"
mkdir -p "$work"
shots=${VOSTREL_E2E_ARTIFACTS:-$work}
mkdir -p "$shots"
log="$work/vostrel.log"

vostrel_pid=""
source "$(dirname "$0")/common.sh"

# "W H X Y" of the tray icon's window, embedded in trayer's panel. The
# settings window that the launch opens has the same class.
tray_icon() {
    xwininfo -root -tree | awk '/\("vostrel" "vostrel"\)/ && !/"Vostrel Settings/ {
        split($0, a, /\)  */); split(a[2], g, /[x+ ]+/);
        print g[1], g[2], g[5], g[6]; exit }'
}
# "X Y" of the mapped panel, empty while it is closed.
panel_origin() {
    local id
    id=$(xwininfo -root -children | awk '/"Vostrel panel/ {print $1; exit}')
    [ -n "$id" ] || return 0
    xwininfo -id "$id" 2>/dev/null | awk '/Map State: IsViewable/ {v=1} /Absolute upper-left X/ {x=$4}
        /Absolute upper-left Y/ {y=$4} /Width:/ {w=$2} /Height:/ {h=$2}
        END {if (v && w == 280 && h == 420) print x, y}'
}
panel_open() { [ -n "$(panel_origin)" ]; }
panel_closed() { [ -z "$(panel_origin)" ]; }
status_is() { [ "$("$vostrel" status 2>/dev/null)" = "$1" ]; }

# A row of the panel, by its offset from the panel's top left corner.
click_panel() {
    read -r px py <<<"$(panel_origin)"
    xdotool mousemove $((px + $1)) $((py + $2)) click 1
}
# Rows of the panel as it lays them out (see TrayPanel.qml).
row_first_of_section=84 # "Indefinitely", or "Stop Tambering" while keeping awake
row_fifteen=114
row_lock_idle=230
row_x=80

# The panel and the desktop around it.
shoot_panel() {
    sleep 0.4
    import -window root -crop 760x520+1160+0 +repage "$shots/$1"
}

start_vostrel() {
    QT_LOGGING_RULES="vostrel.tray*.debug=true" "$vostrel" "$@" >"$log" 2>&1 &
    vostrel_pid=$!
    pids+=("$vostrel_pid")
    wait_for 20 "$vostrel" status >/dev/null 2>&1 || fail "Vostrel did not answer on D-Bus"
    wait_for 10 bash -c '[ -n "$(xwininfo -root -tree | grep "(\"vostrel\" \"vostrel\")")" ]' ||
        fail "no tray icon in the tray"
    # The icon's window shows at 0,0 for a moment before trayer embeds it.
    wait_for 10 icon_embedded || fail "the tray icon was not embedded: '$(tray_icon)'"
}
icon_embedded() {
    local w h x y
    read -r w h x y <<<"$(tray_icon)"
    [ "${x:-0}" -gt 0 ]
}

xsetroot -solid '#4b5a6b'
"$vostrel" defaults write app.vostrel.pin.stored "$pin_1234" --string
"$vostrel" defaults write hasCompletedOnboarding true

step "trayer as the tray, no inhibitor service yet"
trayer --edge top --align right --widthtype pixel --width 200 --height 32 --monitor 0 \
    >"$work/trayer.log" 2>&1 &
pids+=($!)
wait_for 10 bash -c 'xwininfo -root -children | grep -q "(\"panel\" \"trayer\")"' ||
    fail "trayer did not start"

step "the icon is in the tray"
start_vostrel
read -r iw ih ix iy <<<"$(tray_icon)"
[ "$iw" -gt 0 ] && [ "$ih" -gt 0 ] || fail "tray icon geometry: '$(tray_icon)'"
((ix >= 1720 && ix + iw <= 1920 && iy + ih <= 32)) || fail "icon outside the tray: $ix $iy"
panel_closed || fail "a panel is open before any click"

step "clicking the icon opens the panel under it"
xdotool mousemove $((ix + iw / 2)) $((iy + ih / 2)) click 1
wait_for 5 panel_open || fail "no panel after clicking the icon"
read -r px py <<<"$(panel_origin)"
[ "$py" -eq $((iy + ih + 4)) ] || fail "panel top $py, icon bottom $((iy + ih))"
# Centred under the icon unless that would leave the monitor.
expected_x=$((ix + iw / 2 - 140))
((expected_x + 280 > 1920)) && expected_x=$((1920 - 280))
[ "$px" -eq "$expected_x" ] || fail "panel left $px, expected $expected_x"
shoot_panel panel-idle.png

step "clicking the icon again closes it"
xdotool mousemove $((ix + iw / 2)) $((iy + ih / 2)) click 1
wait_for 5 panel_closed || fail "the second click left the panel open"
sleep 0.5
panel_closed || fail "the panel reopened after the second click"

step "a click outside closes it"
xdotool mousemove $((ix + iw / 2)) $((iy + ih / 2)) click 1
wait_for 5 panel_open || fail "no panel after clicking the icon"
xdotool mousemove 600 700 click 1
wait_for 5 panel_closed || fail "a click on the desktop left the panel open"

step "with no inhibitor service, 'For 15 minutes' and keep-awake are refused and say why"
xdotool mousemove $((ix + iw / 2)) $((iy + ih / 2)) click 1
wait_for 5 panel_open || fail "no panel after clicking the icon"
read -r px py <<<"$(panel_origin)"
header() { import -window root -crop 260x60+"$((px + 10))"+"$py" png:- | md5sum; }
header_changed() { [ "$(header)" != "$before" ]; }
sleep 0.4
before=$(header)
click_panel $row_x $row_fifteen
wait_for 5 bash -c "'$vostrel' status | grep -q '^Vostrel: Idle. Cannot keep awake: no screen saver'" ||
    fail "status after a refused 'For 15 minutes': $("$vostrel" status)"
shoot_panel panel-refused.png
wait_for 5 header_changed || fail "the panel does not say why"
xdotool mousemove 600 700 click 1
wait_for 5 panel_closed || fail "a click on the desktop left the panel open"
set +e
said=$("$vostrel" keep-awake 5 2>&1)
code=$?
set -e
[ "$code" = 1 ] || fail "keep-awake with nothing to grant it exited $code"
[[ "$said" == "vostrel: Cannot keep awake: no screen saver"*"no logind" ]] || fail "keep-awake said '$said'"

step "stand-in screen saver and logind"
"$standins" "$work/inhibit" &
pids+=($!)
wait_for 5 test -s "$work/inhibit" || fail "the stand-ins did not start"

step "'For 15 minutes' keeps awake, the section turns to 'Stop Tambering', the tool tip counts down"
xdotool mousemove $((ix + iw / 2)) $((iy + ih / 2)) click 1
wait_for 5 panel_open || fail "no panel after clicking the icon"
before=$(import -window root -crop 280x140+"$px"+"$((py + 60))" png:- | md5sum)
click_panel $row_x $row_fifteen
wait_for 5 status_is "Vostrel: Keeping awake. " || fail "status after 'For 15 minutes': $("$vostrel" status)"
panel_open || fail "the panel closed after a keep-awake row"
wait_for 5 grep -q 'tool tip "Vostrel 15:00"' "$log" || fail "the tool tip shows no countdown"
wait_for 5 grep -q 'tool tip "Vostrel 14:58"' "$log" || fail "the tool tip does not count down"
shoot_panel panel-keeping-awake.png
after=$(import -window root -crop 280x140+"$px"+"$((py + 60))" png:- | md5sum)
[ "$before" != "$after" ] || fail "the keep-awake section did not change"
# The section's first row is now the stop row.
click_panel $row_x $row_first_of_section
wait_for 5 status_is "Vostrel: Idle." || fail "the first row did not stop keeping awake: $("$vostrel" status)"
wait_for 5 grep -q 'tool tip "Vostrel"$' "$log" || fail "the countdown stayed in the tool tip"
xdotool mousemove 600 700 click 1
wait_for 5 panel_closed || fail "a click on the desktop left the panel open"

step "'Lock Now' closes the panel and locks"
xdotool mousemove $((ix + iw / 2)) $((iy + ih / 2)) click 1
wait_for 5 panel_open || fail "no panel after clicking the icon"
click_panel $row_x $row_lock_idle
wait_for 5 panel_closed || fail "the panel stayed open after 'Lock Now'"
wait_for 10 status_is "Vostrel: Screen locked. Keeping awake. " ||
    fail "status after 'Lock Now': $("$vostrel" status)"
wait_for 10 bash -c "[ \$(xwininfo -root -children | grep '\"Vostrel\":' | grep -c ' 1920x1080+') -ge 2 ]" ||
    fail "the lock does not cover both monitors"
"$vostrel" unlock 1234 >/dev/null || fail "unlock with the PIN failed"

step "'Quit Vostrel' while keeping awake lets go of the inhibitors and ends the application"
status_is "Vostrel: Keeping awake. " || fail "status before quitting: $("$vostrel" status)"
xdotool mousemove $((ix + iw / 2)) $((iy + ih / 2)) click 1
wait_for 5 panel_open || fail "no panel after clicking the icon"
click_panel $row_x 404
wait_for 10 bash -c "! kill -0 $vostrel_pid 2>/dev/null" || fail "Vostrel still runs after 'Quit Vostrel'"
wait_for 5 grep -q 'screensaver-held=0 .* logind-held=0' "$work/inhibit" ||
    fail "inhibitors held after quitting: $(cat "$work/inhibit")"

echo "PASS"
