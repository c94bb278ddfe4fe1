// What the end-to-end tests need from X and screenshots that the stock tools do
// not give: a polite close request (WM_DELETE_WINDOW, as a window manager sends
// it), a window for another program, and pixel counts over `xwd` dumps (ZPixmap,
// true colour, 16 or 32 bits a pixel; channels as deep as the visual has them).
//
//   xprobe close WINDOW-ID        ask the window to close
//   xprobe window W H [RRGGBB [over]]
//                                 make a W x H window (black, or that colour;
//                                 with "over", one the window manager leaves
//                                 alone, on top of everything), print its id
//                                 (0x hex) and keep it until killed
//   xprobe coloured SHOT.xwd      count of non-black pixels, and their bounding
//                                 box as x0 y0 x1 y1 (half-open)
//   xprobe blocks SHOT.xwd F X Y W H
//                                 "ok" when the W x H area at (X, Y) is made of
//                                 uniform F x F blocks and all else is black
//   xprobe kept BEFORE AFTER W H [corner]
//                                 "ok N" when each of the N pixels of a W x H
//                                 picture lit in BEFORE is lit in AFTER, each
//                                 shot showing the picture fitted to its screen
//                                 (largest size of its shape, centred), or with
//                                 "corner" at its top-left corner one to one
//                                 (then "new M" follows: pixels lit only AFTER)
//   xprobe fresh BEFORE AFTER     channel pattern of pixels black before and
//                                 lit after: "rgb" as 0/1 per channel, most common
//                                 first, with counts ("none" when none)

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace {

struct Shot {
    int width = 0, height = 0;
    std::vector<std::uint32_t> rgb; // 0x00RRGGBB
};

std::uint32_t bigEndian(const unsigned char* p) {
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

bool readShot(const char* path, Shot& shot) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<unsigned char> d((std::istreambuf_iterator<char>(in)), {});
    if (d.size() < 100) return false;
    std::uint32_t h[25];
    for (int i = 0; i < 25; ++i)
        h[i] = bigEndian(&d[std::size_t(i) * 4]);
    const std::uint32_t headerSize = h[0], format = h[2], width = h[4], height = h[5];
    const std::uint32_t byteOrder = h[7], bitsPerPixel = h[11], bytesPerLine = h[12];
    const std::uint32_t redMask = h[14], greenMask = h[15], blueMask = h[16], colours = h[19];
    if (format != 2 || (bitsPerPixel != 32 && bitsPerPixel != 24 && bitsPerPixel != 16))
        return false; // ZPixmap
    // A shot of windows of several visuals comes as 24 bits a pixel, still four bytes apart.
    const std::uint32_t bytes = bitsPerPixel == 24 && bytesPerLine < width * 4 ? 3
                                : bitsPerPixel == 16                           ? 2
                                                                               : 4;
    const std::size_t start = headerSize + std::size_t(colours) * 12;
    if (d.size() < start + std::size_t(bytesPerLine) * height) return false;
    auto channel = [](std::uint32_t v, std::uint32_t mask) {
        if (!mask) return 0u;
        int shift = 0;
        while (!((mask >> shift) & 1))
            ++shift;
        return (v & mask) >> shift;
    };
    shot.width = int(width);
    shot.height = int(height);
    shot.rgb.resize(std::size_t(width) * height);
    for (std::uint32_t y = 0; y < height; ++y) {
        for (std::uint32_t x = 0; x < width; ++x) {
            const unsigned char* p = &d[start + std::size_t(y) * bytesPerLine + x * bytes];
            std::uint32_t v = 0;
            for (std::uint32_t i = 0; i < bytes; ++i)
                v |= std::uint32_t(p[i]) << (8 * (byteOrder ? bytes - 1 - i : i));
            shot.rgb[std::size_t(y) * width + x] =
                channel(v, redMask) << 16 | channel(v, greenMask) << 8 | channel(v, blueMask);
        }
    }
    return true;
}

int closeWindow(const char* id) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return 2;
    XEvent e;
    std::memset(&e, 0, sizeof e);
    e.xclient.type = ClientMessage;
    e.xclient.window = Window(std::strtoul(id, nullptr, 0));
    e.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = long(XInternAtom(display, "WM_DELETE_WINDOW", False));
    e.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, e.xclient.window, False, NoEventMask, &e);
    XSync(display, False);
    XCloseDisplay(display);
    return 0;
}

