// RotationAxis: setting the axis and the single-point conversions. Exact rows from worked examples
// and from the values a host's geometry may hold; the oracle (AxisOracle.h) on random axes and
// points for the bits of every step.
#include "AxisOracle.h"

#include <cstdint>
#include <cstring>
#include <random>

using namespace orvtest;
using orv::ART;
using orv::DART;
using orv::RotationAxis;

namespace {

// Through the origin along z, period 30, up vector y: theta runs from y towards C = (-1, 0, 0).
RotationAxis zAxis() {
    return RotationAxis(D3(0, 0, 0), D3(0, 0, 1), 30, D3(0, 1, 0));
}

} // namespace

TEST(RotationAxisSet, Table) {
    const D3 z(0, 0, 1), y(0, 1, 0), x(1, 0, 0), z0(0, 0, 0);
    const double r = double(float(std::sqrt(0.5))); // as the getters narrow it
    const char* const zero = "Axis Direction is zero length.";
    const char* const low = "Rotation Angle must be greater than zero.";
    const char* const high = "Rotation Angle must be less than 360.";
    const struct {
        D3 dir;
        double angle;
        D3 up;
        const char* refusal;  // nullptr: accepted
        D3 axisDir, upVector; // getAxisDir(), getUpVector()
    } rows[] = {
        {D3(0, 0, 2), 30, z0, nullptr, z, y},
        {D3(0, 3, 0), 30, z0, nullptr, y, x},
        {D3(0, -3, 0), 30, z0, nullptr, D3(0, -1, 0), x},
        {x, 30, D3(1, 1, 0), nullptr, x, y},
        {z, 30, D3(0, 0, 5), nullptr, z, z0}, // parallel up vector: (0, 0, 0), no refusal
        {D3(0, 0, 1e-150), 360, D3(-0.0, -0.0, -0.0), nullptr, z, y},
        {D3(0, 0, 1e-200), 30, z0, nullptr, z0, y}, // squared length underflows: kept
        {D3(0, 0, DN), DN, z0, nullptr, z0, y},
        {D3(N, 0, 0), 30, z0, nullptr, D3(N, N, N), D3(N, N, N)},
        {D3(I, 0, 0), 30, z0, nullptr, D3(N, 0, 0), D3(N, N, N)},
        {D3(0, 0, M), 30, y, nullptr, D3(0, 0, I), y}, // divided by the undefined value
        {z, N, y, nullptr, z, y},                      // a NaN angle passes both tests
        {z, 30, D3(N, 0, 0), nullptr, z, D3(N, N, N)},
        {z, 30, D3(I, 0, 0), nullptr, z, D3(N, N, N)},
        {z, 30, D3(M, 0, 0), nullptr, z, D3(I, 0, 0)},
        {z, 30, D3(DN, 0, 0), nullptr, z, z0},
        {D3(1e300, 0, 1e300), 30, z0, nullptr, D3(r, 0, r), y}, // squared length overflows
        {D3(0, 0, 0), -5, y, zero, z0, z0},
        {D3(-0.0, -0.0, -0.0), 30, y, zero, z0, z0},
        {z, 0, y, low, z0, z0},
        {z, -0.0, y, low, z0, z0},
        {z, -5, y, low, z0, z0},
        {z, -I, y, low, z0, z0},
        {z, std::nextafter(360.0, 400.0), y, high, z0, z0},
        {z, I, y, high, z0, z0},
    };
    for (const auto& row : rows) {
        RotationAxis axis(D3(5, 6, 7), D3(0, 1, 0), 72, D3(0, 0, 2));
        const auto set = [&] { axis.setRotationAxis(D3(1, 2, 3), row.dir, row.angle, row.up); };
        if (row.refusal) { // nothing stored
            EXPECT_TRUE(throwsWith<orv::data::invalid>(set, "RotationAxis", "set", row.refusal));
            EXPECT_TRUE(tripletEq(axis.getAxisPoint(), 5.f, 6.f, 7.f) &&
                        tripletEq(axis.getAxisDir(), 0.f, 1.f, 0.f) &&
                        tripletEq(axis.getUpVector(), 0.f, 0.f, 1.f) && axis.getAngle() == 72);
            continue;
        }
        set();
        EXPECT_TRUE(axis.isValid() && same(axis.getAngle(), row.angle)) << row.dir;
        EXPECT_TRUE(tripletEq(axis.getAxisPoint(), 1.f, 2.f, 3.f));
        EXPECT_TRUE(sameAs(axis.getAxisDir(), row.axisDir)) << row.dir << " " << row.up;
        EXPECT_TRUE(sameAs(axis.getUpVector(), row.upVector)) << row.dir << " " << row.up;
    }
    RotationAxis unset;
    EXPECT_TRUE(!unset.isValid() && unset.getAngle() == 0 && sameAs(unset.getAxisPoint(), z0) &&
                sameAs(unset.getUpVector(), z0));
    unset.setAngle(-45); // stored with no test; the axis stays unset
    EXPECT_TRUE(!unset.isValid() && unset.getAngle() == -45);
    // The single-precision forms widen exactly; the getters narrow the normalised fields.
    const RotationAxis single(F3(0.1f, 0, 0), F3(1, 1, 0), 72.0, F3(0, 0, 1));
    EXPECT_TRUE(tripletEq(single.getAxisPoint(), 0.1f, 0.f, 0.f) &&
                tripletEq(single.getAxisDir(), float(r), float(r), 0.f));
    EXPECT_TRUE(throwsWith<orv::data::invalid>([] { RotationAxis(F3(), F3(), 30, F3()); },
                                               "RotationAxis", "set", zero));
}

