// Internal: the fast paths of atan2, sincos and sincosf on S::kLanes arguments at a time, for a
// lanes struct S of VectorLanes.h. Included by one source file per instruction set
// (orv/math/VectorSse2.cpp, VectorAvx2.cpp), which defines ORV_VECTOR_TARGET (the target
// attribute of its functions) first; everything here has internal linkage there.
//
// Each lane runs the operations of the scalar fast path (orv/math/Atan2.cpp, SinCos.cpp) in the
// same order and precision, so it has the same bits where that path decides: the same reduction,
// table entries, polynomial, error bound and rounding test. The scalar path's branches become
// selections. Lanes outside the common range (tested first; their arguments are replaced by 1 so
// that every table index stays in range) and lanes whose rounding test fails are computed again
// by the single call, which takes its unusual or accurate path.

#ifndef ORV_VECTOR_TARGET
#error "define ORV_VECTOR_TARGET before including VectorKernels.h"
#endif

#include "orv/foundation/Config.h"
#include "orv/math/CorrectlyRounded.h"
#include "orv/math/VectorMath.h"
#include "orv/math/detail/DoubleDouble.h"
#include "orv/math/detail/Tables.h"
#include "orv/math/detail/VectorLanes.h"

#include <cstddef>
#include <cstdint>

