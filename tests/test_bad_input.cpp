// What every public operation family does with the values a host's geometry may hold: NaN,
// infinities, both undefined markers, zero and denormal vectors, empty, aliased and very long
// lists. One table per family, one row per case, each with its expected result or refusal, so that
// a change of behaviour under bad input fails here.
//
// Results compare with `same`: NaN equals NaN (whatever its sign and payload), otherwise equal
// values with equal signs.

#include "AxisTestSupport.h"
#include "KernelTestSupport.h"

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <memory>
#include <type_traits>
#include <vector>

using orv::ART;
using orv::DART;
using orv::Doublet;
using orv::RotationAxis;
using orv::ThetaTurboTransform;
using orv::Triangle;
using orv::TripletBase;
using orv::TurboTransform;
using orvtest::throwsWith;

namespace {
using D3 = TripletBase<double>;
using F3 = TripletBase<float>;

const double N = std::numeric_limits<double>::quiet_NaN();
const double I = std::numeric_limits<double>::infinity();
const double M = std::numeric_limits<double>::max();         // double undefined marker
const double U = 3.4028234663852886e38;                      // undefined value, float maximum
const double DN = std::numeric_limits<double>::denorm_min(); // smallest denormal double
const float NF = std::numeric_limits<float>::quiet_NaN();
const float IF = std::numeric_limits<float>::infinity();
const float MF = std::numeric_limits<float>::max(); // float undefined marker
const float DNF = std::numeric_limits<float>::denorm_min();
constexpr double kPi = 3.141592653589793;

bool same(double a, double b) {
    return (std::isnan(a) && std::isnan(b)) || (a == b && std::signbit(a) == std::signbit(b));
}

template <class T>
::testing::AssertionResult same3(const char* what, T x, T y, T z, double ex, double ey, double ez) {
    if (same(x, ex) && same(y, ey) && same(z, ez)) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << what << ": got (" << x << ", " << y << ", " << z
                                         << ") expected (" << ex << ", " << ey << ", " << ez << ")";
}
template <class T>
::testing::AssertionResult same3(const char* what, const TripletBase<T>& v, const D3& e) {
    return same3(what, v.x, v.y, v.z, e.x, e.y, e.z);
}
template <class R>::testing::AssertionResult sameRecord(const char* what, const R& v, const D3& e) {
    return same3(what, v.a, v.r, v.t, e.x, e.y, e.z);
}

// The axis of the worked examples: through the origin along z, period 30, up vector y; theta is
// measured from y towards -x.
RotationAxis zAxis() {
    return RotationAxis(D3(0, 0, 0), D3(0, 0, 1), 30, D3(0, 1, 0));
}

const char* const kDivide = "Attempt to divide by zero.";
const char* const kNotInitialised = "MachineData object is not initialised.";
const char* const kInvalidRotation = "Invalid rotation parameters.\n";
} // namespace

// ---- Triplet operations ----------------------------------------------------------------------

TEST(BadInput, TripletOperations) {
    enum Op { Length, Normalize, Perpendicular, DivideAssign, Divide };
    struct Row {
        const char* name;
        Op op;
        D3 v;
        D3 arg;      // direction, or divisor in x
        D3 expected; // length in x
    };
    const D3 z0(0, 0, 0);
    const Row rows[] = {
        {"length NaN", Length, D3(N, 0, 0), z0, D3(N, 0, 0)},
        {"length +inf", Length, D3(I, 0, 0), z0, D3(I, 0, 0)},
        {"length -inf", Length, D3(-I, 0, 0), z0, D3(I, 0, 0)},
        {"length -marker (no marker: overflows)", Length, D3(-M, 0, 0), z0, D3(I, 0, 0)},
        {"length float maximum (ordinary in double)", Length, D3(U, 0, 0), z0, D3(U, 0, 0)},
        {"length huge overflows", Length, D3(1e200, 0, 0), z0, D3(I, 0, 0)},
        {"length zero", Length, z0, z0, z0},
        {"length denormal underflows", Length, D3(DN, DN, DN), z0, z0},
        {"normalize denormal (length 0: kept)", Normalize, D3(DN, 0, 0), z0, D3(DN, 0, 0)},
        {"normalize NaN", Normalize, D3(N, 1, 0), z0, D3(N, N, N)},
        {"normalize inf", Normalize, D3(I, 0, 0), z0, D3(N, 0, 0)},
        {"normalize -marker", Normalize, D3(-M, 0, 0), z0, D3(-0.0, 0, 0)},
        {"normalize huge (length overflows)", Normalize, D3(1e200, 1e200, 0), z0, z0},
        {"perpendicular to NaN", Perpendicular, D3(1, 2, 3), D3(0, 0, N), D3(N, N, N)},
        {"perpendicular to inf", Perpendicular, D3(1, 2, 3), D3(0, 0, I), D3(N, N, N)},
        {"perpendicular to denormal", Perpendicular, D3(1, 2, 3), D3(0, 0, DN), D3(1, 2, 3)},
        {"perpendicular to marker", Perpendicular, D3(1, 2, 3), D3(0, 0, M), D3(1, 2, -I)},
        {"/= NaN", DivideAssign, D3(2, 4, 6), D3(N, 0, 0), D3(N, N, N)},
        {"/= inf", DivideAssign, D3(2, -4, 6), D3(I, 0, 0), D3(0, -0.0, 0)},
        {"/= denormal overflows", DivideAssign, D3(2, 4, 6), D3(DN, 0, 0), D3(I, I, I)},
        {"/ NaN", Divide, D3(2, 4, 6), D3(N, 0, 0), D3(N, N, N)},
    };
    for (const Row& r : rows) {
        D3 v = r.v;
        D3 got;
        const std::function<void()> call = [&] {
            switch (r.op) {
            case Length:
                got = D3(v.length(), 0, 0);
                break;
            case Normalize:
                v.normalize();
                got = v;
                break;
            case Perpendicular:
                got = v.perpendicularComponent(r.arg);
                break;
            case DivideAssign:
                v /= r.arg.x;
                got = v;
                break;
            case Divide:
                got = v / r.arg.x;
                break;
            }
        };
        call();
        EXPECT_TRUE(same3(r.name, got, r.expected));
    }
    // Single precision: the float marker is the undefined one; -marker squares to infinity.
    EXPECT_TRUE(same3("float length -marker", F3(F3(-MF, 0, 0).length(), 0, 0), D3(I, 0, 0)));
    EXPECT_TRUE(same3("float length NaN", F3(F3(NF, 0, 0).length(), 0, 0), D3(N, 0, 0)));
    EXPECT_TRUE(same3("float length denormal", F3(F3(DNF, DNF, 0).length(), 0, 0), D3(0, 0, 0)));
    F3 f(1, 2, 3);
    EXPECT_TRUE(
        throwsWith<orv::data::invalid>([&] { f /= -0.0f; }, "Triplet", "operator/=", kDivide));
    // Narrowing: values beyond the float range become infinite, the double marker included.
    EXPECT_TRUE(same3("narrowed", F3(D3(M, -1e300, DN)), D3(I, -I, 0)));
}

