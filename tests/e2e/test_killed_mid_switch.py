"""Trevo killed in the middle of a switch, under Wine: with WindowsFirst the
windows have left for desktop 3 while its large photo is still being fitted
(at its own size, and stretched); without it the photo is fitted before any
window moves. Either way the record names where the windows are at the kill,
and the next start brings every window back to where it started."""

import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from test_never_lost import DESK_VALUE, NeverLostCase, dword, shifted  # noqa: E402
from trevo_e2e import pictures  # noqa: E402
from trevo_e2e.settings import settings_text  # noqa: E402

START_TIMEOUT = 60
CHANGE_TIMEOUT = 60
SCREEN_WIDTH = 1024
DESKTOP_3_CELL = 0  # the icons are added from the last desktop down
PHOTO_SIZE = (8000, 6000)  # seconds of decoding and fitting under Wine
WINDOWS = [
    ("Plain One", "ProbePlain", 100, 100, 300, 200, "normal"),  # desktop 1
    ("Plain Two", "ProbePlain", SCREEN_WIDTH + 300, 300, 250, 150, "normal"),  # desktop 2
]


class KilledMidSwitchTest(NeverLostCase):
    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.photo = pictures.photo(cls.work_dir, *PHOTO_SIZE)

    def start(self, keep_size, options):
        self.windows = self.start_probe(WINDOWS)
        wallpapers = ("", "", self.prefix.windows_path(self.photo), "", "")
        settings = settings_text(desktops_max="3", keep_size=keep_size, width="6000", height="4500",
                                 wallpapers=wallpapers)
        trevo = self.start_trevo(settings + "[Options]\n" + "".join(f"{name}=1\n" for name in options))
        self.wait_for_icons(3)
        self.wait(lambda: self.states(3) == ["active", "inactive", "inactive"], START_TIMEOUT, "desktop 1 active")
        self.started = self.windows.rects()
        self.on_3 = {title: shifted(rect, -2 * SCREEN_WIDTH) for title, rect in self.started.items()}
        return trevo

    def assertStillFitting(self, what):
        # Desktop 1 has no picture: an empty wallpaper is the old desktop's.
        self.assertEqual(self.wintool.wallpaper(), "", f"the photo was set before the kill: {what}")

    def start_again_and_find_every_window_where_it_started(self):
        self.start_trevo()
        self.wait(lambda: self.windows.rects() == self.started, START_TIMEOUT,
                  "every window back where it started after the new start")
        self.wait_for_icons(3)
        self.assertEqual(self.record()[DESK_VALUE], dword(1))

    def kill_while_the_photo_is_fitted_after_the_windows_moved(self, keep_size):
        trevo = self.start(keep_size, ("WindowsFirst",))
        self.click_tray_icon(DESKTOP_3_CELL)
        self.wait(lambda: self.windows.rects() == self.on_3, CHANGE_TIMEOUT, "the windows gone to desktop 3",
                  interval=0)
        trevo.kill()
        self.assertStillFitting("the windows moved too late to catch the fitting")
        self.assertEqual(self.record()[DESK_VALUE], dword(3), "the record does not name the windows' desktop")
        self.assertEqual(self.windows.rects(), self.on_3, "a window moved after the kill")
        self.start_again_and_find_every_window_where_it_started()

    def test_killed_while_fitting_the_photo_at_its_own_size_after_the_windows_moved(self):
        self.kill_while_the_photo_is_fitted_after_the_windows_moved("0")

    def test_killed_while_fitting_the_photo_stretched_after_the_windows_moved(self):
        self.kill_while_the_photo_is_fitted_after_the_windows_moved("-1")

    def test_killed_while_fitting_the_photo_before_the_windows_move(self):
        trevo = self.start("0", ())
        bitmap = self.scratch.file("Trevo.bmp")
        self.click_tray_icon(DESKTOP_3_CELL)
        # Killed as the fitted photo is being written, the last step before it is set.
        self.wait(lambda: os.path.exists(bitmap), CHANGE_TIMEOUT, "Trevo.bmp begun", interval=0)
        trevo.kill()
        self.assertStillFitting("the bitmap was written too fast to catch")
        self.assertEqual(self.windows.rects(), self.started, "a window moved before the photo was set")
        self.assertEqual(self.record()[DESK_VALUE], dword(1))
        self.start_again_and_find_every_window_where_it_started()


if __name__ == "__main__":
    unittest.main(verbosity=2)
