"""Start-up: from CreateProcess to every icon in the notification area,
watched from inside Wine every millisecond by startup_watch.exe, for Trevo
with one and with five desktops, each run paired with a run of the trivial
tray program with as many icons."""

import statistics

from .pairs import PairedRatio
from .session import BenchError, settings_text

REFERENCE = "startup_reference.exe"


class StartupResult:
    def __init__(self, icons, trevo_runs, reference_runs):
        if not trevo_runs or not reference_runs:
            raise BenchError(f"no start-up with {icons} icon(s) was measured")
        self.icons = icons
        self.runs = len(trevo_runs)
        self.trevo = _Summary(trevo_runs)
        self.reference = _Summary(reference_runs)
        self.paired = PairedRatio([r["icons_ms"] for r in trevo_runs], [r["icons_ms"] for r in reference_runs])


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
    reference_path = session.prefix.windows_path(session.tool_path(REFERENCE))
    for desktops in (1, 5):
        progress(f"start-up: Trevo with {desktops} desktop(s) and the trivial tray program, {runs} runs each")
        folder = session.scratch_folder()
        try:
            folder.write_settings(settings_text(desktops_max=str(desktops), no_change=()))
            trevo_path = folder.windows_path("Trevo.exe")
            # Not counted: the first start of each also loads its libraries from disk.
            _watch(session, reference_path, desktops, desktops)
            _watch(session, trevo_path, desktops)
            trevo, reference = [], []
            for k in range(runs):
                # In turns, which one goes first alternating with the run.
                order = ((reference, reference_path, (desktops,)), (trevo, trevo_path, ()))
                for into, path, arguments in (order if k % 2 == 0 else order[::-1]):
                    into += _watch(session, path, desktops, *arguments)
            results.append(StartupResult(desktops, trevo, reference))
        finally:
            folder.remove()
    return results
