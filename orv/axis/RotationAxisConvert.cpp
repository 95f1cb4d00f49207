// Single-point conversions between Cartesian points and axial/radial/theta coordinates.

#include "orv/axis/RotationAxis.h"

#include "orv/axis/detail/Frame.h"
#include "orv/axis/detail/Hemisphere.h"
#include "orv/axis/detail/PointSteps.h"
#include "orv/axis/detail/Refusals.h"

#include <cmath>

namespace orv {

namespace {

using detail::ArtFrame;
using detail::checkTowardsART;
using detail::checkTowardsXYZ;
using detail::kPi;
using detail::XyzFrame;

// Directions of convertARTWithDirections at precision T; the point is read before anything is
// written.
template <class T>
void directionsAt(const TripletBase<T>& point, const TripletBase<T>& axisPoint,
                  const TripletBase<T>& dir, TripletBase<T>& axial, TripletBase<T>& radial,
                  TripletBase<T>& thetaDir) {
    TripletBase<T> ax = dir;
    ax.normalize();
    TripletBase<T> rad = (point - axisPoint).perpendicularComponent(ax);
    rad.normalize();
    const TripletBase<T> th = ax.cross(rad);
    axial = ax;
    radial = rad;
    thetaDir = th;
}

} // namespace

ART RotationAxis::convertART(const TripletBase<float>& point) const {
    checkTowardsART(m_axisDir, "convertART");
    return detail::convertOne(ArtFrame<float>(m_axisPoint, m_axisDir, m_upVector), point);
}

DART RotationAxis::convertART(const TripletBase<double>& point) const {
    checkTowardsART(m_axisDir, "convertART");
    return detail::convertOne(ArtFrame<double>(m_axisPoint, m_axisDir, m_upVector), point);
}

ART RotationAxis::convertARTSetHemisphere(const TripletBase<float>& point, double reference) const {
    ART rec = convertART(point);
    rec.t = static_cast<float>(detail::nearReference(static_cast<double>(rec.t), reference));
    return rec;
}

DART RotationAxis::convertARTSetHemisphere(const TripletBase<double>& point,
                                           double reference) const {
    DART rec = convertART(point);
    rec.t = detail::nearReference(rec.t, reference);
    return rec;
}

TripletBase<double> RotationAxis::convertARTSetHemisphereRad(const TripletBase<double>& point,
                                                             double reference) const {
    const DART rec = convertART(point);
    const double referenceDegrees = reference * 180.0 / kPi;
    // nearReference subtracts 360 n; adding (0 - 360 n) instead gives the same bits (n is never 0
    // when theta moves).
    const double t = detail::nearReference(rec.t, referenceDegrees);
    return TripletBase<double>(rec.a, rec.r, t * kPi / 180.0);
}

ART RotationAxis::convertAR(const TripletBase<float>& point, double theta) const {
    checkTowardsART(m_axisDir, "convertAR");
    const ArtFrame<float> frame(m_axisPoint, m_axisDir, m_upVector);
    const detail::RadialPart<float> part = detail::radialPart(frame, point);
    return ART{part.a, part.r, static_cast<float>(theta)};
}

DART RotationAxis::convertAR(const TripletBase<double>& point, double theta) const {
    checkTowardsART(m_axisDir, "convertAR");
    const ArtFrame<double> frame(m_axisPoint, m_axisDir, m_upVector);
    const detail::RadialPart<double> part = detail::radialPart(frame, point);
    return DART{part.a, part.r, theta};
}

void RotationAxis::convertARTWithDirections(const TripletBase<float>& point, ART& coords,
                                            TripletBase<float>& axial, TripletBase<float>& radial,
                                            TripletBase<float>& thetaDir) const {
    const TripletBase<float> p = point;
    const ART rec = convertART(p);
    coords = rec;
    directionsAt(p, TripletBase<float>(m_axisPoint), TripletBase<float>(m_axisDir), axial, radial,
                 thetaDir);
}

void RotationAxis::convertARTWithDirections(const TripletBase<double>& point, DART& coords,
                                            TripletBase<double>& axial, TripletBase<double>& radial,
                                            TripletBase<double>& thetaDir) const {
    const TripletBase<double> p = point;
    const DART rec = convertART(p);
    coords = rec;
    directionsAt(p, m_axisPoint, m_axisDir, axial, radial, thetaDir);
}

TripletBase<float> RotationAxis::convertXYZ(const ART& coords) const {
    checkTowardsXYZ(m_axisDir, m_angle);
    return detail::pointAt(XyzFrame<float>(m_axisPoint, m_axisDir, m_upVector), coords.a, coords.r,
                           coords.t);
}

TripletBase<double> RotationAxis::convertXYZ(const DART& coords) const {
    checkTowardsXYZ(m_axisDir, m_angle);
    return detail::pointAt(XyzFrame<double>(m_axisPoint, m_axisDir, m_upVector), coords.a, coords.r,
                           coords.t);
}

} // namespace orv
