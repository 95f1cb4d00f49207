// RotationAxis continuous list forms against the single-point conversions on arbitrary set axes
// and lists of arbitrary points, some spanning several of the blocks that the list forms work in;
// round trips on well-conditioned axes. (The unit tests pin every list form bit for bit.)

#include "FuzzSupport.h"

#include <limits>
#include <random>
#include <type_traits>
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

// A continuous list against the single-point results: the input's length; a and r the same bits;
// theta the single-point theta plus whole turns (the first exactly it when there is no reference)
// and within half a turn of the theta before it (the first: of the reference). "Within": 4 units
// in the last place, at the list's precision, of the largest magnitude involved (at least 360).
template <class E, class T>
void checkContinuous(const std::vector<E>& out, const orv::RotationAxis& axis,
                     const std::vector<orv::TripletBase<T>>& pts, const double* ref,
                     bool radians = false) {
    check(out.size() == pts.size(), "output length");
    const long double eps = std::numeric_limits<T>::epsilon();
    const long double unit = radians ? 180.0L / kPi : 1.0L;
    long double prev = ref ? *ref * unit : NAN;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const D3 o = art(out[i]), single = art(axis.convertART(pts[i]));
        const long double t = o.z * unit, s = single.z;
        const long double tol = 4 * eps * std::fmax(std::fmax(std::fabs(t), std::fabs(prev)), 360);
        check(sameBits(o.x, single.x) && sameBits(o.y, single.y), "list a and r");
        check(std::isnan(s) ? std::isnan(t) : offWholeTurns(t, s) <= tol, "theta + whole turns");
        check(i > 0 || ref || sameBits(o.z, single.z), "first theta kept without a reference");
        check(!std::isfinite(prev) || std::isnan(t) || std::fabs(t - prev) <= 180 + tol,
              "theta within half a turn of the one before");
        prev = t;
    }
}

// Records in place from no reference, aside from one, and (float) triplets in radians, into outputs
// of any length (the triplet forms in degrees are twins of the record forms).
template <class T>
void listChecks(FuzzedDataProvider& in, const orv::RotationAxis& axis,
                const std::vector<orv::TripletBase<T>>& pts) {
    using R = std::conditional_t<std::is_same<T, float>::value, orv::ART, orv::DART>;
    // Kept below 1e30: a reference beyond the float range would make float thetas infinite.
    double ref =
        in.ConsumeBool() ? in.ConsumeFloatingPointInRange<double>(-1e4, 1e4) : drawDouble(in);
    ref = std::isfinite(ref) ? std::fmod(ref, 1e30) : ref;
    const auto length = [&] { return in.ConsumeIntegralInRange<std::size_t>(0, 9); };
    std::vector<R> recs(length()), hemi(length());
    axis.convertART(pts, recs);
    axis.convertARTSetHemisphere(pts, hemi, ref);
    checkContinuous(recs, axis, pts, nullptr);
    checkContinuous(hemi, axis, pts, &ref);
    if constexpr (std::is_same<T, float>::value) {
        const double radRef = ref * kPi / 180;
        std::vector<F3> rad(length());
        axis.convertARTSetHemisphereRad(pts, rad, radRef);
        checkContinuous(rad, axis, pts, &radRef, true);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    orv::RotationAxis axis = drawWellConditionedAxis(in);
    // XYZ -> ART -> XYZ on a well-conditioned axis gives the point back within 64 (double) or 16
    // (float) units in the last place of |point| + |axis point|.
    const D3 x = drawModerate(in, 1000.0);
    const long double scale = norm(x) + norm(axis.getAxisPoint());
    check(distance(axis.convertXYZ(axis.convertART(x)), x) <= 64 * 0x1p-52L * scale,
          "XYZ -> ART -> XYZ (double)");
    check(distance(axis.convertXYZ(axis.convertART(F3(x))), F3(x)) <= 16 * 0x1p-23L * scale,
          "XYZ -> ART -> XYZ (float)");
    if (in.ConsumeBool()) {
        try { // arbitrary fields; a refused set leaves the axis as it was (set, as every success)
            const D3 p = drawTriplet(in), d = drawTriplet(in);
            const double angle = drawDouble(in);
            axis.setRotationAxis(p, d, angle, drawTriplet(in));
        } catch (const orv::data::invalid&) {
        }
    }
    const std::vector<D3> pts = drawPoints(in);
    listChecks<double>(in, axis, pts);
    listChecks<float>(in, axis, std::vector<F3>(pts.begin(), pts.end()));
    return 0;
}
