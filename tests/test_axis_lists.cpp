#include "AxisTestSupport.h"

#include <random>
#include <vector>

using namespace axistest;
using orv::ART;
using orv::DART;
using orv::Doublet;
using orv::RotationAxis;
using orvtest::tripletEq;

namespace {
template <class R> std::vector<double> thetas(const std::vector<R>& recs) {
    std::vector<double> t;
    for (const R& rec : recs) {
        t.push_back(rec.t);
    }
    return t;
}

std::vector<F3> narrowed(const std::vector<D3>& pts) {
    std::vector<F3> f;
    for (const D3& p : pts) {
        f.push_back(F3(p));
    }
    return f;
}

// The continuity rule applied point by point through the public single-point operations: the
// first point as convertART gives it (or near the reference), every later one with the previous
// output theta as the hemisphere reference. The list forms must give exactly these bits.
template <class P, class R>
::testing::AssertionResult sameAsRuleChain(const RotationAxis& axis, const std::vector<P>& pts,
                                           const std::vector<R>& list,
                                           const double* reference = nullptr) {
    for (std::size_t i = 0; i < pts.size(); ++i) {
        const R want = i > 0       ? axis.convertARTSetHemisphere(pts[i], double(list[i - 1].t))
                       : reference ? axis.convertARTSetHemisphere(pts[i], *reference)
                                   : axis.convertART(pts[i]);
        if (!recordEq(list[i], want)) {
            return ::testing::AssertionFailure()
                   << "element " << i << ": " << recordEq(list[i], want).message();
        }
    }
    return ::testing::AssertionSuccess();
}
} // namespace

TEST(AxisLists, ContinuityAcrossTheCutAndAlongAHelix) {
    const RotationAxis axis = zAxis();
    std::vector<DART> out;
    axis.convertART(std::vector<D3>{at(170), at(-170), at(-150)}, out);
    EXPECT_NEAR(out[1].t, 190.0, 1e-12);
    EXPECT_NEAR(out[2].t, 210.0, 1e-12);
    // Steps of exactly -180 and +180 degrees.
    axis.convertART(std::vector<D3>{D3(-1, 0, -2), D3(1, 0, 5)}, out);
    EXPECT_EQ(thetas(out), (std::vector<double>{90, 270}));
    std::vector<ART> fout;
    axis.convertART(std::vector<F3>{F3(1, 0, 5), F3(-1, 0, -2)}, fout);
    EXPECT_EQ(thetas(fout), (std::vector<double>{-90, -270}));
    // A NaN point breaks the chain: the next point keeps its own theta and the chain goes on.
    axis.convertART(std::vector<D3>{at(170), D3(std::nan(""), 0, 0), at(-170), at(-150)}, out);
    EXPECT_TRUE(std::isnan(out[1].t));
    EXPECT_NEAR(out[3].t, -150.0, 1e-12);

    std::vector<D3> helix, tri; // three turns in steps of 15 degrees
    for (int i = 0; i <= 72; ++i) {
        helix.push_back(at(15.0 * i, 0.1 * i));
    }
    axis.convertART(helix, tri);
    for (int i = 0; i <= 72; ++i) {
        EXPECT_TRUE(nearScale(tri[i].z, 15.0 * i, 1080.0, 4) &&
                    nearScale(tri[i].x, 0.1 * i, 8.0, 2));
    }
}

TEST(AxisLists, HemisphereAndRadianForms) {
    const RotationAxis axis = zAxis();
    const std::vector<F3> pts = narrowed({at(10), at(100), at(-170), at(20)});
    std::vector<ART> deg;
    axis.convertARTSetHemisphere(pts, deg, 720.0);
    const double expected[] = {730, 820, 910, 740}; // k = -2 on the first point, then continuous
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(deg[i].t, expected[i], 1e-4) << i;
    }
    std::vector<F3> rad;
    axis.convertARTSetHemisphere(pts, deg, 360.0);
    axis.convertARTSetHemisphereRad(pts, rad, 2 * kPi);
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(tripletEq(rad[i], deg[i].a, deg[i].r, float(double(deg[i].t) * kPi / 180.0)));
    }
}

