#ifndef ORV_FOUNDATION_TRIPLETBASE_H
#define ORV_FOUNDATION_TRIPLETBASE_H

#include "orv/foundation/Precision.h"
#include "orv/platform/Error.h"
#include "orv/platform/UserMsg.h"

#include <cmath>
#include <limits>
#include <ostream>
#include <type_traits>

namespace orv {

// The undefined value: the single-precision maximum, 3.4028234663852886e38, in both precisions.
// length() of an undefined triplet returns it, and the stream output prints it as "UNDEF".
constexpr double kUndefinedValue = 3.4028234663852886e38;

namespace detail {
// Component conversion between the two instantiations: widening is exact and inline; narrowing
// rounds to nearest and is made out of line (see Precision.h).
template <class To, class From> struct ComponentCast {
    static To apply(From v) { return static_cast<To>(v); }
};
template <> struct ComponentCast<float, double> {
    static float apply(double v) { return narrowToFloat(v); }
};
} // namespace detail

// Three components x, y, z of type T (float or double) and nothing else: an array of triplets is a
// packed array of components. A component equal to the largest finite value of T (the undefined
// marker) makes the triplet undefined. Arithmetic runs in T unless an operation says otherwise.
template <class T> class TripletBase {
    static_assert(std::is_same<T, float>::value || std::is_same<T, double>::value,
                  "TripletBase holds float or double components");

public:
    T x;
    T y;
    T z;

    // (0, 0, 0).
    TripletBase() : x(0), y(0), z(0) {}
    TripletBase(T x_, T y_, T z_) : x(x_), y(y_), z(z_) {}

    // Component-wise conversion from the other precision: float -> double is exact, double -> float
    // rounds each component to the nearest float. Explicit: precision never changes silently.
    template <class U, class = typename std::enable_if<!std::is_same<U, T>::value>::type>
    explicit TripletBase(const TripletBase<U>& other)
        : x(detail::ComponentCast<T, U>::apply(other.x)),
          y(detail::ComponentCast<T, U>::apply(other.y)),
          z(detail::ComponentCast<T, U>::apply(other.z)) {}

    // The undefined marker of T: its largest finite value.
    static constexpr T undefinedMarker() { return std::numeric_limits<T>::max(); }

    // True when x, y or z equals the undefined marker exactly (infinities and NaN are not markers).
    bool isUndefined() const {
        return x == undefinedMarker() || y == undefinedMarker() || z == undefinedMarker();
    }

    TripletBase operator+(const TripletBase& o) const {
        return TripletBase(x + o.x, y + o.y, z + o.z);
    }
    TripletBase operator-(const TripletBase& o) const {
        return TripletBase(x - o.x, y - o.y, z - o.z);
    }

    // Each component multiplied by the scalar in double precision, then stored as T (for float the
    // product is rounded to single precision).
    TripletBase operator*(double s) const;

    // (x*x' + y*y') + z*z', in T, summed in this order.
    T dot(const TripletBase& o) const {
        const T xx = x * o.x;
        const T yy = y * o.y;
        const T zz = z * o.z;
        const T sum = xx + yy;
        return sum + zz;
    }

    // (y*z' - z*y', z*x' - x*z', x*y' - y*x').
    TripletBase cross(const TripletBase& o) const {
        const T a1 = y * o.z;
        const T a2 = z * o.y;
        const T b1 = z * o.x;
        const T b2 = x * o.z;
        const T c1 = x * o.y;
        const T c2 = y * o.x;
        return TripletBase(a1 - a2, b1 - b2, c1 - c2);
    }

    // The undefined value 3.4028234663852886e38 (as T) when the triplet is undefined; otherwise
    // sqrt((x^2 + y^2) + z^2) in T (sqrtf for float, sqrt for double).
    T length() const {
        if (isUndefined()) {
            return static_cast<T>(kUndefinedValue);
        }
        return std::sqrt(dot(*this));
    }

    // Divides by length() in place. A zero length leaves the triplet unchanged (no exception). An
    // undefined triplet is divided by the undefined value: a float (marker, 0, 0) becomes (1, 0,
    // 0).
    void normalize() {
        const T l = length();
        if (l == T(0)) {
            return;
        }
        *this /= l;
    }

    // The part of this triplet perpendicular to direction n: this - (this . n^) n^, with n^ a
    // normalised copy of n and each product n^ * s formed as operator* does. A zero n gives this.
    TripletBase perpendicularComponent(const TripletBase& n) const {
        TripletBase unit = n;
        unit.normalize();
        const T s = dot(unit);
        return *this - unit * static_cast<double>(s);
    }

    // Divides each component by d in place. Refuses d == 0 (or -0) with data::invalid
    // ("Triplet", "operator/=", "Attempt to divide by zero."), leaving the triplet unchanged.
    TripletBase& operator/=(T d) {
        if (d == T(0)) {
            throwError<data::invalid>("Triplet",
                                      "operator/=", UserMsg("Attempt to divide by zero.", nullptr));
        }
        x /= d;
        y /= d;
        z /= d;
        return *this;
    }

    // A new triplet (x/d, y/d, z/d). Refuses d == 0 (or -0) with data::invalid
    // ("Triplet", "operator/", "Attempt to divide by zero.").
    TripletBase operator/(T d) const {
        if (d == T(0)) {
            throwError<data::invalid>("Triplet", "operator/",
                                      UserMsg("Attempt to divide by zero.", nullptr));
        }
        return TripletBase(x / d, y / d, z / d);
    }
};

template <> inline TripletBase<double> TripletBase<double>::operator*(double s) const {
    return TripletBase<double>(x * s, y * s, z * s);
}

template <> inline TripletBase<float> TripletBase<float>::operator*(double s) const {
    return TripletBase<float>(scaleToFloat(x, s), scaleToFloat(y, s), scaleToFloat(z, s));
}

namespace detail {
template <class T> void writeComponent(std::ostream& os, T v) {
    if (static_cast<double>(v) == kUndefinedValue) {
        os << "UNDEF";
    } else {
        os << v;
    }
}
} // namespace detail

// Writes "(x, y, z)" with the stream's own formatting; a component equal to the undefined value
// 3.4028234663852886e38 is written as "UNDEF". No end of line.
template <class T> std::ostream& operator<<(std::ostream& os, const TripletBase<T>& t) {
    os << "(";
    detail::writeComponent(os, t.x);
    os << ", ";
    detail::writeComponent(os, t.y);
    os << ", ";
    detail::writeComponent(os, t.z);
    os << ")";
    return os;
}

static_assert(sizeof(TripletBase<float>) == 3 * sizeof(float), "packed float triplet");
static_assert(sizeof(TripletBase<double>) == 3 * sizeof(double), "packed double triplet");
static_assert(std::is_standard_layout<TripletBase<float>>::value, "standard layout");
static_assert(std::is_standard_layout<TripletBase<double>>::value, "standard layout");
static_assert(std::is_trivially_copyable<TripletBase<double>>::value, "trivially copyable");
static_assert(std::is_trivially_copyable<TripletBase<float>>::value, "trivially copyable");

} // namespace orv

#endif
