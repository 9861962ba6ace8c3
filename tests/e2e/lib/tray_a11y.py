#!/usr/bin/python3
"""Wait for widgets of the program over AT-SPI.

  tray_a11y.py button PID NAME TIMEOUT  wait until the push button NAME is showing
  tray_a11y.py focused PID NAME TIMEOUT wait until the push button NAME has the focus
                                      (buttons take it when clicked)
  tray_a11y.py alert PID TITLE TIMEOUT  wait for a message box (alert or dialog) titled
                                      TITLE; print the text of its labels

Each exits 1 with a message on timeout.
"""
import sys
import time

import pyatspi

from a11y import app_of, text_of, walk

BUTTON, ALERT = (pyatspi.ROLE_PUSH_BUTTON,), (pyatspi.ROLE_ALERT, pyatspi.ROLE_DIALOG)
KINDS = {"button": (BUTTON, pyatspi.STATE_SHOWING), "focused": (BUTTON, pyatspi.STATE_FOCUSED),
         "alert": (ALERT, pyatspi.STATE_SHOWING)}


def find(pid, roles, name, state):
    app = app_of(pid)
    for node, _ in walk(app) if app is not None else ():
        if node.getRole() in roles and node.name == name and node.getState().contains(state):
            return node
    return None


def wait(kind, pid, name, timeout):
    deadline = time.monotonic() + timeout
    roles, state = KINDS[kind]
    while (node := find(pid, roles, name, state)) is None:
        if time.monotonic() > deadline:
            sys.exit(f"tray_a11y.py: no {kind} {name!r} in pid {pid} within {timeout} s")
        time.sleep(0.1)
    if kind == "alert":
        for child, _ in walk(node):
            if child.getRole() == pyatspi.ROLE_LABEL:
                print(text_of(child))


if __name__ == "__main__":
    if len(sys.argv) == 5 and sys.argv[1] in KINDS:
        wait(sys.argv[1], int(sys.argv[2]), sys.argv[3], float(sys.argv[4]))
    else:
        sys.exit(__doc__)
