"""The Australian-style polymer notes: one bright colour per denomination printed edge to edge,
a clear window with an embossed star, bold numerals, line-work rosettes; one side carries a
portrait and the serial numbers, the other the value in words, two signatures and a sprig.
"""
from engraving import (Canvas, contour_lines, grow, lathe, microlines, mix, polar, rosette_disc,
                       smoothstep, star_points, wave_band)
from figures import portrait, serial_number, sprig

WIDTH, HEIGHT = 256, 128
WINDOW_TINT = (226, 236, 240)

# Per denomination: words, the main colour, a lighter and a darker shade of it, portrait style.
DENOMINATIONS = {
    5: dict(words="FIVE DOLLARS", main=(196, 112, 178), light=(238, 196, 226), dark=(96, 40, 96),
            portrait="wavy"),
    10: dict(words="TEN DOLLARS", main=(58, 124, 206), light=(178, 212, 244), dark=(20, 48, 110),
             portrait="short"),
    20: dict(words="TWENTY DOLLARS", main=(222, 88, 46), light=(250, 190, 150), dark=(120, 30, 14),
             portrait="beard"),
    50: dict(words="FIFTY DOLLARS", main=(236, 184, 40), light=(252, 232, 150), dark=(128, 84, 8),
             portrait="bun"),
    100: dict(words="ONE HUNDRED DOLLARS", main=(60, 162, 88), light=(180, 226, 180),
              dark=(18, 80, 40), portrait="curly"),
}


def _ground(canvas, spec, window_left):
    """The printed colour: a diagonal sweep from light to full colour, lathe rings and fine
    line screens; darker towards the window side's far end."""
    sweep = smoothstep(0.0, 1.0, (canvas.x / WIDTH) * 0.8 + (canvas.y / HEIGHT) * 0.2)
    if window_left:
        sweep = 1.0 - sweep
    canvas.fill(spec["main"])
    canvas.paint(0.75 * sweep, spec["light"])
    canvas.paint(microlines(canvas, 1.5, 0.45, angle_deg=35.0, wobble=1.5, wavelength=23.0),
                 spec["dark"], 0.18)
    centre = (170.0, 50.0) if window_left else (86.0, 78.0)
    canvas.paint(lathe(canvas, centre[0], centre[1], 2.4, 9, 1.8, 0.4), spec["dark"], 0.22)
    canvas.paint(lathe(canvas, centre[0], centre[1], 3.1, 13, 2.2, 0.35), spec["light"], 0.5)
    # Bands of interlaced waves near the long edges.
    for y in (6.0, HEIGHT - 6.0):
        canvas.paint(wave_band(canvas, y, 2.2, 9.0, (0.0, 2.1, 4.2), 0.45), spec["dark"], 0.45)


def _window(canvas, spec, x0):
    """A clear window: pale, with a faint embossed seven-pointed star and a printed edge."""
    box = (x0, 22.0, x0 + 30.0, 106.0)
    window = canvas.rounded_rectangle(box, 10.0)
    canvas.paint(grow(canvas, window, 1.4), spec["dark"], 0.8)
    canvas.paint(window, WINDOW_TINT)
    cx, cy = x0 + 15.0, 64.0
    shine = smoothstep(x0 + 30, x0, canvas.x + (canvas.y - 22) * 0.35)
    canvas.paint(window * shine, (250, 252, 255), 0.6)
    star = canvas.polygon(star_points(cx, cy, 11.0, points=7, inner=0.5))
    edge = grow(canvas, star, 0.5) - star
    canvas.paint(star * window, mix(WINDOW_TINT, spec["main"], 0.25))
    canvas.paint(edge * window, mix(WINDOW_TINT, spec["dark"], 0.6))
    r, _ = polar(canvas, cx, cy)
    canvas.paint(contour_lines(canvas, r, 2.0, 0.3) * window * (r > 13.5), spec["main"], 0.25)


