#ifndef ORV_MATH_DETAIL_MULTIPRECISION_H
#define ORV_MATH_DETAIL_MULTIPRECISION_H

// Internal: a small binary floating-point arithmetic of selectable precision for the accurate
// paths of the correctly rounded functions (orv/math/detail/Accurate.h).
//
// A value is 0 or (-1)^sign * 0.m * 2^exp with m an integer of `limbs` 64-bit limbs whose top bit
// is set: |value| lies in [2^(exp-1), 2^exp). Storage is fixed (kMaxLimbs limbs, on the stack);
// nothing allocates, nothing is shared, every function is reentrant.
//
// Precision of the operations: every result of add, sub, mul, mulU64, divU32, div and sqrt is
// the exact result TRUNCATED (rounded toward zero) to the limbs asked for, p = 64 * limbs bits:
// the computed value has the sign of the exact one, is not larger in magnitude, and differs from
// it by less than 2^(1-p) times its magnitude (an exact result that fits is returned exactly).
// The tests check each operation against that statement bit for bit.
//
// Exponents are 32-bit: far wider than doubles need (a square of 2^-1074 is 2^-2148), no overflow
// or underflow within the accurate paths. Sizes: a result has 1 to kMaxLimbs limbs; operands may
// have up to kMaxLimbs + 2 limbs (constants read with extra limbs).

#include <cstdint>

namespace orv {
namespace crmath {
namespace detail {
namespace mp {

// 4096 bits: the largest precision of the accurate paths (see Accurate.h for why it is never
// reached), plus two limbs for constants read beyond the working precision.
constexpr int kMaxLimbs = 64;
constexpr int kStoreLimbs = kMaxLimbs + 2;

struct Float {
    std::int32_t limbs = 0; // 0 for the value zero
    std::int32_t sign = 0;  // 1: negative
    std::int32_t exp = 0;
    std::uint64_t m[kStoreLimbs]; // m[limbs - 1] is the most significant limb
};

inline bool isZero(const Float& a) {
    return a.limbs == 0;
}

// Exact conversions. setDouble takes a finite double (0 allowed).
void setZero(Float& r);
void setDouble(Float& r, double x);
void setU64(Float& r, std::uint64_t v);
// 2^e.
void setPow2(Float& r, std::int32_t e);
// A constant from a table of limbs, most significant first, whose value is 0.bits * 2^exp,
// truncated to `limbs` limbs (tableLimbs >= limbs).
void setConstant(Float& r, const std::uint64_t* table, int tableLimbs, std::int32_t exp, int limbs);
// pi, pi/2 and ln 2 truncated to `limbs` limbs (limbs <= kMaxLimbs + 2).
void setPi(Float& r, int limbs);
void setPiOver2(Float& r, int limbs);
void setLn2(Float& r, int limbs);

// Copies a, truncated to `limbs` limbs.
void truncate(Float& r, const Float& a, int limbs);
inline void negate(Float& a) {
    if (a.limbs != 0) {
        a.sign ^= 1;
    }
}
inline void mulPow2(Float& a, std::int32_t k) {
    if (a.limbs != 0) {
        a.exp += k;
    }
}

// -1, 0, 1 as |a| <, =, > |b|; and as a <, =, > b.
int compareAbs(const Float& a, const Float& b);
int compare(const Float& a, const Float& b);

// Truncated results of `limbs` limbs (1..kMaxLimbs); r may be one of the operands.
void add(Float& r, const Float& a, const Float& b, int limbs);
void sub(Float& r, const Float& a, const Float& b, int limbs);
void mul(Float& r, const Float& a, const Float& b, int limbs);
void mulU64(Float& r, const Float& a, std::uint64_t k, int limbs);
// a / k for 0 < k < 2^32.
void divU32(Float& r, const Float& a, std::uint32_t k, int limbs);
// a / b (b non-zero); returns true when the quotient is exact (r equals a/b).
bool div(Float& r, const Float& a, const Float& b, int limbs);
// sqrt(a), a >= 0.
void sqrt(Float& r, const Float& a, int limbs);

// Rounding to the IEEE formats, with their subnormal ranges (the last bit of a subnormal result
// has the weight of the smallest subnormal) and overflow to infinity at or beyond the overflow
// threshold (2 - 2^-53) * 2^1023 for double, (2 - 2^-24) * 2^127 for float. Ties go as `tie`
// says: to even (round to nearest, ties to even), toward +infinity, or toward -infinity; the
// last two round the limits of an open interval (see Enclosure). Zero gives +0.
enum class Tie { Even, Up, Down };
double toDouble(const Float& a, Tie tie = Tie::Even);
float toFloat(const Float& a, Tie tie = Tie::Even);

// ---- Ziv's strategy -------------------------------------------------------------------------

// The exact value v of a function, enclosed at one precision: v lies in the OPEN interval
// (a - 2^errExp, a + 2^errExp), or only in its lower half (a - 2^errExp, a) when side < 0, or in
// its upper half (a, a + 2^errExp) when side > 0. `valid` is false where this precision could
// not enclose v closely enough (the caller then raises the precision).
struct Enclosure {
    Float a;
    std::int32_t errExp = 0;
    int side = 0;
    bool valid = false;
};

// The relative error bound c * 2^(1-p) of an approximation a at p = 64 * limbs bits, as an
// enclosure: errExp = a.exp + 1 - p + ceil(log2 c) + 1 (the extra bit covers |v| <= |a|(1 + cu)
// and second-order terms). Marks the enclosure invalid where c * 2^(1-p) > 2^-40.
void setRelativeError(Enclosure& e, double c, int limbs);
// An absolute error bound c * 2^(1-p).
void setAbsoluteError(Enclosure& e, double c, int limbs);

// Whether every value of the enclosure rounds to one same double (float); if so, stores it.
bool decideDouble(const Enclosure& e, double& result);
bool decideFloat(const Enclosure& e, float& result);

// The precisions tried, in limbs: each evaluation at the next one when the one before could not
// decide. The last is kMaxLimbs; there the value rounded from the enclosure's centre is returned.
constexpr int kDoubleLevels[] = {3, 6, 12, 24, 48, kMaxLimbs};
constexpr int kFloatLevels[] = {2, 4, 12, 24, 48, kMaxLimbs};

template <typename Evaluate> double zivDouble(Evaluate&& evaluate) {
    Enclosure e;
    for (int limbs : kDoubleLevels) {
        evaluate(e, limbs);
        double result;
        if (e.valid && decideDouble(e, result)) {
            return result;
        }
    }
    return toDouble(e.a);
}

template <typename Evaluate> float zivFloat(Evaluate&& evaluate) {
    Enclosure e;
    for (int limbs : kFloatLevels) {
        evaluate(e, limbs);
        float result;
        if (e.valid && decideFloat(e, result)) {
            return result;
        }
    }
    return toFloat(e.a);
}

// ---- Exact operations on naturals (little-endian limbs), shared with the tests --------------

// hi:lo = a * b, through ORV_UINT128 or _umul128 where the compiler has them.
std::uint64_t mulWide(std::uint64_t a, std::uint64_t b, std::uint64_t& hi);
// The same product from 32-bit halves only (the fallback, tested against the above).
std::uint64_t mulWidePortable(std::uint64_t a, std::uint64_t b, std::uint64_t& hi);
// (hi:lo) / d and its remainder, for hi < d; 32-bit halves only.
std::uint64_t divWide(std::uint64_t hi, std::uint64_t lo, std::uint64_t d, std::uint64_t& rem);

} // namespace mp
} // namespace detail
} // namespace crmath
} // namespace orv

#endif
