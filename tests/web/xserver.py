#!/usr/bin/env python3
# X input and screen reads for desktop.mjs, in one long-lived process on $DISPLAY: a new xdotool
# or ImageMagick process per event costs up to a second on a loaded machine, this a millisecond.
# Reads commands from stdin, one a line:
#   move X Y | button B 1|0 | shift 1|0    XTest input; answers "ok"
#   grab X Y W H                            answers with W*H*3 bytes of RGB, rows from the top
import ctypes
import sys

X11 = ctypes.CDLL("libX11.so.6")
XTST = ctypes.CDLL("libXtst.so.6")
X11.XOpenDisplay.restype = ctypes.c_void_p
X11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
X11.XDefaultRootWindow.restype = ctypes.c_ulong
X11.XGetImage.restype = ctypes.c_void_p
X11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong] + [ctypes.c_int] * 2 + \
    [ctypes.c_uint] * 2 + [ctypes.c_ulong, ctypes.c_int]
X11.XDestroyImage.argtypes = [ctypes.c_void_p]
X11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
X11.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
XTST.XTestFakeMotionEvent.argtypes = [ctypes.c_void_p] + [ctypes.c_int] * 3 + [ctypes.c_ulong]
XTST.XTestFakeButtonEvent.argtypes = [ctypes.c_void_p] + [ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
XTST.XTestFakeKeyEvent.argtypes = XTST.XTestFakeButtonEvent.argtypes

SHIFT_L = 0xFFE1        # keysym
ALL_PLANES = 0xFFFFFFFF
Z_PIXMAP = 2
DATA_OFFSET = 16        # XImage: int width, height, xoffset, format; char *data
LINE_OFFSET = 44        # XImage.bytes_per_line

display = X11.XOpenDisplay(None)
if not display:
    sys.exit("cannot open the display")
root = X11.XDefaultRootWindow(display)
shift = X11.XKeysymToKeycode(display, SHIFT_L)
out = sys.stdout.buffer
for line in sys.stdin:
    word, *n = line.split()
    n = [int(v) for v in n]
    if word == "grab":
        image = X11.XGetImage(display, root, n[0], n[1], n[2], n[3], ALL_PLANES, Z_PIXMAP)
        data = ctypes.c_void_p.from_address(image + DATA_OFFSET).value
        stride = ctypes.c_int.from_address(image + LINE_OFFSET).value
        bgrx = ctypes.string_at(data, stride * n[3])
        rgb = bytearray(n[2] * n[3] * 3)
        for row in range(n[3]):
            line_bytes = bgrx[row * stride:row * stride + n[2] * 4]
            at = row * n[2] * 3
            rgb[at:at + n[2] * 3:3] = line_bytes[2::4]
            rgb[at + 1:at + n[2] * 3:3] = line_bytes[1::4]
            rgb[at + 2:at + n[2] * 3:3] = line_bytes[0::4]
        X11.XDestroyImage(image)
        out.write(rgb)
    else:
        if word == "move":
            XTST.XTestFakeMotionEvent(display, -1, n[0], n[1], 0)
        elif word == "button":
            XTST.XTestFakeButtonEvent(display, n[0], n[1], 0)
        elif word == "shift":
            XTST.XTestFakeKeyEvent(display, shift, n[0], 0)
        X11.XSync(display, 0)
        out.write(b"ok\n")
    out.flush()
