// The platform's passage model (TurboTransform): what the turbo transform's results rest on, its
// exact walls and ends, its round trips, and the passages it refuses.
#include "TestSupport.h"

#include <algorithm>
#include <fstream>
#include <random>

using namespace orvtest;
using orv::Doublet;
using orv::TurboTransform;

namespace {

const TurboTransform::space MTS = TurboTransform::spaceMTS, NMTS = TurboTransform::spaceNMTS,
                            MPRIME = TurboTransform::spaceMPrime;

// An axial passage and a mixed-flow one whose hub climbs steeply; the walls of each have their
// break points at different arc lengths.
struct Passage {
    std::vector<Doublet> hub, shroud;
};
const Passage kPassages[] = {
    {{{1, 1}, {2, 1.1f}, {3.5f, 1.3f}, {5, 1.3f}}, {{1, 2}, {3, 1.9f}, {5, 1.8f}}},
    {{{1, 1}, {2, 1.2f}, {2.8f, 1.7f}, {3.3f, 2.5f}},
     {{1, 2}, {1.8f, 2.1f}, {2.4f, 2.5f}, {2.7f, 3}}},
};

D3 forward(const TurboTransform& tt, TurboTransform::space sp, Doublet p) {
    D3 tns;
    tt.convertARTtoSpaceTNs(sp, D3(p.x, p.y, 0.0), tns);
    return tns;
}

// A wall of NASA Rotor 37 (data/rotor37: (axial, radius) in centimetres), as Doublets hold it.
std::vector<Doublet> rotor37Wall(const char* file) {
    std::ifstream in(std::string(ORV_SOURCE_DIR) + "/data/rotor37/" + file);
    std::vector<Doublet> wall;
    double z, r;
    char comma;
    for (in.ignore(100, '\n'); in >> z >> comma >> r;) { // after the header line
        wall.emplace_back(float(z), float(r));
    }
    return wall;
}

double wallLength(const std::vector<Doublet>& wall) {
    double total = 0.0;
    for (std::size_t i = 1; i < wall.size(); ++i) {
        total += std::hypot(double(wall[i].x) - wall[i - 1].x, double(wall[i].y) - wall[i - 1].y);
    }
    return total;
}

} // namespace

// (Round trips: on the Rotor 37 passage below.)
TEST(Passage, WallsAndEnds) {
    for (const Passage& c : kPassages) {
        const TurboTransform tt(c.hub, c.shroud);
        for (const auto* wall : {&c.hub, &c.shroud}) {
            const double span = wall == &c.hub ? 0.0 : 1.0;
            for (const Doublet& p : *wall) { // every break point on its wall's span exactly
                EXPECT_TRUE(forward(tt, NMTS, p).z == span && forward(tt, MTS, p).z == span);
            }
            EXPECT_TRUE(forward(tt, NMTS, wall->front()).x == 0 &&
                        forward(tt, MTS, wall->front()).x == 0);
            EXPECT_EQ(forward(tt, NMTS, wall->back()).x, 1.0);
            EXPECT_LE(ulpDistance(forward(tt, MTS, wall->back()).x, wallLength(*wall)), 4);
            F3 art; // back from the ends: the wall's own end points, bit for bit
            tt.convertSpaceTNsToART(NMTS, F3(1, 0, float(span)), art);
            EXPECT_TRUE(tripletEq(art, wall->back().x, wall->back().y, 0.0f));
            tt.convertSpaceTNsToART(MTS, F3(0, 0, float(span)), art);
            EXPECT_TRUE(tripletEq(art, wall->front().x, wall->front().y, 0.0f));
        }
    }
    // Break points at the same fractions of both walls (the shroud is the hub moved outwards): MTS
    // at each is the sum of the wall's segment lengths before it, added in order.
    std::vector<Doublet> hub = {{0, 1},         {1, 1.25f},     {1.75f, 1.75f},
                                {2.5f, 1.875f}, {3.5f, 1.875f}, {4.25f, 2.5f}},
                         shroud;
    for (const Doublet& h : hub) {
        shroud.emplace_back(h.x, h.y + 1);
    }
    const TurboTransform moved(hub, shroud);
    double walked = 0;
    for (std::size_t i = 0; i < hub.size(); ++i) {
        const double dx = i ? double(hub[i].x) - hub[i - 1].x : 0,
                     dy = i ? double(hub[i].y) - hub[i - 1].y : 0;
        walked = walked + std::sqrt(dx * dx + dy * dy);
        EXPECT_TRUE(sameBits(forward(moved, MTS, hub[i]).x, walked) &&
                    sameBits(forward(moved, MTS, shroud[i]).x, walked))
            << i;
    }
    // A point inside a vertical inlet lies exactly on its first station.
    const TurboTransform axial(kPassages[0].hub, kPassages[0].shroud);
    EXPECT_TRUE(tripletEq(forward(axial, NMTS, {1.0f, 1.5f}), 0.0, 0.0, 0.5));
    // Input and output may be one object; copies share the model.
    const TurboTransform copy = axial;
    F3 separate, same(2.4f, 2.1f, 7.0f);
    copy.convertARTtoSpaceTNs(NMTS, same, separate);
    axial.convertARTtoSpaceTNs(NMTS, same, same);
    EXPECT_TRUE(tripletEq(same, separate.x, 7.0f, separate.z));
}

