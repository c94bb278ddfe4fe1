// The layer-shell driver's table, for the list of drivers a program links.
#pragma once

#include "platform/driver.h"

namespace tess::layer {

extern const Driver kLayer;

} // namespace tess::layer
