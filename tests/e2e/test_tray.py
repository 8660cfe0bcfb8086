"""The notification area under Wine: one numbered icon per desktop, a left
click makes its desktop active, a right click opens the menu, and Exit removes
every icon and ends Trevo. Both orders in which the icons are added are
covered: from the highest number down on the XP family, from 1 up otherwise."""

import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from trevo_e2e import screen  # noqa: E402
from trevo_e2e.case import WineTestCase  # noqa: E402
from trevo_e2e.settings import settings_text  # noqa: E402

START_TIMEOUT = 60
CHANGE_TIMEOUT = 20

MAGENTA = (255, 0, 255)
WHITE = (255, 255, 255)
LIGHT_GREY = (192, 192, 192)


def icon_state(picture, cell):
    """'active', 'inactive' or None, from the colours of one icon."""
    colours = screen.tray_icon(picture, cell).colours()
    if MAGENTA in colours and WHITE in colours:
        return "active"
    if LIGHT_GREY in colours and MAGENTA not in colours:
        return "inactive"
    return None


def text_bands(picture, rect, ink=200):
    """The runs of rows inside a menu that hold dark (text) pixels, darker
    than ink (the sum of red, green and blue)."""
    left, top, right, bottom = rect
    bands, inside = [], False
    for y in range(top + 2, bottom - 2):
        dark = any(sum(picture.pixel(x, y)) < ink for x in range(left + 4, right - 4))
        if dark and not inside:
            bands.append([y, y])
        if dark:
            bands[-1][1] = y
        inside = dark
    return [band for band in bands if band[1] - band[0] >= 4]


class TrayTest(WineTestCase):
    # Which cell each desktop's icon lands in: the first icon added is rightmost.
    xp_family = True

    def cell(self, desk, count=3):
        return count - desk if self.xp_family else desk - 1

    def states(self, count=3):
        picture = self.screenshot()
        return [icon_state(picture, self.cell(desk, count)) for desk in range(1, count + 1)]

    def start_three(self):
        # The task bar must stay where it is, whatever family Wine reports.
        trevo = self.start_trevo(settings_text(desktops_max="3") + "[NoChange-2K]\n01=class(Shell_TrayWnd)\n")
        self.wait_for_tray_icons(3, timeout=START_TIMEOUT)
        self.wait(lambda: self.states() == ["active", "inactive", "inactive"], CHANGE_TIMEOUT,
                  "desktop 1 shown active and desktops 2 and 3 inactive")
        return trevo

    def popup_menu(self, trevo):
        menus = [w for w in trevo.visible_windows() if w["class"] == "#32768"]
        return menus[0] if menus else None

    def test_a_left_click_makes_its_desktop_active(self):
        trevo = self.start_three()
        self.click_tray_icon(self.cell(2), screen.LEFT)
        self.wait(lambda: self.states() == ["inactive", "active", "inactive"], CHANGE_TIMEOUT,
                  "desktop 2 active after its icon was clicked")
        self.click_tray_icon(self.cell(2), screen.LEFT)  # again: nothing changes
        self.click_tray_icon(self.cell(3), screen.MIDDLE)  # the middle button selects nothing
        # Trevo takes the clicks in order: once the menu of a later right click is
        # up, the two clicks before it have been handled.
        self.click_tray_icon(self.cell(3), screen.RIGHT)
        menu = self.wait(lambda: self.popup_menu(trevo), CHANGE_TIMEOUT, "the pop-up menu after the clicks")
        self.assertEqual(self.states(), ["inactive", "active", "inactive"])
        left, top, _, _ = menu["rect"]
        self.click(left - 200, top - 200, screen.LEFT)  # beside the menu: it closes
        self.wait(lambda: self.popup_menu(trevo) is None, CHANGE_TIMEOUT, "the menu closed")
        self.assertEqual(self.states(), ["inactive", "active", "inactive"])

    def test_the_menu_has_its_entries_and_exit_ends_trevo(self):
        trevo = self.start_three()
        self.click_tray_icon(self.cell(3), screen.RIGHT)
        menu = self.wait(lambda: self.popup_menu(trevo), CHANGE_TIMEOUT, "the pop-up menu")
        # Off the icon (its tooltip may cover the menu) and off the menu (an entry
        # under the pointer is drawn highlighted).
        left, top, right, _ = menu["rect"]
        screen.move_mouse(self.display.name, left - 40, top - 40)
        bands = self.wait(lambda: (lambda b: b if len(b) == 2 else None)(text_bands(self.screenshot(), menu["rect"])),
                          CHANGE_TIMEOUT, "the menu's two entries, Properties and Exit")
        exit_row = (bands[1][0] + bands[1][1]) // 2
        self.click((left + right) // 2, exit_row, screen.LEFT)
        self.assertIsNotNone(trevo.wait_exit(CHANGE_TIMEOUT), "Trevo goes on after Exit")
        self.wait(lambda: not any(self.drawn_tray_cells()), CHANGE_TIMEOUT, "every icon gone after Exit")


class TrayTestWindows2000(TrayTest):
    """On Windows 2000 the icons are added from desktop 1 up."""
    windows_version = "win2k"
    xp_family = False


if __name__ == "__main__":
    unittest.main(verbosity=2)
