#include "TestSupport.h"

#include "orv/platform/ParametricCurve.h"

#include <cstdio>
#include <fstream>
#include <sstream>

using orv::TripletBase;

TEST(ParametricCurve, WritesPointsThatReadBackExactly) {
    const std::string name = ::testing::TempDir() + "orv_curve_file.txt";
    orv::ParametricCurve curve;
    curve.setPoints({TripletBase<double>(9, 9, 9)}, orv::ParametricCurve::dim2);
    const std::vector<TripletBase<double>> pts{{0.1, -2.5e-300, 1.0 / 3.0}, {1e300, 0, -0.0}};
    curve.setPoints(pts, orv::ParametricCurve::dim2);
    curve.exportToFile(name);

    std::ifstream in(name);
    std::string line;
    std::vector<TripletBase<double>> back;
    int comments = 0;
    while (std::getline(in, line)) {
        if (line.rfind("# ", 0) == 0) {
            ++comments;
            continue;
        }
        std::istringstream row(line);
        TripletBase<double> p;
        row >> p.x >> p.y >> p.z;
        back.push_back(p);
    }
    EXPECT_EQ(comments, 4);
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
