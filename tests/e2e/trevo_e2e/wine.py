"""The Wine prefix of the tests: created once, reused across tests and runs."""

import fcntl
import os
import re
import shutil
import subprocess
import tempfile
import time

DEFAULT_LOCALE = "ja_JP.UTF-8"
DESKTOP_NAME = "shell"

# Bump when prepare() changes what it puts into a new prefix, so that old
# prefixes are made afresh.
PREFIX_LAYOUT = "2"
PRISTINE_FOLDER = "wineprefix-pristine"

# Wine reads the display's scale (dots per inch) from here once, when a
# process starts; without the value it takes 96.
SCALE_KEY = r"HKCU\Control Panel\Desktop"
SCALE_VALUE = "LogPixels"

# Mono and Gecko would offer to download themselves while the prefix is made.
_DLL_OVERRIDES = "mscoree,mshtml="

# Wine's loaders are called directly, never through the `wine` wrapper, which
# picks the 32-bit loader whenever it is installed, even where the machine
# cannot execute it. The wine server serves both.
WINE_DIR = "/usr/lib/wine"
LOADERS = {"win64": os.path.join(WINE_DIR, "wine64"), "win32": os.path.join(WINE_DIR, "wine")}
WINE_SERVER = os.path.join(WINE_DIR, "wineserver")


class WineError(RuntimeError):
    pass


def failed_in_wine_startup(status, seconds):
    """Whether a Wine process that ended with this status this soon after its
    start never ran its program: Wine's loader now and then ends at once with
    status 1, saying nothing (only err+all shows why), before the program or
    the wineserver ever hear of it. Starting it again is then safe."""
    return status == 1 and seconds < 2.0


def architecture():
    """The Windows build under test: TREVO_WINEARCH, win64 unless it says win32."""
    arch = os.environ.get("TREVO_WINEARCH", "win64")
    if arch not in LOADERS:
        raise WineError(f"TREVO_WINEARCH is {arch!r}; it must be one of {', '.join(sorted(LOADERS))}")
    return arch


def loader_environment(arch):
    """The variables that make every Wine program, and every program it starts,
    use the loader of that architecture."""
    return {"WINEARCH": arch, "WINELOADER": LOADERS[arch], "WINESERVER": WINE_SERVER}


# A value line of `reg query`: four blanks around the type.
_REG_VALUE_LINE = re.compile(r"^\s+(\S.*?) {4}(REG_[A-Z_]+)(?: {4}(.*))?$")


def parse_reg_query(text):
    """The values listed in the output of `reg query KEY` (without /s)."""
    values = {}
    for line in text.splitlines():
        match = _REG_VALUE_LINE.match(line.rstrip("\r"))
        if match:
            values[match.group(1)] = (match.group(2), match.group(3) or "")
    return values


