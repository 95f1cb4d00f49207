// The parametric-curve kernel through the kernel interface, each row from a database holding only
// the curve L: 3 along x, then 4 along y (length 7; parameter = arc length / 7).
#include "KernelTestSupport.h"

#include <clocale>
#include <iostream>
#include <locale>
#if defined(__GLIBC__)
#include <filesystem>
#include <unistd.h>
#endif

namespace {

using orvtest::attempt;
using orvtest::D3;
using orvtest::shortest;
using F3s = std::vector<orvtest::F3>;
using Names = std::vector<std::string>;

orv::KernelInterfaceBase& k() {
    return *orv::PCKernelInterface::instance();
}
double t;               // a parameter a row's projection fills, -5 at the start of a row
std::vector<D3> points; // a list a row fills, five points (9, 9, 9) at the start of a row
const std::string kFile = ::testing::TempDir() + "orv_pc_kernel_curve.txt";

std::string text(const std::string& s) {
    return s;
}
std::string text(const std::vector<D3>& list) {
    std::string all;
    for (const D3& p : list) {
        all += "(" + shortest(p.x) + " " + shortest(p.y) + " " + shortest(p.z) + ")";
    }
    return all;
}
template <class T> std::string text(const orv::TripletBase<T>& p) {
    return text(std::vector<D3>{D3(p)});
}

// The database report, or the text of the file (after it is removed).
std::string printed() {
    std::ostringstream out;
    std::streambuf* const old = std::cout.rdbuf(out.rdbuf());
    k().printDatabaseState();
    std::cout.rdbuf(old);
    return out.str();
}
std::string saved() {
    std::ostringstream all;
    all << std::ifstream(kFile).rdbuf();
    return std::remove(kFile.c_str()) == 0 ? all.str() : "(no file)";
}

// A row: the texts of its parts, in order (a braced list is evaluated in order), and their sum.
// GOT: the text of what it gives, or its refusal.
#define GOT(...)                                                                                   \
    [&] {                                                                                          \
        std::string got;                                                                           \
        return attempt([&] { got = text(__VA_ARGS__); }) + got;                                    \
    }()
#define ROW(expected, ...)                                                                         \
    {                                                                                              \
        expected, [] { return std::vector<std::string>{__VA_ARGS__}; }                             \
    }
#define UNKNOWN(operation)                                                                         \
    "! data::invalid(ParametricDB, " operation ", Curve 'nope' does not exist.)"
#define TOO_FEW                                                                                    \
    "! data::error(PCKernelInterface, createLinearBSplineLine, BSpline must have at least two "    \
    "points.)"
#define STRETCH "(3 4 0)(3 2.25 0)(0 0 0)(0 0 0)"

// "odd" saved: the digits are those of C's "%.17g" (in the C locale) for the floats widened to
// double and for the length sqrt((dx^2 + dy^2) + dz^2), worked out once outside the library.
#define SAVE_ODD                                                                                   \
    GOT(k().createLinearBSplineLine("odd", F3s{{0.1f, -2.5f, 1e-30f}, {1 / 3.0f, 7.1f, -0.0f}},    \
                                    "")),                                                          \
        attempt([] { k().saveCurve("odd", kFile); }), saved()
const char* const kOdd = "odd# curve odd\n# points 2\n# length 9.6028351343408112\n# x y z\n"
                         "0.10000000149011612 -2.5 1.0000000031710769e-30\n"
                         "0.3333333432674408 7.0999999046325684 -0\n";

const std::pair<std::string, std::vector<std::string> (*)()> kRows[] = {
    ROW("two" TOO_FEW TOO_FEW "ParametricDB: 1 curve(s)\n  curve 'L': 3 points, length 7\n"
        "ParametricDB: 0 curve(s)\n",
        GOT(k().createLinearBSplineLine("two", F3s{{0, 0, 0}, {0, 0, 2}}, "family")),
        attempt([] { k().deleteCurveIfExist("two"); }),
        GOT(k().createLinearBSplineLine("L", F3s{{1, 2, 3}}, "")),
        GOT(k().createLinearBSplineLine("L", F3s{}, "")), printed(),
        attempt([] { k().clearGeometry(); }), printed()),
    ROW("(3 0.5 0)L(1 1 2)", GOT(k().getPointLocationOnCurveAtParameter("L", 0.5)),
        GOT(k().createLinearBSplineLine("L", F3s{{1, 1, 1}, {1, 1, 2}}, "")),
        GOT(k().getPointLocationOnCurveAtParameter("L", 1.0))),
    // A refused projection leaves the parameter as it was.
    ROW("(3 2 0)0.7142857142857143" UNKNOWN("projectPoint") "-5",
        GOT(k().projectPointToCurve(D3(5, 2, 1), std::string("L"), t)), shortest(t),
        GOT(k().projectPointToCurve(D3(), std::string("nope"), t = -5)), shortest(t)),
    ROW("(3 2 0)! internal::error(PCKernelInterface, projectPointToCurve, Can not handle "
        "projection to two curves.)! data::error(PCKernelInterface, projectPointToCurve, Can not "
        "project to a curve: no curve name given.)",
        GOT(k().projectPointToCurve(D3(5, 2, 1), Names{"L"})),
        GOT(k().projectPointToCurve(D3(), Names{"L", "L"})),
        GOT(k().projectPointToCurve(D3(), Names{}))),
    // The stretch from the projection of (4, 9, 0) (t = 1) back to that of (-1, -1, 0) (t = 0),
    // then a refusal that leaves the list as it was.
    ROW(STRETCH UNKNOWN("getPointLocationsOnCurveAtParameter") STRETCH, attempt([] {
            k().getPointLocationsOnCurveAtParameter({0, 0.25, 1, 2}, D3(4, 9, 0), D3(-1, -1, 0),
                                                    "L", points);
        }),
        text(points),
        attempt([] { k().getPointLocationsOnCurveAtParameter({}, D3(), D3(), "nope", points); }),
        text(points)),
    ROW(kOdd, SAVE_ODD),
    // Operations the kernel does not override keep their defaults.
    ROW("(0 0 0)(0 0 0)(0 0 0)", GOT(k().createPoint("p", orvtest::F3(1, 2, 3), "")),
        GOT(k().projectPointToCurve(D3(5, 2, 1), std::string("L"))),
        GOT(k().projectPointToCurve(orvtest::F3(5, 2, 1), "L")),
        GOT(k().getPointLocationOnCurveAtParameter(0, 0.5))),
};

std::string run(std::vector<std::string> (*row)()) {
    k().clearGeometry();
    k().createLinearBSplineLine("L", F3s{{0, 0, 0}, {3, 0, 0}, {3, 4, 0}}, "");
    t = -5.0;
    points.assign(5, D3(9, 9, 9));
    std::string all;
    for (const std::string& part : row()) {
        all += part;
    }
    return all;
}

} // namespace

