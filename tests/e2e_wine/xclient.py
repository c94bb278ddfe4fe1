#!/usr/bin/env python3
"""What the wine end-to-end tests need from X beyond the stock tools (libX11
through ctypes, as the Windows build has no native X helper of its own):

    xclient.py close WINDOW_ID   send the window the close request a window
                                 manager sends for its close button (a
                                 WM_PROTOCOLS client message, WM_DELETE_WINDOW)
    xclient.py cursor            "hidden" when the pointer's cursor shows no
                                 pixel, else "shown WxH" (XFixes)
    xclient.py blocks F          "ok N" when the screen shows uniform F x F
                                 blocks from its top-left corner (N of them
                                 lit), the rows and columns left over black;
                                 else the first pixel that breaks them
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


class Image(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.POINTER(ctypes.c_ubyte)),
                ("byte_order", ctypes.c_int), ("bitmap_unit", ctypes.c_int),
                ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
                ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int),
                ("bits_per_pixel", ctypes.c_int)]  # the rest is not read


def blocks(x, display, f):
    x.XDefaultRootWindow.restype = ctypes.c_ulong
    x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    x.XGetImage.restype = ctypes.POINTER(Image)
    x.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                            ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
    x.XDisplayWidth.argtypes = x.XDisplayHeight.argtypes = [ctypes.c_void_p, ctypes.c_int]
    w, h = x.XDisplayWidth(display, 0), x.XDisplayHeight(display, 0)
    image = x.XGetImage(display, x.XDefaultRootWindow(display), 0, 0, w, h, 0xFFFFFFFF, 2)
    if not image or image.contents.bits_per_pixel != 32:
        sys.exit("xclient.py: no 32-bit image of the screen")
    i = image.contents
    data = ctypes.string_at(i.data, i.bytes_per_line * h)

    def pixel(px, py):
        o = py * i.bytes_per_line + px * 4
        return int.from_bytes(data[o:o + 3], "little")

    inner_w, inner_h, lit = w // f * f, h // f * f, 0
    for py in range(h):
        for px in range(w):
            v = pixel(px, py)
            inside = px < inner_w and py < inner_h
            expected = pixel(px // f * f, py // f * f) if inside else 0
            if v != expected:
                print(f"pixel {px},{py} is {v:06x}, not {expected:06x}")
                return
            lit += inside and v != 0 and px % f == 0 and py % f == 0
    print(f"ok {lit}")


def main():
    if len(sys.argv) < 2 or {"close": 3, "cursor": 2, "blocks": 3}.get(sys.argv[1]) != len(sys.argv):
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
    elif sys.argv[1] == "blocks":
        blocks(x, display, int(sys.argv[2]))
    else:
        cursor(display)
    x.XCloseDisplay(display)


if __name__ == "__main__":
    main()
