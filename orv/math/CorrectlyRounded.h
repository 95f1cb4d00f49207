#ifndef ORV_MATH_CORRECTLYROUNDED_H
#define ORV_MATH_CORRECTLYROUNDED_H

// Internal to the library (not installed): its own mathematical functions, correctly rounded
// (round to nearest, ties to even) for every argument, with the special values of C's Annex F.
// Every result equals the exact value rounded once, so it is the same on every platform and from
// every compiler. Thread safe and reentrant: no state, no lock, tables are constants.
//
// Each function has two paths. The fast path (orv/math/Atan2.cpp, SinCos.cpp, LogExp.cpp)
// reduces the argument with exact operations, evaluates a table entry and a short polynomial in
// double-double arithmetic (the float functions in double) and proves a bound on its relative
// error; Ziv's rounding test then returns the result only where the bound leaves a single double
// (or float) as the rounding. Otherwise, and outside the fast ranges below, the accurate path
// (orv/math/detail/Accurate.h: multi-precision, exact reduction) computes it. The bounds, and the
// share of random arguments that go to the accurate path (10^6 per range, tools/math_random_check):
//   atan2, acos     2^-67.67 and 2^-68.05 relative (test: 1.5 * 2^-68); 1.9e-5 of unit
//                   vectors, 6.1e-5 of [-1, 1]; every finite pair or argument. atan2's fast path
//                   also runs compiled for AVX2 with FMA where the processor has them (the same
//                   bits).
//   sin, cos        2^-66.85 relative plus the reduction's 2^-107 (|x| < 2^12) or 2^-136
//                   (2^12 <= |x| < 2^20, and near multiples of pi/2); 1.35e-4 of degrees * pi/180;
//                   the accurate path for every |x| >= 2^20.
//   sinf, cosf      2^-49.6 relative plus 2^-84.4 (2^-71.3 for |x| >= 2^20, reduced from the
//                   bits of 2/pi); every finite float: 222 (sinf) and 246 (cosf) of the 2^32.
//   log1p           2^-68.1 relative; 8.3e-5 of |x| < 1.
//   expm1           2^-70.05 relative; 2.7e-5 of |x| < 1.
// orv/math/VectorMath.h evaluates atan2, sincos and sincosf over arrays, several arguments at a
// time, with these bits.
// Arguments whose result is exactly known (tiny |x| where the result rounds to x, 1 or -1, the
// overflow of expm1, zeros and infinities) are answered directly.

namespace orv {
namespace crmath {

// atan2(y, x) in [-pi, pi]: atan2(+-0, -0) = +-pi, atan2(+-0, +0) = +-0, +-pi/2 for x = 0 and
// y != 0, +-pi/4 and +-3pi/4 for two infinities, NaN for a NaN argument.
double atan2(double y, double x);
// acos(x) in [0, pi]: NaN for |x| > 1 and NaN, acos(1) = +0.
double acos(double x);
// sin(x) and cos(x) of x in radians: sin(+-0) = +-0, NaN for infinities and NaN.
double sin(double x);
double cos(double x);
// sin and cos of one argument, each correctly rounded (the same bits as the two calls), from one
// argument reduction.
void sincos(double x, double& s, double& c);

float sinf(float x);
float cosf(float x);
void sincosf(float x, float& s, float& c);

// log(1 + x): -inf at -1, NaN below -1, log1p(+-0) = +-0.
double log1p(double x);
// exp(x) - 1: -1 at -inf, +inf where the result overflows, expm1(+-0) = +-0.
double expm1(double x);

} // namespace crmath
} // namespace orv

#endif
