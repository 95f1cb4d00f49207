#include "TestSupport.h"

#include <cmath>
#include <limits>
#include <random>
#include <vector>

using orv::ART;
using orv::DART;
using orv::Doublet;
using orv::RotationAxis;
using orv::TripletBase;
using orvtest::sameBits;
using orvtest::tripletEq;

namespace {
using D3 = TripletBase<double>;
using F3 = TripletBase<float>;
constexpr double kPi = 3.141592653589793;

RotationAxis zAxis() {
    return RotationAxis(D3(0, 0, 0), D3(0, 0, 1), 30, D3(0, 1, 0));
}

// The point at radius r and theta (degrees) about zAxis(): theta runs from U = y towards C = -x.
D3 at(double thetaDegrees, double z = 0, double r = 2) {
    const double t = thetaDegrees * kPi / 180.0;
    return D3(-r * std::sin(t), r * std::cos(t), z);
}

template <class R> std::vector<double> thetas(const std::vector<R>& recs) {
    std::vector<double> t;
    for (const R& rec : recs) {
        t.push_back(rec.t);
    }
    return t;
}

// The continuity rule applied point by point through the public single-point operations: the
// first point as convertART gives it (or near the reference), every later one with the previous
// output theta as the hemisphere reference. The list forms must give exactly these bits.
template <class P, class R>
::testing::AssertionResult sameAsRuleChain(const RotationAxis& axis, const std::vector<P>& pts,
                                           const std::vector<R>& list,
                                           const double* reference = nullptr) {
    if (list.size() != pts.size()) {
        return ::testing::AssertionFailure() << "size " << list.size();
    }
    for (std::size_t i = 0; i < pts.size(); ++i) {
        const R want = i > 0       ? axis.convertARTSetHemisphere(pts[i], double(list[i - 1].t))
                       : reference ? axis.convertARTSetHemisphere(pts[i], *reference)
                                   : axis.convertART(pts[i]);
        if (!sameBits(list[i].a, want.a) || !sameBits(list[i].r, want.r) ||
            !sameBits(list[i].t, want.t)) {
            return ::testing::AssertionFailure()
                   << "element " << i << ": " << list[i].t << " against " << want.t;
        }
    }
    return ::testing::AssertionSuccess();
}
} // namespace

TEST(AxisLists, ContinuityAcrossTheCut) {
    const RotationAxis axis = zAxis();
    const std::vector<D3> cut{at(170), at(-170), at(-150)};
    std::vector<DART> out;
    axis.convertART(cut, out);
    for (int i = 0; i < 3; ++i) {
        const double single = axis.convertART(cut[i]).t;
        EXPECT_TRUE(sameBits(out[i].t, i == 0 ? single : single + 360.0)) << i;
    }
    EXPECT_NEAR(out[2].t, 210.0, 1e-12);

    // Steps of exactly -180 and +180 degrees.
    axis.convertART(std::vector<D3>{D3(-1, 0, -2), D3(1, 0, 5)}, out);
    EXPECT_EQ(thetas(out), (std::vector<double>{90, 270}));
    axis.convertART(std::vector<D3>{D3(1, 0, 5), D3(-1, 0, -2)}, out);
    EXPECT_EQ(thetas(out), (std::vector<double>{-90, -270}));
    std::vector<ART> fout;
    axis.convertART(std::vector<F3>{F3(-1, 0, -2), F3(1, 0, 5)}, fout);
    EXPECT_EQ(thetas(fout), (std::vector<double>{90, 270}));

    // A NaN point breaks the chain: the next point keeps its own theta and the chain goes on.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    axis.convertART(std::vector<D3>{at(170), D3(nan, 0, 0), at(-170), at(-150)}, out);
    EXPECT_TRUE(std::isnan(out[1].t));
    EXPECT_NEAR(out[2].t, -170.0, 1e-12);
    EXPECT_NEAR(out[3].t, -150.0, 1e-12);
}

