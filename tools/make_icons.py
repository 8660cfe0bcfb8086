#!/usr/bin/env python3
"""Draws Trevo's icons and writes them as 16-colour .ico files into res/.
One file: the drawing of the digits and the .ico writer are one small program.

    python3 tools/make_icons.py            write every icon into res/
    python3 tools/make_icons.py --check    exit 1 when res/ differs from what
                                           this script draws

Every icon holds a 32 x 32 and a 16 x 16 image at 4 bits per pixel in the
standard 16-colour palette, so the tray shows the same digit on any display.
The bytes written depend on nothing but this file, never on the date or
the machine, so --check can compare them with the committed icons.
"""

import argparse
import os
import struct
import sys
from pathlib import Path

# The standard 16-colour palette, in index order.
PALETTE = (
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
)
BLACK, SILVER, GREY, BLUE, MAGENTA, WHITE = 0, 7, 8, 12, 13, 15

DESKTOP_COUNT = 5

# Digits for the 32 x 32 desktop icons: four-pixel strokes, 16 x 24, bold
# enough to read in black on the dark grey of an inactive desktop.
DIGITS_32 = {
    1: """
        ......####......
        .....#####......
        ....######......
        ...#######......
        ..###.####......
        ..##..####......
        ......####......
        ......####......
        ......####......
        ......####......
        ......####......
        ......####......
        ......####......
        ......####......
        ......####......
        ......####......
        ......####......
        ......####......
        ......####......
        ......####......
        ...##########...
        ...##########...
        ...##########...
        ...##########...
    """,
    2: """
        ....########....
        ..############..
        .##############.
        #####......#####
        ####........####
        ####........####
        ............####
        ............####
        ...........#####
        ..........#####.
        .........#####..
        ........#####...
        .......#####....
        ......#####.....
        .....#####......
        ....#####.......
        ...#####........
        ..#####.........
        .#####..........
        #####...........
        ################
        ################
        ################
        ################
    """,
    3: """
        ....########....
        ..############..
        .##############.
        #####......#####
        ####........####
        ............####
        ............####
        ............####
        ...........#####
        .....##########.
        .....#########..
        .....#########..
        .....##########.
        ...........#####
        ............####
        ............####
        ............####
        ............####
        ............####
        ####........####
        #####......#####
        .##############.
        ..############..
        ....########....
    """,
    4: """
        ..........####..
        .........#####..
        ........######..
        .......#######..
        ......########..
        .....####.####..
        ....####..####..
        ...####...####..
        ..####....####..
        .####.....####..
        ####......####..
        ####......####..
        ####......####..
        ####......####..
        ################
        ################
        ################
        ################
        ..........####..
        ..........####..
        ..........####..
        ..........####..
        ..........####..
        ..........####..
    """,
    5: """
        ###############.
        ###############.
        ###############.
        ###############.
        ####............
        ####............
        ####............
        ####.########...
        ##############..
        ###############.
        #####......#####
        ............####
        ............####
        ............####
        ............####
        ............####
        ............####
        ............####
        ............####
        ####........####
        #####......#####
        .##############.
        ..############..
        ....########....
    """,
}

# Digits for the 16 x 16 desktop icons: two-pixel strokes, 6 x 10, so the
# number still reads at the size the notification area uses.
DIGITS_16 = {
    1: """
        ..##..
        .###..
        ####..
        ..##..
        ..##..
        ..##..
        ..##..
        ..##..
        ..##..
        ######
    """,
    2: """
        .####.
        ##..##
        ....##
        ....##
        ...##.
        ..##..
        .##...
        ##....
        ######
        ######
    """,
    3: """
        .####.
        ##..##
        ....##
        ....##
        ..###.
        ..###.
        ....##
        ....##
        ##..##
        .####.
    """,
    4: """
        ....##
        ...###
        ..####
        .##.##
        ##..##
        ##..##
        ######
        ######
        ....##
        ....##
    """,
    5: """
        ######
        ##....
        ##....
        #####.
        ....##
        ....##
        ....##
        ##..##
        ##..##
        .####.
    """,
}

# Digits for the three boxes of the program's own icon: 4 x 6 in the
# 32 x 32 image; in the 16 x 16 one a box has four pixels inside, so the
# digits are two pixels wide, which leaves one pixel clear on either side.
BOX_DIGITS_32 = {
    1: """
        ..#.
        .##.
        ..#.
        ..#.
        ..#.
        .###
    """,
    2: """
        .##.
        #..#
        ...#
        ..#.
        .#..
        ####
    """,
    3: """
        ###.
        ...#
        .##.
        ...#
        ...#
        ###.
    """,
}
BOX_DIGITS_16 = {
    1: """
        .#
        ##
        .#
        .#
        .#
    """,
    2: """
        ##
        .#
        ##
        #.
        ##
    """,
    3: """
        ##
        .#
        ##
        .#
        ##
    """,
}


