"""Timeline of the script: its phases and their bounds from the phase table, the once-only setups
(cuts in red), and what moved in which second as the replay recorded it.

usage: plotScriptTimeline.py OUT.svg CHOREOGRAPHY.cpp PATH.csv  (as `replay --camera-path` writes)
"""
import csv
import re
import sys

from docsPlotStyle import plt, save

PHASE_ROW = re.compile(
    r"\{\s*(\d+),\s*(NO_SETUP|\d+),\s*(nullptr|\w+),\s*(\w+),\s*(?:true|false)\s*\}")
# The models carry the names their files give them; the page speaks English.
ENGLISH = {"rechen": "rake", "kakadu": "cockatoo", "wagen": "wagon"}
CUT_JUMP = 40.0  # units between two frames: a cut, not a move


def readPhases(path):
    rows = [(int(b), s, setup, each) for b, s, setup, each in PHASE_ROW.findall(open(path).read())]
    if not rows:
        sys.exit(f"no phase table found in {path}")
    phases, start = [], 0
    for bound, _, setup, each in rows:
        phases.append((start, bound, None if setup == "nullptr" else setup, each))
        start = bound
    return phases


def readMoves(path):
    """Seconds in which the eye and each object moved."""
    moved, before = {"eye": set()}, None
    with open(path, newline="") as f:
        for r in csv.DictReader(f):
            second = int(r["second"])
            eye = (float(r["eyeX"]), float(r["eyeY"]), float(r["eyeZ"]))
            if before is not None and eye != before:
                if sum((a - b) ** 2 for a, b in zip(eye, before)) ** 0.5 <= CUT_JUMP:
                    moved["eye"].add(second)
            before = eye
            for name in r["moved"].split():
                label = f"{ENGLISH[name]} ({name})" if name in ENGLISH else name
                moved.setdefault(label, set()).add(second)
    return moved


def spans(seconds):
    runs = []
    for s in sorted(seconds):
        if runs and runs[-1][0] + runs[-1][1] == s:
            runs[-1] = (runs[-1][0], runs[-1][1] + 1)
        else:
            runs.append((s, 1))
    return runs


def main(out, choreography, pathCsv):
    phases = readPhases(choreography)
    moves = readMoves(pathCsv)
    end = max(max(s) + 1 for s in moves.values() if s) if any(moves.values()) else phases[-1][1]
    end = max(end, phases[-1][1] + 2)
    labels = list(moves)
    figure, axes = plt.subplots(figsize=(9.0, 4.6))
    top = len(labels) + 0.2
    for i, (start, bound, setup, each) in enumerate(phases):
        shade = "#f1e3c8" if i % 2 else "#e6d2ac"
        axes.add_patch(plt.Rectangle((start, top), bound - start, 2.6, facecolor=shade,
                                     edgecolor="white"))
        axes.text((start + bound) / 2, top + 1.3, each, rotation=90, ha="center", va="center",
                  fontsize=7)
        if setup:
            cut = setup.startswith("cut")
            axes.axvline(start, color="#c0392b" if cut else "#7f8c8d",
                         linewidth=1.2 if cut else 0.8, linestyle="-" if cut else "--")
            axes.text(start + 0.08, -0.1, setup, rotation=90, ha="left", va="top", fontsize=7,
                      color="#c0392b" if cut else "#555555")
    for row, label in enumerate(labels):
        y = len(labels) - 1 - row
        axes.broken_barh(spans(moves[label]), (y + 0.2, 0.6), facecolor="#2c7fb8")
    axes.set_yticks([len(labels) - 1 - r + 0.5 for r in range(len(labels))] + [top + 1.3])
    axes.set_yticklabels(labels + ["phase (per-frame move)"])
    axes.set_xticks(sorted({0} | {b for _, b, _, _ in phases} | {end}))
    axes.set_xlim(0, end)
    axes.set_ylim(-3.4, top + 2.7)
    axes.set_xlabel("script second (elapsedSeconds)")
    axes.set_title("The script: phases, once-only setups (cuts in red) and what moves, at 25 fps")
    axes.set_axisbelow(True)
    axes.grid(True, axis="x", color="#eeeeee", linewidth=0.6)
    axes.spines[["top", "right"]].set_visible(False)
    figure.tight_layout()
    save(figure, out)


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    main(*sys.argv[1:])
