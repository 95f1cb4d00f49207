// RotationAxis list conversions. The single-point operations are the oracle: every element equals
// the single-point result, followed (for the continuous forms) by the continuity rule applied
// with the public hemisphere operation, the previous output theta as the reference.
#include "TestSupport.h"

#include "orv/axis/detail/ListRange.h"

#include <random>

using namespace orvtest;
using orv::ART;
using orv::DART;
using orv::Doublet;
using orv::RotationAxis;

namespace {

RotationAxis zAxis() {
    return RotationAxis(D3(0, 0, 0), D3(0, 0, 1), 30, D3(0, 1, 0));
}

// The point at radius 2, theta (degrees) and height z about zAxis().
D3 at(double degrees, double z = 0) {
    const double t = degrees * kPi / 180.0;
    return D3(-2 * std::sin(t), 2 * std::cos(t), z);
}

template <class T> std::vector<orv::TripletBase<T>> as(const std::vector<D3>& pts) {
    std::vector<orv::TripletBase<T>> out;
    for (const D3& p : pts) {
        out.emplace_back(p);
    }
    return out;
}

// The continuity rule through the single-point operations: the first theta as convertART gives
// it (or near the reference), every later one near the previous output theta.
template <class P>
auto chain(const RotationAxis& axis, const std::vector<P>& pts, const double* reference) {
    std::vector<decltype(axis.convertART(pts[0]))> out;
    for (std::size_t i = 0; i < pts.size(); ++i) {
        out.push_back(i > 0       ? axis.convertARTSetHemisphere(pts[i], double(out[i - 1].t))
                      : reference ? axis.convertARTSetHemisphere(pts[i], *reference)
                                  : axis.convertART(pts[i]));
    }
    return out;
}

template <class R, class T> bool sameRecord(const R& rec, const orv::TripletBase<T>& t) {
    return sameBits(rec.a, t.x) && sameBits(rec.r, t.y) && sameBits(rec.t, t.z);
}

// Every continuous and plain list form of one precision against the single-point operations.
template <class T, class R>
::testing::AssertionResult listsMatchSinglePoints(const RotationAxis& axis,
                                                  const std::vector<orv::TripletBase<T>>& pts,
                                                  double reference) {
    using P = orv::TripletBase<T>;
    const auto plain = chain(axis, pts, nullptr), near = chain(axis, pts, &reference);
    std::vector<R> recs(3), hemi, ar;
    std::vector<P> trip(7), hemiTrip, back, fromRad;
    axis.convertART(pts, recs);
    axis.convertART(pts, trip);
    axis.convertARTSetHemisphere(pts, hemi, reference);
    axis.convertARTSetHemisphere(pts, hemiTrip, reference);
    axis.convertAR(pts, ar, reference);
    axis.convertXYZ(recs, back);
    std::vector<R> art;
    std::vector<P> ax, rad, th;
    axis.convertARTWithDirections(pts, art, ax, rad, th);
    std::vector<P> radians;
    for (const R& rec : recs) {
        radians.emplace_back(rec.a, rec.r, T(double(rec.t) / 45.0));
    }
    axis.convertXYZThetaRad(radians, fromRad);
    if (recs.size() != pts.size() || trip.size() != pts.size() || back.size() != pts.size() ||
        fromRad.size() != pts.size() || th.size() != pts.size()) {
        return ::testing::AssertionFailure() << "output length";
    }
    for (std::size_t i = 0; i < pts.size(); ++i) {
        R c;
        P a, r, t;
        axis.convertARTWithDirections(pts[i], c, a, r, t);
        const T z = radians[i].z;
        const R theta{radians[i].x, radians[i].y,
                      std::is_same<T, float>::value ? T(double(T(z * T(180))) / kPi)
                                                    : T(double(z) * 180.0 / kPi)};
        const bool ok = recordEq(recs[i], plain[i]) && sameRecord(plain[i], trip[i]) &&
                        recordEq(hemi[i], near[i]) && sameRecord(near[i], hemiTrip[i]) &&
                        recordEq(ar[i], axis.convertAR(pts[i], reference)) &&
                        bitsEq(back[i], axis.convertXYZ(recs[i])) &&
                        bitsEq(fromRad[i], axis.convertXYZ(theta)) && recordEq(art[i], c) &&
                        bitsEq(ax[i], a) && bitsEq(rad[i], r) && bitsEq(th[i], t);
        if (!ok) {
            return ::testing::AssertionFailure() << "element " << i << " of " << pts.size();
        }
    }
    return ::testing::AssertionSuccess();
}

} // namespace