// Without continuity each element is the single-point result; output lengths follow the input.
TEST(AxisLists, PlainFormsEqualSinglePoint) {
    const RotationAxis axis(D3(1, 2, 3), D3(1, 1, 0.5), 30, D3(0, 0, 1));
    std::vector<F3> pts;
    for (int i = 0; i < 12; ++i) {
        pts.emplace_back(float(i * 1.7 - 9), float(5 - i * 0.9), float(i % 5) - 2.5f);
    }
    std::vector<ART> ar, art;
    std::vector<Doublet> dbl(50);
    std::vector<F3> ax, rad, th, xyz(1);
    axis.convertAR(pts, ar, 45.0);
    axis.convertAR(pts, dbl);
    axis.convertARTWithDirections(pts, art, ax, rad, th);
    axis.convertXYZ(art, xyz);
    ASSERT_TRUE(dbl.size() == pts.size() && xyz.size() == pts.size());
    for (std::size_t i = 0; i < pts.size(); ++i) {
        const ART single = axis.convertAR(pts[i], 45.0);
        EXPECT_TRUE(recordEq(ar[i], single) && single.t == 45.f);
        EXPECT_TRUE(orvtest::sameBits(dbl[i].x, single.a) && orvtest::sameBits(dbl[i].y, single.r));
        ART c;
        F3 a1, r1, t1;
        axis.convertARTWithDirections(pts[i], c, a1, r1, t1);
        EXPECT_TRUE(recordEq(art[i], c) && tripletEq(ax[i], a1.x, a1.y, a1.z) &&
                    tripletEq(rad[i], r1.x, r1.y, r1.z) && tripletEq(th[i], t1.x, t1.y, t1.z));
        const F3 back = axis.convertXYZ(c);
        EXPECT_TRUE(tripletEq(xyz[i], back.x, back.y, back.z));
    }
    // (a, r, pi) in radians lands where (a, r, 180) in degrees does.
    std::vector<D3> piOut;
    axis.convertXYZThetaRad(std::vector<D3>{D3(1.5, 2, kPi)}, piOut);
    const D3 want = axis.convertXYZ(DART{1.5, 2, 180}); // pi * 180 / pi is 180 exactly
    EXPECT_TRUE(tripletEq(piOut[0], want.x, want.y, want.z));
}

// Large lists against the rule applied point by point: random points around a skew axis (the
// list crosses the cut about every other point and the corrections add up), points on the cut and
// steps of exactly half a turn, and far references, where the previous output carries few
// fraction bits and a step just short of half a turn can round onto it.
TEST(AxisLists, LargeListsMatchTheRuleBitForBit) {
    std::mt19937_64 gen(7);
    std::uniform_real_distribution<double> c(-100, 100);
    const RotationAxis axis(D3(1, -2, 3), D3(0.3, -0.2, 1), 30, D3(1, 0, 0));
    std::vector<D3> pts(100000);
    for (D3& p : pts) {
        p = D3(c(gen), c(gen), c(gen));
    }
    const std::vector<F3> fpts = narrowed(pts);
    std::vector<DART> list;
    std::vector<ART> flist;
    axis.convertART(pts, list);
    axis.convertART(fpts, flist);
    EXPECT_TRUE(sameAsRuleChain(axis, pts, list));
    EXPECT_TRUE(sameAsRuleChain(axis, fpts, flist));
    EXPECT_GT(std::fabs(list.back().t), 1000.0);

    const RotationAxis z = zAxis();
    std::vector<D3> edge, near;
    for (int i = 0; i < 700; ++i) {
        const D3 choices[] = {D3(2, 0, i), D3(-2, 0, i), D3(0, -2, i), D3(0, 2, i), at(i * 0.7)};
        edge.push_back(choices[(i * 7 + i / 3) % 5]);
        near.push_back(at(i % 2 == 0 ? 0.0 : (i % 4 == 1 ? 179.99999 : -179.99999)));
    }
    z.convertART(edge, list);
    z.convertART(narrowed(edge), flist);
    EXPECT_TRUE(sameAsRuleChain(z, edge, list));
    EXPECT_TRUE(sameAsRuleChain(z, narrowed(edge), flist));
    for (const double far : {1e12, -3.3e13, 7.7e9, -2e5}) {
        z.convertARTSetHemisphere(near, list, far);
        EXPECT_TRUE(sameAsRuleChain(z, near, list, &far)) << far;
    }
}
