#ifndef ORV_TESTS_TESTSUPPORT_H
#define ORV_TESTS_TESTSUPPORT_H

// Shared helpers for the tests: bit-exact comparisons and the check of a thrown library exception.

#include "orv/GeometryTools.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace orvtest {

// Bitwise equality (distinguishes -0 from 0; a NaN equals the same NaN).
inline bool sameBits(double a, double b) {
    std::uint64_t ua, ub;
    std::memcpy(&ua, &a, sizeof a);
    std::memcpy(&ub, &b, sizeof b);
    return ua == ub;
}
inline bool sameBits(float a, float b) {
    std::uint32_t ua, ub;
    std::memcpy(&ua, &a, sizeof a);
    std::memcpy(&ub, &b, sizeof b);
    return ua == ub;
}

// Distance in units in the last place between two finite values of the same sign class.
inline std::int64_t ulpDistance(double a, double b) {
    if (a == b) {
        return 0;
    }
    std::int64_t ia, ib;
    std::memcpy(&ia, &a, sizeof a);
    std::memcpy(&ib, &b, sizeof b);
    if (ia < 0)
        ia = INT64_MIN - ia;
    if (ib < 0)
        ib = INT64_MIN - ib;
    return ia > ib ? ia - ib : ib - ia;
}
inline std::int64_t ulpDistance(float a, float b) {
    if (a == b) {
        return 0;
    }
    std::int32_t ia, ib;
    std::memcpy(&ia, &a, sizeof a);
    std::memcpy(&ib, &b, sizeof b);
    if (ia < 0)
        ia = INT32_MIN - ia;
    if (ib < 0)
        ib = INT32_MIN - ib;
    return ia > ib ? std::int64_t(ia) - ib : std::int64_t(ib) - ia;
}

template <class T>
::testing::AssertionResult tripletEq(const orv::TripletBase<T>& got, T x, T y, T z) {
    if (sameBits(got.x, x) && sameBits(got.y, y) && sameBits(got.z, z)) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "got (" << got.x << ", " << got.y << ", " << got.z
                                         << ") expected (" << x << ", " << y << ", " << z << ")";
}

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
