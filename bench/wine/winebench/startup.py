"""Start-up: from CreateProcess to every icon in the notification area,
watched from inside Wine every millisecond by startup_watch.exe, for Trevo
with one and with five desktops and for the trivial tray program with one and
with five icons."""

import statistics

from .session import BenchError, settings_text

REFERENCE = "startup_reference.exe"


class StartupResult:
    def __init__(self, label, icons, runs):
        if not runs:
            raise BenchError(f"no start-up of {label} was measured")
        self.label = label
        self.icons = icons
        self.runs = len(runs)
        self.process_ms = statistics.median(r["started_ms"] for r in runs)
        self.window_ms = statistics.median(r["window_ms"] for r in runs)
        self.icons_ms = statistics.median(r["icons_ms"] for r in runs)
        self.icons_min_ms = min(r["icons_ms"] for r in runs)
        self.icons_max_ms = max(r["icons_ms"] for r in runs)


def _watch(session, program_windows_path, icons, runs, *arguments):
    lines = []
    for _ in range(runs):
        lines += session.tool("startup_watch.exe", "--icons", icons, "--timeout", 60000, "--",
                              program_windows_path, *arguments, timeout=120)
    return lines


def measure(session, runs, progress):
    results = []
    # The trivial program first: the first start in a fresh desktop also pays
    # for loading shared libraries from disk.
    reference_path = session.prefix.windows_path(session.tool_path(REFERENCE))
    _watch(session, reference_path, 1, 1)  # warm-up, not counted
    for icons in (1, 5):
        progress(f"start-up: the trivial tray program with {icons} icon(s), {runs} runs")
        results.append(StartupResult(f"trivial tray program ({icons} icon{'s' if icons > 1 else ''})", icons,
                                     _watch(session, reference_path, icons, runs, icons)))
    for desktops in (1, 5):
        progress(f"start-up: Trevo with {desktops} desktop(s), {runs} runs")
        folder = session.scratch_folder()
        try:
            folder.write_settings(settings_text(desktops_max=str(desktops), no_change=()))
            trevo_path = folder.windows_path("Trevo.exe")
            _watch(session, trevo_path, desktops, 1)  # warm-up, not counted
            results.append(StartupResult(f"Trevo, {desktops} desktop(s)", desktops,
                                         _watch(session, trevo_path, desktops, runs)))
        finally:
            folder.remove()
    return results
