#include "TestSupport.h"

#include <cmath>
#include <limits>
#include <random>

using orv::ART;
using orv::DART;
using orv::RotationAxis;
using orv::TripletBase;
using orvtest::sameBits;
using orvtest::tripletEq;

namespace {
using D3 = TripletBase<double>;
using F3 = TripletBase<float>;
constexpr double kPi = 3.141592653589793;
const double kInf = std::numeric_limits<double>::infinity();

// The axis of the worked examples: through the origin along z, period 30, up vector y, so that the
// frame vector C = D x U is (-1, 0, 0).
RotationAxis zAxis() {
    return RotationAxis(D3(0, 0, 0), D3(0, 0, 1), 30, D3(0, 1, 0));
}

template <class R, class T>::testing::AssertionResult recordEq(const R& got, T a, T r, T t) {
    if (sameBits(got.a, a) && sameBits(got.r, r) && sameBits(got.t, t)) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "got (" << got.a << ", " << got.r << ", " << got.t
                                         << ") expected (" << a << ", " << r << ", " << t << ")";
}

// |got - want| within k units in the last place of the scale of the values compared.
template <class T> bool nearScale(T got, T want, T scale, int k) {
    const T ulp = std::nextafter(scale, std::numeric_limits<T>::infinity()) - scale;
    return std::fabs(got - want) <= T(k) * ulp;
}

struct Example {
    D3 point;
    double a, r, t;
};
} // namespace

TEST(AxisConvert, WorkedExamplesBothPrecisions) {
    const RotationAxis axis = zAxis();
    const Example table[] = {
        {D3(0, 1, 5), 5, 1, 0},    {D3(1, 0, 5), 5, 1, -90}, {D3(-1, 0, -2), -2, 1, 90},
        {D3(0, -2, 0), 0, 2, 180}, {D3(0, 0, 7), 7, 0, 0},
    };
    for (const Example& e : table) {
        EXPECT_TRUE(recordEq(axis.convertART(e.point), e.a, e.r, e.t));
        EXPECT_TRUE(recordEq(axis.convertART(F3(e.point)), float(e.a), float(e.r), float(e.t)));
    }
    EXPECT_TRUE(recordEq(axis.convertAR(D3(1, 0, 5), 12.5), 5.0, 1.0, 12.5));
    EXPECT_TRUE(recordEq(axis.convertAR(F3(1, 0, 5), 12.5), 5.f, 1.f, 12.5f));
    // convertAR stores the value without wrapping or unit change (rounded to float for ART).
    EXPECT_TRUE(recordEq(axis.convertAR(F3(1, 0, 5), 1000.1), 5.f, 1.f, 1000.1f));
}

TEST(AxisConvert, HemisphereTable) {
    const RotationAxis axis = zAxis();
    const double bigTurns = 1e12; // turn count beyond the 32-bit range
    struct Row {
        D3 point;
        double reference, t;
    } table[] = {
        {D3(0, -2, 0), 0, -180},                 // exactly +180 from the reference: moves to -180
        {D3(1, 0, 5), 270, 270},                 //
        {D3(1, 0, 5), 90, 270},                  // exactly -180: moves to +180 from the reference
        {D3(1, 0, 5), -90, -90},                 //
        {D3(1, 0, 5), 1000, 990},                // far outside [-180, 180]
        {D3(1, 0, 5), -1000, -1170},             //
        {D3(1, 0, 5), 89.5, -90},                // just under half a turn: stays
        {D3(0, -2, 0), 180, 180},                //
        {D3(0, -2, 0), -180, -180},              //
        {D3(1, 0, 5), 7.2e11, 719999999910.0},   // turn count 2e9 fits in 32 bits
        {D3(1, 0, 5), bigTurns, 999999999990.0}, // formed in double beyond 32 bits
        {D3(1, 0, 5), -bigTurns, -1000000000170.0}, //
        {D3(1, 0, 5), kInf, -90},                   // non-finite differences leave theta as it is
        {D3(1, 0, 5), -kInf, -90},                  //
        {D3(1, 0, 5), std::nan(""), -90},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(row.reference);
        EXPECT_TRUE(recordEq(axis.convertARTSetHemisphere(row.point, row.reference), row.point.z,
                             row.point.y == 0 ? 1.0 : 2.0, row.t));
        const ART f = axis.convertARTSetHemisphere(F3(row.point), row.reference);
        EXPECT_TRUE(sameBits(f.t, float(row.t)));
    }
    // The radian form: -90 degrees moves to 270 before the conversion to radians.
    EXPECT_TRUE(tripletEq(axis.convertARTSetHemisphereRad(D3(1, 0, 5), kPi), 5.0, 1.0,
                          270.0 * kPi / 180.0));
    EXPECT_TRUE(tripletEq(axis.convertARTSetHemisphereRad(D3(1, 0, 5), 0.0), 5.0, 1.0,
                          -90.0 * kPi / 180.0));
}

