#ifndef ORV_PLATFORM_TRIPLETORVVECTOR_H
#define ORV_PLATFORM_TRIPLETORVVECTOR_H

#include "orv/foundation/TripletBase.h"
#include "orv/platform/PlatformExport.h"

#include <vector>

namespace orv {

// A list of single-precision points as the closed data-handling library passes it; a kernel fills
// it with the points of a curve.
class ORV_PLATFORM_API TripletORVVector {
public:
    std::vector<TripletBase<float>> values;
};

} // namespace orv

#endif
