#include "TestSupport.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

using orv::Doublet;
using orv::TripletBase;
using orv::TurboTransform;
using orvtest::throwsWith;
using orvtest::ulpDistance;

namespace {
using D3 = TripletBase<double>;
using F3 = TripletBase<float>;
const TurboTransform::space MTS = TurboTransform::spaceMTS;
const TurboTransform::space NMTS = TurboTransform::spaceNMTS;

struct PassageCase {
    const char* name;
    std::vector<Doublet> hub;
    std::vector<Doublet> shroud;
    // A box (axial, radial) around the passage, reaching outside it on every side.
    double aMin, aMax, rMin, rMax;
};

// An axial passage with a vertical inlet and outlet, and a mixed-flow passage whose hub climbs
// steeply; the two curves of each have their break points at different arc lengths.
std::vector<PassageCase> passages() {
    return {
        // clang-format off
        {"axial", {{1.0f, 1.0f}, {2.0f, 1.1f}, {3.5f, 1.3f}, {5.0f, 1.3f}},
                  {{1.0f, 2.0f}, {3.0f, 1.9f}, {5.0f, 1.8f}}, 0.5, 5.5, 0.8, 2.2},
        {"mixed flow", {{1.0f, 1.0f}, {2.0f, 1.2f}, {2.8f, 1.7f}, {3.3f, 2.5f}},
                       {{1.0f, 2.0f}, {1.8f, 2.1f}, {2.4f, 2.5f}, {2.7f, 3.0f}}, 0.9, 3.2, 1.0, 2.9},
        // clang-format on
    };
}

double wallLength(const std::vector<Doublet>& wall) {
    double total = 0.0;
    for (std::size_t i = 1; i < wall.size(); ++i) {
        const double dx = double(wall[i].x) - double(wall[i - 1].x);
        const double dy = double(wall[i].y) - double(wall[i - 1].y);
        total += std::sqrt(dx * dx + dy * dy);
    }
    return total;
}

F3 forward(const TurboTransform& tt, TurboTransform::space sp, Doublet p) {
    F3 tns;
    tt.convertARTtoSpaceTNs(sp, F3(p.x, p.y, 0.0f), tns);
    return tns;
}

} // namespace

TEST(TurboTransformPassage, WallPointsAndEnds) {
    for (const PassageCase& c : passages()) {
        SCOPED_TRACE(c.name);
        const TurboTransform tt(c.hub, c.shroud);
        const auto checkWall = [&](const std::vector<Doublet>& wall, float span) {
            for (const Doublet& p : wall) {
                EXPECT_EQ(forward(tt, NMTS, p).z, span);
                EXPECT_EQ(forward(tt, MTS, p).z, span);
            }
            EXPECT_EQ(forward(tt, NMTS, wall.front()).x, 0.0f);
            EXPECT_EQ(forward(tt, MTS, wall.front()).x, 0.0f);
            EXPECT_EQ(forward(tt, NMTS, wall.back()).x, 1.0f);
            EXPECT_LE(
                ulpDistance(forward(tt, MTS, wall.back()).x, static_cast<float>(wallLength(wall))),
                1);
            // Back from the ends of the wall: its own end points, bit for bit.
            F3 art;
            tt.convertSpaceTNsToART(NMTS, F3(1.0f, 0.0f, span), art);
            EXPECT_TRUE(orvtest::tripletEq(art, wall.back().x, wall.back().y, 0.0f));
            tt.convertSpaceTNsToART(MTS, F3(0.0f, 0.0f, span), art);
            EXPECT_TRUE(orvtest::tripletEq(art, wall.front().x, wall.front().y, 0.0f));
        };
        checkWall(c.hub, 0.0f);
        checkWall(c.shroud, 1.0f);
    }
    // A point inside a vertical inlet lies exactly on its first station.
    const TurboTransform axial(passages()[0].hub, passages()[0].shroud);
    EXPECT_TRUE(orvtest::tripletEq(forward(axial, NMTS, Doublet(1.0f, 1.5f)), 0.0f, 0.0f, 0.5f));
}

