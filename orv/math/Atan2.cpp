// atan2 and acos, correctly rounded: a fast path in double-double arithmetic with a proven error
// bound and Ziv's rounding test, the accurate path (orv/math/detail/Accurate.h) where that test
// cannot decide. u = 2^-53 below.
//
// atan2 reduces to atan(n / d) with 0 < n <= d, then adds an offset:
//     R = off + s atan(n / d),  (off, s) = (0, 1), (pi, -1), (pi/2, -1) or (pi/2, 1).
// atan(n / d): c = i / 128 with i = round(128 n / d), and
//     atan(n / d) = atan(c) + atan(t),  t = (n - c d) / (d + c n),  |t| <= 2^-8 (1 + 2^-40),
// atan(c) from a table (double-double), atan(t) = t + t^3 (a3 + a5 t^2 + a7 t^4 + a9 t^6), the
// Taylor polynomial (truncation below 2^-83.4 |t|). n - c d and d + c n are exact or nearly so:
// c has at most 8 significant bits, so with d = d1 + d2 (d1: d with its 8 low bits cleared),
// c d1 and c d2 are exact products, and n - c d1 is exact by Sterbenz's lemma (for i >= 1,
// n / d is within 1/256 of c >= 1/128). t is a double-double from one division and the exact
// remainder of its leading part (and a reciprocal for the low part, computed beside it).
//
// Error of the fast path (relative to R), the terms in order of size:
//   tail t^3 P(t^2) evaluated in double: |tail| <= |t| 2^-17.58, relative error <= 4.5 u (t^2,
//     the two products, P's last addition and its leading coefficient) -> 2^-68.41 |t|;
//   the additions of the small terms: 3 u |tail| + 8 u^2 (|atan c| + |t|) -> 2^-69.0 |t|;
//   truncation 2^-83.46 |t|; t's own error 2^-85 |t|; the table entries and pi's: 2^-105 |R|.
// |t| <= 1.0001 |atan(n / d)| (i = 0: t = n / d; i >= 1: |t| <= 2^-8 <= atan(c - 1/256)), and
// |atan(n / d)| <= |R| (an offset pi or pi/2 only adds to it), so the total stays below
// 2^-67.67 |R|. acos (below) follows the same pattern with asin(i/128) instead of atan(i/128) and
// no division, below 2^-68.05 |R|. The rounding test uses err = 1.5 * 2^-68 |hi| (see
// roundsToDouble): 1.9e-5 of random unit vectors and 6.1e-5 of random x in [-1, 1] go to the
// accurate path.
#include "orv/math/CorrectlyRounded.h"
#include "orv/math/detail/Accurate.h"
#include "orv/math/detail/DoubleDouble.h"
#include "orv/math/detail/FastPaths.h"
#include "orv/math/detail/Tables.h"

#include <cmath>
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

constexpr double kAtanErr = 0x1.8p-68;
// 1.5 * 2^45: for 0 <= q <= 1, q + kShift7 lies in [2^45, 2^46), where the doubles are the
// multiples of 2^-7.
constexpr double kShift7 = 0x1.8p45;
constexpr std::uint64_t kSignBit = 0x8000000000000000ULL;

// The offset and the sign of atan(n / d) in R, by 2 * (|y| > |x|) + (x < 0).
struct Offset {
    double hi, lo, sign;
};
constexpr Offset kOffsets[4] = {{0.0, 0.0, 1.0},
                                {detail::kPi.hi, detail::kPi.lo, -1.0},
                                {detail::kPiHalf.hi, detail::kPiHalf.lo, -1.0},
                                {detail::kPiHalf.hi, detail::kPiHalf.lo, 1.0}};

// The rounded remainder RN(a - th b) where a - p.hi is exact (Sterbenz's lemma), p = th b: in one
// fused multiply-add with kFma, else from the exact product (the same value: one rounding of the
// same exact difference).
template <bool kFma> ORV_FORCE_INLINE double remainderOf(double a, double th, double b) {
#if ORV_HAVE_AVX2_INTRINSICS
    if constexpr (kFma) {
        return ORV_FMA_TARGETED(-th, b, a);
    }
#endif
    const DoubleDouble p = twoProduct(th, b);
    return (a - p.hi) - p.lo;
}

