#!/usr/bin/env bash
# Runs one fuzz target of the fuzz build for a bounded time:
#   tests/fuzz/run_fuzzer.sh TARGET SECONDS
# TARGET is database or conversion. The corpus grows in build/fuzz/corpus/TARGET
# from the seeds in build/fuzz/seeds/TARGET; a crash, leak, timeout or
# oversized allocation leaves its input in build/fuzz/artifacts/ and fails the
# run. The whole log is in build/fuzz/logs/TARGET.log; the final statistics are
# printed.
set -euo pipefail
target=$1
seconds=$2
fuzz=$(cd "$(dirname "$0")/../.." && pwd)/build/fuzz
corpus=$fuzz/corpus/$target
artifacts=$fuzz/artifacts
log=$fuzz/logs/$target.log
mkdir -p "$corpus" "$artifacts" "$fuzz/logs"

kept_before=$(find "$artifacts" -name "$target-*" | wc -l)
echo "== fuzzing $target for $seconds s"
status=0
# Inputs stay small enough that every one runs in well under a second, and no
# allocation of the converter comes near 16 MiB for them.
"$fuzz/tests/fuzz/brimlow_fuzz_$target" "$corpus" "$fuzz/seeds/$target" \
  -max_total_time="$seconds" -print_final_stats=1 -timeout=10 -malloc_limit_mb=16 \
  -artifact_prefix="$artifacts/$target-" >"$log" 2>&1 || status=$?
kept_after=$(find "$artifacts" -name "$target-*" | wc -l)

grep -E '^(INFO: seed corpus|#[0-9]+[[:space:]]+(INITED|DONE)|stat::)' "$log" || true
if [ "$status" -ne 0 ] || [ "$kept_after" -ne "$kept_before" ]; then
  tail -n 60 "$log"
  echo "== $target FAILED (exit status $status); inputs kept:"
  find "$artifacts" -name "$target-*" -newer "$fuzz/seeds" -print
  exit 1
fi
echo "== $target clean: corpus of $(find "$corpus" -type f | wc -l) inputs in $corpus"
