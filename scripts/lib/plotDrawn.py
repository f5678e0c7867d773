"""Compares two of the page's plots by what they draw, the record docsPlotStyle.save leaves in
each SVG: the same kinds of things in the same order, the same words, and numbers within
TOLERANCE (grey levels within IMAGE_TOLERANCE). Prints the first difference; status 1 then.

usage: plotDrawn.py MADE.svg PAGE.svg
"""
import json
import sys

from docsPlotStyle import DRAWN_MARK

TOLERANCE = 0.05        # data units (or points, for what is placed in points)
IMAGE_TOLERANCE = 2.0   # grey levels 0..255 of an image block


def record(path):
    text = open(path).read()
    at = text.rfind(DRAWN_MARK)
    if at < 0:
        return None
    return json.loads(text[at + len(DRAWN_MARK):text.rindex("-->")])


def difference(made, page):
    """None when they draw the same, else a line saying where they differ."""
    if len(made) != len(page):
        return f"{len(made)} things drawn, the page's {len(page)}"
    for index, (a, b) in enumerate(zip(made, page)):
        if a[0] != b[0] or len(a) != len(b):
            return f"thing {index}: {a[0]} of {len(a) - 1} values, the page's {b[0]} of {len(b) - 1}"
        tolerance = IMAGE_TOLERANCE if a[0] == "image" else TOLERANCE
        for k, (x, y) in enumerate(zip(a[1:], b[1:])):
            if isinstance(x, str) or isinstance(y, str):
                if x != y:
                    return f"{a[0]} {index}: '{x}', the page's '{y}'"
            elif abs(x - y) > tolerance:
                return f"{a[0]} {index}, value {k}: {x}, the page's {y}"
    return None


def main(made, page):
    a, b = record(made), record(page)
    if a is None or b is None:
        print(f"{page if b is None else made} carries no record of what it draws")
        return 1
    found = difference(a, b)
    if found:
        print(found)
        return 1
    return 0


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    sys.exit(main(*sys.argv[1:]))
