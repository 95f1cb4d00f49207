#ifndef ORV_PLATFORM_INTORVVECTOR_H
#define ORV_PLATFORM_INTORVVECTOR_H

#include "orv/platform/PlatformExport.h"

#include <vector>

namespace orv {

// A list of integers as the closed data-handling library passes it; a kernel fills it alongside a
// TripletORVVector (for example with the indices of a curve's vertices).
class ORV_PLATFORM_API IntORVVector {
public:
    std::vector<int> values;
};

} // namespace orv

#endif