// ---- RotationAxis::setRotationAxis --------------------------------------------------------------

TEST(BadInput, RotationAxisSet) {
    struct Row {
        const char* name;
        D3 dir;
        double angle;
        D3 up;
        const char* refusal; // nullptr: accepted
        D3 axisDir;          // getAxisDir() and getUpVector() (single precision), widened
        D3 upVector;
    };
    const D3 z(0, 0, 1), y(0, 1, 0), z0(0, 0, 0);
    const char* const zero = "Axis Direction is zero length.";
    const char* const low = "Rotation Angle must be greater than zero.";
    const char* const high = "Rotation Angle must be less than 360.";
    const Row rows[] = {
        {"direction -0", D3(-0.0, -0.0, -0.0), 30, y, zero, z0, z0},
        {"direction NaN: accepted, all NaN", D3(N, 0, 0), 30, z0, nullptr, D3(N, N, N),
         D3(N, N, N)},
        {"direction inf: accepted, NaN", D3(I, 0, 0), 30, z0, nullptr, D3(N, 0, 0), D3(N, N, N)},
        {"direction marker: divided by the undefined value", D3(0, 0, M), 30, y, nullptr,
         D3(0, 0, I), y},
        {"direction denormal: kept unnormalised", D3(0, 0, DN), 30, z0, nullptr, z0, y},
        {"direction 1e-200 (squared length underflows): kept", D3(0, 0, 1e-200), 30, z0, nullptr,
         z0, y},
        {"angle -inf", z, -I, y, low, z0, z0},
        {"angle -0", z, -0.0, y, low, z0, z0},
        {"angle denormal: accepted", z, DN, y, nullptr, z, y},
        {"angle just above 360", z, std::nextafter(360.0, 400.0), y, high, z0, z0},
        {"up NaN: accepted, NaN", z, 30, D3(N, 0, 0), nullptr, z, D3(N, N, N)},
        {"up inf: accepted, NaN", z, 30, D3(I, 0, 0), nullptr, z, D3(N, N, N)},
        {"up marker: divided by the undefined value", z, 30, D3(M, 0, 0), nullptr, z, D3(I, 0, 0)},
        {"up denormal: kept unnormalised", z, 30, D3(DN, 0, 0), nullptr, z, z0},
        {"up -0: default", z, 30, D3(-0.0, -0.0, -0.0), nullptr, z, y},
    };
    for (const Row& r : rows) {
        RotationAxis axis;
        const auto call = [&] { axis.setRotationAxis(D3(1, 2, 3), r.dir, r.angle, r.up); };
        if (r.refusal) {
            EXPECT_TRUE(throwsWith<orv::data::invalid>(call, "RotationAxis", "set", r.refusal))
                << r.name;
            EXPECT_FALSE(axis.isValid()) << r.name;
            EXPECT_EQ(axis.getAngle(), 0.0) << r.name;
            continue;
        }
        call();
        EXPECT_TRUE(axis.isValid()) << r.name;
        EXPECT_TRUE(same(axis.getAngle(), r.angle)) << r.name;
        EXPECT_TRUE(same3(r.name, axis.getAxisDir(), r.axisDir));
        EXPECT_TRUE(same3(r.name, axis.getUpVector(), r.upVector));
    }
}

// ---- Single-point conversions -------------------------------------------------------------------

