#!/usr/bin/env python3
"""Draws a 32 x 32, 16-colour icon into an .ico file: setup's receipt printer with its paper (the default),
the uninstaller's printer with a red cross over the paper, or the restart question's circular arrow."""
import struct
import sys

SIZE = 32
# Palette index: 0 transparent background, 1 outline, 2 body, 3 paper, 4 lamp, 5 cross, 6 arrow.
PALETTE = [(0, 0, 0), (40, 40, 48), (150, 156, 168), (255, 255, 255), (40, 200, 60), (210, 40, 40),
           (30, 110, 200)]
PALETTE += [(0, 0, 0)] * (16 - len(PALETTE))


def pixel(x, y):
    if 9 <= x <= 22 and 3 <= y <= 14:  # paper coming out of the top
        return 1 if x in (9, 22) or y == 3 else (1 if y % 3 == 0 and 11 <= x <= 20 else 3)
    if 4 <= x <= 27 and 13 <= y <= 27:  # body
        return 1 if x in (4, 27) or y in (13, 27) else (4 if 22 <= x <= 24 and 22 <= y <= 23 else 2)
    return 0


def uninstall_pixel(x, y):
    # A thick diagonal cross over the upper half of the printer.
    if 8 <= x <= 23 and 2 <= y <= 17 and (abs((x - 8) - (y - 2)) <= 1 or abs((x - 8) + (y - 2) - 15) <= 1):
        return 5
    return pixel(x, y)


def restart_pixel(x, y):
    # A ring with a gap at the upper right, and an arrow head at the end of the gap.
    dx, dy = x - 15.5, y - 15.5
    distance = (dx * dx + dy * dy) ** 0.5
    if 17 <= x <= 27 and 3 <= y <= 13 and x - 17 >= y - 3:
        return 6 if (x >= 23 and y <= 9) or (x - 17) - (y - 3) <= 2 and x >= 20 else 0
    if 9 <= distance <= 13 and not (x >= 16 and y <= 14 and dx > -dy * 0.2):
        return 1 if distance < 10 or distance > 12 else 6
    return 0


def main(path, kind="setup"):
    pixel_of = {"setup": pixel, "uninstall": uninstall_pixel, "restart": restart_pixel}[kind]
    rows = []
    masks = []
    for y in reversed(range(SIZE)):  # DIB rows run bottom-up
        row = bytearray()
        for x in range(0, SIZE, 2):
            row.append(pixel_of(x, y) << 4 | pixel_of(x + 1, y))
        rows.append(bytes(row))
        bits = 0
        for x in range(SIZE):
            bits = bits << 1 | (1 if pixel_of(x, y) == 0 else 0)
        masks.append(struct.pack(">I", bits))
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    image = header + palette + b"".join(rows) + b"".join(masks)
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image), 22)
    with open(path, "wb") as out:
        out.write(directory + image)


if __name__ == "__main__":
    main(*sys.argv[1:3])
