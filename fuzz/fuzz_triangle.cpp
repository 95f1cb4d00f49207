// Triangle with arbitrary finite vertices, counts and flags: edge lengths finite, sweep ratios in
// [0, 1], paths inside the triangle closing in on their edge, and the single-point form of a path
// its list's last point.

#include "FuzzSupport.h"

#include <vector>

using namespace orvfuzz;
using orv::Triangle;

namespace {

// Finite, with exponents from -450 (no square or product of two differences or coordinates below
// the normal range) to 120.
double drawFinite(FuzzedDataProvider& in) {
    const double m = in.ConsumeFloatingPointInRange<double>(0.5, 1.0);
    return std::ldexp(in.ConsumeBool() ? -m : m, in.ConsumeIntegralInRange<int>(-450, 120));
}

// Distance of p from the line through q and r (NaN when q and r coincide).
long double lineDistance(const D3& p, const D3& q, const D3& r) {
    using L = long double;
    const L ex = L(r.x) - q.x, ey = L(r.y) - q.y, ez = L(r.z) - q.z;
    const L px = L(p.x) - q.x, py = L(p.y) - q.y, pz = L(p.z) - q.z;
    const L cx = py * ez - pz * ey, cy = pz * ex - px * ez, cz = px * ey - py * ex;
    return std::sqrt(cx * cx + cy * cy + cz * cz) / std::sqrt(ex * ex + ey * ey + ez * ez);
}

using ListForm = void (Triangle::*)(int, std::vector<D3>&, double&, bool) const;
using PointForm = void (Triangle::*)(int, D3&, double&, bool) const;
const ListForm kLists[] = {&Triangle::followInCenterToSideA, &Triangle::followInCenterToSideB,
                           &Triangle::followInCenterToSideC};
const PointForm kPoints[] = {&Triangle::followInCenterToSideA, &Triangle::followInCenterToSideB,
                             &Triangle::followInCenterToSideC};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const bool planar = in.ConsumeBool();
    D3 v[3];
    for (D3& p : v) {
        p = D3{drawFinite(in), drawFinite(in), planar ? 0.0 : drawFinite(in)}; // in order
    }
    Triangle tri(v[0], v[1], v[2]);
    // Inside: in the box of the vertices and the origin (the points are combinations of the
    // vertices with weights summing to at most 1; the guard epsilon pulls tiny triangles towards
    // the origin). Bounds: 8 units in the last place (2^-52) of the largest vertex.
    const long double tol = 8 * 0x1p-52L * std::fmax(norm(v[0]), std::fmax(norm(v[1]), norm(v[2])));
    const auto inside = [&](const D3& p) {
        for (double D3::*c : {&D3::x, &D3::y, &D3::z}) {
            const double lo = std::fmin(0.0, std::fmin(v[0].*c, std::fmin(v[1].*c, v[2].*c)));
            const double hi = std::fmax(0.0, std::fmax(v[0].*c, std::fmax(v[1].*c, v[2].*c)));
            if (p.*c < lo - tol || p.*c > hi + tol) {
                return false;
            }
        }
        return true;
    };
    check(inside(tri.getInCenter()), "in-centre inside");
    double len[3];
    tri.getLenghts(len[0], len[1], len[2]);
    const double ratios[] = {tri.getRatioInCenterSweepToSideA(), tri.getRatioInCenterSweepToSideB(),
                             tri.getRatioInCenterSweepToSideC()};
    for (int e = 0; e < 3; ++e) {
        check(std::isfinite(len[e]) && len[e] >= 0, "finite non-negative edge lengths");
        check(std::isnan(ratios[e]) || (ratios[e] >= 0 && ratios[e] <= 1), "ratio within [0, 1]");
    }
    // A path into a list of any length, and its single-point form.
    const int e = in.ConsumeIntegralInRange<int>(0, 2),
              count = in.ConsumeIntegralInRange<int>(1, 60);
    const bool lastOnEdge = in.ConsumeBool();
    std::vector<D3> path(in.ConsumeIntegralInRange<std::size_t>(0, 70), D3(7, 7, 7));
    double ratio = -1, lastRatio = -2;
    D3 last;
    (tri.*kLists[e])(count, path, ratio, lastOnEdge);
    (tri.*kPoints[e])(count, last, lastRatio, lastOnEdge);
    check(path.size() == static_cast<std::size_t>(count), "count points");
    check(sameBits(last, path.back()) && sameBits(lastRatio, ratio), "point form: the last point");
    check((count == 1 && lastOnEdge) || sameBits(path[0], tri.getInCenter()),
          "starts at the in-centre");
    // Each point inside and its distance from the edge's line (for an edge not so short that the
    // guard epsilon matters) not above the one before; the point placed on the edge on that line.
    const D3 &p = v[(e + 1) % 3], &q = v[(e + 2) % 3];
    const bool line = len[e] > 1e-250;
    for (std::size_t i = 1; i < path.size() - (lastOnEdge ? 1 : 0); ++i) {
        check(inside(path[i]), "path inside");
        check(!line || lineDistance(path[i], p, q) <= lineDistance(path[i - 1], p, q) + tol,
              "closing in");
    }
    check(!lastOnEdge || !line || lineDistance(path.back(), p, q) <= tol, "placed on the edge");
    return 0;
}
