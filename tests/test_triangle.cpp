// Triangle: measures, angles, bisector points and in-centre paths against the documented steps
// written out here in plain double arithmetic (order of every sum and product, the guard epsilon
// in every denominator), on random triangles and on degenerate and undefined ones.
#include "MathOracle.h"
#include "TestSupport.h"

#include <cstring>
#include <iostream>
#include <random>

using namespace orvtest;
using orv::Triangle;

namespace {

constexpr double kEps = 2.2250738585072014e-308;

double dist(const D3& p, const D3& q) { // length() of q - p, the undefined marker included
    const D3 d = q - p;
    if (d.x == M || d.y == M || d.z == M) {
        return U;
    }
    return std::sqrt((d.x * d.x + d.y * d.y) + d.z * d.z);
}
double sq(const D3& d) {
    return (d.x * d.x + d.y * d.y) + d.z * d.z;
}
D3 mul(const D3& p, double s) {
    return D3(p.x * s, p.y * s, p.z * s);
}
double angleOpposite(double x, double y, double z) { // acos((z^2 + y^2 - x^2) / (2 y z + eps))
    return mathoracle::acos(((z * z + y * y) - x * x) / ((2.0 * y) * z + kEps));
}
double ratioToSide(const D3& p, const D3& q, const D3& r, double len) {
    return 1.0 - ((sq(q - p) + len * len) - sq(r - p)) * 0.5 / (len * len + kEps);
}

struct Measures {
    double a, b, c, perimeter, s, area, inRadius;
    D3 inCenter;
};
Measures measures(const D3& A, const D3& B, const D3& C) {
    Measures m;
    m.a = dist(B, C);
    m.b = dist(C, A);
    m.c = dist(A, B);
    m.perimeter = (m.a + m.b) + m.c;
    m.s = m.perimeter * 0.5;
    m.area = std::sqrt((((m.s - m.a) * m.s) * (m.s - m.b)) * (m.s - m.c));
    m.inRadius = m.area / (m.s + kEps);
    const D3 sum = (mul(A, m.a) + mul(B, m.b)) + mul(C, m.c);
    const double den = m.perimeter + kEps;
    m.inCenter = D3(sum.x / den, sum.y / den, sum.z / den);
    return m;
}

// The in-centre path towards the edge (p, q) of length len, and its ratio.
std::vector<D3> path(const Measures& m, const D3& p, const D3& q, double len, int n, bool onEdge,
                     double& ratio) {
    std::vector<D3> l{m.inCenter};
    for (int i = 1; i < n; ++i) {
        const D3 prev = l.back();
        const double dQ = dist(prev, q), dP = dist(prev, p);
        const D3 sum = (mul(prev, len) + mul(p, dQ)) + mul(q, dP);
        const double den = ((dQ + len) + dP) + kEps;
        l.push_back(D3(sum.x / den, sum.y / den, sum.z / den));
    }
    ratio = onEdge ? ratioToSide(l.back(), p, q, len) : 0.0;
    if (onEdge) {
        l.back() = mul(p, ratio) + mul(q, 1.0 - ratio);
    }
    return l;
}

// The area, perimeter, semi-perimeter and in-radius as the basic report prints them at 17
// significant digits (which reads back to the same double).
std::vector<double> reported(const Triangle& t) {
    std::ostringstream text;
    std::streambuf* old = std::cout.rdbuf(text.rdbuf());
    const std::streamsize precision = std::cout.precision(17);
    t.testBasicLengths("");
    std::cout.rdbuf(old);
    std::cout.precision(precision);
    std::vector<double> values;
    std::istringstream in(text.str());
    for (std::string line; std::getline(in, line);) {
        for (const char* label : {"Area:", "Perimeter:", "SemiPerimeter:", "In Radius:"}) {
            if (line.rfind(label, 0) == 0) {
                values.push_back(std::strtod(line.c_str() + std::strlen(label), nullptr));
            }
        }
    }
    return values;
}

::testing::AssertionResult matches(const Triangle& t, const D3& A, const D3& B, const D3& C) {
    Triangle tri = t; // a copy holds the same stored values
    const Measures m = measures(A, B, C);
    const std::vector<double> printed = reported(t);
    if (printed.size() != 4 || !same(printed[0], m.area) || !same(printed[1], m.perimeter) ||
        !same(printed[2], m.s) || !same(printed[3], m.inRadius)) {
        return ::testing::AssertionFailure() << "area, perimeter, s or in-radius";
    }
    double la, lb, lc, angleB, angleC;
    tri.getLenghts(la, lb, lc);
    tri.getAnglesBandC(angleB, angleC);
    bool ok = three(la, lb, lc, m.a, m.b, m.c, false) && bitsEq(tri.getInCenter(), m.inCenter) &&
              three(angleB, angleC, 0.0, angleOpposite(m.b, m.a, m.c), angleOpposite(m.c, m.b, m.a),
                    0.0, false);
    const double ratios[3] = {tri.getRatioInCenterSweepToSideA(),
                              tri.getRatioInCenterSweepToSideB(),
                              tri.getRatioInCenterSweepToSideC()};
    const double x[3] = {m.b, m.c, m.a}, y[3] = {m.c, m.a, m.b}, z[3] = {m.a, m.b, m.c};
    const D3 P[3] = {B, C, A}, Q[3] = {C, A, B};
    const double len[3] = {m.a, m.b, m.c}, near[3] = {m.b, m.c, m.a}, far[3] = {m.c, m.a, m.b};
    for (int e = 0; e < 3; ++e) {
        const double tx = angleOpposite(x[e], y[e], z[e]), ty = angleOpposite(y[e], x[e], z[e]);
        ok = ok && same(ratios[e], tx / (ty + tx));
        D3 foot;
        double w;
        (e == 0   ? tri.getBisectorPointEdgeA(foot, w)
         : e == 1 ? tri.getBisectorPointEdgeB(foot, w)
                  : tri.getBisectorPointEdgeC(foot, w));
        const double want = near[e] / ((near[e] + far[e]) + kEps);
        ok = ok && same(w, want) && sameAs(foot, mul(P[e], want) + mul(Q[e], 1.0 - want));
        for (const bool onEdge : {false, true}) {
            double ratio = 7, ratioLast = 7;
            std::vector<D3> got(9, D3(7, 7, 7)); // longer than the path: cut to its length
            D3 last;
            const int n = 1 + e * 3 + onEdge;
            (e == 0   ? t.followInCenterToSideA(n, got, ratio, onEdge)
             : e == 1 ? t.followInCenterToSideB(n, got, ratio, onEdge)
                      : t.followInCenterToSideC(n, got, ratio, onEdge));
            (e == 0   ? t.followInCenterToSideA(n, last, ratioLast, onEdge)
             : e == 1 ? t.followInCenterToSideB(n, last, ratioLast, onEdge)
                      : t.followInCenterToSideC(n, last, ratioLast, onEdge));
            double wantRatio;
            const std::vector<D3> want = path(m, P[e], Q[e], len[e], n, onEdge, wantRatio);
            ok = ok && got.size() == want.size() && same(ratio, wantRatio) &&
                 same(ratioLast, wantRatio) && sameAs(last, want.back());
            for (std::size_t i = 0; ok && i < want.size(); ++i) {
                ok = sameAs(got[i], want[i]);
            }
        }
        if (!ok) {
            return ::testing::AssertionFailure() << "edge " << e;
        }
    }
    return ok ? ::testing::AssertionSuccess() : ::testing::AssertionFailure() << "measures";
}

} // namespace

