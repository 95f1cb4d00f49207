// The parametric-curve kernel through the kernel interface, in a host's decimal-comma locale. Each
// row starts from a database holding only the curve L: 3 along x, then 4 along y (length 7;
// parameter = arc length / 7).
#include "KernelTestSupport.h"

#include <clocale>
#include <locale>
#include <numeric>
#if defined(__GLIBC__)
#include <filesystem>
#endif

namespace {

using orvtest::attempt;
using orvtest::D3;
using F3s = std::vector<orvtest::F3>;
using Names = std::vector<std::string>;

const auto k = []() -> orv::KernelInterfaceBase& { return *orv::PCKernelInterface::instance(); };
double t;               // a parameter a row's projection fills, -5 at the start of a row
std::vector<D3> points; // a list a row fills, five points (9, 9, 9) at the start of a row
const std::string kFile = ::testing::TempDir() + "orv_pc_kernel_curve.txt";

std::string text(const std::string& s) {
    return s;
}
std::string text(const D3& p) {
    using orvtest::shortest;
    return "(" + shortest(p.x) + " " + shortest(p.y) + " " + shortest(p.z) + ")";
}
std::string text(const std::vector<D3>& list) {
    return std::accumulate(list.begin(), list.end(), std::string(),
                           [](const std::string& all, const D3& p) { return all + text(p); });
}

// The text of the file, which is removed.
std::string saved() {
    std::ostringstream all;
    all << std::ifstream(kFile).rdbuf();
    return std::remove(kFile.c_str()) == 0 ? all.str() : "(no file)";
}

// A row: its expected text and the sum of the texts of its parts, in order (a braced list is
// evaluated in order); GOT: the text of what it gives, or its refusal.
#define ROW(expected, ...)                                                                         \
    {                                                                                              \
        expected, [] { return std::vector<std::string>{__VA_ARGS__}; }                             \
    }
#define GOT(...)                                                                                   \
    [&] {                                                                                          \
        std::string got;                                                                           \
        return attempt([&] { got = text(__VA_ARGS__); }) + got;                                    \
    }()
#define TOO_FEW                                                                                    \
    "! data::error(PCKernelInterface, createLinearBSplineLine, BSpline must have at least two "    \
    "points.)"
#define NO(curve) "! data::invalid(ParametricDB, evaluateCurve, Curve '" curve "' does not exist.)"

const std::pair<std::string, std::vector<std::string> (*)()> kRows[] = {
    ROW("two" TOO_FEW TOO_FEW "(3 0.5 0)" NO("two") "L(1 1 2)" NO("L"),
        GOT(k().createLinearBSplineLine("two", F3s{{0, 0, 0}, {0, 0, 2}}, "family")),
        GOT(k().createLinearBSplineLine("L", F3s{{1, 2, 3}}, "")),
        GOT(k().createLinearBSplineLine("L", F3s{}, "")),
        GOT((k().deleteCurveIfExist("two"), k().getPointLocationOnCurveAtParameter("L", 0.5))),
        GOT(k().getPointLocationOnCurveAtParameter("two", 0.5)),
        GOT(k().createLinearBSplineLine("L", F3s{{1, 1, 1}, {1, 1, 2}}, "")),
        GOT(k().getPointLocationOnCurveAtParameter("L", 1.0)),
        GOT((k().clearGeometry(), k().getPointLocationOnCurveAtParameter("L", 0.0)))),
    ROW("(3 2 0)0.7142857142857143(3 2 0)(1.5 0 0)0.21428571428571427! "
        "internal::error(PCKernelInterface, "
        "projectPointToCurve, Can not handle projection to two curves.)! data::error("
        "PCKernelInterface, projectPointToCurve, Can not project to a curve: no curve name given.)",
        GOT(k().projectPointToCurve(D3(5, 2, 1), std::string("L"), t)), orvtest::shortest(t),
        GOT(k().projectPointToCurve(D3(5, 2, 1), Names{"L"})),
        GOT(k().projectPointToCurve(D3(1.5, 1.5, 0), std::string("L"), t)), // as near to both
        orvtest::shortest(t), GOT(k().projectPointToCurve(D3(), Names{"L", "L"})),
        GOT(k().projectPointToCurve(D3(), Names{}))),
    // The stretch from the projection of (4, 9, 0) (t = 1) back to that of (-1, -1, 0) (t = 0).
    ROW("(3 4 0)(3 2.25 0)(0 0 0)(0 0 0)",
        GOT((k().getPointLocationsOnCurveAtParameter({0, 0.25, 1, 2}, D3(4, 9, 0), D3(-1, -1, 0),
                                                     "L", points),
             points))),
    // The digits are those of C's "%.17g" (in the C locale) for the floats widened to double and
    // for the length sqrt((dx^2 + dy^2) + dz^2), worked out once outside the library.
    ROW("odd# curve odd\n# points 2\n# length 9.6028351343408112\n# x y z\n"
        "0.10000000149011612 -2.5 1.0000000031710769e-30\n"
        "0.3333333432674408 7.0999999046325684 -0\n",
        GOT(k().createLinearBSplineLine("odd", F3s{{0.1f, -2.5f, 1e-30f}, {1 / 3.0f, 7.1f, -0.0f}},
                                        "")),
        attempt([] { k().saveCurve("odd", kFile); }), saved()),
};

// Sets a decimal comma for C++ streams (std::locale::global) and for C's printf family (an
// installed locale, or on glibc one made with localedef in a new temporary folder `made`, then
// LOCPATH); true when C's is set.
bool setCommaLocale(std::string& made) {
    struct Comma : std::numpunct<char> {
        char do_decimal_point() const override { return ','; }
    };
    std::locale::global(std::locale(std::locale::classic(), new Comma));
    const auto comma = [](const std::string& name) {
        return std::setlocale(LC_ALL, name.c_str()) && *std::localeconv()->decimal_point == ',';
    };
    if (comma("de_DE.UTF-8") || comma("German_Germany.1252") || comma("de-DE")) {
        return true;
    }
    made = ::testing::TempDir() + "orv-locale-XXXXXX"; // created and used on glibc only
#if defined(__GLIBC__)
    const auto localedef = [&] {
        return "localedef -i de_DE -f ISO-8859-1 " + made + "/de_DE.ISO-8859-1 >/dev/null 2>&1";
    };
    return mkdtemp(made.data()) && std::system(localedef().c_str()) != -1 &&
           setenv("LOCPATH", made.c_str(), 1) == 0 && comma("de_DE.ISO-8859-1");
#endif
    return false;
}

} // namespace