// Clamped to the wall's ends (inlet or outlet) at that span; without the clamp the first or last
// patch continues linearly; inside the passage both give the general conversion.
TEST(Passage, ClampingToTheWallEnds) {
    const Passage& c = kPassages[0];
    const TurboTransform tt(c.hub, c.shroud);
    const struct {
        TurboTransform::space sp;
        double m, span;
        bool inside;
    } rows[] = {
        {NMTS, 0.25, 0.0, true},   {NMTS, 0.75, 1.0, true},  {NMTS, 0.5, 0.5, true},
        {NMTS, -0.25, 0.0, false}, {NMTS, 1.25, 1.0, false}, {MTS, 1.75, 0.0, true},
        {MTS, -0.5, 1.0, false},   {MTS, 5.5, 0.0, false}, // the hub is about 4.04 long
    };
    for (const auto& r : rows) {
        D3 clamped, extended;
        tt.convertSpaceTNsToARTspanEQ0or1(r.sp, D3(r.m, 0.5, r.span), clamped, true);
        tt.convertSpaceTNsToARTspanEQ0or1(r.sp, D3(r.m, 0.5, r.span), extended, false);
        F3 general;
        tt.convertSpaceTNsToART(r.sp, F3(D3(r.m, 0.5, r.span)), general);
        EXPECT_TRUE(general.x == float(extended.x) && general.y == float(extended.y));
        const std::vector<Doublet>& wall = r.span == 0.0 ? c.hub : c.shroud;
        const Doublet end = r.m < 0.0 ? wall.front() : wall.back();
        EXPECT_TRUE(r.inside ? bitsEq(clamped, extended)
                             : tripletEq(clamped, double(end.x), double(end.y), 0.5) &&
                                   (r.m < 0.0 ? extended.x < end.x : extended.x > end.x));
    }
}

