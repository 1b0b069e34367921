#!/usr/bin/env bash
# Vostrel side by side with i3lock and xsecurelock on one private display, as
# one Markdown table: lock and unlock latency, CPU while locked for every
# theme, the cost of the idle application, the task-monitor scan and
# start-up, each against its target. Run inside scripts/with-session
# (scripts/bench does). Progress goes to stderr, the table to stdout.
#
#   table.sh BENCH_BUILD_DIR APP_BUILD_DIR
#
# BENCH_BUILD_DIR holds bench/vostrel-bench-*; APP_BUILD_DIR holds
# bin/vostrel (and tests/e2e/e2e_standins, used when present).
#
#   VOSTREL_BENCH_RUNS          lock and unlock runs per locker (20)
#   VOSTREL_BENCH_CPU_SECONDS   each CPU-while-locked window (30)
#   VOSTREL_BENCH_IDLE_SECONDS  the idle application's CPU window (60)
#   VOSTREL_BENCH_STARTUPS      launches for the start-up figures (5)
set -euo pipefail

bench_build=$(realpath "$1")
app_build=$(realpath "$2")
here=$(cd "$(dirname "$0")" && pwd)
vostrel="$app_build/bin/vostrel"
latency="$bench_build/bench/vostrel-bench-locklatency"
proctree="$bench_build/bench/vostrel-bench-proctree"
runs=${VOSTREL_BENCH_RUNS:-20}
cpu_seconds=${VOSTREL_BENCH_CPU_SECONDS:-30}
idle_seconds=${VOSTREL_BENCH_IDLE_SECONDS:-60}
startups=${VOSTREL_BENCH_STARTUPS:-5}
work="$VOSTREL_SESSION_DIR/table"
mkdir -p "$work"
# The table goes to standard output, progress to standard error.
step_fd=2
source "$here/../tests/e2e/common.sh"
# An application build being linked right now: wait (2 minutes at most)
# until its binaries are there and stay the same size for 2 s.
settled() {
    local before
    local binaries=("$vostrel" "$app_build/bin/vostrel-app" "$app_build/bin/vostrel-guard")
    [ -x "${binaries[0]}" ] && [ -x "${binaries[1]}" ] && [ -x "${binaries[2]}" ] || return 1
    before=$(stat -c %s "${binaries[@]}")
    sleep 2
    [ "$before" = "$(stat -c %s "${binaries[@]}" 2>/dev/null)" ]
}
deadline=$((SECONDS + 120))
until settled; do
    ((SECONDS < deadline)) || { echo "table.sh: no application in $app_build/bin" >&2; exit 1; }
    echo "-- waiting for $app_build/bin/vostrel" >&2
    sleep 3
done
for tool in "$latency" "$proctree" "$bench_build/bench/vostrel-bench-processscan"; do
    [ -x "$tool" ] || { echo "table.sh: $tool is missing" >&2; exit 1; }
done
# We measure a copy of the application: a rebuild of APP_BUILD_DIR during the
# run cannot change it under us, and whatever stops processes by that build's
# path (the end-to-end tests' clean-up does) leaves ours alone.
mkdir -p "$work/app/bin"
cp "$app_build/bin/vostrel" "$app_build/bin/vostrel-app" "$app_build/bin/vostrel-guard" "$work/app/bin/"
vostrel="$work/app/bin/vostrel"

# i3lock as its users start it, kept in the foreground so that we know its
# process. xsecurelock as its users start it (blank saver, PAM through
# auth_x11), with XSECURELOCK_NO_COMPOSITE=1: with the Composite extension
# (Xvfb has it, though no compositing manager runs) it draws into the
# composite overlay window, which QueryTree does not list, and its only
# top-level window is an "obscurer" one pixel short of the screen on every
# side, so no check of the window tree could tell that it covers anything.
i3lock_cmd=(i3lock -n -c 000000)
xsecurelock_cmd=(xsecurelock)
export XSECURELOCK_NO_COMPOSITE=1

