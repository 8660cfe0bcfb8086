#!/usr/bin/env python3
"""Draws Trevo's icons and writes them as .ico files into res/.
One file: the drawings of the digits and the .ico writer are one small program.

    python3 tools/make_icons.py            write every icon into res/
    python3 tools/make_icons.py --check    exit 1 when res/ differs from what
                                           this script draws

The task bar draws a notification icon at 16, 20, 24, 28, 32, 40 or 48 pixels
(100, 125, 150, 175, 200, 250 and 300 % display scale) and Trevo loads the
image of exactly that size, so every icon (the program's trevo.ico and each
desktop's active and inactive one) holds those seven images, smallest first.
Each is drawn for its own pixel grid: the digits below are designed size by
size, stroke, height and place chosen so that they are bold and sit on whole
pixels, never one image scaled to another size.

An image is 32 bits per pixel: a BITMAPINFOHEADER with the height doubled,
BI_RGB, the BGRA rows bottom-up, then the 1-bit AND mask, set exactly where
the alpha is 0. The alpha is only ever 0 or 255 and a transparent pixel is
black, so an icon on screen is its image pixel for pixel on any task bar
colour, and a Windows that ignores the alpha draws the same through the mask.

The bytes written depend on nothing but this file, never on the date or
the machine, so --check can compare them with the committed icons; it also
reads every icon in res/ back and names any that lacks one of the sizes.
"""

import argparse
import os
import struct
import sys
from pathlib import Path

# Every icon holds one image of each of these sizes, in this order.
SIZES = (16, 20, 24, 28, 32, 40, 48)

DESKTOP_COUNT = 5

# Pixels are 0xAARRGGBB: opaque colours, and the one transparent value.
BLACK = 0xFF000000
BLUE = 0xFF0000FF
LIGHT_GREY = 0xFFC0C0C0
MAGENTA = 0xFFFF00FF
WHITE = 0xFFFFFFFF
TRANSPARENT = 0x00000000

# The active desktop's icon is a white face with a magenta digit, an inactive
# one a light grey face with a black digit, each in a one-pixel black frame.
# The end-to-end tests (tests/e2e/test_tray.py) tell the two apart by these
# colours, so every size keeps them: see desktop_icon_faults.
ACTIVE_FACE, ACTIVE_INK = WHITE, MAGENTA
INACTIVE_FACE, INACTIVE_INK = LIGHT_GREY, BLACK

