#ifndef ORV_PLATFORM_ORVMATRIX3BASE_H
#define ORV_PLATFORM_ORVMATRIX3BASE_H

#include "orv/platform/PlatformExport.h"

namespace orv {

// A 3x3 matrix of nine elements of type T, stored in row order. Elements are addressed as
// (row, col), both 0, 1 or 2; any other index throws internal::error ("ORVMatrix3base",
// "operator()", "Matrix index out of range."). Only the float form is built (and exported).
template <class T> class ORV_PLATFORM_API ORVMatrix3base {
public:
    // The identity.
    ORVMatrix3base();

    T& operator()(int row, int col);
    T operator()(int row, int col) const;

private:
    T m_e[9];
};

ORV_PLATFORM_EXTERN_TEMPLATE(ORVMatrix3base<float>);

} // namespace orv

#endif
