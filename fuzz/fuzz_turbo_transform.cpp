// TurboTransform passage model and ThetaTurboTransform on arbitrary hub and shroud curves, points,
// axes and break angles. Properties:
//  - construction either succeeds or is refused with the documented labels, the first failing
//    test deciding the message;
//  - an accepted passage converts any point in spaces 0 and 3 without exception, passes theta
//    through, refuses other spaces, and gives the same result when input and output are one
//    object;
//  - ThetaTurboTransform refuses only as documented (unset axis, zero period angle, unknown space,
//    a transform without passage model) and then leaves every output unchanged;
//  - on a well-conditioned passage (the shroud a scaled copy of the hub, with break points of one
//    wall only here and there), the wall break points map exactly to spans 0 and 1 and the inlet
//    and outlet to meridional 0 and 1 (NMTS); (meridional, span) and XYZ points inside the passage
//    round-trip within a bound scaled to the passage, and applying measured deltas leads from the
//    first point to the second.

#include "FuzzSupport.h"

#include <memory>
#include <vector>

using namespace orvfuzz;
using orv::Doublet;
using orv::ThetaTurboTransform;
using orv::TurboTransform;
using D3 = orv::TripletBase<double>;
using F3 = orv::TripletBase<float>;

namespace {

const char* const kClass = "TurboTransform";

// A transform of a host that overrides nothing: the base conversions refuse.
class NoPassage : public TurboTransform {};

std::vector<Doublet> drawCurve(FuzzedDataProvider& in) {
    std::vector<Doublet> curve(static_cast<std::size_t>(in.ConsumeIntegralInRange<int>(0, 6)));
    for (Doublet& d : curve) {
        const double x = drawDouble(in);
        const double y = drawDouble(in);
        d = Doublet(static_cast<float>(x), static_cast<float>(y));
    }
    return curve;
}

bool allEqual(const std::vector<Doublet>& c) {
    for (const Doublet& d : c) {
        if (d.x != c.front().x || d.y != c.front().y) {
            return false;
        }
    }
    return true;
}

bool finite(const std::vector<Doublet>& c) {
    for (const Doublet& d : c) {
        if (!std::isfinite(d.x) || !std::isfinite(d.y)) {
            return false;
        }
    }
    return true;
}

// Builds the transform, checking the refusal; null when refused.
std::unique_ptr<TurboTransform> build(const std::vector<Doublet>& hub,
                                      const std::vector<Doublet>& shroud) {
    const char* msg = nullptr;
    if (hub.size() < 2 || shroud.size() < 2) {
        msg = "Hub and shroud curves need at least two points.";
    } else if (!finite(hub) || !finite(shroud)) {
        msg = "Hub and shroud points must be finite.";
    } else if (allEqual(hub) || allEqual(shroud)) {
        msg = "Hub and shroud curves must have a non-zero length.";
    }
    std::unique_ptr<TurboTransform> tt;
    try {
        tt.reset(new TurboTransform(hub, shroud));
    } catch (const orv::data::invalid& e) {
        checkError(e, kClass, kClass, msg ? msg : "Hub and shroud curves must not meet or cross.");
        return nullptr;
    } catch (...) {
        fail("foreign exception from the passage construction");
    }
    check(msg == nullptr, "passage accepted where a refusal was due");
    return tt;
}

void forwardChecks(const TurboTransform& tt, const D3& art, int badSpace) {
    for (TurboTransform::space sp : {TurboTransform::spaceMTS, TurboTransform::spaceNMTS}) {
        D3 tns;
        expectOk([&] { tt.convertARTtoSpaceTNs(sp, art, tns); });
        check(sameBits(tns.y, art.z), "theta passed through");
        D3 same = art;
        tt.convertARTtoSpaceTNs(sp, same, same);
        check(sameBits(same, tns), "forward with input and output one object");
        F3 tnsF;
        const F3 artF(art);
        expectOk([&] { tt.convertARTtoSpaceTNs(sp, artF, tnsF); });
        check(sameBits(tnsF.y, artF.z), "theta passed through (float)");
        F3 back;
        expectOk([&] { tt.convertSpaceTNsToART(sp, artF, back); });
        D3 backD;
        expectOk([&] { tt.convertSpaceTNsToARTspanEQ0or1(sp, art, backD, art.x > 0.0); });
        check(sameBits(backD.z, art.y), "theta passed through (back)");
    }
    const auto bad = static_cast<TurboTransform::space>(badSpace);
    D3 out(5.0, 6.0, 7.0);
    expectOutcome<orv::data::invalid>(
        true, Refusal{kClass, "convertARTtoSpaceTNs", "Unknown meridional space."},
        [&] { tt.convertARTtoSpaceTNs(bad, art, out); });
    expectOutcome<orv::data::invalid>(
        true, Refusal{kClass, "convertSpaceTNsToARTspanEQ0or1", "Unknown meridional space."},
        [&] { tt.convertSpaceTNsToARTspanEQ0or1(bad, art, out, true); });
    check(sameBits(out, D3(5.0, 6.0, 7.0)), "refused conversion leaves its output");
}

// Wall break points map exactly onto span 0 and 1, the ends onto meridional 0 and 1. Checked on
// the well-conditioned passages: on folded or twisted ones (which the construction accepts as long
// as neighbouring stations turn by less than a right angle) a wall point can have a second set of
// coordinates, or lie where lines of constant meridional coordinate cross.
void exactnessChecks(const TurboTransform& tt, const std::vector<Doublet>& hub,
                     const std::vector<Doublet>& shroud) {
    for (int wall = 0; wall < 2; ++wall) {
        const std::vector<Doublet>& c = wall == 0 ? hub : shroud;
        for (std::size_t i = 0; i < c.size(); ++i) {
            D3 tns;
            tt.convertARTtoSpaceTNs(TurboTransform::spaceNMTS, D3(c[i].x, c[i].y, 0.0), tns);
            check(tns.z == static_cast<double>(wall), "wall break point on its span");
            if (i == 0) {
                check(tns.x == 0.0, "inlet at meridional 0");
            }
            if (i + 1 == c.size()) {
                check(tns.x == 1.0, "outlet at meridional 1");
            }
        }
    }
}

// Every ThetaTurboTransform conversion with arbitrary arguments: only the documented refusals,
// and outputs unchanged after one.
void thetaChecks(FuzzedDataProvider& in, const TurboTransform& tt, bool hasPassage) {
    orv::RotationAxis axis;
    const int axisKind = in.ConsumeIntegralInRange<int>(0, 3);
    if (axisKind > 0) {
        axis = drawWellConditionedAxis(in);
        if (axisKind == 3) {
            axis.setAngle(in.ConsumeBool() ? 0.0 : drawDouble(in));
        }
    }
    const ThetaTurboTransform ttt(drawDouble(in), axis);
    const bool unset = !axis.isValid();
    const bool noXYZ = unset || axis.getAngle() == 0.0;
    const F3 p(drawTriplet(in));
    const F3 q(drawTriplet(in));
    const double m = drawDouble(in), t = drawDouble(in), s = drawDouble(in);

    // What refuses first on the way from XYZ, and on the way to XYZ.
    const auto fromXYZ = [&](const auto& call) {
        if (unset) {
            return expectOutcome<orv::data::invalid>(true, kMachineART, call);
        }
        return expectOutcome<orv::internal::error>(
            !hasPassage,
            Refusal{kClass, "convertARTtoSpaceTNs", "TurboTransform has no passage model."}, call);
    };
    const auto toXYZ = [&](const auto& call) {
        if (!hasPassage) {
            return expectOutcome<orv::internal::error>(
                true,
                Refusal{kClass, "convertSpaceTNsToART", "TurboTransform has no passage model."},
                call);
        }
        return expectOutcome<orv::data::invalid>(noXYZ, kMatrix, call);
    };

    double o1 = 1.5, o2 = 2.5, o3 = 3.5;
    F3 point(4.5f, 5.5f, 6.5f);
    const auto unchanged = [&] {
        return o1 == 1.5 && o2 == 2.5 && o3 == 3.5 && sameBits(point, F3(4.5f, 5.5f, 6.5f));
    };
    bool refused = expectOutcome<orv::data::invalid>(unset, kMachineART,
                                                     [&] { ttt.convertXYZtoART(p, o1, o2, o3); });
    refused = expectOutcome<orv::data::invalid>(
        unset, kMachineART, [&] { ttt.convertXYZtoARTSetHemisphere(q, o1, o2, o3, t); });
    check(!refused || unchanged(), "refused ART conversion leaves its outputs");
    o1 = 1.5, o2 = 2.5, o3 = 3.5;
    refused = expectOutcome<orv::data::invalid>(noXYZ, kMatrix,
                                                [&] { ttt.convertARTtoXYZ(m, t, s, point); });
    check(!refused || unchanged(), "refused XYZ conversion leaves its output");
    o1 = 1.5, o2 = 2.5, o3 = 3.5;
    point = F3(4.5f, 5.5f, 6.5f);

    switch (in.ConsumeIntegralInRange<int>(0, 6)) {
    case 0:
        refused = fromXYZ([&] { ttt.convertXYZtoMTS(p, o1, o2, o3, tt); });
        break;
    case 1:
        refused = fromXYZ([&] { ttt.convertXYZtoNMTS(p, o1, o2, o3, tt); });
        break;
    case 2:
        refused = toXYZ([&] { ttt.convertMTStoXYZ(m, t, s, point, tt); });
        break;
    case 3:
        refused = toXYZ([&] { ttt.convertNMTStoXYZ(m, t, s, point, tt); });
        break;
    case 4:
        refused = fromXYZ([&] { ttt.calcNormalizedDeltas(p, q, o1, o2, o3, tt); });
        break;
    case 5: {
        const auto call = [&] { ttt.applyNormalizedDeltas(p, point, m, t, s, tt); };
        refused = unset || !hasPassage ? fromXYZ(call)
                                       : expectOutcome<orv::data::invalid>(noXYZ, kMatrix, call);
        break;
    }
    default: {
        // The span projections with an arbitrary space and projection type; they return by value.
        const int drawn = in.ConsumeIntegralInRange<int>(-1, 4);
        const int spaceValue = drawn == 4 ? 5 : drawn; // 4 is the m' space, not refused as such
        const auto sp = static_cast<TurboTransform::space>(spaceValue);
        const auto type =
            static_cast<ThetaTurboTransform::ProjectionType>(in.ConsumeIntegralInRange<int>(-2, 4));
        const bool single = in.ConsumeBool();
        const auto call = [&] {
            if (single) {
                ttt.projectPointToSpan(p, s, sp, tt);
            } else {
                ttt.projectPointToSpan(D3(p), type, s, sp, tt);
            }
        };
        if (unset) {
            expectOutcome<orv::data::invalid>(true, kMachineART, call);
        } else if (spaceValue != 0 && spaceValue != 3) {
            expectOutcome<orv::data::invalid>(
                true, Refusal{kClass, "convertARTtoSpaceTNs", "Unknown meridional space."}, call);
        } else if (!hasPassage) {
            expectOutcome<orv::internal::error>(
                true,
                Refusal{kClass, "convertARTtoSpaceTNs", "TurboTransform has no passage model."},
                call);
        } else {
            expectOutcome<orv::data::invalid>(noXYZ, kMatrix, call);
        }
        return;
    }
    }
    check(!refused || unchanged(), "refused conversion leaves its outputs");
}

// A passage whose shroud is the hub scaled by 2 about a centre on the far side of the axis: both
// curves have the same stations (their arc lengths are exactly proportional), every patch is a
// trapezoid and the lines of constant meridional coordinate fan out from the centre without
// crossing. Coordinates are multiples of 1/512 below 1000, so every value is exact in float.
void drawFan(FuzzedDataProvider& in, std::vector<Doublet>& hub, std::vector<Doublet>& shroud) {
    const int n = in.ConsumeIntegralInRange<int>(2, 6);
    float x = static_cast<float>(in.ConsumeIntegralInRange<int>(-1600, 1600)) / 16.0f;
    float r = static_cast<float>(in.ConsumeIntegralInRange<int>(320, 640)) / 16.0f;
    hub.assign(1, Doublet(x, r));
    for (int i = 1; i < n; ++i) {
        const int step = in.ConsumeIntegralInRange<int>(16, 160);
        x = x + static_cast<float>(step) / 16.0f;
        r = r + static_cast<float>(step * in.ConsumeIntegralInRange<int>(-4, 4)) / 256.0f;
        hub.emplace_back(x, r);
    }
    const float cx = std::round((hub.front().x + hub.back().x) * 0.5f);
    const float cy = -static_cast<float>(in.ConsumeIntegralInRange<int>(40, 200));
    shroud.clear();
    for (const Doublet& h : hub) {
        shroud.emplace_back(2.0f * h.x - cx, 2.0f * h.y - cy);
    }
    // Break points of one wall only (segment midpoints, exact): the other wall's point at such a
    // station is interpolated. Halving a segment keeps the arc lengths exactly proportional.
    for (std::vector<Doublet>* wall : {&hub, &shroud}) {
        for (std::size_t i = wall->size() - 1; i > 0; --i) {
            if (in.ConsumeIntegralInRange<int>(0, 3) == 0) {
                const Doublet& p = (*wall)[i - 1];
                const Doublet& q = (*wall)[i];
                const Doublet mid((p.x + q.x) * 0.5f, (p.y + q.y) * 0.5f);
                wall->insert(wall->begin() + static_cast<std::ptrdiff_t>(i), mid);
            }
        }
    }
}

void roundTrips(FuzzedDataProvider& in, const TurboTransform& tt, const std::vector<Doublet>& hub,
                const std::vector<Doublet>& shroud) {
    long double extent = 0.0L; // the largest coordinate of the passage
    for (const auto* c : {&hub, &shroud}) {
        for (const Doublet& d : *c) {
            extent = std::fmax(extent, std::fmax(std::fabs(d.x), std::fabs(d.y)));
        }
    }
    // The passage is at least 60 wide; its length is that of the hub, at least 1.
    long double length = 0.0L;
    for (std::size_t i = 1; i < hub.size(); ++i) {
        length += std::hypot(static_cast<long double>(hub[i].x) - hub[i - 1].x,
                             static_cast<long double>(hub[i].y) - hub[i - 1].y);
    }
    // Meridional and span in double precision, in both spaces.
    const double u = in.ConsumeFloatingPointInRange<double>(0.0, 1.0);
    const double s = in.ConsumeFloatingPointInRange<double>(0.0, 1.0);
    D3 art, tns;
    tt.convertSpaceTNsToARTspanEQ0or1(TurboTransform::spaceNMTS, D3(u, 0.25, s), art, false);
    tt.convertARTtoSpaceTNs(TurboTransform::spaceNMTS, art, tns);
    // Errors of a few units in the last place of the coordinates, relative to the passage's size.
    const long double tol = 64.0L * kDoubleEps * extent / std::fmin(length, 60.0L);
    check(std::fabs(tns.x - u) <= tol && std::fabs(tns.z - s) <= tol, "NMTS round trip");
    D3 mts, art2;
    tt.convertARTtoSpaceTNs(TurboTransform::spaceMTS, art, mts);
    tt.convertSpaceTNsToARTspanEQ0or1(TurboTransform::spaceMTS, mts, art2, false);
    check(distance(art, art2) <= 64.0L * kDoubleEps * extent, "MTS round trip");

    // XYZ -> NMTS -> XYZ through an axis, in single precision.
    const orv::RotationAxis axis = drawWellConditionedAxis(in);
    const double beta = in.ConsumeFloatingPointInRange<double>(-540.0, 180.0);
    const ThetaTurboTransform ttt(beta, axis);
    const double theta = in.ConsumeFloatingPointInRange<double>(-20.0, 20.0);
    F3 xyz;
    ttt.convertNMTStoXYZ(u, theta, s, xyz, tt);
    double m2, t2, s2;
    ttt.convertXYZtoNMTS(xyz, m2, t2, s2, tt);
    const long double scale = norm(axis.getAxisPoint()) + norm(xyz) + extent;
    const long double tolF = 256.0L * kFloatEps * scale;
    check(std::fabs(m2 - u) <= tolF / length && std::fabs(s2 - s) <= tolF / 60.0L,
          "XYZ -> NMTS returns meridional and span");
    const long double degrees = t2 * 180.0L / kPi;
    check(degrees >= beta - 1e-3L && degrees <= beta + 360.0L + 1e-3L, "wrapped theta in range");
    F3 back;
    ttt.convertNMTStoXYZ(m2, t2, s2, back, tt);
    check(distance(back, xyz) <= tolF, "XYZ -> NMTS -> XYZ round trip");

    // The deltas measured from one point to another, applied to the first, give the second.
    F3 other;
    ttt.convertNMTStoXYZ(in.ConsumeFloatingPointInRange<double>(0.0, 1.0),
                         in.ConsumeFloatingPointInRange<double>(-20.0, 20.0),
                         in.ConsumeFloatingPointInRange<double>(0.0, 1.0), other, tt);
    double dm, dt, ds;
    ttt.calcNormalizedDeltas(xyz, other, dm, dt, ds, tt);
    F3 moved;
    ttt.applyNormalizedDeltas(xyz, moved, dm, dt, ds, tt);
    check(distance(moved, other) <= 2.0L * tolF + 256.0L * kFloatEps * norm(other),
          "applied deltas lead to the second point");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const int kind = in.ConsumeIntegralInRange<int>(0, 3);
    if (kind == 0) {
        const NoPassage none;
        thetaChecks(in, none, false);
        return 0;
    }
    std::vector<Doublet> hub, shroud;
    if (kind == 1) {
        drawFan(in, hub, shroud);
    } else {
        hub = drawCurve(in);
        shroud = drawCurve(in);
    }
    const std::unique_ptr<TurboTransform> tt = build(hub, shroud);
    check(kind != 1 || tt != nullptr, "well-conditioned passage accepted");
    if (!tt) {
        return 0;
    }
    if (kind == 1) {
        exactnessChecks(*tt, hub, shroud);
    }
    const int badSpaces[] = {-1, 1, 2, 5, 1000};
    forwardChecks(*tt, drawTriplet(in), badSpaces[in.ConsumeIntegralInRange<int>(0, 4)]);
    const TurboTransform copy(*tt);
    thetaChecks(in, copy, true);
    if (kind == 1) {
        roundTrips(in, *tt, hub, shroud);
    }
    return 0;
}
