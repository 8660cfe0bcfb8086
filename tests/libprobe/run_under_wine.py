#!/usr/bin/env python3
"""Runs libprobe.exe under Wine on a virtual display of its own and passes when
the probe reports no failure.

The display comes from Xvfb, which picks a free number itself (-displayfd); the
Wine prefix is the one given (made on first use). Every wait is bounded, and the
display and the prefix's wine server are ended whatever happens."""

import argparse
import os
import select
import shutil
import signal
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "e2e"))
from trevo_e2e.wine import LOADERS, WINE_SERVER, architecture, loader_environment  # noqa: E402

SCREEN = "1024x768x24"


def fail(message):
    print("libprobe: " + message, file=sys.stderr)
    return 1


class VirtualDisplay:
    """An Xvfb server on a display number it chose; ended by stop()."""

    def __init__(self, wait_seconds):
        self.process = None
        self.name = None
        self._wait_seconds = wait_seconds

    def start(self):
        read_end, write_end = os.pipe()
        try:
            self.process = subprocess.Popen(
                ["Xvfb", "-displayfd", str(write_end), "-screen", "0", SCREEN, "-nolisten", "tcp"],
                pass_fds=(write_end,), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                stderr=subprocess.DEVNULL, start_new_session=True)
            os.close(write_end)
            write_end = None
            number = b""
            while not number.endswith(b"\n"):
                ready, _, _ = select.select([read_end], [], [], self._wait_seconds)
                if not ready:
                    raise RuntimeError("Xvfb gave no display number within %d s" % self._wait_seconds)
                chunk = os.read(read_end, 16)
                if not chunk:
                    raise RuntimeError("Xvfb ended before it gave a display number")
                number += chunk
            self.name = ":" + number.decode().strip()
        finally:
            if write_end is not None:
                os.close(write_end)
            os.close(read_end)

    def stop(self):
        if self.process is None or self.process.poll() is not None:
            return
        self.process.terminate()
        try:
            self.process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait(timeout=10)


def wine_environment(prefix, display):
    env = dict(os.environ)
    env.pop("WINEDLLPATH", None)
    env.update(loader_environment(architecture()))
    env.update({
        "WINEPREFIX": prefix,
        "WINEDEBUG": "-all",
        # Mono and Gecko would offer to download themselves into a new prefix.
        "WINEDLLOVERRIDES": "mscoree,mshtml=",
        "DISPLAY": display,
    })
    return env


def run_bounded(args, env, timeout):
    """Runs args as a process group of its own; on timeout the whole group is killed."""
    process = subprocess.Popen(args, env=env, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                               stderr=subprocess.PIPE, start_new_session=True)
    try:
        out, err = process.communicate(timeout=timeout)
    except subprocess.TimeoutExpired:
        os.killpg(process.pid, signal.SIGKILL)
        out, err = process.communicate()
        return None, out, err
    return process.returncode, out, err


def verdict(returncode, output):
    """Passes only a probe that ended with 0 after at least one finding, none failed."""
    lines = [line.strip() for line in output.splitlines()]
    failed = [line for line in lines if line.startswith("fail ")]
    passed = [line for line in lines if line.startswith("ok ")]
    if failed:
        return "%d finding(s) failed" % len(failed)
    if not passed:
        return "the probe reported nothing"
    if returncode != 0:
        return "the probe ended with %d" % returncode
    return None


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--exe", required=True, help="path of libprobe.exe")
    parser.add_argument("--prefix", required=True, help="the Wine prefix to use (made when missing)")
    parser.add_argument("--prefix-timeout", type=int, default=150, help="seconds for making the prefix")
    parser.add_argument("--timeout", type=int, default=90, help="seconds for the probe")
    args = parser.parse_args()

    if not os.path.isfile(args.exe):
        return fail("%s is missing: build the %s preset first" % (args.exe, architecture()))
    loader = LOADERS[architecture()]
    for program in (loader, WINE_SERVER, "Xvfb"):
        if shutil.which(program) is None:
            return fail("%s is not installed" % program)

    prefix = os.path.abspath(args.prefix)
    os.makedirs(os.path.dirname(prefix), exist_ok=True)
    display = VirtualDisplay(wait_seconds=20)
    env = None
    try:
        display.start()
        env = wine_environment(prefix, display.name)
        if not os.path.isfile(os.path.join(prefix, "system.reg")):
            code, _, err = run_bounded([loader, "wineboot", "--init"], env, args.prefix_timeout)
            if code is None:
                return fail("making the Wine prefix took more than %d s" % args.prefix_timeout)
        code, out, err = run_bounded([loader, os.path.abspath(args.exe)], env, args.timeout)
        output = out.decode(errors="replace")
        sys.stdout.write(output)
        if code is None:
            return fail("the probe did not end within %d s" % args.timeout)
        problem = verdict(code, output)
        if problem:
            sys.stderr.write(err.decode(errors="replace")[-4000:])
            return fail(problem)
        return 0
    except (OSError, RuntimeError) as e:
        return fail(str(e))
    finally:
        if env is not None:
            try:
                subprocess.run([WINE_SERVER, "-k"], env=env, stdin=subprocess.DEVNULL,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30)
            except (OSError, subprocess.TimeoutExpired):
                pass
        display.stop()


if __name__ == "__main__":
    sys.exit(main())
