#!/usr/bin/env bash
# Time from starting the program to its main window being on screen, in a fresh
# working directory each run (the first start, which writes every default setting).
# Usage: bench/startup_time.sh [build-dir] [runs]
set -euo pipefail
build="${1:-build/release}"
runs="${2:-10}"
orv="$(cd "$build" && pwd)/app/orv"
display=":$((RANDOM % 500 + 100))"
Xvfb "$display" -screen 0 1600x900x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null' EXIT
sleep 1
for i in $(seq "$runs"); do
    work="$(mktemp -d)"
    start=$(date +%s%N)
    (cd "$work" && DISPLAY="$display" exec "$orv" >/dev/null 2>&1) &
    pid=$!
    # xdotool's own --sync polls only twice a second: poll faster here.
    until DISPLAY="$display" xdotool search --onlyvisible --name "Analog Signature Analyser" >/dev/null 2>&1; do
        sleep 0.005
    done
    end=$(date +%s%N)
    echo "run $i: $(( (end - start) / 1000000 )) ms"
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    rm -rf "$work"
done