TEST(Passage, Refusals) {
    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = float(I);
    const std::vector<Doublet> hub{{0, 1}, {1, 1}}, shroud{{0, 2}, {1, 2}};
    const char* few = "Hub and shroud curves need at least two points.";
    const char* finite = "Hub and shroud points must be finite.";
    const char* zero = "Hub and shroud curves must have a non-zero length.";
    const char* meet = "Hub and shroud curves must not meet or cross.";
    const struct {
        std::vector<Doublet> hub, shroud;
        const char* message; // nullptr: accepted
    } rows[] = {
        {{}, shroud, few},
        {hub, {{0, 2}}, few},
        {{{nan, 0}, {1, 1}}, {}, few}, // the count is tested before the values
        {{{0, 1}, {nan, 1}}, shroud, finite},
        {hub, {{0, 2}, {1, inf}}, finite},
        {{{0, 1}, {0, 1}, {0, 1}}, shroud, zero},
        {hub, {{0, 2}, {0, 2}}, zero},
        {hub, hub, meet},
        {hub, {{1, 2}, {0, 2}}, meet},                   // shroud reversed: the stations cross
        {hub, {{0, 1}, {1, 2}}, meet},                   // shroud starts on the hub
        {hub, {{0, 2}, {1, 0.5f}}, meet},                // shroud ends below the hub
        {hub, {{0, 2}, {1.5f, 1}, {1, 2}}, meet},        // shroud folds back
        {{{0, 1}, {0, 1}, {1, 1}}, shroud, nullptr},     // repeated points add no length
        {{{0, 1}, {MF, 1}}, {{0, 2}, {MF, 2}}, nullptr}, // markers are ordinary values here
        {{{900, 0}, {0, 0}}, {{0, 1000}, {1000, 1000}}, nullptr}, // lines cross, stations do not
    };
    for (const auto& r : rows) {
        const auto build = [&] { TurboTransform tt(r.hub, r.shroud); };
        if (r.message) {
            EXPECT_TRUE(throwsWith<orv::data::invalid>(build, "TurboTransform", "TurboTransform",
                                                       r.message));
        } else {
            EXPECT_NO_THROW(build());
        }
    }
    struct NoModel : TurboTransform {};
    const NoModel none;
    const TurboTransform tt(hub, shroud);
    F3 f(1, 2, 3);
    D3 d(1, 2, 3);
    const Refusal space{"TurboTransform", "convertSpaceTNsToART", "Unknown meridional space."};
    for (int sp : {-1, 1, 2, 5}) {
        EXPECT_TRUE(throwsWith<orv::data::invalid>(
            [&] { tt.convertSpaceTNsToART(TurboTransform::space(sp), F3(0.5f, 0, 0.5f), f); },
            space));
        EXPECT_TRUE(throwsWith<orv::data::invalid>(
            [&] { tt.convertARTtoSpaceTNs(TurboTransform::space(sp), D3(1, 1.5, 0), d); },
            "TurboTransform", "convertARTtoSpaceTNs", "Unknown meridional space."));
    }
    EXPECT_TRUE(throwsWith<orv::internal::error>(
        [&] { none.convertSpaceTNsToARTspanEQ0or1(MTS, D3(0.5, 0, 0), d, false); },
        "TurboTransform", "convertSpaceTNsToARTspanEQ0or1",
        "TurboTransform has no passage model."));
    EXPECT_TRUE(tripletEq(f, 1.0f, 2.0f, 3.0f) && tripletEq(d, 1.0, 2.0, 3.0));
}

// Inputs on which the model once went wrong. The hub's outlet lies on the line of the inlet
// station: the far solution (span -999) was taken instead of the outlet's on the hub. Walls with
// break points at the same fractions of their lengths (summed separately, so differing in the last
// bits) bounded a sliver patch of noise orientation, and the passage was refused.
TEST(Passage, Regressions) {
    const TurboTransform cross({{0, 999}, {0, 0}}, {{0, 1000}, {1000, 1000}});
    EXPECT_TRUE(tripletEq(forward(cross, NMTS, {0, 0}), 1.0, 0.0, 0.0));
    EXPECT_TRUE(tripletEq(forward(cross, NMTS, {0, 999}), 0.0, 0.0, 0.0));
    EXPECT_TRUE(tripletEq(forward(cross, NMTS, {1000, 1000}), 1.0, 0.0, 1.0));
    const std::vector<Doublet> hub = {
        {-30.125f, 25.1875f}, {-26.625f, 24.3125f}, {-23.125f, 23.4375f}, {-22.625f, 23.4375f},
        {-22.125f, 23.4375f}, {-21.125f, 23.1875f}, {-20.125f, 23.1875f}};
    const std::vector<Doublet> shroud = {{-35.25f, 90.375f}, {-21.25f, 86.875f}, {-19.25f, 86.875f},
                                         {-18.25f, 86.625f}, {-17.25f, 86.375f}, {-16.25f, 86.375f},
                                         {-15.25f, 86.375f}};
    const TurboTransform scaled(hub, shroud);
    for (const Doublet& p : hub) {
        EXPECT_EQ(forward(scaled, NMTS, p).z, 0.0);
    }
    for (const Doublet& p : shroud) {
        EXPECT_EQ(forward(scaled, NMTS, p).z, 1.0);
    }
    EXPECT_EQ(forward(scaled, NMTS, hub[2]).x, forward(scaled, NMTS, shroud[1]).x);
}