TEST(TurboTransformPassage, RoundTripsInsideAndOutside) {
    std::mt19937 rng(20240611u);
    for (const PassageCase& c : passages()) {
        SCOPED_TRACE(c.name);
        const TurboTransform tt(c.hub, c.shroud);
        std::uniform_real_distribution<double> axial(c.aMin, c.aMax);
        std::uniform_real_distribution<double> radial(c.rMin, c.rMax);
        for (TurboTransform::space sp : {MTS, NMTS}) {
            std::int64_t worstDouble = 0;
            std::int64_t worstFloat = 0;
            for (int i = 0; i < 2000; ++i) {
                const D3 art(axial(rng), radial(rng), 0.25);
                D3 tns;
                D3 back;
                tt.convertARTtoSpaceTNs(sp, art, tns);
                EXPECT_EQ(tns.y, 0.25); // theta passes through
                tt.convertSpaceTNsToARTspanEQ0or1(sp, tns, back, false);
                worstDouble =
                    std::max({worstDouble, ulpDistance(back.x, art.x), ulpDistance(back.y, art.y)});

                const F3 artF(static_cast<float>(art.x), static_cast<float>(art.y), 0.25f);
                F3 tnsF;
                F3 backF;
                tt.convertARTtoSpaceTNs(sp, artF, tnsF);
                tt.convertSpaceTNsToART(sp, tnsF, backF);
                worstFloat = std::max(
                    {worstFloat, ulpDistance(backF.x, artF.x), ulpDistance(backF.y, artF.y)});
                EXPECT_EQ(backF.z, 0.25f);
            }
            EXPECT_LE(worstDouble, 8);
            EXPECT_LE(worstFloat, 2);
        }
    }
}

TEST(TurboTransformPassage, ClampingFlagAndGeneralConversionAgree) {
    const PassageCase c = passages()[0];
    const TurboTransform tt(c.hub, c.shroud);
    struct Row {
        TurboTransform::space sp;
        double m, span;
        bool insideMeridionally;
    };
    const Row rows[] = {
        {NMTS, 0.25, 0.0, true},   {NMTS, 0.75, 1.0, true},  {NMTS, 0.5, 0.5, true},
        {NMTS, -0.25, 0.0, false}, {NMTS, 1.25, 1.0, false}, {MTS, 1.75, 0.0, true},
        {MTS, -0.5, 1.0, false},   {MTS, 5.5, 0.0, false}, // the hub is about 4.04 long
    };
    for (const Row& r : rows) {
        D3 clamped;
        D3 extended;
        tt.convertSpaceTNsToARTspanEQ0or1(r.sp, D3(r.m, 0.5, r.span), clamped, true);
        tt.convertSpaceTNsToARTspanEQ0or1(r.sp, D3(r.m, 0.5, r.span), extended, false);
        EXPECT_EQ(clamped.z, 0.5);
        // The single-precision general conversion is the double one rounded once.
        F3 general;
        tt.convertSpaceTNsToART(r.sp, F3(static_cast<float>(r.m), 0.5f, static_cast<float>(r.span)),
                                general);
        EXPECT_EQ(general.x, static_cast<float>(extended.x));
        EXPECT_EQ(general.y, static_cast<float>(extended.y));
        if (r.insideMeridionally) {
            EXPECT_TRUE(orvtest::tripletEq(clamped, extended.x, extended.y, 0.5));
            continue;
        }
        // Clamped to the wall's end (inlet or outlet) at that span; the extension goes beyond.
        const std::vector<Doublet>& wall = r.span == 0.0 ? c.hub : c.shroud;
        const Doublet end = r.m < 0.0 ? wall.front() : wall.back();
        EXPECT_TRUE(orvtest::tripletEq(clamped, double(end.x), double(end.y), 0.5));
        EXPECT_TRUE(r.m < 0.0 ? extended.x < end.x : extended.x > end.x);
    }
}

TEST(TurboTransformPassage, InputAndOutputMayBeOneObject) {
    const TurboTransform tt(passages()[1].hub, passages()[1].shroud);
    const TurboTransform copy = tt; // shares the model
    F3 separate, same(2.4f, 2.1f, 7.0f);
    copy.convertARTtoSpaceTNs(NMTS, same, separate);
    tt.convertARTtoSpaceTNs(NMTS, same, same);
    EXPECT_TRUE(orvtest::tripletEq(same, separate.x, 7.0f, separate.z));
    tt.convertSpaceTNsToART(NMTS, same, same);
    tt.convertSpaceTNsToART(NMTS, separate, separate);
    EXPECT_TRUE(orvtest::tripletEq(same, separate.x, separate.y, 7.0f));
}

