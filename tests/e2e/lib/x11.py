#!/usr/bin/python3
"""Small X11 queries and actions that the command-line tools lack, through libX11 via ctypes.

  x11.py owner SELECTION   print the selection owner's window id (0x0 when none)
  x11.py menu ICON BUTTON TIMEOUT
                           click BUTTON on ICON and print the id of the override-redirect
                           window that this maps, once it also holds the keyboard; exits 1
                           on timeout
  x11.py destroy WINDOW    destroy the window, as another program may

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
X.XInternAtom.restype = C.c_ulong
X.XInternAtom.argtypes = [C.c_void_p, C.c_char_p, C.c_int]
X.XGetSelectionOwner.restype = C.c_ulong
X.XGetSelectionOwner.argtypes = [C.c_void_p, C.c_ulong]
X.XDefaultRootWindow.restype = C.c_ulong
X.XDefaultRootWindow.argtypes = [C.c_void_p]
X.XConnectionNumber.argtypes = [C.c_void_p]
X.XPending.argtypes = [C.c_void_p]
X.XSelectInput.argtypes = [C.c_void_p, C.c_ulong, C.c_long]
X.XNextEvent.argtypes = [C.c_void_p, C.c_void_p]
X.XFlush.argtypes = [C.c_void_p]
X.XSync.argtypes = [C.c_void_p, C.c_int]
X.XGetInputFocus.argtypes = [C.c_void_p, C.POINTER(C.c_ulong), C.POINTER(C.c_int)]
X.XSetErrorHandler.argtypes = [C.c_void_p]
X.XDestroyWindow.argtypes = [C.c_void_p, C.c_ulong]

SUBSTRUCTURE_NOTIFY, SUBSTRUCTURE_REDIRECT, STRUCTURE_NOTIFY = 1 << 19, 1 << 20, 1 << 17
FOCUS_CHANGE = 1 << 21
FOCUS_OUT, CREATE_NOTIFY, MAP_NOTIFY, REPARENT_NOTIFY = 10, 16, 19, 21
NOTIFY_GRAB = 1


class AnyEvent(C.Structure):
    # The leading fields shared by Create/Map/ReparentNotify: type, serial, send_event,
    # display, then the event window and the window the event is about.
    _fields_ = [("type", C.c_int), ("serial", C.c_ulong), ("send_event", C.c_int),
                ("display", C.c_void_p), ("event", C.c_ulong), ("window", C.c_ulong)]


class FocusEvent(C.Structure):
    _fields_ = [("type", C.c_int), ("serial", C.c_ulong), ("send_event", C.c_int),
                ("display", C.c_void_p), ("window", C.c_ulong), ("mode", C.c_int),
                ("detail", C.c_int)]


class Event(C.Union):
    _fields_ = [("type", C.c_int), ("any", AnyEvent),
                ("focus", FocusEvent),
                ("pad", C.c_long * 24)]


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


X.XGetWindowAttributes.argtypes = [C.c_void_p, C.c_ulong, C.POINTER(Attributes)]

# Windows may vanish between an event and our request about them; ignore those errors.
ERROR_HANDLER = C.CFUNCTYPE(C.c_int, C.c_void_p, C.c_void_p)(lambda d, e: 0)


def open_display(ignore_errors=False):
    d = X.XOpenDisplay(None)
    if not d:
        sys.exit("x11.py: cannot open display")
    if ignore_errors:
        X.XSetErrorHandler(ERROR_HANDLER)
    return d


def atom(d, name):
    return X.XInternAtom(d, name.encode(), 0)


def owner(sel):
    d = open_display()
    print(hex(X.XGetSelectionOwner(d, atom(d, sel))))


# --- the notification-area icon and its menu -------------------------------------------

def attributes(d, w):
    a = Attributes()
    return a if X.XGetWindowAttributes(d, w, C.byref(a)) else None


def menu(win, button, timeout):
    d = open_display(ignore_errors=True)
    root = X.XDefaultRootWindow(d)
    focus, revert = C.c_ulong(), C.c_int()
    X.XGetInputFocus(d, C.byref(focus), C.byref(revert))
    X.XSelectInput(d, root, SUBSTRUCTURE_NOTIFY | FOCUS_CHANGE)
    if focus.value > 1:  # neither None nor PointerRoot
        X.XSelectInput(d, focus.value, FOCUS_CHANGE)
    X.XSync(d, 0)
    a = attributes(d, int(win, 0))
    if a is None:
        sys.exit(f"x11.py: no window {win}")
    subprocess.run(["xdotool", "mousemove", "--window", win, str(a.width // 2),
                    str(a.height // 2), "click", button], check=True)
    deadline = time.monotonic() + timeout
    mapped, grabbed, ev = None, False, Event()
    while True:
        while X.XPending(d):
            X.XNextEvent(d, C.byref(ev))
            if ev.type == MAP_NOTIFY and ev.any.event == root:
                wa = attributes(d, ev.any.window)
                if wa is not None and wa.override_redirect and not (mapped and grabbed):
                    mapped = ev.any.window
            elif ev.type == FOCUS_OUT:
                grabbed = grabbed or ev.focus.mode == NOTIFY_GRAB
        if mapped is not None and grabbed:
            break
        left = deadline - time.monotonic()
        if left <= 0 or not select.select([X.XConnectionNumber(d)], [], [], left)[0]:
            sys.exit(f"x11.py: within {timeout} s of the click, popup mapped: {mapped is not None}"
                     f", keyboard grabbed: {grabbed}")
    print(hex(mapped))


def destroy(win):
    d = open_display()
    X.XDestroyWindow(d, int(win, 0))
    X.XSync(d, 0)


# command: (argument count, function, converters of the arguments)
COMMANDS = {
    "owner": (1, owner, (str,)),
    "menu": (3, menu, (str, str, float)),
    "destroy": (1, destroy, (str,)),
}

def main(commands, args, usage):
    if not args or args[0] not in commands or len(args) - 1 != commands[args[0]][0]:
        sys.exit(usage)
    _, run, types = commands[args[0]]
    run(*(t(a) for t, a in zip(types, args[1:])))


if __name__ == "__main__":
    main(COMMANDS, sys.argv[1:], __doc__)
