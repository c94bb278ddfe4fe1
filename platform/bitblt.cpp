// Block copy between device contexts (SRCCOPY only: the program needs no other).

#include "platform/host.h"
#include "platform/objects.h"
#include "platform/win32.h"

#include <algorithm>
#include <cstring>

using namespace tess;

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY, DWORD rop) {
    gdi::DcObj* dd = gdi::dc(dest);
    gdi::DcObj* sd = gdi::dc(src);
    if (!dd || !sd || rop != SRCCOPY) return FALSE;
    Surface* to = gdi::target(*dd);
    Surface* from = gdi::target(*sd);
    if (!to || !from || width <= 0 || height <= 0) return TRUE;

    // Clip in 64 bits: origins and sizes may each be anywhere in the int range.
    long long dx0 = x, dy0 = y, sx0 = srcX, sy0 = srcY, w = width, h = height;
    auto clipStart = [&](long long& d0, long long& s0, long long& len) {
        const long long cut = std::max({0LL, -d0, -s0});
        d0 += cut;
        s0 += cut;
        len -= cut;
    };
    clipStart(dx0, sx0, w);
    clipStart(dy0, sy0, h);
    w = std::min({w, to->width - dx0, from->width - sx0});
    h = std::min({h, to->height - dy0, from->height - sy0});
    if (w <= 0 || h <= 0) return TRUE;

    for (long long row = 0; row < h; ++row) {
        std::uint32_t* out = &to->at(int(dx0), int(dy0 + row));
        const std::uint32_t* in = &from->at(int(sx0), int(sy0 + row));
        std::memmove(out, in, std::size_t(w) * sizeof(std::uint32_t));
    }
    const PixelRect region{int(dx0), int(dy0), int(dx0 + w), int(dy0 + h)};
    to->touch(region);
    if (dd->kind == gdi::DcKind::Window && windowHost().blitted) {
        windowHost().blitted(dd->window, region);
    }
    return TRUE;
}
