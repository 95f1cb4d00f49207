// The parametric-curve kernel through the kernel interface, each row from a database holding only
// the curve L: 3 along x, then 4 along y (length 7; parameter = arc length / 7). The kernel is the
// one kept, not registered, in the test process (KernelTestSupport.h).
#include "KernelTestSupport.h"

#include <clocale>
#include <iostream>
#include <locale>
#if defined(__GLIBC__)
#include <filesystem>
#include <unistd.h>
#endif

namespace {

using orv::TripletBase;
using orvtest::attempt;
using D3 = TripletBase<double>;
using F3 = TripletBase<float>;
using F3s = std::vector<F3>;
using Names = std::vector<std::string>;

orv::KernelInterfaceBase& k() {
    return orvtest::pcKernel();
}
double t;               // a parameter a row's projection fills, -5 at the start of a row
std::vector<D3> points; // a list a row fills, five points (9, 9, 9) at the start of a row

std::string text(const std::string& s) {
    return s;
}
template <class T> std::string text(const TripletBase<T>& p) {
    using orvtest::shortest;
    return "(" + shortest(p.x) + " " + shortest(p.y) + " " + shortest(p.z) + ")";
}
std::string text(const std::vector<D3>& list) {
    std::string all;
    for (const D3& p : list) {
        all += text(p);
    }
    return all;
}

// The text of what f gives, or its refusal.
template <class F> std::string got(F f) {
    std::string result;
    return attempt([&] { result = text(f()); }) + result;
}

std::string printed() {
    std::ostringstream out;
    std::streambuf* const old = std::cout.rdbuf(out.rdbuf());
    k().printDatabaseState();
    std::cout.rdbuf(old);
    return out.str();
}

std::string fileText(const std::string& name) {
    std::ifstream in(name);
    std::ostringstream all;
    all << in.rdbuf();
    return in ? all.str() : "(no file)";
}
const std::string kFile = ::testing::TempDir() + "orv_pc_kernel_curve.txt";

// One row: the parts' texts in order (a braced list is evaluated in order; the operands of + are
// not), and what they must give.
#define GOT(...) got([&] { return __VA_ARGS__; })
#define ROW(expected, ...)                                                                         \
    {                                                                                              \
#__VA_ARGS__, [] { return std::vector<std::string>{__VA_ARGS__}; }, expected               \
    }
#define UNKNOWN(operation)                                                                         \
    "! data::invalid(ParametricDB, " operation ", Curve 'nope' does not exist.)"
#define TOO_FEW                                                                                    \
    "! data::error(PCKernelInterface, createLinearBSplineLine, BSpline must have at least two "    \
    "points.)"
#define ONLY_L "ParametricDB: 1 curve(s)\n  curve 'L': 3 points, length 7\n"

// "odd" saved to a file, then the database printed. The digits are those of C's "%.17g" (in the
// C locale) for the floats widened to double and for the length sqrt((dx^2 + dy^2) + dz^2),
// worked out once outside the library.
#define SAVE_ODD                                                                                   \
    GOT(k().createLinearBSplineLine("odd", F3s{{0.1f, -2.5f, 1e-30f}, {1 / 3.0f, 7.1f, -0.0f}},    \
                                    "")),                                                          \
        attempt([] { k().saveCurve("odd", kFile); }), fileText(kFile), printed()
const char* const kOdd = "odd# curve odd\n# points 2\n# length 9.6028351343408112\n# x y z\n"
                         "0.10000000149011612 -2.5 1.0000000031710769e-30\n"
                         "0.3333333432674408 7.0999999046325684 -0\n"
                         "ParametricDB: 2 curve(s)\n  curve 'L': 3 points, length 7\n"
                         "  curve 'odd': 2 points, length 9.6028351343408112\n";

struct Row {
    const char* what;
    std::vector<std::string> (*run)();
    std::string expected;
};
const Row kRows[] = {
    ROW("two ParametricDB: 2 curve(s)\n  curve 'L': 3 points, length 7\n  curve 'two': 2 points, "
        "length 2\n" TOO_FEW TOO_FEW ONLY_L,
        GOT(k().createLinearBSplineLine("two", F3s{{0, 0, 0}, {0, 0, 2}}, "family")), " ",
        printed(), attempt([] { k().deleteCurveIfExist("two"); }),
        GOT(k().createLinearBSplineLine("L", F3s{{1, 2, 3}}, "")),
        GOT(k().createLinearBSplineLine("L", F3s{}, "")), printed()),
    ROW("L(1 1 2)ParametricDB: 1 curve(s)\n  curve 'L': 2 points, length 1\n",
        GOT(k().createLinearBSplineLine("L", F3s{{1, 1, 1}, {1, 1, 2}}, "")),
        GOT(k().getPointLocationOnCurveAtParameter("L", 1.0)), printed()),
    ROW("(3 0.5 0)(0 0 0)(3 4 0)" UNKNOWN("evaluateCurve"),
        GOT(k().getPointLocationOnCurveAtParameter("L", 0.5)),
        GOT(k().getPointLocationOnCurveAtParameter("L", -1.0)),
        GOT(k().getPointLocationOnCurveAtParameter("L", 2.0)),
        GOT(k().getPointLocationOnCurveAtParameter("nope", 0.5))),
    ROW("(3 2 0)0.7142857142857143" UNKNOWN("projectPoint") "-5",
        GOT(k().projectPointToCurve(D3(5, 2, 1), std::string("L"), t)), orvtest::shortest(t),
        GOT(k().projectPointToCurve(D3(), std::string("nope"), t = -5)), orvtest::shortest(t)),
    ROW("(3 2 0)! internal::error(PCKernelInterface, projectPointToCurve, Can not handle "
        "projection to two curves.)! data::error(PCKernelInterface, projectPointToCurve, Can not "
        "project to a curve: no curve name given.)" UNKNOWN("projectPoint"),
        GOT(k().projectPointToCurve(D3(5, 2, 1), Names{"L"})),
        GOT(k().projectPointToCurve(D3(), Names{"L", "L"})),
        GOT(k().projectPointToCurve(D3(), Names{})),
        GOT(k().projectPointToCurve(D3(), Names{"nope"}))),
// The stretch from the projection of (4, 9, 0) (t = 1) back to that of (-1, -1, 0) (t = 0),
// then a refusal that leaves the list as it was.
#define STRETCH "(3 4 0)(3 2.25 0)(0 0 0)(0 0 0)"
    ROW(STRETCH UNKNOWN("getPointLocationsOnCurveAtParameter") STRETCH, attempt([] {
            k().getPointLocationsOnCurveAtParameter({0, 0.25, 1, 2}, D3(4, 9, 0), D3(-1, -1, 0),
                                                    "L", points);
        }),
        text(points),
        attempt([] { k().getPointLocationsOnCurveAtParameter({}, D3(), D3(), "nope", points); }),
        text(points)),
    ROW("ParametricDB: 2 curve(s)\n  curve 'L': 3 points, length 7\n  curve 'three': 2 points, "
        "length 3\nParametricDB: 0 curve(s)\n",
        attempt([] {
            k().createLinearBSplineLine("two", F3s{{0, 0, 0}, {0, 0, 2}}, "");
            k().createLinearBSplineLine("three", F3s{{0, 0, 0}, {0, 0, 3}}, "");
            k().deleteCurveIfExist("two");
            k().deleteCurveIfExist("two");
        }),
        printed(), attempt([] { k().clearGeometry(); }), printed()),
    ROW(kOdd, SAVE_ODD),
    ROW(UNKNOWN("exportToFile") "(no file)! data::error(ParametricDB, exportToFile, Can not "
                                "write file ''.)",
        attempt([] { k().saveCurve("nope", kFile); }), fileText(kFile),
        attempt([] { k().saveCurve("L", ""); })),
    // Operations the kernel does not override keep their defaults.
    ROW("(0 0 0)(0 0 0)(0 0 0)", GOT(k().createPoint("p", F3(1, 2, 3), "")),
        GOT(k().projectPointToCurve(D3(5, 2, 1), std::string("L"))),
        GOT(k().projectPointToCurve(F3(5, 2, 1), "L")),
        GOT(k().getPointLocationOnCurveAtParameter(0, 0.5))),
};

std::string run(const Row& row) {
    k().clearGeometry();
    k().createLinearBSplineLine("L", F3s{{0, 0, 0}, {3, 0, 0}, {3, 4, 0}}, "");
    t = -5.0;
    points.assign(5, D3(9, 9, 9));
    std::remove(kFile.c_str());
    std::string all;
    for (const std::string& part : row.run()) {
        all += part;
    }
    std::remove(kFile.c_str());
    return all;
}

// Sets the C library's locale to one with a decimal comma and returns its name, or "": an installed
// one, or (glibc) one made with localedef from the installed sources in a temporary LOCPATH.
std::string setCommaLocale(std::string& madeIn) {
    const auto comma = [](const std::string& name) {
        return std::setlocale(LC_ALL, name.c_str()) && *std::localeconv()->decimal_point == ',';
    };
    for (const char* name : {"de_DE.UTF-8", "fr_FR.UTF-8", "German_Germany.1252", "de-DE"}) {
        if (comma(name)) {
            return name;
        }
    }
#if defined(__GLIBC__)
    madeIn = ::testing::TempDir() + "orv-locale-" + std::to_string(getpid());
    std::filesystem::create_directories(madeIn);
    const std::string made = "de_DE.ISO-8859-1";
    if (std::system(("localedef -i de_DE -f ISO-8859-1 " + madeIn + "/" + made + " >/dev/null 2>&1")
                        .c_str()) != -1 &&
        setenv("LOCPATH", madeIn.c_str(), 1) == 0 && comma(made)) {
        return made + ", made with localedef";
    }
#endif
    return "";
}

} // namespace

