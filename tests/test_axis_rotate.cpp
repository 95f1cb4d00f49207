#include "AxisTestSupport.h"

#include <random>
#include <vector>

using namespace axistest;
using orv::DART;
using orv::ORVMatrix3base;
using orv::ORVMatrix4;
using orv::RotationAxis;
using orvtest::tripletEq;

namespace {
// Element by element with ==, so that a zero of either sign matches.
::testing::AssertionResult matrixEq(const ORVMatrix4& a, const std::vector<float>& b) {
    for (int k = 0; k < 16; ++k) {
        if (!(a(k / 4, k % 4) == b[k])) {
            return ::testing::AssertionFailure() << "(" << k / 4 << ", " << k % 4 << ")";
        }
    }
    return ::testing::AssertionSuccess();
}
std::vector<float> elements(const ORVMatrix4& m) {
    std::vector<float> e;
    for (int k = 0; k < 16; ++k) {
        e.push_back(m(k / 4, k % 4));
    }
    return e;
}
} // namespace

TEST(AxisMatrix, StandInOperations) {
    ORVMatrix3base<float> lin;
    lin(0, 1) = 2.f;
    lin(2, 0) = -3.f;
    ORVMatrix4 t;
    t.setTranslationMatrix(F3(1, 2, 3));
    const ORVMatrix4 l(lin);
    // The left operand acts last.
    EXPECT_TRUE(tripletEq((t * l).transformPoint(F3(1, 1, 1)), 4.f, 3.f, 1.f));
    EXPECT_TRUE(tripletEq((l * t).transformPoint(F3(1, 1, 1)), 8.f, 3.f, -2.f));
    using orv::internal::error;
    EXPECT_TRUE(orvtest::throwsWith<error>([&] { (void)t(4, 0); }, "ORVMatrix4", "operator()",
                                           "Matrix index out of range."));
    EXPECT_TRUE(orvtest::throwsWith<error>([&] { (void)lin(0, -1); }, "ORVMatrix3base",
                                           "operator()", "Matrix index out of range."));
}

TEST(AxisMatrix, NinetyAndZeroDegreesAndPeriods) {
    ORVMatrix4 m;
    zAxis().getRotationMatrix(m, 90.0);
    // cos of the float nearest pi/2 is tiny and negative; z^2 (1 - c) + c rounds to 1 - 2^-24.
    const float c = std::cos(static_cast<float>(90.0 * kPi / 180.0));
    EXPECT_LT(c, 0.f);
    EXPECT_TRUE(matrixEq(m, {c, -1, 0, 0, 1, c, 0, 0, 0, 0, 1 - 0x1p-24f, 0, 0, 0, 0, 1}));
    // Angle 0: the identity wherever the axis point lies.
    const RotationAxis skew(D3(1.5, -2.25, 3.1), D3(0.3, -0.7, 0.2), 72, D3(0, 0, 1));
    skew.getRotationMatrix(m, 0.0);
    EXPECT_TRUE(matrixEq(m, elements(ORVMatrix4())));

    ORVMatrix4 b;
    skew.getRotationMatrix(m, true);
    skew.getRotationMatrix(b, 72.0);
    EXPECT_TRUE(matrixEq(m, elements(b)));
    skew.getRotationMatrix(m, false);
    skew.getRotationMatrix(b, -72.0);
    EXPECT_TRUE(matrixEq(m, elements(b)));
    // The matrix maps a point as the rotation about the axis line does.
    D3 p(4, -1, 2);
    const F3 moved = m.transformPoint(F3(p));
    skew.rotateByAngle(p, -72.0);
    EXPECT_TRUE(nearScale(moved, F3(p), 8.f, 8)) << D3(moved) << " against " << p;

    // A period angle of 0 refuses even an explicit angle; the matrix is not touched.
    RotationAxis noPeriod = skew;
    noPeriod.setAngle(0);
    const std::vector<float> e = elements(m);
    for (const bool forward : {true, false}) {
        EXPECT_TRUE(orvtest::throwsWith<orv::data::invalid>(
            [&] { noPeriod.getRotationMatrix(m, forward); }, "RotationAxis", "getRotationMatrix",
            "Invalid rotation parameters.\n"));
    }
    EXPECT_TRUE(orvtest::throwsWith<orv::data::invalid>(
        [&] { noPeriod.getRotationMatrix(m, 10.0); }, "RotationAxis", "getRotationMatrix",
        "Invalid rotation parameters.\n"));
    EXPECT_TRUE(matrixEq(m, e));
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
        axis.rotateByPeriod(none, 0.0); // converted and back
        const D3 back = axis.convertXYZ(axis.convertART(x));
        EXPECT_TRUE(tripletEq(none, back.x, back.y, back.z));
        axis.rotateByPeriod(turn, -5.0); // a whole turn backwards
        EXPECT_TRUE(nearScale(turn, x, 32.0, 16));
    }
}

