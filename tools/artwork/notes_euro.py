"""The Euro-style notes: one colour per denomination, the front a gateway beside the flag of twelve
stars, the back a bridge over water above a map of Europe; the gateway and the bridge follow one
architectural style per denomination (classical, romanesque, gothic, renaissance, baroque).
"""
import math

import numpy as np

from engraving import (Canvas, contour_lines, grow, hatch, lathe, microlines, mix, rosette,
                       rosette_disc, smoothstep, stars_ring, wave_band)

WIDTH, HEIGHT = 256, 128
FLAG_BLUE = (20, 52, 150)
STAR_YELLOW = (255, 214, 0)
FOIL = (206, 210, 216)

DENOMINATIONS = {
    5: dict(main=(150, 156, 152), light=(222, 226, 220), dark=(62, 70, 68), style="classical"),
    10: dict(main=(204, 74, 84), light=(246, 196, 196), dark=(112, 22, 36), style="romanesque"),
    20: dict(main=(72, 112, 194), light=(196, 214, 242), dark=(22, 42, 104), style="gothic"),
    50: dict(main=(236, 138, 48), light=(252, 214, 164), dark=(136, 62, 10), style="renaissance"),
    100: dict(main=(66, 158, 98), light=(194, 232, 204), dark=(18, 82, 44), style="baroque"),
}

# Outline of Europe (longitude, latitude), coarse: mainland, then islands.
EUROPE = [
    [(-5.6, 36.0), (-2.0, 36.7), (0.2, 38.8), (-0.3, 39.5), (0.9, 41.0), (3.2, 41.9), (3.1, 43.1),
     (4.8, 43.4), (7.5, 43.8), (8.8, 44.4), (10.2, 43.9), (11.0, 42.4), (12.5, 41.5), (14.0, 40.8),
     (15.6, 40.0), (15.7, 38.0), (16.6, 38.5), (17.1, 39.4), (16.5, 40.1), (18.5, 40.1),
     (17.0, 41.0), (14.1, 42.5), (12.3, 44.5), (12.3, 45.4), (13.7, 45.7), (14.5, 45.3),
     (15.5, 44.0), (17.5, 43.0), (19.4, 41.9), (19.4, 40.3), (21.1, 37.8), (21.6, 36.8),
     (23.0, 36.4), (23.1, 37.9), (24.0, 38.2), (22.9, 40.5), (24.0, 40.8), (26.0, 40.8),
     (28.9, 41.0), (28.0, 41.9), (27.9, 43.2), (28.7, 44.3), (30.6, 46.4), (32.0, 46.5),
     (33.6, 44.5), (35.5, 45.3), (38.5, 47.0), (40.0, 47.5), (40.0, 65.0), (33.0, 69.0),
     (28.0, 71.0), (20.0, 70.0), (15.0, 68.5), (12.0, 65.5), (8.0, 63.0), (5.0, 61.5), (5.0, 59.2),
     (7.0, 58.0), (8.2, 58.1), (10.5, 59.4), (11.2, 58.9), (12.0, 57.5), (12.8, 56.0),
     (14.3, 55.5), (16.0, 56.2), (16.6, 57.8), (18.5, 59.3), (17.5, 61.0), (17.3, 62.5),
     (21.0, 64.0), (22.5, 65.8), (25.0, 65.0), (25.4, 64.5), (21.5, 62.0), (21.3, 60.5),
     (22.5, 59.9), (25.0, 60.2), (28.5, 60.5), (30.2, 59.9), (28.0, 59.5), (23.5, 59.2),
     (23.5, 58.3), (21.8, 57.5), (21.0, 56.5), (21.1, 55.7), (19.9, 54.5), (18.5, 54.7),
     (16.5, 54.5), (14.2, 53.9), (12.1, 54.2), (10.9, 54.0), (10.0, 54.8), (10.3, 56.2),
     (10.5, 57.2), (9.9, 57.6), (8.1, 56.6), (8.6, 55.4), (8.9, 54.0), (7.0, 53.4), (4.8, 52.9),
     (4.2, 51.9), (3.4, 51.4), (1.6, 50.9), (0.1, 49.5), (-1.3, 49.6), (-1.6, 48.6), (-4.7, 48.4),
     (-4.2, 47.8), (-2.2, 47.2), (-1.2, 46.1), (-1.4, 44.5), (-1.8, 43.4), (-4.0, 43.5),
     (-8.0, 43.7), (-9.3, 43.0), (-8.9, 42.1), (-8.7, 41.0), (-9.5, 38.7), (-8.8, 37.9),
     (-9.0, 37.0), (-7.4, 37.2), (-6.3, 36.8)],
    [(-5.7, 50.1), (-3.5, 50.4), (-1.0, 50.7), (1.4, 51.2), (1.7, 52.6), (0.3, 53.1), (-0.1, 54.0),
     (-1.3, 54.8), (-1.6, 55.6), (-2.1, 57.1), (-1.8, 57.6), (-4.0, 57.7), (-3.1, 58.6),
     (-5.0, 58.6), (-5.8, 57.9), (-5.6, 56.5), (-6.2, 55.6), (-4.9, 55.0), (-3.0, 54.9),
     (-3.4, 54.2), (-3.0, 53.4), (-4.6, 53.3), (-4.2, 52.3), (-5.3, 51.7), (-3.0, 51.5),
     (-4.2, 51.2)],
    [(-6.0, 52.2), (-6.0, 53.9), (-5.9, 54.6), (-7.3, 55.3), (-8.4, 54.6), (-10.0, 54.2),
     (-9.9, 53.0), (-9.5, 52.6), (-10.3, 51.9), (-9.8, 51.5), (-8.2, 51.8)],
    [(12.4, 37.8), (15.1, 36.7), (15.6, 38.3), (12.5, 38.1)],
    [(8.4, 39.0), (9.6, 39.1), (9.8, 41.0), (8.2, 40.9)],
    [(8.6, 41.4), (9.4, 41.4), (9.5, 43.0), (8.6, 42.4)],
    [(23.5, 35.3), (26.3, 35.1), (26.0, 35.4), (23.6, 35.6)],
    [(-22.0, 64.0), (-18.0, 63.4), (-14.0, 64.5), (-14.5, 66.0), (-18.0, 66.5), (-22.5, 65.5)],
]
MAP_WEST, MAP_EAST, MAP_NORTH, MAP_SOUTH = -24.0, 40.0, 71.5, 34.5


