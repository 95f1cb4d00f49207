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
//  - list forms: every element equals the single-point result bit for bit (forms without
//    continuity) or differs from it by exactly the whole turns of the continuity rule; an empty
//    list succeeds on any axis; after a refusal an output filled in place has the input's length
//    and no converted element, one filled aside is unchanged; a list passed as input and output
//    gives the same result;
//  - rotations and theta projection equal their documented composition of conversions bit for
//    bit, refuse as the conversions do and then leave the points unchanged; the rotation matrices
//    refuse as documented without touching the matrix;
//  - on a well-conditioned axis, XYZ -> ART -> XYZ and ART -> XYZ -> ART return their input, and
//    the rotation matrix moves a point where rotateByAngle does, within a bound scaled to the
//    size of the values.

#include "FuzzSupport.h"

#include <cstdint>
#include <cstring>
#include <type_traits>
#include <vector>

using namespace orvfuzz;
using orv::ART;
using orv::DART;
using orv::RotationAxis;
using D3 = orv::TripletBase<double>;
using F3 = orv::TripletBase<float>;

namespace {

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

// ---- Lists and rotations ----------------------------------------------------------------------

// Up to eight points: awkward ones, and points on a curve about the z axis whose steps of up to
// 350 degrees cross the +-180 cut in either direction (and so exercise the continuity). Now and
// then a list of 120 to 200 points (the list conversions work in blocks of 128) drawn from a
// small generator seeded by the input, with an awkward point here and there.
std::vector<D3> drawList(FuzzedDataProvider& in) {
    if (in.ConsumeIntegralInRange<int>(0, 15) == 0) {
        std::vector<D3> list(static_cast<std::size_t>(in.ConsumeIntegralInRange<int>(120, 200)));
        std::uint32_t seed = in.ConsumeIntegral<std::uint32_t>();
        const double maxStep = in.ConsumeFloatingPointInRange<double>(0.0, 359.0);
        const int awkwardEvery = in.ConsumeIntegralInRange<int>(2, 200);
        const D3 awkward[] = {D3(std::nan(""), 0, 0), D3(0, 0, HUGE_VAL),
                              D3(1.7976931348623157e308, 0, 0), D3(0, 0, 5), D3(1e300, 0, 0)};
        double theta = 0.0;
        for (D3& p : list) {
            seed = seed * 1664525u + 1013904223u;
            const std::uint32_t v = seed >> 8;
            if (static_cast<int>(v % static_cast<std::uint32_t>(awkwardEvery)) == 0) {
                p = awkward[v % 5u];
                continue;
            }
            theta = theta + (static_cast<double>(v & 0xffffu) / 32767.5 - 1.0) * maxStep;
            p = D3(10.0 * std::cos(theta * kPi / 180.0), 10.0 * std::sin(theta * kPi / 180.0),
                   static_cast<double>(v >> 16));
        }
        return list;
    }
    std::vector<D3> list(static_cast<std::size_t>(in.ConsumeIntegralInRange<int>(0, 8)));
    double theta = in.ConsumeFloatingPointInRange<double>(-180.0, 180.0);
    for (D3& p : list) {
        if (in.ConsumeIntegralInRange<int>(0, 3) == 0) {
            p = drawTriplet(in);
            continue;
        }
        theta = theta + in.ConsumeFloatingPointInRange<double>(-350.0, 350.0);
        const double r = in.ConsumeFloatingPointInRange<double>(0.0, 100.0);
        p = D3(r * std::cos(theta * kPi / 180.0), r * std::sin(theta * kPi / 180.0),
               in.ConsumeFloatingPointInRange<double>(-100.0, 100.0));
    }
    return list;
}

template <class T> struct RecordOf;
template <> struct RecordOf<float> { using type = ART; };
template <> struct RecordOf<double> { using type = DART; };

bool sameRecord(const ART& a, const ART& b) {
    return sameBits(a.a, b.a) && sameBits(a.r, b.r) && sameBits(a.t, b.t);
}
bool sameRecord(const DART& a, const DART& b) {
    return sameBits(a.a, b.a) && sameBits(a.r, b.r) && sameBits(a.t, b.t);
}
template <class T> bool sameRecord(const orv::TripletBase<T>& a, const orv::TripletBase<T>& b) {
    return sameBits(a, b);
}
bool sameRecord(const orv::Doublet& a, const orv::Doublet& b) {
    return sameBits(a.x, b.x) && sameBits(a.y, b.y);
}

template <class V> V sentinelList(FuzzedDataProvider& in) {
    using E = typename V::value_type;
    V v(static_cast<std::size_t>(in.ConsumeIntegralInRange<int>(0, 10)));
    for (E& e : v) {
        std::memset(static_cast<void*>(&e), 0x41, sizeof e); // a recognisable non-zero pattern
    }
    return v;
}

// After a refusal: filled in place, the list has n elements, those it had kept, new ones zero.
template <class V> bool resizedOnly(const V& out, const V& before, std::size_t n) {
    if (out.size() != n) {
        return false;
    }
    for (std::size_t i = 0; i < n; ++i) {
        typename V::value_type zero;
        std::memset(static_cast<void*>(&zero), 0, sizeof zero);
        if (!sameRecord(out[i], i < before.size() ? before[i] : zero)) {
            return false;
        }
    }
    return true;
}
template <class V> bool unchanged(const V& out, const V& before) {
    return resizedOnly(out, before, before.size());
}

// Checks a list call: on an unset axis (or when refuse is set) the refusal r and the state the
// fill leaves; with an empty input, success and an empty output. Returns true when the call
// succeeded on a non-empty input.
template <class V, class F>
bool listCall(bool refuse, const Refusal& r, bool inPlace, std::size_t n, V& out, F&& call) {
    const V before = out;
    const bool refused = expectOutcome<orv::data::invalid>(refuse && n > 0, r, call);
    if (refused) {
        check(inPlace ? resizedOnly(out, before, n) : unchanged(out, before),
              "a refused list call leaves its output as documented");
        return false;
    }
    check(out.size() == n, "the output has the input's length");
    return n > 0;
}

// The continuity rule applied along the single-point thetas: the first against the reference (or
// kept without one), every later one against the previous output theta, stored at precision T.
template <class T> std::vector<T> continued(const std::vector<T>& thetas, const double* reference) {
    std::vector<T> out(thetas.size());
    for (std::size_t i = 0; i < thetas.size(); ++i) {
        const double t = static_cast<double>(thetas[i]);
        if (i > 0) {
            out[i] = static_cast<T>(nearReference(t, static_cast<double>(out[i - 1])));
        } else {
            out[i] = reference ? static_cast<T>(nearReference(t, *reference)) : thetas[i];
        }
    }
    return out;
}

template <class T>
void listChecks(FuzzedDataProvider& in, RotationAxis& axis,
                const std::vector<orv::TripletBase<T>>& pts) {
    using P = orv::TripletBase<T>;
    using R = typename RecordOf<T>::type;
    const bool valid = axis.isValid();
    const bool noXYZ = !valid || axis.getAngle() == 0.0;
    const std::size_t n = pts.size();
    const double reference = drawDouble(in);

    std::vector<R> singles;
    std::vector<T> thetas;
    if (valid) {
        for (const P& p : pts) {
            singles.push_back(axis.convertART(p));
            thetas.push_back(singles.back().t);
        }
    }
    const auto checkContinued = [&](const auto& out, const double* ref, bool radians) {
        const std::vector<T> expected = continued(thetas, ref);
        for (std::size_t i = 0; i < n; ++i) {
            const auto& o = out[i];
            const R rec = {o.x, o.y, o.z}; // triplets hold (a, r, theta)
            T t = expected[i];
            if (radians) {
                t = static_cast<T>(static_cast<double>(t) * kPi / 180.0);
            }
            check(sameBits(rec.a, singles[i].a) && sameBits(rec.r, singles[i].r),
                  "list a and r equal the single-point ones");
            check(sameBits(rec.t, t), "list theta: the single-point theta plus whole turns");
        }
    };

    // Records, continuous, in place.
    {
        std::vector<R> out = sentinelList<std::vector<R>>(in);
        if (listCall(!valid, kMachineART, true, n, out, [&] { axis.convertART(pts, out); })) {
            const std::vector<T> expected = continued(thetas, nullptr);
            for (std::size_t i = 0; i < n; ++i) {
                check(sameBits(out[i].a, singles[i].a) && sameBits(out[i].r, singles[i].r) &&
                          sameBits(out[i].t, expected[i]),
                      "convertART list (records)");
            }
        }
    }
    // Triplets, continuous, aside; and with input and output one list.
    {
        std::vector<P> out = sentinelList<std::vector<P>>(in);
        if (listCall(!valid, kMachineART, false, n, out, [&] { axis.convertART(pts, out); })) {
            checkContinued(out, nullptr, false);
            std::vector<P> same = pts;
            axis.convertART(same, same);
            check(unchanged(same, out), "convertART with input and output one list");
        }
    }
    // Hemisphere, records (aside) and triplets (in place after the whole list).
    {
        std::vector<R> out = sentinelList<std::vector<R>>(in);
        if (listCall(!valid, kMachineART, false, n, out,
                     [&] { axis.convertARTSetHemisphere(pts, out, reference); })) {
            std::vector<P> asTriplets;
            for (const R& r : out) {
                asTriplets.push_back(P(r.a, r.r, r.t));
            }
            checkContinued(asTriplets, &reference, false);
        }
        std::vector<P> outP = sentinelList<std::vector<P>>(in);
        if (listCall(!valid, kMachineART, true, n, outP,
                     [&] { axis.convertARTSetHemisphere(pts, outP, reference); })) {
            checkContinued(outP, &reference, false);
            std::vector<P> same = pts;
            axis.convertARTSetHemisphere(same, same, reference);
            check(unchanged(same, outP), "hemisphere with input and output one list");
        }
    }
    if constexpr (std::is_same<T, float>::value) {
        // Radian triplets (in place after the whole list): the reference turned into degrees.
        std::vector<P> out = sentinelList<std::vector<P>>(in);
        if (listCall(!valid, kMachineART, true, n, out,
                     [&] { axis.convertARTSetHemisphereRad(pts, out, reference); })) {
            const double degrees = reference * 180.0 / kPi;
            checkContinued(out, &degrees, true);
            std::vector<P> same = pts;
            axis.convertARTSetHemisphereRad(same, same, reference);
            check(unchanged(same, out), "radian hemisphere with input and output one list");
        }
        // Doublets (in place): a and r of convertAR with theta 0.
        std::vector<orv::Doublet> ar = sentinelList<std::vector<orv::Doublet>>(in);
        if (listCall(!valid, kMachineAR, true, n, ar, [&] { axis.convertAR(pts, ar); })) {
            for (std::size_t i = 0; i < n; ++i) {
                const ART rec = axis.convertAR(pts[i], 0.0);
                check(sameBits(ar[i].x, rec.a) && sameBits(ar[i].y, rec.r), "doublet list");
            }
        }
    }
    // convertAR to records (aside): the single-point convertAR element by element.
    {
        std::vector<R> out = sentinelList<std::vector<R>>(in);
        if (listCall(!valid, kMachineAR, false, n, out,
                     [&] { axis.convertAR(pts, out, reference); })) {
            for (std::size_t i = 0; i < n; ++i) {
                check(sameRecord(out[i], axis.convertAR(pts[i], reference)), "convertAR list");
            }
        }
    }
    // Directions (all four in place); the input may be one of the direction lists.
    {
        std::vector<R> art = sentinelList<std::vector<R>>(in);
        std::vector<P> ax = sentinelList<std::vector<P>>(in),
                       rad = sentinelList<std::vector<P>>(in),
                       th = sentinelList<std::vector<P>>(in);
        const std::vector<P> ax0 = ax, rad0 = rad, th0 = th;
        if (listCall(!valid, kMachineART, true, n, art,
                     [&] { axis.convertARTWithDirections(pts, art, ax, rad, th); })) {
            for (std::size_t i = 0; i < n; ++i) {
                R c;
                P a, r, t;
                axis.convertARTWithDirections(pts[i], c, a, r, t);
                check(sameRecord(art[i], c) && sameBits(ax[i], a) && sameBits(rad[i], r) &&
                          sameBits(th[i], t),
                      "directions list");
            }
            std::vector<P> shared = pts;
            std::vector<R> art2;
            std::vector<P> ax2, th2;
            axis.convertARTWithDirections(shared, art2, ax2, shared, th2);
            check(unchanged(shared, rad) && unchanged(th2, th), "directions with the input shared");
        } else if (n > 0) {
            check(resizedOnly(ax, ax0, n) && resizedOnly(rad, rad0, n) && resizedOnly(th, th0, n),
                  "refused directions resize all four lists");
        }
    }
    // Back to points, records and radian triplets (in place), element by element.
    {
        std::vector<R> recs;
        std::vector<P> radianTriplets;
        for (std::size_t i = 0; i < n; ++i) {
            const R r{static_cast<T>(drawDouble(in)), static_cast<T>(drawDouble(in)),
                      static_cast<T>(drawDouble(in))};
            recs.push_back(r);
            radianTriplets.push_back(P(r.a, r.r, r.t));
        }
        std::vector<P> out = sentinelList<std::vector<P>>(in);
        if (listCall(noXYZ, kMatrix, true, n, out, [&] { axis.convertXYZ(recs, out); })) {
            for (std::size_t i = 0; i < n; ++i) {
                check(sameBits(out[i], axis.convertXYZ(recs[i])), "convertXYZ list");
            }
        }
        std::vector<P> outRad = sentinelList<std::vector<P>>(in);
        if (listCall(noXYZ, kMatrix, true, n, outRad,
                     [&] { axis.convertXYZThetaRad(radianTriplets, outRad); })) {
            for (std::size_t i = 0; i < n; ++i) {
                const P& q = radianTriplets[i];
                R r{q.x, q.y, T(0)};
                if constexpr (std::is_same<T, float>::value) {
                    const float scaled = q.z * 180.0f;
                    r.t = static_cast<float>(static_cast<double>(scaled) / kPi);
                } else {
                    r.t = q.z * 180.0 / kPi;
                }
                check(sameBits(outRad[i], axis.convertXYZ(r)), "convertXYZThetaRad list");
            }
            std::vector<P> same = radianTriplets;
            axis.convertXYZThetaRad(same, same);
            check(unchanged(same, outRad), "convertXYZThetaRad with input and output one list");
        }
    }

    // Rotations: by periods through the list conversions (both precisions); the result is the
    // continuous records with the turn added, converted back element by element.
    const double periods = drawDouble(in);
    const double angle = drawDouble(in);
    const auto viaLists = [&](std::vector<P> points, double addend) {
        std::vector<R> recs;
        axis.convertART(points, recs);
        for (std::size_t i = 0; i < n; ++i) {
            recs[i].t = static_cast<T>(static_cast<double>(recs[i].t) + addend);
            points[i] = axis.convertXYZ(recs[i]);
        }
        return points;
    };
    const auto rotation = [&](const Refusal& r, auto&& call, auto&& expected) {
        std::vector<P> points = pts;
        const bool refused =
            expectOutcome<orv::data::invalid>(noXYZ && n > 0, r, [&] { call(points); });
        if (refused || n == 0) {
            check(unchanged(points, pts), "a refused or empty rotation leaves the points");
            return;
        }
        check(unchanged(points, expected()), "rotation as its conversions");
    };
    const Refusal& towardsArt = valid ? kMatrix : kMachineART;
    rotation(
        towardsArt, [&](std::vector<P>& p) { axis.rotateByPeriod(p, periods); },
        [&] { return viaLists(pts, periods * axis.getAngle()); });
    if (std::is_same<T, float>::value) {
        rotation(
            towardsArt, [&](std::vector<P>& p) { axis.rotateByAngle(p, angle); },
            [&] { return viaLists(pts, angle); });
    }
    // Theta projection: convertAR then convertXYZ, point by point.
    rotation(
        valid ? kMatrix : kMachineAR, [&](std::vector<P>& p) { axis.projectToTheta(p, angle); },
        [&] {
            std::vector<P> e = pts;
            for (P& p : e) {
                p = axis.convertXYZ(axis.convertAR(p, angle));
            }
            return e;
        });
}

// Single-point rotations and the rotation matrices.
void rotationChecks(FuzzedDataProvider& in, const RotationAxis& axis) {
    const bool valid = axis.isValid();
    const bool noXYZ = !valid || axis.getAngle() == 0.0;
    const Refusal& r = valid ? kMatrix : kMachineART;
    const D3 p = drawTriplet(in);
    const double angle = drawDouble(in);
    const double periods = drawDouble(in);
    D3 byAngle = p, byPeriod = p;
    if (expectOutcome<orv::data::invalid>(noXYZ, r, [&] { axis.rotateByAngle(byAngle, angle); })) {
        check(sameBits(byAngle, p), "a refused rotation leaves the point");
    } else {
        DART rec = axis.convertART(p);
        rec.t = rec.t + angle;
        check(sameBits(byAngle, axis.convertXYZ(rec)), "rotateByAngle as its conversions");
        std::vector<D3> list{p, p};
        axis.rotateByAngle(list, angle);
        check(sameBits(list[0], byAngle) && sameBits(list[1], byAngle),
              "rotateByAngle list point by point");
        axis.rotateByPeriod(byPeriod, periods);
        D3 same = p;
        axis.rotateByAngle(same, periods * axis.getAngle());
        check(sameBits(byPeriod, same), "rotateByPeriod = rotateByAngle by periods x angle");
        F3 pf(p);
        axis.rotateByPeriod(pf, periods);
        ART recf = axis.convertART(F3(p));
        recf.t = static_cast<float>(static_cast<double>(recf.t) + periods * axis.getAngle());
        check(sameBits(pf, axis.convertXYZ(recf)), "rotateByPeriod (float) as its conversions");
    }

    orv::ORVMatrix4 m;
    m.setTranslationMatrix(F3(1.0f, 2.0f, 3.0f));
    const orv::ORVMatrix4 before = m;
    const auto sameMatrix = [](const orv::ORVMatrix4& a, const orv::ORVMatrix4& b) {
        for (int i = 0; i < 16; ++i) {
            if (!sameBits(a(i / 4, i % 4), b(i / 4, i % 4))) {
                return false;
            }
        }
        return true;
    };
    const bool forward = in.ConsumeBool();
    if (expectOutcome<orv::data::invalid>(noXYZ, kMatrix,
                                          [&] { axis.getRotationMatrix(m, angle); })) {
        expectOutcome<orv::data::invalid>(true, kMatrix,
                                          [&] { axis.getRotationMatrix(m, forward); });
        check(sameMatrix(m, before), "a refused matrix is not touched");
    } else {
        orv::ORVMatrix4 period, byValue;
        axis.getRotationMatrix(period, forward);
        axis.getRotationMatrix(byValue, forward ? axis.getAngle() : -axis.getAngle());
        check(sameMatrix(period, byValue), "one period forwards or backwards");
    }
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

    // The rotation matrix (single precision) moves the point where rotateByAngle does.
    const double angle = in.ConsumeFloatingPointInRange<double>(-720.0, 720.0);
    orv::ORVMatrix4 m;
    axis.getRotationMatrix(m, angle);
    D3 rotated = x;
    axis.rotateByAngle(rotated, angle);
    check(distance(m.transformPoint(xf), rotated) <= 64.0L * kFloatEps * scale,
          "rotation matrix and rotateByAngle agree");

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
    rotationChecks(in, axis);
    const std::vector<D3> list = drawList(in);
    if (in.ConsumeBool()) {
        listChecks<double>(in, axis, list);
    } else {
        std::vector<F3> narrowed;
        for (const D3& p : list) {
            narrowed.push_back(F3(p));
        }
        listChecks<float>(in, axis, narrowed);
    }
    roundTrips(in);
    return 0;
}
