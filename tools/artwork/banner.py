"""The banner that slides in at the screen's edge: a small note emblem and two lines of lettering
on a flat key-colour ground. Only pixels the lettering really covers leave the ground, and none
of them takes the key colour, so the colour key lifts out exactly the ground.
"""
import numpy as np

from engraving import Canvas, grow, microlines, mix, rgb, smoothstep

WIDTH, HEIGHT = 256, 32
GROUND = (0, 0, 51)            # the key colour: every pixel of it vanishes on screen
MIN_COVERAGE = 0.3             # lighter anti-aliasing than this stays ground
GOLD_TOP, GOLD_BOTTOM = (255, 232, 140), (232, 150, 36)
SKY_TEXT = (178, 208, 255)
NOTE_GREEN, NOTE_INK = (120, 200, 130), (20, 80, 44)


def draw():
    """(rgb, ground_mask): the banner as uint8 (32, 256, 3) and where it is pure ground."""
    c = Canvas(WIDTH, HEIGHT, GROUND)
    figure = np.zeros(c.x.shape, np.float32)

    def put(mask, colour, opacity=1.0):
        nonlocal figure
        c.paint(mask, colour, opacity)
        figure = np.maximum(figure, np.clip(mask * opacity, 0, 1))

    # Emblem: a note folding as it falls (two panels at an angle).
    left = c.polygon([(6, 10), (20, 5), (21, 25), (7, 29)])
    right = c.polygon([(20, 5), (34, 9), (33, 28), (21, 25)])
    put(grow(c, np.maximum(left, right), 0.6), NOTE_INK)
    put(left, NOTE_GREEN)
    put(right, mix(NOTE_GREEN, (255, 255, 255), 0.35))
    c.paint(microlines(c, 1.5, 0.4, angle_deg=70.0) * left, NOTE_INK, 0.5)
    c.paint(microlines(c, 1.5, 0.4, angle_deg=-70.0) * right, NOTE_INK, 0.4)
    put(c.text("$", "sans-bold", 13.0, (13.6, 17.5), anchor="mm") * left, NOTE_INK)
    put(c.ellipse((23.5, 12.5, 30.5, 20.5)) * right, NOTE_INK, 0.8)

    # First line: the name, in gold that darkens downwards.
    name = c.text("SKYFOLD", "serif-bold", 17.0, (42.0, 14.0), anchor="ls", spacing=2.2)
    gold = lambda canvas: (rgb(GOLD_TOP) + (rgb(GOLD_BOTTOM) - rgb(GOLD_TOP))
                           * smoothstep(2.0, 14.0, canvas.y)[..., None])
    put(name, gold)
    # Second line, smaller, in pale sky blue.
    put(c.text("MONEY FROM A CLEAR SKY", "sans-bold", 7.6, (42.5, 26.5), anchor="ls",
               spacing=1.05), SKY_TEXT)
    # A double gold rule to the right of the name, ending in a diamond.
    put(c.rectangle((160, 7.0, 242, 8.0)), GOLD_TOP, 0.9)
    put(c.rectangle((160, 10.0, 242, 11.0)), GOLD_BOTTOM, 0.9)
    put(c.polygon([(241, 9.0), (246, 4.5), (251, 9.0), (246, 13.5)]), GOLD_TOP)

    picture = c.result()
    s = c.ss
    coverage = figure.reshape(HEIGHT, s, WIDTH, s).mean(axis=(1, 3))
    ground_mask = coverage < MIN_COVERAGE
    picture[ground_mask] = GROUND
    # Pixels at the edge of the lettering are a blend with the ground; make sure none of them is
    # the key colour itself.
    clash = (~ground_mask) & np.all(picture == np.array(GROUND, np.uint8), axis=-1)
    picture[clash] = (0, 0, GROUND[2] + 1)
    return picture, ground_mask