// Random points about a skew axis (the list crosses the cut about every other point and the
// corrections add up to many turns), points on the cut with steps of exactly half a turn, a NaN
// point inside a list, and far references where a step just short of half a turn can round
// onto it.
TEST(AxisLists, EveryElementIsTheSinglePointResult) {
    std::mt19937_64 gen(7);
    std::uniform_real_distribution<double> c(-100, 100);
    const RotationAxis skew(D3(1, -2, 3), D3(0.3, -0.2, 1), 30, D3(1, 0, 0));
    std::vector<D3> pts(100000);
    for (D3& p : pts) {
        p = D3(c(gen), c(gen), c(gen));
    }
    EXPECT_TRUE((listsMatchSinglePoints<double, DART>(skew, pts, -7.5e3)));
    EXPECT_TRUE((listsMatchSinglePoints<float, ART>(skew, as<float>(pts), 1e9)));
    std::vector<DART> list;
    skew.convertART(pts, list);
    EXPECT_GT(std::fabs(list.back().t), 1000.0);

    std::vector<D3> edge, near;
    for (int i = 0; i < 700; ++i) {
        const D3 choices[] = {D3(2, 0, i), D3(-2, 0, i), D3(0, -2, i), D3(0, 2, i), at(i * 0.7)};
        edge.push_back(choices[(i * 7 + i / 3) % 5]);
        near.push_back(at(i % 2 == 0 ? 0.0 : (i % 4 == 1 ? 179.99999 : -179.99999)));
    }
    edge[350] = D3(N, 0, 0);
    for (const double far : {0.0, 1e12, -3.3e13, 7.7e9, -2e5}) {
        EXPECT_TRUE((listsMatchSinglePoints<double, DART>(zAxis(), edge, far))) << far;
        EXPECT_TRUE((listsMatchSinglePoints<float, ART>(zAxis(), as<float>(edge), far))) << far;
        EXPECT_TRUE((listsMatchSinglePoints<double, DART>(zAxis(), near, far))) << far;
    }
    // The radian form: the reference times 180 / pi, theta times pi / 180 formed in double.
    const std::vector<F3> f = as<float>(edge);
    std::vector<ART> deg;
    std::vector<F3> rad;
    zAxis().convertARTSetHemisphere(f, deg, 2.0 * 180.0 / kPi);
    zAxis().convertARTSetHemisphereRad(f, rad, 2.0);
    for (std::size_t i = 0; i < f.size(); ++i) {
        ASSERT_TRUE(tripletEq(rad[i], deg[i].a, deg[i].r, float(double(deg[i].t) * kPi / 180.0)));
    }
    // The doublets keep a and r of convertAR with theta 0.
    std::vector<Doublet> ab(50);
    zAxis().convertAR(f, ab);
    ASSERT_EQ(ab.size(), f.size());
    for (std::size_t i = 0; i < f.size(); ++i) {
        const ART single = zAxis().convertAR(f[i], 0.0);
        ASSERT_TRUE(sameBits(ab[i].x, single.a) && sameBits(ab[i].y, single.r)) << i;
    }
}

