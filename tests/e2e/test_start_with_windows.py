"""Start with Windows under Wine: with [Options] StartWithWindows in Trevo.ini
the icons' menu has the entry; choosing it writes the user's Run value (the
quoted path of Trevo.exe) and the key, choosing it again removes the value; a
copy started by that command while Trevo runs ends at once; Task Manager's
switch-off shows unchecked and is switched on again; a start follows a moved
folder, and Wine's log-on starts the Trevo the value names."""

import os
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from trevo_e2e import screen  # noqa: E402
from trevo_e2e.case import WineTestCase  # noqa: E402
from trevo_e2e.settings import settings_text  # noqa: E402
from trevo_e2e.wine import DESKTOP_NAME  # noqa: E402
from test_tray import text_bands  # noqa: E402

START_TIMEOUT = 60
CHANGE_TIMEOUT = 20
EXIT_TIMEOUT = 30
RUN_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"
APPROVED_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\StartupApproved\Run"
VALUE = "Trevo"
# The menu's text rows, top to bottom: [Options] offers the Settings dialog too.
PROPERTIES, SETTINGS, START_WITH_WINDOWS, EXIT = 0, 1, 2, 3
# Task Manager's record of an entry it switched off: 03, then when (a FILETIME).
SWITCHED_OFF = "03000000" + "00a0c3d1f27ada01"
SWITCHED_ON = "02" + "00" * 11


def leftmost_dark(picture, rect, band):
    """The first column of a menu row, from the left, with a dark pixel."""
    left, _, right, _ = rect
    for x in range(left + 1, right - 1):
        if any(sum(picture.pixel(x, y)) < 200 for y in range(band[0], band[1] + 1)):
            return x
    return None


class StartedElsewhere:
    """A Trevo that Wine's log-on started, not the test: enough of a run to
    find its menu."""

    def __init__(self, wintool, pid):
        self._wintool = wintool
        self.pid = pid

    def visible_windows(self):
        return self._wintool.windows(pid=self.pid, visible_only=True)


