#include "TestSupport.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>
#include <string>
#include <vector>

using orv::ART;
using orv::DART;
using orv::RotationAxis;
using orv::ThetaTurboTransform;
using orv::TripletBase;
using orv::TurboTransform;
using orvtest::sameBits;
using orvtest::throwsWith;
using orvtest::tripletEq;
using orvtest::ulpDistance;

namespace {
using D3 = TripletBase<double>;
using F3 = TripletBase<float>;
constexpr double kPi = 3.141592653589793;

// Axis along z through the origin, period 72 degrees, up vector y: theta = atan2(-x, y).
RotationAxis zAxis() {
    return RotationAxis(D3(0, 0, 0), D3(0, 0, 1), 72.0, D3(0, 1, 0));
}

// The point at radius r, theta (degrees) and height z about zAxis().
F3 polar(double r, double thetaDeg, double z) {
    const double t = thetaDeg * kPi / 180.0;
    return F3(static_cast<float>(-r * std::sin(t)), static_cast<float>(r * std::cos(t)),
              static_cast<float>(z));
}

double radiansOf(float degrees) {
    return static_cast<double>(degrees / 180.0f) * kPi;
}

// A test double: meridional = axial, span = radial, both ways; writes 999 into every theta
// component it returns, records each call and can refuse a chosen call.
class Recorder : public TurboTransform {
public:
    struct Call {
        std::string op;
        int space;
        D3 in;
        bool flag;
    };
    mutable std::vector<Call> calls;
    int refuseCall = -1; // index of the call to refuse

    void convertARTtoSpaceTNs(space sp, const F3& art, F3& tns) const override {
        note("toTNs float", sp, D3(art.x, art.y, art.z), false);
        tns = F3(art.x, 999.0f, art.y);
    }
    void convertARTtoSpaceTNs(space sp, const D3& art, D3& tns) const override {
        note("toTNs double", sp, art, false);
        tns = D3(art.x, 999.0, art.y);
    }
    void convertSpaceTNsToART(space sp, const F3& tns, F3& art) const override {
        note("toART float", sp, D3(tns.x, tns.y, tns.z), false);
        art = F3(tns.x, tns.z, 999.0f);
    }
    void convertSpaceTNsToARTspanEQ0or1(space sp, const D3& tns, D3& art,
                                        bool flag) const override {
        note("toART wall", sp, tns, flag);
        art = D3(tns.x, tns.z, 999.0);
    }

private:
    void note(const char* op, space sp, const D3& in, bool flag) const {
        calls.push_back({op, static_cast<int>(sp), in, flag});
        if (static_cast<int>(calls.size()) - 1 == refuseCall) {
            orv::throwError<orv::data::error>("Recorder", op, orv::SystemMsg("refused"));
        }
    }
};

bool recorded(const Recorder::Call& c, const char* op, int space, const D3& in, bool flag = false) {
    return c.op == op && c.space == space && sameBits(c.in.x, in.x) && sameBits(c.in.y, in.y) &&
           sameBits(c.in.z, in.z) && c.flag == flag;
}

} // namespace

TEST(ThetaTurboTransform, ConstructionAndAccess) {
    EXPECT_EQ(ThetaTurboTransform().getBreakAngle(), 0.0);
    ThetaTurboTransform ttf(-45.5, zAxis());
    ttf.setRotationAxis(RotationAxis(D3(1, 2, 3), D3(1, 0, 0), 30.0, D3(0, 0, 1)));
    const ThetaTurboTransform copy = ttf;
    ttf.setBreakAngle(1e9);
    EXPECT_EQ(copy.getBreakAngle(), -45.5); // kept by setRotationAxis, copied member-wise
    EXPECT_EQ(copy.getRotationAxis().getAngle(), 30.0);
}

