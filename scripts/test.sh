#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite (real-data tests included
# when the data folder beside the repository exists; they skip themselves otherwise).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh
bash scripts/build.sh
cd build
export QT_QPA_PLATFORM=offscreen
ctest --output-on-failure -j2 "$@"
