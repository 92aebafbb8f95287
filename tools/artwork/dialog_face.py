"""The settings dialog's face: a rounded engraved panel with a night scene of falling notes at the
upper left, every label painted beside the control it names (placed from the dialog template's
own coordinates), and an engraved band along the bottom.
"""
import math
import random

import numpy as np
from PIL import Image, ImageDraw

from engraving import (Canvas, grow, lathe, microlines, mix, rgb, rosette, rosette_disc,
                       smoothstep, wave_band)

WIDTH, HEIGHT = 495, 298
CORNER_DIAMETER = 90             # the window region's corner ellipse, 90 x 90 pixels
# The template is 330 x 183 dialog units and the window 495 x 298 pixels.
PIXELS_PER_UNIT_X = WIDTH / 330.0
PIXELS_PER_UNIT_Y = HEIGHT / 183.0

# Control rectangles of dialog template 2003, in dialog units (x, y, width, height).
OK_BUTTON = (267, 103, 50, 14)
CANCEL_BUTTON = (267, 117, 50, 14)
NOTE_COUNT_SCROLL_BAR = (11, 110, 244, 11)
CURRENCY_BUTTONS = [(1000, "AUSTRALIAN DOLLARS", (227, 15, 10, 8)),
                    (1001, "AMERICAN DOLLARS", (227, 26, 10, 8)),
                    (1002, "EURO'S", (227, 37, 10, 8))]
VIEW_ANGLE_BUTTONS = [(1003, "BOTTOM UP", (227, 51, 10, 8)),
                      (1004, "FRONT ON", (227, 62, 10, 8)),
                      (1005, "TOP DOWN", (227, 72, 10, 8)),
                      (1006, "RANDOM", (227, 82, 10, 8))]

PAPER = (224, 228, 210)
INK = (26, 62, 42)
GOLD = (236, 186, 78)
NIGHT_TOP, NIGHT_BOTTOM = (16, 24, 52), (2, 3, 10)
LABEL_FONT, LABEL_PX = "narrow-bold", 10.5
HEADING_PX = 9.0                 # fits the gaps above the two radio groups
HEADING_INK = (120, 40, 20)
ARTWORK_BOX = (14.0, 14.0, 328.0, 160.0)
BAND_TOP = 222.0


def to_pixels(rect):
    """A dialog-unit rectangle as pixel edges (left, top, right, bottom)."""
    x, y, w, h = rect
    return (x * PIXELS_PER_UNIT_X, y * PIXELS_PER_UNIT_Y, (x + w) * PIXELS_PER_UNIT_X,
            (y + h) * PIXELS_PER_UNIT_Y)


def control_rectangles():
    """Every control's pixel rectangle, for the layout preview."""
    rects = [to_pixels(OK_BUTTON), to_pixels(CANCEL_BUTTON), to_pixels(NOTE_COUNT_SCROLL_BAR)]
    rects += [to_pixels(r) for _, _, r in CURRENCY_BUTTONS + VIEW_ANGLE_BUTTONS]
    return rects


def _rounded_panel_sdf(canvas, radius):
    """Signed distance to the rounded outline of the whole face (negative inside)."""
    half_w, half_h = WIDTH / 2.0, HEIGHT / 2.0
    qx = np.abs(canvas.x - half_w) - (half_w - radius)
    qy = np.abs(canvas.y - half_h) - (half_h - radius)
    outside = np.sqrt(np.maximum(qx, 0) ** 2 + np.maximum(qy, 0) ** 2)
    return outside + np.minimum(np.maximum(qx, qy), 0) - radius


# -- falling notes in perspective -----------------------------------------------------------------
def _perspective_coefficients(destination, source):
    """PIL PERSPECTIVE coefficients mapping destination points onto source points (4 each)."""
    rows, rhs = [], []
    for (x, y), (u, v) in zip(destination, source):
        rows.append([x, y, 1, 0, 0, 0, -u * x, -u * y])
        rows.append([0, 0, 0, x, y, 1, -v * x, -v * y])
        rhs += [u, v]
    return np.linalg.solve(np.array(rows, np.float64), np.array(rhs, np.float64)).tolist()