// Rotor 37: exact walls, round trips in all spaces, reference values computed independently.
TEST(Passage, Rotor37) {
    const std::vector<Doublet> hub = rotor37Wall("hub.csv"), shroud = rotor37Wall("shroud.csv");
    ASSERT_TRUE(hub.size() == 31 && shroud.size() == 32);
    const TurboTransform tt(hub, shroud);
    std::mt19937 rng(37u);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (TurboTransform::space sp : {MTS, NMTS, MPRIME}) {
        for (const auto* wall : {&hub, &shroud}) {
            const double span = wall == &hub ? 0.0 : 1.0;
            for (const Doublet& p : *wall) {
                EXPECT_EQ(forward(tt, sp, p).z, span);
            }
            D3 art; // the inlet at meridional 0, and back from there: its point bit for bit
            tt.convertSpaceTNsToARTspanEQ0or1(sp, D3(0, 0.5, span), art, false);
            EXPECT_TRUE(sameBits(forward(tt, sp, wall->front()).x, 0.0) &&
                        tripletEq(art, double(wall->front().x), double(wall->front().y), 0.5));
        }
        // Points filling the passage, there and back: within 4 units in the last place of 25 (the
        // radius's size) in double precision, 2 in single precision, which rounds once.
        bool ok = true;
        for (int i = 0; i < 2000; ++i) {
            D3 art, tns, back;
            tt.convertSpaceTNsToARTspanEQ0or1(NMTS, D3(unit(rng), 0.5, unit(rng)), art, false);
            tt.convertARTtoSpaceTNs(sp, art, tns);
            tt.convertSpaceTNsToARTspanEQ0or1(sp, tns, back, false);
            const F3 artF(art);
            F3 tnsF, backF;
            tt.convertARTtoSpaceTNs(sp, artF, tnsF);
            tt.convertSpaceTNsToART(sp, tnsF, backF);
            ok = ok && nearScale(back, art, 25.0, 4) && nearScale(backF, artF, 25.0f, 2) &&
                 sameBits(tnsF.x, float(forward(tt, sp, {artF.x, artF.y}).x));
        }
        EXPECT_TRUE(ok) << sp;
    }
    EXPECT_TRUE(forward(tt, NMTS, hub.back()).x == 1 && forward(tt, NMTS, shroud.back()).x == 1);
    // A mesh over one blade pitch, XYZ to m' and back through the list forms: within 4 units in
    // the last place of 32 (the coordinates' size, in float).
    const orv::ThetaTurboTransform ttf(
        -180, orv::RotationAxis(D3(0, 0, 0), D3(0, 0, 1), 10, D3(1, 0, 0)));
    std::vector<D3> grid, mPrime;
    for (int i = 0; i < 4000; ++i) {
        grid.emplace_back(unit(rng), (unit(rng) - 0.5) * 10 * kPi / 180, unit(rng));
    }
    std::vector<F3> mesh, back;
    ttf.convertNMTStoXYZ(grid, mesh, tt);
    ttf.convertXYZtoSpace(MPRIME, mesh, mPrime, tt);
    ttf.convertSpaceToXYZ(MPRIME, mPrime, back, tt);
    std::int64_t worst = 0;
    for (std::size_t i = 0; i < mesh.size(); ++i) {
        worst = std::max({worst, ulpDistance(back[i].x - mesh[i].x + 32.0f, 32.0f),
                          ulpDistance(back[i].y - mesh[i].y + 32.0f, 32.0f),
                          ulpDistance(back[i].z - mesh[i].z + 32.0f, 32.0f)});
    }
    EXPECT_LE(worst, 4);
    // (axial, radial, u, span, MTS, m') from tools/rotor37_reference.py (patches inverted by
    // bisection, m' by Gauss-Legendre quadrature): within 1e-12 (MTS: relative).
    const double refs[][6] = {
        {-10, 21, 0.3360676626712904, 0.42661163633416666, 12.860000610351564, 0.6123809814453125},
        {2, 18.5, 0.65186215273889037, 0.031052897078015083, 24.930902169571233,
         1.3985356967928571},
        {4, 24, 0.70564592730824316, 0.93819073195253821, 26.976733402937182, 1.0772380029107593},
        {14, 19.5, 0.96759057320253739, 0.015424277483593336, 37.010638380808928,
         2.0389151809785822},
    };
    for (const auto& w : refs) {
        const Doublet p{float(w[0]), float(w[1])};
        const D3 n = forward(tt, NMTS, p), m = forward(tt, MTS, p), q = forward(tt, MPRIME, p);
        for (double d :
             {n.x - w[2], (m.x - w[4]) / w[4], q.x - w[5], n.z - w[3], m.z - w[3], q.z - w[3]}) {
            EXPECT_LE(std::fabs(d), 1e-12) << w[0];
        }
    }
}