# The desktop digits 1 to 5 for each size, side by side (the larger ones in
# two bands), each drawn for that grid and centred inside the frame. Width x
# height, and the width of a stem:
#   16:  6 x 10, 2     20: 10 x 14, 3     24: 12 x 18, 3     28: 14 x 20, 4
#   32: 16 x 24, 4     40: 20 x 30, 5     48: 24 x 36, 6
# The 16-pixel digits are the compact ones the icons have always had; from 20
# up they follow one design: bows rounded by steps cut for that grid, a pixel
# thinner where they turn than the stems, diagonals stepping a pixel a row and
# a pixel wider than the stems so that they look as heavy, and under an odd
# stem the 1 has an odd base, so that the two share a centre.
DIGITS = {
    16: """
        ..##..  .####.  .####.  ....##  ######
        .###..  ##..##  ##..##  ...###  ##....
        ####..  ....##  ....##  ..####  ##....
        ..##..  ....##  ....##  .##.##  #####.
        ..##..  ...##.  ..###.  ##..##  ....##
        ..##..  ..##..  ..###.  ##..##  ....##
        ..##..  .##...  ....##  ######  ....##
        ..##..  ##....  ....##  ######  ##..##
        ..##..  ######  ##..##  ....##  ##..##
        ######  ######  .####.  ....##  .####.
    """,
    20: """
        ....###...  ..######..  ..######..  ......###.  #########.
        ...####...  .########.  .########.  .....####.  #########.
        ..#####...  ####..####  ####..####  ....#####.  ###.......
        .##.###...  ###....###  .......###  ...######.  ###.......
        ....###...  .......###  ......####  ..#######.  ###.#####.
        ....###...  ......####  ...######.  .####.###.  #########.
        ....###...  .....####.  ...######.  ####..###.  ####..####
        ....###...  ....####..  ......####  ###...###.  .......###
        ....###...  ...####...  .......###  ##########  .......###
        ....###...  ..####....  .......###  ##########  .......###
        ....###...  .####.....  .......###  ......###.  .......###
        ....###...  ####......  ####..####  ......###.  ####..####
        ..#######.  ##########  .########.  ......###.  .########.
        ..#######.  ##########  ..######..  ......###.  ..######..
    """,
    24: """
        .....###....  ...######...  ...######...  ........###.  ###########.
        ....####....  .##########.  .##########.  .......####.  ###########.
        ...#####....  ####....####  ####....####  ......#####.  ###########.
        ..##.###....  ###......###  .........###  .....######.  ###.........
        .....###....  .........###  .........###  ....#######.  ###.........
        .....###....  .........###  .........###  ...####.###.  ###.######..
        .....###....  ........####  ........####  ..####..###.  ###########.
        .....###....  .......####.  ....#######.  .####...###.  ####....####
        .....###....  ......####..  ....######..  ####....###.  .........###
        .....###....  .....####...  ....#######.  ###.....###.  .........###
        .....###....  ....####....  ........####  ###.....###.  .........###
        .....###....  ...####.....  .........###  ############  .........###
        .....###....  ..####......  .........###  ############  .........###
        .....###....  .####.......  .........###  ############  .........###
        .....###....  ####........  .........###  ........###.  .........###
        ...#######..  ############  ####....####  ........###.  ####....####
        ...#######..  ############  .##########.  ........###.  .##########.
        ...#######..  ############  ...######...  ........###.  ...######...
    """,
    28: """
        .....####.....  ....######....  ....######....  .........####.  #############.
        ....#####.....  ..##########..  ..##########..  ........#####.  #############.
        ...######.....  .############.  .############.  .......######.  #############.
        ..#######.....  #####....#####  #####....#####  ......#######.  #############.
        ..##.####.....  ####......####  ####......####  .....########.  ####..........
        .....####.....  ####......####  ..........####  ....#########.  ####..........
        .....####.....  .........#####  .........#####  ...#####.####.  ####.######...
        .....####.....  ........#####.  ....#########.  ..#####..####.  ############..
        .....####.....  .......#####..  ....########..  .#####...####.  #############.
        .....####.....  ......#####...  ....########..  #####....####.  #####....#####
        .....####.....  .....#####....  ....#########.  ####.....####.  ..........####
        .....####.....  ....#####.....  .........#####  ####.....####.  ..........####
        .....####.....  ...#####......  ..........####  ##############  ..........####
        .....####.....  ..#####.......  ..........####  ##############  ..........####
        .....####.....  .#####........  ..........####  ##############  ..........####
        .....####.....  #####.........  ####......####  ##############  ####......####
        ...########...  ##############  #####....#####  .........####.  #####....#####
        ...########...  ##############  .############.  .........####.  .############.
        ...########...  ##############  ..##########..  .........####.  ..##########..
        ...########...  ##############  ....######....  .........####.  ....######....
    """,
    32: """
        ......####......  ....########....  ....########....  ..........####..  ###############.
        .....#####......  ..############..  ..############..  .........#####..  ###############.
        ....######......  .##############.  .##############.  ........######..  ###############.
        ...#######......  #####......#####  #####......#####  .......#######..  ###############.
        ..###.####......  ####........####  ####........####  ......########..  ####............
        ..##..####......  ####........####  ............####  .....#########..  ####............
        ......####......  ............####  ............####  ....#####.####..  ####............
        ......####......  ............####  ............####  ...#####..####..  ####.########...
        ......####......  ...........#####  ...........#####  ..#####...####..  ##############..
        ......####......  ..........#####.  .....##########.  .#####....####..  ###############.
        ......####......  .........#####..  .....#########..  #####.....####..  #####......#####
        ......####......  ........#####...  .....#########..  ####......####..  ............####
        ......####......  .......#####....  .....##########.  ####......####..  ............####
        ......####......  ......#####.....  ...........#####  ####......####..  ............####
        ......####......  .....#####......  ............####  ################  ............####
        ......####......  ....#####.......  ............####  ################  ............####
        ......####......  ...#####........  ............####  ################  ............####
        ......####......  ..#####.........  ............####  ################  ............####
        ......####......  .#####..........  ............####  ..........####..  ............####
        ......####......  #####...........  ####........####  ..........####..  ####........####
        ...##########...  ################  #####......#####  ..........####..  #####......#####
        ...##########...  ################  .##############.  ..........####..  .##############.
        ...##########...  ################  ..############..  ..........####..  ..############..
        ...##########...  ################  ....########....  ..........####..  ....########....
    """,
    40: """
        ........#####.......  .....##########.....  .....##########.....
        .......######.......  ...##############...  ...##############...
        ......#######.......  ..################..  ..################..
        .....########.......  .##################.  .##################.
        ....#########.......  ######........######  ######........######
        ...####.#####.......  #####..........#####  #####..........#####
        ...###..#####.......  #####..........#####  #####..........#####
        ...##...#####.......  #####..........#####  ...............#####
        ........#####.......  ...............#####  ...............#####
        ........#####.......  ...............#####  ...............#####
        ........#####.......  ..............######  ...............#####
        ........#####.......  .............######.  ..............######
        ........#####.......  ............######..  ......#############.
        ........#####.......  ...........######...  ......############..
        ........#####.......  ..........######....  ......############..
        ........#####.......  .........######.....  ......############..
        ........#####.......  ........######......  ......#############.
        ........#####.......  .......######.......  ..............######
        ........#####.......  ......######........  ...............#####
        ........#####.......  .....######.........  ...............#####
        ........#####.......  ....######..........  ...............#####
        ........#####.......  ...######...........  ...............#####
        ........#####.......  ..######............  ...............#####
        ........#####.......  .######.............  #####..........#####
        ........#####.......  ######..............  #####..........#####
        ....#############...  ####################  ######........######
        ....#############...  ####################  .##################.
        ....#############...  ####################  ..################..
        ....#############...  ####################  ...##############...
        ....#############...  ####################  .....##########.....

        .............#####..  ###################.
        ............######..  ###################.
        ...........#######..  ###################.
        ..........########..  ###################.
        .........#########..  ###################.
        ........##########..  #####...............
        .......###########..  #####...............
        ......######.#####..  #####...............
        .....######..#####..  #####...............
        ....######...#####..  #####.##########....
        ...######....#####..  #################...
        ..######.....#####..  ##################..
        .######......#####..  ###################.
        ######.......#####..  ######........######
        #####........#####..  ...............#####
        #####........#####..  ...............#####
        #####........#####..  ...............#####
        #####........#####..  ...............#####
        ####################  ...............#####
        ####################  ...............#####
        ####################  ...............#####
        ####################  ...............#####
        ####################  ...............#####
        .............#####..  #####..........#####
        .............#####..  #####..........#####
        .............#####..  ######........######
        .............#####..  .##################.
        .............#####..  ..################..
        .............#####..  ...##############...
        .............#####..  .....##########.....
    """,
    48: """
        .........######.........  ......############......  ......############......
        ........#######.........  ....################....  ....################....
        .......########.........  ...##################...  ...##################...
        ......#########.........  ..####################..  ..####################..
        .....##########.........  .######################.  .######################.
        ....###########.........  #######..........#######  #######..........#######
        ...#####.######.........  ######............######  ######............######
        ...####..######.........  ######............######  ######............######
        ...###...######.........  ######............######  ######............######
        ...##....######.........  ######............######  ..................######
        .........######.........  ..................######  ..................######
        .........######.........  ..................######  ..................######
        .........######.........  .................#######  ..................######
        .........######.........  ................#######.  .................#######
        .........######.........  ...............#######..  ........###############.
        .........######.........  ..............#######...  ........##############..
        .........######.........  .............#######....  ........##############..
        .........######.........  ............#######.....  ........##############..
        .........######.........  ...........#######......  ........##############..
        .........######.........  ..........#######.......  ........###############.
        .........######.........  .........#######........  .................#######
        .........######.........  ........#######.........  ..................######
        .........######.........  .......#######..........  ..................######
        .........######.........  ......#######...........  ..................######
        .........######.........  .....#######............  ..................######
        .........######.........  ....#######.............  ..................######
        .........######.........  ...#######..............  ..................######
        .........######.........  ..#######...............  ######............######
        .........######.........  .#######................  ######............######
        .........######.........  #######.................  ######............######
        ....################....  ########################  #######..........#######
        ....################....  ########################  .######################.
        ....################....  ########################  ..####################..
        ....################....  ########################  ...##################...
        ....################....  ########################  ....################....
        ....################....  ########################  ......############......

        ...............######...  #######################.
        ..............#######...  #######################.
        .............########...  #######################.
        ............#########...  #######################.
        ...........##########...  #######################.
        ..........###########...  #######################.
        .........############...  ######..................
        ........#############...  ######..................
        .......#######.######...  ######..................
        ......#######..######...  ######..................
        .....#######...######...  ######.############.....
        ....#######....######...  ####################....
        ...#######.....######...  #####################...
        ..#######......######...  ######################..
        .#######.......######...  #######################.
        #######........######...  #######..........#######
        ######.........######...  ..................######
        ######.........######...  ..................######
        ######.........######...  ..................######
        ######.........######...  ..................######
        ######.........######...  ..................######
        ########################  ..................######
        ########################  ..................######
        ########################  ..................######
        ########################  ..................######
        ########################  ..................######
        ########################  ..................######
        ...............######...  ######............######
        ...............######...  ######............######
        ...............######...  ######............######
        ...............######...  #######..........#######
        ...............######...  .######################.
        ...............######...  ..####################..
        ...............######...  ...##################...
        ...............######...  ....################....
        ...............######...  ......############......
    """,
}

