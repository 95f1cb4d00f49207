#include "TestSupport.h"

#include <cmath>
#include <limits>
#include <random>
#include <vector>

using orv::ART;
using orv::DART;
using orv::ORVMatrix3base;
using orv::ORVMatrix4;
using orv::RotationAxis;
using orv::TripletBase;
using orvtest::sameBits;
using orvtest::tripletEq;

namespace {
using D3 = TripletBase<double>;
using F3 = TripletBase<float>;
constexpr double kPi = 3.141592653589793;

::testing::AssertionResult sameMatrix(const ORVMatrix4& a, const ORVMatrix4& b) {
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            if (!sameBits(a(i, j), b(i, j))) {
                return ::testing::AssertionFailure() << "element (" << i << ", " << j << ")";
            }
        }
    }
    return ::testing::AssertionSuccess();
}

// |got - want| within k units in the last place of the scale.
template <class T> bool nearScale(T got, T want, T scale, int k) {
    const T ulp = std::nextafter(scale, std::numeric_limits<T>::infinity()) - scale;
    return std::fabs(got - want) <= T(k) * ulp;
}
template <class T>
bool nearScale(const TripletBase<T>& got, const TripletBase<T>& want, T scale, int k) {
    return nearScale(got.x, want.x, scale, k) && nearScale(got.y, want.y, scale, k) &&
           nearScale(got.z, want.z, scale, k);
}
} // namespace

TEST(AxisMatrix, StandInOperations) {
    const ORVMatrix4 identity;
    ORVMatrix3base<float> lin;
    lin(0, 1) = 2.f;
    lin(2, 0) = -3.f;
    const ORVMatrix4 l(lin);
    EXPECT_TRUE(l(0, 1) == 2.f && l(2, 0) == -3.f && l(0, 3) == 0.f && l(3, 3) == 1.f);
    ORVMatrix4 t;
    t.setTranslationMatrix(F3(1, 2, 3));
    // The left operand acts last: t * l maps x to l x + (1, 2, 3).
    const F3 p = (t * l).transformPoint(F3(1, 1, 1));
    EXPECT_TRUE(tripletEq(p, 4.f, 3.f, 1.f));
    EXPECT_TRUE(tripletEq((l * t).transformPoint(F3(1, 1, 1)), 8.f, 3.f, -2.f));
    EXPECT_TRUE(sameMatrix(identity * t, t));
    using orv::internal::error;
    EXPECT_TRUE(orvtest::throwsWith<error>([&] { (void)t(4, 0); }, "ORVMatrix4", "operator()",
                                           "Matrix index out of range."));
    EXPECT_TRUE(orvtest::throwsWith<error>([&] { (void)lin(0, -1); }, "ORVMatrix3base",
                                           "operator()", "Matrix index out of range."));
}

TEST(AxisMatrix, NinetyAndZeroDegrees) {
    const RotationAxis z(D3(0, 0, 0), D3(0, 0, 1), 30, D3(0, 1, 0));
    ORVMatrix4 m;
    z.getRotationMatrix(m, 90.0);
    const float c = std::cos(static_cast<float>(90.0 * kPi / 180.0)); // tiny and negative
    EXPECT_LT(c, 0.f);
    // z^2 (1 - c) + c: 1 - c rounds to 1, and 1 + c to the float just below 1.
    const float zz = 1.f - 0x1p-24f;
    EXPECT_EQ(1.f * 1.f * (1.f - c) + c, zz);
    const float want[4][4] = {{c, -1, 0, 0}, {1, c, 0, 0}, {0, 0, zz, 0}, {0, 0, 0, 1}};
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            EXPECT_EQ(m(i, j), want[i][j]) << i << ", " << j;
        }
    }
    // Angle 0 gives the identity wherever the axis point lies.
    const RotationAxis skew(D3(1.5, -2.25, 3.1), D3(0.3, -0.7, 0.2), 30, D3(0, 0, 1));
    skew.getRotationMatrix(m, 0.0);
    const ORVMatrix4 identity;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            EXPECT_EQ(m(i, j), identity(i, j)) << i << ", " << j; // a zero may carry a sign
        }
    }
}