TEST(Triangle, StepsOnRandomTriangles) {
    std::mt19937_64 gen(11);
    std::uniform_real_distribution<double> c(-10, 10);
    for (int i = 0; i < 2000; ++i) {
        const D3 A(c(gen), c(gen), c(gen)), B(c(gen), c(gen), c(gen)), C(c(gen), c(gen), c(gen));
        ASSERT_TRUE(matches(Triangle(A, B, C), A, B, C)) << i;
        Triangle t;
        t.setTriangle(F3(A), F3(B), F3(C)); // widened exactly
        ASSERT_TRUE(matches(t, D3(F3(A)), D3(F3(B)), D3(F3(C)))) << i;
    }
}

// Degenerate and undefined triangles go through the same steps: the guard epsilon keeps every
// denominator away from 0, and the undefined marker is seen only in a signed difference.
TEST(Triangle, DegenerateAndUndefinedTriangles) {
    const struct {
        D3 a, b, c;
        D3 lengths, inCenter, angles; // angles: at B, at C, ratio of edge a
    } rows[] = {
        {D3(7, 8, 9), D3(7, 8, 9), D3(7, 8, 9), D3(0, 0, 0), D3(0, 0, 0),
         D3(kPi / 2, kPi / 2, 0.5)},
        {D3(0, 0, 0), D3(1, 0, 0), D3(2, 0, 0), D3(1, 2, 1), D3(1, 0, 0), D3(kPi, 0, 1)},
        {D3(0, 0, 0), D3(DN, 0, 0), D3(0, DN, 0), D3(0, 0, 0), D3(0, 0, 0),
         D3(kPi / 2, kPi / 2, 0.5)},
        {D3(N, 0, 0), D3(4, 0, 0), D3(0, 3, 0), D3(5, N, N), D3(N, N, N), D3(N, N, N)},
        {D3(I, 0, 0), D3(4, 0, 0), D3(0, 3, 0), D3(5, I, I), D3(N, N, N), D3(N, N, N)},
        // The marker in A is seen in A - C (b) but not in B - A, which overflows (c).
        {D3(M, 0, 0), D3(4, 0, 0), D3(0, 3, 0), D3(5, U, I), D3(N, N, N), D3(N, N, N)},
        {D3(0, 0, 0), D3(M, 0, 0), D3(0, 3, 0), D3(I, 3, U), D3(N, N, N), D3(N, N, N)},
    };
    for (const auto& r : rows) {
        const Triangle tri(r.a, r.b, r.c);
        EXPECT_TRUE(matches(tri, r.a, r.b, r.c)) << r.a;
        Triangle t = tri;
        double la, lb, lc, angleB, angleC;
        t.getLenghts(la, lb, lc);
        t.getAnglesBandC(angleB, angleC);
        EXPECT_TRUE(three(la, lb, lc, r.lengths.x, r.lengths.y, r.lengths.z, false)) << r.a;
        EXPECT_TRUE(sameAs(t.getInCenter(), r.inCenter)) << r.a;
        EXPECT_TRUE(three(angleB, angleC, t.getRatioInCenterSweepToSideA(), r.angles.x, r.angles.y,
                          r.angles.z, false))
            << r.a;
    }
    // The float marker arrives as the undefined value, an ordinary number to the edge lengths.
    Triangle fromFloat(F3(MF, 0, 0), F3(4, 0, 0), F3(0, 3, 0));
    double la, lb, lc;
    fromFloat.getLenghts(la, lb, lc);
    EXPECT_TRUE(three(la, lb, lc, 5.0, U, U, false));
}

