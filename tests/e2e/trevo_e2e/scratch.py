"""A throw-away program folder: Trevo.exe next to the Trevo.ini of one test."""

import os
import shutil
import tempfile

SETTINGS_NAME = "Trevo.ini"
SETTINGS_ENCODING = "cp932"  # the ANSI code page Trevo is made for


class ScratchFolder:
    def __init__(self, parent, windows_path_of):
        os.makedirs(parent, exist_ok=True)
        self.path = tempfile.mkdtemp(prefix="case-", dir=parent)
        self._windows_path_of = windows_path_of

    def file(self, name):
        return os.path.join(self.path, name)

    def windows_path(self, name=""):
        """The path a Windows program in the prefix sees, e.g. C:\\...\\Trevo.ini."""
        return self._windows_path_of(self.file(name) if name else self.path)

    def add_program(self, exe_path, name=None):
        target = self.file(name or os.path.basename(exe_path))
        shutil.copyfile(exe_path, target)
        return target

    def write_settings(self, text, name=SETTINGS_NAME, encoding=SETTINGS_ENCODING):
        """Writes text as a Windows profile file: CR LF line ends, ANSI bytes."""
        data = text.replace("\r\n", "\n").replace("\n", "\r\n").encode(encoding)
        with open(self.file(name), "wb") as settings:
            settings.write(data)

    def read_settings(self, name=SETTINGS_NAME, encoding=SETTINGS_ENCODING):
        with open(self.file(name), "rb") as settings:
            return settings.read().decode(encoding)

    def snapshot(self):
        """Every entry below the folder: folders as None, files as their bytes,
        keyed by relative path. Two snapshots compare equal exactly when
        nothing was added, removed or changed."""
        entries = {}
        for folder, subfolders, files in os.walk(self.path):
            relative = os.path.relpath(folder, self.path)
            for name in subfolders:
                entries[os.path.normpath(os.path.join(relative, name))] = None
            for name in files:
                with open(os.path.join(folder, name), "rb") as entry:
                    entries[os.path.normpath(os.path.join(relative, name))] = entry.read()
        return entries

    def remove(self):
        shutil.rmtree(self.path, ignore_errors=True)


def describe_changes(before, after):
    """A short account of how two snapshots differ, for failure messages."""
    lines = []
    for name in sorted(set(before) | set(after)):
        if name not in after:
            lines.append(f"removed: {name}")
        elif name not in before:
            lines.append(f"added: {name}")
        elif before[name] != after[name]:
            lines.append(f"changed: {name}")
    return "\n".join(lines) or "no change"
