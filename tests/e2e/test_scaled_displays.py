"""Scaled displays under Wine, at 96, 120, 144 and 192 dots per inch, one
desktop for each: every notification cell shows its icon's own picture of the
cell's size, pixel for pixel, for the active and the inactive desktops; the
Properties dialog grows with the scale and cuts none of its texts, in English
and in Japanese too; a window switched out and back stands on exactly the
pixels it left."""

import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from test_dialog import CANCEL_CAPTION, DialogHelpers  # noqa: E402
from test_settings_dialog import SettingsHelpers  # noqa: E402
from trevo_e2e import screen  # noqa: E402
from trevo_e2e.case import ProbeTestCase  # noqa: E402
from trevo_e2e.icons import icon_image, icon_sizes  # noqa: E402
from trevo_e2e.waiting import wait_for  # noqa: E402

START_TIMEOUT = 60
CHANGE_TIMEOUT = 20
SCREEN_WIDTH = 1024
DESKTOPS = 3  # DialogHelpers.start's count
RES_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "res")

# Wine's small icon size, the notification cell, at each scale.
CELL_SIZES = {96: 16, 120: 20, 144: 24, 192: 32}
PROPERTIES_TITLE = "Trevo - Properties"
# A rounding of the design at 96 and another at the scale may differ by this much.
LAYOUT_TOLERANCE = 2
# The room the standard controls keep beside their text, at 96 dots per inch:
# a push button's raised edge on each side, a check box's box and the gap after it.
BUTTON_EDGE = 2
CHECK_BOX_ROOM = 16
EM_GETMARGINS = 0x00D4
BS_TYPEMASK = 0x000F
CHECK_BOX_TYPES = {2, 3, 5, 6}  # BS_CHECKBOX, BS_AUTOCHECKBOX, BS_3STATE, BS_AUTO3STATE
TEXT_CLASSES = {"static", "button", "edit"}
# The dialog of each language, its title and Cancel's caption, measured at these scales.
LANGUAGES = {"en": ("Trevo - Properties", "Cancel"), "ja": ("Trevo - プロパティ", "ｷｬﾝｾﾙ")}
LANGUAGE_SCALES = (96, 144, 192)
# The Settings dialog's title and Cancel's caption, without a language and in each.
SETTINGS_LANGUAGES = {"": ("Trevo - Settings", "ｷｬﾝｾﾙ"), "en": ("Trevo - Settings", "Cancel"),
                      "ja": ("Trevo - 設定", "ｷｬﾝｾﾙ")}
# An odd place and size: a mover that went through 96 dots per inch would round them.
PROBE_WINDOW = ("Odd Place", "ProbePlain", 101, 77, 301, 203, "normal")

# The dialog's controls as the 96 run found them, the measure of the others.
_dialog_at_96 = {}


def icon_file(desk, active):
    return os.path.join(RES_DIR, f"desktop{desk}_{'active' if active else 'inactive'}.ico")


