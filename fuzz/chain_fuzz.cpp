// The chain stepped with arbitrary frame times (NaN, infinities, huge, negative
// and zero), resolutions and Enter presses: positions stay finite and the fade
// never writes outside the bitmap.

#include "anim/chain.h"
#include "app/resolution.h"
#include "platform/host/input.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    static const int sizes[5][2] = {{320, 240}, {640, 480}, {800, 600}, {1024, 768}, {1280, 1024}};
    const int r = data[0] % 5;
    workRes(false, sizes[r][0], sizes[r][1]);
    std::srand(data[1]);
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bmp = CreateCompatibleBitmap(dc, 64, 48); // smaller than the screen: points go off it
    HGDIOBJ old = SelectObject(dc, bmp);
    ChainState s;
    bool negative = false; // a negative frame time is the caller's own doing: no promise after it
    for (std::size_t i = 2; i + 4 <= size; i += 5) {
        float dt;
        std::memcpy(&dt, data + i, sizeof dt);
        tess::host::setKeyDown(VK_RETURN, i + 4 < size && (data[i + 4] & 1));
        stepChain(s, dc, dt);
        negative = negative || dt < 0;
        for (const vec2& p : s.a) {
            if (!negative && !(std::isfinite(p.x) && std::isfinite(p.y))) std::abort();
        }
    }
    tess::host::setKeyDown(VK_RETURN, false);
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
    return 0;
}
