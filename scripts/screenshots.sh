#!/usr/bin/env bash
# Renews the README's pictures (docs/screenshots/*.png) from the real
# program: builds, then runs tools/velmora-screenshots on a demonstration
# database under a virtual X display. Needs Xvfb, which only this script
# uses; it is installed here when missing (uses sudo when not root).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"
if ! command -v xvfb-run >/dev/null; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "Installiere: xvfb"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends xvfb xauth
fi
bash "$root/scripts/build.sh"
build="${VELMORA_BUILD_DIR:-$root/build}"
# A plain desktop: German, no theme of the caller's desktop.
env -u QT_QPA_PLATFORMTHEME -u QT_STYLE_OVERRIDE LANG=de_DE.UTF-8 QT_QPA_PLATFORM=xcb \
  xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" \
  "$build/tools/velmora-screenshots" "$root/docs/screenshots"
