"""The Settings dialog under Wine: opened from the icons' menu, which offers
it where Trevo.ini has [Keys], [Options] or [Names]; a name typed there is in
the desktop's tip after OK, and a key pressed into its hot-key control
switches desktops at once, without a restart; Cancel writes nothing."""

import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from test_dialog import CANCEL_CAPTION  # noqa: E402
from test_tray import text_bands  # noqa: E402
from trevo_e2e import screen  # noqa: E402
from trevo_e2e.case import ProbeTestCase  # noqa: E402
from trevo_e2e.settings import settings_text  # noqa: E402

START_TIMEOUT = 60
CHANGE_TIMEOUT = 20
WIDTH = 1024
DESKTOPS = 3
TITLE = "Trevo - Settings"
SETTINGS = settings_text(desktops_max=str(DESKTOPS)) + "[Keys]\nDesktop1=Ctrl+Alt+F1\n[Options]\nFollowFocus=0\n"
PROPERTIES, SETTINGS_ENTRY, EXIT = 0, 1, 2  # the menu's text rows, top to bottom
WINDOW = ("Probe One", "ProbePlain", 100, 100, 300, 200, "normal")
NAME_BOXES, KEY_CONTROLS = 5, 13


class SettingsHelpers:
    """Opening the Settings dialog from desktop 1's menu (for any Wine test case)."""

    def menu_rows(self, trevo, count):
        """Opens desktop 1's menu; its rectangle and its rows of text, once there are count."""
        self.click_tray_icon(0, screen.RIGHT)
        menu = self.wait(lambda: next((w for w in trevo.visible_windows() if w["class"] == "#32768"), None),
                         CHANGE_TIMEOUT, "the pop-up menu")
        rect = menu["rect"]
        # Off the icon (its tooltip may cover the menu) and off the menu (an
        # entry under the pointer is drawn highlighted).
        screen.move_mouse(self.display.name, rect[0] - 40, rect[1] - 40)
        bands = self.wait(lambda: (lambda b: b if len(b) == count else None)(text_bands(self.screenshot(), rect)),
                          CHANGE_TIMEOUT, f"the menu's {count} entries")
        return rect, bands

    def open_settings(self, trevo, title=TITLE):
        """The dialog, its name boxes and its keys' controls, in the order of the dialog."""
        rect, bands = self.menu_rows(trevo, 3)
        self.click((rect[0] + rect[2]) // 2, (bands[SETTINGS_ENTRY][0] + bands[SETTINGS_ENTRY][1]) // 2, screen.LEFT)
        dialog = self.wait(lambda: next((w for w in trevo.visible_windows() if w["title"] == title), None),
                           CHANGE_TIMEOUT, "the Settings dialog")
        children = self.wintool.children(dialog["hwnd"])
        names = [c for c in children if c["class"].lower() == "edit"]
        keys = [c for c in children if c["class"].lower() == "msctls_hotkey32"]
        self.assertEqual((len(names), len(keys)), (NAME_BOXES, KEY_CONTROLS), "the dialog's name boxes and keys")
        return dialog, names, keys

    def closed(self, trevo, title=TITLE):
        self.wait(lambda: not [w for w in trevo.visible_windows() if w["title"] == title], CHANGE_TIMEOUT,
                  "the Settings dialog closed")


class SettingsDialogTest(SettingsHelpers, ProbeTestCase):
    def start(self, settings=SETTINGS):
        run = self.start_probe([WINDOW])
        trevo = self.start_trevo(settings)
        self.wait(lambda: self.drawn_tray_cells(DESKTOPS) == [True] * DESKTOPS, START_TIMEOUT, "Trevo's icons")
        self.assertTrue(trevo.wait_idle(START_TIMEOUT), "Trevo never settled into waiting for input")
        return run, trevo

    def tip(self, desk):
        """The tip explorer shows with the pointer on desktop desk's icon."""
        screen.move_mouse(self.display.name, *screen.tray_icon_centre(desk - 1, *self.screen_size,
                                                                     self.tray_icon_size))
        tips = self.wait(lambda: [w["title"] for w in self.wintool.windows(visible_only=True)
                                  if w["class"].lower() == "tooltips_class32" and f"#{desk}" in w["title"]],
                         CHANGE_TIMEOUT, f"the tip of desktop {desk}'s icon")
        screen.move_mouse(self.display.name, 300, 300)  # away, so that the next tip is a new one
        return tips[0]

    def test_a_name_and_a_key_set_there_are_in_force_at_once(self):
        run, trevo = self.start()
        self.assertNotIn("Mail", self.tip(2))
        dialog, names, keys = self.open_settings(trevo)
        self.wintool.keys(names[1]["hwnd"], "text:Mail")
        self.wintool.keys(keys[1]["hwnd"], "ctrl+alt+f2")  # desktop 2's key
        self.wintool.press(dialog["hwnd"], caption="OK")
        self.closed(trevo)

        self.wait(lambda: "Mail" in self.tip(2), CHANGE_TIMEOUT, "the name in desktop 2's tip")
        written = self.scratch.read_settings().replace("\r\n", "\n")
        self.assertIn("\n2=Mail\n", written)
        self.assertIn("\nDesktop2=Ctrl+Alt+F2\n", written)
        self.assertIn("\nDesktop1=Ctrl+Alt+F1\n", written)

        title = WINDOW[0]
        self.wintool.hotkey("ctrl+alt+f2")
        self.wait(lambda: run.rects()[title] == run.normal_rect(title, -WIDTH), CHANGE_TIMEOUT,
                  "desktop 2 by the key set in the dialog")
        self.wintool.hotkey("ctrl+alt+f1")
        self.wait(lambda: run.rects()[title] == run.normal_rect(title, 0), CHANGE_TIMEOUT,
                  "desktop 1 by the key the file had")

    def test_cancel_and_esc_write_nothing(self):
        _, trevo = self.start()
        before = self.scratch.snapshot()
        for leave in ("cancel", "escape"):
            with self.subTest(leave):
                dialog, names, _ = self.open_settings(trevo)
                self.wintool.keys(names[2]["hwnd"], "text:Lost")
                if leave == "cancel":
                    self.wintool.press(dialog["hwnd"], caption=CANCEL_CAPTION)
                else:
                    self.wintool.keys(names[2]["hwnd"], "escape")
                self.closed(trevo)
                self.assertFolderUnchanged(before, f"{leave} changed the program folder")

    def test_a_file_for_the_icons_alone_keeps_its_menu(self):
        _, trevo = self.start(settings_text(desktops_max=str(DESKTOPS)))
        rect, _ = self.menu_rows(trevo, 2)
        self.click(rect[0] - 200, rect[1] - 200, screen.LEFT)  # beside the menu: it closes


if __name__ == "__main__":
    unittest.main(verbosity=2)