# The program's icon: three boxes holding 1, 2 and 3 in blue, the first white
# and the others light grey, each in a one-pixel black frame, on a transparent
# ground. Per size: box width, box height, and the step from one box to the
# next; a step one less than the width makes neighbours share a side, a larger
# one leaves a gap. The row of boxes is centred.
BOXES = {
    16: (6, 9, 5),      # shared sides, 2 x 5 digits
    20: (7, 9, 6),      # shared sides, 3 x 5 digits (19 wide)
    24: (8, 10, 7),     # shared sides, 4 x 6 digits (22 wide)
    28: (10, 10, 9),    # shared sides, 4 x 6 digits
    32: (10, 10, 11),   # one-pixel gaps, 4 x 6 digits
    40: (12, 12, 14),   # two-pixel gaps, 6 x 8 digits in two-pixel strokes
    48: (14, 14, 17),   # three-pixel gaps, 8 x 10 digits in two-pixel strokes
}
# One drawing serves the 6 x 8 inside of a 24-pixel box and the 8 x 8 of a
# 28- or 32-pixel one.
BOX_DIGITS_4_BY_6 = """
        ..#.  .##.  ###.
        .##.  #..#  ...#
        ..#.  ...#  .##.
        ..#.  ..#.  ...#
        ..#.  .#..  ...#
        .###  ####  ###.
"""
BOX_DIGITS = {
    16: """
        .#  ##  ##
        ##  .#  .#
        .#  ##  ##
        .#  #.  .#
        .#  ##  ##
    """,
    20: """
        .#.  ##.  ###
        ##.  ..#  ..#
        .#.  .#.  .##
        .#.  #..  ..#
        ###  ###  ###
    """,
    24: BOX_DIGITS_4_BY_6,
    28: BOX_DIGITS_4_BY_6,
    32: BOX_DIGITS_4_BY_6,
    40: """
        ..##..  .####.  .####.
        .###..  ##..##  ##..##
        ####..  ....##  ....##
        ..##..  ...##.  ..###.
        ..##..  ..##..  ....##
        ..##..  .##...  ....##
        ..##..  ##....  ##..##
        ######  ######  .####.
    """,
    48: """
        ...##...  .######.  .######.
        ..###...  ##....##  ##....##
        .####...  ......##  ......##
        ...##...  .....##.  ......##
        ...##...  ....##..  ..#####.
        ...##...  ...##...  ..#####.
        ...##...  ..##....  ......##
        ...##...  .##.....  ......##
        .######.  ########  ##....##
        .######.  ########  .######.
    """,
}


