"""The Wine desktop "shell": a virtual desktop with a task bar and a
notification area, held open by keepalive.exe while Trevo comes and goes."""

import os
import subprocess
import time

from .waiting import wait_for
from .wine import DESKTOP_NAME, failed_in_wine_startup

TASK_BAR_CLASS = "Shell_TrayWnd"


class ExplorerEnded(AssertionError):
    def __init__(self, message, in_wine_startup):
        super().__init__(message)
        self.in_wine_startup = in_wine_startup


class WineDesktop:
    def __init__(self, prefix, wintool, keepalive_exe, width=1024, height=768, log_path=None):
        self._prefix = prefix
        self._wintool = wintool
        self._keepalive = keepalive_exe
        self.width = width
        self.height = height
        self._log_path = log_path
        self._process = None

    def start(self, timeout=90, attempts=3):
        # Wine's start-up of a process now and then fails before the program
        # runs (status 1, nothing said); nothing was made then, so start again.
        for attempt in range(1, attempts + 1):
            self._launch()
            try:
                # Only once keepalive runs does the desktop "shell" exist. A Wine
                # program started before that (wintool among them) would make a
                # desktop of that name itself, one without a task bar.
                wait_for(self._keepalive_started, timeout, "keepalive.exe to start on the Wine desktop", interval=0.2)
                break
            except ExplorerEnded as ended:
                if attempt == attempts or not ended.in_wine_startup:
                    raise
        wait_for(self.task_bar, timeout, "the Wine desktop's task bar to appear",
                 interval=0.5, describe=lambda: f"top-level windows: {self._wintool.windows()}")
        return self

    def _launch(self):
        self._launched_at = time.monotonic()
        log = open(self._log_path, "ab") if self._log_path else subprocess.DEVNULL
        try:
            self._process = subprocess.Popen(
                self._prefix.command("explorer", f"/desktop={DESKTOP_NAME},{self.width}x{self.height}",
                                     os.path.basename(self._keepalive)),
                cwd=os.path.dirname(self._keepalive), env=self._prefix.env(), stdin=subprocess.DEVNULL,
                stdout=log, stderr=log)
        finally:
            if log is not subprocess.DEVNULL:
                log.close()

    def end_session(self, timeout=60):
        """Ends the session as Wine does, on this desktop: wineboot asks the
        programs one after the other, in the order of their process ids,
        whether the session may end (WM_QUERYENDSESSION), tells each the
        answer (WM_ENDSESSION), ends every one that agreed and stops at the
        first that refused. Plain `wine wineboot` works on a desktop of its
        own and finds none of these windows; started by explorer /desktop
        it joins this one. -s (shut down) keeps it from starting the session
        anew afterwards. Returns once wineboot has ended."""
        log = open(self._log_path, "ab") if self._log_path else subprocess.DEVNULL
        try:
            subprocess.run(self._prefix.command("explorer", f"/desktop={DESKTOP_NAME},{self.width}x{self.height}",
                                                "wineboot", "-e", "-s"), env=self._prefix.env(), stdin=subprocess.DEVNULL,
                           stdout=log, stderr=log, timeout=timeout, check=False)
        finally:
            if log is not subprocess.DEVNULL:
                log.close()
        # The explorer that joins the desktop need not wait for the program it starts.
        wait_for(lambda: not self._prefix.linux_pids("wineboot.exe"), timeout, "wineboot to finish", interval=0.2)

    def task_bar(self):
        """The visible task bar window, or None."""
        for window in self._wintool.windows(visible_only=True):
            if window["class"] == TASK_BAR_CLASS:
                return window
        return None

    def _keepalive_started(self):
        """Looks for keepalive.exe among this prefix's Linux processes."""
        if self._process.poll() is not None and self._process.returncode != 0:
            raise ExplorerEnded(f"wine explorer ended with status {self._process.returncode}",
                                failed_in_wine_startup(self._process.returncode,
                                                       time.monotonic() - self._launched_at))
        return bool(self._prefix.linux_pids(os.path.basename(self._keepalive)))

    def stop(self):
        """Ends everything in the prefix, the desktop with it."""
        try:
            self._prefix.kill_server()
        finally:
            if self._process is not None:
                try:
                    self._process.wait(timeout=30)
                except subprocess.TimeoutExpired:
                    self._process.kill()
                    self._process.wait(timeout=10)
                self._process = None
