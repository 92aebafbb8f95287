"""File formats of the artwork: 8-bit palette bitmaps with RLE8 compression (and their decoder,
used to check every file written), palette reduction to 256 colours, and multi-size icons.

Everything here is byte-exact and deterministic: the same pixels always give the same file.
"""
import io
import struct

import numpy as np
from PIL import Image

PALETTE_ENTRIES = 256
FILE_HEADER_BYTES = 14
INFO_HEADER_BYTES = 40
BI_RLE8 = 1
PELS_PER_METRE_96_DPI = 3780
MAX_RUN_PIXELS = 255        # one count byte
MIN_ABSOLUTE_PIXELS = 3     # absolute runs of 1 or 2 would read as escape codes
MAX_ABSOLUTE_PIXELS = 254   # 255 is legal, but Wine's GDI misreads the code after such a run

ESCAPE = 0
END_OF_LINE = 0
END_OF_BITMAP = 1
DELTA = 2


def _encode_row(row):
    """RLE8 codes for one row of palette indices (a bytes object), without the row's end code."""
    out = bytearray()
    width = len(row)
    i = 0
    literal = bytearray()

    def flush_literal():
        if len(literal) >= MIN_ABSOLUTE_PIXELS:
            out.extend((ESCAPE, len(literal)))
            out.extend(literal)
            if len(literal) & 1:
                out.append(0)   # absolute runs end on a 16-bit boundary
        else:
            for value in literal:
                out.extend((1, value))
        literal.clear()

    while i < width:
        run = 1
        while i + run < width and run < MAX_RUN_PIXELS and row[i + run] == row[i]:
            run += 1
        if run >= MIN_ABSOLUTE_PIXELS:
            flush_literal()
            out.extend((run, row[i]))
            i += run
        else:
            if len(literal) + run > MAX_ABSOLUTE_PIXELS:
                flush_literal()
            literal.extend(row[i:i + run])
            i += run
    flush_literal()
    return out


def encode_rle8(indices):
    """RLE8 pixel data of a (height, width) uint8 array given top row first; the file stores the
    rows bottom-up, each ended by an end-of-line code, the last by the end-of-bitmap code."""
    height = indices.shape[0]
    out = bytearray()
    for n, y in enumerate(range(height - 1, -1, -1)):
        out.extend(_encode_row(indices[y].tobytes()))
        out.extend((ESCAPE, END_OF_BITMAP if n == height - 1 else END_OF_LINE))
    return bytes(out)


def decode_rle8(data, width, height):
    """The (height, width) index array, top row first, that RLE8 data describes. Raises
    ValueError on anything a careful reader would reject: overruns, truncation, a missing end."""
    image = np.zeros((height, width), np.uint8)
    x, row, at = 0, 0, 0     # row counts from the bottom
    while True:
        if at + 2 > len(data):
            raise ValueError("RLE8 data ends without an end-of-bitmap code")
        count, value = data[at], data[at + 1]
        at += 2
        if count:
            if row >= height or x + count > width:
                raise ValueError("encoded run leaves the bitmap at row %d" % row)
            image[height - 1 - row, x:x + count] = value
            x += count
        elif value == END_OF_LINE:
            x, row = 0, row + 1
        elif value == END_OF_BITMAP:
            return image
        elif value == DELTA:
            if at + 2 > len(data):
                raise ValueError("truncated delta")
            x, row, at = x + data[at], row + data[at + 1], at + 2
        else:
            if row >= height or x + value > width or at + value > len(data):
                raise ValueError("absolute run leaves the bitmap at row %d" % row)
            image[height - 1 - row, x:x + value] = np.frombuffer(data[at:at + value], np.uint8)
            x += value
            at += value + (value & 1)


def bmp_rle8(indices, palette):
    """A Windows BMP file (BITMAPINFOHEADER, 8 bits per pixel, BI_RLE8, 256 palette entries).
    indices: (height, width) uint8, top row first; palette: up to 256 (r, g, b) tuples."""
    height, width = indices.shape
    if len(palette) > PALETTE_ENTRIES:
        raise ValueError("a palette of %d colours does not fit 8 bits" % len(palette))
    entries = list(palette) + [(0, 0, 0)] * (PALETTE_ENTRIES - len(palette))
    colour_table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in entries)
    pixels = encode_rle8(indices)
    offset = FILE_HEADER_BYTES + INFO_HEADER_BYTES + len(colour_table)
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info_header = struct.pack("<IiiHHIIiiII", INFO_HEADER_BYTES, width, height, 1, 8, BI_RLE8,
                              len(pixels), PELS_PER_METRE_96_DPI, PELS_PER_METRE_96_DPI,
                              PALETTE_ENTRIES, 0)
    return file_header + info_header + colour_table + pixels


