"""The Properties dialog under Wine: opened from an icon's menu, laid out as
designed with its Japanese captions, edited, and written to Trevo.ini by OK;
Cancel writes nothing; icon clicks wait while the dialog is open."""

import os
import re
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from test_tray import text_bands  # noqa: E402
from trevo_e2e import screen  # noqa: E402
from trevo_e2e.case import WineTestCase  # noqa: E402
from trevo_e2e.settings import settings_text  # noqa: E402
from trevo_e2e.wintool import IDOK  # noqa: E402

START_TIMEOUT = 60
CHANGE_TIMEOUT = 20
TWIPS_PER_PIXEL = 15  # Wine's 96 dots per inch

SIZE_CAPTION = "常にこのサイズで表示"
NOTE_CAPTION = "※[中央に表示]の場合のみ"
CANCEL_CAPTION = "ｷｬﾝｾﾙ"
MESSAGE = "プロパティの変更は次回起動時に反映されます。"

# Controls on the form itself: caption, left, top, width, height (twips).
LAYOUT = [
    ("Desktops:", 300, 210, 915, 195),
    ("Wallpaper:", 300, 570, 915, 195),
    (SIZE_CAPTION, 300, 3930, 2115, 255),
    (NOTE_CAPTION, 300, 4230, 3615, 195),
    ("OK", 1140, 4650, 1005, 345),
    (CANCEL_CAPTION, 2190, 4650, 1005, 345),
    ("1", 1320, 510, 495, 315),
    ("5", 3420, 510, 495, 315),
]

HAND_WRITTEN = "[NoChange-XP]\n; my own notes\n01=class(Shell_TrayWnd)\n"
PROPERTIES_TITLE = "Trevo - Properties"


