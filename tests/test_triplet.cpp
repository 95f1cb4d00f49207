#include "TestSupport.h"

#include <limits>
#include <sstream>
#include <vector>

using orv::TripletBase;
using orvtest::sameBits;
using orvtest::tripletEq;

namespace {
constexpr float kFloatMax = std::numeric_limits<float>::max();
constexpr double kDoubleMax = std::numeric_limits<double>::max();
} // namespace

TEST(Triplet, LayoutIsPackedComponents) {
    std::vector<TripletBase<double>> v{{1, 2, 3}, {4, 5, 6}};
    const double* p = &v[0].x;
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(p[i], double(i + 1));
    }
    TripletBase<float> def;
    EXPECT_TRUE(tripletEq(def, 0.0f, 0.0f, 0.0f));
}

TEST(Triplet, LengthAndUndefinedValue) {
    EXPECT_EQ(TripletBase<double>(3, 4, 0).length(), 5.0);
    EXPECT_EQ(TripletBase<float>(3, 4, 0).length(), 5.0f);
    EXPECT_EQ(TripletBase<double>(kDoubleMax, 0, 0).length(), 3.4028234663852886e38);
    EXPECT_EQ(TripletBase<double>(0, 0, kDoubleMax).length(), 3.4028234663852886e38);
    EXPECT_EQ(TripletBase<float>(kFloatMax, 0, 0).length(), kFloatMax);
    // The float maximum is not the double marker: an ordinary (overflowing) length.
    EXPECT_TRUE(std::isinf(TripletBase<double>(kDoubleMax / 2, kDoubleMax / 2, 0).length()));
    EXPECT_FALSE(TripletBase<double>(std::numeric_limits<double>::infinity(), 0, 0).isUndefined());
    EXPECT_FALSE(TripletBase<double>(std::nan(""), 0, 0).isUndefined());
    EXPECT_TRUE(TripletBase<double>(0, kDoubleMax, 0).isUndefined());
}

TEST(Triplet, NormalizeAndPerpendicularComponent) {
    TripletBase<double> zero;
    EXPECT_NO_THROW(zero.normalize());
    EXPECT_TRUE(tripletEq(zero, 0.0, 0.0, 0.0));
    TripletBase<double> z5(0, 0, 5);
    z5.normalize();
    EXPECT_TRUE(tripletEq(z5, 0.0, 0.0, 1.0));
    TripletBase<float> marker(kFloatMax, 0, 0);
    marker.normalize();
    EXPECT_TRUE(tripletEq(marker, 1.0f, 0.0f, 0.0f));
    TripletBase<double> dmarker(kDoubleMax, 0, 0);
    dmarker.normalize();
    EXPECT_EQ(dmarker.x, kDoubleMax / 3.4028234663852886e38);

    const TripletBase<double> v(1, 2, 3);
    EXPECT_TRUE(tripletEq(v.perpendicularComponent(TripletBase<double>(0, 0, 10)), 1.0, 2.0, 0.0));
    EXPECT_TRUE(tripletEq(v.perpendicularComponent(TripletBase<double>(0, 0, 0)), 1.0, 2.0, 3.0));
    const TripletBase<float> vf(1, 2, 3);
    EXPECT_TRUE(tripletEq(vf.perpendicularComponent(TripletBase<float>(0, 0, 10)), 1.f, 2.f, 0.f));
}

TEST(Triplet, FloatProductFormedInDoubleThenRounded) {
    // 16777217 * 1 is not a float; 0.1f * 3.0 in double then rounded differs from 0.1f * 3.0f.
    const TripletBase<float> t(0.1f, 1.0f / 3.0f, 16777216.0f);
    const TripletBase<float> p = t * 3.0000001;
    EXPECT_TRUE(sameBits(p.x, static_cast<float>(static_cast<double>(0.1f) * 3.0000001)));
    EXPECT_TRUE(sameBits(p.y, static_cast<float>(static_cast<double>(1.0f / 3.0f) * 3.0000001)));
    EXPECT_TRUE(sameBits(p.z, static_cast<float>(16777216.0 * 3.0000001)));
    // A scalar that is not a float: rounding the scalar first would give another result.
    const TripletBase<float> q = TripletBase<float>(1.0f, 1.0f, 1.0f) * 0.1;
    EXPECT_TRUE(sameBits(q.x, 0.1f));
}

TEST(Triplet, NarrowingRoundsEveryComponentAndWideningIsExact) {
    const TripletBase<double> d(0.1, 0.2, 0.3);
    const TripletBase<float> f(d);
    EXPECT_TRUE(tripletEq(f, 0.1f, 0.2f, 0.3f));
    const TripletBase<double> back(f);
    EXPECT_TRUE(tripletEq(back, double(0.1f), double(0.2f), double(0.3f)));
    EXPECT_NE(back.x, 0.1);
    EXPECT_NE(back.y, 0.2);
    EXPECT_NE(back.z, 0.3);
    // A float marker widened becomes the undefined value, which prints as UNDEF.
    const TripletBase<double> widened(TripletBase<float>(kFloatMax, 0, 0));
    EXPECT_EQ(widened.length(), 3.4028234663852886e38 * 1.0);
}

TEST(Triplet, DivisionRefusesZeroAndLeavesOperand) {
    TripletBase<double> t(2, 4, 6);
    t /= 2.0;
    EXPECT_TRUE(tripletEq(t, 1.0, 2.0, 3.0));
    for (double zero : {0.0, -0.0}) {
        TripletBase<double> u(2, 4, 6);
        EXPECT_TRUE(orvtest::throwsWith<orv::data::invalid>(
            [&] { u /= zero; }, "Triplet", "operator/=", "Attempt to divide by zero."));
        EXPECT_TRUE(tripletEq(u, 2.0, 4.0, 6.0));
        EXPECT_TRUE(orvtest::throwsWith<orv::data::invalid>(
            [&] { (void)(u / zero); }, "Triplet", "operator/", "Attempt to divide by zero."));
    }
    TripletBase<float> f(1, 2, 3);
    EXPECT_THROW(f /= 0.0f, orv::data::error);
    EXPECT_TRUE(tripletEq(f, 1.0f, 2.0f, 3.0f));
    EXPECT_TRUE(tripletEq(TripletBase<double>(3, 6, 9) / 3.0, 1.0, 2.0, 3.0));
}

TEST(Triplet, DotCrossAndStreamOutput) {
    const TripletBase<double> a(1, 0, 0), b(0, 1, 0);
    EXPECT_TRUE(tripletEq(a.cross(b), 0.0, 0.0, 1.0));
    EXPECT_EQ(TripletBase<double>(1, 2, 3).dot(TripletBase<double>(4, 5, 6)), 32.0);
    // (x*x' + y*y') + z*z' in this order: 1e16 + 1 - 1e16 is 0, 1e16 - 1e16 + 1 would be 1.
    EXPECT_EQ(TripletBase<double>(1e16, 1, -1e16).dot(TripletBase<double>(1, 1, 1)), 0.0);

    std::ostringstream os;
    os << TripletBase<double>(1, 3.4028234663852886e38, 0.5);
    EXPECT_EQ(os.str(), "(1, UNDEF, 0.5)");
    std::ostringstream os2;
    os2 << TripletBase<double>(kDoubleMax, -2, 0);
    EXPECT_EQ(os2.str(), "(1.79769e+308, -2, 0)");
}
