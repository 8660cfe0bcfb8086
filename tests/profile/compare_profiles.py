#!/usr/bin/env python3
"""Checks the simulated profile functions and code pages against the real ones under Wine.

Writes a set of INI files covering the rules of the profile functions, runs the
same queries, and conversions between UTF-16 and the ANSI code page, through the
native probe (sim::ProfileEngine, sim::CodePage) and the Windows probe
(kernel32, under Wine with a prefix of its own) and fails on the first answer that
differs, printing both. Writes are compared by what the functions answer after
them; where the files' bytes differ (the simulation keeps lines Windows drops)
that is reported, not failed. One file: the cases are a table the two probes
answer in turn, and they read best beside the one loop that compares them.

  compare_profiles.py --native PROBE --windows PROBE.EXE --work DIR --code-page 1252|932
"""

import argparse
import os
import shutil
import subprocess
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "e2e"))
from trevo_e2e.wine import LOADERS, WINE_SERVER, architecture, loader_environment  # noqa: E402

LOADER = LOADERS[architecture()]

FOLDER = "profile"  # below drive C on both sides
WINE_TIMEOUT = 300  # seconds for any one Wine command

# --------------------------------------------------------------------- queries


def esc(data):
    """A probe field: "'" and the bytes, with \\xHH outside '!'..'~' and for '\\'."""
    if data is None:
        return "~"
    if isinstance(data, str):
        data = data.encode("latin-1")
    return "'" + "".join(chr(b) if 0x21 <= b <= 0x7E and b != 0x5C else "\\x%02x" % b for b in data)


def path(name):
    return ("C:\\%s\\%s" % (FOLDER, name)).encode("ascii")


class Queries:
    def __init__(self):
        self.lines = []

    def comment(self, text):
        self.lines.append("# " + text)

    def gs(self, section, key, default, size, file):
        self.lines.append(" ".join(["gs", esc(section), esc(key), esc(default), str(size), esc(path(file))]))

    def ws(self, section, key, value, file):
        self.lines.append(" ".join(["ws", esc(section), esc(key), esc(value), esc(path(file))]))

    def gsec(self, section, size, file):
        self.lines.append(" ".join(["gsec", esc(section), str(size), esc(path(file))]))

    def wsec(self, section, strings, file):
        text = None if strings is None else b"\0".join(strings)
        self.lines.append(" ".join(["wsec", esc(section), esc(text), esc(path(file))]))

    def gsn(self, size, file):
        self.lines.append(" ".join(["gsn", str(size), esc(path(file))]))

    def w2m(self, text):
        self.lines.append("w2m " + esc(text.encode("utf-16-le", "surrogatepass")))

    def m2w(self, data):
        self.lines.append("m2w " + esc(data))

    def everything(self, file, sections, keys, sizes=(64, 4096)):
        """Every list and value of a file, as a check after writes."""
        for size in sizes:
            self.gsn(size, file)
            for section in sections:
                self.gsec(section, size, file)
                self.gs(section, None, b"none", size, file)
                for key in keys:
                    self.gs(section, key, b"none", size, file)

    def text(self):
        return "\n".join(self.lines) + "\n"


# -------------------------------------------------------------------- fixtures

CRLF = b"\r\n"

RULES = CRLF.join([
    b"; a comment before any section",
    b"top=before any section",
    b"",
    b"[Main]",
    b"  Key  =  spaced value  ",
    b"key=the second of that name",
    b"q1=\"double quoted\"",
    b"q2='single quoted'",
    b"q3=\"mismatched'",
    b"q4=\"",
    b"q5=\"\"",
    b"q6=\" inner blanks \"",
    b"q7=\"a\"b\"",
    b"q8='x'  ",
    b";comment=a comment with an equals sign",
    b"  ; indented comment",
    b"no equals sign",
    b"=empty name",
    b"=second empty name",
    b"empty=",
    b"tab\t=\ttabbed\t",
    b"long=" + b"0123456789" * 30,
    b"longq=\"" + b"abcdefghij" * 4 + b"\"",
    b"nul=before\0after",
    b"bracket=[not a section]",
    b"[ Spaced Section ]  text after the bracket",
    b"a=1",
    b"[main]",
    b"dup=in the second section of that name",
    b"[NoClose",
    b"b=2",
    b"[]",
    b"c=3",
    b"[Empty]",
    b"",
    b"[Ends]",
    b"x=1\ry=2\nz=3\r\n\r\n\r\nw=no line end at the end",
])

