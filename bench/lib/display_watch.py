#!/usr/bin/python3
"""Watch a part of a window as the X server shows it, through libX11 via ctypes.

  display_watch.py WINDOW X Y WIDTH HEIGHT LOG PERIOD_S
        reads the pixels of the rectangle X,Y WIDTH x HEIGHT of WINDOW (client coordinates)
        every PERIOD_S seconds until killed or the window is gone; prints "ready" after the
        first read. One line per read in LOG: "TIME TIME DIGEST" (wall time twice, so that
        atspi.py standstill reads it like its own log)

The X server answers for the program: a program whose UI thread is blocked cannot hold up the
read, so a change is seen within a period of the moment the program drew it. A screen reader's
reads over AT-SPI, in contrast, are answered by the UI thread itself, and a read answered just
before a tick in the same pass of the event loop shows the old digits until the thread runs
again.
"""
import ctypes as C
import hashlib
import signal
import sys
import time

X = C.cdll.LoadLibrary("libX11.so.6")


class XImage(C.Structure):
    _fields_ = [("width", C.c_int), ("height", C.c_int), ("xoffset", C.c_int),
                ("format", C.c_int), ("data", C.POINTER(C.c_char)), ("byte_order", C.c_int),
                ("bitmap_unit", C.c_int), ("bitmap_bit_order", C.c_int),
                ("bitmap_pad", C.c_int), ("depth", C.c_int), ("bytes_per_line", C.c_int),
                ("bits_per_pixel", C.c_int), ("red_mask", C.c_ulong),
                ("green_mask", C.c_ulong), ("blue_mask", C.c_ulong), ("obdata", C.c_void_p),
                ("destroy_image", C.CFUNCTYPE(C.c_int, C.c_void_p))]


X.XOpenDisplay.restype = C.c_void_p
X.XOpenDisplay.argtypes = [C.c_char_p]
X.XGetImage.restype = C.POINTER(XImage)
X.XGetImage.argtypes = [C.c_void_p, C.c_ulong, C.c_int, C.c_int, C.c_uint, C.c_uint,
                        C.c_ulong, C.c_int]
X.XSetErrorHandler.argtypes = [C.c_void_p]
Z_PIXMAP = 2
ALL_PLANES = 0xFFFFFFFF

# A window that is gone makes XGetImage fail with an error event; the default handler would
# end the process with a message, this one lets the call return NULL.
ERROR_HANDLER = C.CFUNCTYPE(C.c_int, C.c_void_p, C.c_void_p)(lambda d, e: 0)


def digest(d, win, x, y, w, h):
    img = X.XGetImage(d, win, x, y, w, h, ALL_PLANES, Z_PIXMAP)
    if not img:
        return None
    size = img.contents.bytes_per_line * img.contents.height
    value = hashlib.blake2b(C.string_at(img.contents.data, size), digest_size=8).hexdigest()
    img.contents.destroy_image(C.cast(img, C.c_void_p))
    return value


def watch(win, x, y, w, h, log, period):
    d = X.XOpenDisplay(None)
    if not d:
        sys.exit("display_watch.py: cannot open display")
    X.XSetErrorHandler(ERROR_HANDLER)
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
    with open(log, "w") as out:
        first = True
        while True:
            t = time.time()
            value = digest(d, win, x, y, w, h)
            if value is None:
                return
            out.write(f"{t:.6f} {t:.6f} {value}\n")
            out.flush()
            if first:
                print("ready", flush=True)
                first = False
            time.sleep(max(0.0, t + period - time.time()))


if __name__ == "__main__":
    a = sys.argv[1:]
    if len(a) != 7:
        sys.exit(__doc__)
    watch(int(a[0], 0), *map(int, a[1:5]), a[5], float(a[6]))