# Every process group we start, stopped on the way out. The application runs
# in a group of its own, so that its guard, its web engine and anything the
# guard might start go with it in one signal.
groups=()
app=""
cleanup() {
    local rc=$? g
    if [ -n "$app" ] && kill -0 "$app" 2>/dev/null; then
        timeout 5 "$vostrel" unlock 1234 >/dev/null 2>&1 || true
        kill -TERM -- "-$app" 2>/dev/null || true
        for _ in $(seq 50); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
    fi
    for g in "${groups[@]}"; do kill -TERM -- "-$g" 2>/dev/null || true; done
    sleep 0.2
    for g in "${groups[@]}"; do kill -KILL -- "-$g" 2>/dev/null || true; done
    for g in "${groups[@]}"; do wait "$g" 2>/dev/null || true; done
    exit $rc
}
trap cleanup EXIT INT TERM

# Starts COMMAND in a process group of its own (we run without job control,
# so setsid needs no fork and $! is the command itself).
start_group() {
    local out=$1
    shift
    setsid "$@" >>"$out" 2>&1 &
    groups+=($!)
    last_group=$!
}
stop_group() {
    local g=$1
    kill -TERM -- "-$g" 2>/dev/null || true
    for _ in $(seq 50); do kill -0 "$g" 2>/dev/null || break; sleep 0.1; done
    kill -KILL -- "-$g" 2>/dev/null || true
    wait "$g" 2>/dev/null || true
}

# Statistics of the numbers in FILE, one a line: "median p10 p90 min max n".
stats() {
    sort -g "$1" | awk '{v[NR] = $1} END {
        if (NR == 0) { print "- - - - - 0"; exit }
        m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
        p10 = int(0.1 * NR + 0.999999); if (p10 < 1) p10 = 1
        p90 = int(0.9 * NR + 0.999999); if (p90 < 1) p90 = 1
        print m, v[p10], v[p90], v[1], v[NR], NR }'
}
ms() { awk -v x="$1" 'BEGIN { if (x == "-") print "–"; else if (x >= 10) printf "%.0f ms", x; else printf "%.1f ms", x }'; }
# "median ms (p10–p90 a–b)" of a sample file.
latency_cell() {
    local m p10 p90 min max n
    read -r m p10 p90 min max n <<<"$(stats "$1")"
    [ "$n" -gt 0 ] || { echo "failed"; return; }
    local a b
    a=$(ms "$p10")
    b=$(ms "$p90")
    echo "$(ms "$m") (p10–p90 ${a% ms}–$b)"
}
median_of() { stats "$1" | cut -d' ' -f1; }
pct() { awk -v x="$1" 'BEGIN { if (x == "") print "failed"; else printf "%.2f %%", x }'; }
mb() { awk -v x="$1" 'BEGIN { if (x == "") print "failed"; else printf "%.0f MB", x / 1024 }'; }
# verdict EXPRESSION (awk, true when the target is met)
verdict() { awk "BEGIN { exit !($1) }" && echo "met" || echo "not met"; }

monitors=$(xrandr --listmonitors | awk 'NR > 1 {print $3}' | sed -E 's#/[0-9]+##g' | paste -sd,)
load_start=$(cut -d' ' -f1-3 /proc/loadavg)
"$vostrel" defaults write app.vostrel.pin.stored "$pin_1234" --string >/dev/null
"$vostrel" defaults write hasCompletedOnboarding true --bool >/dev/null
xsetroot -solid '#4b5a6b'
notes=()

# The desktop services a session would offer: inhibitors (stand-ins from the
# application's build when they are there) and an XEmbed tray.
standins="$app_build/tests/e2e/e2e_standins"
if [ -x "$standins" ]; then
    start_group "$work/standins.log" "$standins" "$work/inhibit"
    desktop_services="stand-in inhibitor services"
else
    desktop_services="no inhibitor services (e2e_standins not built)"
fi
start_group "$work/trayer.log" trayer --edge top --align right --widthtype pixel --width 200 \
    --height 32 --monitor 0
wait_for 10 bash -c 'xwininfo -root -children | grep -q "(\"panel\" \"trayer\")"' ||
    { echo "table.sh: trayer did not start" >&2; exit 1; }