// off + sign atan(n / d) as a double-double, for 2^-64 <= n / d <= 1 and 2^-480 <= d < 2^481
// (every product below is exact).
template <bool kFma>
ORV_FORCE_INLINE DoubleDouble atanOfRatio(double nh, double dh, const Offset& off) {
    // c = i / 128 with i = round(128 nh / dh): q + 1.5 * 2^45 rounds q to a multiple of 2^-7
    // (ties to even), and the low bits of that sum hold i (0 <= i <= 128).
    const double q = nh / dh;
    const double shifted = q + kShift7;
    const int i = static_cast<int>(bitsOf(shifted) - bitsOf(kShift7));
    const double c = shifted - kShift7;
    // A = n - c d and B = d + c n. c dh1, c dh2, c nh1, c nh2 are exact; nh - c dh1 is exact
    // (i = 0: c = 0; i >= 1: c dh1 / nh lies in [1/2, 2]): A = Ah + Al exactly, and
    // |B - Bh - Bl| <= u |c nh2| <= 2^-97 B.
    const double dh1 = clearLowBits(dh, 8);
    const double nh1 = clearLowBits(nh, 8);
    const DoubleDouble a = twoSum(nh - c * dh1, -(c * (dh - dh1)));
    const DoubleDouble b = twoSum(dh, c * nh1);
    const double al = a.lo;
    const double bl = b.lo + c * (nh - nh1);
    // t = A / B = th + tl: th = Ah / Bh correctly rounded, the remainder Ah - th Bh is exact (Ah -
    // p by Sterbenz's lemma, then one rounding), tl from the reciprocal of Bh formed beside th
    // (within 2^-51 relative); |t - th - tl| <= 2^-85 |t|. stl = sign tl (the sign is +-1: exact).
    const double th = a.hi / b.hi;
    const double inv = 1.0 / b.hi;
    const double rem = remainderOf<kFma>(a.hi, th, b.hi);
    const double stl = (rem + (al - th * bl)) * (off.sign * inv);
    // atan(t) - t = tail(th) + tail'(th) tl, tail(t) = t^3 P(t^2), tail'(t) = -t^2 / (1 + t^2):
    // the correction -z tl (tl (1 - z) below) keeps the error of using th in the tail second
    // order.
    const double z = th * th;
    const double poly = detail::kAtan3 + (z * (detail::kAtan5 + detail::kAtan7 * z) +
                                          (z * z) * (detail::kAtan9 * z));
    const double tail = (th * z) * poly;
    // atan(c) + atan(t): |atan c| >= 2 |th| for i >= 1, and atan(c) = 0 for i = 0, so the
    // leading sum is a FastTwoSum. off + sign (lead.hi + low), the terms known before tl summed
    // first, so that the last addition waits for tl alone.
    const DoubleDouble& tab = detail::kAtanTable[i];
    const DoubleDouble lead = fastTwoSum(tab.hi, th);
    const double known = (tab.lo + lead.lo) + tail;
    const DoubleDouble r = twoSum(off.hi, off.sign * lead.hi);
    const double w = (r.lo + off.lo) + off.sign * known;
    return {r.hi, w + stl * (1.0 - z)};
}

// e with 2^e <= v < 2^(e+1), for finite v > 0 (subnormals included).
int exponentOf(double v) {
    if (v < 0x1p-1022) {
        return static_cast<int>(bitsOf(v * 0x1p600) >> 52) - 1023 - 600;
    }
    return static_cast<int>(bitsOf(v) >> 52) - 1023;
}

// v / 2^exponentOf(v), in [1, 2).
double significandOf(double v) {
    const double normal = v < 0x1p-1022 ? v * 0x1p600 : v;
    return doubleFromBits((bitsOf(normal) & 0x000fffffffffffffULL) | 0x3ff0000000000000ULL);
}

// RN(atan(q)) for q = n / d, 0 < q < 2^-61, n and d positive normal. atan(q) lies in
// (q - q^3/3, q]; q is never a midpoint of two doubles (n = q d would need 54 significant bits),
// and where q is normal its distance to one is at least 2^-107 q > q^3/3, so RN(atan q) = RN(q).
// In the subnormal range the grid is coarser and q may be a midpoint: then atan(q) < q rounds
// towards zero.
double atanOfTinyRatio(double n, double d) {
    const double q = n / d;
    if (q > 0x1p-1022) {
        return q;
    }
    // n = n1 2^en, d = d1 2^ed with n1, d1 in [1, 2).
    const int en = exponentOf(n);
    const int ed = exponentOf(d);
    const double n1 = significandOf(n);
    const double d1 = significandOf(d);
    const int e = en - ed; // q = (n1 / d1) 2^e
    if (e < -1076) {
        return 0.0; // q < 2^-1075: below half the least subnormal
    }
    // w = RN(n1 / d1), n1 / d1 = w + rem / d1 exactly (rem = n1 - w d1, exact).
    const double w = n1 / d1;
    const DoubleDouble p = twoProduct(w, d1);
    const double rem = (n1 - p.hi) - p.lo;
    // r0 = RN(w 2^e) on the subnormal grid (one rounding), and back its value in w's units.
    const double r0 = (w * powerOfTwo(e + 600)) * 0x1p-600;
    const double back = (r0 * 0x1p600) * powerOfTwo(-e - 600);
    const double half = powerOfTwo(-1075 - e); // half the grid in w's units (midpoints are on
                                               // w's grid: e <= -1022)
    const double diff = w - back;              // exact
    if (magnitude(diff) != half) {
        return r0; // w is not a midpoint, so neither is q, and RN(q) = RN(w)
    }
    // w is a midpoint: q = w exactly (rounds towards zero, as atan(q) < q), or q lies on the side
    // of rem's sign.
    const double step = 0x1p-1074;
    const bool wantUp = rem > 0.0;
    const bool roundedUp = back > w;
    if (wantUp == roundedUp) {
        return r0;
    }
    return roundedUp ? r0 - step : r0 + step;
}

