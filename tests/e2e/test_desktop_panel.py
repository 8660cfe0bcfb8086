"""The panel that names the desktop after a switch by key, under Wine: a
top-level window of Trevo's own, above every window and never active, that
comes and goes by itself while the foreground stays with the user's window."""

import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from trevo_e2e.case import ProbeTestCase  # noqa: E402
from trevo_e2e.settings import settings_text  # noqa: E402

START_TIMEOUT = 60
WATCH_SECONDS = 30
PANEL_CLASS = "TrevoNotice"
# Its extended styles: topmost, never activated, the mouse passing through,
# translucent, and off the task bar and Alt+Tab.
WS_EX_TOPMOST = 0x00000008
WS_EX_TRANSPARENT = 0x00000020
WS_EX_TOOLWINDOW = 0x00000080
WS_EX_LAYERED = 0x00080000
WS_EX_NOACTIVATE = 0x08000000
PANEL_STYLES = WS_EX_TOPMOST | WS_EX_TRANSPARENT | WS_EX_TOOLWINDOW | WS_EX_LAYERED | WS_EX_NOACTIVATE

# title, class, x, y, width, height, state. A window that never moves: no
# move of the switch itself takes the foreground from it.
KEPT = ("Kept One", "ProbeKept", 100, 100, 300, 200, "normal")


class DesktopPanelTest(ProbeTestCase):
    def test_a_key_switch_shows_the_panel_for_a_moment_and_the_foreground_stays(self):
        run = self.start_probe([KEPT])
        settings = settings_text(desktops_max="3", no_change=("class(Shell_TrayWnd)", "class(ProbeKept)"))
        settings += "[Keys]\nDesktop2=Ctrl+Alt+F2\n[Names]\n2=Mail\n[Options]\nShowDesktop=1\n"
        trevo = self.start_trevo(settings)
        self.wait(lambda: self.drawn_tray_cells(3) == [True] * 3, START_TIMEOUT, "Trevo's three icons")
        self.assertTrue(trevo.wait_idle(START_TIMEOUT), "Trevo never settled into waiting for input")
        self.assertEqual([w for w in trevo.windows() if w["class"] == PANEL_CLASS], [], "a panel at the start")
        kept = run.handles[KEPT[0]]
        self.assertTrue(self.wintool.activate(kept), "the kept window did not come to the front")

        watch = self.wintool.watch_window(trevo.pid(), PANEL_CLASS, WATCH_SECONDS)
        self.addCleanup(watch.stop)
        self.wintool.hotkey("ctrl+alt+f2")
        shown, hidden = watch.result(WATCH_SECONDS + 10)
        self.assertIsNotNone(shown, "no panel came after the key")
        self.assertEqual(shown["title"], "Desktop 2\nMail")
        self.assertEqual(shown["exstyle"] & PANEL_STYLES, PANEL_STYLES, f"extended styles {shown['exstyle']:#x}")
        self.assertEqual(shown["foreground"], kept, "the panel took the foreground")
        self.assertIsNotNone(hidden, "the panel stayed")
        self.assertLessEqual(hidden["ms"] - shown["ms"], 3000, "the panel stayed longer than three seconds")
        self.assertEqual(hidden["foreground"], kept, "the foreground left the kept window")


if __name__ == "__main__":
    unittest.main(verbosity=2)
