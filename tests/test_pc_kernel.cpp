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

void reset() {
    k().clearGeometry();
    k().createLinearBSplineLine("L", F3s{{0, 0, 0}, {3, 0, 0}, {3, 4, 0}}, "");
}

template <class T> std::string text(const TripletBase<T>& p) {
    using orvtest::shortest;
    return "(" + shortest(p.x) + " " + shortest(p.y) + " " + shortest(p.z) + ")";
}
std::string text(const std::vector<D3>& points) {
    std::string all;
    for (const D3& p : points) {
        all += text(p);
    }
    return all;
}

// The parts in order (the operands of + are evaluated in no fixed order; a braced list is).
std::string cat(std::initializer_list<std::string> parts) {
    std::string all;
    for (const std::string& part : parts) {
        all += part;
    }
    return all;
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

std::string unknown(const char* operation) {
    return std::string("! data::invalid(ParametricDB, ") + operation +
           ", Curve 'nope' does not exist.)";
}
const char* const kOnlyL = "ParametricDB: 1 curve(s)\n  curve 'L': 3 points, length 7\n";
const std::string kTemp = ::testing::TempDir() + "orv_pc_kernel_curve.txt";

// "odd" saved to a file, then the database printed. The digits are those of C's "%.17g" (in
// the C locale) for the floats widened to double and for the length sqrt((dx^2 + dy^2) + dz^2),
// worked out once outside the library.
std::string savedAndPrinted() {
    k().createLinearBSplineLine("odd", F3s{{0.1f, -2.5f, 1e-30f}, {1.0f / 3.0f, 7.0f, -0.0f}}, "");
    k().saveCurve("odd", kTemp);
    const std::string saved = cat({fileText(kTemp), printed()});
    std::remove(kTemp.c_str());
    return saved;
}
const char* const kOdd = "# curve odd\n# points 2\n# length 9.502865065251898\n# x y z\n"
                         "0.10000000149011612 -2.5 1.0000000031710769e-30\n"
                         "0.3333333432674408 7 -0\n"
                         "ParametricDB: 2 curve(s)\n  curve 'L': 3 points, length 7\n"
                         "  curve 'odd': 2 points, length 9.502865065251898\n";

struct Row {
    const char* what;
    std::function<std::string()> run;
    std::string expected;
};

const Row kRows[] = {
    {"two points",
     [] {
         return cat(
             {k().createLinearBSplineLine("two", F3s{{0, 0, 0}, {0, 0, 2}}, "f"), " ", printed()});
     },
     "two ParametricDB: 2 curve(s)\n  curve 'L': 3 points, length 7\n"
     "  curve 'two': 2 points, length 2\n"},
    {"one point and none: refused, L kept",
     [] {
         return cat({attempt([] {
                         k().createLinearBSplineLine("L", F3s{{1, 2, 3}}, "");
                     }),
                     attempt([] { k().createLinearBSplineLine("L", F3s{}, ""); }), " ", printed()});
     },
     "! data::error(PCKernelInterface, createLinearBSplineLine, BSpline must have at least two "
     "points.)! data::error(PCKernelInterface, createLinearBSplineLine, BSpline must have at least "
     "two points.) " +
         std::string(kOnlyL)},
    {"an existing name: replaced",
     [] {
         return cat({k().createLinearBSplineLine("L", F3s{{1, 1, 1}, {1, 1, 2}}, ""),
                     text(k().getPointLocationOnCurveAtParameter("L", 1.0)), printed()});
     },
     "L(1 1 2)ParametricDB: 1 curve(s)\n  curve 'L': 2 points, length 1\n"},
    {"evaluate at 0.5, -1, 2",
     [] {
         return cat({text(k().getPointLocationOnCurveAtParameter("L", 0.5)),
                     text(k().getPointLocationOnCurveAtParameter("L", -1.0)),
                     text(k().getPointLocationOnCurveAtParameter("L", 2.0)),
                     attempt([] { k().getPointLocationOnCurveAtParameter("nope", 0.5); })});
     },
     "(3 0.5 0)(0 0 0)(3 4 0)" + unknown("evaluateCurve")},
    {"project with parameter",
     [] {
         double t = -5.0, u = -5.0;
         return cat({text(k().projectPointToCurve(D3(5, 2, 1), std::string("L"), t)),
                     orvtest::shortest(t),
                     attempt([&] { k().projectPointToCurve(D3(), std::string("nope"), u); }),
                     orvtest::shortest(u)});
     },
     "(3 2 0)0.7142857142857143" + unknown("projectPoint") + "-5"},
    {"project to a list of names",
     [] {
         return cat({text(k().projectPointToCurve(D3(5, 2, 1), Names{"L"})), attempt([] {
                         k().projectPointToCurve(D3(), Names{"L", "L"});
                     }),
                     attempt([] { k().projectPointToCurve(D3(), Names{}); }),
                     attempt([] { k().projectPointToCurve(D3(), Names{"nope"}); })});
     },
     "(3 2 0)! internal::error(PCKernelInterface, projectPointToCurve, Can not handle projection "
     "to two curves.)! data::error(PCKernelInterface, projectPointToCurve, Can not project to a "
     "curve: no curve name given.)" +
         unknown("projectPoint")},
    {"points on the stretch from the projection of (4, 9, 0) (t = 1) back to (-1, -1, 0) (t = 0)",
     [] {
         std::vector<D3> points(5, D3(9, 9, 9)), kept(points);
         k().getPointLocationsOnCurveAtParameter({0, 0.25, 1, 2}, D3(4, 9, 0), D3(-1, -1, 0), "L",
                                                 points);
         const std::string refusal = attempt(
             [&] { k().getPointLocationsOnCurveAtParameter({0.5}, D3(), D3(), "nope", kept); });
         return cat({text(points), refusal, text(kept)});
     },
     "(3 4 0)(3 2.25 0)(0 0 0)(0 0 0)" + unknown("getPointLocationsOnCurveAtParameter") +
         "(9 9 9)(9 9 9)(9 9 9)(9 9 9)(9 9 9)"},
    {"delete one, an absent one, then clear",
     [] {
         k().createLinearBSplineLine("two", F3s{{0, 0, 0}, {0, 0, 2}}, "");
         k().createLinearBSplineLine("three", F3s{{0, 0, 0}, {0, 0, 3}}, "");
         k().deleteCurveIfExist("two");
         k().deleteCurveIfExist("two");
         const std::string kept = printed();
         k().clearGeometry();
         return kept + printed();
     },
     "ParametricDB: 2 curve(s)\n  curve 'L': 3 points, length 7\n  curve 'three': 2 points, "
     "length 3\nParametricDB: 0 curve(s)\n"},
    {"save and print", savedAndPrinted, kOdd},
    {"save refused",
     [] {
         std::remove(kTemp.c_str());
         return cat({attempt([] { k().saveCurve("nope", kTemp); }), fileText(kTemp),
                     attempt([] { k().saveCurve("L", ""); })});
     },
     unknown("exportToFile") +
         "(no file)! data::error(ParametricDB, exportToFile, Can not write file ''.)"},
    {"the defaults of the other operations",
     [] {
         return cat({k().createPoint("p", F3(1, 2, 3), ""),
                     text(k().projectPointToCurve(D3(5, 2, 1), std::string("L"))),
                     text(k().projectPointToCurve(F3(5, 2, 1), "L")),
                     text(k().getPointLocationOnCurveAtParameter(0, 0.5))});
     },
     "(0 0 0)(0 0 0)(0 0 0)"},
};

// Sets the C library's numeric locale to one with a decimal comma and returns its name, or ""
// when there is none. glibc: an installed one, or one made with localedef from the installed
// sources into a temporary LOCPATH (removed again by the caller). Windows: a German one.
std::string setCommaLocale(std::string& madeIn) {
    const auto tryLocale = [](const char* name) {
        return std::setlocale(LC_ALL, name) != nullptr &&
               std::string(std::localeconv()->decimal_point) == ",";
    };
    for (const char* name : {"de_DE.UTF-8", "fr_FR.UTF-8", "German_Germany.1252", "de-DE"}) {
        if (tryLocale(name)) {
            return name;
        }
    }
#if defined(__GLIBC__)
    madeIn = ::testing::TempDir() + "orv-locale-" + std::to_string(getpid());
    std::filesystem::create_directories(madeIn);
    const std::string make = "localedef -i de_DE -f ISO-8859-1 " + madeIn + "/de_DE.ISO-8859-1";
    if (std::system((make + " >/dev/null 2>&1").c_str()) != -1) {
        setenv("LOCPATH", madeIn.c_str(), 1);
        if (tryLocale("de_DE.ISO-8859-1")) {
            return "de_DE.ISO-8859-1 (made with localedef)";
        }
    }
#endif
    return "";
}

} // namespace