RULES_SECTIONS = [b"Main", b"MAIN", b" Main ", b"main", b"Spaced Section", b" Spaced Section",
                  b"NoClose", b"[NoClose", b"", b" ", b"Empty", b"Ends", b"Missing"]
RULES_KEYS = [b"Key", b"KEY", b" key ", b"q1", b"q2", b"q3", b"q4", b"q5", b"q6", b"q7", b"q8",
              b";comment", b"; indented comment", b"no equals sign", b"", b"empty", b"tab", b"nul",
              b"bracket", b"a", b"dup", b"b", b"c", b"top", b"x", b"y", b"z", b"w", b"missing"]

NAMES = CRLF.join([b"[A]", b"[BB]", b"[CCC]", b"[A]", b"[DDDD]", b"k=v", b"[E]"]) + CRLF


def japanese_fixture():
    def j(text):
        return text.encode("cp932")
    return CRLF.join([
        b"[" + j("設定") + b"]",
        j("キー") + b"=" + j("値です"),
        b"\x83\x41=a-kana",  # katakana A: its trail byte is the letter 'A'
        b"\x83\x61=di-kana",  # katakana DI: its trail byte is the letter 'a'
        j("ＡＢ") + b"=full-width upper",
        j("Ω") + b"=omega",
        j("表") + b"=trail byte is a backslash",
        j("ソ") + b"=" + j("十"),
        b"mix=a" + j("あいうえおかきくけこ"),
        b"odd=" + j("あいうえお") + b"z",
        b"q=\"" + j("引用符") + b"\"",
        b"long=" + j("字") * 150,
        b"  " + j("空白") + b"  =  " + j("前後") + b"  ",
        b"[" + j("表") + b"]",
        b"k=" + j("表示"),
        b"[" + j("ａ") + b"]",
        b"z=1",
        b"[" + j("ソフト") + b"]",
        j("キー") + b"=in the last section",
    ]) + CRLF


def latin_fixture():
    return CRLF.join([b"[\xc9t\xe9]", b"k\xe9y=caf\xe9", b"\x8a=s caron", b"\xdf=sharp s", b"[x]", b"y=\xff"]) + CRLF


def utf8_fixture(code_page):
    text = "[Sekt\u00edon]\r\nk\u00e9y=caf\u00e9\r\nplain=ascii\r\n" if code_page == 1252 else \
        "[\u8a2d\u5b9a]\r\n\u30ad\u30fc=\u5024\u3067\u3059\r\nplain=ascii\r\n"
    return b"\xef\xbb\xbf" + text.encode("utf-8")


WRITE_BASE = CRLF.join([
    b"; notes at the top",
    b"top=1",
    b"",
    b"[Desktops]",
    b"  Max = 3  ",
    b"; keep this comment",
    b"no equals",
    b"",
    b"[Size]",
    b"Width=400",
    b"",
    b"[Size]",
    b"Height=300",
    b"[Other]",
    b"x=1",
]) + CRLF


def fixtures(code_page):
    files = {
        "rules.ini": RULES,
        "names.ini": NAMES,
        "ja.ini": japanese_fixture(),
        "utf8.ini": utf8_fixture(code_page),
        "write.ini": WRITE_BASE,
        "lf.ini": b"[A]\nx=1\n[B]\ny=2",
        "cr.ini": b"[A]\rx=1\r",
        "section.ini": WRITE_BASE,
        "top.ini": b"; only a comment\r\n\r\n[S]\r\nk=1\r\n",
        "empty.ini": b"",
        "blank.ini": b"  \r\n\r\n",
        "ja-write.ini": japanese_fixture(),
        "utf8-write.ini": utf8_fixture(code_page),
    }
    if code_page == 1252:
        files["latin.ini"] = latin_fixture()
    return files


# ------------------------------------------------------------------ the checks

