#ifndef ORV_GEOMETRYTOOLS_H
#define ORV_GEOMETRYTOOLS_H

// Everything a host of libORVRWGeometryTools uses, in one include: the library's classes and the
// platform classes they pass (messages, exceptions, matrices, the coordinate transform, the curve
// stores), with the value types and the version.

#include "orv/Version.h"

#include "orv/platform/Error.h"
#include "orv/platform/Geometry.h"
#include "orv/platform/IntORVVector.h"
#include "orv/platform/ORVMatrix3base.h"
#include "orv/platform/ORVMatrix4.h"
#include "orv/platform/ParametricCurve.h"
#include "orv/platform/ParametricDB.h"
#include "orv/platform/SystemMsg.h"
#include "orv/platform/TripletORVVector.h"
#include "orv/platform/TurboTransform.h"
#include "orv/platform/UserMsg.h"

#include "orv/foundation/ART.h"
#include "orv/foundation/DART.h"
#include "orv/foundation/Doublet.h"
#include "orv/foundation/Precision.h"
#include "orv/foundation/TripletBase.h"

#include "orv/axis/RotationAxis.h"

#include "orv/kernel/KernelInterfaceBase.h"
#include "orv/kernel/KernelSettingsGuard.h"
#include "orv/kernel/PCKernelInterface.h"

#include "orv/turbo/ThetaTurboTransform.h"

#include "orv/triangle/Triangle.h"

#endif