namespace orv {
namespace crmath {
namespace detail {
namespace {

constexpr std::uint64_t kMagnitudeBits = 0x7fffffffffffffffULL;
constexpr std::uint64_t kSignBits = 0x8000000000000000ULL;
constexpr std::uint64_t kOneBits = 0x3ff0000000000000ULL;
constexpr std::uint64_t kExponentBits = 0x7ff0000000000000ULL;

template <class S> struct Pair { typename S::V hi, lo; };

// TwoSum and FastTwoSum of DoubleDouble.h, lane by lane.
template <class S>
ORV_FORCE_INLINE ORV_VECTOR_TARGET Pair<S> twoSumLanes(typename S::V a, typename S::V b) {
    const typename S::V s = S::add(a, b);
    const typename S::V bv = S::sub(s, a);
    const typename S::V av = S::sub(s, bv);
    return {s, S::add(S::sub(a, av), S::sub(b, bv))};
}
template <class S>
ORV_FORCE_INLINE ORV_VECTOR_TARGET Pair<S> fastTwoSumLanes(typename S::V a, typename S::V b) {
    const typename S::V s = S::add(a, b);
    return {s, S::sub(b, S::sub(s, a))};
}
template <class S> ORV_FORCE_INLINE ORV_VECTOR_TARGET typename S::V negate(typename S::V a) {
    return S::bitXor(a, S::fromBits(S::set64(kSignBits)));
}
template <class S> ORV_FORCE_INLINE ORV_VECTOR_TARGET typename S::V magnitudeOf(typename S::V a) {
    return S::bitAnd(a, S::fromBits(S::set64(kMagnitudeBits)));
}

// atan2 of S::kLanes pairs (Atan2.cpp: fastAtan2, atan2Main, atanOfRatio).
template <class S>
ORV_FORCE_INLINE ORV_VECTOR_TARGET void atan2Lanes(const double* y, const double* x, double* out) {
    using V = typename S::V;
    using I = typename S::I;
    const V vy = S::load(y);
    const V vx = S::load(x);
    const V ax = magnitudeOf<S>(vx);
    const V ay = magnitudeOf<S>(vy);
    const V swapped = S::gt(ay, ax);
    V n = S::select(swapped, ax, ay);
    V d = S::select(swapped, ay, ax);
    // The common range: 2^-480 <= d < 2^481 and n at most 62 binades below d (n >= 2^(e-62) for
    // d's exponent e), false for NaN.
    const V dPower = S::bitAnd(d, S::fromBits(S::set64(kExponentBits)));
    const V ok = S::bitAnd(S::bitAnd(S::ge(d, S::set(0x1p-480)), S::lt(d, S::set(0x1p481))),
                           S::ge(n, S::mul(dPower, S::set(0x1p-62))));
    const int okMask = S::mask(ok);
    if (okMask == 0) {
        for (int l = 0; l < S::kLanes; ++l) {
            out[l] = crmath::atan2(y[l], x[l]);
        }
        return;
    }
    const V one = S::set(1.0);
    n = S::select(ok, n, one);
    d = S::select(ok, d, one);
    // The offset and sign of Atan2.cpp's kOffsets[2 swapped + (x < 0)].
    const V xNegative = S::lt(vx, S::set(0.0));
    const V offHi = S::select(swapped, S::set(kPiHalf.hi), S::bitAnd(xNegative, S::set(kPi.hi)));
    const V offLo = S::select(swapped, S::set(kPiHalf.lo), S::bitAnd(xNegative, S::set(kPi.lo)));
    const V sign = S::select(S::bitXor(swapped, xNegative), S::set(-1.0), one);

    const V shift = S::set(0x1.8p45); // Atan2.cpp's kShift7: q rounded to a multiple of 2^-7
    const V shifted = S::add(S::div(n, d), shift);
    const I i = S::sub64(S::bits(shifted), S::bits(shift));
    const V c = S::sub(shifted, shift);
    const V low8 = S::fromBits(S::set64(~std::uint64_t(0xff)));
    const V d1 = S::bitAnd(d, low8);
    const V n1 = S::bitAnd(n, low8);
    const Pair<S> a = twoSumLanes<S>(S::sub(n, S::mul(c, d1)), negate<S>(S::mul(c, S::sub(d, d1))));
    const Pair<S> b = twoSumLanes<S>(d, S::mul(c, n1));
    const V bl = S::add(b.lo, S::mul(c, S::sub(n, n1)));
    const V th = S::div(a.hi, b.hi);
    const V inv = S::div(one, b.hi);
    const V rem = S::remainder(a.hi, th, b.hi);
    const V stl = S::mul(S::add(rem, S::sub(a.lo, S::mul(th, bl))), S::mul(sign, inv));
    const V z = S::mul(th, th);
    const V poly =
        S::add(S::set(kAtan3), S::add(S::mul(z, S::add(S::set(kAtan5), S::mul(S::set(kAtan7), z))),
                                      S::mul(S::mul(z, z), S::mul(S::set(kAtan9), z))));
    const V tail = S::mul(S::mul(th, z), poly);
    V tabHi, tabLo;
    S::lookup(kAtanTable, i, tabHi, tabLo);
    const Pair<S> lead = fastTwoSumLanes<S>(tabHi, th);
    const V known = S::add(S::add(tabLo, lead.lo), tail);
    const Pair<S> r = twoSumLanes<S>(offHi, S::mul(sign, lead.hi));
    const V w = S::add(S::add(r.lo, offLo), S::mul(sign, known));
    const V rlo = S::add(w, S::mul(stl, S::sub(one, z)));
    // roundsToDouble, then y's sign (down > 0: its sign bit set as copysign sets it).
    const V err = S::mul(magnitudeOf<S>(r.hi), S::set(0x1.8p-68));
    const V down = S::add(r.hi, S::sub(rlo, err));
    const V up = S::add(r.hi, S::add(rlo, err));
    const V decided = S::eq(down, up);
    S::store(out, S::bitXor(down, S::bitAnd(vy, S::fromBits(S::set64(kSignBits)))));
    const int good = S::mask(S::bitAnd(ok, decided));
    if (good != S::kAll) {
        for (int l = 0; l < S::kLanes; ++l) {
            if (((good >> l) & 1) == 0) {
                out[l] = crmath::atan2(y[l], x[l]);
            }
        }
    }
}

// The table entries of SinCos.cpp's entries() for the quadrant offset (0: sin, 1: cos), given
// S = sin(j pi/512) and C = cos(j pi/512) = table[256 - j]: (A, B) = (S, C), (C, -S), (-S, -C),
// (-C, S) for the quadrants 0 to 3, each entry times +-1 (exact).
template <class S> struct Rotation { typename S::V ah, al, bh, bl; };
template <class S>
ORV_FORCE_INLINE ORV_VECTOR_TARGET Rotation<S> rotation(typename S::I quadrant, const Pair<S>& sj,
                                                        const Pair<S>& cj) {
    using V = typename S::V;
    using I = typename S::I;
    const I one = S::set64(1);
    const V odd = S::fromBits(S::sub64(S::set64(0), S::and64(quadrant, one)));
    const I half = S::template shr64<1>(quadrant);
    const V signA = S::fromBits(S::or64(S::set64(kOneBits), S::template shl64<63>(half)));
    const V signB = S::fromBits(S::or64(
        S::set64(kOneBits), S::template shl64<63>(S::and64(S::xor64(quadrant, half), one))));
    return {
        S::mul(signA, S::select(odd, cj.hi, sj.hi)), S::mul(signA, S::select(odd, cj.lo, sj.lo)),
        S::mul(signB, S::select(odd, sj.hi, cj.hi)), S::mul(signB, S::select(odd, sj.lo, cj.lo))};
}

// k mod 1024 split into the quadrant (bits 8 and 9) and j (the low 8 bits), and the table entries
// of j and 256 - j.
template <class S> struct Entries {
    typename S::I quadrant;
    Pair<S> sj, cj;
};
template <class S> ORV_FORCE_INLINE ORV_VECTOR_TARGET Entries<S> entriesOf(typename S::I k) {
    using I = typename S::I;
    const I q = S::and64(k, S::set64(1023));
    const I j = S::and64(q, S::set64(255));
    Entries<S> e;
    e.quadrant = S::template shr64<8>(q);
    S::lookup(kSinTable, j, e.sj.hi, e.sj.lo);
    S::lookup(kSinTable, S::sub64(S::set64(256), j), e.cj.hi, e.cj.lo);
    return e;
}

// The next quadrant, mod 4 (cos is sin a quarter turn on).
template <class S> ORV_FORCE_INLINE ORV_VECTOR_TARGET typename S::I nextQuadrant(typename S::I q) {
    return S::and64(S::add64(q, S::set64(1)), S::set64(3));
}

// A cos r + B sin r with the rounding test (SinCos.cpp: rotate); true lanes in `decided`.
template <class S>
ORV_FORCE_INLINE ORV_VECTOR_TARGET typename S::V
rotateLanes(const Rotation<S>& e, typename S::V rh, typename S::V rl, typename S::V cm,
            typename S::V sm, typename S::V& decided) {
    using V = typename S::V;
    V ph, pl;
    S::twoProduct(e.bh, rh, ph, pl);
    const Pair<S> s = fastTwoSumLanes<S>(e.ah, ph);
    const V small =
        S::add(S::add(S::add(e.al, s.lo), pl), S::add(S::mul(e.bh, rl), S::mul(e.bl, rh)));
    const V low = S::add(S::add(small, S::mul(e.bh, sm)), S::mul(e.ah, cm));
    const V err = S::add(S::mul(magnitudeOf<S>(s.hi), S::set(0x1.8p-67)), S::set(0x1p-107));
    const V down = S::add(s.hi, S::sub(low, err));
    const V up = S::add(s.hi, S::add(low, err));
    decided = S::eq(down, up);
    return down;
}

// sincos of S::kLanes arguments (SinCos.cpp: sincos with reduceNear, terms and rotate). Lanes
// with |x| outside [2^-27, 2^12) or a reduced argument below 2^-30 go to the single call.
template <class S>
ORV_FORCE_INLINE ORV_VECTOR_TARGET void sincosLanes(const double* x, double* s, double* c) {
    using V = typename S::V;
    using I = typename S::I;
    const V vx = S::load(x);
    const V ax = magnitudeOf<S>(vx);
    V ok = S::bitAnd(S::ge(ax, S::set(0x1p-27)), S::lt(ax, S::set(0x1p12)));
    if (S::mask(ok) == 0) {
        for (int l = 0; l < S::kLanes; ++l) {
            crmath::sincos(x[l], s[l], c[l]);
        }
        return;
    }
    const V xs = S::select(ok, vx, S::set(1.0));
    const V shift = S::set(kShift);
    const V shifted = S::add(S::mul(xs, S::set(kInvStep)), shift);
    const I k = S::sub64(S::bits(shifted), S::bits(shift));
    const V kd = S::sub(shifted, shift);
    const V a = S::sub(xs, S::mul(kd, S::set(kStep1)));
    const Pair<S> h = twoSumLanes<S>(a, negate<S>(S::mul(kd, S::set(kStep2))));
    const Pair<S> r = twoSumLanes<S>(h.hi, S::sub(h.lo, S::mul(kd, S::set(kStep3))));
    ok = S::bitAnd(ok, S::ge(magnitudeOf<S>(r.hi), S::set(0x1p-30)));
    const V z = S::mul(r.hi, r.hi);
    const V cm =
        S::add(S::mul(S::set(-0.5), z),
               S::sub(S::mul(S::mul(z, z), S::add(S::set(kCos4), S::mul(z, S::set(kCos6)))),
                      S::mul(r.hi, r.lo)));
    const V sm =
        S::mul(S::mul(r.hi, z),
               S::add(S::set(kSin3), S::mul(z, S::add(S::set(kSin5), S::mul(z, S::set(kSin7))))));
    const Entries<S> e = entriesOf<S>(k);
    V sinDecided, cosDecided;
    const V sv =
        rotateLanes<S>(rotation<S>(e.quadrant, e.sj, e.cj), r.hi, r.lo, cm, sm, sinDecided);
    const V cv = rotateLanes<S>(rotation<S>(nextQuadrant<S>(e.quadrant), e.sj, e.cj), r.hi, r.lo,
                                cm, sm, cosDecided);
    S::store(s, sv);
    S::store(c, cv);
    const int good = S::mask(S::bitAnd(ok, S::bitAnd(sinDecided, cosDecided)));
    if (good != S::kAll) {
        for (int l = 0; l < S::kLanes; ++l) {
            if (((good >> l) & 1) == 0) {
                crmath::sincos(x[l], s[l], c[l]);
            }
        }
    }
}

// sinf or cosf of a reduced argument with the rounding test against float (SinCos.cpp:
// rotateFloat, |x| < 2^20): the result widened.
template <class S>
ORV_FORCE_INLINE ORV_VECTOR_TARGET typename S::V
rotateFloatLanes(const Rotation<S>& e, typename S::V sinr, typename S::V cm,
                 typename S::V& decided) {
    using V = typename S::V;
    const V d = S::add(e.ah, S::add(S::mul(e.ah, cm), S::mul(e.bh, sinr)));
    const V err = S::add(S::mul(magnitudeOf<S>(d), S::set(0x1p-48)), S::set(0x1p-84));
    const V down = S::viaFloat(S::sub(d, err));
    const V up = S::viaFloat(S::add(d, err));
    decided = S::eq(down, up);
    return down;
}

// sincosf of S::kLanes floats (SinCos.cpp: sincosf with reduceFloat and rotateFloat). Lanes with
// |x| outside [2^-12, 2^20) go to the single call.
template <class S>
ORV_FORCE_INLINE ORV_VECTOR_TARGET void sincosfLanes(const float* x, float* s, float* c) {
    using V = typename S::V;
    using I = typename S::I;
    const V vx = S::loadFloats(x);
    const V ax = magnitudeOf<S>(vx);
    const V ok = S::bitAnd(S::ge(ax, S::set(0x1p-12)), S::lt(ax, S::set(0x1p20)));
    if (S::mask(ok) == 0) {
        for (int l = 0; l < S::kLanes; ++l) {
            crmath::sincosf(x[l], s[l], c[l]);
        }
        return;
    }
    const V xs = S::select(ok, vx, S::set(1.0));
    const V shift = S::set(kShift);
    const V shifted = S::add(S::mul(xs, S::set(kInvStep)), shift);
    const I k = S::sub64(S::bits(shifted), S::bits(shift));
    const V kd = S::sub(shifted, shift);
    const V a = S::sub(xs, S::mul(kd, S::set(kFloatStep1)));
    const Pair<S> h = twoSumLanes<S>(a, negate<S>(S::mul(kd, S::set(kFloatStep2))));
    const V r = S::add(h.hi, S::sub(h.lo, S::mul(kd, S::set(kFloatStep3))));
    const V z = S::mul(r, r);
    const V sinr = S::add(r, S::mul(S::mul(r, z), S::add(S::set(kSin3), S::mul(z, S::set(kSin5)))));
    const V cm = S::mul(z, S::add(S::set(kCos2), S::mul(z, S::set(kCos4))));
    const Entries<S> e = entriesOf<S>(k);
    V sinDecided, cosDecided;
    const V sv = rotateFloatLanes<S>(rotation<S>(e.quadrant, e.sj, e.cj), sinr, cm, sinDecided);
    const V cv = rotateFloatLanes<S>(rotation<S>(nextQuadrant<S>(e.quadrant), e.sj, e.cj), sinr, cm,
                                     cosDecided);
    S::storeFloats(s, sv);
    S::storeFloats(c, cv);
    const int good = S::mask(S::bitAnd(ok, S::bitAnd(sinDecided, cosDecided)));
    if (good != S::kAll) {
        for (int l = 0; l < S::kLanes; ++l) {
            if (((good >> l) & 1) == 0) {
                crmath::sincosf(x[l], s[l], c[l]);
            }
        }
    }
}

// The block functions: whole groups of lanes, the rest by the single calls.
template <class S>
ORV_VECTOR_TARGET void atan2Block(const double* y, const double* x, double* out, std::size_t n) {
    std::size_t i = 0;
    for (; i + S::kLanes <= n; i += S::kLanes) {
        atan2Lanes<S>(y + i, x + i, out + i);
    }
    for (; i < n; ++i) {
        out[i] = crmath::atan2(y[i], x[i]);
    }
}
template <class S>
ORV_VECTOR_TARGET void sincosBlock(const double* x, double* s, double* c, std::size_t n) {
    std::size_t i = 0;
    for (; i + S::kLanes <= n; i += S::kLanes) {
        sincosLanes<S>(x + i, s + i, c + i);
    }
    for (; i < n; ++i) {
        crmath::sincos(x[i], s[i], c[i]);
    }
}
template <class S>
ORV_VECTOR_TARGET void sincosfBlock(const float* x, float* s, float* c, std::size_t n) {
    std::size_t i = 0;
    for (; i + S::kLanes <= n; i += S::kLanes) {
        sincosfLanes<S>(x + i, s + i, c + i);
    }
    for (; i < n; ++i) {
        crmath::sincosf(x[i], s[i], c[i]);
    }
}

} // namespace
} // namespace detail
} // namespace crmath
} // namespace orv