def read_queries(q, code_page):
    q.comment("values, defaults and their cuts")
    for section in RULES_SECTIONS:
        for key in RULES_KEYS:
            q.gs(section, key, b"default", 64, "rules.ini")
    for key in [b"Key", b"q1", b"q2", b"q5", b"q7", b"q8", b"long", b"longq", b"missing"]:
        for size in list(range(0, 20)) + [40, 41, 42, 43, 254, 255, 256, 300, 301, 302]:
            q.gs(b"Main", key, b"default value", size, "rules.ini")
    for default in [None, b"", b" ", b"   ", b"d  ", b"  d", b"\"d\"", b"'d'", b"\"d\"  ", b"\"d", b"\"\""]:
        for size in (1, 2, 3, 4, 64):
            q.gs(b"Main", b"missing", default, size, "rules.ini")
            q.gs(b"Main", b"missing", default, size, "nothing-here.ini")
            q.gs(b"Main", b"missing", default, size, "no-folder\\x.ini")
            q.gs(b"Main", None, default, size, "no-folder\\x.ini")
            q.gs(b"Missing", None, default, size, "rules.ini")
    q.comment("lists of keys, sections and section names, and their cuts")
    for section in RULES_SECTIONS:
        for size in list(range(0, 12)) + [40, 100, 200, 1000]:
            q.gs(section, None, b"none", size, "rules.ini")
            if size >= 2:
                q.gsec(section, size, "rules.ini")
    for size in range(2, 60):
        q.gsec(b"Main", size, "rules.ini")
    for size in list(range(0, 30)) + [100]:
        q.gs(None, None, b"none", size, "names.ini")
        q.gs(None, b"k", b"none", size, "rules.ini")
        q.gsn(size, "names.ini")
        q.gsn(size, "rules.ini")
    for file in ["nothing-here.ini", "no-folder\\x.ini", "empty.ini", "blank.ini"]:
        for size in (1, 2, 3, 10):
            q.gsn(size, file)
            q.gs(b"S", b"k", b"d", size, file)
            q.gs(b"S", None, b"d", size, file)
            q.gs(b"", None, b"d", size, file)
            q.gs(None, None, b"d", size, file)
            if size >= 2:
                q.gsec(b"S", size, file)
                q.gsec(b"", size, file)

    q.comment("double-byte text: names, case, cuts")
    ja = japanese_fixture().split(CRLF)
    sections = [line[1:-1] for line in ja if line.startswith(b"[")] + ["Ａ".encode("cp932"), b"missing"]
    keys = []
    for line in ja:
        if b"=" in line and not line.startswith(b"["):
            keys.append(line.split(b"=", 1)[0].strip(b" "))
    keys += ["ａｂ".encode("cp932"), "ω".encode("cp932"), b"\x83\x61", b"MIX", b"missing"]
    for section in sections:
        for key in keys:
            q.gs(section, key, b"default", 64, "ja.ini")
    ja_section = "設定".encode("cp932")
    for key in [b"mix", b"odd", b"q", b"long", "キー".encode("cp932")]:
        for size in list(range(0, 26)) + [254, 255, 256, 300, 301, 302]:
            q.gs(ja_section, key, b"d", size, "ja.ini")
    for size in range(0, 14):
        q.gs(b"x", b"y", "デフォルト値".encode("cp932"), size, "ja.ini")
    for size in list(range(0, 40)) + [200, 1000]:
        q.gs(ja_section, None, b"none", size, "ja.ini")
        q.gsn(size, "ja.ini")
        if size >= 2:
            q.gsec(ja_section, size, "ja.ini")

    q.comment("a UTF-8 file with its byte-order mark")
    utf8_lines = utf8_fixture(code_page)[3:].decode("utf-8").split("\r\n")
    cp = "cp1252" if code_page == 1252 else "cp932"
    u_section = utf8_lines[0][1:-1].encode(cp)
    u_key = utf8_lines[1].split("=")[0].encode(cp)
    for size in list(range(0, 20)) + [100]:
        q.gs(u_section, u_key, b"d", size, "utf8.ini")
        q.gs(u_section, b"plain", b"d", size, "utf8.ini")
        q.gs(u_section, None, b"d", size, "utf8.ini")
        q.gsn(size, "utf8.ini")
        if size >= 2:
            q.gsec(u_section, size, "utf8.ini")

    if code_page == 1252:
        q.comment("letters beyond ASCII are matched exactly")
        for section in [b"\xc9t\xe9", b"\xe9t\xe9", b"\xc9T\xc9", b"X"]:
            for key in [b"k\xe9y", b"K\xc9Y", b"KeY", b"\x8a", b"\x9a", b"\xdf", b"ss", b"y"]:
                q.gs(section, key, b"d", 32, "latin.ini")


