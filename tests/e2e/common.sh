# Helpers shared by the end-to-end scripts and the benchmarks; sourced, not
# run. Uses $vostrel and $work when they are set, and fills $pids with what
# must be stopped at the end. A script with more to stop defines on_exit; one
# that shows other logs on failure sets $logs; one whose standard output is a
# result sets step_fd=2, so that progress goes to standard error.

pids=()
cleanup() {
    if declare -F on_exit >/dev/null; then on_exit; fi
    if [ -n "${vostrel:-}" ]; then
        # Guards first: a guard outliving its application would start it again.
        pkill -KILL -f "^${guard_binary:-$(dirname "$vostrel")/vostrel-guard}" 2>/dev/null || true
        pkill -KILL -f "^$vostrel" 2>/dev/null || true
    fi
    local pid
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
}
trap cleanup EXIT

logs=("${work:-.}/vostrel.log")
fail() {
    echo "FAIL: $*" >&2
    local log
    for log in "${logs[@]}"; do
        if [ -f "$log" ]; then sed "s/^/  $(basename "$log" .log): /" "$log" >&2; fi
    done
    exit 1
}
step() { echo "-- $*" >&"${step_fd:-1}"; }
# wait_for SECONDS COMMAND...: polls until COMMAND succeeds.
wait_for() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        ((SECONDS < deadline)) || return 1
        sleep 0.05
    done
}

# What the preferences store for a PIN (app.vostrel.pin.stored).
encoded_pin() {
    python3 -c 'import base64, sys; print(base64.b64encode(bytes(a ^ b for a, b in zip(sys.argv[1].encode(), b"RiverOx" * 4))).decode())' "$1"
}
pin_1234=$(encoded_pin 1234)

# The process that owns Vostrel's name on the session bus, empty when none.
owner_pid() {
    gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
        --method org.freedesktop.DBus.GetConnectionUnixProcessID app.vostrel.Vostrel 2>/dev/null |
        sed -nE 's/^\(uint32 ([0-9]+),\)$/\1/p'
}
locked() { "$vostrel" status 2>/dev/null | grep -q "Screen locked"; }

# The geometry of every mapped lock panel, one "WxH+X+Y id" per line.
panels() {
    xwininfo -root -children | awk '/"Vostrel"/ {print $1}' | while read -r id; do
        info=$(xwininfo -id "$id")
        grep -q 'Map State: IsViewable' <<<"$info" || continue
        awk -v id="$id" '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
            /Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h "+" x "+" y " " id}' <<<"$info"
    done | sort
}
panel_geometries() { panels | cut -d' ' -f1 | tr '\n' ' '; }
covered() { [ "$(panel_geometries)" = "1920x1080+0+0 1920x1080+1920+0 " ]; }
uncovered() { [ -z "$(panels)" ]; }

# Pixels of a colour (within 12%, or the percentage given) in a screenshot.
count_colour() {
    convert "$1" -fuzz "${3:-12}%" -fill black +opaque "$2" -fill white -opaque "$2" \
        -colorspace gray -format '%[fx:mean*w*h]' info: | awk '{printf "%d", $1 + 0.5}'
}
# The colour of one pixel of the root window, as "R G B".
pixel() {
    import -window root -crop "1x1+$1+$2" +repage -depth 8 txt:- |
        awk 'NR == 2 {gsub(/[()]/, "", $2); split($2, c, ","); print c[1], c[2], c[3]}'
}
inhibit_state() { cat "$work/inhibit" 2>/dev/null; }
typed() { cat "$work/typed" 2>/dev/null; }
