#!/usr/bin/python3
"""The shot tolerances and comparison lessonViews.py holds the lesson's views to, kept from the
page's former Python check (webTest.py, replaced by pageChecks.js, which compares the replay's shots
with the replay's own tools/shotCheck)."""
import os
import re

import numpy
import scipy.ndimage

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


def tolerance():
    """The replay's own figures for a matching shot, read from its header so they cannot drift:
    pixel threshold, largest mean difference, largest share off, largest group of touching
    pixels off."""
    text = open(os.path.join(ROOT, "tools/replay/shotCompare.h")).read()
    value = lambda name: float(re.search(name + r"\s*=\s*([0-9.]+)", text).group(1))
    return (value("SHOT_PIXEL_THRESHOLD"), value("SHOT_MAX_MEAN_DIFFERENCE"),
            value("SHOT_MAX_SHARE_OFF"), value("SHOT_MAX_CLUSTER"))


def compare(shot, reference, threshold):
    """Mean absolute difference per channel, share of pixels off and the largest group of off
    pixels touching (diagonals included), as the replay tool has them."""
    difference = numpy.abs(shot.astype(int) - reference.astype(int))
    off = difference.max(axis=2) > threshold
    groups, count = scipy.ndimage.label(off, structure=numpy.ones((3, 3)))
    largest = numpy.bincount(groups.ravel())[1:].max() if count else 0
    return difference.mean(), off.mean(), largest
