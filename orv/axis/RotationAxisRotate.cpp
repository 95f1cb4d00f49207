// Rotations of points about the axis, theta projection and rotation matrices.

#include "orv/axis/RotationAxis.h"

#include "orv/axis/detail/AxisAccess.h"
#include "orv/axis/detail/BlockKernel.h"
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

namespace {

using detail::AxisAccess;

// The rotation worker in two builds where the configuration allows (as the list conversions):
// for the baseline instruction set and for AVX2, chosen by the processor.
template <class T>
void rotateBaseline(const detail::ArtFrame<T>& af, const detail::XyzFrame<T>& xf,
                    TripletBase<T>* points, std::size_t n, double addend, bool continuous) {
    detail::rotatePoints(af, xf, points, n, addend, continuous);
}
#if ORV_HAVE_AVX2_TARGET
template <class T>
ORV_TARGET_AVX2 void rotateAvx2(const detail::ArtFrame<T>& af, const detail::XyzFrame<T>& xf,
                                TripletBase<T>* points, std::size_t n, double addend,
                                bool continuous) {
    detail::rotatePoints(af, xf, points, n, addend, continuous);
}
#endif

// The list rotations: with continuity, the list convertART, theta + addend, and the list
// convertXYZ back into the caller's list; without, each point as the single-point rotation. Both
// axis checks come before anything is written (those of convertART, then of convertXYZ), and an
// empty list checks nothing.
template <class T>
void rotateList(const RotationAxis& axis, std::vector<TripletBase<T>>& points, double addend,
                bool continuous) {
    if (points.empty()) {
        return;
    }
    const TripletBase<double>& p = AxisAccess::point(axis);
    const TripletBase<double>& d = AxisAccess::dir(axis);
    const TripletBase<double>& u = AxisAccess::up(axis);
    detail::checkTowardsART(d, "convertART");
    detail::checkTowardsXYZ(d, AxisAccess::angle(axis));
    const detail::ArtFrame<T> af(p, d, u);
    const detail::XyzFrame<T> xf(p, d, u);
#if ORV_HAVE_AVX2_TARGET
    if (detail::processorHasAvx2()) {
        rotateAvx2(af, xf, points.data(), points.size(), addend, continuous);
        return;
    }
#endif
    rotateBaseline(af, xf, points.data(), points.size(), addend, continuous);
}

// projectToTheta of a list: every point takes the same theta, so the rotation rows are formed
// once (the bits of each point's own); the axis checks of convertAR, then of convertXYZ.
template <class T>
void projectList(const RotationAxis& axis, std::vector<TripletBase<T>>& points, T theta) {
    if (points.empty()) {
        return;
    }
    const TripletBase<double>& p = AxisAccess::point(axis);
    const TripletBase<double>& d = AxisAccess::dir(axis);
    const TripletBase<double>& u = AxisAccess::up(axis);
    detail::checkTowardsART(d, "convertAR");
    detail::checkTowardsXYZ(d, AxisAccess::angle(axis));
    const detail::ArtFrame<T> af(p, d, u);
    const detail::XyzFrame<T> xf(p, d, u);
    const detail::AxisAngleRows<T> rows =
        detail::unitAxisAngleRows(xf.unitDir, detail::radiansOf(theta));
    for (std::size_t i = 0; i < points.size(); ++i) {
        const detail::RadialPart<T> part = detail::radialPart(af, points[i]);
        points[i] = detail::pointFromRows(xf, part.a, part.r, rows);
    }
}

} // namespace

void RotationAxis::rotateByAngle(std::vector<TripletBase<double>>& points, double angle) const {
    rotateList(*this, points, angle, false);
}

void RotationAxis::rotateByAngle(std::vector<TripletBase<float>>& points, double angle) const {
    rotateList(*this, points, angle, true);
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
    rotateList(*this, points, periods * m_angle, true);
}

void RotationAxis::rotateByPeriod(std::vector<TripletBase<double>>& points, double periods) const {
    rotateList(*this, points, periods * m_angle, true);
}

void RotationAxis::projectToTheta(std::vector<TripletBase<float>>& points, double theta) {
    projectList(*this, points, static_cast<float>(theta));
}

void RotationAxis::projectToTheta(std::vector<TripletBase<double>>& points, double theta) {
    projectList(*this, points, theta);
}

} // namespace orv
