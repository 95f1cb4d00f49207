// RotationAxis list conversions against the single-point ones, on arbitrary axes (unset, refused
// sets, period angle changed afterwards) and lists of arbitrary points, some long enough to span
// several of the blocks that the list forms work in; and round trips on well-conditioned axes.

#include "FuzzSupport.h"

#include <algorithm>
#include <random>
#include <vector>

using namespace orvfuzz;

namespace {

template <class R> auto art(const R& r) -> decltype(r.a, D3()) {
    return D3(r.a, r.r, r.t);
}
template <class T> D3 art(const orv::TripletBase<T>& p) {
    return D3(p.x, p.y, p.z);
}

// Up to 8 points, or 100 to 400, on a curve about z whose steps cross the +-180 cut, with
// arbitrary points here and there (all of them, at times).
std::vector<D3> drawPoints(FuzzedDataProvider& in) {
    std::vector<D3> pts(in.ConsumeBool() ? in.ConsumeIntegralInRange<std::size_t>(0, 8)
                                         : in.ConsumeIntegralInRange<std::size_t>(100, 400));
    std::minstd_rand gen(in.ConsumeIntegral<std::uint32_t>());
    const double maxStep = in.ConsumeFloatingPointInRange<double>(0.0, 6.27); // radians
    const unsigned awkwardEvery = in.ConsumeIntegralInRange<unsigned>(1, 64);
    double theta = 0.0;
    for (D3& p : pts) {
        theta += std::uniform_real_distribution<double>(-maxStep, maxStep)(gen);
        p = gen() % awkwardEvery == 0 ? drawTriplet(in)
                                      : D3(10 * std::cos(theta), 10 * std::sin(theta), 1);
    }
    return pts;
}

// An output list of arbitrary length holding a recognisable pattern.
template <class E> std::vector<E> stale(FuzzedDataProvider& in) {
    std::vector<E> v(in.ConsumeIntegralInRange<std::size_t>(0, 9));
    for (E& e : v) {
        std::memset(static_cast<void*>(&e), 0x41, sizeof e);
    }
    return v;
}

// A list with theta continuity against the single-point results: a and r the same bits; theta the
// single-point theta plus whole turns (the first exactly it when there is no reference) and within
// half a turn of the theta before it (the first: of the reference). "Within" allows 4 units in the
// last place, at the record's precision, of the largest magnitude involved (at least 360). The
// twin, the same conversion to the other output type, holds the same bits.
template <class E, class F>
void checkContinuous(const std::vector<E>& out, const std::vector<F>& twin,
                     const std::vector<D3>& single, const double* ref, bool radians,
                     long double eps) {
    const long double unit = radians ? 180.0L / kPi : 1.0L;
    long double prev = ref ? *ref * unit : NAN;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const D3 o = art(out[i]);
        const long double t = o.z * unit, s = single[i].z;
        const long double tol = 4 * eps * std::fmax(std::fmax(std::fabs(t), std::fabs(prev)), 360);
        check(sameBits(o.x, single[i].x) && sameBits(o.y, single[i].y), "list a and r");
        check(std::isnan(s) ? std::isnan(t) : offWholeTurns(t, s) <= tol, "theta + whole turns");
        check(i > 0 || ref || sameBits(o.z, single[i].z), "first theta kept without a reference");
        check(!std::isfinite(prev) || std::isnan(t) || std::fabs(t - prev) <= 180 + tol,
              "theta within half a turn of the one before");
        check(sameBits(o, art(twin[i])), "records and triplets the same");
        prev = t;
    }
}

// When the list was converted, each element the single-point result single(i), bit for bit.
template <class V, class F>
void asSingle(bool converted, const V& out, const char* what, F&& single) {
    for (std::size_t i = 0; converted && i < out.size(); ++i) {
        check(sameBits(out[i], single(i)), what);
    }
}

