#include "orv/axis/RotationAxis.h"

#include "orv/platform/Error.h"
#include "orv/platform/UserMsg.h"

#include <cmath>

namespace orv {

namespace {

bool isZero(const TripletBase<double>& v) {
    return v.x == 0.0 && v.y == 0.0 && v.z == 0.0;
}

// A finite vector whose squared length overflows to infinity (components beyond about 1e154) is
// divided by its largest component magnitude first, so that normalising it gives a unit vector
// instead of (0, 0, 0). Any other vector, including one that carries the undefined marker (whose
// length is the finite undefined value), is left as it is.
void scaleIfLengthOverflows(TripletBase<double>& v) {
    if (std::isinf(v.length()) && std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z)) {
        v /= std::fmax(std::fabs(v.x), std::fmax(std::fabs(v.y), std::fabs(v.z)));
    }
}

[[noreturn]] void refuseSet(const char* message) {
    throwError<data::invalid>("RotationAxis", "set", UserMsg(message, nullptr));
}

} // namespace

RotationAxis::RotationAxis() : m_axisPoint(), m_axisDir(), m_angle(0.0), m_upVector() {}

RotationAxis::RotationAxis(const TripletBase<double>& axisPoint, const TripletBase<double>& axisDir,
                           double angle, const TripletBase<double>& upVector)
    : RotationAxis() {
    setRotationAxis(axisPoint, axisDir, angle, upVector);
}

RotationAxis::RotationAxis(const TripletBase<float>& axisPoint, const TripletBase<float>& axisDir,
                           double angle, const TripletBase<float>& upVector)
    : RotationAxis() {
    setRotationAxis(axisPoint, axisDir, angle, upVector);
}

RotationAxis::RotationAxis(const RotationAxis& other) = default;
RotationAxis& RotationAxis::operator=(const RotationAxis& other) = default;

void RotationAxis::setRotationAxis(const TripletBase<double>& axisPoint,
                                   const TripletBase<double>& axisDir, double angle,
                                   const TripletBase<double>& upVector) {
    // Every test runs before any field is written, so a refusal leaves the axis as it was. The
    // angle tests are written so that NaN passes both (and is stored).
    if (isZero(axisDir)) {
        refuseSet("Axis Direction is zero length.");
    }
    if (angle <= 0.0) {
        refuseSet("Rotation Angle must be greater than zero.");
    }
    if (angle > 360.0) {
        refuseSet("Rotation Angle must be less than 360.");
    }

    m_axisPoint = axisPoint;
    m_axisDir = axisDir;
    scaleIfLengthOverflows(m_axisDir);
    m_axisDir.normalize();
    m_angle = angle;
    m_upVector = upVector;
    if (isZero(upVector)) {
        if (std::fabs(m_axisDir.y) >= 1.0) {
            m_upVector = TripletBase<double>(1.0, 0.0, 0.0);
        } else {
            m_upVector = TripletBase<double>(0.0, 1.0, 0.0);
        }
    }
    scaleIfLengthOverflows(m_upVector);
    m_upVector = m_upVector.perpendicularComponent(m_axisDir);
    m_upVector.normalize();
}

void RotationAxis::setRotationAxis(const TripletBase<float>& axisPoint,
                                   const TripletBase<float>& axisDir, double angle,
                                   const TripletBase<float>& upVector) {
    setRotationAxis(TripletBase<double>(axisPoint), TripletBase<double>(axisDir), angle,
                    TripletBase<double>(upVector));
}

bool RotationAxis::isValid() const {
    return !isZero(m_axisDir);
}

double RotationAxis::getAngle() const {
    return m_angle;
}

void RotationAxis::setAngle(double angle) {
    m_angle = angle;
}

TripletBase<float> RotationAxis::getAxisPoint() const {
    return TripletBase<float>(m_axisPoint);
}

TripletBase<float> RotationAxis::getAxisDir() const {
    return TripletBase<float>(m_axisDir);
}

TripletBase<float> RotationAxis::getUpVector() const {
    return TripletBase<float>(m_upVector);
}

} // namespace orv
