#ifndef ORV_FUZZ_FUZZSUPPORT_H
#define ORV_FUZZ_FUZZSUPPORT_H

// Helpers shared by the fuzz targets: drawing values that reach the awkward corners (NaN,
// infinities, both undefined markers, signed zeros, denormals, huge and tiny values) more often than
// raw bytes would, and property checks that abort so that libFuzzer records a finding.

#include "orv/GeometryTools.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

namespace orvfuzz {

inline double drawDouble(FuzzedDataProvider& in) {
    switch (in.ConsumeIntegralInRange<int>(0, 15)) {
    case 0: return std::numeric_limits<double>::quiet_NaN();
    case 1: return std::numeric_limits<double>::infinity();
    case 2: return -std::numeric_limits<double>::infinity();
    case 3: return std::numeric_limits<double>::max();
    case 4: return 3.4028234663852886e38;
    case 5: return 0.0;
    case 6: return -0.0;
    case 7: return std::numeric_limits<double>::denorm_min() * in.ConsumeIntegralInRange<int>(1, 9);
    case 8: return std::ldexp(in.ConsumeFloatingPointInRange<double>(-1.0, 1.0),
                              in.ConsumeIntegralInRange<int>(-1074, 1023));
    case 9: return static_cast<double>(in.ConsumeIntegralInRange<int>(-720, 720));
    default: return in.ConsumeFloatingPointInRange<double>(-1000.0, 1000.0);
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

inline bool sameBits(double a, double b) {
    return (std::isnan(a) && std::isnan(b)) || (a == b && std::signbit(a) == std::signbit(b));
}
inline bool sameBits(float a, float b) {
    return (std::isnan(a) && std::isnan(b)) || (a == b && std::signbit(a) == std::signbit(b));
}

} // namespace orvfuzz

#endif
