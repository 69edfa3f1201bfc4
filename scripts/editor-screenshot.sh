#!/usr/bin/env bash
# A screenshot of the record editor in the middle of a placement, under Xvfb, driven
# with the mouse and keyboard as a user would: a plan holding U1 on the demo board's
# photograph, Edit/Capture ticked, "Edit/Add Records" opened, the last record chosen,
# the board's middle zoomed in, a
# 14-pin IC named U2 and its first row clicked, so the prompt asks for pin 8.
# Usage: scripts/editor-screenshot.sh [output-file]   (builds and stages first)
set -euo pipefail
cd "$(dirname "$0")/.."
out="$(realpath -m "${1:-screenshots/record_editor.png}")"
mkdir -p "$(dirname "$out")"
cmake --preset release >/dev/null
cmake --build --preset release --target stage >/dev/null

work="$(mktemp -d)"
display=":$((RANDOM % 500 + 100))"
Xvfb "$display" -screen 0 1920x1080x24 >/dev/null 2>&1 &
xvfb=$!
pid=""
trap 'kill $pid 2>/dev/null || true; kill $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
sleep 1
export DISPLAY="$display"

cp -r stage/. "$work/"
rm -f "$work/ORV_settings.txt" "$work/log.txt"
# The plan so far: the demo plan's header and U1, without signatures.
python3 - "$work/testplans/demo_A.orv" "$work/testplans/authoring.orv" <<'PY'
import sys
rows = open(sys.argv[1], encoding="latin-1").read().split("\n")
out = []
for row in rows[:9]:
    cells = row.split(",")[:30]
    if len(out) > 0:
        cells[8], cells[29] = "Untested", "No"
        cells[1:7] = [""] * 6
    out.append(",".join(cells))
open(sys.argv[2], "w", encoding="latin-1").write("\n".join(out) + "\n")
PY
printf 'ORV_Mode=Advanced\r\nORV_TestPlanFileName=testplans/authoring.orv\r\n' >"$work/ORV_settings.txt"
(cd "$work" && exec ./orv --simulator >/dev/null 2>&1) &
pid=$!

. scripts/xdo.sh

window="$(find_window "Analog Signature Analyser")"
sleep 2
click "$window" 13 603   # Edit/Capture signature
click "$window" 80 628   # Edit/Add Records
editor="$(find_window "Edit/Add Records & Images")"
sleep 1
click "$editor" 760 157  # Last: the new part goes after U1
click "$editor" 1010 244 # CENTRE
click "$editor" 715 269  # ZOOM ALL
click "$editor" 715 219  # ZOOM +: the middle of the board, twice as close
# The package list: "14 pin DIP/SO" is the 19th entry.
click "$editor" 760 393
for _ in $(seq 18); do xdotool key Down; done
xdotool key Return
sleep 0.3
click "$editor" 760 331  # the component name
xdotool key ctrl+a
xdotool type "U2"
click "$editor" 760 478  # Create New Component
# U2's pin 1 and pin 7 on the photograph (1377, 651) and (1743, 651); the view shows
# x 600..1800 and y 200..1400 in its 640 pixels.
click "$editor" 424 250
click "$editor" 620 250
sleep 1
import -window root "$out"
echo "$out"
