"""The five board fonts: file, face name, character map and the artwork
(with its authors and licence) each one is built from."""

import os
from dataclasses import dataclass

# Character order of a map: empty light square; black K Q R N B P and white
# K Q R N B P on light squares; empty dark square; the same twelve pieces on
# dark squares; then the frame: top-left, top, top-right, left, right,
# bottom-left, bottom, bottom-right.
PIECE_ORDER = ["bK", "bQ", "bR", "bN", "bB", "bP", "wK", "wQ", "wR", "wN", "wB", "wP"]
FRAME_ORDER = ["top-left", "top", "top-right", "left", "right", "bottom-left", "bottom", "bottom-right"]

MAP_ALPHA = " lwtjnokqrhbp+LWTJNOKQRHBP12345678"
MAP_COMMON = " lwtmvokqrnbp+LWTMVOKQRNBP!\"#$%/()"

# Date of the conversion of the artwork into fonts. The licences ask for
# changes to be dated; it also fixes the timestamps inside the fonts.
CONVERSION_DATE = "2026-12-08"

FONT_VERSION = "1.000"

GPL2_PLUS = (
    "This font is free software: you can redistribute it and/or modify it under the terms "
    "of the GNU General Public License as published by the Free Software Foundation, either "
    "version 2 of the License, or (at your option) any later version. It is distributed "
    "WITHOUT ANY WARRANTY; without even the implied warranty of MERCHANTABILITY or FITNESS "
    "FOR A PARTICULAR PURPOSE. See the GNU General Public License for more details."
)
GPL2_URL = "https://www.gnu.org/licenses/old-licenses/gpl-2.0.html"

APACHE2 = (
    "Licensed under the Apache License, Version 2.0 (the \"License\"); you may not use this "
    "font except in compliance with the License. You may obtain a copy of the License at "
    "http://www.apache.org/licenses/LICENSE-2.0. Unless required by applicable law or agreed "
    "to in writing, software distributed under the License is distributed on an \"AS IS\" "
    "BASIS, WITHOUT WARRANTIES OR CONDITIONS OF ANY KIND, either express or implied. See the "
    "License for the specific language governing permissions and limitations under the License."
)
APACHE2_URL = "http://www.apache.org/licenses/LICENSE-2.0"

W3C_URL = "https://www.w3.org/Consortium/Legal/2002/copyright-software-20021231"


@dataclass(frozen=True)
class Face:
    file_name: str  # file under data/Fonts/
    family: str  # face name the program selects
    postscript_name: str
    piece_set: str  # folder under data/pieces/
    char_map: str  # 34 characters, see the order above
    copyright: str
    designer: str
    licence: str  # text, or None to take the notice from the set's LICENSE.txt
    licence_url: str

    def description(self):
        return (
            f"Chess diagram font: the pieces on light and on hatched dark squares, the "
            f"dark-square hatch and an eight-piece board frame. Modified work: converted on "
            f"{CONVERSION_DATE} from the \"{self.piece_set}\" SVG chess pieces (rendered, "
            f"traced, scaled, combined with the hatch) by the Varnock project's font build "
            f"(tools/fonts/build-fonts.sh)."
        )

    def characters(self):
        """(character, role) for the 34 characters of the map; a role is a
        piece code with its square colour, 'light', 'dark' or a frame part."""
        roles = ["light"]
        roles += [(code, "light") for code in PIECE_ORDER]
        roles += ["dark"]
        roles += [(code, "dark") for code in PIECE_ORDER]
        roles += FRAME_ORDER
        assert len(self.char_map) == len(roles) == 34
        return list(zip(self.char_map, roles))


FACES = [
    Face(
        file_name="merida.ttf",
        family="Chess Merida",
        postscript_name="ChessMerida",
        piece_set="merida",
        char_map=MAP_COMMON,
        copyright="Piece design copyright (c) Armando Hernandez Marroquin (Merida chess pieces; "
        "SVG versions from the lichess.org project). Font conversion by the Varnock project.",
        designer="Armando Hernandez Marroquin",
        licence=GPL2_PLUS,
        licence_url=GPL2_URL,
    ),
    Face(
        file_name="dervantis.ttf",
        family="Chess Dervantis",
        postscript_name="ChessDervantis",
        piece_set="gnome-fancy",
        char_map=MAP_COMMON,
        copyright="Piece design copyright (c) 2010 Alexey Kryukov (GNOME Chess \"fancy\" pieces). "
        "Font conversion by the Varnock project.",
        designer="Alexey Kryukov",
        licence=GPL2_PLUS,
        licence_url=GPL2_URL,
    ),
    Face(
        file_name="alpha.ttf",
        family="Chess Alpha",
        postscript_name="ChessAlpha",
        piece_set="cburnett",
        char_map=MAP_ALPHA,
        copyright="Piece design copyright (c) Colin M.L. Burnett (cburnett chess pieces). "
        "Font conversion by the Varnock project.",
        designer="Colin M.L. Burnett",
        licence=GPL2_PLUS,
        licence_url=GPL2_URL,
    ),
    Face(
        file_name="maya.ttf",
        family="Chess Maya",
        postscript_name="ChessMaya",
        piece_set="chessnut",
        char_map=MAP_COMMON,
        copyright="Copyright 2015 Alexis Luengas (chessnut chess pieces). This font is a modified "
        "form of the chessnut SVG pieces, converted by the Varnock project.",
        designer="Alexis Luengas",
        licence=APACHE2,
        licence_url=APACHE2_URL,
    ),
    Face(
        file_name="motif.ttf",
        family="Chess Motif",
        postscript_name="ChessMotif",
        piece_set="gnome-simple",
        char_map=MAP_COMMON,
        copyright="Copyright (c) 1994-2002 World Wide Web Consortium, (Massachusetts Institute of "
        "Technology, Institut National de Recherche en Informatique et en Automatique, Keio "
        "University). All Rights Reserved. Pieces based on work of Max Froumentin (W3C), as "
        "adapted in GNOME Chess (\"simple\" pieces). Font conversion by the Varnock project.",
        designer="Max Froumentin",
        licence=None,
        licence_url=W3C_URL,
    ),
]


def licence_text(face, pieces_dir):
    """The licence for the name table. The W3C notice must be shown in full,
    so it is copied from the set's LICENSE.txt (the text below its rule)."""
    if face.licence is not None:
        return face.licence
    path = os.path.join(pieces_dir, face.piece_set, "LICENSE.txt")
    with open(path, encoding="utf-8") as f:
        text = f.read()
    marker = "\n" + "-" * 76 + "\n"
    if marker not in text:
        raise SystemExit(f"{path}: no licence notice below a rule of dashes")
    notice = text.split(marker, 1)[1].strip()
    # The first paragraph is the title with a note on where the text was
    # taken from; keep only the title.
    title, _, body = notice.partition("\n\n")
    if not title.startswith("W3C Software Notice and License"):
        raise SystemExit(f"{path}: the text below the rule is not the W3C notice")
    return "W3C Software Notice and License\n\n" + body.strip()