TEST(ThetaTurboTransform, BreakAngleWrap) {
    const F3 at180(0, -1, 5); // theta 180
    const F3 atM90(1, 0, 5);  // theta -90
    const F3 at0(0, 1, 5);    // theta 0
    const F3 atM170 = polar(1, -170, 5);
    const float m170 = zAxis().convertART(atM170).t;
    struct Row {
        double beta;
        F3 point;
        double expected; // radians
    };
    const Row rows[] = {
        {-180, at180, kPi},                      // equal to beta + 360: unchanged
        {-180, atM90, -0.5 * kPi},               //
        {-90, atM90, -0.5 * kPi},                // equal to beta: unchanged
        {0, atM90, 1.5 * kPi},                   // one addition
        {180, at180, kPi},                       // equal to beta: unchanged
        {200, atM170, radiansOf(m170 + 360.0f)}, // one addition only: 190, still below beta
        {-600, at0, -2.0 * kPi},                 // one subtraction: -360
        {-600, at180, -kPi},                     // one subtraction only: -180, still above -240
    };
    const Recorder mapping;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.beta);
        const ThetaTurboTransform ttf(row.beta, zAxis());
        double a = 0, r = 0, t = 0;
        ttf.convertXYZtoART(row.point, a, r, t);
        EXPECT_TRUE(sameBits(t, row.expected)) << t;
        const ART art = zAxis().convertART(row.point);
        EXPECT_EQ(a, static_cast<double>(art.a));
        EXPECT_EQ(r, static_cast<double>(art.r));
        double m = 0, tm = 0, s = 0;
        ttf.convertXYZtoMTS(row.point, m, tm, s, mapping);
        EXPECT_TRUE(sameBits(tm, row.expected));
        ttf.convertXYZtoNMTS(row.point, m, tm, s, mapping);
        EXPECT_TRUE(sameBits(tm, row.expected));
        EXPECT_TRUE(sameBits(ttf.convertXYZtoNMTS(row.point, mapping).y, row.expected));
    }
    EXPECT_LT(m170 + 360.0f, 200.0f);

    // The hemisphere form ignores the break angle: theta within half a turn of the reference.
    const ThetaTurboTransform ttf(0.0, zAxis());
    double a = 0, r = 0, t = 0;
    ttf.convertXYZtoARTSetHemisphere(atM90, a, r, t, 0.0);
    EXPECT_TRUE(sameBits(t, -0.5 * kPi) && a == 5.0 && r == 1.0);
    ttf.convertXYZtoARTSetHemisphere(atM90, a, r, t, kPi);
    EXPECT_TRUE(sameBits(t, 1.5 * kPi));
}

TEST(ThetaTurboTransform, ThetaComesFromTheAxisOrTheCaller) {
    const Recorder mapping;
    const RotationAxis axis = zAxis();
    const ThetaTurboTransform ttf(0.0, axis);
    const F3 point = polar(2, 40, 3);
    const ART art = axis.convertART(point);

    double m = 0, t = 0, s = 0;
    ttf.convertXYZtoMTS(point, m, t, s, mapping);
    EXPECT_TRUE(sameBits(t, radiansOf(art.t)));
    EXPECT_EQ(m, static_cast<double>(art.a));
    EXPECT_EQ(s, static_cast<double>(art.r));
    ASSERT_EQ(mapping.calls.size(), 1u);
    EXPECT_TRUE(recorded(mapping.calls[0], "toTNs float", 0, D3(art.a, art.r, art.t)));

    // Back: the caller's theta, never the 999 of the mapping.
    F3 xyz;
    ttf.convertMTStoXYZ(3.0, 0.25, 2.0, xyz, mapping);
    const F3 expected = axis.convertXYZ(ART{3.0f, 2.0f, static_cast<float>(0.25 * 180.0 / kPi)});
    EXPECT_TRUE(tripletEq(xyz, expected.x, expected.y, expected.z));
    EXPECT_TRUE(recorded(mapping.calls[1], "toART float", 0, D3(3.0, 0.25f, 2.0)));
    const F3 viaTriplet = ttf.convertNMTStoXYZ(D3(3.0, 0.25, 2.0), mapping);
    EXPECT_TRUE(tripletEq(viaTriplet, expected.x, expected.y, expected.z));
    EXPECT_EQ(mapping.calls[2].space, 3);

    // A theta of 2 pi and of 0 give the same point to single-precision rounding, whatever the
    // break angle.
    for (double beta : {-180.0, 0.0, 500.0}) {
        const ThetaTurboTransform other(beta, axis);
        const F3 p0 = other.convertNMTStoXYZ(D3(3.0, kPi / 4, 2.0), mapping);
        const F3 p1 = other.convertNMTStoXYZ(D3(3.0, kPi / 4 + 2 * kPi, 2.0), mapping);
        EXPECT_TRUE(ulpDistance(p0.x, p1.x) <= 16 && ulpDistance(p0.y, p1.y) <= 16 && p0.z == p1.z);
    }

    // ART -> XYZ: a, r narrowed, theta in degrees narrowed.
    ttf.convertARTtoXYZ(3.0, 2.0, 0.25, xyz);
    EXPECT_TRUE(tripletEq(xyz, expected.x, expected.y, expected.z));
}

