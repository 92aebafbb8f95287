#!/usr/bin/python3
"""Checks of the artwork's file formats: RLE8 codes for the awkward run lengths, round trips of
whole pictures, the colour-keyed palette, and the icon directory.

Run: python3 -m unittest discover -s tools/artwork  (or run this file).
"""
import os
import struct
import sys
import unittest

import numpy as np

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import dib  # noqa: E402


def row_codes(values):
    """The RLE8 codes of a one-row picture, without its end-of-bitmap code."""
    data = dib.encode_rle8(np.array([values], np.uint8))
    assert data[-2:] == b"\x00\x01"
    return data[:-2]


class Rle8Codes(unittest.TestCase):
    def test_runs_and_absolute_runs_use_the_right_escapes(self):
        cases = [
            ([7, 7, 7, 7], b"\x04\x07"),                         # encoded run
            ([1, 2, 3], b"\x00\x03\x01\x02\x03\x00"),            # odd absolute run, padded
            ([1, 2, 3, 4], b"\x00\x04\x01\x02\x03\x04"),         # even absolute run, no pad
            ([1, 2], b"\x01\x01\x01\x02"),                       # too short for absolute
            ([9], b"\x01\x09"),
            ([0, 1, 5, 5, 5], b"\x01\x00\x01\x01\x03\x05"),      # a literal pair before a run
        ]
        for values, expected in cases:
            with self.subTest(values=values):
                self.assertEqual(row_codes(values), expected)

    def test_long_runs_split_at_255_and_absolute_runs_at_254(self):
        self.assertEqual(row_codes([3] * 300), b"\xff\x03\x2d\x03")
        literal = (list(range(256)) * 2)[:300]
        codes = row_codes(literal)
        self.assertEqual(codes[:2], b"\x00\xfe")
        self.assertEqual(codes[2 + 254:4 + 254], b"\x00\x2e")
        decoded = dib.decode_rle8(codes + b"\x00\x01", 300, 1)
        self.assertEqual(decoded.tolist(), [literal])

    def test_rows_are_stored_bottom_up_with_line_ends(self):
        picture = np.array([[1, 1, 1], [2, 2, 2]], np.uint8)
        self.assertEqual(dib.encode_rle8(picture), b"\x03\x02\x00\x00\x03\x01\x00\x01")

    def test_pictures_survive_the_round_trip(self):
        rng = np.random.RandomState(5)
        pictures = [
            rng.randint(0, 256, (13, 37)).astype(np.uint8),             # noise: all literal
            np.repeat(rng.randint(0, 4, (9, 40)), 3, axis=1).astype(np.uint8),  # short runs
            np.zeros((4, 600), np.uint8),                                # runs past 255
        ]
        for picture in pictures:
            with self.subTest(shape=picture.shape):
                data = dib.bmp_rle8(picture, [(i, i, i) for i in range(256)])
                decoded, palette = dib.read_bmp_rle8(data)
                np.testing.assert_array_equal(decoded, picture)
                self.assertEqual(len(palette), 256)

    def test_damaged_data_is_rejected(self):
        good = dib.encode_rle8(np.full((2, 8), 4, np.uint8))
        for damaged in (good[:-2], good[:-2] + b"\x00\x00", b"\x09\x04" + good):
            with self.subTest(damaged=damaged):
                with self.assertRaises(ValueError):
                    dib.decode_rle8(damaged, 8, 2)


class Headers(unittest.TestCase):
    def test_bitmap_header_declares_rle8_and_a_full_palette(self):
        data = dib.bmp_rle8(np.zeros((3, 5), np.uint8), [(0, 0, 51)])
        (size, width, height, planes, bits, compression, image_bytes, _, _, used,
         _) = struct.unpack_from("<IiiHHIIiiII", data, 14)
        offset = struct.unpack_from("<I", data, 10)[0]
        self.assertEqual((size, width, height, planes, bits, compression, used),
                         (40, 5, 3, 1, 8, 1, 256))
        self.assertEqual(offset, 14 + 40 + 1024)
        self.assertEqual(image_bytes, len(data) - offset)
        self.assertEqual(data[offset - 1024:offset - 1020], b"\x33\x00\x00\x00")  # BGR0

    def test_icon_directory_lists_every_size_and_stores_256_as_png(self):
        images = [np.zeros((s, s, 4), np.uint8) for s in (16, 32, 48, 256)]
        data = dib.icon_file(images)
        reserved, kind, count = struct.unpack_from("<HHH", data, 0)
        self.assertEqual((reserved, kind, count), (0, 1, 4))
        sides = []
        for i in range(count):
            w, h, _, _, planes, bits, size, offset = struct.unpack_from("<BBBBHHII", data,
                                                                        6 + 16 * i)
            sides.append(w or 256)
            self.assertEqual((w, planes, bits), (h, 1, 32))
            blob = data[offset:offset + size]
            self.assertEqual(len(blob), size)
            self.assertEqual(blob[:8] == b"\x89PNG\r\n\x1a\n", (w or 256) == 256)
        self.assertEqual(sides, [16, 32, 48, 256])


class KeyedPalette(unittest.TestCase):
    def test_only_the_ground_takes_the_key_colour(self):
        key = (0, 0, 51)
        picture = np.zeros((4, 4, 3), np.uint8)
        picture[:] = key
        ground = np.ones((4, 4), bool)
        picture[1, 1] = key           # figure pixel that happens to be the key colour
        picture[2, 2] = (0, 0, 52)
        picture[3, 3] = (200, 150, 40)
        for y, x in ((1, 1), (2, 2), (3, 3)):
            ground[y, x] = False
        indices, palette = dib.quantise_keyed(picture, ground, key)
        shown = dib.indices_to_rgb(indices, palette)
        keyed = np.all(shown == np.array(key, np.uint8), axis=-1)
        np.testing.assert_array_equal(keyed, ground)
        self.assertEqual(palette[0], key)
        self.assertEqual(tuple(shown[3, 3]), (200, 150, 40))


if __name__ == "__main__":
    unittest.main()
