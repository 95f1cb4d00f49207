#ifndef ORV_TESTS_TESTSUPPORT_H
#define ORV_TESTS_TESTSUPPORT_H

// Shared helpers for the tests: bit-exact comparisons, the values a host's geometry may hold, and
// the check of a thrown library exception.

#include "orv/GeometryTools.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <functional>
#include <limits>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

namespace orvtest {

using D3 = orv::TripletBase<double>;
using F3 = orv::TripletBase<float>;
constexpr double kPi = 3.141592653589793;
const double N = std::numeric_limits<double>::quiet_NaN();
const double I = std::numeric_limits<double>::infinity();
const double M = std::numeric_limits<double>::max();         // double undefined marker
const double U = 3.4028234663852886e38;                      // undefined value, float maximum
const double DN = std::numeric_limits<double>::denorm_min(); // smallest denormal double
const float MF = std::numeric_limits<float>::max();          // float undefined marker
const char* const kNotInitialised = "MachineData object is not initialised.";
const char* const kInvalidRotation = "Invalid rotation parameters.\n";

// Bitwise equality (distinguishes -0 from 0; a NaN equals the same NaN).
template <class T> bool sameBits(T a, T b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Equal values with equal signs, or both NaN (whatever sign and payload): for expected values
// written in a table, where a NaN cannot be spelled bit for bit.
inline bool same(double a, double b) {
    return (std::isnan(a) && std::isnan(b)) || (a == b && std::signbit(a) == std::signbit(b));
}

// Distance in units in the last place between two finite values.
template <class T> std::int64_t ulpDistance(T a, T b) {
    using I = std::conditional_t<sizeof(T) == 8, std::int64_t, std::int32_t>;
    I ia, ib;
    std::memcpy(&ia, &a, sizeof a);
    std::memcpy(&ib, &b, sizeof b);
    const std::int64_t la = ia < 0 ? std::numeric_limits<I>::min() - ia : ia,
                       lb = ib < 0 ? std::numeric_limits<I>::min() - ib : ib;
    return a == b ? 0 : la > lb ? la - lb : lb - la;
}

// |got - want| within k units in the last place of `scale` (the size of the values compared).
template <class T> bool nearScale(T got, T want, T scale, int k) {
    const T ulp = std::nextafter(scale, std::numeric_limits<T>::infinity()) - scale;
    return std::fabs(got - want) <= T(k) * ulp;
}
template <class T>
bool nearScale(const orv::TripletBase<T>& got, const orv::TripletBase<T>& want, T scale, int k) {
    return nearScale(got.x, want.x, scale, k) && nearScale(got.y, want.y, scale, k) &&
           nearScale(got.z, want.z, scale, k);
}

// Three values against three expected ones: bit for bit (exact), or with `same` (table values).
template <class T>
::testing::AssertionResult three(T x, T y, T z, double ex, double ey, double ez, bool exact) {
    const bool ok = exact ? sameBits(x, T(ex)) && sameBits(y, T(ey)) && sameBits(z, T(ez))
                          : same(x, ex) && same(y, ey) && same(z, ez);
    if (ok) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << std::hexfloat << "got (" << x << ", " << y << ", " << z
                                         << ") expected (" << ex << ", " << ey << ", " << ez << ")";
}
template <class T>
::testing::AssertionResult tripletEq(const orv::TripletBase<T>& got, T x, T y, T z) {
    return three(got.x, got.y, got.z, x, y, z, true);
}
template <class T, class U>
::testing::AssertionResult bitsEq(const orv::TripletBase<T>& got, const orv::TripletBase<U>& want) {
    return three(got.x, got.y, got.z, want.x, want.y, want.z, true);
}
template <class T>
::testing::AssertionResult sameAs(const orv::TripletBase<T>& got, const D3& want) {
    return three(got.x, got.y, got.z, want.x, want.y, want.z, false);
}
// Records (ART, DART): bit for bit against another record, with `same` against table values.
template <class R>::testing::AssertionResult recordEq(const R& got, const R& want) {
    return three(got.a, got.r, got.t, want.a, want.r, want.t, true);
}
template <class R>::testing::AssertionResult recordSame(const R& got, const D3& want) {
    return three(got.a, got.r, got.t, want.x, want.y, want.z, false);
}

// A refusal as tables write it: class label, operation label, message.
struct Refusal {
    const char* cls;
    const char* op;
    const char* msg;
};

// Runs f and checks that it throws exception class E with exactly these labels, message and type.
template <class E>
::testing::AssertionResult throwsWith(const std::function<void()>& f, const std::string& cls,
                                      const std::string& op, const std::string& msg) {
    try {
        f();
    } catch (const E& e) {
        if (e.getClassLabel() == cls && e.getOperationLabel() == op && e.getMessage() == msg &&
            e.getErrorType() == orv::errorTypeError) {
            return ::testing::AssertionSuccess();
        }
        return ::testing::AssertionFailure() << "wrong exception: " << e.describe();
    } catch (...) {
        return ::testing::AssertionFailure() << "exception of another class";
    }
    return ::testing::AssertionFailure() << "nothing thrown";
}
template <class E>
::testing::AssertionResult throwsWith(const std::function<void()>& f, const Refusal& r) {
    return throwsWith<E>(f, r.cls, r.op, r.msg);
}

// The points of a curve file the library wrote, and (when asked for) its comment lines ("# ...").
inline std::vector<orv::TripletBase<double>>
readCurveFile(const std::string& fileName, std::vector<std::string>* comments = nullptr) {
    std::ifstream in(fileName);
    std::vector<orv::TripletBase<double>> points;
    for (std::string line; std::getline(in, line);) {
        std::istringstream row(line);
        orv::TripletBase<double> p;
        if (line.rfind("#", 0) == 0) {
            if (comments) {
                comments->push_back(line);
            }
        } else if (row >> p.x >> p.y >> p.z) {
            points.push_back(p);
        }
    }
    return points;
}

} // namespace orvtest

#endif