TEST(ThetaTurboTransform, RefusalsLeaveOutputsUntouched) {
    const auto notInitialised = [](const std::function<void()>& f) {
        return throwsWith<orv::data::invalid>(f, "MachineData", "convertART",
                                              "MachineData object is not initialised.");
    };
    const auto invalidRotation = [](const std::function<void()>& f) {
        return throwsWith<orv::data::invalid>(f, "RotationAxis", "getRotationMatrix",
                                              "Invalid rotation parameters.\n");
    };
    const ThetaTurboTransform unset;
    double a = 7, r = 8, t = 9;
    F3 xyz(1, 2, 3);
    EXPECT_TRUE(notInitialised([&] { unset.convertXYZtoART(F3(1, 0, 0), a, r, t); }));
    EXPECT_TRUE(
        notInitialised([&] { unset.convertXYZtoARTSetHemisphere(F3(1, 0, 0), a, r, t, 0); }));
    EXPECT_TRUE(invalidRotation([&] { unset.convertARTtoXYZ(1, 1, 0, xyz); }));
    EXPECT_EQ(a + r + t, 24.0);

    // A period angle of 0: the conversions towards XYZ refuse after the mapping has answered,
    // while the deltas give dt = 0 without a refusal.
    RotationAxis flat = zAxis();
    flat.setAngle(0.0);
    const ThetaTurboTransform ttf(0.0, flat);
    const Recorder mapping;
    EXPECT_TRUE(invalidRotation([&] { ttf.convertNMTStoXYZ(1, 0, 1, xyz, mapping); }));
    EXPECT_TRUE(invalidRotation([&] { ttf.convertMTStoXYZ(1, 0, 1, xyz, mapping); }));
    EXPECT_TRUE(
        invalidRotation([&] { ttf.applyNormalizedDeltas(F3(0, 1, 1), xyz, 0, 0, 0, mapping); }));
    EXPECT_EQ(mapping.calls.size(), 4u);
    double dm = 7, dt = 8, ds = 9;
    ttf.calcNormalizedDeltas(F3(0, 1, 1), F3(-2, 0, 3), dm, dt, ds, mapping);
    EXPECT_TRUE(dm == 2.0 && sameBits(dt, 0.0) && ds == 1.0);

    // The mapping's refusals pass through unchanged, on its first or its second call.
    const ThetaTurboTransform good(0.0, zAxis());
    for (int refuse : {0, 1}) {
        Recorder refusing;
        refusing.refuseCall = refuse;
        double m = 7, s = 8;
        dm = 7, dt = 8, ds = 9;
        EXPECT_TRUE(throwsWith<orv::data::error>(
            [&] { good.calcNormalizedDeltas(F3(0, 1, 1), F3(1, 0, 2), dm, dt, ds, refusing); },
            "Recorder", "toTNs float", "refused"));
        refusing.calls.clear();
        EXPECT_THROW(good.applyNormalizedDeltas(F3(0, 1, 1), xyz, 0, 0, 0, refusing),
                     orv::data::error);
        refusing.calls.clear();
        refusing.refuseCall = 0;
        EXPECT_THROW(good.convertXYZtoMTS(F3(0, 1, 1), m, t, s, refusing), orv::data::error);
        refusing.calls.clear();
        EXPECT_THROW(good.convertXYZtoNMTS(F3(0, 1, 1), m, t, s, refusing), orv::data::error);
        EXPECT_EQ(dm + dt + ds + m + s, 39.0);
    }
    EXPECT_TRUE(tripletEq(xyz, 1.0f, 2.0f, 3.0f));
    EXPECT_EQ(t, 9.0);
}

