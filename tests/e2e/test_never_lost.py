"""Windows never get lost, under Wine: a Trevo killed on desktop 3 leaves a
record from which the next start brings desktop 1 back; a second Trevo ends
at once; Trevo /gather brings windows beside the screen back, and refuses
while a Trevo runs; the end of the session makes desktop 1 active first."""

import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from test_tray import icon_state, text_bands  # noqa: E402
from trevo_e2e import probe, screen  # noqa: E402
from trevo_e2e.case import RECORD_KEY, ProbeTestCase  # noqa: E402
from trevo_e2e.settings import settings_text  # noqa: E402
from trevo_e2e.wintool import IDOK  # noqa: E402

START_TIMEOUT = 60
CHANGE_TIMEOUT = 20
EXIT_TIMEOUT = 20
SCREEN_WIDTH = 1024
MENU_CLASS = "#32768"

DESK_VALUE = "ActiveDesktop"
WIDTH_VALUE = "DesktopWidth"


def dword(number):
    """A DWORD as `reg query` shows it."""
    return ("REG_DWORD", hex(number))


def shifted(rect, dx):
    left, top, right, bottom = rect
    return [left + dx, top, right + dx, bottom]


class NeverLostCase(ProbeTestCase):
    """What the tests below share; it has no tests of its own."""

    def record(self):
        """The values Trevo keeps in its registry key; none when there is no key."""
        return self.prefix.values(RECORD_KEY) or {}

    def wait_for_icons(self, count, cells=None):
        """Exactly count icons in the first cells. The probe's task-bar buttons
        end short of them while there are few."""
        cells = cells or count + 1
        expected = [True] * count + [False] * (cells - count)
        self.wait(lambda: self.drawn_tray_cells(cells) == expected, START_TIMEOUT, f"{count} icons of Trevo")

    def states(self, count):
        """Each desktop's icon state, desktop 1 first (the icons are added from
        the highest desktop down)."""
        picture = self.screenshot()
        return [icon_state(picture, count - desk) for desk in range(1, count + 1)]

    def choose_exit(self, trevo, desktops, entries=2):
        """Exit is the menu's last entry: after Properties, and Settings where
        Trevo.ini has keys, options or names."""
        self.click_tray_icon(0, screen.RIGHT)
        menu = self.wait(lambda: next((w for w in trevo.visible_windows() if w["class"] == MENU_CLASS), None),
                         CHANGE_TIMEOUT, "the pop-up menu")
        left, top, right, _ = menu["rect"]
        # Off the icon (its tooltip may cover the menu) and off the menu (an entry
        # under the pointer is drawn highlighted).
        screen.move_mouse(self.display.name, left - 40, top - 40)
        bands = self.wait(lambda: (lambda b: b if len(b) == entries else None)(text_bands(self.screenshot(),
                                                                                          menu["rect"])),
                          CHANGE_TIMEOUT, f"the menu's {entries} entries, the last Exit")
        self.click((left + right) // 2, (bands[-1][0] + bands[-1][1]) // 2, screen.LEFT)
        self.assertEqual(trevo.wait_exit(EXIT_TIMEOUT), 0, "Trevo did not end cleanly after Exit")
        self.wait(lambda: not any(self.drawn_tray_cells(desktops)), CHANGE_TIMEOUT, "every icon gone after Exit")


class NeverLostTest(NeverLostCase):
    def test_a_start_after_trevo_was_killed_on_desktop_3_brings_desktop_1_back(self):
        windows = self.start_probe([
            ("Plain One", "ProbePlain", 100, 100, 300, 200, "normal"),
            ("Plain Two", "ProbePlain", 500, 300, 250, 150, "normal"),
        ])
        killed = self.start_trevo(settings_text(desktops_max="3"))
        self.wait_for_icons(3)
        start = windows.rects()
        self.assertEqual(start, {title: windows.normal_rect(title) for title in windows.asked})

        self.click_tray_icon(0)  # desktop 3 (the icons are added from 3 down)
        on_3 = {title: windows.normal_rect(title, -2 * SCREEN_WIDTH) for title in windows.asked}
        self.wait(lambda: windows.rects() == on_3, CHANGE_TIMEOUT, "the windows moved two screens to the left")
        record = self.record()
        self.assertEqual({name: record.get(name) for name in (DESK_VALUE, WIDTH_VALUE)},
                         {DESK_VALUE: dword(3), WIDTH_VALUE: dword(SCREEN_WIDTH)},
                         "the record does not name desktop 3 and the screen width")

        killed.kill()
        self.wait(lambda: not any(self.drawn_tray_cells(3)), CHANGE_TIMEOUT, "the killed Trevo's icons gone")
        self.assertEqual(windows.rects(), on_3, "the windows moved although Trevo was killed")

        restarted = self.start_trevo()
        self.wait(lambda: windows.rects() == start, START_TIMEOUT, "every window back on the screen after the new start")
        self.wait_for_icons(3)
        self.wait(lambda: self.states(3) == ["active", "inactive", "inactive"], CHANGE_TIMEOUT,
                  "desktop 1 active after the new start")
        self.assertEqual(self.record()[DESK_VALUE], dword(1))

        # After Exit there is nothing to bring back: windows left on desktop 2 stay there.
        self.click_tray_icon(1)  # desktop 2
        on_2 = {title: windows.normal_rect(title, -SCREEN_WIDTH) for title in windows.asked}
        self.wait(lambda: windows.rects() == on_2, CHANGE_TIMEOUT, "the windows moved one screen to the left")
        self.choose_exit(restarted, 3)
        left = self.record()
        self.assertNotIn(DESK_VALUE, left, "Exit left the active desktop in the record")
        self.assertNotIn(WIDTH_VALUE, left, "Exit left the desktop width in the record")
        after_exit = self.start_trevo()
        self.wait_for_icons(3)
        self.assertTrue(after_exit.wait_idle(START_TIMEOUT), "Trevo never settled after its start")
        self.assertEqual(windows.rects(), on_2, "a start after Exit moved the windows")

    def test_a_second_trevo_ends_at_once_and_the_first_runs_on(self):
        windows = self.start_probe([("Plain One", "ProbePlain", 100, 100, 300, 200, "normal")])
        first = self.start_trevo(settings_text(desktops_max="2"))
        self.wait_for_icons(2, cells=4)
        start = windows.rects()

        second = self.start_trevo()
        self.assertEqual(second.wait_exit(EXIT_TIMEOUT), 0, "the second Trevo did not end by itself at once")
        self.assertTrue(first.running(), "the first Trevo ended")
        self.assertEqual(self.wintool.dialogs(), [], "a message was shown")
        self.assertEqual(self.drawn_tray_cells(4), [True, True, False, False],
                         "the notification area does not hold exactly the first Trevo's two icons")
        self.assertEqual(windows.rects(), start, "the second Trevo moved a window")

        self.click_tray_icon(0)  # desktop 2
        self.wait(lambda: windows.rects() == {"Plain One": windows.normal_rect("Plain One", -SCREEN_WIDTH)},
                  CHANGE_TIMEOUT, "the first Trevo's switch to desktop 2")

    def test_gather_brings_back_windows_beside_the_screen_and_refuses_while_trevo_runs(self):
        windows = self.start_probe([
            ("Far Left", "ProbePlain", -2 * SCREEN_WIDTH + 100, 100, 300, 200, "normal"),
            ("Right Side", "ProbePlain", SCREEN_WIDTH + 30, 150, 300, 200, "normal"),
            ("Partly On", "ProbePlain", -100, 200, 300, 200, "normal"),
            ("Kept Aside", "ProbeKeep", -1500, 250, 300, 200, "normal"),
            ("Hidden Aside", "ProbePlain", -1900, 300, 200, 100, "hidden"),
        ])
        settings = settings_text(desktops_max="3", no_change=("class(Shell_TrayWnd)", "class(ProbeKeep)"))
        gathered = {**{title: windows.normal_rect(title) for title in windows.asked},
                    "Far Left": windows.normal_rect("Far Left", 2 * SCREEN_WIDTH),
                    "Right Side": windows.normal_rect("Right Side", -SCREEN_WIDTH)}

        rescue = self.start_trevo(settings, arguments=["/gather"])
        self.assertEqual(rescue.wait_exit(EXIT_TIMEOUT), 0, "Trevo /gather did not end by itself")
        self.assertEqual(self.wintool.dialogs(), [], "Trevo /gather left a message")
        self.assertFalse(any(self.drawn_tray_cells(3)), "Trevo /gather left an icon")
        self.wait(lambda: windows.rects() == gathered, CHANGE_TIMEOUT,
                  "the windows beside the screen on it, the others where they were")

        # While a Trevo runs, its desktops lie beside the screen: /gather refuses.
        running = self.start_trevo()
        self.wait_for_icons(3)
        self.assertEqual(windows.rects(), gathered, "a start after /gather moved the windows")
        self.click_tray_icon(1)  # desktop 2
        on_2 = {**gathered, **{title: shifted(gathered[title], -SCREEN_WIDTH)
                               for title in ("Far Left", "Right Side", "Partly On")}}
        self.wait(lambda: windows.rects() == on_2, CHANGE_TIMEOUT, "the windows moved one screen to the left")
        refused = self.start_trevo(arguments=["/gather"])
        boxes = self.wait(refused.message_boxes, START_TIMEOUT, "the message of the refused /gather")
        self.assertEqual(len(boxes), 1, f"more than one message box: {boxes}")
        self.assertEqual(boxes[0]["title"], "Trevo")
        self.assertTrue(boxes[0]["texts"] and boxes[0]["texts"][0].startswith("Trevo is running."),
                        f"not the message of a running Trevo: {boxes[0]['texts']}")
        self.wintool.press(boxes[0]["hwnd"], button_id=IDOK)
        self.assertEqual(refused.wait_exit(EXIT_TIMEOUT), 0, "the refused /gather did not end after OK")
        self.assertEqual(windows.rects(), on_2, "the refused /gather moved a window")
        self.assertTrue(running.running(), "the running Trevo ended")
        self.assertEqual(self.record()[DESK_VALUE], dword(2), "the refused /gather changed the running Trevo's record")

        # A gather after a Trevo was killed brings its desktop 1 back itself: the
        # next start must not bring it back a second time.
        running.kill()
        self.wait(lambda: not any(self.drawn_tray_cells(3)), CHANGE_TIMEOUT, "the killed Trevo's icons gone")
        second_rescue = self.start_trevo(arguments=["/gather"])
        self.assertEqual(second_rescue.wait_exit(EXIT_TIMEOUT), 0, "Trevo /gather did not end by itself")
        # The window that stood partly on the screen now lay wholly beside it: it
        # comes back whole, its left edge on the screen.
        regathered = {**gathered, "Partly On": windows.normal_rect("Partly On", SCREEN_WIDTH)}
        self.wait(lambda: windows.rects() == regathered, CHANGE_TIMEOUT, "the windows of desktop 1 back on the screen")
        self.assertNotIn(DESK_VALUE, self.record(), "Trevo /gather left the killed Trevo's record")
        after = self.start_trevo()
        self.wait_for_icons(3)
        self.assertTrue(after.wait_idle(START_TIMEOUT), "Trevo never settled after its start")
        self.assertEqual(windows.rects(), regathered, "the start after /gather moved the windows")


class EndOfSessionTest(NeverLostCase):
    """In a Wine server of its own: Wine gives out process ids in rising order
    until a few hundred have been used, then hands out freed ones again."""

    def test_the_end_of_the_session_makes_desktop_1_active_first(self):
        trevo = self.start_trevo(settings_text(desktops_max="3"))
        self.wait_for_icons(3)
        # The probe says no to the end of the session, so that its windows stay
        # to be looked at. Wine asks the programs in the order of their process
        # ids and stops at the first that says no: Trevo must be asked before it.
        windows = self.start_probe([
            ("Plain One", "ProbePlain", 100, 100, 300, 200, "normal"),
            ("Plain Two", "ProbePlain", 500, 300, 250, 150, "normal"),
        ], options=[probe.REFUSE_END_SESSION])
        self.assertLess(trevo.pid(), windows.pid, "Wine would ask the probe before Trevo")
        start = windows.rects()
        self.click_tray_icon(0)  # desktop 3
        on_3 = {title: windows.normal_rect(title, -2 * SCREEN_WIDTH) for title in windows.asked}
        self.wait(lambda: windows.rects() == on_3, CHANGE_TIMEOUT, "the windows moved two screens to the left")

        self.desktop.end_session()
        self.wait(lambda: windows.rects() == start, CHANGE_TIMEOUT, "every window back on desktop 1")
        # Trevo let the session end, so Wine ended it; its last switch was to desktop 1.
        self.assertIsNotNone(trevo.wait_exit(EXIT_TIMEOUT), "Trevo stood in the way of the end of the session")
        self.assertEqual(self.record().get(DESK_VALUE), dword(1), "the record does not name desktop 1")


if __name__ == "__main__":
    unittest.main(verbosity=2)
