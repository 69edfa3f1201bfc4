#!/usr/bin/env bash
# Renews the README's picture, docs/images/advanced.png: the main window in Advanced
# mode from scripts/screenshots.sh, scaled down and reduced to a small palette.
set -euo pipefail
cd "$(dirname "$0")/.."

shots="$(mktemp -d)"
trap 'rm -rf "$shots"' EXIT
bash scripts/screenshots.sh "$shots" >/dev/null
mkdir -p docs/images
convert "$shots/advanced-window.png" -resize 960x -strip -colors 256 PNG8:docs/images/advanced.png
echo "docs/images/advanced.png ($(du -k docs/images/advanced.png | cut -f1) KiB)"
