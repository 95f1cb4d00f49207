#ifndef ORV_AXIS_DETAIL_FRAME_H
#define ORV_AXIS_DETAIL_FRAME_H

// Internal: the axis fields at the precision of the points, with the normalisations that do not
// depend on a point. A single-point call builds its frame on every call; a list builds it once,
// with the same bits.

#include "orv/foundation/ART.h"
#include "orv/foundation/Config.h"
#include "orv/foundation/DART.h"
#include "orv/foundation/TripletBase.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace orv {
namespace detail {

constexpr double kPi = 3.141592653589793;

// The layout of float and double: the bits of 1 and the exponent field.
template <class T> struct Format;
template <> struct Format<float> {
    using Bits = std::uint32_t;
    static constexpr Bits kOne = UINT32_C(0x3F800000);
    static constexpr Bits kExponent = UINT32_C(0x7F800000);
};
template <> struct Format<double> {
    using Bits = std::uint64_t;
    static constexpr Bits kOne = UINT64_C(0x3FF0000000000000);
    static constexpr Bits kExponent = UINT64_C(0x7FF0000000000000);
};
template <class T> inline typename Format<T>::Bits bitsOf(T v) {
    typename Format<T>::Bits b;
    std::memcpy(&b, &v, sizeof b);
    return b;
}
template <class T> inline T fromBits(typename Format<T>::Bits b) {
    T v;
    std::memcpy(&v, &b, sizeof v);
    return v;
}

// The double triplet rounded to T (a plain cast: the library is built with the flags that keep
// every rounding).
inline TripletBase<double> atPrecision(const TripletBase<double>& v, double) {
    return v;
}
inline TripletBase<float> atPrecision(const TripletBase<double>& v, float) {
    return TripletBase<float>(static_cast<float>(v.x), static_cast<float>(v.y),
                              static_cast<float>(v.z));
}

// The product u * s of TripletBase::operator* (the scalar formed in double, the product rounded
// to T). For float the exact product of two floats fits in a double, so rounding it once to float
// is the float product itself.
inline double scaled(double u, double s) {
    return u * s;
}
inline float scaled(float u, float s) {
    return u * s;
}
template <class T> inline TripletBase<T> scaled(const TripletBase<T>& v, T s) {
    return TripletBase<T>(scaled(v.x, s), scaled(v.y, s), scaled(v.z, s));
}

// v / (1 - u), where 1 - u is the value before 1 (u = 2^-24 for float, 2^-53 for double): the
// next value away from zero for a normal v, v itself for a zero or subnormal v. In units of v's
// last place, with v's significand m in [2^(p-1), 2^p), the quotient is m + m 2^-p / (1 - 2^-p),
// whose fraction lies in (1/2, 1]: it rounds to m + 1 (the next binade's first value for the
// largest m, infinity for the largest finite v, as the division gives). A subnormal's fraction
// stays below 1/2. For finite v.
template <class T> inline T overPredecessorOfOne(T v) {
    using Bits = typename Format<T>::Bits;
    const Bits b = bitsOf(v);
    return (b & Format<T>::kExponent) != 0 ? fromBits<T>(static_cast<Bits>(b + 1)) : v;
}

// TripletBase::normalize() of v, returned. Where the squared length ss is one of the two values
// before 1, 1 or the value after 1, the length sqrt(ss) is known without the root: 1 for ss = 1
// and the value after (dividing by 1 changes nothing), the value before 1 for the two before
// (dividing by it is overPredecessorOfOne). The stored unit vectors rounded to float, or as
// normalised in double, almost always have such a squared length, and these tests then come out
// the same on every call on one axis: they predict, so the result does not wait for ss.
// Elsewhere the root and the division (the undefined value as length of an undefined triplet, no
// division for a zero length).
template <class T> ORV_FORCE_INLINE TripletBase<T> unitOf(TripletBase<T> v) {
    using Bits = typename Format<T>::Bits;
    const T ss = (v.x * v.x + v.y * v.y) + v.z * v.z;
    const Bits b = bitsOf(ss);
    if (static_cast<Bits>(b - (Format<T>::kOne - 2)) <= 3) { // then v is finite
        if (b >= Format<T>::kOne) {
            return v;
        }
        return TripletBase<T>(overPredecessorOfOne(v.x), overPredecessorOfOne(v.y),
                              overPredecessorOfOne(v.z));
    }
    const T l = v.isUndefined() ? static_cast<T>(kUndefinedValue) : std::sqrt(ss);
    if (l != T(0)) {
        v.x = v.x / l;
        v.y = v.y / l;
        v.z = v.z / l;
    }
    return v;
}

// The frame of the conversions towards ART, at precision T.
template <class T> struct ArtFrame {
    TripletBase<T> point;   // axis point P
    TripletBase<T> dir;     // axis direction D as stored (rounded to T)
    TripletBase<T> unitDir; // D normalised at T: the copy the perpendicular component uses
    TripletBase<T> up;      // up vector U
    TripletBase<T> side;    // C = D x U formed in double, rounded to T, normalised at T

    ORV_FORCE_INLINE ArtFrame(const TripletBase<double>& p, const TripletBase<double>& d,
                              const TripletBase<double>& u)
        : point(atPrecision(p, T())), dir(atPrecision(d, T())), unitDir(unitOf(dir)),
          up(atPrecision(u, T())), side(unitOf(atPrecision(d.cross(u), T()))) {}
};

// The frame of the conversions towards points, at precision T: P, D and U rounded to T and the
// copy of D normalised at T that the rotation matrix uses.
template <class T> struct XyzFrame {
    TripletBase<T> point;   // axis point P
    TripletBase<T> dir;     // axis direction D as stored (rounded to T)
    TripletBase<T> unitDir; // D normalised at T
    TripletBase<T> up;      // up vector U

    ORV_FORCE_INLINE XyzFrame(const TripletBase<double>& p, const TripletBase<double>& d,
                              const TripletBase<double>& u)
        : point(atPrecision(p, T())), dir(atPrecision(d, T())), unitDir(unitOf(dir)),
          up(atPrecision(u, T())) {}
};

} // namespace detail
} // namespace orv

#endif