TEST(AxisConvert, DirectionsAndXYZ) {
    const RotationAxis axis = zAxis();
    ART c;
    F3 ax, rad, th;
    axis.convertARTWithDirections(F3(1, 0, 5), c, ax, rad, th);
    EXPECT_TRUE(recordEq(c, 5.f, 1.f, -90.f));
    EXPECT_TRUE(tripletEq(ax, 0.f, 0.f, 1.f));
    EXPECT_TRUE(tripletEq(rad, 1.f, 0.f, 0.f));
    EXPECT_TRUE(tripletEq(th, 0.f, 1.f, 0.f));
    DART dc;
    D3 dax, drad, dth(9, 9, 9);
    axis.convertARTWithDirections(D3(0, 0, 7), dc, dax, drad, dth);
    EXPECT_TRUE(recordEq(dc, 7.0, 0.0, 0.0));
    EXPECT_TRUE(tripletEq(drad, 0.0, 0.0, 0.0));
    EXPECT_TRUE(tripletEq(dth, 0.0, 0.0, 0.0));
    // The point may be one of the outputs: it is read before anything is written.
    D3 p(2, 0, 5);
    axis.convertARTWithDirections(p, dc, dax, p, dth);
    EXPECT_TRUE(tripletEq(p, 1.0, 0.0, 0.0));
    EXPECT_TRUE(tripletEq(dth, 0.0, 1.0, 0.0));

    const D3 back = axis.convertXYZ(DART{5, 1, -90});
    EXPECT_TRUE(nearScale(back.x, 1.0, 1.0, 1) && nearScale(back.y, 0.0, 1.0, 1) && back.z == 5.0);
    const F3 fback = axis.convertXYZ(ART{5, 1, -90});
    EXPECT_TRUE(nearScale(fback.x, 1.f, 1.f, 1) && nearScale(fback.y, 0.f, 1.f, 1) &&
                fback.z == 5.f);
    EXPECT_TRUE(tripletEq(axis.convertXYZ(DART{7, 0, 33}), 0.0, 0.0, 7.0));
    EXPECT_TRUE(tripletEq(axis.convertXYZ(ART{7, 0, 33}), 0.f, 0.f, 7.f));
}

TEST(AxisConvert, Refusals) {
    const RotationAxis unset;
    using orv::data::invalid;
    const std::string notInit = "MachineData object is not initialised.";
    const std::string badRot = "Invalid rotation parameters.\n";
    ART c{1, 2, 3};
    F3 ax(4, 5, 6), rad, th;
    const std::function<void()> towardsART[] = {
        [&] { unset.convertART(F3(1, 2, 3)); },
        [&] { unset.convertART(D3(1, 2, 3)); },
        [&] { unset.convertARTSetHemisphere(F3(1, 2, 3), 0); },
        [&] { unset.convertARTSetHemisphere(D3(1, 2, 3), 0); },
        [&] { unset.convertARTSetHemisphereRad(D3(1, 2, 3), 0); },
        [&] { unset.convertARTWithDirections(F3(1, 2, 3), c, ax, rad, th); },
    };
    for (const auto& f : towardsART) {
        EXPECT_TRUE(orvtest::throwsWith<invalid>(f, "MachineData", "convertART", notInit));
    }
    EXPECT_TRUE(recordEq(c, 1.f, 2.f, 3.f));
    EXPECT_TRUE(tripletEq(ax, 4.f, 5.f, 6.f));
    EXPECT_TRUE(orvtest::throwsWith<invalid>([&] { unset.convertAR(F3(1, 2, 3), 0); },
                                             "MachineData", "convertAR", notInit));
    EXPECT_TRUE(orvtest::throwsWith<invalid>([&] { unset.convertAR(D3(1, 2, 3), 0); },
                                             "MachineData", "convertAR", notInit));
    EXPECT_TRUE(orvtest::throwsWith<invalid>(
        [&] {
            unset.convertXYZ(ART{1, 2, 3});
        },
        "RotationAxis", "getRotationMatrix", badRot));

    // A period angle of 0 still converts towards ART but refuses the way back.
    RotationAxis noPeriod = zAxis();
    noPeriod.setAngle(0);
    EXPECT_TRUE(recordEq(noPeriod.convertART(D3(1, 0, 5)), 5.0, 1.0, -90.0));
    EXPECT_TRUE(orvtest::throwsWith<invalid>(
        [&] {
            noPeriod.convertXYZ(DART{1, 2, 3});
        },
        "RotationAxis", "getRotationMatrix", badRot));
    EXPECT_TRUE(orvtest::throwsWith<invalid>(
        [&] {
            noPeriod.convertXYZ(ART{1, 2, 3});
        },
        "RotationAxis", "getRotationMatrix", badRot));
}

TEST(AxisConvert, ParallelUpVectorGivesPointIndependentTheta) {
    const RotationAxis axis(D3(0, 0, 0), D3(0, 0, 1), 30, D3(0, 0, 5));
    EXPECT_TRUE(recordEq(axis.convertART(D3(3, 4, 1)), 1.0, 5.0, 0.0));
    EXPECT_TRUE(tripletEq(axis.convertXYZ(DART{2, 5, 40}), 0.0, 0.0, 2.0));
}

