#ifndef ORV_AXIS_DETAIL_REFUSALS_H
#define ORV_AXIS_DETAIL_REFUSALS_H

// Internal: the refusals of the conversions about an axis, tested before any computation.

#include "orv/foundation/Config.h"
#include "orv/foundation/TripletBase.h"
#include "orv/platform/Error.h"
#include "orv/platform/SystemMsg.h"

#include <cstdint>
#include <cstring>

namespace orv {
namespace detail {

// True where every value of v is +0 or -0: the bits of each, shifted left by one to drop the
// sign, are all zero (NaN is not zero).
inline bool isZero(const TripletBase<double>& v) {
    std::uint64_t x, y, z;
    std::memcpy(&x, &v.x, sizeof x);
    std::memcpy(&y, &v.y, sizeof y);
    std::memcpy(&z, &v.z, sizeof z);
    return ((x | y | z) << 1) == 0;
}

// Out of line and cold, so that a conversion keeps none of their strings and calls in its body.
[[noreturn]] ORV_COLD inline void refuseTowardsART(const char* operation) {
    throwError<data::invalid>("MachineData", operation,
                              SystemMsg("MachineData object is not initialised."));
}
[[noreturn]] ORV_COLD inline void refuseTowardsXYZ() {
    throwError<data::invalid>("RotationAxis", "getRotationMatrix",
                              SystemMsg("Invalid rotation parameters.\n"));
}

// Conversions towards ART refuse a zero direction (operation label "convertART" or "convertAR").
inline void checkTowardsART(const TripletBase<double>& dir, const char* operation) {
    if (isZero(dir)) {
        refuseTowardsART(operation);
    }
}

// Conversions towards XYZ and the rotation matrices refuse a zero direction or a period angle of
// exactly 0.
inline void checkTowardsXYZ(const TripletBase<double>& dir, double angle) {
    if (isZero(dir) || angle == 0.0) {
        refuseTowardsXYZ();
    }
}

} // namespace detail
} // namespace orv

#endif
