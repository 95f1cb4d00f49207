#ifndef ORV_FOUNDATION_ART_H
#define ORV_FOUNDATION_ART_H

#include <cstddef>
#include <type_traits>

namespace orv {

// Axial a, radial r and theta t (degrees) about a rotation axis, in single precision. Lengths are
// in the unit of the points they were converted from. A value-initialised record is (0, 0, 0).
struct ART {
    float a;
    float r;
    float t;
};

static_assert(sizeof(ART) == 3 * sizeof(float), "packed record");
static_assert(std::is_standard_layout<ART>::value && offsetof(ART, a) == 0 &&
                  offsetof(ART, r) == sizeof(float) && offsetof(ART, t) == 2 * sizeof(float),
              "fields a, r, t in order");

} // namespace orv

#endif
