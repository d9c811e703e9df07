#!/usr/bin/env bash
# Configures (once) and builds the project into build/ with Ninja.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${VELMORA_BUILD_DIR:-$root/build}"
# VELMORA_WERROR=ON|OFF, when given, is written into the build's settings.
options=()
[ -z "${VELMORA_WERROR:-}" ] || options+=("-DVELMORA_WERROR=$VELMORA_WERROR")
if [ ! -f "$build/build.ninja" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${options[@]}"
elif [ ${#options[@]} -gt 0 ]; then
    cmake -B "$build" "${options[@]}"
fi
cmake --build "$build" -j "$(nproc)"
