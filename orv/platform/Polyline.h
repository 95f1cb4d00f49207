#ifndef ORV_PLATFORM_POLYLINE_H
#define ORV_PLATFORM_POLYLINE_H

#include "orv/foundation/TripletBase.h"
#include "orv/platform/PlatformExport.h"

#include <cstddef>
#include <vector>

namespace orv {

// A curve of straight segments through a list of points, parametrised by normalised arc length:
// parameter 0 at the first point, 1 at the last, and in between the length of curve walked so far
// divided by the whole length. Everything is computed in double precision: segment lengths with
// TripletBase::length(), summed from the first point on.
//
// A polyline of one point, or whose points all coincide (length 0), evaluates and projects to its
// first point with parameter 0. An empty polyline gives (0, 0, 0) and parameter 0. Repeated
// consecutive points (segments of length 0) are allowed and never chosen as the segment of a
// parameter.
class ORV_PLATFORM_API Polyline {
public:
    Polyline();
    explicit Polyline(const std::vector<TripletBase<double>>& points);

    const std::vector<TripletBase<double>>& getPoints() const { return m_points; }
    std::size_t size() const { return m_points.size(); }

    // The sum of the segment lengths.
    double length() const;

    // The point at normalised arc-length parameter t. t <= 0 gives the first point and t >= 1 the
    // last, exactly; otherwise the point at arc length t * length(), interpolated linearly on the
    // segment holding it. A NaN t gives the last point (callers refuse NaN before asking).
    TripletBase<double> evaluate(double t) const;

    // The nearest point of the polyline to the given point, and its normalised arc-length
    // parameter in `parameter`. Where several points are equally near, the one with the smallest
    // parameter wins. A point with a NaN coordinate gives NaN components and a NaN parameter.
    TripletBase<double> project(const TripletBase<double>& point, double& parameter) const;

private:
    std::vector<TripletBase<double>> m_points;
    // Arc length from the first point to each point: m_arcLength[0] is 0, the last is length().
    std::vector<double> m_arcLength;
};

} // namespace orv

#endif
