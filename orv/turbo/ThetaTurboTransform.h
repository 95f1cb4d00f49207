#ifndef ORV_TURBO_THETATURBOTRANSFORM_H
#define ORV_TURBO_THETATURBOTRANSFORM_H

#include "orv/axis/RotationAxis.h"
#include "orv/foundation/Export.h"
#include "orv/foundation/TripletBase.h"
#include "orv/platform/TurboTransform.h"

#include <vector>

namespace orv {

// Converts single points between XYZ (Cartesian), ART (axial, radial, theta about the rotation
// axis), MTS (meridional, theta, span) and NMTS (normalised MTS) for a turbomachinery passage. The
// rotation axis does the XYZ/ART geometry; a TurboTransform lent to each call (never stored) maps
// (axial, radial) to (meridional, span): space 0 for MTS, space 3 for NMTS.
//
// Units. The break angle is in degrees. Every theta in an argument or result of this class is in
// radians. Theta always comes from the rotation axis or from the caller: whatever the
// TurboTransform writes into its theta component is never read.
//
// Break-angle wrap. Every conversion from an XYZ point except convertXYZtoARTSetHemisphere takes
// the axis's theta t (degrees, single precision) and, with beta the break angle: if beta > t, adds
// 360 (in float); then, if t > beta + 360 (formed in double), subtracts 360 (in float). Both tests
// are strict and at most one addition and one subtraction are made, so t lies in [beta,
// beta + 360] for beta in [-540, 180] and stays outside that range for other break angles.
// Theta out: the wrapped degrees divided by 180 in float, widened, times pi = 3.141592653589793.
// Theta in: t * 180 / pi in double, rounded to float where it enters an ART record.
//
// Precision. XYZ points are single precision, the axis conversions run in single precision and
// double results are the float values widened; double arguments are rounded to float where they
// enter an ART record or a TurboTransform triplet. The double form of projectPointToSpan runs in
// double precision (axis conversions, wrap, forward TurboTransform conversion, unit changes)
// except, for a ProjectionType other than wallEndsClamped and wallEndsExtended, its back
// conversion: the target (m, theta, span) is rounded to float, TurboTransform::convertSpaceTNsToART
// runs in single precision, and the axial and radial it gives are widened to double for the final
// conversion to XYZ, which takes theta as the double value.
//
// Failures. The class makes no checks of its own. A conversion from XYZ on an axis whose direction
// is zero throws data::invalid ("MachineData", "convertART", "MachineData object is not
// initialised."); a conversion to XYZ on an axis whose direction is zero or period angle is 0
// throws data::invalid ("RotationAxis", "getRotationMatrix", "Invalid rotation parameters.\n");
// exceptions of the TurboTransform pass through unchanged. No output is written before the last
// call that can fail has returned: after an exception the caller's variables are unchanged.
class ORV_API ThetaTurboTransform {
public:
    // Back conversion used by the double form of projectPointToSpan: 0 and 1 call
    // TurboTransform::convertSpaceTNsToARTspanEQ0or1 in double precision with the flag true
    // (wallEndsClamped) or false (wallEndsExtended); any other value (generalSingle, or any int)
    // calls the single-precision TurboTransform::convertSpaceTNsToART.
    enum ProjectionType : int { wallEndsClamped = 0, wallEndsExtended = 1, generalSingle = 2 };

    // A default (unset) rotation axis and a break angle of 0: every conversion is refused until an
    // axis is set.
    ThetaTurboTransform();
    // Stores both unchanged, with no check. The break angle is in degrees.
    ThetaTurboTransform(double breakAngle, const RotationAxis& axis);
    ThetaTurboTransform(const ThetaTurboTransform& other);
    ThetaTurboTransform& operator=(const ThetaTurboTransform& other);
    ~ThetaTurboTransform();

    // The break angle in degrees; stored unchanged, any value.
    double getBreakAngle() const;
    void setBreakAngle(double breakAngle);

    // A copy of the axis; setRotationAxis replaces the whole axis and leaves the break angle.
    RotationAxis getRotationAxis() const;
    void setRotationAxis(const RotationAxis& axis);

    // Axial and radial of the point and its theta in radians, break-angle wrapped.
    void convertXYZtoART(const TripletBase<float>& xyz, double& a, double& r, double& t) const;

    // Axial, radial and theta in radians within half a turn of the reference (radians): the
    // reference is turned into degrees (reference * 180 / pi, double) for
    // RotationAxis::convertARTSetHemisphere. The break angle plays no part.
    void convertXYZtoARTSetHemisphere(const TripletBase<float>& xyz, double& a, double& r,
                                      double& t, double reference) const;

    // The point at axial a, radial r and theta t (radians). The break angle plays no part.
    void convertARTtoXYZ(double a, double r, double t, TripletBase<float>& xyz) const;

    // Meridional m and span s (space 0) with the wrapped theta t in radians.
    void convertXYZtoMTS(const TripletBase<float>& xyz, double& m, double& t, double& s,
                         const TurboTransform& tt) const;
    // The point at (m, t, s) of space 0, t in radians as given (not wrapped).
    void convertMTStoXYZ(double m, double t, double s, TripletBase<float>& xyz,
                         const TurboTransform& tt) const;