// atan2 on the common path's arguments (finite, normal, ratio of the smaller magnitude to the
// larger at least 2^-63, larger magnitude in [2^-480, 2^481)); off is picked by the caller.
template <bool kFma>
ORV_FORCE_INLINE bool atan2Main(double n, double d, const Offset& off, double y, double& result) {
    const DoubleDouble r = atanOfRatio<kFma>(n, d, off);
    const bool decided = detail::roundsToDouble(r.hi, r.lo, magnitude(r.hi) * kAtanErr, result);
    // R > 0, so giving it y's sign is the copy of the sign bit (floating-point operations only).
    result = std::copysign(result, y);
    return decided;
}

// The cases that the common path leaves aside: NaN, zeros, infinities, subnormal or very large
// arguments, and |n / d| < 2^-62.
ORV_NOINLINE bool atan2Unusual(double y, double x, double& result) {
    const std::uint64_t ax = bitsOf(x) & ~kSignBit;
    const std::uint64_t ay = bitsOf(y) & ~kSignBit;
    const std::uint64_t sy = bitsOf(y) & kSignBit;
    const bool xNegative = (bitsOf(x) & kSignBit) != 0;
    const std::uint64_t inf = 0x7ff0000000000000ULL;
    const auto withSignOfY = [sy](double v) { return doubleFromBits(bitsOf(v) ^ sy); };
    if (ax > inf || ay > inf) {
        result = x + y; // NaN
        return true;
    }
    result = withSignOfY(detail::kPiHalf.hi); // y infinite or x zero (y nonzero)
    if (ay == 0) { // atan2(+-0, x): +-0 for x = +0 or x > 0, +-pi for x = -0 or x < 0
        result = withSignOfY(xNegative ? detail::kPi.hi : 0.0);
    } else if (ay == inf && ax == inf) {
        result = withSignOfY(xNegative ? detail::kThreePiQuarters.hi : detail::kPiQuarter.hi);
    } else if (ax == inf) {
        result = withSignOfY(xNegative ? detail::kPi.hi : 0.0);
    }
    if (ay == 0 || ay == inf || ax == 0 || ax == inf) {
        return true;
    }
    // Finite and nonzero: n = min(|x|, |y|), d = max(|x|, |y|).
    const bool swapped = ay > ax;
    double n = doubleFromBits(swapped ? ax : ay);
    double d = doubleFromBits(swapped ? ay : ax);
    const Offset& off = kOffsets[2 * swapped + xNegative];
    if (exponentOf(d) - exponentOf(n) > 62) {
        // n / d < 2^-62: atan(n / d) = q - q^3/3 + ..., with q^3/3 below 2^-183 off when off != 0.
        if (off.hi == 0.0) {
            result = withSignOfY(atanOfTinyRatio(n, d));
            return true;
        }
        // |R - off.hi - (off.lo + s q)| <= 2^-106 off + u q + 2^-1074 + u |off.lo + s q|.
        const double q = n / d;
        const bool decided =
            detail::roundsToDouble(off.hi, off.lo + off.sign * q, off.hi * 0x1p-100, result);
        result = withSignOfY(result);
        return decided;
    }
    // n / d >= 2^-63 and d outside [2^-480, 2^481): scale n and d so that d lies in [1, 2)
    // (exact: n ends up above 2^-64).
    if (d < 0x1p-1022) {
        n *= 0x1p600;
        d *= 0x1p600;
    }
    const int e = exponentOf(d);
    const double s1 = powerOfTwo(-e / 2);
    const double s2 = powerOfTwo(-e + e / 2);
    n = (n * s1) * s2;
    d = (d * s1) * s2;
    return atan2Main<false>(n, d, off, y, result);
}