def parse_glyph(text):
    """Turns a drawing of '#' and '.' into a list of rows of booleans."""
    rows = [line.strip() for line in text.strip().splitlines()]
    widths = {len(row) for row in rows}
    if len(widths) != 1 or any(set(row) - {"#", "."} for row in rows):
        raise ValueError("a glyph must be a rectangle of '#' and '.'")
    return [[cell == "#" for cell in row] for row in rows]


class Picture:
    """A square image of palette indices; transparent pixels are outside the icon's shape."""

    def __init__(self, size, colour=BLACK, transparent=False):
        self.size = size
        self.pixels = [[colour] * size for _ in range(size)]
        self.transparent = [[transparent] * size for _ in range(size)]

    def fill(self, left, top, width, height, colour):
        for y in range(top, top + height):
            for x in range(left, left + width):
                self.pixels[y][x] = colour
                self.transparent[y][x] = False

    def frame(self, left, top, width, height, colour):
        right, bottom = left + width - 1, top + height - 1
        for x in range(left, right + 1):
            self.pixels[top][x] = self.pixels[bottom][x] = colour
        for y in range(top, bottom + 1):
            self.pixels[y][left] = self.pixels[y][right] = colour

    def stamp(self, glyph, left, top, colour):
        for dy, row in enumerate(glyph):
            for dx, ink in enumerate(row):
                if ink:
                    self.pixels[top + dy][left + dx] = colour


def centred_origin(outer_left, outer_size, inner_size):
    """Left (or top) edge that centres inner_size in outer_size, rounding towards the start."""
    return outer_left + (outer_size - inner_size) // 2


def desktop_picture(size, digit, active):
    if active:
        background, ink = WHITE, MAGENTA
    else:
        background, ink = (GREY if size == 32 else SILVER), BLACK
    picture = Picture(size, background)
    picture.frame(0, 0, size, size, BLACK)
    glyph = parse_glyph((DIGITS_32 if size == 32 else DIGITS_16)[digit])
    left = centred_origin(0, size, len(glyph[0]))
    top = centred_origin(0, size, len(glyph))
    picture.stamp(glyph, left, top, ink)
    return picture


def program_picture(size):
    """Three boxes holding 1, 2 and 3, the first white, on a transparent ground."""
    picture = Picture(size, BLACK, transparent=True)
    glyphs = BOX_DIGITS_32 if size == 32 else BOX_DIGITS_16
    if size == 32:
        # Separate 10 x 10 boxes with a one-pixel gap between them.
        box_width, box_height, step = 10, 10, 11
    else:
        # Sixteen pixels leave no room for gaps: neighbouring boxes share a side.
        box_width, box_height, step = 6, 9, 5
    top = centred_origin(0, size, box_height)
    for index, digit in enumerate((1, 2, 3)):
        left = index * step
        picture.fill(left, top, box_width, box_height, WHITE if digit == 1 else SILVER)
        picture.frame(left, top, box_width, box_height, BLACK)
        glyph = parse_glyph(glyphs[digit])
        glyph_left = centred_origin(left + 1, box_width - 2, len(glyph[0]))
        glyph_top = centred_origin(top + 1, box_height - 2, len(glyph))
        picture.stamp(glyph, glyph_left, glyph_top, BLUE)
    return picture