class WinePrefix:
    """A WINEPREFIX of one architecture (win64 or win32, see architecture())
    with the settings every test relies on: programs named in desktop_programs
    open on the desktop "shell" (the one with a task bar)."""

    def __init__(self, path, display, locale=DEFAULT_LOCALE, desktop_programs=("Trevo.exe", "wintool.exe"),
                 log_path=None, arch=None):
        self.arch = arch or architecture()
        self.loader = LOADERS[self.arch]
        self.path = os.path.abspath(path)
        self.display = display
        self.locale = locale
        self._desktop_programs = tuple(desktop_programs)
        self._log_path = log_path

    # --- environment ------------------------------------------------------
    def env(self, locale=None):
        env = dict(os.environ)
        for name in ("LANGUAGE", "LC_ALL", "LC_CTYPE", "LC_MESSAGES", "WINEARCH", "WINELOADER", "WINESERVER"):
            env.pop(name, None)
        locale = locale or self.locale
        env.update(loader_environment(self.arch))
        env.update({
            "WINEPREFIX": self.path,
            "WINEDEBUG": "-all",
            "WINEDLLOVERRIDES": _DLL_OVERRIDES,
            "DISPLAY": self.display,
            "LANG": locale,
            "LC_ALL": locale,
        })
        return env

    def _log(self):
        return open(self._log_path, "ab") if self._log_path else subprocess.DEVNULL

    def _run(self, args, timeout, what, locale=None):
        log = self._log()
        try:
            result = subprocess.run(args, env=self.env(locale), stdin=subprocess.DEVNULL, stdout=log,
                                    stderr=log, timeout=timeout)
        except subprocess.TimeoutExpired:
            raise WineError(f"{what} did not finish within {timeout} s") from None
        finally:
            if log is not subprocess.DEVNULL:
                log.close()
        if result.returncode != 0:
            raise WineError(f"{what} failed with status {result.returncode}")

    def command(self, program, *args):
        """The command line that runs a Windows program in this prefix."""
        return [self.loader, program, *map(str, args)]

    def wine(self, args, timeout=60, locale=None):
        """Runs a Windows program in the prefix and waits for it."""
        self._run(self.command(*args), timeout, "wine " + " ".join(args), locale)

    # --- creation ---------------------------------------------------------
    @property
    def _stamp(self):
        return os.path.join(self.path, ".trevo-tests-ready")

    @property
    def _pristine(self):
        """A copy of the first prefix made in this folder, as wineboot left it:
        the next prefix there (another scale's, say) is copied from it in a
        second instead of made again in half a minute."""
        return os.path.join(os.path.dirname(self.path), PRISTINE_FOLDER)

    @staticmethod
    def _stamped(path):
        try:
            with open(os.path.join(path, ".trevo-tests-ready"), encoding="ascii") as stamp:
                return stamp.read().strip() == PREFIX_LAYOUT
        except OSError:
            return False

    def ready(self):
        return self._stamped(self.path)

    def ensure(self, timeout=300):
        """Makes the prefix unless a complete one of this layout is there.
        A prefix left half-made (no stamp) is removed and made again."""
        os.makedirs(os.path.dirname(self.path), exist_ok=True)
        with open(os.path.join(os.path.dirname(self.path), ".prefixes.lock"), "w") as lock:
            fcntl.flock(lock, fcntl.LOCK_EX)
            if self.ready():
                return False
            self.kill_server()
            shutil.rmtree(self.path, ignore_errors=True)
            if self._stamped(self._pristine):
                shutil.copytree(self._pristine, self.path, symlinks=True)
                return True
            started = time.monotonic()
            self._run(self.command("wineboot", "--init"), timeout, "wineboot --init")
            for program in self._desktop_programs:
                self.set_value(rf"HKCU\Software\Wine\AppDefaults\{program}\Explorer", "Desktop", DESKTOP_NAME)
            remaining = max(10, timeout - (time.monotonic() - started))
            # The registry reaches the disk when the server ends.
            self._run([WINE_SERVER, "--wait"], remaining, "wineserver --wait after creating the prefix")
            with open(self._stamp, "w", encoding="ascii") as stamp:
                stamp.write(PREFIX_LAYOUT + "\n")
            # Copied whole, then named, so that a run cut short leaves none half made.
            shutil.rmtree(self._pristine + ".new", ignore_errors=True)
            shutil.copytree(self.path, self._pristine + ".new", symlinks=True)
            shutil.rmtree(self._pristine, ignore_errors=True)
            os.rename(self._pristine + ".new", self._pristine)
            return True

    # --- registry ---------------------------------------------------------
    def set_value(self, key, name, data, kind="REG_SZ"):
        self.wine(["reg", "add", key, "/v", name, "/t", kind, "/d", data, "/f"])

    def delete_value(self, key, name):
        """Removes a value; a value that is not there is no error."""
        try:
            self.wine(["reg", "delete", key, "/v", name, "/f"])
        except WineError:
            pass

    def values(self, key, timeout=60):
        """The values of a registry key, name -> (type, data) as `reg query`
        shows them ("REG_DWORD", "0x3"); None when there is no such key."""
        # A file, not a pipe: a Wine process that reg happens to start would hold
        # a pipe open long after reg has ended.
        with tempfile.TemporaryFile() as out:
            status = subprocess.run(self.command("reg", "query", key), env=self.env(), stdin=subprocess.DEVNULL,
                                    stdout=out, stderr=subprocess.DEVNULL, timeout=timeout).returncode
            if status != 0:
                return None
            out.seek(0)
            return parse_reg_query(out.read().decode("ascii", "replace"))

    def delete_key(self, key):
        """Removes a key with its values; a key that is not there is no error."""
        try:
            self.wine(["reg", "delete", key, "/f"])
        except WineError:
            pass

    def set_log_pixels(self, dpi):
        """Sets the scale of every process started from now on. Processes
        already running keep theirs, so the whole prefix is ended first and
        again once the value is on disk: the next desktop starts afresh."""
        self.kill_server()
        self.set_value(SCALE_KEY, SCALE_VALUE, str(int(dpi)), "REG_DWORD")
        self.kill_server()

    def set_windows_version(self, version, program=None):
        """The Windows version Wine reports ("winxp", "win2k", "win7", ...),
        to one program or, without program, to every program. None goes back
        to Wine's own default."""
        key = rf"HKCU\Software\Wine\AppDefaults\{program}" if program else r"HKCU\Software\Wine"
        if version is None:
            self.delete_value(key, "Version")
        else:
            self.set_value(key, "Version", version)

    # --- paths ------------------------------------------------------------
    @property
    def drive_c(self):
        return os.path.join(self.path, "drive_c")

    def windows_path(self, unix_path):
        """The name Windows programs in this prefix see for a file."""
        unix_path = os.path.abspath(unix_path)
        drive_c = os.path.realpath(self.drive_c)
        real = os.path.realpath(unix_path)
        if real == drive_c or real.startswith(drive_c + os.sep):
            return "C:" + (real[len(drive_c):].replace("/", "\\") or "\\")
        return "Z:" + unix_path.replace("/", "\\")

    def unix_path(self, windows_path):
        """Where a file a Windows program in this prefix names on drive C: lies."""
        drive, colon, rest = windows_path.partition(":")
        if not colon or drive.upper() != "C":
            raise ValueError(f"{windows_path} is not on drive C:")
        return os.path.join(self.drive_c, *filter(None, rest.split("\\")))

    # --- shutting down ----------------------------------------------------
    def linux_pids(self, exe):
        """Linux process ids of the Windows program of that file name running in
        this prefix (under Wine every Windows process is a Linux process)."""
        name = exe.lower().encode()
        marker = f"WINEPREFIX={self.path}".encode()
        found = []
        for pid in filter(str.isdigit, os.listdir("/proc")):
            try:
                with open(f"/proc/{pid}/cmdline", "rb") as cmdline:
                    program = cmdline.read().split(b"\0")[0]
                if os.path.basename(program.replace(b"\\", b"/")).lower() != name:
                    continue
                with open(f"/proc/{pid}/environ", "rb") as environ:
                    if marker in environ.read().split(b"\0"):
                        found.append(int(pid))
            except OSError:  # the process ended meanwhile
                continue
        return found

    def kill_server(self, timeout=30):
        """Ends every process of the prefix and its wineserver."""
        env = self.env()
        subprocess.run([WINE_SERVER, "-k"], env=env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=timeout, check=False)
        try:
            subprocess.run([WINE_SERVER, "-w"], env=env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL, timeout=timeout, check=False)
        except subprocess.TimeoutExpired:
            raise WineError(f"the wineserver of {self.path} did not end within {timeout} s") from None