// The array form the Python module converts numpy's memory with: the list forms' records, also
// when the array is split anywhere and each part continued from the last theta before it (how the
// module converts the rows of other layouts, chunk by chunk); nothing written or refused for no
// points; the list form's refusal before anything is written.
template <class T, class R> void rangesMatchLists(const std::vector<D3>& points) {
    const RotationAxis skew(D3(1, -2, 3), D3(0.3, -0.2, 1), 30, D3(1, 0, 0));
    const std::vector<orv::TripletBase<T>> pts = as<T>(points);
    const std::size_t n = pts.size();
    std::vector<R> list, hemi;
    skew.convertART(pts, list);
    skew.convertARTSetHemisphere(pts, hemi, -725.0);
    const R mark{T(-1), T(-2), T(-3)};
    std::vector<R> whole(n + 1, mark), parts(n + 1, mark);
    orv::detail::convertARTRange(skew, pts.data(), n, whole.data(), nullptr);
    const double reference = -725.0;
    for (std::size_t first = 0; first < n; first += 997) {
        const std::size_t m = std::min<std::size_t>(997, n - first);
        const double near = first == 0 ? 0.0 : double(parts[first - 1].t);
        orv::detail::convertARTRange(skew, pts.data() + first, m, parts.data() + first,
                                     first == 0 ? &reference : &near);
    }
    for (std::size_t i = 0; i < n; ++i) {
        ASSERT_TRUE(recordEq(whole[i], list[i]) && recordEq(parts[i], hemi[i])) << i;
    }
    ASSERT_TRUE(recordEq(whole[n], mark) && recordEq(parts[n], mark));
    const RotationAxis unset;
    EXPECT_NO_THROW(orv::detail::convertARTRange(unset, pts.data(), 0, whole.data(), nullptr));
    EXPECT_TRUE(throwsWith<orv::data::invalid>(
        [&] { orv::detail::convertARTRange(unset, pts.data(), n, whole.data(), &reference); },
        "MachineData", "convertART", kNotInitialised));
    EXPECT_TRUE(recordEq(whole[0], list[0]) && recordEq(whole[n], mark));
}

TEST(AxisLists, ArrayRangesAreTheListForms) {
    std::mt19937_64 gen(11);
    std::uniform_real_distribution<double> c(-100, 100);
    std::vector<D3> pts(5000);
    for (D3& p : pts) {
        p = D3(c(gen), c(gen), c(gen));
    }
    pts[996] = D3(N, 0, 0);
    pts[997] = D3(1, -2, 3);
    rangesMatchLists<double, DART>(pts);
    rangesMatchLists<float, ART>(pts);
}

// What continuity means, in worked examples: thetas in degrees, exact where the arithmetic is.
TEST(AxisLists, ContinuityRows) {
    const RotationAxis axis = zAxis();
    const struct {
        std::vector<D3> points;
        double reference; // NaN: convertART; otherwise convertARTSetHemisphere
        std::vector<double> thetas;
    } rows[] = {
        {{at(170), at(-170), at(-150)}, N, {170, 190, 210}},
        {{D3(-1, 0, -2), D3(1, 0, 5)}, N, {90, 270}}, // a step of exactly -180 becomes +180
        {{D3(1, 0, 5), D3(-1, 0, -2)}, N, {-90, -270}},
        {{at(10), at(100), at(-170), at(20)}, 720, {730, 820, 910, 740}},      // k = -2 first
        {{at(170), D3(I, 0, 0), at(-170), at(-150)}, N, {170, N, -170, -150}}, // NaN breaks
        {{at(10), D3(M, 0, 0), at(100)}, N, {10, -90, -260}},
        {{at(170), at(-170)}, I, {170, 190}}, // the first theta kept
        {{at(-170), at(170)}, N, {-170, -190}},
    };
    for (const auto& row : rows) {
        std::vector<DART> out;
        std::vector<ART> outF;
        std::vector<F3> inF;
        for (const D3& p : row.points) { // the marker of each precision
            inF.push_back(p.x == M ? F3(MF, 0, 0) : F3(p));
        }
        if (std::isnan(row.reference)) {
            axis.convertART(row.points, out);
            axis.convertART(inF, outF);
        } else {
            axis.convertARTSetHemisphere(row.points, out, row.reference);
            axis.convertARTSetHemisphere(inF, outF, row.reference);
        }
        for (std::size_t i = 0; i < row.thetas.size(); ++i) {
            const double want = row.thetas[i];
            EXPECT_TRUE(same(out[i].t, want) || nearScale(out[i].t, want, 1024.0, 2))
                << i << ": " << out[i].t;
            EXPECT_TRUE(same(outF[i].t, want) || nearScale(outF[i].t, float(want), 1024.f, 2))
                << i << ": " << outF[i].t;
        }
    }
}

