#ifndef ORV_TESTS_MATHORACLE_H
#define ORV_TESTS_MATHORACLE_H

// The mathematical functions of the tests' oracles, independent of the code they check. The
// library's own functions are correctly rounded, so by default the oracle takes the correctly
// rounded values from MPFR; a build with ORV_PLATFORM_MATH calls the platform's functions, and so
// does its oracle. Where MPFR is missing (the Windows cross build) the default build's oracle takes
// the library's own functions: there the digests of orv_digest, compared with the native build's,
// stand in for the independent check.

#include <cmath>

#if !(defined(ORV_PLATFORM_MATH) && ORV_PLATFORM_MATH)
#if defined(ORV_HAVE_MPFR)
#include "MpfrOracle.h"
#else
#include "orv/math/CorrectlyRounded.h"
#endif
#endif

namespace mathoracle {

#if defined(ORV_PLATFORM_MATH) && ORV_PLATFORM_MATH
using std::acos;
using std::atan2;
using std::cos; // float and double
using std::expm1;
using std::log1p;
using std::sin; // float and double
#else
#if defined(ORV_HAVE_MPFR)
namespace m = orv_test::mpfr_oracle;
#else
namespace m = orv::crmath;
#endif
inline double atan2(double y, double x) {
    return m::atan2(y, x);
}
inline double acos(double x) {
    return m::acos(x);
}
inline double sin(double x) {
    return m::sin(x);
}
inline double cos(double x) {
    return m::cos(x);
}
inline float sin(float x) {
    return m::sinf(x);
}
inline float cos(float x) {
    return m::cosf(x);
}
inline double log1p(double x) {
    return m::log1p(x);
}
inline double expm1(double x) {
    return m::expm1(x);
}
#endif

} // namespace mathoracle

#endif
