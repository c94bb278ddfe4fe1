// The per-frame chain step and the pixel fade.

#include "anim/chain.h"

#include "app/resolution.h"
#include "math/pixel.h"

#include <cstdint>
#include <cstdlib>

namespace {

constexpr float kFirstFrame = 0.01f;
constexpr float kLongestFrame = 0.05f; // 20 * dt reaches 1 here: followers would overshoot
constexpr double kHeadSpeed = 100;     // px/s
constexpr double kFollowGain = 20;     // 1/s
constexpr float kTurnLimit = 5;        // rad/s
constexpr float kColourTurn = 30;      // rad turned before the colour changes

vec2 centre(const ChainArea& area) {
    return vec2(area.left + (area.width >> 1), area.top + (area.height >> 1));
}

void newColour(ChainState& s) {
    do {
        s.cr = static_cast<unsigned char>(std::rand() % 256);
        s.cg = static_cast<unsigned char>(std::rand() % 256);
        s.cb = static_cast<unsigned char>(std::rand() % 256);
    } while (s.showOnBlack && s.cr < 100 && s.cg < 100 && s.cb < 100);
}

// The step itself, with what fades the pixel under each point before it moves.
template <class Fade> void advance(ChainState& s, float dt, const ChainArea& area, Fade&& fade) {
    if (s.init) {
        for (vec2& p : s.a)
            p = centre(area) + rndvec2() * 50;
        s.nrm = rndnrm2();
        s.trn = 0;
        newColour(s);
        s.tot = 0;
        dt = kFirstFrame;
        s.init = false;
    } else if (!(dt <= kLongestFrame)) {
        dt = kLongestFrame; // a stall, or inf/NaN from a broken clock
    }

    if ((GetKeyState(VK_RETURN) & 0x80) || s.tot < -kColourTurn || s.tot > kColourTurn) {
        s.trn = 0;
        newColour(s);
        s.tot = 0;
    }

    const COLORREF colour = s.colour();
    for (int i = 0; i < ChainState::kPoints; ++i) {
        fade(s.a[i], colour);
        if (i == 0) {
            s.a[0] = s.a[0] + (s.nrm * kHeadSpeed) * dt;
            if (retdis2(centre(area), s.a[0]) > area.height / 2.0) s.a[0] = centre(area);
            // Evaluated in double, stored as float.
            s.trn = static_cast<float>(s.trn + ((std::rand() % 10000) / 10000.0 - 0.5) * 30 * dt);
            if (s.trn < -kTurnLimit) s.trn = -kTurnLimit;
            if (s.trn > kTurnLimit) s.trn = kTurnLimit;
            const float turn = s.trn * dt; // a float product, then widened
            s.nrm = retrot2(s.nrm, turn);
            s.tot = s.tot + turn;
        } else {
            const float d = static_cast<float>(retdis2(s.a[i], s.a[i - 1]));
            const vec2 n = retnrm2(s.a[i], s.a[i - 1]);
            if (d > 1) s.a[i] = s.a[i] + ((n * d) * kFollowGain) * dt;
        }
    }
}

} // namespace

ChainState& chainState() {
    static ChainState state;
    return state;
}

ChainArea screenArea() {
    return ChainArea{0, 0, workRes(true, 1, 0), workRes(true, 0, 0)};
}

void goProgram(HDC hdc, float dt) {
    stepChain(chainState(), hdc, dt);
}

void stepChain(ChainState& s, HDC hdc, float dt) {
    stepChain(s, hdc, dt, screenArea());
}

void stepChain(ChainState& s, HDC hdc, float dt, const ChainArea& area) {
    advance(s, dt, area, [hdc](vec2 p, COLORREF colour) { upPixl(hdc, p, colour); });
    s.rested = false;
}

void tickChain(ChainState& s, HDC hdc, const ChainArea& area, TickChanges* changes) {
    // Rested by the last tick, nothing else drawn since: while the colour stays,
    // the fades before the move change nothing, nor does resting a point that
    // is still on the pixel it rested. Only what they would change is done.
    const bool rested = s.rested && !s.init;
    const COLORREF was = s.colour();
    std::int32_t x[ChainState::kPoints], y[ChainState::kPoints];
    for (int i = 0; i < ChainState::kPoints; ++i) {
        x[i] = toPixel(s.a[i].x);
        y[i] = toPixel(s.a[i].y);
    }
    int point = 0;
    auto changed = [changes](int i, std::int32_t px, std::int32_t py) {
        if (changes) changes->pixels[changes->count++] = TickChanges::Pixel{i, px, py};
    };
    if (changes) changes->count = 0;
    advance(s, kTick, area, [&](vec2 p, COLORREF colour) {
        if (!rested || colour != was) {
            upPixl(hdc, p, colour);
            changed(point, toPixel(p.x), toPixel(p.y));
        }
        ++point;
    });
    const COLORREF colour = s.colour();
    const bool kept = rested && colour == was;
    for (int i = 0; i < ChainState::kPoints; ++i) {
        const std::int32_t px = toPixel(s.a[i].x), py = toPixel(s.a[i].y);
        if (kept && px == x[i] && py == y[i]) continue;
        const COLORREF old = GetPixel(hdc, px, py);
        if (old == CLR_INVALID) continue; // off the bitmap: nothing to fade
        const COLORREF rest = restingFade(old, colour);
        if (rest == old) continue;
        SetPixelV(hdc, px, py, rest);
        changed(i, px, py);
    }
    s.rested = true;
}

COLORREF restingFade(COLORREF pixel, COLORREF colour) {
    COLORREF out = 0;
    for (int c = 0; c < 3; ++c) {
        const int o = static_cast<int>((pixel >> (8 * c)) & 0xFF);
        const int t = static_cast<int>((colour >> (8 * c)) & 0xFF);
        // Each 1 % step moves by a whole (t - o) / 100 toward t, so it stops
        // exactly 99 short of a target farther than that.
        const int rest = o < t - 99 ? t - 99 : o > t + 99 ? t + 99 : o;
        out |= COLORREF(rest) << (8 * c);
    }
    return out;
}

void upPixl(HDC hdc, vec2 p, unsigned long colour) {
    const COLORREF old = GetPixel(hdc, toPixel(p.x), toPixel(p.y));
    int channel[3];
    for (int c = 0; c < 3; ++c) {
        const int o = static_cast<int>((old >> (8 * c)) & 0xFF);
        const int t = static_cast<int>((colour >> (8 * c)) & 0xFF);
        // The 1 % step truncates toward zero: a channel within 99 of its target stays put.
        channel[c] = o + static_cast<int>((t - o) * 0.01);
    }
    drawPixl(hdc, p, (channel[0] & 0xFF) | (channel[1] & 0xFF) << 8 | (channel[2] & 0xFF) << 16);
}

void drawPixl(HDC hdc, vec2 p, unsigned long colour) {
    SetPixelV(hdc, toPixel(p.x), toPixel(p.y), static_cast<COLORREF>(colour));
}
