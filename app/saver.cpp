// The screensaver's window procedure, start-up and frames: a chain per monitor,
// drawn on a bitmap of the window's size divided by the pixel size and shown
// enlarged; a client of the program's frame loop (frames.h), its state the
// loop's context and its window's user data.

#include "app/saver.h"

#include "anim/chain.h"
#include "app/frames.h"
#include "math/pixel.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

const char kClassName[] = "TessalineSaver";
const char kTitle[] = "Tessaline";
// How far the mouse may drift (a knocked desk) before a full-screen saver ends.
constexpr long kMouseSlack = 4;
constexpr int kMaxChains = 16; // monitors beyond these share nothing: they stay black
constexpr long kMaxTicks = 1000;

using Clock = std::chrono::steady_clock;

// What a chain faded since the last copy to the window: the box of each point's
// path, joined at the copy into runs of consecutive points while a run's box
// stays dense. Followers trail their leader along the same path a few pixels
// apart, so the runs are few and small, where the box of the whole chain
// (hundreds of pixels wide) would be copied, compared and presented for a few
// hundred pixels, and a box per point would be a copy each.
constexpr long long kRunSlack = 64;

struct Chain {
    ChainState state;
    ChainArea area;                      // in bitmap pixels
    RECT changed[ChainState::kPoints]{}; // bitmap pixels faded since the last copy
};

struct Saver {
    SaverMode mode = SaverMode::Window;
    bool ticks = true; // the program's picture, tick by tick
    POINT start{0, 0};
    bool firstMove = true;
    int pixelSize = 1;
    int width = 0, height = 0; // the bitmap
    Chain chains[kMaxChains];
    int chainCount = 0;
    TickChanges changes; // what the last tick changed
    bool copyAll = true; // the whole bitmap goes to the window at the next copy
    Clock::duration refresh = std::chrono::microseconds(16667);
    Clock::time_point lastCopy{};
};

// The saver a window's procedure works for; null before it is known.
Saver* saverOf(HWND window) {
    return reinterpret_cast<Saver*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

bool emptyRect(const RECT& r) {
    return r.left >= r.right || r.top >= r.bottom;
}

void addToRect(RECT& r, LONG x, LONG y) {
    if (emptyRect(r)) {
        r = RECT{x, y, x + 1, y + 1};
        return;
    }
    if (x < r.left) r.left = x;
    if (y < r.top) r.top = y;
    if (x >= r.right) r.right = x + 1;
    if (y >= r.bottom) r.bottom = y + 1;
}

struct MonitorAreas {
    RECT rects[kMaxChains];
    int count = 0;
};

BOOL CALLBACK addMonitor(HMONITOR, HDC, LPRECT rect, LPARAM data) {
    MonitorAreas& m = *reinterpret_cast<MonitorAreas*>(data);
    if (m.count < kMaxChains) m.rects[m.count++] = *rect;
    return TRUE;
}

// A chain per monitor the window reaches, keeping to that monitor's part of the
// bitmap; one for the whole bitmap when the system names none. Chains that stay
// keep their points (the head comes back to a new centre by itself); new ones
// are seeded at their first frame.
void reshape(void* context, HDC window, int width, int height) {
    Saver& s = *static_cast<Saver*>(context);
    s.width = width;
    s.height = height;
    MonitorAreas monitors;
    EnumDisplayMonitors(window, NULL, addMonitor, reinterpret_cast<LPARAM>(&monitors));
    const int n = s.pixelSize;
    int count = 0;
    for (int i = 0; i < monitors.count; ++i) {
        const RECT& r = monitors.rects[i];
        ChainArea a{r.left / n, r.top / n, r.right / n - r.left / n, r.bottom / n - r.top / n};
        if (a.left < 0) a.width += a.left, a.left = 0;
        if (a.top < 0) a.height += a.top, a.top = 0;
        if (a.left + a.width > width) a.width = width - a.left;
        if (a.top + a.height > height) a.height = height - a.top;
        if (a.width > 0 && a.height > 0) s.chains[count++].area = a;
    }
    if (count == 0) s.chains[count++].area = ChainArea{0, 0, width, height};
    for (int i = s.chainCount; i < count; ++i) {
        s.chains[i].state = ChainState{};
        s.chains[i].state.showOnBlack = true; // a saver must never stay black
    }
    s.chainCount = count;
    s.copyAll = true;
}

long long areaOf(const RECT& r) {
    return emptyRect(r) ? 0 : static_cast<long long>(r.right - r.left) * (r.bottom - r.top);
}

RECT unite(const RECT& a, const RECT& b) {
    if (emptyRect(a)) return b;
    if (emptyRect(b)) return a;
    return RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                std::max(a.bottom, b.bottom)};
}

