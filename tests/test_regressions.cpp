// Inputs on which the library once went wrong, each with the behaviour it has now.

#include "TestSupport.h"

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

using orv::Doublet;
using orv::RotationAxis;
using orv::TripletBase;
using orv::TurboTransform;
using orvtest::tripletEq;

namespace {
using D3 = TripletBase<double>;
using F3 = TripletBase<float>;
const TurboTransform::space NMTS = TurboTransform::spaceNMTS;

D3 nmtsOf(const TurboTransform& tt, Doublet p) {
    D3 tns;
    tt.convertARTtoSpaceTNs(NMTS, D3(p.x, p.y, 0.0), tns);
    return tns;
}
} // namespace

// A finite direction or up vector whose squared length overflows used to normalise to (0, 0, 0):
// the set succeeded and left an axis that refused every conversion as not initialised.
TEST(Regression, HugeAxisDirectionAndUpVectorNormalise) {
    const RotationAxis axis(D3(0, 0, 0), D3(0, 0, 1e300), 30, D3(0, 1e300, 0));
    EXPECT_TRUE(axis.isValid());
    EXPECT_TRUE(tripletEq(axis.getAxisDir(), 0.f, 0.f, 1.f));
    EXPECT_TRUE(tripletEq(axis.getUpVector(), 0.f, 1.f, 0.f));
    const RotationAxis diagonal(D3(0, 0, 0), D3(1e300, 0, 1e300), 30, D3(0, 0, 0));
    EXPECT_TRUE(diagonal.isValid());
    EXPECT_TRUE(
        tripletEq(diagonal.getAxisDir(), float(std::sqrt(0.5)), 0.f, float(std::sqrt(0.5))));
    const orv::DART rec = axis.convertART(D3(1, 0, 5));
    EXPECT_EQ(rec.a, 5.0);
    EXPECT_EQ(rec.r, 1.0);
    EXPECT_EQ(rec.t, -90.0);
    // The undefined marker keeps its documented effect: the direction is divided by the undefined
    // value and stays large (5.28e269, infinite in single precision).
    const RotationAxis marked(D3(0, 0, 0), D3(0, 0, 1.7976931348623157e308), 30, D3(0, 1, 0));
    EXPECT_TRUE(tripletEq(marked.getAxisDir(), 0.f, 0.f, std::numeric_limits<float>::infinity()));
}

// The hub's outlet lies on the line of the inlet station (the hub runs along it): the point is on
// two lines of constant meridional coordinate, and the inlet line's solution far outside the
// passage (span -999) used to be taken instead of the outlet's on the hub.
TEST(Regression, WallPointWhereTwoStationLinesCross) {
    const TurboTransform tt({{0.0f, 999.0f}, {0.0f, 0.0f}}, {{0.0f, 1000.0f}, {1000.0f, 1000.0f}});
    EXPECT_TRUE(tripletEq(nmtsOf(tt, {0.0f, 0.0f}), 1.0, 0.0, 0.0));
    EXPECT_TRUE(tripletEq(nmtsOf(tt, {0.0f, 999.0f}), 0.0, 0.0, 0.0));
    EXPECT_TRUE(tripletEq(nmtsOf(tt, {1000.0f, 1000.0f}), 1.0, 0.0, 1.0));
}

// Hub and shroud with break points at the same fractions of their lengths (the shroud is the hub
// scaled by 2), summed separately, differ in the last bits: the two nearly equal stations used to
// bound a sliver patch of noise orientation, and the passage was refused as crossing.
TEST(Regression, NearlyEqualStationFractionsAreOneStation) {
    const std::vector<Doublet> hub = {
        {-30.125f, 25.1875f}, {-26.625f, 24.3125f}, {-23.125f, 23.4375f}, {-22.625f, 23.4375f},
        {-22.125f, 23.4375f}, {-21.125f, 23.1875f}, {-20.125f, 23.1875f}};
    const std::vector<Doublet> shroud = {{-35.25f, 90.375f}, {-21.25f, 86.875f}, {-19.25f, 86.875f},
                                         {-18.25f, 86.625f}, {-17.25f, 86.375f}, {-16.25f, 86.375f},
                                         {-15.25f, 86.375f}};
    std::unique_ptr<TurboTransform> tt;
    ASSERT_NO_THROW(tt.reset(new TurboTransform(hub, shroud)));
    for (const Doublet& p : hub) {
        EXPECT_EQ(nmtsOf(*tt, p).z, 0.0) << p.x << ", " << p.y;
    }
    for (const Doublet& p : shroud) {
        EXPECT_EQ(nmtsOf(*tt, p).z, 1.0) << p.x << ", " << p.y;
    }
    EXPECT_EQ(nmtsOf(*tt, hub.front()).x, 0.0);
    EXPECT_EQ(nmtsOf(*tt, shroud.back()).x, 1.0);
    // Both walls' break points at 0.7042... of their lengths map to the same meridional value.
    EXPECT_EQ(nmtsOf(*tt, hub[2]).x, nmtsOf(*tt, shroud[1]).x);
}