# ---- Start-up: launch to D-Bus name, and to the icon in the tray.
step "start-up, $startups launches"
startup_name="failed" startup_tray="failed" startup_tray_median=""
if "$latency" startup "$startups" --output "$work/startup.log" -- "$vostrel" >"$work/startup.out" 2>&1; then
    for what in name tray; do
        awk -v key="result-$what:" '$1 == key { for (i = 2; i <= NF; ++i) { split($i, kv, "="); print kv[1], kv[2] } }' \
            "$work/startup.out" >"$work/startup-$what.kv"
    done
    kv() { awk -v k="$2" '$1 == k {print $2}' "$work/startup-$1.kv"; }
    if [ "$(kv name n)" -gt 0 ] 2>/dev/null; then
        startup_name="$(ms "$(kv name median)") ($(ms "$(kv name min)" | sed 's/ ms//')–$(ms "$(kv name max)"))"
    fi
    if [ "$(kv tray n)" -gt 0 ] 2>/dev/null; then
        startup_tray_median=$(kv tray median)
        startup_tray="$(ms "$startup_tray_median") ($(ms "$(kv tray min)" | sed 's/ ms//')–$(ms "$(kv tray max)"))"
        [ "$(kv tray n)" -eq "$startups" ] || notes+=("The tray icon did not show in $((startups - $(kv tray n))) of $startups launches.")
    fi
else
    sed 's/^/   /' "$work/startup.out" >&2
    notes+=("Start-up could not be measured: $(tail -n 1 "$work/startup.out").")
fi

# ---- The application for everything else, started as at login, in a
# process group of its own: its guard, its web engine, and an application the
# guard starts after a crash all go with it.
# Chromium refuses to run as root with its sandbox, and the web themes would
# take the application down with it.
if [ "$(id -u)" -eq 0 ]; then
    export QTWEBENGINE_DISABLE_SANDBOX=1
    notes+=("Run as root: QTWEBENGINE_DISABLE_SANDBOX=1 was set, without which the web engine aborts (and Vostrel with it) in the web themes.")
fi
start_app() {
    QSG_INFO=1 setsid "$vostrel" >>"$work/vostrel.log" 2>&1 &
    app=$!
    groups+=("$app")
    wait_for 20 "$vostrel" status >/dev/null 2>&1 || { echo "table.sh: Vostrel did not answer on D-Bus" >&2; exit 1; }
    sleep 3
}
app_alive() { [ -n "$(ps -o stat= -p "$app" 2>/dev/null | grep -v Z)" ]; }
# After a crash the guard covers the screen and starts the application again:
# the whole group goes, and a fresh application takes its place.
restart_app() {
    kill -KILL -- "-$app" 2>/dev/null || true
    wait "$app" 2>/dev/null || true
    "$latency" wait unlocked --monitors "$monitors" >&2 || true
    start_app
}
step "starting Vostrel"
start_app
rss_start=$("$proctree" rss "$app" | sed -nE 's/.* process=([0-9]+).*/\1/p') || rss_start=""

# ---- Lock latency: the lockers in turn, run after run, so that the load of
# the machine weighs on all of them alike. The first round is the warm-up
# (for Vostrel: the first lock after its start).
step "lock latency, $runs runs each (one warm-up)"
: >"$work/lock-cli" >"$work/lock-dbus" >"$work/lock-i3lock" >"$work/lock-xsecurelock"
left_overs=0
# lock_once NAME ARGS...: one run; the figure in $figure. Not in a command
# substitution: it counts left-over panels.
lock_once() {
    local name=$1 out n
    shift
    figure=""
    if ! out=$("$latency" lock 1 --monitors "$monitors" --output "$work/$name.log" "$@" 2>&1); then
        echo "$out" | sed 's/^/   /' >&2
        return 1
    fi
    n=$(awk '/^left-over:/ {print $2}' <<<"$out")
    left_overs=$((left_overs + ${n:-0}))
    figure=$(awk '/^result:/ { for (i = 2; i <= NF; ++i) { split($i, kv, "="); if (kv[1] == "median") print kv[2] } }' <<<"$out")
}
first_cli="" first_dbus="" first_i3lock="" first_xsecurelock=""
lock_failed=()
for round in $(seq 0 "$runs"); do
    for name in cli dbus i3lock xsecurelock; do
        case $name in
        cli) args=(--pin 1234 -- "$vostrel" lock) ;;
        dbus) args=(--pin 1234 --dbus) ;;
        i3lock) args=(-- "${i3lock_cmd[@]}") ;;
        xsecurelock) args=(-- "${xsecurelock_cmd[@]}") ;;
        esac
        if ! lock_once "$name" "${args[@]}"; then
            lock_failed+=("$name")
            # A locker that failed leaves nothing up; the screen must be free
            # for the next one.
            "$latency" wait unlocked --monitors "$monitors" --pin 1234 >/dev/null 2>&1 || true
            continue
        fi
        if [ "$round" -eq 0 ]; then
            printf -v "first_$name" '%s' "$figure"
        else
            echo "$figure" >>"$work/lock-$name"
        fi
    done
    if ((round % 5 == 0)); then step "  round $round of $runs"; fi
