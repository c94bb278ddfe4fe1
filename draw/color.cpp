// The persistent pen and brush: function-local state, brush handled before pen.

#include "draw/color.h"

void setColor(HDC hdc, unsigned long penColor, unsigned long brushColor, bool release) {
    static bool init = true;      // no pair made yet
    static bool held = false;     // the pair is selected; false once endColor deleted it
    static HBRUSH hBr = nullptr;  // the persistent brush
    static HGDIOBJ oBr = nullptr; // the brush it replaced
    static HPEN hPn = nullptr;    // the persistent pen
    static HGDIOBJ oPn = nullptr; // the pen it replaced

    if (!init && held) {
        SelectObject(hdc, oBr);
        DeleteObject(hBr);
        SelectObject(hdc, oPn);
        DeleteObject(hPn);
        held = false; // hBr and hPn now name deleted objects: never select or delete them again
    }
    if (!init && release) return; // the first call creates a pair even when asked to release

    hBr = CreateSolidBrush(static_cast<COLORREF>(brushColor));
    oBr = SelectObject(hdc, hBr);
    hPn = CreatePen(PS_SOLID, 1, static_cast<COLORREF>(penColor));
    oPn = SelectObject(hdc, hPn);
    init = false;
    held = true;
}

void setColor(HDC hdc, unsigned long penColor, unsigned long brushColor) {
    setColor(hdc, penColor, brushColor, false);
}

void endColor(HDC hdc) {
    setColor(hdc, 0, 0, true);
}
