#!/usr/bin/env python3
"""Draws Tintelo's pictures as pixel art and writes them next to this script.

    Tintelo.ico  the program icon: a glass holding pencils and brushes, drawn at
                 32 pixels in 256 colours and resampled to the other sizes
    Palette.gif  a monitor with a painter's palette in front of it
    Palette.bmp  the same picture as a 32-bit bitmap, the form the program embeds
    Hand.cur     the pointing-hand cursor

Only the standard library is used and nothing depends on time or randomness, so
running the script again writes byte-identical files and a change to a picture
shows up as a change to this script.
"""

from __future__ import annotations

import math
import struct
import zlib
from collections.abc import Callable, Iterable
from pathlib import Path

Colour = tuple[int, int, int]
Shape = Callable[[float, float], bool]
Cell = tuple[int, int]

SIZE = 32
HERE = Path(__file__).resolve().parent


# --------------------------------------------------------------------------
# Colour helpers
# --------------------------------------------------------------------------

def mix(a: Colour, b: Colour, t: float) -> Colour:
    """Returns a blended toward b by t (0 keeps a, 1 gives b)."""
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3))  # type: ignore[return-value]


def scale(c: Colour, f: float) -> Colour:
    return tuple(max(0, min(255, round(v * f))) for v in c)  # type: ignore[return-value]


def tones(c: Colour) -> tuple[Colour, Colour, Colour]:
    """Light, middle and dark tone of one colour, for rounded-looking sticks."""
    return mix(c, (255, 255, 255), 0.35), c, scale(c, 0.68)


# --------------------------------------------------------------------------
# Canvas and shapes; shapes are predicates on pixel centres
# --------------------------------------------------------------------------

class Canvas:
    def __init__(self, size: int = SIZE) -> None:
        self.size = size
        self.pixels: list[list[Colour | None]] = [[None] * size for _ in range(size)]

    def cells(self) -> Iterable[Cell]:
        for y in range(self.size):
            for x in range(self.size):
                yield x, y

    def inside(self, x: int, y: int) -> bool:
        return 0 <= x < self.size and 0 <= y < self.size

    def cover(self, shape: Shape) -> set[Cell]:
        return {(x, y) for x, y in self.cells() if shape(x + 0.5, y + 0.5)}

    def put(self, cells: Iterable[Cell], colour: Colour | None) -> None:
        for x, y in cells:
            if self.inside(x, y):
                self.pixels[y][x] = colour

    def paint(self, shape: Shape, colour: Colour) -> set[Cell]:
        cells = self.cover(shape)
        self.put(cells, colour)
        return cells

    def get(self, x: int, y: int) -> Colour | None:
        return self.pixels[y][x] if self.inside(x, y) else None


NEIGHBOURS_4 = ((1, 0), (-1, 0), (0, 1), (0, -1))


def ring(cells: set[Cell]) -> set[Cell]:
    """Cells just outside a region. Four-neighbour contact keeps the corners
    of the ring cut off, which reads as a rounded outline at this size."""
    return {(x + dx, y + dy) for x, y in cells for dx, dy in NEIGHBOURS_4} - cells


def edge(cells: set[Cell]) -> set[Cell]:
    """Cells of a region that touch the outside."""
    return {(x, y) for x, y in cells
            if any((x + dx, y + dy) not in cells for dx, dy in NEIGHBOURS_4)}


def ellipse(cx: float, cy: float, rx: float, ry: float) -> Shape:
    return lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0


def box(x0: int, y0: int, x1: int, y1: int) -> Shape:
    """Pixels x0..x1, y0..y1 inclusive."""
    return lambda x, y: x0 <= x < x1 + 1 and y0 <= y < y1 + 1


def polygon(points: list[tuple[float, float]]) -> Shape:
    def test(x: float, y: float) -> bool:
        hit = False
        for i, (ax, ay) in enumerate(points):
            bx, by = points[i - 1]
            if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                hit = not hit
        return hit
    return test


def cells_of(*boxes: tuple[int, int, int, int]) -> set[Cell]:
    return {(x, y) for x0, y0, x1, y1 in boxes
            for y in range(y0, y1 + 1) for x in range(x0, x1 + 1)}