TEST(BadInput, SinglePointConversions) {
    const RotationAxis axis = zAxis();
    // convertART, double and single precision (the point narrowed).
    struct Row {
        const char* name;
        D3 point;
        D3 art; // (a, r, t)
    };
    const Row rows[] = {
        {"NaN", D3(N, 0, 0), D3(N, N, N)},
        {"inf across the axis", D3(I, 0, 0), D3(N, N, N)},
        {"inf along the axis", D3(0, 0, I), D3(N, N, N)},
        {"marker across: undefined radius", D3(M, 0, 0), D3(0, U, -90)},
        {"-marker across: radius overflows, theta 0", D3(-M, 0, 0), D3(0, I, 0)},
        {"huge across: radius overflows, theta 0", D3(1e300, 0, 0), D3(0, I, 0)},
        {"huge along", D3(0, 0, 1e300), D3(1e300, 0, 0)},
        {"denormal across: r 0, theta -90", D3(DN, 0, 0), D3(0, 0, -90)},
        {"-0 on the axis: a -0", D3(-0.0, -0.0, -0.0), D3(-0.0, 0, 0)},
    };
    for (const Row& r : rows) {
        EXPECT_TRUE(sameRecord(r.name, axis.convertART(r.point), r.art));
    }
    const Row floatRows[] = {
        {"float NaN", D3(N, 0, 0), D3(N, N, N)},
        {"float marker across: undefined radius", D3(MF, 0, 0), D3(0, U, -90)},
        {"float -marker across: radius overflows", D3(-MF, 0, 0), D3(0, I, 0)},
        {"double marker narrowed to inf", D3(M, 0, 0), D3(N, N, N)},
        {"float denormal across", D3(DNF, 0, 0), D3(0, 0, -90)},
    };
    for (const Row& r : floatRows) {
        EXPECT_TRUE(sameRecord(r.name, axis.convertART(F3(r.point)), r.art));
    }

    // Hemisphere references: theta -90 of (1, 0, 5) moved by whole turns n = (t - ref) / 360
    // rounded half away from zero, or kept where t - ref is not finite. Beyond the 32-bit range the
    // turn count is formed in double.
    const auto turned = [](double t, double ref) {
        const double d = t - ref;
        if (!std::isfinite(d) || std::fabs(d) < 180.0) {
            return t;
        }
        return t - 360.0 * std::trunc(d / 360.0 + (d > 0 ? 0.5 : -0.5));
    };
    struct Reference {
        const char* name;
        double reference;
        double t;
    };
    const Reference refs[] = {
        {"NaN", N, -90},
        {"1e300", 1e300, -90.0 - 360.0 * std::trunc((-90.0 - 1e300) / 360.0 - 0.5)},
    };
    for (const Reference& r : refs) {
        EXPECT_TRUE(same(axis.convertARTSetHemisphere(D3(1, 0, 5), r.reference).t, r.t)) << r.name;
        EXPECT_TRUE(
            same(axis.convertARTSetHemisphere(F3(1, 0, 5), r.reference).t, static_cast<float>(r.t)))
            << r.name;
        EXPECT_TRUE(same(axis.convertARTSetHemisphereRad(D3(1, 0, 5), r.reference).z,
                         turned(-90, r.reference * 180.0 / kPi) * kPi / 180.0))
            << r.name;
    }
    EXPECT_TRUE(same(axis.convertARTSetHemisphere(D3(N, 0, 0), 0).t, N));

    // convertAR stores theta as given; single precision rounds it (1e300 to infinity).
    EXPECT_TRUE(sameRecord("convertAR NaN", axis.convertAR(D3(1, 0, 5), N), D3(5, 1, N)));
    EXPECT_TRUE(sameRecord("convertAR 1e300", axis.convertAR(F3(1, 0, 5), 1e300), D3(5, 1, I)));
    EXPECT_TRUE(sameRecord("convertAR NaN point", axis.convertAR(D3(N, 0, 5), 1), D3(N, N, 1)));

    // convertXYZ of bad records.
    const Row records[] = {
        {"a NaN", D3(N, 1, 0), D3(N, N, N)},
        {"r NaN", D3(0, N, 0), D3(N, N, N)},
        {"t NaN", D3(0, 1, N), D3(N, N, N)},
        {"t inf", D3(0, 1, I), D3(N, N, N)},
        {"r inf", D3(0, I, 0), D3(N, I, N)},
        {"a inf", D3(I, 0, 0), D3(N, N, I)},
        {"a marker: marker along the axis", D3(M, 1, 0), D3(0, 1, M)},
    };
    for (const Row& r : records) {
        EXPECT_TRUE(same3(r.name, axis.convertXYZ(DART{r.point.x, r.point.y, r.point.z}), r.art));
    }
    const Row floatRecords[] = {
        {"float a NaN", D3(NF, 1, 0), D3(N, N, N)},
        {"float r inf", D3(0, IF, 0), D3(N, I, N)},
        {"float a marker: marker along the axis", D3(MF, 1, 0), D3(0, 1, U)},
        {"float t inf", D3(0, 1, IF), D3(N, N, N)},
    };
    for (const Row& r : floatRecords) {
        const ART rec{float(r.point.x), float(r.point.y), float(r.point.z)};
        EXPECT_TRUE(same3(r.name, axis.convertXYZ(rec), r.art));
    }

    // Directions of a NaN point.
    DART c;
    D3 a, rad, th;
    axis.convertARTWithDirections(D3(N, 0, 0), c, a, rad, th);
    EXPECT_TRUE(same3("NaN point axial", a, D3(0, 0, 1)));
    EXPECT_TRUE(same3("NaN point radial", rad, D3(N, N, N)));
    EXPECT_TRUE(same3("NaN point theta", th, D3(N, N, N)));

    // A NaN period angle is not 0: conversions towards XYZ run as with any other.
    RotationAxis nanPeriod = zAxis();
    nanPeriod.setAngle(N);
    EXPECT_TRUE(same3("NaN period", nanPeriod.convertXYZ(DART{5, 1, -90}),
                      zAxis().convertXYZ(DART{5, 1, -90})));
}

