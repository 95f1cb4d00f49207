#ifndef ORV_TESTS_AXISORACLE_H
#define ORV_TESTS_AXISORACLE_H

// The steps of the rotation-axis operations written out once more in plain scalar arithmetic, in
// the order and precision the library documents, without the library's own code: the oracle that
// the single-point operations must match bit for bit on random input. T is the precision of the
// point (float or double); the axis fields are double and narrowed to T where they enter.

#include "MathOracle.h"
#include "TestSupport.h"

#include <cmath>
#include <cstdint>

namespace oracle {

template <class T> struct V { T x, y, z; };
template <class T> V<T> operator-(V<T> a, V<T> b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
template <class T> V<T> operator+(V<T> a, V<T> b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
// Each component times s in double, stored as T.
template <class T> V<T> scale(V<T> v, double s) {
    return {T(double(v.x) * s), T(double(v.y) * s), T(double(v.z) * s)};
}
template <class T> T dot(V<T> a, V<T> b) {
    return (a.x * b.x + a.y * b.y) + a.z * b.z;
}
template <class T> V<T> cross(V<T> a, V<T> b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
template <class T> T length(V<T> v) {
    const T marker = std::numeric_limits<T>::max();
    if (v.x == marker || v.y == marker || v.z == marker) {
        return T(orvtest::U);
    }
    return std::sqrt(dot(v, v));
}
template <class T> V<T> normalized(V<T> v) {
    const T l = length(v);
    return l == T(0) ? v : V<T>{v.x / l, v.y / l, v.z / l};
}
template <class T> V<T> perpendicular(V<T> v, V<T> n) {
    const V<T> unit = normalized(n);
    return v - scale(unit, double(dot(v, unit)));
}
template <class T> V<T> at(V<double> v) {
    return {T(v.x), T(v.y), T(v.z)};
}
template <class T> V<T> of(const orv::TripletBase<T>& t) {
    return {t.x, t.y, t.z};
}
template <class T> orv::TripletBase<T> triplet(V<T> v) {
    return orv::TripletBase<T>(v.x, v.y, v.z);
}

// The stored fields of an axis set from (P, D, angle, U).
struct Axis {
    V<double> p, d, u;
};
inline Axis makeAxis(V<double> p, V<double> d, V<double> u) {
    const V<double> dir = normalized(d);
    if (u.x == 0 && u.y == 0 && u.z == 0) {
        u = std::fabs(dir.y) >= 1.0 ? V<double>{1, 0, 0} : V<double>{0, 1, 0};
    }
    return {p, dir, normalized(perpendicular(u, dir))};
}

// convertART: (a, r, theta in degrees) at precision T.
template <class T> V<T> convertART(const Axis& ax, V<T> x) {
    const V<T> d = at<T>(ax.d), u = at<T>(ax.u);
    const V<T> v = x - at<T>(ax.p);
    const V<T> radial = perpendicular(v, d);
    const V<T> unit = normalized(radial);
    const V<T> side = normalized(at<T>(cross(ax.d, ax.u)));
    const double t =
        mathoracle::atan2(double(dot(side, unit)), double(dot(u, unit))) * 180.0 / orvtest::kPi;
    return {dot(d, v - radial), length(radial), T(t)};
}

// The hemisphere rule in double: theta moved by whole turns to within half a turn of ref.
inline double nearReference(double t, double ref) {
    const double d = t - ref;
    if (!(std::fabs(d) >= 180.0) || !std::isfinite(d)) {
        return t;
    }
    return t - 360.0 * std::trunc(d / 360.0 + (d > 0 ? 0.5 : -0.5));
}

// The rows of the right-handed rotation by phi (radians, T) about n, normalised at T.
template <class T> void axisAngle(V<T> n, T phi, V<T> rows[3]) {
    const V<T> u = normalized(n);
    const T x = u.x, y = u.y, z = u.z, c = mathoracle::cos(phi), s = mathoracle::sin(phi),
            k = T(1) - c;
    rows[0] = {x * x * k + c, x * y * k - z * s, x * z * k + y * s};
    rows[1] = {x * y * k + z * s, y * y * k + c, y * z * k - x * s};
    rows[2] = {x * z * k - y * s, y * z * k + x * s, z * z * k + c};
}

// convertXYZ of (a, r, theta in degrees) at precision T.
template <class T> V<T> convertXYZ(const Axis& ax, T a, T r, T t) {
    const T phi = T(double(t) * orvtest::kPi / 180.0);
    const V<T> d = at<T>(ax.d), u = at<T>(ax.u);
    V<T> m[3];
    axisAngle(d, phi, m);
    const V<T> w{dot(m[0], u), dot(m[1], u), dot(m[2], u)};
    return (at<T>(ax.p) + scale(d, double(a))) + scale(w, double(r));
}

// The axial, radial and theta directions of convertARTWithDirections.
template <class T> void directions(const Axis& ax, V<T> x, V<T> out[3]) {
    out[0] = normalized(at<T>(ax.d));
    out[1] = normalized(perpendicular(x - at<T>(ax.p), out[0]));
    out[2] = cross(out[0], out[1]);
}

} // namespace oracle

#endif
