#include "TestSupport.h"

#include <cmath>
#include <limits>

using orv::RotationAxis;
using orv::TripletBase;
using orvtest::tripletEq;

namespace {
using D3 = TripletBase<double>;
using F3 = TripletBase<float>;

void expectRefused(RotationAxis& axis, const D3& dir, double angle, const std::string& message) {
    EXPECT_TRUE(orvtest::throwsWith<orv::data::invalid>(
        [&] { axis.setRotationAxis(D3(1, 2, 3), dir, angle, D3(0, 0, 0)); }, "RotationAxis", "set",
        message));
}
} // namespace

TEST(RotationAxis, DefaultIsUnset) {
    RotationAxis axis;
    EXPECT_FALSE(axis.isValid());
    EXPECT_EQ(axis.getAngle(), 0.0);
    axis.setAngle(45);
    EXPECT_FALSE(axis.isValid());
    EXPECT_EQ(axis.getAngle(), 45.0);
    EXPECT_TRUE(tripletEq(axis.getAxisDir(), 0.f, 0.f, 0.f));
    EXPECT_TRUE(tripletEq(axis.getUpVector(), 0.f, 0.f, 0.f));
}

TEST(RotationAxis, NormalisesDirectionAndDefaultsUpVector) {
    RotationAxis z(D3(1, 2, 3), D3(0, 0, 2), 30, D3(0, 0, 0));
    EXPECT_TRUE(tripletEq(z.getAxisDir(), 0.f, 0.f, 1.f));
    EXPECT_TRUE(tripletEq(z.getUpVector(), 0.f, 1.f, 0.f));
    EXPECT_TRUE(tripletEq(z.getAxisPoint(), 1.f, 2.f, 3.f));
    EXPECT_EQ(z.getAngle(), 30.0);

    RotationAxis y(D3(0, 0, 0), D3(0, 3, 0), 30, D3(0, 0, 0));
    EXPECT_TRUE(tripletEq(y.getAxisDir(), 0.f, 1.f, 0.f));
    EXPECT_TRUE(tripletEq(y.getUpVector(), 1.f, 0.f, 0.f));
    RotationAxis my(D3(0, 0, 0), D3(0, -3, 0), 30, D3(0, 0, 0));
    EXPECT_TRUE(tripletEq(my.getAxisDir(), 0.f, -1.f, 0.f));
    EXPECT_TRUE(tripletEq(my.getUpVector(), 1.f, 0.f, 0.f));

    RotationAxis x(D3(0, 0, 0), D3(1, 0, 0), 30, D3(1, 1, 0));
    EXPECT_TRUE(tripletEq(x.getUpVector(), 0.f, 1.f, 0.f));

    // An up vector parallel to the axis ends as (0, 0, 0) without a refusal.
    RotationAxis parallel(D3(0, 0, 0), D3(0, 0, 1), 30, D3(0, 0, 5));
    EXPECT_TRUE(tripletEq(parallel.getUpVector(), 0.f, 0.f, 0.f));
    EXPECT_TRUE(parallel.isValid());

    // A tiny direction still normalises; one whose squared length underflows is stored as given.
    RotationAxis tiny(D3(0, 0, 0), D3(0, 0, 1e-150), 30, D3(0, 0, 0));
    EXPECT_TRUE(tripletEq(tiny.getAxisDir(), 0.f, 0.f, 1.f));
    RotationAxis under(D3(0, 0, 0), D3(0, 0, 1e-170), 30, D3(0, 0, 0));
    EXPECT_TRUE(tripletEq(under.getAxisDir(), 0.f, 0.f, 0.f)); // 1e-170 narrows to 0 in float
    EXPECT_TRUE(under.isValid());
}

TEST(RotationAxis, SinglePrecisionFormWidensAndGettersNarrow) {
    RotationAxis axis(F3(0.1f, 0, 0), F3(1, 1, 0), 72.0, F3(0, 0, 1));
    const double inv = 1.0 / std::sqrt(2.0);
    EXPECT_TRUE(tripletEq(axis.getAxisDir(), float(1.0 / std::sqrt(2.0)),
                          float(1.0 / std::sqrt(2.0)), 0.f));
    EXPECT_NEAR(axis.getAxisDir().x, inv, 1e-7);
    // The axis point was widened exactly from the float, so narrowing gives the same float back.
    EXPECT_TRUE(tripletEq(axis.getAxisPoint(), 0.1f, 0.f, 0.f));
    EXPECT_TRUE(tripletEq(axis.getUpVector(), 0.f, 0.f, 1.f));
}

TEST(RotationAxis, RefusalsInOrderAndNothingStored) {
    RotationAxis axis(D3(5, 6, 7), D3(0, 0, 1), 30, D3(0, 1, 0));
    expectRefused(axis, D3(0, 0, 0), -5, "Axis Direction is zero length.");
    expectRefused(axis, D3(-0.0, 0, 0), 30, "Axis Direction is zero length.");
    expectRefused(axis, D3(1, 0, 0), 0, "Rotation Angle must be greater than zero.");
    expectRefused(axis, D3(1, 0, 0), -5, "Rotation Angle must be greater than zero.");
    expectRefused(axis, D3(1, 0, 0), 360.0000001, "Rotation Angle must be less than 360.");
    expectRefused(axis, D3(1, 0, 0), std::numeric_limits<double>::infinity(),
                  "Rotation Angle must be less than 360.");
    EXPECT_TRUE(tripletEq(axis.getAxisPoint(), 5.f, 6.f, 7.f));
    EXPECT_TRUE(tripletEq(axis.getAxisDir(), 0.f, 0.f, 1.f));
    EXPECT_TRUE(tripletEq(axis.getUpVector(), 0.f, 1.f, 0.f));
    EXPECT_EQ(axis.getAngle(), 30.0);

    EXPECT_TRUE(orvtest::throwsWith<orv::data::invalid>(
        [] { RotationAxis(D3(0, 0, 0), D3(0, 0, 1), 0.0, D3(0, 1, 0)); }, "RotationAxis", "set",
        "Rotation Angle must be greater than zero."));
}

TEST(RotationAxis, BoundaryAnglesAndNaN) {
    RotationAxis axis;
    axis.setRotationAxis(D3(0, 0, 0), D3(0, 0, 1), 360.0, D3(0, 0, 0));
    EXPECT_EQ(axis.getAngle(), 360.0);
    axis.setRotationAxis(D3(0, 0, 0), D3(0, 0, 1), std::nan(""), D3(0, 0, 0));
    EXPECT_TRUE(std::isnan(axis.getAngle()));
    // A NaN direction component counts as non-zero.
    RotationAxis nanDir(D3(0, 0, 0), D3(std::nan(""), 0, 0), 30, D3(0, 0, 0));
    EXPECT_TRUE(nanDir.isValid());
}

TEST(RotationAxis, CopyAndAssign) {
    const RotationAxis a(D3(1, 2, 3), D3(0, 0, 1), 30, D3(0, 1, 0));
    RotationAxis b;
    b = a;
    EXPECT_TRUE(b.isValid());
    EXPECT_TRUE(tripletEq(b.getAxisPoint(), 1.f, 2.f, 3.f));
    const RotationAxis c(b);
    EXPECT_EQ(c.getAngle(), 30.0);
    b = RotationAxis();
    EXPECT_FALSE(b.isValid());
}