// Skipped after the rows where no decimal-comma C locale can be had (Wine without a German locale,
// glibc without localedef and the locale sources).
TEST(PCKernel, Rows) {
    const std::locale cxx;
    const std::string c = std::setlocale(LC_ALL, nullptr);
    std::string made;
    const bool comma = setCommaLocale(made);
    for (const auto& [expected, row] : kRows) {
        k().clearGeometry();
        k().createLinearBSplineLine("L", F3s{{0, 0, 0}, {3, 0, 0}, {3, 4, 0}}, "");
        t = -5.0;
        points.assign(5, D3(9, 9, 9));
        const std::vector<std::string> parts = row();
        EXPECT_EQ(std::accumulate(parts.begin(), parts.end(), std::string()), expected);
    }
    k().clearGeometry();
    std::setlocale(LC_ALL, c.c_str());
    std::locale::global(cxx);
#if defined(__GLIBC__)
    if (!made.empty()) {
        unsetenv("LOCPATH");
        std::filesystem::remove_all(made);
    }
#endif
    // Nothing else registers a kernel in the test process: the first instance() registered it.
    EXPECT_EQ(orv::KernelInterfaceBase::instance(), &k());
    if (!comma) {
        GTEST_SKIP() << "no decimal-comma C locale is installed or could be made";
    }
}
