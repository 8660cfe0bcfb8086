"""What Linux knows of a Wine process: under Wine every Windows thread is a
Linux thread, so its context switches count how often it was woken."""

import os

CLOCK_TICKS = os.sysconf("SC_CLK_TCK")


class ThreadSample:
    def __init__(self, tid, name, voluntary, involuntary, cpu_ticks):
        self.tid = tid
        self.name = name
        self.voluntary = voluntary
        self.involuntary = involuntary
        self.cpu_ticks = cpu_ticks

    @property
    def switches(self):
        return self.voluntary + self.involuntary


def _status_fields(path):
    fields = {}
    with open(path, encoding="ascii", errors="replace") as status:
        for line in status:
            key, _, value = line.partition(":")
            fields[key] = value.strip()
    return fields


def _cpu_ticks(stat_path):
    """utime + stime from a stat file; the name in parentheses may hold spaces."""
    with open(stat_path, encoding="ascii", errors="replace") as stat:
        text = stat.read()
    after_name = text[text.rindex(")") + 2:].split()
    # Fields 14 and 15 of stat(5), counted from the state (field 3).
    return int(after_name[11]) + int(after_name[12])


def threads(pid):
    """Every thread of a process now, keyed by thread id. Threads that end
    while being read are left out."""
    found = {}
    task_dir = f"/proc/{pid}/task"
    for entry in os.listdir(task_dir):
        try:
            fields = _status_fields(f"{task_dir}/{entry}/status")
            found[int(entry)] = ThreadSample(int(entry), fields.get("Name", "?"),
                                             int(fields["voluntary_ctxt_switches"]),
                                             int(fields["nonvoluntary_ctxt_switches"]),
                                             _cpu_ticks(f"{task_dir}/{entry}/stat"))
        except (OSError, KeyError, ValueError):
            continue
    return found


def memory_kib(pid):
    """VmRSS, RssAnon and VmSize of the process, in KiB."""
    fields = _status_fields(f"/proc/{pid}/status")

    def kib(key):
        value = fields.get(key, "")
        return int(value.split()[0]) if value else None

    return {"VmRSS": kib("VmRSS"), "RssAnon": kib("RssAnon"), "VmSize": kib("VmSize")}


def woken_most(before, after):
    """The thread whose switches rose most between two samples, and by how much."""
    best, rise = None, -1
    for tid, now in after.items():
        then = before.get(tid)
        if then is None:
            continue
        if now.switches - then.switches > rise:
            best, rise = tid, now.switches - then.switches
    return best, rise


def ticks_to_ms(ticks):
    return ticks * 1000.0 / CLOCK_TICKS