# --------------------------------------------------------------------------
# Sticks: pencils and brushes are a run of tapered segments along an axis
# --------------------------------------------------------------------------

class Segment:
    def __init__(self, length: float, width_from: float, width_to: float,
                 colour: Colour, shaded: bool = True) -> None:
        self.length = length
        self.width_from = width_from
        self.width_to = width_to
        self.colour = colour
        self.shaded = shaded


def draw_stick(canvas: Canvas, base: tuple[float, float], lean_degrees: float,
               segments: list[Segment]) -> set[Cell]:
    """Draws segments from base upward, leaning right by lean_degrees.
    Each pixel picks a light, middle or dark tone by its side of the axis so
    a three-pixel stick looks round."""
    angle = math.radians(lean_degrees)
    ux, uy = math.sin(angle), -math.cos(angle)      # along the stick, upward
    nx, ny = -uy, ux                                 # across, toward its right
    covered: set[Cell] = set()
    for x, y in canvas.cells():
        px, py = x + 0.5 - base[0], y + 0.5 - base[1]
        along = px * ux + py * uy
        across = px * nx + py * ny
        start = 0.0
        for seg in segments:
            if start <= along < start + seg.length:
                t = (along - start) / seg.length
                half = (seg.width_from + (seg.width_to - seg.width_from) * t) / 2
                if abs(across) <= half:
                    light, mid, dark = tones(seg.colour) if seg.shaded else (seg.colour,) * 3
                    side = across / max(half, 0.5)
                    canvas.pixels[y][x] = light if side < -0.4 else dark if side > 0.4 else mid
                    covered.add((x, y))
                break
            start += seg.length
    return covered


WOOD = (236, 196, 140)


def pencil(canvas: Canvas, base: tuple[float, float], lean: float, body: float,
           colour: Colour) -> set[Cell]:
    return draw_stick(canvas, base, lean, [
        Segment(body, 3.2, 3.2, colour),
        Segment(2.4, 3.2, 1.6, WOOD),          # sharpened wood
        Segment(2.0, 1.6, 0.6, scale(colour, 0.75), shaded=False),   # the lead
    ])


def brush(canvas: Canvas, base: tuple[float, float], lean: float, handle: float,
          colour: Colour) -> set[Cell]:
    return draw_stick(canvas, base, lean, [
        Segment(handle, 2.2, 2.2, colour),
        Segment(2.5, 2.6, 2.6, (196, 200, 208)),                     # ferrule
        Segment(1.6, 2.6, 3.4, (128, 86, 50), shaded=False),         # bristles
        Segment(1.6, 3.4, 2.4, (128, 86, 50), shaded=False),
        Segment(2.6, 2.4, 0.6, (38, 28, 22), shaded=False),          # wet dark tip
    ])


# --------------------------------------------------------------------------
# The pictures
# --------------------------------------------------------------------------

def draw_glass_of_pencils() -> Canvas:
    c = Canvas()
    top = 17.0
    glass_shape = polygon([(5.5, top), (26.5, top), (24.0, 31.0), (8.0, 31.0)])
    glass = c.cover(glass_shape)
    rim = ellipse(16.0, top + 0.5, 10.4, 1.9)
    rim_cells = c.cover(rim)
    back_rim = {(x, y) for x, y in edge(rim_cells) if y + 0.5 < top + 0.5}
    front_rim = {(x, y) for x, y in edge(rim_cells) if y + 0.5 >= top + 0.5}

    glass_edge = (84, 112, 138)
    c.put(back_rim, glass_edge)

    # Back row first so the front ones overlap them.
    brush(c, (13.5, 29.0), -8.0, 17.0, (52, 52, 60))
    brush(c, (18.5, 29.0), 10.0, 15.5, (206, 150, 86))
    pencil(c, (11.5, 30.0), -14.0, 19.5, (214, 48, 48))
    pencil(c, (16.0, 30.0), 2.0, 21.5, (246, 200, 40))
    pencil(c, (20.5, 30.0), 14.0, 18.5, (52, 110, 214))
    pencil(c, (14.0, 30.0), -4.0, 20.0, (60, 172, 72))

    # The glass itself: whatever stands in it is seen through a pale blue tint.
    tint = (208, 228, 240)
    for x, y in glass:
        under = c.get(x, y)
        c.pixels[y][x] = tint if under is None else mix(under, tint, 0.45)
    base = {(x, y) for x, y in glass if y >= 28}
    c.put(base, (176, 204, 224))
    sides = {(x, y) for x, y in edge(glass) if y + 0.5 > top + 0.5}
    c.put(sides, glass_edge)
    c.put(front_rim, glass_edge)
    shine = {(8, y) for y in range(20, 28)} | {(9, y) for y in range(20, 25)}
    for x, y in shine:
        under = c.get(x, y) or tint
        c.pixels[y][x] = mix(under, (255, 255, 255), 0.7)
    c.put({(x, 28) for x in range(9, 24)} & glass - sides, (150, 182, 206))  # top of the thick base
    return c


