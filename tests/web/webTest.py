#!/usr/bin/python3
"""The browser build's checks, one row each, in headless Chromium against a server on 127.0.0.1
that this script starts and stops. The page, opened with ?report=1, posts what it saw to
/report: console lines, exceptions, canvas shots, its message box and end line, or the replay's
shots. Usage: webTest.py SITE_DIR GOLDEN_DIR [--only NAME] [--bench] [--shots DIR]
"""
import base64
import functools
import http.server
import json
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import threading

import numpy
import scipy.ndimage
from PIL import Image

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
CHROMIUM_FLAGS = ["--headless=new", "--no-sandbox", "--use-angle=swiftshader",
                  "--enable-unsafe-swiftshader", "--disable-gpu-sandbox", "--no-first-run",
                  "--disable-background-networking", "--disable-component-update",
                  "--disable-sync", "--window-size=800,1200", "--enable-logging=stderr"]
# What the browser itself reports about the page's WebGL calls, in its log.
GL_COMPLAINT = re.compile(r"GL_INVALID|GL ERROR|WebGL: |CONTEXT_LOST")
SKY = (135, 207, 255)  # the frame's clear colour, 0.53 0.81 1.0


def tolerance():
    """The replay's own figures for a matching shot, read from its header so they cannot drift:
    pixel threshold, largest mean difference, largest share off, largest group of touching
    pixels off."""
    text = open(os.path.join(ROOT, "tools/replay/shotCompare.h")).read()
    value = lambda name: float(re.search(name + r"\s*=\s*([0-9.]+)", text).group(1))
    return (value("SHOT_PIXEL_THRESHOLD"), value("SHOT_MAX_MEAN_DIFFERENCE"),
            value("SHOT_MAX_SHARE_OFF"), value("SHOT_MAX_CLUSTER"))


def shot_image(shot):
    rgb = numpy.frombuffer(base64.b64decode(shot["rgb"]), numpy.uint8)
    image = rgb.reshape(shot["height"], shot["width"], 3)
    return image[::-1] if shot["bottomFirst"] else image


def compare(shot, reference, threshold):
    """Mean absolute difference per channel, share of pixels off and the largest group of off
    pixels touching (diagonals included), as the replay tool has them."""
    difference = numpy.abs(shot.astype(int) - reference.astype(int))
    off = difference.max(axis=2) > threshold
    groups, count = scipy.ndimage.label(off, structure=numpy.ones((3, 3)))
    largest = numpy.bincount(groups.ravel())[1:].max() if count else 0
    return difference.mean(), off.mean(), largest


def scene_failures(image, sky=True):
    """Sky above (where the view shows it), sand below, thousands of colours."""
    failures = []
    rows = image.shape[0] // 10
    top, bottom = image[:rows].reshape(-1, 3).mean(0), image[-rows:].reshape(-1, 3).mean(0)
    if sky and not top[2] > top[0] + 30:
        failures.append("top rows are not sky (mean RGB %s)" % top.round())
    if not bottom[0] > bottom[2] + 20:
        failures.append("bottom rows are not sand (mean RGB %s)" % bottom.round())
    colours = len(numpy.unique(image.reshape(-1, 3), axis=0))
    if colours < 2000:
        failures.append("only %d colours" % colours)
    return failures


def console_errors(found):
    bad = re.compile(r"error|failed|not supported|exception|abort", re.I)
    return (found["errors"] + [line for line in found["console"] if bad.search(line)] +
            found["browserLog"])


