#ifndef ORV_AXIS_AXISKERNEL_H
#define ORV_AXIS_AXISKERNEL_H

// Internal to the library: the per-point arithmetic shared by the single-point and list
// conversions of RotationAxis, so that both give the same bits. Not part of the host interface
// (not in the umbrella header, not installed).

#include "orv/foundation/ART.h"
#include "orv/foundation/DART.h"
#include "orv/foundation/Precision.h"
#include "orv/foundation/TripletBase.h"
#include "orv/platform/Error.h"
#include "orv/platform/SystemMsg.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Forces the per-point steps into their callers, so that a single-point call schedules the frame
// and the point's steps together instead of passing them through the stack.
#if defined(__GNUC__)
#define ORV_KERNEL_INLINE inline __attribute__((always_inline))
#else
#define ORV_KERNEL_INLINE inline
#endif

namespace orv {
namespace detail {

constexpr double kPi = 3.141592653589793;

// True where every value of v is +0 or -0: the bits of each, shifted left by one to drop the
// sign, are all zero. One test instead of a compare and two branches per value.
inline bool isZero(const TripletBase<double>& v) {
    std::uint64_t x, y, z;
    std::memcpy(&x, &v.x, sizeof x);
    std::memcpy(&y, &v.y, sizeof y);
    std::memcpy(&z, &v.z, sizeof z);
    return ((x | y | z) << 1) == 0;
}

// The refusals, out of line and marked cold, so that a conversion keeps none of their strings and
// calls in its own body (which stays short, without a stack frame of its own to set up).
#if defined(__GNUC__)
#define ORV_KERNEL_COLD __attribute__((noinline, cold, noreturn))
#else
#define ORV_KERNEL_COLD [[noreturn]]
#endif
ORV_KERNEL_COLD inline void refuseTowardsART(const char* operation) {
    throwError<data::invalid>("MachineData", operation,
                              SystemMsg("MachineData object is not initialised."));
}
ORV_KERNEL_COLD inline void refuseTowardsXYZ() {
    throwError<data::invalid>("RotationAxis", "getRotationMatrix",
                              SystemMsg("Invalid rotation parameters.\n"));
}

// Refusal of the conversions towards ART (operation label "convertART" or "convertAR").
inline void checkTowardsART(const TripletBase<double>& dir, const char* operation) {
    if (isZero(dir)) {
        refuseTowardsART(operation);
    }
}

// Refusal of the conversions towards XYZ and of the rotation matrices.
inline void checkTowardsXYZ(const TripletBase<double>& dir, double angle) {
    if (isZero(dir) || angle == 0.0) {
        refuseTowardsXYZ();
    }
}

// The library is built with the flags that keep every rounding (no contraction, no fast-math,
// GCC's SLP vectoriser off), so inside it a plain cast narrows exactly as the out-of-line helpers
// of Precision.h do, without a call through the dynamic linker's table.
inline TripletBase<double> atPrecision(const TripletBase<double>& v, double) {
    return v;
}
inline TripletBase<float> atPrecision(const TripletBase<double>& v, float) {
    return TripletBase<float>(static_cast<float>(v.x), static_cast<float>(v.y),
                              static_cast<float>(v.z));
}

inline ART makeRecord(float a, float r, double theta) {
    return ART{a, r, static_cast<float>(theta)};
}
inline DART makeRecord(double a, double r, double theta) {
    return DART{a, r, theta};
}

// A record of three doubles (DART, TripletBase<double>) returned by a single-point call, its first
// two values written by one 16-byte store. A host that copies the returned record
// (out[i] = axis.convertART(p)) loads those 16 bytes at once; written by two 8-byte stores they
// cannot be forwarded to that load, which then waits until the stores reach the cache.
template <class Record> ORV_KERNEL_INLINE Record pairStored(double x, double y, double z) {
    static_assert(sizeof(Record) == 3 * sizeof(double), "a record of three doubles");
    Record rec{x, y, z};
#if defined(__SSE2__)
    _mm_storeu_pd(reinterpret_cast<double*>(&rec), _mm_set_pd(y, x));
#endif
    return rec;
}

// The product u * s of TripletBase::operator* (the scalar formed in double, the product rounded
// to T). For float the exact product of two floats fits in a double, so rounding it once to float
// is the float product itself: the same bits, without the conversions.
inline double scaled(double u, double s) {
    return u * s;
}
inline float scaled(float u, float s) {
    return u * s;
}
template <class T> inline TripletBase<T> scaled(const TripletBase<T>& v, T s) {
    return TripletBase<T>(scaled(v.x, s), scaled(v.y, s), scaled(v.z, s));
}

// TripletBase::length() and normalize() of two triplets at once: the undefined value for an
// undefined triplet, otherwise the square root of (x^2 + y^2) + z^2; a zero length leaves the
// triplet as it is (it is divided by 1, which gives every value back unchanged). Packed SSE2
// square roots and divisions are the same IEEE operations lane by lane as the scalar ones.
inline void normalizeTwo(TripletBase<double>& a, TripletBase<double>& b) {
    const double aa = a.dot(a);
    const double bb = b.dot(b);
#if defined(__SSE2__)
    double l[2];
    _mm_storeu_pd(l, _mm_sqrt_pd(_mm_set_pd(bb, aa)));
    double la = a.isUndefined() ? kUndefinedValue : l[0];
    double lb = b.isUndefined() ? kUndefinedValue : l[1];
    la = la == 0.0 ? 1.0 : la;
    lb = lb == 0.0 ? 1.0 : lb;
    double xy[2], zz[2], uv[2];
    _mm_storeu_pd(xy, _mm_div_pd(_mm_set_pd(a.y, a.x), _mm_set1_pd(la)));
    _mm_storeu_pd(zz, _mm_div_pd(_mm_set_pd(b.z, a.z), _mm_set_pd(lb, la)));
    _mm_storeu_pd(uv, _mm_div_pd(_mm_set_pd(b.y, b.x), _mm_set1_pd(lb)));
    a = TripletBase<double>(xy[0], xy[1], zz[0]);
    b = TripletBase<double>(uv[0], uv[1], zz[1]);
#else
    (void)aa;
    (void)bb;
    a.normalize();
    b.normalize();
#endif
}
inline void normalizeTwo(TripletBase<float>& a, TripletBase<float>& b) {
    const float aa = a.dot(a);
    const float bb = b.dot(b);
#if defined(__SSE2__)
    float l[4];
    _mm_storeu_ps(l, _mm_sqrt_ps(_mm_set_ps(0.0f, 0.0f, bb, aa)));
    float la = a.isUndefined() ? static_cast<float>(kUndefinedValue) : l[0];
    float lb = b.isUndefined() ? static_cast<float>(kUndefinedValue) : l[1];
    la = la == 0.0f ? 1.0f : la;
    lb = lb == 0.0f ? 1.0f : lb;
    float q[8];
    _mm_storeu_ps(q, _mm_div_ps(_mm_set_ps(b.x, a.z, a.y, a.x), _mm_set_ps(lb, la, la, la)));
    _mm_storeu_ps(q + 4,
                  _mm_div_ps(_mm_set_ps(0.0f, 0.0f, b.z, b.y), _mm_set_ps(1.0f, 1.0f, lb, lb)));
    a = TripletBase<float>(q[0], q[1], q[2]);
    b = TripletBase<float>(q[3], q[4], q[5]);
#else
    (void)aa;
    (void)bb;
    a.normalize();
    b.normalize();
#endif
}

// True where the square root of a squared length ss is exactly 1: ss is 1 or the next value
// above it (the square root of 1 + ulp lies below the midpoint between 1 and 1 + ulp). Dividing a
// vector by such a length changes nothing, so the division can be skipped.
// Compared by bits: 1 and the next value are the only values whose bits lie 0 or 1 above those
// of 1 (an unsigned difference), so one subtraction and one comparison decide it.
inline bool hasUnitRoot(double ss) {
    std::uint64_t b;
    std::memcpy(&b, &ss, sizeof b);
    return b - UINT64_C(0x3FF0000000000000) <= 1;
}
inline bool hasUnitRoot(float ss) {
    std::uint32_t b;
    std::memcpy(&b, &ss, sizeof b);
    return b - UINT32_C(0x3F800000) <= 1;
}

// The axis fields at the precision T of the points, with the two normalisations that do not
// depend on the point. Building it once per list gives the same bits as building it per point.
template <class T> struct ArtFrame {
    TripletBase<T> point;   // axis point P
    TripletBase<T> dir;     // axis direction D as stored (rounded to T)
    TripletBase<T> unitDir; // D normalised at T: the copy the perpendicular component uses
    TripletBase<T> up;      // up vector U
    TripletBase<T> side;    // C = D x U formed in double, rounded to T, normalised at T

    ArtFrame(const TripletBase<double>& p, const TripletBase<double>& d,
             const TripletBase<double>& u)
        : point(atPrecision(p, T())), dir(atPrecision(d, T())), unitDir(dir),
          up(atPrecision(u, T())), side(atPrecision(d.cross(u), T())) {
        // The stored direction is a unit vector, and where its length is exactly 1 normalising
        // divides by 1, which changes nothing: the division is skipped, so that the point's
        // steps need not wait for it (the test is the same for every call on one axis, so it
        // predicts). Otherwise both normalisations at once.
        if (hasUnitRoot(dir.dot(dir)) && !dir.isUndefined()) {
            side.normalize();
        } else {
            normalizeTwo(unitDir, side);
        }
    }
};

// Axial and radial coordinates of a point and its radial vector R (the part of X - P
// perpendicular to D).
template <class T> struct RadialPart {
    T a;
    T r;
    TripletBase<T> radial;
};

template <class T>
inline RadialPart<T> radialPart(const ArtFrame<T>& f, const TripletBase<T>& point) {
    const TripletBase<T> v = point - f.point;
    // v.perpendicularComponent(dir), with the normalised direction taken from the frame.
    const T s = v.dot(f.unitDir);
    const TripletBase<T> radial = v - scaled(f.unitDir, s);
    const T r = radial.length();
    const T a = f.dir.dot(v - radial);
    return RadialPart<T>{a, r, radial};
}

// v[k] = sqrt(v[k]) for k < m, in a loop of its own (which the compiler vectorises: the build sets
// no errno for sqrt).
template <class T> inline void squareRoots(T* v, std::size_t m) {
    for (std::size_t k = 0; k < m; ++k) {
        v[k] = std::sqrt(v[k]);
    }
}

// Largest number of points convertBlock takes at once.
constexpr std::size_t kArtBlock = 128;

// The next block of a list: where its points are read from and their results written to, and
// how many cache lines (of kCacheLine bytes) each of the two spans. A block's atan2 loop leaves the
// memory idle, so it asks for these lines to be brought into the cache meanwhile, one line of each
// span beside each point's atan2; a bulk loop over points read straight from memory otherwise
// waits on it. Prefetching touches no value, so results do not change.
constexpr std::size_t kCacheLine = 64;
struct BlockAhead {
    const char* in = nullptr;
    char* out = nullptr;
    std::size_t lines = 0;
};

// Asks for the cache line at p, to be read (Write 0) or written (Write 1). Forced inline: GCC
// finds a kept-apart helper free of side effects and drops its calls.
template <int Write> ORV_KERNEL_INLINE void prefetchLine(const void* p) {
#if defined(__GNUC__)
    __builtin_prefetch(p, Write, 3);
#elif defined(__SSE2__)
    _mm_prefetch(static_cast<const char*>(p), _MM_HINT_T0);
#else
    (void)p;
#endif
}

// convertART of m <= kArtBlock points (no check of the axis): a, r and theta in degrees (double,
// not yet rounded to the record's precision). Without SSE2 single points go through here too
// (m = 1); with it, their packed form does the same operations.
//
// The steps are those of TripletBase, written out component by component in the same order and
// precision: V = X - P; R = V - n (V . n) with n the normalised direction (perpendicularComponent);
// r = R.length(); a = D . (V - R); R normalised by r (a zero R stays zero); atan2 in double of
// C . R^ and U . R^; times 180, divided by pi. Each step runs over the whole block before the
// next, so the work of neighbouring points overlaps (and the loops without calls vectorise)
// instead of every point waiting on its own chain of square root, divisions and atan2.
template <class T>
ORV_KERNEL_INLINE void convertBlock(const ArtFrame<T>& f, const TripletBase<T>* in, std::size_t m,
                                    T* a, T* r, double* degrees,
                                    const BlockAhead& ahead = BlockAhead()) {
    // The frame in locals and the points as a packed array x, y, z, x, ...: plain loops that the
    // compiler can vectorise (every operation stays the IEEE operation of its precision).
    const T px = f.point.x, py = f.point.y, pz = f.point.z;
    const T nx = f.unitDir.x, ny = f.unitDir.y, nz = f.unitDir.z;
    const T dx = f.dir.x, dy = f.dir.y, dz = f.dir.z;
    const T cx = f.side.x, cy = f.side.y, cz = f.side.z;
    const T upx = f.up.x, upy = f.up.y, upz = f.up.z;
    const T marker = TripletBase<T>::undefinedMarker();
    const T* xyz = &in[0].x;
    T rx[kArtBlock], ry[kArtBlock], rz[kArtBlock], rr[kArtBlock];
    for (std::size_t k = 0; k < m; ++k) {
        const T vx = xyz[3 * k] - px;
        const T vy = xyz[3 * k + 1] - py;
        const T vz = xyz[3 * k + 2] - pz;
        const T s = (vx * nx + vy * ny) + vz * nz;
        const T x = vx - scaled(nx, s);
        const T y = vy - scaled(ny, s);
        const T z = vz - scaled(nz, s);
        a[k] = (dx * (vx - x) + dy * (vy - y)) + dz * (vz - z);
        rx[k] = x;
        ry[k] = y;
        rz[k] = z;
        rr[k] = (x * x + y * y) + z * z;
    }
    squareRoots(rr, m);
    for (std::size_t k = 0; k < m; ++k) {
        const bool undefined = (rx[k] == marker) | (ry[k] == marker) | (rz[k] == marker);
        r[k] = undefined ? static_cast<T>(kUndefinedValue) : rr[k];
    }
    T sideDot[kArtBlock], upDot[kArtBlock];
    for (std::size_t k = 0; k < m; ++k) {
        // A zero vector stays zero: dividing by 1 instead gives it unchanged, with no branch.
        const T len = r[k] == T(0) ? T(1) : r[k];
        const T ux = rx[k] / len;
        const T uy = ry[k] / len;
        const T uz = rz[k] / len;
        sideDot[k] = (cx * ux + cy * uy) + cz * uz;
        upDot[k] = (upx * ux + upy * uy) + upz * uz;
    }
    std::size_t k = 0;
    for (; k < m && k < ahead.lines; ++k) {
        prefetchLine<0>(ahead.in + k * kCacheLine);
        prefetchLine<1>(ahead.out + k * kCacheLine);
        degrees[k] = std::atan2(static_cast<double>(sideDot[k]), static_cast<double>(upDot[k]));
    }
    for (; k < m; ++k) {
        degrees[k] = std::atan2(static_cast<double>(sideDot[k]), static_cast<double>(upDot[k]));
    }
    for (std::size_t k = 0; k < m; ++k) {
        degrees[k] = degrees[k] * 180.0 / kPi;
    }
}

// convertART of one point from the axis fields (no check of the axis). This form builds the
// frame and runs the steps of a list block of one point; the SSE2 forms below do the same
// operations in packed registers with fewer instructions per call.
template <class T>
inline auto convertOne(const TripletBase<double>& axisPoint, const TripletBase<double>& axisDir,
                       const TripletBase<double>& upVector, const TripletBase<T>& point)
    -> decltype(makeRecord(T(), T(), 0.0)) {
    const ArtFrame<T> frame(axisPoint, axisDir, upVector);
    T a;
    T r;
    double degrees;
    convertBlock(frame, &point, 1, &a, &r, &degrees);
    return makeRecord(a, r, degrees);
}

#if defined(__SSE2__)
// Forms of convertOne for single-point calls, with the same operations in the same order and
// precision as ArtFrame and convertBlock, so the same bits. The frame's normalisations run in
// packed registers: a triplet in the lanes (x, y, z, 0) of one register (float) or in (x, y) and
// z (double), each lane's product and quotient the scalar IEEE operation, every dot product
// ((x x' + y y') + z z'). A unit vector whose length is exactly 1 is not divided (a division by 1
// changes nothing). The point's steps run in scalars: each depends on the one before, and a
// shuffle between them would lengthen the chain that ends in atan2. That chain sets the pace of
// a host's loop of calls: the platform's atan2 reads the floating-point control and status
// register on entry, which waits for every earlier floating-point operation, so one call's chain
// does not overlap with the previous call's atan2. Nor can it start before its instructions are
// fetched, which after a mispredicted branch in that atan2 begins anew: so the point's steps come
// first in program order, and the side vector's normalisation (needed only by the last dot
// product) after the root.
namespace packed {

inline double rootOf(double v) {
    return std::sqrt(v);
}
inline float rootOf(float v) {
    return std::sqrt(v);
}

// True where ss lies within 4096 units in the last place of 1, on either side.
inline bool isNearOne(float ss) {
    std::uint32_t b;
    std::memcpy(&b, &ss, sizeof b);
    return b - (UINT32_C(0x3F800000) - 4096u) <= 8192u;
}
// The correctly rounded square root of such an ss, from its bits: the mean of the bits of ss and
// of 1. For ss = 1 + k u (u the spacing of floats on that side of 1) the root is 1 + k u / 2 less
// a positive amount below k^2 u^2 / 8, which stays under half a spacing for |k| < 5792, and for
// odd k is the midpoint between two floats less that amount: so it rounds to the float that the
// mean of the bits gives. The tests compare it with the square root at every such ss.
inline float rootNearOne(float ss) {
    const __m128i b = _mm_castps_si128(_mm_set_ss(ss));
    return _mm_cvtss_f32(
        _mm_castsi128_ps(_mm_srli_epi32(_mm_add_epi32(b, _mm_set1_epi32(0x3F800000)), 1)));
}

// (x, y, z, 0) of a double triplet rounded to float, lane by lane as static_cast<float>.
inline __m128 narrowed(const TripletBase<double>& v) {
    const __m128 xy = _mm_cvtpd_ps(_mm_loadu_pd(&v.x));
    const __m128 z = _mm_cvtpd_ps(_mm_load_sd(&v.z));
    return _mm_movelh_ps(xy, z);
}
// The same of a triplet just computed, from its values rather than from memory: a 16-byte load of
// what two 8-byte stores have just written cannot be forwarded from them and waits until they
// reach the cache.
inline __m128 narrowedHeld(const TripletBase<double>& v) {
    const __m128 xy = _mm_cvtpd_ps(_mm_set_pd(v.y, v.x));
    const __m128 z = _mm_cvtpd_ps(_mm_set_sd(v.z));
    return _mm_movelh_ps(xy, z);
}
// (p0 + p1) + p2 of the lanes.
inline float sum3(__m128 p) {
    const __m128 s = _mm_add_ss(p, _mm_shuffle_ps(p, p, 1));
    return _mm_cvtss_f32(_mm_add_ss(s, _mm_movehl_ps(p, p)));
}
inline float dot3(__m128 a, __m128 b) {
    return sum3(_mm_mul_ps(a, b));
}
inline bool anyIsMarker(__m128 v) {
    const __m128 eq = _mm_cmpeq_ps(v, _mm_set1_ps(TripletBase<float>::undefinedMarker()));
    return _mm_movemask_ps(eq) != 0;
}
// v normalised: divided by its length (the undefined value for an undefined v), unless that
// length is 0 or exactly 1. The length of a stored unit vector rounded to float comes from
// rootNearOne, a few integer steps instead of the square root's latency.
inline __m128 normalized(__m128 v) {
    const float ss = dot3(v, v);
    if (hasUnitRoot(ss)) {
        return v;
    }
    const float root = isNearOne(ss) ? rootNearOne(ss) : rootOf(ss);
    const float l = anyIsMarker(v) ? static_cast<float>(kUndefinedValue) : root;
    return l == 0.0f ? v : _mm_div_ps(v, _mm_set1_ps(l));
}

// A double triplet as (x, y) and z.
struct D3 {
    __m128d xy;
    double z;
};
inline D3 loaded(const TripletBase<double>& v) {
    return D3{_mm_loadu_pd(&v.x), v.z};
}
// A triplet just computed, from its values (see narrowedHeld).
inline D3 held(const TripletBase<double>& v) {
    return D3{_mm_set_pd(v.y, v.x), v.z};
}
inline D3 divScalar(D3 a, double s) {
    return D3{_mm_div_pd(a.xy, _mm_set1_pd(s)), a.z / s};
}
inline double dot3(D3 a, D3 b) {
    const __m128d p = _mm_mul_pd(a.xy, b.xy);
    const double xy = _mm_cvtsd_f64(_mm_add_sd(p, _mm_unpackhi_pd(p, p)));
    return xy + a.z * b.z;
}
inline bool anyIsMarker(D3 v) {
    const __m128d m = _mm_set1_pd(TripletBase<double>::undefinedMarker());
    const __m128d eq = _mm_or_pd(_mm_cmpeq_pd(v.xy, m), _mm_cmpeq_sd(_mm_set_sd(v.z), m));
    return _mm_movemask_pd(eq) != 0;
}
inline D3 normalized(D3 v) {
    const double ss = dot3(v, v);
    if (hasUnitRoot(ss)) {
        return v;
    }
    const double l = anyIsMarker(v) ? kUndefinedValue : rootOf(ss);
    return l == 0.0 ? v : divScalar(v, l);
}

// (x, y, z, 0) of a float triplet: one 8-byte and one 4-byte load (no read past its end).
inline __m128 loaded(const TripletBase<float>& v) {
    const __m128 xy = _mm_castsi128_ps(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(&v.x)));
    return _mm_movelh_ps(xy, _mm_load_ss(&v.z));
}

// The float form of convertOne.
ORV_KERNEL_INLINE ART convertFloat(const TripletBase<double>& axisPoint,
                                   const TripletBase<double>& axisDir,
                                   const TripletBase<double>& upVector,
                                   const TripletBase<float>& point) {
    const __m128 d = narrowed(axisDir);
    const __m128 n = normalized(d);
    // The point's steps in scalars: no shuffles between the dependent steps of its chain.
    const float nx = _mm_cvtss_f32(n);
    const float ny = _mm_cvtss_f32(_mm_shuffle_ps(n, n, 0x55));
    const float nz = _mm_cvtss_f32(_mm_movehl_ps(n, n));
    const __m128 v = _mm_sub_ps(loaded(point), narrowed(axisPoint));
    const __m128 side = narrowedHeld(axisDir.cross(upVector));
    const __m128 up = narrowed(upVector);
    const float vx = _mm_cvtss_f32(v);
    const float vy = _mm_cvtss_f32(_mm_shuffle_ps(v, v, 0x55));
    const float vz = _mm_cvtss_f32(_mm_movehl_ps(v, v));
    const float s = (vx * nx + vy * ny) + vz * nz;
    const float x = vx - nx * s;
    const float y = vy - ny * s;
    const float z = vz - nz * s;
    const float root = std::sqrt((x * x + y * y) + z * z);
    const __m128 radial = _mm_set_ps(0.0f, z, y, x);
    const float r = anyIsMarker(radial) ? static_cast<float>(kUndefinedValue) : root;
    // a = (Dx (Vx - x) + Dy (Vy - y)) + Dz (Vz - z) of the float direction as stored.
    const float a = dot3(d, _mm_sub_ps(v, radial));
    const __m128 c = normalized(side);
    const __m128 unit = _mm_div_ps(radial, _mm_set1_ps(r == 0.0f ? 1.0f : r));
    const float sideDot = dot3(c, unit);
    const float upDot = dot3(up, unit);
    // a and r kept as one pair across the atan2 call and stored as one 8-byte value, from which
    // the record is returned in a register (two 4-byte stores could not be forwarded to that
    // load).
    const __m128 ar = _mm_unpacklo_ps(_mm_set_ss(a), _mm_set_ss(r));
    const double radians = std::atan2(static_cast<double>(sideDot), static_cast<double>(upDot));
    ART rec;
    _mm_storel_pi(reinterpret_cast<__m64*>(&rec), ar);
    rec.t = static_cast<float>(radians * 180.0 / kPi);
    return rec;
}

} // namespace packed

template <>
ORV_KERNEL_INLINE ART convertOne<float>(const TripletBase<double>& axisPoint,
                                        const TripletBase<double>& axisDir,
                                        const TripletBase<double>& upVector,
                                        const TripletBase<float>& point) {
    return packed::convertFloat(axisPoint, axisDir, upVector, point);
}

template <>
ORV_KERNEL_INLINE DART convertOne<double>(const TripletBase<double>& axisPoint,
                                          const TripletBase<double>& axisDir,
                                          const TripletBase<double>& upVector,
                                          const TripletBase<double>& point) {
    using namespace packed;
    const double vx = point.x - axisPoint.x;
    const double vy = point.y - axisPoint.y;
    const double vz = point.z - axisPoint.z;
    const D3 n = normalized(loaded(axisDir));
    // The point's steps in scalars: no shuffles between the dependent steps of its chain.
    const double nx = _mm_cvtsd_f64(n.xy), ny = _mm_cvtsd_f64(_mm_unpackhi_pd(n.xy, n.xy));
    const double nz = n.z;
    const double s = (vx * nx + vy * ny) + vz * nz;
    const double x = vx - nx * s;
    const double y = vy - ny * s;
    const double z = vz - nz * s;
    const double a = (axisDir.x * (vx - x) + axisDir.y * (vy - y)) + axisDir.z * (vz - z);
    // std::sqrt: the root straight from the register that holds the sum (its errno test is a
    // branch beside the chain).
    const double root = std::sqrt((x * x + y * y) + z * z);
    const double m = TripletBase<double>::undefinedMarker();
    const double r = ((x == m) | (y == m) | (z == m)) ? kUndefinedValue : root;
    const double len = r == 0.0 ? 1.0 : r;
    const D3 c = normalized(held(axisDir.cross(upVector)));
    const __m128d lens = _mm_set1_pd(len);
    const __m128d uxy = _mm_div_pd(_mm_set_pd(y, x), lens);
    const __m128d uzz = _mm_div_sd(_mm_set_sd(z), lens);
    const double uz = _mm_cvtsd_f64(uzz);
    const double ux = _mm_cvtsd_f64(uxy), uy = _mm_cvtsd_f64(_mm_unpackhi_pd(uxy, uxy));
    const double cx = _mm_cvtsd_f64(c.xy), cy = _mm_cvtsd_f64(_mm_unpackhi_pd(c.xy, c.xy));
    const double sideDot = (cx * ux + cy * uy) + c.z * uz;
    const double upDot = (upVector.x * ux + upVector.y * uy) + upVector.z * uz;
    // a and r written (one 16-byte store, see pairStored) before the atan2 call, so that they
    // need not be kept across it.
    DART rec;
    _mm_storeu_pd(&rec.a, _mm_set_pd(r, a));
    const double radians = std::atan2(sideDot, upDot);
    rec.t = radians * 180.0 / kPi;
    return rec;
}
#endif

// The axis fields for conversions towards points, at precision T: P, D and U rounded to T and
// the copy of D normalised at T that the rotation matrix uses. Point-independent: a list builds it
// once, with the same bits as a single-point call.
template <class T> struct XyzFrame {
    TripletBase<T> point;   // axis point P
    TripletBase<T> dir;     // axis direction D as stored (rounded to T)
    TripletBase<T> unitDir; // D normalised at T
    TripletBase<T> up;      // up vector U

    XyzFrame(const TripletBase<double>& p, const TripletBase<double>& d,
             const TripletBase<double>& u)
        : point(atPrecision(p, T())), dir(atPrecision(d, T())), unitDir(dir),
          up(atPrecision(u, T())) {
        unitDir.normalize();
    }
};

// The rows of the right-handed rotation by phi (radians) about the unit direction u; cosine and
// sine at T (cosf and sinf for float).
template <class T> struct AxisAngleRows { TripletBase<T> row[3]; };
template <class T>
ORV_KERNEL_INLINE AxisAngleRows<T> unitAxisAngleRows(const TripletBase<T>& u, T phi) {
    const T x = u.x;
    const T y = u.y;
    const T z = u.z;
    const T c = std::cos(phi);
    const T s = std::sin(phi);
    const T k = T(1) - c;
    AxisAngleRows<T> m;
    m.row[0] = TripletBase<T>(x * x * k + c, x * y * k - z * s, x * z * k + y * s);
    m.row[1] = TripletBase<T>(x * y * k + z * s, y * y * k + c, y * z * k - x * s);
    m.row[2] = TripletBase<T>(x * z * k - y * s, y * z * k + x * s, z * z * k + c);
    return m;
}

// convertXYZ of (a, r, theta in degrees) with a prepared frame (no check of the axis): the angle in
// radians (double, then rounded to T), w = M U with M the rotation about D by it, then
// (P + a D) + r w.
template <class T> ORV_KERNEL_INLINE TripletBase<T> pointAt(const XyzFrame<T>& f, T a, T r, T t) {
    const T phi = static_cast<T>(static_cast<double>(t) * kPi / 180.0);
    const AxisAngleRows<T> m = unitAxisAngleRows(f.unitDir, phi);
    const TripletBase<T> w(m.row[0].dot(f.up), m.row[1].dot(f.up), m.row[2].dot(f.up));
    return (f.point + scaled(f.dir, a)) + scaled(w, r);
}

// Turn count of the hemisphere rule (both angles in degrees, double): d = theta - reference; when
// |d| >= 180, n = d / 360 rounded to nearest with halves away from zero (d / 360 + 0.5 for d > 0,
// d / 360 - 0.5 otherwise, truncated towards zero); otherwise 0. A NaN or infinite d gives 0, so
// theta stays as it is.
//
// The truncation runs through a 64-bit integer: where n fits in 32 bits this is the 32-bit
// truncation; beyond it is still exact (a double of magnitude 2^52 or more is already an integer,
// so from 2^62 on the quotient is used as it is). Written without branches on the data, because
// the lists apply it to every point and points on both sides of the cut would defeat prediction.
inline double turnsNear(double theta, double reference) {
    const double d = theta - reference;
    const double q = d / 360.0 + (d > 0.0 ? 0.5 : -0.5);
    const bool fits = std::fabs(q) < 4611686018427387904.0; // 2^62; false for NaN
    const double truncated = static_cast<double>(static_cast<std::int64_t>(fits ? q : 0.0));
    const double turns = fits ? truncated : q;
    const bool moves = (std::fabs(d) >= 180.0) & (std::fabs(d) <= 1.7976931348623157e308);
    return moves ? turns : 0.0;
}

// Theta within half a turn of the reference: theta - 360 n with n = turnsNear(theta, reference).
// With n = 0 this is theta itself, bit for bit (theta - 0 keeps -0, infinities and NaN).
inline double nearReference(double theta, double reference) {
    return theta - 360.0 * turnsNear(theta, reference);
}

// The same rows about the direction n normalised at T.
template <class T> inline AxisAngleRows<T> axisAngleRows(const TripletBase<T>& n, T phi) {
    TripletBase<T> u = n;
    u.normalize();
    return unitAxisAngleRows(u, phi);
}

} // namespace detail
} // namespace orv

#endif
