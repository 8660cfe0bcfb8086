"""Hotkeys and the foreground under Wine: keys typed anywhere switch desktops
and send the foreground window away; a window of another desktop that comes
to the foreground brings its desktop; a combination another program holds
costs only that key; minimised windows stay minimised across switches."""

import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from trevo_e2e import screen  # noqa: E402
from trevo_e2e.case import RECORD_KEY, ProbeTestCase  # noqa: E402
from trevo_e2e.settings import settings_text  # noqa: E402
from trevo_e2e.wintool import IDOK  # noqa: E402

START_TIMEOUT = 60
CHANGE_TIMEOUT = 20
WIDTH = 1024
NOTICE_KEY = r"HKCU\Software\Trevo Keys"

KEYS = {
    "Desktop1": "Ctrl+Alt+F1",
    "Desktop2": "Ctrl+Alt+F2",
    "Desktop3": "Ctrl+Win+F3",
    "Next": "Ctrl+Alt+PageDown",
    "Previous": "Ctrl+Alt+PageUp",
    "Send2": "Ctrl+Alt+Shift+F2",
}
# title, class, x, y, width, height, state
FRONT = ("Front One", "ProbePlain", 100, 100, 300, 200, "normal")
BACK = ("Back One", "ProbePlain", 500, 300, 300, 200, "normal")
SMALL = ("Small One", "ProbePlain", 400, 300, 200, 100, "minimized")


def keys_settings(**options):
    lines = ["[Keys]", *(f"{name}={combination}" for name, combination in KEYS.items()), "[Options]"]
    lines += [f"{name}={value}" for name, value in options.items()]
    return settings_text(desktops_max="3") + "\n".join(lines) + "\n"


