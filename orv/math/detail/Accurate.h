#ifndef ORV_MATH_DETAIL_ACCURATE_H
#define ORV_MATH_DETAIL_ACCURATE_H

// Internal: the accurate paths of the correctly rounded functions, for the arguments whose
// rounding the fast paths cannot decide. Each returns the correctly rounded result (round to
// nearest, ties to even) for every finite argument it is given; the fast paths handle the special
// values (zeros, infinities, NaN) before they get here.

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