def parse_glyphs(text, count):
    """Reads count drawings of '#' and '.' set side by side, in bands split by
    blank lines, left to right and band after band: a list of glyphs, each a
    list of rows of booleans."""
    glyphs = []
    for band in text.strip().split("\n\n"):
        rows = [line.split() for line in band.strip().splitlines()]
        for column in zip(*rows):
            if len({len(row) for row in column}) != 1 or any(set(row) - {"#", "."} for row in column):
                raise ValueError("a glyph must be a rectangle of '#' and '.'")
            glyphs.append([[cell == "#" for cell in row] for row in column])
        if len({len(row) for row in rows}) != 1:
            raise ValueError("every row of a band must hold the same glyphs")
    if len(glyphs) != count:
        raise ValueError(f"{len(glyphs)} glyphs where {count} were expected")
    return glyphs


class Picture:
    """A square image of 0xAARRGGBB pixels, rows top to bottom."""

    def __init__(self, size, colour):
        self.size = size
        self.pixels = [[colour] * size for _ in range(size)]

    def fill(self, left, top, width, height, colour):
        for y in range(top, top + height):
            for x in range(left, left + width):
                self.pixels[y][x] = colour

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
    face, ink = (ACTIVE_FACE, ACTIVE_INK) if active else (INACTIVE_FACE, INACTIVE_INK)
    picture = Picture(size, face)
    picture.frame(0, 0, size, size, BLACK)
    glyph = parse_glyphs(DIGITS[size], DESKTOP_COUNT)[digit - 1]
    picture.stamp(glyph, centred_origin(0, size, len(glyph[0])), centred_origin(0, size, len(glyph)), ink)
    return picture