class KeysTest(ProbeTestCase):
    def start(self, windows, **options):
        """The probe's windows, then Trevo with the keys, waiting for its input."""
        run = self.start_probe(windows)
        trevo = self.start_trevo(keys_settings(**options))
        # The probe's task-bar buttons reach the cells left of Trevo's icons: look at three.
        self.wait(lambda: self.drawn_tray_cells(3) == [True] * 3, START_TIMEOUT, "Trevo's three icons")
        self.assertTrue(trevo.wait_idle(START_TIMEOUT), "Trevo never settled into waiting for input")
        return run, trevo

    def press(self, *names):
        self.wintool.hotkey(*(KEYS[name] for name in names))

    def wait_shifted(self, run, what, **shifts):
        """Waits until each window named (by its first word) stands that far from its place."""
        wanted = {title: run.normal_rect(title, shifts[title.split()[0].lower()]) for title in run.asked}
        return self.wait(lambda: run.rects() == wanted, CHANGE_TIMEOUT, what)

    def tray_pictures(self):
        picture = self.screenshot()
        return [screen.tray_icon(picture, k).to_ppm() for k in range(3)]

    def test_keys_switch_desktops_and_send_the_foreground_window_away(self):
        run, _ = self.start([FRONT, BACK])
        self.press("Desktop2")
        self.wait_shifted(run, "desktop 2 by its key", front=-WIDTH, back=-WIDTH)
        self.press("Next")
        self.wait_shifted(run, "desktop 3 by Next", front=-2 * WIDTH, back=-2 * WIDTH)
        # Next on the last desktop stays there: Previous then reaches desktop 2, not 3 or 1.
        self.press("Next", "Previous")
        self.wait_shifted(run, "desktop 2 after Next at the end and Previous", front=-WIDTH, back=-WIDTH)
        self.press("Desktop1")
        self.wait_shifted(run, "desktop 1 by its key", front=0, back=0)

        self.assertTrue(self.wintool.activate(run.handles[FRONT[0]]), "the probe window did not come to the front")
        icons = self.tray_pictures()
        self.press("Send2")
        self.wait_shifted(run, "the foreground window sent to desktop 2, the other one staying", front=WIDTH, back=0)
        self.assertEqual(self.tray_pictures(), icons, "sending a window changed the icons: the desktop changed")
        self.assertEqual(self.wintool.foreground()["hwnd"], run.handles[BACK[0]],
                         "the foreground did not pass to the window left on the screen")
        self.press("Desktop2")
        self.wait_shifted(run, "the sent window on the screen with desktop 2", front=0, back=-WIDTH)

    def test_a_window_of_another_desktop_that_comes_to_the_front_brings_its_desktop(self):
        run, _ = self.start([FRONT, BACK], FollowFocus=1)
        front, back = run.handles[FRONT[0]], run.handles[BACK[0]]
        self.assertTrue(self.wintool.activate(front), "the probe window did not come to the front")
        self.press("Send2")
        self.wait_shifted(run, "the foreground window sent to desktop 2", front=WIDTH, back=0)
        # The switch follows at once: who has the foreground is asked once it is done.
        self.wintool.activate(front)
        self.wait_shifted(run, "desktop 2 brought by the window sent there", front=0, back=-WIDTH)
        self.assertEqual(self.wintool.foreground()["hwnd"], front,
                         "the foreground did not stay with the window that brought its desktop")
        self.wintool.activate(back)
        self.wait_shifted(run, "desktop 1 brought by its window", front=WIDTH, back=0)

    def test_a_combination_held_by_another_program_costs_only_that_key(self):
        self.prefix.delete_key(NOTICE_KEY)  # told in an earlier run: it would not be told again
        holder = self.wintool.grab_hotkey(KEYS["Desktop2"], 300)

        def release():
            holder.kill()
            holder.wait(timeout=20)
        self.addCleanup(release)
        self.addCleanup(self.prefix.delete_key, NOTICE_KEY)
        run = self.start_probe([FRONT])
        trevo = self.start_trevo(keys_settings())
        boxes = self.wait(trevo.message_boxes, START_TIMEOUT, "Trevo's message about the key")
        self.assertEqual([box["title"] for box in boxes], ["Trevo"])
        text = "\n".join(boxes[0]["texts"])
        self.assertTrue(text.startswith("Another program already uses these keys"), text)
        self.assertIn("Desktop2=Ctrl+Alt+F2", text)
        for name in KEYS.keys() - {"Desktop2"}:
            self.assertNotIn(name, text, "a key Trevo did take is listed as taken by another program")
        self.wintool.press(boxes[0]["hwnd"], button_id=IDOK)
        self.assertEqual(self.prefix.values(NOTICE_KEY)["NotTaken"][0], "REG_SZ", "the list told was not kept")

        self.press("Desktop3")
        self.wait_shifted(run, "desktop 3 by its key beside the one not taken", front=-2 * WIDTH)
        self.press("Desktop1")
        self.wait_shifted(run, "desktop 1 by its key", front=0)

        # The same keys missing at the next start: nothing is said again.
        trevo.stop()
        trevo = self.start_trevo()
        self.wait(lambda: self.drawn_tray_cells(3) == [True] * 3, START_TIMEOUT, "Trevo's three icons again")
        self.assertTrue(trevo.wait_idle(START_TIMEOUT))
        self.press("Desktop3")
        self.wait_shifted(run, "desktop 3 by its key after the restart", front=-2 * WIDTH)
        self.assertEqual(trevo.message_boxes(), [], "the same keys not taken were told a second time")

    def test_a_minimised_window_stays_minimised_and_comes_back_to_its_place(self):
        run, _ = self.start([FRONT, SMALL], KeepMinimised=1)
        small = SMALL[0]
        self.assertTrue(run.minimized(small), "the start restored the minimised window")
        place = run.normal_position(small)
        for desk, how in ((2, "Desktop2"), (3, "Next"), (1, None)):
            if how:
                self.press(how)
            else:
                self.click_tray_icon(2, screen.LEFT)  # desktop 1 (the icons are added from 3 down)
            self.wait(lambda: run.rects()[FRONT[0]] == run.normal_rect(FRONT[0], (1 - desk) * WIDTH),
                      CHANGE_TIMEOUT, f"desktop {desk}")
            self.assertTrue(run.minimized(small), f"the switch to desktop {desk} restored the minimised window")
        # Trevo keeps where it belongs apart: its restore place is never touched.
        self.assertEqual(run.normal_position(small), place, "the minimised window will not restore where it was")


if __name__ == "__main__":
    unittest.main(verbosity=2)