// The picture's pixels lit in a shot of the whole screen it is fitted to.
std::vector<bool> litSource(const Shot& s, int w, int h) {
    long long fw = s.width, fh = s.height;
    if (static_cast<long long>(w) * s.height > static_cast<long long>(h) * s.width)
        fh = static_cast<long long>(h) * s.width / w;
    else
        fw = static_cast<long long>(w) * s.height / h;
    const long long ox = (s.width - fw) / 2, oy = (s.height - fh) / 2;
    std::vector<bool> lit(std::size_t(w) * h, false);
    for (long long y = oy; y < oy + fh; ++y)
        for (long long x = ox; x < ox + fw; ++x)
            if (s.rgb[std::size_t(y) * s.width + x])
                lit[std::size_t((y - oy) * h / fh) * w + std::size_t((x - ox) * w / fw)] = true;
    return lit;
}

// The picture's pixels lit in the W x H top-left corner of a shot.
std::vector<bool> litCorner(const Shot& s, int w, int h) {
    std::vector<bool> lit(std::size_t(w) * h, false);
    for (int y = 0; y < h && y < s.height; ++y)
        for (int x = 0; x < w && x < s.width; ++x)
            lit[std::size_t(y) * w + x] = s.rgb[std::size_t(y) * s.width + x] != 0;
    return lit;
}

// A window for another program to draw into, as a screensaver daemon makes one.
int makeWindow(int w, int h, const char* colour, bool over) {
    Display* display = XOpenDisplay(nullptr);
    if (!display || w <= 0 || h <= 0) return 2;
    const int screen = DefaultScreen(display);
    XColor c{};
    c.pixel = BlackPixel(display, screen);
    if (colour) {
        const unsigned long rgb = std::strtoul(colour, nullptr, 16);
        c.red = static_cast<unsigned short>(((rgb >> 16) & 0xFF) * 0x101);
        c.green = static_cast<unsigned short>(((rgb >> 8) & 0xFF) * 0x101);
        c.blue = static_cast<unsigned short>((rgb & 0xFF) * 0x101);
        XAllocColor(display, DefaultColormap(display, screen), &c);
    }
    XSetWindowAttributes a{};
    a.background_pixel = c.pixel;
    a.override_redirect = over ? True : False;
    const Window window =
        XCreateWindow(display, RootWindow(display, screen), over ? 100 : 0, over ? 100 : 0,
                      unsigned(w), unsigned(h), 0, CopyFromParent, InputOutput, CopyFromParent,
                      CWBackPixel | CWOverrideRedirect, &a);
    XStoreName(display, window, "xprobe");
    XMapRaised(display, window);
    XSync(display, False);
    std::printf("0x%lx\n", window);
    std::fflush(stdout);
    for (;;) {
        XEvent e;
        XNextEvent(display, &e);
    }
}

} // namespace

