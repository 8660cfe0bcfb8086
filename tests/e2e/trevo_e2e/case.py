"""The base class of the end-to-end tests.

Each test class gets its own Xvfb display, the shared Wine prefix of the build
folder (classes of a scaled display share another) and a Wine desktop "shell"
held open by keepalive.exe; each test gets a scratch folder with Trevo.exe.
Everything is ended and removed afterwards, also when a test fails.

Where things are comes from the environment (CTest sets it):
  TREVO_EXE_DIR    the folder with Trevo.exe, wintool.exe and keepalive.exe
  TREVO_WINEARCH   the Windows build in that folder: win64 (the default) or win32
  TREVO_E2E_WORK   a folder of the native build for the prefix, logs and
                   screenshots of failures
"""

import atexit
import os
import re
import signal
import subprocess
import sys
import unittest

from . import screen
from .desktop import WineDesktop
from . import probe
from .probe import ProbeRun
from .scratch import ScratchFolder, describe_changes
from .trevo import PROGRAM_NAME, TrevoRun
from .waiting import wait_for
from .wine import DEFAULT_LOCALE, WinePrefix, architecture
from .wintool import Wintool
from .xserver import VirtualDisplay

PREFIX_CREATION_TIMEOUT = 300
PREFIX_FOLDER = "wineprefix"
# The scale lives in the prefix's registry: classes that set one keep to a
# prefix of their own, so that no value of theirs reaches the others, not
# even from a run that was cut short.
SCALED_PREFIX_FOLDER = "wineprefix-scaled"
DEFAULT_DPI = 96
# ANSI code pages Wine picks for the locales the tests use.
CODE_PAGES = {"ja_JP": 932, "en_US": 1252, "en_GB": 1252, "de_DE": 1252, "C": 1252}


class HarnessError(RuntimeError):
    pass


def _required_environment(name):
    value = os.environ.get(name)
    if not value:
        raise HarnessError(f"{name} is not set; run the end-to-end tests through ctest (ctest --preset native)")
    return os.path.abspath(value)


def _locale_installed(locale):
    names = subprocess.run(["locale", "-a"], capture_output=True, text=True, check=False).stdout.split()
    wanted = locale.lower().replace("utf-8", "utf8")
    return locale in ("C", "POSIX") or wanted in (name.lower().replace("utf-8", "utf8") for name in names)


def _safe_name(text):
    return re.sub(r"[^A-Za-z0-9_.-]+", "_", text)


def _end_on_sigterm():
    """CTest ends a test that runs too long with SIGTERM; turning it into an
    ordinary exit lets the atexit clean-up below stop Xvfb and Wine."""
    if signal.getsignal(signal.SIGTERM) is signal.SIG_DFL:
        signal.signal(signal.SIGTERM, lambda number, frame: sys.exit(128 + number))