def europe_map(canvas, x0, y0, width):
    """Mask of the map, its west edge at x0 and north edge at y0, `width` pixels across."""
    scale = width / ((MAP_EAST - MAP_WEST) * math.cos(math.radians(52.0)))
    lon_scale = scale * math.cos(math.radians(52.0))
    s = canvas.ss

    def draw(d, _):
        for outline in EUROPE:
            d.polygon([((x0 + (lon - MAP_WEST) * lon_scale) * s,
                        (y0 + (MAP_NORTH - lat) * scale) * s) for lon, lat in outline], fill=255)
    return canvas.draw(draw)


def _ground(canvas, spec, flip):
    """Colour sweeping from light to full across the note, with lathe rings and line screens."""
    t = canvas.x / WIDTH
    sweep = smoothstep(0.1, 0.9, 1.0 - t if flip else t)
    canvas.fill(spec["light"])
    canvas.paint(0.25 + 0.65 * sweep, spec["main"])
    canvas.paint(microlines(canvas, 1.4, 0.35, angle_deg=-20.0, wobble=1.0, wavelength=19.0),
                 spec["dark"], 0.15)
    centre = (64.0, 64.0) if flip else (190.0, 64.0)
    canvas.paint(lathe(canvas, centre[0], centre[1], 2.6, 12, 1.8, 0.4), spec["light"], 0.45)
    canvas.paint(lathe(canvas, centre[0], centre[1], 3.3, 7, 2.0, 0.35), spec["dark"], 0.2)


def _numeral(canvas, spec, value, x, y, size, anchor="mm", fill=None):
    glyphs = canvas.text(str(value), "sans-bold", size, (x, y), anchor=anchor, stretch=0.92)
    canvas.paint(grow(canvas, glyphs, 1.0), spec["light"])
    canvas.paint(glyphs, fill or spec["dark"])
    canvas.paint(microlines(canvas, 1.5, 0.45, angle_deg=-45.0) * glyphs, spec["main"], 0.45)


def _lettering(canvas, spec, x, y):
    canvas.paint(canvas.text("EURO", "sans-bold", 11.0, (x, y), anchor="lm", spacing=1.0),
                 spec["dark"])
    canvas.paint(canvas.text("\u0395\u03a5\u03a1\u03a9", "sans-bold", 8.0, (x, y + 10.0),
                             anchor="lm", spacing=1.0), spec["dark"], 0.85)
    canvas.paint(canvas.text("SPECIMEN", "sans-bold", 5.0, (x, y + 18.0), anchor="lm",
                             spacing=0.6), spec["dark"], 0.8)


