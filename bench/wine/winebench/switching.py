"""Switch wall time: Trevo's switch, by a click and by a hotkey, against the
reference walk, with many windows on screen and never-move patterns that match
none of them."""

from .pairs import PairedRatio
from .session import BenchError, hotkey_ids, wait_for

DESKTOPS = 5  # Trevo refreshes every desktop's icon on each click
WINDOW_HOST = "bench_windows.exe"
# The clicks too are timed with these keys registered and the focus watch on,
# as a user of the keys runs Trevo.
KEYS = {"Desktop1": "Ctrl+Alt+F1", "Desktop2": "Ctrl+Alt+F2"}
FOLLOW_FOCUS = True
# Switches of a round at most: two clicks, two moves of the reference, two keys,
# the click on the active desktop and four moves of the reference's variants.
SWITCHES_PER_ROUND = 11


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
        timed = [kind for kind in ("trevo", "reference", "trevo_hotkey") if kind in self.kinds]
        if any(self.kinds[kind]["samples"] == 0 for kind in timed):
            raise BenchError("switch_timer timed no switch")
        pairs = self.kinds["pairs"]
        self.paired = PairedRatio(pairs["trevo_ms"], pairs["reference_ms"])
        # Only when switch_timer was given the hotkeys; key k and click k went
        # the same way in the same round.
        self.hotkey_paired = self.hotkey_to_click = None
        if "hotkey_ms" in pairs:
            self.hotkey_paired = PairedRatio(pairs["hotkey_ms"], pairs["reference_ms"])
            self.hotkey_to_click = PairedRatio(pairs["hotkey_ms"], pairs["trevo_ms"])

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
    ids = hotkey_ids(KEYS)
    try:
        run = session.start_trevo(folder, DESKTOPS, never_move_patterns(patterns), keys=KEYS,
                                  follow_focus=FOLLOW_FOCUS)
        try:
            # Under Wine a switch of 500 windows takes seconds (most of it the
            # wallpaper's broadcast and the X server's moves).
            lines = session.tool("switch_timer.exe", "--windows", windows, "--patterns", patterns,
                                 "--rounds", rounds, "--desktop1-key", ids["Desktop1"],
                                 "--desktop2-key", ids["Desktop2"],
                                 timeout=300 + 0.5 * windows * rounds * SWITCHES_PER_ROUND)
        finally:
            session.stop_trevo(run)
    finally:
        folder.remove()
    result = SwitchResult(windows, patterns, lines)
    if result.hotkey_paired is None:
        raise BenchError("switch_timer timed no switch by hotkey")
    return result
