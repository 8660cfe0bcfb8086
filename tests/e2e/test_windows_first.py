"""WindowsFirst and KeepWallpapers under Wine. With both, a click moves the
windows before a large photo is fitted, and the wallpaper then becomes the
desktop's kept bitmap in the user's own folder; a later visit hands Windows
that bitmap again and writes nothing. Without WindowsFirst the wallpaper still
comes first.

The order is seen from outside: the probe window's place and the wallpaper
Windows reports are read in turn, as fast as wintool answers. Each changes
once in a switch, so a reading of one that is followed by a reading of the
other proves a moment at which both held."""

import os
import shutil
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from test_tray import icon_state  # noqa: E402
from trevo_e2e import pictures  # noqa: E402
from trevo_e2e.case import ProbeTestCase  # noqa: E402
from trevo_e2e.settings import settings_text  # noqa: E402

START_TIMEOUT = 60
CHANGE_TIMEOUT = 120
DESKTOPS = 2
DESKTOP_1_CELL, DESKTOP_2_CELL = 1, 0  # the icons are added from the last desktop down
# Kept at its own size, a photo this large takes seconds to decode and write
# (144 MB), several rounds of readings even on a busy machine; at 4000 x 3000
# it took about two rounds, too few to be sure of a reading in between.
PHOTO_SIZE = (8000, 6000)
WINDOW = ("Plain One", "ProbePlain", 100, 100, 300, 200, "normal")
TITLE = WINDOW[0]
SHELL_FOLDERS = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders"
KEPT_BITMAP = "Desktop2.bmp"
KEPT_NOTE = "Wallpapers.ini"

WINDOW_READ, WALLPAPER_READ = "window", "wallpaper"


def seen_in_order(readings, first, then):
    """True when a reading that first accepts comes before one that then accepts."""
    seen_first = False
    for reading in readings:
        if seen_first and then(reading):
            return True
        seen_first = seen_first or first(reading)
    return False


def first_time(readings, accept):
    """Seconds from the click to the first reading accepted, or None."""
    return next((reading[0] for reading in readings if accept(reading)), None)