TEST(PCKernel, Rows) {
    for (const Row& row : kRows) {
        EXPECT_EQ(run(row), row.expected) << row.what;
    }
    k().clearGeometry();
}

// A host in a decimal-comma locale, set for both libraries: std::locale::global with a numpunct
// facet whose decimal point is ',' (C++ streams), and setlocale (C's printf family). The file and
// the report must be those of the C locale. Where no comma C locale can be had (Wine without a
// German locale, glibc without localedef), the C half cannot be tested: the test is skipped after
// the C++ half.
TEST(PCKernel, FilesAndReportIgnoreTheLocale) {
    struct Comma : std::numpunct<char> {
        char do_decimal_point() const override { return ','; }
    };
    const std::locale cxx = std::locale::global(std::locale(std::locale::classic(), new Comma));
    const std::string c = std::setlocale(LC_ALL, nullptr);
    std::string madeIn;
    const std::string comma = setCommaLocale(madeIn);
    const std::string saved = run(ROW(kOdd, SAVE_ODD));
    std::setlocale(LC_ALL, c.c_str());
    std::locale::global(cxx);
#if defined(__GLIBC__)
    if (!madeIn.empty()) {
        unsetenv("LOCPATH");
        std::filesystem::remove_all(madeIn);
    }
#endif
    EXPECT_EQ(saved, kOdd) << "C locale: " << (comma.empty() ? "none with a decimal comma" : comma);
    if (comma.empty()) {
        GTEST_SKIP() << "no decimal-comma C locale is installed or could be made (glibc: localedef "
                        "and the sources of Debian's package locales; Windows: "
                        "German_Germany.1252); only the C++ stream locale was tested";
    }
}
