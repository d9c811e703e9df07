#!/usr/bin/env bash
# Installs every Debian 12 package that building, running and testing need.
# Safe to run again: packages already present are skipped.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev
  qt6-translations-l10n qt6-gtk-platformtheme
  firebird-dev libfbclient2 firebird3.0-server-core
  firebird3.0-server firebird3.0-utils qtkeychain-qt6-dev
  poppler-utils qpdf strace
  fonts-dejavu-core
  libqrencode-dev libzxing-dev
  libssl-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installiere: ${missing[*]}"
# The server tests start Firebird's server themselves; the package's own
# system service is not wanted, so it is not started by the installation.
policy=/usr/sbin/policy-rc.d
own_policy=""
if [ ! -e "$policy" ]; then
  printf '#!/bin/sh\nexit 101\n' | $sudo tee "$policy" >/dev/null
  $sudo chmod +x "$policy"
  own_policy=1
fi
trap 'if [ -n "$own_policy" ]; then $sudo rm -f "$policy"; fi' EXIT
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
