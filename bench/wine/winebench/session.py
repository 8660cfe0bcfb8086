"""One benchmark session: a private display, the benchmarks' own Wine prefix
with the desktop "shell", and the Windows tools of bench/wine next to Trevo.exe."""

import json
import os
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__)))))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))

from trevo_e2e.desktop import WineDesktop  # noqa: E402
from trevo_e2e.scratch import ScratchFolder  # noqa: E402
from trevo_e2e.settings import settings_text  # noqa: E402
from trevo_e2e.trevo import PROGRAM_NAME, TrevoRun  # noqa: E402
from trevo_e2e.waiting import wait_for  # noqa: E402
from trevo_e2e.wine import DESKTOP_NAME, WINE_SERVER, WinePrefix  # noqa: E402
from trevo_e2e.wintool import Wintool, WintoolError  # noqa: E402
from trevo_e2e.xserver import VirtualDisplay  # noqa: E402
from trevo_e2e import screen  # noqa: E402

SCREEN = (1024, 768)
TOOLS = ("bench_windows.exe", "switch_timer.exe", "visit_timer.exe", "startup_watch.exe", "contract_startup.exe", "startup_reference.exe",
         "tray_icons.exe", "process_memory.exe", "message_poke.exe")
HELPERS = ("wintool.exe", "keepalive.exe")
# Programs sent to the desktop "shell" when started from Linux or by a tool.
DESKTOP_PROGRAMS = (PROGRAM_NAME,) + HELPERS[:1] + TOOLS
TRAY_TITLE = "TrevoTray"
# The [Keys] names in the order that gives each key present its hotkey id, from 1.
KEY_ORDER = ("Desktop1", "Desktop2", "Desktop3", "Desktop4", "Desktop5", "Next", "Previous",
             "Send1", "Send2", "Send3", "Send4", "Send5", "Pin")


def hotkey_ids(keys):
    """The id Trevo registers each of these [Keys] entries under."""
    unknown = set(keys) - set(KEY_ORDER)
    if unknown:
        raise ValueError(f"no such key: {', '.join(sorted(unknown))}")
    present = [name for name in KEY_ORDER if name in keys]
    return {name: number for number, name in enumerate(present, start=1)}


def everyday_input_text(keys, follow_focus, options=()):
    """The [Keys] and [Options] sections Trevo reads beside the classic ones;
    options: more [Options] names turned on."""
    lines = []
    if keys:
        lines += ["[Keys]"] + [f"{name}={keys[name]}" for name in KEY_ORDER if name in keys]
    on = (("FollowFocus",) if follow_focus else ()) + tuple(options)
    if on:
        lines += ["[Options]"] + [f"{name}=1" for name in on]
    return "".join(line + "\n" for line in lines)


class BenchError(RuntimeError):
    """Something that keeps a benchmark from measuring."""


class ToolError(BenchError):
    pass


