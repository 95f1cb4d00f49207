#include "AxisTestSupport.h"

#include <random>

using namespace axistest;
using orv::ART;
using orv::DART;
using orv::RotationAxis;
using orvtest::tripletEq;

TEST(AxisConvert, WorkedExamplesBothPrecisions) {
    const RotationAxis axis = zAxis();
    const struct {
        D3 point;
        double a, r, t;
    } table[] = {{D3(0, 1, 5), 5, 1, 0},
                 {D3(1, 0, 5), 5, 1, -90},
                 {D3(-1, 0, -2), -2, 1, 90},
                 {D3(0, -2, 0), 0, 2, 180},
                 {D3(0, 0, 7), 7, 0, 0}};
    for (const auto& e : table) {
        EXPECT_TRUE(recordEq(axis.convertART(e.point), e.a, e.r, e.t));
        EXPECT_TRUE(recordEq(axis.convertART(F3(e.point)), float(e.a), float(e.r), float(e.t)));
    }
    // convertAR stores the value as given (rounded to float for ART), no theta computed.
    EXPECT_TRUE(recordEq(axis.convertAR(D3(1, 0, 5), 12.5), 5.0, 1.0, 12.5));
    EXPECT_TRUE(recordEq(axis.convertAR(F3(1, 0, 5), 1000.1), 5.f, 1.f, 1000.1f));
    // A parallel up vector: theta no longer depends on the point, records map onto the axis.
    const RotationAxis parallel(D3(0, 0, 0), D3(0, 0, 1), 30, D3(0, 0, 5));
    EXPECT_TRUE(recordEq(parallel.convertART(D3(3, 4, 1)), 1.0, 5.0, 0.0));
    EXPECT_TRUE(tripletEq(parallel.convertXYZ(DART{2, 5, 40}), 0.0, 0.0, 2.0));
}

TEST(AxisConvert, HemisphereTable) {
    const RotationAxis axis = zAxis();
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        D3 point;
        double reference, t;
    } table[] = {
        {D3(0, -2, 0), 0, -180}, // exactly +180 from the reference moves to -180
        {D3(1, 0, 5), 90, 270},  // exactly -180 moves to +180
        {D3(1, 0, 5), 270, 270},
        {D3(1, 0, 5), -90, -90},
        {D3(1, 0, 5), 89.5, -90},
        {D3(0, -2, 0), 180, 180},
        {D3(0, -2, 0), -180, -180},
        {D3(1, 0, 5), 1000, 990},
        {D3(1, 0, 5), -1000, -1170},
        {D3(1, 0, 5), 7.2e11, 719999999910.0},  // 2e9 turns
        {D3(1, 0, 5), 1e12, 999999999990.0},    // turn counts beyond 32 bits
        {D3(1, 0, 5), -1e12, -1000000000170.0}, //
        {D3(1, 0, 5), inf, -90},
        {D3(1, 0, 5), -inf, -90}, // non-finite: theta stays
        {D3(1, 0, 5), std::nan(""), -90},
    };
    for (const auto& row : table) {
        const double r = row.point.y == 0 ? 1.0 : 2.0;
        EXPECT_TRUE(
            recordEq(axis.convertARTSetHemisphere(row.point, row.reference), row.point.z, r, row.t))
            << row.reference;
        EXPECT_TRUE(orvtest::sameBits(axis.convertARTSetHemisphere(F3(row.point), row.reference).t,
                                      float(row.t)));
    }
    EXPECT_TRUE(tripletEq(axis.convertARTSetHemisphereRad(D3(1, 0, 5), kPi), 5.0, 1.0,
                          270.0 * kPi / 180.0));
}

TEST(AxisConvert, DirectionsAndXYZ) {
    const RotationAxis axis = zAxis();
    ART c;
    F3 ax, rad, th;
    axis.convertARTWithDirections(F3(1, 0, 5), c, ax, rad, th);
    EXPECT_TRUE(recordEq(c, 5.f, 1.f, -90.f) && tripletEq(ax, 0.f, 0.f, 1.f) &&
                tripletEq(rad, 1.f, 0.f, 0.f) && tripletEq(th, 0.f, 1.f, 0.f));
    // On the axis the radial and theta directions are zero; the point may be an output.
    D3 p(0, 0, 7), dax, dth(9, 9, 9);
    DART dc;
    axis.convertARTWithDirections(p, dc, dax, p, dth);
    EXPECT_TRUE(recordEq(dc, 7.0, 0.0, 0.0) && tripletEq(p, 0.0, 0.0, 0.0) &&
                tripletEq(dth, 0.0, 0.0, 0.0));

    EXPECT_TRUE(nearScale(axis.convertXYZ(DART{5, 1, -90}), D3(1, 0, 5), 1.0, 1));
    EXPECT_TRUE(nearScale(axis.convertXYZ(ART{5, 1, -90}), F3(1, 0, 5), 1.f, 1));
    EXPECT_TRUE(tripletEq(axis.convertXYZ(DART{7, 0, 33}), 0.0, 0.0, 7.0));
    EXPECT_TRUE(tripletEq(axis.convertXYZ(ART{7, 0, 33}), 0.f, 0.f, 7.f));
}

