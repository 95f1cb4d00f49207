#ifndef ORV_FUZZ_FUZZSUPPORT_H
#define ORV_FUZZ_FUZZSUPPORT_H

// Helpers of the fuzz targets: values that reach the awkward corners more often than raw bytes
// would, comparisons for the checks, and a check that aborts (libFuzzer records a finding).

#include "orv/GeometryTools.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace orvfuzz {

using D3 = orv::TripletBase<double>;
using F3 = orv::TripletBase<float>;
constexpr long double kPi = 3.141592653589793L;

inline void check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "property violated: %s\n", what);
        std::abort();
    }
}

// NaN, infinities, both undefined markers, zeros, the least denormal (each of either sign), any
// exponent, whole degrees, moderate values.
inline double drawDouble(FuzzedDataProvider& in) {
    constexpr double kAwkward[] = {
        NAN, HUGE_VAL, 0.0, 4.9406564584124654e-324, 1.7976931348623157e308, 3.4028234663852886e38};
    const int kind = in.ConsumeIntegralInRange<int>(0, 9);
    const double unit = in.ConsumeFloatingPointInRange<double>(-1.0, 1.0);
    return kind < 6    ? std::copysign(kAwkward[kind], unit)
           : kind == 6 ? std::ldexp(unit, in.ConsumeIntegralInRange<int>(-1074, 1023))
           : kind == 7 ? std::round(720 * unit)
                       : 1000 * unit;
}

// Components drawn in order (a braced list is evaluated in order): arbitrary, or within +-limit.
inline D3 drawTriplet(FuzzedDataProvider& in) {
    return D3{drawDouble(in), drawDouble(in), drawDouble(in)};
}
inline D3 drawModerate(FuzzedDataProvider& in, double limit) {
    const auto c = [&] { return in.ConsumeFloatingPointInRange<double>(-limit, limit); };
    return D3{c(), c(), c()};
}

// Same bits, any NaN matching any NaN; triplets component by component.
template <class T> bool sameBits(T a, T b) {
    return (std::isnan(a) && std::isnan(b)) || std::memcmp(&a, &b, sizeof a) == 0;
}
template <class T> bool sameBits(const orv::TripletBase<T>& a, const orv::TripletBase<T>& b) {
    return sameBits(a.x, b.x) && sameBits(a.y, b.y) && sameBits(a.z, b.z);
}

// Distances for the bounds, in long double; how far a - b (degrees) lies from whole turns.
template <class T, class U> long double distance(const T& a, const U& b) {
    using L = long double;
    const L x = L(a.x) - b.x, y = L(a.y) - b.y, z = L(a.z) - b.z;
    return std::sqrt(x * x + y * y + z * z);
}
template <class T> long double norm(const T& a) {
    return distance(a, D3());
}
inline long double offWholeTurns(long double a, long double b) {
    return std::fabs(a - b - 360.0L * std::round((a - b) / 360.0L));
}

// A set axis on which conversions are accurate: moderate point and direction, and an up vector at
// least a tenth of a radian from the direction (making a nearly parallel one perpendicular cancels
// digits). The z axis through the origin (period 30, up y) when the drawn values are not so.
inline orv::RotationAxis drawWellConditionedAxis(FuzzedDataProvider& in) {
    const D3 p = drawModerate(in, 1000.0), d = drawModerate(in, 10.0), u = drawModerate(in, 10.0);
    const double angle = in.ConsumeFloatingPointInRange<double>(1e-3, 360.0);
    if (norm(d) < 1e-2L || norm(d.cross(u)) < 0.1L * norm(d) * norm(u) || norm(u) < 1e-2L) {
        return orv::RotationAxis(D3(0, 0, 0), D3(0, 0, 1), 30.0, D3(0, 1, 0));
    }
    return orv::RotationAxis(p, d, angle, u);
}

} // namespace orvfuzz

#endif