done
[ ${#lock_failed[@]} -eq 0 ] ||
    notes+=("Lock runs that failed: $(printf '%s\n' "${lock_failed[@]}" | sort | uniq -c | awk '{printf "%s%s ×%s", sep, $2, $1; sep=", "}').")

# ---- Unlock latency: the PIN typed on the keyboard.
step "unlock latency, $runs runs"
unlock_cell="failed" unlock_median=""
if "$latency" unlock "$runs" 1234 --monitors "$monitors" >"$work/unlock.out" 2>&1; then
    :
else
    sed 's/^/   /' "$work/unlock.out" >&2
fi
if grep -q '^result: n=[1-9]' "$work/unlock.out"; then
    grep -E '^run +[0-9]+: [0-9.]+ ms' "$work/unlock.out" | awk '{print $3}' >"$work/unlock"
    unlock_cell=$(latency_cell "$work/unlock")
    unlock_median=$(median_of "$work/unlock")
fi
n=$(awk '/^left-over:/ {print $2}' "$work/unlock.out")
left_overs=$((left_overs + ${n:-0}))
n=$(awk '/^failures:/ {print $2}' "$work/unlock.out")
[ -z "$n" ] || notes+=("The typed PIN did not unlock in $n of $runs runs.")

# ---- The idle application, after all those locks.
step "idle application, ${idle_seconds} s"
sleep 5
idle_cpu=$("$proctree" cpu "$app" "$idle_seconds" | sed -nE 's/.*percent=([0-9.]+).*/\1/p') || idle_cpu=""
rss_after=$("$proctree" rss "$app" | sed -nE 's/.* process=([0-9]+).*/\1/p') || rss_after=""
locks_so_far=$(((runs + 1) * 2 + runs))

# ---- CPU while locked: Vostrel in every theme, i3lock, xsecurelock.
printf '<!doctype html><html><head><meta charset="utf-8"><title>Vostrel bench</title>\n<style>body{margin:0;background:#12202e;color:#e8eef4;font:48px sans-serif;display:flex;align-items:center;justify-content:center;height:100vh}</style></head>\n<body><p>Away for a moment</p></body></html>\n' \
    >"$work/page.html"
convert -size 1920x1080 gradient:'#1d3557-#e76f51' "$work/photo.jpg"
mkdir -p "$work/site"
cp "$work/page.html" "$work/site/index.html"
# The website theme wants an address: a server of our own, on loopback only.
: >"$work/http.port"
setsid python3 -c '
import functools, http.server, sys
handler = functools.partial(http.server.SimpleHTTPRequestHandler, directory=sys.argv[1])
server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
print(server.server_address[1], flush=True)
server.serve_forever()' "$work/site" >"$work/http.port" 2>"$work/http.log" &
groups+=($!)
wait_for 10 test -s "$work/http.port" || { echo "table.sh: the page server did not start" >&2; exit 1; }
"$vostrel" defaults write customPhotoPath "$work/photo.jpg" --string >/dev/null
"$vostrel" defaults write customHTMLPath "$work/page.html" --string >/dev/null
"$vostrel" defaults write customWebsiteURL "http://127.0.0.1:$(head -n 1 "$work/http.port")/" --string >/dev/null

# cpu_locked THEME MOTION: the application locked in THEME; sets
# $cpu_percent and $cpu_processes, empty when the lock did not come up.
rss_locked="" rss_locked_tree=""
cpu_locked() {
    local theme=$1 motion=$2 out settle=3 n
    cpu_percent="" cpu_processes=""
    "$vostrel" defaults write selectedTheme "$theme" --string >/dev/null
    "$vostrel" defaults write overlayBackgroundMotion "$motion" --bool >/dev/null
    sleep 1
    "$vostrel" lock >/dev/null 2>&1 || return 0
    if ! "$latency" wait locked --monitors "$monitors" --timeout 15000 >&2; then
        "$latency" wait unlocked --monitors "$monitors" --pin 1234 >/dev/null 2>&1 || true
        return 0
    fi
    case $theme in custom_html | custom_website) settle=6 ;; esac
    sleep "$settle"
    out=$("$proctree" cpu "$app" "$cpu_seconds") || out=""
    if [ "$theme" = live_blur ] && [ "$motion" = true ]; then
        out_rss=$("$proctree" rss "$app") || out_rss=""
        rss_locked=$(sed -nE 's/.* process=([0-9]+).*/\1/p' <<<"$out_rss")
        rss_locked_tree=$(sed -nE 's/.* tree=([0-9]+).*/\1/p' <<<"$out_rss")
    fi
    "$vostrel" unlock 1234 >/dev/null 2>&1 || true
    n=$("$latency" wait unlocked --monitors "$monitors" --pin 1234 2>&1 | awk '/^left-over:/ {print $2}') || true
    left_overs=$((left_overs + ${n:-0}))
    cpu_percent=$(sed -nE 's/.*percent=([0-9.]+) .*/\1/p' <<<"$out")
    cpu_processes=$(sed -nE 's/.*processes=(.*)/\1/p' <<<"$out")
}
# cpu_other NAME COMMAND...: another locker; sets $other_cpu and $other_rss
# (kB, with its children), empty when it did not lock.
cpu_other() {
    local name=$1 g
    shift
    other_cpu="" other_rss=""
    start_group "$work/$name-cpu.log" "$@"
    g=$last_group
    if "$latency" wait locked --monitors "$monitors" --timeout 15000 >&2; then
        sleep 1
        other_cpu=$("$proctree" cpu "$g" "$cpu_seconds" | sed -nE 's/.*percent=([0-9.]+) .*/\1/p') || other_cpu=""
        other_rss=$("$proctree" rss "$g" | sed -nE 's/.* tree=([0-9]+).*/\1/p') || other_rss=""
    fi
    stop_group "$g"
    "$latency" wait unlocked --monitors "$monitors" >&2 || true
}

themes=(
    "live_blur|Live Blur (default)"
    "av_dark|Ashvale Dark"
    "minimal_dark|Minimal Dark"
    "minimal_light|Minimal Light"
    "av_yellow|Quessel Yellow"
    "glass|Frosted Glass"
    "custom_photo|Custom Photo"
    "custom_html|Custom HTML"
    "custom_website|Custom Website"
    "deep_ocean|Deep Ocean"
    "aurora|Aurora"
    "sunset|Sunset"
    "nebula|Nebula"
    "charcoal|Charcoal Mist"
)
declare -A theme_cpu theme_note
step "CPU while locked, ${cpu_seconds} s each: default theme with motion on and off"
cpu_locked live_blur true
default_on=$cpu_percent
app_alive || { notes+=("Vostrel crashed while locked in the default theme."); restart_app; }
cpu_locked live_blur false
default_off=$cpu_percent
app_alive || { notes+=("Vostrel crashed while locked in the default theme, motion off."); restart_app; }
for entry in "${themes[@]:1}"; do
    id=${entry%%|*}
    step "  $id"
    cpu_locked "$id" true
    theme_cpu[$id]=$cpu_percent
    if ! app_alive; then
        theme_cpu[$id]=""
        theme_note[$id]="crashed"
        notes+=("Vostrel crashed while locked in $id; the harness started it again for the rest.")
        restart_app
        continue
    fi
    case $id in
    custom_html | custom_website)
        if [[ ",$cpu_processes," == *QtWebEngineProc* ]]; then
            theme_note[$id]=" (page shown; web engine processes included)"
        else
            theme_note[$id]=" (no web engine process ran: the page was not shown)"
        fi
        ;;
    esac
