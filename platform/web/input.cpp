// DOM key codes to virtual keys.

#include "platform/web/input.h"

#include "platform/win32.h"

#include <cstdlib>
#include <cstring>

namespace tess::web {
namespace {

struct NamedKey {
    const char* code;
    int virtualKey;
};

constexpr NamedKey kNamedKeys[] = {
    {"Enter", VK_RETURN},
    {"NumpadEnter", VK_RETURN},
    {"Escape", VK_ESCAPE},
    {"Space", VK_SPACE},
    {"Backspace", VK_BACK},
    {"Tab", VK_TAB},
    {"ArrowLeft", VK_LEFT},
    {"ArrowUp", VK_UP},
    {"ArrowRight", VK_RIGHT},
    {"ArrowDown", VK_DOWN},
    {"PageUp", 0x21},
    {"PageDown", 0x22},
    {"End", 0x23},
    {"Home", 0x24},
    {"Insert", 0x2D},
    {"Delete", 0x2E},
    {"ShiftLeft", VK_LSHIFT},
    {"ShiftRight", VK_RSHIFT},
    {"ControlLeft", VK_LCONTROL},
    {"ControlRight", VK_RCONTROL},
    {"AltLeft", VK_LMENU},
    {"AltRight", VK_RMENU},
};

// The number after `prefix` in `code` when it is within [low, high], else -1.
int numberAfter(const char* code, const char* prefix, int low, int high) {
    const std::size_t n = std::strlen(prefix);
    if (std::strncmp(code, prefix, n) != 0 || code[n] < '0' || code[n] > '9') return -1;
    char* end = nullptr;
    const long v = std::strtol(code + n, &end, 10);
    return (*end == '\0' && v >= low && v <= high) ? int(v) : -1;
}

} // namespace

int virtualKeyOf(const char* code) {
    if (!code) return 0;
    // "KeyA".."KeyZ": the letter's code, as on Windows.
    if (std::strncmp(code, "Key", 3) == 0 && code[3] >= 'A' && code[3] <= 'Z' && !code[4])
        return code[3];
    if (int d = numberAfter(code, "Digit", 0, 9); d >= 0) return '0' + d;
    if (int d = numberAfter(code, "Numpad", 0, 9); d >= 0) return 0x60 + d;
    if (int f = numberAfter(code, "F", 1, 24); f >= 0) return 0x70 + f - 1;
    for (const NamedKey& k : kNamedKeys)
        if (std::strcmp(code, k.code) == 0) return k.virtualKey;
    return 0;
}

} // namespace tess::web