def draw_monitor_with_palette() -> Canvas:
    c = Canvas()
    outline = (56, 58, 66)

    # Monitor: bezel, screen, neck and foot.
    left, top, right, bottom = 6, 2, 29, 19
    foot = c.paint(box(13, bottom + 4, 25, bottom + 5), (150, 152, 160))
    neck = c.paint(box(17, bottom + 1, 21, bottom + 3), (124, 126, 134))
    bezel = c.paint(box(left, top, right, bottom), (178, 180, 188))
    c.put(ring(bezel | neck | foot), outline)
    # Bevel: light catches the top and left of the bezel.
    c.put({(x, top) for x in range(left, right)} | {(left, y) for y in range(top, bottom)},
          (214, 216, 222))
    c.put({(x, bottom) for x in range(left + 1, right + 1)}
          | {(right, y) for y in range(top + 1, bottom + 1)}, (142, 144, 152))
    screen = c.cover(box(left + 3, top + 3, right - 3, bottom - 4))
    for x, y in screen:
        c.pixels[y][x] = mix((110, 170, 236), (36, 80, 168), (y - top - 3) / (bottom - top - 7))
    # Inset: the screen sits behind the bezel, shadowed above and left.
    c.put({(x, top + 2) for x in range(left + 2, right - 1)}
          | {(left + 2, y) for y in range(top + 2, bottom - 2)}, (104, 106, 116))
    c.put({(x, bottom - 3) for x in range(left + 3, right - 1)}
          | {(right - 2, y) for y in range(top + 3, bottom - 2)}, (208, 210, 216))
    glare = {(x, y) for x, y in screen if x + y in (27, 28, 31)}
    for x, y in glare:
        c.pixels[y][x] = mix(c.pixels[y][x], (255, 255, 255), 0.45)  # type: ignore[arg-type]
    c.put({(right - 2, bottom - 1), (right - 1, bottom - 1)}, (80, 220, 110))   # power light

    # Palette: a wooden kidney with a bite out of the right and a thumb hole.
    body = ellipse(11.5, 23.6, 11.2, 7.3)
    bite = ellipse(22.6, 27.4, 4.2, 3.6)
    hole = ellipse(15.6, 25.4, 1.5, 1.3)
    wood = c.cover(lambda x, y: body(x, y) and not bite(x, y) and not hole(x, y))
    lit = ellipse(10.0, 22.0, 9.8, 6.0)
    for x, y in wood:
        c.pixels[y][x] = (188, 124, 62) if lit(x + 0.5, y + 0.5) else (160, 100, 46)
    c.put(edge(wood), (96, 56, 24))

    blobs = [
        ((4.5, 22.5), (222, 40, 40)),
        ((8.5, 19.5), (250, 212, 36)),
        ((13.5, 19.5), (54, 178, 70)),
        ((5.5, 27.0), (46, 100, 226)),
        ((10.5, 27.5), (250, 250, 246)),
    ]
    for (bx, by), colour in blobs:
        blob = c.paint(ellipse(bx, by, 2.1, 1.8), colour)
        c.put({(x, y) for x, y in blob if (x + 0.5 - bx) + (y + 0.5 - by) > 1.2},
              scale(colour, 0.78))
        c.put({(int(bx) - 1, int(by) - 1)}, mix(colour, (255, 255, 255), 0.6))
    return c


