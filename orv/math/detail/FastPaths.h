#ifndef ORV_MATH_DETAIL_FASTPATHS_H
#define ORV_MATH_DETAIL_FASTPATHS_H

// Internal: the fast paths of the correctly rounded functions on their own, for the tests and
// tools that measure them. Each returns true with the correctly rounded result where it decides
// (special values, the ranges handled exactly, and the arguments whose rounding test succeeds),
// false where the public function (orv/math/CorrectlyRounded.h) calls the accurate path
// (orv/math/detail/Accurate.h) instead. The public functions are these followed by that call.

namespace orv {
namespace crmath {
namespace detail {

bool atan2Fast(double y, double x, double& result);
// atan2Fast compiled for AVX2 with the fused multiply-add where the build has that path and the
// processor can run it (what atan2 calls there); atan2Fast elsewhere. The same results.
bool atan2FastFma(double y, double x, double& result);
bool acosFast(double x, double& result);
bool sinFast(double x, double& result);
bool cosFast(double x, double& result);
bool sinfFast(float x, float& result);
bool cosfFast(float x, float& result);
bool log1pFast(double x, double& result);
bool expm1Fast(double x, double& result);

} // namespace detail
} // namespace crmath
} // namespace orv

#endif
