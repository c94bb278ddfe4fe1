// Draws with the installed toolkit into a memory bitmap and reads pixels back:
// a filled square with its outline, and a filled circle with its rim. Prints
// each pixel that differs and exits 1, or exits 0.

#include <tessaline/draw/poly.h>
#include <tessaline/draw/shapes.h>
#include <tessaline/platform/win32.h>

#include <cstdio>

int main() {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 40, 30);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    HBRUSH black = CreateSolidBrush(0);
    RECT all{0, 0, 40, 30};
    FillRect(dc, &all, black);
    DeleteObject(black);

    const COLORREF red = RGB(255, 0, 0), blue = RGB(0, 0, 255);
    const COLORREF green = RGB(0, 255, 0), yellow = RGB(255, 255, 0);
    vec2 square[] = {vec2(2, 2), vec2(14, 2), vec2(14, 14), vec2(2, 14)};
    drawPoly(dc, square, 4, red, blue);
    drawCirc(dc, vec2(28.5, 15.5), 8, green, yellow); // box (20, 7) - (36, 23)

    const struct {
        int x, y;
        COLORREF want;
        const char* what;
    } checks[] = {
        {8, 2, red, "square's top edge"},      {2, 8, red, "square's left edge"},
        {8, 8, blue, "square's inside"},       {28, 15, yellow, "circle's inside"},
        {20, 15, green, "circle's left rim"},  {0, 0, 0, "corner left black"},
        {17, 15, 0, "between the two shapes"}, {38, 28, 0, "far corner left black"},
    };
    int bad = 0;
    for (const auto& c : checks) {
        const COLORREF got = GetPixel(dc, c.x, c.y);
        if (got != c.want) {
            std::printf("(%d, %d) %s: 0x%06x, not 0x%06x\n", c.x, c.y, c.what, unsigned(got),
                        unsigned(c.want));
            ++bad;
        }
    }

    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    if (bad) return 1;
    std::printf("consumer: %d pixels as drawn\n", int(sizeof checks / sizeof checks[0]));
    return 0;
}