TEST(ThetaTurboTransform, NormalizedDeltas) {
    const Recorder mapping;
    const ThetaTurboTransform ttf(0.0, zAxis());
    double dm = 7, dt = 8, ds = 9;

    // The same point twice, also where the wrap moved its theta (-90 to 270).
    for (const F3& p : {polar(1.5, 40, 2), F3(1, 0, 5)}) {
        ttf.calcNormalizedDeltas(p, p, dm, dt, ds, mapping);
        EXPECT_TRUE(sameBits(dm, 0.0) && sameBits(dt, 0.0) && sameBits(ds, 0.0));
    }

    // Period 72: 36 degrees apart gives (pi / 5) / 72, not 0.5.
    const F3 from = F3(0, 1, 2);
    const F3 to = polar(1.25, 36, 3);
    ttf.calcNormalizedDeltas(from, to, dm, dt, ds, mapping);
    const ART artTo = zAxis().convertART(to);
    EXPECT_TRUE(sameBits(dt, radiansOf(artTo.t) / 72.0));
    EXPECT_LE(ulpDistance(static_cast<float>(dt), static_cast<float>(kPi / 5.0 / 72.0)), 4);
    EXPECT_EQ(dm, static_cast<double>(artTo.a) - 2.0);
    EXPECT_EQ(ds, static_cast<double>(artTo.r) - 1.0);

    // Across the break angle: 350 (wrapped from -10) to 10 is +20 degrees, not -340.
    const F3 at350 = polar(1, -10, 0);
    const F3 at10 = polar(1, 10, 0);
    ttf.calcNormalizedDeltas(at350, at10, dm, dt, ds, mapping);
    const double theta1 = radiansOf(zAxis().convertART(at350).t + 360.0f);
    const double theta2 = radiansOf(zAxis().convertART(at10).t + 360.0f);
    EXPECT_TRUE(sameBits(dt, (theta2 - theta1) / 72.0));
    EXPECT_LE(ulpDistance(static_cast<float>(dt * 72.0), static_cast<float>(20.0 * kPi / 180.0)),
              8);
}

TEST(ThetaTurboTransform, ProjectPointToSpan) {
    const RotationAxis axis = zAxis();
    const ThetaTurboTransform ttf(0.0, axis);
    const float wrapped = 270.0f; // (1, 0, 5) is at -90 degrees, wrapped against 0
    const double thetaSingle = radiansOf(wrapped);

    // Single precision: forward and back in the caller's space, theta kept from the axis.
    for (TurboTransform::space sp : {TurboTransform::spaceMTS, TurboTransform::spaceNMTS}) {
        const Recorder mapping;
        const F3 got = ttf.projectPointToSpan(F3(1, 0, 5), 0.1, sp, mapping);
        ASSERT_EQ(mapping.calls.size(), 2u);
        EXPECT_TRUE(recorded(mapping.calls[0], "toTNs float", sp, D3(5, 1, wrapped)));
        EXPECT_TRUE(recorded(mapping.calls[1], "toART float", sp,
                             D3(5, static_cast<float>(thetaSingle), 0.1f)));
        const F3 expected =
            axis.convertXYZ(ART{5.0f, 0.1f, static_cast<float>(thetaSingle * 180.0 / kPi)});
        EXPECT_TRUE(tripletEq(got, expected.x, expected.y, expected.z));
    }

    // Double precision: wrap and units in double; the type picks the back conversion.
    const double wrappedDouble = axis.convertART(D3(1, 0, 5)).t + 360.0;
    const double thetaDouble = wrappedDouble / 180.0 * kPi;
    const DART wall{5.0, 0.1, thetaDouble * 180.0 / kPi};
    const D3 expectedWall = axis.convertXYZ(wall);
    const D3 expectedSingle =
        axis.convertXYZ(DART{5.0, static_cast<double>(0.1f), thetaDouble * 180.0 / kPi});
    struct Row {
        int type;
        const char* op;
        bool flag;
        D3 passed;
        D3 expected;
    };
    const Row rows[] = {
        {0, "toART wall", true, D3(5, thetaDouble, 0.1), expectedWall},
        {1, "toART wall", false, D3(5, thetaDouble, 0.1), expectedWall},
        {2, "toART float", false, D3(5, static_cast<float>(thetaDouble), 0.1f), expectedSingle},
        {7, "toART float", false, D3(5, static_cast<float>(thetaDouble), 0.1f), expectedSingle},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.type);
        const Recorder mapping;
        const D3 got = ttf.projectPointToSpan(
            D3(1, 0, 5), static_cast<ThetaTurboTransform::ProjectionType>(row.type), 0.1,
            TurboTransform::spaceNMTS, mapping);
        ASSERT_EQ(mapping.calls.size(), 2u);
        EXPECT_TRUE(recorded(mapping.calls[0], "toTNs double", 3, D3(5, 1, wrappedDouble)));
        EXPECT_TRUE(recorded(mapping.calls[1], row.op, 3, row.passed, row.flag));
        EXPECT_TRUE(tripletEq(got, row.expected.x, row.expected.y, row.expected.z));
    }
    EXPECT_FALSE(sameBits(expectedWall.x, expectedSingle.x) &&
                 sameBits(expectedWall.y, expectedSingle.y));
}

