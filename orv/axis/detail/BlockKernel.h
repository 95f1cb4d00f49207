#ifndef ORV_AXIS_DETAIL_BLOCKKERNEL_H
#define ORV_AXIS_DETAIL_BLOCKKERNEL_H

// Internal: convertART of a block of points at a time, for the list conversions. Each step runs
// over the whole block before the next, so the work of neighbouring points overlaps (and the loops
// without calls vectorise) instead of every point waiting on its own chain of square root,
// divisions and atan2. The operations and their order are those of convertOne (PointSteps.h):
// every point gets the bits of the single-point call.

#include "orv/axis/detail/Frame.h"
#include "orv/axis/detail/Hemisphere.h"
#include "orv/foundation/Config.h"
#include "orv/foundation/TripletBase.h"

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
        degrees[k] = std::atan2(static_cast<double>(sideDot[k]), static_cast<double>(upDot[k]));
    }
    for (std::size_t k = 0; k < m; ++k) {
        degrees[k] = degrees[k] * 180.0 / kPi;
    }
}

} // namespace detail
} // namespace orv

#endif
