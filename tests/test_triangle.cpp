#include "TriangleSupport.h"

#include <climits>
#include <cmath>
#include <cstring>
#include <limits>

using orv::Triangle;
using orvtest::sameBits;
using orvtest::tripletEq;
using orvtest::ulpDistance;

namespace {
using D3 = orv::TripletBase<double>;
const double kMarker = std::numeric_limits<double>::max();
const Triangle kRight(D3(0, 0, 0), D3(4, 0, 0), D3(0, 3, 0));
const Triangle kScalene(D3(0.3, -1.2, 2.0), D3(4.1, 0.7, -0.5), D3(-2.2, 3.3, 1.1));

bool sameObject(const Triangle& x, const Triangle& y) {
    return std::memcmp(static_cast<const void*>(&x), static_cast<const void*>(&y),
                       sizeof(Triangle)) == 0;
}
long milli(double v) { // the three decimals to which the right triangle's paths are quoted
    return std::lround(v * 1000.0);
}
} // namespace

TEST(Triangle, Measures) {
    const std::vector<double> right = orvtest::reportNumbers(kRight);
    const std::vector<double> exact{5, 3, 4, 6, 12, 6, 1, 1, 1, 0};
    EXPECT_EQ(std::vector<double>(right.begin() + 9, right.begin() + 19), exact);

    Triangle unit;
    const std::vector<double> m = orvtest::reportNumbers(unit);
    const double r3 = std::sqrt(3.0), pi = 3.141592653589793;
    EXPECT_TRUE(m[9] == 1.0 + 0x1p-52 && m[10] == m[9] && m[11] == 1.0 && m[13] == 3.0 + 0x1p-51);
    const double approx[][2] = {{m[12], r3 / 4}, {m[15], r3 / 6}, {m[16], 0.5}, {m[17], r3 / 6}};
    for (const auto& v : approx) {
        EXPECT_LE(ulpDistance(v[0], v[1]), 4) << v[1];
    }
    double angleB = 0, angleC = 0;
    unit.getAnglesBandC(angleB, angleC);
    EXPECT_LE(ulpDistance(angleB, pi / 3), 2);
    EXPECT_LE(ulpDistance(angleC, pi / 3), 2);
    for (double r : {unit.getRatioInCenterSweepToSideA(), unit.getRatioInCenterSweepToSideB(),
                     unit.getRatioInCenterSweepToSideC()}) {
        EXPECT_LE(std::fabs(r - 0.5), 0x1p-53) << r; // one unit in the last place of 0.5
    }
    // Coincident vertices: everything 0, wherever they lie.
    for (const D3& p : {D3(0, 0, 0), D3(7, 2, 5), D3(1e300, 3, 0.25)}) {
        const std::vector<double> z = orvtest::reportNumbers(Triangle(p, p, p));
        EXPECT_EQ(std::vector<double>(z.begin() + 9, z.begin() + 19), std::vector<double>(10, 0));
    }
}

TEST(Triangle, UndefinedVerticesAndCopies) {
    // The marker is recognised in the signed difference only; its negation overflows.
    const D3 u(kMarker, 0, 0), p(1, 2, 0), q(3, 1, 0);
    const Triangle cases[] = {Triangle(u, p, q), Triangle(p, u, q), Triangle(p, q, u)};
    const double inf = std::numeric_limits<double>::infinity();
    for (int i = 0; i < 3; ++i) {
        double len[3];
        Triangle t = cases[i];
        t.getLenghts(len[0], len[1], len[2]);
        EXPECT_TRUE(sameBits(len[(i + 1) % 3], 3.4028234663852886e38)) << i;
        EXPECT_EQ(len[(i + 2) % 3], inf) << i;
        EXPECT_TRUE(sameObject(t, cases[i])); // NaN measures copied bit for bit
        Triangle assigned;
        assigned = cases[i];
        EXPECT_TRUE(sameObject(assigned, cases[i]));
    }
    // The float maximum widens to 3.4028234663852886e38, an ordinary number here: no overflow.
    Triangle f(orv::TripletBase<float>(std::numeric_limits<float>::max(), 0, 0),
               orv::TripletBase<float>(0, 1, 0), orv::TripletBase<float>(0, 0, 0));
    double a = 0, b = 0, c = 0;
    f.getLenghts(a, b, c);
    EXPECT_TRUE(sameBits(b, 3.4028234663852886e38) && std::isfinite(c));
}

