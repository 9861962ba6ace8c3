#!/usr/bin/python3
"""The program's widgets as a screen reader sees them, over AT-SPI, and logs of its reads.

The program must run with QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1. Every waiting command exits 1
with a message on timeout.

  atspi.py seconds PID TIMEOUT [TREE_FILE]
        waits for three labels of two digits inside the group box named "Time"; prints the
        text of the rightmost one and the system clock's seconds when it was read, e.g.
        "41 41". With TREE_FILE, the accessible tree is written there (for a failed run)
  atspi.py wait PID TIMEOUT ROLE NAME
        waits until a widget of ROLE (as AT-SPI names roles, e.g. "radio button") named
        NAME is showing
  atspi.py button PID NAME TIMEOUT   waits until the push button NAME is showing
  atspi.py focused PID NAME TIMEOUT  waits until the push button NAME has the focus
                                     (buttons take it when clicked)
  atspi.py alert PID TITLE TIMEOUT   waits for a message box (alert or dialog) titled TITLE;
                                     prints the text of its labels
  atspi.py list PID
        one line per widget, tab-separated: role, name, text and its states among checked,
        enabled, focused, showing (comma-separated)
  atspi.py press PID ROLE NAME
        runs the action "Press" of the showing widget of ROLE named NAME
  atspi.py watch PID LOG PERIOD_S
        finds the label named "Sekunden" (within 20 s), prints "ready", then reads its text
        every PERIOD_S seconds (0: as fast as the answers come) until killed or the
        application is gone. One line per read in LOG: "SENT ANSWERED TEXT", wall times

Reading a log of "watch" (or of display_watch.py, which writes the same form):
  atspi.py standstill LOG [FROM [TO]]
        the longest time between two changes of the display seen in LOG, among the stretches
        that ended within FROM..TO (wall times; with TO, the stretch still going on counts up
        to TO): "LONGEST_S SINCE UNTIL TEXT_BEFORE TEXT_AFTER STRETCHES FIRST", FIRST the wall
        time of the first change in LOG: a stretch going on at FROM is measured whole only
        when FIRST is before FROM
  atspi.py longest-read LOG FROM TO
        the read that took longest among those answered after FROM and sent before TO:
        "MS SENT ANSWERED"
  atspi.py busy LOG AT [SLOW_MS]
        how the UI thread answered after wall time AT, in back-to-back reads:
        "LONGEST_MS SETTLED_MS", the longest read pending at or after AT, and when (ms after
        AT) the last of the reads slower than SLOW_MS (default 1) that follow one another
        within 5 ms was answered: from then on the thread answered at once

The program answers AT-SPI on its UI thread, so a read sent while that thread is blocked
comes back only when it runs again: a change is seen no later than a period after the thread
showed it, and a read's duration is how long the thread did not answer.
"""
import re
import signal
import sys
import time

# Imported only by the commands that talk to the accessibility bus (see the end).
pyatspi = None

SECONDS_NAME = "Sekunden"


def walk(node, depth=0):
    yield node, depth
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from walk(child, depth + 1)


def text_of(node):
    try:
        t = node.queryText()
        return t.getText(0, t.characterCount)
    except NotImplementedError:
        return node.name or ""


def app_of(pid):
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.get_process_id() == pid:
            return app
    return None


def find(pid, match):
    """The first node of application PID for which match(node) holds, or None."""
    app = app_of(pid)
    for node, _ in walk(app) if app is not None else ():
        if match(node):
            return node
    return None


def wait_for(pid, timeout, match, what):
    # The application registers before its widgets are all there: look again.
    deadline = time.monotonic() + timeout
    while (node := find(pid, match)) is None:
        if time.monotonic() > deadline:
            sys.exit(f"atspi.py: no {what} in pid {pid} within {timeout} s")
        time.sleep(0.1)
    return node


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


# --- the seconds display -----------------------------------------------------------------

def digit_labels(app):
    for node, _ in walk(app):
        if node.name == "Time" and node.getRole() != pyatspi.ROLE_LABEL:
            return [child for child, _ in walk(node) if child.getRole() == pyatspi.ROLE_LABEL
                    and re.fullmatch(r"\d\d", text_of(child))]
    return []


def extents(node):
    try:
        e = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        return f"at {e.x},{e.y} {e.width}x{e.height}"
    except NotImplementedError:
        return "(no extents)"


def dump(app, path):
    with open(path, "w") as f:
        for node, depth in walk(app):
            f.write(f"{'  ' * depth}{node.getRoleName()} name={node.name!r} "
                    f"text={text_of(node)!r} {extents(node)}\n")


