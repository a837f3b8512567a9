#!/usr/bin/env python3
"""The embedded Liberation Sans cut down to the characters Kalventa sets.

A face keeps the letters of the languages its texts and its users' texts are
in (Latin and Cyrillic, with their punctuation), the signs of the formulas
and the note, and every other character that the program's own sources hold,
so that no text the program writes loses its glyph. Whatever a user types
beyond that is drawn from the system's fonts, as for any missing glyph.
Hinting, kerning and the names stay, so that the window's pixels do not
change; only the glyphs no text reaches are dropped.

usage: subset_font.py FONT OUTPUT {ttf|woff2} SOURCE_DIR...
"""

import pathlib
import sys

from fontTools import subset

# Blocks kept whole: what the users of a Russian-language program type (Latin,
# every alphabet written in Cyrillic) and what a calculation note sets.
KEPT_RANGES = [
    (0x0020, 0x007E),  # Basic Latin
    (0x00A0, 0x00FF),  # Latin-1 Supplement: «», °, ×
    (0x0301, 0x0301),  # the stress mark
    (0x0391, 0x03C9),  # Greek: σ, π, Δ in formulas
    (0x0400, 0x04FF),  # Cyrillic: Russian and the other languages written in it
    (0x2010, 0x2027),  # dashes, quotes, bullets, ellipsis
    (0x2030, 0x203A),  # per mille, primes, single guillemets
    (0x2070, 0x209F),  # superscripts and subscripts: powers of ten, indices
    (0x2116, 0x2116),  # №
    (0x2190, 0x2193),  # arrows
    (0x2200, 0x22FF),  # mathematical operators: −, ≤, ≥, ≈, ∞, ·
]

SOURCE_SUFFIXES = {".h", ".cpp", ".js", ".mjs", ".html"}


def source_characters(directories):
    """Every character above ASCII in the program's own sources."""
    found = set()
    for directory in directories:
        for path in sorted(pathlib.Path(directory).rglob("*")):
            if path.suffix in SOURCE_SUFFIXES and path.is_file():
                found.update(ord(c) for c in path.read_text(encoding="utf-8") if ord(c) > 0x7E)
    return found


def main(argv):
    if len(argv) < 4 or argv[3] not in ("ttf", "woff2"):
        sys.exit(__doc__.strip().splitlines()[-1])
    font_path, output, flavor, directories = argv[1], argv[2], argv[3], argv[4:]
    unicodes = set(source_characters(directories))
    for first, last in KEPT_RANGES:
        unicodes.update(range(first, last + 1))

    options = subset.Options()
    options.layout_features = ["*"]  # kerning and every other feature the face has
    options.legacy_kern = True
    options.name_IDs = ["*"]
    options.name_languages = ["*"]
    options.notdef_outline = True
    options.glyph_names = False
    options.hinting = True
    options.drop_tables += ["FFTM"]  # the font editor's time stamps
    if flavor == "woff2":
        options.flavor = "woff2"

    font = subset.load_font(font_path, options)
    subsetter = subset.Subsetter(options)
    subsetter.populate(unicodes=sorted(unicodes))
    subsetter.subset(font)
    subset.save_font(font, output, options)


if __name__ == "__main__":
    main(sys.argv)
