#ifndef ORV_MATH_MATH_H
#define ORV_MATH_MATH_H

// Internal to the library (not installed): the mathematical functions that the library calls. By
// default they are the library's own correctly rounded ones (orv/math/CorrectlyRounded.h), the same
// bits on every platform. A build with the CMake option ORV_PLATFORM_MATH calls the standard
// library's instead, for a host that must reproduce one platform's results.

#include "orv/math/CorrectlyRounded.h"

#include <cmath>

namespace orv {
namespace math {

#if defined(ORV_PLATFORM_MATH) && ORV_PLATFORM_MATH
inline double atan2(double y, double x) {
    return std::atan2(y, x);
}
inline double acos(double x) {
    return std::acos(x);
}
inline double sin(double x) {
    return std::sin(x);
}
inline double cos(double x) {
    return std::cos(x);
}
inline float sin(float x) {
    return std::sin(x);
}
inline float cos(float x) {
    return std::cos(x);
}
inline double log1p(double x) {
    return std::log1p(x);
}
inline double expm1(double x) {
    return std::expm1(x);
}
constexpr bool kPlatformMath = true;
#else
inline double atan2(double y, double x) {
    return crmath::atan2(y, x);
}
inline double acos(double x) {
    return crmath::acos(x);
}
inline double sin(double x) {
    return crmath::sin(x);
}
inline double cos(double x) {
    return crmath::cos(x);
}
inline float sin(float x) {
    return crmath::sinf(x);
}
inline float cos(float x) {
    return crmath::cosf(x);
}
inline double log1p(double x) {
    return crmath::log1p(x);
}
inline double expm1(double x) {
    return crmath::expm1(x);
}
constexpr bool kPlatformMath = false;
#endif

} // namespace math
} // namespace orv

#endif
