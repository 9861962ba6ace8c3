#!/usr/bin/python3
"""Small X11 queries that the command-line tools lack, through libX11 via ctypes.

  x11.py owner SELECTION   print the selection owner's window id (0x0 when none)
  x11.py close WINDOW      ask the window manager to close WINDOW (_NET_CLOSE_WINDOW),
                           as a click on the title bar's close button does
  x11.py watch-maps        print one line "0xID name" for every top-level window that
                           gets mapped or managed from now on, until killed; prints
                           "ready" once it listens, and "sync" whenever the root
                           window's property _E2E_SYNC changes: every event before
                           that change has then been printed
"""
import ctypes as C
import sys

X = C.cdll.LoadLibrary("libX11.so.6")
X.XOpenDisplay.restype = C.c_void_p
X.XOpenDisplay.argtypes = [C.c_char_p]
X.XInternAtom.restype = C.c_ulong
X.XInternAtom.argtypes = [C.c_void_p, C.c_char_p, C.c_int]
X.XGetSelectionOwner.restype = C.c_ulong
X.XGetSelectionOwner.argtypes = [C.c_void_p, C.c_ulong]
X.XDefaultRootWindow.restype = C.c_ulong
X.XDefaultRootWindow.argtypes = [C.c_void_p]
X.XSelectInput.argtypes = [C.c_void_p, C.c_ulong, C.c_long]
X.XSendEvent.argtypes = [C.c_void_p, C.c_ulong, C.c_int, C.c_long, C.c_void_p]
X.XNextEvent.argtypes = [C.c_void_p, C.c_void_p]
X.XFlush.argtypes = [C.c_void_p]
X.XSync.argtypes = [C.c_void_p, C.c_int]
X.XFetchName.argtypes = [C.c_void_p, C.c_ulong, C.POINTER(C.c_char_p)]
X.XSetErrorHandler.argtypes = [C.c_void_p]

SUBSTRUCTURE_NOTIFY, SUBSTRUCTURE_REDIRECT, STRUCTURE_NOTIFY = 1 << 19, 1 << 20, 1 << 17
PROPERTY_CHANGE = 1 << 22
CREATE_NOTIFY, MAP_NOTIFY, REPARENT_NOTIFY, PROPERTY_NOTIFY, CLIENT_MESSAGE = 16, 19, 21, 28, 33


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


class Event(C.Union):
    _fields_ = [("type", C.c_int), ("any", AnyEvent), ("client", ClientMessage),
                ("property", PropertyEvent),
                ("pad", C.c_long * 24)]


def open_display():
    d = X.XOpenDisplay(None)
    if not d:
        sys.exit("x11.py: cannot open display")
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


# Windows may vanish between an event and our request about them; ignore those errors.
ERROR_HANDLER = C.CFUNCTYPE(C.c_int, C.c_void_p, C.c_void_p)(lambda d, e: 0)


def watch_maps():
    d = open_display()
    X.XSetErrorHandler(ERROR_HANDLER)
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


if __name__ == "__main__":
    cmd = sys.argv[1:2]
    if cmd == ["owner"] and len(sys.argv) == 3:
        owner(sys.argv[2])
    elif cmd == ["close"] and len(sys.argv) == 3:
        close(sys.argv[2])
    elif cmd == ["watch-maps"]:
        watch_maps()
    else:
        sys.exit(__doc__)
