#include "orv/axis/RotationAxis.h"

#include "orv/platform/Error.h"
#include "orv/platform/UserMsg.h"

#include <cmath>

namespace orv {

namespace {

bool isZero(const TripletBase<double>& v) {
    return v.x == 0.0 && v.y == 0.0 && v.z == 0.0;
}

void divideByLargestComponent(TripletBase<double>& v) {
    v /= std::fmax(std::fabs(v.x), std::fmax(std::fabs(v.y), std::fabs(v.z)));
}

// True for a finite vector whose squared length overflows to infinity (components beyond about
// 1e154). A vector that carries the undefined marker has the finite undefined value as its length
// and does not count.
bool lengthOverflows(const TripletBase<double>& v) {
    return std::isinf(v.length()) && std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// Such a vector is divided by its largest component magnitude first, so that normalising it gives
// a unit vector instead of (0, 0, 0). Any other vector is left as it is.
void scaleIfLengthOverflows(TripletBase<double>& v) {
    if (lengthOverflows(v)) {
        divideByLargestComponent(v);
    }
}

// The unit up vector: the part of `up` perpendicular to the unit direction, normalised. An up
// vector whose squared length overflows is scaled down first, and its perpendicular part, which
// can then be too small to normalise (for (3e-8, 4e-8, 1e155) about a z axis it is (3e-163,
// 4e-163, 0), whose squared length underflows to 0), is scaled up exactly by the power of two that
// brings its largest component magnitude into [1, 2) before it is normalised (the scaling is
// exact, so a part that normalises as it is keeps its bits, barring subnormal components). Every
// other up vector takes the plain path: perpendicular part, then normalise.
TripletBase<double> unitUpVector(TripletBase<double> up, const TripletBase<double>& unitDir) {
    const bool huge = lengthOverflows(up);
    if (huge) {
        divideByLargestComponent(up);
    }
    up = up.perpendicularComponent(unitDir);
    const double largest = std::fmax(std::fabs(up.x), std::fmax(std::fabs(up.y), std::fabs(up.z)));
    // Not for a zero part, nor for a NaN one (from a NaN direction), which have no exponent.
    if (huge && largest > 0.0 && std::isfinite(largest)) {
        // Component by component: 2^-e itself overflows for a subnormal largest component.
        const int e = std::ilogb(largest);
        up = TripletBase<double>(std::ldexp(up.x, -e), std::ldexp(up.y, -e), std::ldexp(up.z, -e));
    }
    up.normalize();
    return up;
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
    const TripletBase<double> givenUp = m_upVector;
    scaleIfLengthOverflows(m_upVector);
    m_upVector = m_upVector.perpendicularComponent(m_axisDir);
    m_upVector.normalize();
    if (lengthOverflows(givenUp)) {
        // The scaled vector's perpendicular part can be too small to normalise: made again with
        // that part rescaled (see unitUpVector).
        m_upVector = unitUpVector(givenUp, m_axisDir);
    }
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
