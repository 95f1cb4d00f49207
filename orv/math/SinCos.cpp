// sin, cos, sincos and their float forms, correctly rounded: a fast path with a proven error bound
// and Ziv's rounding test, the accurate path (orv/math/detail/Accurate.h, exact reduction) where
// that test cannot decide or |x| >= 2^20. u = 2^-53 below.
//
// Reduction: x = k pi/512 + r with k = round(x 512/pi) (from x times 512/pi rounded, so
// |r| <= (1 + 2^-22) pi/1024 < 2^-8.34), by Cody and Waite's method with pi/512 split into parts
// whose products by k are exact:
//   |x| < 2^12: three parts (33, 33, 53 bits), |k| < 2^20. x - k P1 is exact (both are multiples
//     of ulp(x), and |x - k P1| < 2^(e+1) for 2^e <= |x|), x - k P1 - k P2 is an exact two-sum,
//     k P3 is rounded. The error of r is below 2^-107.6 (k P3's rounding 2^-109, the tail of
//     pi/512 times k 2^-110, the rounding of the low part 2^-108.9).
//   2^12 <= |x| < 2^20, and wherever the first reduction leaves |r| < 2^-30 (x near a multiple of
//     pi/2: sin or cos is then about r and needs r to its own precision): five parts (25, 25, 25,
//     25, 53 bits), |k| < 2^28, three exact two-sums: error below 2^-136.6 + 2^-102.8 |r|.
// With q = k mod 1024, quadrant Q = q / 256 and j = q mod 256, x = Q pi/2 + j pi/512 + r, and each
// result is A cos r + B sin r with (A, B) = +-(sin(j pi/512), cos(j pi/512)) or
// +-(cos(j pi/512), -sin(j pi/512)) from one table of sin(i pi/512), i = 0..256 (double-double).
// Since |A| >= sin(pi/512) >= 2 |r| unless A = 0, |R| >= 0.49 |A| and |R| >= 0.98 |B r|.
//
// Evaluation: R = A + B r + A (cos r - 1) + B (sin r - r), with B_hi r_hi an exact product,
// A + B r a FastTwoSum, cos r - 1 = -z/2 + z^2 (c4 + c6 z) - r_hi r_lo and
// sin r - r = r z (s3 + s5 z + s7 z^2) (z = r_hi^2, Taylor: truncation 2^-82 |A| and 2^-85 |B r|)
// in double. Error terms: A (cos r - 1), four roundings of a value below 2^-17.7 |A|:
// 2^-68.7 |A| <= 2^-67.7 |R|; B (sin r - r), 8.5 roundings of 2^-19.3 |B r|: 2^-69.2 |R|; the last
// two additions 2^-69.4 |R| and 2^-72.3 |R|; table entries, truncation and the exact parts' lows
// below 2^-80 |R|. Total below 2^-66.85 |R|, plus the reduction's error (|dR/dr| <= 1). The
// rounding test uses err = 1.5 * 2^-67 |hi| + D (D = 2^-107 or 2^-136 for the two reductions; the
// second's relative 2^-102.8 |r| lies within the slack of 1.5 * 2^-67): 1.35e-4 of random angles
// go to the accurate path.
//
// The float functions evaluate in double. r: for |x| < 2^20 from the 25- and 25-bit parts and a
// 53-bit third (r = r(1 + d) + e, |d| <= u, |e| < 2^-84.4); above, by Payne and Hanek's method
// from the bits of 2/pi (|d| <= 3u, |e| < 2^-71.3). Table entries rounded to double,
// sin r = r + r z (s3 + s5 z), cos r - 1 = z (c2 + c4 z) (truncation 2^-62.4 and 2^-59.6). Error
// below u (|A| + 7 |B r| + |R|) + e <= 10.2u |R| + e = 2^-49.6 |R| + e; the test against float's
// rounding uses err = 2^-48 |R| + 2^-84 (or 2^-71): 222 (sinf) and 246 (cosf) of the 2^32 floats
// go to the accurate path.
#include "orv/math/CorrectlyRounded.h"
#include "orv/math/detail/Accurate.h"
#include "orv/math/detail/DoubleDouble.h"
#include "orv/math/detail/FastPaths.h"
#include "orv/math/detail/Tables.h"

