#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program. Without a
# database file the program's first-start window offers a new database for
# the firm, the demonstration database, an existing file or a server.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh"
build="${VELMORA_BUILD_DIR:-$root/build}"
exec "$build/src/shell/velmora" "$@"
