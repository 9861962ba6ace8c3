#!/usr/bin/python3
"""Small X11 queries and actions that the command-line tools lack, through libX11 via ctypes.

  x11.py owner SELECTION   print the selection owner's window id (0x0 when none)
  x11.py close WINDOW      ask the window manager to close WINDOW (_NET_CLOSE_WINDOW),
                           as a click on the title bar's close button does
  x11.py watch-maps        print one line "0xID name" for every top-level window that
                           gets mapped or managed from now on, until killed; prints
                           "ready" once it listens, and "sync" whenever the root
                           window's property _E2E_SYNC changes: every event before
                           that change has then been printed
  x11.py icon NAME HOST    print the id of the viewable window of WM_CLASS instance NAME
                           that is embedded in a window whose WM_CLASS names HOST (the
                           tray host); nothing when none
  x11.py shown NAME        print the ids of all viewable windows of WM_CLASS instance
                           NAME, one a line
  x11.py menu ICON BUTTON TIMEOUT
                           click BUTTON on ICON and print the id of the override-redirect
                           window that this maps, once it also holds the keyboard; exits 1
                           on timeout
  x11.py click X Y         move the pointer to root position X,Y, press and release
                           button 1 through XTEST, and print the wall time (seconds since
                           the epoch) just before the release was sent and just after the
                           server had it, e.g. "1796721710.123456 1796721710.123789"

A Qt popup grabs the keyboard only after it is mapped: keys sent in between are lost.
The grab shows as a FocusOut of mode NotifyGrab on the window that had the focus.

A push button acts on the release; xdotool's click sleeps 12 ms between press and release
and takes its own start-up time, so a wall time taken before calling it is early by that much.
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
X.XSendEvent.argtypes = [C.c_void_p, C.c_ulong, C.c_int, C.c_long, C.c_void_p]
X.XNextEvent.argtypes = [C.c_void_p, C.c_void_p]
X.XFlush.argtypes = [C.c_void_p]
X.XSync.argtypes = [C.c_void_p, C.c_int]
X.XFetchName.argtypes = [C.c_void_p, C.c_ulong, C.POINTER(C.c_char_p)]
X.XGetInputFocus.argtypes = [C.c_void_p, C.POINTER(C.c_ulong), C.POINTER(C.c_int)]
X.XQueryTree.argtypes = [C.c_void_p, C.c_ulong, C.POINTER(C.c_ulong), C.POINTER(C.c_ulong),
                         C.POINTER(C.POINTER(C.c_ulong)), C.POINTER(C.c_uint)]
X.XFree.argtypes = [C.c_void_p]
X.XSetErrorHandler.argtypes = [C.c_void_p]

SUBSTRUCTURE_NOTIFY, SUBSTRUCTURE_REDIRECT, STRUCTURE_NOTIFY = 1 << 19, 1 << 20, 1 << 17
FOCUS_CHANGE, PROPERTY_CHANGE = 1 << 21, 1 << 22
FOCUS_OUT, CREATE_NOTIFY, MAP_NOTIFY, REPARENT_NOTIFY = 10, 16, 19, 21
PROPERTY_NOTIFY, CLIENT_MESSAGE = 28, 33
NOTIFY_GRAB = 1
IS_VIEWABLE = 2


class ClientMessage(C.Structure):
    _fields_ = [("type", C.c_int), ("serial", C.c_ulong), ("send_event", C.c_int),
                ("display", C.c_void_p), ("window", C.c_ulong), ("message_type", C.c_ulong),
                ("format", C.c_int), ("data", C.c_long * 5)]


class AnyEvent(C.Structure):
    # The leading fields shared by Create/Map/ReparentNotify: type, serial, send_event,
    # display, then the event window and the window the event is about.
    _fields_ = [("type", C.c_int), ("serial", C.c_ulong), ("send_event", C.c_int),
                ("display", C.c_void_p), ("event", C.c_ulong), ("window", C.c_ulong)]


class PropertyEvent(C.Structure):
    _fields_ = [("type", C.c_int), ("serial", C.c_ulong), ("send_event", C.c_int),
                ("display", C.c_void_p), ("window", C.c_ulong), ("atom", C.c_ulong)]


class FocusEvent(C.Structure):
    _fields_ = [("type", C.c_int), ("serial", C.c_ulong), ("send_event", C.c_int),
                ("display", C.c_void_p), ("window", C.c_ulong), ("mode", C.c_int),
                ("detail", C.c_int)]


class Event(C.Union):
    _fields_ = [("type", C.c_int), ("any", AnyEvent), ("client", ClientMessage),
                ("property", PropertyEvent), ("focus", FocusEvent),
                ("pad", C.c_long * 24)]


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


X.XGetClassHint.argtypes = [C.c_void_p, C.c_ulong, C.POINTER(ClassHint)]
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


def name_of(d, w):
    p = C.c_char_p()
    if X.XFetchName(d, w, C.byref(p)) and p.value is not None:
        return p.value.decode("utf-8", "replace")
    return ""


def owner(sel):
    d = open_display()
    print(hex(X.XGetSelectionOwner(d, atom(d, sel))))


def close(win):
    d = open_display()
    ev = Event()
    ev.client.type = CLIENT_MESSAGE
    ev.client.window = int(win, 0)
    ev.client.message_type = atom(d, "_NET_CLOSE_WINDOW")
    ev.client.format = 32
    ev.client.data[1] = 2  # source indication: a pager or taskbar, i.e. the user
    root = X.XDefaultRootWindow(d)
    X.XSendEvent(d, root, 0, SUBSTRUCTURE_NOTIFY | SUBSTRUCTURE_REDIRECT, C.byref(ev))
    X.XSync(d, 0)


def watch_maps():
    d = open_display(ignore_errors=True)
    root = X.XDefaultRootWindow(d)
    sync = atom(d, "_E2E_SYNC")
    X.XSelectInput(d, root, SUBSTRUCTURE_NOTIFY | PROPERTY_CHANGE)
    X.XSync(d, 0)
    print("ready", flush=True)
    ev = Event()
    while True:
        X.XNextEvent(d, C.byref(ev))
        w = ev.any.window
        if ev.type == PROPERTY_NOTIFY:
            if ev.property.window == root and ev.property.atom == sync:
                print("sync", flush=True)
        elif ev.type == CREATE_NOTIFY and ev.any.event == root:
            # Follow each new top-level window, so its own map is seen after the
            # window manager has reparented it into a frame.
            X.XSelectInput(d, w, STRUCTURE_NOTIFY)
        elif ev.type == REPARENT_NOTIFY and ev.any.event == root:
            print(f"{hex(w)} managed {name_of(d, w)}", flush=True)
        elif ev.type == MAP_NOTIFY and (ev.any.event == root or ev.any.event == w):
            print(f"{hex(w)} mapped {name_of(d, w)}", flush=True)


# --- the notification-area icon and its menu -------------------------------------------

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
    d = open_display(ignore_errors=True)
    for w in viewable(d, name):
        p = tree(d, w)[0]
        while p and host not in wm_class(d, p):
            p = tree(d, p)[0]
        if p:
            print(hex(w))


def shown(name):
    d = open_display(ignore_errors=True)
    for w in viewable(d, name):
        print(hex(w))


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
    mapped, grabbed, ev, seen = None, False, Event(), []
    while True:
        while X.XPending(d):
            X.XNextEvent(d, C.byref(ev))
            if ev.type == MAP_NOTIFY and ev.any.event == root:
                seen.append(f"map {hex(ev.any.window)}")
                wa = attributes(d, ev.any.window)
                if wa is not None and wa.override_redirect and not (mapped and grabbed):
                    mapped = ev.any.window
            elif ev.type == FOCUS_OUT:
                seen.append(f"focus-out {hex(ev.focus.window)} mode {ev.focus.mode}")
                grabbed = grabbed or ev.focus.mode == NOTIFY_GRAB
        if mapped is not None and grabbed:
            break
        left = deadline - time.monotonic()
        if left <= 0 or not select.select([X.XConnectionNumber(d)], [], [], left)[0]:
            sys.exit(f"x11.py: within {timeout} s of the click "
                     f"{'a popup was mapped' if mapped else 'no popup was mapped'} and "
                     f"{'the keyboard grabbed' if grabbed else 'the keyboard not grabbed'}"
                     f" (focus was {hex(focus.value)}; events {' '.join(seen)})")
    print(hex(mapped))


# --- a click timed at its release ------------------------------------------------------

def click(x, y):
    xt = C.cdll.LoadLibrary("libXtst.so.6")
    xt.XTestFakeMotionEvent.argtypes = [C.c_void_p, C.c_int, C.c_int, C.c_int, C.c_ulong]
    xt.XTestFakeButtonEvent.argtypes = [C.c_void_p, C.c_uint, C.c_int, C.c_ulong]
    d = open_display()
    xt.XTestFakeMotionEvent(d, -1, x, y, 0)
    xt.XTestFakeButtonEvent(d, 1, 1, 0)
    X.XSync(d, 0)
    time.sleep(0.03)  # press and release are two events, as from a hand
    before = time.time()
    xt.XTestFakeButtonEvent(d, 1, 0, 0)
    X.XSync(d, 0)
    after = time.time()
    print(f"{before:.6f} {after:.6f}", flush=True)


# command: (argument count, function, converters of the arguments)
COMMANDS = {
    "owner": (1, owner, (str,)),
    "close": (1, close, (str,)),
    "watch-maps": (0, watch_maps, ()),
    "icon": (2, icon, (str, str)),
    "shown": (1, shown, (str,)),
    "menu": (3, menu, (str, str, float)),
    "click": (2, click, (int, int)),
}

if __name__ == "__main__":
    args = sys.argv[1:]
    # watch-maps took no heed of extra arguments; the others must have theirs exactly.
    if not args or args[0] not in COMMANDS or (
            args[0] != "watch-maps" and len(args) - 1 != COMMANDS[args[0]][0]):
        sys.exit(__doc__)
    _, run, types = COMMANDS[args[0]]
    run(*(t(a) for t, a in zip(types, args[1:])))