def _arch_mask(canvas, style, x0, x1, spring_y, base_y):
    """Mask of an opening from x0 to x1 whose arch springs at spring_y, down to base_y."""
    half = (x1 - x0) / 2.0
    body = canvas.rectangle((x0, spring_y, x1, base_y))
    if style == "classical":
        return canvas.rectangle((x0, spring_y - half * 0.3, x1, base_y))
    if style == "gothic":
        # Two circles of radius 1.6 x half through the springing points meet in a point.
        r = half * 1.6
        left = ((canvas.x - (x1 - r)) ** 2 + (canvas.y - spring_y) ** 2) <= r * r
        right = ((canvas.x - (x0 + r)) ** 2 + (canvas.y - spring_y) ** 2) <= r * r
        top = (left & right & (canvas.y <= spring_y)).astype(np.float32)
        return np.maximum(body, top)
    if style == "renaissance":
        rise = half * 0.55     # a segmental arch
    elif style == "baroque":
        rise = half * 0.8      # an elliptical arch
    else:
        rise = half            # a round arch
    top = canvas.ellipse((x0, spring_y - rise, x1, spring_y + rise)) * (canvas.y <= spring_y)
    return np.maximum(body, top)


def gateway(canvas, spec, cx, base_y, width, height):
    """A doorway in the denomination's style: lit walls, a dark opening with a deep reveal."""
    ink, light, style = spec["dark"], spec["light"], spec["style"]
    x0, x1 = cx - width / 2.0, cx + width / 2.0
    top = base_y - height
    wall = canvas.rectangle((x0, top, x1, base_y))
    canvas.paint(wall, light)
    canvas.paint(hatch(canvas, 0.25 + 0.2 * smoothstep(x0, x1, canvas.x), 0.0, 1.6) * wall, ink)
    # Stone courses.
    canvas.paint(contour_lines(canvas, canvas.y, 5.0, 0.35) * wall, ink, 0.5)
    ow = width * 0.46
    spring = top + height * 0.42
    outer = _arch_mask(canvas, style, cx - ow / 2 - 3.0, cx + ow / 2 + 3.0, spring, base_y)
    opening = _arch_mask(canvas, style, cx - ow / 2, cx + ow / 2, spring, base_y)
    deep = _arch_mask(canvas, style, cx - ow / 2 + 4.0, cx + ow / 2 - 2.0, spring + 3.0, base_y)
    canvas.paint(outer, mix(light, spec["main"], 0.4))
    canvas.paint(contour_lines(canvas, canvas.y * 0.5 + canvas.x, 3.0, 0.4) * (outer - opening),
                 ink, 0.6)
    canvas.paint(opening, spec["main"])
    canvas.paint(hatch(canvas, 0.55 + 0 * canvas.x, 90.0, 1.4) * opening, ink)
    canvas.paint(deep, mix(spec["dark"], (0, 0, 0), 0.3))
    canvas.paint(hatch(canvas, 0.3 + 0 * canvas.x, 0.0, 1.3) * deep, spec["main"], 0.6)
    canvas.paint(grow(canvas, outer, 0.5) - outer, ink)
    # Columns or pilasters either side of the opening.
    for side in (-1, 1):
        px = cx + side * (ow / 2 + 6.0)
        shaft = canvas.rectangle((px - 2.5, top + height * 0.2, px + 2.5, base_y))
        canvas.paint(shaft, light)
        canvas.paint(hatch(canvas, 0.1 + 0.6 * smoothstep(px - 2.5, px + 2.5, canvas.x), 90.0, 0.9)
                     * shaft, ink)
        canvas.paint(grow(canvas, shaft, 0.4) - shaft, ink, 0.8)
        if style == "gothic":   # pinnacles
            canvas.paint(canvas.polygon([(px - 2.5, top + height * 0.2), (px, top - 8.0),
                                         (px + 2.5, top + height * 0.2)]), ink, 0.8)
    # Crowning element.
    cornice = canvas.rectangle((x0 - 3, top - 3, x1 + 3, top + 2))
    canvas.paint(cornice, light)
    canvas.paint(hatch(canvas, 0.6 + 0 * canvas.x, 0.0, 1.0) * cornice, ink)
    if style in ("classical", "renaissance"):
        pediment = canvas.polygon([(x0 - 3, top - 3), (cx, top - 15), (x1 + 3, top - 3)])
        canvas.paint(pediment, light)
        canvas.paint(hatch(canvas, 0.35 + 0 * canvas.x, 0.0, 1.2) * pediment, ink)
        canvas.paint(grow(canvas, pediment, 0.5) - pediment, ink)
    elif style == "baroque":
        scroll = canvas.ellipse((x0 - 3, top - 16, x1 + 3, top + 10)) * (canvas.y < top - 3)
        hole = canvas.ellipse((cx - 8, top - 10, cx + 8, top + 6))
        canvas.paint(scroll - hole * scroll, light)
        canvas.paint(grow(canvas, scroll, 0.5) - scroll, ink)
        canvas.paint(canvas.ellipse((cx - 3.5, top - 14, cx + 3.5, top - 7)), ink)
    elif style == "romanesque":
        for i in range(7):
            bx = x0 + (i + 0.5) * width / 7.0
            canvas.paint(canvas.ellipse((bx - 2.5, top - 6, bx + 2.5, top - 1)), ink, 0.7)
    canvas.paint(grow(canvas, wall, 0.5) - wall, ink)