def write_queries(q, code_page):
    j = (lambda text: text.encode("cp932"))
    q.comment("writes: values replaced, keys and sections added and removed")
    q.ws(b"desktops", b"MAX", b"  5  ", "write.ini")
    q.ws(b"Desktops", b"Max", b"5", "write.ini")  # no change
    q.ws(b"Desktops", b"added", b"new", "write.ini")
    q.ws(b" Size ", b" Depth ", b"32", "write.ini")  # the first [Size]
    q.ws(b"Size", b"Height", None, "write.ini")  # in the second [Size]
    q.ws(b"Size", b"missing", None, "write.ini")
    q.ws(b"Desktops", b"no equals", b"now one", "write.ini")
    q.ws(b"Desktops", b";x", b"a key that looks like a comment", "write.ini")
    q.ws(b"Desktops", b"quoted", b"\"in quotes\"", "write.ini")
    q.ws(b"Desktops", b"", b"empty name", "write.ini")
    q.ws(b"", b"top2", b"2", "write.ini")
    q.ws(b"New", b"k", b"v", "write.ini")
    q.ws(b"Other", None, None, "write.ini")
    q.ws(b"Gone", None, None, "write.ini")
    q.ws(None, b"k", b"v", "write.ini")
    q.ws(None, None, None, "write.ini")
    q.everything("write.ini", [b"", b"Desktops", b"Size", b"New", b"Other"],
                 [b"top", b"top2", b"Max", b"added", b"Depth", b"Width", b"Height", b"no equals", b";x",
                  b"quoted", b"", b"k", b"x"])

    q.comment("writes that create, or cannot")
    q.ws(b"Fresh", b"k", b"v", "fresh.ini")
    q.ws(b"Fresh", b"k2", b"  v2  ", "fresh.ini")
    q.ws(b"S", b"k", b"v", "no-folder\\x.ini")
    q.ws(b"S", b"k", b"v", "")
    q.ws(b"Gone", None, None, "not-made.ini")
    q.ws(b"Gone", b"k", None, "not-made-either.ini")
    q.wsec(b"Gone", [b""], "not-made-at-all.ini")
    q.gsn(100, "not-made.ini")
    q.gsn(100, "not-made-either.ini")
    q.gsn(100, "not-made-at-all.ini")
    q.everything("fresh.ini", [b"Fresh"], [b"k", b"k2"])
    q.ws(b"A", b"z", b"26", "lf.ini")
    q.ws(b"B", b"z", b"26", "lf.ini")
    q.ws(b"C", b"z", b"26", "lf.ini")
    q.everything("lf.ini", [b"A", b"B", b"C"], [b"x", b"y", b"z"])
    q.ws(b"A", b"y", b"2", "cr.ini")
    q.everything("cr.ini", [b"A"], [b"x", b"y"])
    q.ws(b"", b"k", b"top", "top.ini")
    q.ws(b"S", b"k2", b"2", "top.ini")
    q.everything("top.ini", [b"", b"S"], [b"k", b"k2"])
    q.ws(b"", b"k", b"v", "empty.ini")
    q.ws(b"S", b"k", b"v", "blank.ini")
    q.everything("empty.ini", [b""], [b"k"])
    q.everything("blank.ini", [b"S"], [b"k"])

    q.comment("whole sections written")
    q.wsec(b"Desktops", [b"Max=2", b"without equals", b" spaced = value ", b"=e", b"x==y"], "section.ini")
    q.wsec(b"Size", [b"Only=1"], "section.ini")  # both [Size] sections lose their keys
    q.wsec(b" Other ", [b"y=2"], "section.ini")  # emptied: none (untrimmed); added to: [Other]
    q.wsec(b"Brand New", [b"a=1", b"b=2"], "section.ini")
    q.wsec(b"Desktops2", [b"only text"], "section.ini")
    q.wsec(b"Other", None, "section.ini")
    q.wsec(b"S", [b"a=1"], "no-folder\\x.ini")
    q.everything("section.ini", [b"", b"Desktops", b"Size", b"Other", b"Brand New", b"Desktops2"],
                 [b"top", b"Max", b"spaced", b"", b"x", b"Only", b"Width", b"Height", b"y", b"a", b"b"])

    q.comment("double-byte writes")
    s = j("設定")
    q.ws(s, j("キー"), j("新しい値"), "ja-write.ini")
    q.ws(s, b"\x83\x61", j("ヂ"), "ja-write.ini")
    q.ws(j("表"), j("表"), j("ソ十表"), "ja-write.ini")
    q.ws(j("新"), j("ソ"), b"\"" + j("引用") + b"\"", "ja-write.ini")
    q.ws(s, j("空白"), None, "ja-write.ini")
    q.wsec(j("ソフト"), [j("キー") + b"=" + j("値"), j("表") + b"=x"], "ja-write.ini")
    q.everything("ja-write.ini", [s, j("表"), j("新"), j("ソフト"), j("ａ")],
                 [j("キー"), b"\x83\x41", b"\x83\x61", j("表"), j("ソ"), j("空白"), b"k", b"z", b"mix"])

    q.comment("writes to a UTF-8 file")
    cp = "cp1252" if code_page == 1252 else "cp932"
    lines = utf8_fixture(code_page)[3:].decode("utf-8").split("\r\n")
    u_section, u_key = lines[0][1:-1].encode(cp), lines[1].split("=")[0].encode(cp)
    value = "caf\u00e9 cr\u00e8me" if code_page == 1252 else "\u65b0\u3057\u3044"
    q.ws(u_section, u_key, value.encode(cp), "utf8-write.ini")
    q.ws(u_section, b"added", value.encode(cp), "utf8-write.ini")
    q.everything("utf8-write.ini", [u_section], [u_key, b"added", b"plain"])