class WineTestCase(unittest.TestCase):
    locale = DEFAULT_LOCALE   # of the desktop, and of Trevo unless a test says otherwise
    windows_version = None    # what Wine reports to Trevo: "winxp", "win2k", "win7"; None is Wine's default
    screen_size = (1024, 768)
    log_pixels = None         # the display's scale in dots per inch; None is Wine's own 96

    # --- per class: display, prefix, desktop ------------------------------
    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.exe_dir = _required_environment("TREVO_EXE_DIR")
        cls.work_dir = _required_environment("TREVO_E2E_WORK")
        cls.trevo_exe = os.path.join(cls.exe_dir, PROGRAM_NAME)
        for program in (cls.trevo_exe, os.path.join(cls.exe_dir, "wintool.exe"),
                        os.path.join(cls.exe_dir, "keepalive.exe")):
            if not os.path.isfile(program):
                preset = architecture()
                raise HarnessError(f"{program} is missing: build the {preset} preset first "
                                   f"(cmake --preset {preset} && cmake --build --preset {preset})")
        if not _locale_installed(cls.locale):
            raise HarnessError(f"the locale {cls.locale} is not installed (tools/test generates it)")
        cls.logs_dir = os.path.join(cls.work_dir, "logs")
        cls.artifacts_dir = os.path.join(cls.work_dir, "failures")
        os.makedirs(cls.logs_dir, exist_ok=True)
        cls.wine_log = os.path.join(cls.logs_dir, f"{cls.__name__}.wine.log")
        open(cls.wine_log, "wb").close()  # each run's log on its own

        _end_on_sigterm()
        cls.display = VirtualDisplay(*cls.screen_size, log_path=os.path.join(cls.logs_dir, "xvfb.log")).start()
        cls.addClassCleanup(cls.display.stop)
        prefix_folder = PREFIX_FOLDER if cls.log_pixels is None else SCALED_PREFIX_FOLDER
        cls.prefix = WinePrefix(os.path.join(cls.work_dir, prefix_folder), cls.display.name, cls.locale,
                                log_path=cls.wine_log)
        # Also when the run is cut short; both do nothing when already done.
        atexit.register(cls.display.stop)
        atexit.register(cls.prefix.kill_server)
        cls.prefix.kill_server()  # a run that was cut short may have left one behind
        cls.prefix.ensure(PREFIX_CREATION_TIMEOUT)
        cls.addClassCleanup(cls.prefix.kill_server)
        if cls.log_pixels is not None:
            cls.prefix.set_log_pixels(cls.log_pixels)
        cls.wintool = Wintool(cls.prefix, os.path.join(cls.exe_dir, "wintool.exe"))
        cls.desktop = WineDesktop(cls.prefix, cls.wintool, os.path.join(cls.exe_dir, "keepalive.exe"),
                                  *cls.screen_size, log_path=cls.wine_log).start()
        cls.addClassCleanup(cls.desktop.stop)
        cls._check_code_page(cls.locale)
        cls.tray_icon_size = cls._check_scale(cls.log_pixels or DEFAULT_DPI)

    @classmethod
    def _check_scale(cls, dpi):
        """The small icon size, once Wine is seen to run the desktop at the scale."""
        display = cls.wintool.display()
        if display["dpi"] != dpi:
            raise HarnessError(f"Wine runs the desktop at {display['dpi']} dots per inch, not {dpi}")
        return display["small_icon"]

    @classmethod
    def _check_code_page(cls, locale):
        expected = CODE_PAGES.get(locale.split(".")[0])
        reported = cls.wintool.version()["code_page"]
        if expected is not None and reported != expected:
            raise HarnessError(f"Wine runs with ANSI code page {reported} under {locale}, not {expected}")

    # --- per test: scratch folder, Windows version ------------------------
    def setUp(self):
        super().setUp()
        self.trevo_log = os.path.join(self.logs_dir, f"{_safe_name(self.id())}.trevo.log")
        open(self.trevo_log, "wb").close()
        self.failure_screenshot = os.path.join(self.artifacts_dir, _safe_name(self.id()) + ".png")
        if os.path.exists(self.failure_screenshot):
            os.remove(self.failure_screenshot)  # from an earlier run
        self.scratch = ScratchFolder(os.path.join(self.prefix.drive_c, "trevo-tests"), self.prefix.windows_path)
        self.addCleanup(self.scratch.remove)
        self.scratch.add_program(self.trevo_exe)
        self.use_windows_version(self.windows_version)

    def use_windows_version(self, version):
        """Sets what Trevo (and wintool, so that a test can check it) are told
        about the Windows version at their next start."""
        for program in (PROGRAM_NAME, "wintool.exe"):
            self.prefix.set_windows_version(version, program)

    def start_trevo(self, settings=None, locale=None, arguments=()):
        """Writes settings (if given) as the folder's Trevo.ini and starts
        Trevo.exe there with the given command-line arguments; the run is
        ended at clean-up if still going."""
        if settings is not None:
            self.scratch.write_settings(settings)
        run = TrevoRun(self.prefix, self.wintool, self.scratch.path, locale=locale, log_path=self.trevo_log,
                       arguments=arguments)
        self.addCleanup(run.stop)
        return run.start()

    def start_probe(self, windows, timeout=60, options=()):
        """Starts probe_windows.exe with windows given as (title, class, x, y,
        width, height, state) and waits for all of them; ended at clean-up.
        The class must have sent the probe to the desktop (probe.send_to_desktop).
        options go before the windows (probe.REFUSE_END_SESSION)."""
        run = ProbeRun(self.prefix, self.wintool, self.exe_dir, windows, options)
        self.addCleanup(run.stop)
        return run.start(timeout)

    def assertFolderUnchanged(self, before, what="the program folder changed"):
        """Compares a snapshot of the scratch folder (names and bytes) with
        the folder now, naming the entries that differ."""
        after = self.scratch.snapshot()
        if after != before:
            self.fail(f"{what}:\n{describe_changes(before, after)}")

    # --- waiting, with a record of the screen when it fails ---------------
    def wait(self, condition, timeout, what, interval=0.2):
        return wait_for(condition, timeout, what, interval=interval, describe=self.describe_state)

    def describe_state(self):
        """What is on the desktop now, and a screenshot kept for later."""
        lines = []
        try:
            screen.screenshot(self.display.name, self.failure_screenshot)
            lines.append(f"screenshot: {self.failure_screenshot}")
        except Exception as error:
            lines.append(f"(no screenshot: {error})")
        lines.append("visible top-level windows:")
        lines += [f"  {window}" for window in self.wintool.windows(visible_only=True)]
        return "\n".join(lines)

    def screenshot(self, name=None):
        path = os.path.join(self.artifacts_dir, name) if name else None
        return screen.screenshot(self.display.name, path)

    # --- the notification area --------------------------------------------
    def drawn_tray_cells(self, cells=6):
        """Which of the first cells of the notification area hold an icon."""
        picture = self.screenshot()
        return [screen.tray_cell_drawn(picture, k, self.tray_icon_size) for k in range(cells)]

    def wait_for_tray_icons(self, count, timeout=30):
        """Waits until exactly the first count cells hold icons."""
        expected = [True] * count + [False] * (6 - count)
        return self.wait(lambda: self.drawn_tray_cells() == expected, timeout,
                         f"{count} icons in the notification area")

    def click(self, x, y, button=screen.LEFT):
        screen.click(self.display.name, x, y, button)

    def click_tray_icon(self, k, button=screen.LEFT):
        self.click(*screen.tray_icon_centre(k, *self.screen_size, self.tray_icon_size), button=button)

    def tray_icon(self, picture, k):
        """The picture in the k-th notification-area cell, at the display's icon size."""
        return screen.tray_icon(picture, k, self.tray_icon_size)


RECORD_KEY = r"HKCU\Software\Trevo"


class ProbeTestCase(WineTestCase):
    """A test case with probe windows. The record of the active desktop lives
    as long as the Wine server: an earlier test's Trevo, ended at its clean-up
    without Exit, leaves one behind, from which the next start would move the
    new windows; each test starts without it."""

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        probe.send_to_desktop(cls.prefix)

    def setUp(self):
        super().setUp()
        self.prefix.delete_key(RECORD_KEY)
