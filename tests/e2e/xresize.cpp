// Changes the X screen's size the way a user's display settings would: a new
// mode on the first connected output, its CRTC switched to it and the screen
// resized to match, all from this one connection. A mode made by one client is
// freed when that client leaves unless a CRTC uses it, so making it with one
// xrandr call and using it with another does not work.
//
//   xresize WIDTH HEIGHT    exit 0 when the screen is now WIDTH x HEIGHT, 1 when
//                           the server refused (e.g. larger than Xvfb started
//                           with), 2 for bad arguments or no display

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

int xErrors = 0;

int countError(Display* display, XErrorEvent* e) {
    char text[256];
    XGetErrorText(display, e->error_code, text, sizeof text);
    std::fprintf(stderr, "xresize: X error: %s (request %d.%d)\n", text, e->request_code,
                 e->minor_code);
    ++xErrors;
    return 0;
}

// The mode of that size the output already offers, or a new one added to it.
RRMode modeFor(Display* display, Window root, XRRScreenResources* res, RROutput output,
               XRROutputInfo* info, int width, int height) {
    for (int i = 0; i < info->nmode; ++i) {
        for (int j = 0; j < res->nmode; ++j) {
            const XRRModeInfo& m = res->modes[j];
            if (m.id == info->modes[i] && int(m.width) == width && int(m.height) == height)
                return m.id;
        }
    }
    std::string name = std::to_string(width) + "x" + std::to_string(height);
    XRRModeInfo m{};
    m.width = unsigned(width);
    m.height = unsigned(height);
    m.hTotal = m.width;
    m.vTotal = m.height;
    m.dotClock = static_cast<unsigned long>(m.hTotal) * m.vTotal * 60; // 60 Hz
    m.name = &name[0];
    m.nameLength = unsigned(name.size());
    const RRMode mode = XRRCreateMode(display, root, &m);
    if (mode) XRRAddOutputMode(display, output, mode);
    return mode;
}

// Sets the screen size keeping its physical size per pixel (so its DPI).
void setScreenSize(Display* display, Window root, int width, int height) {
    const int screen = DefaultScreen(display);
    const int w0 = DisplayWidth(display, screen), h0 = DisplayHeight(display, screen);
    const int mmW = (DisplayWidthMM(display, screen) * width + w0 / 2) / w0;
    const int mmH = (DisplayHeightMM(display, screen) * height + h0 / 2) / h0;
    XRRSetScreenSize(display, root, width, height, mmW > 0 ? mmW : 1, mmH > 0 ? mmH : 1);
}

int resize(Display* display, int width, int height) {
    const Window root = DefaultRootWindow(display);
    int minW = 0, minH = 0, maxW = 0, maxH = 0;
    if (!XRRGetScreenSizeRange(display, root, &minW, &minH, &maxW, &maxH)) {
        std::fprintf(stderr, "xresize: the server has no RandR 1.2\n");
        return 1;
    }
    if (width < minW || height < minH || width > maxW || height > maxH) {
        std::fprintf(stderr, "xresize: %dx%d is outside the server's %dx%d .. %dx%d\n", width,
                     height, minW, minH, maxW, maxH);
        return 1;
    }
    XRRScreenResources* res = XRRGetScreenResources(display, root);
    RROutput output = None;
    XRROutputInfo* info = nullptr;
    for (int i = 0; res && i < res->noutput && !output; ++i) {
        XRROutputInfo* o = XRRGetOutputInfo(display, res, res->outputs[i]);
        if (o && o->connection == RR_Connected && o->crtc) {
            output = res->outputs[i];
            info = o;
        } else if (o) {
            XRRFreeOutputInfo(o);
        }
    }
    if (!output) {
        std::fprintf(stderr, "xresize: no connected output with a CRTC\n");
        if (res) XRRFreeScreenResources(res);
        return 1;
    }
    XRRCrtcInfo* crtc = XRRGetCrtcInfo(display, res, info->crtc);
    const int screen = DefaultScreen(display);
    const int oldW = DisplayWidth(display, screen), oldH = DisplayHeight(display, screen);

    XGrabServer(display); // nobody sees the screen half changed
    const RRMode mode = modeFor(display, root, res, output, info, width, height);
    // The CRTC must fit in the screen at every step: grow the screen first where
    // it grows, shrink it last where it shrinks.
    const int bigW = width > oldW ? width : oldW, bigH = height > oldH ? height : oldH;
    if (bigW != oldW || bigH != oldH) setScreenSize(display, root, bigW, bigH);
    const Status set = XRRSetCrtcConfig(display, res, info->crtc, CurrentTime, 0, 0, mode,
                                        crtc->rotation, &output, 1);
    if (set == RRSetConfigSuccess && (bigW != width || bigH != height))
        setScreenSize(display, root, width, height);
    XUngrabServer(display);
    XSync(display, False);

    XRRFreeCrtcInfo(crtc);
    XRRFreeOutputInfo(info);
    XRRFreeScreenResources(res);
    if (set != RRSetConfigSuccess || xErrors) {
        std::fprintf(stderr, "xresize: the server refused %dx%d (status %d)\n", width, height,
                     int(set));
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const int width = argc == 3 ? std::atoi(argv[1]) : 0;
    const int height = argc == 3 ? std::atoi(argv[2]) : 0;
    if (width <= 0 || height <= 0) {
        std::fprintf(stderr, "usage: xresize WIDTH HEIGHT\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "xresize: cannot open display\n");
        return 2;
    }
    XSetErrorHandler(countError);
    const int result = resize(display, width, height);
    XCloseDisplay(display);
    return result;
}
