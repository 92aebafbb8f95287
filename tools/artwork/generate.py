#!/usr/bin/python3
"""Draws every picture of the program and writes them: the 32 bitmap resources (RLE8, 256-colour
palettes) under resources/bitmaps/, the icon resources/skyfold.ico and the contact sheet
docs/artwork.png. Deterministic: running it again rewrites identical bytes.

Run from anywhere: tools/artwork/generate.py  (Debian's python3 with python3-pil, python3-numpy).
"""
import os
import sys

import numpy as np
from PIL import Image, ImageDraw

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import banner                      # noqa: E402
import dialog_face                 # noqa: E402
import dib                         # noqa: E402
import icon                        # noqa: E402
import notes_american              # noqa: E402
import notes_australian            # noqa: E402
import notes_euro                  # noqa: E402
from engraving import font         # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
BITMAP_DIR = os.path.join(ROOT, "resources", "bitmaps")
ICON_PATH = os.path.join(ROOT, "resources", "skyfold.ico")
SHEET_PATH = os.path.join(ROOT, "docs", "artwork.png")

BANNER_ID = 101
DIALOG_FACE_ID = 132
NOTE_SIZE = (256, 128)

# Note sides by resource id: (file name, currency module, denomination, side, caption).
NOTE_SIDES = {
    102: ("aud-50-serial", notes_australian, 50, "front", "A$50 serial-number side"),
    103: ("aud-50-words", notes_australian, 50, "back", "A$50 value-in-words side"),
    104: ("aud-5-serial", notes_australian, 5, "front", "A$5 serial-number side"),
    105: ("aud-5-words", notes_australian, 5, "back", "A$5 value-in-words side"),
    106: ("aud-10-serial", notes_australian, 10, "front", "A$10 serial-number side"),
    107: ("aud-10-words", notes_australian, 10, "back", "A$10 value-in-words side"),
    108: ("aud-20-serial", notes_australian, 20, "front", "A$20 serial-number side"),
    109: ("aud-20-words", notes_australian, 20, "back", "A$20 value-in-words side"),
    110: ("usd-5-front", notes_american, 5, "front", "US$5 front, portrait"),
    111: ("usd-5-back", notes_american, 5, "back", "US$5 back, building"),
    112: ("usd-10-front", notes_american, 10, "front", "US$10 front, portrait"),
    113: ("usd-10-back", notes_american, 10, "back", "US$10 back, building"),
    114: ("usd-20-front", notes_american, 20, "front", "US$20 front, portrait"),
    115: ("usd-20-back", notes_american, 20, "back", "US$20 back, building"),
    116: ("usd-50-front", notes_american, 50, "front", "US$50 front, portrait"),
    117: ("usd-50-back", notes_american, 50, "back", "US$50 back, building"),
    118: ("eur-5-back", notes_euro, 5, "back", "5 euro back, bridge and map"),
    119: ("eur-5-front", notes_euro, 5, "front", "5 euro front, gateway and flag"),
    120: ("eur-10-back", notes_euro, 10, "back", "10 euro back, bridge and map"),
    121: ("eur-10-front", notes_euro, 10, "front", "10 euro front, gateway and flag"),
    122: ("eur-20-back", notes_euro, 20, "back", "20 euro back, bridge and map"),
    123: ("eur-20-front", notes_euro, 20, "front", "20 euro front, gateway and flag"),
    124: ("eur-50-back", notes_euro, 50, "back", "50 euro back, bridge and map"),
    125: ("eur-50-front", notes_euro, 50, "front", "50 euro front, gateway and flag"),
    126: ("eur-100-back", notes_euro, 100, "back", "100 euro back, bridge and map"),
    127: ("eur-100-front", notes_euro, 100, "front", "100 euro front, gateway and flag"),
    128: ("usd-100-front", notes_american, 100, "front", "US$100 front, portrait"),
    129: ("usd-100-back", notes_american, 100, "back", "US$100 back, building"),
    130: ("aud-100-serial", notes_australian, 100, "front", "A$100 serial-number side"),
    131: ("aud-100-words", notes_australian, 100, "back", "A$100 value-in-words side"),
}
FILE_NAMES = {BANNER_ID: "banner", DIALOG_FACE_ID: "dialog-face",
              **{i: entry[0] for i, entry in NOTE_SIDES.items()}}
CAPTIONS = {BANNER_ID: "banner", DIALOG_FACE_ID: "dialog face",
            **{i: entry[4] for i, entry in NOTE_SIDES.items()}}


def bitmap_path(resource_id):
    return os.path.join(BITMAP_DIR, "%d-%s.bmp" % (resource_id, FILE_NAMES[resource_id]))


def write_if_changed(path, data):
    """Writes data unless the file already holds exactly it (keeps timestamps of unchanged files
    so builds do not redo work)."""
    if os.path.exists(path):
        with open(path, "rb") as existing:
            if existing.read() == data:
                return False
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as out:
        out.write(data)
    return True


def checked_bitmap(indices, palette, expected_size):
    """The BMP file for the indices, after reading it back to prove it decodes to them."""
    height, width = indices.shape
    if (width, height) != expected_size:
        raise ValueError("picture is %dx%d, expected %dx%d" % ((width, height) + expected_size))
    data = dib.bmp_rle8(indices, palette)
    decoded, decoded_palette = dib.read_bmp_rle8(data)
    padded = list(palette) + [(0, 0, 0)] * (dib.PALETTE_ENTRIES - len(palette))
    if not np.array_equal(decoded, indices) or decoded_palette != padded:
        raise ValueError("RLE8 round trip changed the picture")
    return data


