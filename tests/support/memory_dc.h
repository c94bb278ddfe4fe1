// A black memory bitmap to draw on, made the way the program makes its own,
// and released with everything it created.
#pragma once

#include "platform/win32.h"

struct MemoryDc {
    HDC screen = nullptr;
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ oldBitmap = nullptr;
    int width, height;

    MemoryDc(int w, int h) : width(w), height(h) {
        screen = GetDC(nullptr);
        dc = CreateCompatibleDC(screen);
        bitmap = CreateCompatibleBitmap(screen, w, h);
        oldBitmap = SelectObject(dc, bitmap);
        HBRUSH black = CreateSolidBrush(0);
        RECT all{0, 0, w, h};
        FillRect(dc, &all, black);
        DeleteObject(black);
    }
    ~MemoryDc() {
        SelectObject(dc, oldBitmap);
        DeleteObject(bitmap);
        DeleteDC(dc);
        ReleaseDC(nullptr, screen);
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;

    COLORREF at(int x, int y) const { return GetPixel(dc, x, y); }
    // The whole bitmap copied into a window, as the frame loop copies it.
    void copyTo(HWND window) const {
        HDC target = GetDC(window);
        BitBlt(target, 0, 0, width, height, dc, 0, 0, SRCCOPY);
        ReleaseDC(window, target);
    }
    int countNonBlack() const {
        int n = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                n += at(x, y) != 0;
        return n;
    }
};