int main(int argc, char** argv) {
    const std::string what = argc > 1 ? argv[1] : "";
    if (what == "close" && argc == 3) return closeWindow(argv[2]);
    if (what == "window" && argc >= 4 && argc <= 6)
        return makeWindow(std::atoi(argv[2]), std::atoi(argv[3]), argc > 4 ? argv[4] : nullptr,
                          argc > 5 && std::string(argv[5]) == "over");
    if (what == "coloured" && argc == 3) {
        Shot s;
        if (!readShot(argv[2], s)) return 2;
        long n = 0;
        int x0 = s.width, y0 = s.height, x1 = 0, y1 = 0;
        for (int y = 0; y < s.height; ++y) {
            for (int x = 0; x < s.width; ++x) {
                if (!s.rgb[std::size_t(y) * s.width + x]) continue;
                ++n;
                x0 = std::min(x0, x);
                y0 = std::min(y0, y);
                x1 = std::max(x1, x + 1);
                y1 = std::max(y1, y + 1);
            }
        }
        if (n == 0) x0 = y0 = 0;
        std::printf("%ld %d %d %d %d\n", n, x0, y0, x1, y1);
        return 0;
    }
    if (what == "count" && argc == 4) {
        Shot s;
        if (!readShot(argv[2], s)) return 2;
        const std::uint32_t colour = std::uint32_t(std::strtoul(argv[3], nullptr, 16));
        std::printf("%ld\n", long(std::count(s.rgb.begin(), s.rgb.end(), colour)));
        return 0;
    }
    if (what == "blocks" && argc == 8) {
        Shot s;
        if (!readShot(argv[2], s)) return 2;
        const int f = std::atoi(argv[3]), ax = std::atoi(argv[4]), ay = std::atoi(argv[5]);
        const int aw = std::atoi(argv[6]), ah = std::atoi(argv[7]);
        for (int y = 0; y < s.height; ++y) {
            for (int x = 0; x < s.width; ++x) {
                const std::uint32_t v = s.rgb[std::size_t(y) * s.width + x];
                const bool inside = x >= ax && x < ax + aw && y >= ay && y < ay + ah;
                // Inside, each pixel equals its block's top-left one.
                const int bx = inside ? ax + (x - ax) / f * f : x,
                          by = inside ? ay + (y - ay) / f * f : y;
                const std::uint32_t expected = inside ? s.rgb[std::size_t(by) * s.width + bx] : 0;
                if (v != expected) {
                    std::printf("pixel %d,%d is %06x, not %06x\n", x, y, v, expected);
                    return 1;
                }
            }
        }
        std::printf("ok\n");
        return 0;
    }
    if (what == "kept" && (argc == 6 || (argc == 7 && std::string(argv[6]) == "corner"))) {
        Shot a, b;
        const int w = std::atoi(argv[4]), h = std::atoi(argv[5]);
        if (!readShot(argv[2], a) || !readShot(argv[3], b) || w <= 0 || h <= 0) return 2;
        const bool corner = argc == 7;
        if (corner && (w > std::min(a.width, b.width) || h > std::min(a.height, b.height)))
            return 2;
        const std::vector<bool> before = corner ? litCorner(a, w, h) : litSource(a, w, h);
        const std::vector<bool> after = corner ? litCorner(b, w, h) : litSource(b, w, h);
        long n = 0, lost = 0, fresh = 0;
        for (std::size_t i = 0; i < before.size(); ++i) {
            n += before[i];
            lost += before[i] && !after[i];
            fresh += !before[i] && after[i];
        }
        if (lost)
            std::printf("lost %ld of %ld\n", lost, n);
        else if (corner)
            std::printf("ok %ld new %ld\n", n, fresh);
        else
            std::printf("ok %ld\n", n);
        return lost ? 1 : 0;
    }
    if (what == "fresh" && argc == 4) {
        Shot a, b;
        if (!readShot(argv[2], a) || !readShot(argv[3], b) || a.rgb.size() != b.rgb.size())
            return 2;
        std::map<std::string, long> patterns;
        for (std::size_t i = 0; i < a.rgb.size(); ++i) {
            if (a.rgb[i] != 0 || b.rgb[i] == 0) continue;
            const std::uint32_t v = b.rgb[i];
            std::string p = {char('0' + ((v >> 16) & 0xFF ? 1 : 0)),
                             char('0' + ((v >> 8) & 0xFF ? 1 : 0)), char('0' + (v & 0xFF ? 1 : 0))};
            ++patterns[p];
        }
        std::vector<std::pair<long, std::string>> sorted;
        for (const auto& [p, n] : patterns)
            sorted.push_back({n, p});
        std::sort(sorted.rbegin(), sorted.rend());
        if (sorted.empty()) std::printf("none 0\n");
        for (const auto& [n, p] : sorted)
            std::printf("%s %ld\n", p.c_str(), n);
        return 0;
    }
    std::fprintf(stderr,
                 "usage: xprobe close ID | window W H [RRGGBB [over]] | coloured SHOT | "
                 "count SHOT RRGGBB | "
                 "blocks SHOT F X Y W H | kept BEFORE AFTER W H [corner] | fresh BEFORE AFTER\n");
    return 2;
}