def read_bmp_rle8(data):
    """(indices, palette) of a file written by bmp_rle8; checks the headers on the way."""
    kind, _, _, _, offset = struct.unpack_from("<2sIHHI", data, 0)
    (size, width, height, planes, bits, compression, image_bytes, _, _, used,
     _) = struct.unpack_from("<IiiHHIIiiII", data, FILE_HEADER_BYTES)
    if (kind, size, planes, bits, compression, used) != (b"BM", INFO_HEADER_BYTES, 1, 8, BI_RLE8,
                                                         PALETTE_ENTRIES):
        raise ValueError("not an 8-bit RLE8 bitmap with a full palette")
    table = FILE_HEADER_BYTES + INFO_HEADER_BYTES
    palette = [tuple(data[table + 4 * i + 2 - c] for c in range(3)) for i in range(used)]
    pixels = data[offset:]
    if len(pixels) != image_bytes:
        raise ValueError("image size field disagrees with the data")
    return decode_rle8(pixels, width, height), palette


def quantise(rgb, colours=PALETTE_ENTRIES):
    """(indices, palette) for an (h, w, 3) uint8 picture: median-cut colours refined by k-means,
    no dithering (dither noise crawls when the picture moves)."""
    image = Image.fromarray(rgb, "RGB")
    reduced = image.quantize(colors=colours, method=Image.Quantize.MEDIANCUT, kmeans=2,
                             dither=Image.Dither.NONE)
    flat = reduced.getpalette()[:3 * colours]
    palette = [tuple(flat[3 * i:3 * i + 3]) for i in range(len(flat) // 3)]
    return np.asarray(reduced, np.uint8).copy(), palette


def quantise_keyed(rgb, ground_mask, ground_colour):
    """Like quantise, but the ground (mask true) becomes index 0 of exactly ground_colour and no
    other pixel gets that colour, so a colour key on it removes the ground and nothing else."""
    indices = np.zeros(ground_mask.shape, np.uint8)
    figure = rgb[~ground_mask]
    if len(figure) == 0:
        return indices, [tuple(ground_colour)]
    strip = figure.reshape(1, -1, 3)
    figure_indices, figure_palette = quantise(strip, PALETTE_ENTRIES - 1)
    palette = [tuple(ground_colour)]
    for colour in figure_palette:
        if tuple(colour) == tuple(ground_colour):   # step off the key by one level of blue
            colour = (colour[0], colour[1], colour[2] + (1 if colour[2] < 255 else -1))
        palette.append(tuple(colour))
    indices[~ground_mask] = figure_indices.reshape(-1) + 1
    return indices, palette


def indices_to_rgb(indices, palette):
    table = np.zeros((PALETTE_ENTRIES, 3), np.uint8)
    table[:len(palette)] = np.array(palette, np.uint8)
    return table[indices]


def _icon_dib(rgba):
    """One icon image as a 32-bit DIB: BGRA rows bottom-up, then an AND mask set where the
    picture is fully transparent (for readers that ignore the alpha channel)."""
    size = rgba.shape[0]
    header = struct.pack("<IiiHHIIiiII", INFO_HEADER_BYTES, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    bgra = rgba[::-1][:, :, [2, 1, 0, 3]]
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in rgba[::-1]:
        bits = np.packbits(row[:, 3] == 0).tobytes()
        mask.extend(bits + b"\0" * (mask_stride - len(bits)))
    return header + bgra.tobytes() + bytes(mask)


def icon_file(images, png_from=256):
    """An .ico holding the square RGBA images; sizes of png_from and above are stored as PNG."""
    blobs = []
    for rgba in images:
        size = rgba.shape[0]
        if size >= png_from:
            buffer = io.BytesIO()
            Image.fromarray(rgba, "RGBA").save(buffer, "PNG", optimize=True)
            blobs.append((size, buffer.getvalue()))
        else:
            blobs.append((size, _icon_dib(rgba)))
    out = bytearray(struct.pack("<HHH", 0, 1, len(blobs)))
    offset = 6 + 16 * len(blobs)
    for size, blob in blobs:
        side = 0 if size >= 256 else size   # 0 stands for 256
        out.extend(struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(blob), offset))
        offset += len(blob)
    for _, blob in blobs:
        out.extend(blob)
    return bytes(out)
