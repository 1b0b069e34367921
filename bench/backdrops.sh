#!/usr/bin/env bash
# CPU cost of every theme's backdrop at full screen, motion on and off, and the
# PNGs of every backdrop; inside a private session (scripts/with-session).
#   backdrops.sh BUILD_DIR OUTDIR [SECONDS]
set -euo pipefail
build=$1
out=$2
seconds=${3:-30}
tool="$build/bench/vostrel-bench-backdrops"
"$tool" render "$out" >/dev/null
echo "PNGs in $out"
"$tool" cpu baseline on "$seconds"
for theme in live_blur av_dark minimal_dark minimal_light av_yellow glass custom_photo \
             custom_html custom_website deep_ocean aurora sunset nebula charcoal; do
    "$tool" cpu "$theme" on "$seconds"
    "$tool" cpu "$theme" off "$seconds"
done
