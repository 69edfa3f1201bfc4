#!/usr/bin/env bash
# Installs what is missing, builds and runs every test. The last line is ctest's summary.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release
ctest --preset release