class Session:
    def __init__(self, exe_dir, work_dir):
        self.exe_dir = os.path.abspath(exe_dir)
        self.work_dir = os.path.abspath(work_dir)
        self.trevo_exe = os.path.join(self.exe_dir, PROGRAM_NAME)
        missing = [name for name in (PROGRAM_NAME,) + TOOLS + HELPERS
                   if not os.path.isfile(os.path.join(self.exe_dir, name))]
        if missing:
            raise BenchError(f"missing in {self.exe_dir}: {', '.join(missing)} (build first: "
                             "cmake --preset win64 && cmake --build --preset win64)")
        os.makedirs(self.work_dir, exist_ok=True)
        self.log_path = os.path.join(self.work_dir, "wine.log")
        open(self.log_path, "wb").close()
        self.display = None
        self.prefix = None
        self.desktop = None
        self.wintool = None

    # --- the whole session ------------------------------------------------
    def __enter__(self):
        try:
            self.display = VirtualDisplay(*SCREEN, log_path=os.path.join(self.work_dir, "xvfb.log")).start()
            self.prefix = WinePrefix(os.path.join(self.work_dir, "wineprefix"), self.display.name,
                                     desktop_programs=DESKTOP_PROGRAMS, log_path=self.log_path)
            self.prefix.kill_server()  # left over from a run that was cut short
            self.prefix.ensure(300)
            self._send_tools_to_the_desktop()
            self.wintool = Wintool(self.prefix, self.tool_path("wintool.exe"))
            self._start_desktop()
        except BaseException:
            self.__exit__(None, None, None)
            raise
        return self

    def __exit__(self, *exc):
        try:
            if self.desktop is not None:
                self.desktop.stop()
            elif self.prefix is not None:
                self.prefix.kill_server()
        finally:
            if self.display is not None:
                self.display.stop()
        return False

    def _start_desktop(self):
        self.desktop = WineDesktop(self.prefix, self.wintool, self.tool_path("keepalive.exe"), *SCREEN,
                                   log_path=self.log_path).start()

    def fresh_desktop(self):
        """A new Wine desktop and server, so that a configuration inherits
        nothing of the one before it (hundreds of windows' worth of server
        state once made a later click a hundred times slower)."""
        self.desktop.stop()
        self.desktop = None
        self.prefix.kill_server()
        self._start_desktop()

    def _send_tools_to_the_desktop(self):
        """A prefix made before a tool was added lacks its desktop setting."""
        stamp = os.path.join(self.prefix.path, ".bench-desktop-programs")
        wanted = "\n".join(DESKTOP_PROGRAMS) + "\n"
        try:
            with open(stamp, encoding="ascii") as f:
                if f.read() == wanted:
                    return
        except OSError:
            pass
        for program in DESKTOP_PROGRAMS:
            self.prefix.set_value(rf"HKCU\Software\Wine\AppDefaults\{program}\Explorer", "Desktop", DESKTOP_NAME)
        subprocess.run([WINE_SERVER, "--wait"], env=self.prefix.env(), check=False, timeout=120,
                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        with open(stamp, "w", encoding="ascii") as f:
            f.write(wanted)

    # --- the tools --------------------------------------------------------
    def tool_path(self, name):
        return os.path.join(self.exe_dir, name)

    def tool(self, name, *args, timeout=120):
        """Runs a console tool to its end; returns its JSON lines."""
        command = self.prefix.command(self.tool_path(name), *args)
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            try:
                status = subprocess.run(command, env=self.prefix.env(), stdin=subprocess.DEVNULL, stdout=out,
                                        stderr=err, timeout=timeout).returncode
            except subprocess.TimeoutExpired:
                raise ToolError(f"{name} {' '.join(map(str, args))} did not end within {timeout} s") from None
            out.seek(0)
            err.seek(0)
            output, errors = out.read().decode("utf-8", "replace"), err.read().decode("utf-8", "replace")
        if status != 0:
            said = [line for line in errors.splitlines() if line.startswith(name.split(".")[0] + ":")]
            raise ToolError(f"{name} ended with status {status}: " + ("; ".join(said) or errors.strip()[-500:]))
        try:
            return [json.loads(line) for line in output.splitlines() if line.startswith("{")]
        except json.JSONDecodeError as error:
            raise ToolError(f"{name} wrote something that is not JSON: {error}") from None

    def start_program(self, path, *args):
        """Starts a Windows program in its folder, in the background; the
        caller ends it (end_windows_program)."""
        log = open(self.log_path, "ab")
        try:
            return subprocess.Popen(self.prefix.command(path, *args), cwd=os.path.dirname(path),
                                    env=self.prefix.env(), stdin=subprocess.DEVNULL, stdout=log, stderr=log)
        finally:
            log.close()

    def end_windows_program(self, exe, process):
        """Ends every process of that name in the prefix, then its Linux side."""
        for entry in self.wintool.processes():
            if entry["exe"].lower() == exe.lower():
                self.wintool.kill(entry["pid"])
        try:
            process.wait(timeout=20)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait(timeout=10)

    def icons_added(self):
        """Icons added to the notification area since the desktop started
        (Wine 8 keeps a trace of deleted ones: see tray_icons_view.h)."""
        return self.tool("tray_icons.exe", "count")[0]["icons_added"]

    def drawn_tray_cells(self, cells=6):
        picture = screen.screenshot(self.display.name)
        return [screen.tray_cell_drawn(picture, k) for k in range(cells)]

    # --- Trevo ------------------------------------------------------------
    def scratch_folder(self):
        folder = ScratchFolder(os.path.join(self.prefix.drive_c, "bench"), self.prefix.windows_path)
        folder.add_program(self.trevo_exe)
        return folder

    def start_trevo(self, folder, desktops, patterns=(), keys=None, follow_focus=False, options=(), **settings):
        """Trevo from a scratch folder whose Trevo.ini has `desktops` and these
        never-move patterns (and nothing else in [NoChange-XP]), the hotkeys
        of `keys` ({"Desktop1": "Ctrl+Alt+F1", ...}), FollowFocus and the
        other [Options] named; any other setting as settings_text takes it
        (wallpapers, keep_size, width...)."""
        folder.write_settings(settings_text(desktops_max=str(desktops), no_change=tuple(patterns), **settings) +
                              everyday_input_text(keys or {}, follow_focus, options))
        icons_before = self.icons_added()
        run = TrevoRun(self.prefix, self.wintool, folder.path, log_path=self.log_path).start()
        try:
            wait_for(lambda: len(self.trays(run)) == desktops, 60, f"Trevo's {desktops} tray windows", interval=0.2)
            wait_for(lambda: self.icons_added() - icons_before >= desktops, 60,
                     f"{desktops} icons in the notification area", interval=0.2)
            if not run.wait_idle(30):
                raise BenchError("Trevo did not settle into its message loop")
        except BaseException:
            self.stop_trevo(run)
            raise
        return run

    def trays(self, run):
        return [w for w in run.windows() if w["title"] == TRAY_TITLE]

    def stop_trevo(self, run):
        """Ends Trevo and takes the icons it leaves behind off the task bar, so
        that every run starts with the same notification area."""
        try:
            owners = [w["hwnd"] for w in run.windows()] if run.running() else []
        except WintoolError:
            owners = []  # it ended between the two questions: its icons went with it
        run.stop()
        if owners:
            self.tool("tray_icons.exe", "remove", *owners)

    # --- Linux side -------------------------------------------------------
    def linux_pid(self, exe):
        pids = self.prefix.linux_pids(exe)
        if len(pids) != 1:
            raise BenchError(f"expected one Linux process of {exe}, found {len(pids)}")
        return pids[0]
