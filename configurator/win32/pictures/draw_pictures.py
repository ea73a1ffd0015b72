#!/usr/bin/env python3
"""Draws the configurator's icons (32x32 and 16x16, 32-bit with alpha) as .ico
files beside this script. Plain Python, no imaging library: shapes are drawn
four times larger and averaged down, which smooths their edges."""
import math
import os
import struct

SCALE = 4


class Canvas:
    def __init__(self, size):
        self.size = size * SCALE
        self.px = [[(0, 0, 0, 0)] * self.size for _ in range(self.size)]

    def _put(self, x, y, colour):
        if 0 <= x < self.size and 0 <= y < self.size:
            self.px[y][x] = colour

    def rect(self, x0, y0, x1, y1, colour):
        """Fills [x0, x1) x [y0, y1) in 32-pixel units."""
        s = self.size / 32
        for y in range(int(y0 * s), int(y1 * s)):
            for x in range(int(x0 * s), int(x1 * s)):
                self._put(x, y, colour)

    def disc(self, cx, cy, r, colour):
        s = self.size / 32
        for y in range(int((cy - r) * s) - 1, int((cy + r) * s) + 2):
            for x in range(int((cx - r) * s) - 1, int((cx + r) * s) + 2):
                if math.hypot((x + 0.5) / s - cx, (y + 0.5) / s - cy) <= r:
                    self._put(x, y, colour)

    def line(self, x0, y0, x1, y1, width, colour):
        steps = 200
        for i in range(steps + 1):
            t = i / steps
            self.disc(x0 + (x1 - x0) * t, y0 + (y1 - y0) * t, width / 2, colour)

    def pixels(self):
        """Averaged down, rows top first, as (b, g, r, a)."""
        out = []
        n = self.size // SCALE
        for y in range(n):
            row = []
            for x in range(n):
                acc = [0, 0, 0, 0]
                for dy in range(SCALE):
                    for dx in range(SCALE):
                        r, g, b, a = self.px[y * SCALE + dy][x * SCALE + dx]
                        acc[0] += r * a
                        acc[1] += g * a
                        acc[2] += b * a
                        acc[3] += a
                alpha = acc[3] / (SCALE * SCALE)
                if acc[3]:
                    row.append((round(acc[2] / acc[3]), round(acc[1] / acc[3]), round(acc[0] / acc[3]), round(alpha)))
                else:
                    row.append((0, 0, 0, 0))
            out.append(row)
        return out


DARK = (52, 58, 70, 255)
GREY = (150, 156, 168, 255)
LIGHT = (226, 230, 236, 255)
RED = (214, 48, 49, 255)
BLUE = (40, 110, 200, 255)
GREEN = (46, 160, 90, 255)
YELLOW = (240, 190, 40, 255)


def joystick(c, ball=RED):
    c.rect(5, 24, 27, 30, DARK)
    c.disc(5, 27, 3, DARK)
    c.disc(27, 27, 3, DARK)
    c.line(16, 25, 16, 11, 3, GREY)
    c.disc(16, 9, 6, ball)
    c.disc(14, 7, 1.6, (255, 170, 170, 255))
    c.disc(24, 21, 2, YELLOW)


def program(c):
    c.rect(2, 4, 30, 30, BLUE)
    c.rect(4, 9, 28, 28, LIGHT)
    c.rect(4, 5, 12, 9, LIGHT)
    c.line(16, 24, 16, 15, 2.5, DARK)
    c.disc(16, 13, 4.5, RED)
    c.rect(9, 23, 23, 27, DARK)


def configurations(c):
    for i, colour in enumerate((BLUE, GREEN, YELLOW)):
        y = 5 + i * 9
        c.rect(4, y, 28, y + 7, LIGHT)
        c.rect(4, y, 9, y + 7, colour)
        c.rect(11, y + 3, 25, y + 4, GREY)


def mapper(c):
    c.disc(16, 16, 13, LIGHT)
    c.disc(16, 16, 3, DARK)
    for k in range(8):
        a = k * math.pi / 4
        x, y = 16 + 10 * math.cos(a), 16 + 10 * math.sin(a)
        c.line(16 + 4 * math.cos(a), 16 + 4 * math.sin(a), x, y, 2, BLUE if k % 2 == 0 else GREEN)
        c.disc(x, y, 2, BLUE if k % 2 == 0 else GREEN)


def keyboard(c):
    c.rect(2, 9, 30, 25, DARK)
    for row in range(3):
        for col in range(6):
            c.rect(4 + col * 4.3, 11 + row * 4, 7.5 + col * 4.3, 14 + row * 4, LIGHT)
    c.rect(8, 23, 24, 24.5, LIGHT)


def new_action(c):
    c.rect(7, 3, 25, 29, LIGHT)
    c.rect(7, 3, 25, 5, GREY)
    c.line(16, 9, 16, 23, 5, GREEN)
    c.line(9, 16, 23, 16, 5, GREEN)


def delete_action(c):
    c.line(8, 8, 24, 24, 5, RED)
    c.line(24, 8, 8, 24, 5, RED)


def arrow(c, up):
    """A blue arrow head over its shaft; upside down when not `up`."""
    def y(v):
        return v if up else 32 - v
    for i in range(60):
        t = i / 60
        row = 4 + 14 * t
        half = 13 * t
        a, b = sorted((y(row), y(row + 14 / 60)))
        c.rect(16 - half, a, 16 + half, b + 0.3, BLUE)
    a, b = sorted((y(18), y(29)))
    c.rect(11, a, 21, b, BLUE)


def up_arrow(c):
    arrow(c, True)


def down_arrow(c):
    arrow(c, False)


ICONS = {
    "quillon_config.ico": program,
    "configurations.ico": configurations,
    "mapper.ico": mapper,
    "keyboard.ico": keyboard,
    "joystick.ico": joystick,
    "new_action.ico": new_action,
    "delete_action.ico": delete_action,
    "up.ico": up_arrow,
    "down.ico": down_arrow,
}


def image_bytes(draw, size):
    c = Canvas(size)
    draw(c)
    rows = c.pixels()
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    data = b"".join(bytes(p) for row in reversed(rows) for px in row for p in [px])
    mask_row = ((size + 31) // 32) * 4
    return header + data + b"\0" * (mask_row * size)


def write_icon(path, draw):
    images = [image_bytes(draw, s) for s in (32, 16)]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, img in zip((32, 16), images):
        out += struct.pack("<BBBBHHII", s, s, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    with open(path, "wb") as f:
        f.write(out + b"".join(images))


if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    for name, draw in ICONS.items():
        write_icon(os.path.join(here, name), draw)
