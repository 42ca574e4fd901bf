#!/usr/bin/env bash
# Runs the instrumented programs of a profile-generating build (VARNOCK_PGO=
# generate) over the corpus, so that they write the profile the optimised
# build reads. The largest corpus file, which the benchmarks time, is left
# out: the profile comes from other files of the same kinds.
#
#   bench/pgo-train.sh BUILD_DIR PROFILE_DIR
set -euo pipefail

[[ $# -eq 2 ]] || { echo "usage: bench/pgo-train.sh BUILD_DIR PROFILE_DIR" >&2; exit 2; }
build=$1
profile=$2
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
shared="${VARNOCK_SHARED_DIR:-$repo/../shared}"
manifest="$shared/corpus/MANIFEST.tsv"
[[ -f "$manifest" ]] || { echo "pgo-train: no corpus at $shared/corpus" >&2; exit 1; }
cli="$build/src/cli/varnock-cli"
read_all="$build/bench/read_all"
for program in "$cli" "$read_all"; do
  [[ -x "$program" ]] || { echo "pgo-train: $program is missing" >&2; exit 1; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/varnock-pgo.XXXXXX")
trap 'rm -rf "$work"' EXIT
rm -rf "$profile"
mkdir -p "$profile"

largest=$(awk -F'\t' 'NR > 1 && $2 > max { max = $2; path = $1 } END { print path }' "$manifest")
mkdir -p "$work/files"
n=0
while IFS=$'\t' read -r path _; do
  [[ "$path" == "path" || "$path" == "$largest" || "$path" != *.pgn.xz ]] && continue
  n=$((n + 1))
  xz -dc "$shared/corpus/$path" >"$work/files/$n.pgn"
done <"$manifest"
cat "$work/files/"*.pgn >"$work/all.pgn"
echo "pgo-train: $n corpus files ($(stat -c %s "$work/all.pgn") bytes), leaving out $largest"

# What the benchmarks time: open, read every game (on one thread and on all),
# save unchanged, and the reader on its own; and the ECH side of each.
run() { "$@" >/dev/null 2>&1 || true; }
for file in "$work/all.pgn" "$work/files/"*.pgn; do
  run "$cli" count "$file"
  run "$cli" check "$file"
done
run "$cli" check --threads 1 "$work/all.pgn"
run "$read_all" --full "$work/all.pgn"
run "$read_all" --scan "$work/all.pgn"
cp "$work/all.pgn" "$work/save.pgn"
run "$cli" save "$work/save.pgn" --backups 1 --backup-dir "$work/backups"
run "$cli" convert "$work/all.pgn" "$work/all.ech"
run "$cli" check "$work/all.ech"
run "$cli" convert "$work/all.ech" "$work/again.pgn"

written=$(find "$profile" -name '*.gcda' | wc -l)
[[ $written -gt 0 ]] || { echo "pgo-train: the programs wrote no profile to $profile" >&2; exit 1; }
echo "pgo-train: $written profile files in $profile"
