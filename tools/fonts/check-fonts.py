#!/usr/bin/python3
"""Checks the board fonts and renders a sample board of each.

    check-fonts.py [FONTS_DIR] [--out DIR]

For every font: the face name and licence fields, every character of its
map present with outlines (the empty light square excepted), every cell one
em square, the pieces of one size and centred, and, from renderings of the
exact outlines and of FreeType's output, that the dark-square hatch repeats
across cell edges, that pieces on dark squares keep their ink, their clear
interior and the hatch around them, and that the border characters join
into a closed frame. Writes DIR/<font>-board.png (the
start position as a framed text diagram) and DIR/<font>-chart.png (all 34
characters), plus DIR/all-boards.png. Exits 1 when a check fails.
"""

import argparse
import os
import sys

from fontTools.pens.basePen import BasePen
from fontTools.pens.boundsPen import BoundsPen
from fontTools.ttLib import TTFont
from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

# Expected faces and maps, written out independently of the build's tables.
MAP_ALPHA = " lwtjnokqrhbp+LWTJNOKQRHBP12345678"
MAP_COMMON = " lwtmvokqrnbp+LWTMVOKQRNBP!\"#$%/()"
FONTS = [
    ("merida.ttf", "Chess Merida", MAP_COMMON),
    ("dervantis.ttf", "Chess Dervantis", MAP_COMMON),
    ("alpha.ttf", "Chess Alpha", MAP_ALPHA),
    ("maya.ttf", "Chess Maya", MAP_COMMON),
    ("motif.ttf", "Chess Motif", MAP_COMMON),
]
PIECES = "KQRNBP"  # tile order of the pieces within each colour
START = [
    "rnbqkbnr",
    "pppppppp",
    "........",
    "........",
    "........",
    "........",
    "PPPPPPPP",
    "RNBQKBNR",
]
PAPER = (255, 255, 255)
INK = (0, 0, 0)


class Report:
    def __init__(self):
        self.failures = 0

    def check(self, ok, what):
        if not ok:
            self.failures += 1
            print(f"  FAIL {what}")
        return ok


def tile_index(piece, dark):
    """0 empty, 1-6 black K Q R N B P, 7-12 white; +13 on a dark square."""
    index = 0
    if piece != ".":
        index = PIECES.index(piece.upper()) + (7 if piece.isupper() else 1)
    return index + (13 if dark else 0)


def framed_lines(char_map, board):
    """Text diagram: frame top, eight ranks between side bars, frame bottom."""
    top_left, top, top_right, left, right, bottom_left, bottom, bottom_right = char_map[26:34]
    lines = [top_left + top * 8 + top_right]
    for row, rank in enumerate(board):
        squares = "".join(char_map[tile_index(p, (row + col) % 2 == 1)] for col, p in enumerate(rank))
        lines.append(left + squares + right)
    lines.append(bottom_left + bottom * 8 + bottom_right)
    return lines


class Renderer:
    """Draws characters the way the board does: one character per square
    cell, the line's box filling the cell (grey levels, 255 = ink). Uses
    FreeType through PIL, as a person would see the font."""

    def __init__(self, path, size):
        self.size = size
        self.font = ImageFont.truetype(path, size)
        ascent, descent = self.font.getmetrics()
        self.offset = (size - (ascent + descent)) // 2 + ascent

    def cell(self, char):
        image = Image.new("L", (self.size, self.size), 0)
        ImageDraw.Draw(image).text((0, self.offset), char, font=self.font, fill=255, anchor="ls")
        return image

    def lines(self, lines):
        width = max(len(line) for line in lines) * self.size
        image = Image.new("L", (width, len(lines) * self.size), 0)
        for row, line in enumerate(lines):
            for col, char in enumerate(line):
                image.paste(self.cell(char), (col * self.size, row * self.size))
        return image