// The up vector an axis stores, bit for bit, for ordinary, tiny and huge up vectors and
// directions, read back through convertXYZ of (a 0, r 1, theta 0) on an axis through the origin,
// which is the stored up vector exactly (the rotation by 0 is the identity).
TEST(RotationAxisUpVector, StoredBitForBitForOrdinaryTinyAndHugeVectors) {
    const double s = 0x1.6a09e667f3bccp-1; // sqrt(0.5) as (1, 1, 0) normalises
    const struct {
        D3 dir, up, stored;
    } cases[] = {
        // Squared lengths that do not overflow: perpendicular part, then normalised.
        {D3(0, 0, 1), D3(3e-8, 4e-8, 1), D3(0.6, 0.8, 0)},
        {D3(0.3, -0.2, 5), D3(1, 2, 3),
         D3(0x1.72685c247dda2p-2, 0x1.dd434e543126cp-1, 0x1.fe9c409177b69p-7)},
        {D3(0, 0, 1), D3(3e-170, 4e-170, 0), D3(3e-170, 4e-170, 0)},
        // Squared lengths that overflow: scaled down, perpendicular part scaled, normalised.
        {D3(0, 0, 1), D3(3e-8, 4e-8, 1e155), D3(0.6, 0.8, 0)},
        {D3(0, 0, 1), D3(1e-160, 0, 1e155), D3(1, 0, 0)},
        {D3(0, 0, 1), D3(-4e-8, -3e-8, -1e155), D3(-0.8, -0.6, 0)},
        {D3(0, 0, 1e300), D3(0, 1e300, 0), D3(0, 1, 0)},
        {D3(0, 0, 1), D3(1e300, 1e300, 0), D3(s, s, 0)},
        {D3(1e300, 1e300, 0), D3(0, 0, 1), D3(0, 0, 1)},
        {D3(1, 2, 2), D3(3e200, 0, 0),
         D3(0x1.e2b7dddfefa66p-1, -0x1.e2b7dddfefa66p-3, -0x1.e2b7dddfefa66p-3)},
        {D3(1, 1, 0), D3(1.7e308, 1.6e308, 1e308),
         D3(0x1.98946f59a8bbp-5, -0x1.98946f59a8be6p-5, 0x1.feb98b3012ebcp-1)},
    };
    for (const auto& c : cases) {
        const RotationAxis axis(D3(0, 0, 0), c.dir, 30, c.up);
        EXPECT_TRUE(
            tripletEq(axis.convertXYZ(DART{0.0, 1.0, 0.0}), c.stored.x, c.stored.y, c.stored.z))
            << c.up;
    }
    // A NaN direction leaves a NaN up vector, huge or not.
    const D3 nan =
        RotationAxis(D3(0, 0, 0), D3(N, 0, 0), 30, D3(0, 1e300, 0)).convertXYZ(DART{0, 1, 0});
    EXPECT_TRUE(std::isnan(nan.x) && std::isnan(nan.y) && std::isnan(nan.z));
    // Single precision measures theta from the mended up vector again (rounded to float, the
    // unmended one was (0, 0, 0), and every theta 0).
    const RotationAxis mended(D3(0, 0, 0), D3(0, 0, 1), 30, D3(3e-8, 4e-8, 1e155));
    EXPECT_LE(ulpDistance(mended.convertART(F3(-4, 3, 7)).t, 90.0f), 2);
}

