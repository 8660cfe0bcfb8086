"""A private Xvfb display for one test run."""

import os
import select
import subprocess


class XServerError(RuntimeError):
    pass


class VirtualDisplay:
    """Xvfb on a display number it picks itself (-displayfd), so that test
    runs never collide with each other or with a desktop already running."""

    def __init__(self, width=1024, height=768, depth=24, log_path=None, start_timeout=30):
        self.width = width
        self.height = height
        self._depth = depth
        self._log_path = log_path
        self._start_timeout = start_timeout
        self._process = None
        self.number = None

    @property
    def name(self):
        return f":{self.number}"

    def start(self):
        read_end, write_end = os.pipe()
        log = open(self._log_path, "ab") if self._log_path else subprocess.DEVNULL
        try:
            self._process = subprocess.Popen(
                ["Xvfb", "-displayfd", str(write_end), "-screen", "0",
                 f"{self.width}x{self.height}x{self._depth}", "-nolisten", "tcp", "-noreset"],
                stdin=subprocess.DEVNULL, stdout=log, stderr=log, pass_fds=(write_end,))
        finally:
            os.close(write_end)
            if log is not subprocess.DEVNULL:
                log.close()
        try:
            self.number = self._read_display_number(read_end)
        finally:
            os.close(read_end)
        return self

    def _read_display_number(self, read_end):
        text = b""
        while not text.endswith(b"\n"):
            ready, _, _ = select.select([read_end], [], [], self._start_timeout)
            chunk = os.read(read_end, 64) if ready else b""
            if not chunk:
                self.stop()
                raise XServerError(
                    f"Xvfb gave no display number within {self._start_timeout} s"
                    + (f" (see {self._log_path})" if self._log_path else ""))
            text += chunk
        return int(text.strip())

    def stop(self):
        if self._process is None:
            return
        if self._process.poll() is None:
            self._process.terminate()
            try:
                self._process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self._process.kill()
                self._process.wait(timeout=10)
        self._process = None

    def running(self):
        return self._process is not None and self._process.poll() is None
