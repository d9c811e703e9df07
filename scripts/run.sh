#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh"
build="${VELMORA_BUILD_DIR:-$root/build}"
exec "$build/src/shell/velmora" "$@"
