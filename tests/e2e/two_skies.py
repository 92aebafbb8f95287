#!/usr/bin/env python3
"""Checks a picture of a full-screen run on the two-monitor test display, 2304x768 with monitor A
(1280x720 at 0,0) and monitor B (1024x768 at 1280,0): a sky on each. With "banners" only that a
banner rests at the bottom right of each monitor (the same picture on both, not black); with
"all" also that the strip under A, which no monitor shows, is black, and that no note runs across
the seam between A and B (a note's picture is continuous, so a note drawn across the seam makes
the columns on either side of it alike over a long run of rows; two skies meet there by chance, a
few rows at a time). Says what it found wrong and exits with 1.

    two_skies.py <picture.png> banners|all [offset]

offset: the picture's pixel (x, y) is the screen's (x + offset, y + offset); Wine's GL child window
sits at -1,-1, so its picture has offset 1.
"""
import sys

import numpy
from PIL import Image

MONITORS = {"A": (0, 0, 1280, 720), "B": (1280, 0, 1024, 768)}
BANNER_WIDTH, BANNER_HEIGHT, BANNER_MARGIN = 256, 32, 5  # pixels; the margin above the bottom
SAME_LEVELS = 24          # a banner pixel this close (every channel) to the other banner's is alike
SAME_SHARE = 0.95         # of the banner's pixels alike on both monitors
LIT_LEVEL, LIT_SHARE = 60, 0.03  # a banner shows: this share of its pixels above this level
COLOURED_LEVEL, COLOURED_SPREAD = 48, 24  # a note's pixel: bright and coloured enough
ALIKE_LEVELS = 6          # seam pixels this close (every channel) are alike
LONGEST_ALIKE_ROWS = 12   # longer runs of alike rows across the seam are one note drawn over it


def screen_area(picture, offset, left, top, width, height):
    """The screen's rectangle as the picture shows it (cut where the picture ends)."""
    x0, y0 = max(left - offset, 0), max(top - offset, 0)
    return picture[y0:top - offset + height, x0:left - offset + width].astype(int)


def banner(picture, offset, name):
    left, top, width, height = MONITORS[name]
    return screen_area(picture, offset, left + width - BANNER_WIDTH,
                       top + height - BANNER_MARGIN - BANNER_HEIGHT, BANNER_WIDTH, BANNER_HEIGHT)


def banner_problems(picture, offset):
    a, b = banner(picture, offset, "A"), banner(picture, offset, "B")
    rows, columns = min(len(a), len(b)), min(a.shape[1], b.shape[1])
    a, b = a[:rows, :columns], b[:rows, :columns]
    problems = []
    for name, area in (("A", a), ("B", b)):
        lit = (area.max(axis=2) > LIT_LEVEL).mean()
        if lit < LIT_SHARE:
            problems.append("no banner at the bottom right of monitor %s (%.1f %% lit)" %
                            (name, 100 * lit))
    alike = (numpy.abs(a - b).max(axis=2) <= SAME_LEVELS).mean()
    if alike < SAME_SHARE:
        problems.append("the banners of A and B differ (%.1f %% of their pixels alike)" %
                        (100 * alike))
    return problems


def strip_problems(picture, offset):
    left, top, width, height = MONITORS["A"]
    strip = screen_area(picture, offset, left, top + height, width, 768 - height)
    lit = int((strip.max(axis=2) > 0).sum())
    return ["%d pixels of the strip under A are not black" % lit] if lit else []


def seam_problems(picture, offset):
    seam = MONITORS["B"][0]
    rows = MONITORS["A"][3]
    left = screen_area(picture, offset, seam - 1, 0, 1, rows)[:, 0]
    right = screen_area(picture, offset, seam, 0, 1, rows)[:, 0]
    rows = min(len(left), len(right))
    left, right = left[:rows], right[:rows]

    def coloured(column):
        return (column.max(axis=1) >= COLOURED_LEVEL) & (
            column.max(axis=1) - column.min(axis=1) >= COLOURED_SPREAD)

    alike = coloured(left) & coloured(right) & (numpy.abs(left - right).max(axis=1) <= ALIKE_LEVELS)
    longest = run = 0
    for row in alike:
        run = run + 1 if row else 0
        longest = max(longest, run)
    if longest > LONGEST_ALIKE_ROWS:
        return ["a note runs across the seam (%d rows alike on both sides)" % longest]
    return []


def main():
    picture = numpy.asarray(Image.open(sys.argv[1]).convert("RGB"))
    offset = int(sys.argv[3]) if len(sys.argv) > 3 else 0
    problems = banner_problems(picture, offset)
    if sys.argv[2] == "all":
        problems += strip_problems(picture, offset) + seam_problems(picture, offset)
    for problem in problems:
        print(problem)
    sys.exit(1 if problems else 0)


if __name__ == "__main__":
    main()