class _FlatteningPen(BasePen):
    """Collects a glyph's contours as polygons, curves cut into short lines."""

    STEPS = 12

    def __init__(self, glyph_set):
        super().__init__(glyph_set)
        self.contours = []
        self.current = []

    def _moveTo(self, point):
        self.current = [point]

    def _lineTo(self, point):
        self.current.append(point)

    def _qCurveToOne(self, control, point):
        (x0, y0), (x1, y1), (x2, y2) = self._getCurrentPoint(), control, point
        for i in range(1, self.STEPS + 1):
            t = i / self.STEPS
            u = 1 - t
            self.current.append((u * u * x0 + 2 * u * t * x1 + t * t * x2, u * u * y0 + 2 * u * t * y1 + t * t * y2))

    def _curveToOne(self, c1, c2, point):
        (x0, y0), (x1, y1), (x2, y2), (x3, y3) = self._getCurrentPoint(), c1, c2, point
        for i in range(1, self.STEPS + 1):
            t = i / self.STEPS
            u = 1 - t
            a, b, c, d = u * u * u, 3 * u * u * t, 3 * u * t * t, t * t * t
            self.current.append((a * x0 + b * x1 + c * x2 + d * x3, a * y0 + b * y1 + c * y2 + d * y3))

    def _closePath(self):
        if len(self.current) >= 3:
            self.contours.append(self.current)
        self.current = []

    _endPath = _closePath


class ExactRenderer(Renderer):
    """Draws the outlines without any hinting: polygons filled at eight times
    the size, combined even-odd, then averaged down. Checks use it, so they
    judge the outlines rather than a renderer's grid fitting."""

    SUPERSAMPLE = 8

    def __init__(self, path, size):
        self.size = size
        self.ttfont = TTFont(path)
        self.glyph_set = self.ttfont.getGlyphSet()
        self.cmap = self.ttfont.getBestCmap()
        head = self.ttfont["head"]
        self.em = head.unitsPerEm
        self.ascent = self.ttfont["hhea"].ascent
        self.cache = {}

    def cell(self, char):
        if char not in self.cache:
            self.cache[char] = self._draw(char)
        return self.cache[char].copy()

    def _draw(self, char):
        big = self.size * self.SUPERSAMPLE
        scale = big / self.em
        pen = _FlatteningPen(self.glyph_set)
        self.glyph_set[self.cmap[ord(char)]].draw(pen)
        image = Image.new("1", (big, big), 0)
        for contour in pen.contours:
            shape = Image.new("1", (big, big), 0)
            points = [(x * scale, (self.ascent - y) * scale) for x, y in contour]
            ImageDraw.Draw(shape).polygon(points, fill=1)
            image = ImageChops.logical_xor(image, shape)
        return image.convert("L").resize((self.size, self.size), Image.BOX)


def to_rgb(ink_mask):
    """Ink coverage to a black-on-white picture."""
    return Image.merge("RGB", [ImageChops.invert(ink_mask)] * 3)


def share(mask_a, mask_b, if_empty=1.0):
    """Share of the pixels of mask_a (255) that are also in mask_b."""
    total = mask_a.histogram()[255]
    if total == 0:
        return if_empty
    both = ImageChops.multiply(mask_a, mask_b).histogram()[255]
    return both / total


def threshold(image, test):
    return image.point(lambda v: 255 if test(v) else 0)


def check_tables(font, family, char_map, report):
    names = font["name"]
    report.check(names.getDebugName(1) == family, f"family name {names.getDebugName(1)!r}, want {family!r}")
    for name_id, what in ((0, "copyright"), (9, "designer"), (13, "licence")):
        report.check(bool(names.getDebugName(name_id)), f"no {what} (name ID {name_id})")
    em = font["head"].unitsPerEm
    hhea = font["hhea"]
    report.check(hhea.ascent - hhea.descent == em and hhea.lineGap == 0, "line height is not one em")
    cmap = font.getBestCmap()
    glyf = font["glyf"]
    hmtx = font["hmtx"]
    for index, char in enumerate(char_map):
        name = cmap.get(ord(char))
        if not report.check(name is not None, f"character {char!r} (tile {index}) missing"):
            continue
        report.check(hmtx[name][0] == em, f"character {char!r} is {hmtx[name][0]} wide, not one em")
        glyph = glyf[name]
        if index == 0:
            report.check(glyph.numberOfContours == 0, "empty light square has outlines")
            continue
        if not report.check(glyph.numberOfContours > 0, f"character {char!r} (tile {index}) has no outlines"):
            continue
        ends = [-1] + list(glyph.endPtsOfContours)
        sizes = [b - a for a, b in zip(ends, ends[1:])]
        report.check(min(sizes) >= 3, f"character {char!r} has a contour of {min(sizes)} points")


