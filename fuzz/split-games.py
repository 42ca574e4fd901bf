#!/usr/bin/env python3
"""Splits xz-compressed PGN files into single games and writes a sample of them.

    split-games.py OUT_DIR MAX_BYTES FILE:MAX_GAMES[:READ_BYTES]...

A game ends where a tag line follows movetext. Games longer than MAX_BYTES
are left out; of the rest, at most MAX_GAMES per file, spread evenly over the
file, are written byte for byte as OUT_DIR/FOLDER-NAME-N.pgn. With
READ_BYTES, only that much of the file is split.
"""
import lzma
import os
import re
import sys


def split_games(data):
    games, current, movetext_seen = [], [], False
    for line in re.split(rb"(?<=\n)", data):
        stripped = line.strip()
        if stripped.startswith(b"[") and movetext_seen:
            games.append(b"".join(current))
            current, movetext_seen = [], False
        current.append(line)
        if stripped and not stripped.startswith((b"[", b"%")):
            movetext_seen = True
    if b"".join(current).strip():
        games.append(b"".join(current))
    return games


def read_xz(path, limit):
    with lzma.open(path, "rb") as f:
        return f.read(limit) if limit else f.read()


def main():
    out_dir, max_bytes = sys.argv[1], int(sys.argv[2])
    os.makedirs(out_dir, exist_ok=True)
    written = 0
    for item in sys.argv[3:]:
        path, max_games, *limit = item.rsplit(":", 2) if item.count(":") >= 2 else item.rsplit(":", 1)
        data = read_xz(path, int(limit[0]) if limit else 0)
        games = [g for g in split_games(data) if g.strip() and len(g) <= max_bytes]
        if len(games) > int(max_games):
            step = len(games) / int(max_games)
            games = [games[int(i * step)] for i in range(int(max_games))]
        prefix = os.path.basename(os.path.dirname(path)) + "-" + os.path.basename(path).removesuffix(".pgn.xz")
        for number, game in enumerate(games, 1):
            with open(os.path.join(out_dir, f"{prefix}-{number}.pgn"), "wb") as out:
                out.write(game)
        written += len(games)
    print(f"split-games: {written} games from {len(sys.argv) - 3} files")


if __name__ == "__main__":
    main()