def conversion_queries(q, code_page):
    """WideCharToMultiByte and MultiByteToWideChar without flags.

    The simulation models best fit for Latin letters, Latin-1 and full-width ASCII
    only: Windows' other 1252 fits (typographic spaces and dashes, the minus sign,
    letter-like symbols, box drawing) become '?' in it and are not asked here."""
    q.comment("best fit: Latin letters with marks, Latin-1, full-width ASCII")
    for first, last in ((0x00A0, 0x024F), (0xFF01, 0xFF5E)):
        for c in range(first, last + 1):
            q.w2m(chr(c))
    q.w2m("Caf\u00e9 \u0100dam \u0141\u00f3d\u017a \uff21\uff42\uff43 \u00a5100")
    q.comment("characters neither code page holds, and the ones of each code page's own")
    for text in ("\u5b57", "\u0416", "\U0001F600", "\ud83d", "x\ude00y", "\u3094",
                 "\u0080\uf8f0\uf8f1\uf8f2\uf8f3", "\u0081\u008d\u008f\u0090\u009d", ""):
        q.w2m(text)
    if code_page == 932:
        q.w2m("\u301c\u2212\u2014\u2016\u203e")  # iconv's 932 table holds them, Windows' does not
    q.comment("every single byte, and 932's broken and unfinished characters")
    for b in range(0x80, 0x100):
        q.m2w(bytes([b]))
    q.m2w(b"\x81\x8d\x8f\x90\x9d")
    for data in (b"\x81\x20x", b"a\x81", b"\x81\x00x", b"\x81\x00", b"\x85\x40", b"\x81\x7f", b"\x81\xfd",
                 b"\xf0\x40", b"\x87\x40", b"\xed\x40", b"\xfa\x40", b"\x82\xa0\x82", b"\x83\x94\x81\x60"):
        q.m2w(data)
    for lead in (0x81, 0x84, 0x88, 0x9F, 0xE0, 0xEA, 0xF0, 0xFC):
        for trail in range(0x01, 0x100):
            q.m2w(bytes([lead, trail]))


# --------------------------------------------------------------------- running

class Failure(Exception):
    pass


def run(command, env, timeout=WINE_TIMEOUT):
    try:
        done = subprocess.run(command, env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                              timeout=timeout, check=False)
    except subprocess.TimeoutExpired:
        raise Failure("no answer within %d s: %s" % (timeout, " ".join(map(str, command))))
    if done.returncode != 0:
        raise Failure("%s exited with %d:\n%s" % (command[0], done.returncode,
                                                  done.stderr.decode("utf-8", "replace")))
    return done.stdout.decode("latin-1").replace("\r\n", "\n").splitlines()