// atan2: the common path takes finite normal arguments whose larger magnitude lies in
// [2^-480, 2^481) and whose ratio is at least 2^-63; atan2Unusual takes the rest.
template <bool kFma> ORV_FORCE_INLINE bool fastAtan2(double y, double x, double& result) {
    const std::uint64_t ax = bitsOf(x) & ~kSignBit;
    const std::uint64_t ay = bitsOf(y) & ~kSignBit;
    const bool swapped = ay > ax;
    const std::uint64_t an = swapped ? ax : ay;
    const std::uint64_t ad = swapped ? ay : ax;
    // Biased exponents: d's in [1023 - 480, 1023 + 480], n's at most 62 below it (then n is
    // normal and nonzero, and d finite).
    const std::int64_t ed = static_cast<std::int64_t>(ad >> 52);
    const std::int64_t en = static_cast<std::int64_t>(an >> 52);
    if (static_cast<std::uint64_t>(ed - (1023 - 480)) > 960 || ed - en > 62) {
        return atan2Unusual(y, x, result);
    }
    const bool xNegative = (bitsOf(x) & kSignBit) != 0;
#if ORV_HAVE_SSE2
    // n and d once more as the smaller and larger magnitude by the processor's minimum and
    // maximum (the same values here, no branch): the division need not wait for the integer
    // selection.
    const __m128d mx = _mm_set_sd(magnitude(x));
    const __m128d my = _mm_set_sd(magnitude(y));
    const double n = _mm_cvtsd_f64(_mm_min_sd(mx, my));
    const double d = _mm_cvtsd_f64(_mm_max_sd(mx, my));
#else
    const double n = doubleFromBits(an);
    const double d = doubleFromBits(ad);
#endif
    return atan2Main<kFma>(n, d, kOffsets[2 * swapped + xNegative], y, result);
}

// The fast path compiled for AVX2 with the fused multiply-add (one instruction for each exact
// product instead of Dekker's seventeen operations), for processors that have them: the same
// bits. Not where the whole build has FMA already (twoProduct uses it) or has no SIMD paths.
#if ORV_HAVE_AVX2_INTRINSICS && !ORV_HAVE_FMA
#define ORV_ATAN2_FMA_PATH 1
ORV_NOINLINE ORV_TARGET_AVX2_FMA bool fastAtan2Fma(double y, double x, double& result) {
    return fastAtan2<true>(y, x, result);
}
// Whether the processor runs that path: asked when the library is loaded (a call made before, from
// the start-up of another library, takes the baseline path: the same bits).
const bool kFmaPath = orv::detail::processorHasAvx2Fma();
// atan2 on that path: the result returned in a register.
ORV_NOINLINE ORV_TARGET_AVX2_FMA double atan2Fma(double y, double x) {
    double result;
    return fastAtan2<true>(y, x, result) ? result : detail::atan2Accurate(y, x);
}
#else
#define ORV_ATAN2_FMA_PATH 0
#endif

