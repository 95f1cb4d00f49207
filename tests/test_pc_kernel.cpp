// The parametric-curve kernel on real polylines, through the kernel interface. The kernel is the
// one kept (not registered) in the test process (see KernelTestSupport.h); each test starts from an
// empty database.
#include "KernelTestSupport.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <limits>
#include <sstream>

namespace {

using orv::TripletBase;
using D3 = TripletBase<double>;
using F3List = std::vector<TripletBase<float>>;

// An L: 3 along x, then 4 along y; length 7.
const std::vector<TripletBase<float>> kL{{0, 0, 0}, {3, 0, 0}, {3, 4, 0}};

class PCKernelTest : public ::testing::Test {
protected:
    void SetUp() override {
        k().clearGeometry();
        ASSERT_EQ(k().createLinearBSplineLine("L", kL, "unused"), "L");
    }
    static orv::KernelInterfaceBase& k() { return orvtest::pcKernel(); }

    static std::string printed() {
        std::ostringstream out;
        std::streambuf* old = std::cout.rdbuf(out.rdbuf());
        k().printDatabaseState();
        std::cout.rdbuf(old);
        return out.str();
    }
};

// Within 4 units in the last place: arc-length parameters pass through a division and a product.
::testing::AssertionResult near(const D3& got, double x, double y, double z) {
    if (orvtest::ulpDistance(got.x, x) <= 4 && orvtest::ulpDistance(got.y, y) <= 4 &&
        orvtest::ulpDistance(got.z, z) <= 4) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "got " << got << " expected (" << x << ", " << y << ", " << z << ")";
}

::testing::AssertionResult unknownCurve(const std::function<void()>& f, const char* op) {
    return orvtest::throwsWith<orv::data::invalid>(f, "ParametricDB", op,
                                                   "Curve 'nope' does not exist.");
}

} // namespace

TEST_F(PCKernelTest, EvaluatesAtNormalisedArcLength) {
    const struct {
        double t;
        D3 expected;
    } cases[] = {{0.0, {0, 0, 0}},   {-1.0, {0, 0, 0}},      {3.0 / 7.0, {3, 0, 0}},
                 {0.5, {3, 0.5, 0}}, {1.0 / 7.0, {1, 0, 0}}, {1.0, {3, 4, 0}},
                 {2.0, {3, 4, 0}}};
    for (const auto& c : cases) {
        EXPECT_TRUE(near(k().getPointLocationOnCurveAtParameter("L", c.t), c.expected.x,
                         c.expected.y, c.expected.z))
            << "t = " << c.t;
    }
    EXPECT_TRUE(
        orvtest::tripletEq(k().getPointLocationOnCurveAtParameter("L", 0.5), 3.0, 0.5, 0.0));
    EXPECT_TRUE(
        unknownCurve([] { k().getPointLocationOnCurveAtParameter("nope", 0.5); }, "evaluateCurve"));
    EXPECT_TRUE(orvtest::throwsWith<orv::data::invalid>(
        [] { k().getPointLocationOnCurveAtParameter("L", std::nan("")); }, "ParametricDB",
        "evaluateCurve", "Parameter on curve 'L' is not a number."));
}