// ---- List conversions, rotations and matrices ---------------------------------------------------

TEST(BadInput, EmptyListsOnAnUnsetAxis) {
    // Nothing is converted, so nothing is refused; every output list (three elements before)
    // ends empty.
    RotationAxis unset;
    const std::vector<F3> noF;
    const std::vector<D3> noD;
    std::vector<ART> art[4];
    std::vector<DART> dart[4];
    std::vector<F3> f[8], emptyF;
    std::vector<D3> d[7], emptyD;
    std::vector<Doublet> doublets(3, Doublet(1, 2));
    for (auto& v : art) {
        v.assign(3, ART{});
    }
    for (auto& v : dart) {
        v.assign(3, DART{});
    }
    for (auto& v : f) {
        v.assign(3, F3());
    }
    for (auto& v : d) {
        v.assign(3, D3());
    }
    EXPECT_NO_THROW({
        unset.convertXYZ(std::vector<ART>{}, f[0]);
        unset.convertXYZ(std::vector<DART>{}, d[0]);
        unset.convertXYZThetaRad(noF, f[1]);
        unset.convertXYZThetaRad(noD, d[1]);
        unset.convertART(noF, art[0]);
        unset.convertART(noD, dart[0]);
        unset.convertART(noF, f[2]);
        unset.convertART(noD, d[2]);
        unset.convertARTSetHemisphere(noF, art[1], 0);
        unset.convertARTSetHemisphere(noD, dart[1], 0);
        unset.convertARTSetHemisphere(noF, f[3], 0);
        unset.convertARTSetHemisphere(noD, d[3], 0);
        unset.convertARTSetHemisphereRad(noF, f[4], 0);
        unset.convertAR(noF, art[2], 0);
        unset.convertAR(noD, dart[2], 0);
        unset.convertAR(noF, doublets);
        unset.convertARTWithDirections(noF, art[3], f[5], f[6], f[7]);
        unset.convertARTWithDirections(noD, dart[3], d[4], d[5], d[6]);
        // The rotations work on the list itself.
        unset.rotateByAngle(emptyF, 10);
        unset.rotateByAngle(emptyD, 10);
        unset.rotateByPeriod(emptyF, 1);
        unset.rotateByPeriod(emptyD, 1);
        unset.projectToTheta(emptyF, 10);
        unset.projectToTheta(emptyD, 10);
    });
    EXPECT_TRUE(doublets.empty() && emptyF.empty() && emptyD.empty());
    for (int i = 0; i < 8; ++i) {
        EXPECT_TRUE(f[i].empty() && (i > 6 || d[i].empty()) && (i > 3 || art[i].empty()) &&
                    (i > 3 || dart[i].empty()))
            << i;
    }
}

TEST(BadInput, ListRefusalsLeaveOutputsAsDocumented) {
    // Two input points; every output starts with one marked element. Filled in place: resized to
    // two, the marked element kept and the new one zero. Filled aside: unchanged.
    const RotationAxis unset;
    RotationAxis noPeriod = zAxis();
    noPeriod.setAngle(0);
    const std::vector<F3> inF{F3(1, 0, 5), F3(0, 1, 2)};
    const std::vector<D3> inD{D3(1, 0, 5), D3(0, 1, 2)};
    std::vector<ART> art;
    std::vector<DART> dart;
    std::vector<F3> f, f2, f3;
    std::vector<D3> d;
    std::vector<Doublet> doublets;
    struct Row {
        const char* name;
        std::function<void()> call;
        std::function<std::size_t()> size; // of the outputs the row writes
        const char* cls;
        const char* op;
        const char* msg;
        std::size_t expected; // 2 per output filled in place; 1 aside
    };
    const char* const mc = "MachineData";
    const char* const ra = "RotationAxis";
    const char* const gm = "getRotationMatrix";
    const auto sizeOf = [](const auto& v) { return [&v] { return v.size(); }; };
    const Row rows[] = {
        {"convertART to records", [&] { unset.convertART(inF, art); }, sizeOf(art), mc,
         "convertART", kNotInitialised, 2},
        {"convertART to triplets", [&] { unset.convertART(inD, d); }, sizeOf(d), mc, "convertART",
         kNotInitialised, 1},
        {"hemisphere to records", [&] { unset.convertARTSetHemisphere(inD, dart, 0); },
         sizeOf(dart), mc, "convertART", kNotInitialised, 1},
        // The triplet hemisphere forms resize first, then build the records aside.
        {"hemisphere to triplets", [&] { unset.convertARTSetHemisphere(inF, f, 0); }, sizeOf(f), mc,
         "convertART", kNotInitialised, 2},
        {"radian hemisphere", [&] { unset.convertARTSetHemisphereRad(inF, f, 0); }, sizeOf(f), mc,
         "convertART", kNotInitialised, 2},
        {"convertAR to records", [&] { unset.convertAR(inF, art, 1); }, sizeOf(art), mc,
         "convertAR", kNotInitialised, 1},
        {"convertAR to doublets", [&] { unset.convertAR(inF, doublets); }, sizeOf(doublets), mc,
         "convertAR", kNotInitialised, 2},
        {"directions (all four lists)",
         [&] { unset.convertARTWithDirections(inF, art, f, f2, f3); },
         [&] { return art.size() + f.size() + f2.size() + f3.size(); }, mc, "convertART",
         kNotInitialised, 8},
        {"convertXYZ, unset", [&] { unset.convertXYZ(std::vector<DART>(2), d); }, sizeOf(d), ra, gm,
         kInvalidRotation, 2},
        {"convertXYZ, zero period", [&] { noPeriod.convertXYZ(std::vector<DART>(2), d); },
         sizeOf(d), ra, gm, kInvalidRotation, 2},
        {"convertXYZThetaRad, zero period", [&] { noPeriod.convertXYZThetaRad(inF, f); }, sizeOf(f),
         ra, gm, kInvalidRotation, 2},
    };
    // The first element still marked, any further one zero.
    const auto resizedOnly = [](const auto& v, const auto& marked) {
        using E = typename std::decay_t<decltype(v)>::value_type;
        const E zero{};
        bool ok = std::memcmp(&v[0], &marked, sizeof(E)) == 0;
        for (std::size_t i = 1; i < v.size(); ++i) {
            ok = ok && std::memcmp(&v[i], &zero, sizeof(E)) == 0;
        }
        return ok;
    };
    for (const Row& r : rows) {
        art.assign(1, ART{7, 7, 7});
        dart.assign(1, DART{7, 7, 7});
        for (auto* v : {&f, &f2, &f3}) {
            v->assign(1, F3(7, 7, 7));
        }
        d.assign(1, D3(7, 7, 7));
        doublets.assign(1, Doublet(7, 7));
        EXPECT_TRUE(throwsWith<orv::data::invalid>(r.call, r.cls, r.op, r.msg)) << r.name;
        EXPECT_EQ(r.size(), r.expected) << r.name;
        EXPECT_TRUE(resizedOnly(art, ART{7, 7, 7}) && resizedOnly(dart, DART{7, 7, 7}) &&
                    resizedOnly(f, F3(7, 7, 7)) && resizedOnly(f2, F3(7, 7, 7)) &&
                    resizedOnly(f3, F3(7, 7, 7)) && resizedOnly(d, D3(7, 7, 7)) &&
                    resizedOnly(doublets, Doublet(7, 7)))
            << r.name;
    }
}