done
"$vostrel" defaults write selectedTheme live_blur --string >/dev/null
"$vostrel" defaults write overlayBackgroundMotion true --bool >/dev/null
step "CPU while locked: i3lock, xsecurelock"
cpu_other i3lock "${i3lock_cmd[@]}"
i3lock_cpu=$other_cpu i3lock_rss=$other_rss
cpu_other xsecurelock "${xsecurelock_cmd[@]}"
xsl_cpu=$other_cpu xsl_rss=$other_rss

# ---- The task monitor's process scan.
step "process scan"
"$here/process-scan.sh" "$bench_build" >"$work/scan.out" 2>&1 || true
scan_field() { # COUNT_INDEX (1 or 2) ps|proc
    awk -v want="$1" -v what="$2" '/^processes running:/ {block++}
        block == want && what == "ps" && /\/bin\/ps:/ {print $2}
        block == want && what == "proc" && /\/proc:/ {print $2}' "$work/scan.out"
}
scan_50_proc=$(scan_field 1 proc) scan_50_ps=$(scan_field 1 ps)
scan_500_proc=$(scan_field 2 proc) scan_500_ps=$(scan_field 2 ps)
scan_500_count=$(awk '/^processes running:/ {n = $3} END {print n}' "$work/scan.out")
scan_50_count=$(awk '/^processes running:/ {print $3; exit}' "$work/scan.out")
grep -q 'same results: NO' "$work/scan.out" && notes+=("The process scan: ps and /proc listed different tasks.")

