"""ApplyAtOnce under Wine: Properties' OK with fewer desktops removes the last
desktop's icon and brings its window onto the highest desktop left, with more
desktops adds an icon, each without a message and without a new start; a
start with the option brings a window beyond the last desktop onto it."""

import os
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from test_dialog import PROPERTIES_TITLE, DialogHelpers  # noqa: E402
from test_never_lost import NeverLostCase, shifted  # noqa: E402
from trevo_e2e import screen  # noqa: E402
from trevo_e2e.settings import settings_text  # noqa: E402

START_TIMEOUT = 60
CHANGE_TIMEOUT = 30
SCREEN_WIDTH = 1024
WINDOWS = [
    ("Plain One", "ProbePlain", 100, 100, 300, 200, "normal"),  # desktop 1
    ("Plain Three", "ProbePlain", 2 * SCREEN_WIDTH + 300, 300, 250, 150, "normal"),  # desktop 3
]


class ApplyAtOnceTest(DialogHelpers, NeverLostCase):
    def start_with(self, desktops):
        self.windows = self.start_probe(WINDOWS)
        trevo = self.start_trevo(settings_text(desktops_max=str(desktops)) + "[Options]\nApplyAtOnce=1\n")
        self.wait_for_icons(desktops)
        self.wait(lambda: self.states(desktops)[0] == "active", START_TIMEOUT, "desktop 1 active")
        self.started = self.windows.rects()
        return trevo, trevo.pid()

    def press_ok_with(self, trevo, count):
        dialog = self.open_dialog(trevo)
        scroll = next(c for c in self.wintool.children(dialog["hwnd"]) if c["class"].lower() == "scrollbar")
        left, top, right, bottom = scroll["rect"]
        shown = int(self.child_text(dialog, "Edit"))
        x = right - 6 if count > shown else left + 6
        for _ in range(abs(count - shown)):
            self.click(x, (top + bottom) // 2, screen.LEFT)
        self.wait(lambda: self.child(dialog, str(count), "Edit"), CHANGE_TIMEOUT, f"the count shown as {count}")
        self.wintool.press(dialog["hwnd"], caption="OK")
        self.wait(lambda: not [w for w in trevo.visible_windows() if w["title"] == PROPERTIES_TITLE],
                  CHANGE_TIMEOUT, "the dialog hidden after OK")

    def child_text(self, dialog, cls):
        """The text of the dialog's first child of that class that holds a number (the count)."""
        return next(c["title"] for c in self.wintool.children(dialog["hwnd"])
                    if c["class"].lower() == cls.lower() and c["title"].isdigit())

    def assertSameTrevoAndNoMessage(self, trevo, pid):
        time.sleep(1)  # a message would come at once after OK
        self.assertEqual(trevo.message_boxes(), [], "a message after OK")
        self.assertTrue(trevo.running(), "Trevo ended")
        self.assertEqual(trevo.pid(), pid, "Trevo started again")

    def test_fewer_desktops_bring_the_last_ones_window_to_the_highest_left(self):
        trevo, pid = self.start_with(3)
        self.press_ok_with(trevo, 2)
        self.wait_for_icons(2)
        on_2 = {"Plain One": self.started["Plain One"],
                "Plain Three": shifted(self.started["Plain Three"], -SCREEN_WIDTH)}
        self.wait(lambda: self.windows.rects() == on_2, CHANGE_TIMEOUT, "desktop 3's window on desktop 2")
        self.assertEqual(self.states(2), ["active", "inactive"])
        self.assertSameTrevoAndNoMessage(trevo, pid)

        self.click_tray_icon(0)  # desktop 2 (the icons are added from the last desktop down)
        shown = {"Plain One": shifted(self.started["Plain One"], -SCREEN_WIDTH),
                 "Plain Three": shifted(self.started["Plain Three"], -2 * SCREEN_WIDTH)}
        self.wait(lambda: self.windows.rects() == shown, CHANGE_TIMEOUT, "desktop 2 shown with desktop 3's window")

    def test_more_desktops_add_an_icon(self):
        trevo, pid = self.start_with(2)
        self.assertEqual(self.started["Plain Three"], self.windows.normal_rect("Plain Three", -SCREEN_WIDTH),
                         "the start left a window beyond the last desktop")
        self.press_ok_with(trevo, 3)
        self.wait_for_icons(3)
        self.wait(lambda: self.states(3) == ["active", "inactive", "inactive"], CHANGE_TIMEOUT,
                  "desktop 1 active among three icons in order")
        self.assertEqual(self.windows.rects(), self.started, "a window moved")
        self.assertSameTrevoAndNoMessage(trevo, pid)


if __name__ == "__main__":
    unittest.main(verbosity=2)
