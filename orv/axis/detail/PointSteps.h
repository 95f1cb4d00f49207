#ifndef ORV_AXIS_DETAIL_POINTSTEPS_H
#define ORV_AXIS_DETAIL_POINTSTEPS_H

// Internal: the steps of one point's conversion about an axis, shared by the single-point and list
// conversions so that both give the same bits. The steps are those of TripletBase written out
// component by component in the same order and precision.

#include "orv/axis/detail/Frame.h"
#include "orv/foundation/ART.h"
#include "orv/foundation/Config.h"
#include "orv/foundation/DART.h"
#include "orv/foundation/TripletBase.h"
#include "orv/math/Math.h"

#include <cmath>

namespace orv {
namespace detail {

inline ART makeRecord(float a, float r, double theta) {
    return ART{a, r, static_cast<float>(theta)};
}
inline DART makeRecord(double a, double r, double theta) {
    return DART{a, r, theta};
}
template <class T> using RecordOf = decltype(makeRecord(T(), T(), 0.0));

// Axial and radial coordinates of a point and its radial vector R (the part of V = X - P
// perpendicular to D: V - n (V . n) with n the normalised direction).
template <class T> struct RadialPart {
    T a;
    T r;
    TripletBase<T> radial;
};

template <class T>
ORV_FORCE_INLINE RadialPart<T> radialPart(const ArtFrame<T>& f, const TripletBase<T>& point) {
    const T vx = point.x - f.point.x;
    const T vy = point.y - f.point.y;
    const T vz = point.z - f.point.z;
    const TripletBase<T>& n = f.unitDir;
    const T s = (vx * n.x + vy * n.y) + vz * n.z;
    const T x = vx - scaled(n.x, s);
    const T y = vy - scaled(n.y, s);
    const T z = vz - scaled(n.z, s);
    const T root = std::sqrt((x * x + y * y) + z * z);
    const T m = TripletBase<T>::undefinedMarker();
    const T r = ((x == m) | (y == m) | (z == m)) ? static_cast<T>(kUndefinedValue) : root;
    const T a = (f.dir.x * (vx - x) + f.dir.y * (vy - y)) + f.dir.z * (vz - z);
    return RadialPart<T>{a, r, TripletBase<T>(x, y, z)};
}

// convertART of one point with a prepared frame (no check of the axis): r = R.length(); a =
// D . (V - R); R normalised by r (a zero R stays zero); theta = atan2(C . R^, U . R^) in double,
// times 180, divided by pi (rounded to float for ART).
template <class T>
ORV_FORCE_INLINE RecordOf<T> convertOne(const ArtFrame<T>& f, const TripletBase<T>& point) {
    const RadialPart<T> p = radialPart(f, point);
    // Dividing a zero vector by 1 gives it unchanged, as normalising leaves it.
    const T len = p.r == T(0) ? T(1) : p.r;
    const T ux = p.radial.x / len;
    const T uy = p.radial.y / len;
    const T uz = p.radial.z / len;
    const T sideDot = (f.side.x * ux + f.side.y * uy) + f.side.z * uz;
    const T upDot = (f.up.x * ux + f.up.y * uy) + f.up.z * uz;
    const double radians = math::atan2(static_cast<double>(sideDot), static_cast<double>(upDot));
    return makeRecord(p.a, p.r, radians * 180.0 / kPi);
}

// The rows of the right-handed rotation about the unit direction u by the angle whose sine and
// cosine are s and c.
template <class T> struct AxisAngleRows { TripletBase<T> row[3]; };
template <class T> ORV_FORCE_INLINE AxisAngleRows<T> rowsOf(const TripletBase<T>& u, T s, T c) {
    const T x = u.x;
    const T y = u.y;
    const T z = u.z;
    const T k = T(1) - c;
    AxisAngleRows<T> m;
    m.row[0] = TripletBase<T>(x * x * k + c, x * y * k - z * s, x * z * k + y * s);
    m.row[1] = TripletBase<T>(x * y * k + z * s, y * y * k + c, y * z * k - x * s);
    m.row[2] = TripletBase<T>(x * z * k - y * s, y * z * k + x * s, z * z * k + c);
    return m;
}
// The rows of the rotation by phi (radians) about the unit direction u; cosine and sine at T
// (correctly rounded, float for float).
template <class T>
ORV_FORCE_INLINE AxisAngleRows<T> unitAxisAngleRows(const TripletBase<T>& u, T phi) {
    T s;
    T c;
    math::sincos(phi, s, c);
    return rowsOf(u, s, c);
}
// The same rows about the direction n normalised at T.
template <class T> inline AxisAngleRows<T> axisAngleRows(const TripletBase<T>& n, T phi) {
    return unitAxisAngleRows(unitOf(n), phi);
}

// Theta in degrees to radians for convertXYZ: in double, then rounded to T.
template <class T> ORV_FORCE_INLINE T radiansOf(T t) {
    return static_cast<T>(static_cast<double>(t) * kPi / 180.0);
}

// The point at (a, r) for the rotation m about the frame's axis: w = M U, then (P + a D) + r w.
template <class T>
ORV_FORCE_INLINE TripletBase<T> pointFromRows(const XyzFrame<T>& f, T a, T r,
                                              const AxisAngleRows<T>& m) {
    const TripletBase<T> w(m.row[0].dot(f.up), m.row[1].dot(f.up), m.row[2].dot(f.up));
    return (f.point + scaled(f.dir, a)) + scaled(w, r);
}

// convertXYZ of (a, r, theta in degrees) with a prepared frame (no check of the axis): the angle
// in radians, M the rotation about D by it, then the point from its rows.
template <class T> ORV_FORCE_INLINE TripletBase<T> pointAt(const XyzFrame<T>& f, T a, T r, T t) {
    return pointFromRows(f, a, r, unitAxisAngleRows(f.unitDir, radiansOf(t)));
}

} // namespace detail
} // namespace orv

#endif