TEST(AxisLists, ThreeTurnHelix) {
    const RotationAxis axis = zAxis();
    std::vector<D3> helix;
    for (int i = 0; i <= 72; ++i) {
        helix.push_back(at(15.0 * i, 0.1 * i));
    }
    std::vector<D3> out;
    axis.convertART(helix, out);
    for (int i = 0; i <= 72; ++i) {
        EXPECT_NEAR(out[i].z, 15.0 * i, 1e-9) << i;
        EXPECT_NEAR(out[i].x, 0.1 * i, 1e-12);
    }
    std::vector<ART> fout;
    std::vector<F3> fhelix(helix.size());
    for (std::size_t i = 0; i < helix.size(); ++i) {
        fhelix[i] = F3(helix[i]);
    }
    axis.convertARTSetHemisphere(fhelix, fout, 720.0);
    EXPECT_NEAR(fout.front().t, 720.0, 1e-3); // first point at 0 degrees moved two turns up
    EXPECT_NEAR(fout.back().t, 720.0 + 1080.0, 1e-3);
}

TEST(AxisLists, HemisphereAndRadianForms) {
    const RotationAxis axis = zAxis();
    const std::vector<F3> pts{F3(at(10)), F3(at(100)), F3(at(-170)), F3(at(20))};
    std::vector<ART> deg;
    axis.convertARTSetHemisphere(pts, deg, 720.0);
    const double expected[] = {730, 820, 910, 740}; // k = -2 on the first point, then continuous
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(deg[i].t, expected[i], 1e-4) << i;
    }
    std::vector<F3> tri, rad;
    axis.convertARTSetHemisphere(pts, tri, 720.0);
    axis.convertARTSetHemisphere(pts, deg, 360.0);
    axis.convertARTSetHemisphereRad(pts, rad, 2 * kPi);
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(tripletEq(rad[i], deg[i].a, deg[i].r, float(double(deg[i].t) * kPi / 180.0)));
    }
    std::vector<D3> dtri;
    axis.convertARTSetHemisphere(std::vector<D3>{at(10)}, dtri, -1e300); // far beyond 32 bits
    EXPECT_TRUE(std::isfinite(dtri[0].z));
    axis.convertARTSetHemisphere(std::vector<D3>{at(10)}, dtri,
                                 std::numeric_limits<double>::infinity());
    EXPECT_NEAR(dtri[0].z, 10.0, 1e-12);
}

// The forms without continuity give the single-point result element by element.
TEST(AxisLists, PlainFormsEqualSinglePoint) {
    const RotationAxis axis(D3(1, 2, 3), D3(1, 1, 0.5), 30, D3(0, 0, 1));
    std::vector<F3> pts;
    for (int i = 0; i < 12; ++i) {
        pts.emplace_back(float(i * 1.7 - 9), float(5 - i * 0.9), float(i % 5) - 2.5f);
    }
    std::vector<ART> ar;
    std::vector<Doublet> dbl(50); // longer than the input: comes back with the input's length
    axis.convertAR(pts, ar, 45.0);
    axis.convertAR(pts, dbl);
    std::vector<ART> art;
    std::vector<F3> ax, rad, th;
    axis.convertARTWithDirections(pts, art, ax, rad, th);
    ASSERT_EQ(dbl.size(), pts.size());
    std::vector<F3> xyz;
    axis.convertXYZ(art, xyz);
    for (std::size_t i = 0; i < pts.size(); ++i) {
        const ART single = axis.convertAR(pts[i], 45.0);
        EXPECT_TRUE(sameBits(ar[i].a, single.a) && sameBits(ar[i].r, single.r) && ar[i].t == 45.f);
        EXPECT_TRUE(sameBits(dbl[i].x, single.a) && sameBits(dbl[i].y, single.r));
        ART c;
        F3 a1, r1, t1;
        axis.convertARTWithDirections(pts[i], c, a1, r1, t1);
        EXPECT_TRUE(sameBits(art[i].t, c.t) && tripletEq(ax[i], a1.x, a1.y, a1.z) &&
                    tripletEq(rad[i], r1.x, r1.y, r1.z) && tripletEq(th[i], t1.x, t1.y, t1.z));
        const F3 back = axis.convertXYZ(c);
        EXPECT_TRUE(tripletEq(xyz[i], back.x, back.y, back.z));
    }
    // (a, r, pi) in radians lands where (a, r, 180) in degrees does, to rounding.
    std::vector<D3> piIn{D3(1.5, 2, kPi)}, piOut;
    axis.convertXYZThetaRad(piIn, piOut);
    const D3 want = axis.convertXYZ(DART{1.5, 2, 180});
    EXPECT_TRUE(tripletEq(piOut[0], want.x, want.y, want.z)); // pi * 180 / pi is 180 exactly
    std::vector<F3> fpiIn{F3(1.5f, 2.f, float(kPi))}, fpiOut;
    axis.convertXYZThetaRad(fpiIn, fpiOut);
    const F3 fwant = axis.convertXYZ(ART{1.5f, 2.f, 180.f});
    EXPECT_LE(orvtest::ulpDistance(fpiOut[0].x, fwant.x), 4);
    EXPECT_LE(orvtest::ulpDistance(fpiOut[0].y, fwant.y), 4);
    EXPECT_LE(orvtest::ulpDistance(fpiOut[0].z, fwant.z), 4);
}

