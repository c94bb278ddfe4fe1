#!/usr/bin/env python3
"""What the wine end-to-end tests need from X beyond the stock tools (libX11
through ctypes, as the Windows build has no native X helper of its own):

    xclient.py close WINDOW_ID   send the window the close request a window
                                 manager sends for its close button (a
                                 WM_PROTOCOLS client message, WM_DELETE_WINDOW)
    xclient.py cursor            "hidden" when the pointer's cursor shows no
                                 pixel, else "shown WxH" (XFixes)
"""
import ctypes
import sys


class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong),
                ("send_event", ctypes.c_int), ("display", ctypes.c_void_p),
                ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]


class Event(ctypes.Union):
    _fields_ = [("xclient", ClientMessage), ("pad", ctypes.c_long * 24)]  # XEvent's size


class CursorImage(ctypes.Structure):
    _fields_ = [("x", ctypes.c_short), ("y", ctypes.c_short),
                ("width", ctypes.c_ushort), ("height", ctypes.c_ushort),
                ("xhot", ctypes.c_ushort), ("yhot", ctypes.c_ushort),
                ("cursor_serial", ctypes.c_ulong),
                ("pixels", ctypes.POINTER(ctypes.c_ulong)),  # ARGB, one a long
                ("atom", ctypes.c_ulong), ("name", ctypes.c_char_p)]


def close(x, display, window):
    x.XInternAtom.restype = ctypes.c_ulong
    x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                             ctypes.c_void_p]
    event = Event()
    event.xclient.type = 33  # ClientMessage
    event.xclient.window = window
    event.xclient.message_type = x.XInternAtom(display, b"WM_PROTOCOLS", 0)
    event.xclient.format = 32
    event.xclient.data[0] = x.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
    event.xclient.data[1] = 0  # CurrentTime
    if not x.XSendEvent(display, window, 0, 0, ctypes.byref(event)):
        sys.exit("xclient.py: XSendEvent failed")
    x.XFlush.argtypes = [ctypes.c_void_p]
    x.XFlush(display)


def cursor(display):
    fixes = ctypes.cdll.LoadLibrary("libXfixes.so.3")
    fixes.XFixesGetCursorImage.restype = ctypes.POINTER(CursorImage)
    fixes.XFixesGetCursorImage.argtypes = [ctypes.c_void_p]
    image = fixes.XFixesGetCursorImage(display)
    if not image:
        sys.exit("xclient.py: no cursor image")
    c = image.contents
    shown = any(c.pixels[i] >> 24 & 0xFF for i in range(c.width * c.height))
    print(f"shown {c.width}x{c.height}" if shown else "hidden")


def main():
    if len(sys.argv) < 2 or {"close": 3, "cursor": 2}.get(sys.argv[1]) != len(sys.argv):
        sys.exit(__doc__)
    x = ctypes.cdll.LoadLibrary("libX11.so.6")
    x.XOpenDisplay.restype = ctypes.c_void_p
    x.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x.XCloseDisplay.argtypes = [ctypes.c_void_p]
    display = x.XOpenDisplay(None)
    if not display:
        sys.exit("xclient.py: no display")
    if sys.argv[1] == "close":
        close(x, display, int(sys.argv[2], 0))
    else:
        cursor(display)
    x.XCloseDisplay(display)


if __name__ == "__main__":
    main()
