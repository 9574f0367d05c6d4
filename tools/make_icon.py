"""Draws the program's icon (a white quill on a teal disc) and writes it as src/ui/quillmere.ico.

Each size is drawn anew at four times its size and averaged down, so edges are smooth at every size the
shell asks for. Run it again after changing the drawing: python3 tools/make_icon.py
"""
import math
import pathlib
import struct
import zlib

SIZES = (16, 20, 24, 32, 40, 48, 64, 256)
TEAL, TEAL_EDGE = (22, 128, 128), (10, 80, 80)
WHITE, NIB = (255, 255, 255), (255, 210, 80)


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def colour_at(x, y):
    """The colour of the design at (x, y) in a 16 x 16 square, or None outside the disc."""
    r = math.hypot(x - 8, y - 8)
    if r > 7.5:
        return None
    colour = TEAL_EDGE if r > 6.8 else TEAL
    # The vane narrows from the top right towards the nib; the shaft and the line the nib writes.
    if segment_distance(x, y, 11.5, 3.5, 6.0, 10.0) < 1.6 - 0.1 * math.hypot(x - 11.5, y - 3.5):
        colour = WHITE
    if segment_distance(x, y, 6.0, 10.0, 3.8, 12.2) < 0.55:
        colour = WHITE
    if 4.0 <= x <= 9.5 and abs(y - 12.8) < 0.45:
        colour = NIB
    return colour


def draw(size, samples=4):
    rows = []
    for py in range(size):
        row = bytearray()
        for px in range(size):
            total, rgb = 0, [0, 0, 0]
            for sy in range(samples):
                for sx in range(samples):
                    c = colour_at((px + (sx + 0.5) / samples) * 16 / size, (py + (sy + 0.5) / samples) * 16 / size)
                    if c:
                        total += 1
                        rgb = [a + b for a, b in zip(rgb, c)]
            n = samples * samples
            row += bytes([v // total for v in rgb] + [255 * total // n]) if total else bytes(4)
        rows.append(b"\x00" + bytes(row))
    return rows


def png(size):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(b"".join(draw(size)), 9)) + chunk(b"IEND", b""))


def main():
    images = [png(size) for size in SIZES]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip(SIZES, images):
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    target = pathlib.Path(__file__).resolve().parent.parent / "src" / "ui" / "quillmere.ico"
    target.write_bytes(out + b"".join(images))


if __name__ == "__main__":
    main()