def piece_boxes(font, char_map):
    """Bounding boxes of the outlines (not of their control points) of the
    twelve pieces on light squares, in em units."""
    cmap = font.getBestCmap()
    glyph_set = font.getGlyphSet()
    em = font["head"].unitsPerEm
    boxes = {}
    for index in range(1, 13):
        pen = BoundsPen(glyph_set)
        glyph_set[cmap[ord(char_map[index])]].draw(pen)
        boxes[index] = tuple(v / em for v in pen.bounds)
    return boxes


def check_geometry(font, char_map, report):
    """Pieces of every font: kings of one height, the tallest piece inside
    the cell with a margin, one baseline per font, centred across."""
    boxes = piece_boxes(font, char_map)
    king = max(boxes[i][3] - boxes[i][1] for i in (1, 7))
    top = max(b[3] for b in boxes.values())
    feet = [b[1] for b in boxes.values()]
    centres = [(b[0] + b[2]) / 2 for b in boxes.values()]
    report.check(0.76 <= king <= 0.81, f"king is {king:.3f} em high")
    report.check(top <= 0.95 and min(feet) >= 0.05, "a piece comes near the cell's edge")
    report.check(max(feet) - min(feet) < 0.01, f"pieces stand on different lines {min(feet):.3f}-{max(feet):.3f}")
    report.check(all(abs(c - 0.5) < 0.01 for c in centres), "a piece is off centre")
    return f"king {king:.3f} em high, pieces from {min(feet):.3f} to {top:.3f} em"


def check_hatch(renderer, char_map, report):
    """Three by three dark squares: the pattern must repeat with its own
    period across the cell edges, both ways."""
    block = renderer.lines([char_map[13] * 3] * 3)
    size = renderer.size
    period = size // 16
    crop = (size - 2 * period, size - 2 * period, 2 * size + 2 * period, 2 * size + 2 * period)
    base = block.crop(crop)
    for dx, dy, way in ((period, 0, "across"), (0, period, "down")):
        moved = block.crop((crop[0] + dx, crop[1] + dy, crop[2] + dx, crop[3] + dy))
        worst = ImageChops.difference(base, moved).getextrema()[1]
        report.check(worst <= 24, f"hatch does not repeat {way} the cell edges (difference {worst})")
    coverage = sum(i * n for i, n in enumerate(block.histogram())) / (255 * block.width * block.height)
    return coverage


def outside_of(ink_mask):
    """Pixels reachable from the cell's edge without crossing ink."""
    size = ink_mask.width
    marked = ImageChops.invert(ink_mask).copy()  # 255 = no ink
    padded = Image.new("L", (size + 2, size + 2), 255)
    padded.paste(marked, (1, 1))
    ImageDraw.floodfill(padded, (0, 0), 128)
    return threshold(padded.crop((1, 1, size + 1, size + 1)), lambda v: v == 128)


def check_dark_pieces(renderer, char_map, report):
    hatch = threshold(renderer.cell(char_map[13]), lambda v: v >= 128)
    worst = 1.0
    for index in range(1, 13):
        light_char, dark_char = char_map[index], char_map[index + 13]
        ink = threshold(renderer.cell(light_char), lambda v: v >= 128)
        dark = threshold(renderer.cell(dark_char), lambda v: v >= 128)
        outside = outside_of(ink)
        inside = ImageChops.subtract(ImageChops.invert(outside), ink)  # enclosed paper
        far = outside.filter(ImageFilter.MinFilter(7))  # away from the piece
        kept = share(ink, dark)
        clear = 1.0 - share(inside, dark, if_empty=0.0)
        on_hatch = 1.0 - share(far, ImageChops.difference(hatch, threshold(dark, lambda v: v >= 128)))
        report.check(kept > 0.99, f"{dark_char!r}: ink of {light_char!r} lost on the dark square ({kept:.3f})")
        report.check(clear > 0.99, f"{dark_char!r}: hatch inside the piece ({1 - clear:.3f})")
        report.check(on_hatch > 0.99, f"{dark_char!r}: hatch around the piece differs from '+' ({on_hatch:.3f})")
        worst = min(worst, kept, clear, on_hatch)
    return worst


