#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the music sets of the beat benchmark and the music tests in a cache outside git
# (default build/music-set/): General MIDI arrangements rendered with fluidsynth and a GM
# soundfont, with their exact beats. Installs nothing: the packages come from
# `scripts/setup.sh test`.
#   scripts/music-set.sh                      the development, game-music and held-out sets
#   scripts/music-set.sh --set dev            the development set only
#   scripts/music-set.sh --only rock-143 --out DIR   some songs (--set games --only simu-01, ...)
#   scripts/music-set.sh --performance 3      mma's random timing drawn from seed 3 (the same
#                                             performance each time; default: a new one)
set -euo pipefail
cd "$(dirname "$0")/.."

missing=()
for tool in fluidsynth mma sox; do command -v "$tool" >/dev/null || missing+=("$tool"); done
for font in FluidR3_GM TimGM6mb; do
  [ -f "/usr/share/sounds/sf2/$font.sf2" ] || missing+=("$font.sf2")
done
/usr/bin/python3 -c 'import mido, numpy' 2>/dev/null || missing+=("python3-mido")
if [ ${#missing[@]} -gt 0 ]; then
  echo "music-set.sh : il manque ${missing[*]} (scripts/setup.sh test les installe)" >&2
  exit 1
fi
exec nice -n 10 /usr/bin/python3 scripts/music_set.py "$@"
