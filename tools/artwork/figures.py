"""Engraved figures shared by the note designs: stylised portraits of imaginary people, generic
buildings, a flowering sprig and serial numbers. Every figure is drawn from simple shapes and shaded
with hatching so that it reads as engraving; none depicts a real person or building.
"""
import math

import numpy as np

from engraving import contour_lines, grow, hatch, smoothstep


# -- portraits ------------------------------------------------------------------------------------
PORTRAIT_STYLES = ("short", "bun", "curly", "wavy", "beard")


def portrait(canvas, cx, cy, size, style, ink, paper, frame_mask=None):
    """A head-and-shoulders bust centred at (cx, cy), about `size` pixels tall, engraved in ink on
    paper. style picks the hair and dress (PORTRAIT_STYLES). frame_mask limits the bust (the
    inside of its oval frame) and gets a lined background."""
    s = size / 100.0                          # the figure is laid out on a 100-unit-tall grid
    hx, hy = cx - 1 * s, cy - 12 * s          # head centre
    hrx, hry = 15 * s, 19 * s
    clip = frame_mask if frame_mask is not None else 1.0
    flat = 0 * canvas.x

    def engrave(mask, shade, angle, spacing=1.3, curl=None, min_width=0.0):
        canvas.paint(mask, paper)
        canvas.paint(hatch(canvas, shade + flat, angle, spacing, min_width=min_width, curl=curl)
                     * mask, ink)

    if frame_mask is not None:   # lined background, darker towards the frame
        r = np.sqrt(((canvas.x - cx) / (size * 0.4)) ** 2 + ((canvas.y - cy) / (size * 0.5)) ** 2)
        canvas.paint(hatch(canvas, 0.2 + 0.35 * smoothstep(0.2, 1.0, r), 0.0, 1.25) * clip, ink)

    # Shoulders and dress: dark, lit a little from the left.
    body_top = cy + 12 * s
    shoulders = canvas.polygon([
        (cx - 50 * s, cy + 60 * s), (cx - 46 * s, body_top + 20 * s),
        (cx - 36 * s, body_top + 7 * s),
        (cx - 13 * s, body_top), (cx + 11 * s, body_top), (cx + 34 * s, body_top + 7 * s),
        (cx + 44 * s, body_top + 20 * s), (cx + 48 * s, cy + 60 * s)]) * clip
    engrave(shoulders, 0.55 + 0.35 * smoothstep(cx - 40 * s, cx + 40 * s, canvas.x), 65.0, 1.5,
            curl=2.0 * np.sin((canvas.y - cy) / (9 * s)), min_width=0.3)
    if style in ("bun", "wavy"):
        collar = canvas.polygon([(cx - 13 * s, body_top - 1 * s), (cx + 11 * s, body_top - 1 * s),
                                 (cx + 13 * s, body_top + 9 * s), (cx - 15 * s, body_top + 9 * s)])
        engrave(collar * clip, 0.15, 0.0, 1.2)
        canvas.paint((grow(canvas, collar, 0.4) - collar) * clip, ink)
        canvas.paint(canvas.ellipse((cx - 3.5 * s, body_top + 10 * s, cx + 3.5 * s,
                                     body_top + 16 * s)) * clip, ink)
    else:
        shirt = canvas.polygon([(cx - 12 * s, body_top), (cx + 10 * s, body_top),
                                (cx + 1 * s, body_top + 32 * s), (cx - 3 * s, body_top + 32 * s)])
        canvas.paint(shirt * clip, paper)
        tie = canvas.polygon([(cx - 4 * s, body_top + 3 * s), (cx + 2 * s, body_top + 3 * s),
                              (cx + 3 * s, body_top + 24 * s), (cx - 1 * s, body_top + 29 * s),
                              (cx - 5 * s, body_top + 24 * s)])
        engrave(tie * clip, 0.75, 45.0, 1.1)
        for side in (-1, 1):
            canvas.paint(canvas.polyline([(cx + side * 12 * s - s, body_top),
                                          (cx + side * 6 * s - s, body_top + 34 * s)], 0.6) * clip,
                         ink)

    # Hair that falls behind the head and neck.
    if style == "wavy":
        mane = canvas.ellipse((hx - hrx * 1.45, hy - hry * 1.15, hx + hrx * 1.45, hy + hry * 1.75))
        mane = mane * (canvas.y < body_top + 16 * s) * clip
        engrave(mane, 0.8, 95.0, 1.3, curl=3.0 * np.sin((canvas.y - hy) / (3.5 * s)))
    elif style == "curly":
        puff = canvas.ellipse((hx - hrx * 1.45, hy - hry * 1.35, hx + hrx * 1.45,
                               hy + hry * 0.55)) * clip
        curls = np.sin((canvas.x - hx) / (1.4 * s) + np.sin((canvas.y - hy) / (2.0 * s)) * 2.0)
        engrave(puff, 0.55 + 0.3 * curls, 0.0, 1.1, curl=2.5 * np.sin((canvas.x - hx) / (2.2 * s)))
    elif style == "bun":
        bun = canvas.ellipse((hx + hrx * 0.35, hy - hry * 1.5, hx + hrx * 1.4,
                              hy - hry * 0.6)) * clip
        canvas.paint(bun, paper)
        rings = np.sqrt(((canvas.x - hx - hrx * 0.87) / (hrx * 0.52)) ** 2 +
                        ((canvas.y - hy + hry * 1.05) / (hry * 0.45)) ** 2)
        canvas.paint(contour_lines(canvas, rings * 5.0, 1.0, 0.5) * bun, ink)
        canvas.paint((grow(canvas, bun, 0.4) - bun) * clip, ink)

    # Neck.
    neck = canvas.polygon([(hx - 8 * s, hy + 10 * s), (hx + 8 * s, hy + 10 * s),
                           (cx + 9 * s, body_top + 3 * s), (cx - 10 * s, body_top + 3 * s)]) * clip
    engrave(neck, 0.2 + 0.4 * smoothstep(hx - 4 * s, hx + 9 * s, canvas.x)
            + 0.3 * smoothstep(hy + hry * 1.3, hy + hry * 0.9, canvas.y), 0.0, 1.2)

    # Face: mostly paper, the shadow side hatched round the form.
    face = np.maximum(canvas.ellipse((hx - hrx, hy - hry, hx + hrx, hy + hry * 0.75)),
                      canvas.polygon([(hx - hrx * 0.98, hy), (hx + hrx * 0.98, hy),
                                      (hx + hrx * 0.6, hy + hry * 0.95), (hx, hy + hry * 1.1),
                                      (hx - hrx * 0.62, hy + hry * 0.95)])) * clip
    side = smoothstep(hx + 3 * s, hx + hrx, canvas.x)
    wrap = 4.0 * s * np.sqrt(np.clip(1.0 - ((canvas.x - hx) / hrx) ** 2, 0.0, 1.0))
    engrave(face, 0.4 * side, 0.0, 1.15, curl=wrap)
    canvas.paint(face * smoothstep(hy + hry * 0.75, hy + hry * 1.1, canvas.y), ink, 0.25)
    ear = canvas.ellipse((hx + hrx * 0.8, hy - 3 * s, hx + hrx * 1.18, hy + 7 * s)) * clip
    engrave(ear, 0.35, 80.0, 1.1)

    # Features, turned a little to the viewer's left.
    fx, ey = hx - 2 * s, hy - 1 * s
    for sign in (-1, 1):
        ex = fx + sign * 6 * s
        eye = canvas.ellipse((ex - 2.0 * s, ey - 0.9 * s, ex + 2.0 * s, ey + 0.9 * s))
        canvas.paint(eye * clip, ink)
        canvas.paint(canvas.polyline([(ex - 3.2 * s, ey - 3.4 * s), (ex, ey - 4.4 * s),
                                      (ex + 3.2 * s, ey - 3.6 * s)], 0.45 + 0.5 * s) * clip, ink)
    nose = canvas.polygon([(fx + 0.5 * s, ey + 1 * s), (fx + 2.2 * s, ey + 9 * s),
                           (fx - 1.5 * s, ey + 10 * s), (fx - 0.5 * s, ey + 8 * s)]) * clip
    canvas.paint(nose, ink, 0.45)
    canvas.paint(canvas.polyline([(fx - 3 * s, ey + 14.6 * s), (fx, ey + 15.3 * s),
                                  (fx + 3 * s, ey + 14.4 * s)], 0.55) * clip, ink)
    if style == "beard":
        jaw_sides = (smoothstep(hrx * 0.55, hrx * 0.75, np.abs(canvas.x - hx))
                     * (canvas.y > hy + 1 * s))
        beard = face * np.maximum(smoothstep(ey + 12 * s, ey + 14 * s, canvas.y), jaw_sides)
        engrave(beard, 0.75, 95.0, 1.1, curl=1.2 * np.sin((canvas.x - hx) / (2.5 * s)))
        canvas.paint(canvas.polyline([(fx - 4.5 * s, ey + 13 * s), (fx, ey + 12 * s),
                                      (fx + 4.5 * s, ey + 13 * s)], 1.3 * s) * clip, ink)
    # Hair over the crown, down to a hairline across the forehead.
    crown = canvas.ellipse((hx - hrx * 1.08, hy - hry * 1.12, hx + hrx * 1.08, hy + hry * 0.6))
    hairline = hy - hry * 0.42 + 0.35 * np.abs(canvas.x - fx - 3 * s)
    hair = crown * (canvas.y < hairline)
    if style in ("short", "beard", "curly"):   # short at the sides, over the ear's top
        hair = np.maximum(hair, crown * (canvas.x > hx + hrx * 0.78) * (canvas.y < hy - 2 * s))
    if style == "curly":
        hair = np.maximum(hair, crown * (canvas.y < hairline + 2 * s))
        curl = 2.5 * np.sin((canvas.x - hx) / (1.6 * s)) + 2.0 * np.sin((canvas.y - hy) / (1.8 * s))
        engrave(hair * clip, 0.75 + flat, 0.0, 1.1, curl=curl)
    elif style in ("bun", "wavy"):
        sweep = 3.0 * np.sin((canvas.x - hx) / (6 * s)) + (canvas.x - hx) * 0.4
        engrave(hair * clip, 0.8 + flat, 150.0, 1.25, curl=sweep)
    else:
        engrave(hair * clip, 0.8 + flat, 25.0, 1.2, curl=1.5 * np.sin((canvas.y - hy) / (3 * s)))

    # A firm outline round the head and shoulders.
    silhouette = np.maximum(np.maximum(face, hair), np.maximum(shoulders, neck))
    canvas.paint((grow(canvas, silhouette, 0.45) - silhouette) * clip, ink, 0.85)