TEST(AxisLists, SameListAsInputAndOutput) {
    const RotationAxis axis = zAxis();
    const std::vector<D3> pts{at(170, 1), at(-170, 2), at(-100, 3), at(60, 4)};
    std::vector<D3> want, list = pts;
    axis.convertART(pts, want);
    axis.convertART(list, list);
    EXPECT_EQ(list.size(), want.size());
    for (std::size_t i = 0; i < pts.size(); ++i) {
        EXPECT_TRUE(tripletEq(list[i], want[i].x, want[i].y, want[i].z));
    }
    axis.convertARTSetHemisphere(pts, want, 400.0);
    list = pts;
    axis.convertARTSetHemisphere(list, list, 400.0);
    for (std::size_t i = 0; i < pts.size(); ++i) {
        EXPECT_TRUE(tripletEq(list[i], want[i].x, want[i].y, want[i].z));
    }
    axis.convertXYZThetaRad(pts, want);
    list = pts;
    axis.convertXYZThetaRad(list, list);
    for (std::size_t i = 0; i < pts.size(); ++i) {
        EXPECT_TRUE(tripletEq(list[i], want[i].x, want[i].y, want[i].z));
    }
    std::vector<F3> fpts{F3(at(170)), F3(at(-170))}, fwant, flist = fpts;
    axis.convertARTSetHemisphereRad(fpts, fwant, 1.0);
    axis.convertARTSetHemisphereRad(flist, flist, 1.0);
    for (std::size_t i = 0; i < fpts.size(); ++i) {
        EXPECT_TRUE(tripletEq(flist[i], fwant[i].x, fwant[i].y, fwant[i].z));
    }
    // The input may also be one of the direction lists.
    std::vector<D3> dirs = pts, ax, rad, th;
    std::vector<DART> art;
    axis.convertARTWithDirections(pts, art, ax, rad, th);
    axis.convertARTWithDirections(dirs, art, ax, dirs, th);
    for (std::size_t i = 0; i < pts.size(); ++i) {
        EXPECT_TRUE(tripletEq(dirs[i], rad[i].x, rad[i].y, rad[i].z));
    }
}

