"""Builds the board fonts from the SVG piece sets with FontForge.

Run with the system python3 (the one python3-fontforge is built for):
    python3 build_fonts.py PIECES_DIR OUT_DIR [FILE.ttf ...]
"""

import os
import sys
import tempfile

import fontforge
import psMat

import board_shapes as shapes
import piece_tracer
from font_faces import CONVERSION_DATE, FACES, FONT_VERSION, PIECE_ORDER, licence_text

LANG = "English (US)"


def source_date_epoch():
    value = os.environ.get("SOURCE_DATE_EPOCH")
    if not value or not value.isdigit():
        raise SystemExit("SOURCE_DATE_EPOCH must be set (build-fonts.sh sets it)")
    return int(value)


def polygon_layer(polygons):
    layer = fontforge.layer()
    for polygon in polygons:
        contour = fontforge.contour()
        contour.moveTo(*polygon[0])
        for point in polygon[1:]:
            contour.lineTo(*point)
        contour.closed = True
        layer += contour
    layer.correctDirection()
    return layer


# Contours smaller than this both ways are specks no renderer shows.
SPECK = 8


def closed_contours(layer):
    """Drops the open or degenerate contours that FontForge's boolean
    operations leave behind (TrueType has no open contours), and specks."""
    clean = fontforge.layer()
    for contour in layer:
        if not contour.closed or len(contour) < 3:
            continue
        xmin, ymin, xmax, ymax = contour.boundingBox()
        if xmax - xmin < SPECK and ymax - ymin < SPECK:
            continue
        clean += contour
    return clean


def set_em_square(font):
    font.em = shapes.EM
    font.descent = shapes.DESCENT
    font.ascent = shapes.ASCENT
    if (font.em, font.ascent, font.descent) != (shapes.EM, shapes.ASCENT, shapes.DESCENT):
        raise SystemExit(f"FontForge kept em {font.em}, ascent {font.ascent}, descent {font.descent}")


class Importer:
    """Imports traced SVG files through a scratch font with the same em
    square as the output fonts."""

    def __init__(self):
        self.font = fontforge.font()
        set_em_square(self.font)

    def load(self, svg_path):
        glyph = self.font.createChar(-1, "scratch")
        glyph.clear()
        glyph.importOutlines(svg_path)
        layer = glyph.foreground
        for contour in layer:
            if not contour.closed:
                contour.closed = True
        layer.correctDirection()
        return layer


class PieceOutlines:
    """Ink and halo outlines of one piece, placed in the em square."""

    def __init__(self, ink, halo):
        self.ink = ink
        self.halo = halo


def trace_set(set_dir, work_dir, importer):
    """Renders, traces and places the twelve pieces of a set."""
    # One rendered pixel is one font unit before scaling.
    assert piece_tracer.RENDER_SIZE == shapes.EM
    masks = {}
    for code in PIECE_ORDER:
        rgba = piece_tracer.render(os.path.join(set_dir, code + ".svg"), work_dir)
        masks[code] = piece_tracer.piece_masks(rgba)
    boxes = {}
    for code, (silhouette, _) in masks.items():
        box = silhouette.getbbox()
        if box is None:
            raise SystemExit(f"{set_dir}/{code}.svg: nothing drawn")
        boxes[code] = box
    heights = {code: b[3] - b[1] for code, b in boxes.items()}
    king = max(heights["wK"], heights["bK"])
    tallest = max(heights.values())
    widest = max(b[2] - b[0] for b in boxes.values())
    scale = min(
        shapes.KING_HEIGHT / king,
        shapes.MAX_PIECE_HEIGHT / tallest,
        shapes.MAX_PIECE_WIDTH / widest,
    )
    baseline = shapes.ASCENT - (shapes.EM + tallest * scale) / 2

    pieces = {}
    for code in PIECE_ORDER:
        silhouette, ink = masks[code]
        halo = piece_tracer.grow(silhouette, shapes.HALO / scale)
        base = os.path.join(work_dir, code)
        ink_layer = importer.load(piece_tracer.trace(ink, base + ".ink.svg"))
        halo_layer = importer.load(piece_tracer.trace(halo, base + ".halo.svg"))
        # The traced SVG's pixel grid maps onto the em square: x stays, a row
        # y from the top lands at ASCENT - y.
        left, top, right, bottom = boxes[code]
        centre_x = (left + right) / 2
        foot_y = shapes.ASCENT - bottom
        matrix = psMat.compose(
            psMat.translate(-centre_x, -foot_y),
            psMat.compose(psMat.scale(scale), psMat.translate(shapes.CENTRE_X, baseline)),
        )
        ink_layer.transform(matrix)
        halo_layer.transform(matrix)
        pieces[code] = PieceOutlines(ink_layer, halo_layer)
    return pieces


def _square(x0, x1):
    return polygon_layer([[(x0, 0), (x1, 0), (x1, 100), (x0, 100)]])


def _exclude_leaves_other_minus_self():
    """FontForge 20230101's layer.exclude(other) leaves other minus self,
    the reverse of what its documentation says; find out which one this
    FontForge does with two overlapping squares."""
    probe = _square(0, 100)
    probe.exclude(_square(50, 150))
    xmin, _, xmax, _ = closed_contours(probe).boundingBox()
    return (xmin, xmax) == (100, 150)


