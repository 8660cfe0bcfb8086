"""Exit chosen while a switch fits the wallpaper, under Wine: the fitting
yields to the event loop once, a right click waiting there opens the menu
inside the switch, and Exit from that menu still ends Trevo cleanly: every
icon gone, no message, Trevo.ini as it was."""

import os
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from test_tray import icon_state, text_bands  # noqa: E402
from trevo_e2e import probe, screen  # noqa: E402
from trevo_e2e.case import WineTestCase  # noqa: E402
from trevo_e2e.settings import settings_text  # noqa: E402

START_TIMEOUT = 60
CHANGE_TIMEOUT = 20
EXIT_TIMEOUT = 30
DESKTOPS = 3
PICTURE_NAME = "plasma-4000x3000.png"
MENU_CLASS = "#32768"

# The notification area's callback: WM_MOUSEMOVE, the mouse message in lParam.
WM_MOUSEMOVE = 0x200
WM_LBUTTONUP = 0x202
WM_RBUTTONUP = 0x205

WINDOW = ("Plain One", "ProbePlain", 100, 100, 300, 200, "normal")


class ExitDuringSwitchTest(WineTestCase):
    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        probe.send_to_desktop(cls.prefix)
        # A photo-sized picture takes long enough to decode that a message posted
        # behind the click is still waiting when the fitting yields. Made once.
        cls.picture = os.path.join(cls.work_dir, PICTURE_NAME)
        if not os.path.isfile(cls.picture):
            making = cls.picture + ".part"
            subprocess.run(["convert", "-size", "4000x3000", "-seed", "7", "plasma:fractal", "PNG24:" + making],
                           check=True, timeout=300)
            os.replace(making, cls.picture)

    def states(self):
        """Desktop 1's icon state first (the icons are added from 3 down)."""
        picture = self.screenshot()
        return [icon_state(picture, DESKTOPS - desk) for desk in range(1, DESKTOPS + 1)]

    def desktop_2_tray_window(self, trevo):
        """The hidden window that owns desktop 2's icon. Each desktop's is made on
        top of the ones before, from desktop 3 down (from 1 up on other
        families): of three, desktop 2's is the middle one either way."""
        trays = [w for w in trevo.windows() if w["title"] == "TrevoTray"]
        self.assertEqual(len(trays), DESKTOPS, f"Trevo has not one hidden window per desktop: {trays}")
        return trays[1]["hwnd"]

    def test_exit_from_the_menu_opened_while_the_wallpaper_is_fitted_ends_trevo_cleanly(self):
        window = self.start_probe([WINDOW])
        title = WINDOW[0]
        settings = settings_text(desktops_max=str(DESKTOPS), keep_size="-1", width="1920", height="1080",
                                 wallpapers=("", self.prefix.windows_path(self.picture), "", "", ""))
        trevo = self.start_trevo(settings)
        self.wait(lambda: self.drawn_tray_cells(DESKTOPS) == [True] * DESKTOPS, START_TIMEOUT, "Trevo's three icons")
        self.wait(lambda: self.states() == ["active", "inactive", "inactive"], CHANGE_TIMEOUT, "desktop 1 active")
        ini = self.scratch.file("Trevo.ini")
        with open(ini, "rb") as f:
            settings_before = f.read()
        bitmap = self.scratch.file("Trevo.bmp")
        self.assertFalse(os.path.exists(bitmap), "desktop 1 has no picture, yet Trevo.bmp was written")
        self.assertEqual(self.wintool.dialogs(), [], "a dialog box is open before the test begins")
        tray = self.desktop_2_tray_window(trevo)

        # The menu opens where the pointer is: away from the icons and their tips.
        screen.move_mouse(self.display.name, 500, 300)
        # Both wait in the queue before the left click is taken: the right click
        # can only be handled inside that switch, in the yield of its fitting.
        self.wintool.post(tray, WM_MOUSEMOVE, 0, WM_LBUTTONUP, WM_RBUTTONUP)
        menu = self.wait(lambda: next((w for w in trevo.visible_windows() if w["class"] == MENU_CLASS), None),
                         CHANGE_TIMEOUT, "the pop-up menu")
        # Inside the switch to desktop 2: its icon is already shown active, and
        # neither the wallpaper bitmap nor any window move has happened yet.
        self.assertEqual(self.states(), ["inactive", "active", "inactive"], "the menu is not inside desktop 2's switch")
        self.assertFalse(os.path.exists(bitmap), "the menu opened only after the wallpaper was fitted")
        self.assertEqual(window.rects()[title], window.normal_rect(title), "the menu opened only after the moves")
        others = [w for w in trevo.visible_windows() if w["class"] != MENU_CLASS]
        self.assertEqual(others, [], "Trevo shows a window besides its menu")

        left, top, right, _ = menu["rect"]
        # Off the menu, so that no entry is drawn highlighted.
        screen.move_mouse(self.display.name, left - 40, top - 40)
        bands = self.wait(lambda: (lambda b: b if len(b) == 2 else None)(text_bands(self.screenshot(), menu["rect"])),
                          CHANGE_TIMEOUT, "the menu's two entries, Properties and Exit")
        self.click((left + right) // 2, (bands[1][0] + bands[1][1]) // 2, screen.LEFT)

        def ended_without_a_message():
            code = trevo.wait_exit(0)
            if code is not None:
                return ("ended", code)
            # A message of Trevo's, or the system's report of a program that broke down.
            shown = [w for w in trevo.visible_windows() if w["class"] != MENU_CLASS] + self.wintool.dialogs()
            if shown:
                self.fail("a window appeared after Exit: "
                          + "; ".join(f"{w['exe']} {w['class']} {w['title']!r} {w.get('texts', '')}" for w in shown))
            return None
        _, code = self.wait(ended_without_a_message, EXIT_TIMEOUT, "Trevo to end after Exit")
        self.assertEqual(code, 0, "Trevo ended with an error status after Exit")
        self.assertEqual(self.wintool.dialogs(), [], "a dialog box is open after Trevo ended")
        self.wait(lambda: not any(self.drawn_tray_cells(DESKTOPS)), CHANGE_TIMEOUT, "every icon gone after Exit")
        with open(ini, "rb") as f:
            self.assertEqual(f.read(), settings_before, "Trevo.ini changed")


if __name__ == "__main__":
    unittest.main(verbosity=2)
