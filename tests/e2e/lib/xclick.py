#!/usr/bin/python3
"""Click like a user, and say when: the X server gets the button release at a known time.

  xclick.py X Y     moves the pointer to root position X,Y, presses and releases button 1
                    through XTEST, and prints the wall time (seconds since the epoch) just
                    before the release was sent and just after the server had it, e.g.
                    "1796721710.123456 1796721710.123789"

A push button acts on the release; xdotool's click sleeps 12 ms between press and release
and takes its own start-up time, so a wall time taken before calling it is early by that much.
"""
import ctypes as C
import sys
import time

X = C.cdll.LoadLibrary("libX11.so.6")
XT = C.cdll.LoadLibrary("libXtst.so.6")
X.XOpenDisplay.restype = C.c_void_p
X.XOpenDisplay.argtypes = [C.c_char_p]
X.XSync.argtypes = [C.c_void_p, C.c_int]
XT.XTestFakeMotionEvent.argtypes = [C.c_void_p, C.c_int, C.c_int, C.c_int, C.c_ulong]
XT.XTestFakeButtonEvent.argtypes = [C.c_void_p, C.c_uint, C.c_int, C.c_ulong]


def click(x, y):
    d = X.XOpenDisplay(None)
    if not d:
        sys.exit("xclick.py: cannot open display")
    XT.XTestFakeMotionEvent(d, -1, x, y, 0)
    XT.XTestFakeButtonEvent(d, 1, 1, 0)
    X.XSync(d, 0)
    time.sleep(0.03)  # press and release are two events, as from a hand
    before = time.time()
    XT.XTestFakeButtonEvent(d, 1, 0, 0)
    X.XSync(d, 0)
    after = time.time()
    print(f"{before:.6f} {after:.6f}", flush=True)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    click(int(sys.argv[1]), int(sys.argv[2]))
