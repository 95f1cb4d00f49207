// The triangle's text reports and curve files: exact lines, flushes and file names.
#include "TestSupport.h"

#include <algorithm>
#include <filesystem>
#include <iostream>

using orv::Triangle;
namespace {

// Redirects std::cout for its lifetime at the default precision; counts flushes, so that std::endl
// can be told from "\n".
class CoutCapture : public std::stringbuf {
public:
    CoutCapture() : m_old(std::cout.rdbuf(this)), m_precision(std::cout.precision(6)) {}
    ~CoutCapture() override {
        std::cout.rdbuf(m_old);
        std::cout.precision(m_precision);
    }
    int flushes = 0;

protected:
    int sync() override { return ++flushes, 0; }

private:
    std::streambuf* m_old;
    std::streamsize m_precision;
};

using D3 = orv::TripletBase<double>;
namespace fs = std::filesystem;
const Triangle kRight(D3(0, 0, 0), D3(4, 0, 0), D3(0, 3, 0));

// An empty directory of the running test's own under the test temporary directory.
std::string freshDir() {
    const fs::path dir = fs::path(::testing::TempDir()) /
                         (std::string("orv_triangle_") +
                          ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir.string() + "/";
}

template <class F> std::string captured(F f, int* flushes = nullptr) {
    CoutCapture capture;
    f();
    if (flushes) {
        *flushes = capture.flushes;
    }
    return capture.str();
}
} // namespace

TEST(TriangleReport, BasicReport) {
    int flushes = 0;
    EXPECT_EQ(captured([] { kRight.testBasicLengths("tri"); }, &flushes),
              "tri\n============\nPoints: \n               (0, 0, 0)\n               (4, 0, 0)\n"
              "               (0, 3, 0)\nLengths:       5:3:4\nArea:          6\n"
              "Perimeter:     12\nSemiPerimeter: 6\nIn Radius: 1\nIn Center: (1, 1, 0)\n"
              " R A 0.4\n R B 0.333333\n R C 0.75\n R 0 0.4\n R 1 0.333333\n R 2 0.75\n");
    EXPECT_EQ(flushes, 18); // every line ends with std::endl
    EXPECT_EQ(captured([] { kRight.testBasicLengths(7); }),
              captured([] { kRight.testBasicLengths("7"); }));
}

TEST(TriangleReport, FollowAndFullReportsAndTheirFiles) {
    const std::string name = freshDir() + "tri";
    for (bool onEdge : {false, true}) {
        int flushes = 0;
        const std::string out =
            captured([&] { kRight.testTriangleFollowInCenter(4, onEdge, name); }, &flushes);
        std::ostringstream expected;
        expected << (onEdge ? " Test Follow In Center with last on Edge :"
                            : " Test Follow In Center :")
                 << name << "\n"
                 << std::string(onEdge ? 42 : 33, '=') << " \n";
        std::vector<D3> path;
        double ratios[3];
        const char* edges[3] = {"EdgeA", "EdgeB", "EdgeC"};
        for (int e = 0; e < 3; ++e) {
            (e == 0   ? kRight.followInCenterToSideA(4, path, ratios[e], onEdge)
             : e == 1 ? kRight.followInCenterToSideB(4, path, ratios[e], onEdge)
                      : kRight.followInCenterToSideC(4, path, ratios[e], onEdge));
            const std::vector<D3> back =
                orvtest::readCurveFile(name + (onEdge ? "fcL" : "fc") + edges[e]);
            ASSERT_EQ(back.size(), 4u) << edges[e];
            for (int i = 0; i < 4; ++i) {
                EXPECT_TRUE(orvtest::tripletEq(back[i], path[i].x, path[i].y, path[i].z));
            }
        }
        if (onEdge) {
            expected << " Ratios \n =======\n Edge A :" << ratios[0] << "\n Edge B :" << ratios[1]
                     << "\n Edge C :" << ratios[2] << "\n";
        }
        EXPECT_EQ(out, expected.str());
        EXPECT_EQ(flushes, onEdge ? 5 : 2); // the two " Ratios" lines are not flushed
    }
    const std::string full = captured([&] { kRight.testFull(-3, name); });
    EXPECT_EQ(full.substr(0, name.size() + 1), name + "\n");
    EXPECT_EQ(std::count(full.begin(), full.end(), '\n'), 18 + 2 + 7 + 3);
    const std::string tail = "Simple A 0.409666\nSimple B 0.371201\nSimple C 0.709388\n";
    EXPECT_EQ(full.substr(full.size() - tail.size()), tail);
    EXPECT_EQ(orvtest::readCurveFile(name + "fcEdgeB").size(), 10u); // both follow reports: 10
    EXPECT_EQ(orvtest::readCurveFile(name + "fcLEdgeC").size(), 10u);
    fs::remove_all(fs::path(name).parent_path());
}
