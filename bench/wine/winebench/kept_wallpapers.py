"""KeepWallpapers under Wine, with WindowsFirst as the shipped Trevo.ini has
them and one window on screen: a first visit of a desktop whose wallpaper is a
large photo (nothing kept yet) against the same visit of a Trevo without
either option, in turns (each Trevo for two rounds); and a second visit (the
kept bitmap handed to Windows again), whose wallpaper's part is the click less
that of a desktop without a picture (whose own call, setting no wallpaper, is
timed alone and given back), against the wallpaper call alone on the same kept
bitmap, round for round."""

import shutil
import statistics

from .pairs import PairedRatio
from .session import BenchError, wait_for
from .switching import WINDOW_HOST, _host_windows
from .windows_first import SIZE, SIZES

DESKTOPS = 3
PHOTO_DESK, PLAIN_DESK = 2, 3  # desktop 1 has no picture either
ROUNDS_PER_RUN = 2


class KeptResult:
    def __init__(self, before_ms, first_ms, second_ms, plain_ms, alone_ms, none_ms):
        self.before_ms = statistics.median(before_ms)
        self.first_ms = statistics.median(first_ms)
        self.first_paired = PairedRatio(first_ms, before_ms)
        self.second_ms = statistics.median(second_ms)
        wallpaper = [second - plain + none for second, plain, none in zip(second_ms, plain_ms, none_ms)]
        self.second_wallpaper_ms = statistics.median(wallpaper)
        self.alone_ms = statistics.median(alone_ms)
        self.second_paired = PairedRatio(wallpaper, alone_ms)


def measure(session, pictures, rounds, progress):
    """(picture label, size label, KeptResult) for each picture and size."""
    session.fresh_desktop()
    results = []
    host = session.start_program(session.tool_path(WINDOW_HOST), 1)
    try:
        wait_for(lambda: len(_host_windows(session)) == 1, 60, "the bench window", interval=0.5)
        for label, picture in pictures:
            for size_label, keep_size in SIZES:
                progress(f"kept wallpapers: {label} {size_label}")
                results.append((label, size_label, _measure_one(session, picture, keep_size, rounds)))
    finally:
        session.end_windows_program(WINDOW_HOST, host)
    return results


def _measure_one(session, picture, keep_size, rounds):
    folder = session.scratch_folder()
    samples = {"before": [], "first": [], "second": [], "plain": [], "alone": [], "none": []}
    try:
        name = "wallpaper" + picture[picture.rfind("."):]
        shutil.copyfile(picture, folder.file(name))
        wallpapers = ("", folder.windows_path(name), "", "", "")
        for run_number in range(max(1, rounds // ROUNDS_PER_RUN)):
            order = (False, True) if run_number % 2 == 0 else (True, False)
            for kept in order:
                _one_run(session, folder, wallpapers, keep_size, kept, samples)
    finally:
        folder.remove()
    return KeptResult(*(samples[key] for key in ("before", "first", "second", "plain", "alone", "none")))


def _one_run(session, folder, wallpapers, keep_size, kept, samples):
    options = ("WindowsFirst", "KeepWallpapers") if kept else ()
    run = session.start_trevo(folder, DESKTOPS, wallpapers=wallpapers, keep_size=keep_size, width=str(SIZE[0]),
                              height=str(SIZE[1]), options=options)
    try:
        extra = ("--forget-kept", "--second-visits") if kept else ()
        lines = session.tool("visit_timer.exe", "--windows", 1, "--rounds", ROUNDS_PER_RUN, "--desks",
                             f"{PHOTO_DESK},{PLAIN_DESK}", *extra, timeout=600)
    finally:
        session.stop_trevo(run)

    def of(kind, desk, key):
        found = [line[key] for line in lines if line["kind"] == kind and line["desk"] == desk]
        if not found or len(found[0]) != ROUNDS_PER_RUN:
            raise BenchError(f"visit_timer gave no {ROUNDS_PER_RUN} {kind} {key} of desktop {desk}"
                             + (" (was a bitmap kept?)" if kind == "call_alone" else ""))
        return found[0]

    if not kept:
        samples["before"] += of("visits", PHOTO_DESK, "done_ms")
        return
    samples["first"] += of("visits", PHOTO_DESK, "done_ms")
    samples["second"] += of("second_visits", PHOTO_DESK, "done_ms")
    samples["plain"] += of("second_visits", PLAIN_DESK, "done_ms")
    samples["alone"] += of("call_alone", PHOTO_DESK, "ms")
    samples["none"] += of("call_alone", PHOTO_DESK, "none_ms")
