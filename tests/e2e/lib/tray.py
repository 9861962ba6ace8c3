#!/usr/bin/python3
"""The program's notification-area icon and its popup menu, through libX11 via ctypes.

  tray.py icon NAME HOST            print the id of the viewable window of WM_CLASS
                                    instance NAME that is embedded in a window whose
                                    WM_CLASS names HOST (the tray host); nothing when none
  tray.py shown NAME                print the ids of all viewable windows of WM_CLASS
                                    instance NAME, one a line
  tray.py menu ICON BUTTON TIMEOUT  click BUTTON on ICON and print the id of the
                                    override-redirect window that this maps, once it
                                    also holds the keyboard; exits 1 on timeout

A Qt popup grabs the keyboard only after it is mapped: keys sent in between are lost.
The grab shows as a FocusOut of mode NotifyGrab on the window that had the focus.
"""
import ctypes as C
import select
import subprocess
import sys
import time

X = C.cdll.LoadLibrary("libX11.so.6")
X.XOpenDisplay.restype = C.c_void_p
X.XOpenDisplay.argtypes = [C.c_char_p]
X.XDefaultRootWindow.restype = C.c_ulong
X.XDefaultRootWindow.argtypes = [C.c_void_p]
X.XConnectionNumber.argtypes = [C.c_void_p]
X.XPending.argtypes = [C.c_void_p]
X.XSelectInput.argtypes = [C.c_void_p, C.c_ulong, C.c_long]
X.XNextEvent.argtypes = [C.c_void_p, C.c_void_p]
X.XSync.argtypes = [C.c_void_p, C.c_int]
X.XGetInputFocus.argtypes = [C.c_void_p, C.POINTER(C.c_ulong), C.POINTER(C.c_int)]
X.XQueryTree.argtypes = [C.c_void_p, C.c_ulong, C.POINTER(C.c_ulong), C.POINTER(C.c_ulong),
                         C.POINTER(C.POINTER(C.c_ulong)), C.POINTER(C.c_uint)]
X.XFree.argtypes = [C.c_void_p]
X.XSetErrorHandler.argtypes = [C.c_void_p]

FOCUS_CHANGE, SUBSTRUCTURE_NOTIFY = 1 << 21, 1 << 19
FOCUS_OUT, MAP_NOTIFY = 10, 19
NOTIFY_GRAB = 1
IS_VIEWABLE = 2


class ClassHint(C.Structure):
    _fields_ = [("name", C.c_void_p), ("klass", C.c_void_p)]


class Attributes(C.Structure):
    _fields_ = [("x", C.c_int), ("y", C.c_int), ("width", C.c_int), ("height", C.c_int),
                ("border_width", C.c_int), ("depth", C.c_int), ("visual", C.c_void_p),
                ("root", C.c_ulong), ("c_class", C.c_int), ("bit_gravity", C.c_int),
                ("win_gravity", C.c_int), ("backing_store", C.c_int),
                ("backing_planes", C.c_ulong), ("backing_pixel", C.c_ulong),
                ("save_under", C.c_int), ("colormap", C.c_ulong),
                ("map_installed", C.c_int), ("map_state", C.c_int),
                ("all_event_masks", C.c_long), ("your_event_mask", C.c_long),
                ("do_not_propagate_mask", C.c_long), ("override_redirect", C.c_int),
                ("screen", C.c_void_p)]


class MapEvent(C.Structure):
    _fields_ = [("type", C.c_int), ("serial", C.c_ulong), ("send_event", C.c_int),
                ("display", C.c_void_p), ("event", C.c_ulong), ("window", C.c_ulong)]


class FocusEvent(C.Structure):
    _fields_ = [("type", C.c_int), ("serial", C.c_ulong), ("send_event", C.c_int),
                ("display", C.c_void_p), ("window", C.c_ulong), ("mode", C.c_int),
                ("detail", C.c_int)]


class Event(C.Union):
    _fields_ = [("type", C.c_int), ("map", MapEvent), ("focus", FocusEvent),
                ("pad", C.c_long * 24)]


X.XGetClassHint.argtypes = [C.c_void_p, C.c_ulong, C.POINTER(ClassHint)]
X.XGetWindowAttributes.argtypes = [C.c_void_p, C.c_ulong, C.POINTER(Attributes)]

