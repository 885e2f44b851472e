#!/usr/bin/env python3
"""Watches a program's reaction to a key until its window has settled, for the user-level benchmarks.

    watch_settled.py PID LOG QUIET_MS [FILE]

PID is the program (its GUI thread is the thread of that id), LOG its terminal as the benchmarks
keep it (every line stamped with the wall clock as it arrived, xvfb_bench_lib.sh), with the render
loop's timing lines (qt.scenegraph.time.renderloop) in it. The watcher prints "ready" once it has
taken its first look; the caller then presses the key. From then on it samples every 2 ms:
- a frame: a render loop line that arrived in the log;
- GUI-thread work: the thread found running or waiting for the disk (state R or D), or its CPU
  time grown since the last sample, in two samples in a row (an idle program's timers wake the
  thread for well under 2 ms, now and then);
- with FILE, the moment that path names another file (a rename over it) or its times change.
The window has settled once QUIET_MS have passed after the last frame or GUI-thread work without
another, and, with FILE, after FILE was replaced. It then prints one line

    <replaced> <settled>

wall-clock times in seconds: when FILE was replaced (0 without FILE), and the last frame or
GUI-thread work before the quiet, the moment the user's wait ended. Gives up after 60 s
(exit status 1).
"""
import os
import sys
import time

LIMIT_S = 60
SAMPLE_S = 0.002


def thread_sample(pid):
    """(state, CPU ticks) of the thread pid of process pid; None once it has gone."""
    try:
        with open("/proc/%d/task/%d/stat" % (pid, pid)) as stat:
            fields = stat.read().rsplit(")", 1)[1].split()
    except OSError:
        return None
    # after the name: state, ppid, ... utime (14th field of the line), stime (15th)
    return fields[0], int(fields[11]) + int(fields[12])


def identity(path):
    try:
        st = os.stat(path)
    except FileNotFoundError:
        return None
    return st.st_ino, st.st_mtime_ns, st.st_ctime_ns, st.st_size


def main():
    pid, log_path, quiet = int(sys.argv[1]), sys.argv[2], float(sys.argv[3]) / 1000
    path = sys.argv[4] if len(sys.argv) > 4 else None
    log = open(log_path, "rb")
    log.seek(0, os.SEEK_END)
    before = identity(path) if path else None
    if path and before is None:
        sys.exit("FAIL: no file %s" % path)
    sample = thread_sample(pid)
    if sample is None:
        sys.exit("FAIL: no program %d" % pid)
    print("ready", flush=True)
    start = time.time()
    replaced = None if path else 0.0
    last = start
    was_busy = False
    rest = b""
    while time.time() < start + LIMIT_S:
        time.sleep(SAMPLE_S)
        now = time.time()
        current = thread_sample(pid)
        if current is None:
            sys.exit("FAIL: the program ended")
        busy = current[0] in "RD" or current[1] != sample[1]
        if busy and was_busy:
            last = now
        was_busy, sample = busy, current
        lines = (rest + log.read()).split(b"\n")
        rest = lines.pop()
        for line in lines:
            if b"qt.scenegraph.time.renderloop" in line:
                last = max(last, float(line.split(b" ", 1)[0]))
        if replaced is None and identity(path) != before:
            replaced = now
        if replaced is not None and now - max(last, replaced) >= quiet:
            print("%.6f %.6f" % (replaced, max(last, replaced)), flush=True)
            return 0
    sys.exit("FAIL: %s within %d s" % ("the window did not settle" if replaced is not None
                                        else "%s was not replaced" % path, LIMIT_S))


if __name__ == "__main__":
    sys.exit(main())
