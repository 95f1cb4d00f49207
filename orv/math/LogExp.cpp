// log1p and expm1, correctly rounded: a fast path in double-double arithmetic with a proven error
// bound and Ziv's rounding test, the accurate path (orv/math/detail/Accurate.h) where that test
// cannot decide. u = 2^-53 below.
//
// log1p(x): 1 + x = uh + ul exactly (TwoSum), uh = 2^e m with m in [0.75, 1.5) (integer
// operations on uh's bits), i = round((bits(m) - bits(0.75)) / 2^45) picks the centre c_i and
// r = 1/c_i rounded to 20 bits (exactly 1 at m = 1), and
//     log(1 + x) = e ln 2 - ln r + log1p(z'),
//     z' = r m (1 + ul/uh) - 1 = (r m1 - 1) + r m2 + r ul 2^-e,
// with m = m1 + m2 (m1: m with its 20 low bits cleared), so r m1 - 1 (Sterbenz) and r m2 are
// exact and z' is a double-double with |z'| < 2^-8 (1 + 2^-40). Near x = 0 (e = 0, r = 1) z' is
// x itself, exactly: the relative accuracy holds down to |x| = 2^-53, below which log1p x rounds
// to x. log1p(z') = z' - z'^2/2 + z'^3 (l3 + ... + l9 z'^6) (Taylor, truncation below 2^-75.3
// |z'|), z'^2 from an exact square. e kLn2Hi + kLogTable[i].hi is exact (both multiples of 2^-42,
// sum below 2^10). Error (relative to R = log1p x): the tail z^3 P(z) in double, 4.5 roundings of
// |z|^3/3, at most 2^-68.4 |R| (|z|^3 / |R| <= 2^-16 over the intervals, largest next to m = 1);
// the last addition of the low parts 2^-70.6 |R|; table and ln 2 below 2^-87 |R| (|R| >= 2^-9
// wherever r != 1 or e != 0, |R| >= 0.28 wherever e != 0); truncation 2^-75.3 |R|. Total below
// 2^-68.1 |R|: the rounding test uses err = 1.5 * 2^-68 |hi| (8.3e-5 of random |x| < 1 go to the
// accurate path).
//
// expm1(x): x = (128 m + j) ln2/128 + r with k = 128 m + j = round(x 128/ln 2), |r| <= 2^-8.52,
// r by Cody and Waite's method (ln2/128 in parts of 35, 35 and 53 bits, |k| < 2^18: x - k P1 exact,
// one exact two-sum, error below 2^-115.4; r = x exactly for k = 0), and
//     expm1 x = 2^m M,  M = (T - 2^-m) + T p,  T = 2^(j/128) (table), p = expm1 r,
// p = r + r^2/2 + r^3 (e3 + ... + e7 r^4) (Taylor, truncation below 2^-75 |r|), r^2 exact. For
// k != 0, |T p| <= 1.01 |M| and |T| <= 2^8.54 |M| (|x| >= ln 2/256 keeps e^x away from 1); for
// k = 0, M = p. Error relative to M: p's tail in double (4.8 roundings of |r|^3/6) 2^-70.4; the
// low parts' additions 2^-72.6; truncation 2^-75; the double-double steps (T - 2^-m, T p, the sum)
// and the table below 2^-95. Total below 2^-70.05 |M|: the rounding test (on M; scaling by 2^m is
// exact, and gives +inf exactly where RN(2^m M) overflows) uses err = 2^-69 |hi| (2.7e-5 of random
// |x| < 1 go to the accurate path).
#include "orv/math/CorrectlyRounded.h"
#include "orv/math/detail/Accurate.h"
#include "orv/math/detail/DoubleDouble.h"
#include "orv/math/detail/FastPaths.h"
#include "orv/math/detail/Tables.h"

#include <cstdint>
#include <limits>

