#!/usr/bin/env bash
# Times Varnock's PGN reader against grep and pgn-extract on one file, in one
# run: `grep -c '^\[Event '` (a floor: one pass over the bytes), read_all in
# Scan and Full mode (one thread), `varnock-cli check` (open the file, then
# read every game in full on every core), and `pgn-extract -r` (reads and
# validates every game, on one core). The one-thread commands are pinned to
# one core (taskset), the same for all; the times are medians.
#
#   bench/compare_pgn_extract.sh [--build DIR] [--big [MB]] [--file PGN] [--runs N] [--no-hyperfine]
#
#   --build DIR     the build folder holding bench/read_all (default: build-bench)
#   --big [MB]      time a file of about MB megabytes (default 500) made by
#                   repeating the file, in /tmp
#   --file PGN      the file to time (plain or .xz); default: the largest
#                   corpus file
#   --runs N        rounds, each timing every command once in turn (default 3;
#                   1 warm-up run of each first)
#   --no-hyperfine  time with the shell's clock even when hyperfine is installed
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$repo/build-bench"
shared="${VARNOCK_SHARED_DIR:-$repo/../shared}"
work="${TMPDIR:-/tmp}/varnock-bench"
big_mb=0
file=""
runs=3
use_hyperfine=1

while [[ $# -gt 0 ]]; do
  case "$1" in
    --build) build=$2; shift 2 ;;
    --big)
      big_mb=500
      if [[ $# -gt 1 && "$2" =~ ^[0-9]+$ ]]; then big_mb=$2; shift; fi
      shift
      ;;
    --file) file=$2; shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    --no-hyperfine) use_hyperfine=0; shift ;;
    -h | --help) sed -n '2,18p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "compare_pgn_extract: unknown argument '$1' (see --help)" >&2; exit 2 ;;
  esac
done
[[ "$runs" =~ ^[1-9][0-9]*$ ]] || { echo "compare_pgn_extract: --runs takes a number from 1" >&2; exit 2; }

read_all="$build/bench/read_all"
[[ -x "$read_all" ]] || { echo "compare_pgn_extract: $read_all is missing; run make bench" >&2; exit 1; }
cli="$build/src/cli/varnock-cli"
[[ -x "$cli" ]] || { echo "compare_pgn_extract: $cli is missing; run make bench" >&2; exit 1; }
pgn_extract=$(command -v pgn-extract || true)
[[ -n "$pgn_extract" ]] || pgn_extract=/usr/games/pgn-extract
[[ -x "$pgn_extract" ]] || { echo "compare_pgn_extract: pgn-extract is not installed" >&2; exit 1; }

mkdir -p "$work"

# The file to time, decompressed.
if [[ -z "$file" ]]; then
  manifest="$shared/corpus/MANIFEST.tsv"
  [[ -f "$manifest" ]] || { echo "compare_pgn_extract: no corpus at $shared/corpus" >&2; exit 1; }
  file="$shared/corpus/$(awk -F'\t' 'NR > 1 && $2 > max { max = $2; path = $1 } END { print path }' "$manifest")"
fi
name=$(basename "$file" .xz)
name=${name%.pgn}
pgn="$work/$name.pgn"
if [[ "$file" == *.xz ]]; then
  [[ -s "$pgn" && "$pgn" -nt "$file" ]] || xz -dc "$file" >"$pgn"
else
  pgn=$file
fi

if [[ $big_mb -gt 0 ]]; then
  big="$work/$name-x${big_mb}MB.pgn"
  target=$((big_mb * 1000 * 1000))
  if [[ ! -s "$big" || $(stat -c %s "$big") -lt $target || "$pgn" -nt "$big" ]]; then
    echo "Building $big from $(basename "$pgn") ..."
    : >"$big"
    # A blank line between copies keeps the last game of one copy apart from
    # the first of the next.
    while [[ $(stat -c %s "$big") -lt $target ]]; do
      cat "$pgn" >>"$big"
      printf '\r\n' >>"$big"
    done
  fi
  pgn=$big
fi

bytes=$(stat -c %s "$pgn")
megabytes=$(awk -v b="$bytes" 'BEGIN { printf "%.1f", b / 1e6 }')
quoted=$(printf '%q' "$pgn")

# The one-thread commands run on one and the same core: the cores of a
# virtual machine may run at different speeds, and a ratio of two one-thread
# times taken on different cores says little. check runs on every core.
pin=""
if command -v taskset >/dev/null 2>&1; then
  core=$(taskset -cp $$ 2>/dev/null | sed -E 's/.*: *([0-9]+).*/\1/')
  [[ "$core" =~ ^[0-9]+$ ]] && pin="taskset -c $core "
fi

names=(grep varnock-scan varnock-full varnock-check pgn-extract)
commands=(
  "${pin}grep -c '^\\[Event ' $quoted"
  "${pin}$(printf '%q' "$read_all") --scan $quoted"
  "${pin}$(printf '%q' "$read_all") $quoted"
  "$(printf '%q' "$cli") check $quoted"
  "${pin}$(printf '%q' "$pgn_extract") -r -s --quiet -l/dev/null $quoted"
)

echo "File: $pgn ($megabytes MB), $(date '+%Y-%m-%d %H:%M:%S %Z')"
[[ -n "$pin" ]] && echo "The one-thread commands run on core $core; check on every core."
echo "Counts (one untimed run each):"
echo "  grep '^[Event ': $(grep -c '^\[Event ' "$pgn" || true) lines"
echo "  $("$read_all" --scan "$pgn")"
echo "  $("$read_all" "$pgn")"
echo "  check: $("$cli" check "$pgn" 2>/dev/null || true) ($(nproc) cores)"
echo

# shellcheck source=bench/time-in-turns.sh
source "$repo/bench/time-in-turns.sh"
declare -A seconds
turn_args=()
for i in "${!names[@]}"; do turn_args+=("${names[$i]}" "${commands[$i]}"); done
TURNS_HYPERFINE=$use_hyperfine time_in_turns "$runs" "$work" "${turn_args[@]}"
method=$turns_method

echo
echo "Seconds on $megabytes MB ($method):"
for command in "${names[@]}"; do
  awk -v c="$command" -v s="${seconds[$command]}" -v mb="$megabytes" \
    'BEGIN { printf "  %-13s %8.3f s  %8.1f MB/s\n", c, s, (s > 0 ? mb / s : 0) }'
done
awk -v full="${seconds[varnock-full]}" -v scan="${seconds[varnock-scan]}" -v check="${seconds[varnock-check]}" \
  -v grep="${seconds[grep]}" -v extract="${seconds[pgn-extract]}" 'BEGIN {
    printf "Ratios:\n"
    printf "  pgn-extract / varnock full (one thread)                 = %6.2f\n", (full > 0 ? extract / full : 0)
    printf "  pgn-extract / varnock check (open, then all cores read) = %6.2f\n", (check > 0 ? extract / check : 0)
    printf "  varnock scan / grep                                     = %6.2f\n", (grep > 0 ? scan / grep : 0)
  }'
