#!/usr/bin/python3
"""The states of the program's widgets as screen readers see them, over AT-SPI.

  widget_states.py wait PID TIMEOUT ROLE NAME   waits up to TIMEOUT seconds until the
                                  application with process id PID shows a widget of ROLE
                                  (as AT-SPI names roles, e.g. "radio button") named NAME;
                                  exits 1 with a message when it never does
  widget_states.py list PID       one line per widget, tab-separated: role, name, text and
                                  its states among checked, enabled, focused, showing
                                  (comma-separated)

The program must run with QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1.
"""
import sys
import time

import pyatspi

STATES = {"checked": pyatspi.STATE_CHECKED, "enabled": pyatspi.STATE_ENABLED,
          "focused": pyatspi.STATE_FOCUSED, "showing": pyatspi.STATE_SHOWING}


def walk(node):
    yield node
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from walk(child)


def app_of(pid):
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.get_process_id() == pid:
            return app
    return None


def text_of(node):
    try:
        t = node.queryText()
        return t.getText(0, t.characterCount)
    except NotImplementedError:
        return node.name or ""


def states_of(node):
    s = node.getState()
    return ",".join(k for k, v in STATES.items() if s.contains(v))


def wait(pid, timeout, role, name):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        app = app_of(pid)
        # The application registers before its widgets are all there: look again.
        if app is not None and any(n.getRoleName() == role and n.name == name
                                   and n.getState().contains(pyatspi.STATE_SHOWING)
                                   for n in walk(app)):
            return
        time.sleep(0.1)
    sys.exit(f"widget_states.py: no {role} {name!r} showing in pid {pid} within {timeout} s")


def list_widgets(pid):
    app = app_of(pid)
    if app is None:
        sys.exit(f"widget_states.py: no application with pid {pid}")
    for n in walk(app):
        print(n.getRoleName(), n.name, text_of(n).replace("\n", " "), states_of(n), sep="\t")


if __name__ == "__main__":
    args = sys.argv[1:]
    if len(args) == 5 and args[0] == "wait":
        wait(int(args[1]), float(args[2]), args[3], args[4])
    elif len(args) == 2 and args[0] == "list":
        list_widgets(int(args[1]))
    else:
        sys.exit(__doc__)
