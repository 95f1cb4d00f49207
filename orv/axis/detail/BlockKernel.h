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
    double sideDot[kArtBlock], upDot[kArtBlock]; // formed at T, widened
    for (std::size_t k = 0; k < m; ++k) {
        // A zero vector stays zero: dividing by 1 instead gives it unchanged, with no branch.
        const T len = r[k] == T(0) ? T(1) : r[k];
        const T ux = rx[k] / len;
        const T uy = ry[k] / len;
        const T uz = rz[k] / len;
        sideDot[k] = static_cast<double>((cx * ux + cy * uy) + cz * uz);
        upDot[k] = static_cast<double>((upx * ux + upy * uy) + upz * uz);
    }
    // The atan2 of the whole block at once: several points per operation (orv/math/VectorMath.h),
    // each with the bits of the single call.
    math::atan2Block(sideDot, upDot, degrees, m);
    for (std::size_t k = 0; k < m; ++k) {
        degrees[k] = degrees[k] * 180.0 / kPi;
    }
}

// convertXYZ of m <= kArtBlock records (a, r, theta in degrees) with a prepared frame (no check
// of the axis): the angles in radians, their sines and cosines for the whole block at once
// (several per operation, each with the bits of the single call), then each point from them as
// pointAt does. out may be where a, r and t were read from.
template <class T>
ORV_FORCE_INLINE void pointsAt(const XyzFrame<T>& f, const T* a, const T* r, const T* t,
                               std::size_t m, TripletBase<T>* out) {
    T phi[kArtBlock], s[kArtBlock], c[kArtBlock];
    for (std::size_t k = 0; k < m; ++k) {
        phi[k] = radiansOf(t[k]);
    }
    math::sincosBlock(phi, s, c, m);
    for (std::size_t k = 0; k < m; ++k) {
        out[k] = pointFromRows(f, a[k], r[k], rowsOf(f.unitDir, s[k], c[k]));
    }
}

// convertXYZ of n elements into out[0..n), block by block (no check of the axis):
// read(i, a, r, t) gives element i's axial and radial values and theta in degrees. Every block is
// read whole before its points are written, so out may be the list read from.
template <class T, class Read>
ORV_FORCE_INLINE void pointsFrom(const XyzFrame<T>& frame, std::size_t n, const Read& read,
                                 TripletBase<T>* out) {
    T a[kArtBlock], r[kArtBlock], t[kArtBlock];
    for (std::size_t base = 0; base < n; base += kArtBlock) {
        const std::size_t m = n - base < kArtBlock ? n - base : kArtBlock;
        for (std::size_t k = 0; k < m; ++k) {
            read(base + k, a[k], r[k], t[k]);
        }
        pointsAt(frame, a, r, t, m, out + base);
    }
}

// The rotations of n points about the axis by `addend` degrees, written back in place block by
// block (no check of the axis). continuous: as the list convertART (theta continuity from the
// first point as converted), theta + addend at the record's precision, then the list convertXYZ.
// Otherwise each point as the single-point rotation (no continuity: convertART, theta + addend,
// convertXYZ). Every point gets the bits of those calls.
inline float addDegrees(float t, double addend) {
    return static_cast<float>(static_cast<double>(t) + addend);
}
inline double addDegrees(double t, double addend) {
    return t + addend;
}
template <class T>
ORV_FORCE_INLINE void rotatePoints(const ArtFrame<T>& af, const XyzFrame<T>& xf,
                                   TripletBase<T>* points, std::size_t n, double addend,
                                   bool continuous) {
    T a[kArtBlock], r[kArtBlock], t[kArtBlock];
    double degrees[kArtBlock];
    T previous = T(0);
    for (std::size_t base = 0; base < n; base += kArtBlock) {
        const std::size_t m = n - base < kArtBlock ? n - base : kArtBlock;
        convertBlock(af, points + base, m, a, r, degrees);
        for (std::size_t k = 0; k < m; ++k) {
            t[k] = atRecordPrecision(degrees[k], T());
        }
        if (continuous) {
            continueBlock(t, m, base == 0 ? nullptr : &previous, nullptr);
            previous = t[m - 1];
        }
        for (std::size_t k = 0; k < m; ++k) {
            t[k] = addDegrees(t[k], addend);
        }
        pointsAt(xf, a, r, t, m, points + base);
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