def sky_share(image):
    """Share of the lower half's pixels showing the clear colour: sand hides it, wireframe not."""
    lower = image[image.shape[0] // 2:]
    return (numpy.abs(lower.astype(int) - SKY).max(axis=2) <= 2).mean()


def save(options, name, image):
    if options["shots"]:
        Image.fromarray(image).save(os.path.join(options["shots"], name))


def check_scene(found, options):
    save(options, "scene.png", shot_image(found["shots"][0]))
    return console_errors(found) + scene_failures(shot_image(found["shots"][0]))


def check_replay(found, options):
    threshold, max_mean, max_share, max_cluster = tolerance()
    failures, worst_mean, worst_share, worst_cluster = [], 0.0, 0.0, 0
    shots = {shot["name"]: shot_image(shot) for shot in found["shots"]}
    references = sorted(f for f in os.listdir(options["goldens"]) if re.match(r"\d\ds\.png$", f))
    if len(shots) != len(references):
        failures.append("%d shots for %d references" % (len(shots), len(references)))
    for name in references:
        second = int(name[:2])
        if second not in shots:
            continue
        reference = numpy.asarray(Image.open(os.path.join(options["goldens"], name)).convert("RGB"))
        mean, share, cluster = compare(shots[second], reference, threshold)
        worst_mean, worst_share = max(worst_mean, mean), max(worst_share, share)
        worst_cluster = max(worst_cluster, cluster)
        save(options, name, shots[second])
        if mean > max_mean or share > max_share or cluster > max_cluster:
            failures.append("%s: mean difference %.3f, %.2f %% off, %d pixels together"
                            % (name, mean, 100 * share, cluster))
    print("  largest mean difference %.3f (at most %.1f), largest share off %.3f %% (at most %.1f %%),"
          " largest group off %d pixels (at most %d)" % (worst_mean, max_mean, 100 * worst_share,
                                                          100 * max_share, worst_cluster, max_cluster))
    return console_errors(found) + failures


def check_keys(found, options):
    failures = []
    filled, wire = shot_image(found["shots"][0]), shot_image(found["shots"][1])
    save(options, "keys-filled.png", filled)
    save(options, "keys-wireframe.png", wire)
    print("  clear colour in the lower half: %.1f %% filled, %.1f %% after R"
          % (100 * sky_share(filled), 100 * sky_share(wire)))
    if not (sky_share(filled) < 0.05 and sky_share(wire) > 0.3):
        failures.append("R did not turn the sand into outlines")
    if found["ended"] != "ended":
        failures.append("the page did not say that the demo ended")
    if found["framesAfterSteps"] != 0:
        failures.append("%d frames were drawn after Escape" % found["framesAfterSteps"])
    return console_errors(found) + failures


def check_missing_model(found, options):
    failures = []
    save(options, "missing-model.png", shot_image(found["shots"][0]))
    if "rock.3ds" not in found["message"]:
        failures.append("no message about res/rock.3ds (%r)" % found["message"])
    # The opening view looks down on the sand.
    return failures + scene_failures(shot_image(found["shots"][0]), sky=False)


def check_bench(found, options):
    bench = found["bench"]
    print("  web frame at the start view: %.1f ms median of %d (depth %.1f, lit %.1f, particles"
          " %.1f: %.0f %% of the frame); memory %d MB"
          % (bench["total"], bench["frames"], bench["depth"], bench["lit"], bench["particles"],
             100 * bench["particles"] / bench["total"], found["memoryBytes"] >> 20))
    return []


# name, the page's query, seconds to wait for its report, the check
CHECKS = [
    # After the script (24 s): the opening looks down on the sand, the resting view shows the sky.
    ("page shows the scene", "steps=seconds:27,shot", 120, check_scene),
    ("same pixels as the Linux references", "mode=replay", 480, check_replay),
    ("keys: R outlines, Escape ends", "steps=frames:3,shot,key:r,frames:2,shot,key:Escape", 120,
     check_keys),
    ("missing model", "omit=res/rock.3ds&steps=frames:3,shot", 120, check_missing_model),
]
BENCH = ("benchmark at the start view", "mode=bench", 300, check_bench)


class Handler(http.server.SimpleHTTPRequestHandler):
    reports = []
    arrived = threading.Event()

    def do_POST(self):
        body = self.rfile.read(int(self.headers["Content-Length"]))
        Handler.reports.append(json.loads(body))
        Handler.arrived.set()
        self.send_response(204)
        self.end_headers()

    def log_message(self, *args):
        pass


def open_page(port, query, seconds):
    Handler.arrived.clear()
    profile = tempfile.mkdtemp()
    log = tempfile.TemporaryFile("w+", errors="replace")
    url = "http://127.0.0.1:%d/index.html?report=1&%s" % (port, query)
    browser = subprocess.Popen(["chromium"] + CHROMIUM_FLAGS + ["--user-data-dir=" + profile, url],
                               stdout=subprocess.DEVNULL, stderr=log, start_new_session=True)
    try:
        arrived = Handler.arrived.wait(seconds)
    finally:
        os.killpg(browser.pid, signal.SIGKILL)
        browser.wait()
        shutil.rmtree(profile, ignore_errors=True)
    if not arrived:
        return None
    log.seek(0)
    found = Handler.reports[-1]
    found["browserLog"] = [line.strip() for line in log if GL_COMPLAINT.search(line)][:10]
    return found


def main():
    args = sys.argv[1:]
    if len(args) < 2:
        sys.exit(__doc__)
    options = {"goldens": args[1], "shots": None}
    rows = CHECKS
    if "--only" in args:
        rows = [row for row in CHECKS if args[args.index("--only") + 1] in row[0]]
    if "--bench" in args:
        rows = [BENCH]
    if "--shots" in args:
        options["shots"] = args[args.index("--shots") + 1]
        os.makedirs(options["shots"], exist_ok=True)
    handler = functools.partial(Handler, directory=args[0])
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    failed = 0
    try:
        for name, query, seconds, check in rows:
            print("web: %s" % name, flush=True)
            found = open_page(server.server_address[1], query, seconds)
            failures = ["no report within %d s" % seconds] if found is None else check(found, options)
            for failure in failures:
                print("  FAIL: %s" % failure)
            if found and failures:
                print("  console: %s" % found["console"][-8:])
            failed += bool(failures)
            print("  %s" % ("failed" if failures else "passed"), flush=True)
    finally:
        server.shutdown()
    print("web: %d passed, %d failed" % (len(rows) - failed, failed))
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