// After a refusal: lists filled in place have the input's length (earlier elements kept, new
// ones zero) and no converted element; lists filled aside are unchanged.
TEST(AxisLists, StateAfterRefusal) {
    const RotationAxis unset;
    const std::vector<F3> three(3, F3(1, 2, 3));
    const std::vector<D3> dthree(3, D3(1, 2, 3));
    const ART old{7, 8, 9};
    const F3 oldT(7, 8, 9);
    using orv::data::invalid;
    const std::string msg = "MachineData object is not initialised.";

    std::vector<ART> inPlace{old};
    EXPECT_TRUE(orvtest::throwsWith<invalid>([&] { unset.convertART(three, inPlace); },
                                             "MachineData", "convertART", msg));
    ASSERT_EQ(inPlace.size(), 3u);
    EXPECT_TRUE(inPlace[0].a == 7 && inPlace[0].t == 9 && inPlace[2].a == 0 && inPlace[2].t == 0);

    std::vector<F3> aside{oldT};
    EXPECT_TRUE(orvtest::throwsWith<invalid>([&] { unset.convertART(three, aside); }, "MachineData",
                                             "convertART", msg));
    ASSERT_EQ(aside.size(), 1u);
    std::vector<ART> asideRec{old, old, old, old};
    EXPECT_TRUE(
        orvtest::throwsWith<invalid>([&] { unset.convertARTSetHemisphere(three, asideRec, 0); },
                                     "MachineData", "convertART", msg));
    EXPECT_EQ(asideRec.size(), 4u);
    std::vector<DART> asideAR(5);
    EXPECT_TRUE(orvtest::throwsWith<invalid>([&] { unset.convertAR(dthree, asideAR, 1); },
                                             "MachineData", "convertAR", msg));
    EXPECT_EQ(asideAR.size(), 5u);

    // The triplet hemisphere forms resize first, then build the records aside.
    std::vector<F3> tri{oldT}, rad{oldT, oldT, oldT, oldT, oldT};
    EXPECT_TRUE(orvtest::throwsWith<invalid>([&] { unset.convertARTSetHemisphere(three, tri, 0); },
                                             "MachineData", "convertART", msg));
    EXPECT_TRUE(
        orvtest::throwsWith<invalid>([&] { unset.convertARTSetHemisphereRad(three, rad, 0); },
                                     "MachineData", "convertART", msg));
    ASSERT_EQ(tri.size(), 3u);
    EXPECT_TRUE(tripletEq(tri[0], 7.f, 8.f, 9.f) && tripletEq(tri[1], 0.f, 0.f, 0.f));
    ASSERT_EQ(rad.size(), 3u);
    EXPECT_TRUE(tripletEq(rad[2], 7.f, 8.f, 9.f));

    std::vector<Doublet> dbl;
    std::vector<ART> art;
    std::vector<F3> ax(9), rd, th;
    EXPECT_TRUE(orvtest::throwsWith<invalid>([&] { unset.convertAR(three, dbl); }, "MachineData",
                                             "convertAR", msg));
    EXPECT_TRUE(orvtest::throwsWith<invalid>(
        [&] { unset.convertARTWithDirections(three, art, ax, rd, th); }, "MachineData",
        "convertART", msg));
    EXPECT_TRUE(dbl.size() == 3 && art.size() == 3 && ax.size() == 3 && rd.size() == 3 &&
                th.size() == 3);

    const std::string rot = "Invalid rotation parameters.\n";
    std::vector<F3> xyz;
    EXPECT_TRUE(orvtest::throwsWith<invalid>([&] { unset.convertXYZ(std::vector<ART>(2), xyz); },
                                             "RotationAxis", "getRotationMatrix", rot));
    EXPECT_EQ(xyz.size(), 2u);
    std::vector<D3> dxyz;
    EXPECT_TRUE(orvtest::throwsWith<invalid>([&] { unset.convertXYZThetaRad(dthree, dxyz); },
                                             "RotationAxis", "getRotationMatrix", rot));
    EXPECT_EQ(dxyz.size(), 3u);
}