TEST(BadInput, ListValues) {
    const RotationAxis axis = zAxis();
    using axistest::at;
    // A point whose theta is NaN (infinite coordinates) keeps it, and the next point continues
    // from that NaN, that is, it keeps its own theta.
    struct Row {
        const char* name;
        std::vector<D3> points;
        double reference; // NaN: convertART; otherwise convertARTSetHemisphere
        std::vector<double> thetas;
    };
    const Row rows[] = {
        {"inf point inside", {at(170), D3(I, 0, 0), at(-170), at(-150)}, N, {170, N, -170, -150}},
        {"marker point: theta -90", {at(10), D3(M, 0, 0), at(100)}, N, {10, -90, -260}},
        {"reference inf: first theta kept", {at(170), at(-170)}, I, {170, 190}},
    };
    for (const Row& r : rows) {
        std::vector<DART> out;
        std::vector<ART> outF;
        std::vector<F3> inF;
        for (const D3& p : r.points) { // the marker of each precision
            inF.push_back(p.x == M ? F3(MF, 0, 0) : F3(p));
        }
        if (std::isnan(r.reference)) {
            axis.convertART(r.points, out);
            axis.convertART(inF, outF);
        } else {
            axis.convertARTSetHemisphere(r.points, out, r.reference);
            axis.convertARTSetHemisphere(inF, outF, r.reference);
        }
        ASSERT_EQ(out.size(), r.thetas.size()) << r.name;
        for (std::size_t i = 0; i < out.size(); ++i) {
            EXPECT_TRUE(axistest::nearScale(out[i].t, r.thetas[i], 360.0, 4) ||
                        same(out[i].t, r.thetas[i]))
                << r.name << " " << i << ": " << out[i].t;
            EXPECT_TRUE(axistest::nearScale(outF[i].t, float(r.thetas[i]), 360.0f, 4) ||
                        same(outF[i].t, r.thetas[i]))
                << r.name << " float " << i << ": " << outF[i].t;
        }
    }
    // A NaN reference leaves the first theta, the rest continue.
    std::vector<DART> out;
    axis.convertARTSetHemisphere(std::vector<D3>{at(-170), at(170)}, out, N);
    EXPECT_TRUE(axistest::nearScale(out[1].t, -190.0, 360.0, 4)) << out[1].t;
    // NaN theta for convertAR and NaN radians for convertXYZThetaRad.
    std::vector<ART> ar;
    axis.convertAR(std::vector<F3>{F3(1, 0, 5)}, ar, N);
    EXPECT_TRUE(sameRecord("convertAR NaN", ar[0], D3(5, 1, N)));
    std::vector<D3> back;
    axis.convertXYZThetaRad(std::vector<D3>{D3(5, 1, I), D3(5, N, 0)}, back);
    EXPECT_TRUE(same3("theta inf", back[0], D3(N, N, N)));
    EXPECT_TRUE(same3("r NaN", back[1], D3(N, N, N)));
}

