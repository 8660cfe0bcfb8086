"""A desktop switch under Wine: the visible windows of other programs move by
whole screen widths, except the ones the settings protect; maximised and
minimised ones are restored; hidden ones stay; the wallpaper follows."""

import os
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from trevo_e2e import screen  # noqa: E402
from trevo_e2e.case import WineTestCase  # noqa: E402
from trevo_e2e.settings import settings_text  # noqa: E402

START_TIMEOUT = 60
CHANGE_TIMEOUT = 20
PROBE = "probe_windows.exe"

# title, class, x, y, width, height, state
WINDOWS = [
    ("Plain One", "ProbePlain", 100, 100, 300, 200, "normal"),
    ("Keep By Class", "ProbeKeep", 150, 150, 300, 200, "normal"),
    ("Report 2026", "ProbePlain", 200, 200, 300, 200, "normal"),
    ("Calculator", "ProbeCalc", 250, 250, 300, 200, "normal"),
    ("Big One", "ProbePlain", 300, 100, 400, 300, "maximized"),
    ("Small One", "ProbePlain", 400, 300, 200, 100, "minimized"),
    ("Hidden One", "ProbePlain", 50, 50, 200, 100, "hidden"),
]
PATTERNS = ("class(Shell_TrayWnd)", "class(ProbeKeep)", "title(Report*)class(ProbePlain)", "title(Calculator)")
MOVING = {"Plain One", "Big One", "Small One"}


class SwitchTest(WineTestCase):
    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.prefix.set_value(rf"HKCU\Software\Wine\AppDefaults\{PROBE}\Explorer", "Desktop", "shell")

    def start_probe(self):
        specs = ["|".join(map(str, window)) for window in WINDOWS]
        process = subprocess.Popen(self.prefix.command(os.path.join(self.exe_dir, PROBE), *specs), env=self.prefix.env(),
                                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

        def stop():
            for window in self.wintool.windows(exe=PROBE)[:1]:
                self.wintool.kill(window["pid"])
            try:
                process.wait(timeout=20)
            except subprocess.TimeoutExpired:
                process.kill()
        self.addCleanup(stop)
        self.wait(lambda: len(self.probe_rects()) == len(WINDOWS), START_TIMEOUT, "the probe's windows")

    def probe_rects(self):
        return {w["title"]: w["rect"] for w in self.wintool.windows(exe=PROBE) if w["class"].startswith("Probe")}

    def normal_rect(self, title, shift=0):
        _, _, x, y, width, height, _ = next(w for w in WINDOWS if w[0] == title)
        return [x + shift, y, x + shift + width, y + height]

    def test_windows_and_wallpaper_follow_the_active_desktop(self):
        picture = self.scratch.file("desk2.bmp")
        subprocess.run(["convert", "-size", "64x48", "xc:red", "BMP3:" + picture], check=True, timeout=60)
        self.start_probe()
        start = self.probe_rects()
        settings = settings_text(desktops_max="3", keep_size="-1", width="400", height="300",
                                 wallpapers=("", self.scratch.windows_path("desk2.bmp"), "", "", ""),
                                 no_change=PATTERNS)
        self.start_trevo(settings)
        # The probe's task-bar buttons reach the cells left of Trevo's icons: look at three.
        self.wait(lambda: self.drawn_tray_cells(3) == [True] * 3, START_TIMEOUT, "Trevo's three icons")
        # The first activation restores the maximised and minimised windows and moves nothing.
        self.wait(lambda: self.probe_rects()["Big One"] == self.normal_rect("Big One"), CHANGE_TIMEOUT,
                  "the maximised window restored at start-up")
        self.wait(lambda: self.probe_rects()["Small One"] == self.normal_rect("Small One"), CHANGE_TIMEOUT,
                  "the minimised window restored at start-up")
        settled = self.probe_rects()

        self.click_tray_icon(1, screen.LEFT)  # desktop 2 (the icons are added from 3 down)
        self.wait(lambda: self.probe_rects()["Plain One"] == self.normal_rect("Plain One", -1024), CHANGE_TIMEOUT,
                  "the plain window moved one screen to the left")
        after = self.probe_rects()
        for title, rect in after.items():
            if title in MOVING:
                self.assertEqual(rect, self.normal_rect(title, -1024), f"{title} did not move one screen left")
            else:
                self.assertEqual(rect, settled[title], f"{title} moved although it must stay")
        self.assertEqual(after["Hidden One"], start["Hidden One"])
        task_bar = [w for w in self.wintool.windows(visible_only=True) if w["class"] == "Shell_TrayWnd"]
        self.assertEqual(task_bar[0]["rect"][0], 0, "the task bar moved")

        bitmap = os.path.join(self.scratch.path, "Trevo.bmp")
        self.assertTrue(os.path.isfile(bitmap), "no Trevo.bmp after the switch")
        size = subprocess.run(["identify", "-format", "%w %h", bitmap], capture_output=True, text=True,
                              check=True, timeout=60).stdout
        self.assertEqual(size, "400 300", "Trevo.bmp does not have the configured size")
        self.assertTrue(self.wintool.wallpaper().lower().endswith("trevo.bmp"), "the wallpaper is not Trevo.bmp")

        self.click_tray_icon(2, screen.LEFT)  # back to desktop 1
        self.wait(lambda: self.probe_rects() == settled, CHANGE_TIMEOUT, "every window back where it was")
        self.assertEqual(self.wintool.wallpaper(), "", "desktop 1 has no picture: the wallpaper is cleared")


if __name__ == "__main__":
    unittest.main(verbosity=2)
