#!/usr/bin/env bash
# A screenshot of the calibration window during its automatic run, under Xvfb: the
# window test run on a real display, on the simulated instrument and multimeter.
# Usage: scripts/calibration-screenshot.sh [output-file]   (builds the tests first)
set -euo pipefail
cd "$(dirname "$0")/.."
out="$(realpath -m "${1:-screenshots/calibration_run.png}")"
mkdir -p "$(dirname "$out")"
cmake --preset release >/dev/null
cmake --build --preset release --target orv_calibration_tests >/dev/null
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
(cd "$work" && ORV_CALIBRATION_SCREENSHOT="$out" QT_QPA_PLATFORM=xcb \
    xvfb-run -a -s "-screen 0 1280x900x24" \
    "$OLDPWD/build/release/tests/orv_calibration_tests" \
    --gtest_filter=WizardRunTest.ScreenshotDuringTheRun)
echo "$out"