TEST(BadInput, AliasedLists) {
    // The same list as input and output gives the result of separate lists.
    const RotationAxis axis = zAxis();
    using axistest::at;
    const std::vector<D3> points{at(170, 1), at(-170, 2), at(-150, 3), D3(N, 0, 0)};
    std::vector<F3> pointsF;
    for (const D3& p : points) {
        pointsF.push_back(F3(p));
    }
    const auto sameList = [](const auto& a, const auto& b) {
        if (a.size() != b.size()) {
            return false;
        }
        for (std::size_t i = 0; i < a.size(); ++i) {
            if (!same3("list", a[i], D3(b[i]))) {
                return false;
            }
        }
        return true;
    };
    struct Row {
        const char* name;
        std::function<void(const std::vector<D3>&, std::vector<D3>&)> doubles;
        std::function<void(const std::vector<F3>&, std::vector<F3>&)> floats;
    };
    const Row rows[] = {
        {"convertART", [&](const auto& in, auto& out) { axis.convertART(in, out); },
         [&](const auto& in, auto& out) { axis.convertART(in, out); }},
        {"hemisphere",
         [&](const auto& in, auto& out) { axis.convertARTSetHemisphere(in, out, 400); },
         [&](const auto& in, auto& out) { axis.convertARTSetHemisphere(in, out, 400); }},
        {"convertXYZThetaRad", [&](const auto& in, auto& out) { axis.convertXYZThetaRad(in, out); },
         [&](const auto& in, auto& out) { axis.convertXYZThetaRad(in, out); }},
        {"radian hemisphere", nullptr,
         [&](const auto& in, auto& out) { axis.convertARTSetHemisphereRad(in, out, 7); }},
    };
    for (const Row& r : rows) {
        if (r.doubles) {
            std::vector<D3> separate, shared = points;
            r.doubles(points, separate);
            r.doubles(shared, shared);
            EXPECT_TRUE(sameList(shared, separate)) << r.name;
        }
        std::vector<F3> separate, shared = pointsF;
        r.floats(pointsF, separate);
        r.floats(shared, shared);
        EXPECT_TRUE(sameList(shared, separate)) << r.name << " (float)";
    }
    // Directions with the input as the radial list.
    std::vector<DART> art, art2;
    std::vector<D3> axial, radial, theta, shared = points, axial2, theta2;
    axis.convertARTWithDirections(points, art, axial, radial, theta);
    axis.convertARTWithDirections(shared, art2, axial2, shared, theta2);
    EXPECT_TRUE(sameList(shared, radial) && sameList(theta2, theta));
}

TEST(BadInput, MillionPointLists) {
    // A helix of a million points turning three times about the axis: the list equals the single
    // points (a and r bit for bit, theta by whole turns) and runs on without a jump.
    const RotationAxis axis = zAxis();
    const std::size_t n = 1000000;
    std::vector<F3> helix(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double t = 1080.0 * double(i) / double(n - 1) - 180.0;
        helix[i] = F3(axistest::at(t, double(i) * 1e-4, 3.0));
    }
    std::vector<ART> art;
    axis.convertART(helix, art);
    ASSERT_EQ(art.size(), n);
    for (std::size_t i : {std::size_t(0), std::size_t(1), n / 3, n / 2, n - 2, n - 1}) {
        const ART single = axis.convertART(helix[i]);
        EXPECT_TRUE(orvtest::sameBits(art[i].a, single.a) && orvtest::sameBits(art[i].r, single.r))
            << i;
        const double turns = std::round((double(single.t) - double(art[i].t)) / 360.0);
        EXPECT_TRUE(orvtest::sameBits(art[i].t, float(double(single.t) - 360.0 * turns))) << i;
        if (i > 0) {
            EXPECT_LT(std::fabs(double(art[i].t) - double(art[i - 1].t)), 180.0) << i;
        }
    }
    EXPECT_NEAR(art[n - 1].t, 900.0f, 1e-3f); // three turns up from -180
    std::vector<Doublet> ar;
    axis.convertAR(helix, ar);
    ASSERT_EQ(ar.size(), n);
    EXPECT_TRUE(orvtest::sameBits(ar[n / 2].x, art[n / 2].a) &&
                orvtest::sameBits(ar[n / 2].y, art[n / 2].r));
}

TEST(BadInput, RotationsAndMatrices) {
    const RotationAxis axis = zAxis();
    struct Row {
        const char* name;
        double angle; // rotateByAngle; periods for rotateByPeriod
        D3 point;
        D3 rotated; // rotateByAngle of the double point
    };
    const Row rows[] = {
        {"angle NaN", N, D3(1, 0, 5), D3(N, N, N)},
        {"angle inf", I, D3(1, 0, 5), D3(N, N, N)},
        {"point NaN", 90, D3(N, 0, 5), D3(N, N, N)},
        {"point on the axis", 90, D3(0, 0, 5), D3(0, 0, 5)},
    };
    for (const Row& r : rows) {
        D3 p = r.point;
        axis.rotateByAngle(p, r.angle);
        EXPECT_TRUE(same3(r.name, p, r.rotated));
        std::vector<F3> list{F3(r.point)};
        axis.rotateByPeriod(list, r.angle / 30.0);
        EXPECT_TRUE(same3(r.name, list[0], D3(F3(r.rotated))));
    }
    // A NaN period angle is not refused; rotations by periods give NaN.
    RotationAxis nanPeriod = zAxis();
    nanPeriod.setAngle(N);
    D3 p(1, 0, 5);
    nanPeriod.rotateByPeriod(p, 1);
    EXPECT_TRUE(same3("NaN period", p, D3(N, N, N)));
    // Matrices: a NaN or infinite angle (or a NaN period) makes every element NaN, the last row
    // included (0 times NaN in the products).
    orv::ORVMatrix4 m, inf;
    nanPeriod.getRotationMatrix(m, true);
    axis.getRotationMatrix(inf, I);
    for (int i = 0; i < 16; ++i) {
        EXPECT_TRUE(same(m(i / 4, i % 4), N) && same(inf(i / 4, i % 4), N)) << i;
    }
}

// ---- ThetaTurboTransform and the TurboTransform passage -----------------------------------------

