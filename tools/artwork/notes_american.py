"""The American-style notes: green-grey intaglio on pale paper, an ornate engraved frame, corner
numerals, a portrait in an oval on the front and a building on the back, each denomination with
its own tint (a wash over the paper and a large coloured numeral).
"""
import numpy as np

from engraving import (Canvas, border_frame, contour_lines, grow, hatch, lathe, microlines, mix,
                       polar, rosette, rosette_disc, smoothstep, wave_band)
from figures import building, portrait, serial_number

WIDTH, HEIGHT = 256, 128
PAPER = (229, 231, 214)
FRONT_INK = (28, 44, 36)        # black-green of the face
BACK_INK = (22, 92, 58)         # brighter green of the back
SEAL_GREEN = (40, 130, 80)
SEAL_LIGHT = (250, 250, 240)

# Per denomination: words, tint washed over the paper, colour of the big numeral, portrait and
# building styles. A ribbon colour adds a vertical band (the 100).
DENOMINATIONS = {
    5: dict(words="FIVE DOLLARS", tint=(190, 160, 215), numeral=(112, 66, 150),
            portrait="short", building="temple", ribbon=None),
    10: dict(words="TEN DOLLARS", tint=(246, 196, 130), numeral=(214, 110, 28),
             portrait="bun", building="hall", ribbon=None),
    20: dict(words="TWENTY DOLLARS", tint=(240, 205, 180), numeral=(48, 138, 74),
             portrait="curly", building="portico", ribbon=None),
    50: dict(words="FIFTY DOLLARS", tint=(236, 178, 196), numeral=(46, 82, 170),
             portrait="wavy", building="dome", ribbon=None),
    100: dict(words="ONE HUNDRED DOLLARS", tint=(176, 206, 228), numeral=(176, 100, 48),
              portrait="beard", building="tower", ribbon=(60, 110, 200)),
}


def _paper(canvas, spec, tint_side):
    """Paper with fibre-fine line screen and the denomination's tint washed over one side."""
    canvas.fill(PAPER)
    wash = smoothstep(0.3, 0.95, canvas.x / WIDTH) if tint_side == "right" else \
        smoothstep(0.7, 0.05, canvas.x / WIDTH)
    canvas.paint(0.12 + 0.55 * wash, spec["tint"])
    centre = (200.0, 70.0) if tint_side == "right" else (56.0, 58.0)
    canvas.paint(lathe(canvas, centre[0], centre[1], 2.2, 11, 1.6, 0.35),
                 mix(PAPER, spec["numeral"], 0.6), 0.35)
    canvas.paint(microlines(canvas, 1.6, 0.35, angle_deg=0.0, wobble=1.2, wavelength=31.0),
                 mix(PAPER, spec["tint"], 0.9), 0.6)


def _frame(canvas, ink):
    """Outer rule, a guilloche band round the note, and an inner rule."""
    inset, band = 3.0, 7.0
    lines, inside = border_frame(canvas, inset, band, 5.0, 0.45, phases=3)
    canvas.paint(inside, ink, 0.18)
    canvas.paint(lines, ink, 0.9)
    outer = canvas.rectangle((inset - 0.9, inset - 0.9, WIDTH - inset + 0.9, HEIGHT - inset + 0.9))
    outer = outer - canvas.rectangle((inset, inset, WIDTH - inset, HEIGHT - inset))
    canvas.paint(outer, ink)
    x0, y0 = inset + band, inset + band
    inner = canvas.rectangle((x0 - 0.7, y0 - 0.7, WIDTH - x0 + 0.7, HEIGHT - y0 + 0.7))
    inner = inner - canvas.rectangle((x0, y0, WIDTH - x0, HEIGHT - y0))
    canvas.paint(inner, ink)


def _corner_numeral(canvas, value, cx, cy, ink, paper):
    """A numeral on a small rosette medallion."""
    size = 13.0 if value < 100 else 11.0
    disc = canvas.ellipse((cx - 11, cy - 9, cx + 11, cy + 9))
    canvas.paint(disc, paper)
    canvas.paint(rosette(canvas, cx, cy, 8.0, 2.2, 9, 3, 0.35, aspect=1.2) * disc, ink, 0.9)
    canvas.paint(grow(canvas, disc, 0.6) - disc, ink)
    glyphs = canvas.text(str(value), "roman-bold", size, (cx, cy + 0.5), anchor="mm")
    canvas.paint(grow(canvas, glyphs, 0.9), paper)
    canvas.paint(glyphs, ink)


def _seal(canvas, cx, cy, radius, colour, letter):
    """A toothed seal with rings, a rosette and a letter or a star in the middle."""
    r, a = polar(canvas, cx, cy)
    edge = radius + 0.9 * np.sin(a * 28)
    disc = (r <= edge).astype(np.float32)
    canvas.paint(disc, colour, 0.92)
    rings = contour_lines(canvas, r, radius * 0.36, 0.4) * (r < radius * 0.78)
    canvas.paint(rings, SEAL_LIGHT, 0.8)
    canvas.paint(rosette(canvas, cx, cy, radius * 0.55, radius * 0.2, 8, 2, 0.35), SEAL_LIGHT, 0.7)
    canvas.paint(canvas.text(letter, "roman-bold", radius * 1.0, (cx, cy + 0.3), anchor="mm"),
                 SEAL_LIGHT)


