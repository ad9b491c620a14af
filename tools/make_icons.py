#!/usr/bin/env python3
"""Writes the program's icons from the drawings below (Python 3 standard library only).

    app/res/Ambervale.ico  the program icon: an amber printer with a printed page;
                                  32 x 32 with 24-bit colour, 48, 128 and 256 with 32-bit colour
    tray/res/TrayC.ico            the notification-area icon: the blue 'C' (C for Corvatek) outlined in black
                                  on pale cyan, inside a black border; 24-bit, fully opaque, at every size the
                                  notification area uses (16 x 16 at 100% DPI, 20, 24, 28, 32, 36, 40 and 48)
    tray/res/TrayAttention.ico    the same with a yellow triangle and a black '!' at its lower right: the
                                  printer needs attention
    tray/res/TrayPersonNow.ico    the same with a red disc and a white cross: the printer needs a person now

The badges differ in shape and in lightness, not only in colour, so the three stay apart in a high-contrast theme
and to a user who does not tell red from yellow.

Run from anywhere: python3 tools/make_icons.py  (the output is the same on every run)
"""
import struct
import sys
import zlib
from pathlib import Path

REPO = Path(__file__).resolve().parent.parent

# ---------------------------------------------------------------------------------------------
# The tray icon, pixel for pixel: '#' black, 'b' blue, '.' pale cyan.

TRAY_PIXELS = [
    "################",
    "#..............#",
    "#....######....#",
    "#...#bbbbbb#...#",
    "#..#bbbbbbbb#..#",
    "#.#bbb####bbb#.#",
    "#.#bb#....####.#",
    "#.#bb#.........#",
    "#.#bb#.........#",
    "#.#bb#....####.#",
    "#.#bbb####bbb#.#",
    "#..#bbbbbbbb#..#",
    "#...#bbbbbb#...#",
    "#....######....#",
    "#..............#",
    "################",
]
TRAY_COLOURS = {"#": (0, 0, 0), "b": (7, 162, 254), ".": (177, 255, 255)}

# The badges of the 16 x 16 looks, pixel for pixel, over its lower right corner; ' ' keeps the 'C' beneath.
YELLOW = (255, 204, 0)
RED = (214, 0, 0)
WHITE = (255, 255, 255)
BADGE_COLOURS = {"#": (0, 0, 0), "y": YELLOW, "r": RED, "w": WHITE}
ATTENTION_BADGE = [
    "    #    ",
    "   #y#   ",
    "  #y#y#  ",
    "  #y#y#  ",
    " #yy#yy# ",
    " #yyyyy# ",
    "#yyy#yyy#",
    "#########",
]
PERSON_NOW_BADGE = [
    "  #####  ",
    " #rrrrr# ",
    "#rwrrrwr#",
    "#rrwrwrr#",
    "#rrrwrrr#",
    "#rrwrwrr#",
    "#rwrrrwr#",
    " #rrrrr# ",
    "  #####  ",
]
# Every size the notification area draws its icons at: 16 at 100% DPI, 20 at 125%, 24 at 150%, 28 at 175%, 32 at
# 200%, 36 at 225%, 40 at 250%, 48 at 300%. Windows picks the one of the system's small-icon size and need not scale.
TRAY_SIZES = (16, 20, 24, 28, 32, 36, 40, 48)

# ---------------------------------------------------------------------------------------------
# The program icon, drawn in unit coordinates (0..1, y downwards) so that every size is rendered
# from the same shapes; later shapes paint over earlier ones.

AMBER = (255, 176, 0)
AMBER_DARK = (178, 102, 0)
AMBER_LIGHT = (255, 214, 110)
PAPER = (255, 255, 255)
PAPER_EDGE = (120, 120, 120)
INK = (110, 110, 110)
SLOT = (60, 40, 16)
LAMP = (40, 200, 60)


def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x <= x1 and y0 <= y <= y1


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def outlined(x0, y0, x1, y1, r, width, fill, edge):
    return [(rounded_rect(x0, y0, x1, y1, r), edge),
            (rounded_rect(x0 + width, y0 + width, x1 - width, y1 - width, max(r - width, 0)), fill)]


