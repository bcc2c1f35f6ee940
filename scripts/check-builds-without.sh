#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Lumière without OLA, aubio and libpulse (all three, then each alone) and runs the tests
# each build has: every option whose library is missing must still build and say so. The four
# builds share one build folder, so each after the first only rebuilds what its options change.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build/without
for without in "OLA AUBIO PULSE" "OLA" "AUBIO" "PULSE"; do
  flags=()
  for lib in OLA AUBIO PULSE; do
    if [[ " $without " == *" $lib "* ]]; then flags+=("-DLUMIERE_WITH_$lib=OFF"); else flags+=("-DLUMIERE_WITH_$lib=ON"); fi
  done
  echo "== Lumière sans ${without// /, }"
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS=-g0 \
    -DLUMIERE_WERROR=ON -DLUMIERE_BUILD_BENCH=OFF "${flags[@]}" >/dev/null
  cmake --build "$build"
  ctest --test-dir "$build" --parallel "$(nproc)" --output-on-failure
done
