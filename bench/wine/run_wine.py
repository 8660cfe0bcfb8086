#!/usr/bin/env python3
"""The Wine benchmarks of Trevo.exe, on one private display and Wine desktop:
switch wall time against the reference walk, the windows moved before the
wallpaper (WindowsFirst), the wallpaper fitting and the kept wallpapers
(KeepWallpapers), an idle Trevo's wake-ups and memory, and the start-up.
Prints Markdown tables.

  bench/wine/run_wine.py EXE_DIR WORK_DIR PICTURE.jpg PICTURE.png [--quick] [--only PART,...]

PART is switch, windows-first, wallpaper, kept-wallpapers, idle or start-up;
without --only every part runs.
"""
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from winebench import idle, kept_wallpapers, startup, switching, wallpaper, windows_first  # noqa: E402
from winebench.session import BenchError, Session  # noqa: E402

WINDOW_COUNTS = (10, 100, 500)
PATTERN_COUNTS = (0, 10, 100)
TARGET_RATIO = 1.25  # the upper end of a ratio's 95 % interval
TARGET_MEDIAN = 1.10
PARTS = ("switch", "windows-first", "wallpaper", "kept-wallpapers", "idle", "start-up")
VISIT_ROUNDS = 12  # clicks of each kind a median is taken of


def progress(text):
    print(f"  ... {text}", file=sys.stderr, flush=True)


def ms(value):
    return "-" if value is None else f"{value:.1f}"


def within(paired):
    """'yes' when the median meets its target and the whole interval meets its
    own; 'no' when either is plainly missed; else 'unclear'."""
    if paired.median > TARGET_MEDIAN or paired.low > TARGET_RATIO:
        return "no"
    return paired.within(TARGET_RATIO)


def ratio_cells(paired):
    return f"{paired.text()} | {within(paired)} | {paired.pairs}"


def switch_table(results):
    print("Switch wall time under Wine (median ms of a switch, from the tray callback or the WM_HOTKEY to the end of "
          "the batch), against the contract's selection in the same run (every desktop's icon told its state around "
          "the reference walk), switch for switch in turns; Trevo has its hotkeys and follows the focus; each window "
          "count in a fresh Wine desktop. Ratio: median of the per-pair ratios (95 % interval); within: the median "
          f"at or below {TARGET_MEDIAN} and the whole interval at or below {TARGET_RATIO}; key / click: the key's "
          "switch against the click's of the same round; walk alone: the reference without the icons (its name "
          "reads as Trevo's patterns need, none, or title and class)")
    print()
    print("| windows | patterns | by | Trevo | reference | Trevo / reference | within | pairs | key / click "
          "| of the reference, icons | walk alone | walk alone, no names | walk alone, title and class |")
    print("|---:|---:|---|---:|---:|---:|---|---:|---:|---:|---:|---:|---:|")
    for r in results:
        print(f"| {r.windows} | {r.patterns} | click | {ms(r.median('trevo'))} | {ms(r.median('reference'))} | "
              f"{ratio_cells(r.paired)} | | {ms(r.phases['icons_ms'])} | {ms(r.phases['selection_ms'])} | "
              f"{ms(r.median('reference_no_names'))} | {ms(r.median('reference_title_and_class'))} |")
        print(f"| | | key | {ms(r.median('trevo_hotkey'))} | | {ratio_cells(r.hotkey_paired)} | "
              f"{r.hotkey_to_click.text()} | | | | |")
    worst = [r for r in results if r.windows == max(WINDOW_COUNTS) and r.patterns == max(PATTERN_COUNTS)]
    if worst:
        r = worst[0]
        print()
        print(f"Where the reference's time goes at {r.windows} windows and {r.patterns} patterns (median ms): "
              f"icons {ms(r.phases['icons_ms'])}, wallpaper {ms(r.phases['wallpaper_ms'])}, "
              f"walk {ms(r.phases['walk_ms'])}, rectangles {ms(r.phases['rects_ms'])}, "
              f"batch {ms(r.phases['batch_ms'])}.")
    print()