# ---- The table.
load_end=$(cut -d' ' -f1-3 /proc/loadavg)
renderer=$(sed -nE 's/.*RENDERER: (.*) VERSION:.*/\1/p' "$work/vostrel.log" | head -n 1)
render_loop=$(sed -nE 's/.*qt\.scenegraph\.general: (.*render loop).*/\1/p' "$work/vostrel.log" | head -n 1)
build_type=$(sed -nE 's/^CMAKE_BUILD_TYPE:STRING=(.*)/\1/p' "$app_build/CMakeCache.txt" 2>/dev/null || true)
cpu_model=$(sed -nE 's/^model name\s*:\s*(.*)/\1/p' /proc/cpuinfo | head -n 1)
screen=$(xdpyinfo | awk '/dimensions:/ {print $2}')
version() { dpkg-query -W -f='${Version}' "$1" 2>/dev/null || echo "?"; }

cli_median=$(median_of "$work/lock-cli")
dbus_median=$(median_of "$work/lock-dbus")
i3_median=$(median_of "$work/lock-i3lock")
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (a == "-" || b == "-" || b == 0) print "-"; else printf "%.2f", a / b }'; }
ratio_cli=$(ratio "$cli_median" "$i3_median")
ratio_dbus=$(ratio "$dbus_median" "$i3_median")
target_ratio() { [ "$1" = "-" ] && echo "failed" || verdict "$1 <= 1.0"; }
or_failed() { [ -n "$1" ] && echo "$2" || echo "failed"; }
cpu_verdict() { [ -n "$1" ] && verdict "$1 $2" || echo "failed"; }

# i3lock and xsecurelock check the password of the user they run as through
# PAM; the bench knows none.
no_pam="n/a (PAM: no password of $(id -un) known)"

echo "| measure | Vostrel | i3lock | xsecurelock | target | result |"
echo "|---|---|---|---|---|---|"
echo "| lock latency: command → both monitors covered and the keyboard grabbed; median (p10–p90) of $runs | \`vostrel lock\`: $(latency_cell "$work/lock-cli") | $(latency_cell "$work/lock-i3lock") | $(latency_cell "$work/lock-xsecurelock") | Vostrel / i3lock ≤ 1.0 (now $ratio_cli) | $(target_ratio "$ratio_cli") |"
echo "| lock latency, the LockScreen D-Bus call (what \`vostrel lock\` sends) | $(latency_cell "$work/lock-dbus") | – | – | – (Vostrel / i3lock: $ratio_dbus) | – |"
echo "| first lock after start (one run) | $(ms "${first_cli:--}") | $(ms "${first_i3lock:--}") | $(ms "${first_xsecurelock:--}") | – | – |"
echo "| unlock latency: last PIN digit typed → lock gone, keyboard free; median (p10–p90) | $unlock_cell | $no_pam | $no_pam | < 17 ms | $([ -n "$unlock_median" ] && verdict "$unlock_median < 17" || echo failed) |"
echo "| CPU locked (${cpu_seconds} s), default theme, motion on | $(pct "$default_on") | $(pct "$i3lock_cpu") | $(pct "$xsl_cpu") | ≤ 5 % of one core | $(cpu_verdict "$default_on" "<= 5") |"
echo "| CPU locked (${cpu_seconds} s), default theme, motion off | $(pct "$default_off") | $(pct "$i3lock_cpu") | $(pct "$xsl_cpu") | < 1 % | $(cpu_verdict "$default_off" "< 1") |"
for entry in "${themes[@]:1}"; do
    id=${entry%%|*}
    if [ "${theme_note[$id]:-}" = crashed ]; then
        cell="**crashed**"
    else
        cell="$(pct "${theme_cpu[$id]}")${theme_note[$id]:-}"
    fi
    echo "| CPU locked (${cpu_seconds} s), ${entry#*|}, motion on | $cell | – | – | – | – |"