class DialogHelpers:
    """Opening the Properties dialog and finding its controls (for any Wine test case)."""

    # How dark the menu's text is drawn: black glyphs, unless the locale's
    # menu font lacks them and Wine draws grey boxes instead.
    menu_ink = 200

    def start(self, more_settings="", locale=None):
        settings = settings_text(desktops_max="3", no_change=()).replace("[NoChange-XP]\n", HAND_WRITTEN)
        trevo = self.start_trevo(settings + more_settings, locale=locale)
        self.wait(lambda: self.drawn_tray_cells(3) == [True] * 3, START_TIMEOUT, "Trevo's three icons")
        return trevo

    def open_dialog(self, trevo, title=PROPERTIES_TITLE):
        self.click_tray_icon(0, screen.RIGHT)
        menu = self.wait(lambda: [w for w in trevo.visible_windows() if w["class"] == "#32768"], CHANGE_TIMEOUT,
                         "the pop-up menu")[0]
        left, top, right, _ = menu["rect"]
        screen.move_mouse(self.display.name, left - 40, top - 40)
        # Properties first; Settings follows where Trevo.ini has [Keys], [Options] or [Names].
        bands = self.wait(lambda: (lambda b: b if len(b) >= 2 else None)(text_bands(self.screenshot(), menu["rect"], self.menu_ink)),
                          CHANGE_TIMEOUT, "the menu's entries")
        self.click((left + right) // 2, (bands[0][0] + bands[0][1]) // 2, screen.LEFT)
        return self.wait(lambda: next((w for w in trevo.visible_windows() if w["title"] == title), None),
                         CHANGE_TIMEOUT, "the Properties dialog")

    def count_up_to_four(self, dialog):
        """One step of the scroll bar to the right, from 3 desktops to 4."""
        self.count_up_to(dialog, 4)

    def count_up_to(self, dialog, count):
        """One step of the scroll bar to the right, to count desktops."""
        scroll = next(c for c in self.wintool.children(dialog["hwnd"]) if c["class"].lower() == "scrollbar")
        x, y, r, b = scroll["rect"]
        self.click(r - 6, (y + b) // 2, screen.LEFT)
        self.wait(lambda: self.child(dialog, str(count), "Edit"), CHANGE_TIMEOUT, f"the count shown as {count}")

    def child(self, dialog, title, cls=None):
        for c in self.wintool.children(dialog["hwnd"]):
            if c["title"] == title and (cls is None or c["class"].lower() == cls.lower()):
                return c
        return None


class DialogTest(DialogHelpers, WineTestCase):
    def test_layout_and_japanese_captions(self):
        trevo = self.start()
        dialog = self.open_dialog(trevo)
        ok = self.child(dialog, "OK")
        self.assertIsNotNone(ok, "no OK button")
        for caption, left, top, width, height in LAYOUT:
            c = self.child(dialog, caption)
            self.assertIsNotNone(c, f"no control captioned {caption!r}")
            x, y, r, b = c["rect"]
            want = ((left - 1140) / TWIPS_PER_PIXEL, (top - 4650) / TWIPS_PER_PIXEL, width / TWIPS_PER_PIXEL,
                    height / TWIPS_PER_PIXEL)
            got = (x - ok["rect"][0], y - ok["rect"][1], r - x, b - y)
            for g, w, what in zip(got, want, ("left", "top", "width", "height")):
                self.assertLessEqual(abs(g - w), 1, f"{caption}: {what} is {g}, designed {w:.1f}")
        # The Japanese captions are drawn with glyphs: many dark pixels, in more than a box's few columns.
        picture = self.screenshot("properties-dialog.png")
        x, y, r, b = self.child(dialog, SIZE_CAPTION)["rect"]
        dark_columns = {px for px in range(x + 16, r) for py in range(y, b) if sum(picture.pixel(px, py)) < 250}
        self.assertGreater(len(dark_columns), 60, "the check box caption is not drawn as text")

    def test_ok_writes_the_nine_settings(self):
        trevo = self.start()
        before_icons = [screen.tray_icon(self.screenshot(), k).to_ppm() for k in range(3)]
        dialog = self.open_dialog(trevo)

        self.click_tray_icon(1, screen.LEFT)  # ignored while the dialog is open
        self.count_up_to_four(dialog)
        self.wintool.press(dialog["hwnd"], caption=SIZE_CAPTION)
        width_box = self.wait(lambda: self.child(dialog, "400", "Edit"), CHANGE_TIMEOUT, "the width box")
        self.wait(lambda: self.child(dialog, "400", "Edit")["enabled"], CHANGE_TIMEOUT, "the size boxes enabled")
        self.wintool.keys(width_box["hwnd"], "end", "backspace", "backspace", "backspace", "text:250")
        self.wait(lambda: self.child(dialog, "250", "Edit"), CHANGE_TIMEOUT, "250 typed into the width box")
        self.wintool.keys(width_box["hwnd"], "tab")
        self.wait(lambda: self.child(dialog, "400", "Edit") and not self.child(dialog, "250", "Edit"), CHANGE_TIMEOUT,
                  "the width raised to its minimum on leaving the box")
        self.wintool.press(dialog["hwnd"], caption="OK")
        box = self.wait(lambda: [d for d in trevo.message_boxes() if MESSAGE in "".join(d["texts"])], CHANGE_TIMEOUT,
                        "the message after OK")[0]
        self.assertEqual(box["title"], "Trevo")
        self.wintool.press(box["hwnd"], button_id=IDOK)
        self.wait(lambda: not [w for w in trevo.visible_windows() if w["title"] == "Trevo - Properties"],
                  CHANGE_TIMEOUT, "the dialog hidden after OK")

        text = self.scratch.read_settings().replace("\r\n", "\n")
        values = dict(re.findall(r"^\s*([^=;\[\]\n]+?)\s*=(.*)$", text, flags=re.M))
        self.assertEqual(values["Max"], "4")
        for n in "12345":
            self.assertEqual(values[n], "", f"Wallpaper {n}")
        self.assertEqual((values["KeepSize"], values["Width"], values["Height"]), ("-1", "400", "300"))
        self.assertIn(HAND_WRITTEN.strip(), text, "the hand-written section changed")
        after_icons = [screen.tray_icon(self.screenshot(), k).to_ppm() for k in range(3)]
        self.assertEqual(after_icons, before_icons, "an icon click changed the desktops while the dialog was open")

    def test_cancel_writes_nothing(self):
        trevo = self.start()
        before = self.scratch.snapshot()
        dialog = self.open_dialog(trevo)
        self.count_up_to_four(dialog)
        self.wintool.press(dialog["hwnd"], caption=CANCEL_CAPTION)
        self.wait(lambda: not [w for w in trevo.visible_windows() if w["title"] == "Trevo - Properties"],
                  CHANGE_TIMEOUT, "the dialog hidden after Cancel")
        self.assertFolderUnchanged(before, "Cancel changed the program folder")


if __name__ == "__main__":
    unittest.main(verbosity=2)