TEST(PCKernel, Rows) {
    for (const Row& row : kRows) {
        reset();
        EXPECT_EQ(row.run(), row.expected) << row.what;
    }
    reset();
}

// A host in a decimal-comma locale, set for both libraries: std::locale::global with a numpunct
// facet whose decimal point is ',' (C++ streams), and setlocale (C's printf family). Files and
// the report must be exactly those of the C locale. Where no comma C locale can be had, the C
// half cannot be tested and the test is skipped after the C++ half.
TEST(PCKernel, FilesAndReportIgnoreTheLocale) {
    struct Comma : std::numpunct<char> {
        char do_decimal_point() const override { return ','; }
    };
    const std::locale cxx = std::locale::global(std::locale(std::locale::classic(), new Comma));
    const std::string c = std::setlocale(LC_ALL, nullptr);
    std::string madeIn;
    const std::string comma = setCommaLocale(madeIn);
    reset();
    const std::string saved = savedAndPrinted();
    std::setlocale(LC_ALL, c.c_str());
    std::locale::global(cxx);
#if defined(__GLIBC__)
    if (!madeIn.empty()) {
        unsetenv("LOCPATH");
        std::filesystem::remove_all(madeIn);
    }
#endif
    EXPECT_EQ(saved, kOdd) << "C locale: " << (comma.empty() ? "none" : comma);
    if (comma.empty()) {
        GTEST_SKIP() << "no decimal-comma C locale is installed or could be made (glibc: "
                        "localedef and the locale sources, Debian package locales; Windows: "
                        "German_Germany.1252): only the C++ stream locale was tested";
    }
}
