#ifndef ORV_TESTS_AXISTESTSUPPORT_H
#define ORV_TESTS_AXISTESTSUPPORT_H

// Helpers shared by the rotation-axis tests.

#include "TestSupport.h"

#include <cmath>
#include <limits>

namespace axistest {

using D3 = orv::TripletBase<double>;
using F3 = orv::TripletBase<float>;
constexpr double kPi = 3.141592653589793;

// Through the origin along z, period 30, up vector y: theta runs from y towards C = (-1, 0, 0).
inline orv::RotationAxis zAxis() {
    return orv::RotationAxis(D3(0, 0, 0), D3(0, 0, 1), 30, D3(0, 1, 0));
}

// The point at radius r and theta (degrees) about zAxis().
inline D3 at(double thetaDegrees, double z = 0, double r = 2) {
    const double t = thetaDegrees * kPi / 180.0;
    return D3(-r * std::sin(t), r * std::cos(t), z);
}

// |got - want| within k units in the last place of the scale of the values compared.
template <class T> bool nearScale(T got, T want, T scale, int k) {
    const T ulp = std::nextafter(scale, std::numeric_limits<T>::infinity()) - scale;
    return std::fabs(got - want) <= T(k) * ulp;
}
template <class T>
bool nearScale(const orv::TripletBase<T>& got, const orv::TripletBase<T>& want, T scale, int k) {
    return nearScale(got.x, want.x, scale, k) && nearScale(got.y, want.y, scale, k) &&
           nearScale(got.z, want.z, scale, k);
}

// Bitwise equality of an ART or DART record with (a, r, t).
template <class R, class T>::testing::AssertionResult recordEq(const R& got, T a, T r, T t) {
    if (orvtest::sameBits(got.a, a) && orvtest::sameBits(got.r, r) && orvtest::sameBits(got.t, t)) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "got (" << got.a << ", " << got.r << ", " << got.t
                                         << ") expected (" << a << ", " << r << ", " << t << ")";
}
template <class R>::testing::AssertionResult recordEq(const R& got, const R& want) {
    return recordEq(got, want.a, want.r, want.t);
}

} // namespace axistest

#endif
