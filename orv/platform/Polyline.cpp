#include "orv/platform/Polyline.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace orv {

Polyline::Polyline() : m_points(), m_arcLength() {}

Polyline::Polyline(const std::vector<TripletBase<double>>& points)
    : m_points(points), m_arcLength() {
    m_arcLength.reserve(m_points.size());
    double walked = 0.0;
    for (std::size_t i = 0; i < m_points.size(); ++i) {
        if (i > 0) {
            walked = walked + (m_points[i] - m_points[i - 1]).length();
        }
        m_arcLength.push_back(walked);
    }
}

double Polyline::length() const {
    return m_arcLength.empty() ? 0.0 : m_arcLength.back();
}

TripletBase<double> Polyline::evaluate(double t) const {
    if (m_points.empty()) {
        return TripletBase<double>();
    }
    const double total = length();
    if (m_points.size() == 1 || total == 0.0 || t <= 0.0) {
        return m_points.front();
    }
    if (t >= 1.0) {
        return m_points.back();
    }
    const double s = t * total;
    // The first point whose arc length exceeds s ends the segment holding s; that segment has a
    // positive length, since its start lies at or before s.
    const std::size_t end = static_cast<std::size_t>(
        std::upper_bound(m_arcLength.begin(), m_arcLength.end(), s) - m_arcLength.begin());
    if (end >= m_points.size()) {
        return m_points.back();
    }
    const double s0 = m_arcLength[end - 1];
    const double u = (s - s0) / (m_arcLength[end] - s0);
    const TripletBase<double>& a = m_points[end - 1];
    return a + (m_points[end] - a) * u;
}

TripletBase<double> Polyline::project(const TripletBase<double>& point, double& parameter) const {
    if (m_points.empty()) {
        parameter = 0.0;
        return TripletBase<double>();
    }
    if (std::isnan(point.x) || std::isnan(point.y) || std::isnan(point.z)) {
        const double nan = std::numeric_limits<double>::quiet_NaN();
        parameter = nan;
        return TripletBase<double>(nan, nan, nan);
    }
    const double total = length();
    if (m_points.size() == 1 || total == 0.0) {
        parameter = 0.0;
        return m_points.front();
    }
    double bestDistance = std::numeric_limits<double>::infinity();
    TripletBase<double> bestPoint;
    double bestArcLength = 0.0;
    bool found = false;
    for (std::size_t i = 0; i + 1 < m_points.size(); ++i) {
        const TripletBase<double>& a = m_points[i];
        const TripletBase<double>& b = m_points[i + 1];
        const TripletBase<double> d = b - a;
        const double dd = d.dot(d);
        if (dd == 0.0) {
            continue;
        }
        double u = (point - a).dot(d) / dd;
        TripletBase<double> candidate;
        double arcLength;
        if (!(u > 0.0)) {
            candidate = a;
            arcLength = m_arcLength[i];
        } else if (u >= 1.0) {
            candidate = b;
            arcLength = m_arcLength[i + 1];
        } else {
            candidate = a + d * u;
            arcLength = m_arcLength[i] + u * (m_arcLength[i + 1] - m_arcLength[i]);
        }
        const TripletBase<double> gap = point - candidate;
        const double distance = gap.dot(gap);
        if (!found || distance < bestDistance) {
            bestDistance = distance;
            bestPoint = candidate;
            bestArcLength = arcLength;
            found = true;
        }
    }
    parameter = bestArcLength / total;
    return bestPoint;
}

} // namespace orv