TEST(PCKernel, Rows) {
    for (const auto& [expected, row] : kRows) {
        EXPECT_EQ(run(row), expected);
    }
    // Nothing else registers a kernel in the test process: the first instance() registered it.
    EXPECT_EQ(orv::KernelInterfaceBase::instance(), &k());
    k().clearGeometry();
}

// A host in a decimal-comma locale for both C++ streams (std::locale::global) and C's printf family
// (setlocale: an installed locale, or on glibc one made with localedef in a temporary LOCPATH): the
// file stays that of the C locale. Skipped after the C++ half where no comma C locale can be had
// (Wine without a German locale, glibc without localedef and the locale sources).
TEST(PCKernel, TheFileIgnoresTheLocale) {
    struct Comma : std::numpunct<char> {
        char do_decimal_point() const override { return ','; }
    };
    const std::locale cxx = std::locale::global(std::locale(std::locale::classic(), new Comma));
    const std::string c = std::setlocale(LC_ALL, nullptr);
    const auto comma = [](const std::string& name) {
        return std::setlocale(LC_ALL, name.c_str()) && *std::localeconv()->decimal_point == ',';
    };
    bool found = comma("de_DE.UTF-8") || comma("fr_FR.UTF-8") || comma("German_Germany.1252") ||
                 comma("de-DE");
#if defined(__GLIBC__)
    const std::string made = ::testing::TempDir() + "orv-locale-" + std::to_string(getpid());
    if (!found && std::filesystem::create_directories(made) &&
        std::system(
            ("localedef -i de_DE -f ISO-8859-1 " + made + "/de_DE.ISO-8859-1 >/dev/null 2>&1")
                .c_str()) != -1 &&
        setenv("LOCPATH", made.c_str(), 1) == 0) {
        found = comma("de_DE.ISO-8859-1");
    }
#endif
    const std::string file = run([] { return std::vector<std::string>{SAVE_ODD}; });
    std::setlocale(LC_ALL, c.c_str());
    std::locale::global(cxx);
#if defined(__GLIBC__)
    unsetenv("LOCPATH");
    std::filesystem::remove_all(made);
#endif
    EXPECT_EQ(file, kOdd);
    if (!found) {
        GTEST_SKIP() << "no decimal-comma C locale is installed or could be made";
    }
}
