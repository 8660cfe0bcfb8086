"""A program that stops answering under Wine: a switch moves every other
window at once instead of waiting for it, and the window that does not answer
still reaches its desktop once its program takes messages again."""

import os
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from trevo_e2e import probe, screen  # noqa: E402
from trevo_e2e.case import WineTestCase  # noqa: E402
from trevo_e2e.settings import settings_text  # noqa: E402

START_TIMEOUT = 60
CHANGE_TIMEOUT = 20
SCREEN_WIDTH = 1024
HANG_SECONDS = 20
# Well below the hang: a switch that waited for the stopped program could not
# have moved the others by then.
ANSWERING_MOVED_WITHIN = 8
# The stopped program takes the move it was handed once it answers again.
HUNG_MOVED_WITHIN = HANG_SECONDS + 15

ANSWERING = [
    ("Plain One", "ProbePlain", 100, 100, 300, 200, "normal"),
    ("Big One", "ProbePlain", 300, 150, 400, 300, "maximized"),
]
HUNG = ("Hung One", "ProbePlain", 450, 300, 250, 150, "normal")


class HungWindowTest(WineTestCase):
    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        probe.send_to_desktop(cls.prefix)

    def test_a_switch_does_not_wait_for_a_program_that_stopped_answering(self):
        answering = self.start_probe(ANSWERING)
        stopping = self.start_probe([HUNG])
        self.start_trevo(settings_text(desktops_max="3"))
        # The probes' task-bar buttons reach the cells left of Trevo's icons: look at three.
        self.wait(lambda: self.drawn_tray_cells(3) == [True] * 3, START_TIMEOUT, "Trevo's three icons")
        # The first activation restores the maximised window and moves nothing.
        self.wait(lambda: answering.rects()["Big One"] == answering.normal_rect("Big One"), CHANGE_TIMEOUT,
                  "the maximised window restored at start-up")
        settled = {**answering.rects(), **stopping.rects()}
        self.assertEqual(settled[HUNG[0]], stopping.normal_rect(HUNG[0]))

        hung = stopping.stop_answering(HANG_SECONDS * 1000)
        stopped_at = time.monotonic()
        # The posted message is taken at once by an idle probe; a message sent
        # after it is then left unanswered.
        self.wait(lambda: not self.wintool.answers(hung, 300), 10, "the probe to stop answering")
        self.click_tray_icon(1, screen.LEFT)  # desktop 2 (the icons are added from 3 down)

        moved = {title: answering.normal_rect(title, -SCREEN_WIDTH) for title, *_ in ANSWERING}
        self.wait(lambda: answering.rects() == moved, ANSWERING_MOVED_WITHIN,
                  "the answering windows on desktop 2 while the other program does not answer")
        self.assertLess(time.monotonic() - stopped_at, HANG_SECONDS,
                        "the answering windows moved only once the stopped program answered again")

        remaining = HUNG_MOVED_WITHIN - (time.monotonic() - stopped_at)
        self.wait(lambda: stopping.rects()[HUNG[0]] == stopping.normal_rect(HUNG[0], -SCREEN_WIDTH), remaining,
                  "the window that did not answer on desktop 2 once its program answers again")
        self.assertTrue(self.wintool.answers(hung, 2000), "the probe did not answer again after its hang")

        self.click_tray_icon(2, screen.LEFT)  # desktop 1
        self.wait(lambda: {**answering.rects(), **stopping.rects()} == settled, CHANGE_TIMEOUT,
                  "every window back where it was")


if __name__ == "__main__":
    unittest.main(verbosity=2)