def wallpaper_table(results, no_wallpaper_ms):
    print("Wallpaper fitting under Wine: the whole click that makes the desktop active (one window on screen; "
          f"the same click without a wallpaper takes {ms(no_wallpaper_ms)} ms), in turns with ImageMagick's "
          "convert of the same picture to a BMP (median ms) and, at the picture's own size, with the reference "
          "selection that decodes it through the same codec, writes the same bitmap and sets it. Ratio: median of "
          "the per-pair ratios (95 % interval); PSNR: Trevo.bmp against convert's picture")
    print()
    print("| picture | size | click | of it, the wallpaper | convert | click / convert | no slower | pairs "
          "| reference | click / reference | within | Trevo.bmp written | PSNR dB |")
    print("|---|---|---:|---:|---:|---:|---|---:|---:|---:|---|---|---:|")
    for label, size_label, r in results:
        written = f"{r.written[0]} x {r.written[1]}" if r.written else "none"
        psnr = "-" if r.psnr is None else f"{r.psnr:.1f}"
        reference = (f"{ms(r.reference_ms)} | {r.reference_paired.text()} | {within(r.reference_paired)}"
                     if r.reference_paired else "- | - | -")
        print(f"| {label} | {size_label} | {ms(r.click_ms)} | {ms(r.click_ms - no_wallpaper_ms)} | "
              f"{ms(r.convert_median_ms)} | {r.paired.text()} | {r.paired.within(1.0)} | {r.paired.pairs} | "
              f"{reference} | {written} | {psnr} |")
    for label, size_label, r in results:
        if r.phases:
            print()
            print(f"Where the reference's time goes for the {label} {size_label} (median ms): decoding "
                  f"{ms(r.phases['decode_ms'])}, writing the bitmap {ms(r.phases['write_ms'])}, the wallpaper "
                  f"call {ms(r.phases['wallpaper_ms'])}, the icons {ms(r.phases['icons_ms'])}; the rest is the "
                  "walk and the move of one window.")
    print()


def windows_first_table(results):
    print("WindowsFirst under Wine: from the click to the moment every bench window has moved (median ms), to a "
          "desktop whose wallpaper is the photo, fitted at every visit (nothing kept), and to a desktop without a "
          "picture, visit for visit in turns in the same Trevo; each window count in a fresh Wine desktop. Ratio: "
          "median of the per-pair ratios (95 % interval); within: the median at or below "
          f"{TARGET_MEDIAN} and the whole interval at or below {TARGET_RATIO}; the click: to the end of its "
          "handling, wallpaper set")
    print()
    print("| windows | picture | size | WindowsFirst | moved, with the picture | moved, no picture "
          "| with / without | within | pairs | the click, with the picture |")
    print("|---:|---|---|---|---:|---:|---:|---|---:|---:|")
    for r in results:
        print(f"| {r.windows} | {r.picture_label} | {r.size_label} | {'on' if r.windows_first else 'off'} | "
              f"{ms(r.moved_ms)} | {ms(r.plain_moved_ms)} | {ratio_cells(r.paired)} | {ms(r.done_ms)} |")
    print()


def kept_wallpapers_table(results):
    print("KeepWallpapers under Wine (with WindowsFirst, one window on screen; median ms from the click to the end "
          "of its handling, wallpaper set): a first visit (nothing kept) against the same click of a Trevo without "
          "either option, in turns; a second visit, and of it the wallpaper's part (less the click on a desktop "
          "without a picture of the same round, plus its call setting no wallpaper timed alone), against the wallpaper call alone on the same kept bitmap. Ratios "
          f"as above, within: the median at or below {TARGET_MEDIAN} and the whole interval at or below "
          f"{TARGET_RATIO}")
    print()
    print("| picture | size | as before | first visit | first / as before | within | pairs | second visit "
          "| of it, the wallpaper | the call alone | wallpaper / call alone | within | pairs |")
    print("|---|---|---:|---:|---:|---|---:|---:|---:|---:|---:|---|---:|")
    for label, size_label, r in results:
        print(f"| {label} | {size_label} | {ms(r.before_ms)} | {ms(r.first_ms)} | {ratio_cells(r.first_paired)} | "
              f"{ms(r.second_ms)} | {ms(r.second_wallpaper_ms)} | {ms(r.alone_ms)} | "
              f"{ratio_cells(r.second_paired)} |")
    print()


