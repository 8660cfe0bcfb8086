"""One run of Trevo.exe from a scratch folder, on the desktop "shell"."""

import subprocess
import time

from .waiting import wait_for
from .wine import failed_in_wine_startup

PROGRAM_NAME = "Trevo.exe"


class TrevoRun:
    """Trevo started as `wine Trevo.exe [ARGUMENTS...]` in its folder. The
    prefix sends Trevo.exe to the desktop "shell", so the process started here
    is the Windows process itself: its end and exit status are seen directly."""

    def __init__(self, prefix, wintool, folder, locale=None, log_path=None, arguments=()):
        self._prefix = prefix
        self._wintool = wintool
        self._folder = folder
        self._locale = locale
        self._arguments = tuple(arguments)
        self._log_path = log_path
        self._process = None
        self._pid = None
        self._known_pids = set()
        self._started_at = None
        self._restarted = False

    def start(self):
        self._known_pids = self._trevo_pids()
        self._launch()
        return self

    def _launch(self):
        self._started_at = time.monotonic()
        log = open(self._log_path, "ab") if self._log_path else subprocess.DEVNULL
        try:
            self._process = subprocess.Popen(self._prefix.command(PROGRAM_NAME, *self._arguments), cwd=self._folder,
                                             env=self._prefix.env(self._locale), stdin=subprocess.DEVNULL,
                                             stdout=log, stderr=log)
        finally:
            if log is not subprocess.DEVNULL:
                log.close()

    def _trevo_pids(self):
        return {entry["pid"] for entry in self._wintool.processes() if entry["exe"].lower() == PROGRAM_NAME.lower()}

    def pid(self, timeout=30):
        """The Windows process id: the Trevo.exe that was not there before."""
        if self._pid is None:
            def new_pid():
                if not self.running() and not self._restarted and failed_in_wine_startup(
                        self._process.returncode, time.monotonic() - self._started_at):
                    self._restarted = True  # Trevo never ran: Wine's start-up of it failed
                    self._launch()
                    return None
                if not self.running():
                    raise AssertionError(f"Trevo.exe ended (status {self._process.returncode}) "
                                         "before its process id was seen")
                fresh = self._trevo_pids() - self._known_pids
                return min(fresh) if fresh else None
            self._pid = wait_for(new_pid, timeout, "the Trevo.exe process to appear", interval=0.2)
        return self._pid

    def running(self):
        return self._process is not None and self._process.poll() is None

    def wait_exit(self, timeout):
        """The exit status once the process has ended, or None after timeout."""
        try:
            return self._process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            return None

    def kill(self):
        """Ends the process at once, as a crash does: the Linux process gets
        SIGKILL, so Trevo itself is told nothing and cleans nothing up."""
        self._process.kill()
        self._process.wait(timeout=30)

    def windows(self):
        return self._wintool.windows(pid=self.pid())

    def visible_windows(self):
        return self._wintool.windows(pid=self.pid(), visible_only=True)

    def message_boxes(self):
        """Trevo's visible dialog boxes (message boxes are class #32770)."""
        pid = self.pid()
        return [dialog for dialog in self._wintool.dialogs() if dialog["pid"] == pid]

    def wait_idle(self, timeout):
        """True once Trevo sits in its message loop with nothing to do."""
        return self._wintool.wait_idle(self.pid(), timeout)

    def stop(self):
        """Ends the run if it still goes on; used by the tests' clean-up."""
        if not self.running():
            return
        if self._pid is not None:
            self._wintool.kill(self._pid)
        if self.wait_exit(10) is None:
            self._process.kill()
            self._process.wait(timeout=10)