class StartWithWindowsTest(WineTestCase):
    def setUp(self):
        super().setUp()
        # The prefix is shared by every test: none may leave Wine starting a Trevo at log-on.
        for key in (RUN_KEY, APPROVED_KEY):
            self.prefix.delete_value(key, VALUE)
            self.addCleanup(self.prefix.delete_value, key, VALUE)

    def start(self, option):
        trevo = self.start_trevo(settings_text(desktops_max="3") + f"[Options]\nStartWithWindows={option}\n")
        self.wait_for_tray_icons(3, timeout=START_TIMEOUT)
        return trevo

    def run_value(self):
        return (self.prefix.values(RUN_KEY) or {}).get(VALUE)

    def option(self):
        lines = [line for line in self.scratch.read_settings().splitlines() if line.startswith("StartWithWindows=")]
        return lines[0].split("=", 1)[1] if len(lines) == 1 else lines

    def our_command(self):
        return f'"{self.scratch.windows_path("Trevo.exe")}"'

    def open_menu(self, trevo):
        """Opens the menu of desktop 3's icon: its rectangle, its four rows, and
        whether Start with Windows has its check mark (something dark left of
        where the captions begin)."""
        self.click_tray_icon(0, screen.RIGHT)
        menu = self.wait(lambda: next((w for w in trevo.visible_windows() if w["class"] == "#32768"), None),
                         CHANGE_TIMEOUT, "the pop-up menu")
        rect = menu["rect"]
        # Off the icon (its tooltip may cover the menu) and off the menu (an entry
        # under the pointer is drawn highlighted).
        screen.move_mouse(self.display.name, rect[0] - 40, rect[1] - 40)
        bands = self.wait(lambda: (lambda b: b if len(b) == 4 else None)(text_bands(self.screenshot(), rect)),
                          CHANGE_TIMEOUT, "the menu's four entries")
        picture = self.screenshot()
        captions = leftmost_dark(picture, rect, bands[PROPERTIES])
        checked = leftmost_dark(picture, rect, bands[START_WITH_WINDOWS]) < captions - 4
        return rect, bands, checked

    def close_menu(self, trevo):
        self.wait(lambda: not any(w["class"] == "#32768" for w in trevo.visible_windows()), CHANGE_TIMEOUT,
                  "the menu closed")

    def checked(self, trevo):
        """Whether the menu shows Start with Windows checked; the menu is closed again."""
        rect, _, checked = self.open_menu(trevo)
        self.click(rect[0] - 200, rect[1] - 200, screen.LEFT)  # beside the menu: it closes
        self.close_menu(trevo)
        return checked

    def choose(self, trevo, row):
        rect, bands, _ = self.open_menu(trevo)
        self.click((rect[0] + rect[2]) // 2, (bands[row][0] + bands[row][1]) // 2, screen.LEFT)
        if row != EXIT:
            self.close_menu(trevo)

    def trevo_pids(self):
        return [p["pid"] for p in self.wintool.processes() if p["exe"].lower() == "trevo.exe"]

    def end_every_trevo(self):
        for pid in self.trevo_pids():
            self.wintool.kill(pid)

    def test_the_entry_writes_and_removes_the_run_value_and_the_key_follows(self):
        trevo = self.start("0")
        self.assertFalse(self.checked(trevo), "checked before it was chosen")
        self.assertIsNone(self.run_value())

        self.choose(trevo, START_WITH_WINDOWS)
        self.wait(lambda: self.run_value() == ("REG_SZ", self.our_command()), CHANGE_TIMEOUT,
                  f"the Run value {self.our_command()}")
        self.assertEqual(self.option(), "1")
        self.assertTrue(self.checked(trevo), "no check mark once it is on")

        # What Windows runs at log-on, started while Trevo runs: it ends at once.
        second = subprocess.Popen(self.prefix.command(self.run_value()[1].strip('"')), env=self.prefix.env(),
                                  stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(lambda: second.poll() is not None or second.kill())
        self.assertEqual(second.wait(EXIT_TIMEOUT), 0, "the copy started at log-on did not end by itself")
        self.assertTrue(trevo.running(), "the first Trevo ended")
        self.assertEqual(self.run_value(), ("REG_SZ", self.our_command()))

        self.choose(trevo, START_WITH_WINDOWS)
        self.wait(lambda: self.run_value() is None, CHANGE_TIMEOUT, "the Run value removed")
        self.assertEqual(self.option(), "0")
        self.assertFalse(self.checked(trevo), "still checked once it is off")
        self.assertEqual(self.wintool.dialogs(), [], "a message was shown")

    def test_task_managers_switch_off_shows_unchecked_and_is_switched_on_again(self):
        trevo = self.start("0")
        self.choose(trevo, START_WITH_WINDOWS)
        self.wait(lambda: self.run_value() is not None, CHANGE_TIMEOUT, "the Run value")
        self.prefix.set_value(APPROVED_KEY, VALUE, SWITCHED_OFF, "REG_BINARY")
        self.assertFalse(self.checked(trevo), "checked while Task Manager has it off")

        self.choose(trevo, START_WITH_WINDOWS)
        self.wait(lambda: (self.prefix.values(APPROVED_KEY) or {}).get(VALUE) == ("REG_BINARY", SWITCHED_ON),
                  CHANGE_TIMEOUT, "Task Manager's record switched on")
        self.assertEqual(self.run_value(), ("REG_SZ", self.our_command()))
        self.assertEqual(self.option(), "1")
        self.assertTrue(self.checked(trevo), "unchecked once switched on again")

    def test_a_start_follows_a_moved_folder_and_log_on_starts_that_trevo(self):
        self.prefix.set_value(RUN_KEY, VALUE, r'"C:\Old Place\Trevo.exe"')
        trevo = self.start("1")
        self.wait(lambda: self.run_value() == ("REG_SZ", self.our_command()), CHANGE_TIMEOUT,
                  "the Run value naming the Trevo.exe of the new folder")
        self.choose(trevo, EXIT)
        self.assertIsNotNone(trevo.wait_exit(EXIT_TIMEOUT), "Trevo goes on after Exit")
        self.wait(lambda: not any(self.drawn_tray_cells()), CHANGE_TIMEOUT, "every icon gone after Exit")

        # A log-on: wineboot starts what the user's Run key names. Run on the
        # desktop with the task bar, it hands that desktop to what it starts.
        self.addCleanup(self.end_every_trevo)
        width, height = self.screen_size
        self.prefix.wine(["explorer", f"/desktop={DESKTOP_NAME},{width}x{height}", "wineboot"])
        self.wait_for_tray_icons(3, timeout=START_TIMEOUT)
        started = self.trevo_pids()
        self.assertEqual(len(started), 1, "not one Trevo started at log-on")
        at_log_on = StartedElsewhere(self.wintool, started[0])
        self.assertTrue(self.checked(at_log_on), "the Trevo started at log-on does not show it on")
        self.choose(at_log_on, EXIT)
        self.assertIsNotNone(self.wintool.wait_exit(at_log_on.pid, EXIT_TIMEOUT),
                             "the Trevo started at log-on goes on after Exit")
        self.assertEqual(self.option(), "1")



if __name__ == "__main__":
    unittest.main(verbosity=2)
