// Accurate paths of atan2 and acos: the arctangent by argument halving and its Taylor series,
// Ziv's loop (see Accurate.h for the method and the cap).
#include "orv/math/detail/Accurate.h"
#include "orv/math/detail/AccurateKernels.h"

namespace orv {
namespace crmath {
namespace detail {

using mp::Float;

// atan(q), 0 < q <= 1.
//
// Halving: q_(i+1) = q_i / (1 + sqrt(1 + q_i^2)) = tan(atan(q_i) / 2), j times, until
// w = q_j < 2^-jt with jt = 2 + isqrt(p / 16); then atan(q) = 2^j atan(w) and
// atan(w) = w sum (-1)^k z^k / (2k+1), z = w^2, in Horner's form s = 1/(2N+1),
// s = 1/(2k+1) - z s.
//
// Error of one halving, rounding only (input taken as exact, q <= 1): q^2 (u), 1 + q^2 (u; q^2's
// error weighs q^2/(1+q^2) <= 1/2): 1.51u; the square root halves that and adds u: 1.76u;
// 1 + sqrt(...) (the root weighs at most sqrt2/(1+sqrt2)): 2.03u; the quotient: 3.04u. The exact
// map q -> tan(atan(q)/2) has condition number 1/sqrt(1+q^2) <= 1, so errors already in q pass
// through undiminished at most: after j halvings w carries 3.1 j u.
// Series (w < 2^-4, z < 2^-8): each Horner step adds z |error so far| + 2.2u/(2k+1), so s is
// within 2.4u + T of its exact sum, T = z^(N+1)/(2N+3) the first omitted term, and the sum is at
// least 0.98; z's error moves it by z u / 3; with the product w s: 3.6u + 1.03T relative, and
// atan's condition number w atan'(w)/atan(w) <= 1 passes w's 3.1 j u on. N makes T <= 2^-p.
// Total: (3.1 j + 3.6)u + 1.03T < (4j + 5)u; returned as c = 4j + 5.
double atanKernel(Float& r, const Float& q, int limbs) {
    const int p = 64 * limbs;
    const int jt = 2 + isqrtInt(p / 16);
    int j = q.exp + jt;
    if (j < 0) {
        j = 0;
    }
    Float one;
    mp::setU64(one, 1);
    Float w = q;
    Float t;
    for (int i = 0; i < j; ++i) {
        mp::mul(t, w, w, limbs);
        mp::add(t, t, one, limbs);
        mp::sqrt(t, t, limbs);
        mp::add(t, t, one, limbs);
        mp::div(w, w, t, limbs);
    }
    Float z;
    mp::mul(z, w, w, limbs);
    // T <= z^(N+1) < 2^(2 (N+1) exp(w)) <= 2^-p.
    int n = 0;
    while (2LL * (n + 1) * (-static_cast<long long>(w.exp)) < p) {
        ++n;
    }
    Float s;
    mp::divU32(s, one, static_cast<std::uint32_t>(2 * n + 1), limbs);
    Float c;
    for (int k = n - 1; k >= 0; --k) {
        mp::mul(t, z, s, limbs);
        mp::divU32(c, one, static_cast<std::uint32_t>(2 * k + 1), limbs);
        mp::sub(s, c, t, limbs);
    }
    mp::mul(r, w, s, limbs);
    mp::mulPow2(r, j);
    return 4.0 * j + 5.0;
}

// atan2(y, x) from q = min(|y|,|x|) / max(|y|,|x|) <= 1 (one division, truncated: relative error
// below u, none when exact):
//   x > 0, |y| <= |x|: atan(q);        x > 0, |y| > |x|: pi/2 - atan(q);
//   x < 0, |y| > |x|: pi/2 + atan(q);  x < 0, |y| <= |x|: pi - atan(q);
// with y's sign. In the last three the result is at least pi/4 and at least atan(q), so atan(q)'s
// relative error passes on at most once; pi and pi/2 read at p + 64 bits and the final addition
// (u) add 1.01u: c = 1 + (4j + 5) + 2.
// Tiny quotients (q^2 < 2^(-p-2)) in the first case: atan(q) lies in (q - q^3/3, q), within
// 2^(exp(q) - p) below q, so the enclosure is q itself, open on one side when the division was
// exact. This is what rounds a result that is exactly a midpoint of the subnormal range (e.g.
// y = 3 * 2^-1074, x = 2) the right way: atan(q) is then just below it.
void atan2Enclose(double y, double x, int limbs, mp::Enclosure& e) {
    const int p = 64 * limbs;
    Float ay;
    Float ax;
    mp::setDouble(ay, y < 0 ? -y : y);
    mp::setDouble(ax, x < 0 ? -x : x);
    const bool steep = mp::compareAbs(ay, ax) > 0;
    Float q;
    const bool exact = steep ? mp::div(q, ax, ay, limbs) : mp::div(q, ay, ax, limbs);
    const int ySign = y < 0 ? 1 : 0;
    if (!steep && x > 0 && q.exp <= -(p / 2) - 1) {
        e.a = q;
        e.a.sign = ySign;
        if (exact) {
            e.errExp = q.exp - p;
            e.side = ySign != 0 ? 1 : -1;
        } else {
            e.errExp = q.exp - p + 1;
            e.side = 0;
        }
        e.valid = true;
        return;
    }
    Float at;
    const double c = atanKernel(at, q, limbs) + (exact ? 0.0 : 1.0) + 2.0;
    if (!steep && x > 0) {
        e.a = at;
    } else {
        Float base;
        if (steep) {
            mp::setPiOver2(base, limbs + 1);
        } else {
            mp::setPi(base, limbs + 1);
        }
        if (steep && x < 0) {
            mp::add(e.a, base, at, limbs);
        } else {
            mp::sub(e.a, base, at, limbs);
        }
    }
    e.a.sign = ySign;
    e.side = 0;
    mp::setRelativeError(e, c, limbs);
}

// acos(x) = 2 atan(sqrt((1 - x)/(1 + x))) for x >= 0 and pi - 2 atan(sqrt((1 + x)/(1 - x)))
// for x < 0: the arctangent's argument q stays in [0, 1]. 1 - x, 1 + x and their quotient are
// truncated (3.03u relative), the square root halves that and adds u: q carries 2.6u. For x < 0
// the result is at least pi/2 >= 2 atan(q); pi at p + 64 bits and the subtraction add 1.01u:
// c = 2.6 + (4j + 5) + 2.
void acosEnclose(double x, int limbs, mp::Enclosure& e) {
    Float one;
    mp::setU64(one, 1);
    Float fx;
    mp::setDouble(fx, x);
    Float num;
    Float den;
    if (x >= 0) {
        mp::sub(num, one, fx, limbs);
        mp::add(den, one, fx, limbs);
    } else {
        mp::add(num, one, fx, limbs);
        mp::sub(den, one, fx, limbs);
    }
    Float q;
    mp::div(q, num, den, limbs);
    mp::sqrt(q, q, limbs);
    Float at;
    const double c = atanKernel(at, q, limbs) + 2.6 + 2.0;
    mp::mulPow2(at, 1);
    if (x >= 0) {
        e.a = at;
    } else {
        Float pi;
        mp::setPi(pi, limbs + 1);
        mp::sub(e.a, pi, at, limbs);
    }
    e.side = 0;
    mp::setRelativeError(e, c, limbs);
}

namespace {

// Correctly rounded pi and its fractions (the exact results of Annex F's special cases).
constexpr double kPi = 3.141592653589793116;       // 0x1.921fb54442d18p+1
constexpr double kPiOver2 = 1.570796326794896558;  // 0x1.921fb54442d18p+0
constexpr double kPiOver4 = 0.7853981633974482790; // 0x1.921fb54442d18p-1
constexpr double k3PiOver4 = 2.356194490192344837; // 0x1.2d97c7f3321d2p+1

double withSign(double magnitude, double signSource) {
    return signSource < 0 || (signSource == 0 && 1.0 / signSource < 0) ? -magnitude : magnitude;
}

} // namespace

double atan2Accurate(double y, double x) {
    if (x != x || y != y) {
        return x + y;
    }
    const bool yInf = y - y != 0.0;
    const bool xInf = x - x != 0.0;
    const bool xNegative = x < 0 || (x == 0 && 1.0 / x < 0);
    if (y == 0.0) {
        return xNegative ? withSign(kPi, y) : y;
    }
    if (yInf) {
        if (xInf) {
            return withSign(xNegative ? k3PiOver4 : kPiOver4, y);
        }
        return withSign(kPiOver2, y);
    }
    if (xInf) {
        return xNegative ? withSign(kPi, y) : withSign(0.0, y);
    }
    if (x == 0.0) {
        return withSign(kPiOver2, y);
    }
    return mp::zivDouble([y, x](mp::Enclosure& e, int limbs) { atan2Enclose(y, x, limbs, e); });
}

double acosAccurate(double x) {
    if (x != x) {
        return x + x;
    }
    if (x > 1.0 || x < -1.0) {
        return (x - x) / (x - x); // NaN
    }
    if (x == 1.0) {
        return 0.0;
    }
    if (x == -1.0) {
        return kPi;
    }
    return mp::zivDouble([x](mp::Enclosure& e, int limbs) { acosEnclose(x, limbs, e); });
}

} // namespace detail
} // namespace crmath
} // namespace orv
