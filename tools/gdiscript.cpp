// gdiscript: runs a drawing script (file argument or standard input) against a
// memory device context and prints what it reads back. The same source builds
// against our software device context and against a real GDI, so the two can
// be compared byte for byte. On a real GDI a faulting or overlong call ends
// the run with "crash N" or "hang N"; ours has neither.

#include "gdiscript_host.h"
#include "platform/win32.h"

#include <cerrno>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

// ---- Numbers --------------------------------------------------------------------------------

// Decimal in the 32-bit signed range, or hex up to 0xFFFFFFFF read as its
// two's-complement pattern; an optional sign applies to either.
bool parseInt(const std::string& t, std::int32_t& out) {
    std::size_t i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
    bool hex = false;
    if (i + 1 < t.size() && t[i] == '0' && (t[i + 1] == 'x' || t[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    if (i >= t.size()) return false;
    std::uint64_t v = 0;
    for (; i < t.size(); ++i) {
        const char c = t[i];
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (hex && c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (hex && c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            return false;
        v = v * (hex ? 16 : 10) + std::uint64_t(d);
        if (v > 0xFFFFFFFFull) return false; // stops long digit strings from overflowing
    }
    if (hex && !negative) {
        out = std::int32_t(std::uint32_t(v)); // 0x80000000.. wrap to negatives on purpose
        return true;
    }
    const std::int64_t s = negative ? -std::int64_t(v) : std::int64_t(v);
    if (s < INT32_MIN || s > INT32_MAX) return false;
    out = std::int32_t(s);
    return true;
}

bool parseColour(const std::string& t, COLORREF& out) {
    std::int32_t v;
    if (!parseInt(t, v) || v < 0 || v > 0xFFFFFF) return false;
    out = COLORREF(v);
    return true;
}

// ---- The device context under test ----------------------------------------------------------

struct Canvas {
    HDC screen = nullptr;
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ oldBitmap = nullptr;
    HGDIOBJ oldPen = nullptr;   // what the DC held before the script's first pen
    HGDIOBJ oldBrush = nullptr; // likewise for brushes
    HPEN pen = nullptr;
    HBRUSH brush = nullptr;
    int width = 0, height = 0;

    bool live() const { return dc != nullptr; }

    void free() {
        if (dc) {
            if (pen) SelectObject(dc, oldPen);
            if (brush) SelectObject(dc, oldBrush);
            if (oldBitmap) SelectObject(dc, oldBitmap);
            DeleteDC(dc);
        }
        if (pen) DeleteObject(pen);
        if (brush) DeleteObject(brush);
        if (bitmap) DeleteObject(bitmap);
        if (screen) ReleaseDC(nullptr, screen);
        *this = Canvas();
    }

    bool create(int w, int h) {
        free();
        screen = GetDC(nullptr);
        dc = screen ? CreateCompatibleDC(screen) : nullptr;
        bitmap = dc ? CreateCompatibleBitmap(screen, w, h) : nullptr;
        oldBitmap = bitmap ? SelectObject(dc, bitmap) : nullptr;
        if (!oldBitmap) {
            free();
            return false;
        }
        width = w;
        height = h;
        HBRUSH black = CreateSolidBrush(0);
        RECT all{0, 0, w, h};
        FillRect(dc, &all, black);
        DeleteObject(black);
        return true;
    }

    void selectPen(COLORREF c) {
        HPEN p = CreatePen(PS_SOLID, 1, c);
        HGDIOBJ previous = SelectObject(dc, p);
        if (pen)
            DeleteObject(pen);
        else
            oldPen = previous;
        pen = p;
    }

    void selectBrush(COLORREF c) {
        HBRUSH b = CreateSolidBrush(c);
        HGDIOBJ previous = SelectObject(dc, b);
        if (brush)
            DeleteObject(brush);
        else
            oldBrush = previous;
        brush = b;
    }
};

// ---- Output ---------------------------------------------------------------------------------

std::string out;

void flush() {
    std::fwrite(out.data(), 1, out.size(), stdout);
    out.clear();
}

#if defined(__GNUC__) // g++ and clang check the format; MSVC has no such attribute
void print(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
#endif
void print(const char* fmt, ...) {
    char buf[128];
    va_list args;
    va_start(args, fmt);
    const int n = std::vsnprintf(buf, sizeof buf, fmt, args);
    va_end(args);
    out.append(buf, std::size_t(n));
    if (out.size() > (1u << 16)) flush();
}

// The run ends early: what is pending, then the last line.
void finishWith(const char* lastLine) {
    flush();
    std::fputs(lastLine, stdout);
    std::fflush(stdout);
}

void dump(const Canvas& c) {
    print("dump %d %d\n", c.width, c.height);
    static const char kHex[] = "0123456789abcdef";
    std::string row;
    for (int y = 0; y < c.height; ++y) {
        row.clear();
        for (int x = 0; x < c.width; ++x) {
            const COLORREF p = GetPixel(c.dc, x, y);
            for (int shift = 20; shift >= 0; shift -= 4)
                row += kHex[(p >> shift) & 15];
        }
        row += '\n';
        out += row;
        if (out.size() > (1u << 16)) flush();
    }
}

void hash(const Canvas& c) {
    std::uint64_t h = 0xcbf29ce484222325ull;
    long long count = 0;
    for (int y = 0; y < c.height; ++y) {
        for (int x = 0; x < c.width; ++x) {
            const COLORREF p = GetPixel(c.dc, x, y);
            count += p != 0;
            for (int b = 0; b < 32; b += 8) {
                h ^= (p >> b) & 0xFF;
                h *= 0x100000001b3ull;
            }
        }
    }
    print("hash %d %d %016llx %lld\n", c.width, c.height, (unsigned long long)h, count);
}

// ---- Commands -------------------------------------------------------------------------------

std::vector<std::string> tokens(const std::string& line) {
    std::vector<std::string> t;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        const std::size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t')
            ++i;
        if (i > start) t.push_back(line.substr(start, i - start));
    }
    return t;
}

// Runs one command; false means the line is reported as an error.
bool run(Canvas& c, const std::vector<std::string>& t) {
    const std::string& cmd = t[0];
    const std::size_t argc = t.size() - 1;
    std::vector<std::int32_t> n(argc);

    auto ints = [&](std::size_t count) {
        if (argc != count) return false;
        for (std::size_t i = 0; i < count; ++i)
            if (!parseInt(t[i + 1], n[i])) return false;
        return true;
    };

    if (cmd == "surface") {
        if (!ints(2)) return false;
        const long long w = n[0], h = n[1];
        if (w < 1 || h < 1 || w > 16384 || h > 16384 || w * h > (1LL << 24)) return false;
        return c.create(int(w), int(h));
    }
    if (cmd == "pen" || cmd == "brush") {
        COLORREF colour;
        if (argc != 1 || !parseColour(t[1], colour) || !c.live()) return false;
        if (cmd == "pen")
            c.selectPen(colour);
        else
            c.selectBrush(colour);
        return true;
    }
    if (cmd == "pixel") {
        COLORREF colour;
        if (argc != 3 || !parseInt(t[1], n[0]) || !parseInt(t[2], n[1]) ||
            !parseColour(t[3], colour) || !c.live())
            return false;
        SetPixelV(c.dc, n[0], n[1], colour);
        return true;
    }
    if (cmd == "move" || cmd == "lineto" || cmd == "get") {
        if (!ints(2) || !c.live()) return false;
        if (cmd == "move")
            MoveToEx(c.dc, n[0], n[1], nullptr);
        else if (cmd == "lineto")
            LineTo(c.dc, n[0], n[1]);
        else
            print("get %d %d 0x%08x\n", n[0], n[1], unsigned(GetPixel(c.dc, n[0], n[1])));
        return true;
    }
    if (cmd == "ellipse") {
        if (!ints(4) || !c.live()) return false;
        Ellipse(c.dc, n[0], n[1], n[2], n[3]);
        return true;
    }
    if (cmd == "polygon" || cmd == "polyline") {
        if (argc % 2 != 0 || !ints(argc) || !c.live()) return false;
        std::vector<POINT> pts(argc / 2 + 1); // never empty, so data() is a real array
        for (std::size_t i = 0; i < argc / 2; ++i)
            pts[i] = POINT{n[2 * i], n[2 * i + 1]};
        if (cmd == "polygon")
            Polygon(c.dc, pts.data(), int(argc / 2));
        else
            Polyline(c.dc, pts.data(), int(argc / 2));
        return true;
    }
    if (cmd == "fillrect") {
        COLORREF colour;
        if (argc != 5 || !c.live()) return false;
        for (int i = 0; i < 4; ++i)
            if (!parseInt(t[std::size_t(i) + 1], n[std::size_t(i)])) return false;
        if (!parseColour(t[5], colour)) return false;
        HBRUSH b = CreateSolidBrush(colour);
        RECT r{n[0], n[1], n[2], n[3]};
        FillRect(c.dc, &r, b);
        DeleteObject(b);
        return true;
    }
    if (cmd == "dump" || cmd == "hash") {
        if (argc != 0 || !c.live()) return false;
        if (cmd == "dump")
            dump(c);
        else
            hash(c);
        return true;
    }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    gdiscript::hostStart(finishWith);
    std::FILE* in = stdin;
    if (argc > 2) {
        std::fprintf(stderr, "usage: gdiscript [SCRIPT]\n");
        return 2;
    }
    const char* name = argc == 2 ? argv[1] : "standard input";
    if (argc == 2 && !(in = std::fopen(name, "rb"))) {
        std::fprintf(stderr, "gdiscript: cannot open %s: %s\n", name, std::strerror(errno));
        return 1;
    }
    Canvas canvas;
    std::string line;
    long lineNo = 0;
    int readError = 0;
    bool more = true;
    while (more) {
        line.clear();
        int ch;
        while ((ch = std::fgetc(in)) != EOF && ch != '\n')
            line += char(ch);
        if (ch == EOF) {
            // A directory opens like a file here and fails only on reading: an
            // error, not an empty script.
            if (std::ferror(in)) {
                readError = errno;
                break;
            }
            more = false;
            if (line.empty()) break;
        }
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (const std::size_t hashAt = line.find('#'); hashAt != std::string::npos)
            line.erase(hashAt);
        const std::vector<std::string> t = tokens(line);
        if (t.empty()) continue;
        gdiscript::hostEnter(lineNo);
        const bool ok = run(canvas, t);
        gdiscript::hostLeave();
        if (!ok) print("error %ld\n", lineNo);
    }
    flush();
    canvas.free();
    if (in != stdin) std::fclose(in);
    if (readError) {
        std::fprintf(stderr, "gdiscript: cannot read %s: %s\n", name, std::strerror(readError));
        return 1;
    }
    return 0;
}
