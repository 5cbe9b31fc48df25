#!/usr/bin/env python3
"""Draws the calculator's window icon: a 32 x 32 chart of red and green candles over a rising
line on a dark blue tile, written as stock.ico with a 256-colour and a 32-bit image."""
import struct
import sys

SIZE = 32
TILE = (28, 46, 92)
GRID = (52, 74, 128)
RED = (220, 40, 40)
GREEN = (30, 170, 60)
GOLD = (250, 200, 40)
WHITE = (240, 240, 240)


def draw():
    """Returns rows of (r, g, b, a) from the top down."""
    px = [[(0, 0, 0, 0)] * SIZE for _ in range(SIZE)]

    def put(x, y, c):
        if 0 <= x < SIZE and 0 <= y < SIZE:
            px[y][x] = c + (255,)

    for y in range(1, 31):
        for x in range(1, 31):
            corner = min(x, 30 - x) + min(y, 30 - y)
            if corner >= 2:
                put(x, y, TILE)
    for y in (9, 16, 23):
        for x in range(3, 29, 2):
            put(x, y, GRID)
    # Candles: (x, body top, body bottom, wick top, wick bottom, colour)
    candles = [(5, 18, 24, 15, 27, GREEN), (10, 15, 21, 12, 24, RED), (15, 16, 20, 13, 23, GREEN),
               (20, 10, 17, 7, 20, RED), (25, 6, 12, 4, 15, RED)]
    for x, top, bottom, wick_top, wick_bottom, colour in candles:
        for y in range(wick_top, wick_bottom + 1):
            put(x + 1, y, WHITE)
        for y in range(top, bottom + 1):
            for dx in range(3):
                put(x + dx, y, colour)
    # The rising average line.
    points = [(3, 25), (8, 21), (13, 20), (18, 15), (23, 11), (28, 6)]
    for (x0, y0), (x1, y1) in zip(points, points[1:]):
        for x in range(x0, x1 + 1):
            y = round(y0 + (y1 - y0) * (x - x0) / (x1 - x0))
            put(x, y, GOLD)
    return px


def mask_rows(px):
    rows = b""
    for row in reversed(px):
        bits = 0
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits |= 1 << (31 - x)
        rows += struct.pack(">I", bits)
    return rows


def header(bit_count, colours):
    return struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, bit_count, 0, 0, 0, 0, colours, 0)


def image_32(px):
    data = b"".join(bytes((b, g, r, a)) for row in reversed(px) for (r, g, b, a) in row)
    return header(32, 0) + data + mask_rows(px)


def image_8(px):
    palette = sorted({(r, g, b) for row in px for (r, g, b, a) in row if a})
    palette = [(0, 0, 0)] + [c for c in palette if c != (0, 0, 0)]
    palette += [(0, 0, 0)] * (256 - len(palette))
    index = {c: i for i, c in enumerate(palette) if i == 0 or c != (0, 0, 0)}
    pal = b"".join(bytes((b, g, r, 0)) for (r, g, b) in palette)
    data = bytes(index[(r, g, b)] if a else 0 for row in reversed(px) for (r, g, b, a) in row)
    return header(8, 256) + pal + data + mask_rows(px)


def main(path):
    px = draw()
    images = [(8, image_8(px)), (32, image_32(px))]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for bits, data in images:
        out += struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, bits, len(data), offset)
        offset += len(data)
    out += b"".join(data for _, data in images)
    with open(path, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "stock.ico")
