"""Top-down plot of the eye's path through the script at several frame rates.

usage: plotCameraPath.py OUT.svg FPS=PATH.csv ...  (CSV rows as `replay --camera-path` writes them)
"""
import csv
import sys

from docsPlotStyle import plt, save

# A jump longer than this between two frames is a cut, not a move (units).
CUT_JUMP = 40.0
COLOURS = ["#1f77b4", "#d62728", "#2ca02c", "#9467bd"]


def readPath(path):
    with open(path, newline="") as f:
        return [(int(r["second"]), float(r["eyeX"]), float(r["eyeZ"])) for r in csv.DictReader(f)]


def pieces(rows):
    """Splits the path at cuts: runs of frames the eye moved through continuously."""
    runs, run = [], [rows[0]]
    for before, now in zip(rows, rows[1:]):
        if ((now[1] - before[1]) ** 2 + (now[2] - before[2]) ** 2) ** 0.5 > CUT_JUMP:
            runs.append(run)
            run = []
        run.append(now)
    runs.append(run)
    return runs


def main(out, rates):
    figure, axes = plt.subplots(figsize=(7.5, 6.0))
    series = [(rate.split("=", 1)[0], readPath(rate.split("=", 1)[1]), colour)
              for colour, rate in zip(COLOURS, rates)]
    # The fastest rate travels farthest and goes underneath, so the slower ones stay visible.
    for order, (fps, rows, colour) in enumerate(reversed(series)):
        width = 1.2 + 1.6 * (len(series) - 1 - order) / max(len(series) - 1, 1)
        for i, run in enumerate(pieces(rows)):
            axes.plot([r[1] for r in run], [r[2] for r in run], color=colour, linewidth=width,
                      solid_capstyle="round", label=f"{fps} fps" if i == 0 else None)
            axes.plot(run[0][1], run[0][2], "o", color=colour, markersize=4)
        # The last frame of each whole second, as the replay's shots are taken.
        ends = [rows[k] for k in range(len(rows))
                if k + 1 == len(rows) or rows[k + 1][0] != rows[k][0]]
        axes.plot([r[1] for r in ends], [r[2] for r in ends], ".", color=colour, markersize=4)
        last = rows[-1]
        axes.annotate(f"{fps} fps ends", (last[1], last[2]), textcoords="offset points",
                      xytext=(6, -10), color=colour)
    # Where each jump of the first rate lands, with its script second: a cut lands in the same
    # place at every rate, a setup that moves the eye relative to where it is does not.
    first = series[0][1][0]
    axes.annotate("0 s, start", (first[1], first[2]), textcoords="offset points", xytext=(6, -4),
                  fontsize=8, color="#333333")
    for run in pieces(series[0][1])[1:]:
        axes.annotate(f"{run[0][0]} s", (run[0][1], run[0][2]), textcoords="offset points",
                      xytext=(5, 4), fontsize=8, color="#333333")
    handles, labels = axes.get_legend_handles_labels()
    axes.legend(handles[::-1], labels[::-1], loc="best")
    axes.set_xlabel("world x (units)")
    axes.set_ylabel("world z (units)")
    axes.set_aspect("equal", adjustable="datalim")
    axes.invert_yaxis()
    axes.grid(True, color="#dddddd", linewidth=0.6)
    axes.set_title("The eye from above: a dot at each whole second, a circle after each jump")
    figure.tight_layout()
    save(figure, out)


if __name__ == "__main__":
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2:])
