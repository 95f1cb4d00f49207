// Accurate paths of sin, cos, sinf and cosf: exact reduction modulo pi/2, Taylor series of the
// reduced argument, Ziv's loop (see Accurate.h for the method and the cap).
#include "orv/math/detail/Accurate.h"
#include "orv/math/detail/AccurateConstants.h"
#include "orv/math/detail/AccurateKernels.h"

#include <cstring>

namespace orv {
namespace crmath {
namespace detail {

using mp::Float;

int isqrtInt(int v) {
    int s = 0;
    while ((s + 1) * (s + 1) <= v) {
        ++s;
    }
    return s;
}

int floorLog2(unsigned long long d) {
    int k = -1;
    while (d != 0) {
        d >>= 1;
        ++k;
    }
    return k;
}

double pow2Ratio(int k) {
    if (k < -1000) {
        return 0.0;
    }
    if (k > 1000) {
        k = 1000;
    }
    const std::uint64_t bits = static_cast<std::uint64_t>(k + 1023) << 52;
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return k == 1000 ? d * d : d;
}

namespace {

using u64 = std::uint64_t;

// x = (k + r') pi/2 with the integer k taken modulo 4 (quadrant) and r = r' pi/2, |r'| <= 1/2.
// relErr: |r - r_exact| < relErr * u * |r_exact| (to first order).
struct Reduced {
    Float r;
    int quadrant = 0;
    double relErr = 0.0;
    bool ok = false;
};

// 64 bits of 2/pi from bit index g (0 = the first bit after the point), most significant first.
u64 twoOverPiWindow(int g) {
    const int l = g / 64;
    const int b = g % 64;
    u64 v = kTwoOverPiBits[l] << b;
    if (b != 0) {
        v |= kTwoOverPiBits[l + 1] >> (64 - b);
    }
    return v;
}

// Reduction of |x| modulo pi/2.
//
// |x| < 0.785 < pi/4: r = |x|, exact.
// Otherwise (Payne and Hanek): |x| = X 2^e with X the 53-bit integer significand, and
// 2/pi = sum b_i 2^-i. Terms X b_i 2^(e-i) with i <= e - 2 are multiples of 4 and drop out of
// |x| 2/pi modulo 4, so only the bits from i0 = max(1, e - 1) on count; W of them (B, an integer)
// give F = X B 2^s, s = e - i0 - W + 1, and the bits beyond add less than X 2^s < 2^(53 + s):
// the exact |x| 2/pi mod 4 lies in [F mod 4, F mod 4 + 2^(53 + s)). All of this is integer
// arithmetic, exact. k = F mod 4 rounded to the nearest integer, r' = (F mod 4) - k, whose
// relative error is below 2^(53 + s) / |r'| (computed from the r' at hand, so no assumption on how
// close a double comes to a multiple of pi/2: the Kahan-McDonald argument 6381956970095103 * 2^797
// leaves |r'| near 2^-62, and W = p + 192 keeps its error near 2^(-p-64)). r' is kept at p + 64
// bits (relative error 2^-64 u), multiplied by pi/2 read at p + 64 bits (2^-64 u) and truncated to
// p bits (u): relErr = 2^(53 + s - exp(r') + p) + 1 + 2^-62.
void reduce(double x, int limbs, Reduced& out) {
    const double ax = x < 0 ? -x : x;
    out.ok = true;
    if (ax < 0.785) {
        mp::setDouble(out.r, ax);
        out.quadrant = 0;
        out.relErr = 0.0;
        return;
    }
    u64 bits;
    std::memcpy(&bits, &ax, sizeof bits);
    const int e = static_cast<int>((bits >> 52) & 0x7ff) - 1075;
    const u64 significand =
        (bits & ((static_cast<u64>(1) << 52) - 1)) | (static_cast<u64>(1) << 52);
    const int p = 64 * limbs;
    const int wl = limbs + 3; // W = 64 wl bits
    const int w = 64 * wl;
    const int i0 = e - 1 > 1 ? e - 1 : 1;
    // B: bits i0 .. i0 + W - 1 of 2/pi as a natural number, least significant limb first.
    u64 b[mp::kStoreLimbs + 8];
    for (int j = 0; j < wl; ++j) {
        b[j] = twoOverPiWindow(i0 - 1 + w - 64 * (j + 1));
    }
    // P = X * B, wl + 1 limbs.
    u64 prod[mp::kStoreLimbs + 9];
    u64 carry = 0;
    for (int j = 0; j < wl; ++j) {
        u64 hi;
        u64 lo = mp::mulWide(significand, b[j], hi);
        lo += carry;
        hi += lo < carry ? 1 : 0;
        prod[j] = lo;
        carry = hi;
    }
    prod[wl] = carry;
    const int fracBits = -(e - i0 - w + 1); // F = P 2^-fracBits; its units below 1
    // Quadrant: the two bits above the point; rounding bit: the first below it.
    auto bit = [&](int i) -> u64 { return (i / 64 <= wl) ? (prod[i / 64] >> (i % 64)) & 1 : 0; };
    int k = static_cast<int>(bit(fracBits) | (bit(fracBits + 1) << 1));
    const bool half = bit(fracBits - 1) != 0;
    // low = P mod 2^fracBits (fracBits >= W - 2 >= 64 (limbs + 2)).
    const int ll = fracBits / 64;
    const int lb = fracBits % 64;
    u64 low[mp::kStoreLimbs + 9];
    for (int j = 0; j <= ll && j <= wl; ++j) {
        low[j] = prod[j];
    }
    for (int j = wl + 1; j <= ll; ++j) {
        low[j] = 0;
    }
    low[ll] &= lb == 0 ? 0 : ((static_cast<u64>(1) << lb) - 1);
    int sign = 0;
    if (half) {
        // r' = -(2^fracBits - low): two's complement within ll + 1 limbs.
        u64 borrow = 0;
        for (int j = 0; j <= ll; ++j) {
            const u64 t = 0 - low[j];
            u64 b1 = low[j] != 0 ? 1 : 0;
            const u64 t2 = t - borrow;
            b1 += t < borrow ? 1 : 0;
            low[j] = t2;
            borrow = b1;
        }
        low[ll] &= lb == 0 ? 0 : ((static_cast<u64>(1) << lb) - 1);
        if (lb == 0) {
            low[ll] = 0;
        }
        sign = 1;
        k += 1;
    }
    Float rp;
    rp.limbs = 0;
    // The natural low * 2^-fracBits, truncated to limbs + 1 limbs.
    {
        Float tmp;
        // Build from the limbs: normalise through a multiplication by one (exact).
        int top = ll;
        while (top >= 0 && low[top] == 0) {
            --top;
        }
        if (top < 0) {
            out.ok = false; // the window ends on a multiple of pi/2: more bits are needed
            return;
        }
        int lz = 0;
        while (((low[top] << lz) >> 63) == 0) {
            ++lz;
        }
        const int n = limbs + 1;
        // Bits of low from the top: bit index of the top bit = 64 top + 63 - lz.
        const long long topBit = 64LL * top + 63 - lz;
        for (int i = 0; i < n; ++i) {
            // limb i of the mantissa holds bits [topBit - 64 (n - i) + 1, topBit - 64 (n - i - 1)].
            const long long lowBit = topBit - 64LL * (n - i) + 1;
            u64 v = 0;
            for (int t = 0; t < 64; ++t) {
                const long long bi = lowBit + t;
                if (bi >= 0 && bi / 64 <= ll) {
                    v |= ((low[bi / 64] >> (bi % 64)) & 1) << t;
                }
            }
            tmp.m[i] = v;
        }
        tmp.limbs = n;
        tmp.sign = sign;
        tmp.exp = static_cast<std::int32_t>(topBit + 1 - fracBits);
        rp = tmp;
    }
    Float halfPi;
    mp::setPiOver2(halfPi, limbs + 1);
    mp::mul(out.r, rp, halfPi, limbs);
    out.quadrant = k & 3;
    out.relErr = pow2Ratio(53 - fracBits - rp.exp + p) + 1.0 + 0.25;
}

// The nested Taylor form S_N = 1, S_k = 1 - z S_(k+1) / ((2k+f)(2k+f+1)), z = r^2, with N the
// first term index whose term z^(N+1) / (2N+f+1)! lies below 2^-(64 limbs + 1): sin(r) / r for
// f = 2, cos(r) for f = 1.
void evenSeries(Float& out, const Float& r, unsigned f, int limbs) {
    const int p = 64 * limbs;
    Float z;
    mp::mul(z, r, r, limbs);
    int n = 0;
    long long logT = 0;
    for (;;) {
        const unsigned long long d = static_cast<unsigned long long>(2 * n + f) * (2 * n + f + 1);
        logT += 2LL * r.exp - floorLog2(d);
        if (logT <= -p - 1) {
            break;
        }
        ++n;
    }
    Float one;
    mp::setU64(one, 1);
    mp::setU64(out, 1);
    Float t;
    for (int k = n - 1; k >= 0; --k) {
        mp::mul(t, z, out, limbs);
        mp::divU32(t, t, static_cast<std::uint32_t>((2 * k + f) * (2 * k + f + 1)), limbs);
        mp::sub(out, one, t, limbs);
    }
}

// sin(r) = r times the series with f = 2.
//
// Error, for |r| <= 0.79 (z <= 0.63) and u the unit of one operation: with the computed z as
// argument, each step adds at most 0.105 |error of S_(k+1)| + 1.22u (z/d_k <= 0.105, S in
// [0.89, 1]), so S_0 is within 1.37u + T of sin(sqrt z)/sqrt z, T = z^(N+1)/(2N+3)! the first
// omitted term (the series alternates and decreases). z's own error u moves S_0 by at most
// z u / 6 <= 0.105u. With the final product r S_0 (u) and S_0 >= 0.89: relative error of
// sin(r) below 2.7u + 1.2T, T <= 2^-p by the choice of N.
void sinSeries(Float& out, const Float& r, int limbs) {
    Float s;
    evenSeries(s, r, 2, limbs);
    mp::mul(out, r, s, limbs);
}

// cos(r), the series with f = 1.
//
// Error, |r| <= 0.79: the first step (d_0 = 2) adds 0.315 |error of C_1| + 1.64u, the others
// 0.053 |error| + 1.11u, so C_0 is within 2.01u + T of cos(sqrt z), T = z^(N+1)/(2N+2)!; z's error
// moves it by z u / 2 <= 0.315u; cos r >= 0.70: relative error below 3.4u + 1.5T.
void cosSeries(Float& out, const Float& r, int limbs) {
    evenSeries(out, r, 1, limbs);
}

// sin (wantCos false) or cos of x. With r the reduced argument (relative error d u), sin r has
// relative error d u |r cos r / sin r| <= d u from r and cos r has d u r tan r <= 0.8 d u; the
// series add 2.7u + 1.2T (sin) or 3.4u + 1.5T (cos), T <= 2^-p: c = 1.01 d + 5 covers both with
// the second-order terms (d u < 2^-40 by setRelativeError).
void trigEnclose(double x, bool wantCos, int limbs, mp::Enclosure& e) {
    Reduced red;
    reduce(x, limbs, red);
    if (!red.ok) {
        e.valid = false;
        mp::setZero(e.a);
        return;
    }
    // sin(|x|) = (+sin, +cos, -sin, -cos)(r) and cos(|x|) = (+cos, -sin, -cos, +sin)(r) for the
    // quadrants 0..3.
    int q = red.quadrant;
    if (wantCos) {
        q = (q + 1) & 3;
    }
    const bool useCos = (q & 1) != 0;
    const bool negative = (q & 2) != 0;
    Float ar = red.r;
    const int rSign = ar.sign;
    ar.sign = 0;
    if (useCos) {
        cosSeries(e.a, ar, limbs);
    } else {
        sinSeries(e.a, ar, limbs);
        if (rSign != 0) {
            mp::negate(e.a);
        }
    }
    if (negative) {
        mp::negate(e.a);
    }
    if (!wantCos && x < 0) {
        mp::negate(e.a);
    }
    e.side = 0;
    mp::setRelativeError(e, 1.01 * red.relErr + 5.0, limbs);
}

} // namespace

void sinEnclose(double x, int limbs, mp::Enclosure& e) {
    trigEnclose(x, false, limbs, e);
}
void cosEnclose(double x, int limbs, mp::Enclosure& e) {
    trigEnclose(x, true, limbs, e);
}

double sinAccurate(double x) {
    if (x == 0.0 || x != x) {
        return x + x; // +-0 kept; NaN quieted
    }
    if (x - x != 0.0) {
        return x - x; // infinity: NaN
    }
    return mp::zivDouble([x](mp::Enclosure& e, int limbs) { sinEnclose(x, limbs, e); });
}

double cosAccurate(double x) {
    if (x != x) {
        return x + x;
    }
    if (x - x != 0.0) {
        return x - x;
    }
    if (x == 0.0) {
        return 1.0;
    }
    return mp::zivDouble([x](mp::Enclosure& e, int limbs) { cosEnclose(x, limbs, e); });
}

float sinfAccurate(float x) {
    if (x == 0.0f || x != x) {
        return x + x;
    }
    if (x - x != 0.0f) {
        return x - x;
    }
    const double xd = x;
    return mp::zivFloat([xd](mp::Enclosure& e, int limbs) { sinEnclose(xd, limbs, e); });
}

float cosfAccurate(float x) {
    if (x != x) {
        return x + x;
    }
    if (x - x != 0.0f) {
        return x - x;
    }
    if (x == 0.0f) {
        return 1.0f;
    }
    const double xd = x;
    return mp::zivFloat([xd](mp::Enclosure& e, int limbs) { cosEnclose(xd, limbs, e); });
}

} // namespace detail
} // namespace crmath
} // namespace orv
