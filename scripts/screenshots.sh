#!/usr/bin/env bash
# Screenshots of the real window on the simulated instrument, under Xvfb: the
# Advanced mode with the default view and the Basic mode, each connected by a click
# on the connection indicator and showing live traces: the whole screen (<mode>.png)
# and the main window alone (<mode>-window.png).
# Usage: scripts/screenshots.sh [output-dir]   (builds and stages first)
set -euo pipefail
cd "$(dirname "$0")/.."
out="$(mkdir -p "${1:-screenshots}" && cd "${1:-screenshots}" && pwd)"

cmake --preset release >/dev/null
cmake --build --preset release --target stage >/dev/null

display=":$((RANDOM % 500 + 100))"
Xvfb "$display" -screen 0 1920x1080x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
sleep 1

shoot() {
    local name="$1" mode="$2"
    local work
    work="$(mktemp -d)"
    cp -r stage/. "$work/"
    rm -f "$work/ORV_settings.txt" "$work/log.txt"
    printf 'ORV_Mode=%s\r\nORV_TestPlanFileName=testplans\\demo_B.orv\r\n' "$mode" \
        >"$work/ORV_settings.txt"
    # exec: the background job's pid is the program's own, to stop it by.
    (cd "$work" && DISPLAY="$display" exec ./orv --simulator >/dev/null 2>&1) &
    local pid=$!
    local window=""
    for _ in $(seq 100); do
        window="$(DISPLAY="$display" xdotool search --onlyvisible --name "Analog Signature Analyser" 2>/dev/null | head -1 || true)"
        [ -n "$window" ] && break
        sleep 0.05
    done
    sleep 2
    # The connection indicator sits at the top of the ribbon.
    DISPLAY="$display" xdotool mousemove --window "$window" 37 36 click 1
    sleep 2
    local probe
    probe="$(DISPLAY="$display" xdotool search --onlyvisible --name "Simulated probe" | head -1)"
    if [ "$mode" = Advanced ]; then
        # The simulated hand follows the plan; a click on the next record's mini-scope
        # (twice) moves on to the third record, and the probe rests on its pin.
        DISPLAY="$display" xdotool mousemove --window "$probe" 16 169 click 1
        DISPLAY="$display" xdotool mousemove --window "$window" 1180 102 click 1 sleep 0.5 click 1
    else
        # The probe on the first pin of the board.
        DISPLAY="$display" xdotool mousemove --window "$probe" 77 113 click 1
    fi
    sleep 3
    DISPLAY="$display" import -window root "$out/$name.png"
    DISPLAY="$display" import -window "$window" "$out/$name-window.png"
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    echo "$out/$name.png"
    rm -rf "$work"
}

shoot advanced Advanced
shoot basic Basic
