"""A switch with WindowsFirst, from the click to the moment every window has
moved: to a desktop whose wallpaper is a large photo, fitted at every visit
(nothing kept), against a desktop without a picture, visit for visit in turns
in the same Trevo; and, at the fewest windows, the same without WindowsFirst."""

import shutil
import statistics

from .pairs import PairedRatio
from .session import BenchError, wait_for
from .switching import WINDOW_HOST, _host_windows

DESKTOPS = 4
JPEG_DESK, PNG_DESK, PLAIN_DESK = 2, 3, 4  # desktop 1 has no picture either
SIZE = (1920, 1080)
SIZES = (("stretched to 1920 x 1080", "-1"), ("at its own size", "0"))


class MovesResult:
    def __init__(self, windows, picture_label, size_label, windows_first, visits, desk):
        self.windows = windows
        self.picture_label = picture_label
        self.size_label = size_label
        self.windows_first = windows_first
        mine, plain = visits[desk], visits[PLAIN_DESK]
        self.moved_ms = statistics.median(mine["moved_ms"])
        self.plain_moved_ms = statistics.median(plain["moved_ms"])
        self.done_ms = statistics.median(mine["done_ms"])
        self.paired = PairedRatio(mine["moved_ms"], plain["moved_ms"])


def measure(session, window_counts, pictures, rounds, progress):
    """pictures: (JPEG label, path), (PNG label, path). One MovesResult for
    each window count, picture and size."""
    results = []
    for windows in window_counts:
        session.fresh_desktop()
        host = session.start_program(session.tool_path(WINDOW_HOST), windows)
        try:
            wait_for(lambda: len(_host_windows(session)) == windows, 180, f"{windows} bench windows", interval=0.5)
            runs = [(size_label, keep_size, True) for size_label, keep_size in SIZES]
            if windows == min(window_counts):
                runs.append((SIZES[1][0], SIZES[1][1], False))
            for size_label, keep_size, windows_first in runs:
                progress(f"windows first: {windows} windows, pictures {size_label}"
                         + ("" if windows_first else ", WindowsFirst off"))
                results += _measure_one(session, windows, pictures, size_label, keep_size, windows_first, rounds)
        finally:
            session.end_windows_program(WINDOW_HOST, host)
    return results


def _measure_one(session, windows, pictures, size_label, keep_size, windows_first, rounds):
    folder = session.scratch_folder()
    try:
        paths = {}
        for (label, picture), desk in zip(pictures, (JPEG_DESK, PNG_DESK)):
            name = f"wallpaper{desk}" + picture[picture.rfind("."):]
            shutil.copyfile(picture, folder.file(name))
            paths[desk] = folder.windows_path(name)
        wallpapers = tuple(paths.get(desk, "") for desk in range(1, 6))
        run = session.start_trevo(folder, DESKTOPS, wallpapers=wallpapers, keep_size=keep_size,
                                  width=str(SIZE[0]), height=str(SIZE[1]),
                                  options=("WindowsFirst",) if windows_first else ())
        try:
            # Six switches a round; one of 500 windows takes seconds under Wine.
            lines = session.tool("visit_timer.exe", "--windows", windows, "--rounds", rounds, "--desks",
                                 f"{JPEG_DESK},{PNG_DESK},{PLAIN_DESK}", timeout=300 + 0.1 * windows * rounds * 6)
        finally:
            session.stop_trevo(run)
    finally:
        folder.remove()
    visits = {line["desk"]: line for line in lines if line["kind"] == "visits"}
    if set(visits) != {JPEG_DESK, PNG_DESK, PLAIN_DESK} or any(len(v["moved_ms"]) != rounds for v in visits.values()):
        raise BenchError("visit_timer did not time every visit")
    return [MovesResult(windows, label, size_label, windows_first, visits, desk)
            for (label, _), desk in zip(pictures, (JPEG_DESK, PNG_DESK))]