def _falling_notes(layer_size, scale, pictures, seed):
    """An RGBA layer (PIL) of bent notes tumbling in perspective, fogged with distance."""
    width, height = layer_size
    layer = Image.new("RGBA", (width, height), (0, 0, 0, 0))
    rng = random.Random(seed)
    focal = 260.0 * scale
    notes = []
    for n in range(11):
        fronts = rng.choice([(102, 103), (106, 107), (110, 111), (114, 115), (128, 129),
                             (120, 121), (122, 123), (124, 125), (130, 131), (104, 105),
                             (116, 117)])
        notes.append(dict(z=rng.uniform(2.2, 6.5), x=rng.uniform(-1.9, 1.9),
                          y=rng.uniform(-0.9, 0.9),
                          yaw=rng.uniform(0, 360), pitch=rng.uniform(-60, 60),
                          roll=rng.uniform(-40, 40), sides=fronts))
    notes.sort(key=lambda note: -note["z"])      # far ones first
    for note in notes:
        yaw, pitch, roll = (math.radians(note[k]) for k in ("yaw", "pitch", "roll"))

        def transform(p):
            x, y, z = p
            x, z = x * math.cos(yaw) + z * math.sin(yaw), -x * math.sin(yaw) + z * math.cos(yaw)
            y, z = (y * math.cos(pitch) - z * math.sin(pitch),
                    y * math.sin(pitch) + z * math.cos(pitch))
            x, y = x * math.cos(roll) - y * math.sin(roll), x * math.sin(roll) + y * math.cos(roll)
            return x + note["x"], y + note["y"], z + note["z"]

        def project(p):
            x, y, z = p
            return (width / 2.0 + focal * x / z, height / 2.0 - focal * y / z)

        # The note bends along its length on a circle; 8 strips approximate it.
        columns = 8
        length, depth, bend = 1.3, 0.65, 1.4
        strips = []
        for i in range(columns + 1):
            phi = (i / columns - 0.5) * length / bend
            x, z = bend * math.sin(phi), bend * (1 - math.cos(phi))
            strips.append((transform((x, depth / 2, z)), transform((x, -depth / 2, z))))
        fog = smoothstep(2.0, 7.0, note["z"])
        for i in range(columns):
            (a_top, a_bottom), (b_top, b_bottom) = strips[i], strips[i + 1]
            quad = [project(a_top), project(b_top), project(b_bottom), project(a_bottom)]
            # Which side faces the eye decides the picture (and mirrors its columns).
            ax, ay = quad[1][0] - quad[0][0], quad[1][1] - quad[0][1]
            bx, by = quad[3][0] - quad[0][0], quad[3][1] - quad[0][1]
            facing = ax * by - ay * bx > 0
            picture = pictures[note["sides"][0] if facing else note["sides"][1]]
            pw, ph = picture.size
            u0, u1 = pw * i / columns, pw * (i + 1) / columns
            if not facing:
                u0, u1 = pw - u0, pw - u1
            source = [(u0, 0), (u1, 0), (u1, ph), (u0, ph)]
            coefficients = _perspective_coefficients(quad, source)
            shaded = picture.point(lambda v, f=fog: int(v * (1.0 - 0.82 * f) + 0.5))
            warped = shaded.transform((width, height), Image.Transform.PERSPECTIVE, coefficients,
                                      Image.Resampling.BILINEAR)
            mask = Image.new("L", (width, height), 0)
            ImageDraw.Draw(mask).polygon(quad, fill=255)
            layer.paste(warped.convert("RGBA"), (0, 0), mask)
    return layer


