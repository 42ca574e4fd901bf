#!/usr/bin/env bash
# Times opening, checking and saving a collection with varnock-cli side by
# side with grep, pgn-extract and cp on the same file, and measures the peak
# memory of opening, on the largest corpus file and on that file repeated to
# about 500 MB. Prints the ratios the targets are stated in:
#   count / grep -c '^[Event '         (target: at most 3)
#   pgn-extract -r / check             (target: at least 10)
#   save (unchanged) / cp              (target: at most 2)
#     the save step of an open collection (bench/save_step), and the whole
#     of varnock-cli save, which opens the file first; also against cp
#     followed by sync of the copy: a save flushes its file to disk before it
#     takes the old one's place, which cp does not
#   peak memory of count / (1.3 x file size + 200 bytes per game)  (target: below 1)
#
#   bench/compare_collection.sh [--build DIR] [--big MB | --no-big] [--file PGN] [--runs N]
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$repo/build-bench"
shared="${VARNOCK_SHARED_DIR:-$repo/../shared}"
work="${TMPDIR:-/tmp}/varnock-bench"
big_mb=500
file=""
runs=3

while [[ $# -gt 0 ]]; do
  case "$1" in
    --build) build=$2; shift 2 ;;
    --big) big_mb=$2; shift 2 ;;
    --no-big) big_mb=0; shift ;;
    --file) file=$2; shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    -h | --help) sed -n '2,15p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "compare_collection: unknown argument '$1' (see --help)" >&2; exit 2 ;;
  esac
done

cli="$build/src/cli/varnock-cli"
[[ -x "$cli" ]] || { echo "compare_collection: $cli is missing; run make bench" >&2; exit 1; }
save_step="$build/bench/save_step"
[[ -x "$save_step" ]] || { echo "compare_collection: $save_step is missing; run make bench" >&2; exit 1; }
pgn_extract=$(command -v pgn-extract || echo /usr/games/pgn-extract)
[[ -x "$pgn_extract" ]] || { echo "compare_collection: pgn-extract is not installed" >&2; exit 1; }
[[ -x /usr/bin/time ]] || { echo "compare_collection: /usr/bin/time is not installed (package time)" >&2; exit 1; }
mkdir -p "$work"

if [[ -z "$file" ]]; then
  manifest="$shared/corpus/MANIFEST.tsv"
  file="$shared/corpus/$(awk -F'\t' 'NR > 1 && $2 > max { max = $2; path = $1 } END { print path }' "$manifest")"
fi
name=$(basename "$file" .xz)
name=${name%.pgn}
base="$work/$name.pgn"
if [[ "$file" == *.xz ]]; then
  [[ -s "$base" && "$base" -nt "$file" ]] || xz -dc "$file" >"$base"
else
  base=$file
fi

# shellcheck source=bench/time-in-turns.sh
source "$repo/bench/time-in-turns.sh"
declare -A seconds