template <class T>
void listChecks(FuzzedDataProvider& in, const orv::RotationAxis& axis,
                const std::vector<orv::TripletBase<T>>& pts) {
    using P = orv::TripletBase<T>;
    using R = std::conditional_t<std::is_same<T, float>::value, orv::ART, orv::DART>;
    const std::size_t n = pts.size();
    const bool noART = n > 0 && !axis.isValid(), noXYZ = n > 0 && (noART || axis.getAngle() == 0);
    const long double eps = std::numeric_limits<T>::epsilon();
    // Kept below 1e30: a reference beyond the float range would make float thetas infinite.
    double ref =
        in.ConsumeBool() ? in.ConsumeFloatingPointInRange<double>(-1e4, 1e4) : drawDouble(in);
    ref = std::isfinite(ref) ? std::fmod(ref, 1e30) : ref;
    std::vector<D3> single;
    for (std::size_t i = 0; i < n && !noART; ++i) {
        single.push_back(art(axis.convertART(pts[i])));
    }
    // Refused exactly when due, with data::invalid, and then the output as its fill leaves it:
    // filled in place, resized to the input's length with its earlier elements kept; filled aside,
    // as it was. Returns true when the call converted.
    const auto call = [&](bool inPlace, bool due, auto& out, auto&& f) {
        const auto before = out;
        bool refused = false;
        try {
            f();
        } catch (const orv::data::invalid&) {
            refused = true;
        }
        check(refused == due, "refused exactly on an unset axis (to XYZ: or a period angle 0)");
        check(out.size() == (refused && !inPlace ? before.size() : n), "output length");
        for (std::size_t i = 0; refused && i < std::min(n, before.size()); ++i) {
            check(sameBits(out[i], before[i]), "a refused list keeps its earlier elements");
        }
        return !refused;
    };
    std::vector<R> recs = stale<R>(in), hemi = stale<R>(in), given = stale<R>(in);
    std::vector<P> trip = stale<P>(in), hemiTrip = stale<P>(in), rad = stale<P>(in),
                   xyz = stale<P>(in);
    const bool listed = call(true, noART, recs, [&] { axis.convertART(pts, recs); });
    if (call(false, noART, trip, [&] { axis.convertART(pts, trip); }) && listed) {
        checkContinuous(recs, trip, single, nullptr, false, eps);
    }
    const bool near =
        call(false, noART, hemi, [&] { axis.convertARTSetHemisphere(pts, hemi, ref); });
    if (call(true, noART, hemiTrip, [&] { axis.convertARTSetHemisphere(pts, hemiTrip, ref); }) &&
        near) {
        checkContinuous(hemi, hemiTrip, single, &ref, false, eps);
    }
    if constexpr (std::is_same<T, float>::value) {
        const double radRef = ref * kPi / 180;
        if (call(true, noART, rad, [&] { axis.convertARTSetHemisphereRad(pts, rad, radRef); })) {
            checkContinuous(rad, rad, single, &radRef, true, eps);
        }
        std::vector<orv::Doublet> ar = stale<orv::Doublet>(in);
        asSingle(call(true, noART, ar, [&] { axis.convertAR(pts, ar); }), ar, "doublet list",
                 [&](std::size_t i) {
                     const orv::ART s = axis.convertAR(pts[i], 0.0);
                     return orv::Doublet(s.a, s.r);
                 });
    }
    // The forms without continuity: each element the single-point result, bit for bit.
    asSingle(call(false, noART, given, [&] { axis.convertAR(pts, given, ref); }), given,
             "convertAR list", [&](std::size_t i) { return axis.convertAR(pts[i], ref); });
    // recs: converted, or (refused) resized to the input's length.
    asSingle(call(true, noXYZ, xyz, [&] { axis.convertXYZ(recs, xyz); }), xyz, "convertXYZ list",
             [&](std::size_t i) { return axis.convertXYZ(recs[i]); });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    orv::RotationAxis axis = drawWellConditionedAxis(in);
    const int kind = in.ConsumeIntegralInRange<int>(0, 3);
    // XYZ -> ART -> XYZ on a well-conditioned axis gives the point back within 64 (double) or 16
    // (float) units in the last place of |point| + |axis point|.
    const D3 x = drawModerate(in, 1000.0);
    const long double scale = norm(x) + norm(axis.getAxisPoint());
    check(distance(axis.convertXYZ(axis.convertART(x)), x) <= 64 * 0x1p-52L * scale,
          "XYZ -> ART -> XYZ (double)");
    check(distance(axis.convertXYZ(axis.convertART(F3(x))), F3(x)) <= 16 * 0x1p-23L * scale,
          "XYZ -> ART -> XYZ (float)");
    if (kind == 0) {
        axis = orv::RotationAxis(); // unset
    } else if (kind == 1) {
        try { // arbitrary fields; a refused set leaves the axis as it was
            const D3 p = drawTriplet(in), d = drawTriplet(in);
            const double angle = drawDouble(in);
            axis.setRotationAxis(p, d, angle, drawTriplet(in));
        } catch (const orv::data::invalid&) {
        }
    }
    if (in.ConsumeIntegralInRange<int>(0, 3) == 0) {
        axis.setAngle(in.ConsumeBool() ? 0.0 : drawDouble(in));
    }
    const std::vector<D3> pts = drawPoints(in);
    if (in.ConsumeBool()) {
        listChecks<double>(in, axis, pts);
    } else {
        listChecks<float>(in, axis, std::vector<F3>(pts.begin(), pts.end()));
    }
    return 0;
}
