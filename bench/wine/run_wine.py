#!/usr/bin/env python3
"""The Wine benchmarks of Trevo.exe, on one private display and Wine desktop:
switch wall time against the reference walk, the wallpaper fitting, an idle
Trevo's wake-ups and memory, and the start-up. Prints Markdown tables.

  bench/wine/run_wine.py WIN32_DIR WORK_DIR PICTURE.jpg PICTURE.png [--quick]
"""
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from winebench import idle, startup, switching, wallpaper  # noqa: E402
from winebench.session import BenchError, Session  # noqa: E402

WINDOW_COUNTS = (10, 100, 500)
PATTERN_COUNTS = (0, 10, 100)
TARGET_RATIO = 1.25


def progress(text):
    print(f"  ... {text}", file=sys.stderr, flush=True)


def ms(value):
    return "-" if value is None else f"{value:.1f}"


def switch_table(results):
    print("Switch wall time under Wine (median ms of a click, from the tray callback to the end of the batch), "
          "against the reference walk in the same run")
    print()
    print("| windows | patterns | Trevo | reference | Trevo / reference | reference without name reads "
          "| reference with title and class | clicks timed |")
    print("|---:|---:|---:|---:|---:|---:|---:|---:|")
    for r in results:
        print(f"| {r.windows} | {r.patterns} | {ms(r.median('trevo'))} | {ms(r.median('reference'))} | "
              f"{r.ratio:.2f} | {ms(r.median('reference_no_names'))} | {ms(r.median('reference_title_and_class'))} "
              f"| {r.samples} |")
    worst = [r for r in results if r.windows == max(WINDOW_COUNTS) and r.patterns == max(PATTERN_COUNTS)]
    if worst:
        r = worst[0]
        verdict = "within" if r.ratio <= TARGET_RATIO else "ABOVE"
        print()
        print(f"At {r.windows} windows and {r.patterns} patterns Trevo takes {r.ratio:.2f} x the reference "
              f"({verdict} the {TARGET_RATIO} x target). Where the reference's time goes (median ms): "
              f"wallpaper {ms(r.phases['wallpaper_ms'])}, walk {ms(r.phases['walk_ms'])}, "
              f"rectangles {ms(r.phases['rects_ms'])}, batch {ms(r.phases['batch_ms'])}.")
    print()


def wallpaper_table(results, no_wallpaper_ms):
    print("Wallpaper fitting under Wine (median ms of the click that makes the desktop active, one window on "
          f"screen; the same click without a wallpaper takes {ms(no_wallpaper_ms)})")
    print()
    print("| picture | size | click | of it, the wallpaper | Trevo.bmp written |")
    print("|---|---|---:|---:|---|")
    for label, size_label, r in results:
        click = r.median("trevo")
        written = f"{r.written[0]} x {r.written[1]}" if r.written else "none"
        print(f"| {label} | {size_label} | {ms(click)} | {ms(click - no_wallpaper_ms)} | {written} |")
    print()


def idle_table(results):
    print("Idle for 10 s with nobody clicking: wake-ups of the message-loop thread, of all threads, CPU time "
          "and memory (Trevo with 5 desktops, beside a trivial program with 5 tray icons)")
    print()
    print("| program | message-loop wake-ups | all threads' wake-ups | CPU ms | private KiB | resident KiB |")
    print("|---|---:|---:|---:|---:|---:|")
    for r in results:
        # Wine 8 reports no private bytes to GetProcessMemoryInfo; Linux counts the
        # process's own (anonymous) pages.
        private = r.memory["private_usage"] // 1024 if r.memory.get("private_usage") else r.memory["RssAnon"]
        print(f"| {r.program} | {r.message_wakeups} | {r.all_wakeups} | {r.cpu_ms:.0f} | {private:,} | "
              f"{r.memory['VmRSS']:,} |")
    print()


def startup_table(results):
    print("Start-up under Wine: from process start to every icon in the notification area (median ms)")
    print()
    print("| program | icons | runs | process running | first window | all icons (min - max) |")
    print("|---|---:|---:|---:|---:|---:|")
    for r in results:
        print(f"| {r.label} | {r.icons} | {r.runs} | {ms(r.process_ms)} | {ms(r.window_ms)} | "
              f"{ms(r.icons_ms)} ({ms(r.icons_min_ms)} - {ms(r.icons_max_ms)}) |")
    print()


def main(argv):
    quick = "--quick" in argv
    args = [a for a in argv if a != "--quick"]
    if len(args) != 4:
        print(__doc__, file=sys.stderr)
        return 2
    win32_dir, work_dir, jpeg, png = args
    rounds = 2 if quick else 3
    started = time.monotonic()
    failed = []

    def part(name, measure, table):
        """Measures one part and prints its table at once; a part that cannot
        measure is reported and the others still run."""
        try:
            results = measure()
        except BenchError as error:
            print(f"the {name} benchmark could not measure: {error}", file=sys.stderr)
            failed.append(name)
            return
        table(*results)
        sys.stdout.flush()

    try:
        with Session(win32_dir, work_dir) as session:
            part("switch", lambda: (switching.measure(session, WINDOW_COUNTS, PATTERN_COUNTS, rounds, progress),),
                 switch_table)
            pictures = (("4000 x 3000 JPEG", jpeg), ("4000 x 3000 PNG", png))
            part("wallpaper", lambda: wallpaper.measure(session, pictures, 1 if quick else 3, progress),
                 lambda plain, walls: wallpaper_table(walls, plain.median("trevo")))
            part("idle", lambda: (idle.measure(session, 10, progress),), idle_table)
            part("start-up", lambda: (startup.measure(session, 3 if quick else 5, progress),), startup_table)
    except BenchError as error:
        print(f"the Wine benchmarks could not start: {error}", file=sys.stderr)
        return 1
    print(f"(Wine benchmarks: {time.monotonic() - started:.0f} s)")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