// Each list form refused on an unset axis (or, towards points, a zero period angle): the labels,
// and the outputs as the form fills them. Every output starts as one marked element; filled in
// place it comes back resized to the input's two elements (the marked one kept, the new one zero),
// filled aside it comes back unchanged. Then the same forms with empty inputs: nothing is
// converted, nothing refused, and every output written ends empty.
TEST(AxisLists, RefusalsAndEmptyListsLeaveOutputsAsTheFillRuleSays) {
    const RotationAxis unset;
    RotationAxis noPeriod = zAxis();
    noPeriod.setAngle(0);
    std::vector<F3> inF{F3(1, 0, 5), F3(0, 1, 2)};
    std::vector<D3> inD{D3(1, 0, 5), D3(0, 1, 2)};
    std::vector<ART> recF(2);
    std::vector<DART> recD(2);
    std::vector<ART> art;
    std::vector<DART> dart;
    std::vector<F3> f, f2, f3;
    std::vector<D3> d, d2, d3;
    std::vector<Doublet> ab;
    const Refusal toART{"MachineData", "convertART", kNotInitialised},
        toAR{"MachineData", "convertAR", kNotInitialised},
        toXYZ{"RotationAxis", "getRotationMatrix", kInvalidRotation};
    const struct {
        std::function<void()> call;
        Refusal refusal;
        std::size_t grown; // outputs filled in place, which grow to two elements
    } rows[] = {
        {[&] { unset.convertART(inF, art); }, toART, 1},
        {[&] { unset.convertART(inD, dart); }, toART, 1},
        {[&] { unset.convertART(inF, f); }, toART, 0},
        {[&] { unset.convertART(inD, d); }, toART, 0},
        {[&] { unset.convertARTSetHemisphere(inF, art, 0); }, toART, 0},
        {[&] { unset.convertARTSetHemisphere(inD, dart, 0); }, toART, 0},
        {[&] { unset.convertARTSetHemisphere(inF, f, 0); }, toART, 1}, // resized, built aside
        {[&] { unset.convertARTSetHemisphere(inD, d, 0); }, toART, 1},
        {[&] { unset.convertARTSetHemisphereRad(inF, f, 0); }, toART, 1},
        {[&] { unset.convertAR(inF, art, 1); }, toAR, 0},
        {[&] { unset.convertAR(inD, dart, 1); }, toAR, 0},
        {[&] { unset.convertAR(inF, ab); }, toAR, 1},
        {[&] { unset.convertARTWithDirections(inF, art, f, f2, f3); }, toART, 4},
        {[&] { unset.convertARTWithDirections(inD, dart, d, d2, d3); }, toART, 4},
        {[&] { unset.convertXYZ(recF, f); }, toXYZ, 1},
        {[&] { noPeriod.convertXYZ(recD, d); }, toXYZ, 1},
        {[&] { noPeriod.convertXYZThetaRad(inF, f); }, toXYZ, 1},
        {[&] { unset.convertXYZThetaRad(inD, d); }, toXYZ, 1},
    };
    // The first element still marked, any further one zero (the bits of a zero element).
    const auto resizedOnly = [](const auto& v, const auto& marked) {
        using E = typename std::decay_t<decltype(v)>::value_type;
        const E zero{};
        bool ok = v.empty() || std::memcmp(&v[0], &marked, sizeof(E)) == 0;
        for (std::size_t i = 1; i < v.size(); ++i) {
            ok = ok && std::memcmp(&v[i], &zero, sizeof(E)) == 0;
        }
        return ok;
    };
    for (const bool empty : {false, true}) {
        for (const auto& row : rows) {
            art.assign(1, ART{7, 7, 7});
            dart.assign(1, DART{7, 7, 7});
            for (auto* v : {&f, &f2, &f3}) {
                v->assign(1, F3(7, 7, 7));
            }
            for (auto* v : {&d, &d2, &d3}) {
                v->assign(1, D3(7, 7, 7));
            }
            ab.assign(1, Doublet(7, 7));
            if (empty) {
                row.call();
            } else {
                EXPECT_TRUE(throwsWith<orv::data::invalid>(row.call, row.refusal)) << row.grown;
            }
            const std::size_t sizes = art.size() + dart.size() + f.size() + f2.size() + f3.size() +
                                      d.size() + d2.size() + d3.size() + ab.size();
            const std::size_t written = row.grown == 4 ? 4 : 1;
            EXPECT_EQ(sizes, empty ? 9 - written : 9 + row.grown) << row.refusal.op;
            EXPECT_TRUE(resizedOnly(art, ART{7, 7, 7}) && resizedOnly(dart, DART{7, 7, 7}) &&
                        resizedOnly(f, F3(7, 7, 7)) && resizedOnly(f2, F3(7, 7, 7)) &&
                        resizedOnly(f3, F3(7, 7, 7)) && resizedOnly(d, D3(7, 7, 7)) &&
                        resizedOnly(d2, D3(7, 7, 7)) && resizedOnly(d3, D3(7, 7, 7)) &&
                        resizedOnly(ab, Doublet(7, 7)));
        }
        inF.clear(), inD.clear(), recF.clear(), recD.clear();
    }
    // The rotations work on the list itself: an empty one stays empty.
    RotationAxis writable;
    unset.rotateByAngle(inF, 10), unset.rotateByAngle(inD, 10), unset.rotateByPeriod(inF, 1);
    unset.rotateByPeriod(inD, 1), writable.projectToTheta(inF, 10),
        writable.projectToTheta(inD, 10);
    EXPECT_TRUE(inF.empty() && inD.empty());
}

