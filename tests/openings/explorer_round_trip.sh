#!/usr/bin/env bash
# Builds an explorer database from corpus games with varnock-cli and reads it
# back with an independent reader: every record, and the start position's
# games against the results the file's tags give (counted from the tags);
# then what explore shows for sampled positions against counts made from
# pgn-extract's positions of the same games.
set -euo pipefail
cli=$1 shared=$2 here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
xz -dc "$shared/corpus/big/pgnmentor/Hou.pgn.xz" >"$work/games.pgn"
summary=$("$cli" explorer-build "$work/out.db" "$work/games.pgn" --plies 12)
read -r _ games _ positions _ bytes <<<"$summary"
[[ $(stat -c %s "$work/out.db") == "$bytes" ]]
finished=$(grep -cE '^\[Result "(1-0|0-1|1/2-1/2)"\]' "$work/games.pgn")
[[ $games == "$finished" ]] || { echo "games $games, finished games $finished"; exit 1; }
# 0x5a3279c5: the key of the start position with White to move.
python3 "$here/read_explorer_db.py" "$work/out.db" 0x5a3279c5 "$positions" "$games"
"$cli" explorer-build "$work/main.db" "$work/games.pgn" --plies 12 --mainline-only >/dev/null
python3 "$here/explorer_counts.py" "$cli" "$work/main.db" "$work/games.pgn" 12