// The single-precision form step by step in plain float and double arithmetic: the axis fields
// rounded to float, float radial vector and dot products, C from the double fields, atan2 in
// double, theta rounded once.
TEST(AxisConvert, SinglePrecisionSteps) {
    const D3 p(1, 2, 3), d(1, 1, 0.25), u(0, 0.3, 1);
    const RotationAxis axis(p, d, 30, u);
    // The stored unit direction and up vector, read back at full precision through the double
    // conversion of points on the axis and on the up ray.
    D3 dn = d;
    dn.normalize();
    D3 un = u.perpendicularComponent(dn);
    un.normalize();
    F3 cf(dn.cross(un));
    cf.normalize();
    const F3 pf(p), df(dn), uf(un);
    const F3 x(4.5f, -2.25f, 7.125f);
    const F3 v = x - pf;
    const F3 rv = v.perpendicularComponent(df);
    const float r = rv.length();
    const float a = df.dot(v - rv);
    F3 rh = rv;
    rh.normalize();
    const double t = std::atan2(double(cf.dot(rh)), double(uf.dot(rh))) * 180.0 / kPi;
    EXPECT_TRUE(recordEq(axis.convertART(x), a, r, float(t)));

    // The way back: theta to radians in double, float matrix, products in double then float.
    const ART rec{1.5f, 2.5f, 123.25f};
    const float phi = float(double(rec.t) * kPi / 180.0);
    F3 n = df;
    n.normalize();
    const float c = std::cos(phi), s = std::sin(phi), k = 1.f - c;
    const F3 w(((n.x * n.x * k + c) * uf.x + (n.x * n.y * k - n.z * s) * uf.y) +
                   (n.x * n.z * k + n.y * s) * uf.z,
               ((n.x * n.y * k + n.z * s) * uf.x + (n.y * n.y * k + c) * uf.y) +
                   (n.y * n.z * k - n.x * s) * uf.z,
               ((n.x * n.z * k - n.y * s) * uf.x + (n.y * n.z * k + n.x * s) * uf.y) +
                   (n.z * n.z * k + c) * uf.z);
    const F3 ad(float(double(df.x) * rec.a), float(double(df.y) * rec.a),
                float(double(df.z) * rec.a));
    const F3 rw(float(double(w.x) * rec.r), float(double(w.y) * rec.r), float(double(w.z) * rec.r));
    const F3 want = (pf + ad) + rw;
    EXPECT_TRUE(tripletEq(axis.convertXYZ(rec), want.x, want.y, want.z));
}

// Random axes (period 30) and points with a fixed seed. Errors are counted in units in the last
// place of the largest magnitude involved (coordinates up to 20 from the axis point, theta 180).
TEST(AxisConvert, RoundTripsOnRandomAxesAndPoints) {
    std::mt19937_64 gen(20240611);
    std::uniform_real_distribution<double> coord(-10, 10), unit(-1, 1), radius(1, 10),
        theta(-179, 179);
    for (int i = 0; i < 2000; ++i) {
        const RotationAxis axis(D3(coord(gen), coord(gen), coord(gen)),
                                D3(unit(gen), unit(gen), unit(gen)), 30,
                                D3(unit(gen), unit(gen), unit(gen)));
        const D3 x(coord(gen), coord(gen), coord(gen));
        const D3 back = axis.convertXYZ(axis.convertART(x));
        // The way through theta in degrees costs the double form up to about 10 units of 32.
        EXPECT_TRUE(nearScale(back.x, x.x, 32.0, 16) && nearScale(back.y, x.y, 32.0, 16) &&
                    nearScale(back.z, x.z, 32.0, 16))
            << x << " came back as " << back;
        const F3 xf(x);
        const F3 fback = axis.convertXYZ(axis.convertART(xf));
        EXPECT_TRUE(nearScale(fback.x, xf.x, 32.f, 4) && nearScale(fback.y, xf.y, 32.f, 4) &&
                    nearScale(fback.z, xf.z, 32.f, 4))
            << D3(xf) << " came back as " << D3(fback);
        const DART rec{coord(gen), radius(gen), theta(gen)};
        const DART again = axis.convertART(axis.convertXYZ(rec));
        EXPECT_TRUE(nearScale(again.a, rec.a, 32.0, 8) && nearScale(again.r, rec.r, 32.0, 8) &&
                    nearScale(again.t, rec.t, 256.0, 4))
            << "(" << rec.a << ", " << rec.r << ", " << rec.t << ") came back as (" << again.a
            << ", " << again.r << ", " << again.t << ")";
    }

    // The worked round trip of a skew axis.
    const RotationAxis skew(D3(1, 2, 3), D3(1, 1, 0), 30, D3(0, 0, 1));
    const D3 b = skew.convertXYZ(skew.convertART(D3(4, -2, 7)));
    EXPECT_TRUE(nearScale(b.x, 4.0, 8.0, 4) && nearScale(b.y, -2.0, 8.0, 4) &&
                nearScale(b.z, 7.0, 8.0, 4));
}
