#!/usr/bin/env python3
# X input and screen reads for desktop.mjs, in one long-lived process on $DISPLAY: a new xdotool
# or ImageMagick process per event costs up to a second on a loaded machine, this a millisecond.
# Reads commands from stdin, one a line:
#   move X Y | button B 1|0 | shift 1|0    XTest input; answers "ok"
#   grab X Y W H                            answers with W*H*4 bytes: B, G, R, 0 of each pixel
import ctypes
import sys

X11, XTST = ctypes.CDLL("libX11.so.6"), ctypes.CDLL("libXtst.so.6")
P, I, U, L = ctypes.c_void_p, ctypes.c_int, ctypes.c_uint, ctypes.c_ulong
X11.XOpenDisplay.restype = X11.XGetImage.restype = P
X11.XDefaultRootWindow.argtypes, X11.XDefaultRootWindow.restype = [P], L
X11.XGetImage.argtypes = [P, L, I, I, U, U, L, I]
X11.XDestroyImage.argtypes, X11.XSync.argtypes = [P], [P, I]
X11.XKeysymToKeycode.argtypes = [P, L]
XTST.XTestFakeMotionEvent.argtypes = [P, I, I, I, L]
XTST.XTestFakeButtonEvent.argtypes = XTST.XTestFakeKeyEvent.argtypes = [P, U, I, L]

SHIFT_L = 0xFFE1  # keysym
ALL_PLANES, Z_PIXMAP = 0xFFFFFFFF, 2
DATA_OFFSET = 16  # XImage: int width, height, xoffset, format; char *data

display = X11.XOpenDisplay(None)
if not display:
    sys.exit("cannot open the display")
root, shift = X11.XDefaultRootWindow(display), X11.XKeysymToKeycode(display, SHIFT_L)
for line in sys.stdin:
    word, *n = line.split()
    n = [int(v) for v in n]
    if word == "grab":  # a 24-bit screen has 32-bit pixels, rows without padding
        image = X11.XGetImage(display, root, n[0], n[1], n[2], n[3], ALL_PLANES, Z_PIXMAP)
        sys.stdout.buffer.write(ctypes.string_at(P.from_address(image + DATA_OFFSET).value,
                                                 n[2] * n[3] * 4))
        X11.XDestroyImage(image)
    else:
        {"move": lambda: XTST.XTestFakeMotionEvent(display, -1, n[0], n[1], 0),
         "button": lambda: XTST.XTestFakeButtonEvent(display, n[0], n[1], 0),
         "shift": lambda: XTST.XTestFakeKeyEvent(display, shift, n[0], 0)}[word]()
        X11.XSync(display, 0)
        sys.stdout.buffer.write(b"ok\n")
    sys.stdout.buffer.flush()