def encode_image(picture):
    """One icon image: BITMAPINFOHEADER, palette, XOR bitmap, AND mask, rows bottom-up."""
    size = picture.size
    xor_stride = (size * 4 + 31) // 32 * 4
    and_stride = (size + 31) // 32 * 4
    xor_rows, and_rows = [], []
    for y in reversed(range(size)):
        colours = picture.pixels[y]
        packed = bytes((colours[x] << 4) | colours[x + 1] for x in range(0, size, 2))
        xor_rows.append(packed.ljust(xor_stride, b"\0"))
        mask_bits = 0
        for x in range(size):
            mask_bits = (mask_bits << 1) | int(picture.transparent[y][x])
        mask_bytes = mask_bits.to_bytes((size + 7) // 8, "big")
        and_rows.append(mask_bytes.ljust(and_stride, b"\0"))
    bitmap = b"".join(xor_rows) + b"".join(and_rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 4, 0, len(bitmap), 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", rgb & 0xFF, (rgb >> 8) & 0xFF, rgb >> 16, 0) for rgb in PALETTE)
    return header + palette + bitmap


def encode_icon(pictures):
    """ICONDIR, one ICONDIRENTRY per image, then the images in the same order."""
    images = [encode_image(picture) for picture in pictures]
    offset = 6 + 16 * len(images)
    directory = struct.pack("<HHH", 0, 1, len(images))
    for picture, image in zip(pictures, images):
        directory += struct.pack("<BBBBHHII", picture.size, picture.size, 16, 0, 1, 4, len(image), offset)
        offset += len(image)
    return directory + b"".join(images)


def all_drawings():
    """File name -> [32 x 32 picture, 16 x 16 picture], for every icon the program's resources name."""
    drawings = {"trevo.ico": [program_picture(32), program_picture(16)]}
    for digit in range(1, DESKTOP_COUNT + 1):
        for active, state in ((False, "inactive"), (True, "active")):
            drawings[f"desktop{digit}_{state}.ico"] = [desktop_picture(32, digit, active),
                                                      desktop_picture(16, digit, active)]
    return drawings


# Reading the icons back, so that a fault in the drawings or in the file
# layout stops the build instead of reaching the notification area.

def decode_icon(contents):
    """Reads an icon back from its bytes alone: [(size, colours, transparent)] in file order.

    Raises ValueError where the file breaks the layout Windows expects.
    """
    def need(condition, message):
        if not condition:
            raise ValueError(message)

    reserved, kind, count = struct.unpack_from("<HHH", contents, 0)
    need((reserved, kind) == (0, 1), "not an icon directory")
    images, end_of_last = [], 6 + 16 * count
    for entry in range(count):
        width, height, colours, _, planes, bits, length, offset = struct.unpack_from(
            "<BBBBHHII", contents, 6 + 16 * entry)
        need(width == height and (colours, planes, bits) == (16, 1, 4),
             f"entry {entry} is not a 16-colour square")
        need(offset == end_of_last and offset + length <= len(contents),
             f"entry {entry} points outside the images")
        end_of_last = offset + length
        header = struct.unpack_from("<IiiHHIIiiII", contents, offset)
        need(header[:6] == (40, width, 2 * height, 1, 4, 0), f"image {entry} has a wrong bitmap header")
        palette = struct.unpack_from("<64B", contents, offset + 40)
        need([(r << 16) | (g << 8) | b for b, g, r, _ in zip(*[iter(palette)] * 4)] == list(PALETTE),
             f"image {entry} lacks the standard palette")
        xor_stride, and_stride = (width * 4 + 31) // 32 * 4, (width + 31) // 32 * 4
        xor_start = offset + 40 + 64
        and_start = xor_start + xor_stride * height
        need(and_start + and_stride * height == offset + length, f"image {entry} has a wrong length")
        grid, clear = [], []
        for y in range(height):
            row = height - 1 - y  # rows are stored bottom-up
            xor_row = contents[xor_start + row * xor_stride:]
            and_row = contents[and_start + row * and_stride:]
            grid.append([(xor_row[x // 2] >> (4 * (1 - x % 2))) & 15 for x in range(width)])
            clear.append([bool(and_row[x // 8] & (0x80 >> (x % 8))) for x in range(width)])
        images.append((width, grid, clear))
    need(end_of_last == len(contents), "bytes left over after the last image")
    return images


def ink_box(grid, ink):
    """(left, top, right, bottom) of the pixels of colour ink, or None."""
    spots = [(x, y) for y, row in enumerate(grid) for x, colour in enumerate(row) if colour == ink]
    if not spots:
        return None
    xs, ys = [x for x, _ in spots], [y for _, y in spots]
    return min(xs), min(ys), max(xs), max(ys)


def desktop_icon_faults(name, digit, active, images):
    faults = []
    for size, grid, clear in images:
        background = WHITE if active else (GREY if size == 32 else SILVER)
        ink = MAGENTA if active else BLACK
        where = f"{name} {size}x{size}"
        if any(any(row) for row in clear):
            faults.append(f"{where}: has transparent pixels")
        edge = grid[0] + grid[-1] + [row[0] for row in grid] + [row[-1] for row in grid]
        if set(edge) != {BLACK}:
            faults.append(f"{where}: the frame is not black all round")
        inside = [row[1:-1] for row in grid[1:-1]]
        if set(colour for row in inside for colour in row) != {background, ink}:
            faults.append(f"{where}: colours other than the ground and the digit inside the frame")
        box = ink_box(inside, ink)
        if box is None:
            continue
        left, top, right, bottom = box
        margins = (left, len(inside) - 1 - right, top, len(inside) - 1 - bottom)
        if abs(margins[0] - margins[1]) > 1 or abs(margins[2] - margins[3]) > 1:
            faults.append(f"{where}: digit {digit} is off centre (margins {margins})")
        if min(margins) < 2:
            faults.append(f"{where}: digit {digit} crowds the frame")
    return faults


def program_icon_faults(name, images):
    faults = []
    for size, grid, clear in images:
        where = f"{name} {size}x{size}"
        pixels = [(colour, hidden) for row, mask in zip(grid, clear) for colour, hidden in zip(row, mask)]
        opaque = {colour for colour, hidden in pixels if not hidden}
        if opaque != {BLACK, WHITE, SILVER, BLUE}:
            faults.append(f"{where}: draws in colours {sorted(opaque)}")
        if any(colour != BLACK for colour, hidden in pixels if hidden):
            faults.append(f"{where}: a transparent pixel would tint the ground")
        white, silver = ink_box(grid, WHITE), ink_box(grid, SILVER)
        if white and silver and white[2] >= silver[0]:
            faults.append(f"{where}: the white box is not the first one")
    return faults


def drawing_faults(drawings, icons):
    """Reads every icon back from its bytes and holds it to its drawing and to what the program needs."""
    faults = []
    digit_shapes = {}
    for name, contents in icons.items():
        try:
            images = decode_icon(contents)
        except (ValueError, struct.error) as error:
            faults.append(f"{name}: {error}")
            continue
        if [size for size, _, _ in images] != [32, 16]:
            faults.append(f"{name}: images are not 32x32 then 16x16")
            continue
        for picture, (size, grid, clear) in zip(drawings[name], images):
            if grid != picture.pixels or clear != picture.transparent:
                faults.append(f"{name} {size}x{size}: the file does not hold the picture drawn")
        if name == "trevo.ico":
            faults += program_icon_faults(name, images)
            continue
        digit, active = int(name[len("desktop")]), name.endswith("_active.ico")
        faults += desktop_icon_faults(name, digit, active, images)
        ink = MAGENTA if active else BLACK
        shape = tuple(tuple(colour == ink for colour in row) for _, grid, _ in images for row in grid)
        digit_shapes.setdefault(active, {})[digit] = shape
    for active, shapes in digit_shapes.items():
        if len(set(shapes.values())) != len(shapes):
            faults.append(f"two {'active' if active else 'inactive'} icons show the same digit shape")
        if sorted(shapes) != list(range(1, DESKTOP_COUNT + 1)):
            faults.append(f"{'active' if active else 'inactive'} icons are missing for some desktops")
    return faults


def write_icons(folder, drawings, icons):
    faults = drawing_faults(drawings, icons)
    if faults:
        for fault in faults:
            print(fault, file=sys.stderr)
        print("nothing written", file=sys.stderr)
        return 1
    folder.mkdir(parents=True, exist_ok=True)
    for name, contents in icons.items():
        # Through a temporary file, so that an interrupted run leaves no half-written icon.
        partial = folder / (name + ".partial")
        partial.write_bytes(contents)
        os.replace(partial, folder / name)
    print(f"wrote {len(icons)} icons into {folder}")
    return 0


def check_icons(folder, drawings, icons):
    problems = drawing_faults(drawings, icons)
    for name, contents in icons.items():
        path = folder / name
        if not path.is_file():
            problems.append(f"{path}: missing")
        elif path.read_bytes() != contents:
            problems.append(f"{path}: differs from what the generator draws")
    for path in sorted(folder.glob("*.ico")):
        if path.name not in icons:
            problems.append(f"{path}: not drawn by the generator")
    for problem in problems:
        print(problem, file=sys.stderr)
    if problems:
        print("run tools/make_icons.py to redraw the icons in res/", file=sys.stderr)
        return 1
    print(f"all {len(icons)} icons in {folder} match the generator")
    return 0


def main(argv):
    parser = argparse.ArgumentParser(description="Draw Trevo's icons into res/.")
    parser.add_argument("--check", action="store_true",
                        help="compare res/ with the drawings instead of writing")
    parser.add_argument("--res", type=Path, default=Path(__file__).resolve().parent.parent / "res",
                        help="folder of the icons (default: res/ beside tools/)")
    options = parser.parse_args(argv)
    drawings = all_drawings()
    icons = {name: encode_icon(pictures) for name, pictures in drawings.items()}
    run = check_icons if options.check else write_icons
    try:
        return run(options.res, drawings, icons)
    except OSError as error:
        print(f"{error.filename}: {error.strerror}", file=sys.stderr)
        return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
