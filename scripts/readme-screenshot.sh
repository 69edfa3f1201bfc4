#!/usr/bin/env bash
# Renews the README's picture, docs/images/advanced.png: the main window in Advanced
# mode at the end of the automatic test of scripts/workflow.sh, scaled down and reduced
# to a small palette.
set -euo pipefail
cd "$(dirname "$0")/.."

shots="$(mktemp -d)"
trap 'rm -rf "$shots"' EXIT
bash scripts/workflow.sh "$shots" >/dev/null
mkdir -p docs/images
# The main window sits at the screen's top-left corner.
convert "$shots/workflow-test.png" -crop 1545x725+0+0 +repage -resize 960x -strip \
    -colors 256 PNG8:docs/images/advanced.png
echo "docs/images/advanced.png ($(du -k docs/images/advanced.png | cut -f1) KiB)"
