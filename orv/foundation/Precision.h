#ifndef ORV_FOUNDATION_PRECISION_H
#define ORV_FOUNDATION_PRECISION_H

#include "orv/foundation/Export.h"

namespace orv {

// Every step that changes a value's precision downwards is made here, out of line, in the library.
// Inline code compiled by a host's compiler could otherwise have the rounding to single precision
// dropped by an optimiser (straight-line double -> float -> double chains), and hosts comparing
// geometry across machines need the same bits everywhere.

// The double rounded to the nearest float.
ORV_API float narrowToFloat(double value);

// static_cast<float>(static_cast<double>(value) * factor): the product formed in double precision,
// then rounded to single precision.
ORV_API float scaleToFloat(float value, double factor);

} // namespace orv

#endif