def subtract(minuend, subtrahend):
    """minuend minus subtrahend, as a new layer of closed contours."""
    if _exclude_leaves_other_minus_self():
        result = subtrahend.dup()
        result.exclude(minuend)
    else:
        result = minuend.dup()
        result.exclude(subtrahend)
    # The result overlaps nowhere; this only removes the zero-width spikes
    # left where two edges ran along each other.
    result = closed_contours(result)
    result.removeOverlap()
    return closed_contours(result)


def on_dark_square(piece, hatch):
    """The hatch with the piece's halo cut out, plus the piece's ink."""
    layer = subtract(hatch, piece.halo)
    layer += piece.ink
    layer.correctDirection()
    return layer


def new_font(face, pieces_dir, epoch):
    font = fontforge.font()
    set_em_square(font)
    font.encoding = "UnicodeBmp"
    font.fontname = face.postscript_name
    font.familyname = face.family
    font.fullname = face.family
    font.weight = "Regular"
    font.version = FONT_VERSION
    font.copyright = face.copyright
    font.os2_vendor = "VRNK"
    font.os2_weight = 400
    font.os2_fstype = 0  # installable embedding
    metrics = (
        ("hhea_ascent", shapes.ASCENT),
        ("hhea_descent", -shapes.DESCENT),
        ("hhea_linegap", 0),
        ("os2_typoascent", shapes.ASCENT),
        ("os2_typodescent", -shapes.DESCENT),
        ("os2_typolinegap", 0),
        ("os2_winascent", shapes.ASCENT),
        ("os2_windescent", shapes.DESCENT),
    )
    for name, value in metrics:
        setattr(font, name, value)
    for name in (
        "hhea_ascent_add",
        "hhea_descent_add",
        "os2_typoascent_add",
        "os2_typodescent_add",
        "os2_winascent_add",
        "os2_windescent_add",
    ):
        setattr(font, name, False)
    font.os2_use_typo_metrics = True
    names = (
        ("Copyright", face.copyright),
        ("UniqueID", f"Varnock: {face.family}: {FONT_VERSION}"),
        ("Version", f"Version {FONT_VERSION}; converted {CONVERSION_DATE}"),
        ("Manufacturer", "Varnock project"),
        ("Designer", face.designer),
        ("Descriptor", face.description()),
        ("License", licence_text(face, pieces_dir)),
        ("License URL", face.licence_url),
    )
    for name_id, text in names:
        font.appendSFNTName(LANG, name_id, text)
    return font


def put_glyph(font, char, layer):
    glyph = font.createChar(ord(char))
    # Chess fonts are symbol fonts: programs that treat them so (an RTF font
    # of charset 2, for one) look the characters up at U+F000 + code.
    glyph.altuni = ((0xF000 + ord(char), -1, 0),)
    glyph.foreground = layer
    glyph.width = shapes.EM
    glyph.round()
    # Rounding can shrink a speck of a contour to a line.
    glyph.foreground = closed_contours(glyph.foreground)


def build_face(face, pieces_dir, out_dir, epoch):
    importer = Importer()
    with tempfile.TemporaryDirectory(prefix="varnock-font-") as work_dir:
        pieces = trace_set(os.path.join(pieces_dir, face.piece_set), work_dir, importer)
    hatch = polygon_layer(shapes.hatch_polygons())

    font = new_font(face, pieces_dir, epoch)
    notdef = font.createChar(-1, ".notdef")
    notdef.width = shapes.EM
    for char, role in face.characters():
        if role == "light":
            put_glyph(font, char, fontforge.layer())
        elif role == "dark":
            put_glyph(font, char, hatch.dup())
        elif isinstance(role, tuple):
            code, square = role
            piece = pieces[code]
            put_glyph(font, char, piece.ink.dup() if square == "light" else on_dark_square(piece, hatch))
        else:
            put_glyph(font, char, polygon_layer(shapes.frame_polygons(role)))

    # No hinting: a font without instructions gets FreeType's autohinter,
    # which snaps the hatch and the pieces to the pixel grid in different
    # ways from glyph to glyph (seams between dark squares, pieces a pixel
    # apart on light and dark squares). A pre-program that only switches
    # grid fitting off (INSTCTRL selector 1), and a gasp table asking for
    # smoothing without grid fitting, keep every size exact.
    font.setTableData("prep", bytes([0xB1, 0x01, 0x01, 0x8E]))  # PUSHB_2 1 1, INSTCTRL
    font.gasp_version = 1
    font.gasp = ((65535, ("antialias", "symmetric-smoothing")),)

    path = os.path.join(out_dir, face.file_name)
    font.generate(path, flags=("no-FFTM-table", "omit-instructions"))
    font.close()
    importer.font.close()
    print(f"{path}: {face.family}")


def main(argv):
    if len(argv) < 3:
        raise SystemExit(__doc__)
    pieces_dir, out_dir, wanted = argv[1], argv[2], set(argv[3:])
    epoch = source_date_epoch()
    os.makedirs(out_dir, exist_ok=True)
    for face in FACES:
        if not wanted or face.file_name in wanted:
            build_face(face, pieces_dir, out_dir, epoch)


if __name__ == "__main__":
    main(sys.argv)
