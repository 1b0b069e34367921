#!/usr/bin/env bash
# CPU per task-monitor scan with 50 and 500 processes, ps against /proc.
# As root the benchmark runs in a PID namespace of its own, so the process
# count is exact; otherwise the machine's own processes count too.
set -euo pipefail
build_dir=${1:-build}
bench="$build_dir/bench/vostrel-bench-processscan"
for count in 50 500; do
    if [ "$(id -u)" -eq 0 ] && unshare --pid --fork --mount-proc true 2>/dev/null; then
        unshare --pid --fork --mount-proc "$bench" "$count" 100
    else
        "$bench" "$count" 100
    fi
done