def icon_differences(cell, image):
    """(x, y, wanted, shown) for each opaque pixel of the icon image that the
    cell's picture shows in another colour."""
    differences = []
    for y, row in enumerate(image):
        for x, pixel in enumerate(row):
            if pixel >> 24 != 0xFF:
                continue
            wanted = ((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF)
            shown = cell.pixel(x, y)
            if shown != wanted:
                differences.append((x, y, wanted, shown))
    return differences


def controls_by_name(children):
    """The visible controls, named by class, caption and how many alike came before."""
    named, seen = {}, {}
    for child in children:
        if not child["visible"]:
            continue
        kind = (child["class"], child["title"])
        seen[kind] = seen.get(kind, 0) + 1
        named[f"{child['class']} {child['title']!r} #{seen[kind]}"] = child
    return named


def size_of(rect):
    left, top, right, bottom = rect
    return right - left, bottom - top


class ScaleChecks:
    """The checks of one scale, for a probe test case whose log_pixels is set."""

    @property
    def dpi(self):
        return self.log_pixels

    def scaled(self, pixels_at_96):
        return pixels_at_96 * self.dpi / 96

    # --- the notification icons -------------------------------------------
    def icon_mismatches(self, active_desk):
        """What differs between the cells and the icon images of their size,
        desktop active_desk shown active; empty when every cell is right."""
        picture = self.screenshot()
        size = self.tray_icon_size
        mismatches = []
        for desk in range(1, DESKTOPS + 1):
            path = icon_file(desk, desk == active_desk)
            differences = icon_differences(self.tray_icon(picture, DESKTOPS - desk), icon_image(path, size))
            if differences:
                mismatches.append(f"desktop {desk} ({os.path.basename(path)} at {size} px): {len(differences)} "
                                  f"pixels differ, first (x, y, wanted, shown): {differences[:4]}")
        return mismatches

    def assert_icons_drawn(self, active_desk):
        last = []

        def matching():
            last[:] = self.icon_mismatches(active_desk)
            return not last
        wait_for(matching, CHANGE_TIMEOUT, f"every cell to show its icon's picture, desktop {active_desk} active",
                 interval=0.5, describe=lambda: "\n".join(last) + "\n" + self.describe_state())

    def test_each_cell_shows_the_picture_of_its_own_size(self):
        size = self.tray_icon_size
        self.assertEqual(size, CELL_SIZES[self.dpi], "Wine's notification cell is not the expected size")
        for desk in range(1, DESKTOPS + 1):
            for active in (True, False):
                path = icon_file(desk, active)
                self.assertIn(size, icon_sizes(path), f"{os.path.basename(path)} has no {size}-pixel image")
                image = icon_image(path, size)
                opaque = sum(1 for row in image for pixel in row if pixel >> 24 == 0xFF)
                self.assertGreater(opaque, size * size // 2, f"desktop {desk}'s {size}-pixel image is mostly clear")
        self.start()
        self.assert_icons_drawn(active_desk=1)
        self.click_tray_icon(DESKTOPS - 2, screen.LEFT)
        self.assert_icons_drawn(active_desk=2)

    # --- the Properties dialog --------------------------------------------
    def test_the_dialog_grows_with_the_scale_and_cuts_no_text(self):
        trevo = self.start()
        dialog = self.open_dialog(trevo)
        controls = controls_by_name(self.wintool.children(dialog["hwnd"]))
        measured = {name: self.wintool.text_extent(c["hwnd"]) for name, c in controls.items()
                    if c["class"].lower() in TEXT_CLASSES}
        self.assertIn("Button 'OK' #1", controls, "no OK button")
        if self.dpi == 96:
            _dialog_at_96.update(controls=controls, measured=measured)

        with self.subTest("every control lies inside the dialog"):
            d_left, d_top, d_right, d_bottom = dialog["rect"]
            for name, c in controls.items():
                left, top, right, bottom = c["rect"]
                self.assertTrue(d_left <= left and d_top <= top and right <= d_right and bottom <= d_bottom,
                                f"{name} at {c['rect']} leaves the dialog at {dialog['rect']}")
        with self.subTest("every text fits its control"):
            for name, text in measured.items():
                self.assert_text_fits(name, controls[name], text)
        with self.subTest("the controls and their font grow with the scale"):
            self.assert_grown(controls, measured)

        self.wintool.press(dialog["hwnd"], caption=CANCEL_CAPTION)
        self.wait(lambda: not [w for w in trevo.visible_windows() if w["title"] == PROPERTIES_TITLE],
                  CHANGE_TIMEOUT, "the dialog hidden after Cancel")

    def test_every_text_fits_in_english_and_in_japanese(self):
        if self.dpi not in LANGUAGE_SCALES:
            self.skipTest(f"the languages are measured at {LANGUAGE_SCALES} dots per inch")
        for language, (title, cancel) in LANGUAGES.items():
            with self.subTest(language=language):
                trevo = self.start(f"[Options]\nLanguage={language}\n")
                try:
                    dialog = self.open_dialog(trevo, title)
                    for name, c in controls_by_name(self.wintool.children(dialog["hwnd"])).items():
                        if c["class"].lower() in TEXT_CLASSES:
                            self.assert_text_fits(name, c, self.wintool.text_extent(c["hwnd"]))
                    self.wintool.press(dialog["hwnd"], caption=cancel)
                finally:
                    trevo.stop()  # the next language's Trevo must not find this one running

    def test_the_settings_dialog_cuts_no_text(self):
        languages = SETTINGS_LANGUAGES if self.dpi in LANGUAGE_SCALES else {"": SETTINGS_LANGUAGES[""]}
        for language, (title, cancel) in languages.items():
            with self.subTest(language=language or "none"):
                trevo = self.start("[Options]\n" + (f"Language={language}\n" if language else ""))
                try:
                    dialog, _, _ = self.open_settings(trevo, title)
                    d_left, d_top, d_right, d_bottom = dialog["rect"]
                    for name, c in controls_by_name(self.wintool.children(dialog["hwnd"])).items():
                        left, top, right, bottom = c["rect"]
                        self.assertTrue(d_left <= left and d_top <= top and right <= d_right and bottom <= d_bottom,
                                        f"{name} at {c['rect']} leaves the dialog at {dialog['rect']}")
                        if c["class"].lower() in TEXT_CLASSES:
                            self.assert_text_fits(name, c, self.wintool.text_extent(c["hwnd"]))
                    self.wintool.press(dialog["hwnd"], caption=cancel)
                    self.closed(trevo, title)
                finally:
                    trevo.stop()

    def assert_text_fits(self, name, control, text):
        width, height = size_of(text["client"])
        needed_width, needed_height = text["extent"][0], text["line_height"]
        kind = control["class"].lower()
        if kind == "button" and text["style"] & BS_TYPEMASK in CHECK_BOX_TYPES:
            needed_width += self.scaled(CHECK_BOX_ROOM)
        elif kind == "button":
            needed_width += 2 * BUTTON_EDGE
            needed_height += 2 * BUTTON_EDGE
        elif kind == "edit":
            margins = self.wintool.send(control["hwnd"], EM_GETMARGINS, 0, 0)
            needed_width += (margins & 0xFFFF) + ((margins >> 16) & 0xFFFF)
        self.assertLessEqual(needed_width, width,
                             f"{name}: {text['text']!r} needs {needed_width:g} px of width in {text['face']} "
                             f"{text['font_height']}, the control has {width}")
        self.assertLessEqual(needed_height, height,
                             f"{name}: a line of {text['face']} {text['font_height']} needs {needed_height} px, "
                             f"the control has {height}")

    def assert_grown(self, controls, measured):
        if not _dialog_at_96:
            self.skipTest("the 96 dots per inch run of this file is the measure; run the whole file")
        before, before_text = _dialog_at_96["controls"], _dialog_at_96["measured"]
        self.assertEqual(sorted(controls), sorted(before), "the dialog has other controls than at 96")
        origin, origin_96 = controls["Button 'OK' #1"]["rect"], before["Button 'OK' #1"]["rect"]
        for name, c in controls.items():
            rect, rect_96 = c["rect"], before[name]["rect"]
            now = (*size_of(rect), rect[0] - origin[0], rect[1] - origin[1])
            at_96 = (*size_of(rect_96), rect_96[0] - origin_96[0], rect_96[1] - origin_96[1])
            for value, value_96, what in zip(now, at_96, ("width", "height", "left from OK", "top from OK")):
                self.assertLessEqual(abs(value - self.scaled(value_96)), LAYOUT_TOLERANCE,
                                     f"{name}: {what} is {value} px, {value_96} px at 96 make "
                                     f"{self.scaled(value_96):g} at {self.dpi}")
        for name, text in measured.items():
            height, height_96 = abs(text["font_height"]), abs(before_text[name]["font_height"])
            self.assertLessEqual(abs(height - self.scaled(height_96)), 1,
                                 f"{name}: the font is {height} px high, {height_96} px at 96")

    # --- a switch out and back --------------------------------------------
    def test_a_window_switched_out_and_back_keeps_its_exact_place_and_size(self):
        title = PROBE_WINDOW[0]
        probe = self.start_probe([PROBE_WINDOW])
        placed = probe.normal_rect(title)
        self.assertEqual(probe.rects()[title], placed, "the probe window is not where it was asked to be")
        self.start()
        self.click_tray_icon(DESKTOPS - 2, screen.LEFT)
        self.wait(lambda: probe.rects()[title] != placed, CHANGE_TIMEOUT, "the window moved off by desktop 2")
        self.assertEqual(probe.rects()[title], probe.normal_rect(title, -SCREEN_WIDTH),
                         "desktop 2 did not move the window by exactly one screen width")
        self.click_tray_icon(DESKTOPS - 1, screen.LEFT)
        self.wait(lambda: probe.rects()[title][0] >= 0, CHANGE_TIMEOUT, "the window back on desktop 1")
        self.assertEqual(probe.rects()[title], placed, "the window did not come back to its exact place and size")


# Named so that the 96 run, the dialog's measure, comes first.
class Scale096Test(ScaleChecks, DialogHelpers, SettingsHelpers, ProbeTestCase):
    log_pixels = 96


class Scale120Test(ScaleChecks, DialogHelpers, SettingsHelpers, ProbeTestCase):
    log_pixels = 120


class Scale144Test(ScaleChecks, DialogHelpers, SettingsHelpers, ProbeTestCase):
    log_pixels = 144


class Scale192Test(ScaleChecks, DialogHelpers, SettingsHelpers, ProbeTestCase):
    log_pixels = 192


if __name__ == "__main__":
    unittest.main(verbosity=2)
