#!/usr/bin/env bash
# Time from starting the program to its window on screen and to the window drawn
# (a pixel inside the main scope turned to the scope's black), in a fresh copy
# of the staged folder each run: the first start, which writes every default setting,
# with the demo plan and its photograph. A run gives up after 10 s.
# Usage: bench/startup_time.sh [runs]   (stage first: cmake --build --preset release --target stage)
set -euo pipefail
cd "$(dirname "$0")/.."
runs="${1:-10}"
display=":$((RANDOM % 500 + 100))"
Xvfb "$display" -screen 0 1920x1080x24 >/dev/null 2>&1 &
xvfb=$!
pid=""
work=""
trap 'kill $xvfb 2>/dev/null || true; [ -z "$pid" ] || kill "$pid" 2>/dev/null || true; [ -z "$work" ] || rm -rf "$work"' EXIT
sleep 1
ms_since() { echo $((($(date +%s%N) - $1) / 1000000)); }
# A point of the main scope's black, away from its grid, in window coordinates (the
# ribbon is 144 wide, the menu bar above); the window's own background is #101010.
probe_x=470
probe_y=350
for i in $(seq "$runs"); do
    work="$(mktemp -d)"
    cp -r stage/. "$work/"
    rm -f "$work/ORV_settings.txt" "$work/log.txt"
    start=$(date +%s%N)
    # exec: the background job's pid is the program's own, to stop it by.
    (cd "$work" && DISPLAY="$display" exec "$work/orv" >/dev/null 2>&1) &
    pid=$!
    window=""
    shown=""
    drawn=""
    while [ "$(ms_since "$start")" -lt 10000 ]; do
        if [ -z "$window" ]; then
            window="$(DISPLAY="$display" xdotool search --onlyvisible --name "Analog Signature Analyser" 2>/dev/null | head -1 || true)"
            [ -n "$window" ] && shown="$(ms_since "$start")"
        else
            pixel="$(DISPLAY="$display" import -silent -window "$window" -crop "1x1+$probe_x+$probe_y" \
                -depth 8 txt:- 2>/dev/null | grep -o '#[0-9A-Fa-f]\{6\}' | head -1 || true)"
            if [ "$pixel" = "#000000" ]; then
                drawn="$(ms_since "$start")"
                break
            fi
        fi
        sleep 0.005
    done
    echo "run $i: window on screen ${shown:-never} ms, drawn ${drawn:-never (10 s)} ms"
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    pid=""
    rm -rf "$work"
    work=""
done
