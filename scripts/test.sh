#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test with ctest.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"
# In CI a new compiler warning fails the build.
[ -z "${CI:-}" ] || export VELMORA_WERROR=ON
bash "$root/scripts/build.sh"
build="${VELMORA_BUILD_DIR:-$root/build}"
export QT_QPA_PLATFORM=offscreen
cd "$build"
ctest --output-on-failure -j "$(nproc)" "$@"
