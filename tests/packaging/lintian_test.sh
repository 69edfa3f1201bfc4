#!/usr/bin/env bash
# Debian's package checker on the package the packaging test built: every tag is
# printed (warnings included, for the record); an error fails.
# Usage: lintian_test.sh OUTPUT_DIR
set -euo pipefail

deb="$(find "$1" -maxdepth 1 -name 'orv_*_amd64.deb' | head -1)"
[ -n "$deb" ] || { echo "no package in $1"; exit 1; }
tags="$(lintian --allow-root --tag-display-limit 0 "$deb" 2>&1 || true)"
echo "$tags"
if grep -q '^E: ' <<<"$tags"; then
    echo "lintian reports errors"
    exit 1
fi
echo "lintian: no errors ($(grep -c '^W: ' <<<"$tags" || true) warning(s))"
