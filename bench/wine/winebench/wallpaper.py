"""The wallpaper fitting under Wine: the click that makes a desktop active whose
wallpaper is a large photo, timed by switch_timer.exe with one window on screen
(so the click is almost all fitting), against the same click without a
wallpaper."""

import shutil

from .session import wait_for
from .switching import DESKTOPS, WINDOW_HOST, SwitchResult, _host_windows


def measure(session, pictures, rounds, progress):
    """pictures: (label, host path) pairs. Gives the click without a wallpaper,
    and (label, size label, result) for each picture and size."""
    results = []
    host = session.start_program(session.tool_path(WINDOW_HOST), 1)
    try:
        wait_for(lambda: len(_host_windows(session)) == 1, 60, "the bench window", interval=0.5)
        progress("wallpaper under Wine: the same click without a wallpaper")
        baseline = _measure_one(session, None, "0", rounds)
        for label, picture in pictures:
            for size_label, keep_size in (("stretched to 1920 x 1080", "-1"), ("at its own size", "0")):
                progress(f"wallpaper under Wine: {label} {size_label}")
                results.append((label, size_label, _measure_one(session, picture, keep_size, rounds)))
    finally:
        session.end_windows_program(WINDOW_HOST, host)
    return baseline, results


def _measure_one(session, picture, keep_size, rounds):
    folder = session.scratch_folder()
    try:
        path = ""
        if picture is not None:
            name = "wallpaper" + picture[picture.rfind("."):]
            shutil.copyfile(picture, folder.file(name))
            path = folder.windows_path(name)
        run = session.start_trevo(folder, DESKTOPS, wallpapers=(path, path, "", "", ""), keep_size=keep_size,
                                  width="1920", height="1080")
        try:
            lines = session.tool("switch_timer.exe", "--windows", 1, "--rounds", rounds, timeout=900)
        finally:
            session.stop_trevo(run)
        result = SwitchResult(1, 0, lines)
        result.written = _bitmap_size(folder.file("Trevo.bmp"))
    finally:
        folder.remove()
    return result


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