PRINTER = (
    # the blank sheet waiting at the back
    outlined(0.26, 0.06, 0.74, 0.42, 0.02, 0.035, PAPER, PAPER_EDGE)
    # the body, with a lighter top band
    + outlined(0.06, 0.32, 0.94, 0.74, 0.09, 0.045, AMBER, AMBER_DARK)
    + [(rect(0.11, 0.37, 0.89, 0.43), AMBER_LIGHT)]
    # the status lamp
    + [(circle(0.81, 0.52, 0.045), LAMP)]
    # the output slot and the printed page coming out of it
    + [(rounded_rect(0.18, 0.58, 0.82, 0.66, 0.02), SLOT)]
    + outlined(0.24, 0.62, 0.76, 0.95, 0.02, 0.035, PAPER, PAPER_EDGE)
    + [(rect(0.32, y, 0.68 if i < 2 else 0.56, y + 0.04), INK) for i, y in enumerate((0.71, 0.78, 0.85))]
)


def render(shapes, size, samples=6):
    """Rows of (r, g, b, a), top row first, with the coverage of each pixel as its alpha."""
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            total = [0, 0, 0]
            covered = 0
            for sy in range(samples):
                for sx in range(samples):
                    x = (px + (sx + 0.5) / samples) / size
                    y = (py + (sy + 0.5) / samples) / size
                    colour = None
                    for inside, fill in shapes:
                        if inside(x, y):
                            colour = fill
                    if colour is not None:
                        covered += 1
                        for i in range(3):
                            total[i] += colour[i]
            if covered == 0:
                row.append((0, 0, 0, 0))
            else:
                r, g, b = (round(c / covered) for c in total)
                row.append((r, g, b, round(255 * covered / (samples * samples))))
        rows.append(row)
    return rows


# ---------------------------------------------------------------------------------------------
# The tray looks above 16 x 16, drawn from shapes in sixteenths of the icon (the 16 x 16 grid above), so that each
# size is drawn at its own pixels rather than scaled.

def u(v):
    return v / 16


def triangle(ax, ay, bx, by, cx, cy, inset=0.0):
    """Inside the triangle, at least `inset` from each edge."""
    edges = []
    for (x0, y0), (x1, y1), (ox, oy) in (((ax, ay), (bx, by), (cx, cy)), ((bx, by), (cx, cy), (ax, ay)),
                                         ((cx, cy), (ax, ay), (bx, by))):
        nx, ny = y1 - y0, x0 - x1
        length = (nx * nx + ny * ny) ** 0.5
        nx, ny = nx / length, ny / length
        if nx * (ox - x0) + ny * (oy - y0) < 0:
            nx, ny = -nx, -ny
        edges.append((x0, y0, nx, ny))
    return lambda x, y: all(nx * (x - x0) + ny * (y - y0) >= inset for x0, y0, nx, ny in edges)


def segment(x0, y0, x1, y1, half_width):
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy

    def inside(x, y):
        t = min(max(((x - x0) * dx + (y - y0) * dy) / length2, 0.0), 1.0)
        px, py = x0 + t * dx - x, y0 + t * dy - y
        return px * px + py * py <= half_width * half_width
    return inside


def tray_c_shapes(size):
    black, blue, cyan = TRAY_COLOURS["#"], TRAY_COLOURS["b"], TRAY_COLOURS["."]
    border = max(1, round(size / 16)) / size
    return [
        (rect(0, 0, 1, 1), black),
        (rect(border, border, 1 - border, 1 - border), cyan),
        (circle(u(8), u(8), u(6)), black),
        (circle(u(8), u(8), u(5)), blue),
        (circle(u(8), u(8), u(3)), black),
        (circle(u(8), u(8), u(2)), cyan),
        # the mouth, edged in black above and below within the ring
        (lambda x, y: rect(u(9), u(5.6), u(14.5), u(10.4))(x, y) and circle(u(8), u(8), u(6))(x, y), black),
        (rect(u(7.6), u(6.6), u(14.5), u(9.4)), cyan),
    ]


