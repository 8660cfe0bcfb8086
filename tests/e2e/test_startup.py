"""Start-up of the real Trevo.exe under Wine: a good Trevo.ini leaves it
waiting hidden in the notification area; a bad one is reported in a message
box, and closing it ends Trevo without an icon or a written file."""

import os
import re
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from trevo_e2e.case import WineTestCase  # noqa: E402
from trevo_e2e.settings import settings_text  # noqa: E402
from trevo_e2e.wintool import IDOK  # noqa: E402

START_TIMEOUT = 60   # the first start in a fresh prefix is the slowest
EXIT_TIMEOUT = 20


class GoodSettingsTest(WineTestCase):
    def test_trevo_keeps_running_hidden_with_its_icons_and_writes_nothing(self):
        self.scratch.write_settings(settings_text(desktops_max="3"))
        before = self.scratch.snapshot()
        trevo = self.start_trevo()

        self.wait_for_tray_icons(3, timeout=START_TIMEOUT)
        self.assertTrue(trevo.wait_idle(START_TIMEOUT), "Trevo never settled into waiting for input")

        self.assertTrue(trevo.running(), "Trevo ended after a good start-up")
        self.assertEqual(trevo.visible_windows(), [], "Trevo shows a window after start-up")
        self.assertEqual(trevo.message_boxes(), [], "Trevo shows a message box after start-up")
        self.assertEqual(self.drawn_tray_cells(), [True, True, True, False, False, False],
                         "the notification area does not hold exactly three icons")
        self.assertFolderUnchanged(before, "start-up changed the program folder")


# (what is wrong, the settings text or None for no file, section, key, value named)
BAD_SETTINGS = [
    ("no settings file", None, "Desktops", "Max", None),
    ("Max missing", settings_text(omit=("Max",)), "Desktops", "Max", None),
    ("Max empty", settings_text(desktops_max=""), "Desktops", "Max", None),
    ("Max not a number", settings_text(desktops_max="abc"), "Desktops", "Max", "abc"),
    ("Max zero", settings_text(desktops_max="0"), "Desktops", "Max", "0"),
    ("Max six", settings_text(desktops_max="6"), "Desktops", "Max", "6"),
    ("Max beyond 32 bits", settings_text(desktops_max="99999999999"), "Desktops", "Max", "99999999999"),
    ("Width missing", settings_text(omit=("Width",)), "Size", "Width", None),
    ("Width not a number", settings_text(width="abc"), "Size", "Width", "abc"),
    ("Height empty", settings_text(height=""), "Size", "Height", None),
]


class BadSettingsTest(WineTestCase):
    """One test per kind of bad file, added below from BAD_SETTINGS."""

    def check_reported(self, settings, section, key, value):
        if settings is not None:
            self.scratch.write_settings(settings)
        before = self.scratch.snapshot()
        trevo = self.start_trevo()
        boxes = self.wait(trevo.message_boxes, START_TIMEOUT, "Trevo's message box")

        self.assertEqual(len(boxes), 1, f"more than one message box: {boxes}")
        box = boxes[0]
        self.assertEqual(box["title"], "Trevo")
        text = "\n".join(box["texts"])
        ini_path = self.scratch.windows_path("Trevo.ini")
        self.assertIn(ini_path.lower(), text.lower(), f"the message does not name the settings file:\n{text}")
        # What the message says besides the path, so that a value such as
        # "0" cannot be found inside the path instead.
        rest = re.sub(re.escape(ini_path), "", text, flags=re.IGNORECASE)
        self.assertIn(f"[{section}]", rest, f"the message does not name the section:\n{text}")
        self.assertIn(key, rest, f"the message does not name the key:\n{text}")
        if value is not None:
            self.assertIn(value, rest, f"the message does not show the value found:\n{text}")
        self.assertFalse(self.drawn_tray_cells()[0], "an icon was added although start-up failed")

        self.wintool.press(box["hwnd"], button_id=IDOK)
        self.assertIsNotNone(trevo.wait_exit(EXIT_TIMEOUT), "Trevo goes on after its message box was closed")
        self.assertFolderUnchanged(before, "Trevo changed the program folder")


def _add_bad_settings_test(what, settings, section, key, value):
    def test(self):
        self.check_reported(settings, section, key, value)
    name = "test_" + re.sub(r"\W+", "_", what.lower())
    test.__name__ = name
    test.__doc__ = f"{what}: reported, then Trevo ends and the folder is unchanged"
    setattr(BadSettingsTest, name, test)


for _case in BAD_SETTINGS:
    _add_bad_settings_test(*_case)


if __name__ == "__main__":
    unittest.main(verbosity=2)
