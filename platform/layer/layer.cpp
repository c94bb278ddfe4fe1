// The layer-shell driver: the desktop's own layers on a Wayland compositor that
// offers wlr-layer-shell (sway and the other wlroots compositors, KDE Plasma).
// A window of the program is an overlay over every output, above everything,
// with the keyboard (a screen locker's place); the root window (adopted as id
// 0) is the background of every output, under every window, taking no input (a
// live wallpaper). Each output shows its part of the window from a buffer of
// its own (wl_shm), at the output's scale. Presents are paced by the host's
// clock; frame callbacks only say whether anyone sees a surface: none come for
// a hidden one, which then draws nothing. Outputs that come get surfaces at
// once; a surface the compositor closes ends an overlay (a close request) and
// leaves a background's output black. Never an idle inhibitor.

#include "platform/layer/layer.h"
#include "platform/posix/signals.h"
#include "platform/win32.h"

#include <wayland-client.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <poll.h>
#include <sys/mman.h>
#include <unistd.h>

// After everything it could include: the protocol names an argument "namespace".
#define namespace namespace_
#include "wlr-layer-shell-unstable-v1-client-protocol.h"
#undef namespace

namespace tess::layer {
namespace {

// A surface that asked for its frame and heard nothing this long is not seen.
constexpr double kUnseenAfter = 0.25;

double seconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

struct Output {
    std::uint32_t global = 0;
    wl_output* output = nullptr;
    std::string name;
    int x = 0, y = 0;          // in the compositor's space (logical pixels)
    int width = 0, height = 0; // the mode, in physical pixels
    int refresh = 60000;       // mHz
    int scale = 1;
    bool done = false; // its description is complete
};

struct Window;

// One shm buffer of a piece, and what of the picture it lacks.
struct Buffer {
    wl_buffer* buffer = nullptr;
    std::uint32_t* pixels = nullptr;
    std::size_t bytes = 0;
    bool busy = false; // the compositor holds it
    DirtyRegion stale; // shown on the other buffer since this one was drawn
};

// A window's surface on one output.
struct Piece {
    Window* window = nullptr;
    std::uint32_t outputGlobal = 0;
    wl_surface* surface = nullptr;
    zwlr_layer_surface_v1* layer = nullptr;
    int width = 0, height = 0;    // physical pixels, once configured
    int offsetX = 0, offsetY = 0; // its corner in the window
    Buffer buffers[2];
    DirtyRegion pending; // presented, not yet drawn into a buffer and committed
    wl_callback* frame = nullptr;
    double asked = 0; // when the outstanding frame was asked for
    bool seen = true;
};

struct Window {
    bool background = false; // the adopted root window, under every window
    Area frame;              // on the desktop, in physical pixels
    std::vector<std::unique_ptr<Piece>> pieces;
};

struct State {
    wl_display* display = nullptr;
    wl_registry* registry = nullptr;
    wl_compositor* compositor = nullptr;
    wl_shm* shm = nullptr;
    zwlr_layer_shell_v1* shell = nullptr;
    wl_seat* seat = nullptr;
    wl_keyboard* keyboard = nullptr;
    wl_pointer* pointer = nullptr;
    std::vector<std::unique_ptr<Output>> outputs;
    std::vector<std::unique_ptr<Window>> windows;
    std::vector<DriverEvent> pending;
    bool monitorsChanged = false;
    Piece* pointerOn = nullptr;
    std::uint32_t enterSerial = 0; // of the pointer's last entry, for its cursor
    bool cursorHidden = false;
    std::string socket;
    double lastRead = -1e300; // when the connection was last read
    ScaleScratch scratch;
};

std::unique_ptr<State>& slot() {
    static std::unique_ptr<State> s; // while the driver runs
    return s;
}

State& state() {
    return *slot();
}

DriverWindow* handleOf(Window* w) {
    return reinterpret_cast<DriverWindow*>(w);
}

Window* windowOf(DriverWindow* w) {
    if (!slot() || !w) return nullptr;
    for (auto& x : state().windows)
        if (handleOf(x.get()) == w) return x.get();
    return nullptr;
}

void queue(DriverEvent::Kind kind, Window* w, int x = 0, int y = 0) {
    DriverEvent e;
    e.kind = kind;
    e.window = w ? handleOf(w) : nullptr;
    e.x = x;
    e.y = y;
    state().pending.push_back(e);
}

[[noreturn]] void lost() {
    const std::string what = "the Wayland compositor at '" + state().socket + "'";
    posix::connectionLost(what.c_str());
}

// Sends what was asked, ending the program with one line when the compositor is gone.
void flush() {
    if (wl_display_flush(state().display) < 0 && errno != EAGAIN) lost();
}

Output* outputOf(std::uint32_t global) {
    for (auto& o : state().outputs)
        if (o->global == global) return o.get();
    return nullptr;
}

// Where an output lies on the desktop, in physical pixels.
Area areaOf(const Output& o) {
    return Area{o.x * o.scale, o.y * o.scale, o.width, o.height};
}

// ---- Outputs --------------------------------------------------------------------------------

void onGeometry(void* data, wl_output*, std::int32_t x, std::int32_t y, std::int32_t, std::int32_t,
                std::int32_t, const char*, const char*, std::int32_t) {
    auto* o = static_cast<Output*>(data);
    o->x = x;
    o->y = y;
}

void onMode(void* data, wl_output*, std::uint32_t flags, std::int32_t width, std::int32_t height,
            std::int32_t refresh) {
    auto* o = static_cast<Output*>(data);
    if (!(flags & WL_OUTPUT_MODE_CURRENT)) return;
    o->width = width;
    o->height = height;
    if (refresh > 0) o->refresh = refresh;
}

void createPiece(Window& w, Output& o);

void onDone(void* data, wl_output*) {
    auto* o = static_cast<Output*>(data);
    const bool first = !o->done;
    o->done = true;
    state().monitorsChanged = true;
    // A new output gets its surface in every window at once.
    if (first)
        for (auto& w : state().windows)
            createPiece(*w, *o);
}

void onScale(void* data, wl_output*, std::int32_t factor) {
    static_cast<Output*>(data)->scale = factor > 0 ? factor : 1;
}

void onName(void* data, wl_output*, const char* name) {
    static_cast<Output*>(data)->name = name;
}

void onDescription(void*, wl_output*, const char*) {}

wl_output_listener outputListener() {
    wl_output_listener l{};
    l.geometry = onGeometry;
    l.mode = onMode;
    l.done = onDone;
    l.scale = onScale;
    l.name = onName;
    l.description = onDescription;
    return l;
}
const wl_output_listener kOutputListener = outputListener();

// ---- Surfaces -------------------------------------------------------------------------------

void destroyBuffers(Piece& p) {
    for (Buffer& b : p.buffers) {
        if (b.buffer) wl_buffer_destroy(b.buffer);
        if (b.pixels) munmap(b.pixels, b.bytes);
        b = Buffer{};
    }
}

void destroyPiece(Piece& p) {
    destroyBuffers(p);
    if (p.frame) wl_callback_destroy(p.frame);
    if (p.layer) zwlr_layer_surface_v1_destroy(p.layer);
    if (p.surface) wl_surface_destroy(p.surface);
    p.frame = nullptr;
    p.layer = nullptr;
    p.surface = nullptr;
}

void onRelease(void* data, wl_buffer*) {
    static_cast<Buffer*>(data)->busy = false;
}

const wl_buffer_listener kBufferListener = {onRelease};

// Two shm buffers of the piece's size, from one anonymous file each.
bool makeBuffers(Piece& p) {
    destroyBuffers(p);
    const int stride = p.width * 4;
    for (Buffer& b : p.buffers) {
        b.bytes = std::size_t(stride) * std::size_t(p.height);
        const int fd = memfd_create("tessaline", MFD_CLOEXEC);
        if (fd < 0 || ftruncate(fd, off_t(b.bytes)) != 0) {
            if (fd >= 0) close(fd);
            return false;
        }
        void* map = mmap(nullptr, b.bytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        if (map == MAP_FAILED) {
            close(fd);
            return false;
        }
        b.pixels = static_cast<std::uint32_t*>(map);
        wl_shm_pool* pool = wl_shm_create_pool(state().shm, fd, int(b.bytes));
        b.buffer =
            wl_shm_pool_create_buffer(pool, 0, p.width, p.height, stride, WL_SHM_FORMAT_XRGB8888);
        wl_shm_pool_destroy(pool);
        close(fd);
        wl_buffer_add_listener(b.buffer, &kBufferListener, &b);
        b.stale.add(PixelRect{0, 0, p.width, p.height});
    }
    return true;
}

void onFrame(void* data, wl_callback* callback, std::uint32_t) {
    auto* p = static_cast<Piece*>(data);
    wl_callback_destroy(callback);
    p->frame = nullptr;
    if (!p->seen) {
        // Seen again: all of it, and a frame loop that slept for nobody wakes.
        p->seen = true;
        queue(DriverEvent::Exposed, p->window);
    }
    // What was presented meanwhile goes up with the next present, drawn from the
    // picture as it is by then.
}

const wl_callback_listener kFrameListener = {onFrame};

// Draws what a free buffer lacks of the picture straight from the window's
// surface (no copy of its own kept), and shows it: the pending rectangles as
// damage, the rest as what the other buffer showed since this one was drawn.
void commit(Piece& p, const Surface& surface, const Placement& placement) {
    if (!p.layer || p.frame || p.width <= 0 || p.pending.empty()) return;
    Buffer* b = !p.buffers[0].busy ? &p.buffers[0] : !p.buffers[1].busy ? &p.buffers[1] : nullptr;
    if (!b) return;
    Buffer& other = b == &p.buffers[0] ? p.buffers[1] : p.buffers[0];
    Placement here = placement;
    here.offsetX -= p.offsetX;
    here.offsetY -= p.offsetY;
    here.targetW = p.width;
    here.targetH = p.height;
    Target t{b->pixels, p.width * 4, p.width, p.height, PixelLayout{4, 16, 8, 0, 0, 0, 0, 0}};
    for (const PixelRect& r : p.pending)
        b->stale.add(r);
    for (const PixelRect& r : b->stale)
        scaleInto(surface, here, r, t, state().scratch);
    b->stale.clear();
    for (const PixelRect& r : p.pending) {
        other.stale.add(r);
        wl_surface_damage_buffer(p.surface, r.x0, r.y0, r.x1 - r.x0, r.y1 - r.y0);
    }
    p.pending.clear();
    wl_surface_attach(p.surface, b->buffer, 0, 0);
    b->busy = true;
    p.frame = wl_surface_frame(p.surface);
    wl_callback_add_listener(p.frame, &kFrameListener, &p);
    p.asked = seconds();
    wl_surface_commit(p.surface);
}

void onConfigure(void* data, zwlr_layer_surface_v1* layer, std::uint32_t serial,
                 std::uint32_t width, std::uint32_t height) {
    auto* p = static_cast<Piece*>(data);
    zwlr_layer_surface_v1_ack_configure(layer, serial);
    const Output* o = outputOf(p->outputGlobal);
    const int scale = o ? o->scale : 1;
    const int w = int(width) * scale, h = int(height) * scale;
    if (w == p->width && h == p->height) return;
    p->width = w;
    p->height = h;
    wl_surface_set_buffer_scale(p->surface, scale);
    if (!makeBuffers(*p)) lost();
    // A new size: the window's whole picture goes up again, at its next present.
    p->pending.add(PixelRect{0, 0, w, h});
    queue(DriverEvent::Exposed, p->window);
}

void onClosed(void* data, zwlr_layer_surface_v1*) {
    auto* p = static_cast<Piece*>(data);
    Window& w = *p->window;
    // An overlay that loses its place is asked to close; a background leaves
    // that output as the compositor has it.
    if (!w.background) queue(DriverEvent::Close, &w);
    destroyPiece(*p);
}

const zwlr_layer_surface_v1_listener kLayerListener = {onConfigure, onClosed};

void createPiece(Window& w, Output& o) {
    if (!o.done) return;
    auto p = std::make_unique<Piece>();
    p->window = &w;
    p->outputGlobal = o.global;
    const Area a = areaOf(o);
    p->offsetX = a.x - w.frame.x;
    p->offsetY = a.y - w.frame.y;
    p->surface = wl_compositor_create_surface(state().compositor);
    p->layer = zwlr_layer_shell_v1_get_layer_surface(
        state().shell, p->surface, o.output,
        w.background ? ZWLR_LAYER_SHELL_V1_LAYER_BACKGROUND : ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY,
        "tessaline");
    zwlr_layer_surface_v1_set_anchor(
        p->layer, ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM |
                      ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT | ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT);
    zwlr_layer_surface_v1_set_size(p->layer, 0, 0);         // the whole output
    zwlr_layer_surface_v1_set_exclusive_zone(p->layer, -1); // over panels too
    zwlr_layer_surface_v1_set_keyboard_interactivity(
        p->layer, w.background ? ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_NONE
                               : ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_EXCLUSIVE);
    if (w.background) {
        wl_region* nothing = wl_compositor_create_region(state().compositor);
        wl_surface_set_input_region(p->surface, nothing); // the pointer passes through
        wl_region_destroy(nothing);
    }
    zwlr_layer_surface_v1_add_listener(p->layer, &kLayerListener, p.get());
    wl_surface_commit(p->surface); // asks for the first configure
    w.pieces.push_back(std::move(p));
    flush();
}

// The whole desktop, in physical pixels: every output's area.
Area desktop() {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    bool any = false;
    for (auto& o : state().outputs) {
        if (!o->done) continue;
        const Area a = areaOf(*o);
        x0 = any ? std::min(x0, a.x) : a.x;
        y0 = any ? std::min(y0, a.y) : a.y;
        x1 = any ? std::max(x1, a.x + a.w) : a.x + a.w;
        y1 = any ? std::max(y1, a.y + a.h) : a.y + a.h;
        any = true;
    }
    return Area{x0, y0, x1 - x0, y1 - y0};
}

// Each output's part of the window where the window is now, shown anew.
void placePieces(Window& w) {
    for (auto& p : w.pieces) {
        const Output* o = outputOf(p->outputGlobal);
        if (!o) continue;
        p->offsetX = areaOf(*o).x - w.frame.x;
        p->offsetY = areaOf(*o).y - w.frame.y;
    }
    queue(DriverEvent::Exposed, &w);
}

Window* makeWindow(bool background, const Area& frame) {
    auto w = std::make_unique<Window>();
    w->background = background;
    w->frame = frame;
    for (auto& o : state().outputs)
        createPiece(*w, *o);
    state().windows.push_back(std::move(w));
    return state().windows.back().get();
}

// ---- Input ----------------------------------------------------------------------------------

// The virtual-key code of a Linux input key code, or 0 for one the program cannot name.
int virtualKeyOf(std::uint32_t key) {
    static constexpr struct {
        std::uint32_t key;
        int vk;
    } kKeys[] = {{1, VK_ESCAPE},    {14, VK_BACK},   {15, VK_TAB},    {28, VK_RETURN},
                 {57, VK_SPACE},    {42, VK_LSHIFT}, {54, VK_RSHIFT}, {29, VK_LCONTROL},
                 {97, VK_RCONTROL}, {56, VK_LMENU},  {100, VK_RMENU}, {103, VK_UP},
                 {105, VK_LEFT},    {106, VK_RIGHT}, {108, VK_DOWN},  {96, VK_RETURN}};
    for (const auto& k : kKeys)
        if (k.key == key) return k.vk;
    static const char kRows[][11] = {"1234567890", "QWERTYUIOP", "ASDFGHJKL", "ZXCVBNM"};
    static constexpr std::uint32_t kStarts[] = {2, 16, 30, 44};
    for (int r = 0; r < 4; ++r)
        if (key >= kStarts[r] && key < kStarts[r] + std::strlen(kRows[r]))
            return kRows[r][key - kStarts[r]];
    if (key >= 59 && key <= 68) return 0x70 + int(key - 59); // F1 to F10
    return 0;
}

Window* keyboardWindow() {
    for (auto& w : state().windows)
        if (!w->background) return w.get();
    return nullptr;
}

void onKeymap(void*, wl_keyboard*, std::uint32_t, std::int32_t fd, std::uint32_t) {
    close(fd); // keys are named by their codes
}
void onKeyboardEnter(void*, wl_keyboard*, std::uint32_t, wl_surface*, wl_array*) {}
void onKeyboardLeave(void*, wl_keyboard*, std::uint32_t, wl_surface*) {
    queue(DriverEvent::FocusLost, nullptr);
}
void onKey(void*, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t key,
           std::uint32_t pressed) {
    DriverEvent e;
    e.kind = DriverEvent::Key;
    e.window = handleOf(keyboardWindow());
    e.virtualKey = virtualKeyOf(key);
    e.down = pressed == WL_KEYBOARD_KEY_STATE_PRESSED;
    // A key the program cannot name still ends a saver: it comes as a key it can.
    if (!e.virtualKey) e.virtualKey = VK_SPACE;
    state().pending.push_back(e);
}
void onModifiers(void*, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t,
                 std::uint32_t) {}
void onRepeatInfo(void*, wl_keyboard*, std::int32_t, std::int32_t) {}

const wl_keyboard_listener kKeyboardListener = {onKeymap, onKeyboardEnter, onKeyboardLeave,
                                                onKey,    onModifiers,     onRepeatInfo};

Piece* pieceOf(wl_surface* surface) {
    for (auto& w : state().windows)
        for (auto& p : w->pieces)
            if (p->surface == surface) return p.get();
    return nullptr;
}

// The pointer at a point of a piece, as a point of its window.
void pointerAt(wl_fixed_t x, wl_fixed_t y) {
    Piece* p = state().pointerOn;
    if (!p) return;
    const Output* o = outputOf(p->outputGlobal);
    const int scale = o ? o->scale : 1;
    queue(DriverEvent::Pointer, p->window, p->offsetX + int(wl_fixed_to_double(x) * scale),
          p->offsetY + int(wl_fixed_to_double(y) * scale));
}

void onPointerEnter(void*, wl_pointer* pointer, std::uint32_t serial, wl_surface* surface,
                    wl_fixed_t x, wl_fixed_t y) {
    State& s = state();
    s.pointerOn = pieceOf(surface);
    s.enterSerial = serial;
    if (s.cursorHidden) wl_pointer_set_cursor(pointer, serial, nullptr, 0, 0);
    pointerAt(x, y);
}
void onPointerLeave(void*, wl_pointer*, std::uint32_t, wl_surface*) {
    state().pointerOn = nullptr;
}
void onMotion(void*, wl_pointer*, std::uint32_t, wl_fixed_t x, wl_fixed_t y) {
    pointerAt(x, y);
}
void onButton(void*, wl_pointer*, std::uint32_t, std::uint32_t, std::uint32_t button,
              std::uint32_t pressed) {
    Piece* p = state().pointerOn;
    if (!p || pressed != WL_POINTER_BUTTON_STATE_PRESSED) return;
    // Linux's BTN_LEFT, BTN_RIGHT and BTN_MIDDLE.
    const int which = button == 0x110 ? 1 : button == 0x112 ? 2 : button == 0x111 ? 3 : 0;
    if (which) queue(DriverEvent::Button, p->window, which);
}
void onAxis(void*, wl_pointer*, std::uint32_t, std::uint32_t, wl_fixed_t) {}
void onPointerFrame(void*, wl_pointer*) {}
void onAxisSource(void*, wl_pointer*, std::uint32_t) {}
void onAxisStop(void*, wl_pointer*, std::uint32_t, std::uint32_t) {}
void onAxisDiscrete(void*, wl_pointer*, std::uint32_t, std::int32_t) {}

// Built field by field: the listener grows with each libwayland release.
wl_pointer_listener pointerListener() {
    wl_pointer_listener l{};
    l.enter = onPointerEnter;
    l.leave = onPointerLeave;
    l.motion = onMotion;
    l.button = onButton;
    l.axis = onAxis;
    l.frame = onPointerFrame;
    l.axis_source = onAxisSource;
    l.axis_stop = onAxisStop;
    l.axis_discrete = onAxisDiscrete;
    return l;
}
const wl_pointer_listener kPointerListener = pointerListener();

void onCapabilities(void*, wl_seat* seat, std::uint32_t caps) {
    State& s = state();
    if ((caps & WL_SEAT_CAPABILITY_KEYBOARD) && !s.keyboard) {
        s.keyboard = wl_seat_get_keyboard(seat);
        wl_keyboard_add_listener(s.keyboard, &kKeyboardListener, nullptr);
    }
    if ((caps & WL_SEAT_CAPABILITY_POINTER) && !s.pointer) {
        s.pointer = wl_seat_get_pointer(seat);
        wl_pointer_add_listener(s.pointer, &kPointerListener, nullptr);
    }
}
void onSeatName(void*, wl_seat*, const char*) {}

const wl_seat_listener kSeatListener = {onCapabilities, onSeatName};

// ---- The registry ---------------------------------------------------------------------------

void releaseOutput(wl_output* output) {
    if (wl_output_get_version(output) >= WL_OUTPUT_RELEASE_SINCE_VERSION) {
        wl_output_release(output);
    } else {
        wl_output_destroy(output);
    }
}

void onGlobal(void*, wl_registry* registry, std::uint32_t global, const char* interface,
              std::uint32_t version) {
    State& s = state();
    auto bind = [&](const wl_interface* what, std::uint32_t most) {
        return wl_registry_bind(registry, global, what, std::min(version, most));
    };
    if (std::strcmp(interface, wl_compositor_interface.name) == 0) {
        s.compositor = static_cast<wl_compositor*>(bind(&wl_compositor_interface, 4));
    } else if (std::strcmp(interface, wl_shm_interface.name) == 0) {
        s.shm = static_cast<wl_shm*>(bind(&wl_shm_interface, 1));
    } else if (std::strcmp(interface, zwlr_layer_shell_v1_interface.name) == 0) {
        s.shell = static_cast<zwlr_layer_shell_v1*>(bind(&zwlr_layer_shell_v1_interface, 4));
    } else if (std::strcmp(interface, wl_seat_interface.name) == 0 && !s.seat) {
        s.seat = static_cast<wl_seat*>(bind(&wl_seat_interface, 5));
        wl_seat_add_listener(s.seat, &kSeatListener, nullptr);
    } else if (std::strcmp(interface, wl_output_interface.name) == 0) {
        auto o = std::make_unique<Output>();
        o->global = global;
        o->name = "output-" + std::to_string(global);
        o->output = static_cast<wl_output*>(bind(&wl_output_interface, 4));
        wl_output_add_listener(o->output, &kOutputListener, o.get());
        s.outputs.push_back(std::move(o));
    }
}

void onGlobalRemove(void*, wl_registry*, std::uint32_t global) {
    State& s = state();
    Output* o = outputOf(global);
    if (!o) return;
    // Its surfaces go with it.
    for (auto& w : s.windows) {
        auto& ps = w->pieces;
        for (auto it = ps.begin(); it != ps.end();) {
            if ((*it)->outputGlobal != global) {
                ++it;
                continue;
            }
            if (s.pointerOn == it->get()) s.pointerOn = nullptr;
            destroyPiece(**it);
            it = ps.erase(it);
        }
    }
    releaseOutput(o->output);
    s.outputs.erase(std::find_if(s.outputs.begin(), s.outputs.end(),
                                 [o](const std::unique_ptr<Output>& x) { return x.get() == o; }));
    s.monitorsChanged = true;
}

const wl_registry_listener kRegistryListener = {onGlobal, onGlobalRemove};

// Reads and handles what the compositor sent, without waiting.
void dispatch() {
    wl_display* d = state().display;
    while (wl_display_prepare_read(d) != 0)
        if (wl_display_dispatch_pending(d) < 0) lost();
    flush();
    pollfd fd{wl_display_get_fd(d), POLLIN, 0};
    if (poll(&fd, 1, 0) > 0) {
        if (wl_display_read_events(d) < 0) lost();
    } else {
        wl_display_cancel_read(d);
    }
    if (wl_display_dispatch_pending(d) < 0) lost();
}

// ---- The driver -----------------------------------------------------------------------------

struct Layer {
    static bool start(std::string& why) {
        posix::catchTerminationSignals();
        const char* name = std::getenv("WAYLAND_DISPLAY");
        const std::string socket = name && *name ? name : "wayland-0";
        wl_display* display = wl_display_connect(nullptr);
        if (!display) {
            why = "layer: no compositor at '" + socket + "'";
            return false;
        }
        slot() = std::make_unique<State>();
        State& s = state();
        s.display = display;
        s.socket = socket;
        s.registry = wl_display_get_registry(display);
        wl_registry_add_listener(s.registry, &kRegistryListener, nullptr);
        // The globals, then each output's description.
        if (wl_display_roundtrip(display) < 0 || wl_display_roundtrip(display) < 0) {
            why = "layer: the compositor at '" + socket + "' did not answer";
        } else if (!s.compositor || !s.shm) {
            why = "layer: the compositor at '" + socket + "' offers no surfaces to draw into";
        } else if (!s.shell) {
            why = "layer: the compositor at '" + socket +
                  "' offers no layer shell (zwlr_layer_shell_v1)";
        } else if (desktop().w <= 0) {
            why = "layer: the compositor at '" + socket + "' has no output";
        } else {
            s.monitorsChanged = false;
            return true;
        }
        stop();
        return false;
    }

    static void stop() {
        State& s = state();
        for (auto& w : s.windows)
            for (auto& p : w->pieces)
                destroyPiece(*p);
        if (s.keyboard) wl_keyboard_destroy(s.keyboard);
        if (s.pointer) wl_pointer_destroy(s.pointer);
        if (s.seat) wl_seat_destroy(s.seat);
        for (auto& o : s.outputs)
            releaseOutput(o->output);
        if (s.shell) zwlr_layer_shell_v1_destroy(s.shell);
        if (s.shm) wl_shm_destroy(s.shm);
        if (s.compositor) wl_compositor_destroy(s.compositor);
        if (s.registry) wl_registry_destroy(s.registry);
        wl_display_disconnect(s.display);
        slot().reset();
        posix::resetSignals();
    }

    static std::vector<Monitor> monitors() {
        std::vector<Monitor> out;
        for (auto& o : state().outputs)
            if (o->done) out.push_back(Monitor{o->name, areaOf(*o), 32, (o->refresh + 500) / 1000});
        return out;
    }

    static DriverWindow* createWindow(const WindowSpec& asked, std::string&) {
        return handleOf(makeWindow(false, asked.frame));
    }

    static void destroyWindow(DriverWindow* window) {
        State& s = state();
        for (auto it = s.windows.begin(); it != s.windows.end(); ++it) {
            if (handleOf(it->get()) != window) continue;
            for (auto& p : (*it)->pieces) {
                if (s.pointerOn == p.get()) s.pointerOn = nullptr;
                destroyPiece(*p);
            }
            s.windows.erase(it);
            flush();
            return;
        }
    }

    static void showWindow(DriverWindow*, bool, bool) {} // a layer is shown as it is made

    // A window covers what it is given of the outputs, all shown anew.
    static void placeWindow(DriverWindow* window, const Area& area, bool) {
        Window* w = windowOf(window);
        if (!w) return;
        w->frame = area;
        placePieces(*w);
    }

    static Area windowArea(DriverWindow* window) {
        const Window* w = windowOf(window);
        return w ? w->frame : Area{};
    }

    static bool seen(DriverWindow* window) {
        const Window* w = windowOf(window);
        if (!w) return false;
        for (const auto& p : w->pieces)
            if (p->seen) return true;
        return false;
    }

    static void drawableSize(DriverWindow* window, int& width, int& height) {
        const Window* w = windowOf(window);
        width = w ? w->frame.w : 0;
        height = w ? w->frame.h : 0;
    }

    // Each output's part of the rectangles, drawn into its free buffer and
    // shown, or kept for the next present while its last frame is not done.
    static void present(DriverWindow* window, const Surface& surface, const Placement& placement,
                        const PixelRect* rects, int count) {
        Window* w = windowOf(window);
        if (!w) return;
        for (auto& piece : w->pieces) {
            Piece& p = *piece;
            if (p.width <= 0) continue;
            for (int i = 0; i < count; ++i) {
                const PixelRect r{std::max(rects[i].x0 - p.offsetX, 0),
                                  std::max(rects[i].y0 - p.offsetY, 0),
                                  std::min(rects[i].x1 - p.offsetX, p.width),
                                  std::min(rects[i].y1 - p.offsetY, p.height)};
                if (!r.empty()) p.pending.add(r);
            }
            commit(p, surface, placement);
        }
        flush();
    }
    // The root window is the desktop's background, on every output.
    static DriverWindow* adopt(unsigned long id) {
        if (id != 0) return nullptr;
        for (auto& w : state().windows)
            if (w->background) return handleOf(w.get());
        return handleOf(makeWindow(true, desktop()));
    }

    static void release(DriverWindow* adopted) { destroyWindow(adopted); }

    static void pump(bool woken, std::vector<DriverEvent>& out) {
        State& s = state();
        const double now = seconds();
        // Reading the connection is a system call, and the loop peeks tens of
        // thousands of times a second: once a millisecond is soon enough.
        if (woken || now - s.lastRead >= 0.001) {
            s.lastRead = now;
            dispatch();
        } else if (wl_display_dispatch_pending(s.display) < 0) {
            lost();
        }
        for (auto& w : s.windows)
            for (auto& p : w->pieces)
                if (p->frame && p->seen && now - p->asked > kUnseenAfter) p->seen = false;
        if (s.monitorsChanged) {
            s.monitorsChanged = false;
            out.push_back(DriverEvent{DriverEvent::MonitorsChanged});
            // The background covers the desktop as it is now; a window of the
            // program covers what its program makes it cover.
            const Area all = desktop();
            for (auto& w : s.windows) {
                placePieces(*w);
                const Area& f = w->frame;
                if (!w->background ||
                    (f.x == all.x && f.y == all.y && f.w == all.w && f.h == all.h))
                    continue;
                w->frame = all;
                placePieces(*w);
                queue(DriverEvent::Resized, w.get());
            }
        }
        out.insert(out.end(), s.pending.begin(), s.pending.end());
        s.pending.clear();
        if (posix::takeTerminationRequest()) out.push_back(DriverEvent{DriverEvent::Terminate});
    }

    static bool wait(double seconds, bool) {
        State& s = state();
        if (!s.pending.empty()) return true;
        flush();
        pollfd fds[2] = {{wl_display_get_fd(s.display), POLLIN, 0},
                         {posix::terminationFd(), POLLIN, 0}};
        const int ms = std::max(1, int(std::ceil(seconds * 1000)));
        const int n = poll(fds, fds[1].fd >= 0 ? 2 : 1, std::min(ms, 86400000));
        if (n > 0 && (fds[1].revents & POLLIN)) posix::drainTerminationWake();
        return n > 0;
    }

    static constexpr bool kPacedByFrames = false;
    // Hidden over the program's surfaces from now on; shown again, the
    // compositor's own cursor comes back where the pointer goes next.
    static void showCursor(bool shown) {
        State& s = state();
        s.cursorHidden = !shown;
        if (!shown && s.pointer && s.pointerOn)
            wl_pointer_set_cursor(s.pointer, s.enterSerial, nullptr, 0, 0);
    }
    static bool cursorIn(DriverWindow*, int&, int&) { return false; }
    static bool messageBox(DriverWindow*, const char*, const char*) { return false; }
    static constexpr auto terminationSignal = posix::terminationSignal;
    static constexpr std::string (*setting)(const char*) = nullptr;
    static constexpr void (*ended)(int) = nullptr;
};

} // namespace

extern const Driver kLayer = [] {
    Driver d = driverTable<Layer>("layer");
    d.layers = true;
    return d;
}();

} // namespace tess::layer