TEST(AxisMatrix, PeriodFormsAndRefusal) {
    const RotationAxis skew(D3(1.5, -2.25, 3.1), D3(0.3, -0.7, 0.2), 72, D3(0, 0, 1));
    ORVMatrix4 a, b;
    skew.getRotationMatrix(a, true);
    skew.getRotationMatrix(b, 72.0);
    EXPECT_TRUE(sameMatrix(a, b));
    skew.getRotationMatrix(a, false);
    skew.getRotationMatrix(b, -72.0);
    EXPECT_TRUE(sameMatrix(a, b));

    // The matrix maps a point as the rotation about the axis line does.
    D3 p(4, -1, 2);
    const F3 moved = a.transformPoint(F3(p));
    skew.rotateByAngle(p, -72.0);
    EXPECT_TRUE(nearScale(moved, F3(p), 8.f, 8)) << D3(moved) << " against " << p;

    RotationAxis noPeriod = skew;
    noPeriod.setAngle(0);
    ORVMatrix4 untouched;
    untouched.setTranslationMatrix(F3(9, 9, 9));
    const ORVMatrix4 before = untouched;
    for (const bool forward : {true, false}) {
        EXPECT_TRUE(orvtest::throwsWith<orv::data::invalid>(
            [&] { noPeriod.getRotationMatrix(untouched, forward); }, "RotationAxis",
            "getRotationMatrix", "Invalid rotation parameters.\n"));
    }
    EXPECT_TRUE(orvtest::throwsWith<orv::data::invalid>(
        [&] { RotationAxis().getRotationMatrix(untouched, 10.0); }, "RotationAxis",
        "getRotationMatrix", "Invalid rotation parameters.\n"));
    EXPECT_TRUE(sameMatrix(untouched, before));
}

TEST(AxisRotate, PeriodsAndAngles) {
    const RotationAxis axis(D3(1, 2, 3), D3(1, 1, 0), 72, D3(0, 0, 1));
    std::mt19937_64 gen(99);
    std::uniform_real_distribution<double> c(-10, 10);
    for (int i = 0; i < 200; ++i) {
        const D3 x(c(gen), c(gen), c(gen));
        D3 byPeriod = x, byAngle = x, none = x, turn = x;
        axis.rotateByPeriod(byPeriod, 1.0);
        axis.rotateByAngle(byAngle, 72.0);
        EXPECT_TRUE(tripletEq(byPeriod, byAngle.x, byAngle.y, byAngle.z));
        axis.rotateByPeriod(none, 0.0);
        const D3 back = axis.convertXYZ(axis.convertART(x));
        EXPECT_TRUE(tripletEq(none, back.x, back.y, back.z));
        axis.rotateByPeriod(turn, -5.0); // a whole turn backwards
        EXPECT_TRUE(nearScale(turn, x, 32.0, 16));
        F3 f(x);
        axis.rotateByPeriod(f, 2.5); // half a turn
        const D3 half = axis.convertXYZ(
            DART{axis.convertART(x).a, axis.convertART(x).r, axis.convertART(x).t + 180.0});
        EXPECT_TRUE(nearScale(f, F3(half), 32.f, 8));
    }
}

// The list forms: the double rotateByAngle point by point (bit for bit), the list conversions
// for the others (whole turns added by continuity do not move the points beyond rounding).
TEST(AxisRotate, ListForms) {
    const RotationAxis axis(D3(0.5, 0, 0), D3(0, 0, 1), 30, D3(0, 1, 0));
    std::vector<D3> curve;
    for (int i = 0; i < 50; ++i) {
        const double t = i * 25.0 * kPi / 180.0;
        curve.emplace_back(0.5 - 3 * std::sin(t), 3 * std::cos(t), 0.1 * i);
    }
    std::vector<D3> byAngle = curve, byPeriod = curve;
    axis.rotateByAngle(byAngle, 45.0);
    axis.rotateByPeriod(byPeriod, 1.5);
    std::vector<F3> fcurve;
    for (const D3& p : curve) {
        fcurve.push_back(F3(p));
    }
    std::vector<F3> fAngle = fcurve, fPeriod = fcurve;
    axis.rotateByAngle(fAngle, 45.0);
    axis.rotateByPeriod(fPeriod, 1.5);
    for (std::size_t i = 0; i < curve.size(); ++i) {
        D3 single = curve[i];
        axis.rotateByAngle(single, 45.0);
        EXPECT_TRUE(tripletEq(byAngle[i], single.x, single.y, single.z));
        EXPECT_TRUE(nearScale(byPeriod[i], single, 8.0, 64)) << i;
        F3 fsingle = fcurve[i];
        axis.rotateByPeriod(fsingle, 1.5);
        EXPECT_TRUE(nearScale(fPeriod[i], fsingle, 8.f, 16)) << i;
        EXPECT_TRUE(nearScale(fAngle[i], fsingle, 8.f, 16)) << i;
    }
}