TEST(TurboTransformPassage, RefusesBadCurves) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const float marker = std::numeric_limits<float>::max();
    const float denormal = std::numeric_limits<float>::denorm_min();
    const std::vector<Doublet> hub{{0, 1}, {1, 1}};
    const std::vector<Doublet> shroud{{0, 2}, {1, 2}};
    struct Row {
        std::vector<Doublet> hub, shroud;
        const char* message; // nullptr: accepted
    };
    const char* few = "Hub and shroud curves need at least two points.";
    const char* finite = "Hub and shroud points must be finite.";
    const char* zero = "Hub and shroud curves must have a non-zero length.";
    const char* meet = "Hub and shroud curves must not meet or cross.";
    const Row rows[] = {
        {{}, shroud, few},
        {hub, {{0, 2}}, few},
        {{{nan, 0}, {1, 1}}, {}, few}, // the count is tested before the values
        {{{0, 1}, {nan, 1}}, shroud, finite},
        {hub, {{0, 2}, {1, inf}}, finite},
        {{{0, 1}, {0, 1}, {0, 1}}, shroud, zero},
        {hub, {{0, 2}, {0, 2}}, zero},
        {hub, hub, meet},
        {hub, {{1, 2}, {0, 2}}, meet},            // shroud reversed: the stations cross
        {hub, {{0, 1}, {1, 2}}, meet},            // shroud starts on the hub
        {hub, {{0, 2}, {1, 0.5f}}, meet},         // shroud ends below the hub
        {hub, {{0, 2}, {1, 1}}, meet},            // shroud ends on the hub
        {hub, {{0, 2}, {1.5f, 1}, {1, 2}}, meet}, // shroud folds back
        // Accepted: repeated points add no length; markers are ordinary finite values.
        {{{0, 1}, {0, 1}, {1, 1}}, shroud, nullptr},
        {{{0, 1}, {denormal, 1}, {1, 1}}, shroud, nullptr},
        {{{0, 1}, {marker, 1}}, {{0, 2}, {marker, 2}}, nullptr},
        // The walls run opposite ways in axial direction, so lines of constant meridional
        // coordinate cross inside; neighbouring stations turn by less than a right angle.
        {{{900, 0}, {0, 0}}, {{0, 1000}, {1000, 1000}}, nullptr},
    };
    for (const Row& r : rows) {
        const auto build = [&] { TurboTransform tt(r.hub, r.shroud); };
        if (r.message) {
            EXPECT_TRUE(throwsWith<orv::data::invalid>(build, "TurboTransform", "TurboTransform",
                                                       r.message))
                << r.message;
        } else {
            EXPECT_NO_THROW(build()) << r.hub.size();
        }
    }
}

namespace {
// A derived mapping that overrides nothing: the base conversions have no model to work on.
class EmptyMapping : public TurboTransform {};
} // namespace

TEST(TurboTransformPassage, RefusesUnknownSpaceAndMissingModel) {
    const TurboTransform tt(passages()[0].hub, passages()[0].shroud);
    F3 f(1, 2, 3);
    D3 d(1, 2, 3);
    for (int sp : {-1, 1, 2, 4}) {
        const auto space = static_cast<TurboTransform::space>(sp);
        EXPECT_TRUE(throwsWith<orv::data::invalid>(
            [&] { tt.convertSpaceTNsToART(space, F3(0.5f, 0, 0.5f), f); }, "TurboTransform",
            "convertSpaceTNsToART", "Unknown meridional space."));
        EXPECT_TRUE(throwsWith<orv::data::invalid>(
            [&] { tt.convertARTtoSpaceTNs(space, D3(1, 1.5, 0), d); }, "TurboTransform",
            "convertARTtoSpaceTNs", "Unknown meridional space."));
    }
    const EmptyMapping empty{};
    EXPECT_TRUE(throwsWith<orv::internal::error>(
        [&] { empty.convertSpaceTNsToARTspanEQ0or1(MTS, D3(0.5, 0, 0), d, false); },
        "TurboTransform", "convertSpaceTNsToARTspanEQ0or1",
        "TurboTransform has no passage model."));
    EXPECT_TRUE(orvtest::tripletEq(f, 1.0f, 2.0f, 3.0f));
    EXPECT_TRUE(orvtest::tripletEq(d, 1.0, 2.0, 3.0));
}
