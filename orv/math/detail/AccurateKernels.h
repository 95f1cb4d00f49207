#ifndef ORV_MATH_DETAIL_ACCURATEKERNELS_H
#define ORV_MATH_DETAIL_ACCURATEKERNELS_H

// Internal: the evaluations behind the accurate paths (orv/math/detail/Accurate.h), one precision
// at a time. Each fills an enclosure of the exact value (see mp::Enclosure) whose error bound is
// argued beside its definition; the accurate functions run them in Ziv's loop, and the tests
// check every enclosure against MPFR at each precision.
//
// u = 2^(1-p) below is the relative error of one truncated operation at p = 64 * limbs bits.

#include "orv/math/detail/MultiPrecision.h"

namespace orv {
namespace crmath {
namespace detail {

// sin and cos of a finite double (sin: x != 0). AccurateTrig.cpp.
void sinEnclose(double x, int limbs, mp::Enclosure& e);
void cosEnclose(double x, int limbs, mp::Enclosure& e);
// atan2 of finite non-zero y and x. AccurateInverse.cpp.
void atan2Enclose(double y, double x, int limbs, mp::Enclosure& e);
// acos of x, |x| < 1. AccurateInverse.cpp.
void acosEnclose(double x, int limbs, mp::Enclosure& e);
// log1p of a finite x > -1, x != 0. AccurateLogExp.cpp.
void log1pEnclose(double x, int limbs, mp::Enclosure& e);
// expm1 of x in [-40, 710], x != 0. AccurateLogExp.cpp.
void expm1Enclose(double x, int limbs, mp::Enclosure& e);

// atan(q) for 0 < q <= 1 (q exact as given) into r, `limbs` limbs. Returns c such that
// |r - atan(q)| < c u atan(q). AccurateInverse.cpp.
double atanKernel(mp::Float& r, const mp::Float& q, int limbs);

// The least integer s >= 0 with s * s <= v < (s + 1)^2.
int isqrtInt(int v);
// floor(log2 d) for d >= 1.
int floorLog2(unsigned long long d);
// 2^k as a double, 0 below 2^-1000 and infinity above 2^1000 (for error ratios only).
double pow2Ratio(int k);

} // namespace detail
} // namespace crmath
} // namespace orv

#endif
