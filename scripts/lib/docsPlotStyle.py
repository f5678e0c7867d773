"""Shared matplotlib setup of the page's plots. Each SVG carries, in a comment at its end, what it
draws: every line's points, every patch's outline, every text with its place, every image in
coarse blocks. The page's check compares that record (plotDrawn.py), not the bytes, so another
matplotlib or font that draws the same figure passes."""
import json

import matplotlib

matplotlib.use("svg")
import matplotlib.pyplot as plt  # noqa: E402
from matplotlib.collections import PathCollection, PolyCollection  # noqa: E402
from matplotlib.image import AxesImage  # noqa: E402
from matplotlib.lines import Line2D  # noqa: E402
from matplotlib.patches import Patch  # noqa: E402
from matplotlib.text import Text  # noqa: E402

plt.rcParams["svg.hashsalt"] = "dust-riders"
plt.rcParams["svg.fonttype"] = "path"
plt.rcParams["font.family"] = "DejaVu Sans"
plt.rcParams["font.size"] = 9

DRAWN_MARK = "<!-- drawn: "
IMAGE_BLOCK = 16  # pixels a side of the image blocks recorded


def rounded(values, places=2):
    return [round(float(v), places) for v in values]


def drawn(figure):
    """What the figure draws, in drawing order, as JSON-ready lists."""
    record = []
    for artist in figure.findobj():
        if not artist.get_visible():
            continue
        if isinstance(artist, Line2D):
            record.append(["line"] + rounded(artist.get_xydata().ravel()))
        elif isinstance(artist, Text):
            if artist.get_text():
                record.append(["text", artist.get_text()] + rounded(artist.get_position()))
        elif isinstance(artist, Patch):
            vertices = artist.get_path().vertices
            record.append(["patch"] + rounded(artist.get_patch_transform().transform(vertices)
                                              .ravel()))
        elif isinstance(artist, (PolyCollection, PathCollection)):
            for path in artist.get_paths():
                record.append(["path"] + rounded(path.vertices.ravel()))
        elif isinstance(artist, AxesImage):
            image = artist.get_array()
            rows, cols = image.shape[0] // IMAGE_BLOCK, image.shape[1] // IMAGE_BLOCK
            blocks = image[:rows * IMAGE_BLOCK, :cols * IMAGE_BLOCK].reshape(
                rows, IMAGE_BLOCK, cols, IMAGE_BLOCK, -1).mean(axis=(1, 3))
            record.append(["image", rows, cols] + rounded(blocks.ravel(), 1))
    return record


def save(figure, path):
    # No date, no creator version: a rerun on the same data gives the same file.
    figure.savefig(path, format="svg", metadata={"Date": None, "Creator": None})
    text = json.dumps(drawn(figure), separators=(",", ":"))
    plt.close(figure)
    # A comment may not hold two dashes in a row.
    text = text.replace("--", "-\\u002d")
    with open(path, "a") as f:
        f.write(DRAWN_MARK + text + " -->\n")