def draw_pointing_hand() -> Canvas:
    c = Canvas()
    white = (255, 255, 255)
    black = (0, 0, 0)
    grey = (192, 192, 192)
    hand = cells_of(
        (11, 2, 13, 18),                     # index finger, tip just under (12, 1)
        (15, 8, 17, 18),                     # middle finger
        (19, 9, 21, 18),                     # ring finger
        (23, 11, 24, 18),                    # little finger
        (4, 14, 6, 14), (4, 15, 7, 15), (5, 16, 8, 16), (6, 17, 9, 17),   # thumb
        (7, 18, 10, 18),
        (8, 14, 24, 24), (9, 25, 23, 25),     # palm
    )
    # The palm fills the gaps between the fingers; take the gaps back above
    # the knuckles so each finger stays outlined.
    hand -= {(x, y) for x in (14, 18, 22) for y in range(8, 14)}
    hand -= {(x, y) for x in (8, 9, 10) for y in range(14, 17)}
    cuff = cells_of((8, 27, 24, 30))
    c.put(hand | cuff, white)
    c.put(ring(hand) | ring(cuff), black)
    # A little shading on the right of each finger and the cuff gives depth.
    c.put({(13, y) for y in range(4, 13)} | {(17, y) for y in range(10, 14)}
          | {(21, y) for y in range(11, 14)} | {(24, y) for y in range(12, 14)}
          | {(x, 30) for x in range(9, 25)} | {(24, y) for y in range(27, 30)}, grey)
    return c


# --------------------------------------------------------------------------
# File writers
# --------------------------------------------------------------------------

def build_palette(canvas: Canvas, reserved: Colour, limit: int) -> tuple[list[Colour], list[list[int]]]:
    """Numbers the colours in reading order. Index 0 is the transparent one, so
    its colour is also what shows under a transparent pixel in masked formats."""
    palette: list[Colour] = [reserved]
    lookup: dict[Colour, int] = {}
    rows: list[list[int]] = []
    for row in canvas.pixels:
        out: list[int] = []
        for colour in row:
            if colour is None:
                out.append(0)
                continue
            if colour not in lookup:
                lookup[colour] = len(palette)
                palette.append(colour)
            out.append(lookup[colour])
        rows.append(out)
    if len(palette) > limit:
        raise ValueError(f"{len(palette)} colours do not fit in {limit}")
    return palette, rows


