"""probe_windows.exe: one process with top-level windows of the titles,
classes, places and states a test asks for (see tests/probe/probe_windows.cpp)."""

import os
import subprocess

from .waiting import wait_for
from .wine import DESKTOP_NAME

PROBE_EXE = "probe_windows.exe"
STOP_ANSWERING = 0x8000 + 1  # WM_APP + 1, wParam = milliseconds
TELL_NORMAL_POSITION = 0x8000 + 2  # WM_APP + 2: the restored left and top, packed in two words
# The probe answers FALSE to WM_QUERYENDSESSION: the end of the session stops at it.
REFUSE_END_SESSION = "--refuse-end-session"


def send_to_desktop(prefix):
    """Makes probe_windows.exe open on the desktop with the task bar."""
    prefix.set_value(rf"HKCU\Software\Wine\AppDefaults\{PROBE_EXE}\Explorer", "Desktop", DESKTOP_NAME)


class ProbeRun:
    """One probe process. Its windows are known by handle from the start on,
    because reading the title of a window whose thread stopped answering
    gives nothing."""

    def __init__(self, prefix, wintool, exe_dir, windows, options=()):
        self._prefix = prefix
        self._wintool = wintool
        self._exe = os.path.join(exe_dir, PROBE_EXE)
        self._options = tuple(options)  # REFUSE_END_SESSION
        self.asked = {window[0]: window for window in windows}  # title, class, x, y, width, height, state
        self._process = None
        self.pid = None
        self.handles = {}  # title -> hwnd

    def start(self, timeout=60):
        known = self._probe_pids()
        args = ["|".join(map(str, window)) for window in self.asked.values()]
        self._process = subprocess.Popen(self._prefix.command(self._exe, *self._options, *args), env=self._prefix.env(),
                                         stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                         stderr=subprocess.DEVNULL)

        def all_windows():
            if self._process.poll() is not None:
                raise AssertionError(f"{PROBE_EXE} ended with status {self._process.returncode}")
            for pid in self._probe_pids() - known:
                titles = {w["title"]: w["hwnd"] for w in self._wintool.windows(pid=pid)}
                if all(title in titles for title in self.asked):
                    self.pid = pid
                    self.handles = {title: titles[title] for title in self.asked}
                    return True
            return False
        wait_for(all_windows, timeout, f"the windows of {PROBE_EXE}", interval=0.3)
        return self

    def _probe_pids(self):
        return {entry["pid"] for entry in self._wintool.processes() if entry["exe"].lower() == PROBE_EXE}

    def rects(self):
        """title -> [left, top, right, bottom] of each of the probe's windows."""
        by_handle = {w["hwnd"]: w["rect"] for w in self._wintool.windows(pid=self.pid)}
        return {title: by_handle.get(hwnd) for title, hwnd in self.handles.items()}

    def normal_rect(self, title, shift=0):
        """Where the window stands in its normal state, moved by shift pixels."""
        _, _, x, y, width, height, _ = self.asked[title]
        return [x + shift, y, x + shift + width, y + height]

    def minimized(self, title):
        by_handle = {w["hwnd"]: w["minimized"] for w in self._wintool.windows(pid=self.pid)}
        return by_handle.get(self.handles[title])

    def normal_position(self, title):
        """(left, top) where the window will stand when restored, as its own
        process sees it (in workspace coordinates)."""
        packed = self._wintool.send(self.handles[title], TELL_NORMAL_POSITION, 0, 0) & 0xFFFFFFFF

        def signed(word):
            return word - 0x10000 if word & 0x8000 else word
        return signed(packed & 0xFFFF), signed(packed >> 16)

    def stop_answering(self, milliseconds, title=None):
        """Makes the probe's thread take no message for the given time."""
        hwnd = self.handles[title or next(iter(self.handles))]
        self._wintool.post(hwnd, STOP_ANSWERING, int(milliseconds), 0)
        return hwnd

    def stop(self):
        if self._process is None:
            return
        if self.pid is not None:
            self._wintool.kill(self.pid)
        try:
            self._process.wait(timeout=20)
        except subprocess.TimeoutExpired:
            self._process.kill()
            self._process.wait(timeout=10)
        self._process = None
