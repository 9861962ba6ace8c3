#!/usr/bin/python3
"""Watch the clock's seconds display over AT-SPI, as a screen reader would read it.

  seconds_watch.py watch PID LOG PERIOD_S   finds the label named "Sekunden" of the
                               application with process id PID (within 20 s), prints "ready",
                               then reads its text every PERIOD_S seconds (0: as fast as the
                               answers come) until killed or the application is gone. One line
                               per read in LOG: "SENT ANSWERED TEXT", wall times in seconds
  seconds_watch.py standstill LOG [FROM [TO]]
                               the longest time between two changes of the display seen in
                               LOG, among the stretches that ended within FROM..TO (wall
                               times; with TO, the stretch still going on counts up to TO):
                               "LONGEST_S SINCE UNTIL TEXT_BEFORE TEXT_AFTER STRETCHES FIRST",
                               FIRST the wall time of the first change in LOG: a stretch
                               going on at FROM is measured whole only when FIRST is before
                               FROM
  seconds_watch.py longest-read LOG FROM TO
                               the read that took longest among those answered after FROM
                               and sent before TO: "MS SENT ANSWERED"
  seconds_watch.py busy LOG AT [SLOW_MS]
                               how the UI thread answered after wall time AT, in back-to-back
                               reads: "LONGEST_MS SETTLED_MS", the longest read pending at or
                               after AT, and when (ms after AT) the last of the reads slower
                               than SLOW_MS (default 1) that follow one another within 5 ms
                               was answered: from then on the thread answered at once

The program answers AT-SPI on its UI thread, so a read sent while that thread is blocked
comes back only when it runs again: a change is seen no later than a period after the thread
showed it, and a read's duration is how long the thread did not answer.
The program must run with QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1.
"""
import signal
import sys
import time

NAME = "Sekunden"


def find_label(pid, timeout):
    import pyatspi
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        for app in pyatspi.Registry.getDesktop(0):
            if app is None or app.get_process_id() != pid:
                continue
            stack = [app]
            while stack:
                node = stack.pop()
                if node.getRole() == pyatspi.ROLE_LABEL and node.name == NAME:
                    return node.queryText()
                stack.extend(c for c in (node.getChildAtIndex(i) for i in range(node.childCount))
                             if c is not None)
        time.sleep(0.1)
    sys.exit(f"seconds_watch.py: no label named {NAME!r} in pid {pid} within {timeout} s")


def watch(pid, log, period):
    import pyatspi
    # Answers may be held up for seconds by a blocked UI thread: wait for them, as the
    # point is to see how long that takes.
    pyatspi.setTimeout(120000, 120000)
    text = find_label(pid, 20)
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
    with open(log, "w") as out:
        print("ready", flush=True)
        while True:
            sent = time.time()
            try:
                value = text.getText(0, -1)
            except Exception:  # the application is gone
                return
            answered = time.time()
            out.write(f"{sent:.6f} {answered:.6f} {value}\n")
            out.flush()
            if period:
                time.sleep(max(0.0, sent + period - time.time()))


def reads(log):
    with open(log) as f:
        for line in f:
            parts = line.split()
            if len(parts) == 3:
                yield float(parts[0]), float(parts[1]), parts[2]


def standstill(log, lo=float("-inf"), hi=float("inf")):
    changes, last = [], None
    for _, answered, value in reads(log):
        if value != last:
            changes.append((answered, value))
            last = value
    # The first read only starts the record: it is no change. A stretch counts when it ends
    # within FROM..TO, so one that began before FROM is measured whole; one still going on at
    # TO counts up to TO (a blocked UI thread holds the reads up too).
    stretches = [(a[0], b[0], a[1], b[1]) for a, b in zip(changes[1:], changes[2:])
                 if lo <= b[0] <= hi]
    if len(changes) > 1 and hi != float("inf"):
        stretches.append((changes[-1][0], hi, changes[-1][1], "..."))
    best = (0.0, 0, 0, "-", "-")
    for t1, t2, v1, v2 in stretches:
        if t2 - t1 > best[0]:
            best = (t2 - t1, t1, t2, v1, v2)
    first = changes[1][0] if len(changes) > 1 else 0.0
    print(f"{best[0]:.3f} {best[1]:.3f} {best[2]:.3f} {best[3]} {best[4]} {len(stretches)} "
          f"{first:.3f}")


def longest_read(log, lo, hi):
    best = (0.0, 0, 0)
    for sent, answered, _ in reads(log):
        if answered >= lo and sent <= hi and answered - sent > best[0]:
            best = (answered - sent, sent, answered)
    print(f"{best[0] * 1000:.1f} {best[1]:.6f} {best[2]:.6f}")


def busy(log, at, slow_ms=1.0):
    longest, settled, last = 0.0, 0.0, at
    for sent, answered, _ in reads(log):
        if answered < at:
            continue
        if sent - last > 0.005:
            break
        ms = (answered - sent) * 1000
        longest = max(longest, ms)
        if ms > slow_ms or answered - at < 0.001:
            settled, last = (answered - at) * 1000, answered
    print(f"{longest:.1f} {settled:.1f}")


if __name__ == "__main__":
    a = sys.argv[1:]
    if len(a) == 4 and a[0] == "watch":
        watch(int(a[1]), a[2], float(a[3]))
    elif 2 <= len(a) <= 4 and a[0] == "standstill":
        standstill(a[1], *map(float, a[2:]))
    elif len(a) in (3, 4) and a[0] == "busy":
        busy(a[1], *map(float, a[2:]))
    elif len(a) == 4 and a[0] == "longest-read":
        longest_read(a[1], float(a[2]), float(a[3]))
    else:
        sys.exit(__doc__)
