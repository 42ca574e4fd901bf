#!/bin/bash
# Builds the five board fonts (data/Fonts/*.ttf) from the SVG piece sets in
# data/pieces/, and copies each set's licence files next to them.
#
#   tools/fonts/build-fonts.sh [OUT_DIR [FILE.ttf ...]]
#
# Needs rsvg-convert (librsvg2-bin), potrace, and the system python3 with the
# fontforge (python3-fontforge) and PIL (python3-pil) modules. The output
# depends only on the inputs: the fonts' timestamps are the conversion date
# below, whatever the clock says.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
out=$root/data/Fonts
if [ $# -gt 0 ]; then
    out=$1
    shift
fi

# The Debian fontforge module exists only for the system interpreter.
python=/usr/bin/python3

missing=""
command -v rsvg-convert >/dev/null 2>&1 || missing="$missing librsvg2-bin"
command -v potrace >/dev/null 2>&1 || missing="$missing potrace"
"$python" -c 'import fontforge' >/dev/null 2>&1 || missing="$missing python3-fontforge"
"$python" -c 'import PIL' >/dev/null 2>&1 || missing="$missing python3-pil"
if [ -n "$missing" ]; then
    echo "build-fonts.sh: missing packages:$missing" >&2
    exit 1
fi

# 2026-12-08 00:00:00 UTC, the date the artwork was converted.
export SOURCE_DATE_EPOCH=1796688000
export TZ=UTC

mkdir -p "$out"
log=$(mktemp)
trap 'rm -f "$log"' EXIT
if ! (cd "$here" && "$python" build_fonts.py "$root/data/pieces" "$out" "$@") 2>"$log"; then
    cat "$log" >&2
    echo "build-fonts.sh: building the fonts failed" >&2
    exit 1
fi
# FontForge announces its install folder on every start; keep anything else.
grep -v '^Program root:' "$log" >&2 || true

for set in merida gnome-fancy cburnett chessnut gnome-simple; do
    mkdir -p "$out/licences/$set"
    cp "$root/data/pieces/$set/"*.txt "$out/licences/$set/"
done