# Windows may vanish while they are looked at; ignore those errors.
ERROR_HANDLER = C.CFUNCTYPE(C.c_int, C.c_void_p, C.c_void_p)(lambda d, e: 0)


def open_display():
    d = X.XOpenDisplay(None)
    if not d:
        sys.exit("tray.py: cannot open display")
    X.XSetErrorHandler(ERROR_HANDLER)
    return d


def wm_class(d, w):
    """(instance, class) of w's WM_CLASS."""
    hint = ClassHint()
    if not X.XGetClassHint(d, w, C.byref(hint)):
        return "", ""
    names = []
    for p in (hint.name, hint.klass):
        names.append(C.string_at(p).decode("utf-8", "replace") if p else "")
        if p:
            X.XFree(p)
    return tuple(names)


def attributes(d, w):
    a = Attributes()
    return a if X.XGetWindowAttributes(d, w, C.byref(a)) else None


def tree(d, w):
    """(parent, [children]) of w."""
    root, parent, kids, n = C.c_ulong(), C.c_ulong(), C.POINTER(C.c_ulong)(), C.c_uint()
    if not X.XQueryTree(d, w, C.byref(root), C.byref(parent), C.byref(kids), C.byref(n)):
        return 0, []
    children = [kids[i] for i in range(n.value)]
    if kids:
        X.XFree(kids)
    return parent.value, children


def viewable(d, name):
    """Viewable windows of WM_CLASS instance name."""
    found, todo = [], [X.XDefaultRootWindow(d)]
    while todo:
        w = todo.pop(0)
        todo += tree(d, w)[1]
        a = attributes(d, w)
        if a is not None and a.map_state == IS_VIEWABLE and wm_class(d, w)[0] == name:
            found.append(w)
    return found


def icon(name, host):
    d = open_display()
    for w in viewable(d, name):
        p = tree(d, w)[0]
        while p and host not in wm_class(d, p):
            p = tree(d, p)[0]
        if p:
            print(hex(w))


def shown(name):
    d = open_display()
    for w in viewable(d, name):
        print(hex(w))


def menu(win, button, timeout):
    d = open_display()
    root = X.XDefaultRootWindow(d)
    focus, revert = C.c_ulong(), C.c_int()
    X.XGetInputFocus(d, C.byref(focus), C.byref(revert))
    X.XSelectInput(d, root, SUBSTRUCTURE_NOTIFY | FOCUS_CHANGE)
    if focus.value > 1:  # neither None nor PointerRoot
        X.XSelectInput(d, focus.value, FOCUS_CHANGE)
    X.XSync(d, 0)
    a = attributes(d, int(win, 0))
    if a is None:
        sys.exit(f"tray.py: no window {win}")
    subprocess.run(["xdotool", "mousemove", "--window", win, str(a.width // 2),
                    str(a.height // 2), "click", button], check=True)
    deadline = time.monotonic() + timeout
    mapped, grabbed, ev, seen = None, False, Event(), []
    while True:
        while X.XPending(d):
            X.XNextEvent(d, C.byref(ev))
            if ev.type == MAP_NOTIFY and ev.map.event == root:
                seen.append(f"map {hex(ev.map.window)}")
                wa = attributes(d, ev.map.window)
                if wa is not None and wa.override_redirect and not (mapped and grabbed):
                    mapped = ev.map.window
            elif ev.type == FOCUS_OUT:
                seen.append(f"focus-out {hex(ev.focus.window)} mode {ev.focus.mode}")
                grabbed = grabbed or ev.focus.mode == NOTIFY_GRAB
        if mapped is not None and grabbed:
            break
        left = deadline - time.monotonic()
        if left <= 0 or not select.select([X.XConnectionNumber(d)], [], [], left)[0]:
            sys.exit(f"tray.py: within {timeout} s of the click "
                     f"{'a popup was mapped' if mapped else 'no popup was mapped'} and "
                     f"{'the keyboard grabbed' if grabbed else 'the keyboard not grabbed'}"
                     f" (focus was {hex(focus.value)}; events {' '.join(seen)})")
    print(hex(mapped))


if __name__ == "__main__":
    args = sys.argv[1:]
    if len(args) == 3 and args[0] == "icon":
        icon(args[1], args[2])
    elif len(args) == 2 and args[0] == "shown":
        shown(args[1])
    elif len(args) == 4 and args[0] == "menu":
        menu(args[1], args[2], float(args[3]))
    else:
        sys.exit(__doc__)