#include <cstdint>

namespace orv {
namespace crmath {
namespace {

using detail::bitsOf;
using detail::DoubleDouble;
using detail::doubleFromBits;
using detail::fastTwoSum;
using detail::kSinTable;
using detail::magnitude;
using detail::twoProduct;
using detail::twoSum;

constexpr double kSinErr = 0x1.8p-67;
constexpr double kNearErr = 0x1p-107;
constexpr double kWideErr = 0x1p-136;
constexpr double kFloatErr = 0x1p-48;
constexpr double kFloatAbsErr = 0x1p-84;
constexpr double kLargeFloatAbsErr = 0x1p-71;

// |x| below which sin x rounds to x (x^2/6 < 2^-54.5 |x|, under half the gap below |x|) and
// cos x to 1 (x^2/2 < 2^-55, under half the gap below 1); the same for float (2^-12 for both).
constexpr std::uint64_t kSinTiny = 0x3e50000000000000ULL;   // 2^-26
constexpr std::uint64_t kCosTiny = 0x3e40000000000000ULL;   // 2^-27
constexpr std::uint64_t kNearLimit = 0x40b0000000000000ULL; // 2^12
constexpr std::uint64_t kWideLimit = 0x4130000000000000ULL; // 2^20
constexpr std::uint32_t kFloatTiny = 0x39800000U;           // 2^-12
constexpr std::uint32_t kFloatLimit = 0x49800000U;          // 2^20

// x = k pi/512 + rh + rl (|error| <= err), k as an integer.
struct Reduced {
    double rh, rl, err;
    std::int64_t k;
};

ORV_FORCE_INLINE double roundedMultiple(double x, std::int64_t& k) {
    const double shifted = x * detail::kInvStep + detail::kShift;
    k = static_cast<std::int64_t>(bitsOf(shifted) - bitsOf(detail::kShift));
    return shifted - detail::kShift;
}

// |x| < 2^12.
ORV_FORCE_INLINE Reduced reduceNear(double x) {
    std::int64_t k;
    const double kd = roundedMultiple(x, k);
    const double a = x - kd * detail::kStep1;
    const DoubleDouble h = twoSum(a, -(kd * detail::kStep2));
    const DoubleDouble r = twoSum(h.hi, h.lo - kd * detail::kStep3);
    return {r.hi, r.lo, kNearErr, k};
}

// |x| < 2^20.
ORV_NOINLINE Reduced reduceWide(double x) {
    std::int64_t k;
    const double kd = roundedMultiple(x, k);
    const double a = x - kd * detail::kWideStep1;
    const DoubleDouble s1 = twoSum(a, -(kd * detail::kWideStep2));
    const DoubleDouble s2 = twoSum(s1.hi, -(kd * detail::kWideStep3));
    const DoubleDouble s3 = twoSum(s2.hi, -(kd * detail::kWideStep4));
    const double lo = ((s1.lo + s2.lo) + s3.lo) - kd * detail::kWideStep5;
    const DoubleDouble r = twoSum(s3.hi, lo);
    return {r.hi, r.lo, kWideErr, k};
}

// The reduction for 2^-27 <= |x| < 2^20.
ORV_FORCE_INLINE Reduced reduce(double x) {
    if ((bitsOf(x) & 0x7fffffffffffffffULL) < kNearLimit) {
        const Reduced r = reduceNear(x);
        if (magnitude(r.rh) >= 0x1p-30) {
            return r;
        }
    }
    return reduceWide(x);
}

// The polynomial parts shared by sin and cos of one reduced argument.
struct Terms {
    double rh, rl, cm, sm, err;
    std::int64_t k;
};

ORV_FORCE_INLINE Terms terms(const Reduced& r) {
    const double z = r.rh * r.rh;
    const double cm = -0.5 * z + (z * z * (detail::kCos4 + z * detail::kCos6) - r.rh * r.rl);
    const double sm = (r.rh * z) * (detail::kSin3 + z * (detail::kSin5 + z * detail::kSin7));
    return {r.rh, r.rl, cm, sm, r.err, r.k};
}

// The table entries and signs of (A, B) for k and the quadrant offset `shift` (0: sin, 1: cos):
// quadrant Q' = (k / 256 + shift) mod 4 and j = k mod 256 give (A, B) = (S_j, C_j), (C_j, -S_j),
// (-S_j, -C_j), (-C_j, S_j) with S_j = table[j], C_j = table[256 - j]. Integer operations only.
struct Entries {
    unsigned ia, ib;
    double signA, signB; // +1 or -1 (multiplications by them are exact)
};
constexpr double kSigns[2] = {1.0, -1.0};

ORV_FORCE_INLINE Entries entries(std::int64_t k, unsigned shift) {
    const unsigned q = static_cast<unsigned>(k) & 1023U;
    const unsigned quadrant = ((q >> 8) + shift) & 3U;
    const unsigned j = q & 255U;
    const unsigned odd = 0U - (quadrant & 1U);
    const unsigned ia = j ^ ((j ^ (256U - j)) & odd);
    return {ia, 256U - ia, kSigns[quadrant >> 1], kSigns[(quadrant ^ (quadrant >> 1)) & 1U]};
}

// A cos r + B sin r for the quadrant offset `shift`, as hi + lo, with the rounding test; false
// where it fails.
ORV_FORCE_INLINE bool rotate(const Terms& t, unsigned shift, double& result) {
    const Entries e = entries(t.k, shift);
    const DoubleDouble& ta = kSinTable[e.ia];
    const DoubleDouble& tb = kSinTable[e.ib];
    const double ah = e.signA * ta.hi;
    const double al = e.signA * ta.lo;
    const double bh = e.signB * tb.hi;
    const double bl = e.signB * tb.lo;
    const DoubleDouble p = twoProduct(bh, t.rh);
    const DoubleDouble s = fastTwoSum(ah, p.hi);
    const double small = ((al + s.lo) + p.lo) + (bh * t.rl + bl * t.rh);
    const double low = (small + bh * t.sm) + ah * t.cm;
    return detail::roundsToDouble(s.hi, low, magnitude(s.hi) * kSinErr + t.err, result);
}

// The float form: x = k pi/512 + r, r in double (|x| < 2^20).
ORV_FORCE_INLINE double reduceFloat(float xf, std::int64_t& k) {
    const double x = xf;
    const double kd = roundedMultiple(x, k);
    const double a = x - kd * detail::kFloatStep1;
    const DoubleDouble h = twoSum(a, -(kd * detail::kFloatStep2));
    return h.hi + (h.lo - kd * detail::kFloatStep3);
}

// 2^20 <= |x| < 2^128: Payne and Hanek's reduction. x = M 2^E (M < 2^24, -3 <= E <= 104) and
// y = x 2/pi mod 4 from a window of 128 bits of 2/pi starting at weight 2^-(E-1) (bits of larger
// weight add multiples of 4 to y; the bits after the window add less than 2^-102): P = M G exactly
// in 32-bit limbs, y = P 2^-s. k = round(256 y) mod 1024 from the 10 bits around the binary point,
// f = 256 y - k from the next 64, r = f pi/512 rounded: r = r_true (1 + d) + e with |d| <= 3u,
// |e| <= 2^-71.3 (the bits of f beyond 64).
ORV_NOINLINE double reduceLargeFloat(float xf, std::int64_t& k) {
    const std::uint32_t ax = bitsOf(xf) & 0x7fffffffU;
    const std::uint64_t m = (ax & 0x7fffffU) | 0x800000U;
    const int e = static_cast<int>(ax >> 23) - 150;
    const int j0 = e >= 2 ? e - 1 : 1; // the window's first bit has weight 2^-j0
    const int wi = (j0 - 1) >> 6;
    const int sh = (j0 - 1) & 63;
    const std::uint64_t* t = detail::kTwoOverPiBits;
    const std::uint64_t ghi = sh ? (t[wi] << sh) | (t[wi + 1] >> (64 - sh)) : t[wi];
    const std::uint64_t glo = sh ? (t[wi + 1] << sh) | (t[wi + 2] >> (64 - sh)) : t[wi + 1];
    std::uint32_t limb[6];
    std::uint64_t acc = m * (glo & 0xffffffffU);
    limb[0] = static_cast<std::uint32_t>(acc);
    acc = (acc >> 32) + m * (glo >> 32);
    limb[1] = static_cast<std::uint32_t>(acc);
    acc = (acc >> 32) + m * (ghi & 0xffffffffU);
    limb[2] = static_cast<std::uint32_t>(acc);
    acc = (acc >> 32) + m * (ghi >> 32);
    limb[3] = static_cast<std::uint32_t>(acc);
    limb[4] = static_cast<std::uint32_t>(acc >> 32);
    limb[5] = 0;
    // The 64 bits of P from bit `pos` up.
    const auto bitsFrom = [&limb](int pos) {
        const int w = pos >> 5;
        const int b = pos & 31;
        const std::uint64_t low = limb[w] | (static_cast<std::uint64_t>(limb[w + 1]) << 32);
        return b ? (low >> b) | (static_cast<std::uint64_t>(limb[w + 2]) << (64 - b)) : low;
    };
    const int s = 127 + j0 - e; // y = P 2^-s
    const std::uint64_t f = bitsFrom(s - 72);
    const std::uint64_t q = (bitsFrom(s - 8) & 1023U) + (f >> 63);
    const double fr = static_cast<double>((f >> 63) ? -static_cast<std::int64_t>(~f) - 1
                                                    : static_cast<std::int64_t>(f)) *
                      0x1p-64;
    const bool negative = (bitsOf(xf) >> 31) != 0;
    k = negative ? -static_cast<std::int64_t>(q) : static_cast<std::int64_t>(q);
    const double r = fr * detail::kPiOver512;
    return negative ? -r : r;
}

ORV_FORCE_INLINE bool rotateFloat(double r, double z, std::int64_t k, unsigned shift, double absErr,
                                  float& result) {
    const Entries e = entries(k, shift);
    const double a = e.signA * kSinTable[e.ia].hi;
    const double b = e.signB * kSinTable[e.ib].hi;
    const double sinr = r + (r * z) * (detail::kSin3 + z * detail::kSin5);
    const double cm = z * (detail::kCos2 + z * detail::kCos4);
    const double d = a + (a * cm + b * sinr);
    return detail::roundsToFloat(d, magnitude(d) * kFloatErr + absErr, result);
}

// sin (shift 0) or cos (shift 1) outside the common range: x (sin) or 1 (cos) below it, NaN for
// infinities and NaN; false for 2^20 <= |x| < inf (the accurate path reduces exactly).
ORV_NOINLINE bool sinCosUnusual(double x, unsigned shift, double& result) {
    const std::uint64_t ax = bitsOf(x) & 0x7fffffffffffffffULL;
    result = ax < kWideLimit ? (shift == 0U ? x : 1.0) : x - x;
    return ax < kWideLimit || ax >= 0x7ff0000000000000ULL;
}

// sin (shift 0, common range 2^-26 <= |x| < 2^20) or cos (shift 1, 2^-27 <= |x| < 2^20).
ORV_FORCE_INLINE bool fastSinCos(double x, unsigned shift, double& result) {
    const std::uint64_t ax = bitsOf(x) & 0x7fffffffffffffffULL;
    const std::uint64_t tiny = shift == 0U ? kSinTiny : kCosTiny;
    if (ax - tiny >= kWideLimit - tiny) {
        return sinCosUnusual(x, shift, result);
    }
    return rotate(terms(reduce(x)), shift, result);
}

// sinf (shift 0) or cosf (shift 1) outside the common range: x or 1 below 2^-12, NaN for
// infinities and NaN, the large reduction for 2^20 <= |x| < inf.
ORV_NOINLINE bool sinCosFloatUnusual(float x, unsigned shift, float& result) {
    const std::uint32_t ax = bitsOf(x) & 0x7fffffffU;
    if (ax < kFloatTiny || ax >= 0x7f800000U) {
        result = ax < kFloatTiny ? (shift == 0U ? x : 1.0f) : x - x;
        return true;
    }
    std::int64_t k;
    const double r = reduceLargeFloat(x, k);
    return rotateFloat(r, r * r, k, shift, kLargeFloatAbsErr, result);
}

// sinf (shift 0) or cosf (shift 1); false where the rounding test fails.
ORV_FORCE_INLINE bool fastSinCosFloat(float x, unsigned shift, float& result) {
    const std::uint32_t ax = bitsOf(x) & 0x7fffffffU;
    if (ax - kFloatTiny >= kFloatLimit - kFloatTiny) {
        return sinCosFloatUnusual(x, shift, result);
    }
    std::int64_t k;
    const double r = reduceFloat(x, k);
    return rotateFloat(r, r * r, k, shift, kFloatAbsErr, result);
}

} // namespace

bool detail::sinFast(double x, double& result) {
    return fastSinCos(x, 0U, result);
}
bool detail::cosFast(double x, double& result) {
    return fastSinCos(x, 1U, result);
}
bool detail::sinfFast(float x, float& result) {
    return fastSinCosFloat(x, 0U, result);
}
bool detail::cosfFast(float x, float& result) {
    return fastSinCosFloat(x, 1U, result);
}

// sin(x): x for |x| < 2^-26 (sin(-0) = -0), NaN for infinities and NaN, the fast path for
// |x| < 2^20, the accurate path for larger |x| and where the rounding test fails.
double sin(double x) {
    double result;
    return fastSinCos(x, 0U, result) ? result : detail::sinAccurate(x);
}

// cos(x): 1 for |x| < 2^-27, otherwise as sin.
double cos(double x) {
    double result;
    return fastSinCos(x, 1U, result) ? result : detail::cosAccurate(x);
}

// Both from one reduction; each result passes its own rounding test (or comes from the accurate
// path), so both equal the separate calls' bits.
void sincos(double x, double& s, double& c) {
    const std::uint64_t ax = bitsOf(x) & 0x7fffffffffffffffULL;
    if (ax - kCosTiny >= kWideLimit - kCosTiny) {
        s = sin(x);
        c = cos(x);
        return;
    }
    const Terms t = terms(reduce(x));
    if (!rotate(t, 0U, s)) {
        s = detail::sinAccurate(x);
    }
    if (!rotate(t, 1U, c)) {
        c = detail::cosAccurate(x);
    }
}

// sinf(x): x for |x| < 2^-12, NaN for infinities and NaN, the fast path (two reductions: Cody and
// Waite's below 2^20, Payne and Hanek's above), the accurate path where the rounding test fails.
float sinf(float x) {
    float result;
    return fastSinCosFloat(x, 0U, result) ? result : detail::sinfAccurate(x);
}

// cosf(x): 1 for |x| < 2^-12, otherwise as sinf.
float cosf(float x) {
    float result;
    return fastSinCosFloat(x, 1U, result) ? result : detail::cosfAccurate(x);
}

void sincosf(float x, float& s, float& c) {
    const std::uint32_t ax = bitsOf(x) & 0x7fffffffU;
    std::int64_t k;
    double r, absErr;
    if (ax - kFloatTiny < kFloatLimit - kFloatTiny) {
        r = reduceFloat(x, k);
        absErr = kFloatAbsErr;
    } else if (ax >= kFloatLimit && ax < 0x7f800000U) {
        r = reduceLargeFloat(x, k);
        absErr = kLargeFloatAbsErr;
    } else {
        s = sinf(x);
        c = cosf(x);
        return;
    }
    const double z = r * r;
    if (!rotateFloat(r, z, k, 0U, absErr, s)) {
        s = detail::sinfAccurate(x);
    }
    if (!rotateFloat(r, z, k, 1U, absErr, c)) {
        c = detail::cosfAccurate(x);
    }
}

} // namespace crmath
} // namespace orv
