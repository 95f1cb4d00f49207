#ifndef ORV_PLATFORM_GEOMETRY_H
#define ORV_PLATFORM_GEOMETRY_H

#include "orv/platform/PlatformExport.h"

namespace orv {

// A drawable object of the host's graphics library that a kernel fills when asked to draw a point,
// curve or surface. The kernel interface only passes it through; this stand-in holds nothing.
class ORV_PLATFORM_API Geometry {};

} // namespace orv

#endif
