#ifndef ORV_MATH_DETAIL_ACCURATE_H
#define ORV_MATH_DETAIL_ACCURATE_H

// Internal: the accurate paths of the correctly rounded functions, for the arguments whose
// rounding the fast paths cannot decide. Each returns the correctly rounded result (round to
// nearest, ties to even) for every finite argument it is given; the fast paths handle the special
// values (zeros, infinities, NaN) before they get here, and these functions give the same special
// values too (C's Annex F). Thread safe and reentrant: no state, no lock, no allocation (the
// numbers live on the stack, the constants are static tables).
//
// Method: Ziv's strategy. At a precision of p = 64 * limbs bits the exact value v is enclosed in
// an open interval (approximation +- a proven error bound, see AccurateKernels.h); if every value
// of the interval rounds to one double (float), that is the result; otherwise p is raised through
// 192, 384, 768, 1536, 3072 and 4096 bits (floats: 128, 256, 768, ... 4096). The arithmetic is
// mp::Float (MultiPrecision.h): every operation truncates its exact result to p bits, relative
// error below u = 2^(1-p). Error bounds below are relative to v and written in units of u; each
// is argued step by step in the source named.
//
// sin, cos, sinf, cosf (AccurateTrig.cpp): |x| < 0.785 is its own reduced argument; otherwise
//   Payne-Hanek reduction modulo pi/2, in integers, with p + 192 bits of 2/pi from the bit the
//   argument's exponent selects (so every double up to 2^1024 reduces exactly); the error of the
//   reduced argument r is measured from r itself, d u with d = 2^(53 + s - exp(r) + p) + 1.25
//   (s the weight of the last 2/pi bit used), so no bound on how close a double may come to a
//   multiple of pi/2 is assumed. Then the Taylor series of sin or cos in nested form,
//   |r| <= 0.79, with the quadrant's sign. Bound: (1.01 d + 5) u.
// atan2 (AccurateInverse.cpp): q = min(|y|,|x|) / max(|y|,|x|) by one exact-remainder division,
//   atan(q) by j halvings q -> q / (1 + sqrt(1 + q^2)) and the Taylor series, then atan(q),
//   pi/2 -+ atan(q) or pi - atan(q) by quadrant. Bound: (4j + 8) u, j <= 3 + sqrt(p)/4.
//   Quotients with q^2 < 2^(-p-2) give atan(q) in (q - 2^(exp(q) - p), q): an interval open on
//   one side when the division was exact, which rounds the subnormal midpoints (y = 3 * 2^-1074,
//   x = 2) down as the exact value requires.
// acos (AccurateInverse.cpp): 2 atan(sqrt((1 - x)/(1 + x))) for x >= 0,
//   pi - 2 atan(sqrt((1 + x)/(1 - x))) for x < 0. Bound: (4j + 9.6) u.
// log1p (AccurateLogExp.cpp): |x| < 1/4: 2 atanh(x / (2 + x)), bound 8u; otherwise
//   1 + x = 2^k m, m in [0.7071, 1.4143), k ln2 + 2 atanh((m - 1)/(m + 1)), an absolute bound
//   (6 + 0.7 |k| + 2^(exp(result) + 1)) u.
// expm1 (AccurateLogExp.cpp): |x| <= 1/2: expm1(x 2^-j) by its Taylor series, then j doublings
//   E -> E (E + 2), which keep the relative accuracy near 0; bound (6 + 3j) u, j <= sqrt(p).
//   Otherwise x = k ln2 + r, 2^k (1 + expm1(r)) - 1, bound (15 + 5j) u. x < -40 gives -1 (the
//   value lies between -1 and the midpoint -1 + 2^-54), x > 710 infinity; the rounding itself
//   overflows to infinity at and beyond (2 - 2^-53) 2^1023.
//
// Termination and the cap. Apart from the exact cases handled first (sin 0, cos 0 = 1, acos 1 = 0,
// log1p 0, expm1 0, atan2 with a zero or infinite argument), the values are transcendental for
// every non-zero double argument (Lindemann-Weierstrass: sin, cos, e^x, log and atan of a non-zero
// algebraic number are transcendental), so none is a rounding boundary and the loop ends once the
// interval is narrower than the value's distance to the nearest boundary. The first precision
// decides every value whose bits after the rounding bit do not repeat the same bit some 120 times
// (192 bits less the error bound's few bits less 53 + 1); the worst cases published for sin, cos,
// exp, log (Lefevre and Muller, with at most 59 to 61 identical bits), and the heuristic count
// (about 2^64 * 2^-k double arguments with k identical bits, 2^128 * 2^-k argument pairs for atan2,
// 2^32 * 2^-k floats) leave no argument anywhere near the second precision, let alone the last.
// The cap is kept all the same: if the 4096-bit interval still straddles a boundary, the rounding
// of its centre is returned (the value within 2^-4080 of the exact one), and the loop never runs
// more than six times.

namespace orv {
namespace crmath {
namespace detail {

double atan2Accurate(double y, double x);
double acosAccurate(double x);
double sinAccurate(double x);
double cosAccurate(double x);
float sinfAccurate(float x);
float cosfAccurate(float x);
double log1pAccurate(double x);
double expm1Accurate(double x);

} // namespace detail
} // namespace crmath
} // namespace orv

#endif
