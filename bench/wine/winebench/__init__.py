"""The Wine benchmarks of Trevo, driven from Linux.

  session   the Xvfb display, the benchmarks' own Wine prefix and desktop, and
            running the small Windows tools of bench/wine
  switching switch wall time against the reference walk
  idle      wake-ups, CPU time and memory of an idle Trevo
  startup   time from process start to all icons present
  wallpaper the click whose wallpaper is a large photo

The end-to-end harness (tests/e2e/trevo_e2e) supplies the display, the prefix,
the desktop, wintool and Trevo runs; nothing here changes it.
"""
