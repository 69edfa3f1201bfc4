#!/usr/bin/env bash
# The repair workflow under Xvfb, driven as a user drives it, with clicks and Alt
# shortcuts only: the simulated probe follows a short plan while the automatic capture
# records the known-good board, then the automatic test runs on the faulty one.
# Screenshots at the end of the capture and of the test, and one with the pointer
# resting on a bad-tree entry, whose tooltip names the pin's fault.
# Usage: scripts/workflow.sh [output-dir]   (builds and stages first)
set -euo pipefail
cd "$(dirname "$0")/.."
out="$(mkdir -p "${1:-screenshots}" && cd "${1:-screenshots}" && pwd)"

cmake --preset release >/dev/null
cmake --build --preset release --target stage >/dev/null

display=":$((RANDOM % 500 + 100))"
Xvfb "$display" -screen 0 1920x1080x24 >/dev/null 2>&1 &
xvfb=$!
work="$(mktemp -d)"
program=""
cleanup() {
    if [ -n "$program" ]; then kill "$program" 2>/dev/null || true; fi
    kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
export DISPLAY="$display"
sleep 1

# A short plan from the demo one: U2 pins 10, 11 (bridged to ground on the faulty
# unit) and 13, and R9 pin 1 (a leaky zener behind it).
cp -r stage/. "$work/"
rm -f "$work/ORV_settings.txt" "$work/log.txt"
{
    head -1 stage/testplans/demo_A.orv
    grep -E '^[0-9]+,[^,]*,[^,]*,[^,]*,[^,]*,[^,]*,[^,]*,[^,]*,[^,]*,(U2,1[013]|R9,1),' \
        stage/testplans/demo_A.orv
} >"$work/testplans/short.orv"
printf 'ORV_TestPlanFileName=testplans\\short.orv\r\nORV_SignatureCaptureDelay=5 cycles\r\n' \
    >"$work/ORV_settings.txt"

(cd "$work" && exec ./orv --simulator >/dev/null 2>&1) &
program=$!
. scripts/xdo.sh
window="$(find_window "Analog Signature Analyser")"
probe="$(find_window "Simulated probe")"
sleep 2

shortcut() { xdotool windowfocus --sync "$window" 2>/dev/null || true; xdotool key --window "$window" "$1"; sleep 0.5; }

click "$window" 37 54          # the connection indicator: connect
sleep 2
click "$probe" 16 169          # "Follow the plan"
click "$window" 13 603         # "Edit/Capture signature" on
shortcut alt+b                 # the first record
shortcut alt+l                 # automatic capture
sleep 10
import -window root "$out/workflow-capture.png"
echo "$out/workflow-capture.png"

click "$probe" 194 21          # board unit: the unit under test
xdotool key Down Return
sleep 0.5
click "$window" 13 603         # "Edit/Capture signature" off
shortcut alt+b                 # the first record again
shortcut alt+l                 # automatic test
sleep 10
import -window root "$out/workflow-test.png"
echo "$out/workflow-test.png"
xdotool mousemove --window "$window" 1352 88   # the bad tree's "U2, Pin 13"
sleep 2
import -window root "$out/workflow-tooltip.png"
echo "$out/workflow-tooltip.png"