# -- buildings ------------------------------------------------------------------------------------
BUILDING_STYLES = ("temple", "hall", "portico", "dome", "tower")


def building(canvas, cx, base_y, width, style, ink, paper, sky_mask=None):
    """A stylised building standing on base_y, centred at cx, `width` pixels wide, engraved in
    ink: lit faces lightly hatched, shadows dense, the sky in fine horizontal lines."""
    w = width
    u = w / 100.0            # laid out on a 100-unit-wide grid
    if sky_mask is not None:
        sky_shade = 0.18 + 0.25 * smoothstep(base_y - 60 * u, base_y - 10 * u, canvas.y)
        canvas.paint(hatch(canvas, sky_shade, 0.0, 1.4) * sky_mask, ink)
        # Trees either side.
        for side in (-1, 1):
            for n, (dx, r) in enumerate(((46, 9), (54, 7), (40, 6))):
                tx = cx + side * dx * u
                tree = canvas.ellipse((tx - r * u, base_y - 2.2 * r * u, tx + r * u,
                                       base_y + 0.5 * u))
                tree = tree * sky_mask
                canvas.paint(tree, paper)
                leaves = np.sin((canvas.x - tx) * 2.1 / u) * np.sin((canvas.y - base_y) * 2.3 / u)
                canvas.paint(np.clip(0.55 + 0.5 * leaves, 0, 1) * tree, ink, 0.85)

    def block(x0, y0, x1, y1, shade, angle=0.0):
        mask = canvas.rectangle((x0, y0, x1, y1))
        canvas.paint(mask, paper)
        canvas.paint(hatch(canvas, shade + 0 * canvas.x, angle, 1.3) * mask, ink)
        canvas.paint(grow(canvas, mask, 0.35) - mask, ink, 0.8)
        return mask

    def tri(points, shade):
        mask = canvas.polygon(points)
        canvas.paint(mask, paper)
        canvas.paint(hatch(canvas, shade + 0 * canvas.x, 0.0, 1.3) * mask, ink)
        canvas.paint(grow(canvas, mask, 0.35) - mask, ink, 0.8)

    def columns(x0, x1, y0, y1, count):
        step = (x1 - x0) / count
        for i in range(count):
            left = x0 + i * step + step * 0.22
            right = x0 + (i + 1) * step - step * 0.22
            shaft = canvas.rectangle((left, y0, right, y1))
            shade = 0.1 + 0.55 * smoothstep(left, right, canvas.x)
            canvas.paint(shaft, paper)
            canvas.paint(hatch(canvas, shade, 90.0, 1.0) * shaft, ink)
            gap = canvas.rectangle((right, y0, x0 + (i + 1) * step + step * 0.22, y1))
            if i < count - 1:
                canvas.paint(hatch(canvas, 0.85 + 0 * canvas.x, 0.0, 1.1) * gap, ink)

    def steps(x0, x1, y, count, height):
        for i in range(count):
            block(x0 - i * 2 * u, y + i * height, x1 + i * 2 * u, y + (i + 1) * height, 0.2)

    x0, x1 = cx - 50 * u, cx + 50 * u
    if style == "temple":
        steps(cx - 34 * u, cx + 34 * u, base_y - 8 * u, 3, 2.66 * u)
        block(cx - 32 * u, base_y - 40 * u, cx + 32 * u, base_y - 8 * u, 0.75)
        columns(cx - 32 * u, cx + 32 * u, base_y - 40 * u, base_y - 8 * u, 10)
        block(cx - 35 * u, base_y - 46 * u, cx + 35 * u, base_y - 40 * u, 0.35)
        block(cx - 31 * u, base_y - 54 * u, cx + 31 * u, base_y - 46 * u, 0.25)
    elif style == "hall":
        block(x0 + 6 * u, base_y - 30 * u, x1 - 6 * u, base_y, 0.3)
        for i in range(14):
            wx = x0 + 10 * u + i * 5.9 * u
            if abs(wx + 1.5 * u - cx) < 10 * u:
                continue
            for row in (0, 1):
                block(wx, base_y - (25 - row * 12) * u, wx + 3 * u,
                      base_y - (19 - row * 12) * u, 0.85)
        columns(cx - 12 * u, cx + 12 * u, base_y - 30 * u, base_y, 4)
        tri([(cx - 15 * u, base_y - 30 * u), (cx, base_y - 42 * u),
             (cx + 15 * u, base_y - 30 * u)], 0.3)
        block(x0 + 4 * u, base_y - 33 * u, x1 - 4 * u, base_y - 30 * u, 0.45)
    elif style == "portico":
        block(cx - 40 * u, base_y - 34 * u, cx + 40 * u, base_y, 0.25)
        for i in range(8):
            wx = cx - 37 * u + i * 10 * u
            if abs(wx + 2 * u - cx) < 14 * u:
                continue
            for row in (0, 1):
                block(wx, base_y - (28 - row * 14) * u, wx + 4 * u,
                      base_y - (21 - row * 14) * u, 0.85)
        # A rounded porch in the middle.
        porch = canvas.ellipse((cx - 16 * u, base_y - 8 * u, cx + 16 * u, base_y + 6 * u))
        canvas.paint(porch * (canvas.y < base_y), paper)
        columns(cx - 15 * u, cx + 15 * u, base_y - 34 * u, base_y, 6)
        block(cx - 17 * u, base_y - 38 * u, cx + 17 * u, base_y - 34 * u, 0.4)
        block(cx - 42 * u, base_y - 37 * u, cx + 42 * u, base_y - 34 * u, 0.45)
        tri([(cx - 10 * u, base_y - 38 * u), (cx, base_y - 44 * u),
             (cx + 10 * u, base_y - 38 * u)], 0.3)
    elif style == "dome":
        block(x0 + 2 * u, base_y - 24 * u, x1 - 2 * u, base_y, 0.3)
        columns(cx - 16 * u, cx + 16 * u, base_y - 24 * u, base_y, 6)
        for i in range(12):
            wx = x0 + 5 * u + i * 7.8 * u
            if abs(wx + 1.5 * u - cx) < 18 * u:
                continue
            block(wx, base_y - 18 * u, wx + 3 * u, base_y - 9 * u, 0.85)
        block(cx - 20 * u, base_y - 38 * u, cx + 20 * u, base_y - 24 * u, 0.35)
        columns(cx - 20 * u, cx + 20 * u, base_y - 38 * u, base_y - 24 * u, 8)
        dome = canvas.ellipse((cx - 17 * u, base_y - 58 * u, cx + 17 * u, base_y - 20 * u))
        dome = dome * (canvas.y < base_y - 38 * u)
        canvas.paint(dome, paper)
        dshade = 0.15 + 0.6 * smoothstep(cx - 17 * u, cx + 17 * u, canvas.x)
        canvas.paint(hatch(canvas, dshade, 90.0, 1.2,
                           curl=3.0 * u * np.sqrt(np.clip(
                               1 - ((canvas.y - base_y + 39 * u) / (19 * u)) ** 2, 0, 1)))
                     * dome, ink)
        canvas.paint(grow(canvas, dome, 0.35) - dome, ink, 0.8)
        block(cx - 3 * u, base_y - 64 * u, cx + 3 * u, base_y - 57 * u, 0.4)
        canvas.paint(canvas.ellipse((cx - 2 * u, base_y - 68 * u, cx + 2 * u, base_y - 63 * u)),
                     ink)
    else:   # tower: a long brick hall with a clock tower
        block(x0 + 8 * u, base_y - 22 * u, x1 - 8 * u, base_y, 0.45, angle=0.0)
        for i in range(12):
            wx = x0 + 11 * u + i * 6.6 * u
            if abs(wx + 1.5 * u - cx) < 8 * u:
                continue
            for row in (0, 1):
                block(wx, base_y - (19 - row * 10) * u, wx + 3 * u,
                      base_y - (13 - row * 10) * u, 0.9)
        block(cx - 7 * u, base_y - 44 * u, cx + 7 * u, base_y, 0.4)
        block(cx - 2.5 * u, base_y - 9 * u, cx + 2.5 * u, base_y, 0.9)
        clock = canvas.ellipse((cx - 4 * u, base_y - 40 * u, cx + 4 * u, base_y - 32 * u))
        canvas.paint(clock, paper)
        canvas.paint(grow(canvas, clock, 0.4) - clock, ink)
        canvas.paint(canvas.polyline([(cx, base_y - 38.5 * u), (cx, base_y - 36 * u),
                                      (cx + 2.2 * u, base_y - 35 * u)], 0.5), ink)
        block(cx - 5 * u, base_y - 52 * u, cx + 5 * u, base_y - 44 * u, 0.3)
        columns(cx - 5 * u, cx + 5 * u, base_y - 52 * u, base_y - 44 * u, 3)
        tri([(cx - 5 * u, base_y - 52 * u), (cx, base_y - 66 * u),
             (cx + 5 * u, base_y - 52 * u)], 0.55)
    # Ground line with shadow.
    ground = canvas.rectangle((x0 - 5 * u, base_y, x1 + 5 * u, base_y + 3 * u))
    canvas.paint(hatch(canvas, 0.5 + 0 * canvas.x, 0.0, 1.0) * ground, ink)