def bridge(canvas, spec, x0, x1, deck_y, water_y):
    """A bridge of three arches from x0 to x1, its deck at deck_y, standing in water."""
    ink, light, style = spec["dark"], spec["light"], spec["style"]
    span = (x1 - x0) / 3.0
    body = canvas.rectangle((x0, deck_y, x1, water_y))
    stone_colour = mix(spec["main"], ink, 0.25)
    openings = np.zeros(body.shape, np.float32)
    for i in range(3):
        a0 = x0 + i * span + span * 0.12
        a1 = x0 + (i + 1) * span - span * 0.12
        spring = water_y - (water_y - deck_y) * 0.42
        openings = np.maximum(openings, _arch_mask(canvas, style if style != "classical" else
                                                   "romanesque", a0, a1, spring, water_y + 1))
    openings = openings * body
    stone = body * (1.0 - openings)
    canvas.paint(stone, stone_colour)
    canvas.paint(hatch(canvas, 0.2 + 0.35 * smoothstep(deck_y, water_y, canvas.y), 0.0, 1.4)
                 * stone, ink, 0.8)
    canvas.paint(contour_lines(canvas, canvas.x, 4.0, 0.3) * stone, light, 0.3)
    # Through the arches: pale sky over the far bank.
    canvas.paint(openings, light)
    canvas.paint(hatch(canvas, 0.25 + 0.25 * smoothstep(deck_y, water_y, canvas.y), 0.0, 1.6)
                 * openings, spec["main"], 0.8)
    canvas.paint((grow(canvas, stone, 0.45) - stone) * (canvas.y < water_y), ink)
    if style == "classical":   # an upper tier of small arches, like an aqueduct
        tier = canvas.rectangle((x0, deck_y - 12, x1, deck_y))
        small = np.zeros(body.shape, np.float32)
        for i in range(9):
            a0 = x0 + i * (x1 - x0) / 9 + 2.0
            a1 = x0 + (i + 1) * (x1 - x0) / 9 - 2.0
            small = np.maximum(small, _arch_mask(canvas, "romanesque", a0, a1, deck_y - 5, deck_y))
        canvas.paint(tier * (1 - small), light)
        canvas.paint(hatch(canvas, 0.3 + 0 * canvas.x, 0.0, 1.3) * tier * (1 - small), ink)
        canvas.paint(grow(canvas, tier * (1 - small), 0.45) - tier * (1 - small), ink)
    else:
        rail = canvas.rectangle((x0 - 2, deck_y - 5, x1 + 2, deck_y))
        canvas.paint(rail, light)
        if style == "renaissance":   # balusters
            canvas.paint(contour_lines(canvas, canvas.x, 2.2, 0.7) * rail, ink, 0.8)
        else:
            canvas.paint(hatch(canvas, 0.5 + 0 * canvas.x, 0.0, 1.2) * rail, ink)
        canvas.paint(grow(canvas, rail, 0.45) - rail, ink)
        if style in ("gothic", "baroque"):
            for i in range(4):
                px = x0 + i * span
                if style == "gothic":
                    canvas.paint(canvas.polygon([(px - 3, deck_y - 4), (px, deck_y - 16),
                                                 (px + 3, deck_y - 4)]), ink, 0.85)
                else:
                    canvas.paint(canvas.ellipse((px - 2.5, deck_y - 14, px + 2.5, deck_y - 4)),
                                 ink, 0.85)
    # Water with the arches' reflections.
    water = canvas.rectangle((x0 - 10, water_y, x1 + 10, water_y + 10))
    canvas.paint(wave_band(canvas, water_y + 3, 0.6, 6.0, (0.0,), 0.5) * water, ink, 0.6)
    canvas.paint(wave_band(canvas, water_y + 7, 0.6, 7.5, (1.0,), 0.5) * water, ink, 0.4)


