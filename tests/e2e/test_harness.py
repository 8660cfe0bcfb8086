"""The harness's own pieces that need no Wine: if these are wrong, the
end-to-end tests could pass while looking at the wrong thing."""

import os
import shutil
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from trevo_e2e import screen  # noqa: E402
from trevo_e2e.scratch import ScratchFolder, describe_changes  # noqa: E402
from trevo_e2e.settings import settings_text  # noqa: E402
from trevo_e2e.waiting import WaitTimeout, wait_for  # noqa: E402
from trevo_e2e.wine import WinePrefix  # noqa: E402
from trevo_e2e.wintool import Wintool, WintoolError  # noqa: E402

TASK_BAR = (212, 208, 200)
ICON = (255, 0, 255)


def task_bar_screen(width=1024, height=768, icons=(), size=screen.ICON_SIZE, inset=7):
    """A screen of flat task-bar colour with single icon pixels, inset pixels
    into the given notification-area cells of icons of size pixels."""
    rgb = bytearray(bytes(TASK_BAR) * (width * height))
    for k in icons:
        x, y, _, _ = screen.tray_icon_box(k, width, height, size)
        offset = ((y + inset) * width + x + inset) * 3
        rgb[offset:offset + 3] = bytes(ICON)
    return screen.Picture(width, height, bytes(rgb))


class PictureTest(unittest.TestCase):
    def test_ppm_with_a_comment_is_read_pixel_for_pixel(self):
        picture = screen.Picture.from_ppm(b"P6\n# made by hand\n2 1\n255\n" + bytes([1, 2, 3, 4, 5, 6]))
        self.assertEqual((picture.width, picture.height), (2, 1))
        self.assertEqual(picture.pixel(0, 0), (1, 2, 3))
        self.assertEqual(picture.pixel(1, 0), (4, 5, 6))

    def test_crop_keeps_the_pixels_of_the_rectangle_and_refuses_to_leave_the_picture(self):
        picture = task_bar_screen(icons=[0])
        x, y, width, height = screen.tray_icon_box(0)
        cell = picture.crop(x, y, width, height)
        self.assertEqual(cell.pixel(7, 7), ICON)
        self.assertEqual(cell.colours(), {TASK_BAR, ICON})
        with self.assertRaises(IndexError):
            picture.crop(1020, 760, 16, 16)
        with self.assertRaises(IndexError):
            picture.pixel(1024, 0)

    def test_only_cells_with_something_drawn_count_as_icons(self):
        picture = task_bar_screen(icons=[0, 2])
        self.assertEqual([screen.tray_cell_drawn(picture, k) for k in range(4)], [True, False, True, False])

    def test_a_cell_of_a_scaled_display_is_looked_at_whole(self):
        # A pixel near the far corner of a 32-pixel icon lies outside a 16-pixel cell.
        picture = task_bar_screen(icons=[1], size=32, inset=30)
        self.assertEqual([screen.tray_cell_drawn(picture, k, 32) for k in range(3)], [False, True, False])
        self.assertFalse(screen.tray_cell_drawn(picture, 1))


class TrayGeometryTest(unittest.TestCase):
    def test_icons_march_left_from_the_corner_of_a_1024_by_768_screen(self):
        self.assertEqual(screen.tray_icon_box(0), (1006, 750, 16, 16))
        self.assertEqual(screen.tray_icon_box(4), (926, 750, 16, 16))
        self.assertEqual(screen.tray_icon_centre(1), (994, 758))

    def test_scaled_icons_keep_two_pixels_from_the_edges_and_four_between(self):
        # Wine at 144 dots per inch: the first icon covers x 998-1021, y 742-765.
        self.assertEqual(screen.tray_icon_box(0, size=24), (998, 742, 24, 24))
        self.assertEqual(screen.tray_icon_box(1, size=24), (970, 742, 24, 24))
        self.assertEqual(screen.tray_icon_box(2, 1024, 768, 32), (918, 734, 32, 32))
        self.assertEqual(screen.tray_icon_centre(2, size=32), (934, 750))


class SettingsTextTest(unittest.TestCase):
    def test_an_omitted_key_has_no_line_while_an_empty_one_keeps_its_equals_sign(self):
        self.assertNotIn("Max", settings_text(omit=("Max",)))
        self.assertIn("\nMax=\n", settings_text(desktops_max=""))
        self.assertIn("\nHeight=300\n", settings_text(omit=("Width",)))

    def test_the_default_text_is_the_complete_example_file(self):
        self.assertEqual(settings_text(), "[Desktops]\nMax=3\n[Wallpaper]\n1=\n2=\n3=\n4=\n5=\n[Size]\nKeepSize=0\n"
                                          "Width=400\nHeight=300\n[NoChange-XP]\n01=class(Shell_TrayWnd)\n")


