"""Switch wall time: Trevo's switch against the reference walk, with many
windows on screen and never-move patterns that match none of them."""

from .pairs import PairedRatio
from .session import BenchError, wait_for

DESKTOPS = 5  # Trevo refreshes every desktop's icon on each click
WINDOW_HOST = "bench_windows.exe"


def never_move_patterns(count):
    """Title-and-class patterns that spare no window: each one's title test runs
    (and fails) for every window, so the class is never read."""
    return [f"title(Nothing like {k}*)class(NoSuchClass{k})" for k in range(1, count + 1)]


class SwitchResult:
    def __init__(self, windows, patterns, lines):
        self.windows = windows
        self.patterns = patterns
        self.kinds = {line["kind"]: line for line in lines}
        for needed in ("setup", "trevo", "reference", "reference_phases", "pairs"):
            if needed not in self.kinds:
                raise BenchError(f"switch_timer gave no '{needed}' line")
        if self.kinds["trevo"]["samples"] == 0 or self.kinds["reference"]["samples"] == 0:
            raise BenchError("switch_timer timed no switch")
        self.paired = PairedRatio(self.kinds["pairs"]["trevo_ms"], self.kinds["pairs"]["reference_ms"])

    def median(self, kind):
        line = self.kinds.get(kind)
        return line["median_ms"] if line else None

    @property
    def ratio(self):
        return self.paired.median

    @property
    def phases(self):
        return self.kinds["reference_phases"]

    @property
    def samples(self):
        return self.kinds["trevo"]["samples"]

    @property
    def moved(self):
        return self.kinds["setup"]["visible_windows_moved"]


def _host_windows(session):
    return [w for w in session.wintool.windows(exe=WINDOW_HOST, visible_only=True)
            if w["class"] == "TrevoBenchWindow"]


def rounds_for(windows, quick):
    """Enough pairs that the interval of the ratio is narrow, in a time a
    switch of that many windows allows (one of 500 takes seconds under Wine)."""
    rounds = 16 if windows <= 10 else 10 if windows <= 100 else 8
    return max(2, rounds // 4) if quick else rounds


def measure(session, window_counts, pattern_counts, quick, progress):
    results = []
    for windows in window_counts:
        session.fresh_desktop()
        rounds = rounds_for(windows, quick)
        host = session.start_program(session.tool_path(WINDOW_HOST), windows)
        try:
            wait_for(lambda: len(_host_windows(session)) == windows, 180, f"{windows} bench windows", interval=0.5)
            for patterns in pattern_counts:
                progress(f"switch: {windows} windows, {patterns} patterns")
                results.append(_measure_one(session, windows, patterns, rounds))
        finally:
            session.end_windows_program(WINDOW_HOST, host)
    return results


def _measure_one(session, windows, patterns, rounds):
    folder = session.scratch_folder()
    try:
        run = session.start_trevo(folder, DESKTOPS, never_move_patterns(patterns))
        try:
            # Under Wine a switch of 500 windows takes seconds (most of it the
            # wallpaper's broadcast and the X server's moves), and a round has up to nine.
            lines = session.tool("switch_timer.exe", "--windows", windows, "--patterns", patterns,
                                 "--rounds", rounds, timeout=300 + 0.5 * windows * rounds * 9)
        finally:
            session.stop_trevo(run)
    finally:
        folder.remove()
    return SwitchResult(windows, patterns, lines)
