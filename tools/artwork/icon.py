"""The program's icon: a green note in front of a blue one, both tilted as if falling, drawn
afresh for each size (the smallest keeps only the shapes that survive 16 pixels).
"""
import math

import numpy as np

from engraving import Canvas, grow, microlines, mix, rosette

SIZES = (16, 32, 48, 256)
GREEN, GREEN_INK, GREEN_LIGHT = (86, 170, 96), (18, 70, 36), (190, 232, 190)
BLUE, BLUE_INK = (80, 120, 200), (20, 40, 100)
GOLD = (246, 196, 70)


def _note_corners(cx, cy, width, height, angle_deg):
    a = math.radians(angle_deg)
    ux, uy = math.cos(a), math.sin(a)
    vx, vy = -uy, ux
    hw, hh = width / 2.0, height / 2.0
    return [(cx - ux * hw - vx * hh, cy - uy * hw - vy * hh),
            (cx + ux * hw - vx * hh, cy + uy * hw - vy * hh),
            (cx + ux * hw + vx * hh, cy + uy * hw + vy * hh),
            (cx - ux * hw + vx * hh, cy - uy * hw + vy * hh)]


def draw(size):
    """The icon at size x size pixels as RGBA uint8."""
    c = Canvas(size, size, (0, 0, 0))
    k = size / 32.0                     # designed on a 32-pixel grid
    coverage = np.zeros(c.x.shape, np.float32)
    outline = max(0.5, 0.9 * k) if size > 16 else 0.75

    def note(cx, cy, w, h, angle, paper, ink, detail):
        nonlocal coverage
        body = c.polygon(_note_corners(cx * k, cy * k, w * k, h * k, angle))
        edge = grow(c, body, outline)
        c.paint(edge, ink)
        c.paint(body, paper)
        coverage = np.maximum(coverage, edge)
        if detail:
            inner = c.polygon(_note_corners(cx * k, cy * k, (w - 5) * k, (h - 5) * k, angle))
            c.paint(microlines(c, max(1.0, 1.4 * k / 2), 0.3, angle_deg=angle + 60) * body,
                    ink, 0.35)
            c.paint(grow(c, inner, 0.35 * k) - inner, ink, 0.8)
        return body

    back = size >= 32
    if back:
        note(15.0, 12.5, 24.0, 12.5, -20.0, mix(BLUE, (255, 255, 255), 0.25), BLUE_INK, size >= 48)
        mx, my, tilt = 16.5, 19.5, 10.0
        front = note(mx, my, 26.0, 13.5, tilt, GREEN, GREEN_INK, True)
    else:
        mx, my, tilt = 16.0, 16.0, 0.0
        front = note(mx, my, 25.0, 15.0, tilt, GREEN, GREEN_INK, False)
    # A medallion with a gold disc in the middle of the front note.
    angle = math.radians(tilt)
    mx, my = mx * k, my * k
    r = 4.4 * k if size > 16 else 3.0
    disc = c.ellipse((mx - r, my - r, mx + r, my + r)) * front
    c.paint(disc, GOLD)
    c.paint(grow(c, disc, outline * 0.7) - disc, GREEN_INK)
    if size >= 48:
        c.paint(rosette(c, mx, my, r * 0.62, r * 0.22, 8, 2, 0.35 * k) * disc, GREEN_INK, 0.8)
    if size >= 32:
        for side in (-1, 1):   # numeral plates in two corners
            px = mx + side * 8.5 * k * math.cos(angle) - side * 3.0 * k * math.sin(angle)
            py = my + side * 8.5 * k * math.sin(angle) + side * 3.0 * k * math.cos(angle)
            corner = c.ellipse((px - 2.2 * k, py - 1.8 * k, px + 2.2 * k, py + 1.8 * k)) * front
            c.paint(corner, GREEN_LIGHT)

    picture = c.result()
    s = c.ss
    alpha = coverage.reshape(size, s, size, s).mean(axis=(1, 3))
    rgba = np.zeros((size, size, 4), np.uint8)
    # Edge pixels were blended with black: divide the blend back out so that they keep their hue.
    a = np.clip(alpha, 1e-6, 1.0)[..., None]
    rgba[..., :3] = np.clip(np.round(picture / a), 0, 255).astype(np.uint8)
    rgba[..., 3] = np.clip(np.round(alpha * 255.0), 0, 255).astype(np.uint8)
    rgba[rgba[..., 3] == 0, :3] = 0
    return rgba
