#!/usr/bin/env python3
"""An independent reader of an explorer statistics file, written from the
format's description: inflates the container, walks every page from the root
and checks each one (entry counts, big-endian offsets inside the page, keys
ascending across the whole tree, internal keys equal to their child's first
key, record lengths in base 128 ending where the records say). Prints
'records N games G' where G is the total of the record whose key is given."""
import struct
import sys
import zlib


def main(path, probe_key, expected_records, expected_games):
    raw = open(path, 'rb').read()
    length = struct.unpack_from('<I', raw, 0)[0]
    data = zlib.decompress(raw[4:])
    assert len(data) == length, (len(data), length)
    keys, seen = [], set()

    def page(at, depth):
        assert depth < 32 and at not in seen
        seen.add(at)
        word = struct.unpack_from('<H', data, at + 1)[0]
        count, leaf = (word >> 4) & 0x7FF, bool(word & 0x8000)
        offsets = [struct.unpack_from('>H', data, at + 3 + 2 * i)[0] for i in range(count)]
        first = None
        for off in offsets:
            start = at + 3 + off
            key = struct.unpack_from('<I', data, start)[0]
            if first is None:
                first = key
            if leaf:
                pos, rec_len = start + 4, 0
                while True:
                    byte = data[pos]
                    pos += 1
                    rec_len = rec_len << 7 | (byte & 0x7F)
                    if not byte & 0x80:
                        break
                white, black, draws, moves = struct.unpack_from('<HHHB', data, pos)
                assert rec_len == 7 + 2 * (moves & 0x7F), (rec_len, moves)
                keys.append((key, white + black + draws))
            else:
                child = struct.unpack_from('<I', data, start + 4)[0]
                assert page(child, depth + 1) == key, 'an internal key is not its child first key'
        return first

    page(0, 0)
    assert [k for k, _ in keys] == sorted(set(k for k, _ in keys)), 'keys do not ascend'
    games = dict(keys).get(probe_key)
    print('records', len(keys), 'games', games)
    assert len(keys) == expected_records, (len(keys), expected_records)
    assert games == expected_games, (games, expected_games)


if __name__ == '__main__':
    main(sys.argv[1], int(sys.argv[2], 0), int(sys.argv[3]), int(sys.argv[4]))
