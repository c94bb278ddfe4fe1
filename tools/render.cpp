// tessaline-render: runs the chain animation headless on a memory bitmap and
// writes the picture (PNG, or binary PPM for a .ppm name) and, on request, the
// chain's state. Deterministic for a given letter (or size), seed, frame count
// and dt. A long run at a terminal shows its progress on stderr.

#include "anim/chain.h"
#include "app/resolution.h"
#include "platform/win32.h"
#include "tools/image_file.h"
#include "tools/progress.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Options {
    const char* res = "";
    int width = 0, height = 0; // --size, in place of the letter's when set
    unsigned seed = 1;
    unsigned long frames = 20000;
    float dt = 0.001f;
    std::string out = "tessaline.png";
    std::string state;
};

const char kUsage[] =
    "usage: tessaline-render [--res LETTER | --size WxH] [--seed N] [--frames N]\n"
    "                        [--dt SECONDS] [--out FILE] [--state FILE]\n"
    "  --res     resolution letter as on the program's command line: a 320x240,\n"
    "            b 640x480, c 800x600, d 1024x768, e 1280x1024 (else 800x600)\n"
    "  --size    any other picture size, 1 .. 4096 pixels each way (e.g. 256x256)\n"
    "  --seed    srand() seed, 0 .. 4294967295, default 1\n"
    "  --frames  frames to run, 0 .. 4294967295, default 20000\n"
    "  --dt      seconds per frame, 0 .. 3.40282e+38, default 0.001\n"
    "  --out     picture: PNG, or binary PPM when FILE ends in .ppm (default tessaline.png)\n"
    "  --state   also write the chain's state after the last frame\n";

int usage(const char* problem) {
    if (problem) std::fprintf(stderr, "tessaline-render: %s\n", problem);
    std::fputs(kUsage, stderr);
    return 2;
}

bool parseUnsigned(const char* s, unsigned long long max, unsigned long long& out) {
    if (!s || !*s || *s == '-' || *s == '+') return false;
    errno = 0;
    char* end = nullptr;
    const unsigned long long v = std::strtoull(s, &end, 10);
    if (errno || *end || v > max) return false;
    out = v;
    return true;
}

// Any float from 0 to FLT_MAX (3.40282e+38); a value too small for a float reads
// as it rounds (toward 0), one too large is out of range.
bool parseSeconds(const char* s, float& out) {
    if (!s || !*s) return false;
    char* end = nullptr;
    const float v = std::strtof(s, &end);
    if (*end || !std::isfinite(v) || v < 0) return false;
    out = v;
    return true;
}

// WxH, each side 1 .. kMaxSide.
constexpr unsigned long long kMaxSide = 4096;
bool parseSize(const char* s, int& width, int& height) {
    const char* x = std::strchr(s, 'x');
    if (!x) return false;
    const std::string w(s, x);
    unsigned long long ww = 0, hh = 0;
    if (!parseUnsigned(w.c_str(), kMaxSide, ww) || !parseUnsigned(x + 1, kMaxSide, hh) || !ww ||
        !hh)
        return false;
    width = int(ww);
    height = int(hh);
    return true;
}

bool writeState(const std::string& path, const ChainState& s) {
    FILE* f = std::fopen(path.c_str(), "w");
    if (!f) return false;
    for (const vec2& p : s.a)
        std::fprintf(f, "%.17g %.17g\n", p.x, p.y);
    std::fprintf(f, "nrm %.17g %.17g\n", s.nrm.x, s.nrm.y);
    std::fprintf(f, "trn %.17g\n", static_cast<double>(s.trn));
    std::fprintf(f, "tot %.17g\n", static_cast<double>(s.tot));
    std::fprintf(f, "colour 0x%06x\n", static_cast<unsigned>(s.colour()));
    return std::fclose(f) == 0;
}

} // namespace

int main(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (i + 1 >= argc) return usage(("missing value after " + arg).c_str());
        const char* value = argv[++i];
        unsigned long long n = 0;
        if (arg == "--res") {
            o.res = value;
        } else if (arg == "--seed") {
            if (!parseUnsigned(value, 0xFFFFFFFFull, n))
                return usage("--seed takes 0 .. 4294967295");
            o.seed = unsigned(n);
        } else if (arg == "--frames") {
            if (!parseUnsigned(value, 0xFFFFFFFFull, n))
                return usage("--frames takes 0 .. 4294967295");
            o.frames = static_cast<unsigned long>(n);
        } else if (arg == "--size") {
            if (!parseSize(value, o.width, o.height))
                return usage("--size takes WxH, 1 .. 4096 each (e.g. 256x256)");
        } else if (arg == "--dt") {
            if (!parseSeconds(value, o.dt)) return usage("--dt takes seconds, 0 .. 3.40282e+38");
        } else if (arg == "--out") {
            if (!*value) return usage("--out needs a file name");
            o.out = value;
        } else if (arg == "--state") {
            if (!*value) return usage("--state needs a file name");
            o.state = value;
        } else {
            return usage(("unknown option " + arg).c_str());
        }
    }
    if (!canWriteImage(o.out)) return usage("this build writes only .ppm files (no libpng)");

    checkRes(o.res);
    if (o.width) workRes(false, o.width, o.height);
    std::srand(o.seed);
    const int w = workRes(true, 1, 0);
    const int h = workRes(true, 0, 0);

    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    HBRUSH black = CreateSolidBrush(0);
    RECT all{0, 0, w, h};
    FillRect(dc, &all, black);

    Progress progress(o.frames, stderrIsTerminal());
    for (unsigned long f = 0; f < o.frames; ++f) {
        goProgram(dc, o.dt);
        progress.at(f + 1);
    }
    progress.finish();

    const std::vector<unsigned char> rgb = readRgb(dc, w, h);
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteObject(black);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);

    if (!writeImage(o.out, rgb, w, h)) {
        std::fprintf(stderr, "tessaline-render: cannot write %s: %s\n", o.out.c_str(),
                     std::strerror(errno));
        return 1;
    }
    if (!o.state.empty() && !writeState(o.state, chainState())) {
        std::fprintf(stderr, "tessaline-render: cannot write %s: %s\n", o.state.c_str(),
                     std::strerror(errno));
        return 1;
    }
    return 0;
}
