"""Drawing toolkit of the artwork: a supersampled floating-point canvas, shape and lettering masks,
and the engraver's line work (wave bands, guilloche rosettes, shaded hatching) built from scalar
fields whose contour lines are drawn with anti-aliased widths.
"""
import math

import numpy as np
from PIL import Image, ImageDraw, ImageFilter, ImageFont

SUPERSAMPLE = 4   # canvas samples per output pixel along each axis

FONT_FILES = {
    "sans": "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
    "sans-bold": "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
    "serif-bold": "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf",
    "narrow-bold": "/usr/share/fonts/truetype/liberation/LiberationSansNarrow-Bold.ttf",
    "roman-bold": "/usr/share/fonts/opentype/urw-base35/C059-Bold.otf",
    "script": "/usr/share/fonts/opentype/urw-base35/Z003-MediumItalic.otf",
}
_font_cache = {}


def font(name, size_px):
    key = (name, int(round(size_px)))
    if key not in _font_cache:
        _font_cache[key] = ImageFont.truetype(FONT_FILES[name], key[1])
    return _font_cache[key]


def rgb(colour):
    """An (r, g, b) colour of 0-255 components as a float triple of 0-1."""
    return np.array(colour, np.float32) / 255.0


def mix(a, b, t):
    """Colour between a and b (0-255 triples): t = 0 gives a, 1 gives b."""
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


class Canvas:
    """An RGB picture of width x height output pixels, drawn at SUPERSAMPLE times that
    resolution. Coordinates are in output pixels, origin at the top left, y downwards."""

    def __init__(self, width, height, background=(255, 255, 255), supersample=SUPERSAMPLE):
        self.width, self.height, self.ss = width, height, supersample
        rows, cols = height * supersample, width * supersample
        self.rgb = np.empty((rows, cols, 3), np.float32)
        self.rgb[:] = rgb(background)
        self.x = ((np.arange(cols, dtype=np.float32) + 0.5) / supersample)[None, :].repeat(rows, 0)
        self.y = ((np.arange(rows, dtype=np.float32) + 0.5) / supersample)[:, None].repeat(cols, 1)
        self.pixel = 1.0 / supersample   # one canvas sample, in output pixels

    # -- painting -------------------------------------------------------------------------------
    def paint(self, mask, colour, opacity=1.0):
        """Lays colour over the picture with coverage mask (0-1, scalar or array) x opacity."""
        alpha = np.clip(np.asarray(mask, np.float32) * opacity, 0.0, 1.0)
        if alpha.ndim == 0:
            alpha = np.full(self.x.shape, float(alpha), np.float32)
        if callable(colour):
            colour = colour(self)
        colour = np.asarray(rgb(colour) if isinstance(colour, tuple) else colour, np.float32)
        self.rgb += (colour - self.rgb) * alpha[..., None]

    def fill(self, colour):
        self.paint(1.0, colour)

    def result(self):
        """The picture at output size, uint8 (height, width, 3): each pixel the mean of its
        samples."""
        s = self.ss
        small = self.rgb.reshape(self.height, s, self.width, s, 3).mean(axis=(1, 3))
        return np.clip(np.round(small * 255.0), 0, 255).astype(np.uint8)

    # -- shape masks ----------------------------------------------------------------------------
    def _layer(self):
        return Image.new("L", (self.width * self.ss, self.height * self.ss), 0)

    def _mask(self, layer):
        return np.asarray(layer, np.float32) / 255.0

    def draw(self, function):
        """Mask of whatever function(draw, scale) draws in white on a black layer; scale turns
        output pixels into layer pixels."""
        layer = self._layer()
        function(ImageDraw.Draw(layer), self.ss)
        return self._mask(layer)

    def polygon(self, points):
        s = self.ss
        return self.draw(lambda d, _: d.polygon([(x * s, y * s) for x, y in points], fill=255))

    def ellipse(self, box):
        s = self.ss
        return self.draw(lambda d, _: d.ellipse([v * s for v in box], fill=255))

    def rectangle(self, box):
        x0, y0, x1, y1 = box
        return (self.coverage_x(x0, x1) * self.coverage_y(y0, y1)).astype(np.float32)

    def rounded_rectangle(self, box, radius):
        s = self.ss
        return self.draw(lambda d, _: d.rounded_rectangle([v * s for v in box], radius * s,
                                                          fill=255))

    def polyline(self, points, width, closed=False):
        s = self.ss
        pts = [(x * s, y * s) for x, y in points]
        if closed:
            pts.append(pts[0])

        def draw(d, _):
            d.line(pts, fill=255, width=max(1, int(round(width * s))), joint="curve")
        return self.draw(draw)

    def coverage_x(self, x0, x1):
        return ((self.x >= x0) & (self.x < x1)).astype(np.float32)

    def coverage_y(self, y0, y1):
        return ((self.y >= y0) & (self.y < y1)).astype(np.float32)

    def text(self, text, font_name, size_px, position, anchor="mm", spacing=0.0, stretch=1.0):
        """Mask of text in a font at size_px (the font's em in output pixels) placed at position
        by a PIL anchor; spacing adds output pixels between letters; stretch widens (>1) or
        narrows (<1) the lettering about the anchor point."""
        s = self.ss
        face = font(font_name, size_px * s)
        layer = self._layer()
        draw = ImageDraw.Draw(layer)
        if spacing == 0.0 and stretch == 1.0:
            draw.text((position[0] * s, position[1] * s), text, fill=255, font=face, anchor=anchor)
            return self._mask(layer)
        # Letter by letter on a wide strip, then scaled into place.
        advances = [face.getlength(ch) for ch in text]
        total = sum(advances) + spacing * s * (len(text) - 1)
        ascent, descent = face.getmetrics()
        strip = Image.new("L", (int(math.ceil(total)) + 4, ascent + descent), 0)
        pen = ImageDraw.Draw(strip)
        x = 0.0
        for ch, advance in zip(text, advances):
            pen.text((x, ascent), ch, fill=255, font=face, anchor="ls")
            x += advance + spacing * s
        width = max(1, int(round(strip.width * stretch)))
        strip = strip.resize((width, strip.height), Image.Resampling.LANCZOS)
        left = {"l": 0.0, "m": 0.5, "r": 1.0}[anchor[0]] * (total * stretch)
        vertical = {"a": 0, "m": None, "s": ascent, "d": ascent + descent}[anchor[1]]
        if vertical is None:   # middle of the capitals
            box = face.getbbox("H", anchor="ls")
            vertical = ascent + (box[1] + box[3]) / 2.0
        layer.paste(strip, (int(round(position[0] * s - left)),
                            int(round(position[1] * s - vertical))))
        return self._mask(layer)