    // The same in space 3 (normalised meridional coordinate).
    void convertXYZtoNMTS(const TripletBase<float>& xyz, double& m, double& t, double& s,
                          const TurboTransform& tt) const;
    // (m, t, s) as x, y, z.
    TripletBase<double> convertXYZtoNMTS(const TripletBase<float>& xyz,
                                         const TurboTransform& tt) const;
    void convertNMTStoXYZ(double m, double t, double s, TripletBase<float>& xyz,
                          const TurboTransform& tt) const;
    // nmts = (m, t, s); the point, or a refusal.
    TripletBase<float> convertNMTStoXYZ(const TripletBase<double>& nmts,
                                        const TurboTransform& tt) const;

    // Deltas from `from` to `to` in space 3: dm = m2 - m1 and ds = s2 - s1 (double, from the float
    // coordinates); dt = (theta2 - theta1) / alpha with alpha the axis's period angle in degrees
    // and the thetas in radians: theta1 is the wrapped theta of `from`, theta2 the theta of `to`
    // taken within half a turn of theta1 (not wrapped). dt is radians per degree of period angle,
    // which applyNormalizedDeltas multiplies by the same alpha; a period angle of 0 gives dt = 0.
    // The outputs are written last (dm, ds, dt) and are unchanged after a refusal.
    void calcNormalizedDeltas(const TripletBase<float>& from, const TripletBase<float>& to,
                              double& dm, double& dt, double& ds, const TurboTransform& tt) const;

    // The point moved by the deltas: convertNMTStoXYZ of (m + dm, theta + dt * alpha, s + ds),
    // where (m, theta, s) are the NMTS coordinates of `point` (theta wrapped, radians). `result` is
    // written only by that last conversion and is unchanged after a refusal.
    void applyNormalizedDeltas(const TripletBase<float>& point, TripletBase<float>& result,
                               double dm, double dt, double ds, const TurboTransform& tt) const;

    // The point at the same meridional coordinate (in the given space) and wrapped theta, at the
    // given span; single precision, general back conversion.
    TripletBase<float> projectPointToSpan(const TripletBase<float>& point, double span,
                                          TurboTransform::space space,
                                          const TurboTransform& tt) const;
    // The same with double points and the back conversion chosen by type (see ProjectionType and
    // Precision above: a single-precision back conversion for types other than 0 and 1).
    TripletBase<double> projectPointToSpan(const TripletBase<double>& point, ProjectionType type,
                                           double span, TurboTransform::space space,
                                           const TurboTransform& tt) const;

    // ---- Any meridional space of the TurboTransform --------------------------------------
    //
    // (meridional, theta, span) of the point in the space sp: the steps of convertXYZtoMTS with
    // that space (space 0 gives convertXYZtoMTS, space 3 convertXYZtoNMTS, bit for bit; the
    // passage model's spaceMPrime gives m'), theta wrapped against the break angle, in radians.
    TripletBase<double> convertXYZtoSpace(TurboTransform::space sp, const TripletBase<float>& xyz,
                                          const TurboTransform& tt) const;
    // The point at (m, t, s) of the space sp, t in radians: the steps of convertMTStoXYZ.
    TripletBase<float> convertSpaceToXYZ(TurboTransform::space sp, const TripletBase<double>& tns,
                                         const TurboTransform& tt) const;

    // ---- Lists ------------------------------------------------------------------------------
    //
    // Element i of the output is the single-point conversion of input element i, bit for bit
    // (no continuity: every theta is wrapped against the break angle on its own). The refusals
    // are those of the single-point forms, in the same order for the first element: the axis's
    // (towards the meridional spaces checked before the first element, towards points after the
    // first element's TurboTransform call) and the TurboTransform's, at the element it refuses.
    // Filled aside: a new list of the input's length is built and swapped in at the end, so after
    // any refusal the output is unchanged. An empty input converts nothing and empties the output,
    // even on an unset axis. A TurboTransform derived by a host is called point by point through
    // its virtual conversions, as by the single-point forms. The platform's own passage model
    // (an object whose dynamic type is TurboTransform), whose meridional and span values depend on
    // (axial, radial) alone, is not called again towards the spaces for a point whose (axial,
    // radial) bits equal those of one of the last three points it converted in the list: that
    // point's values are used, the same bits. Mesh lines along theta repeat these pairs.
    void convertXYZtoSpace(TurboTransform::space sp, const std::vector<TripletBase<float>>& xyz,
                           std::vector<TripletBase<double>>& tns, const TurboTransform& tt) const;
    void convertSpaceToXYZ(TurboTransform::space sp, const std::vector<TripletBase<double>>& tns,
                           std::vector<TripletBase<float>>& xyz, const TurboTransform& tt) const;
    // The same for MTS (space 0) and NMTS (space 3), as triplets (m, t, s).
    void convertXYZtoMTS(const std::vector<TripletBase<float>>& xyz,
                         std::vector<TripletBase<double>>& mts, const TurboTransform& tt) const;
    void convertXYZtoNMTS(const std::vector<TripletBase<float>>& xyz,
                          std::vector<TripletBase<double>>& nmts, const TurboTransform& tt) const;
    void convertMTStoXYZ(const std::vector<TripletBase<double>>& mts,
                         std::vector<TripletBase<float>>& xyz, const TurboTransform& tt) const;
    void convertNMTStoXYZ(const std::vector<TripletBase<double>>& nmts,
                          std::vector<TripletBase<float>>& xyz, const TurboTransform& tt) const;

private:
    RotationAxis m_rotationAxis;
    double m_breakAngle;
};

} // namespace orv

#endif
