"""Exit with GatherOnExit, under Wine: chosen on desktop 2, it brings desktop
1's windows back onto the screen beside desktop 2's, and puts back the
wallpaper Windows showed before Trevo's first start."""

import os
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from test_never_lost import NeverLostCase  # noqa: E402
from trevo_e2e.settings import settings_text  # noqa: E402

CHANGE_TIMEOUT = 20
SCREEN_WIDTH = 1024
DESKTOP_KEY = r"HKCU\Control Panel\Desktop"


class GatherOnExitTest(NeverLostCase):
    def picture(self, name, colour):
        path = os.path.join(self.scratch.path, name)
        subprocess.run(["convert", "-size", "64x48", f"xc:{colour}", "BMP3:" + path], check=True, timeout=60)
        return self.scratch.windows_path(name)

    def use_wallpaper(self, path):
        """The user's own wallpaper, as Windows keeps it; the one before is put back at clean-up."""
        before = (self.prefix.values(DESKTOP_KEY) or {}).get("Wallpaper", ("REG_SZ", ""))[1]
        self.prefix.set_value(DESKTOP_KEY, "Wallpaper", path)
        self.addCleanup(self.prefix.set_value, DESKTOP_KEY, "Wallpaper", before)

    def test_exit_on_desktop_2_brings_desktop_1_home_and_the_wallpaper_of_before(self):
        users = self.picture("users-own.bmp", "green")
        self.use_wallpaper(users)
        windows = self.start_probe([
            ("Plain One", "ProbePlain", 100, 100, 300, 200, "normal"),
            ("Plain Two", "ProbePlain", 500, 300, 250, 150, "normal"),
        ])
        settings = settings_text(desktops_max="3", wallpapers=(self.picture("one.bmp", "red"),
                                                               self.picture("two.bmp", "blue"), "", "", ""))
        trevo = self.start_trevo(settings + "[Options]\nGatherOnExit=1\n")
        self.wait_for_icons(3)
        start = windows.rects()
        self.wait(lambda: self.wintool.wallpaper().lower().endswith("\\trevo.bmp"), CHANGE_TIMEOUT,
                  "Trevo's bitmap as the wallpaper")

        self.click_tray_icon(1)  # desktop 2
        on_2 = {title: windows.normal_rect(title, -SCREEN_WIDTH) for title in windows.asked}
        self.wait(lambda: windows.rects() == on_2, CHANGE_TIMEOUT, "desktop 1's windows beside the screen")

        self.choose_exit(trevo, 3, entries=3)  # [Options] brings Settings...
        self.wait(lambda: windows.rects() == start, CHANGE_TIMEOUT, "desktop 1's windows back on the screen")
        self.assertEqual(self.wintool.wallpaper().lower(), users.lower(), "the wallpaper of before is not back")


if __name__ == "__main__":
    unittest.main(verbosity=2)
