#!/usr/bin/env bash
# CPU use of the running program under Xvfb on the simulated instrument: idle (not
# connected), connected with the probe lifted, and streaming (probe on a pin, 48 frames
# a second), Advanced mode at 1545 x 725. Usage: bench/cpu_use.sh [seconds]
# (stage first: cmake --build --preset release --target stage)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-20}"
display=":$((RANDOM % 500 + 100))"
Xvfb "$display" -screen 0 1920x1080x24 >/dev/null 2>&1 &
xvfb=$!
work="$(mktemp -d)"
pid=""
trap 'kill $xvfb 2>/dev/null || true; [ -z "$pid" ] || kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
sleep 1
cp -r stage/. "$work/"
rm -f "$work/ORV_settings.txt" "$work/log.txt"
# exec: the background job's pid is the program's own.
(cd "$work" && DISPLAY="$display" exec "$work/orv" --simulator >/dev/null 2>&1) &
pid=$!
sleep 3
ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
measure() {
    local before after hz
    hz="$(getconf CLK_TCK)"
    before="$(ticks)"
    sleep "$seconds"
    after="$(ticks)"
    awk -v t=$((after - before)) -v s="$seconds" -v hz="$hz" \
        'BEGIN { printf "%.1f %% of one core\n", 100 * t / hz / s }'
}
echo -n "idle, not connected: "
measure
window="$(DISPLAY="$display" xdotool search --onlyvisible --name "Analog Signature Analyser" | head -1)"
# The connection indicator, below the menu bar at the top of the ribbon.
DISPLAY="$display" xdotool mousemove --window "$window" 40 55 click 1
sleep 2
echo -n "connected, probe lifted: "
measure
probe="$(DISPLAY="$display" xdotool search --onlyvisible --name "Simulated probe" | head -1)"
DISPLAY="$display" xdotool mousemove --window "$probe" 77 113 click 1
sleep 2
echo -n "streaming 48 frames/s, probe on a pin: "
measure
grep -c "User pressed Connect" "$work/log.txt" >/dev/null && echo "(connected: $(grep -c 'ORV_StartConnection' "$work/log.txt") connection)"
