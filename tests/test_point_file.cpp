#include "TestSupport.h"

#include "orv/platform/ParametricCurve.h"

#include <cstdio>

using orv::TripletBase;

TEST(ParametricCurve, WritesPointsThatReadBackExactly) {
    const std::string name = ::testing::TempDir() + "orv_curve_file.txt";
    orv::ParametricCurve curve;
    curve.setPoints({TripletBase<double>(9, 9, 9)}, orv::ParametricCurve::dim2);
    const std::vector<TripletBase<double>> pts{{0.1, -2.5e-300, 1.0 / 3.0}, {1e300, 0, -0.0}};
    curve.setPoints(pts, orv::ParametricCurve::dim2);
    curve.exportToFile(name);

    std::vector<std::string> comments;
    const std::vector<TripletBase<double>> back = orvtest::readCurveFile(name, &comments);
    EXPECT_EQ(comments.size(), 4u);
    ASSERT_EQ(back.size(), pts.size());
    for (size_t i = 0; i < pts.size(); ++i) {
        EXPECT_TRUE(orvtest::tripletEq(back[i], pts[i].x, pts[i].y, pts[i].z));
    }
    std::remove(name.c_str());
}

TEST(ParametricCurve, UnwritableFileIsRefused) {
    orv::ParametricCurve curve;
    EXPECT_TRUE(orvtest::throwsWith<orv::data::error>([&] { curve.exportToFile(""); },
                                                      "ParametricCurve", "exportToFile",
                                                      "Can not write file ''."));
    EXPECT_THROW(curve.exportToFile("/nonexistent-dir/x/y.txt"), orv::data::error);
}