def gateway_front(value, seed):
    spec = DENOMINATIONS[value]
    c = Canvas(WIDTH, HEIGHT, spec["light"])
    _ground(c, spec, flip=False)
    # The flag at the top left.
    flag = c.rectangle((8.0, 8.0, 44.0, 32.0))
    c.paint(grow(c, flag, 0.8), (250, 250, 250))
    c.paint(flag, FLAG_BLUE)
    c.paint(stars_ring(c, 26.0, 20.0, 8.0, 12, 1.6), STAR_YELLOW)
    # Ring of stars round the gateway, and the gateway itself.
    c.paint(rosette_disc(c, 98.0, 64.0, 50.0, 3, 9, 0.4), spec["dark"], 0.2)
    c.paint(stars_ring(c, 98.0, 64.0, 50.0, 12, 4.2), spec["light"], 0.9)
    c.paint(stars_ring(c, 98.0, 64.0, 50.0, 12, 2.8), spec["dark"], 0.8)
    gateway(c, spec, 98.0, 112.0, 60.0, 76.0)
    # Foil: a stripe on the low values, a patch on the high ones.
    if value <= 20:
        foil = c.rectangle((214.0, 0.0, 226.0, HEIGHT))
        c.paint(foil, FOIL)
        c.paint(microlines(c, 2.0, 0.5, angle_deg=90.0) * foil, (160, 166, 176), 0.8)
        c.paint(stars_ring(c, 220.0, 64.0, 40.0, 12, 2.0) * foil, spec["main"])
    else:
        foil = c.ellipse((206.0, 80.0, 236.0, 112.0))
        c.paint(foil, FOIL)
        c.paint(rosette(c, 221.0, 96.0, 11.0, 2.5, 9, 2, 0.45) * foil, (150, 156, 170))
        c.paint(c.text(str(value), "sans-bold", 10.0, (221.0, 96.0), anchor="mm") * foil,
                spec["dark"])
    _numeral(c, spec, value, 10.0 if value < 100 else 8.0, 112.0, 30.0, anchor="ls")
    _numeral(c, spec, value, 184.0, 44.0, 50.0 if value < 100 else 40.0)
    _lettering(c, spec, 150.0, 92.0)
    return c.result()


def bridge_back(value, seed):
    spec = DENOMINATIONS[value]
    c = Canvas(WIDTH, HEIGHT, spec["light"])
    _ground(c, spec, flip=True)
    # The map along the bottom, in a pale tone of the colour.
    land = europe_map(c, 138.0, 30.0, 112.0)
    c.paint(land, spec["light"], 0.75)
    c.paint(microlines(c, 1.2, 0.4, angle_deg=0.0) * land, spec["main"], 0.5)
    c.paint(grow(c, land, 0.4) - land, spec["dark"], 0.6)
    # The bridge across the middle.
    bridge(c, spec, 44.0, 176.0, 50.0, 84.0)
    _numeral(c, spec, value, 8.0, 30.0, 34.0 if value < 100 else 28.0, anchor="ls")
    _numeral(c, spec, value, 8.0, 120.0, 18.0, anchor="ls")
    _numeral(c, spec, value, 246.0, 120.0, 40.0 if value < 100 else 32.0, anchor="rs")
    c.paint(c.text("EURO", "sans-bold", 10.0, (110.0, 18.0), anchor="mm", spacing=1.0),
            spec["dark"])
    c.paint(c.text("SPECIMEN", "sans-bold", 5.0, (110.0, 27.0), anchor="mm", spacing=0.6),
            spec["dark"], 0.8)
    return c.result()


front = gateway_front
back = bridge_back
