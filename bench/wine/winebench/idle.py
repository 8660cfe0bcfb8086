"""An idle Trevo with five desktops, beside the trivial tray program with five
icons over the same seconds: how often their threads wake, the CPU time they use and the
memory they hold. Trevo idles once as it starts by default and once with its
hotkeys registered and the focus watch's hooks in place, each time in a fresh
Wine desktop beside a fresh trivial program."""

import time

from . import linux_threads
from .session import BenchError, wait_for

DESKTOPS = 5
POKES = 300  # WM_NULL messages that mark the message-loop thread
REFERENCE = "startup_reference.exe"
TREVO = "Trevo.exe"


class Configuration:
    """How Trevo is set up for one idle pass, and its row's name."""

    def __init__(self, label, keys=None, follow_focus=False):
        self.label = label
        self.keys = keys or {}
        self.follow_focus = follow_focus


PLAIN = Configuration("Trevo")
EVERYDAY_INPUT = Configuration(
    "Trevo (keys and focus following on)",
    keys={**{f"Desktop{n}": f"Ctrl+Alt+F{n}" for n in range(1, DESKTOPS + 1)},
          "Next": "Ctrl+Alt+Right", "Previous": "Ctrl+Alt+Left"},
    follow_focus=True)
CONFIGURATIONS = (PLAIN, EVERYDAY_INPUT)


class IdleResult:
    """Wake-ups and CPU time of one process over the idle seconds."""

    def __init__(self, program, message_thread, before, after, seconds, memory, label=None):
        self.program = program
        self.label = label or program
        self.seconds = seconds
        self.memory = memory
        self.message_thread = message_thread
        self.thread_count = len(after)
        common = [tid for tid in after if tid in before]
        self.message_wakeups = (after[message_thread].switches - before[message_thread].switches
                                if message_thread in common else None)
        self.all_wakeups = sum(after[t].switches - before[t].switches for t in common)
        self.cpu_ms = linux_threads.ticks_to_ms(sum(after[t].cpu_ticks - before[t].cpu_ticks for t in common))
        self.busiest = max(common, key=lambda t: after[t].switches - before[t].switches, default=None)
        self.busiest_wakeups = (after[self.busiest].switches - before[self.busiest].switches
                                if self.busiest is not None else 0)
        self.names = {tid: after[tid].name for tid in after}


class Watched:
    """One running Windows program: its Windows and Linux process ids and the
    Linux thread that runs its message loop."""

    def __init__(self, session, program, windows_pid, label):
        self.program = program
        self.label = label
        self.windows_pid = windows_pid
        self.linux_pid = session.linux_pid(program)
        self.message_thread = self._find_message_thread(session)

    def _find_message_thread(self, session):
        before = linux_threads.threads(self.linux_pid)
        session.tool("message_poke.exe", self.windows_pid, POKES)
        after = linux_threads.threads(self.linux_pid)
        tid, rise = linux_threads.woken_most(before, after)
        if tid is None or rise < POKES // 2:
            raise BenchError(f"no thread of {self.program} woke for the {POKES} messages sent to its window "
                             f"(most: {rise})")
        return tid

    def memory(self, session):
        windows_side = session.tool("process_memory.exe", self.windows_pid)[0]
        return {**windows_side, **linux_threads.memory_kib(self.linux_pid)}


def _windows_pid_of(session, program):
    pids = [p["pid"] for p in session.wintool.processes() if p["exe"].lower() == program.lower()]
    return pids[0] if len(pids) == 1 else None


def measure(session, seconds, progress, configurations=CONFIGURATIONS):
    """One pass per configuration; each pass's rows, Trevo's first."""
    results = []
    for configuration in configurations:
        results += _measure_one(session, configuration, seconds, progress)
    return results


def _measure_one(session, configuration, seconds, progress):
    """Both programs run side by side, started and marked before the quiet
    seconds begin; nothing of the benchmark touches them during those."""
    session.fresh_desktop()
    progress(f"idle: {configuration.label} with {DESKTOPS} desktops and the trivial tray program, {seconds} s")
    folder = session.scratch_folder()
    reference_process = None
    run = None
    try:
        run = session.start_trevo(folder, DESKTOPS, keys=configuration.keys, follow_focus=configuration.follow_focus)
        icons_before = session.icons_added()
        reference_process = session.start_program(session.tool_path(REFERENCE), DESKTOPS)
        reference_pid = wait_for(lambda: _windows_pid_of(session, REFERENCE), 60, "the trivial tray program")
        wait_for(lambda: session.icons_added() >= icons_before + DESKTOPS, 60, "the trivial tray program's icons",
                 interval=0.2)
        if not session.wintool.wait_idle(reference_pid, 30):
            raise BenchError("the trivial tray program did not settle into its message loop")

        watched = [Watched(session, TREVO, run.pid(), configuration.label),
                   Watched(session, REFERENCE, reference_pid, "trivial tray program, beside it")]
        if not run.wait_idle(30):
            raise BenchError("Trevo did not settle after the marking messages")
        time.sleep(1.0)  # the last answers of the marking are read and done
        before = {w.program: linux_threads.threads(w.linux_pid) for w in watched}
        time.sleep(seconds)
        after = {w.program: linux_threads.threads(w.linux_pid) for w in watched}
        return [IdleResult(w.program, w.message_thread, before[w.program], after[w.program], seconds,
                           w.memory(session), w.label) for w in watched]
    finally:
        if reference_process is not None:
            owners = _owners(session, REFERENCE)
            session.end_windows_program(REFERENCE, reference_process)
            if owners:
                session.tool("tray_icons.exe", "remove", *owners)
        if run is not None:
            session.stop_trevo(run)
        folder.remove()


def _owners(session, program):
    pid = _windows_pid_of(session, program)
    return [w["hwnd"] for w in session.wintool.windows(pid=pid)] if pid is not None else []
