"""Windows 10 under Wine: Trevo, whose manifest declares Windows 10, is told
10.0 and must treat it as the XP family: with the shipped Trevo.ini the shell
windows of Windows 10 and 11 stay where they are, and the icons are added
from the highest desktop down."""

import os
import shutil
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from test_tray import icon_state  # noqa: E402
from trevo_e2e import probe, screen  # noqa: E402
from trevo_e2e.case import WineTestCase  # noqa: E402

START_TIMEOUT = 60
CHANGE_TIMEOUT = 20
SHIPPED_SETTINGS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "res", "Trevo.ini")
SCREEN_WIDTH = 1024
DESKTOPS = 3  # the shipped file's count

# The shell windows of Windows 10 and 11 that only the XP section names, and
# one window of an ordinary program.
SHELL_WINDOWS = [
    ("Start", "Windows.UI.Core.CoreWindow", 100, 100, 300, 200, "normal"),
    ("Overflow", "NotifyIconOverflowWindow", 150, 320, 200, 100, "normal"),
    ("Overflow 11", "TopLevelWindowForOverflowXamlIsland", 420, 320, 200, 100, "normal"),
]
PLAIN = ("Plain One", "ProbePlain", 450, 80, 300, 200, "normal")


class Windows10Test(WineTestCase):
    windows_version = "win10"

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        probe.send_to_desktop(cls.prefix)

    def states(self):
        """Desktop 1's icon state first; the XP family adds the icons from the
        highest number down, so desktop n sits in cell DESKTOPS - n."""
        picture = self.screenshot()
        return [icon_state(picture, DESKTOPS - desk) for desk in range(1, DESKTOPS + 1)]

    def test_the_shipped_settings_keep_the_shell_windows_of_windows_10(self):
        told = self.wintool.version()
        self.assertEqual((told["major"], told["minor"], told["build"]), (10, 0, 18362),
                         "Wine does not present itself as Windows 10 to a program that declares it")
        shutil.copyfile(SHIPPED_SETTINGS, self.scratch.file("Trevo.ini"))
        windows = self.start_probe(SHELL_WINDOWS + [PLAIN])
        start = windows.rects()
        self.start_trevo()
        # The probe's task-bar buttons reach the cells left of Trevo's icons: look at three.
        self.wait(lambda: self.drawn_tray_cells(DESKTOPS) == [True] * DESKTOPS, START_TIMEOUT, "Trevo's three icons")
        # Added from 1 up, desktop 1's active icon would be the rightmost one.
        self.wait(lambda: self.states() == ["active", "inactive", "inactive"], CHANGE_TIMEOUT,
                  "desktop 1 active in the leftmost of the three cells (icons added from desktop 3 down)")

        self.click_tray_icon(1, screen.LEFT)  # desktop 2, the middle cell in either order
        self.wait(lambda: windows.rects()[PLAIN[0]] == windows.normal_rect(PLAIN[0], -SCREEN_WIDTH), CHANGE_TIMEOUT,
                  "the plain window moved one screen to the left")
        # The moves of a switch are one batch: had the shell windows moved, they would have by now.
        after = windows.rects()
        for title, *_ in SHELL_WINDOWS:
            self.assertEqual(after[title], start[title], f"{title} moved although the XP section names its class")
        self.assertEqual(self.states(), ["inactive", "active", "inactive"])

        self.click_tray_icon(DESKTOPS - 1, screen.LEFT)  # desktop 1
        self.wait(lambda: windows.rects() == start, CHANGE_TIMEOUT, "the plain window back where it was")


if __name__ == "__main__":
    unittest.main(verbosity=2)
