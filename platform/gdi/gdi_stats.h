// Read-outs of the software GDI's bookkeeping for tests: how many objects each
// kind has alive (stock objects excluded), to catch leaks and double deletes.
#pragma once

namespace tess {

struct GdiCounts {
    int pens = 0;
    int brushes = 0;
    int bitmaps = 0;
    int dcs = 0;
    int total() const { return pens + brushes + bitmaps + dcs; }
};

GdiCounts gdiLiveObjects();

} // namespace tess
