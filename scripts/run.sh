#!/usr/bin/env bash
# Installs what is missing, builds, and runs the main job on the database in home/ beside the
# repository (created on first use).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh
bash scripts/build.sh morvela-cli
home="${MORVELA_HOME:-$root/home}"
mkdir -p "$home"
cli="$root/build/morvela-cli"
if [ ! -f "$home/Morvela.mdb" ]; then
  "$cli" --home "$home" init
fi
"$cli" --home "$home" info
