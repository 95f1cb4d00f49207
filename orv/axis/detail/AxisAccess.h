#ifndef ORV_AXIS_DETAIL_AXISACCESS_H
#define ORV_AXIS_DETAIL_AXISACCESS_H

// Internal: read access to a RotationAxis's four fields for the library's own list code outside
// the class (the theta turbo transform's lists build the axis frame once per list from them).

#include "orv/axis/RotationAxis.h"

namespace orv {
namespace detail {

struct AxisAccess {
    static const TripletBase<double>& point(const RotationAxis& axis) { return axis.m_axisPoint; }
    static const TripletBase<double>& dir(const RotationAxis& axis) { return axis.m_axisDir; }
    static double angle(const RotationAxis& axis) { return axis.m_angle; }
    static const TripletBase<double>& up(const RotationAxis& axis) { return axis.m_upVector; }
};

} // namespace detail
} // namespace orv

#endif
