"""Faults of the system under Wine: a settings file another program holds open
when OK is pressed, and the shell announcing that it has started again."""

import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from test_dialog import MESSAGE, DialogHelpers  # noqa: E402
from test_tray import icon_state  # noqa: E402
from trevo_e2e import screen  # noqa: E402
from trevo_e2e.case import WineTestCase  # noqa: E402
from trevo_e2e.wintool import IDOK  # noqa: E402

CHANGE_TIMEOUT = 20
NOT_SAVED = "Trevo could not save its settings."
HOLD_SECONDS = 10


class FaultsTest(DialogHelpers, WineTestCase):
    def states(self, count=3):
        picture = self.screenshot()
        # The XP family adds the icons from the highest down: desktop 1 is rightmost.
        return [icon_state(picture, count - desk) for desk in range(1, count + 1)]

    def test_a_settings_file_held_by_another_program_at_ok_keeps_the_file_and_the_dialog(self):
        trevo = self.start()
        settings = self.scratch.file("Trevo.ini")
        with open(settings, "rb") as f:
            before = f.read()
        dialog = self.open_dialog(trevo)
        self.count_up_to_four(dialog)
        holder = self.wintool.hold_file(self.scratch.windows_path("Trevo.ini"), HOLD_SECONDS)
        self.addCleanup(holder.kill)
        self.wintool.press(dialog["hwnd"], caption="OK")
        box = self.wait(lambda: [d for d in trevo.message_boxes() if NOT_SAVED in "".join(d["texts"])],
                        CHANGE_TIMEOUT, "the message that the settings were not saved")[0]
        self.assertEqual(box["title"], "Trevo")
        self.wintool.press(box["hwnd"], button_id=IDOK)
        self.assertTrue(self.child(dialog, "4", "Edit"), "the dialog lost the count it was given")
        self.assertTrue([w for w in trevo.visible_windows() if w["title"] == "Trevo - Properties"],
                        "the dialog closed though nothing was saved")
        holder.wait(HOLD_SECONDS + 30)
        with open(settings, "rb") as f:
            self.assertEqual(f.read(), before, "a file held by another program changed")

        # Once the file is free, the same OK saves.
        self.wintool.press(dialog["hwnd"], caption="OK")
        box = self.wait(lambda: [d for d in trevo.message_boxes() if MESSAGE in "".join(d["texts"])], CHANGE_TIMEOUT,
                        "the message after a saving OK")[0]
        self.wintool.press(box["hwnd"], button_id=IDOK)
        self.assertIn("Max=4", self.scratch.read_settings())

    def test_the_shell_starting_again_gets_every_icon_once_as_it_is(self):
        trevo = self.start()
        self.click_tray_icon(1, screen.LEFT)  # desktop 2
        self.wait(lambda: self.states() == ["inactive", "active", "inactive"], CHANGE_TIMEOUT, "desktop 2 active")
        self.wintool.announce_taskbar_created()
        self.assertIsNone(trevo.wait_exit(2), "Trevo ended on the shell's message")
        self.wait(lambda: self.drawn_tray_cells(6) == [True] * 3 + [False] * 3, CHANGE_TIMEOUT,
                  "three icons, none of them twice")
        self.assertEqual(self.states(), ["inactive", "active", "inactive"])
        self.click_tray_icon(0, screen.LEFT)  # desktop 3
        self.wait(lambda: self.states() == ["inactive", "inactive", "active"], CHANGE_TIMEOUT,
                  "desktop 3 active after the shell's message")


if __name__ == "__main__":
    unittest.main(verbosity=2)
