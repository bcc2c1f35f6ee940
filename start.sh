#!/usr/bin/env bash
# Sets up what is missing, builds Lumière, and starts it with the virtual lamp controller
# (lumiere-sim) attached as its serial port. The lamps show live in this terminal.
set -euo pipefail
cd "$(dirname "$0")"

scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "Pas d'écran ici (DISPLAY et WAYLAND_DISPLAY sont vides) : Lumière est une fenêtre." >&2
  echo "Sur une machine sans écran, lancez-le dans un écran virtuel : xvfb-run -a ./start.sh" >&2
  exit 1
fi

bin=build/release/bin
"$bin/lumiere-sim" &
sim=$!
trap 'kill -TERM "$sim" 2>/dev/null || true; wait "$sim" 2>/dev/null || true' EXIT
# The simulator links its pseudo-terminal as COM<N> beside the program; wait for it.
for _ in $(seq 50); do
  ls "$bin"/COM* >/dev/null 2>&1 && break
  sleep 0.1
done
"$bin/lumiere" 2>>build/release/lumiere.log
