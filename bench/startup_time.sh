#!/usr/bin/env bash
# Time from starting the program to its window on screen and to the whole window drawn,
# in a fresh copy of the staged folder each run, with the demo plan and its photograph.
# "Drawn" is when points of the main scope, the board photograph (two), the ribbon and
# the test tree all show what they show once the program has settled, read from a
# reference start first. Two starts a run:
#   first start   no settings file yet: every default is written and the daily release
#                 check runs;
#   next start    the same folder again, the day's check already done.
# bench/window_probe.cpp polls the X server every 5 ms; a run gives up after 10 s.
# Usage: bench/startup_time.sh [runs]
#   (first: cmake --build --preset release --target stage orv_window_probe)
set -euo pipefail
cd "$(dirname "$0")/.."
runs="${1:-10}"
probe="$PWD/build/release/bench/orv_window_probe"
[ -x "$probe" ] || { echo "build orv_window_probe first (see the usage line)" >&2; exit 2; }
display=":$((RANDOM % 500 + 100))"
Xvfb "$display" -screen 0 1920x1080x24 >/dev/null 2>&1 &
xvfb=$!
pid=""
work=""
trap 'kill $xvfb 2>/dev/null || true; [ -z "$pid" ] || kill "$pid" 2>/dev/null || true; [ -z "$work" ] || rm -rf "$work"' EXIT
sleep 1
# Window coordinates in the first start's 1545 x 725 window: the main scope's black
# away from its grid, two points of the photograph, the GOOD button, a test tree icon.
points=(470,350 1000,320 1200,600 30,526 1367,322)
title="Analog Signature Analyser"

# One start in the folder $work; prints the probe's "shown MS drawn MS".
time_start() {
    local start result
    start=$(date +%s%N)
    # exec: the background job's pid is the program's own, to stop it by.
    (cd "$work" && DISPLAY="$display" exec "$work/orv" >/dev/null 2>&1) &
    pid=$!
    result="$(DISPLAY="$display" "$probe" "$title" 10000 "$start" "${drawn_look[@]}" || true)"
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    pid=""
    echo "$result"
}

# The reference start: the look of the settled window.
work="$(mktemp -d)"
cp -r stage/. "$work/"
rm -f "$work/ORV_settings.txt" "$work/log.txt"
(cd "$work" && DISPLAY="$display" exec "$work/orv" >/dev/null 2>&1) &
pid=$!
sleep 3
mapfile -t drawn_look < <(DISPLAY="$display" "$probe" --read "$title" "${points[@]}")
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
pid=""
rm -rf "$work"
echo "the settled window: ${drawn_look[*]}"

for i in $(seq "$runs"); do
    work="$(mktemp -d)"
    cp -r stage/. "$work/"
    rm -f "$work/ORV_settings.txt" "$work/log.txt"
    first="$(time_start)"
    next="$(time_start)"
    echo "run $i: first start: $first; next start: $next"
    rm -rf "$work"
    work=""
done
