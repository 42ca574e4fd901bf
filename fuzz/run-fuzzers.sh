#!/usr/bin/env bash
# Runs each fuzz target for SECONDS on its corpus (BUILD_DIR/fuzz-corpus/KIND,
# which grows from run to run) and its seeds (BUILD_DIR/fuzz-seeds/KIND).
# Fails when a target finds a crash, a sanitizer report, a failed round trip,
# a leak or an input slower than the timeout; the input is kept in
# BUILD_DIR/fuzz-artifacts/.
#
#   fuzz/run-fuzzers.sh BUILD_DIR [SECONDS] [KIND...]     (kinds: pgn ech fen explorer)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=${1:?usage: run-fuzzers.sh BUILD_DIR [SECONDS] [KIND...]}
seconds=${2:-60}
shift $(($# < 2 ? $# : 2))
kinds=("$@")
[[ ${#kinds[@]} -gt 0 ]] || kinds=(pgn ech fen explorer)

max_len() { [[ $1 == fen ]] && echo 256 || echo 4096; }

failed=()
for kind in "${kinds[@]}"; do
  target=$build/fuzz/fuzz_$kind
  corpus=$build/fuzz-corpus/$kind
  seeds=$build/fuzz-seeds/$kind
  artifacts=$build/fuzz-artifacts
  log=$build/fuzz-logs/$kind.log
  mkdir -p "$corpus" "$seeds" "$artifacts" "$(dirname "$log")"
  echo "== fuzz_$kind: $seconds s, $(ls "$seeds" | wc -l) seeds, $(ls "$corpus" | wc -l) corpus inputs"
  status=0
  ASAN_OPTIONS=detect_leaks=1 \
    "$target" -max_len="$(max_len "$kind")" -max_total_time="$seconds" -timeout=25 -rss_limit_mb=4096 \
    -dict="$here/$kind.dict" -artifact_prefix="$artifacts/$kind-" -print_final_stats=1 \
    "$corpus" "$seeds" >"$log" 2>&1 || status=$?
  grep -E "^#[0-9]+[[:space:]]+DONE" "$log" | tail -n 1 || true
  grep -E "^stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)" "$log" || true
  if [[ $status -ne 0 ]]; then
    echo "fuzz_$kind FAILED (exit $status); the log is $log:" >&2
    # The failed check or the sanitizer's report, without libFuzzer's own stack.
    sed -n -e '/round trip failed/,/ERROR: libFuzzer: deadly signal/p' \
      -e '/ERROR: \(AddressSanitizer\|LeakSanitizer\)/,/SUMMARY/p' -e '/runtime error/,/SUMMARY/p' \
      -e '/ERROR: libFuzzer: \(timeout\|out-of-memory\)/,/SUMMARY/p' "$log" | head -n 120 >&2
    grep -E "Test unit written to" "$log" >&2 || true
    failed+=("fuzz_$kind")
  fi
done

if [[ ${#failed[@]} -gt 0 ]]; then
  echo "fuzz: failed: ${failed[*]}" >&2
  exit 1
fi
echo "fuzz: ${kinds[*]}: no failures in $seconds s each"
