"""Cuts the terminals' own font out of the Song-style face: only the characters of the string
literals in the given sources, with printable ASCII for numbers and names. A start then reads
glyphs from this small file and never maps the 20 MB collection; any other character (a member's
name) still comes from the full face, which Qt loads only for a glyph missing here.

Usage: make_song_subset.py FONT FACE_INDEX FAMILY OUTPUT SOURCE...
"""

import re
import sys

from fontTools import subset
from fontTools.ttLib import TTFont

# A C++ string literal, with any prefix (u8, u, L) and escaped quotes inside.
STRING_LITERAL = re.compile(r'"((?:\\.|[^"\\\n])*)"')
PRINTABLE_ASCII = {chr(c) for c in range(0x20, 0x7F)}


def literal_characters(paths):
    characters = set()
    for path in paths:
        with open(path, encoding="utf-8") as source:
            for literal in STRING_LITERAL.findall(source.read()):
                characters.update(c for c in literal if ord(c) > 0x7F)
    return characters


def rename(font, family):
    # A family of its own: fontconfig and Qt must tell it from the full face.
    full_name = f"{family} Light"
    postscript = full_name.replace(" ", "-")
    for record in font["name"].names:
        if record.nameID in (1, 16):
            record.string = family
        elif record.nameID in (4, 18):
            record.string = full_name
        elif record.nameID == 6:
            record.string = postscript


def main(font_path, face_index, family, output, *sources):
    options = subset.Options()
    options.font_number = int(face_index)
    # Same shapes and metrics as the full face: keep its bitmaps, hinting and layout tables.
    # Dropped: the bitmap strikes' properties and the font editor's time stamp.
    options.layout_features = ["*"]
    options.name_IDs = ["*"]
    options.name_languages = ["*"]
    options.drop_tables = ["BDF ", "FFTM"]
    options.notdef_outline = True
    options.glyph_names = True
    options.legacy_kern = True
    options.prune_unicode_ranges = False
    font = subset.load_font(font_path, options, lazy=True)
    subsetter = subset.Subsetter(options)
    text = "".join(sorted(literal_characters(sources) | PRINTABLE_ASCII))
    subsetter.populate(text=text)
    subsetter.subset(font)
    rename(font, family)
    subset.save_font(font, output, options)


if __name__ == "__main__":
    if len(sys.argv) < 5:
        sys.exit(__doc__)
    main(*sys.argv[1:])