// One list passed as input and output gives the result of two separate lists.
TEST(AxisLists, OneListAsInputAndOutput) {
    const RotationAxis axis = zAxis();
    const std::vector<D3> pts{at(170, 1), at(-170, 2), at(-150, 3), D3(N, 0, 0)};
    const std::vector<F3> ptsF = as<float>(pts);
    const auto sameList = [](const auto& a, const auto& b) {
        bool ok = a.size() == b.size();
        for (std::size_t i = 0; ok && i < a.size(); ++i) {
            ok = bitsEq(a[i], b[i]);
        }
        return ok;
    };
    const auto both = [&](auto form) {
        std::vector<D3> separate, shared = pts;
        form(pts, separate);
        form(shared, shared);
        std::vector<F3> separateF, sharedF = ptsF;
        form(ptsF, separateF);
        form(sharedF, sharedF);
        return sameList(shared, separate) && sameList(sharedF, separateF);
    };
    EXPECT_TRUE(both([&](const auto& in, auto& out) { axis.convertART(in, out); }));
    EXPECT_TRUE(
        both([&](const auto& in, auto& out) { axis.convertARTSetHemisphere(in, out, 400); }));
    EXPECT_TRUE(both([&](const auto& in, auto& out) { axis.convertXYZThetaRad(in, out); }));
    std::vector<F3> separate, shared = ptsF;
    axis.convertARTSetHemisphereRad(ptsF, separate, 7);
    axis.convertARTSetHemisphereRad(shared, shared, 7);
    EXPECT_TRUE(sameList(shared, separate));
    // The input may be one of the direction lists.
    std::vector<DART> art, art2;
    std::vector<D3> axial, radial, theta, inout = pts, axial2, theta2;
    axis.convertARTWithDirections(pts, art, axial, radial, theta);
    axis.convertARTWithDirections(inout, art2, axial2, inout, theta2);
    EXPECT_TRUE(sameList(inout, radial) && sameList(theta2, theta) && sameList(axial2, axial));
}
