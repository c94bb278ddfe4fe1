// Start-up code for the browser page (page.h).

#include "app/page.h"

int main() {
    return runPage(nullptr);
}
