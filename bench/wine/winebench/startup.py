"""Start-up: from CreateProcess to every icon in the notification area,
watched from inside Wine every millisecond by startup_watch.exe, for Trevo
with one and with five desktops, in turns with the contract's start-up
(contract_startup.exe, the platform work Trevo's start cannot do without, run
beside Trevo on the same Trevo.ini) and the trivial tray program with as many
icons (what any tray program costs at the least)."""

import statistics

from .pairs import PairedRatio
from .session import BenchError, settings_text

CONTRACT = "contract_startup.exe"
TRIVIAL = "startup_reference.exe"


class StartupResult:
    def __init__(self, icons, runs):
        if any(not r for r in runs.values()):
            raise BenchError(f"no start-up with {icons} icon(s) was measured")
        self.icons = icons
        self.runs = len(runs["trevo"])
        self.trevo = _Summary(runs["trevo"])
        self.contract = _Summary(runs["contract"])
        self.trivial = _Summary(runs["trivial"])
        self.paired = _paired(runs["trevo"], runs["contract"])
        self.paired_trivial = _paired(runs["trevo"], runs["trivial"])


def _paired(trevo, reference):
    return PairedRatio([r["icons_ms"] for r in trevo], [r["icons_ms"] for r in reference])


class _Summary:
    def __init__(self, runs):
        self.process_ms = statistics.median(r["started_ms"] for r in runs)
        self.window_ms = statistics.median(r["window_ms"] for r in runs)
        self.icons_ms = statistics.median(r["icons_ms"] for r in runs)


def _watch(session, program_windows_path, icons, *arguments):
    return session.tool("startup_watch.exe", "--icons", icons, "--timeout", 60000, "--", program_windows_path,
                        *arguments, timeout=120)


def measure(session, runs, progress):
    session.fresh_desktop()
    results = []
    trivial_path = session.prefix.windows_path(session.tool_path(TRIVIAL))
    for desktops in (1, 5):
        progress(f"start-up: Trevo with {desktops} desktop(s), the contract's start-up and the trivial tray "
                 f"program, {runs} runs each")
        folder = session.scratch_folder()
        try:
            folder.write_settings(settings_text(desktops_max=str(desktops), no_change=()))
            folder.add_program(session.tool_path(CONTRACT))
            programs = {"trevo": (folder.windows_path("Trevo.exe"),),
                        "contract": (folder.windows_path(CONTRACT),),
                        "trivial": (trivial_path, desktops)}
            # Not counted: the first start of each also loads its libraries from disk.
            for program in programs.values():
                _watch(session, program[0], desktops, *program[1:])
            measured = {name: [] for name in programs}
            names = list(programs)
            for k in range(runs):
                # In turns, the order rotating with the run.
                for name in names[k % 3:] + names[:k % 3]:
                    measured[name] += _watch(session, programs[name][0], desktops, *programs[name][1:])
            results.append(StartupResult(desktops, measured))
        finally:
            folder.remove()
    return results
