#ifndef ORV_FOUNDATION_DART_H
#define ORV_FOUNDATION_DART_H

#include <cstddef>
#include <type_traits>

namespace orv {

// Axial a, radial r and theta t (degrees) about a rotation axis, in double precision. A
// value-initialised record is (0, 0, 0).
struct DART {
    double a;
    double r;
    double t;
};

static_assert(sizeof(DART) == 3 * sizeof(double), "packed record");
static_assert(std::is_standard_layout<DART>::value && offsetof(DART, a) == 0 &&
                  offsetof(DART, r) == sizeof(double) && offsetof(DART, t) == 2 * sizeof(double),
              "fields a, r, t in order");

} // namespace orv

#endif