// With the platform's passage model: apply after calc returns the second point, zero deltas the
// point itself, and projections to mid-span land there keeping the meridional coordinate and theta.
TEST(ThetaTurboTransform, WithAPassageModel) {
    const TurboTransform passage({{1.0f, 1.0f}, {2.5f, 1.2f}, {4.0f, 1.2f}},
                                 {{1.0f, 2.0f}, {2.0f, 1.9f}, {3.0f, 1.85f}, {4.0f, 1.8f}});
    std::mt19937 rng(7u);
    std::uniform_real_distribution<double> axial(1.2, 3.8), radial(1.2, 1.8), theta(20.0, 70.0);
    const auto ulps = [](const F3& p, const F3& q) {
        return std::max({ulpDistance(p.x, q.x), ulpDistance(p.y, q.y), ulpDistance(p.z, q.z)});
    };
    for (double beta : {-180.0, 0.0, 45.0}) {
        const ThetaTurboTransform ttf(beta, zAxis());
        std::int64_t worst = 0;
        for (int i = 0; i < 200; ++i) {
            const F3 from = polar(radial(rng), theta(rng) + 90.0 * (i % 4), axial(rng));
            const F3 to = polar(radial(rng), theta(rng) + 90.0 * (i % 3), axial(rng));
            double dm, dt, ds;
            ttf.calcNormalizedDeltas(from, to, dm, dt, ds, passage);
            F3 moved;
            ttf.applyNormalizedDeltas(from, moved, dm, dt, ds, passage);
            worst = std::max(worst, ulps(moved, to));
            ttf.applyNormalizedDeltas(to, moved, 0, 0, 0, passage);
            worst = std::max(worst, ulps(moved, to));

            const D3 before = ttf.convertXYZtoNMTS(from, passage);
            const F3 mid = ttf.projectPointToSpan(from, 0.5, TurboTransform::spaceNMTS, passage);
            const D3 after = ttf.convertXYZtoNMTS(mid, passage);
            EXPECT_LE(ulpDistance(static_cast<float>(after.z), 0.5f), 16);
            EXPECT_LE(ulpDistance(static_cast<float>(after.x), static_cast<float>(before.x)), 8);
            EXPECT_LE(ulpDistance(static_cast<float>(after.y), static_cast<float>(before.y)), 8);
            const D3 midDouble = ttf.projectPointToSpan(
                D3(from.x, from.y, from.z), static_cast<ThetaTurboTransform::ProjectionType>(i % 3),
                0.5, TurboTransform::spaceMTS, passage);
            const D3 check = ttf.convertXYZtoNMTS(F3(static_cast<float>(midDouble.x),
                                                     static_cast<float>(midDouble.y),
                                                     static_cast<float>(midDouble.z)),
                                                  passage);
            EXPECT_LE(ulpDistance(static_cast<float>(check.z), 0.5f), 16);
        }
        // Single-precision angles of up to a full turn are rounded to about 5e-7 radians, which is
        // up to some 50 units in the last place of a coordinate of 0.4.
        EXPECT_LE(worst, 64) << beta;
    }
}