# -- serial numbers ------------------------------------------------------------------------------
def serial_number(seed, prefix):
    """A made-up serial number like 'SF 04817263 K': the same seed gives the same number."""
    digits = ""
    value = 2654435761 * (seed + 17) % 4294967296
    for _ in range(8):
        value = (value * 1103515245 + 12345) % 2147483648
        digits += str((value >> 16) % 10)
    return "%s %s %s" % (prefix, digits, "ABCDEFGHJKLMNPQRSTUVWXYZ"[seed % 24])


# -- flora ----------------------------------------------------------------------------------------
def sprig(canvas, x, y, length, angle_deg, seed, ink, blossom, leaf):
    """A flowering sprig: a curving stem with narrow leaves and clusters of round blossoms."""
    points = []
    theta = math.radians(angle_deg)
    bend = 0.35 if seed % 2 else -0.35
    steps = 40
    for i in range(steps + 1):
        t = i / steps
        a = theta + bend * t * t
        if i:
            px, py = points[-1]
            points.append((px + math.cos(a) * length / steps, py + math.sin(a) * length / steps))
        else:
            points.append((x, y))
    canvas.paint(canvas.polyline(points, 1.1), ink)
    rng = (seed * 7919) % 1000
    for n in range(1, 8):
        i = int(steps * n / 8)
        px, py = points[i]
        side = 1 if n % 2 else -1
        a = theta + bend * (i / steps) ** 2 + side * 0.9
        # A leaf.
        lx, ly = px + math.cos(a) * 7, py + math.sin(a) * 7
        canvas.paint(canvas.polyline([(px, py), (lx, ly)], 2.2), leaf)
        canvas.paint(canvas.polyline([(px, py), (lx, ly)], 0.4), ink)
        # A cluster of blossoms on the other side.
        b = a + math.pi * 0.85 * side
        for k in range(3):
            r = 1.6 + ((rng + 13 * n + 7 * k) % 5) * 0.25
            bx = px + math.cos(b + 0.5 * k - 0.5) * (4 + 2 * k)
            by = py + math.sin(b + 0.5 * k - 0.5) * (4 + 2 * k)
            ball = canvas.ellipse((bx - r, by - r, bx + r, by + r))
            canvas.paint(ball, blossom)
            canvas.paint(grow(canvas, ball, 0.35) - ball, ink, 0.7)
