#!/usr/bin/env bash
# Configures and builds Morvela in build/ (Ninja, two jobs). Builds are serialised through a
# lock file so that two builds never share the machine's two cores.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
# ccache, when the machine has it, makes rebuilds of several checkouts cheap; paths below the
# checkout's parent folder are hashed relative, so sibling checkouts share the cache.
if command -v ccache >/dev/null 2>&1; then
  export CMAKE_CXX_COMPILER_LAUNCHER=ccache
  export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$(dirname "$root")}"
fi
if [ ! -f build/build.ninja ]; then
  cmake --preset default >/dev/null
fi
# Plain arguments name targets ("build.sh morvela-cli morvela_tests").
args=()
for a in "$@"; do
  case "$a" in
    -*) args+=("$a") ;;
    *) args+=(--target "$a") ;;
  esac
done
exec flock /tmp/morvela-build.lock cmake --build build -j2 "${args[@]}"
