"""Photos and transparent pictures as wallpapers under Wine: a JPEG kept at
its own size comes out in Trevo.bmp as ImageMagick decodes it, a PNG's
transparent parts lie on white, and each switch replaces Trevo.bmp whole,
leaving nothing else behind in the program folder."""

import os
import re
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from trevo_e2e import screen  # noqa: E402
from trevo_e2e.case import WineTestCase  # noqa: E402
from trevo_e2e.settings import settings_text  # noqa: E402

START_TIMEOUT = 60
CHANGE_TIMEOUT = 30


def magick(*args):
    return subprocess.run(["convert", *args], check=True, capture_output=True, text=True, timeout=120).stdout


def pixel(path, x, y):
    """The (r, g, b) of one pixel, 8 bits each."""
    text = magick(path, "-crop", f"1x1+{x}+{y}", "-depth", "8", "txt:-")
    found = re.search(r"#([0-9A-Fa-f]{6})", text)
    return tuple(int(found.group(1)[k:k + 2], 16) for k in (0, 2, 4))


def psnr(ours, theirs):
    done = subprocess.run(["compare", "-metric", "PSNR", ours, theirs, "null:"], capture_output=True, text=True,
                          timeout=120)
    found = re.match(r"\s*([0-9.]+|inf)", done.stderr)
    return float(found.group(1)) if found else 0.0


class WallpaperPicturesTest(WineTestCase):
    def bitmap_size(self, path):
        return subprocess.run(["identify", "-format", "%w %h", path], capture_output=True, text=True, check=True,
                              timeout=60).stdout

    def test_photos_and_transparent_pictures_become_whole_bitmaps(self):
        photo, decoded = self.scratch.file("photo.jpg"), self.scratch.file("decoded.png")
        magick("-seed", "3", "-size", "320x240", "plasma:fractal", "-quality", "90", photo)
        magick(photo, decoded)
        # Left half fully transparent, right half opaque red.
        glass = self.scratch.file("glass.png")
        magick("-size", "64x48", "xc:none", "-fill", "red", "-draw", "rectangle 32,0 63,47", "PNG32:" + glass)
        bitmap = os.path.join(self.scratch.path, "Trevo.bmp")
        self.start_trevo(settings_text(desktops_max="2", keep_size="0", no_change=("class(Shell_TrayWnd)",),
                                       wallpapers=(self.scratch.windows_path("photo.jpg"),
                                                   self.scratch.windows_path("glass.png"), "", "", "")))
        # The first selection makes desktop 1 active: the photo at its own size.
        self.wait(lambda: os.path.isfile(bitmap) and self.bitmap_size(bitmap) == "320 240", START_TIMEOUT,
                  "Trevo.bmp made from the photo")
        self.assertGreater(psnr(bitmap, decoded), 40.0, "Trevo.bmp is not the photo as decoded")

        self.click_tray_icon(0, screen.LEFT)  # desktop 2 (icons are added from 2 down)
        self.wait(lambda: self.bitmap_size(bitmap) == "64 48", CHANGE_TIMEOUT, "Trevo.bmp made from the PNG")
        self.assertEqual(pixel(bitmap, 8, 24), (255, 255, 255), "a transparent part does not lie on white")
        self.assertEqual(pixel(bitmap, 48, 24), (255, 0, 0), "an opaque part lost its colour")
        left = sorted(name for name in os.listdir(self.scratch.path) if name.lower().endswith(".tmp"))
        self.assertEqual(left, [], "a temporary file was left in the program folder")


if __name__ == "__main__":
    unittest.main()