def masked_bitmap(canvas: Canvas, bits: int) -> tuple[bytes, int]:
    """Returns a BITMAPINFOHEADER with palette, XOR image and AND mask as used
    inside .ico and .cur files, and the palette size written."""
    colours = 1 << bits
    palette, rows = build_palette(canvas, (0, 0, 0), colours)
    size = canvas.size
    xor_stride = (size * bits + 31) // 32 * 4
    and_stride = (size + 31) // 32 * 4
    xor = bytearray()
    mask = bytearray()
    for y in reversed(range(size)):                   # rows run bottom-up
        line = bytearray(xor_stride)
        for x, index in enumerate(rows[y]):
            bit = x * bits
            line[bit // 8] |= index << (8 - bits - bit % 8)
        xor += line
        and_line = bytearray(and_stride)
        for x in range(size):
            if canvas.pixels[y][x] is None:
                and_line[x // 8] |= 0x80 >> (x % 8)
        mask += and_line
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0,
                         len(xor) + len(mask), 0, 0, 0, 0)
    table = b"".join(struct.pack("<BBBB", b, g, r, 0)
                     for r, g, b in palette + [(0, 0, 0)] * (colours - len(palette)))
    return header + table + bytes(xor) + bytes(mask), colours


def write_icon_file(path: Path, canvas: Canvas, bits: int, hotspot: Cell | None) -> None:
    """Writes a one-image .ico, or a .cur when a hotspot is given (the directory
    entry's planes and bit count fields then hold the hotspot)."""
    image, colours = masked_bitmap(canvas, bits)
    kind = 1 if hotspot is None else 2
    field_a, field_b = (1, bits) if hotspot is None else hotspot
    directory = struct.pack("<HHH", 0, kind, 1)
    entry = struct.pack("<BBBBHHII", canvas.size, canvas.size,
                        colours if colours < 256 else 0, 0,
                        field_a, field_b, len(image), 6 + 16)
    path.write_bytes(directory + entry + image)


def resample(canvas: Canvas, size: int) -> list[list[tuple[int, int, int, int]]]:
    """The picture at another size, as rows of (r, g, b, alpha). Each new pixel
    averages the old pixels it covers, weighted by how much of it each covers,
    with transparent ones counting as no paint: whole multiples stay crisp pixel
    art and smaller sizes keep their soft edges."""
    ratio = canvas.size / size
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            x0, x1, y0, y1 = x * ratio, (x + 1) * ratio, y * ratio, (y + 1) * ratio
            for sy in range(math.floor(y0), math.ceil(y1)):
                wy = min(y1, sy + 1) - max(y0, sy)
                for sx in range(math.floor(x0), math.ceil(x1)):
                    colour = canvas.get(sx, sy)
                    if colour is None:
                        continue
                    w = wy * (min(x1, sx + 1) - max(x0, sx))
                    for i in range(3):
                        acc[i] += colour[i] * w
                    acc[3] += w
            covered = acc[3] / (ratio * ratio)
            if acc[3] == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append((round(acc[0] / acc[3]), round(acc[1] / acc[3]),
                            round(acc[2] / acc[3]), round(255 * covered)))
        rows.append(row)
    return rows


def true_colour_bitmap(rows: list[list[tuple[int, int, int, int]]]) -> bytes:
    """A 32-bit BITMAPINFOHEADER image with alpha, and the AND mask older
    systems draw with, as used inside .ico files."""
    size = len(rows)
    and_stride = (size + 31) // 32 * 4
    xor = bytearray()
    mask = bytearray()
    for y in reversed(range(size)):
        and_line = bytearray(and_stride)
        for x, (r, g, b, a) in enumerate(rows[y]):
            xor += bytes((b, g, r, a))
            if a == 0:
                and_line[x // 8] |= 0x80 >> (x % 8)
        mask += and_line
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                         len(xor) + len(mask), 0, 0, 0, 0)
    return header + bytes(xor) + bytes(mask)


def png(rows: list[list[tuple[int, int, int, int]]]) -> bytes:
    """An RGBA PNG: since Windows Vista an .ico entry may be a whole PNG file
    instead of a bitmap (The Old New Thing, "The evolution of the ICO file
    format, part 4: PNG images"), a fraction of the size of the same picture as
    a 32-bit bitmap with its mask."""
    def chunk(kind: bytes, data: bytes) -> bytes:
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data)))
    size = len(rows)
    raw = b"".join(b"\0" + bytes(v for pixel in row for v in pixel) for row in rows)
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


# Every size Windows asks for, from the small caption icon at 100 % to Explorer's
# largest view. The 32-pixel picture is drawn as it stands, in 256 colours; the
# others are made from it. Above 32 pixels they are PNG, which keeps the program
# small; Windows XP, the one system that cannot read them, is not one we run on.
# At 32 pixels and below they stay bitmaps, the form every reader of icons knows.
ICON_SIZES = (16, 20, 24, 32, 40, 48, 64, 256)


def write_program_icon(path: Path, canvas: Canvas) -> None:
    images = []
    for size in ICON_SIZES:
        if size == canvas.size:
            image, _ = masked_bitmap(canvas, 8)
            images.append((size, 0, 8, image))
        elif size > canvas.size:
            images.append((size, 0, 32, png(resample(canvas, size))))
        else:
            images.append((size, 0, 32, true_colour_bitmap(resample(canvas, size))))
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, colours, bits, image in images:
        # A width or height of 256 is written as 0.
        directory += struct.pack("<BBBBHHII", size % 256, size % 256, colours, 0, 1, bits,
                                 len(image), offset)
        offset += len(image)
    path.write_bytes(directory + b"".join(image for *_, image in images))


