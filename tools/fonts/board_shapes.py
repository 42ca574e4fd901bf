"""Geometry shared by all board fonts, in font units.

Every glyph is one board cell: EM wide and EM high (ascent plus descent),
so a row of characters is a row of squares and lines of text stack into
ranks without gaps. The whole cell lies above the baseline (no descent):
whenever a renderer puts the baseline on a whole pixel, as when it centres
one line in a square tile, the cell's edges fall on pixel edges at any size
and the hatch of neighbouring squares meets without a seam.
"""

EM = 2048
ASCENT = 2048
DESCENT = 0

# Pieces: every set is scaled so that its king is KING_HEIGHT high, unless
# its tallest piece would then pass MAX_PIECE_HEIGHT or its widest piece
# MAX_PIECE_WIDTH. All pieces of a set stand on one baseline, chosen so that
# the tallest piece is centred vertically; each piece is centred across.
KING_HEIGHT = 1640
MAX_PIECE_HEIGHT = 1800
MAX_PIECE_WIDTH = 1840
CENTRE_X = EM // 2

# Clear margin between a piece and the hatch on a dark square.
HALO = 40

# Dark-square hatch: 45-degree stripes rising to the right, repeating every
# HATCH_PERIOD units along x (and y). The period divides EM, so the stripes of
# one cell continue into the cells next to it and below it.
HATCH_PERIOD = 128
HATCH_WIDTH = 48  # measured along x

# Frame: a bar FRAME_WIDTH thick along the side of the border cell that
# touches the board; the corner cells hold the square where two bars meet.
FRAME_WIDTH = 128

assert EM % HATCH_PERIOD == 0


def _clip(polygon, inside, cross):
    """One Sutherland-Hodgman step: keeps the part of a convex polygon on the
    inside of one edge."""
    result = []
    for i, current in enumerate(polygon):
        previous = polygon[i - 1]
        if inside(current):
            if not inside(previous):
                result.append(cross(previous, current))
            result.append(current)
        elif inside(previous):
            result.append(cross(previous, current))
    return result


def _clip_to_cell(polygon):
    left, right, bottom, top = 0, EM, -DESCENT, ASCENT

    def at_x(x):
        return lambda p, q: (x, p[1] + (q[1] - p[1]) * (x - p[0]) / (q[0] - p[0]))

    def at_y(y):
        return lambda p, q: (p[0] + (q[0] - p[0]) * (y - p[1]) / (q[1] - p[1]), y)

    polygon = _clip(polygon, lambda p: p[0] >= left, at_x(left))
    polygon = _clip(polygon, lambda p: p[0] <= right, at_x(right))
    polygon = _clip(polygon, lambda p: p[1] >= bottom, at_y(bottom))
    polygon = _clip(polygon, lambda p: p[1] <= top, at_y(top))
    return polygon


def _dedupe(polygon):
    points = []
    for x, y in polygon:
        point = (round(x), round(y))
        if not points or points[-1] != point:
            points.append(point)
    if len(points) > 1 and points[0] == points[-1]:
        points.pop()
    return points


def hatch_polygons():
    """The stripes of the dark-square pattern, clipped to the cell.

    A stripe is the band c <= y - x <= c + HATCH_WIDTH. One stripe is centred
    on the diagonal through the cell's centre; the others follow at multiples
    of HATCH_PERIOD. All corners land on whole units.
    """
    centre = (ASCENT - DESCENT) // 2 - CENTRE_X
    first = centre - HATCH_WIDTH // 2
    lowest = -DESCENT - EM - HATCH_WIDTH  # y - x at the bottom-right corner, less a stripe
    first -= ((first - lowest) // HATCH_PERIOD + 1) * HATCH_PERIOD
    far = 2 * EM
    stripes = []
    c = first
    while c < ASCENT:  # y - x at the top-left corner
        band = [(-far, -far + c), (far, far + c), (far, far + c + HATCH_WIDTH), (-far, -far + c + HATCH_WIDTH)]
        polygon = _dedupe(_clip_to_cell(band))
        if len(polygon) >= 3:
            stripes.append(polygon)
        c += HATCH_PERIOD
    return stripes


def _rect(x0, y0, x1, y1):
    return [(x0, y0), (x1, y0), (x1, y1), (x0, y1)]


def frame_polygons(part):
    """The frame bar(s) of one border cell."""
    lo_x, hi_x = 0, EM
    lo_y, hi_y = -DESCENT, ASCENT
    w = FRAME_WIDTH
    bar_bottom = _rect(lo_x, lo_y, hi_x, lo_y + w)  # cell above the board
    bar_top = _rect(lo_x, hi_y - w, hi_x, hi_y)  # cell below the board
    bar_right = _rect(hi_x - w, lo_y, hi_x, hi_y)  # cell left of the board
    bar_left = _rect(lo_x, lo_y, lo_x + w, hi_y)  # cell right of the board
    shapes = {
        "top-left": [_rect(hi_x - w, lo_y, hi_x, lo_y + w)],
        "top": [bar_bottom],
        "top-right": [_rect(lo_x, lo_y, lo_x + w, lo_y + w)],
        "left": [bar_right],
        "right": [bar_left],
        "bottom-left": [_rect(hi_x - w, hi_y - w, hi_x, hi_y)],
        "bottom": [bar_top],
        "bottom-right": [_rect(lo_x, hi_y - w, lo_x + w, hi_y)],
    }
    return shapes[part]