TEST(AxisConvert, Refusals) {
    const RotationAxis unset;
    using orv::data::invalid;
    const std::string notInit = "MachineData object is not initialised.";
    ART c{1, 2, 3};
    F3 ax(4, 5, 6), rad, th;
    const std::function<void()> towardsART[] = {
        [&] { unset.convertART(F3(std::nanf(""), 0, 0)); }, // refused before the values count
        [&] { unset.convertARTSetHemisphere(D3(1, 2, 3), 0); },
        [&] { unset.convertARTSetHemisphereRad(D3(1, 2, 3), 0); },
        [&] { unset.convertARTWithDirections(F3(1, 2, 3), c, ax, rad, th); }};
    for (const auto& f : towardsART) {
        EXPECT_TRUE(orvtest::throwsWith<invalid>(f, "MachineData", "convertART", notInit));
    }
    EXPECT_TRUE(recordEq(c, 1.f, 2.f, 3.f) && tripletEq(ax, 4.f, 5.f, 6.f)); // nothing written
    EXPECT_TRUE(orvtest::throwsWith<invalid>([&] { unset.convertAR(D3(1, 2, 3), 0); },
                                             "MachineData", "convertAR", notInit));
    // A period angle of 0 still converts towards ART but refuses the way back.
    RotationAxis noPeriod = zAxis();
    noPeriod.setAngle(0);
    EXPECT_TRUE(recordEq(noPeriod.convertART(D3(1, 0, 5)), 5.0, 1.0, -90.0));
    const std::function<void()> towardsXYZ[] = {[&] {
                                                    unset.convertXYZ(ART{1, 2, 3});
                                                },
                                                [&] {
                                                    noPeriod.convertXYZ(DART{1, 2, 3});
                                                }};
    for (const auto& f : towardsXYZ) {
        EXPECT_TRUE(orvtest::throwsWith<invalid>(f, "RotationAxis", "getRotationMatrix",
                                                 "Invalid rotation parameters.\n"));
    }
}

// The single-precision form step by step in plain float and double arithmetic: axis fields
// rounded to float, float radial vector and dot products, C from the double fields, atan2 in
// double; back: theta to radians in double, float matrix, a D and r w in double then float.
TEST(AxisConvert, SinglePrecisionSteps) {
    const D3 p(1, 2, 3), d(1, 1, 0.25), u(0, 0.3, 1);
    const RotationAxis axis(p, d, 30, u);
    D3 dn = d;
    dn.normalize();
    D3 un = u.perpendicularComponent(dn);
    un.normalize();
    F3 cf(dn.cross(un));
    cf.normalize();
    const F3 pf(p), df(dn), uf(un), x(4.5f, -2.25f, 7.125f);
    const F3 v = x - pf;
    const F3 rv = v.perpendicularComponent(df);
    F3 rh = rv;
    rh.normalize();
    const double t = std::atan2(double(cf.dot(rh)), double(uf.dot(rh))) * 180.0 / kPi;
    EXPECT_TRUE(recordEq(axis.convertART(x), df.dot(v - rv), rv.length(), float(t)));

    const ART rec{1.5f, 2.5f, 123.25f};
    const float phi = float(double(rec.t) * kPi / 180.0);
    F3 n = df;
    n.normalize();
    const float c = std::cos(phi), s = std::sin(phi), k = 1.f - c;
    const F3 rows[3] = {F3(n.x * n.x * k + c, n.x * n.y * k - n.z * s, n.x * n.z * k + n.y * s),
                        F3(n.x * n.y * k + n.z * s, n.y * n.y * k + c, n.y * n.z * k - n.x * s),
                        F3(n.x * n.z * k - n.y * s, n.y * n.z * k + n.x * s, n.z * n.z * k + c)};
    const F3 w(rows[0].dot(uf), rows[1].dot(uf), rows[2].dot(uf));
    const auto scaled = [](const F3& q, float f) {
        return F3(float(double(q.x) * f), float(double(q.y) * f), float(double(q.z) * f));
    };
    const F3 want = (pf + scaled(df, rec.a)) + scaled(w, rec.r);
    EXPECT_TRUE(tripletEq(axis.convertXYZ(rec), want.x, want.y, want.z));
}

// Random axes and points, fixed seed; errors in units in the last place of the largest magnitude
// involved (coordinates within 32 of each other, theta within 256).
TEST(AxisConvert, RoundTripsOnRandomAxesAndPoints) {
    std::mt19937_64 gen(20240611);
    std::uniform_real_distribution<double> coord(-10, 10), unit(-1, 1), radius(1, 10),
        theta(-179, 179);
    for (int i = 0; i < 2000; ++i) {
        const RotationAxis axis(D3(coord(gen), coord(gen), coord(gen)),
                                D3(unit(gen), unit(gen), unit(gen)), 30,
                                D3(unit(gen), unit(gen), unit(gen)));
        const D3 x(coord(gen), coord(gen), coord(gen));
        // Through theta in degrees the double form loses up to about 10 units of 32.
        EXPECT_TRUE(nearScale(axis.convertXYZ(axis.convertART(x)), x, 32.0, 16)) << x;
        EXPECT_TRUE(nearScale(axis.convertXYZ(axis.convertART(F3(x))), F3(x), 32.f, 4)) << x;
        const DART rec{coord(gen), radius(gen), theta(gen)};
        const DART again = axis.convertART(axis.convertXYZ(rec));
        EXPECT_TRUE(nearScale(again.a, rec.a, 32.0, 8) && nearScale(again.r, rec.r, 32.0, 8) &&
                    nearScale(again.t, rec.t, 256.0, 4))
            << rec.a << ", " << rec.r << ", " << rec.t;
    }
    const RotationAxis skew(D3(1, 2, 3), D3(1, 1, 0), 30, D3(0, 0, 1));
    EXPECT_TRUE(nearScale(skew.convertXYZ(skew.convertART(D3(4, -2, 7))), D3(4, -2, 7), 8.0, 4));
}