done
echo "| CPU unlocked, idle (${idle_seconds} s, after $locks_so_far locks) | $(pct "$idle_cpu") | – | – | < 0.2 % | $(cpu_verdict "$idle_cpu" "< 0.2") |"
echo "| resident memory unlocked, 3 s after start | $(mb "$rss_start") | – | – | < 80 MB | $(cpu_verdict "$rss_start" "< 80 * 1024") |"
echo "| resident memory unlocked, after $locks_so_far locks | $(mb "$rss_after") | – | – | < 80 MB | $(cpu_verdict "$rss_after" "< 80 * 1024") |"
echo "| resident memory locked, default theme (with the guard) | $(mb "$rss_locked") ($(mb "$rss_locked_tree")) | $(mb "$i3lock_rss") | $(mb "$xsl_rss") (with saver and auth) | – | – |"
echo "| process scan, CPU per scan, ${scan_50_count:-50} processes | /proc: $(or_failed "$scan_50_proc" "$scan_50_proc ms") (ps: $(or_failed "$scan_50_ps" "$scan_50_ps ms")) | – | – | – | – |"
echo "| process scan, CPU per scan, ${scan_500_count:-500} processes | /proc: $(or_failed "$scan_500_proc" "$scan_500_proc ms") (ps: $(or_failed "$scan_500_ps" "$scan_500_ps ms")) | – | – | < 5 ms | $(cpu_verdict "$scan_500_proc" "< 5") |"
echo "| start-up → D-Bus name app.vostrel.Vostrel owned; median (min–max) of $startups | $startup_name | – | – | – | – |"
echo "| start-up → icon shown in the tray (trayer, XEmbed); median (min–max) of $startups | $startup_tray | – | – | < 500 ms | $([ -n "$startup_tray_median" ] && verdict "$startup_tray_median < 500" || echo failed) |"
echo
echo "Machine: ${cpu_model:-unknown CPU}, $(nproc) cores; Xvfb ${screen} as two monitors (${monitors//,/, }), no window manager, no compositor; Qt $("$latency" info | sed 's/^Qt //'); renderer ${renderer:-unknown}${render_loop:+, $render_loop}; Vostrel ${build_type:-(build type unknown)}; i3lock $(version i3lock), xsecurelock $(version xsecurelock); $desktop_services; load average ${load_start// /\/} at the start, ${load_end// /\/} at the end."
echo
echo "How: \`${i3lock_cmd[*]}\` (kept in the foreground), \`XSECURELOCK_NO_COMPOSITE=1 ${xsecurelock_cmd[*]}\` (blank saver, auth_x11); \"covered\" means a viewable top-level window contains each monitor and a keyboard grab of the root window fails with AlreadyGrabbed, polled every 0.5 ms. The lockers take turns run by run after one warm-up round; Vostrel's runs end with UnlockScreen, the others' with SIGTERM. The PIN is typed through XTEST, as xdotool does. CPU is utime + stime of the locker and its children from /proc, as a share of one core. i3lock and xsecurelock draw a still screen: their one measurement shows in both default-theme rows."
if [ "$left_overs" -gt 0 ]; then
    notes+=("Vostrel left a panel mapped after reporting the unlock $left_overs times (of about $((locks_so_far + ${#themes[@]} + 1)) unlocks); each time the harness locked and unlocked once more to clear the screen, and that run was not timed.")
fi
for note in "${notes[@]}"; do
    echo
    echo "$note"
done
