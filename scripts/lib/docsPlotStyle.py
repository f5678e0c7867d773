"""Shared matplotlib setup of the page's plots: the same bytes from the same data on every run."""
import matplotlib

matplotlib.use("svg")
import matplotlib.pyplot as plt  # noqa: E402

plt.rcParams["svg.hashsalt"] = "dust-riders"
plt.rcParams["svg.fonttype"] = "path"
plt.rcParams["font.family"] = "DejaVu Sans"
plt.rcParams["font.size"] = 9


def save(figure, path):
    # No date, no creator version: a rerun on the same data gives the same file.
    figure.savefig(path, format="svg", metadata={"Date": None, "Creator": None})
    plt.close(figure)
