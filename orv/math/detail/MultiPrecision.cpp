// The multi-precision arithmetic of the accurate paths: exact integer kernels on 64-bit limbs
// (schoolbook products, Knuth's long division, Newton's integer square root) and the truncated
// floating-point operations built on them. See MultiPrecision.h for the precision statements.
#include "orv/math/detail/MultiPrecision.h"

#include "orv/foundation/Config.h"
#include "orv/math/detail/AccurateConstants.h"

#include <cstring>

namespace orv {
namespace crmath {
namespace detail {
namespace mp {

namespace {

using u64 = std::uint64_t;
using i64 = std::int64_t;

// Room for a product of two operands, or a numerator shifted for a division or a square root.
constexpr int kBuf = 2 * kStoreLimbs + 8;

int leadingZeros(u64 x) { // x != 0
    int n = 0;
    if ((x >> 32) == 0) {
        n += 32;
        x <<= 32;
    }
    if ((x >> 48) == 0) {
        n += 16;
        x <<= 16;
    }
    if ((x >> 56) == 0) {
        n += 8;
        x <<= 8;
    }
    if ((x >> 60) == 0) {
        n += 4;
        x <<= 4;
    }
    if ((x >> 62) == 0) {
        n += 2;
        x <<= 2;
    }
    if ((x >> 63) == 0) {
        n += 1;
    }
    return n;
}

int significantLimbs(const u64* x, int len) {
    while (len > 0 && x[len - 1] == 0) {
        --len;
    }
    return len;
}

int compareNat(const u64* a, int na, const u64* b, int nb) {
    na = significantLimbs(a, na);
    nb = significantLimbs(b, nb);
    if (na != nb) {
        return na < nb ? -1 : 1;
    }
    for (int i = na - 1; i >= 0; --i) {
        if (a[i] != b[i]) {
            return a[i] < b[i] ? -1 : 1;
        }
    }
    return 0;
}

// r = a * b, na + nb limbs (r distinct from a and b).
void mulNat(u64* r, const u64* a, int na, const u64* b, int nb) {
    for (int i = 0; i < na + nb; ++i) {
        r[i] = 0;
    }
    for (int i = 0; i < na; ++i) {
        u64 carry = 0;
        for (int j = 0; j < nb; ++j) {
            u64 hi;
            u64 lo = mulWide(a[i], b[j], hi);
            lo += carry;
            hi += lo < carry ? 1 : 0;
            u64 s = r[i + j] + lo;
            hi += s < lo ? 1 : 0;
            r[i + j] = s;
            carry = hi;
        }
        r[i + nb] = carry;
    }
}

// q = u / v, rem = u mod v (Knuth, TAOCP vol. 2, 4.3.1, algorithm D). q has nu - nv + 1 limbs,
// rem nv limbs; v's top limb is non-zero, nu >= nv. Returns whether the remainder is zero.
bool divNat(u64* q, u64* rem, const u64* u, int nu, const u64* v, int nv) {
    if (nv == 1) {
        u64 r = 0;
        for (int i = nu - 1; i >= 0; --i) {
            q[i] = divWide(r, u[i], v[0], r);
        }
        if (rem != nullptr) {
            rem[0] = r;
        }
        return r == 0;
    }
    const int shift = leadingZeros(v[nv - 1]);
    u64 vn[kBuf];
    u64 un[kBuf + 1];
    for (int i = nv - 1; i > 0; --i) {
        vn[i] = shift == 0 ? v[i] : (v[i] << shift) | (v[i - 1] >> (64 - shift));
    }
    vn[0] = v[0] << shift;
    un[nu] = shift == 0 ? 0 : u[nu - 1] >> (64 - shift);
    for (int i = nu - 1; i > 0; --i) {
        un[i] = shift == 0 ? u[i] : (u[i] << shift) | (u[i - 1] >> (64 - shift));
    }
    un[0] = u[0] << shift;
    const u64 vTop = vn[nv - 1];
    const u64 vNext = vn[nv - 2];
    for (int j = nu - nv; j >= 0; --j) {
        // Estimate the quotient digit from the top two limbs, then correct it by one limb more.
        u64 qhat;
        u64 rhat;
        bool rhatOverflow = false;
        if (un[j + nv] >= vTop) {
            qhat = ~static_cast<u64>(0);
            rhat = un[j + nv - 1] + vTop;
            rhatOverflow = rhat < vTop;
        } else {
            qhat = divWide(un[j + nv], un[j + nv - 1], vTop, rhat);
        }
        while (!rhatOverflow) {
            u64 ph;
            u64 pl = mulWide(qhat, vNext, ph);
            if (ph > rhat || (ph == rhat && pl > un[j + nv - 2])) {
                --qhat;
                rhat += vTop;
                rhatOverflow = rhat < vTop;
            } else {
                break;
            }
        }
        // un[j .. j + nv] -= qhat * vn.
        u64 carry = 0;
        u64 borrow = 0;
        for (int i = 0; i < nv; ++i) {
            u64 ph;
            u64 pl = mulWide(qhat, vn[i], ph);
            pl += carry;
            ph += pl < carry ? 1 : 0;
            carry = ph;
            const u64 t = un[i + j] - pl;
            u64 b = un[i + j] < pl ? 1 : 0;
            const u64 t2 = t - borrow;
            b += t < borrow ? 1 : 0;
            un[i + j] = t2;
            borrow = b;
        }
        const u64 t = un[j + nv] - carry;
        u64 negative = un[j + nv] < carry ? 1 : 0;
        negative += t < borrow ? 1 : 0;
        un[j + nv] = t - borrow;
        if (negative != 0) { // one too many: add vn back
            --qhat;
            u64 c = 0;
            for (int i = 0; i < nv; ++i) {
                const u64 s = un[i + j] + vn[i];
                u64 c1 = s < vn[i] ? 1 : 0;
                const u64 s2 = s + c;
                c1 += s2 < c ? 1 : 0;
                un[i + j] = s2;
                c = c1;
            }
            un[j + nv] += c;
        }
        q[j] = qhat;
    }
    bool zero = true;
    for (int i = 0; i < nv; ++i) {
        const u64 limb = shift == 0 ? un[i] : (un[i] >> shift) | (un[i + 1] << (64 - shift));
        if (rem != nullptr) {
            rem[i] = limb;
        }
        zero = zero && limb == 0;
    }
    return zero;
}

// floor(sqrt(t)) of one limb, by the same iteration from 2^32.
u64 sqrt64(u64 t) {
    u64 x = static_cast<u64>(1) << 32;
    for (;;) {
        const u64 y = (x + t / x) >> 1;
        if (y >= x) {
            return x;
        }
        x = y;
    }
}

// r = floor(sqrt(n)) by Newton's iteration on integers from above (x -> (x + n / x) / 2 decreases
// to floor(sqrt(n)) from any start at or above it). r has (nn + 1) / 2 + 1 limbs.
int sqrtNat(u64* r, const u64* n, int nn) {
    nn = significantLimbs(n, nn);
    const int rl = nn / 2 + 2;
    for (int i = 0; i < rl; ++i) {
        r[i] = 0;
    }
    if (nn == 0) {
        return rl;
    }
    // Start: the top (even number of) bits t of n, x = (floor(sqrt(t)) + 1) * 2^(sh/2) > sqrt(n)
    // since n < (t + 1) 2^sh.
    const int bits = 64 * nn - leadingZeros(n[nn - 1]);
    int sh = bits > 64 ? bits - 64 : 0;
    sh += sh & 1;
    const int ls = sh / 64;
    const int bs = sh % 64;
    u64 t = n[ls] >> bs;
    if (bs != 0 && ls + 1 < nn) {
        t |= n[ls + 1] << (64 - bs);
    }
    const u64 root = sqrt64(t) + 1; // <= 2^32
    const int half = sh / 2;
    r[half / 64] = root << (half % 64);
    if (half % 64 != 0) {
        r[half / 64 + 1] = root >> (64 - half % 64);
    }
    u64 q[kBuf];
    u64 y[kBuf];
    for (;;) {
        const int xl = significantLimbs(r, rl);
        divNat(q, nullptr, n, nn, r, xl);
        const int ql = nn - xl + 1;
        // y = (x + q) / 2
        u64 carry = 0;
        for (int i = 0; i < rl; ++i) {
            const u64 a = r[i];
            const u64 b = i < ql ? q[i] : 0;
            const u64 s = a + b;
            u64 c = s < a ? 1 : 0;
            const u64 s2 = s + carry;
            c += s2 < carry ? 1 : 0;
            y[i] = s2;
            carry = c;
        }
        for (int i = 0; i < rl; ++i) {
            const u64 next = i + 1 < rl ? y[i + 1] : carry;
            y[i] = (y[i] >> 1) | (next << 63);
        }
        if (compareNat(y, rl, r, rl) >= 0) {
            return rl;
        }
        std::memcpy(r, y, sizeof(u64) * static_cast<std::size_t>(rl));
    }
}

// r = the natural x (len limbs) times 2^unitExp, truncated to `limbs` limbs, with `sign`.
// Returns whether nothing was dropped.
bool normalizeFrom(Float& r, const u64* x, int len, i64 unitExp, int limbs, int sign) {
    const int top = significantLimbs(x, len) - 1;
    if (top < 0) {
        setZero(r);
        return true;
    }
    const i64 bitLength = 64 * static_cast<i64>(top) + 64 - leadingZeros(x[top]);
    const i64 shift = bitLength - 64 * static_cast<i64>(limbs);
    bool exact = true;
    if (shift >= 0) {
        const int ls = static_cast<int>(shift / 64);
        const int bs = static_cast<int>(shift % 64);
        for (int i = 0; i < limbs; ++i) {
            const int k = i + ls;
            u64 v = x[k] >> bs;
            if (bs != 0 && k + 1 <= top) {
                v |= x[k + 1] << (64 - bs);
            }
            r.m[i] = v;
        }
        for (int i = 0; i < ls; ++i) {
            exact = exact && x[i] == 0;
        }
        if (bs != 0) {
            exact = exact && (x[ls] << (64 - bs)) == 0;
        }
    } else {
        const i64 s = -shift;
        const int ls = static_cast<int>(s / 64);
        const int bs = static_cast<int>(s % 64);
        for (int i = 0; i < limbs; ++i) {
            const int k = i - ls;
            u64 v = (k >= 0 && k <= top) ? x[k] << bs : 0;
            if (bs != 0 && k - 1 >= 0 && k - 1 <= top) {
                v |= x[k - 1] >> (64 - bs);
            }
            r.m[i] = v;
        }
    }
    r.limbs = limbs;
    r.sign = sign;
    r.exp = static_cast<std::int32_t>(unitExp + bitLength);
    return exact;
}

i64 unitExponent(const Float& a) {
    return static_cast<i64>(a.exp) - 64 * static_cast<i64>(a.limbs);
}

void addSigned(Float& r, const Float& a, const Float& b, int flipB, int limbs) {
    const int sa = a.sign;
    const int sb = b.sign ^ flipB;
    if (isZero(b)) {
        truncate(r, a, limbs);
        return;
    }
    if (isZero(a)) {
        truncate(r, b, limbs);
        r.sign = sb;
        return;
    }
    const int c = compareAbs(a, b);
    if (c == 0 && sa != sb) {
        setZero(r);
        return;
    }
    const Float& x = c >= 0 ? a : b;
    const Float& y = c >= 0 ? b : a;
    const int sx = c >= 0 ? sa : sb;
    int len = x.limbs > y.limbs ? x.limbs : y.limbs;
    len = (len > limbs ? len : limbs) + 2;
    u64 w[kBuf];
    u64 v[kBuf];
    for (int i = 0; i < len; ++i) {
        w[i] = 0;
        v[i] = 0;
    }
    // x below one limb of headroom; its unit is 2^(x.exp - 64 (len - 1)).
    for (int i = 0; i < x.limbs; ++i) {
        w[len - 1 - x.limbs + i] = x.m[i];
    }
    // y shifted to the same unit; bits that fall below the window only leave a sticky mark.
    const i64 sh = 64 * static_cast<i64>(len - 1 - y.limbs) - (static_cast<i64>(x.exp) - y.exp);
    bool sticky = false;
    if (sh >= 0) {
        const int ls = static_cast<int>(sh / 64);
        const int bs = static_cast<int>(sh % 64);
        for (int i = 0; i < y.limbs; ++i) {
            v[i + ls] |= y.m[i] << bs;
            if (bs != 0) {
                v[i + ls + 1] |= y.m[i] >> (64 - bs);
            }
        }
    } else if (-sh >= 64 * static_cast<i64>(y.limbs)) {
        sticky = true;
    } else {
        const int ls = static_cast<int>(-sh / 64);
        const int bs = static_cast<int>(-sh % 64);
        for (int i = 0; i < ls; ++i) {
            sticky = sticky || y.m[i] != 0;
        }
        if (bs != 0) {
            sticky = sticky || (y.m[ls] << (64 - bs)) != 0;
        }
        for (int i = ls; i < y.limbs; ++i) {
            u64 val = y.m[i] >> bs;
            if (bs != 0 && i + 1 < y.limbs) {
                val |= y.m[i + 1] << (64 - bs);
            }
            v[i - ls] = val;
        }
    }
    if (sa == sb) {
        u64 carry = 0;
        for (int i = 0; i < len; ++i) {
            const u64 s = w[i] + v[i];
            u64 c1 = s < w[i] ? 1 : 0;
            const u64 s2 = s + carry;
            c1 += s2 < carry ? 1 : 0;
            w[i] = s2;
            carry = c1;
        }
    } else {
        // The exact difference lies in (w - v - 1, w - v) when bits of y were dropped: truncating
        // it is truncating w - v - 1 (the window reaches far below the result's last bit).
        u64 borrow = sticky ? 1 : 0;
        for (int i = 0; i < len; ++i) {
            const u64 t = w[i] - v[i];
            u64 b1 = w[i] < v[i] ? 1 : 0;
            const u64 t2 = t - borrow;
            b1 += t < borrow ? 1 : 0;
            w[i] = t2;
            borrow = b1;
        }
    }
    normalizeFrom(r, w, len, static_cast<i64>(x.exp) - 64 * static_cast<i64>(len - 1), limbs, sx);
}

// The magnitude of a rounded to `precision` bits with quantum at least 2^qmin (its subnormal
// range); M * 2^qe is the result. Sets overflowExp where a.exp is beyond emax.
u64 roundMagnitude(const Float& a, Tie tie, int precision, int qmin, int emax, int& qe,
                   bool& overflow) {
    overflow = false;
    qe = qmin;
    if (isZero(a)) {
        return 0;
    }
    if (a.exp > emax) {
        overflow = true;
        return 0;
    }
    if (a.exp < qmin) { // |a| < 2^(qmin - 1): below half the smallest subnormal
        return 0;
    }
    qe = a.exp - precision > qmin ? a.exp - precision : qmin;
    const int shift = static_cast<int>(qe - unitExponent(a)); // 1 .. 64 * limbs
    auto bit = [&](int i) -> u64 { return (a.m[i / 64] >> (i % 64)) & 1; };
    u64 magnitude = 0;
    const int total = 64 * a.limbs;
    for (int i = total - 1; i >= shift; --i) {
        magnitude = (magnitude << 1) | bit(i);
    }
    const u64 halfBit = bit(shift - 1);
    bool rest = false;
    const int restBits = shift - 1;
    for (int i = 0; i < restBits / 64 && !rest; ++i) {
        rest = a.m[i] != 0;
    }
    if (!rest && restBits % 64 != 0) {
        rest = (a.m[restBits / 64] << (64 - restBits % 64)) != 0;
    }
    bool up = false;
    if (halfBit != 0) {
        if (rest) {
            up = true;
        } else if (tie == Tie::Even) {
            up = (magnitude & 1) != 0;
        } else if (tie == Tie::Up) {
            up = a.sign == 0;
        } else {
            up = a.sign != 0;
        }
    }
    return magnitude + (up ? 1 : 0);
}

} // namespace

u64 mulWidePortable(u64 a, u64 b, u64& hi) {
    const u64 a0 = a & 0xffffffffu;
    const u64 a1 = a >> 32;
    const u64 b0 = b & 0xffffffffu;
    const u64 b1 = b >> 32;
    const u64 p00 = a0 * b0;
    const u64 p01 = a0 * b1;
    const u64 p10 = a1 * b0;
    const u64 p11 = a1 * b1;
    const u64 mid = (p00 >> 32) + (p01 & 0xffffffffu) + (p10 & 0xffffffffu);
    hi = p11 + (p01 >> 32) + (p10 >> 32) + (mid >> 32);
    return (mid << 32) | (p00 & 0xffffffffu);
}

u64 mulWide(u64 a, u64 b, u64& hi) {
#if ORV_HAVE_UINT128
    const ORV_UINT128 p = static_cast<ORV_UINT128>(a) * b;
    hi = static_cast<u64>(p >> 64);
    return static_cast<u64>(p);
#elif ORV_HAVE_UMUL128
    return _umul128(a, b, &hi);
#else
    return mulWidePortable(a, b, hi);
#endif
}

// Two-digit long division in base 2^32 of the normalised divisor (Knuth's algorithm D for a
// four-digit numerator and a two-digit divisor).
u64 divWide(u64 hi, u64 lo, u64 d, u64& rem) {
    const u64 base = static_cast<u64>(1) << 32;
    const int s = leadingZeros(d);
    d <<= s;
    const u64 d1 = d >> 32;
    const u64 d0 = d & 0xffffffffu;
    const u64 n32 = s == 0 ? hi : (hi << s) | (lo >> (64 - s));
    const u64 n10 = lo << s;
    const u64 n1 = n10 >> 32;
    const u64 n0 = n10 & 0xffffffffu;
    u64 q1 = n32 / d1;
    u64 r = n32 - q1 * d1;
    while (q1 >= base || q1 * d0 > ((r << 32) | n1)) {
        --q1;
        r += d1;
        if (r >= base) {
            break;
        }
    }
    const u64 n21 = (n32 << 32) + n1 - q1 * d; // exact modulo 2^64: the true value is below d
    u64 q0 = n21 / d1;
    r = n21 - q0 * d1;
    while (q0 >= base || q0 * d0 > ((r << 32) | n0)) {
        --q0;
        r += d1;
        if (r >= base) {
            break;
        }
    }
    rem = ((n21 << 32) + n0 - q0 * d) >> s;
    return (q1 << 32) + q0;
}

void setZero(Float& r) {
    r.limbs = 0;
    r.sign = 0;
    r.exp = 0;
}

void setDouble(Float& r, double x) {
    u64 bits;
    std::memcpy(&bits, &x, sizeof bits);
    const int sign = static_cast<int>(bits >> 63);
    const int biased = static_cast<int>((bits >> 52) & 0x7ff);
    u64 mant = bits & ((static_cast<u64>(1) << 52) - 1);
    int unit = -1074;
    if (biased != 0) {
        mant |= static_cast<u64>(1) << 52;
        unit = biased - 1075;
    }
    if (mant == 0) {
        setZero(r);
        return;
    }
    const int lz = leadingZeros(mant);
    r.limbs = 1;
    r.sign = sign;
    r.m[0] = mant << lz;
    r.exp = unit + 64 - lz;
}

void setU64(Float& r, u64 v) {
    if (v == 0) {
        setZero(r);
        return;
    }
    const int lz = leadingZeros(v);
    r.limbs = 1;
    r.sign = 0;
    r.m[0] = v << lz;
    r.exp = 64 - lz;
}

void setPow2(Float& r, std::int32_t e) {
    r.limbs = 1;
    r.sign = 0;
    r.m[0] = static_cast<u64>(1) << 63;
    r.exp = e + 1;
}

void setConstant(Float& r, const u64* table, int tableLimbs, std::int32_t exp, int limbs) {
    if (limbs > tableLimbs) {
        limbs = tableLimbs;
    }
    for (int i = 0; i < limbs; ++i) {
        r.m[i] = table[limbs - 1 - i];
    }
    r.limbs = limbs;
    r.sign = 0;
    r.exp = exp;
}

void setPi(Float& r, int limbs) {
    setConstant(r, kPiOver4Bits, 68, 2, limbs);
}
void setPiOver2(Float& r, int limbs) {
    setConstant(r, kPiOver4Bits, 68, 1, limbs);
}
void setLn2(Float& r, int limbs) {
    setConstant(r, kLn2Bits, 68, 0, limbs);
}

void truncate(Float& r, const Float& a, int limbs) {
    if (&r == &a && a.limbs <= limbs) {
        return;
    }
    const int keep = a.limbs < limbs ? a.limbs : limbs;
    const int drop = a.limbs - keep;
    for (int i = 0; i < keep; ++i) {
        r.m[i] = a.m[i + drop];
    }
    r.limbs = keep;
    r.sign = a.sign;
    r.exp = a.exp;
}

int compareAbs(const Float& a, const Float& b) {
    if (isZero(a) || isZero(b)) {
        return isZero(a) ? (isZero(b) ? 0 : -1) : 1;
    }
    if (a.exp != b.exp) {
        return a.exp < b.exp ? -1 : 1;
    }
    const int n = a.limbs > b.limbs ? a.limbs : b.limbs;
    for (int i = 0; i < n; ++i) {
        const u64 x = i < a.limbs ? a.m[a.limbs - 1 - i] : 0;
        const u64 y = i < b.limbs ? b.m[b.limbs - 1 - i] : 0;
        if (x != y) {
            return x < y ? -1 : 1;
        }
    }
    return 0;
}

int compare(const Float& a, const Float& b) {
    const int sa = isZero(a) ? 0 : (a.sign != 0 ? -1 : 1);
    const int sb = isZero(b) ? 0 : (b.sign != 0 ? -1 : 1);
    if (sa != sb) {
        return sa < sb ? -1 : 1;
    }
    const int c = compareAbs(a, b);
    return sa < 0 ? -c : c;
}

void add(Float& r, const Float& a, const Float& b, int limbs) {
    addSigned(r, a, b, 0, limbs);
}
void sub(Float& r, const Float& a, const Float& b, int limbs) {
    addSigned(r, a, b, 1, limbs);
}

void mul(Float& r, const Float& a, const Float& b, int limbs) {
    if (isZero(a) || isZero(b)) {
        setZero(r);
        return;
    }
    u64 p[kBuf];
    mulNat(p, a.m, a.limbs, b.m, b.limbs);
    normalizeFrom(r, p, a.limbs + b.limbs, unitExponent(a) + unitExponent(b), limbs,
                  a.sign ^ b.sign);
}

void mulU64(Float& r, const Float& a, u64 k, int limbs) {
    if (isZero(a) || k == 0) {
        setZero(r);
        return;
    }
    u64 p[kBuf];
    mulNat(p, a.m, a.limbs, &k, 1);
    normalizeFrom(r, p, a.limbs + 1, unitExponent(a), limbs, a.sign);
}

void divU32(Float& r, const Float& a, std::uint32_t k, int limbs) {
    if (isZero(a)) {
        setZero(r);
        return;
    }
    // Numerator a.m * 2^(64 ks): the quotient keeps more than 64 limbs + 32 bits.
    const int ks = a.limbs < limbs + 2 ? limbs + 2 - a.limbs : 0;
    const int len = a.limbs + ks;
    u64 q[kBuf];
    u64 rem = 0;
    for (int i = len - 1; i >= 0; --i) {
        const u64 limb = i >= ks ? a.m[i - ks] : 0;
        u64 t = (rem << 32) | (limb >> 32);
        const u64 qh = t / k;
        rem = t - qh * k;
        t = (rem << 32) | (limb & 0xffffffffu);
        const u64 ql = t / k;
        rem = t - ql * k;
        q[i] = (qh << 32) | ql;
    }
    normalizeFrom(r, q, len, unitExponent(a) - 64 * static_cast<i64>(ks), limbs, a.sign);
}

bool div(Float& r, const Float& a, const Float& b, int limbs) {
    if (isZero(a)) {
        setZero(r);
        return true;
    }
    const int ks = limbs + 1 + b.limbs > a.limbs ? limbs + 1 + b.limbs - a.limbs : 0;
    const int len = a.limbs + ks;
    u64 u[kBuf];
    for (int i = 0; i < ks; ++i) {
        u[i] = 0;
    }
    for (int i = 0; i < a.limbs; ++i) {
        u[ks + i] = a.m[i];
    }
    u64 q[kBuf];
    const bool remainderZero = divNat(q, nullptr, u, len, b.m, b.limbs);
    const i64 unit = unitExponent(a) - 64 * static_cast<i64>(ks) - unitExponent(b);
    const bool kept = normalizeFrom(r, q, len - b.limbs + 1, unit, limbs, a.sign ^ b.sign);
    return remainderZero && kept;
}

void sqrt(Float& r, const Float& a, int limbs) {
    if (isZero(a)) {
        setZero(r);
        return;
    }
    const i64 unit = unitExponent(a);
    i64 shiftBits = 128 * static_cast<i64>(limbs + 1) - 64 * static_cast<i64>(a.limbs);
    if (shiftBits < 0) {
        shiftBits = 0;
    }
    if (((unit - shiftBits) & 1) != 0) {
        ++shiftBits;
    }
    const int ls = static_cast<int>(shiftBits / 64);
    const int bs = static_cast<int>(shiftBits % 64);
    const int len = a.limbs + ls + 1;
    u64 n[kBuf];
    for (int i = 0; i < len; ++i) {
        n[i] = 0;
    }
    for (int i = 0; i < a.limbs; ++i) {
        n[i + ls] |= a.m[i] << bs;
        if (bs != 0) {
            n[i + ls + 1] |= a.m[i] >> (64 - bs);
        }
    }
    u64 root[kBuf];
    const int rl = sqrtNat(root, n, len);
    normalizeFrom(r, root, rl, (unit - shiftBits) / 2, limbs, 0);
}

double toDouble(const Float& a, Tie tie) {
    int qe;
    bool overflow;
    const u64 magnitude = roundMagnitude(a, tie, 53, -1074, 1024, qe, overflow);
    u64 bits =
        overflow ? static_cast<u64>(0x7ff) << 52 : (static_cast<u64>(qe + 1074) << 52) + magnitude;
    if (magnitude == 0 && !overflow) {
        bits = 0;
    }
    if ((bits >> 52) >= 0x7ff) {
        bits = static_cast<u64>(0x7ff) << 52;
    }
    if (a.sign != 0 && !isZero(a)) {
        bits |= static_cast<u64>(1) << 63;
    }
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

float toFloat(const Float& a, Tie tie) {
    int qe;
    bool overflow;
    const u64 magnitude = roundMagnitude(a, tie, 24, -149, 128, qe, overflow);
    u64 wide =
        overflow ? static_cast<u64>(0xff) << 23 : (static_cast<u64>(qe + 149) << 23) + magnitude;
    if (magnitude == 0 && !overflow) {
        wide = 0;
    }
    if ((wide >> 23) >= 0xff) {
        wide = static_cast<u64>(0xff) << 23;
    }
    std::uint32_t bits = static_cast<std::uint32_t>(wide);
    if (a.sign != 0 && !isZero(a)) {
        bits |= static_cast<std::uint32_t>(1) << 31;
    }
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

namespace {

// ceil(log2 c) for c >= 1 (0 below), from the bits of c.
int ceilLog2(double c) {
    if (!(c > 1.0)) {
        return 0;
    }
    u64 bits;
    std::memcpy(&bits, &c, sizeof bits);
    const int e = static_cast<int>((bits >> 52) & 0x7ff) - 1023;
    const bool power = (bits & ((static_cast<u64>(1) << 52) - 1)) == 0;
    return power ? e : e + 1;
}

} // namespace

void setRelativeError(Enclosure& e, double c, int limbs) {
    // c below 2^60 and c * 2^(1-p) below 2^-40: otherwise raise the precision.
    e.valid =
        !isZero(e.a) && c >= 0.0 && c < 1.152921504606846976e18 && ceilLog2(c) <= 64 * limbs - 41;
    if (!e.valid) {
        return;
    }
    e.errExp = e.a.exp + 1 - 64 * limbs + ceilLog2(c) + 1;
}

void setAbsoluteError(Enclosure& e, double c, int limbs) {
    e.valid = !isZero(e.a) && c >= 0.0 && c < 1.152921504606846976e18;
    if (!e.valid) {
        return;
    }
    e.errExp = 1 - 64 * limbs + ceilLog2(c) + 1;
}

namespace {

// The enclosure's limits a - 2^errExp and a + 2^errExp (or a itself on a closed-off side), exact.
bool limits(const Enclosure& e, Float& lo, Float& hi) {
    if (!e.valid || isZero(e.a)) {
        return false;
    }
    std::int32_t err = e.errExp;
    const i64 floor = unitExponent(e.a);
    if (err < floor) {
        err = static_cast<std::int32_t>(floor);
    }
    if (err > e.a.exp - 3) {
        return false;
    }
    Float delta;
    setPow2(delta, err);
    const int n = e.a.limbs + 1;
    if (e.side <= 0) {
        sub(lo, e.a, delta, n);
    } else {
        lo = e.a;
    }
    if (e.side >= 0) {
        add(hi, e.a, delta, n);
    } else {
        hi = e.a;
    }
    return true;
}

} // namespace

bool decideDouble(const Enclosure& e, double& result) {
    Float lo;
    Float hi;
    if (!limits(e, lo, hi)) {
        return false;
    }
    const double a = toDouble(lo, Tie::Up);
    const double b = toDouble(hi, Tie::Down);
    u64 ba;
    u64 bb;
    std::memcpy(&ba, &a, sizeof ba);
    std::memcpy(&bb, &b, sizeof bb);
    if (ba != bb) {
        return false;
    }
    result = a;
    return true;
}

bool decideFloat(const Enclosure& e, float& result) {
    Float lo;
    Float hi;
    if (!limits(e, lo, hi)) {
        return false;
    }
    const float a = toFloat(lo, Tie::Up);
    const float b = toFloat(hi, Tie::Down);
    std::uint32_t ba;
    std::uint32_t bb;
    std::memcpy(&ba, &a, sizeof ba);
    std::memcpy(&bb, &b, sizeof bb);
    if (ba != bb) {
        return false;
    }
    result = a;
    return true;
}

} // namespace mp
} // namespace detail
} // namespace crmath
} // namespace orv
