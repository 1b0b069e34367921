# Helpers shared by the end-to-end scripts; sourced, not run. Expects $work
# (a scratch folder) and fills $pids with what must be stopped at the end.

pids=()
cleanup() {
    # Guards first: a guard outliving its application would start it again.
    pkill -KILL -f "^$(dirname "$vostrel")/vostrel-guard" 2>/dev/null || true
    pkill -KILL -f "^$vostrel" 2>/dev/null || true
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    [ -f "$work/vostrel.log" ] && sed 's/^/  vostrel: /' "$work/vostrel.log" >&2
    exit 1
}
step() { echo "-- $*"; }
# wait_for SECONDS COMMAND...: polls until COMMAND succeeds.
wait_for() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        ((SECONDS < deadline)) || return 1
        sleep 0.05
    done
}

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

# Pixels of a colour (within 12%) in a screenshot.
count_colour() {
    convert "$1" -fuzz 12% -fill black +opaque "$2" -fill white -opaque "$2" \
        -colorspace gray -format '%[fx:mean*w*h]' info: | awk '{printf "%d", $1 + 0.5}'
}
inhibit_state() { cat "$work/inhibit" 2>/dev/null; }
typed() { cat "$work/typed" 2>/dev/null; }

pin_1234=$(python3 -c 'import base64; print(base64.b64encode(bytes(a ^ b for a, b in zip(b"1234", b"RiverOx"))).decode())')
