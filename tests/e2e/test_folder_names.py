"""A program folder whose name the ANSI code page cannot spell: under Wine in
code page 932, Trevo in a folder named "café" reads its own Trevo.ini, writes
Trevo.bmp there and sets it as the wallpaper, switches, and OK in the dialog
writes that same Trevo.ini (through the folder's short name)."""

import os
import shutil
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from test_dialog import DialogHelpers, MESSAGE  # noqa: E402
from trevo_e2e import screen  # noqa: E402
from trevo_e2e.case import ProbeTestCase  # noqa: E402
from trevo_e2e.settings import settings_text  # noqa: E402
from trevo_e2e.trevo import PROGRAM_NAME, TrevoRun  # noqa: E402
from trevo_e2e.wintool import IDOK  # noqa: E402

START_TIMEOUT = 60
CHANGE_TIMEOUT = 20
FOLDER_NAME = "café"  # é is not in code page 932; its best fit "cafe" would name another folder
PLAIN = ("Plain One", "ProbePlain", 450, 80, 300, 200, "normal")


class FolderNamesTest(DialogHelpers, ProbeTestCase):
    def test_a_folder_named_cafe_in_code_page_932(self):
        self.assertEqual(self.wintool.version()["code_page"], 932)
        folder = os.path.join(self.scratch.path, FOLDER_NAME)
        namesake = os.path.join(self.scratch.path, "cafe")
        os.makedirs(folder)
        os.makedirs(namesake)
        shutil.copyfile(self.trevo_exe, os.path.join(folder, PROGRAM_NAME))
        picture = self.scratch.file("desk1.bmp")
        subprocess.run(["convert", "-size", "64x48", "xc:blue", "BMP3:" + picture], check=True, timeout=60)
        settings = settings_text(desktops_max="2", wallpapers=(self.scratch.windows_path("desk1.bmp"), "", "", "", ""))
        own = os.path.join(folder, "Trevo.ini")
        with open(own, "wb") as file:
            file.write(settings.replace("\n", "\r\n").encode("cp932"))
        # Another folder's settings, with another count, must never be read.
        with open(os.path.join(namesake, "Trevo.ini"), "wb") as file:
            file.write(settings_text(desktops_max="5").replace("\n", "\r\n").encode("cp932"))
        windows = self.start_probe([PLAIN])

        run = TrevoRun(self.prefix, self.wintool, folder, log_path=self.trevo_log)
        self.addCleanup(run.stop)
        trevo = run.start()
        # The probe's task-bar buttons reach the cells left of Trevo's icons: look at two.
        self.wait(lambda: self.drawn_tray_cells(2) == [True, True], START_TIMEOUT, "Trevo's two icons")
        self.assertEqual(trevo.message_boxes(), [], "Trevo said something at start-up")

        bitmap = os.path.join(folder, "Trevo.bmp")
        self.wait(lambda: os.path.isfile(bitmap), CHANGE_TIMEOUT, "Trevo.bmp in the folder named café")
        wallpaper = self.wintool.wallpaper()
        self.assertTrue(wallpaper.lower().endswith("\\trevo.bmp"), wallpaper)
        self.assertIn("~", wallpaper, "the wallpaper is not set through the folder's short name")
        self.assertFalse(os.path.exists(os.path.join(namesake, "Trevo.bmp")), "Trevo wrote into the namesake folder")

        self.click_tray_icon(0, screen.LEFT)  # desktop 2: the icons are added from the highest down
        self.wait(lambda: windows.rects()[PLAIN[0]] == windows.normal_rect(PLAIN[0], -1024), CHANGE_TIMEOUT,
                  "the plain window moved one screen to the left")

        dialog = self.open_dialog(trevo)
        self.count_up_to(dialog, 3)
        self.wintool.press(dialog["hwnd"], caption="OK")
        box = self.wait(lambda: [d for d in trevo.message_boxes() if MESSAGE in "".join(d["texts"])], CHANGE_TIMEOUT,
                        "the message after OK")[0]
        self.wintool.press(box["hwnd"], button_id=IDOK)
        with open(own, "rb") as file:
            self.assertIn(b"Max=3", file.read(), "OK did not write the folder's own Trevo.ini")
        with open(os.path.join(namesake, "Trevo.ini"), "rb") as file:
            self.assertIn(b"Max=5", file.read())


if __name__ == "__main__":
    unittest.main(verbosity=2)
