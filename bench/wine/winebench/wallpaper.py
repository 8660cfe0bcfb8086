"""The wallpaper fitting under Wine: the click that makes a desktop active whose
wallpaper is a large photo, timed by switch_timer.exe with one window on screen
(so the click is almost all fitting), in turns with ImageMagick's convert doing
the same job on the same picture and, for a picture kept at its own size, with
the reference selection doing the same platform work (the picture decoded
through the same codec, the same bitmap written, the same wallpaper call); and
how close Trevo's stretched Trevo.bmp comes to ImageMagick's (PSNR)."""

import os
import re
import shutil
import statistics
import subprocess
import tempfile
import time

from .pairs import PairedRatio
from .session import BenchError, wait_for
from .switching import DESKTOPS, WINDOW_HOST, SwitchResult, _host_windows

SIZE = (1920, 1080)


class WallpaperResult:
    def __init__(self, clicks_ms, convert_ms, written, psnr, reference_ms=(), phases=()):
        self.clicks_ms = clicks_ms
        self.convert_ms = convert_ms
        self.paired = PairedRatio(clicks_ms, convert_ms)
        self.written = written
        self.psnr = psnr
        # Only for a picture at its own size: the reference selection's times
        # (click k and reference k from the same round) and its phases.
        self.reference_paired = PairedRatio(clicks_ms, reference_ms) if reference_ms else None
        self.reference_ms = statistics.median(reference_ms) if reference_ms else None
        self.phases = {key: statistics.median(p[key] for p in phases) for key in
                       ("decode_ms", "write_ms", "wallpaper_ms", "icons_ms")} if phases else None

    @property
    def click_ms(self):
        return statistics.median(self.clicks_ms)

    @property
    def convert_median_ms(self):
        return statistics.median(self.convert_ms)


def measure(session, pictures, rounds, progress):
    """pictures: (label, host path) pairs. Gives the click without a wallpaper,
    and (label, size label, result) for each picture and size."""
    session.fresh_desktop()
    results = []
    host = session.start_program(session.tool_path(WINDOW_HOST), 1)
    try:
        wait_for(lambda: len(_host_windows(session)) == 1, 60, "the bench window", interval=0.5)
        progress("wallpaper under Wine: the same click without a wallpaper")
        baseline = _plain_click(session, rounds)
        for label, picture in pictures:
            for size_label, keep_size in (("stretched to 1920 x 1080", True), ("at its own size", False)):
                progress(f"wallpaper under Wine: {label} {size_label}")
                results.append((label, size_label, _measure_one(session, picture, keep_size, rounds)))
    finally:
        session.end_windows_program(WINDOW_HOST, host)
    return baseline, results


def _plain_click(session, rounds):
    folder = session.scratch_folder()
    try:
        run = session.start_trevo(folder, DESKTOPS)
        try:
            lines = session.tool("switch_timer.exe", "--windows", 1, "--rounds", rounds, timeout=900)
        finally:
            session.stop_trevo(run)
    finally:
        folder.remove()
    return SwitchResult(1, 0, lines)


def _convert_ms(picture, keep_size, out):
    command = ["convert", picture] + (["-resize", f"{SIZE[0]}x{SIZE[1]}!"] if keep_size else []) + [out]
    start = time.perf_counter()
    subprocess.run(command, check=True, stdout=subprocess.DEVNULL)
    return 1000 * (time.perf_counter() - start)


def _measure_one(session, picture, keep_size, rounds):
    folder = session.scratch_folder()
    with tempfile.TemporaryDirectory() as tmp:
        magick_bmp = os.path.join(tmp, "magick.bmp")
        try:
            name = "wallpaper" + picture[picture.rfind("."):]
            shutil.copyfile(picture, folder.file(name))
            path = folder.windows_path(name)
            run = session.start_trevo(folder, DESKTOPS, wallpapers=(path, path, "", "", ""),
                                      keep_size="-1" if keep_size else "0", width=str(SIZE[0]),
                                      height=str(SIZE[1]))
            # At its own size the reference selection makes the same bitmap.
            reference_job = [] if keep_size else ["--wallpaper-picture", path, "--wallpaper-bitmap",
                                                  folder.windows_path("Reference.bmp")]
            clicks, converts, references, phases = [], [], [], []
            try:
                for _ in range(rounds):
                    # One round is two timed clicks, each fitting the picture, two
                    # selections of the reference between them when it has a
                    # bitmap to make, and two conversions beside them.
                    lines = session.tool("switch_timer.exe", "--windows", 1, "--rounds", 1, *reference_job,
                                         timeout=900)
                    result = SwitchResult(1, 0, lines)
                    pair = result.kinds["pairs"]["trevo_ms"]
                    clicks += pair
                    if reference_job:
                        references += result.kinds["pairs"]["reference_ms"]
                        phases.append(result.phases)
                    converts += [_convert_ms(picture, keep_size, magick_bmp) for _ in pair]
            finally:
                session.stop_trevo(run)
            trevo_bmp = folder.file("Trevo.bmp")
            written = _bitmap_size(trevo_bmp)
            psnr = _psnr(trevo_bmp, magick_bmp) if written else None
        finally:
            folder.remove()
    return WallpaperResult(clicks, converts, written, psnr, references, phases)


def _psnr(ours, theirs):
    """ImageMagick's peak signal-to-noise ratio of the two pictures, in dB
    (higher is closer; identical pictures give inf)."""
    done = subprocess.run(["compare", "-metric", "PSNR", ours, theirs, "null:"], capture_output=True, text=True)
    found = re.match(r"\s*([0-9.]+|inf)", done.stderr)
    if not found:
        raise BenchError(f"compare gave no PSNR: {done.stderr.strip()[:200]}")
    return float(found.group(1))


def _bitmap_size(path):
    """Width and height of the bitmap Trevo wrote, or None when it wrote none."""
    try:
        with open(path, "rb") as f:
            header = f.read(26)
    except OSError:
        return None
    if len(header) < 26 or header[:2] != b"BM":
        return None
    return (int.from_bytes(header[18:22], "little", signed=True),
            abs(int.from_bytes(header[22:26], "little", signed=True)))
