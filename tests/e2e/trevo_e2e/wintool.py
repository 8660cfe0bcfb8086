"""The harness's eyes and hands inside Wine: wintool.exe, run on the desktop
"shell", answers in JSON lines (see tests/wine/wintool.cpp)."""

import json
import subprocess
import tempfile
import time

from .wine import DESKTOP_NAME

# wintool.exe's exit statuses.
DONE, FAILED, USAGE, TIMED_OUT, NOT_FOUND = 0, 1, 2, 3, 4

# Tries of one command whose process Wine failed to start.
STARTUP_ATTEMPTS = 3

IDOK = 1  # the OK button of a message box, whatever its caption's language


class WintoolError(RuntimeError):
    pass


class Wintool:
    def __init__(self, prefix, exe_path):
        self._prefix = prefix
        self._exe = exe_path

    def call(self, *args, timeout=30, accept=(DONE,)):
        """Runs one command; returns (status, list of the JSON objects)."""
        for attempt in range(1, STARTUP_ATTEMPTS + 1):
            status, output, errors = self._run_once(args, timeout)
            # wintool says why for every status of its own; a failure with nothing
            # said is Wine's start-up of the process failing before wintool ran at
            # all (it then did nothing), and a new process does not meet it again.
            if status == DONE or errors.strip() or attempt == STARTUP_ATTEMPTS:
                break
            time.sleep(0.2 * attempt)
        if status not in accept:
            said = errors.decode("utf-8", "replace").strip()
            if not said:
                said = (f"nothing said: Wine did not start the program, {STARTUP_ATTEMPTS} times running "
                        "(see the class's wine.log)")
            raise WintoolError(f"wintool {' '.join(map(str, args))} ended with status {status}: {said}")
        lines = output.decode("utf-8").splitlines()
        try:
            return status, [json.loads(line) for line in lines if line.strip()]
        except json.JSONDecodeError as error:
            raise WintoolError(f"wintool {args[0]} wrote something that is not JSON: {error}") from None

    def _run_once(self, args, timeout):
        command = self._prefix.command(self._exe, "--desktop", DESKTOP_NAME, *args)
        # Files, not pipes: a Wine process that wintool happens to start (the
        # desktop's explorer, say) would hold a pipe open long after it ends.
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            try:
                status = subprocess.run(command, env=self._prefix.env(), stdin=subprocess.DEVNULL,
                                        stdout=out, stderr=err, timeout=timeout).returncode
            except subprocess.TimeoutExpired:
                raise WintoolError(f"wintool {' '.join(map(str, args))} did not answer within {timeout} s") from None
            out.seek(0)
            err.seek(0)
            return status, out.read(), err.read()

    # --- looking ----------------------------------------------------------
    def windows(self, pid=None, exe=None, visible_only=False):
        args = ["windows"]
        if pid is not None:
            args += ["--pid", pid]
        if exe is not None:
            args += ["--exe", exe]
        if visible_only:
            args.append("--visible")
        return self.call(*args)[1]

    def children(self, hwnd):
        return self.call("children", hwnd)[1]

    def dialogs(self, title=None):
        """Visible dialog boxes (message boxes among them), each with "texts"
        (its static texts) and "buttons" (id, caption, enabled)."""
        return self.call(*(["dialogs"] + (["--title", title] if title is not None else [])))[1]

    def foreground(self):
        return self.call("foreground")[1][0]

    def processes(self):
        return self.call("processes")[1]

    def version(self):
        return self.call("version")[1][0]

    def display(self):
        """The screen's width and height, its dots per inch and the small icon
        size, as a process started now sees them."""
        return self.call("display")[1][0]

    def text_extent(self, hwnd):
        """A control's text (as drawn, without mnemonic marks) measured in the
        control's own font: "extent" [width, height] of it on one line,
        "line_height", "client" rectangle, "style", "face", "font_height"."""
        return self.call("text-extent", hwnd)[1][0]

    def wallpaper(self):
        return self.call("wallpaper")[1][0]["wallpaper"]

    # --- acting -----------------------------------------------------------
    def press(self, hwnd, button_id=None, caption=None):
        if (button_id is None) == (caption is None):
            raise ValueError("press needs a button id or a caption")
        option = ["--id", button_id] if button_id is not None else ["--caption", caption]
        return self.call("press", hwnd, *option)[1][0]

    def keys(self, hwnd, *keystrokes):
        """Keys as wintool understands them: "enter", "alt+x", "text:abc"."""
        return self.call("keys", hwnd, *keystrokes)[1][0]

    def type_text(self, hwnd, text):
        return self.keys(hwnd, "text:" + text)

    def hold_file(self, windows_path, seconds):
        """Starts a process that holds the file open, shared with nobody, for the
        given time; returns once the file is held. The caller waits for the
        returned process to end."""
        return self._start_holder(["hold-file", windows_path], seconds, f"hold {windows_path} open")

    def grab_hotkey(self, chord, seconds):
        """Starts a process that holds the hotkey combination ("ctrl+alt+f2")
        for the given time, as another program would; returns once it is held."""
        return self._start_holder(["grab-hotkey", chord], seconds, f"take the hotkey {chord}")

    def _start_until(self, args, marker, what):
        """Starts wintool with these arguments on the test desktop and returns
        (process, its output file) once it has written the marker."""
        command = self._prefix.command(self._exe, "--desktop", DESKTOP_NAME, *args)
        out = tempfile.TemporaryFile()
        started = subprocess.Popen(command, env=self._prefix.env(), stdin=subprocess.DEVNULL, stdout=out,
                                   stderr=subprocess.DEVNULL)
        deadline = time.monotonic() + 30
        while time.monotonic() < deadline:
            out.seek(0)
            if marker in out.read():
                return started, out
            if started.poll() is not None:
                break
            time.sleep(0.1)
        started.kill()
        out.close()
        raise WintoolError(f"wintool could not {what}")

    def _start_holder(self, args, seconds, what):
        holder, out = self._start_until([*args, int(seconds * 1000)], b'"held"', what)
        out.close()
        return holder

    def watch_window(self, pid, class_name, seconds):
        """Starts watching, from inside Wine, for a shown top-level window of
        that class of the process and then for it to go; returns once the watch
        runs, as a WindowWatch."""
        watcher, out = self._start_until(["watch-window", pid, class_name, int(seconds * 1000)], b'"watching"',
                                         f"watch for a {class_name} window")
        return WindowWatch(watcher, out)

    def hotkey(self, *chords):
        """Types the chords ("ctrl+alt+f2") into whatever has the focus: what
        reaches a program's hotkeys wherever the foreground is."""
        return self.call("hotkey", *chords)[1][0]

    def activate(self, hwnd):
        """Brings the window to the foreground from wintool's process; True
        when it became the foreground window."""
        status, answer = self.call("activate", hwnd, accept=(DONE, FAILED))
        return status == DONE and answer[0]["foreground"]

    def announce_taskbar_created(self):
        """Sends every top-level window the shell's "TaskbarCreated" message."""
        return self.call("taskbar-created")[1][0]

    def post(self, hwnd, message, wparam, *lparams):
        """Posts the message once for each lParam, in that order and in one go,
        so that all of them are queued before the window takes the first."""
        return self.call("post", hwnd, message, wparam, *lparams)[1][0]

    def send(self, hwnd, message, wparam, lparam):
        """Sends the message and returns the window's answer (signed)."""
        return self.call("send", hwnd, message, wparam, lparam)[1][0]["result"]

    def answers(self, hwnd, timeout_ms):
        """True when the window's thread takes a message within timeout_ms."""
        return self.call("answers", hwnd, timeout_ms)[1][0]["answers"]

    def kill(self, pid):
        status, _ = self.call("kill", pid, accept=(DONE, FAILED))
        return status == DONE

    def wait_idle(self, pid, timeout):
        """True when the process waits for input within timeout seconds."""
        status, answer = self.call("wait-idle", pid, int(timeout * 1000), timeout=timeout + 30,
                                   accept=(DONE, TIMED_OUT, NOT_FOUND))
        return status == DONE

    def wait_exit(self, pid, timeout):
        """The exit code, or None if the process still runs after timeout
        seconds. A process that is already gone counts as ended (code -1)."""
        status, answer = self.call("wait-exit", pid, int(timeout * 1000), timeout=timeout + 30,
                                   accept=(DONE, TIMED_OUT, NOT_FOUND))
        if status == TIMED_OUT:
            return None
        return answer[0].get("exit_code", -1)


class WindowWatch:
    """A watch-window run in the background."""

    def __init__(self, process, out):
        self._process = process
        self._out = out

    def result(self, timeout):
        """Waits for the watch to end and returns its "shown" and "hidden"
        lines (each None when it never came to that)."""
        try:
            self._process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            pass
        self.stop()
        self._out.seek(0)
        lines = [json.loads(line) for line in self._out.read().decode("utf-8").splitlines() if line.strip()]
        seen = {line["outcome"]: line for line in lines}
        return seen.get("shown"), seen.get("hidden")

    def stop(self):
        """Ends the watch if it still runs; nothing when it has ended."""
        if self._process.poll() is None:
            self._process.kill()
            self._process.wait()
