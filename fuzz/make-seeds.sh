#!/usr/bin/env bash
# Makes the seed corpora of the fuzz targets in BUILD_DIR/fuzz-seeds/{pgn,ech,fen,explorer}:
# single games split from the shared PGN corpus, the same games written as
# ECH, positions from them as FEN, explorer statistics counted from them, and
# the hand-written seeds of fuzz/seeds/.
#
#   fuzz/make-seeds.sh BUILD_DIR     (the shared data: VARNOCK_SHARED_DIR, else ../shared)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=${1:?usage: make-seeds.sh BUILD_DIR}
shared=${VARNOCK_SHARED_DIR:-$here/../../shared}
corpus=$shared/corpus
seeds=$build/fuzz-seeds
max_bytes=4096

rm -rf "$seeds"
mkdir -p "$seeds/pgn" "$seeds/ech" "$seeds/fen" "$seeds/explorer"

# Games per file, by folder of the corpus: the small annotated and odd files
# give most; of the large files only the first part is split.
if [[ -d $corpus ]]; then
  specs=()
  for file in "$corpus"/annotated/*/*.pgn.xz "$corpus"/odd/*/*.pgn.xz; do specs+=("$file:12"); done
  for file in "$corpus"/big/hlotze/*.pgn.xz; do specs+=("$file:10"); done
  for file in "$corpus"/big/chesscom-games/*.pgn.xz; do specs+=("$file:12"); done
  for file in "$corpus"/big/pgnmentor/*.pgn.xz; do specs+=("$file:12:400000"); done
  for file in $(ls "$corpus"/big/tcec/*.pgn.xz | head -n 4); do specs+=("$file:3:400000"); done
  python3 "$here/split-games.py" "$seeds/pgn" "$max_bytes" "${specs[@]}"
else
  echo "make-seeds: no corpus at $corpus; only the hand-written seeds are used" >&2
fi

cp "$here"/seeds/pgn/* "$seeds/pgn/"
"$build/fuzz/varnock_fuzz_seeds" "$seeds/pgn" "$seeds/ech" "$seeds/fen" "$seeds/explorer"
cp "$here"/seeds/ech/* "$seeds/ech/"
cp "$here"/seeds/fen/* "$seeds/fen/"
for kind in pgn ech fen explorer; do
  echo "make-seeds: $(ls "$seeds/$kind" | wc -l) $kind seeds"
done