# -- mask arithmetic ------------------------------------------------------------------------------
def grow(canvas, mask, radius_px):
    """The mask widened by radius_px output pixels (an outline is grow(mask) - mask)."""
    size = int(round(radius_px * canvas.ss)) * 2 + 1
    layer = Image.fromarray(np.clip(mask * 255.0, 0, 255).astype(np.uint8), "L")
    return np.asarray(layer.filter(ImageFilter.MaxFilter(size)), np.float32) / 255.0


def smoothstep(edge0, edge1, value):
    t = np.clip((value - edge0) / (edge1 - edge0), 0.0, 1.0)
    return t * t * (3.0 - 2.0 * t)


# -- line work ------------------------------------------------------------------------------------
def contour_lines(canvas, field, spacing, width, slope=1.0):
    """Anti-aliased lines along the contours field = k x spacing. field grows by about `slope`
    per output pixel across the lines; width is the line width in output pixels (an array varies
    it from place to place, which is how engraved shading is drawn)."""
    distance = np.abs(field - spacing * np.round(field / spacing)) / slope
    return np.clip((np.asarray(width) * 0.5 - distance) / canvas.pixel + 0.5, 0.0, 1.0)


def wave_band(canvas, centre_y, amplitude, wavelength, phases, width, x_shift=0.0, drift=0.0):
    """Interlaced sine lines about a horizontal centre line: one line per phase (radians)."""
    x = canvas.x + x_shift
    best = np.full(canvas.x.shape, 1e9, np.float32)
    k = 2.0 * math.pi / wavelength
    for phase in phases:
        curve = centre_y + amplitude * np.sin(k * x + phase) + drift * np.sin(0.37 * k * x)
        slope = np.sqrt(1.0 + (amplitude * k * np.cos(k * x + phase)) ** 2)
        best = np.minimum(best, np.abs(canvas.y - curve) / slope)
    return np.clip((width * 0.5 - best) / canvas.pixel + 0.5, 0.0, 1.0)


def polar(canvas, cx, cy, aspect=1.0):
    """Radius and angle about (cx, cy); aspect > 1 flattens the figure vertically."""
    dx = canvas.x - cx
    dy = (canvas.y - cy) * aspect
    return np.sqrt(dx * dx + dy * dy), np.arctan2(dy, dx)