TEST(BadInput, ThetaTurboTransformConversions) {
    // A straight passage: axial 0 to 4 between radius 1 (hub) and 2 (shroud), so that
    // NMTS = (axial / 4, theta, radius - 1) about the z axis.
    const TurboTransform tt({{0, 1}, {4, 1}}, {{0, 2}, {4, 2}});
    struct Row {
        const char* name;
        double breakAngle;
        F3 point;
        D3 nmts;
    };
    const double twoPi = 2.0 * kPi;
    const Row rows[] = {
        {"NaN point", 0, F3(NF, 0, 0), D3(N, N, N)},
        {"inf point", 0, F3(0, 0, IF), D3(N, N, N)},
        {"marker point: radius undefined", 0, F3(0, MF, 2), D3(0.5, 0, float(U - 1.0))},
        {"point on the axis", 0, F3(0, 0, 2), D3(0.5, 0, -1)},
        {"break angle NaN: no wrap", N, F3(-1, 0, 2), D3(0.5, kPi / 2, 0)},
        {"break angle +inf: one turn up", I, F3(0, 1, 2), D3(0.5, twoPi, 0)},
        {"break angle -inf: one turn down", -I, F3(0, 1, 2), D3(0.5, -twoPi, 0)},
        {"break angle 1e300: one turn up", 1e300, F3(0, 1, 2), D3(0.5, twoPi, 0)},
    };
    for (const Row& r : rows) {
        const ThetaTurboTransform ttt(r.breakAngle, zAxis());
        EXPECT_TRUE(same3(r.name, ttt.convertXYZtoNMTS(r.point, tt), r.nmts));
    }
    // Back to XYZ from bad NMTS values.
    const ThetaTurboTransform ttt(0, zAxis());
    EXPECT_TRUE(same3("m NaN", ttt.convertNMTStoXYZ(D3(N, 0, 0.5), tt), D3(N, N, N)));
    EXPECT_TRUE(same3("t NaN", ttt.convertNMTStoXYZ(D3(0.5, N, 0.5), tt), D3(N, N, N)));
    EXPECT_TRUE(same3("s inf", ttt.convertNMTStoXYZ(D3(0.5, 0, I), tt), D3(N, N, N)));
    EXPECT_TRUE(same3("m NaN, double projection",
                      ttt.projectPointToSpan(D3(N, 1, 2), ThetaTurboTransform::wallEndsClamped, 0.5,
                                             TurboTransform::spaceNMTS, tt),
                      D3(N, N, N)));

    // Refusals: unset axis, unknown space, and a transform without a passage.
    const ThetaTurboTransform unset;
    struct NoPassage : TurboTransform {};
    const NoPassage none;
    double m = 1, t = 2, s = 3;
    EXPECT_TRUE(
        throwsWith<orv::data::invalid>([&] { unset.convertXYZtoNMTS(F3(1, 2, 3), m, t, s, tt); },
                                       "MachineData", "convertART", kNotInitialised));
    EXPECT_TRUE(throwsWith<orv::data::invalid>(
        [&] { ttt.projectPointToSpan(F3(0, 1, 2), 0.5, TurboTransform::space(1), tt); },
        "TurboTransform", "convertARTtoSpaceTNs", "Unknown meridional space."));
    EXPECT_TRUE(throwsWith<orv::internal::error>(
        [&] { ttt.convertXYZtoMTS(F3(0, 1, 2), m, t, s, none); }, "TurboTransform",
        "convertARTtoSpaceTNs", "TurboTransform has no passage model."));
    EXPECT_TRUE(m == 1 && t == 2 && s == 3);
}

// ---- Triangle measures and paths ----------------------------------------------------------------

TEST(BadInput, TriangleMeasures) {
    struct Row {
        const char* name;
        D3 a, b, c;
        D3 lengths; // a, b, c
        D3 inCenter;
        D3 angles; // at B, at C, ratio of edge a
    };
    const double halfPi = kPi / 2;
    const Row rows[] = {
        {"NaN vertex", D3(N, 0, 0), D3(4, 0, 0), D3(0, 3, 0), D3(5, N, N), D3(N, N, N),
         D3(N, N, N)},
        {"inf vertex", D3(I, 0, 0), D3(4, 0, 0), D3(0, 3, 0), D3(5, I, I), D3(N, N, N),
         D3(N, N, N)},
        // The marker in A is seen in A - C (b) but not in B - A, which overflows (c).
        {"marker vertex", D3(M, 0, 0), D3(4, 0, 0), D3(0, 3, 0), D3(5, U, I), D3(N, N, N),
         D3(N, N, N)},
        {"three equal vertices", D3(7, 8, 9), D3(7, 8, 9), D3(7, 8, 9), D3(0, 0, 0), D3(0, 0, 0),
         D3(halfPi, halfPi, 0.5)},
        {"collinear", D3(0, 0, 0), D3(1, 0, 0), D3(2, 0, 0), D3(1, 2, 1), D3(1, 0, 0),
         D3(kPi, 0, 1)},
        {"denormal (lengths underflow)", D3(0, 0, 0), D3(DN, 0, 0), D3(0, DN, 0), D3(0, 0, 0),
         D3(0, 0, 0), D3(halfPi, halfPi, 0.5)},
    };
    for (const Row& r : rows) {
        Triangle tri(r.a, r.b, r.c);
        double la, lb, lc, angleB, angleC;
        tri.getLenghts(la, lb, lc);
        tri.getAnglesBandC(angleB, angleC);
        EXPECT_TRUE(same3(r.name, la, lb, lc, r.lengths.x, r.lengths.y, r.lengths.z));
        EXPECT_TRUE(same3(r.name, tri.getInCenter(), r.inCenter));
        EXPECT_TRUE(same3(r.name, angleB, angleC, tri.getRatioInCenterSweepToSideA(), r.angles.x,
                          r.angles.y, r.angles.z));
    }
    // The float marker arrives as the undefined value, an ordinary number to the edge lengths.
    Triangle fromFloat(F3(MF, 0, 0), F3(4, 0, 0), F3(0, 3, 0));
    double la, lb, lc;
    fromFloat.getLenghts(la, lb, lc);
    // U - 4 rounds to U.
    EXPECT_TRUE(same3("float marker vertex", la, lb, lc, 5, U, U));
}

