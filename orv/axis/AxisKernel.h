#ifndef ORV_AXIS_AXISKERNEL_H
#define ORV_AXIS_AXISKERNEL_H

// Internal to the library: the per-point arithmetic shared by the single-point and list
// conversions of RotationAxis, so that both give the same bits. Not part of the host interface
// (not in the umbrella header). Every rounding to float goes through the out-of-line helpers of
// Precision.h.

#include "orv/foundation/ART.h"
#include "orv/foundation/DART.h"
#include "orv/foundation/Precision.h"
#include "orv/foundation/TripletBase.h"
#include "orv/platform/Error.h"
#include "orv/platform/SystemMsg.h"

#include <cmath>
#include <cstdint>

namespace orv {
namespace detail {

constexpr double kPi = 3.141592653589793;

inline bool isZero(const TripletBase<double>& v) {
    return v.x == 0.0 && v.y == 0.0 && v.z == 0.0;
}

// Refusal of the conversions towards ART (operation label "convertART" or "convertAR").
inline void checkTowardsART(const TripletBase<double>& dir, const char* operation) {
    if (isZero(dir)) {
        throwError<data::invalid>("MachineData", operation,
                                  SystemMsg("MachineData object is not initialised."));
    }
}

// Refusal of the conversions towards XYZ and of the rotation matrices.
inline void checkTowardsXYZ(const TripletBase<double>& dir, double angle) {
    if (isZero(dir) || angle == 0.0) {
        throwError<data::invalid>("RotationAxis", "getRotationMatrix",
                                  SystemMsg("Invalid rotation parameters.\n"));
    }
}

inline TripletBase<double> atPrecision(const TripletBase<double>& v, double) {
    return v;
}
inline TripletBase<float> atPrecision(const TripletBase<double>& v, float) {
    return TripletBase<float>(v);
}

inline ART makeRecord(float a, float r, double theta) {
    return ART{a, r, narrowToFloat(theta)};
}
inline DART makeRecord(double a, double r, double theta) {
    return DART{a, r, theta};
}

// The axis fields at the precision T of the points, with the two normalisations that do not
// depend on the point. Building it once per list gives the same bits as building it per point.
template <class T> struct ArtFrame {
    TripletBase<T> point;   // axis point P
    TripletBase<T> dir;     // axis direction D as stored (rounded to T)
    TripletBase<T> unitDir; // D normalised at T: the copy the perpendicular component uses
    TripletBase<T> up;      // up vector U
    TripletBase<T> side;    // C = D x U formed in double, rounded to T, normalised at T

    ArtFrame(const TripletBase<double>& p, const TripletBase<double>& d,
             const TripletBase<double>& u)
        : point(atPrecision(p, T())), dir(atPrecision(d, T())), unitDir(dir),
          up(atPrecision(u, T())), side(atPrecision(d.cross(u), T())) {
        unitDir.normalize();
        side.normalize();
    }
};

// Axial and radial coordinates of a point and its radial vector R (the part of X - P
// perpendicular to D).
template <class T> struct RadialPart {
    T a;
    T r;
    TripletBase<T> radial;
};

template <class T>
inline RadialPart<T> radialPart(const ArtFrame<T>& f, const TripletBase<T>& point) {
    const TripletBase<T> v = point - f.point;
    // v.perpendicularComponent(dir), with the normalised direction taken from the frame.
    const T s = v.dot(f.unitDir);
    const TripletBase<T> radial = v - f.unitDir * static_cast<double>(s);
    const T r = radial.length();
    const T a = f.dir.dot(v - radial);
    return RadialPart<T>{a, r, radial};
}

// Theta in degrees (double) of a radial vector whose length() is r.
template <class T>
inline double thetaDegrees(const ArtFrame<T>& f, const TripletBase<T>& radial, T r) {
    // radial.normalize() divides by length(), which is r: a zero vector stays zero.
    TripletBase<T> unit = radial;
    if (r != T(0)) {
        unit.x = radial.x / r;
        unit.y = radial.y / r;
        unit.z = radial.z / r;
    }
    const T sideDot = f.side.dot(unit);
    const T upDot = f.up.dot(unit);
    return std::atan2(static_cast<double>(sideDot), static_cast<double>(upDot)) * 180.0 / kPi;
}

// convertART of one point with a prepared frame (no check of the axis).
template <class T>
inline auto convertWithFrame(const ArtFrame<T>& f, const TripletBase<T>& point)
    -> decltype(makeRecord(T(), T(), 0.0)) {
    const RadialPart<T> part = radialPart(f, point);
    return makeRecord(part.a, part.r, thetaDegrees(f, part.radial, part.r));
}

// Theta moved by whole turns to within half a turn of the reference (both degrees, double):
// d = theta - reference; when |d| >= 180, n = d / 360 rounded to nearest with halves away from
// zero, and the result is theta - 360 n. A NaN or infinite d leaves theta unchanged. The turn count
// is truncated through a 32-bit integer where it fits; beyond that the same truncation is done in
// double (std::trunc gives the same value wherever the integer conversion is defined).
inline double nearReference(double theta, double reference) {
    const double d = theta - reference;
    if (!(std::fabs(d) >= 180.0) || !std::isfinite(d)) {
        return theta;
    }
    const double q = d > 0.0 ? d / 360.0 + 0.5 : d / 360.0 - 0.5;
    double turns;
    if (std::fabs(q) < 2147483648.0) {
        turns = static_cast<double>(static_cast<std::int32_t>(q));
    } else {
        turns = std::trunc(q);
    }
    return theta - 360.0 * turns;
}

// Rows of the right-handed rotation by phi (radians) about the direction n, normalised at T;
// cosine and sine at T (cosf and sinf for float).
template <class T> struct AxisAngleRows { TripletBase<T> row[3]; };

template <class T> inline AxisAngleRows<T> axisAngleRows(const TripletBase<T>& n, T phi) {
    TripletBase<T> u = n;
    u.normalize();
    const T x = u.x;
    const T y = u.y;
    const T z = u.z;
    const T c = std::cos(phi);
    const T s = std::sin(phi);
    const T k = T(1) - c;
    AxisAngleRows<T> m;
    m.row[0] = TripletBase<T>(x * x * k + c, x * y * k - z * s, x * z * k + y * s);
    m.row[1] = TripletBase<T>(x * y * k + z * s, y * y * k + c, y * z * k - x * s);
    m.row[2] = TripletBase<T>(x * z * k - y * s, y * z * k + x * s, z * z * k + c);
    return m;
}

} // namespace detail
} // namespace orv

#endif
