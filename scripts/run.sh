#!/usr/bin/env bash
# Installs what is missing, builds, stages a working directory and starts the program
# in it on the simulated instrument. The staged directory keeps its settings, log and
# test plans between runs.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release
stage="$(pwd)/stage"
cmake --build --preset release --target stage >/dev/null
cd "$stage"
exec ./orv --simulator "$@"