def program_picture(size):
    """Three boxes holding 1, 2 and 3, the first white, on a transparent ground."""
    picture = Picture(size, TRANSPARENT)
    box_width, box_height, step = BOXES[size]
    first = centred_origin(0, size, 2 * step + box_width)
    top = centred_origin(0, size, box_height)
    for index, glyph in enumerate(parse_glyphs(BOX_DIGITS[size], 3)):
        left = first + index * step
        picture.fill(left, top, box_width, box_height, WHITE if index == 0 else LIGHT_GREY)
        picture.frame(left, top, box_width, box_height, BLACK)
        glyph_left = centred_origin(left + 1, box_width - 2, len(glyph[0]))
        glyph_top = centred_origin(top + 1, box_height - 2, len(glyph))
        picture.stamp(glyph, glyph_left, glyph_top, BLUE)
    return picture


def mask_stride(size):
    """Bytes in one row of the AND mask: one bit a pixel, rows padded to four bytes."""
    return (size + 31) // 32 * 4


def encode_image(picture):
    """One icon image: BITMAPINFOHEADER, BGRA rows, AND mask rows, both bottom-up."""
    size = picture.size
    colour_rows, mask_rows = [], []
    for row in reversed(picture.pixels):
        colour_rows.append(struct.pack(f"<{size}I", *row))  # 0xAARRGGBB little-endian is B, G, R, A
        bits = 0
        for pixel in row:
            bits = (bits << 1) | (pixel >> 24 == 0)
        bits <<= -size % 8  # the first pixel is the top bit of the first byte
        mask_rows.append(bits.to_bytes((size + 7) // 8, "big").ljust(mask_stride(size), b"\0"))
    bitmap = b"".join(colour_rows) + b"".join(mask_rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 32, 0, len(bitmap), 0, 0, 0, 0)
    return header + bitmap


def encode_icon(pictures):
    """ICONDIR, one ICONDIRENTRY per image, then the images in the same order."""
    images = [encode_image(picture) for picture in pictures]
    offset = 6 + 16 * len(images)
    directory = struct.pack("<HHH", 0, 1, len(images))
    for picture, image in zip(pictures, images):
        directory += struct.pack("<BBBBHHII", picture.size, picture.size, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    return directory + b"".join(images)


def all_drawings():
    """File name -> one picture per size in SIZES, for every icon the program's resources name."""
    drawings = {"trevo.ico": [program_picture(size) for size in SIZES]}
    for digit in range(1, DESKTOP_COUNT + 1):
        for active, state in ((False, "inactive"), (True, "active")):
            drawings[f"desktop{digit}_{state}.ico"] = [desktop_picture(size, digit, active) for size in SIZES]
    return drawings


# Reading the icons back, so that a fault in the drawings or in the file
# layout stops the build instead of reaching the notification area.

def decode_icon(contents):
    """Reads an icon back from its bytes alone: [(size, pixels)] in directory order.

    Raises ValueError where the file breaks the layout described at the top.
    """
    def need(condition, message):
        if not condition:
            raise ValueError(message)

    reserved, kind, count = struct.unpack_from("<HHH", contents, 0)
    need((reserved, kind) == (0, 1), "not an icon directory")
    images, end_of_last = [], 6 + 16 * count
    for entry in range(count):
        width, height, colours, zero, planes, bits, length, offset = struct.unpack_from(
            "<BBBBHHII", contents, 6 + 16 * entry)
        need(width == height and width != 0 and (colours, zero, planes, bits) == (0, 0, 1, 32),
             f"entry {entry} is not a 32-bit square")
        need(offset == end_of_last and offset + length <= len(contents),
             f"entry {entry} points outside the images")
        end_of_last = offset + length
        size = width
        header = struct.unpack_from("<IiiHHIIiiII", contents, offset)
        need(header == (40, size, 2 * size, 1, 32, 0, length - 40, 0, 0, 0, 0),
             f"image {entry} has a wrong bitmap header")
        colour_start = offset + 40
        mask_start = colour_start + 4 * size * size
        need(mask_start + mask_stride(size) * size == offset + length, f"image {entry} has a wrong length")
        pixels = []
        for y in range(size):
            row = size - 1 - y  # rows are stored bottom-up
            colours_row = list(struct.unpack_from(f"<{size}I", contents, colour_start + 4 * size * row))
            mask_row = int.from_bytes(contents[mask_start + mask_stride(size) * row:
                                               mask_start + mask_stride(size) * (row + 1)], "big")
            mask_bits = mask_stride(size) * 8
            for x, pixel in enumerate(colours_row):
                need(pixel >> 24 in (0, 255), f"image {entry} ({size}x{size}) is partly transparent at {x},{y}")
                need(pixel >> 24 == 255 or pixel == TRANSPARENT,
                     f"image {entry} ({size}x{size}) has a coloured transparent pixel at {x},{y}")
                masked = bool(mask_row >> (mask_bits - 1 - x) & 1)
                need(masked == (pixel == TRANSPARENT),
                     f"image {entry} ({size}x{size}): the mask disagrees with the alpha at {x},{y}")
            need(mask_row & ((1 << (mask_bits - size)) - 1) == 0, f"image {entry}: bits set past a mask row")
            pixels.append(colours_row)
        images.append((size, pixels))
    need(end_of_last == len(contents), "bytes left over after the last image")
    return images


def ink_box(pixels, ink):
    """(left, top, right, bottom) of the pixels of colour ink, or None."""
    spots = [(x, y) for y, row in enumerate(pixels) for x, colour in enumerate(row) if colour == ink]
    if not spots:
        return None
    xs, ys = [x for x, _ in spots], [y for _, y in spots]
    return min(xs), min(ys), max(xs), max(ys)


def desktop_icon_faults(name, digit, active, images):
    faults = []
    face, ink = (ACTIVE_FACE, ACTIVE_INK) if active else (INACTIVE_FACE, INACTIVE_INK)
    last_height = 0
    for size, pixels in images:
        where = f"{name} {size}x{size}"
        colours = {colour for row in pixels for colour in row}
        if any(colour >> 24 != 255 for colour in colours):
            faults.append(f"{where}: has transparent pixels")
        # What tests/e2e/test_tray.py takes for each state.
        if active and not {MAGENTA, WHITE} <= colours:
            faults.append(f"{where}: lacks magenta or white, which the end-to-end tests read as active")
        if not active and (LIGHT_GREY not in colours or MAGENTA in colours):
            faults.append(f"{where}: lacks light grey or shows magenta, the end-to-end tests' inactive")
        edge = pixels[0] + pixels[-1] + [row[0] for row in pixels] + [row[-1] for row in pixels]
        if set(edge) != {BLACK}:
            faults.append(f"{where}: the frame is not black all round")
        inside = [row[1:-1] for row in pixels[1:-1]]
        if {colour for row in inside for colour in row} != {face, ink}:
            faults.append(f"{where}: colours other than the face and the digit inside the frame")
        box = ink_box(inside, ink)
        if box is None:
            continue
        left, top, right, bottom = box
        margins = (left, len(inside) - 1 - right, top, len(inside) - 1 - bottom)
        if abs(margins[0] - margins[1]) > 1 or abs(margins[2] - margins[3]) > 1:
            faults.append(f"{where}: digit {digit} is off centre (margins {margins})")
        if min(margins) < 2:
            faults.append(f"{where}: digit {digit} crowds the frame")
        if bottom - top + 1 <= last_height:
            faults.append(f"{where}: digit {digit} is no taller than at the size below")
        last_height = bottom - top + 1
    return faults


def program_icon_faults(name, images):
    faults = []
    for size, pixels in images:
        where = f"{name} {size}x{size}"
        colours = {colour for row in pixels for colour in row}
        if colours != {BLACK, WHITE, LIGHT_GREY, BLUE, TRANSPARENT}:
            faults.append(f"{where}: draws in colours {sorted(f'{colour:08X}' for colour in colours)}")
        white, grey = ink_box(pixels, WHITE), ink_box(pixels, LIGHT_GREY)
        if white and grey and white[2] >= grey[0]:
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
        sizes = [size for size, _ in images]
        if sizes != list(SIZES):
            faults.append(f"{name}: holds sizes {sizes}, not {list(SIZES)}")
            continue
        for picture, (size, pixels) in zip(drawings[name], images):
            if pixels != picture.pixels:
                faults.append(f"{name} {size}x{size}: the file does not hold the picture drawn")
        if name == "trevo.ico":
            faults += program_icon_faults(name, images)
            continue
        digit, active = int(name[len("desktop")]), name.endswith("_active.ico")
        faults += desktop_icon_faults(name, digit, active, images)
        ink = ACTIVE_INK if active else INACTIVE_INK
        for size, pixels in images:
            # Inside the frame, which is black like an inactive digit.
            shape = tuple(tuple(colour == ink for colour in row[1:-1]) for row in pixels[1:-1])
            digit_shapes.setdefault(size, {}).setdefault(digit, {})[active] = shape
    for size, digits in digit_shapes.items():
        if sorted(digits) != list(range(1, DESKTOP_COUNT + 1)) or any(len(s) != 2 for s in digits.values()):
            faults.append(f"{size}x{size}: an active or inactive icon is missing for some desktop")
            continue
        if any(shapes[True] != shapes[False] for shapes in digits.values()):
            faults.append(f"{size}x{size}: a desktop's active and inactive icons show different digits")
        if len({shapes[True] for shapes in digits.values()}) != len(digits):
            faults.append(f"{size}x{size}: two desktops show the same digit shape")
    return faults


def directory_sizes(contents):
    """The sizes the icon directory lists, in its order (a 0 stands for 256)."""
    _, _, count = struct.unpack_from("<HHH", contents, 0)
    return [struct.unpack_from("<B", contents, 6 + 16 * entry)[0] or 256 for entry in range(count)]


def sizes_faults(folder, names):
    """Reads each icon in folder back and names those that do not hold every size, in order, as drawn here."""
    faults = []
    for name in names:
        path = folder / name
        if not path.is_file():
            continue
        contents = path.read_bytes()
        try:
            sizes = directory_sizes(contents)
            if sizes != list(SIZES):
                faults.append(f"{path}: holds sizes {sizes}, not {list(SIZES)}")
            decode_icon(contents)
        except (ValueError, struct.error) as error:
            faults.append(f"{path}: unreadable: {error}")
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
    problems += sizes_faults(folder, sorted(icons))
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