// Bitmap rectangle r shown in the window, enlarged by the pixel size.
void show(HDC window, HDC memory, const RECT& r, int n) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (n == 1) {
        BitBlt(window, r.left, r.top, w, h, memory, r.left, r.top, SRCCOPY);
    } else {
        StretchBlt(window, r.left * n, r.top * n, w * n, h * n, memory, r.left, r.top, w, h,
                   SRCCOPY);
    }
}

void start(void* context, HDC window, HDC, int width, int height) {
    reshape(context, window, width, height);
}

// The pixels under the chain's points, into the boxes the next copy shows.
// (A point off the bitmap fades nothing.)
void notePoints(Chain& c, int width, int height) {
    for (int p = 0; p < ChainState::kPoints; ++p) {
        const LONG x = toPixel(c.state.a[p].x), y = toPixel(c.state.a[p].y);
        if (x >= 0 && y >= 0 && x < width && y < height) addToRect(c.changed[p], x, y);
    }
}

// Each chain steps in its area: the program's ticks for the time that passed
// (its picture), or one step of the whole time (the feathered look, and the
// program's own loop at delay 0). What the frames changed reaches the window
// at most once per refresh: the boxes of what each point changed, not the bitmap.
void step(void* context, HDC window, HDC memory, float dt) {
    Saver& s = *static_cast<Saver*>(context);
    for (int i = 0; i < s.chainCount; ++i) {
        Chain& c = s.chains[i];
        if (c.state.init) s.copyAll = true; // seeded this frame: around the centre
        if (!s.ticks) {
            if (!c.state.init) notePoints(c, s.width, s.height); // faded before they move
            stepChain(c.state, memory, dt, c.area);
            continue;
        }
        // A second at most: after a stall the chain goes on, it does not race.
        const long ticks = std::min(std::lround(dt / kTick), kMaxTicks);
        for (long t = c.state.init ? -1 : 0; t < ticks; ++t) { // a seeding step, then ticks
            tickChain(c.state, memory, c.area, &s.changes);
            for (int k = 0; k < s.changes.count; ++k) {
                const TickChanges::Pixel& p = s.changes.pixels[k];
                if (p.x >= 0 && p.y >= 0 && p.x < s.width && p.y < s.height)
                    addToRect(c.changed[p.point], p.x, p.y);
            }
        }
    }
    const Clock::time_point now = Clock::now();
    if (now - s.lastCopy < s.refresh) return;
    s.lastCopy = now;
    const int n = s.pixelSize;
    if (s.copyAll) {
        s.copyAll = false;
        SetStretchBltMode(window, COLORONCOLOR);
        show(window, memory, RECT{0, 0, s.width, s.height}, n);
        // The rows and columns the enlarged bitmap leaves over stay black.
        RECT client;
        GetClientRect(WindowFromDC(window), &client);
        HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        const RECT right{s.width * n, 0, client.right, client.bottom};
        const RECT below{0, s.height * n, s.width * n, client.bottom};
        if (!emptyRect(right)) FillRect(window, &right, black);
        if (!emptyRect(below)) FillRect(window, &below, black);
        for (int i = 0; i < s.chainCount; ++i)
            for (RECT& r : s.chains[i].changed)
                r = RECT{};
        return;
    }
    for (int i = 0; i < s.chainCount; ++i) {
        // Runs of consecutive points, each copied once it would no longer stay dense.
        RECT run{};
        long long added = 0;
        for (RECT& box : s.chains[i].changed) {
            const RECT joined = unite(run, box);
            if (areaOf(joined) > 2 * (added + areaOf(box)) + kRunSlack) {
                show(window, memory, run, n);
                run = box;
                added = areaOf(box);
            } else {
                run = joined;
                added += areaOf(box);
            }
            box = RECT{};
        }
        if (!emptyRect(run)) show(window, memory, run, n);
    }
}

