#!/usr/bin/env bash
# scripts/check-layers on made-up source trees: a clean one passes, a planted
# upward include and a bare include fail naming file, line and folders, a
# known violation passes only while it is listed, and --strict fails on it.
set -euo pipefail
check=$(cd "$(dirname "$0")/../.." && pwd)/scripts/check-layers
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

src="$work/src"
mkdir -p "$src"/{core,platform/linux,triggers,app,guard}
printf '#pragma once\n' >"$src/core/preferences.h"
printf '#pragma once\n#include "core/preferences.h"\n' >"$src/platform/idletimesource.h"
printf '#include "platform/idletimesource.h"\n#include <xcb/xcb.h>\n' >"$src/platform/linux/x11idletime.cpp"
printf '#pragma once\n' >"$src/triggers/idlemonitor.h"
printf '#include "triggers/idlemonitor.h"\n#include "core/preferences.h"\n#include "idlemonitor.moc"\n' \
    >"$src/triggers/idlemonitor.cpp"
printf '#include "platform/linux/x11idletime.cpp"\n#include "triggers/idlemonitor.h"\n' >"$src/app/main.cpp"
printf '#include <xcb/xcb.h>\n' >"$src/guard/main.cpp"
: >"$work/empty.allow"
run() { "$check" --src "$src" --allow "${allow:-$work/empty.allow}" "$@" >"$work/out" 2>&1; }

run || fail "the clean tree fails: $(cat "$work/out")"

printf '#pragma once\n\n#include "triggers/idlemonitor.h"\n' >"$src/core/upward.h"
! run || fail "an upward include passes"
grep -qx 'src/core/upward.h:3: core includes triggers (triggers/idlemonitor.h): triggers is above core' "$work/out" ||
    fail "the message does not name file, line and folders: $(cat "$work/out")"

echo 'src/core/upward.h -> triggers/idlemonitor.h' >"$work/known.allow"
allow="$work/known.allow" run || fail "a listed violation fails: $(cat "$work/out")"
grep -q '^known: src/core/upward.h:3:' "$work/out" || fail "a listed violation is not reported"
! allow="$work/known.allow" run --strict || fail "--strict passes a listed violation"
rm "$src/core/upward.h"
! allow="$work/known.allow" run || fail "a stale entry in the allow file passes"
grep -q "no longer occurs" "$work/out" || fail "the stale entry is not named: $(cat "$work/out")"

printf '#include "idlemonitor.h"\n' >"$src/triggers/bare.cpp"
! run || fail "a bare include passes"
grep -q '^src/triggers/bare.cpp:1: "idlemonitor.h" does not name its folder' "$work/out" ||
    fail "the bare include is not named: $(cat "$work/out")"
rm "$src/triggers/bare.cpp"

printf '#include "triggers/idlemonitor.h"\n' >"$src/platform/linux/reachesup.cpp"
! run || fail "a backend including a feature passes"
printf '#include "core/preferences.h"\n' >"$src/guard/ours.cpp"
rm "$src/platform/linux/reachesup.cpp"
! run || fail "the guard including our code passes"
grep -q 'src/guard/ours.cpp:1: guard includes core' "$work/out" || fail "$(cat "$work/out")"
echo PASS
