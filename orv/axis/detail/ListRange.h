#ifndef ORV_AXIS_DETAIL_LISTRANGE_H
#define ORV_AXIS_DETAIL_LISTRANGE_H

// Internal (not installed): the continuous list conversion towards (a, r, theta) records over
// arrays, for the library's own Python module, which converts numpy's memory where the public
// forms take std::vector lists.

#include "orv/foundation/ART.h"
#include "orv/foundation/DART.h"
#include "orv/foundation/Export.h"
#include "orv/foundation/TripletBase.h"

#include <cstddef>

namespace orv {

class RotationAxis;

namespace detail {

// out[i] for in[i], i < n: the records RotationAxis::convertART gives a list of n points
// (reference null: the first theta as converted) or convertARTSetHemisphere (the first theta
// within half a turn of *reference, in degrees), then theta continuous. Refused as those calls
// are, before anything is written; n == 0 writes nothing and refuses nothing. in and out do not
// overlap.
ORV_API void convertARTRange(const RotationAxis& axis, const TripletBase<float>* in, std::size_t n,
                             ART* out, const double* reference);
ORV_API void convertARTRange(const RotationAxis& axis, const TripletBase<double>* in, std::size_t n,
                             DART* out, const double* reference);

} // namespace detail
} // namespace orv

#endif