namespace orv {
namespace crmath {
namespace {

using detail::bitsOf;
using detail::clearLowBits;
using detail::DoubleDouble;
using detail::doubleFromBits;
using detail::fastTwoSum;
using detail::magnitude;
using detail::powerOfTwo;
using detail::twoProduct;
using detail::twoSquare;
using detail::twoSum;

constexpr double kLogErr = 0x1.8p-68;
constexpr double kExpErr = 0x1p-69;
constexpr std::uint64_t kSignBit = 0x8000000000000000ULL;

// log(1 + x) as hi + lo for -1 < x < inf, |x| >= 2^-53.
ORV_FORCE_INLINE DoubleDouble logOfOnePlus(double x) {
    const DoubleDouble v = twoSum(1.0, x);
    const std::int64_t t = static_cast<std::int64_t>(bitsOf(v.hi) - bitsOf(0.75));
    // e = floor(t / 2^52), by an unsigned shift of t + 1100 * 2^52 >= 0.
    const std::int64_t e =
        static_cast<std::int64_t>((static_cast<std::uint64_t>(t) + (1100ULL << 52)) >> 52) - 1100;
    const int i = static_cast<int>(((t & 0x000fffffffffffffLL) + (std::int64_t(1) << 44)) >> 45);
    const double m = doubleFromBits(bitsOf(v.hi) - (static_cast<std::uint64_t>(e) << 52));
    const double r = detail::kLogInverse[i];
    const double m1 = clearLowBits(m, 20);
    // 2^-e for the low part: e <= 1022 (for e in {1023, 1024}, ul 2^-1022 instead of
    // ul 2^-e moves z' by less than 2^-1020, far below the bound's slack).
    const double scale = powerOfTwo(static_cast<int>(e < 1022 ? -e : -1022));
    const DoubleDouble z0 = twoSum(m1 * r - 1.0, (m - m1) * r);
    const DoubleDouble z = twoSum(z0.hi, z0.lo + r * (v.lo * scale));
    // -z^2/2 exactly from zh^2 + 2 zh zl; the tail z^3 P(z) with its first-order correction for zl.
    const DoubleDouble s = twoSquare(z.hi);
    // P(z) = l3 + (z (l4 + l5 z) + z^3 (l6 + l7 z) + z^5 (l8 + l9 z)): the pairs in parallel,
    // l3 added last (|P - l3| <= 2^-10, so the last addition's rounding dominates as in Horner's
    // scheme).
    const double z3 = z.hi * s.hi;
    const double poly =
        detail::kLog1p3 + ((z.hi * (detail::kLog1p4 + detail::kLog1p5 * z.hi) +
                            z3 * (detail::kLog1p6 + detail::kLog1p7 * z.hi)) +
                           (z3 * s.hi) * (detail::kLog1p8 + detail::kLog1p9 * z.hi));
    const double tail = z3 * poly;
    const DoubleDouble b = fastTwoSum(z.hi, -0.5 * s.hi);
    const DoubleDouble& tab = detail::kLogTable[i];
    const double ed = static_cast<double>(e);
    const DoubleDouble c = twoSum(ed * detail::kLn2Hi + tab.hi, b.hi);
    const double low = (((ed * detail::kLn2Lo + tab.lo) + (c.lo + b.lo)) +
                        ((z.lo - (0.5 * s.lo + z.hi * z.lo)) + s.hi * z.lo)) +
                       tail;
    return {c.hi, low};
}

// expm1 x = 2^m (hi + lo), for -38 <= x <= 709.8, |x| >= 2^-54.
ORV_FORCE_INLINE DoubleDouble expm1Scaled(double x, int& m) {
    const double shifted = x * detail::kInvLn2Step + detail::kShift;
    const std::int64_t k = static_cast<std::int64_t>(bitsOf(shifted) - bitsOf(detail::kShift));
    const double kd = shifted - detail::kShift;
    const double a = x - kd * detail::kLn2Step1;
    const DoubleDouble h = twoSum(a, -(kd * detail::kLn2Step2));
    const DoubleDouble r = twoSum(h.hi, h.lo - kd * detail::kLn2Step3);
    m = static_cast<int>((static_cast<std::uint64_t>(k) + (1ULL << 20)) >> 7) - (1 << 13); // floor
    const DoubleDouble& t = detail::kExp2Table[k & 127];
    // p = r + r^2/2 + tail, r^2 exact, tail with its first-order correction for rl.
    const DoubleDouble s = twoSquare(r.hi);
    // e3 + (r (e4 + e5 r) + r^3 (e6 + e7 r)), e3 added last.
    const double r3 = r.hi * s.hi;
    const double poly = detail::kExpm1_3 + (r.hi * (detail::kExpm1_4 + detail::kExpm1_5 * r.hi) +
                                            r3 * (detail::kExpm1_6 + detail::kExpm1_7 * r.hi));
    const double tail = r3 * poly;
    const DoubleDouble ph = fastTwoSum(r.hi, 0.5 * s.hi);
    const double pl = ((ph.lo + r.lo) + (0.5 * s.lo + r.hi * r.lo + 0.5 * s.hi * r.lo)) + tail;
    // M = (T - 2^-m) + T p; 2^-m for m <= 1022 (m in {1023, 1024} leaves an error below 2^-1021
    // |M|, within the bound's slack).
    const DoubleDouble g = twoSum(t.hi, -powerOfTwo(m < 1022 ? -m : -1022));
    const DoubleDouble tp = twoProduct(t.hi, ph.hi);
    const double tpl = tp.lo + (t.hi * pl + t.lo * ph.hi);
    const DoubleDouble sum = twoSum(g.hi, tp.hi);
    return {sum.hi, (sum.lo + (g.lo + t.lo)) + tpl};
}

// log1p outside the common range: NaN, -inf at -1, NaN below, x for |x| < 2^-53, +inf.
ORV_NOINLINE bool log1pUnusual(double x, double& result) {
    result = x != x      ? x + x
             : x == -1.0 ? -std::numeric_limits<double>::infinity()
             : x < -1.0  ? std::numeric_limits<double>::quiet_NaN()
                         : x; // |x| < 2^-53, or +inf
    return true;
}

// log1p(x): the common range is 2^-53 <= |x|, -1 < x < inf, from the bits: x >= 2^-53, or
// x <= -2^-53 and x > -1.
ORV_FORCE_INLINE bool fastLog1p(double x, double& result) {
    const std::uint64_t b = bitsOf(x);
    const bool positive = b - 0x3ca0000000000000ULL < 0x7ff0000000000000ULL - 0x3ca0000000000000ULL;
    const bool negative = b - (kSignBit | 0x3ca0000000000000ULL) <
                          (kSignBit | 0x3ff0000000000000ULL) - (kSignBit | 0x3ca0000000000000ULL);
    if (!(positive || negative)) {
        return log1pUnusual(x, result);
    }
    const DoubleDouble r = logOfOnePlus(x);
    return detail::roundsToDouble(r.hi, r.lo, magnitude(r.hi) * kLogErr, result);
}

// expm1 outside the common range: NaN, x for |x| < 2^-54, -1 below -38 (e^x < 2^-54, so -1 + e^x
// rounds to -1; also -inf), +inf above 709.8 (and at +inf), and 709 < x <= 709.8, where 2^m is
// applied in two steps (m up to 1024).
ORV_NOINLINE bool expm1Unusual(double x, double& result) {
    if (x != x || magnitude(x) < 0x1p-54 || x < 0.0 || x > 709.8) {
        result = x != x                   ? x + x
                 : magnitude(x) < 0x1p-54 ? x
                 : x < 0.0                ? -1.0
                                          : std::numeric_limits<double>::infinity();
        return true;
    }
    int m;
    const DoubleDouble r = expm1Scaled(x, m);
    const bool decided = detail::roundsToDouble(r.hi, r.lo, magnitude(r.hi) * kExpErr, result);
    result = (result * powerOfTwo(m - 512)) * 0x1p512;
    return decided;
}

// expm1(x): the common range is 2^-54 <= |x| <= 709, x >= -38.
ORV_FORCE_INLINE bool fastExpm1(double x, double& result) {
    const std::uint64_t ax = bitsOf(x) & ~kSignBit;
    if (ax - 0x3c90000000000000ULL > 0x4086280000000000ULL - 0x3c90000000000000ULL || x < -38.0) {
        return expm1Unusual(x, result);
    }
    int m;
    const DoubleDouble r = expm1Scaled(x, m);
    const bool decided = detail::roundsToDouble(r.hi, r.lo, magnitude(r.hi) * kExpErr, result);
    result = result * powerOfTwo(m);
    return decided;
}

} // namespace

bool detail::log1pFast(double x, double& result) {
    return fastLog1p(x, result);
}
bool detail::expm1Fast(double x, double& result) {
    return fastExpm1(x, result);
}

// log1p(x): x for |x| < 2^-53 (+-0 and subnormals included; x^2/2 is then below half the gap next
// to x), -inf at -1, NaN below -1 and for NaN, +inf at +inf; the fast path otherwise, the accurate
// path where its rounding test fails.
double log1p(double x) {
    double result;
    return fastLog1p(x, result) ? result : detail::log1pAccurate(x);
}

// expm1(x): x for |x| < 2^-54, -1 below -38 (and at -inf), +inf above 709.8 (and at +inf), NaN for
// NaN; the fast path otherwise, the accurate path where its rounding test fails.
double expm1(double x) {
    double result;
    return fastExpm1(x, result) ? result : detail::expm1Accurate(x);
}

} // namespace crmath
} // namespace orv