class WindowsFirstTest(ProbeTestCase):
    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.photo = pictures.photo(cls.work_dir, *PHOTO_SIZE)
        local = cls.prefix.values(SHELL_FOLDERS)["Local AppData"][1]
        cls.kept_folder = os.path.join(cls.prefix.unix_path(local), "Trevo")
        cls.kept_bitmap = os.path.join(cls.kept_folder, KEPT_BITMAP)
        cls.kept_windows_path = cls.prefix.windows_path(cls.kept_bitmap).lower()

    def setUp(self):
        super().setUp()
        # A bitmap kept by an earlier test would spare the fitting whose time the order is seen in.
        self.forget_kept_bitmaps()
        self.addCleanup(self.forget_kept_bitmaps)
        self.readings_log = self.trevo_log.replace(".trevo.log", ".readings.log")
        open(self.readings_log, "wb").close()

    def forget_kept_bitmaps(self):
        shutil.rmtree(self.kept_folder, ignore_errors=True)

    def kept_stamps(self):
        """name -> (size, last write in ns) of each file in the kept folder."""
        stamps = {}
        for name in sorted(os.listdir(self.kept_folder)):
            info = os.stat(os.path.join(self.kept_folder, name))
            stamps[name] = (info.st_size, info.st_mtime_ns)
        return stamps

    # --- one run -----------------------------------------------------------
    def start(self, options):
        self.probe = self.start_probe([WINDOW])
        settings = settings_text(desktops_max=str(DESKTOPS), keep_size="0",
                                 wallpapers=("", self.prefix.windows_path(self.photo), "", "", ""))
        self.start_trevo(settings + "[Options]\n" + "".join(f"{name}=1\n" for name in options))
        self.wait(lambda: self.drawn_tray_cells(DESKTOPS) == [True] * DESKTOPS, START_TIMEOUT, "Trevo's two icons")
        self.wait(lambda: self.icon_states() == ["active", "inactive"], START_TIMEOUT, "desktop 1 active")
        # Desktop 1 has no picture: its start-up selection clears whatever an earlier run set.
        self.wait(lambda: self.wintool.wallpaper() == "", START_TIMEOUT, "the wallpaper cleared at start-up")
        self.assertEqual(self.probe.rects()[TITLE], self.probe.normal_rect(TITLE), "the window moved at start-up")

    def icon_states(self):
        picture = self.screenshot()
        return [icon_state(picture, cell) for cell in (DESKTOP_1_CELL, DESKTOP_2_CELL)]

    def moved(self, reading):
        _, kind, value = reading
        return kind == WINDOW_READ and value == self.probe.normal_rect(TITLE, -self.screen_size[0])

    def in_place(self, reading):
        _, kind, value = reading
        return kind == WINDOW_READ and value == self.probe.normal_rect(TITLE)

    def kept_wallpaper(self, reading):
        _, kind, value = reading
        return kind == WALLPAPER_READ and value.lower() == self.kept_windows_path

    @staticmethod
    def no_wallpaper(reading):
        _, kind, value = reading
        return kind == WALLPAPER_READ and value == ""

    def click_and_read(self, cell, window_there, wallpaper_there, what):
        """Clicks the icon and reads the window's place, then the wallpaper, in
        turn until both readings of a round are there; the readings in order,
        each (seconds from the click, WINDOW_READ or WALLPAPER_READ, value).
        They are also written to the logs folder."""
        readings = []
        clicked = time.monotonic()

        def read():
            rect = self.probe.rects()[TITLE]
            readings.append((time.monotonic() - clicked, WINDOW_READ, rect))
            wallpaper = self.wintool.wallpaper()
            readings.append((time.monotonic() - clicked, WALLPAPER_READ, wallpaper))
            return window_there(readings[-2]) and wallpaper_there(readings[-1])

        self.click_tray_icon(cell)
        try:
            self.wait(read, CHANGE_TIMEOUT, what, interval=0)
        finally:
            with open(self.readings_log, "a", encoding="utf-8") as log:
                log.write(f"{what}\n" + "".join(f"{at:7.3f} s  {kind:9}  {value}\n" for at, kind, value in readings))
        return readings

    def visit_desktop_2(self, what):
        return self.click_and_read(DESKTOP_2_CELL, self.moved, self.kept_wallpaper, what)

    def describe(self, readings):
        def seconds(accept):
            at = first_time(readings, accept)
            return "never" if at is None else f"{at:.2f} s after the click"
        return (f"{len(readings) // 2} rounds of readings; the window first seen moved {seconds(self.moved)}, "
                f"the kept wallpaper first seen {seconds(self.kept_wallpaper)}")

    def assertPhotoKept(self):
        self.assertTrue(os.path.isfile(self.kept_bitmap), f"{KEPT_BITMAP} was not kept")
        size = subprocess.run(["identify", "-format", "%w %h", self.kept_bitmap], capture_output=True, text=True,
                              check=True, timeout=60).stdout
        self.assertEqual(size, "%d %d" % PHOTO_SIZE, f"{KEPT_BITMAP} is not the photo at its own size")
        # Desktop 1 has no picture and keeps no bitmap.
        self.assertEqual(sorted(os.listdir(self.kept_folder)), [KEPT_BITMAP, KEPT_NOTE])
        self.assertFalse(os.path.exists(self.scratch.file("Trevo.bmp")), "Trevo.bmp was written as well")

    # --- the tests -----------------------------------------------------------
    def test_windows_move_before_the_photo_is_fitted_and_a_later_visit_writes_nothing(self):
        self.start(("WindowsFirst", "KeepWallpapers"))
        readings = self.visit_desktop_2("desktop 2 with its kept wallpaper")
        self.assertTrue(seen_in_order(readings, self.moved, self.no_wallpaper),
                        "the window was never seen moved while the old wallpaper was still set: "
                        + self.describe(readings))
        self.assertPhotoKept()
        kept = self.kept_stamps()

        self.click_and_read(DESKTOP_1_CELL, self.in_place, self.no_wallpaper, "desktop 1 without wallpaper")
        readings = self.visit_desktop_2("desktop 2 again")
        self.assertEqual(self.kept_stamps(), kept, f"the kept files were written again ({self.describe(readings)})")
        self.assertFalse(os.path.exists(self.scratch.file("Trevo.bmp")), "Trevo.bmp was written at the second visit")

    def test_without_windows_first_no_window_moves_before_the_wallpaper_is_set(self):
        self.start(("KeepWallpapers",))
        readings = self.visit_desktop_2("desktop 2 with its kept wallpaper")
        # Begun before the wallpaper changed, the readings span the fitting: a
        # window moved before it would be seen here as it is with WindowsFirst.
        self.assertTrue(self.no_wallpaper(readings[1]),
                        "the wallpaper was set before the first reading: " + self.describe(readings))
        self.assertFalse(seen_in_order(readings, self.moved, self.no_wallpaper),
                         "the window moved while the old wallpaper was still set: " + self.describe(readings))
        self.assertPhotoKept()


if __name__ == "__main__":
    unittest.main(verbosity=2)
