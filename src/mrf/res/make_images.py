#!/usr/bin/env python3
"""Draws the program icon and the tool-bar image strip (run by hand; the outputs are committed)."""
import struct

MAGENTA = (255, 0, 255)


def canvas(w, h, fill):
    return [[fill for _ in range(w)] for _ in range(h)]


def rect(img, x0, y0, x1, y1, c):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            img[y][x] = c


def tri(img, x0, y0, h, c):  # a right-pointing triangle
    for y in range(h):
        half = min(y, h - 1 - y)
        for x in range(half + 1):
            img[y0 + y][x0 + x] = c


def shield(size, body, rim):
    img = canvas(size, size, None)
    s = size / 32.0
    for y in range(size):
        for x in range(size):
            fx, fy = x / s, y / s
            top = 3 <= fy <= 16 and 5 <= fx <= 27
            lower = 16 < fy <= 29 and abs(fx - 16) <= 11 * (29 - fy) / 13
            if top or lower:
                edge = fx < 7 or fx > 25 or fy < 5 or (fy > 16 and abs(fx - 16) > 11 * (29 - fy) / 13 - 2)
                img[y][x] = rim if edge else body
    # a padlock on the shield
    for y in range(size):
        for x in range(size):
            fx, fy = x / s, y / s
            if 11 <= fx <= 21 and 14 <= fy <= 22:
                img[y][x] = (250, 210, 60)
            elif 13 <= fx <= 19 and 9 <= fy < 14 and not (15 <= fx <= 17 and fy >= 11):
                img[y][x] = (250, 210, 60)
    return img


def ico(images):
    header = struct.pack('<HHH', 0, 1, len(images))
    entries, blobs = b'', b''
    offset = 6 + 16 * len(images)
    for img in images:
        n = len(img)
        xor = b''
        for row in reversed(img):
            for p in row:
                xor += bytes((0, 0, 0, 0)) if p is None else bytes((p[2], p[1], p[0], 255))
        mask_row = ((n + 31) // 32) * 4
        andmask = b''
        for row in reversed(img):
            bits = 0
            out = bytearray(mask_row)
            for x, p in enumerate(row):
                if p is None:
                    out[x // 8] |= 0x80 >> (x % 8)
            andmask += bytes(out)
        bih = struct.pack('<IiiHHIIiiII', 40, n, n * 2, 1, 32, 0, len(xor) + len(andmask), 0, 0, 0, 0)
        blob = bih + xor + andmask
        entries += struct.pack('<BBBBHHII', n, n, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
        blobs += blob
    return header + entries + blobs


def bmp(img):
    h, w = len(img), len(img[0])
    row_size = (w * 3 + 3) & ~3
    data = b''
    for row in reversed(img):
        line = b''.join(bytes((p[2], p[1], p[0])) for p in row)
        data += line + b'\0' * (row_size - len(line))
    fh = struct.pack('<2sIHHI', b'BM', 54 + len(data), 0, 0, 54)
    ih = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    return fh + ih + data


def glyphs():
    g = []
    # 0 Save: a disk
    i = canvas(16, 16, MAGENTA); rect(i, 1, 1, 14, 14, (40, 70, 160)); rect(i, 4, 1, 11, 6, (230, 230, 230))
    rect(i, 4, 9, 11, 14, (200, 200, 210)); g.append(i)
    # 1 Add: a green plus
    i = canvas(16, 16, MAGENTA); rect(i, 6, 2, 9, 13, (30, 150, 40)); rect(i, 2, 6, 13, 9, (30, 150, 40)); g.append(i)
    # 2 Delete: a red cross
    i = canvas(16, 16, MAGENTA)
    for k in range(2, 14):
        rect(i, k - 1, k, k + 1, k, (200, 30, 30)); rect(i, 14 - k, k, 16 - k, k, (200, 30, 30))
    g.append(i)
    # 3 Password: a key
    i = canvas(16, 16, MAGENTA); rect(i, 1, 5, 6, 10, (210, 170, 20)); rect(i, 3, 7, 4, 8, MAGENTA)
    rect(i, 6, 7, 14, 8, (210, 170, 20)); rect(i, 11, 9, 12, 11, (210, 170, 20)); rect(i, 13, 9, 14, 12, (210, 170, 20))
    g.append(i)
    # 4 Start: a green triangle
    i = canvas(16, 16, MAGENTA); tri(i, 4, 2, 12, (30, 160, 40)); g.append(i)
    # 5 Suspend: two bars
    i = canvas(16, 16, MAGENTA); rect(i, 3, 2, 6, 13, (220, 150, 20)); rect(i, 9, 2, 12, 13, (220, 150, 20)); g.append(i)
    strip = canvas(16 * len(g), 16, MAGENTA)
    for n, im in enumerate(g):
        for y in range(16):
            for x in range(16):
                strip[y][16 * n + x] = im[y][x]
    return strip


if __name__ == '__main__':
    body, rim = (40, 90, 170), (20, 40, 90)
    with open('mrf.ico', 'wb') as f:
        f.write(ico([shield(32, body, rim), shield(16, body, rim)]))
    with open('toolbar.bmp', 'wb') as f:
        f.write(bmp(glyphs()))