TEST(AxisLists, EmptyListsOnUnsetAxis) {
    const RotationAxis unset;
    const std::vector<F3> f;
    const std::vector<D3> d;
    std::vector<ART> art(2);
    std::vector<DART> dart(2);
    std::vector<F3> ft(2), a(2), r(2), t(2);
    std::vector<D3> dt(2);
    std::vector<Doublet> dbl(2);
    unset.convertART(f, art);
    unset.convertART(d, dart);
    unset.convertART(f, ft);
    EXPECT_TRUE(art.empty() && dart.empty() && ft.empty());
    art.resize(2), dt.resize(2), ft.resize(2), dart.resize(2);
    unset.convertARTSetHemisphere(f, art, 0);
    unset.convertARTSetHemisphere(d, dt, 0);
    unset.convertARTSetHemisphereRad(f, ft, 0);
    EXPECT_TRUE(art.empty() && dt.empty() && ft.empty());
    art.resize(2), dt.resize(2), ft.resize(2);
    unset.convertAR(f, art, 1);
    unset.convertAR(f, dbl);
    unset.convertARTWithDirections(f, art, a, r, t);
    unset.convertXYZ(std::vector<DART>(), dt);
    unset.convertXYZThetaRad(f, ft);
    EXPECT_TRUE(art.empty() && dbl.empty() && a.empty() && r.empty() && t.empty() && dt.empty() &&
                ft.empty());
}

// Large lists against the rule applied point by point: random points around a skew axis (the
// list crosses the cut often and the corrections add up), and points whose steps are exactly half
// a turn or that lie exactly on the cut, over several hundred points.
TEST(AxisLists, LargeListsMatchTheRuleBitForBit) {
    std::mt19937_64 gen(7);
    std::uniform_real_distribution<double> c(-100, 100);
    const RotationAxis axis(D3(1, -2, 3), D3(0.3, -0.2, 1), 30, D3(1, 0, 0));
    std::vector<D3> pts(100000);
    std::vector<F3> fpts(pts.size());
    for (std::size_t i = 0; i < pts.size(); ++i) {
        pts[i] = D3(c(gen), c(gen), c(gen));
        fpts[i] = F3(pts[i]);
    }
    std::vector<DART> list;
    std::vector<ART> flist;
    axis.convertART(pts, list);
    axis.convertART(fpts, flist);
    EXPECT_TRUE(sameAsRuleChain(axis, pts, list));
    EXPECT_TRUE(sameAsRuleChain(axis, fpts, flist));
    EXPECT_GT(std::fabs(list.back().t), 1000.0); // many crossings of the cut
    const double reference = -2e5;
    axis.convertARTSetHemisphere(pts, list, reference);
    EXPECT_TRUE(sameAsRuleChain(axis, pts, list, &reference));

    const RotationAxis z = zAxis();
    std::vector<D3> edge;
    for (int i = 0; i < 700; ++i) {
        const D3 choices[] = {D3(2, 0, i), D3(-2, 0, i), D3(0, -2, i), D3(0, 2, i), at(i * 0.7)};
        edge.push_back(choices[(i * 7 + i / 3) % 5]);
    }
    std::vector<F3> fedge;
    for (const D3& p : edge) {
        fedge.push_back(F3(p));
    }
    z.convertART(edge, list);
    z.convertART(fedge, flist);
    EXPECT_TRUE(sameAsRuleChain(z, edge, list));
    EXPECT_TRUE(sameAsRuleChain(z, fedge, flist));

    // Far from zero the previous output theta carries few fraction bits, so a step just short of
    // half a turn can round onto it: the rule then moves a turn where exact arithmetic would not.
    std::vector<D3> near;
    for (int i = 0; i < 300; ++i) {
        near.push_back(at(i % 2 == 0 ? 0.0 : (i % 4 == 1 ? 179.99999 : -179.99999)));
    }
    for (const double far : {1e12, -3.3e13, 7.7e9}) {
        z.convertARTSetHemisphere(near, list, far);
        EXPECT_TRUE(sameAsRuleChain(z, near, list, &far)) << far;
    }
}