def wine_environment(prefix, code_page):
    env = dict(os.environ)
    env.update(WINEPREFIX=str(prefix), WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=")
    env.update(loader_environment(architecture()))
    env.pop("DISPLAY", None)  # a console program needs none
    for name in ("LC_ALL", "LC_CTYPE", "LANGUAGE"):
        env.pop(name, None)
    env["LANG"] = "ja_JP.UTF-8" if code_page == 932 else "C.UTF-8"
    return env


def check_locale(code_page):
    if code_page != 932:
        return
    names = subprocess.run(["locale", "-a"], stdout=subprocess.PIPE, check=False).stdout.decode().lower()
    if "ja_jp.utf8" not in names and "ja_jp.utf-8" not in names:
        raise Failure("the ja_JP.UTF-8 locale is missing (generate it: locale-gen ja_JP.UTF-8); "
                      "Wine needs it for code page 932")


def make_prefix(prefix, env):
    if (prefix / "system.reg").exists():
        return
    shutil.rmtree(prefix, ignore_errors=True)
    prefix.parent.mkdir(parents=True, exist_ok=True)
    run([LOADER, "wineboot", "-i"], env)
    run([WINE_SERVER, "-w"], env)


def lay_out(root, files):
    folder = root / FOLDER
    shutil.rmtree(folder, ignore_errors=True)
    folder.mkdir(parents=True)
    for name, data in files.items():
        (folder / name).write_bytes(data)
    return folder


def compare(queries, windows, native):
    lines = {i + 1: line for i, line in enumerate(queries.splitlines())}
    if len(windows) != len(native):
        raise Failure("the probes gave %d and %d answers" % (len(windows), len(native)))
    for w, n in zip(windows, native):
        if w != n:
            number = int(w.split(" ", 1)[0]) if w[:1].isdigit() else 0
            raise Failure("answers differ\n  query:   %s\n  windows: %s\n  sim:     %s"
                          % (lines.get(number, "?"), w, n))
    return len(windows) - 1


def byte_differences(windows_folder, native_folder):
    out = []
    for path in sorted(native_folder.iterdir()):
        if path.suffix != ".ini":
            continue
        other = windows_folder / path.name
        if not other.exists():
            out.append("%s: only the simulation has it" % path.name)
        elif other.read_bytes() != path.read_bytes():
            out.append("%s: %d bytes under Wine, %d in the simulation"
                       % (path.name, other.stat().st_size, path.stat().st_size))
    return out


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--native", required=True, type=Path)
    parser.add_argument("--windows", required=True, type=Path)
    parser.add_argument("--work", required=True, type=Path)
    parser.add_argument("--code-page", required=True, type=int, choices=(1252, 932))
    args = parser.parse_args()
    work = args.work.resolve()
    env = wine_environment(work / "prefix", args.code_page)
    started = time.monotonic()
    try:
        for tool in (LOADER, WINE_SERVER):
            if not os.access(tool, os.X_OK):
                raise Failure("%s is not installed" % tool)
        for probe in (args.native, args.windows):
            if not probe.is_file():
                raise Failure("no probe at %s (build the native and %s presets first)" % (probe, architecture()))
        check_locale(args.code_page)
        make_prefix(work / "prefix", env)
        windows_root = work / "prefix" / "drive_c"
        native_root = work / "sim"
        total = 0
        for name, build in (("reads", read_queries), ("writes", write_queries),
                            ("conversions", conversion_queries)):
            queries = Queries()
            build(queries, args.code_page)
            text = queries.text()
            files = fixtures(args.code_page)
            windows_folder = lay_out(windows_root, files)
            native_folder = lay_out(native_root / "C", files)
            (windows_folder / "queries.txt").write_text(text)
            (native_folder / "queries.txt").write_text(text)
            windows = run([LOADER, str(args.windows.resolve()), "C:\\%s\\queries.txt" % FOLDER], env)
            native = run([str(args.native.resolve()), "--root", str(native_root), "--code-page",
                          str(args.code_page), str(native_folder / "queries.txt")], env)
            for side, answers in (("windows", windows), ("sim", native)):
                if not answers or answers[0] != "acp=%d" % args.code_page:
                    raise Failure("the %s probe ran with %s, not code page %d"
                                  % (side, answers[0] if answers else "nothing", args.code_page))
            total += compare(text, windows, native)
            if name == "writes":
                for line in byte_differences(windows_folder, native_folder):
                    print("bytes differ (lines Windows drops or rewrites are kept): " + line)
        print("code page %d: %d answers compared, all equal (%.0f s)"
              % (args.code_page, total, time.monotonic() - started))
        return 0
    except Failure as failure:
        print("FAILED: %s" % failure)
        return 1
    finally:
        if (work / "prefix").exists():
            subprocess.run([WINE_SERVER, "-k"], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                           timeout=60, check=False)


if __name__ == "__main__":
    sys.exit(main())
