// Reading the screensaver's command lines.

#include "app/saver_args.h"

#include "app/command_tail.h"

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

bool parseWindowId(const char* s, unsigned long& id) {
    unsigned long long v = 0;
    const bool hex = s[0] == '0' && (s[1] == 'x' || s[1] == 'X');
    if (!parseNumber(hex ? s + 2 : s, hex ? 16 : 10, 0xFFFFFFFFull, v)) return false;
    id = static_cast<unsigned long>(v);
    return true;
}

} // namespace

int pixelSizeFor(int wanted, int height) {
    if (wanted >= 1 && wanted <= SaverSettings::kMaxPixelSize) return wanted;
    int best = 1;
    for (int n = 2; n <= SaverSettings::kMaxPixelSize; ++n) {
        // |height / n - 600| against the best's, without dividing: scaled by n * best.
        const long long mine = std::llabs(static_cast<long long>(height) - 600LL * n) * best;
        const long long theirs = std::llabs(static_cast<long long>(height) - 600LL * best) * n;
        if (mine < theirs) best = n;
    }
    return best;
}

SaverSettings settingsFromValues(const DWORD* delay, const DWORD* pixelSize,
                                 const DWORD* feathered) {
    SaverSettings s;
    if (delay && *delay <= SaverSettings::kMaxDelay) {
        s.delay = *delay;
        s.delayGiven = true;
    }
    if (pixelSize && *pixelSize <= DWORD(SaverSettings::kMaxPixelSize))
        s.pixelSize = int(*pixelSize);
    if (feathered && *feathered <= 1) s.feathered = *feathered == 1;
    return s;
}

SaverArgs parseSaverTail(const char* tail) {
    SaverArgs a;
    const char* s = tail ? tail : "";
    while (isBlank(*s))
        ++s;
    if (!*s) return a; // no argument: the settings, of which there are none
    a.mode = SaverMode::Invalid;
    if (*s != '/' && *s != '-') return a;
    const char letter = char(std::tolower(static_cast<unsigned char>(s[1])));
    if (letter != 's' && letter != 'p' && letter != 'c') return a;
    s += 2;
    if (*s && *s != ':' && !isBlank(*s)) return a; // "/save" is not "/s"
    if (*s == ':') ++s;
    while (isBlank(*s))
        ++s;
    std::string handle;
    while (*s && !isBlank(*s))
        handle += *s++;
    while (isBlank(*s))
        ++s;
    if (*s) return a; // more than one argument
    unsigned long long h = 0;
    const bool hasHandle = !handle.empty();
    if (hasHandle && !parseNumber(handle.c_str(), 10, UINTPTR_MAX, h)) return a;
    switch (letter) {
    case 's':
        if (hasHandle) return a;
        a.mode = SaverMode::FullScreen;
        break;
    case 'p':
        if (!hasHandle) return a;
        a.mode = SaverMode::Preview;
        break;
    default:
        a.mode = SaverMode::Configure;
    }
    a.parent = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(h));
    return a;
}

SaverTarget parseSaverOptions(int argc, const char* const* argv, const char* environmentWindow) {
    SaverTarget t;
    auto bad = [&t](std::string problem, int code) {
        t.kind = SaverTarget::Bad;
        t.problem = std::move(problem);
        t.exitCode = code;
        return t;
    };
    bool root = false, haveId = false;
    int layers = 0; // -overlay and -wallpaper given
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        const char* o = (arg[0] == '-' && arg[1] == '-') ? arg + 1 : arg; // one dash or two
        // An option with a value: -name VALUE or -name=VALUE; null when `o` is not it.
        const char* value = nullptr;
        bool missing = false;
        auto valueOf = [&](const char* name) {
            const std::size_t n = std::strlen(name);
            if (std::strncmp(o, name, n) != 0) return false;
            if (o[n] == '=') {
                value = o + n + 1;
            } else if (o[n] != '\0') {
                return false;
            } else if (i + 1 < argc) {
                value = argv[++i];
            } else {
                missing = true;
            }
            return true;
        };
        unsigned long long n = 0;
        if (std::strcmp(o, "-root") == 0) {
            root = true;
        } else if (std::strcmp(o, "-overlay") == 0 || std::strcmp(o, "-wallpaper") == 0) {
            t.kind = o[1] == 'o' ? SaverTarget::Overlay : SaverTarget::Wallpaper;
            ++layers;
        } else if (std::strcmp(o, "-feathered") == 0) {
            t.settings.feathered = true;
        } else if (valueOf("-window-id")) {
            if (missing) return bad("-window-id needs a window id", 2);
            if (!parseWindowId(value, t.windowId))
                return bad(std::string("'") + value + "' is not a window id", 2);
            haveId = true;
        } else if (valueOf("-delay")) {
            if (missing || !parseNumber(value, 10, SaverSettings::kMaxDelay, n))
                return bad(std::string("-delay takes microseconds, 0 to ") +
                               std::to_string(SaverSettings::kMaxDelay) +
                               (missing ? "" : std::string(", not '") + value + "'"),
                           2);
            t.settings.delay = unsigned(n);
            t.settings.delayGiven = true;
        } else if (valueOf("-pixel")) {
            if (!missing && std::strcmp(value, "auto") == 0) {
                t.settings.pixelSize = 0;
            } else if (missing || !parseNumber(value, 10, SaverSettings::kMaxPixelSize, n) ||
                       n < 1) {
                return bad(std::string("-pixel takes 1 to 8 or auto") +
                               (missing ? "" : std::string(", not '") + value + "'"),
                           2);
            } else {
                t.settings.pixelSize = int(n);
            }
        } else if (std::strcmp(o, "-help") == 0 || std::strcmp(o, "-h") == 0) {
            t.kind = SaverTarget::Help;
            return t;
        } else if (std::strcmp(o, "-version") == 0) {
            t.kind = SaverTarget::Version;
            return t;
        } else {
            return bad(std::string("unknown option '") + arg + "'", 2);
        }
    }
    // The desktop's layers are a place of their own: no window is named with them.
    if (layers > 1 || (layers == 1 && (root || haveId)))
        return bad("choose one of -root, -window-id, -overlay and -wallpaper", 2);
    if (layers == 1) {
        return t; // whatever a daemon put in the environment
    } else if (haveId) {
        t.kind = SaverTarget::ForeignWindow;
    } else if (environmentWindow && *environmentWindow) {
        if (!parseWindowId(environmentWindow, t.windowId))
            return bad(std::string("XSCREENSAVER_WINDOW '") + environmentWindow +
                           "' is not a window id",
                       1);
        t.kind = SaverTarget::ForeignWindow;
    } else {
        t.kind = root ? SaverTarget::RootWindow : SaverTarget::OwnWindow;
    }
    return t;
}
