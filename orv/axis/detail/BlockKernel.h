#ifndef ORV_AXIS_DETAIL_BLOCKKERNEL_H
#define ORV_AXIS_DETAIL_BLOCKKERNEL_H

// Internal: convertART of a block of points at a time, for the list conversions. Each step runs
// over the whole block before the next, so the work of neighbouring points overlaps (and the loops
// without calls vectorise) instead of every point waiting on its own chain of square root,
// divisions and atan2. The operations and their order are those of convertOne (PointSteps.h):
// every point gets the bits of the single-point call.

#include "orv/axis/detail/Frame.h"
#include "orv/axis/detail/Hemisphere.h"
#include "orv/axis/detail/PointSteps.h"
#include "orv/foundation/ART.h"
#include "orv/foundation/Config.h"
#include "orv/foundation/DART.h"
#include "orv/foundation/TripletBase.h"
#include "orv/math/Math.h"

#include <cmath>
#include <cstddef>

namespace orv {
namespace detail {

// convertART of m <= kArtBlock points (no check of the axis): a, r and theta in degrees (double,
// not yet rounded to the record's precision).
template <class T>
ORV_FORCE_INLINE void convertBlock(const ArtFrame<T>& f, const TripletBase<T>* in, std::size_t m,
                                   T* a, T* r, double* degrees) {
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
    for (std::size_t k = 0; k < m; ++k) {
        rr[k] = std::sqrt(rr[k]);
    }
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
    for (std::size_t k = 0; k < m; ++k) {
        degrees[k] = math::atan2(static_cast<double>(sideDot[k]), static_cast<double>(upDot[k]));
    }
    for (std::size_t k = 0; k < m; ++k) {
        degrees[k] = degrees[k] * 180.0 / kPi;
    }
}

// Records and triplets (a, r, theta) from a record.
inline void put(ART& out, const ART& rec) {
    out = rec;
}
inline void put(DART& out, const DART& rec) {
    out = rec;
}
inline void put(TripletBase<float>& out, const ART& rec) {
    out = TripletBase<float>(rec.a, rec.r, rec.t);
}
inline void put(TripletBase<double>& out, const DART& rec) {
    out = TripletBase<double>(rec.a, rec.r, rec.t);
}

// Converts n points into out[0..n) with theta continuity. With a reference the first theta is
// brought near it; without, the first theta is kept as converted. Every element gets the bits of
// the single-point call followed by the rule: the frame holds only point-independent values and
// the blocks run the same steps.
template <class T, class Out>
ORV_FORCE_INLINE void convertContinuous(const ArtFrame<T>& frame, const TripletBase<T>* in,
                                        Out* out, std::size_t n, const double* reference) {
    T a[kArtBlock], r[kArtBlock], t[kArtBlock];
    double degrees[kArtBlock];
    T previous = T(0);
    for (std::size_t base = 0; base < n; base += kArtBlock) {
        const std::size_t m = n - base < kArtBlock ? n - base : kArtBlock;
        convertBlock(frame, in + base, m, a, r, degrees);
        for (std::size_t k = 0; k < m; ++k) {
            t[k] = atRecordPrecision(degrees[k], T());
        }
        continueBlock(t, m, base == 0 ? nullptr : &previous, reference);
        previous = t[m - 1];
        for (std::size_t k = 0; k < m; ++k) {
            put(out[base + k], makeRecord(a[k], r[k], static_cast<double>(t[k])));
        }
    }
}

} // namespace detail
} // namespace orv

#endif
