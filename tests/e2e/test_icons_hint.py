"""Windows 11 under Wine: with the version Windows 11 writes in the registry
(10.0, build 22631), Wine tells Trevo it runs on Windows 11. With IconsHint=1
the first start shows one notification from desktop 1's icon and notes that
it did; the next start shows none."""

import os
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from trevo_e2e.case import WineTestCase  # noqa: E402
from trevo_e2e.settings import settings_text  # noqa: E402

START_TIMEOUT = 60
BALLOON_TIMEOUT = 20
QUIET_SECONDS = 5  # how long a second start is watched for a notification
VERSION_KEY = r"HKLM\Software\Microsoft\Windows NT\CurrentVersion"
WINDOWS_11 = [("CurrentVersion", "REG_SZ", "10.0"), ("CurrentBuild", "REG_SZ", "22631"),
              ("CurrentBuildNumber", "REG_SZ", "22631"), ("CSDVersion", "REG_SZ", ""),
              ("CurrentMajorVersionNumber", "REG_DWORD", "10"), ("CurrentMinorVersionNumber", "REG_DWORD", "0")]
NOTICE_KEY = r"HKCU\Software\Trevo Keys"
HINT_VALUE = "IconsHintShown"
SETTINGS = settings_text(desktops_max="2") + "[Options]\nIconsHint=1\n"


class IconsHintTest(WineTestCase):
    def setUp(self):
        super().setUp()
        # Without a version of its own configured, Wine reads the one the registry holds.
        before = self.prefix.values(VERSION_KEY) or {}
        self.addCleanup(self.restore_version, before)
        for name, kind, data in WINDOWS_11:
            self.prefix.set_value(VERSION_KEY, name, data, kind)
        self.prefix.delete_value(NOTICE_KEY, HINT_VALUE)
        self.addCleanup(self.prefix.delete_value, NOTICE_KEY, HINT_VALUE)

    def restore_version(self, before):
        for name, _, _ in WINDOWS_11:
            if name in before and before[name][0] == "REG_SZ":
                self.prefix.set_value(VERSION_KEY, name, before[name][1])
            else:
                self.prefix.delete_value(VERSION_KEY, name)

    def balloons(self):
        """The notification area's balloons on the screen (tool tips of explorer)."""
        return [window for window in self.wintool.windows(visible_only=True)
                if window["class"].lower() == "tooltips_class32" and window["exe"].lower() == "explorer.exe"]

    def mark(self):
        return (self.prefix.values(NOTICE_KEY) or {}).get(HINT_VALUE)

    def start_and_settle(self):
        trevo = self.start_trevo(SETTINGS)
        self.wait(lambda: self.drawn_tray_cells(2) == [True] * 2, START_TIMEOUT, "Trevo's two icons")
        self.assertTrue(trevo.wait_idle(START_TIMEOUT), "Trevo never settled into waiting for input")
        return trevo

    def test_the_first_start_on_windows_11_says_where_the_icons_are_once(self):
        told = self.wintool.version()
        self.assertEqual((told["major"], told["minor"], told["build"]), (10, 0, 22631),
                         "Wine does not present the registry's Windows 11 to a program that declares Windows 10")
        self.assertEqual(self.balloons(), [], "a notification was on the screen before Trevo started")
        first = self.start_and_settle()
        self.wait(lambda: self.balloons(), BALLOON_TIMEOUT, "the notification from desktop 1's icon")
        self.assertIsNotNone(self.mark(), "the notification was shown but not noted")
        first.stop()
        self.wait(lambda: not self.balloons(), BALLOON_TIMEOUT, "the notification gone with Trevo's icons")

        self.start_and_settle()
        deadline = time.monotonic() + QUIET_SECONDS
        while time.monotonic() < deadline:
            self.assertEqual(self.balloons(), [], "the second start showed the notification again")
            time.sleep(0.5)


if __name__ == "__main__":
    unittest.main(verbosity=2)