TEST(Triangle, BisectorPointsLieOnTheBisectors) {
    Triangle t = kScalene;
    D3 A, B, C, foot;
    t.getTriangle(A, B, C);
    const Triangle before = t;
    using Get = void (Triangle::*)(D3&, double&);
    const struct {
        Get get;
        D3 vertex, first, second;
    } edges[] = {{&Triangle::getBisectorPointEdgeA, A, B, C},
                 {&Triangle::getBisectorPointEdgeB, B, C, A},
                 {&Triangle::getBisectorPointEdgeC, C, A, B}};
    for (const auto& e : edges) {
        double w = -1;
        (t.*e.get)(foot, w);
        const D3 d = foot - e.vertex, s1 = e.first - e.vertex, s2 = e.second - e.vertex;
        EXPECT_TRUE(w > 0 && w < 1) << w;
        // Equal angles with the two sides.
        EXPECT_LE(ulpDistance(d.dot(s1) / s1.length(), d.dot(s2) / s2.length()), 8);
    }
    EXPECT_TRUE(sameObject(t, before));
}

TEST(Triangle, PathsTowardsEdgeAOfTheRightTriangle) {
    std::vector<D3> path(5, D3(9, 9, 9));
    double ratio = -1;
    kRight.followInCenterToSideA(1, path, ratio, false);
    ASSERT_EQ(path.size(), 1u); // the longer list shrinks
    EXPECT_TRUE(tripletEq(path[0], 1.0, 1.0, 0.0) && sameBits(ratio, 0.0));
    kRight.followInCenterToSideA(1, path, ratio, true); // where the inscribed circle touches
    EXPECT_TRUE(ulpDistance(path[0].x, 1.6) <= 4 && ulpDistance(path[0].y, 1.8) <= 4);
    EXPECT_LE(ulpDistance(ratio, 0.4), 2);

    kRight.followInCenterToSideA(3, path, ratio, false);
    const std::vector<D3> free = path;
    ASSERT_EQ(path.size(), 3u);
    const long expected[3][2] = {{1000, 1000}, {1341, 1393}, {1494, 1582}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(milli(path[i].x) == expected[i][0] && milli(path[i].y) == expected[i][1]);
    }
    kRight.followInCenterToSideA(3, path, ratio, true);
    EXPECT_TRUE(tripletEq(path[1], free[1].x, free[1].y, free[1].z));
    EXPECT_TRUE(milli(path[2].x) == 1636 && milli(path[2].y) == 1773 && milli(ratio) == 409);
    EXPECT_LE(ulpDistance(3.0 * path[2].x + 4.0 * path[2].y, 12.0), 4);
}

TEST(Triangle, PathFormsAndRefusals) {
    using List = void (Triangle::*)(int, std::vector<D3>&, double&, bool) const;
    using Point = void (Triangle::*)(int, D3&, double&, bool) const;
    const struct {
        const char* name;
        List list;
        Point point;
    } edges[] = {{"followInCenterToSideA", &Triangle::followInCenterToSideA,
                  &Triangle::followInCenterToSideA},
                 {"followInCenterToSideB", &Triangle::followInCenterToSideB,
                  &Triangle::followInCenterToSideB},
                 {"followInCenterToSideC", &Triangle::followInCenterToSideC,
                  &Triangle::followInCenterToSideC}};
    for (const auto& e : edges) {
        std::vector<D3> path;
        D3 last;
        double r1 = 0, r2 = 0;
        for (int count : {1, 2, 7}) {
            for (bool onEdge : {false, true}) {
                (kScalene.*e.list)(count, path, r1, onEdge);
                (kScalene.*e.point)(count, last, r2, onEdge);
                EXPECT_TRUE(tripletEq(last, path.back().x, path.back().y, path.back().z));
                EXPECT_TRUE(sameBits(r1, r2));
            }
        }
        for (int count : {0, -1, INT_MIN}) { // refused; the outputs keep their values
            path.assign(2, D3(9, 8, 7));
            last = D3(5, 5, 5);
            double ratio = 3.5;
            const std::string msg = "Number of path points must be at least 1.";
            EXPECT_TRUE(orvtest::throwsWith<orv::data::invalid>(
                [&] { (kScalene.*e.list)(count, path, ratio, true); }, "Triangle", e.name, msg));
            EXPECT_TRUE(orvtest::throwsWith<orv::data::invalid>(
                [&] { (kScalene.*e.point)(count, last, ratio, true); }, "Triangle", e.name, msg));
            EXPECT_TRUE(path.size() == 2u && tripletEq(path[1], 9.0, 8.0, 7.0));
            EXPECT_TRUE(tripletEq(last, 5.0, 5.0, 5.0) && ratio == 3.5);
        }
    }
}
