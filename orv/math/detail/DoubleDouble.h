#ifndef ORV_MATH_DETAIL_DOUBLEDOUBLE_H
#define ORV_MATH_DETAIL_DOUBLEDOUBLE_H

// Internal: exact sums and products of doubles, the bits of doubles and floats, and Ziv's rounding
// test, for the fast paths of the correctly rounded functions (orv/math/CorrectlyRounded.h).
//
// A double-double {hi, lo} stands for the real hi + lo. Throughout, u = 2^-53 (the unit roundoff
// of double): a double operation returns the exact result times (1 + d), |d| <= u, where it
// neither overflows nor underflows. Every function here is exact under the conditions it states,
// so its bits do not depend on how it is computed: the fused multiply-add where Config.h says
// ORV_HAVE_FMA and Dekker's product elsewhere give the same double-double.

#include "orv/foundation/Config.h"

#include <cstdint>
#include <cstring>

namespace orv {
namespace crmath {
namespace detail {

struct DoubleDouble {
    double hi;
    double lo;
};

inline std::uint64_t bitsOf(double x) {
    std::uint64_t b;
    std::memcpy(&b, &x, sizeof b);
    return b;
}
inline double doubleFromBits(std::uint64_t b) {
    double x;
    std::memcpy(&x, &b, sizeof x);
    return x;
}
inline std::uint32_t bitsOf(float x) {
    std::uint32_t b;
    std::memcpy(&b, &x, sizeof b);
    return b;
}
inline float floatFromBits(std::uint32_t b) {
    float x;
    std::memcpy(&x, &b, sizeof x);
    return x;
}
// |x|, by clearing the sign bit.
inline double magnitude(double x) {
    return doubleFromBits(bitsOf(x) & 0x7fffffffffffffffULL);
}
// 2^e for -1022 <= e <= 1023, from its bits.
inline double powerOfTwo(int e) {
    return doubleFromBits(static_cast<std::uint64_t>(e + 1023) << 52);
}
// x with the n low bits of its significand cleared (0 <= n < 52): at most 53 - n significant bits,
// and x - result is exact with at most n bits.
inline double clearLowBits(double x, int n) {
    return doubleFromBits(bitsOf(x) & ~((std::uint64_t(1) << n) - 1));
}

// Knuth's TwoSum: s + e = a + b exactly, s = RN(a + b), |e| <= u |s|. For any finite a, b whose
// sum does not overflow.
ORV_FORCE_INLINE DoubleDouble twoSum(double a, double b) {
    const double s = a + b;
    const double bv = s - a;
    const double av = s - bv;
    return {s, (a - av) + (b - bv)};
}

// Dekker's FastTwoSum: s + e = a + b exactly, s = RN(a + b), where a = 0 or the exponent of a is
// at least that of b (in particular where |a| >= |b|).
ORV_FORCE_INLINE DoubleDouble fastTwoSum(double a, double b) {
    const double s = a + b;
    return {s, b - (s - a)};
}

// Veltkamp's split: a = hi + lo exactly, hi and lo of at most 26 significant bits each (lo's sign
// may differ from a's). For |a| < 2^995.
ORV_FORCE_INLINE DoubleDouble veltkampSplit(double a) {
    const double t = 134217729.0 * a; // 2^27 + 1
    const double hi = t - (t - a);
    return {hi, a - hi};
}

// The exact product a b = p + e, p = RN(a b), by Dekker's algorithm: exact where |a|, |b| < 2^995
// and |a b| >= 2^-960 (or a b = 0); every use in orv/math stays inside those bounds.
ORV_FORCE_INLINE DoubleDouble twoProductDekker(double a, double b) {
    const double p = a * b;
    const DoubleDouble as = veltkampSplit(a);
    const DoubleDouble bs = veltkampSplit(b);
    const double e = ((as.hi * bs.hi - p) + as.hi * bs.lo + as.lo * bs.hi) + as.lo * bs.lo;
    return {p, e};
}

#if ORV_HAVE_FMA
// The same exact product from the fused multiply-add: e = RN(a b - p) = a b - p (exact, as a b - p
// is a double where the product does not underflow).
ORV_FORCE_INLINE DoubleDouble twoProductFma(double a, double b) {
    const double p = a * b;
    return {p, ORV_FMA(a, b, -p)};
}
#endif

// The exact product a b = hi + lo under twoProductDekker's conditions.
ORV_FORCE_INLINE DoubleDouble twoProduct(double a, double b) {
#if ORV_HAVE_FMA
    return twoProductFma(a, b);
#else
    return twoProductDekker(a, b);
#endif
}

// a^2 = hi + lo exactly (conditions of twoProduct): one split instead of two. Without the fused
// multiply-add, ((a1^2 - p) + 2 a1 a2) is the value that Dekker's product reaches in two exact
// steps, so it is exact in one as well.
ORV_FORCE_INLINE DoubleDouble twoSquare(double a) {
#if ORV_HAVE_FMA
    return twoProductFma(a, a);
#else
    const double p = a * a;
    const DoubleDouble s = veltkampSplit(a);
    return {p, ((s.hi * s.hi - p) + 2.0 * (s.hi * s.lo)) + s.lo * s.lo};
#endif
}

// Ziv's rounding test for a double result. Let v be the exact value, |v - (hi + lo)| <= eps and
//     err >= (eps + u |lo|) / (1 - u).
// Then fl(lo - err) <= lo - err + u (|lo| + err) <= hi + lo - eps - hi, so hi + fl(lo - err) <= v,
// and likewise hi + fl(lo + err) >= v. Rounding is monotonic: RN(hi + fl(lo - err)) <= RN(v) <=
// RN(hi + fl(lo + err)), and each end is one IEEE addition. When the two ends are equal, that is
// RN(v): true, with it in `result`. (err must not be subnormal; overflow of an end gives +-inf,
// which is RN(v) as well.)
ORV_FORCE_INLINE bool roundsToDouble(double hi, double lo, double err, double& result) {
    const double down = hi + (lo - err);
    const double up = hi + (lo + err);
    result = down;
    return down == up;
}

// The same test for a float result from a double d with |v - d| <= eps and
//     err >= (eps + u |d|) / (1 - u):
// float(fl(d - err)) <= RN_float(v) <= float(fl(d + err)) by the same argument (each conversion to
// float is one rounding).
ORV_FORCE_INLINE bool roundsToFloat(double d, double err, float& result) {
    const float down = static_cast<float>(d - err);
    const float up = static_cast<float>(d + err);
    result = down;
    return down == up;
}

} // namespace detail
} // namespace crmath
} // namespace orv

#endif