class ScratchFolderTest(unittest.TestCase):
    def setUp(self):
        self.root = tempfile.mkdtemp()
        self.addCleanup(shutil.rmtree, self.root, True)
        self.prefix = WinePrefix(os.path.join(self.root, "prefix"), ":0")
        self.folder = ScratchFolder(os.path.join(self.prefix.drive_c, "tests"), self.prefix.windows_path)

    def test_settings_are_written_in_code_page_932_with_crlf(self):
        self.folder.write_settings("[Size]\nWidth=幅\n")
        with open(self.folder.file("Trevo.ini"), "rb") as written:
            self.assertEqual(written.read(), "[Size]\r\nWidth=幅\r\n".encode("cp932"))

    def test_snapshots_tell_added_changed_and_removed_files_even_of_equal_size(self):
        self.folder.write_settings("Max=3\n")
        before = self.folder.snapshot()
        self.assertEqual(self.folder.snapshot(), before)
        self.folder.write_settings("Max=4\n")
        with open(self.folder.file("Trevo.bmp"), "wb"):
            pass
        self.assertEqual(describe_changes(before, self.folder.snapshot()), "added: Trevo.bmp\nchanged: Trevo.ini")
        os.remove(self.folder.file("Trevo.ini"))
        self.assertIn("removed: Trevo.ini", describe_changes(before, self.folder.snapshot()))

    def test_windows_paths_lie_on_drive_c_inside_the_prefix_and_on_z_outside(self):
        name = os.path.basename(self.folder.path)
        self.assertEqual(self.folder.windows_path("Trevo.ini"), f"C:\\tests\\{name}\\Trevo.ini")
        self.assertEqual(self.prefix.windows_path("/opt/x"), "Z:\\opt\\x")

    def test_a_drive_c_path_leads_back_into_the_prefix_and_others_are_refused(self):
        self.assertEqual(self.prefix.unix_path(self.folder.windows_path("Trevo.ini")), self.folder.file("Trevo.ini"))
        self.assertEqual(self.prefix.unix_path("c:\\users\\me\\"), os.path.join(self.prefix.drive_c, "users", "me"))
        self.assertRaises(ValueError, self.prefix.unix_path, "Z:\\opt\\x")


class WaitForTest(unittest.TestCase):
    def test_returns_the_first_truthy_answer(self):
        answers = iter([None, [], "ready"])
        self.assertEqual(wait_for(lambda: next(answers), 5, "an answer", interval=0.01), "ready")

    def test_gives_up_after_the_timeout_naming_what_it_awaited_and_the_state(self):
        started = time.monotonic()
        with self.assertRaises(WaitTimeout) as caught:
            wait_for(lambda: False, 0.2, "the moon", interval=0.05, describe=lambda: "no moon tonight")
        self.assertLess(time.monotonic() - started, 2)
        self.assertIn("the moon", str(caught.exception))
        self.assertIn("no moon tonight", str(caught.exception))


class StandInPrefix:
    """Runs a shell script in place of wintool.exe; the script sees how many
    times it ran before in the file $RUNS."""

    def __init__(self, script, runs_file):
        self._script = script
        self._runs = runs_file

    def command(self, program, *args):
        return ["sh", "-c", self._script, "wintool", *map(str, args)]

    def env(self):
        return dict(os.environ, RUNS=self._runs)


class WintoolStartupTest(unittest.TestCase):
    """Wine's start-up of a process now and then ends it at once with status 1
    and says nothing; wintool says why for every failure of its own."""

    def call(self, script, *args, accept=(0,)):
        with tempfile.NamedTemporaryFile() as runs:
            prefix = StandInPrefix('n=$(wc -c < "$RUNS"); printf x >> "$RUNS"; ' + script, runs.name)
            try:
                return Wintool(prefix, "wintool.exe").call(*args, accept=accept)
            finally:
                self.runs = os.path.getsize(runs.name)

    def test_a_silent_failure_at_start_is_run_again_and_a_said_one_is_not(self):
        answer = self.call('[ "$n" -lt 2 ] && exit 1; echo \'{"pid": 4}\'', "processes")
        self.assertEqual((answer, self.runs), ((0, [{"pid": 4}]), 3))
        with self.assertRaisesRegex(WintoolError, "status 1: wintool: press: no such button"):
            self.call('echo "wintool: press: no such button" >&2; exit 1', "press")
        self.assertEqual(self.runs, 1)
        self.assertEqual(self.call('echo "wintool: kill: not ended" >&2; exit 1', "kill", accept=(0, 1))[0], 1)
        with self.assertRaisesRegex(WintoolError, "nothing said: Wine did not start the program, 3 times"):
            self.call("exit 1", "windows")
        self.assertEqual(self.runs, 3)


if __name__ == "__main__":
    unittest.main(verbosity=2)