// Worked examples and awkward points about zAxis(), both precisions (float where the value is
// representable; the float rows narrow the point).
TEST(AxisConvert, ExactRows) {
    const RotationAxis axis = zAxis();
    const struct {
        D3 point, art;
        bool inFloat; // the same row holds for the narrowed point
    } rows[] = {
        {D3(0, 1, 5), D3(5, 1, 0), true},
        {D3(1, 0, 5), D3(5, 1, -90), true},
        {D3(-1, 0, -2), D3(-2, 1, 90), true},
        {D3(0, -2, 0), D3(0, 2, 180), true},
        {D3(0, 0, 7), D3(7, 0, 0), true}, // on the axis: atan2(0, 0)
        {D3(N, 0, 0), D3(N, N, N), true},
        {D3(I, 0, 0), D3(N, N, N), true},
        {D3(0, 0, I), D3(N, N, N), true},
        {D3(M, 0, 0), D3(0, U, -90), false}, // undefined radial vector
        {D3(MF, 0, 0), D3(0, U, -90), true},
        {D3(-M, 0, 0), D3(0, I, 0), false},
        {D3(1e300, 0, 0), D3(0, I, 0), false},
        {D3(0, 0, 1e300), D3(1e300, 0, 0), false},
        {D3(DN, 0, 0), D3(0, 0, -90), false},
        {D3(-0.0, -0.0, -0.0), D3(-0.0, 0, 0), true},
    };
    for (const auto& row : rows) {
        EXPECT_TRUE(recordSame(axis.convertART(row.point), row.art)) << row.point;
        if (row.inFloat) {
            EXPECT_TRUE(recordSame(axis.convertART(F3(row.point)), row.art)) << row.point;
        }
    }
    EXPECT_TRUE(recordSame(axis.convertART(F3(D3(M, 0, 0))), D3(N, N, N))); // narrowed to inf
    // The marker in the radial vector's y and z (an axis along x), single points and lists.
    const RotationAxis xAxis(D3(0, 0, 0), D3(1, 0, 0), 30, D3(0, 1, 0));
    const struct {
        D3 point, art;
    } markers[] = {{D3(0, M, 0), D3(0, U, 0)}, {D3(0, 0, M), D3(0, U, 90)}};
    for (const auto& row : markers) {
        const F3 pointF(row.point.x, row.point.y == M ? MF : 0.f, row.point.z == M ? MF : 0.f);
        std::vector<DART> list;
        std::vector<ART> listF;
        xAxis.convertART(std::vector<D3>{row.point}, list);
        xAxis.convertART(std::vector<F3>{pointF}, listF);
        EXPECT_TRUE(recordSame(xAxis.convertART(row.point), row.art) &&
                    recordSame(list[0], row.art))
            << row.point;
        EXPECT_TRUE(recordSame(xAxis.convertART(pointF), row.art) && recordSame(listF[0], row.art))
            << row.point;
    }
    // The marker in the axial part only: the radial vector (0, 3, 4) is defined, a is the marker.
    {
        const D3 want(M, 5, mathoracle::atan2(4.0 / 5.0, 3.0 / 5.0) * 180.0 / kPi);
        const D3 wantF(
            U, 5, float(mathoracle::atan2(double(4.f / 5.f), double(3.f / 5.f)) * 180.0 / kPi));
        std::vector<DART> list;
        std::vector<ART> listF;
        xAxis.convertART(std::vector<D3>{D3(M, 3, 4)}, list);
        xAxis.convertART(std::vector<F3>{F3(MF, 3, 4)}, listF);
        EXPECT_TRUE(recordSame(xAxis.convertART(D3(M, 3, 4)), want) && recordSame(list[0], want));
        EXPECT_TRUE(recordSame(xAxis.convertART(F3(MF, 3, 4)), wantF) &&
                    recordSame(listF[0], wantF));
    }
    // convertAR keeps the given theta (rounded to float for ART), converting none.
    EXPECT_TRUE(recordSame(axis.convertAR(D3(1, 0, 5), 12.5), D3(5, 1, 12.5)));
    EXPECT_TRUE(recordSame(axis.convertAR(D3(1, 0, 5), N), D3(5, 1, N)));
    EXPECT_TRUE(recordSame(axis.convertAR(D3(N, 0, 5), 1), D3(N, N, 1)));
    EXPECT_TRUE(recordSame(axis.convertAR(F3(1, 0, 5), 1e300), D3(5, 1, I)));
    EXPECT_TRUE(recordSame(axis.convertAR(F3(1, 0, 5), 1000.1), D3(5, 1, double(1000.1f))));
    // Back to points: exact on the axis, NaN and infinities as the arithmetic gives them.
    const struct {
        D3 rec, point;
    } back[] = {
        {D3(7, 0, 33), D3(0, 0, 7)}, {D3(N, 1, 0), D3(N, N, N)}, {D3(0, N, 0), D3(N, N, N)},
        {D3(0, 1, N), D3(N, N, N)},  {D3(0, 1, I), D3(N, N, N)}, {D3(0, I, 0), D3(N, I, N)},
        {D3(I, 0, 0), D3(N, N, I)},  {D3(M, 1, 0), D3(0, 1, M)},
    };
    for (const auto& row : back) {
        EXPECT_TRUE(sameAs(axis.convertXYZ(DART{row.rec.x, row.rec.y, row.rec.z}), row.point));
    }
    EXPECT_TRUE(sameAs(axis.convertXYZ(ART{MF, 1, 0}), D3(0, 1, U)));
    EXPECT_TRUE(sameAs(axis.convertXYZ(ART{7, 0, 33}), D3(0, 0, 7)));
    // A parallel up vector: theta does not depend on the point; records map onto the axis line.
    const RotationAxis parallel(D3(0, 0, 0), D3(0, 0, 1), 30, D3(0, 0, 5));
    EXPECT_TRUE(recordSame(parallel.convertART(D3(3, 4, 1)), D3(1, 5, 0)));
    EXPECT_TRUE(sameAs(parallel.convertXYZ(DART{2, 5, 40}), D3(0, 0, 2)));
    // A NaN period angle is not 0: the way back runs as with any other.
    RotationAxis nanPeriod = zAxis();
    nanPeriod.setAngle(N);
    EXPECT_TRUE(bitsEq(nanPeriod.convertXYZ(DART{5, 1, -90}), axis.convertXYZ(DART{5, 1, -90})));
    // Directions: on the axis the radial and theta directions are zero; a NaN point gives NaN.
    DART c;
    D3 ax, rad, th(9, 9, 9);
    axis.convertARTWithDirections(D3(1, 0, 5), c, ax, rad, th);
    EXPECT_TRUE(recordSame(c, D3(5, 1, -90)) && sameAs(ax, D3(0, 0, 1)) &&
                sameAs(rad, D3(1, 0, 0)) && sameAs(th, D3(0, 1, 0)));
    axis.convertARTWithDirections(D3(0, 0, 7), c, ax, rad, th);
    EXPECT_TRUE(sameAs(rad, D3(0, 0, 0)) && sameAs(th, D3(0, 0, 0)));
    axis.convertARTWithDirections(D3(N, 0, 0), c, ax, rad, th);
    EXPECT_TRUE(sameAs(ax, D3(0, 0, 1)) && sameAs(rad, D3(N, N, N)) && sameAs(th, D3(N, N, N)));
}

