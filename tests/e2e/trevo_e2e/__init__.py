"""Drives the real Trevo.exe under Wine on a virtual X display.

The pieces, each in its own module:
  waiting     bounded polling of a condition
  xserver     a private Xvfb display
  wine        the Wine prefix: creation, registry settings, environment
  desktop     the Wine desktop "shell" with its task bar, kept open
  wintool     wintool.exe, which reads and drives windows from inside Wine
  screen      screenshots, pixels, mouse clicks, tray icon positions
  icons       Trevo's .ico files read back, one image of a size at a time
  pictures    large photo-like pictures, made once and kept
  scratch     a folder holding Trevo.exe and a prepared Trevo.ini
  probe       probe_windows.exe, windows for a switch to move
  trevo       one run of Trevo.exe
  settings    Trevo.ini texts for the tests
  case        the unittest base class that ties these together
"""
