#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs every test of Lumière: ./test.sh [debug|asan]   (default: debug)
set -euo pipefail
cd "$(dirname "$0")"
preset="${1:-debug}"
case "$preset" in
  debug|asan) ;;
  *) echo "usage: ./test.sh [debug|asan]" >&2; exit 2 ;;
esac

[ "${LUMIERE_SETUP_DONE:-}" = 1 ] || scripts/setup.sh test
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
ctest --preset "$preset" --parallel "$(nproc)"
