#!/usr/bin/env python3
"""Checks what `varnock-cli explore` shows against counts made here from
pgn-extract's output, independently of Varnock's readers and keys.

pgn-extract writes each game's main line in long algebraic notation with the
position after every move as a FEN comment. From that, for the first PLIES
half-moves of every finished game, this script counts the games that reach
each position (board and side to move; a game counts once however often it
comes back) by result, and the moves played from it. For a sample of
positions it then runs `explore` on the database built from the same file
and expects one row per move played, each with the games and percentages of
the position the move leads to, the rows by games, most first; a position
from which no move was counted shows the single "0" row.

    explorer_counts.py CLI DB PGN PLIES
"""
import random
import shutil
import re
import subprocess
import sys

START = 'rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1'
OUTCOMES = {'1-0': 0, '0-1': 1, '1/2-1/2': 2}
PGN_EXTRACT = [shutil.which('pgn-extract') or '/usr/games/pgn-extract', '-s', '-V', '-Wxlalg', '--fencomments', '-C', '-N',
               '--nomovenumbers', '--noresults', '-w', '1000000']


def position(fen):
    """The part of a FEN the explorer tells positions apart by."""
    fields = fen.split()
    return fields[0] + ' ' + fields[1]


def piece_at(fen, square):
    rows = fen.split()[0].split('/')
    file, rank = ord(square[0]) - ord('a'), int(square[1])
    column = 0
    for char in rows[8 - rank]:
        if char.isdigit():
            column += int(char)
            continue
        if column == file:
            return char
        column += 1
    return None


def move_text(before, token):
    """The explorer's text of a move: piece letter, from, "-" or ":", to,
    "+" for a check, " ep" for an en-passant capture; "O-O" and "O-O-O"
    for castling, never with a check sign; a promotion shows the pawn step."""
    m = re.fullmatch(r'([KQRBN]?)([a-h][1-8])[-x]([a-h][1-8])(=?[QRBN])?([+#]?)', token)
    assert m, token
    _, origin, target, _, check = m.groups()
    piece = piece_at(before, origin)
    assert piece, (before, token)
    if piece in 'Kk' and abs(ord(origin[0]) - ord(target[0])) == 2:
        return 'O-O' if target[0] == 'g' else 'O-O-O'
    letter = '' if piece in 'Pp' else piece.upper()
    en_passant = piece in 'Pp' and origin[0] != target[0] and piece_at(before, target) is None
    capture = piece_at(before, target) is not None or en_passant
    return (letter + origin + (':' if capture else '-') + target + ('+' if check else '') +
            (' ep' if en_passant else ''))


def games_of(text):
    """(result, [(move token, FEN after it)]) of each game pgn-extract wrote."""
    for block in re.split(r'\n(?=\[Event )', text):
        result = re.search(r'^\[Result "([^"]*)"\]', block, re.M)
        if re.search(r'^\[FEN ', block, re.M):
            continue  # set-up games are left out of the sample file
        moves = re.findall(r'(\S+) \{ ([^}]*) \}', block.split('\n\n', 1)[-1])
        yield (result.group(1) if result else '*'), moves


def count(pgn, plies):
    text = subprocess.run(PGN_EXTRACT + [pgn], capture_output=True, text=True, check=True).stdout
    reached = {}  # position -> [white, black, draws]
    played = {}  # position -> {move text: position after}
    fens = {}  # position -> a full FEN of it
    for result, moves in games_of(text):
        if result not in OUTCOMES:
            continue
        seen = set()

        def reach(fen):
            here = position(fen)
            fens.setdefault(here, fen)
            if here not in seen:
                seen.add(here)
                reached.setdefault(here, [0, 0, 0])[OUTCOMES[result]] += 1
            return here

        before = START
        reach(START)
        for token, fen in moves[:plies]:
            played.setdefault(position(before), {})[move_text(before, token)] = reach(fen)
            before = fen
    return reached, played, fens


def percent(part, total):
    return str((part * 200 + total) // (total * 2)) if total else ''


def expected_rows(here, reached, played):
    rows = []
    for text, after in played.get(here, {}).items():
        white, black, draws = reached[after]
        total = white + black + draws
        rows.append((text, str(total), percent(white, total), percent(draws, total), percent(black, total)))
    return rows or [('0', '0', '0', '0', '0')]


def main(cli, db, pgn, plies):
    reached, played, fens = count(pgn, int(plies))
    # The most visited positions, and a fixed random sample of the rest
    # (some of them at the last ply, from which no move is counted).
    ordered = sorted(reached, key=lambda p: (-sum(reached[p]), p))
    sample = ordered[:40] + random.Random(7).sample(ordered[40:], min(40, len(ordered) - 40))
    failures = 0
    for here in sample:
        shown = subprocess.run([cli, 'explore', fens[here], '--db', db], capture_output=True, text=True)
        lines = shown.stdout.split('\n')[1:-1]  # the title first
        rows = [tuple(line.split('\t')[:5]) for line in lines]
        expected = expected_rows(here, reached, played)
        games = [int(row[1]) for row in rows]
        if sorted(rows) != sorted(expected) or games != sorted(games, reverse=True):
            failures += 1
            print('position', fens[here], '\n  shown   ', rows, '\n  expected', sorted(expected))
    print('positions', len(reached), 'checked', len(sample), 'failures', failures)
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main(*sys.argv[1:]))