// Worked examples: the 3-4-5 triangle and the default equilateral one.
TEST(Triangle, WorkedExamples) {
    Triangle right(D3(0, 0, 0), D3(4, 0, 0), D3(0, 3, 0));
    double a, b, c;
    right.getLenghts(a, b, c);
    EXPECT_TRUE(three(a, b, c, 5.0, 3.0, 4.0, true) &&
                tripletEq(right.getInCenter(), 1.0, 1.0, 0.0));
    std::vector<D3> l;
    double ratio;
    right.followInCenterToSideA(1, l, ratio, true); // where the inscribed circle touches edge a
    EXPECT_TRUE(l.size() == 1 && nearScale(l[0], D3(1.6, 1.8, 0), 2.0, 2) &&
                nearScale(ratio, 0.4, 1.0, 2));
    right.followInCenterToSideA(100000, l, ratio, false); // crowds onto the edge's line
    EXPECT_LE(ulpDistance(3.0 * l.back().x + 4.0 * l.back().y, 12.0), 8);

    Triangle unit;
    unit.getLenghts(a, b, c);
    EXPECT_TRUE(c == 1.0 && a == 1.0 + 0x1p-52 && b == a);
    EXPECT_LE(ulpDistance(unit.getRatioInCenterSweepToSideA(), 0.5), 1);
    D3 A, B, C;
    unit.getTriangle(A, B, C);
    EXPECT_TRUE(tripletEq(C, 0.5, 0.866025403784439, 0.0) && tripletEq(B, 1.0, 0.0, 0.0));

    // A count below 1 is refused and leaves the outputs.
    l.assign(2, D3(7, 7, 7));
    ratio = 7;
    D3 last(7, 7, 7);
    const char* msg = "Number of path points must be at least 1.";
    const struct {
        std::function<void()> call;
        const char* op;
    } rows[] = {
        {[&] { right.followInCenterToSideA(0, l, ratio, true); }, "followInCenterToSideA"},
        {[&] { right.followInCenterToSideB(-1, l, ratio, false); }, "followInCenterToSideB"},
        {[&] { right.followInCenterToSideC(0, l, ratio, true); }, "followInCenterToSideC"},
        {[&] { right.followInCenterToSideA(0, last, ratio, true); }, "followInCenterToSideA"},
        {[&] { right.followInCenterToSideB(0, last, ratio, true); }, "followInCenterToSideB"},
        {[&] { right.followInCenterToSideC(-5, last, ratio, true); }, "followInCenterToSideC"},
    };
    for (const auto& row : rows) {
        EXPECT_TRUE(throwsWith<orv::data::invalid>(row.call, "Triangle", row.op, msg));
    }
    EXPECT_TRUE(l.size() == 2 && ratio == 7 && tripletEq(last, 7.0, 7.0, 7.0));
}
