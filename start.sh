#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets up what is missing, builds Lumière (only the program, the simulator and the pictures, and
# only what changed), and starts it with the virtual lamp controller (lumiere-sim) attached as its
# serial port. The lamps show live in this terminal.
set -euo pipefail
cd "$(dirname "$0")"

scripts/setup.sh run
[ -f build/release/build.ninja ] || cmake --preset release >/dev/null
if ! cmake --build --preset release --target lumiere lumiere-sim; then
  echo "La construction de Lumière a échoué (voir ci-dessus)." >&2
  exit 1
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "Pas d'écran ici (DISPLAY et WAYLAND_DISPLAY sont vides) : Lumière est une fenêtre." >&2
  echo "Sur une machine sans écran, lancez-le dans un écran virtuel : xvfb-run -a ./start.sh" >&2
  exit 1
fi

bin=build/release/bin
log=build/release/lumiere.log
"$bin/lumiere-sim" &
sim=$!
trap 'kill -TERM "$sim" 2>/dev/null || true; wait "$sim" 2>/dev/null || true' EXIT
# The simulator links its pseudo-terminal as COM<N> beside the program; wait for it.
for _ in $(seq 50); do
  ls "$bin"/COM* >/dev/null 2>&1 && break
  sleep 0.1
done
# Qt's own chatter goes to the log; a crash or an error exit is said here, with the log's end.
status=0
"$bin/lumiere" 2>"$log" || status=$?
if [ "$status" -ne 0 ]; then
  if [ "$status" -gt 128 ]; then
    echo "Lumière s'est arrêté brutalement (signal $((status - 128)))." >&2
  else
    echo "Lumière s'est terminé avec le code $status." >&2
  fi
  echo "Dernières lignes de $log :" >&2
  tail -n 20 "$log" >&2
  exit "$status"
fi
