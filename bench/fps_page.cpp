// The frame counter build of the page: its frames counted.

#include "app/frame_count.h"
#include "app/page.h"

int main() {
    return runPage(countedLoop);
}
