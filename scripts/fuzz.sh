#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Fuzzes the core's readers with libFuzzer under AddressSanitizer + UBSan:
#   scripts/fuzz.sh [seconds per target]   (default: 12, about a minute in all)
# Each target starts from a copy of its seed corpus fuzz/corpus/<target>, so nothing is ever written
# into the repository. The work corpora and any finding (crash-*, leak-*, timeout-*, oom-*) stay in
# build/fuzz/runs/<target>; replay a finding with: build/fuzz/fuzz/<target> <file>.
# Fails when any target finds something.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-12}"
if ! [[ "$seconds" =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: scripts/fuzz.sh [seconds per target]" >&2
  exit 2
fi

[ "${LUMIERE_SETUP_DONE:-}" = 1 ] || scripts/setup.sh test
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

targets=(fuzz_number fuzz_profile fuzz_files fuzz_binaire fuzz_decode fuzz_remote_command)
declare -A max_len=([fuzz_binaire]=4 [fuzz_remote_command]=8192)
runs=build/fuzz/runs
# A smaller quarantine than the default 256 MB keeps each run well under the RSS limit.
export ASAN_OPTIONS="detect_leaks=1:quarantine_size_mb=64"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

failed=()
for target in "${targets[@]}"; do
  work="$runs/$target"
  rm -rf "$work"
  mkdir -p "$work/corpus" "$work/findings"
  cp -R "fuzz/corpus/$target/." "$work/corpus/"
  seeds=$(find "$work/corpus" -type f | wc -l)

  status=0
  "build/fuzz/fuzz/$target" "$work/corpus" \
    -max_total_time="$seconds" -timeout=5 -rss_limit_mb=1024 -max_len="${max_len[$target]:-4096}" \
    -entropic_scale_per_exec_time=1 -artifact_prefix="$work/findings/" -print_final_stats=1 \
    >"$work/log.txt" 2>&1 || status=$?

  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log.txt")
  if [ -z "$executions" ]; then  # a finding stops the run before the final statistics
    executions=$(grep -o '^#[0-9]*' "$work/log.txt" | tail -n 1 | tr -d '#' || true)
  fi
  corpus=$(find "$work/corpus" -type f | wc -l)
  findings=$(find "$work/findings" -type f | wc -l)
  if [ "$status" -eq 0 ] && [ "$findings" -eq 0 ]; then
    printf '%-13s %10s executions, corpus %d -> %d, nothing found\n' \
      "$target" "${executions:-?}" "$seeds" "$corpus"
  else
    printf '%-13s %10s executions, FOUND SOMETHING (exit %d):\n' \
      "$target" "${executions:-?}" "$status"
    grep -E 'ERROR|runtime error|invariant broken|SUMMARY' "$work/log.txt" | head -n 10 | sed 's/^/    /' || true
    find "$work/findings" -type f | sed 's/^/    finding: /'
    echo "    full log: $work/log.txt"
    failed+=("$target")
  fi
done

if [ ${#failed[@]} -ne 0 ]; then
  echo "Fuzzing found problems in: ${failed[*]}" >&2
  exit 1
fi