TEST_F(PCKernelTest, ProjectsToTheNearestPoint) {
    const struct {
        D3 point, expected;
        double parameter;
    } cases[] = {{{1, -2, 0}, {1, 0, 0}, 1.0 / 7.0}, {{5, 2, 1}, {3, 2, 0}, 5.0 / 7.0},
                 {{-1, -1, 0}, {0, 0, 0}, 0.0},      {{4, 9, 0}, {3, 4, 0}, 1.0},
                 {{4, -1, 0}, {3, 0, 0}, 3.0 / 7.0}, {{2, 1, 0}, {2, 0, 0}, 2.0 / 7.0}};
    for (const auto& c : cases) {
        double parameter = -5.0;
        const D3 got = k().projectPointToCurve(c.point, std::string("L"), parameter);
        EXPECT_TRUE(near(got, c.expected.x, c.expected.y, c.expected.z)) << c.point;
        EXPECT_LE(orvtest::ulpDistance(parameter, c.parameter), 2) << c.point << " " << parameter;
        const D3 single = k().projectPointToCurve(c.point, std::vector<std::string>{"L"});
        EXPECT_TRUE(orvtest::tripletEq(single, got.x, got.y, got.z)) << c.point;
    }
    double parameter = -5.0;
    EXPECT_TRUE(unknownCurve([&] { k().projectPointToCurve(D3(), std::string("nope"), parameter); },
                             "projectPoint"));
    EXPECT_EQ(parameter, -5.0);
    EXPECT_TRUE(unknownCurve(
        [] { k().projectPointToCurve(D3(), std::vector<std::string>{"nope"}); }, "projectPoint"));
    EXPECT_TRUE(orvtest::throwsWith<orv::internal::error>(
        [] {
            k().projectPointToCurve(D3(), std::vector<std::string>{"L", "L"});
        },
        "PCKernelInterface", "projectPointToCurve", "Can not handle projection to two curves."));
    EXPECT_TRUE(orvtest::throwsWith<orv::data::error>(
        [] { k().projectPointToCurve(D3(), std::vector<std::string>{}); }, "PCKernelInterface",
        "projectPointToCurve", "Can not project to a curve: no curve name given."));
}

TEST_F(PCKernelTest, PointsOnTheStretchBetweenTwoProjections) {
    const std::vector<double> parameters{0.0, 0.5, 1.0, -1.0};
    std::vector<D3> points(5, D3(9, 9, 9));
    // (1, -2) projects to parameter 1/7, (4, 9) to 1: 0.5 is arc length 4, (3, 1); -1 runs past
    // the first point and stops there.
    k().getPointLocationsOnCurveAtParameter(parameters, D3(1, -2, 0), D3(4, 9, 0), "L", points);
    ASSERT_EQ(points.size(), 4u);
    EXPECT_TRUE(near(points[0], 1, 0, 0));
    EXPECT_TRUE(near(points[1], 3, 1, 0));
    EXPECT_TRUE(near(points[2], 3, 4, 0));
    EXPECT_TRUE(near(points[3], 0, 0, 0));
    // Swapped ends walk the stretch backwards.
    k().getPointLocationsOnCurveAtParameter({0.0, 1.0}, D3(4, 9, 0), D3(1, -2, 0), "L", points);
    ASSERT_EQ(points.size(), 2u);
    EXPECT_TRUE(near(points[0], 3, 4, 0));
    EXPECT_TRUE(near(points[1], 1, 0, 0));
    EXPECT_TRUE(unknownCurve(
        [&] { k().getPointLocationsOnCurveAtParameter({0.5}, D3(), D3(), "nope", points); },
        "getPointLocationsOnCurveAtParameter"));
    EXPECT_THROW(
        k().getPointLocationsOnCurveAtParameter({0.5, std::nan("")}, D3(), D3(), "L", points),
        orv::data::invalid);
    EXPECT_EQ(points.size(), 2u);
}

TEST_F(PCKernelTest, SavedCurveReadsBack) {
    const std::vector<TripletBase<float>> points{{0.1f, -2.5f, 1e-30f}, {1.0f / 3.0f, 7.0f, -0.0f}};
    k().createLinearBSplineLine("odd", points, "");
    const std::string file = ::testing::TempDir() + "orv_pc_kernel_curve.txt";
    k().saveCurve("odd", file);
    std::vector<std::string> comments;
    const std::vector<D3> back = orvtest::readCurveFile(file, &comments);
    std::remove(file.c_str());
    // The length line holds the length at 17 significant digits.
    ASSERT_EQ(comments.size(), 4u);
    EXPECT_EQ(comments[0] + comments[1] + comments[3], "# curve odd# points 2# x y z");
    EXPECT_EQ(std::stod(comments[2].substr(9)), (D3(points[1]) - D3(points[0])).length());
    ASSERT_EQ(back.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_TRUE(orvtest::tripletEq(back[i], static_cast<double>(points[i].x),
                                       static_cast<double>(points[i].y),
                                       static_cast<double>(points[i].z)));
    }
    const std::string never = ::testing::TempDir() + "orv_pc_kernel_never.txt";
    EXPECT_TRUE(unknownCurve([&] { k().saveCurve("nope", never); }, "exportToFile"));
    EXPECT_FALSE(std::ifstream(never).good());
}