def attention_badge_shapes():
    x0, y0, side = u(7), u(7.5), u(9)
    apex, left, right = (x0 + side / 2, y0), (x0, y0 + side * 8 / 9), (x0 + side, y0 + side * 8 / 9)
    return [
        (triangle(*apex, *left, *right), BADGE_COLOURS["#"]),
        (triangle(*apex, *left, *right, inset=u(0.9)), YELLOW),
        (rect(x0 + side / 2 - u(0.55), y0 + u(3), x0 + side / 2 + u(0.55), y0 + u(5.6)), BADGE_COLOURS["#"]),
        (rect(x0 + side / 2 - u(0.55), y0 + u(6.3), x0 + side / 2 + u(0.55), y0 + u(7.2)), BADGE_COLOURS["#"]),
    ]


def person_now_badge_shapes():
    cx, cy, r = u(11.5), u(11.5), u(4.5)
    arm = r * 0.5
    return [
        (circle(cx, cy, r), BADGE_COLOURS["#"]),
        (circle(cx, cy, r - u(0.9)), RED),
        (segment(cx - arm, cy - arm, cx + arm, cy + arm, u(0.6)), WHITE),
        (segment(cx - arm, cy + arm, cx + arm, cy - arm, u(0.6)), WHITE),
    ]


# ---------------------------------------------------------------------------------------------
# File formats.

def bmp_image(rows, bits):
    """An icon image in BMP form: header, colour bits bottom-up, then the AND (transparency) mask."""
    size = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0, 0, 0, 0, 0, 0)
    colour = bytearray()
    mask = bytearray()
    mask_stride = ((size + 31) // 32) * 4
    for row in reversed(rows):
        line = bytearray()
        mask_line = bytearray(mask_stride)
        for x, (r, g, b, a) in enumerate(row):
            if bits == 32:
                line += bytes((b, g, r, a))
            else:
                line += bytes((b, g, r))
            # A 24-bit image has no alpha: a pixel is either drawn or transparent.
            if a < 128:
                mask_line[x // 8] |= 0x80 >> (x % 8)
        line += bytes(-len(line) % 4)
        colour += line
        mask += mask_line
    return header + colour + mask


def png_image(rows):
    size = len(rows)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    raw = b"".join(b"\x00" + bytes(v for pixel in row for v in pixel) for row in rows)
    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def ico_file(images):
    """images: (size, bits, data) in directory order."""
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    body = b""
    for size, bits, data in images:
        side = size if size < 256 else 0
        directory += struct.pack("<BBBBHHII", side, side, 0, 0, 1, bits, len(data), offset)
        offset += len(data)
        body += data
    return directory + body


def tray_pixels_16(badge):
    rows = [[TRAY_COLOURS[c] + (255,) for c in line] for line in TRAY_PIXELS]
    assert len(rows) == 16 and all(len(row) == 16 for row in rows)
    top, left = 16 - len(badge), 16 - max((len(line) for line in badge), default=0)
    for y, line in enumerate(badge):
        for x, c in enumerate(line):
            if c != " ":
                rows[top + y][left + x] = BADGE_COLOURS[c] + (255,)
    return rows


def tray_icon(badge_pixels, badge_shapes):
    images = [(16, 24, bmp_image(tray_pixels_16(badge_pixels), 24))]
    for size in TRAY_SIZES[1:]:
        rows = render(tray_c_shapes(size) + badge_shapes, size, samples=4)
        images.append((size, 24, bmp_image(rows, 24)))
    return ico_file(images)


def program_icon():
    images = [(32, 24, bmp_image(render(PRINTER, 32), 24))]
    for size in (48, 128):
        images.append((size, 32, bmp_image(render(PRINTER, size), 32)))
    images.append((256, 32, png_image(render(PRINTER, 256))))
    return ico_file(images)


def main():
    outputs = {
        REPO / "tray" / "res" / "TrayC.ico": tray_icon([], []),
        REPO / "tray" / "res" / "TrayAttention.ico": tray_icon(ATTENTION_BADGE, attention_badge_shapes()),
        REPO / "tray" / "res" / "TrayPersonNow.ico": tray_icon(PERSON_NOW_BADGE, person_now_badge_shapes()),
        REPO / "app" / "res" / "Ambervale.ico": program_icon(),
    }
    for path, data in outputs.items():
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_bytes(data)
        print(f"{path.relative_to(REPO)}: {len(data)} bytes")
    return 0


if __name__ == "__main__":
    sys.exit(main())
