#!/usr/bin/env bash
# Configures (once) and builds the project into build/ with Ninja.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${VELMORA_BUILD_DIR:-$root/build}"
[ -f "$build/build.ninja" ] || cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j "$(nproc)"