def draw_banner():
    picture, ground = banner.draw()
    indices, palette = dib.quantise_keyed(picture, ground, banner.GROUND)
    shown = dib.indices_to_rgb(indices, palette)
    key = np.array(banner.GROUND, np.uint8)
    if not np.array_equal(shown[0, 0], key):
        raise ValueError("the banner's top-left pixel must be the key colour")
    keyed = np.all(shown == key, axis=-1)
    if not np.array_equal(keyed, ground) or keyed.all():
        raise ValueError("the key colour must cover the ground exactly, and not everything")
    return indices, palette


def contact_sheet(shown, icons):
    """Every picture at twice its size, labelled by resource id, grouped by currency."""
    scale, gap, label_h = 2, 18, 22
    cell_w, cell_h = NOTE_SIZE[0] * scale, NOTE_SIZE[1] * scale
    columns = (5, 10, 20, 50, 100)
    rows = [("Australian, serial-number side", notes_australian, "front"),
            ("Australian, value-in-words side", notes_australian, "back"),
            ("American, front (portrait)", notes_american, "front"),
            ("American, back (building)", notes_american, "back"),
            ("Euro, front (gateway and flag)", notes_euro, "front"),
            ("Euro, back (bridge and map)", notes_euro, "back")]
    face = shown[DIALOG_FACE_ID]
    face_w, face_h = face.shape[1] * scale, face.shape[0] * scale
    top_h = label_h + face_h + gap
    width = gap + len(columns) * (cell_w + gap)
    row_h = 2 * label_h + cell_h + gap
    height = gap + top_h + len(rows) * row_h
    sheet = Image.new("RGB", (width, height), (34, 36, 40))
    pen = ImageDraw.Draw(sheet)
    text_font, head_font = font("sans", 15), font("sans-bold", 17)
    light = (226, 228, 232)

    def place(resource_id, x, y):
        picture = Image.fromarray(shown[resource_id])
        big = picture.resize((picture.width * scale, picture.height * scale), Image.NEAREST)
        pen.text((x, y), "%d  %s" % (resource_id, CAPTIONS[resource_id]), fill=light,
                 font=text_font)
        sheet.paste(big, (x, y + label_h))

    place(DIALOG_FACE_ID, gap, gap)
    right = gap * 2 + face_w
    place(BANNER_ID, right, gap)
    y = gap + label_h + NOTE_SIZE[1] // 4 * scale + gap * 2
    pen.text((right, y), "icon group 100: 16, 32, 48 and 256 pixels", fill=light, font=text_font)
    x = right
    for rgba in icons:
        tile = Image.fromarray(rgba, "RGBA")
        backdrop = Image.new("RGBA", tile.size, (34, 36, 40, 255))
        backdrop.alpha_composite(tile)
        sheet.paste(backdrop.convert("RGB"), (x, y + label_h))
        x += tile.width + gap
    y = gap + top_h
    by_side = {(entry[1], entry[2], entry[3]): i for i, entry in NOTE_SIDES.items()}
    for title, module, side in rows:
        pen.text((gap, y), title, fill=(250, 214, 110), font=head_font)
        for n, value in enumerate(columns):
            place(by_side[(module, value, side)], gap + n * (cell_w + gap), y + label_h)
        y += row_h
    return sheet


def main():
    shown = {}
    outputs = []
    indices, palette = draw_banner()
    outputs.append((bitmap_path(BANNER_ID), checked_bitmap(indices, palette, (256, 32))))
    shown[BANNER_ID] = dib.indices_to_rgb(indices, palette)

    note_pictures = {}
    for resource_id, (_, module, value, side, _) in sorted(NOTE_SIDES.items()):
        picture = getattr(module, side)(value, resource_id)
        note_pictures[resource_id] = Image.fromarray(picture)
        indices, palette = dib.quantise(picture)
        outputs.append((bitmap_path(resource_id), checked_bitmap(indices, palette, NOTE_SIZE)))
        shown[resource_id] = dib.indices_to_rgb(indices, palette)
        print("drew %d %s" % (resource_id, FILE_NAMES[resource_id]), flush=True)

    face = dialog_face.draw(note_pictures)
    indices, palette = dib.quantise(face)
    outputs.append((bitmap_path(DIALOG_FACE_ID),
                    checked_bitmap(indices, palette, (dialog_face.WIDTH, dialog_face.HEIGHT))))
    shown[DIALOG_FACE_ID] = dib.indices_to_rgb(indices, palette)

    icons = [icon.draw(size) for size in icon.SIZES]
    outputs.append((ICON_PATH, dib.icon_file(icons)))

    sheet = contact_sheet(shown, icons)
    from io import BytesIO
    buffer = BytesIO()
    sheet.save(buffer, "PNG", optimize=True)
    outputs.append((SHEET_PATH, buffer.getvalue()))

    expected = {path for path, _ in outputs}
    for name in sorted(os.listdir(BITMAP_DIR)) if os.path.isdir(BITMAP_DIR) else []:
        path = os.path.join(BITMAP_DIR, name)
        if path not in expected and name.endswith(".bmp"):
            os.remove(path)   # a picture renamed or dropped
            print("removed", os.path.relpath(path, ROOT))
    for path, data in outputs:
        state = "wrote" if write_if_changed(path, data) else "unchanged"
        print("%-9s %s (%d bytes)" % (state, os.path.relpath(path, ROOT), len(data)))


if __name__ == "__main__":
    main()
