"""The light's depth map with what is in it named: the figures, the house, where the camera stands
and what it sees, and the grey scale as distance from the light.

usage: plotDepthMap.py OUT.svg DEPTH.png LABELS.csv WIDTHxHEIGHT
  DEPTH.png   the depth view (replay --pass-views: pass-1-depth.png)
  LABELS.csv  depth-labels.csv from the same run: label,x,y in window pixels, top row 0; the eye,
              the camera's footprint corners, the stretch's nearest and farthest distances
  WIDTHxHEIGHT the window the depth view filled
"""
import csv
import sys

import numpy

from docsPlotStyle import plt, save


def main(out, depthPng, labelsCsv, size):
    width, height = (int(v) for v in size.split("x"))
    grey = (plt.imread(depthPng)[:, :, 0] * 255).round().astype(numpy.uint8)
    rows = list(csv.DictReader(open(labelsCsv, newline="")))
    value = {r["label"]: float(r["x"]) for r in rows if r["label"].startswith("stretch")}
    places = [(r["label"], float(r["x"]), float(r["y"])) for r in rows
              if r["y"] and r["label"] not in ("eye", "footprint")]
    eye = [(float(r["x"]), float(r["y"])) for r in rows if r["label"] == "eye"]
    corners = [(float(r["x"]), float(r["y"])) for r in rows if r["label"] == "footprint"]

    figure, axes = plt.subplots(figsize=(7.2, 5.0))
    image = axes.imshow(grey, cmap="gray", vmin=0, vmax=255, extent=(0, width, height, 0),
                        interpolation="nearest")
    for label, x, y in places:
        axes.plot(x, y, "o", markersize=5, markerfacecolor="none", markeredgecolor="#e34a33")
        axes.annotate(label, (x, y), textcoords="offset points", xytext=(6, 4), color="#e34a33",
                      fontsize=9, fontweight="bold")
    if eye and len(corners) == 4:
        ex, ey = eye[0]
        ring = corners + corners[:1]
        axes.plot([c[0] for c in ring], [c[1] for c in ring], color="#3182bd", linewidth=1.2)
        for cx, cy in corners:
            axes.plot([ex, cx], [ey, cy], color="#3182bd", linewidth=0.8)
        axes.plot(ex, ey, "^", color="#3182bd", markersize=7)
        axes.annotate("the eye", (ex, ey), textcoords="offset points", xytext=(-10, -14),
                      color="#3182bd", fontsize=9, fontweight="bold", ha="right")
    axes.set_xlim(0, width)
    axes.set_ylim(height, 0)
    axes.set_xticks([])
    axes.set_yticks([])
    nearest, farthest = value["stretch nearest"], value["stretch farthest"]
    bar = figure.colorbar(plt.cm.ScalarMappable(norm=plt.Normalize(nearest, farthest),
                                                cmap="gray"), ax=axes, fraction=0.04, pad=0.02)
    bar.set_label("distance from the light (units); nearer is black, farther white")
    axes.set_title("The light's depth map: blue, what the camera sees out to 300 units")
    image.set_rasterized(True)
    figure.tight_layout()
    save(figure, out)


if __name__ == "__main__":
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    main(*sys.argv[1:])
