// Accurate paths of log1p and expm1, Ziv's loop (see Accurate.h for the method and the cap).
#include "orv/math/detail/Accurate.h"
#include "orv/math/detail/AccurateKernels.h"

#include <limits>

namespace orv {
namespace crmath {
namespace detail {

using mp::Float;

namespace {

// 2 atanh(w) = log((1 + w)/(1 - w)) for |w| <= 0.172: 2 w sum z^k / (2k+1), z = w^2, Horner
// s = 1/(2N+1), s = 1/(2k+1) + z s. Every term is positive: each step adds z |error so far|
// + 3.1u s_k, so s is within 3.3u + T of its sum (T = z^(N+1) / ((2N+3)(1 - z)), the tail);
// z's error adds 0.01u, the product w s adds u: relative error 4.31u + 1.03T, T <= 2^-p.
void atanhTwice(Float& r, const Float& w, int limbs) {
    const int p = 64 * limbs;
    Float z;
    mp::mul(z, w, w, limbs);
    int n = 0;
    while (2LL * (n + 1) * (-static_cast<long long>(w.exp)) < p + 1) {
        ++n;
    }
    Float one;
    mp::setU64(one, 1);
    Float s;
    mp::divU32(s, one, static_cast<std::uint32_t>(2 * n + 1), limbs);
    Float t;
    Float c;
    for (int k = n - 1; k >= 0; --k) {
        mp::mul(t, z, s, limbs);
        mp::divU32(c, one, static_cast<std::uint32_t>(2 * k + 1), limbs);
        mp::add(s, c, t, limbs);
    }
    mp::mul(r, w, s, limbs);
    mp::mulPow2(r, 1);
}

// expm1(a) for |a| <= 1/2 exact as given: a' = a 2^-j with j = max(0, exp(a) + isqrt(p)), so
// |a'| < 2^-isqrt(p) <= 2^-11; expm1(a') = a' sum a'^m / (m+1)! in the nested form t_N = 1,
// t_k = 1 + a' t_(k+1) / (k+2); then j doublings E <- E (E + 2).
//
// Series: each step adds (|a'|/(k+2)) |error so far| + 1.44u (t in [0.88, 1.15]): t_0 within
// 1.65u + T, T = 1.34 |a'|^(N+1)/(N+2)! <= 2^-p; with the product: 2.9u + 1.6T relative.
// Doubling: E + 2 (u; E's relative error d weighs |E|/|E + 2|) and the product (u):
// d' <= d (1 + |E|/|E + 2|) + 2u. With |E_i| <= 0.65 2^-(j-i) and |E + 2| >= 1.6 the factors
// multiply to at most e^0.41 < 1.5: relative error below 1.5 (2.9u + 1.6T) + 3 j u.
// Returns j; the bound is (5 + 3j)u.
int expm1Kernel(Float& r, const Float& a, int limbs) {
    const int p = 64 * limbs;
    const int jt = isqrtInt(p);
    int j = a.exp + jt;
    if (j < 0) {
        j = 0;
    }
    Float b = a;
    mp::mulPow2(b, -j);
    int n = 0;
    while ((n + 1LL) * (-static_cast<long long>(b.exp)) < p + 2) {
        ++n;
    }
    Float one;
    mp::setU64(one, 1);
    Float t;
    mp::setU64(t, 1);
    for (int k = n - 1; k >= 0; --k) {
        mp::mul(t, b, t, limbs);
        mp::divU32(t, t, static_cast<std::uint32_t>(k + 2), limbs);
        mp::add(t, one, t, limbs);
    }
    mp::mul(r, b, t, limbs);
    Float two;
    mp::setU64(two, 2);
    Float s;
    for (int i = 0; i < j; ++i) {
        mp::add(s, r, two, limbs);
        mp::mul(r, r, s, limbs);
    }
    return j;
}

} // namespace

// log1p(x).
// |x| < 1/4: log(1 + x) = 2 atanh(w), w = x / (2 + x) (two truncations: 2.02u; atanh's
// condition number w/((1 - w^2) atanh w) <= 1.021 passes 2.07u on): relative error below 6.4u,
// c = 8.
// Otherwise y = 1 + x (truncated: log y moves by at most 1.01u absolute), y = 2^k m with
// m in [0.7071, 1.4143), log(1 + x) = k ln2 + 2 atanh((m - 1)/(m + 1)): m - 1 is exact, the
// quotient carries 2.02u, so |2 atanh| <= 0.347 is within 0.347 (6.4u + 1.03T) absolute; k ln2
// (ln 2 read at p + 64 bits, one product) within 0.7 |k| u; the sum adds u |result|. An absolute
// bound of (4.6 + 0.7 |k| + 1.02 |result| + 1.01)u, made 6 + 0.7 |k| + 2^(exp(result) + 1).
void log1pEnclose(double x, int limbs, mp::Enclosure& e) {
    Float fx;
    mp::setDouble(fx, x);
    Float one;
    mp::setU64(one, 1);
    e.side = 0;
    if (x < 0.25 && x > -0.25) {
        Float two;
        mp::setU64(two, 2);
        Float d;
        mp::add(d, two, fx, limbs);
        Float w;
        mp::div(w, fx, d, limbs);
        atanhTwice(e.a, w, limbs);
        mp::setRelativeError(e, 8.0, limbs);
        return;
    }
    Float y;
    mp::add(y, one, fx, limbs);
    int k = y.exp;
    Float m = y;
    m.exp = 0; // m in [1/2, 1)
    Float threshold;
    mp::setDouble(threshold, 0.7071067811865476);
    if (mp::compareAbs(m, threshold) < 0) {
        m.exp = 1;
        k -= 1;
    }
    Float num;
    Float den;
    mp::sub(num, m, one, limbs);
    mp::add(den, m, one, limbs);
    Float w;
    mp::div(w, num, den, limbs);
    Float lm;
    if (mp::isZero(w)) {
        mp::setZero(lm);
    } else {
        atanhTwice(lm, w, limbs);
    }
    const unsigned long long ak = static_cast<unsigned long long>(k < 0 ? -k : k);
    Float kl;
    mp::setLn2(kl, limbs + 1);
    mp::mulU64(kl, kl, ak, limbs + 1);
    if (k < 0) {
        mp::negate(kl);
    }
    mp::add(e.a, kl, lm, limbs);
    mp::setAbsoluteError(e, 6.0 + 0.7 * static_cast<double>(ak) + pow2Ratio(e.a.exp + 1), limbs);
}

// expm1(x).
// |x| <= 1/2: the kernel above, c = 5 + 3j + 1.
// Otherwise x = k ln2 + r with k the nearest integer to x / ln2 (|k| <= 1025) and r computed at
// p + 64 bits (absolute error below 2^-50 u, |r| <= 0.35); E = expm1(r) by the kernel
// ((5 + 3j)u); e^x - 1 = 2^k (1 + E) - 1: 1 + E carries 0.6 (5 + 3j)u + 2.06u relative (it is at
// least 0.70), scaling by 2^k is exact, and subtracting 1 multiplies the relative error by
// e^x / |e^x - 1| <= 2.54 (x >= 1/2) or 1.54 (x <= -1/2) and adds u: c = 14 + 5j + 1.
void expm1Enclose(double x, int limbs, mp::Enclosure& e) {
    Float fx;
    mp::setDouble(fx, x);
    e.side = 0;
    if (x <= 0.5 && x >= -0.5) {
        const int j = expm1Kernel(e.a, fx, limbs);
        mp::setRelativeError(e, 6.0 + 3.0 * j, limbs);
        return;
    }
    const double kd = x * 1.4426950408889634;
    const int k = static_cast<int>(kd < 0 ? kd - 0.5 : kd + 0.5);
    const int wide = limbs + 1;
    Float kl;
    mp::setLn2(kl, wide);
    mp::mulU64(kl, kl, static_cast<unsigned long long>(k < 0 ? -k : k), wide);
    if (k < 0) {
        mp::negate(kl);
    }
    Float r;
    mp::sub(r, fx, kl, wide);
    Float em;
    int j = 0;
    if (mp::isZero(r)) {
        mp::setZero(em);
    } else {
        j = expm1Kernel(em, r, limbs);
    }
    Float one;
    mp::setU64(one, 1);
    mp::add(em, em, one, limbs);
    mp::mulPow2(em, k);
    mp::sub(e.a, em, one, limbs);
    mp::setRelativeError(e, 15.0 + 5.0 * j, limbs);
}

double log1pAccurate(double x) {
    if (x != x) {
        return x + x;
    }
    if (x == 0.0) {
        return x;
    }
    if (x == -1.0) {
        return -std::numeric_limits<double>::infinity();
    }
    if (x < -1.0) {
        return (x - x) / (x - x);
    }
    if (x - x != 0.0) {
        return x; // +infinity
    }
    return mp::zivDouble([x](mp::Enclosure& e, int limbs) { log1pEnclose(x, limbs, e); });
}

double expm1Accurate(double x) {
    if (x != x) {
        return x + x;
    }
    if (x == 0.0) {
        return x;
    }
    // e^x < e^-40 < 2^-57: e^x - 1 lies strictly between -1 and the midpoint -1 + 2^-54.
    if (x < -40.0) {
        return -1.0;
    }
    // e^710 - 1 > 2^1024.
    if (x > 710.0) {
        return std::numeric_limits<double>::infinity();
    }
    return mp::zivDouble([x](mp::Enclosure& e, int limbs) { expm1Enclose(x, limbs, e); });
}

} // namespace detail
} // namespace crmath
} // namespace orv
