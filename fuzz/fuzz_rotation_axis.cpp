// RotationAxis with arbitrary fields (set in either precision, period angle changed afterwards)
// and arbitrary points and records in both precisions. Properties:
//  - setRotationAxis refuses exactly as documented (direction, then angle <= 0, then > 360) and a
//    refusal leaves every field as it was; a successful set of a finite direction leaves a valid
//    axis with a unit direction;
//  - the single-point conversions refuse only on an unset axis (and, towards XYZ, a zero period
//    angle) with the documented labels, and write nothing then;
//  - the hemisphere forms move theta by the documented whole turns (bit for bit), convertAR keeps
//    a and r of convertART and stores the given theta, convertARTWithDirections agrees with
//    convertART and may take its point as one of its outputs;
//  - on a well-conditioned axis, XYZ -> ART -> XYZ and ART -> XYZ -> ART return their input within
//    a bound scaled to the size of the values.

#include "FuzzSupport.h"

#include <vector>

using namespace orvfuzz;
using orv::ART;
using orv::DART;
using orv::RotationAxis;
using D3 = orv::TripletBase<double>;
using F3 = orv::TripletBase<float>;

namespace {

constexpr double kPi = 3.141592653589793;
constexpr long double kDoubleEps = 2.220446049250313e-16L;
constexpr long double kFloatEps = 1.1920928955078125e-07L;

const Refusal kMachineART{"MachineData", "convertART", "MachineData object is not initialised."};
const Refusal kMachineAR{"MachineData", "convertAR", "MachineData object is not initialised."};
const Refusal kMatrix{"RotationAxis", "getRotationMatrix", "Invalid rotation parameters.\n"};

bool isZero(const D3& v) {
    return v.x == 0.0 && v.y == 0.0 && v.z == 0.0;
}

// The documented turn correction: theta - 360 n, n = d / 360 rounded half away from zero, for
// |d| >= 180 with d = theta - reference finite; theta unchanged otherwise.
double nearReference(double theta, double reference) {
    const double d = theta - reference;
    if (!(std::fabs(d) >= 180.0) || !std::isfinite(d)) {
        return theta;
    }
    const double q = d > 0.0 ? d / 360.0 + 0.5 : d / 360.0 - 0.5;
    return theta - 360.0 * std::trunc(q);
}

struct Snapshot {
    F3 point, dir, up;
    double angle;
    bool valid;
};
Snapshot snapshot(const RotationAxis& axis) {
    return {axis.getAxisPoint(), axis.getAxisDir(), axis.getUpVector(), axis.getAngle(),
            axis.isValid()};
}
bool same(const Snapshot& a, const Snapshot& b) {
    return sameBits(a.point, b.point) && sameBits(a.dir, b.dir) && sameBits(a.up, b.up) &&
           sameBits(a.angle, b.angle) && a.valid == b.valid;
}

// One setRotationAxis with arbitrary fields, in either precision.
void setChecks(FuzzedDataProvider& in, RotationAxis& axis) {
    D3 p = drawTriplet(in), d = drawTriplet(in), u = drawTriplet(in);
    const double angle = drawDouble(in);
    const bool single = in.ConsumeBool();
    if (single) { // what the float form sees, widened exactly
        p = D3(F3(p));
        d = D3(F3(d));
        u = D3(F3(u));
    }
    const char* msg = isZero(d)       ? "Axis Direction is zero length."
                      : angle <= 0.0  ? "Rotation Angle must be greater than zero."
                      : angle > 360.0 ? "Rotation Angle must be less than 360."
                                      : nullptr;
    const Snapshot before = snapshot(axis);
    const bool refused =
        expectOutcome<orv::data::invalid>(msg != nullptr, Refusal{"RotationAxis", "set", msg}, [&] {
            if (single) {
                axis.setRotationAxis(F3(p), F3(d), angle, F3(u));
            } else {
                axis.setRotationAxis(p, d, angle, u);
            }
        });
    if (refused) {
        check(same(before, snapshot(axis)), "refused set leaves the axis");
        return;
    }
    check(sameBits(axis.getAngle(), angle), "angle stored");
    const bool finiteDir = std::isfinite(d.x) && std::isfinite(d.y) && std::isfinite(d.z);
    const double marker = std::numeric_limits<double>::max();
    const bool marked = d.x == marker || d.y == marker || d.z == marker;
    if (finiteDir) {
        check(axis.isValid(), "a finite direction gives a valid axis");
    }
    // Unit length unless the direction's squared length underflows (then it is kept as given) or
    // it carries the undefined marker (then it is divided by the undefined value).
    if (finiteDir && !marked && norm(d) > 1e-150L) {
        check(std::fabs(norm(axis.getAxisDir()) - 1.0L) <= 4.0L * kFloatEps, "unit direction");
    }
}

void pointChecks(FuzzedDataProvider& in, const RotationAxis& axis) {
    const bool valid = axis.isValid();
    const bool towardsXYZ = valid && axis.getAngle() != 0.0;
    const D3 x = drawTriplet(in);
    const F3 xf(drawTriplet(in));
    const double reference = drawDouble(in);

    DART dart{};
    ART art{};
    const bool refused =
        expectOutcome<orv::data::invalid>(!valid, kMachineART, [&] { dart = axis.convertART(x); });
    expectOutcome<orv::data::invalid>(!valid, kMachineART, [&] { art = axis.convertART(xf); });
    expectOutcome<orv::data::invalid>(!valid, kMachineART,
                                      [&] { axis.convertARTSetHemisphere(x, reference); });
    expectOutcome<orv::data::invalid>(!valid, kMachineART,
                                      [&] { axis.convertARTSetHemisphere(xf, reference); });
    expectOutcome<orv::data::invalid>(!valid, kMachineART,
                                      [&] { axis.convertARTSetHemisphereRad(x, reference); });
    expectOutcome<orv::data::invalid>(!valid, kMachineAR, [&] { axis.convertAR(x, reference); });
    expectOutcome<orv::data::invalid>(!valid, kMachineAR, [&] { axis.convertAR(xf, reference); });
    {
        DART c{1, 2, 3};
        D3 a(4, 5, 6), r(7, 8, 9), t(10, 11, 12);
        if (expectOutcome<orv::data::invalid>(
                !valid, kMachineART, [&] { axis.convertARTWithDirections(x, c, a, r, t); })) {
            check(c.a == 1 && c.r == 2 && c.t == 3 && sameBits(a, D3(4, 5, 6)) &&
                      sameBits(r, D3(7, 8, 9)) && sameBits(t, D3(10, 11, 12)),
                  "refused directions write nothing");
        }
    }
    const DART rec{drawDouble(in), drawDouble(in), drawDouble(in)};
    const ART recf{static_cast<float>(drawDouble(in)), static_cast<float>(drawDouble(in)),
                   static_cast<float>(drawDouble(in))};
    expectOutcome<orv::data::invalid>(!towardsXYZ, kMatrix, [&] { axis.convertXYZ(rec); });
    expectOutcome<orv::data::invalid>(!towardsXYZ, kMatrix, [&] { axis.convertXYZ(recf); });
    if (refused) {
        return;
    }

    // Hemisphere forms: a and r as convertART, theta moved by the documented whole turns.
    const DART h = axis.convertARTSetHemisphere(x, reference);
    check(sameBits(h.a, dart.a) && sameBits(h.r, dart.r), "hemisphere keeps a and r");
    check(sameBits(h.t, nearReference(dart.t, reference)), "hemisphere turns (double)");
    const ART hf = axis.convertARTSetHemisphere(xf, reference);
    check(sameBits(hf.a, art.a) && sameBits(hf.r, art.r), "hemisphere keeps a and r (float)");
    check(sameBits(hf.t, static_cast<float>(nearReference(art.t, reference))),
          "hemisphere turns (float)");
    if (std::isfinite(dart.t) && std::fabs(reference) < 1e6) {
        check(std::fabs(h.t - reference) <= 180.0, "within half a turn of the reference");
    }
    const D3 rad = axis.convertARTSetHemisphereRad(x, reference);
    check(sameBits(rad.x, dart.a) && sameBits(rad.y, dart.r), "radian form keeps a and r");
    check(sameBits(rad.z, nearReference(dart.t, reference * 180.0 / kPi) * kPi / 180.0),
          "radian form turns");

    // convertAR: a and r of convertART, the given theta.
    const DART ar = axis.convertAR(x, reference);
    check(sameBits(ar.a, dart.a) && sameBits(ar.r, dart.r) && sameBits(ar.t, reference),
          "convertAR (double)");
    const ART arf = axis.convertAR(xf, reference);
    check(sameBits(arf.a, art.a) && sameBits(arf.r, art.r) &&
              sameBits(arf.t, static_cast<float>(reference)),
          "convertAR (float)");

    // Directions: coordinates as convertART; the point may be one of the outputs.
    DART c;
    D3 a, r, t;
    axis.convertARTWithDirections(x, c, a, r, t);
    check(sameBits(c.a, dart.a) && sameBits(c.r, dart.r) && sameBits(c.t, dart.t),
          "directions: coordinates");
    DART c2;
    D3 a2, r2 = x, t2;
    axis.convertARTWithDirections(r2, c2, a2, r2, t2);
    check(sameBits(a2, a) && sameBits(r2, r) && sameBits(t2, t), "directions: aliased point");
    ART cf;
    F3 af, rf = xf, tf;
    axis.convertARTWithDirections(rf, cf, af, rf, tf);
    check(sameBits(cf.a, art.a) && sameBits(cf.r, art.r) && sameBits(cf.t, art.t),
          "directions: coordinates (float)");
}

// Round trips on a well-conditioned axis with moderate points.
void roundTrips(FuzzedDataProvider& in) {
    RotationAxis axis = drawWellConditionedAxis(in);
    if (in.ConsumeBool()) { // the same fields through the single-precision setter
        axis = RotationAxis(axis.getAxisPoint(), axis.getAxisDir(), axis.getAngle(),
                            axis.getUpVector());
    }
    const F3 dir = axis.getAxisDir(), up = axis.getUpVector();
    check(std::fabs(norm(up) - 1.0L) <= 4.0L * kFloatEps, "unit up vector");
    check(std::fabs(static_cast<long double>(dir.x) * up.x +
                    static_cast<long double>(dir.y) * up.y +
                    static_cast<long double>(dir.z) * up.z) <= 4.0L * kFloatEps,
          "up vector perpendicular");

    const D3 x = drawModerateTriplet(in);
    const long double scale = norm(x) + norm(axis.getAxisPoint());
    const D3 back = axis.convertXYZ(axis.convertART(x));
    check(distance(back, x) <= 64.0L * kDoubleEps * scale, "XYZ -> ART -> XYZ (double)");
    const F3 xf(x);
    const F3 backf = axis.convertXYZ(axis.convertART(xf));
    check(distance(backf, xf) <= 64.0L * kFloatEps * scale, "XYZ -> ART -> XYZ (float)");

    // A record with r well away from the axis and theta inside the open range.
    const DART rec{in.ConsumeFloatingPointInRange<double>(-1000.0, 1000.0),
                   in.ConsumeFloatingPointInRange<double>(1.0, 1000.0),
                   in.ConsumeFloatingPointInRange<double>(-179.0, 179.0)};
    const DART again = axis.convertART(axis.convertXYZ(rec));
    const long double recScale = scale + std::fabs(rec.a) + rec.r;
    check(std::fabs(again.a - rec.a) <= 64.0L * kDoubleEps * recScale &&
              std::fabs(again.r - rec.r) <= 64.0L * kDoubleEps * recScale &&
              std::fabs(again.t - rec.t) <= 64.0L * kDoubleEps * recScale / rec.r * 180.0L / kPi,
          "ART -> XYZ -> ART (double)");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    RotationAxis axis;
    if (in.ConsumeBool()) {
        axis = drawWellConditionedAxis(in);
    }
    const int sets = in.ConsumeIntegralInRange<int>(0, 2);
    for (int i = 0; i < sets; ++i) {
        setChecks(in, axis);
    }
    if (in.ConsumeIntegralInRange<int>(0, 3) == 0) {
        axis.setAngle(in.ConsumeBool() ? 0.0 : drawDouble(in));
    }
    const int points = in.ConsumeIntegralInRange<int>(1, 3);
    for (int i = 0; i < points; ++i) {
        pointChecks(in, axis);
    }
    roundTrips(in);
    return 0;
}
