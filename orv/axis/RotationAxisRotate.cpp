// Rotations of points about the axis, theta projection and rotation matrices.

#include "orv/axis/RotationAxis.h"

#include "orv/axis/detail/Frame.h"
#include "orv/axis/detail/PointSteps.h"
#include "orv/axis/detail/Refusals.h"

#include <cstddef>
#include <vector>

namespace orv {

void RotationAxis::getRotationMatrix(ORVMatrix4& matrix, double angle) const {
    detail::checkTowardsXYZ(m_axisDir, m_angle);
    const TripletBase<float> p(static_cast<float>(m_axisPoint.x), static_cast<float>(m_axisPoint.y),
                               static_cast<float>(m_axisPoint.z));
    ORVMatrix4 translation;
    translation.setTranslationMatrix(TripletBase<float>(0.0f - p.x, 0.0f - p.y, 0.0f - p.z));

    const float phi = static_cast<float>(angle * detail::kPi / 180.0);
    const TripletBase<float> dir(static_cast<float>(m_axisDir.x), static_cast<float>(m_axisDir.y),
                                 static_cast<float>(m_axisDir.z));
    const detail::AxisAngleRows<float> rows = detail::axisAngleRows(dir, phi);
    ORVMatrix3base<float> linear;
    for (int row = 0; row < 3; ++row) {
        linear(row, 0) = rows.row[row].x;
        linear(row, 1) = rows.row[row].y;
        linear(row, 2) = rows.row[row].z;
    }
    const ORVMatrix4 rotation(linear);
    const ORVMatrix4 aboutOrigin = rotation * translation;
    translation.setTranslationMatrix(p);
    matrix = translation * aboutOrigin;
}

void RotationAxis::getRotationMatrix(ORVMatrix4& matrix, bool forward) const {
    getRotationMatrix(matrix, forward ? m_angle : -m_angle);
}

void RotationAxis::rotateByAngle(TripletBase<double>& point, double angle) const {
    DART rec = convertART(point);
    rec.t = rec.t + angle;
    point = convertXYZ(rec);
}

void RotationAxis::rotateByAngle(std::vector<TripletBase<double>>& points, double angle) const {
    for (std::size_t i = 0; i < points.size(); ++i) {
        rotateByAngle(points[i], angle);
    }
}

namespace {

// The list path: the whole list to records (theta continuous), theta + addend, back into the
// caller's list (same length, so nothing is written before the first conversion back succeeds).
void rotateList(const RotationAxis& axis, std::vector<TripletBase<float>>& points, double addend) {
    std::vector<ART> records;
    axis.convertART(points, records);
    for (ART& rec : records) {
        rec.t = static_cast<float>(static_cast<double>(rec.t) + addend);
    }
    axis.convertXYZ(records, points);
}

void rotateList(const RotationAxis& axis, std::vector<TripletBase<double>>& points, double addend) {
    std::vector<DART> records;
    axis.convertART(points, records);
    for (DART& rec : records) {
        rec.t = rec.t + addend;
    }
    axis.convertXYZ(records, points);
}

} // namespace

void RotationAxis::rotateByAngle(std::vector<TripletBase<float>>& points, double angle) const {
    rotateList(*this, points, angle);
}

void RotationAxis::rotateByPeriod(TripletBase<float>& point, double periods) const {
    const double addend = periods * m_angle;
    ART rec = convertART(point);
    rec.t = static_cast<float>(static_cast<double>(rec.t) + addend);
    point = convertXYZ(rec);
}

void RotationAxis::rotateByPeriod(TripletBase<double>& point, double periods) const {
    const double addend = periods * m_angle;
    DART rec = convertART(point);
    rec.t = rec.t + addend;
    point = convertXYZ(rec);
}

void RotationAxis::rotateByPeriod(std::vector<TripletBase<float>>& points, double periods) const {
    rotateList(*this, points, periods * m_angle);
}

void RotationAxis::rotateByPeriod(std::vector<TripletBase<double>>& points, double periods) const {
    rotateList(*this, points, periods * m_angle);
}

void RotationAxis::projectToTheta(std::vector<TripletBase<float>>& points, double theta) {
    for (std::size_t i = 0; i < points.size(); ++i) {
        points[i] = convertXYZ(convertAR(points[i], theta));
    }
}

void RotationAxis::projectToTheta(std::vector<TripletBase<double>>& points, double theta) {
    for (std::size_t i = 0; i < points.size(); ++i) {
        points[i] = convertXYZ(convertAR(points[i], theta));
    }
}

} // namespace orv
