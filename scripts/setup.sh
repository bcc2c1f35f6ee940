#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what Lumière needs on Debian 12, when it is missing:
#   scripts/setup.sh        what building and running the program needs (./start.sh)
#   scripts/setup.sh test   that, and the test, benchmark and fuzz tool chains (./test.sh, CI)
set -euo pipefail

run_packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev qt6-translations-l10n
  fonts-liberation
  libola-dev libaubio-dev libpulse-dev
  qt6-httpserver-dev qt6-websockets-dev libqrencode-dev
)
test_packages=(
  libgtest-dev libgmock-dev
  xvfb xauth x11-apps imagemagick
  qt6-serialport-dev
  clang libclang-rt-14-dev clang-format
  ola pulseaudio pulseaudio-utils
  chromium chromium-driver python3-selenium
  fluidsynth fluid-soundfont-gm timgm6mb-soundfont mma sox python3-mido python3-mir-eval
  planetblupi-music-midi simutrans-data freedink-data openttd-openmsx
  dpkg-dev lintian appstream desktop-file-utils shellcheck reuse
)

packages=("${run_packages[@]}")
case "${1:-run}" in
  run) ;;
  test) packages+=("${test_packages[@]}") ;;
  *) echo "usage: scripts/setup.sh [run|test]" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installation des paquets manquants : ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  sudo=()
elif command -v sudo >/dev/null; then
  sudo=(sudo)
else
  echo "Il faut être root (ou avoir sudo) pour installer : ${missing[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
# Daemons the tests start themselves (olad, pulseaudio) must not start as system services while
# they are installed: a policy that refuses service starts, for this install only.
policy=/usr/sbin/policy-rc.d
if [ ! -e "$policy" ]; then
  # Removed however the install ends (an error, Ctrl-C): left behind it would refuse every
  # service start on the machine.
  trap '"${sudo[@]}" rm -f "$policy"' EXIT
  trap 'exit 130' INT TERM
  printf '#!/bin/sh\nexit 101\n' | "${sudo[@]}" tee "$policy" >/dev/null
  "${sudo[@]}" chmod 755 "$policy"
fi
status=0
"${sudo[@]}" apt-get update -qq || status=$?
[ "$status" -eq 0 ] &&
  { "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null || status=$?; }
exit "$status"