TEST(AxisConvert, HemisphereRows) {
    const RotationAxis axis = zAxis();
    const struct {
        D3 point;
        double reference, t;
    } rows[] = {
        {D3(0, -2, 0), 0, -180}, // exactly +180 from the reference moves to -180
        {D3(1, 0, 5), 90, 270},  // exactly -180 moves to +180
        {D3(1, 0, 5), 270, 270},
        {D3(1, 0, 5), -90, -90},
        {D3(1, 0, 5), 89.5, -90},
        {D3(-1, 0, -2), -89.9999999, 90}, // 180 away once the reference is rounded to float
        {D3(0, -2, 0), 180, 180},
        {D3(0, -2, 0), -180, -180},
        {D3(1, 0, 5), 1000, 990},
        {D3(1, 0, 5), -1000, -1170},
        {D3(1, 0, 5), 7.2e11, 719999999910.0}, // 2e9 turns
        {D3(1, 0, 5), 1e12, 999999999990.0},   // turn counts beyond 32 bits, formed in double
        {D3(1, 0, 5), -1e12, -1000000000170.0},
        {D3(1, 0, 5), I, -90}, // a difference that is not finite leaves theta
        {D3(1, 0, 5), -I, -90},
        {D3(1, 0, 5), N, -90},
        {D3(N, 0, 0), 0, N},
    };
    for (const auto& row : rows) {
        const bool nan = std::isnan(row.point.x);
        const double r = nan ? N : row.point.y == 0 ? 1.0 : 2.0;
        EXPECT_TRUE(recordSame(axis.convertARTSetHemisphere(row.point, row.reference),
                               D3(nan ? N : row.point.z, r, row.t)))
            << row.reference;
        EXPECT_TRUE(same(axis.convertARTSetHemisphere(F3(row.point), row.reference).t,
                         double(float(row.t))))
            << row.reference;
        const double rad = axis.convertARTSetHemisphereRad(row.point, row.reference * kPi / 180).z;
        const double want = row.t * kPi / 180; // to rounding: the reference went through radians
        EXPECT_TRUE(same(rad, want) || nearScale(rad, want, std::fabs(want), 4)) << row.reference;
    }
    EXPECT_TRUE(tripletEq(axis.convertARTSetHemisphereRad(D3(1, 0, 5), kPi), 5.0, 1.0,
                          270.0 * kPi / 180.0));
    // A reference whose degrees, reference * 180 / pi, are exactly -178740 = -(180 + 360 * 496)
    // from theta 0, so the turn count is exactly 497 (dividing by pi first gives 496.99...).
    const double far = -0x1.85f33f8771cbap+11;
    EXPECT_TRUE(tripletEq(axis.convertARTSetHemisphereRad(D3(0, 1, 5), far), 5.0, 1.0,
                          -178920.0 * kPi / 180.0));
    std::vector<F3> list;
    axis.convertARTSetHemisphereRad(std::vector<F3>{F3(0, 1, 5)}, list, far);
    EXPECT_TRUE(tripletEq(list[0], 5.f, 1.f, float(-178920.0 * kPi / 180.0)));
}