def idle_table(results):
    print("Idle for 10 s with nobody clicking: wake-ups of the message-loop thread, of all threads, CPU time "
          "and memory (Trevo with 5 desktops, beside a trivial program with 5 tray icons; each Trevo with its "
          "trivial program in a fresh Wine desktop)")
    print()
    print("| program | message-loop wake-ups | all threads' wake-ups | CPU ms | private KiB | resident KiB |")
    print("|---|---:|---:|---:|---:|---:|")
    for r in results:
        # Wine 8 reports no private bytes to GetProcessMemoryInfo; Linux counts the
        # process's own (anonymous) pages.
        private = r.memory["private_usage"] // 1024 if r.memory.get("private_usage") else r.memory["RssAnon"]
        print(f"| {r.label} | {r.message_wakeups} | {r.all_wakeups} | {r.cpu_ms:.0f} | {private:,} | "
              f"{r.memory['VmRSS']:,} |")
    print()


def startup_table(results):
    print("Start-up under Wine: from process start to every icon in the notification area (median ms), Trevo "
          "in turns with the contract's start-up (the platform work Trevo's start cannot do without, on the same "
          "Trevo.ini) and the trivial tray program with as many icons, in a fresh Wine desktop; ratios against "
          f"the contract's start-up, within: the whole interval at or below {TARGET_RATIO} and the median at or "
          f"below {TARGET_MEDIAN}")
    print()
    print("| icons | Trevo: first window | all icons | contract: all icons | Trevo / contract | within | pairs "
          "| trivial program: all icons | Trevo / trivial |")
    print("|---:|---:|---:|---:|---:|---|---:|---:|---:|")
    for r in results:
        print(f"| {r.icons} | {ms(r.trevo.window_ms)} | {ms(r.trevo.icons_ms)} | {ms(r.contract.icons_ms)} | "
              f"{r.paired.text()} | {within(r.paired)} | {r.paired.pairs} | {ms(r.trivial.icons_ms)} | "
              f"{r.paired_trivial.text()} |")
    print()


def parse(argv):
    """(positional arguments, quick, parts to run); None when argv is wrong."""
    quick = "--quick" in argv
    args = [a for a in argv if a != "--quick"]
    parts = PARTS
    if "--only" in args:
        at = args.index("--only")
        if at + 1 >= len(args):
            return None
        parts = tuple(p for p in args[at + 1].split(",") if p)
        del args[at:at + 2]
        if not parts or any(p not in PARTS for p in parts):
            return None
    return (args, quick, parts) if len(args) == 4 else None


def main(argv):
    parsed = parse(argv)
    if parsed is None:
        print(__doc__, file=sys.stderr)
        return 2
    (exe_dir, work_dir, jpeg, png), quick, parts = parsed
    started = time.monotonic()
    failed = []

    def part(name, measure, table):
        """Measures one part and prints its table at once; a part that cannot
        measure is reported and the others still run."""
        if name not in parts:
            return
        try:
            results = measure()
        except BenchError as error:
            print(f"the {name} benchmark could not measure: {error}", file=sys.stderr)
            failed.append(name)
            return
        table(*results)
        sys.stdout.flush()

    try:
        with Session(exe_dir, work_dir) as session:
            part("switch", lambda: (switching.measure(session, WINDOW_COUNTS, PATTERN_COUNTS, quick, progress),),
                 switch_table)
            pictures = (("4000 x 3000 JPEG", jpeg), ("4000 x 3000 PNG", png))
            visit_rounds = 2 if quick else VISIT_ROUNDS
            part("windows-first",
                 lambda: (windows_first.measure(session, WINDOW_COUNTS, pictures, visit_rounds, progress),),
                 windows_first_table)
            part("wallpaper", lambda: wallpaper.measure(session, pictures, 2 if quick else 8, progress),
                 lambda plain, walls: wallpaper_table(walls, plain.median("trevo")))
            part("kept-wallpapers", lambda: (kept_wallpapers.measure(session, pictures, visit_rounds, progress),),
                 kept_wallpapers_table)
            part("idle", lambda: (idle.measure(session, 10, progress),), idle_table)
            part("start-up", lambda: (startup.measure(session, 4 if quick else 20, progress),), startup_table)
    except BenchError as error:
        print(f"the Wine benchmarks could not start: {error}", file=sys.stderr)
        return 1
    print(f"(Wine benchmarks: {time.monotonic() - started:.0f} s)")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