// m' along a line of constant span that reaches the axis: refused, the output left as it was.
TEST(Passage, MPrimeNeedsAPositiveRadius) {
    // The hub (span 0) climbs from radius 0.5 to 1 and falls to the axis at the outlet.
    const TurboTransform tt({{0, 0.5f}, {1, 1}, {2, 0}}, {{0, 2}, {2, 2}});
    const char *fwd = "convertARTtoSpaceTNs", *back = "convertSpaceTNsToARTspanEQ0or1";
    const struct {
        const char* op;
        D3 in;
        bool clamp, refused;
    } rows[] = {
        {fwd, D3(0.5, 0.75, 0), false, false}, // on the hub's first patch, which keeps off the axis
        {fwd, D3(1.5, 0.5, 0), false, true},   // on its last patch, which ends on the axis
        {fwd, D3(-1, 0, 0), false, true},      // upstream, where the first patch's line meets it
        {fwd, D3(N, 1.5, 0), false, false},    // NaN results
        {back, D3(0.5, 0, 0), false, false},   // in the hub's first patch
        {back, D3(0.5, 0, 0), true, true},     // clamped to the hub's end: on the axis
        {back, D3(5, 0, 0), false, true},
        {back, D3(5, 0, 0.5), true, false},
        {"convertSpaceTNsToART", D3(5, 0, 0), false, true},
    };
    for (const auto& r : rows) {
        D3 out(7, 8, 9);
        F3 outF(out);
        const auto call = [&] {
            if (r.op == fwd) {
                tt.convertARTtoSpaceTNs(MPRIME, r.in, out);
            } else if (r.op == back) {
                tt.convertSpaceTNsToARTspanEQ0or1(MPRIME, r.in, out, r.clamp);
            } else {
                tt.convertSpaceTNsToART(MPRIME, F3(r.in), outF);
            }
        };
        if (r.refused) {
            EXPECT_TRUE(throwsWith<orv::data::invalid>(
                call, "TurboTransform", r.op, "Meridional coordinate m' needs a positive radius."));
            EXPECT_TRUE(tripletEq(out, 7.0, 8.0, 9.0) && bitsEq(outF, out));
        } else {
            EXPECT_NO_THROW(call());
        }
    }
}