TEST_F(PCKernelTest, CreateDeleteClearAndState) {
    EXPECT_EQ(k().createLinearBSplineLine("two", F3List{{0, 0, 0}, {0, 0, 2}}, ""), "two");
    EXPECT_EQ(printed(), "ParametricDB: 2 curve(s)\n"
                         "  curve 'L': 3 points, length 7\n"
                         "  curve 'two': 2 points, length 2\n");
    // An existing name is refused and the curve kept.
    EXPECT_TRUE(orvtest::throwsWith<orv::data::invalid>(
        [] { k().createLinearBSplineLine("two", kL, ""); }, "ParametricDB", "addCurve",
        "Curve 'two' already exists."));
    EXPECT_TRUE(
        orvtest::tripletEq(k().getPointLocationOnCurveAtParameter("two", 1.0), 0.0, 0.0, 2.0));
    for (std::size_t n : {0, 1}) {
        EXPECT_TRUE(orvtest::throwsWith<orv::data::error>(
            [&] { k().createLinearBSplineLine("short", F3List(n), ""); }, "PCKernelInterface",
            "createLinearBSplineLine", "BSpline must have at least two points."));
    }
    k().deleteCurveIfExist("two");
    k().deleteCurveIfExist("two"); // absent: nothing happens
    EXPECT_TRUE(
        unknownCurve([] { k().getPointLocationOnCurveAtParameter("nope", 0.0); }, "evaluateCurve"));
    EXPECT_EQ(printed(), "ParametricDB: 1 curve(s)\n  curve 'L': 3 points, length 7\n");
    k().clearGeometry();
    EXPECT_EQ(printed(), "ParametricDB: 0 curve(s)\n");
    // After a delete the name is free again.
    EXPECT_EQ(k().createLinearBSplineLine("L", F3List{{1, 1, 1}, {1, 1, 2}}, ""), "L");
}

TEST_F(PCKernelTest, OtherOperationsKeepTheDefaults) {
    EXPECT_EQ(k().createPoint("p", TripletBase<float>(1, 2, 3), ""), "");
    EXPECT_TRUE(orvtest::tripletEq(k().projectPointToCurve(TripletBase<float>(1, 2, 3), "L"), 0.0f,
                                   0.0f, 0.0f));
    EXPECT_TRUE(orvtest::tripletEq(k().getPointLocationOnCurveAtParameter(0, 0.5), 0.0, 0.0, 0.0));
}

TEST(Polyline, DegenerateAndRepeatedPoints) {
    // A repeated point is a segment of length 0 that no parameter lands on.
    const orv::Polyline line({{0, 0, 0}, {2, 0, 0}, {2, 0, 0}, {2, 2, 0}});
    EXPECT_EQ(line.length(), 4.0);
    EXPECT_TRUE(orvtest::tripletEq(line.evaluate(0.75), 2.0, 1.0, 0.0));
    double t = -1;
    EXPECT_TRUE(orvtest::tripletEq(line.project(D3(3, 0.5, 0), t), 2.0, 0.5, 0.0));
    EXPECT_EQ(t, 2.5 / 4.0);
    const orv::Polyline point({{1, 2, 3}, {1, 2, 3}});
    EXPECT_TRUE(orvtest::tripletEq(point.evaluate(0.5), 1.0, 2.0, 3.0));
    EXPECT_TRUE(orvtest::tripletEq(point.project(D3(5, 5, 5), t), 1.0, 2.0, 3.0));
    EXPECT_EQ(t, 0.0);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_TRUE(std::isnan(line.project(D3(nan, 0, 0), t).x) && std::isnan(t));
    orv::ParametricDB db;
    EXPECT_TRUE(orvtest::throwsWith<orv::data::invalid>(
        [&] {
            db.addCurve("c", {{0, 0, 0}, {1, 0, 0}}, 3);
        },
        "ParametricDB", "addCurve", "Curve kind 3 of curve 'c' is not supported."));
    EXPECT_TRUE(orvtest::throwsWith<orv::data::invalid>(
        [&] {
            db.addCurve("c", {{0, 0, 0}}, 2);
        },
        "ParametricDB", "addCurve", "Curve 'c' needs at least two points."));
    EXPECT_EQ(db.curveCount(), 0u);
}
