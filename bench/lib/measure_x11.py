#!/usr/bin/python3
"""X11 helpers that only measure, on top of the tests' x11.py.

  measure_x11.py watch-maps   print one line "0xID mapped|managed name" for every top-level
                              window that gets mapped or managed from now on, until killed;
                              "ready" once it listens
  measure_x11.py close WIN    ask the window manager to close WIN (_NET_CLOSE_WINDOW), as a
                              click on the title bar's close button does
  measure_x11.py click X Y    press and release button 1 at root position X,Y through XTEST,
                              and print the wall time just before the release was sent and
                              just after the server had it

A push button acts on the release; xdotool's click sleeps 12 ms between press and release and
takes its own start-up time, so a wall time taken before calling it is early by that much.
"""
import ctypes as C
import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "../../tests/e2e/lib"))
import x11  # noqa: E402
from x11 import X, Event  # noqa: E402


X.XFetchName.argtypes = [C.c_void_p, C.c_ulong, C.POINTER(C.c_char_p)]


def name_of(d, w):
    p = C.c_char_p()
    if X.XFetchName(d, w, C.byref(p)) and p.value is not None:
        return p.value.decode("utf-8", "replace")
    return ""


def watch_maps():
    d = x11.open_display(ignore_errors=True)
    root = X.XDefaultRootWindow(d)
    X.XSelectInput(d, root, x11.SUBSTRUCTURE_NOTIFY)
    X.XSync(d, 0)
    print("ready", flush=True)
    ev = Event()
    while True:
        X.XNextEvent(d, C.byref(ev))
        w = ev.any.window
        if ev.type == x11.CREATE_NOTIFY and ev.any.event == root:
            # Follow each new top-level window, so its own map is seen after the window
            # manager has reparented it into a frame.
            X.XSelectInput(d, w, x11.STRUCTURE_NOTIFY)
        elif ev.type == x11.REPARENT_NOTIFY and ev.any.event == root:
            print(f"{hex(w)} managed {name_of(d, w)}", flush=True)
        elif ev.type == x11.MAP_NOTIFY and (ev.any.event == root or ev.any.event == w):
            print(f"{hex(w)} mapped {name_of(d, w)}", flush=True)


class ClientMessage(C.Structure):
    _fields_ = [("type", C.c_int), ("serial", C.c_ulong), ("send_event", C.c_int),
                ("display", C.c_void_p), ("window", C.c_ulong), ("message_type", C.c_ulong),
                ("format", C.c_int), ("data", C.c_long * 5)]


X.XSendEvent.argtypes = [C.c_void_p, C.c_ulong, C.c_int, C.c_long, C.c_void_p]


def close(win):
    d = x11.open_display()
    ev = ClientMessage(type=33, window=int(win, 0), format=32,
                       message_type=x11.atom(d, "_NET_CLOSE_WINDOW"))
    ev.data[1] = 2  # source indication: a pager or taskbar, i.e. the user
    X.XSendEvent(d, X.XDefaultRootWindow(d), 0, x11.SUBSTRUCTURE_NOTIFY | x11.SUBSTRUCTURE_REDIRECT,
                 C.byref(ev))
    X.XSync(d, 0)


def click(x, y):
    xt = C.cdll.LoadLibrary("libXtst.so.6")
    xt.XTestFakeMotionEvent.argtypes = [C.c_void_p, C.c_int, C.c_int, C.c_int, C.c_ulong]
    xt.XTestFakeButtonEvent.argtypes = [C.c_void_p, C.c_uint, C.c_int, C.c_ulong]
    d = x11.open_display()
    xt.XTestFakeMotionEvent(d, -1, x, y, 0)
    xt.XTestFakeButtonEvent(d, 1, 1, 0)
    X.XSync(d, 0)
    time.sleep(0.03)  # press and release are two events, as from a hand
    before = time.time()
    xt.XTestFakeButtonEvent(d, 1, 0, 0)
    X.XSync(d, 0)
    print(f"{before:.6f} {time.time():.6f}", flush=True)


if __name__ == "__main__":
    x11.main({"watch-maps": (0, watch_maps, ()), "close": (1, close, (str,)),
              "click": (2, click, (int, int))},
             sys.argv[1:], __doc__)
