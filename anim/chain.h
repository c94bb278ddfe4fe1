// The chain animation: 100 points wandering over a bitmap that is never
// cleared, each fading the pixel under it toward the chain's colour per frame.
#pragma once

#include "math/vec2.h"
#include "platform/win32.h"

// The animation's state between frames. goProgram keeps one as its static;
// tests and the preview renderer may run their own or read that one.
struct ChainState {
    static constexpr int kPoints = 100;
    vec2 a[kPoints]; // a[0] is the head; pixels, not rounded between frames
    vec2 nrm;        // heading of the head, unit length
    float trn = 0;   // turn rate, rad/s, within [-5, 5]
    unsigned char cr = 0, cg = 0, cb = 0;
    float tot = 0;    // turned since the colour last changed, rad
    bool init = true; // true until the first frame has seeded the rest
    // A colour with every channel below 100 never shows on black (the 1 % fade
    // truncates to nothing): with this set such a colour is drawn again.
    bool showOnBlack = false;
    // Every pixel under a point rests at the current colour, as tickChain left
    // it (nothing else may draw under the chain between its ticks).
    bool rested = false;

    COLORREF colour() const { return COLORREF(cr | cg << 8 | cb << 16); }
};

// The rectangle a chain keeps to, in the pixels it paints: it is seeded around
// the centre (left + width / 2, top + height / 2, halves rounded down), and the
// head goes back there when it strays farther than height / 2 from it.
struct ChainArea {
    int left = 0, top = 0, width = 0, height = 0;
};
// The whole screen of the stored resolution (workRes), as it is now.
ChainArea screenArea();

// Advance one frame of dt seconds and paint into hdc. The first call seeds the
// chain and runs 0.01 s; later frame times that are not at most 0.05 s (longer,
// infinite, NaN) run as 0.05 s, beyond which followers would overshoot and diverge.
void goProgram(HDC hdc, float dt);
// The same step for any chain, keeping to `area` (without one: screenArea()).
void stepChain(ChainState& state, HDC hdc, float dt, const ChainArea& area);
void stepChain(ChainState& state, HDC hdc, float dt);

// The state goProgram advances.
ChainState& chainState();

// The program's picture at any pace. The frame timer counts whole milliseconds,
// and the program draws many frames in each: one steps the chain by the tick,
// all the others (a frame time of 0) fade each pixel under a point once more,
// until the fade changes it no more. tickChain is one such tick: the step by
// kTick, then every pixel under a point faded to that rest.
constexpr float kTick = 0.001f;
// The pixels a tick changed, each with the point that changed it, for a caller
// that shows only those (a colour change names every point's pixel).
struct TickChanges {
    struct Pixel {
        int point, x, y;
    };
    int count = 0;
    Pixel pixels[2 * ChainState::kPoints];
};
void tickChain(ChainState& state, HDC hdc, const ChainArea& area, TickChanges* changes = nullptr);
// Where fading `pixel` toward `colour` again and again comes to rest: each
// channel within 99 of its target (black toward 0x0000FF rests at red 156),
// one already within 99 as it is.
COLORREF restingFade(COLORREF pixel, COLORREF colour);

// Fade the pixel under p one step (1 %, truncated) toward colour.
void upPixl(HDC hdc, vec2 p, unsigned long colour);
// Set the pixel under p; p truncates toward zero, off-surface points are ignored.
void drawPixl(HDC hdc, vec2 p, unsigned long colour);
