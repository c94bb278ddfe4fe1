// Test helpers over a memory DC: what is selected, and the pixels as ASCII art
// ('.' black, a letter per known colour, '?' for any other).
#pragma once

#include "support/memory_dc.h"

#include "platform/win32.h"

#include <map>
#include <string>

// The pen or brush a DC holds, read by swapping a stock object in and back.
inline HGDIOBJ selectedPen(HDC dc) {
    HGDIOBJ current = SelectObject(dc, GetStockObject(NULL_PEN));
    SelectObject(dc, current);
    return current;
}
inline HGDIOBJ selectedBrush(HDC dc) {
    HGDIOBJ current = SelectObject(dc, GetStockObject(NULL_BRUSH));
    SelectObject(dc, current);
    return current;
}

// The DC's current position, read through MoveToEx's previous point.
inline POINT currentPosition(HDC dc) {
    POINT previous{0, 0};
    MoveToEx(dc, 0, 0, &previous);
    MoveToEx(dc, previous.x, previous.y, nullptr);
    return previous;
}

inline std::string picture(const MemoryDc& m, const std::map<COLORREF, char>& letters) {
    std::string s;
    for (int y = 0; y < m.height; ++y) {
        for (int x = 0; x < m.width; ++x) {
            const COLORREF c = m.at(x, y);
            const auto it = letters.find(c);
            s += c == 0 ? '.' : it == letters.end() ? '?' : it->second;
        }
        s += '\n';
    }
    return s;
}
