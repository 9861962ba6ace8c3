#!/usr/bin/python3
"""Read the clock's seconds display over AT-SPI.

  a11y.py seconds PID TIMEOUT [TREE_FILE]

Waits up to TIMEOUT seconds for the application with process id PID to show, inside a
group box named "Time", three labels of two digits each. Prints the text of the rightmost
one and the system clock's seconds at the moment it was read, e.g. "41 41". With
TREE_FILE, the application's accessible tree is written there (for a failed run).
Exits 1 with a message when the labels never appear.
"""
import re
import sys
import time

import pyatspi


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


def digit_labels(app):
    for node, _ in walk(app):
        if node.name == "Time" and node.getRole() != pyatspi.ROLE_LABEL:
            found = []
            for child, _ in walk(node):
                if child.getRole() == pyatspi.ROLE_LABEL and re.fullmatch(r"\d\d", text_of(child)):
                    found.append(child)
            return found
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
        sys.exit(f"a11y.py: no group box 'Time' with three two-digit labels in pid {pid} "
                 f"within {timeout} s (app {'found' if app else 'not found'}, "
                 f"{len(labels)} labels)")
    right = max(labels, key=lambda n: n.queryComponent().getExtents(pyatspi.DESKTOP_COORDS).x)
    text = text_of(right)
    print(text, time.strftime("%S"), flush=True)


if __name__ == "__main__":
    if len(sys.argv) in (4, 5) and sys.argv[1] == "seconds":
        seconds(int(sys.argv[2]), float(sys.argv[3]), sys.argv[4] if len(sys.argv) == 5 else None)
    else:
        sys.exit(__doc__)
