"""Trevo's .ico files read back, so that a test can hold a notification cell
on screen against the image the program loads, pixel for pixel.

Reads the icons tools/make_icons.py writes: square images of 32 bits per
pixel (a BITMAPINFOHEADER with the height doubled, BI_RGB, BGRA rows stored
bottom-up, then the 1-bit AND mask). Other bit depths and PNG-compressed
images are refused with a ValueError."""

import struct

_ENTRY = "<BBBBHHII"  # width, height, colours, reserved, planes, bits per pixel, bytes, offset
_HEADER = "<IiiHHIIiiII"  # BITMAPINFOHEADER


def _entries(contents):
    reserved, kind, count = struct.unpack_from("<HHH", contents, 0)
    if (reserved, kind) != (0, 1):
        raise ValueError("not an icon file")
    entries = []
    for index in range(count):
        width, height, _, _, _, _, length, offset = struct.unpack_from(_ENTRY, contents, 6 + 16 * index)
        # A 0 in the directory stands for 256 pixels.
        entries.append((width or 256, height or 256, length, offset))
    return entries


def _read(path):
    with open(path, "rb") as file:
        return file.read()


def icon_sizes(path):
    """The sizes of the square images in the icon file, in directory order."""
    return [width for width, height, _, _ in _entries(_read(path)) if width == height]


def icon_image(path, size):
    """The size x size image of the icon file: rows top to bottom, each pixel
    0xAARRGGBB. Raises KeyError when the file holds no image of that size."""
    contents = _read(path)
    for width, height, length, offset in _entries(contents):
        if (width, height) == (size, size):
            return _decode(contents[offset:offset + length], size)
    raise KeyError(f"{path} holds no {size}x{size} image")


def _decode(image, size):
    if image[:8] == b"\x89PNG\r\n\x1a\n":
        raise ValueError(f"the {size}x{size} image is a PNG, not a bitmap")
    header_size, width, height, _, bits, compression = struct.unpack_from(_HEADER, image, 0)[:6]
    if (width, height) != (size, 2 * size):
        raise ValueError(f"the {size}x{size} image's bitmap is {width}x{height}")
    if (bits, compression) != (32, 0):
        raise ValueError(f"the {size}x{size} image has {bits} bits per pixel, compression {compression}")
    colour_start = header_size
    mask_stride = (size + 31) // 32 * 4
    mask_start = colour_start + 4 * size * size
    if len(image) < mask_start + mask_stride * size:
        raise ValueError(f"the {size}x{size} image is cut short")
    rows = [list(struct.unpack_from(f"<{size}I", image, colour_start + 4 * size * row))
            for row in reversed(range(size))]
    if not any(pixel >> 24 for row in rows for pixel in row):
        # No alpha at all: the image is an old-style one, and the AND mask
        # says which pixels are transparent.
        for y, row in enumerate(rows):
            mask_row = image[mask_start + mask_stride * (size - 1 - y):]
            for x in range(size):
                if not mask_row[x // 8] & (0x80 >> (x % 8)):
                    row[x] |= 0xFF000000
    return rows