def check_frame(renderer, char_map, report):
    """On an empty framed board, the ring of pixels touching the board from
    outside must be ink all the way round."""
    empty = ["........"] * 8
    image = renderer.lines(framed_lines(char_map, empty))
    size = renderer.size
    ring = Image.new("L", image.size, 0)
    ImageDraw.Draw(ring).rectangle((size - 1, size - 1, 9 * size, 9 * size), outline=255)
    covered = share(ring, threshold(image, lambda v: v >= 200))
    report.check(covered == 1.0, f"frame has gaps ({covered:.3f} of the ring is ink)")


def sample_board(renderer, char_map):
    return to_rgb(renderer.lines(framed_lines(char_map, START)))


def chart(renderer, char_map, label):
    """All 34 characters on grey, so every cell's extent shows."""
    size, gap = renderer.size, 6
    rows = [char_map[0:13], char_map[13:26], char_map[26:34]]
    header = 18
    image = Image.new("RGB", (13 * (size + gap) + gap, header + 3 * (size + gap) + gap), (160, 160, 160))
    draw = ImageDraw.Draw(image)
    draw.text((gap, 3), label, fill=(0, 0, 0))
    for r, row in enumerate(rows):
        for c, char in enumerate(row):
            image.paste(to_rgb(renderer.cell(char)), (gap + c * (size + gap), header + gap + r * (size + gap)))
    return image


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    here = os.path.dirname(os.path.abspath(__file__))
    parser.add_argument("fonts_dir", nargs="?", default=os.path.join(here, "..", "..", "data", "Fonts"))
    parser.add_argument("--out", default="/tmp/varnock-fonts")
    parser.add_argument("--size", type=int, default=64, help="square size of the sample boards in pixels")
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)

    report = Report()
    boards = []
    for file_name, family, char_map in FONTS:
        path = os.path.join(args.fonts_dir, file_name)
        print(f"{file_name} ({family})")
        if not report.check(os.path.isfile(path), f"{path} missing"):
            continue
        font = TTFont(path)
        failures_before = report.failures
        check_tables(font, family, char_map, report)
        if report.failures != failures_before:
            continue
        geometry = check_geometry(font, char_map, report)
        # Once on the exact outlines, once as FreeType draws them.
        for kind in (ExactRenderer, Renderer):
            for size in (32, 48, 64):
                coverage = check_hatch(kind(path, size), char_map, report)
            worst = check_dark_pieces(kind(path, 128), char_map, report)
            for size in (24, 37, 50, 64):
                check_frame(kind(path, size), char_map, report)
        print(f"  {geometry}; hatch covers {coverage:.3f}; dark-square pieces agree {worst:.4f}")

        renderer = Renderer(path, args.size)
        stem = os.path.splitext(file_name)[0]
        board = sample_board(renderer, char_map)
        board.save(os.path.join(args.out, f"{stem}-board.png"))
        chart(renderer, char_map, f"{family}: {char_map}").save(os.path.join(args.out, f"{stem}-chart.png"))
        boards.append(sample_board(Renderer(path, 32), char_map))
        print(f"  wrote {args.out}/{stem}-board.png, {stem}-chart.png")

    if boards:
        gap = 8
        overview = Image.new("RGB", (sum(b.width for b in boards) + gap * (len(boards) + 1), boards[0].height + 2 * gap), (160, 160, 160))
        x = gap
        for board in boards:
            overview.paste(board, (x, gap))
            x += board.width + gap
        overview.save(os.path.join(args.out, "all-boards.png"))

    print("all checks passed" if report.failures == 0 else f"{report.failures} check(s) failed")
    return 1 if report.failures else 0


if __name__ == "__main__":
    sys.exit(main())
