#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program. When the database
# file the settings name does not exist yet, a demonstration database is
# created there first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh"
build="${VELMORA_BUILD_DIR:-$root/build}"
db=$("$build/tools/velmora-db" dbname 2>/dev/null)
if [ -n "$db" ] && [ ! -e "$db" ]; then
  mkdir -p "$(dirname "$db")"
  "$build/tools/velmora-db" create "$db"
  echo "Demo-Datenbank angelegt: $db"
fi
exec "$build/src/shell/velmora" "$@"