namespace {

// Every single-point conversion of the point x (precision T) against the oracle, bit for bit.
template <class T>
::testing::AssertionResult matchesOracle(const RotationAxis& axis, const oracle::Axis& o,
                                         const orv::TripletBase<T>& x, double reference,
                                         const DART& recD) {
    using R = decltype(axis.convertART(x));
    const oracle::V<T> art = oracle::convertART(o, oracle::of(x));
    const T near = T(oracle::nearReference(double(art.z), reference));
    oracle::V<T> dirs[3];
    oracle::directions(o, oracle::of(x), dirs);
    R c;
    orv::TripletBase<T> a, r, t = x; // the point may be one of the direction outputs
    axis.convertARTWithDirections(t, c, a, r, t);
    const R rec{T(recD.a), T(recD.r), T(recD.t)};
    const bool ok =
        recordEq(axis.convertART(x), R{art.x, art.y, art.z}) &&
        recordEq(axis.convertARTSetHemisphere(x, reference), R{art.x, art.y, near}) &&
        recordEq(axis.convertAR(x, reference), R{art.x, art.y, T(reference)}) &&
        recordEq(c, R{art.x, art.y, art.z}) && bitsEq(a, oracle::triplet(dirs[0])) &&
        bitsEq(r, oracle::triplet(dirs[1])) && bitsEq(t, oracle::triplet(dirs[2])) &&
        bitsEq(axis.convertXYZ(rec), oracle::triplet(oracle::convertXYZ(o, rec.a, rec.r, rec.t)));
    return ok ? ::testing::AssertionSuccess() : ::testing::AssertionFailure() << x;
}

} // namespace

