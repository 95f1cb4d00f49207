#ifndef ORV_AXIS_AXISKERNEL_H
#define ORV_AXIS_AXISKERNEL_H

// Internal to the library (not installed): the arithmetic of the axis conversions in one include,
// for internal code and tests that use several of its parts. Each part lives in orv/axis/detail/:
// Refusals.h (the checks before any computation), Frame.h (the axis fields at the points'
// precision), PointSteps.h (one point's steps), Hemisphere.h (the hemisphere and continuity
// rules), BlockKernel.h (a list's blocks), AxisAccess.h (the fields, for code outside the class).

#include "orv/axis/detail/AxisAccess.h"
#include "orv/axis/detail/BlockKernel.h"
#include "orv/axis/detail/Frame.h"
#include "orv/axis/detail/Hemisphere.h"
#include "orv/axis/detail/PointSteps.h"
#include "orv/axis/detail/Refusals.h"

#endif
