"""Turns a two-colour SVG chess piece into one-colour outlines.

A font glyph has a single colour, so each piece is rendered to a bitmap and
split into two masks that potrace turns back into curves:

* ink: the dark parts of the drawing (outline and black fills);
* halo: the whole piece (everything opaque), grown by a small margin, which
  is cut out of the dark-square hatch so the piece stands on a clear ground.

The masks are rendered at RENDER_SIZE pixels, one pixel per font unit before
the set is scaled into the em square.
"""

import os
import re
import subprocess
import xml.etree.ElementTree as ET

from PIL import Image, ImageChops, ImageFilter

RENDER_SIZE = 2048

# potrace settings: drop specks below 4 px, smooth corners moderately and
# keep curve fitting tight so the traced shapes follow the rendering.
POTRACE_ARGS = ["-s", "-t", "4", "-a", "1.0", "-O", "0.4"]

_URL_RE = re.compile(r"url\(\s*#([^)\s]+)\s*\)")


def _local_name(tag):
    return tag.rsplit("}", 1)[-1]


def _stop_colour(stop):
    colour = stop.get("stop-color")
    style = stop.get("style", "")
    for item in style.split(";"):
        key, _, value = item.partition(":")
        if key.strip() == "stop-color":
            colour = value.strip()
    return colour or "#000"


def _gradient_colours(root):
    """Maps each gradient id to the colour of its first stop (following
    xlink:href references to gradients that hold the stops)."""
    gradients = {}
    for element in root.iter():
        if _local_name(element.tag) in ("linearGradient", "radialGradient"):
            gradient_id = element.get("id")
            if gradient_id:
                gradients[gradient_id] = element
    colours = {}
    for gradient_id, element in gradients.items():
        seen = set()
        while element is not None and id(element) not in seen:
            seen.add(id(element))
            stops = [e for e in element if _local_name(e.tag) == "stop"]
            if stops:
                colours[gradient_id] = _stop_colour(stops[0])
                break
            href = element.get("{http://www.w3.org/1999/xlink}href") or element.get("href")
            element = gradients.get(href[1:]) if href and href.startswith("#") else None
    return colours


def flatten_gradients(svg_text):
    """Replaces every url(#gradient) paint with the gradient's first stop
    colour, so a white-to-transparent highlight counts as white."""
    root = ET.fromstring(svg_text.encode("utf-8"))
    colours = _gradient_colours(root)
    return _URL_RE.sub(lambda m: colours.get(m.group(1), "none"), svg_text)


def render(svg_path, work_dir):
    """Renders the SVG to an RGBA image of RENDER_SIZE square."""
    with open(svg_path, encoding="utf-8") as f:
        text = flatten_gradients(f.read())
    base = os.path.join(work_dir, os.path.splitext(os.path.basename(svg_path))[0])
    flat_svg = base + ".flat.svg"
    png = base + ".png"
    with open(flat_svg, "w", encoding="utf-8") as f:
        f.write(text)
    subprocess.run(
        ["rsvg-convert", "-w", str(RENDER_SIZE), "-h", str(RENDER_SIZE), "-f", "png", "-o", png, flat_svg],
        check=True,
    )
    with Image.open(png) as image:
        return image.convert("RGBA")


def _threshold(image, test):
    return image.point(lambda v: 255 if test(v) else 0)


def piece_masks(rgba):
    """Returns (silhouette, ink) as 'L' masks, 255 inside."""
    silhouette = _threshold(rgba.getchannel("A"), lambda v: v >= 128)
    dark = _threshold(rgba.convert("RGB").convert("L"), lambda v: v < 128)
    return silhouette, ImageChops.multiply(silhouette, dark)


def grow(mask, radius_px):
    """Grows a mask by about radius_px in every direction (a blurred mask
    cut at 10% reaches 1.28 sigma beyond a straight edge)."""
    if radius_px <= 0:
        return mask
    blurred = mask.filter(ImageFilter.GaussianBlur(radius_px / 1.28))
    return ImageChops.lighter(mask, _threshold(blurred, lambda v: v >= 26))


def trace(mask, svg_out):
    """Traces a mask (255 inside) to an SVG file with potrace."""
    pbm = os.path.splitext(svg_out)[0] + ".pbm"
    ImageChops.invert(mask).convert("1", dither=Image.Dither.NONE).save(pbm)
    subprocess.run(["potrace", *POTRACE_ARGS, "-o", svg_out, pbm], check=True)
    return svg_out