TEST(AxisRotate, ProjectToTheta) {
    RotationAxis axis(D3(1, 2, 3), D3(1, 1, 0), 72, D3(0, 0, 1));
    std::vector<D3> pts{D3(4, -2, 7), D3(0, 0, 0), D3(-3, 5, 1)};
    const std::vector<D3> before = pts;
    axis.projectToTheta(pts, 0.0);
    for (std::size_t i = 0; i < pts.size(); ++i) {
        const DART was = axis.convertART(before[i]);
        const DART now = axis.convertART(pts[i]);
        EXPECT_TRUE(nearScale(now.a, was.a, 16.0, 8) && nearScale(now.r, was.r, 16.0, 8));
        EXPECT_TRUE(nearScale(now.t, 0.0, 180.0, 8)) << now.t;
    }
    std::vector<F3> fpts{F3(4, -2, 7)};
    axis.projectToTheta(fpts, -120.0);
    EXPECT_NEAR(axis.convertART(fpts[0]).t, -120.0, 1e-3);
}

TEST(AxisRotate, RefusalsLeavePointsAndEmptyListsPass) {
    RotationAxis unset;
    const std::vector<D3> original{D3(1, 2, 3), D3(4, 5, 6)};
    std::vector<D3> pts = original;
    std::vector<F3> fpts{F3(1, 2, 3)};
    using orv::data::invalid;
    const std::string msg = "MachineData object is not initialised.";
    EXPECT_TRUE(orvtest::throwsWith<invalid>([&] { unset.rotateByAngle(pts, 10); }, "MachineData",
                                             "convertART", msg));
    EXPECT_TRUE(orvtest::throwsWith<invalid>([&] { unset.rotateByPeriod(pts, 1); }, "MachineData",
                                             "convertART", msg));
    EXPECT_TRUE(orvtest::throwsWith<invalid>([&] { unset.rotateByAngle(fpts, 1); }, "MachineData",
                                             "convertART", msg));
    EXPECT_TRUE(orvtest::throwsWith<invalid>([&] { unset.projectToTheta(pts, 1); }, "MachineData",
                                             "convertAR", msg));
    RotationAxis noPeriod(D3(0, 0, 0), D3(0, 0, 1), 30, D3(0, 1, 0));
    noPeriod.setAngle(0);
    const std::string rot = "Invalid rotation parameters.\n";
    EXPECT_TRUE(orvtest::throwsWith<invalid>([&] { noPeriod.rotateByPeriod(pts, 1); },
                                             "RotationAxis", "getRotationMatrix", rot));
    EXPECT_TRUE(orvtest::throwsWith<invalid>([&] { noPeriod.rotateByAngle(fpts, 1); },
                                             "RotationAxis", "getRotationMatrix", rot));
    EXPECT_TRUE(orvtest::throwsWith<invalid>([&] { noPeriod.projectToTheta(pts, 1); },
                                             "RotationAxis", "getRotationMatrix", rot));
    ASSERT_EQ(pts.size(), 2u);
    EXPECT_TRUE(tripletEq(pts[0], 1.0, 2.0, 3.0) && tripletEq(pts[1], 4.0, 5.0, 6.0));
    EXPECT_TRUE(tripletEq(fpts[0], 1.f, 2.f, 3.f));

    std::vector<D3> empty;
    std::vector<F3> fempty;
    unset.rotateByAngle(empty, 10);
    unset.rotateByAngle(fempty, 10);
    unset.rotateByPeriod(empty, 1);
    unset.rotateByPeriod(fempty, 1);
    unset.projectToTheta(empty, 0);
    unset.projectToTheta(fempty, 0);
    EXPECT_TRUE(empty.empty() && fempty.empty());
}
