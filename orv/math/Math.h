#ifndef ORV_MATH_MATH_H
#define ORV_MATH_MATH_H

// Internal to the library (not installed): the mathematical functions that the library calls. By
// default they are the library's own correctly rounded ones (orv/math/CorrectlyRounded.h): the
// exact value rounded once, the same bits on every platform. A build with the CMake option
// ORV_PLATFORM_MATH calls the standard library's instead, for a host that must reproduce one
// platform's results. The block forms give, element by element, the bits of the single calls
// (by default several arguments at a time, orv/math/VectorMath.h; inputs and outputs must not
// overlap).

#include "orv/math/CorrectlyRounded.h"
#include "orv/math/VectorMath.h"

#include <cmath>
#include <cstddef>

namespace orv {
namespace math {

#if defined(ORV_PLATFORM_MATH) && ORV_PLATFORM_MATH
constexpr bool kPlatformMath = true;
inline double atan2(double y, double x) {
    return std::atan2(y, x);
}
inline double acos(double x) {
    return std::acos(x);
}
inline double log1p(double x) {
    return std::log1p(x);
}
inline double expm1(double x) {
    return std::expm1(x);
}
// Sine and cosine of one argument (float: sinf and cosf).
inline void sincos(double x, double& s, double& c) {
    s = std::sin(x);
    c = std::cos(x);
}
inline void sincos(float x, float& s, float& c) {
    s = std::sin(x);
    c = std::cos(x);
}
inline void atan2Block(const double* y, const double* x, double* out, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        out[i] = std::atan2(y[i], x[i]);
    }
}
template <class T> inline void sincosBlock(const T* x, T* s, T* c, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        sincos(x[i], s[i], c[i]);
    }
}
#else
constexpr bool kPlatformMath = false;
inline double atan2(double y, double x) {
    return crmath::atan2(y, x);
}
inline double acos(double x) {
    return crmath::acos(x);
}
inline double log1p(double x) {
    return crmath::log1p(x);
}
inline double expm1(double x) {
    return crmath::expm1(x);
}
inline void sincos(double x, double& s, double& c) {
    crmath::sincos(x, s, c);
}
inline void sincos(float x, float& s, float& c) {
    crmath::sincosf(x, s, c);
}
inline void atan2Block(const double* y, const double* x, double* out, std::size_t n) {
    crmath::atan2Block(y, x, out, n);
}
inline void sincosBlock(const double* x, double* s, double* c, std::size_t n) {
    crmath::sincosBlock(x, s, c, n);
}
inline void sincosBlock(const float* x, float* s, float* c, std::size_t n) {
    crmath::sincosfBlock(x, s, c, n);
}
#endif

} // namespace math
} // namespace orv

#endif