def front(value, seed):
    spec = DENOMINATIONS[value]
    c = Canvas(WIDTH, HEIGHT, PAPER)
    _paper(c, spec, "right")
    ink = FRONT_INK
    # Fine wave bands behind the lettering at top and bottom.
    c.paint(wave_band(c, 17.0, 2.0, 7.0, (0.0, 2.1, 4.2), 0.35) * c.coverage_x(14, 242), ink, 0.45)
    c.paint(wave_band(c, 111.0, 2.0, 7.0, (0.0, 2.1, 4.2), 0.35) * c.coverage_x(14, 242), ink, 0.45)
    if spec["ribbon"]:
        band = c.rectangle((152, 10, 159, 118))
        c.paint(band, spec["ribbon"], 0.85)
        c.paint(microlines(c, 2.0, 0.5, angle_deg=90.0) * band, (240, 240, 250), 0.5)
    _frame(c, ink)

    # The portrait in its oval.
    cx, cy, rx, ry = 116.0, 64.0, 26.0, 34.0
    oval = c.ellipse((cx - rx, cy - ry, cx + rx, cy + ry))
    ring = c.ellipse((cx - rx - 5, cy - ry - 5, cx + rx + 5, cy + ry + 5)) - oval
    c.paint(ring, PAPER)
    c.paint(rosette(c, cx, cy, rx + 2.5, 1.6, 40, 2, 0.4, aspect=rx / ry) * ring, ink)
    c.paint(grow(c, oval, 0.6) - oval, ink)
    c.paint(oval, PAPER)
    portrait(c, cx, cy + 4, 76.0, spec["portrait"], ink, PAPER, frame_mask=oval)

    # Seals left and right of the portrait.
    _seal(c, 52.0, 66.0, 11.0, (36, 40, 38), "SF")
    _seal(c, 188.0, 78.0, 10.0, SEAL_GREEN, "\u2605")

    # Lettering.
    c.paint(c.text("FEDERAL SPECIMEN NOTE", "roman-bold", 9.0, (WIDTH / 2, 17.0), anchor="mm",
                   spacing=0.4), ink)
    c.paint(c.text(spec["words"], "roman-bold", 8.5, (WIDTH / 2, 111.0), anchor="mm",
                   spacing=0.6), ink)
    serial = serial_number(seed, "SF")
    c.paint(c.text(serial, "narrow-bold", 7.0, (188, 38), anchor="mm"), SEAL_GREEN)
    c.paint(c.text(serial, "narrow-bold", 7.0, (52, 90), anchor="mm"), SEAL_GREEN)

    # Big tinted numeral at the lower right, and corner numerals.
    big = c.text(str(value), "roman-bold", 42.0 if value < 100 else 34.0, (212, 92), anchor="mm")
    c.paint(grow(c, big, 1.0) - big, ink, 0.8)
    c.paint(big, spec["numeral"])
    c.paint(microlines(c, 1.4, 0.35, angle_deg=-30.0) * big, mix(spec["numeral"], (0, 0, 0), 0.35))
    for x, y in ((24, 24), (232, 24), (24, 104)):
        _corner_numeral(c, value, x, y, ink, PAPER)
    return c.result()


def back(value, seed):
    spec = DENOMINATIONS[value]
    c = Canvas(WIDTH, HEIGHT, PAPER)
    _paper(c, spec, "left")
    ink = BACK_INK
    _frame(c, ink)

    # Rosette panels left and right.
    for x in (40.0, 216.0):
        panel = c.ellipse((x - 24, 64 - 30, x + 24, 64 + 30))
        c.paint(panel, PAPER)
        c.paint(rosette_disc(c, x, 64.0, 26.0, 4, 7, 0.4, aspect=0.85) * panel, ink, 0.85)
        c.paint(grow(c, panel, 0.7) - panel, ink)

    # The building in a rectangular vignette with a rounded top.
    x0, x1, y0, y1 = 72.0, 184.0, 18.0, 104.0
    vignette = np.maximum(c.rectangle((x0, y0 + 16, x1, y1)),
                          c.ellipse((x0, y0, x1, y0 + 40)) * (c.y < y0 + 20))
    c.paint(vignette, PAPER)
    building(c, 128.0, 95.0, 92.0, spec["building"], ink, PAPER, sky_mask=vignette)
    foreground = vignette * (c.y > 97.5)
    c.paint(hatch(c, 0.35 + 0 * c.x, 0.0, 1.3) * foreground, ink)
    c.paint(grow(c, vignette, 0.7) - vignette, ink)

    # Big numerals on the rosettes, the tinted one at the left.
    for x, colour in ((40.0, spec["numeral"]), (216.0, ink)):
        size = 30.0 if value < 100 else 22.0
        numeral = c.text(str(value), "roman-bold", size, (x, 65.0), anchor="mm")
        c.paint(grow(c, numeral, 1.2), PAPER)
        c.paint(numeral, colour)
    for x, y in ((24, 24), (232, 24), (24, 104), (232, 104)):
        _corner_numeral(c, value, x, y, ink, PAPER)
    c.paint(c.text("SPECIMEN", "roman-bold", 8.0, (WIDTH / 2, 12.0), anchor="mm", spacing=1.2), ink)
    c.paint(c.text(spec["words"], "roman-bold", 8.0, (WIDTH / 2, 113.5), anchor="mm", spacing=0.6),
            ink)
    return c.result()