// acos for 2^-55 <= |x| < 1. Y = sqrt(1 - x^2) as a double-double: W = 1 - x^2 = (1 - p) - e from
// the exact square x^2 = p + e and two TwoSums (exact where |x| >= 2^-1/2, where 1 - p is exact
// and nonzero; within 3u^2 W elsewhere, W >= 1/2), Yh = sqrt(Wh) (correctly rounded),
// Yl = (W - Yh^2) / (2 Yh) with Yh^2 exact: |Y - Yh - Yl| <= 9u^2 Y. With small = min(|x|, Y) and
// big = max(|x|, Y) = sqrt(1 - small^2), acos x = off + sign asin(small) with atan2's offsets
// (swapped: Y > |x|), and
//     asin(small) = asin(c) + asin(s),  s = small sqrt(1 - c^2) - big c,  c = i / 128,
// i = round(128 small) <= 91, |s| <= 2^-7.49; asin(c) and sqrt(1 - c^2) from tables
// (double-double). big c is exact in two products (c has 8 bits), small sqrt(1 - c^2) - big c is
// exact up to the low parts' roundings by Sterbenz's lemma (i >= 1) and a TwoSum: |s - s'| <=
// 2^-101 (for i = 0, s = small exactly). asin(s) = s + s^3 (b3 + ... + b9 s^6) (truncation
// 2^-80.4 |s|), the tail in double: 4.8 roundings of |s|^3/6, 2^-68.3 |s|, with |s| <= |R|; the
// sums as in atan2. Total below 2^-68.05 |R|: the same rounding test as atan2.
ORV_FORCE_INLINE bool fastAcos(double x, double& result) {
    const double ax = magnitude(x);
    if (!(ax < 1.0) || ax < 0x1p-55) {
        // NaN for NaN and |x| > 1; acos(1) = +0, acos(-1) = RN(pi); RN(pi/2) for |x| < 2^-55
        // (pi/2 - x is then within half an ulp of pi/2's double).
        result = ax < 0x1p-55 ? detail::kPiHalf.hi
                 : x == 1.0   ? 0.0
                 : x == -1.0  ? detail::kPi.hi
                 : x != x     ? x + x
                              : std::numeric_limits<double>::quiet_NaN();
        return true;
    }
    const DoubleDouble x2 = twoSquare(ax);
    const DoubleDouble w1 = twoSum(1.0, -x2.hi);
    const DoubleDouble w = twoSum(w1.hi, w1.lo - x2.lo);
    const double yh = std::sqrt(w.hi);
    const DoubleDouble y2 = twoSquare(yh);
    const double yl = (((w.hi - y2.hi) - y2.lo) + w.lo) / (2.0 * yh);
    // small = |x| below 2^-1/2 (RN(2^-1/2) is within an ulp of it: then small may exceed big by an
    // ulp, which keeps i <= 91 and |s| <= 2^-7.49). Decided from x alone, this choice is known
    // before the square root, so a predicted branch lets the table work start early.
    const bool swapped = ax < 0x1.6a09e667f3bcdp-1;
    const Offset& off = kOffsets[2 * swapped + (x < 0.0)];
    const double sh = swapped ? ax : yh;
    const double sl = swapped ? 0.0 : yl;
    const double bh = swapped ? yh : ax;
    const double bl = swapped ? yl : 0.0;
    const double shifted = sh * 128.0 + detail::kShift;
    const int i = static_cast<int>(bitsOf(shifted) - bitsOf(detail::kShift));
    const double c = (shifted - detail::kShift) * 0x1p-7;
    const DoubleDouble& cs = detail::kAsinCosTable[i];
    const DoubleDouble p = twoProduct(sh, cs.hi);
    const double bh1 = clearLowBits(bh, 8);
    const DoubleDouble d = twoSum(p.hi - c * bh1, -(c * (bh - bh1)));
    const DoubleDouble s = twoSum(d.hi, d.lo + ((p.lo + (sh * cs.lo + sl * cs.hi)) - c * bl));
    // asin(s) - s = tail(sh) + tail'(sh) sl, tail'(s) ~ s^2 / 2.
    const double z = s.hi * s.hi;
    const double poly = detail::kAsin3 + (z * (detail::kAsin5 + detail::kAsin7 * z) +
                                          (z * z) * (detail::kAsin9 * z));
    const double tail = (s.hi * z) * poly;
    const double tl = s.lo + 0.5 * z * s.lo;
    // asin(c) + asin(s): |asin c| >= 2^-7.49 >= |s| for i >= 1, asin(c) = 0 for i = 0.
    const DoubleDouble& tab = detail::kAsinTable[i];
    const DoubleDouble lead = fastTwoSum(tab.hi, s.hi);
    const double low = ((tab.lo + tl) + lead.lo) + tail;
    const DoubleDouble r = twoSum(off.hi, off.sign * lead.hi);
    return detail::roundsToDouble(r.hi, r.lo + (off.lo + off.sign * low),
                                  magnitude(r.hi) * kAtanErr, result);
}

} // namespace

bool detail::atan2Fast(double y, double x, double& result) {
    return fastAtan2<false>(y, x, result);
}

bool detail::atan2FastFma(double y, double x, double& result) {
#if ORV_ATAN2_FMA_PATH
    if (orv::detail::processorHasAvx2Fma()) {
        return fastAtan2Fma(y, x, result);
    }
#endif
    return fastAtan2<false>(y, x, result);
}

bool detail::acosFast(double x, double& result) {
    return fastAcos(x, result);
}

// atan2(y, x): Annex F's special values, the fast path, the accurate path where its rounding test
// fails.
double atan2(double y, double x) {
    double result;
#if ORV_ATAN2_FMA_PATH
    if (kFmaPath) {
        return atan2Fma(y, x);
    }
#endif
    return fastAtan2<false>(y, x, result) ? result : detail::atan2Accurate(y, x);
}

// acos(x): NaN for NaN and |x| > 1, acos(1) = +0, the fast path, the accurate path where its
// rounding test fails.
double acos(double x) {
    double result;
    return fastAcos(x, result) ? result : detail::acosAccurate(x);
}

} // namespace crmath
} // namespace orv
