"""What is on the virtual screen, and the mouse: screenshots, crops, pixel
colours, clicks, and where the notification area puts its icons."""

import os
import subprocess

ICON_SIZE = 16  # the small icon size at 96 dots per inch
# Wine draws each notification icon in a square of the small icon size, with
# this much between neighbours; the first icon added sits this far in from
# the screen's right and bottom edges, each later one a cell further left.
TRAY_ICON_GAP = 4
TRAY_EDGE_INSET = 2

LEFT, MIDDLE, RIGHT = 1, 2, 3  # X button numbers


class Picture:
    """An RGB image held in memory (read through ImageMagick as binary PPM)."""

    def __init__(self, width, height, rgb):
        if len(rgb) != width * height * 3:
            raise ValueError("pixel data does not match the size")
        self.width = width
        self.height = height
        self._rgb = rgb

    @classmethod
    def from_ppm(cls, data):
        fields = []
        position = 0
        while len(fields) < 4:  # magic, width, height, maximum value
            while data[position:position + 1].isspace():
                position += 1
            if data[position:position + 1] == b"#":
                position = data.index(b"\n", position) + 1
                continue
            end = position
            while not data[end:end + 1].isspace():
                end += 1
            fields.append(data[position:end])
            position = end
        if fields[0] != b"P6" or fields[3] != b"255":
            raise ValueError("not an 8-bit binary PPM")
        width, height = int(fields[1]), int(fields[2])
        return cls(width, height, data[position + 1:position + 1 + width * height * 3])

    @classmethod
    def load(cls, path):
        return cls.from_ppm(subprocess.run(["convert", path, "-depth", "8", "ppm:-"], check=True,
                                           capture_output=True, timeout=60).stdout)

    def pixel(self, x, y):
        if not (0 <= x < self.width and 0 <= y < self.height):
            raise IndexError(f"pixel {x},{y} is outside {self.width}x{self.height}")
        offset = (y * self.width + x) * 3
        return tuple(self._rgb[offset:offset + 3])

    def crop(self, x, y, width, height):
        if x < 0 or y < 0 or x + width > self.width or y + height > self.height:
            raise IndexError(f"{width}x{height}+{x}+{y} is outside {self.width}x{self.height}")
        rows = [self._rgb[((y + row) * self.width + x) * 3:((y + row) * self.width + x + width) * 3]
                for row in range(height)]
        return Picture(width, height, b"".join(rows))

    def colours(self):
        """The set of distinct colours, as (r, g, b) tuples."""
        return {tuple(self._rgb[i:i + 3]) for i in range(0, len(self._rgb), 3)}

    def to_ppm(self):
        return b"P6\n%d %d\n255\n" % (self.width, self.height) + self._rgb

    def save(self, path):
        """Writes the picture; the format follows the file name (.png, ...)."""
        os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
        subprocess.run(["convert", "ppm:-", path], input=self.to_ppm(), check=True, timeout=60)


def screenshot(display, path=None):
    """The whole screen of the X display; also saved to path when given."""
    data = subprocess.run(["import", "-display", display, "-window", "root", "-depth", "8", "ppm:-"],
                          check=True, capture_output=True, timeout=60).stdout
    picture = Picture.from_ppm(data)
    if path is not None:
        picture.save(path)
    return picture


def crop_file(source, x, y, width, height, target):
    """Cuts a rectangle out of one image file into another."""
    subprocess.run(["convert", source, "-crop", f"{width}x{height}+{x}+{y}", "+repage", target],
                   check=True, timeout=60)


def _xdotool(display, *args):
    env = dict(os.environ, DISPLAY=display)
    subprocess.run(["xdotool", *map(str, args)], env=env, check=True, stdin=subprocess.DEVNULL,
                   capture_output=True, timeout=30)


def move_mouse(display, x, y):
    _xdotool(display, "mousemove", x, y)


def click(display, x, y, button=LEFT, repeat=1):
    """Moves the pointer to x, y and clicks there. Clicks reach Wine windows
    (unlike xdotool's key events on a bare X server)."""
    _xdotool(display, "mousemove", x, y, "click", "--repeat", repeat, button)


def tray_icon_box(k, screen_width=1024, screen_height=768, size=ICON_SIZE):
    """(x, y, width, height) of the k-th icon added to the notification area
    (k = 0 for the first one, which is rightmost), for icons of size pixels."""
    x = screen_width - TRAY_EDGE_INSET - size - (size + TRAY_ICON_GAP) * k
    y = screen_height - TRAY_EDGE_INSET - size
    return x, y, size, size


def tray_icon_centre(k, screen_width=1024, screen_height=768, size=ICON_SIZE):
    x, y, width, height = tray_icon_box(k, screen_width, screen_height, size)
    return x + width // 2, y + height // 2


def tray_icon(picture, k, size=ICON_SIZE):
    """The size x size picture in the k-th notification-area cell."""
    return picture.crop(*tray_icon_box(k, picture.width, picture.height, size))


def tray_cell_drawn(picture, k, size=ICON_SIZE):
    """True when something is drawn in the k-th cell: an empty cell is the
    task bar's flat colour, an icon is not."""
    return len(tray_icon(picture, k, size).colours()) > 1