# -- the face -------------------------------------------------------------------------------------
def _label(canvas, text, position, anchor="lm", size=LABEL_PX, colour=INK):
    canvas.paint(canvas.text(text, LABEL_FONT, size, position, anchor=anchor, spacing=0.35), colour)


def draw(pictures, seed=7):
    """The face as uint8 (298, 495, 3); pictures maps note ids to their PIL RGB images."""
    c = Canvas(WIDTH, HEIGHT, INK)
    radius = CORNER_DIAMETER / 2.0
    sdf = _rounded_panel_sdf(c, radius)
    panel = np.clip(0.5 - sdf / c.pixel, 0.0, 1.0)
    c.paint(panel, PAPER)
    c.paint(lathe(c, WIDTH * 0.72, HEIGHT * 0.35, 3.0, 14, 2.2, 0.4) * panel, INK, 0.12)
    c.paint(microlines(c, 1.6, 0.35, angle_deg=12.0, wobble=1.2, wavelength=37.0) * panel,
            INK, 0.08)

    # Engraved frame following the rounded outline.
    inside = -sdf
    angle = np.arctan2(c.y - HEIGHT / 2.0, c.x - WIDTH / 2.0)
    band = (inside > 4.0) & (inside < 12.0)
    waves = np.full(c.x.shape, 1e9, np.float32)
    for k in range(3):
        curve = 8.0 + 3.2 * np.sin(angle * 120.0 + 2.0 * math.pi * k / 3.0)
        waves = np.minimum(waves, np.abs(inside - curve))
    c.paint(np.clip((0.25 - waves) / c.pixel + 0.5, 0, 1) * band, INK, 0.85)
    for edge in (3.2, 12.8):
        c.paint(np.clip((0.45 - np.abs(inside - edge)) / c.pixel + 0.5, 0, 1), INK)

    # Upper left: the night scene of falling notes, framed in gold.
    x0, y0, x1, y1 = ARTWORK_BOX
    box = c.rounded_rectangle(ARTWORK_BOX, 14.0)
    c.paint(grow(c, box, 2.2), GOLD)
    c.paint(grow(c, box, 1.0), INK)
    sky = lambda canvas: (rgb(NIGHT_TOP) + (rgb(NIGHT_BOTTOM) - rgb(NIGHT_TOP))
                          * smoothstep(y0, y1, canvas.y)[..., None])
    c.paint(box, sky)
    s = c.ss
    layer = _falling_notes((int((x1 - x0) * s), int((y1 - y0) * s)), s, pictures, seed)
    notes = np.asarray(layer, np.float32) / 255.0
    ox, oy = int(x0 * s), int(y0 * s)
    region = c.rgb[oy:oy + notes.shape[0], ox:ox + notes.shape[1]]
    alpha = notes[..., 3:4] * box[oy:oy + notes.shape[0], ox:ox + notes.shape[1], None]
    region += (notes[..., :3] - region) * alpha
    # Title over the scene.
    title = c.text("SKYFOLD", "serif-bold", 40.0, (171.0, 86.0), anchor="mm", spacing=4.0)
    c.paint(grow(c, title, 2.0) * box, (4, 6, 16), 0.85)
    gold = lambda canvas: (rgb((255, 236, 160)) + (rgb((214, 140, 30)) - rgb((255, 236, 160)))
                           * smoothstep(70.0, 100.0, canvas.y)[..., None])
    c.paint(title, gold)
    c.paint(microlines(c, 1.6, 0.4, angle_deg=0.0) * title, (150, 90, 10), 0.35)
    subtitle = c.text("A  SCREEN  SAVER  OF  FALLING  MONEY", "narrow-bold", 9.0, (171.0, 114.0),
                      anchor="mm", spacing=1.0)
    c.paint(grow(c, subtitle, 1.2) * box, (4, 6, 16), 0.8)
    c.paint(subtitle, (190, 210, 250))

    # Right: the two groups of radio buttons, each headed, every button labelled at its right.
    for heading, buttons in (("CURRENCY TYPE:", CURRENCY_BUTTONS),
                             ("VIEWING ANGLE:", VIEW_ANGLE_BUTTONS)):
        first = to_pixels(buttons[0][2])
        _label(c, heading, (first[0], first[1] - 1.8), anchor="ls", size=HEADING_PX,
               colour=HEADING_INK)
        for _, text, rect in buttons:
            left, top, right, bottom = to_pixels(rect)
            _label(c, text, (right + 3.0, (top + bottom) / 2.0 + 0.5))

    # The note-count slider: its heading above, the three captions below, few to many.
    left, top, right, bottom = to_pixels(NOTE_COUNT_SCROLL_BAR)
    _label(c, "AMOUNT OF NOTES", ((left + right) / 2.0, top - 9.0), anchor="mm", size=11.5)
    for x in np.linspace(left + 4.0, right - 4.0, 29):
        c.paint(c.rectangle((x - 0.4, top - 3.5, x + 0.4, top - 1.0)), INK, 0.6)
    # Each caption on two lines, so that the long ones keep clear of one another.
    for text, x, anchor in (("SPARE CHANGE", left, "l"),
                            ("ENUFF FOR A SMALL ISLAND", (left + right) / 2.0, "m"),
                            ("A DRUG LORD'S PLANE EXPLODED", right, "r")):
        words = text.split(" ")
        half = (len(words) + 1) // 2
        for n, line in enumerate((" ".join(words[:half]), " ".join(words[half:]))):
            _label(c, line, (x, bottom + 9.5 + 10.0 * n), anchor=anchor + "s", size=9.5)

    # A plate behind the OK and Cancel buttons.
    ok, cancel = to_pixels(OK_BUTTON), to_pixels(CANCEL_BUTTON)
    plate = c.rounded_rectangle((ok[0] - 6, ok[1] - 6, cancel[2] + 6, cancel[3] + 6), 6.0)
    c.paint(plate, mix(PAPER, INK, 0.12))
    c.paint(rosette(c, (ok[0] + ok[2]) / 2, (ok[1] + cancel[3]) / 2, 24.0, 5.0, 9, 3, 0.4,
                    aspect=0.9) * plate, INK, 0.35)
    c.paint(grow(c, plate, 0.8) - plate, INK, 0.8)

    # The band along the bottom: dark green, guilloche waves, rosettes and the numerals.
    band = c.coverage_y(BAND_TOP, HEIGHT) * panel
    c.paint(band, INK)
    for centre, phase in ((BAND_TOP + 14.0, 0.0), (BAND_TOP + 58.0, 1.0)):
        c.paint(wave_band(c, centre, 4.0, 11.0, (phase, phase + 2.1, phase + 4.2), 0.45) * band,
                (150, 200, 160), 0.55)
    c.paint(c.rectangle((0, BAND_TOP, WIDTH, BAND_TOP + 1.2)) * panel, GOLD)
    for x in (70.0, WIDTH - 70.0):
        c.paint(rosette_disc(c, x, BAND_TOP + 36.0, 26.0, 4, 8, 0.45) * band, (170, 214, 176), 0.8)
    c.paint(c.text("5 \u00b7 10 \u00b7 20 \u00b7 50 \u00b7 100", "serif-bold", 17.0,
                   (WIDTH / 2.0, BAND_TOP + 30.0), anchor="mm", spacing=1.0), GOLD)
    c.paint(c.text("QUILLMARK  \u00b7  SKYFOLD", "narrow-bold", 9.0, (WIDTH / 2.0, BAND_TOP + 50.0),
                   anchor="mm", spacing=2.0), (190, 220, 196))
    c.paint(np.clip((0.45 - np.abs(inside - 3.2)) / c.pixel + 0.5, 0, 1) * band, GOLD)
    return c.result()