// The double rotateByAngle list goes point by point (bit for bit); the other list forms go
// through the list conversions, whose whole turns do not move the points beyond rounding.
TEST(AxisRotate, ListForms) {
    const RotationAxis axis(D3(0.5, 0, 0), D3(0, 0, 1), 30, D3(0, 1, 0));
    std::vector<D3> curve;
    std::vector<F3> fcurve;
    for (int i = 0; i < 50; ++i) {
        curve.push_back(D3(0.5, 0, 0) + at(25.0 * i, 0.1 * i, 3));
        fcurve.push_back(F3(curve.back()));
    }
    std::vector<D3> byAngle = curve, byPeriod = curve;
    std::vector<F3> fAngle = fcurve, fPeriod = fcurve;
    axis.rotateByAngle(byAngle, 45.0);
    axis.rotateByPeriod(byPeriod, 1.5);
    axis.rotateByAngle(fAngle, 45.0);
    axis.rotateByPeriod(fPeriod, 1.5);
    for (std::size_t i = 0; i < curve.size(); ++i) {
        D3 single = curve[i];
        axis.rotateByAngle(single, 45.0);
        EXPECT_TRUE(tripletEq(byAngle[i], single.x, single.y, single.z));
        EXPECT_TRUE(nearScale(byPeriod[i], single, 8.0, 64)) << i;
        F3 fsingle = fcurve[i];
        axis.rotateByPeriod(fsingle, 1.5);
        EXPECT_TRUE(nearScale(fPeriod[i], fsingle, 8.f, 16) &&
                    nearScale(fAngle[i], fsingle, 8.f, 16));
    }
}

TEST(AxisRotate, ProjectToTheta) {
    RotationAxis axis(D3(1, 2, 3), D3(1, 1, 0), 72, D3(0, 0, 1));
    std::vector<D3> pts{D3(4, -2, 7), D3(-3, 5, 1)};
    const std::vector<D3> before = pts;
    axis.projectToTheta(pts, 0.0);
    for (std::size_t i = 0; i < pts.size(); ++i) {
        const DART was = axis.convertART(before[i]), now = axis.convertART(pts[i]);
        EXPECT_TRUE(nearScale(now.a, was.a, 16.0, 8) && nearScale(now.r, was.r, 16.0, 8) &&
                    nearScale(now.t, 0.0, 180.0, 8));
    }
    std::vector<F3> fpts{F3(4, -2, 7)};
    axis.projectToTheta(fpts, -120.0);
    EXPECT_NEAR(axis.convertART(fpts[0]).t, -120.0, 1e-3);
}

TEST(AxisRotate, RefusalsLeaveThePoints) {
    RotationAxis unset, noPeriod = zAxis();
    noPeriod.setAngle(0);
    std::vector<D3> pts{D3(1, 2, 3), D3(4, 5, 6)};
    std::vector<F3> fpts{F3(1, 2, 3)};
    using orv::data::invalid;
    const std::string msg = "MachineData object is not initialised.";
    const std::string rot = "Invalid rotation parameters.\n";
    const struct {
        std::function<void()> call;
        const char *cls, *operation, *message;
    } table[] = {
        {[&] { unset.rotateByAngle(pts, 10); }, "MachineData", "convertART", msg.c_str()},
        {[&] { unset.rotateByPeriod(pts, 1); }, "MachineData", "convertART", msg.c_str()},
        {[&] { unset.rotateByAngle(fpts, 1); }, "MachineData", "convertART", msg.c_str()},
        {[&] { unset.projectToTheta(pts, 1); }, "MachineData", "convertAR", msg.c_str()},
        {[&] { noPeriod.rotateByPeriod(pts, 1); }, "RotationAxis", "getRotationMatrix",
         rot.c_str()},
        {[&] { noPeriod.rotateByAngle(fpts, 1); }, "RotationAxis", "getRotationMatrix",
         rot.c_str()},
        {[&] { noPeriod.projectToTheta(pts, 1); }, "RotationAxis", "getRotationMatrix",
         rot.c_str()},
    };
    for (const auto& row : table) {
        EXPECT_TRUE(orvtest::throwsWith<invalid>(row.call, row.cls, row.operation, row.message));
    }
    EXPECT_TRUE(pts.size() == 2 && tripletEq(pts[0], 1.0, 2.0, 3.0) &&
                tripletEq(pts[1], 4.0, 5.0, 6.0));
    EXPECT_TRUE(tripletEq(fpts[0], 1.f, 2.f, 3.f));
}
