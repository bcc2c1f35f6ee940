#!/usr/bin/env bash
# Runs every test of Lumière: ./test.sh [debug|release|asan]   (default: debug)
set -euo pipefail
cd "$(dirname "$0")"
preset="${1:-debug}"

scripts/setup.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
ctest --preset "$preset"