def seconds(pid, timeout, tree_file=None):
    deadline = time.monotonic() + timeout
    app, labels = None, []
    while time.monotonic() < deadline:
        app = app_of(pid)
        labels = digit_labels(app) if app is not None else []
        if len(labels) == 3:
            break
        time.sleep(0.1)
    if app is not None and tree_file:
        dump(app, tree_file)
    if len(labels) != 3:
        sys.exit(f"atspi.py: no group box 'Time' with three two-digit labels in pid {pid} "
                 f"within {timeout} s (app {'found' if app else 'not found'}, "
                 f"{len(labels)} labels)")
    right = max(labels, key=lambda n: n.queryComponent().getExtents(pyatspi.DESKTOP_COORDS).x)
    text = text_of(right)
    print(text, time.strftime("%S"), flush=True)


# --- widgets -----------------------------------------------------------------------------

def wait_role(pid, timeout, role, name):
    wait_for(pid, timeout, lambda n: n.getRoleName() == role and n.name == name and showing(n),
             f"{role} {name!r} showing")


def wait_kind(kind, pid, name, timeout):
    button, alert = (pyatspi.ROLE_PUSH_BUTTON,), (pyatspi.ROLE_ALERT, pyatspi.ROLE_DIALOG)
    roles, state = {"button": (button, pyatspi.STATE_SHOWING),
                    "focused": (button, pyatspi.STATE_FOCUSED),
                    "alert": (alert, pyatspi.STATE_SHOWING)}[kind]
    node = wait_for(pid, timeout, lambda n: n.getRole() in roles and n.name == name
                    and n.getState().contains(state), f"{kind} {name!r}")
    if kind == "alert":
        for child, _ in walk(node):
            if child.getRole() == pyatspi.ROLE_LABEL:
                print(text_of(child))


def list_widgets(pid):
    app = app_of(pid)
    if app is None:
        sys.exit(f"atspi.py: no application with pid {pid}")
    states = {"checked": pyatspi.STATE_CHECKED, "enabled": pyatspi.STATE_ENABLED,
              "focused": pyatspi.STATE_FOCUSED, "showing": pyatspi.STATE_SHOWING}
    for n, _ in walk(app):
        s = n.getState()
        print(n.getRoleName(), n.name, text_of(n).replace("\n", " "),
              ",".join(k for k, v in states.items() if s.contains(v)), sep="\t")


def press(pid, role, name):
    node = find(pid, lambda n: n.getRoleName() == role and n.name == name and showing(n))
    if node is None:
        sys.exit(f"atspi.py: no {role} {name!r} showing in pid {pid}")
    action = node.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    if "Press" not in names:
        sys.exit(f"atspi.py: {role} {name!r} has no action 'Press' (has {names})")
    if not action.doAction(names.index("Press")):
        sys.exit(f"atspi.py: action 'Press' of {role} {name!r} failed")


# --- watching the seconds display --------------------------------------------------------

def watch(pid, log, period):
    # Answers may be held up for seconds by a blocked UI thread: wait for them, as the
    # point is to see how long that takes.
    pyatspi.setTimeout(120000, 120000)
    text = wait_for(pid, 20, lambda n: n.getRole() == pyatspi.ROLE_LABEL
                    and n.name == SECONDS_NAME, f"label named {SECONDS_NAME!r}").queryText()
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


# command: (argument counts, function, converters of the arguments)
COMMANDS = {
    "seconds": ((3, 4), seconds, (int, float, str)),
    "wait": ((5,), wait_role, (int, float, str, str)),
    "button": ((4,), lambda *a: wait_kind("button", *a), (int, str, float)),
    "focused": ((4,), lambda *a: wait_kind("focused", *a), (int, str, float)),
    "alert": ((4,), lambda *a: wait_kind("alert", *a), (int, str, float)),
    "list": ((2,), list_widgets, (int,)),
    "press": ((4,), press, (int, str, str)),
    "watch": ((4,), watch, (int, str, float)),
    "standstill": ((2, 3, 4), standstill, (str, float, float)),
    "longest-read": ((4,), longest_read, (str, float, float)),
    "busy": ((3, 4), busy, (str, float, float)),
}
LOG_COMMANDS = ("standstill", "longest-read", "busy")

if __name__ == "__main__":
    args = sys.argv[1:]
    if not args or args[0] not in COMMANDS or len(args) not in COMMANDS[args[0]][0]:
        sys.exit(__doc__)
    counts, run, types = COMMANDS[args[0]]
    if args[0] not in LOG_COMMANDS:
        import pyatspi  # noqa: F811 (the module-wide name)
    run(*(t(a) for t, a in zip(types, args[1:])))