HWND makeWindow(HINSTANCE instance, const SaverArgs& args) {
    switch (args.mode) {
    case SaverMode::FullScreen:
        return CreateWindowExA(
            WS_EX_TOPMOST, kClassName, kTitle, WS_POPUP, GetSystemMetrics(SM_XVIRTUALSCREEN),
            GetSystemMetrics(SM_YVIRTUALSCREEN), GetSystemMetrics(SM_CXVIRTUALSCREEN),
            GetSystemMetrics(SM_CYVIRTUALSCREEN), NULL, NULL, instance, NULL);
    case SaverMode::Preview: {
        RECT area;
        if (!GetClientRect(args.parent, &area)) return NULL;
        return CreateWindowExA(0, kClassName, kTitle, WS_CHILD, 0, 0, area.right, area.bottom,
                               args.parent, NULL, instance, NULL);
    }
    default: {
        RECT frame{0, 0, 800, 600}; // the client area; the frame goes around it
        AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
        return CreateWindowExA(0, kClassName, kTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                               CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top,
                               NULL, NULL, instance, NULL);
    }
    }
}

} // namespace

LRESULT CALLBACK SaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Saver* s = saverOf(window);
    // Windows sends a few messages while the window is being made, before the
    // saver is known: they need nothing of it.
    if (!s) {
        if (message == WM_DESTROY) PostQuitMessage(0);
        return DefWindowProcA(window, message, wParam, lParam);
    }
    const bool fullScreen = s->mode == SaverMode::FullScreen;
    switch (message) {
    case WM_CLOSE:
    case WM_DESTROY: // its own window closed, or a preview's parent gone
        PostQuitMessage(0);
        return 0;
    case WM_PAINT:
        validateWindow(window);
        s->copyAll = true; // what was uncovered comes back with the next copy
        return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (fullScreen || (s->mode == SaverMode::Window && wParam == VK_ESCAPE)) {
            PostQuitMessage(0);
            return 0;
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        if (fullScreen) PostQuitMessage(0);
        return 0;
    case WM_MOUSEMOVE:
        if (fullScreen) {
            POINT at;
            GetCursorPos(&at);
            const bool strayed = std::labs(long(at.x) - s->start.x) > kMouseSlack ||
                                 std::labs(long(at.y) - s->start.y) > kMouseSlack;
            if (!s->firstMove && strayed) PostQuitMessage(0);
            // The first move says where the pointer is (a window system may not
            // have said before): the drift counts from there.
            if (s->firstMove) s->start = at;
            s->firstMove = false;
        }
        return 0;
    case WM_DISPLAYCHANGE: // monitors came or went: the desktop is covered as it is now
        if (fullScreen)
            SetWindowPos(window, HWND_TOPMOST, GetSystemMetrics(SM_XVIRTUALSCREEN),
                         GetSystemMetrics(SM_YVIRTUALSCREEN), GetSystemMetrics(SM_CXVIRTUALSCREEN),
                         GetSystemMetrics(SM_CYVIRTUALSCREEN), SWP_NOACTIVATE);
        return 0;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int runSaver(HINSTANCE instance, const SaverArgs& args, const SaverSettings& settings) {
    switch (args.mode) {
    case SaverMode::Invalid:
    case SaverMode::Configure: // the settings dialog is each system's own
        return 2;
    case SaverMode::Preview:
        if (!IsWindow(args.parent)) return 1;
        break;
    default:
        break;
    }
    Saver s;
    s.mode = args.mode;
    registerWindowClass(instance, kClassName, SaverProc);
    HWND window = makeWindow(instance, args);
    if (!window) {
        UnregisterClassA(kClassName, instance);
        return 1;
    }
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&s));
    RECT client;
    GetClientRect(window, &client);
    s.pixelSize = pixelSizeFor(settings.pixelSize, client.bottom);
    const unsigned refresh = refreshDelay();
    s.refresh = std::chrono::microseconds(refresh);
    // The program's picture comes whatever the pace: frames are only shown at
    // most once per refresh. Delay 0 is the program's own loop.
    const unsigned delay = settings.pace();
    s.ticks = delay != 0 && !settings.feathered;
    if (args.mode == SaverMode::FullScreen) {
        GetCursorPos(&s.start);
        ShowCursor(FALSE);
    }
    FrameLoop loop;
    loop.delay = s.ticks ? std::max(delay, refresh) : delay;
    loop.pixelSize = s.pixelSize;
    loop.followSize = true;
    loop.restWhileUnseen = true; // a covered wallpaper costs nothing
    loop.context = &s;
    loop.start = start;
    loop.step = step;
    loop.reshape = reshape;
    const int quitCode = runFrames(window, SW_SHOW, loop);
    // The window outlives the run (a preview's parent may keep it): it forgets the saver.
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    UnregisterClassA(kClassName, instance);
    return quitCode;
}