// Every single-point conversion against the oracle, bit for bit, on random axes, points,
// references and records (fixed seed). The axes are skew, so the renormalised direction, the
// double frame vector and every rounding to float show in the last bits.
TEST(AxisConvert, BitsOfEveryStepOnRandomInput) {
    std::mt19937_64 gen(20240611);
    std::uniform_real_distribution<double> coord(-10, 10), unit(-1, 1), ref(-1000, 1000),
        theta(-400, 400);
    for (int i = 0; i < 3000; ++i) {
        const oracle::V<double> p{coord(gen), coord(gen), coord(gen)},
            d{unit(gen), unit(gen), unit(gen)}, u{unit(gen), unit(gen), unit(gen)};
        const RotationAxis axis(oracle::triplet(p), oracle::triplet(d), 30, oracle::triplet(u));
        const oracle::Axis o = oracle::makeAxis(p, d, u);
        const D3 x(coord(gen), coord(gen), coord(gen));
        const double reference = ref(gen), refRad = reference * kPi / 180.0;
        const DART rec{coord(gen), coord(gen) + 10, theta(gen)};
        ASSERT_TRUE(matchesOracle(axis, o, x, reference, rec)) << i;
        ASSERT_TRUE(matchesOracle(axis, o, F3(x), reference, rec)) << i;
        const oracle::V<double> art = oracle::convertART(o, oracle::of(x));
        EXPECT_TRUE(tripletEq(axis.convertARTSetHemisphereRad(x, refRad), art.x, art.y,
                              oracle::nearReference(art.z, refRad * 180.0 / kPi) * kPi / 180.0));
        // And the way back returns the point (within rounding of the coordinates' scale 32).
        EXPECT_TRUE(nearScale(axis.convertXYZ(axis.convertART(x)), x, 32.0, 16));
        EXPECT_TRUE(nearScale(axis.convertXYZ(axis.convertART(F3(x))), F3(x), 32.f, 4));
    }
    const RotationAxis skew(D3(1, 2, 3), D3(1, 1, 0), 30, D3(0, 0, 1)); // the worked example
    EXPECT_TRUE(nearScale(skew.convertXYZ(skew.convertART(D3(4, -2, 7))), D3(4, -2, 7), 8.0, 4));
}

// Every single-point conversion on an unset axis and on one whose period angle is 0: the labels
// of the operation that checks, and nothing written.
TEST(AxisConvert, Refusals) {
    const RotationAxis unset;
    RotationAxis noPeriod = zAxis();
    noPeriod.setAngle(0); // converts towards ART, refuses the way back
    EXPECT_TRUE(recordSame(noPeriod.convertART(D3(1, 0, 5)), D3(5, 1, -90)));
    const Refusal art{"MachineData", "convertART", kNotInitialised};
    const Refusal ar{"MachineData", "convertAR", kNotInitialised};
    const Refusal xyz{"RotationAxis", "getRotationMatrix", kInvalidRotation};
    ART c{1, 2, 3};
    DART dc{1, 2, 3};
    F3 fa(4, 5, 6), fr(4, 5, 6), ft(4, 5, 6);
    D3 da(4, 5, 6), dr(4, 5, 6), dt(4, 5, 6);
    const struct {
        std::function<void()> call;
        Refusal refusal;
    } rows[] = {
        {[&] { unset.convertART(F3(N, 0, 0)); }, art},
        {[&] { unset.convertART(D3(1, 2, 3)); }, art},
        {[&] { unset.convertARTSetHemisphere(F3(1, 2, 3), 0); }, art},
        {[&] { unset.convertARTSetHemisphere(D3(1, 2, 3), 0); }, art},
        {[&] { unset.convertARTSetHemisphereRad(D3(1, 2, 3), 0); }, art},
        {[&] { unset.convertARTWithDirections(F3(1, 2, 3), c, fa, fr, ft); }, art},
        {[&] { unset.convertARTWithDirections(D3(1, 2, 3), dc, da, dr, dt); }, art},
        {[&] { unset.convertAR(F3(1, 2, 3), 0); }, ar},
        {[&] { unset.convertAR(D3(1, 2, 3), 0); }, ar},
        {[&] { unset.convertXYZ(c); }, xyz},
        {[&] { unset.convertXYZ(dc); }, xyz},
        {[&] { noPeriod.convertXYZ(c); }, xyz},
        {[&] { noPeriod.convertXYZ(dc); }, xyz},
    };
    for (const auto& row : rows) {
        EXPECT_TRUE(throwsWith<orv::data::invalid>(row.call, row.refusal));
    }
    EXPECT_TRUE(recordSame(c, D3(1, 2, 3)) && recordSame(dc, D3(1, 2, 3)));
    EXPECT_TRUE(sameAs(fa, D3(4, 5, 6)) && sameAs(fr, D3(4, 5, 6)) && sameAs(ft, D3(4, 5, 6)));
    EXPECT_TRUE(sameAs(da, D3(4, 5, 6)) && sameAs(dr, D3(4, 5, 6)) && sameAs(dt, D3(4, 5, 6)));
}