def lzw_compress(indices: list[int], min_code_size: int) -> bytes:
    """GIF flavoured LZW: variable code width up to 12 bits, least significant
    bit first, with a clear code whenever the table fills up."""
    clear = 1 << min_code_size
    end = clear + 1
    out = bytearray()
    acc = 0
    acc_bits = 0

    def emit(code: int, width: int) -> None:
        nonlocal acc, acc_bits
        acc |= code << acc_bits
        acc_bits += width
        while acc_bits >= 8:
            out.append(acc & 0xFF)
            acc >>= 8
            acc_bits -= 8

    width = min_code_size + 1
    next_code = end + 1
    table: dict[tuple[int, int], int] = {}
    emit(clear, width)
    prefix = -1
    for value in indices:
        if prefix < 0:
            prefix = value
            continue
        known = table.get((prefix, value))
        if known is not None:
            prefix = known
            continue
        emit(prefix, width)
        if next_code == 4096:
            emit(clear, width)
            table.clear()
            width = min_code_size + 1
            next_code = end + 1
        else:
            table[(prefix, value)] = next_code
            next_code += 1
            if next_code > (1 << width) and width < 12:
                width += 1
        prefix = value
    if prefix >= 0:
        emit(prefix, width)
        # The decoder adds an entry for this last code too and may widen its
        # codes before it reads the end code.
        if next_code < 4096 and next_code + 1 > (1 << width) and width < 12:
            width += 1
    emit(end, width)
    if acc_bits:
        out.append(acc & 0xFF)
    return bytes(out)


def sub_blocks(data: bytes) -> bytes:
    chunks = b"".join(bytes([len(data[i:i + 255])]) + data[i:i + 255]
                      for i in range(0, len(data), 255))
    return chunks + b"\x00"


def write_gif(path: Path, canvas: Canvas) -> None:
    palette, rows = build_palette(canvas, (0, 0, 0), 256)
    bits = max(2, (len(palette) - 1).bit_length())
    table_size = 1 << bits
    size = canvas.size
    out = bytearray(b"GIF89a")
    # Global colour table present, colour resolution 8 bits, table of 2^bits.
    out += struct.pack("<HHBBB", size, size, 0x80 | 0x70 | (bits - 1), 0, 0)
    for r, g, b in palette + [(0, 0, 0)] * (table_size - len(palette)):
        out += bytes((r, g, b))
    # Looping block so viewers treat it like any other animation; one frame.
    out += b"\x21\xff\x0bNETSCAPE2.0\x03\x01" + struct.pack("<H", 0) + b"\x00"
    # Graphic control: leave the frame in place, index 0 is transparent.
    out += b"\x21\xf9\x04" + struct.pack("<BHB", 0x05, 0, 0) + b"\x00"
    out += b"\x2c" + struct.pack("<HHHHB", 0, 0, size, size, 0)
    out += bytes((bits,))
    out += sub_blocks(lzw_compress([i for row in rows for i in row], bits))
    out += b"\x3b"
    path.write_bytes(bytes(out))


def write_bmp(path: Path, canvas: Canvas) -> None:
    """A 32-bit BI_RGB bitmap whose fourth byte is the mask: 255 where the picture
    is painted, 0 where it is transparent (and then black). The program reads
    these pixels straight from its resources, and Windows' own bitmap readers
    load the file as it is, so the picture needs no decoder of its own."""
    size = canvas.size
    pixels = bytearray()
    for y in reversed(range(size)):                   # rows run bottom-up
        for colour in canvas.pixels[y]:
            pixels += b"\0\0\0\0" if colour is None else bytes((colour[2], colour[1], colour[0], 255))
    header = struct.pack("<IiiHHIIiiII", 40, size, size, 1, 32, 0, len(pixels), 0, 0, 0, 0)
    offset = 14 + len(header)
    path.write_bytes(struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset) + header + bytes(pixels))


def main() -> None:
    write_program_icon(HERE / "Tintelo.ico", draw_glass_of_pencils())
    palette = draw_monitor_with_palette()
    write_gif(HERE / "Palette.gif", palette)
    write_bmp(HERE / "Palette.bmp", palette)
    write_icon_file(HERE / "Hand.cur", draw_pointing_hand(), 4, (12, 1))


if __name__ == "__main__":
    main()
