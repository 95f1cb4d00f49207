#ifndef ORV_PLATFORM_ORVMATRIX4_H
#define ORV_PLATFORM_ORVMATRIX4_H

#include "orv/foundation/TripletBase.h"
#include "orv/platform/ORVMatrix3base.h"
#include "orv/platform/PlatformExport.h"

namespace orv {

// A 4x4 homogeneous matrix of sixteen floats. It acts on column vectors: the point x maps to
// M (x, 1). Elements are addressed as (row, col), both 0 to 3; the translation is the fourth
// column. Any other index throws internal::error ("ORVMatrix4", "operator()",
// "Matrix index out of range."). All arithmetic is single precision.
class ORV_PLATFORM_API ORVMatrix4 {
public:
    // The identity.
    ORVMatrix4();
    // The linear part from the 3x3 matrix, no translation, last row (0, 0, 0, 1).
    explicit ORVMatrix4(const ORVMatrix3base<float>& linear);

    // Makes the whole matrix the translation by t (identity linear part).
    void setTranslationMatrix(const TripletBase<float>& t);

    float operator()(int row, int col) const;

    // The first three components of M (p, 1): each row dotted with (x, y, z) in that order, plus
    // the translation. The last row is not applied (no division by w).
    TripletBase<float> transformPoint(const TripletBase<float>& p) const;

    // The product a b (a on the left): element (i, j) is
    // ((a(i,0) b(0,j) + a(i,1) b(1,j)) + a(i,2) b(2,j)) + a(i,3) b(3,j), in single precision.
    // Found by argument-dependent lookup.
    friend ORV_PLATFORM_API ORVMatrix4 operator*(const ORVMatrix4& a, const ORVMatrix4& b);

private:
    float m_e[16]; // row order
};

} // namespace orv

#endif
