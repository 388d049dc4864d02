#!/usr/bin/env python3
"""Draws the frame's four toolbar images (32 x 32 RGBA PNG) into resources/png/.

331 import, 332 create reference, 333 process, 334 stop. Shapes are signed
distances sampled 4 x 4 per pixel, so the edges are smooth on any bar colour.
"""
import math
import os
import struct
import zlib

SIZE = 32
SUB = 4
INK = (0x2F, 0x4A, 0x6B)
ACCENT = (0x1E, 0x88, 0xD8)
STOP = (0xC8, 0x3C, 0x32)


def box(px, py, x0, y0, x1, y1):
    return x0 <= px <= x1 and y0 <= py <= y1


def rounded_box(px, py, cx, cy, hw, hh, r):
    qx = abs(px - cx) - (hw - r)
    qy = abs(py - cy) - (hh - r)
    outside = math.hypot(max(qx, 0), max(qy, 0))
    return outside + min(max(qx, qy), 0) - r <= 0


def ring(px, py, cx, cy, r, w):
    return abs(math.hypot(px - cx, py - cy) - r) <= w / 2


def triangle(px, py, a, b, c):
    def side(p, q, r):
        return (p[0] - r[0]) * (q[1] - r[1]) - (q[0] - r[0]) * (p[1] - r[1])
    p = (px, py)
    d1, d2, d3 = side(p, a, b), side(p, b, c), side(p, c, a)
    neg = d1 < 0 or d2 < 0 or d3 < 0
    pos = d1 > 0 or d2 > 0 or d3 > 0
    return not (neg and pos)


def import_image(px, py):
    # An arrow down into an open tray.
    if box(px, py, 14, 4, 18, 17) or triangle(px, py, (9, 15), (23, 15), (16, 23)):
        return ACCENT
    if box(px, py, 5, 20, 8, 28) or box(px, py, 24, 20, 27, 28) or box(px, py, 5, 25, 27, 28):
        return INK
    return None


def reference_image(px, py):
    # A target: the mix is matched to it.
    if math.hypot(px - 16, py - 16) <= 3.5:
        return ACCENT
    if ring(px, py, 16, 16, 8.5, 2.6) or ring(px, py, 16, 16, 13.5, 2.6):
        return INK
    return None


def process_image(px, py):
    # A play triangle inside a ring: run the chain.
    if triangle(px, py, (12.5, 9.5), (12.5, 22.5), (23.5, 16)):
        return ACCENT
    if ring(px, py, 16, 16, 13.5, 2.6):
        return INK
    return None


def stop_image(px, py):
    if rounded_box(px, py, 16, 16, 10, 10, 3):
        return STOP
    return None


def render(shape):
    rows = []
    for y in range(SIZE):
        row = bytearray([0])
        for x in range(SIZE):
            hits = {}
            for sy in range(SUB):
                for sx in range(SUB):
                    colour = shape(x + (sx + 0.5) / SUB, y + (sy + 0.5) / SUB)
                    if colour is not None:
                        hits[colour] = hits.get(colour, 0) + 1
            covered = sum(hits.values())
            if covered == 0:
                row += bytes(4)
                continue
            r = sum(c[0] * n for c, n in hits.items()) // covered
            g = sum(c[1] * n for c, n in hits.items()) // covered
            b = sum(c[2] * n for c, n in hits.items()) // covered
            row += bytes([r, g, b, covered * 255 // (SUB * SUB)])
        rows.append(bytes(row))
    return b"".join(rows)


def png(pixels):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))
    header = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(pixels, 9)) + chunk(b"IEND", b""))


def main():
    folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources", "png")
    os.makedirs(folder, exist_ok=True)
    for name, shape in ((331, import_image), (332, reference_image), (333, process_image),
                        (334, stop_image)):
        with open(os.path.join(folder, f"{name}.png"), "wb") as out:
            out.write(png(render(shape)))


if __name__ == "__main__":
    main()