TEST(BadInput, TrianglePaths) {
    const Triangle tri(D3(0, 0, 0), D3(4, 0, 0), D3(0, 3, 0)); // in-centre (1, 1, 0)
    // A NaN triangle gives NaN paths and no refusal.
    const Triangle nan(D3(N, 0, 0), D3(4, 0, 0), D3(0, 3, 0));
    D3 last;
    double ratio;
    nan.followInCenterToSideA(3, last, ratio, true);
    EXPECT_TRUE(same3("NaN triangle path", last, D3(N, N, N)));
    EXPECT_TRUE(same(ratio, N));
    // A million points: the distance to the edge halves at every step until the point lies on
    // the edge; the single-point form gives the list's last point.
    std::vector<D3> path;
    tri.followInCenterToSideA(1000000, path, ratio, false);
    ASSERT_EQ(path.size(), 1000000u);
    tri.followInCenterToSideA(1000000, last, ratio, false);
    EXPECT_TRUE(same3("million-point path", last, path.back()));
    EXPECT_LE(orvtest::ulpDistance(3.0 * last.x + 4.0 * last.y, 12.0), 8)
        << "on the line of edge a";
}

// ---- Kernel settings guard ----------------------------------------------------------------------

TEST(BadInput, KernelSettingsGuard) {
    orvtest::RecordingKernel& kernel = orvtest::recordingKernel();
    kernel.reset(); // triangulation tolerance 0.1f, tolerance 1e-3
    enum Op { Tolerance, Pitch, Refine, Push };
    struct Row {
        const char* name;
        Op op;
        double value;
        const char* refusal;
        double set; // the tolerance or triangulation tolerance set in the kernel
    };
    const char* const refine = "Triangulation tolerance refinement is less than or equal to zero.";
    const char* const tolerance = "Tolerance refinement is less than or equal to zero.";
    const double t = 0.1f; // the recorded triangulation tolerance, widened
    const Row rows[] = {
        {"tolerance +inf: accepted", Tolerance, I, nullptr, 0},
        {"tolerance -inf", Tolerance, -I, tolerance, 0},
        {"tolerance -0", Tolerance, -0.0, tolerance, 0},
        {"tolerance denormal", Tolerance, DN, tolerance, 0},
        {"pitch +inf: divisor 20", Pitch, IF, nullptr, float(t / 20)},
        {"pitch float above 1e-5", Pitch, 1.0000000656873453e-05f, nullptr,
         float(t / (360.0 / double(1.0000000656873453e-05f)))},
        {"refine +inf: zero", Refine, IF, nullptr, 0},
        {"refine float marker: denormal", Refine, MF, nullptr, 0.1f / MF},
        {"refine float denormal", Refine, DNF, refine, 0},
        {"push -inf", Push, -IF, refine, 0},
        {"push inf: zero", Push, IF, nullptr, 0},
    };
    for (const Row& r : rows) {
        kernel.reset();
        {
            orv::KernelSettingsGuard guard;
            const std::function<void()> call = [&] {
                switch (r.op) {
                case Tolerance:
                    guard.toleranceRefinement(r.value);
                    break;
                case Pitch:
                    guard.setTriangulationToleranceByPitch(float(r.value));
                    break;
                case Refine:
                    guard.triangulationToleranceRefinement(float(r.value));
                    break;
                case Push:
                    guard.pushTriangulationToleranceRefinement(float(r.value));
                    break;
                }
            };
            if (r.refusal) {
                const char* op = r.op == Tolerance ? "refineTolerance"
                                 : r.op == Pitch   ? "setTriangulationToleranceByPitch"
                                 : r.op == Refine  ? "triangulationToleranceRefinement"
                                                   : "pushTriangulationToleranceRefinement";
                EXPECT_TRUE(
                    throwsWith<orv::internal::error>(call, "KernelSettingsGuard", op, r.refusal))
                    << r.name;
                EXPECT_TRUE(same(kernel.tolerance, 1e-3) &&
                            same(kernel.triangulationTolerance, 0.1f))
                    << r.name;
            } else {
                call();
                EXPECT_TRUE(same(
                    r.op == Tolerance ? kernel.tolerance : kernel.triangulationTolerance, r.set))
                    << r.name;
            }
        }
        EXPECT_TRUE(same(kernel.tolerance, 1e-3) && same(kernel.triangulationTolerance, 0.1f))
            << r.name << ": restored";
    }
    // Settings the kernel reports as NaN are recorded and restored as they are.
    kernel.reset();
    kernel.tolerance = N;
    {
        orv::KernelSettingsGuard guard;
        guard.setTolerance(1);
        guard.toleranceRefinement(2);
        EXPECT_TRUE(same(kernel.tolerance, N));
    }
    EXPECT_TRUE(same(kernel.tolerance, N));
    kernel.reset();
}