def rosette(canvas, cx, cy, radius, amplitude, petals, strands, width, aspect=1.0, twist=0.0):
    """A guilloche rosette: `strands` closed curves r = radius + amplitude sin(petals (a + p)),
    each turned by a fraction of a petal, interlacing into a net."""
    r, a = polar(canvas, cx, cy, aspect)
    best = np.full(r.shape, 1e9, np.float32)
    for n in range(strands):
        phase = 2.0 * math.pi * n / (strands * petals)
        arg = petals * (a + phase) + twist * r / max(radius, 1e-6)
        curve = radius + amplitude * np.sin(arg)
        slope = np.sqrt(1.0 + (amplitude * petals * np.cos(arg) / np.maximum(r, 0.5)) ** 2)
        best = np.minimum(best, np.abs(r - curve) / slope)
    return np.clip((width * 0.5 - best) / canvas.pixel + 0.5, 0.0, 1.0)


def rosette_disc(canvas, cx, cy, radius, rings, petals, width, aspect=1.0, strands=2):
    """A filled medallion of nested rosettes, from the centre out to radius."""
    mask = np.zeros(canvas.x.shape, np.float32)
    for ring in range(1, rings + 1):
        rr = radius * ring / (rings + 0.4)
        amp = radius / (rings + 0.4) * 0.55
        mask = np.maximum(mask, rosette(canvas, cx, cy, rr, amp, petals + ring, strands, width,
                                        aspect, twist=0.0))
    return mask


def hatch(canvas, shade, angle_deg, spacing, min_width=0.0, max_fraction=0.9, curl=None):
    """Engraved shading: parallel lines at angle_deg whose width follows shade (0 light, 1 dark);
    curl, a field added to the line coordinate, bends the lines (e.g. around a form)."""
    t = math.radians(angle_deg)
    field = canvas.x * math.sin(t) - canvas.y * math.cos(t)
    if curl is not None:
        field = field + curl
    widths = np.clip(min_width + shade * spacing * max_fraction, 0.0, spacing)
    return contour_lines(canvas, field, spacing, widths) * (shade > 0.02)


def microlines(canvas, spacing, width, angle_deg=0.0, wobble=0.0, wavelength=40.0):
    """Fine background line screen, optionally wavy."""
    t = math.radians(angle_deg)
    u = canvas.x * math.cos(t) + canvas.y * math.sin(t)
    field = canvas.x * math.sin(t) - canvas.y * math.cos(t)
    if wobble:
        field = field + wobble * np.sin(2.0 * math.pi * u / wavelength)
    return contour_lines(canvas, field, spacing, width)


def border_frame(canvas, inset, thickness, spacing, width, phases=3, corner=6.0):
    """A guilloche frame: wave lines running round a rectangle inset from the edges."""
    x0, y0 = inset, inset
    x1, y1 = canvas.width - inset, canvas.height - inset
    # Distance along the frame (for the waves) and across it (for the band).
    left = canvas.x - x0
    right = x1 - canvas.x
    top = canvas.y - y0
    bottom = y1 - canvas.y
    across = np.minimum(np.minimum(left, right), np.minimum(top, bottom))
    along = np.where(np.minimum(top, bottom) <= np.minimum(left, right), canvas.x, canvas.y)
    inside = (across >= 0) & (across <= thickness)
    mid = thickness * 0.5
    best = np.full(across.shape, 1e9, np.float32)
    k = 2.0 * math.pi / spacing
    for n in range(phases):
        curve = mid + mid * 0.8 * np.sin(k * along + 2.0 * math.pi * n / phases)
        best = np.minimum(best, np.abs(across - curve))
    lines = np.clip((width * 0.5 - best) / canvas.pixel + 0.5, 0.0, 1.0)
    return lines * inside, inside.astype(np.float32)


def stars_ring(canvas, cx, cy, radius, count, star_radius):
    """count five-pointed stars evenly on a circle, the first at the top."""
    points_all = []
    for i in range(count):
        a = -math.pi / 2 + 2.0 * math.pi * i / count
        points_all.append(star_points(cx + radius * math.cos(a), cy + radius * math.sin(a),
                                      star_radius))
    s = canvas.ss

    def draw(d, _):
        for pts in points_all:
            d.polygon([(x * s, y * s) for x, y in pts], fill=255)
    return canvas.draw(draw)


def star_points(cx, cy, radius, points=5, inner=0.382, rotation=-math.pi / 2):
    out = []
    for i in range(points * 2):
        r = radius if i % 2 == 0 else radius * inner
        a = rotation + math.pi * i / points
        out.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return out


def lathe(canvas, cx, cy, spacing, petals, amplitude, width, aspect=1.0):
    """Concentric wavy rings about (cx, cy), the lathe-work that fills a note's background."""
    r, a = polar(canvas, cx, cy, aspect)
    field = r + amplitude * np.sin(petals * a) * np.clip(r / (8.0 * spacing), 0.0, 1.0)
    return contour_lines(canvas, field, spacing, width)
