// Triangle with arbitrary vertices (either precision), path counts and flags. Only the operations
// that neither print nor write files are driven. Properties:
//  - nothing throws except a path count below 1, which is refused with the documented labels and
//    leaves the list, point and ratio untouched;
//  - the stored measures follow the undefined-edge rule, a copy holds the same bits, queries
//    change nothing;
//  - a path has exactly count points, starts at the in-centre, the single-point form returns its
//    last point and ratio bit for bit, and the ratio is 0 without lastOnEdge;
//  - for a well-shaped triangle: the in-centre lies inside, each path step at least halves the
//    distance from the edge's line, and with lastOnEdge the last point lies on the edge.

#include "FuzzSupport.h"

#include <vector>

using namespace orvfuzz;
using orv::Triangle;
using D3 = orv::TripletBase<double>;
using F3 = orv::TripletBase<float>;

namespace {

constexpr double kMarker = 1.7976931348623157e308;

double expectedLength(const D3& from, const D3& to) {
    const D3 d = to - from;
    if (d.x == kMarker || d.y == kMarker || d.z == kMarker) {
        return 3.4028234663852886e38;
    }
    return std::sqrt((d.x * d.x + d.y * d.y) + d.z * d.z);
}

// Distance of p from the line through q and r (long double, for bounds only).
long double lineDistance(const D3& p, const D3& q, const D3& r) {
    const long double ex = static_cast<long double>(r.x) - q.x;
    const long double ey = static_cast<long double>(r.y) - q.y;
    const long double ez = static_cast<long double>(r.z) - q.z;
    const long double px = static_cast<long double>(p.x) - q.x;
    const long double py = static_cast<long double>(p.y) - q.y;
    const long double pz = static_cast<long double>(p.z) - q.z;
    const long double cx = py * ez - pz * ey;
    const long double cy = pz * ex - px * ez;
    const long double cz = px * ey - py * ex;
    return std::sqrt(cx * cx + cy * cy + cz * cz) / std::sqrt(ex * ex + ey * ey + ez * ez);
}

using ListForm = void (Triangle::*)(int, std::vector<D3>&, double&, bool) const;
using PointForm = void (Triangle::*)(int, D3&, double&, bool) const;

struct Edge {
    ListForm list;
    PointForm point;
    const char* op;
};

const Edge kEdges[3] = {
    {&Triangle::followInCenterToSideA, &Triangle::followInCenterToSideA, "followInCenterToSideA"},
    {&Triangle::followInCenterToSideB, &Triangle::followInCenterToSideB, "followInCenterToSideB"},
    {&Triangle::followInCenterToSideC, &Triangle::followInCenterToSideC, "followInCenterToSideC"},
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const bool wellShaped = in.ConsumeBool();
    D3 v[3];
    for (D3& p : v) {
        p = wellShaped ? drawModerateTriplet(in, 100.0) : drawTriplet(in);
    }
    Triangle tri;
    if (in.ConsumeBool()) {
        const F3 a(v[0]), b(v[1]), c(v[2]);
        v[0] = D3(a);
        v[1] = D3(b);
        v[2] = D3(c);
        expectOk([&] { tri.setTriangle(a, b, c); });
    } else {
        expectOk([&] { tri.setTriangle(v[0], v[1], v[2]); });
    }

    double la, lb, lc;
    tri.getLenghts(la, lb, lc);
    check(sameBits(la, expectedLength(v[1], v[2])), "length a");
    check(sameBits(lb, expectedLength(v[2], v[0])), "length b");
    check(sameBits(lc, expectedLength(v[0], v[1])), "length c");

    // Copies hold the same bits; the queries run on the copy and must not change it.
    const Triangle copy(tri);
    Triangle assigned;
    assigned = tri;
    D3 pa, pb, pc;
    assigned.getTriangle(pa, pb, pc);
    check(sameBits(pa, v[0]) && sameBits(pb, v[1]) && sameBits(pc, v[2]), "vertices stored");
    check(sameBits(copy.getInCenter(), tri.getInCenter()), "copy in-centre");

    double angleB = 0.0, angleC = 0.0;
    assigned.getAnglesBandC(angleB, angleC);
    check(std::isnan(angleB) || (angleB >= 0.0 && angleB <= 3.1415926535897936), "angle B range");
    check(std::isnan(angleC) || (angleC >= 0.0 && angleC <= 3.1415926535897936), "angle C range");
    const double ratios[3] = {assigned.getRatioInCenterSweepToSideA(),
                              assigned.getRatioInCenterSweepToSideB(),
                              assigned.getRatioInCenterSweepToSideC()};
    D3 foot;
    double t = 0.0;
    assigned.getBisectorPointEdgeA(foot, t);
    assigned.getBisectorPointEdgeB(foot, t);
    assigned.getBisectorPointEdgeC(foot, t);
    double la2, lb2, lc2;
    assigned.getLenghts(la2, lb2, lc2);
    check(sameBits(la2, la) && sameBits(lb2, lb) && sameBits(lc2, lc), "queries change nothing");
    check(sameBits(assigned.getInCenter(), tri.getInCenter()), "queries keep the in-centre");

    const D3& centre = tri.getInCenter();
    const D3 ends[3][2] = {{v[1], v[2]}, {v[2], v[0]}, {v[0], v[1]}};
    const long double scale = norm(v[0]) + norm(v[1]) + norm(v[2]);
    // Well shaped: finite moderate vertices, no edge shorter than a hundredth of the longest, and
    // an area well away from 0 (the smallest height at least a hundredth of the longest edge).
    const double longest = std::fmax(la, std::fmax(lb, lc));
    bool shaped = wellShaped && longest > 1e-2 && std::fmin(la, std::fmin(lb, lc)) > 1e-2 * longest;
    for (int e = 0; shaped && e < 3; ++e) {
        shaped = lineDistance(v[e], ends[e][0], ends[e][1]) > 1e-2L * longest;
    }
    if (shaped) {
        for (int e = 0; e < 3; ++e) {
            const long double h = lineDistance(v[e], ends[e][0], ends[e][1]);
            const long double d = lineDistance(centre, ends[e][0], ends[e][1]);
            check(d > 0.0L && d < h, "in-centre inside the triangle");
            check(ratios[e] > 0.0 && ratios[e] < 1.0, "angle ratio within (0, 1)");
        }
        check(angleB + angleC < 3.1415926535897936, "angles of a triangle");
    }

    const int rounds = in.ConsumeIntegralInRange<int>(1, 4);
    for (int round = 0; round < rounds; ++round) {
        const int e = in.ConsumeIntegralInRange<int>(0, 2);
        int count = in.ConsumeIntegralInRange<int>(-3, 60);
        if (in.ConsumeIntegralInRange<int>(0, 15) == 0) {
            count = std::numeric_limits<int>::min();
        }
        const bool lastOnEdge = in.ConsumeBool();
        const Edge& edge = kEdges[e];

        // The caller's outputs start with values that a refusal must leave in place.
        std::vector<D3> path(static_cast<std::size_t>(in.ConsumeIntegralInRange<int>(0, 5)),
                             D3(-7.0, -7.0, -7.0));
        const std::size_t before = path.size();
        double ratio = -3.5;
        const bool refused = expectOutcome<orv::data::invalid>(
            count < 1, Refusal{"Triangle", edge.op, "Number of path points must be at least 1."},
            [&] { (tri.*edge.list)(count, path, ratio, lastOnEdge); });
        D3 last(-9.0, -9.0, -9.0);
        double lastRatio = -4.5;
        expectOutcome<orv::data::invalid>(
            count < 1, Refusal{"Triangle", edge.op, "Number of path points must be at least 1."},
            [&] { (tri.*edge.point)(count, last, lastRatio, lastOnEdge); });
        if (refused) {
            check(path.size() == before && ratio == -3.5, "refused path leaves the list");
            for (const D3& p : path) {
                check(sameBits(p, D3(-7.0, -7.0, -7.0)), "refused path leaves the points");
            }
            check(sameBits(last, D3(-9.0, -9.0, -9.0)) && lastRatio == -4.5,
                  "refused path leaves the point");
            continue;
        }
        check(path.size() == static_cast<std::size_t>(count), "path length");
        check((count == 1 && lastOnEdge) || sameBits(path[0], centre),
              "path starts at the in-centre");
        check(sameBits(last, path.back()) && sameBits(lastRatio, ratio), "point form = last");
        check(lastOnEdge || ratio == 0.0, "ratio 0 without lastOnEdge");
        if (!shaped) {
            continue;
        }
        const D3& p = ends[e][0];
        const D3& q = ends[e][1];
        const long double tol = 1e-12L * scale;
        const int walked = lastOnEdge ? count - 1 : count;
        for (int i = 1; i < walked; ++i) {
            const long double previous = lineDistance(path[i - 1], p, q);
            const long double now = lineDistance(path[i], p, q);
            check(now <= 0.5L * previous + tol, "each step at least halves the distance");
        }
        if (lastOnEdge) {
            check(lineDistance(path.back(), p, q) <= tol, "last point on the edge's line");
            check(ratio > 0.0 && ratio < 1.0, "last point within the edge");
        }
    }
    return 0;
}
