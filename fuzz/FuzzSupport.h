#ifndef ORV_FUZZ_FUZZSUPPORT_H
#define ORV_FUZZ_FUZZSUPPORT_H

// Helpers shared by the fuzz targets: drawing values that reach the awkward corners (NaN,
// infinities, both undefined markers, signed zeros, denormals, huge and tiny values) more often
// than raw bytes would, and property checks that abort so that libFuzzer records a finding.

#include "orv/GeometryTools.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <typeinfo>

namespace orvfuzz {

constexpr double kPi = 3.141592653589793;
constexpr long double kDoubleEps = 2.220446049250313e-16L;
constexpr long double kFloatEps = 1.1920928955078125e-07L;

inline double drawDouble(FuzzedDataProvider& in) {
    switch (in.ConsumeIntegralInRange<int>(0, 15)) {
    case 0:
        return std::numeric_limits<double>::quiet_NaN();
    case 1:
        return std::numeric_limits<double>::infinity();
    case 2:
        return -std::numeric_limits<double>::infinity();
    case 3:
        return std::numeric_limits<double>::max();
    case 4:
        return 3.4028234663852886e38;
    case 5:
        return 0.0;
    case 6:
        return -0.0;
    case 7:
        return std::numeric_limits<double>::denorm_min() * in.ConsumeIntegralInRange<int>(1, 9);
    case 8:
        return std::ldexp(in.ConsumeFloatingPointInRange<double>(-1.0, 1.0),
                          in.ConsumeIntegralInRange<int>(-1074, 1023));
    case 9:
        return static_cast<double>(in.ConsumeIntegralInRange<int>(-720, 720));
    default:
        return in.ConsumeFloatingPointInRange<double>(-1000.0, 1000.0);
    }
}

// A value for which the library's results are meant to be well conditioned: finite, moderate.
inline double drawModerate(FuzzedDataProvider& in, double limit = 1000.0) {
    return in.ConsumeFloatingPointInRange<double>(-limit, limit);
}

inline orv::TripletBase<double> drawTriplet(FuzzedDataProvider& in) {
    const double x = drawDouble(in);
    const double y = drawDouble(in);
    const double z = drawDouble(in);
    return orv::TripletBase<double>(x, y, z);
}

inline orv::TripletBase<double> drawModerateTriplet(FuzzedDataProvider& in, double limit = 1000.0) {
    const double x = drawModerate(in, limit);
    const double y = drawModerate(in, limit);
    const double z = drawModerate(in, limit);
    return orv::TripletBase<double>(x, y, z);
}

[[noreturn]] inline void fail(const std::string& what) {
    std::fprintf(stderr, "property violated: %s\n", what.c_str());
    std::abort();
}

inline void check(bool condition, const char* what) {
    if (!condition) {
        fail(what);
    }
}

// Checks that a caught library exception carries exactly these labels and message.
inline void checkError(const orv::Error& e, const char* cls, const char* op, const char* msg) {
    if (e.getClassLabel() != cls || e.getOperationLabel() != op || e.getMessage() != msg ||
        e.getErrorType() != orv::errorTypeError) {
        fail("unexpected refusal " + e.describe());
    }
}

// A refusal as the library documents it: the exact exception class is given separately.
struct Refusal {
    const char* cls;
    const char* op;
    const char* msg;
};

// The refusals of the rotation axis: not set, and no rotation towards XYZ (period angle 0).
const Refusal kMachineART{"MachineData", "convertART", "MachineData object is not initialised."};
const Refusal kMachineAR{"MachineData", "convertAR", "MachineData object is not initialised."};
const Refusal kMatrix{"RotationAxis", "getRotationMatrix", "Invalid rotation parameters.\n"};

// Runs f and checks its outcome. When refuse is true, f must throw exactly the class E (not a
// class derived from it) with the refusal's labels, message and error type 4; otherwise f must
// return normally. Any other exception, or none where one is due, is a finding. Returns refuse.
template <class E, class F> bool expectOutcome(bool refuse, const Refusal& r, F&& f) {
    try {
        f();
    } catch (const orv::Error& e) {
        if (!refuse) {
            fail("unexpected refusal " + e.describe());
        }
        if (typeid(e) != typeid(E)) {
            fail("refusal of another class: " + e.describe());
        }
        checkError(e, r.cls, r.op, r.msg);
        return true;
    } catch (...) {
        fail(std::string("foreign exception where ") + (refuse ? r.msg : "no refusal") +
             " was due");
    }
    if (refuse) {
        fail(std::string("no refusal where one was due: ") + r.msg);
    }
    return false;
}

// Runs f, which must not throw anything.
template <class F> void expectOk(F&& f) {
    expectOutcome<orv::Error>(false, Refusal{"", "", ""}, f);
}

// True when every component is 0 or has a magnitude in [1e-3, 1e3]: the input for which the
// library's results are meant to be accurate to a bound scaled to the size of the values.
inline bool moderate(double v) {
    const double m = std::fabs(v);
    return v == 0.0 || (m >= 1e-3 && m <= 1e3);
}
template <class T> bool moderate(const orv::TripletBase<T>& v) {
    return moderate(static_cast<double>(v.x)) && moderate(static_cast<double>(v.y)) &&
           moderate(static_cast<double>(v.z));
}

// Euclidean norm in long double, for the bounds of the property checks.
template <class T> long double norm(const orv::TripletBase<T>& v) {
    const long double x = v.x;
    const long double y = v.y;
    const long double z = v.z;
    return std::sqrt(x * x + y * y + z * z);
}
template <class T, class U>
long double distance(const orv::TripletBase<T>& a, const orv::TripletBase<U>& b) {
    const long double x = static_cast<long double>(a.x) - static_cast<long double>(b.x);
    const long double y = static_cast<long double>(a.y) - static_cast<long double>(b.y);
    const long double z = static_cast<long double>(a.z) - static_cast<long double>(b.z);
    return std::sqrt(x * x + y * y + z * z);
}

inline bool sameBits(double a, double b) {
    return (std::isnan(a) && std::isnan(b)) || (a == b && std::signbit(a) == std::signbit(b));
}
inline bool sameBits(float a, float b) {
    return (std::isnan(a) && std::isnan(b)) || (a == b && std::signbit(a) == std::signbit(b));
}

// True when set with these fields an axis converts accurately: moderate components, a direction
// not much shorter than its components allow, and an up vector (or, when it is zero, the default
// up vector) at least a tenth of a radian away from the direction: making a nearly parallel up
// vector perpendicular cancels digits, and the frame is then orthogonal only to that accuracy.
inline bool wellConditionedAxis(const orv::TripletBase<double>& p,
                                const orv::TripletBase<double>& d, double angle,
                                const orv::TripletBase<double>& u) {
    if (!moderate(p) || !moderate(d) || !moderate(u) || !(angle > 0.0 && angle <= 360.0)) {
        return false;
    }
    const long double dn = norm(d);
    if (dn < 1e-2L) {
        return false;
    }
    orv::TripletBase<double> up = u;
    if (up.x == 0.0 && up.y == 0.0 && up.z == 0.0) {
        up = std::fabs(d.y) / dn >= 1.0L ? orv::TripletBase<double>(1.0, 0.0, 0.0)
                                         : orv::TripletBase<double>(0.0, 1.0, 0.0);
    }
    const long double cx =
        static_cast<long double>(up.y) * d.z - static_cast<long double>(up.z) * d.y;
    const long double cy =
        static_cast<long double>(up.z) * d.x - static_cast<long double>(up.x) * d.z;
    const long double cz =
        static_cast<long double>(up.x) * d.y - static_cast<long double>(up.y) * d.x;
    return std::sqrt(cx * cx + cy * cy + cz * cz) >= 1e-1L * dn * norm(up);
}

// A set axis with moderate fields for the round-trip properties: drawn, and replaced by the z axis
// through the origin (period 30, up vector y) when the drawn fields are not well conditioned.
inline orv::RotationAxis drawWellConditionedAxis(FuzzedDataProvider& in) {
    const orv::TripletBase<double> p = drawModerateTriplet(in);
    const orv::TripletBase<double> d = drawModerateTriplet(in, 10.0);
    const double angle = in.ConsumeFloatingPointInRange<double>(1e-3, 360.0);
    const orv::TripletBase<double> u = drawModerateTriplet(in, 10.0);
    if (!wellConditionedAxis(p, d, angle, u)) {
        return orv::RotationAxis(orv::TripletBase<double>(0.0, 0.0, 0.0),
                                 orv::TripletBase<double>(0.0, 0.0, 1.0), 30.0,
                                 orv::TripletBase<double>(0.0, 1.0, 0.0));
    }
    return orv::RotationAxis(p, d, angle, u);
}

template <class T> bool sameBits(const orv::TripletBase<T>& a, const orv::TripletBase<T>& b) {
    return sameBits(a.x, b.x) && sameBits(a.y, b.y) && sameBits(a.z, b.z);
}

} // namespace orvfuzz

#endif