measure() {
  local pgn=$1
  local bytes games q copy backups
  bytes=$(stat -c %s "$pgn")
  q=$(printf '%q' "$pgn")
  copy="$work/save-copy.pgn"
  backups="$work/save-backups"
  cp "$pgn" "$copy"
  games=$("$cli" count "$pgn" 2>/dev/null)
  echo "File: $pgn ($(awk -v b="$bytes" 'BEGIN { printf "%.1f", b / 1e6 }') MB, $games games), $(date '+%Y-%m-%d %H:%M:%S %Z')"

  local t_grep t_count t_check t_extract t_cp t_cpsync t_save peak own one
  # Each save replaces the copy with the file it wrote, whose pages the next
  # round's save may have to read from the disk again, while cp and count
  # read a file the page cache holds. The copy is read once (warm, not
  # reported) before each save, so that the save opens it as count opens
  # the original: a user saves a collection that is open already.
  local cli_q cp_to
  cli_q=$(printf '%q' "$cli")
  cp_to=$(printf '%q' "$work/cp-copy.pgn")
  time_in_turns "$runs" "$work" \
    grep "grep -c '^\\[Event ' $q" \
    count "$cli_q count $q" \
    check "$cli_q check $q" \
    extract "$(printf '%q' "$pgn_extract") -r -s --quiet -l/dev/null $q" \
    cp "cp $q $cp_to" \
    cpsync "cp $q $cp_to && sync $cp_to" \
    warm "cat $(printf '%q' "$copy") >/dev/null" \
    save "$cli_q save $(printf '%q' "$copy") --backups 1 --backup-dir $(printf '%q' "$backups")"
  t_grep=${seconds[grep]} t_count=${seconds[count]} t_check=${seconds[check]} t_extract=${seconds[extract]}
  t_cp=${seconds[cp]} t_cpsync=${seconds[cpsync]} t_save=${seconds[save]}
  echo "  ($turns_method)"
  cmp -s "$pgn" "$copy" || echo "  (!) the unchanged save did not write the same bytes"
  # The save step alone, as a user waits for it on a collection open
  # already: save_step opens the copy, then times its save (median of the
  # rounds; the copy is read once before each, as above).
  local -a step_times=()
  local t_step round
  for ((round = 0; round < runs; round++)); do
    cat "$copy" >/dev/null
    step_times+=("$("$save_step" "$copy" "$backups" 2>/dev/null | sed -nE 's/.*save ([0-9.]+) s$/\1/p')")
  done
  t_step=$(printf '%s\n' "${step_times[@]}" | sort -g |
    awk '{ t[NR] = $1 } END { print (NR % 2) ? t[(NR + 1) / 2] : (t[NR / 2] + t[NR / 2 + 1]) / 2 }')
  cmp -s "$pgn" "$copy" || echo "  (!) the save step did not write the same bytes"
  peak=$(/usr/bin/time -f %M "$cli" count "$pgn" 2>&1 >/dev/null | tail -1)
  # The program's own footprint (code, libraries, start-up): count of the
  # file's first game alone.
  one="$work/one-game.pgn"
  awk '/^\[Event / && seen++ { exit } { print }' "$pgn" >"$one"
  own=$(/usr/bin/time -f %M "$cli" count "$one" 2>&1 >/dev/null | tail -1)
  rm -f "$one"
  rm -f "$work/cp-copy.pgn" "$copy"
  rm -rf "$backups"

  printf '  %-26s %8.3f s\n' "grep -c '^[Event '" "$t_grep" "varnock-cli count" "$t_count" \
    "varnock-cli check" "$t_check" "pgn-extract -r" "$t_extract" "cp" "$t_cp" "cp + sync" "$t_cpsync" "varnock-cli save (unchanged)" "$t_save" \
    "save step (open collection)" "$t_step"
  awk -v g="$t_grep" -v c="$t_count" -v k="$t_check" -v x="$t_extract" -v p="$t_cp" -v ps="$t_cpsync" -v s="$t_save" -v st="$t_step" \
    -v m="$peak" -v o="$own" -v b="$bytes" -v n="$games" 'BEGIN {
      budget = (1.3 * b + 200 * n) / 1024
      printf "  count / grep            = %6.2f   (target <= 3)\n", c / g
      printf "  pgn-extract / check     = %6.2f   (target >= 10)\n", x / k
      printf "  save step / cp          = %6.2f   (target <= 2; varnock-cli save, opening too: %.2f)\n", st / p, s / p
      printf "  save step / (cp + sync) = %6.2f   (varnock-cli save: %.2f)\n", st / ps, s / ps
      printf "  peak memory of count    = %.0f KB of a budget of %.0f KB: %.2f   (target < 1)\n", m, budget, m / budget
      printf "    above the program'"'"'s own %.0f KB (count of the first game alone): %.0f KB, %.2f of the budget\n", o, m - o, (m - o) / budget
    }'
  echo
}

measure "$base"
if [[ $big_mb -gt 0 ]]; then
  big="$work/$name-x${big_mb}MB.pgn"
  target=$((big_mb * 1000 * 1000))
  if [[ ! -s "$big" || $(stat -c %s "$big") -lt $target || "$base" -nt "$big" ]]; then
    : >"$big"
    while [[ $(stat -c %s "$big") -lt $target ]]; do
      cat "$base" >>"$big"
      printf '\r\n' >>"$big"
    done
  fi
  measure "$big"
fi