def _numeral(canvas, spec, value, x, y, size, anchor="mm"):
    """A bold numeral: dark outline, filled with a line screen of the main colour."""
    glyphs = canvas.text(str(value), "sans-bold", size, (x, y), anchor=anchor)
    canvas.paint(grow(canvas, glyphs, 1.0), spec["light"])
    canvas.paint(glyphs, spec["dark"])
    canvas.paint(microlines(canvas, 1.7, 0.5, angle_deg=60.0) * glyphs, spec["main"], 0.55)
    return glyphs


def serial_side(value, seed):
    spec = DENOMINATIONS[value]
    c = Canvas(WIDTH, HEIGHT, spec["main"])
    _ground(c, spec, window_left=True)
    _window(c, spec, 10.0)

    # Portrait, unframed, in the colour's dark ink over a rosette medallion.
    cx, cy = 150.0, 66.0
    c.paint(rosette_disc(c, cx, cy - 4, 40.0, 4, 8, 0.45, aspect=0.9), spec["dark"], 0.25)
    portrait(c, cx, cy + 8, 92.0, spec["portrait"], spec["dark"], spec["light"])

    # Numerals: large at the top right, small at the bottom left.
    _numeral(c, spec, value, 220.0 if value < 100 else 216.0, 40.0, 46.0 if value < 100 else 32.0)
    _numeral(c, spec, value, 62.0, 104.0, 18.0)
    c.paint(c.text("AUSTRALIA", "sans-bold", 9.0, (70.0, 22.0), anchor="mm", spacing=0.8),
            spec["dark"])
    c.paint(c.text("SPECIMEN", "sans-bold", 5.5, (70.0, 31.0), anchor="mm", spacing=0.6),
            spec["dark"], 0.85)
    serial = serial_number(seed, "AS")
    c.paint(c.text(serial, "narrow-bold", 7.5, (226.0, 102.0), anchor="mm"), (24, 24, 30))
    c.paint(c.text(serial, "narrow-bold", 6.5, (62.0, 64.0), anchor="mm"), (24, 24, 30), 0.85)
    return c.result()


def words_side(value, seed):
    spec = DENOMINATIONS[value]
    c = Canvas(WIDTH, HEIGHT, spec["main"])
    _ground(c, spec, window_left=False)
    _window(c, spec, WIDTH - 40.0)

    # A sprig across the upper middle, over a faint rosette.
    c.paint(rosette_disc(c, 150.0, 48.0, 36.0, 3, 10, 0.45), spec["dark"], 0.22)
    sprig(c, 96.0, 66.0, 104.0, -22.0, seed, spec["dark"], (250, 214, 60),
          mix(spec["main"], (40, 110, 50), 0.55))

    _numeral(c, spec, value, 14.0, 30.0, 44.0 if value < 100 else 32.0, anchor="lm")
    size = 13.0 if value < 100 else 10.0
    words = c.text(spec["words"], "sans-bold", size, (108.0, 86.0), anchor="mm", spacing=0.6)
    c.paint(grow(c, words, 0.8), spec["light"])
    c.paint(words, spec["dark"])
    # Two signatures with their titles.
    for x, name, title in ((60.0, "M. Quillmark", "GOVERNOR"), (150.0, "R. Skyfold", "TREASURER")):
        c.paint(c.text(name, "script", 13.0, (x, 106.0), anchor="ms", stretch=1.1), (24, 22, 48))
        c.paint(c.rectangle((x - 28.0, 107.5, x + 28.0, 108.0)), spec["dark"], 0.8)
        c.paint(c.text(title, "sans", 4.5, (x, 114.0), anchor="mm", spacing=0.4), spec["dark"])
    c.paint(c.text("SPECIMEN", "sans-bold", 5.5, (42.0, 56.0), anchor="mm", spacing=0.6),
            spec["dark"], 0.85)
    c.paint(c.text("AUSTRALIA", "sans-bold", 8.0, (112.0, 16.0), anchor="mm", spacing=0.8),
            spec["dark"])
    return c.result()


front = serial_side
back = words_side
