#ifndef ORV_AXIS_ROTATIONAXIS_H
#define ORV_AXIS_ROTATIONAXIS_H

#include "orv/foundation/ART.h"
#include "orv/foundation/DART.h"
#include "orv/foundation/Doublet.h"
#include "orv/foundation/Export.h"
#include "orv/foundation/TripletBase.h"
#include "orv/platform/ORVMatrix4.h"

#include <vector>

namespace orv {

namespace detail {
struct AxisAccess;
}

// The rotation axis of a turbomachine: a point on the axis, the unit axis direction, the period
// angle of one passage (degrees) and the up vector from which theta is measured. All fields are
// held in double precision whatever precision the caller uses.
//
// A default-constructed axis has every field 0 and is not valid (isValid() is false) until
// setRotationAxis succeeds or a valid axis is assigned to it.
//
// Cylindrical coordinates about the axis (ART records, or triplets x = a, y = r, z = theta):
// - a: signed distance along the axis direction from the axis point, in the length unit of the
//   points;
// - r: distance from the axis line, never negative;
// - theta: degrees about the axis direction, measured from the up vector towards C = D x U
//   (right-handed), in [-180, 180] as atan2 gives it unless a reference or the previous point of
//   a list moves it by whole turns. Operations whose names end in Rad use radians.
// Every operation is const unless it says otherwise; the frame vector C is formed fresh on every
// call. Failures (all data::invalid, error type 4, message passed as a system message):
// - towards ART with a zero axis direction: ("MachineData", "convertART" or "convertAR")
//   "MachineData object is not initialised.";
// - towards XYZ with a zero axis direction or a period angle of exactly 0 (possible after
//   setAngle): ("RotationAxis", "getRotationMatrix") "Invalid rotation parameters.\n".
// The checks run before any computation; a refused call writes no output.
class ORV_API RotationAxis {
public:
    // Every field 0: not valid, angle 0.
    RotationAxis();

    // All fields 0, then setRotationAxis(axisPoint, axisDir, angle, upVector); its exception leaves
    // the constructor.
    RotationAxis(const TripletBase<double>& axisPoint, const TripletBase<double>& axisDir,
                 double angle, const TripletBase<double>& upVector);
    RotationAxis(const TripletBase<float>& axisPoint, const TripletBase<float>& axisDir,
                 double angle, const TripletBase<float>& upVector);

    RotationAxis(const RotationAxis& other);
    RotationAxis& operator=(const RotationAxis& other);

    // Validates and stores the axis. Refuses, with data::invalid ("RotationAxis", "set"), in this
    // order and before anything is stored:
    //   a direction whose three components are exactly 0: "Axis Direction is zero length.";
    //   angle <= 0 (degrees):                             "Rotation Angle must be greater than
    //   zero."; angle > 360 (360 itself is accepted):             "Rotation Angle must be less than
    //   360.".
    // A NaN angle passes both tests and is stored. The direction is normalised (a finite one whose
    // squared length overflows is first divided by its largest component, so that it too ends as a
    // unit vector; one whose squared length underflows to 0 is stored as given). A zero up vector
    // defaults to (0, 1, 0), or to (1, 0, 0) when the normalised direction lies along y. The up
    // vector is then made perpendicular to the direction and normalised; one parallel to the
    // direction ends as (0, 0, 0). A finite up vector whose squared length overflows is scaled
    // down in the same way first, and its perpendicular part is scaled exactly by a power of two
    // before it is normalised, so that a part too small to normalise also ends as a unit vector
    // (up (3e-8, 4e-8, 1e155) about z gives (0.6, 0.8, 0), as (3e-8, 4e-8, 1) does).
    void setRotationAxis(const TripletBase<double>& axisPoint, const TripletBase<double>& axisDir,
                         double angle, const TripletBase<double>& upVector);
    // Widens the three triplets exactly to double and runs the double form.
    void setRotationAxis(const TripletBase<float>& axisPoint, const TripletBase<float>& axisDir,
                         double angle, const TripletBase<float>& upVector);

    // True when any component of the axis direction differs from 0 (NaN counts as different).
    bool isValid() const;

    // The period angle in degrees.
    double getAngle() const;
    // Stores the period angle with no test of any kind (0, negative and > 360 included).
    void setAngle(double angle);

    // The stored fields rounded to single precision (the direction and up vector as normalised).
    TripletBase<float> getAxisPoint() const;
    TripletBase<float> getAxisDir() const;
    TripletBase<float> getUpVector() const;

    // ---- Single points ----------------------------------------------------------------------
    //
    // convertART: a, r and theta (degrees) of the point. Double form: every step in double
    // precision. Single-precision form: the axis point, direction and up vector are rounded to
    // float; the radial vector, r, a and the dot products are float (sqrtf); C = D x U is formed in
    // double, rounded to float and normalised in float; atan2 and the conversion to degrees run in
    // double on the widened float dot products, and theta is rounded to float. A point whose
    // radial vector R comes out exactly (0, 0, 0) gives r = 0 and theta atan2(C . R, U . R) of two
    // signed zeros: 0 or -0, or +-180 when U . R is -0 (for example when every component of the up
    // vector is negative). A point computed on a skew axis usually leaves an R of rounding size:
    // r is then tiny (0 where its square underflows) and theta is the angle of that rounding. An
    // undefined radial vector gives r = 3.4028234663852886e38.
    ART convertART(const TripletBase<float>& point) const;
    DART convertART(const TripletBase<double>& point) const;

    // convertART with theta moved by whole turns to within half a turn of the reference (degrees,
    // any value): with d = theta - reference in double, |d| >= 180 subtracts 360 n, n = d / 360
    // rounded to the nearest integer with halves away from zero, in double (then rounded to float
    // for ART). A difference of exactly +180 becomes -180 and -180 becomes +180. A NaN or infinite
    // difference leaves theta as convertART gives it; a turn count beyond the 32-bit range is
    // formed in double with the same rounding (the result then carries the rounding of numbers
    // that large).
    ART convertARTSetHemisphere(const TripletBase<float>& point, double reference) const;
    DART convertARTSetHemisphere(const TripletBase<double>& point, double reference) const;
    // The same with the reference and the returned theta in radians (x = a, y = r, z = theta);
    // the reference is converted to degrees for the turn count.
    TripletBase<double> convertARTSetHemisphereRad(const TripletBase<double>& point,
                                                   double reference) const;

    // a and r of the point (as convertART) with theta set to the given value, stored unchanged
    // (rounded to float for ART); no theta is computed. Refuses with operation label "convertAR".
    ART convertAR(const TripletBase<float>& point, double theta) const;
    DART convertAR(const TripletBase<double>& point, double theta) const;

    // convertART of the point, plus the unit axial direction, the unit radial direction at the
    // point and the theta direction (axial x radial, the direction in which theta grows). For a
    // point whose radial vector comes out exactly zero the radial and theta directions are
    // (0, 0, 0); a point computed on a skew axis usually gets unit directions from rounding. The
    // outputs are written in the order coords, axial, radial, thetaDir, after every value has been
    // computed, so the point may be one of the direction outputs. Nothing is written when the call
    // is refused.
    void convertARTWithDirections(const TripletBase<float>& point, ART& coords,
                                  TripletBase<float>& axial, TripletBase<float>& radial,
                                  TripletBase<float>& thetaDir) const;
    void convertARTWithDirections(const TripletBase<double>& point, DART& coords,
                                  TripletBase<double>& axial, TripletBase<double>& radial,
                                  TripletBase<double>& thetaDir) const;

    // The point at (a, r, theta in degrees): (P + a D) + r w, where w is the up vector turned by
    // theta about the axis with the axis-angle rotation matrix. Single-precision form: theta is
    // turned into radians in double and rounded to float; the matrix (cosf, sinf), w and the sums
    // are float with P, D and U rounded to float; a D and r w are formed in double and rounded to
    // float. For a set axis with a non-zero up vector, convertXYZ(convertART(X)) gives X back to
    // rounding. A zero up vector maps every record onto the axis line.
    TripletBase<float> convertXYZ(const ART& coords) const;
    TripletBase<double> convertXYZ(const DART& coords) const;

    // ---- Lists ------------------------------------------------------------------------------
    //
    // Element i of the output is the single-point conversion of input element i, with the same
    // precision and bits. On return every output list has the input's length; what it held before
    // is gone. The refusals are those of the single-point operations; they depend on the axis only,
    // so a list fails at its first element or not at all. An empty input converts nothing, empties
    // the outputs and succeeds even on an unset axis.
    //
    // Theta continuity ("continuous" below): the first theta is as convertART gives it (or brought
    // within half a turn of the reference, as convertARTSetHemisphere does); every later theta is
    // brought within half a turn of the previous output theta by the same rule, so that a curve
    // crossing the +-180 cut gets 170, 190, 210 rather than 170, -170, -150. A NaN theta is left
    // as it is and the next point continues from it.
    //
    // Filling, which decides what an output holds after a refusal:
    //   in place  the output is resized to the input's length first (elements kept up to that
    //             length, new ones zero) and each element written after its conversion: after a
    //             refusal it has the input's length and holds no converted element;
    //   aside     a new list is filled and swapped in at the end: after a refusal the output is
    //             unchanged.
    // Every form reads input element i completely before writing output element i, so a list of
    // the same type may be passed as both input and output (and the input of
    // convertARTWithDirections may be one of its direction lists).

    // Records back to points, no continuity, in place.
    void convertXYZ(const std::vector<ART>& in, std::vector<TripletBase<float>>& out) const;
    void convertXYZ(const std::vector<DART>& in, std::vector<TripletBase<double>>& out) const;
    // Triplets (a, r, theta in radians) back to points: theta in degrees is z * 180 / pi (float
    // form: z * 180 in float, divided by pi in double and rounded to float), then convertXYZ. No
    // continuity, in place.
    void convertXYZThetaRad(const std::vector<TripletBase<float>>& in,
                            std::vector<TripletBase<float>>& out) const;
    void convertXYZThetaRad(const std::vector<TripletBase<double>>& in,
                            std::vector<TripletBase<double>>& out) const;

    // Points to records, continuous, in place.
    void convertART(const std::vector<TripletBase<float>>& in, std::vector<ART>& out) const;
    void convertART(const std::vector<TripletBase<double>>& in, std::vector<DART>& out) const;
    // Points to triplets (a, r, theta in degrees), continuous, aside.
    void convertART(const std::vector<TripletBase<float>>& in,
                    std::vector<TripletBase<float>>& out) const;
    void convertART(const std::vector<TripletBase<double>>& in,
                    std::vector<TripletBase<double>>& out) const;

    // Points to records, the first theta within half a turn of the reference (degrees), then
    // continuous, aside.
    void convertARTSetHemisphere(const std::vector<TripletBase<float>>& in, std::vector<ART>& out,
                                 double reference) const;
    void convertARTSetHemisphere(const std::vector<TripletBase<double>>& in, std::vector<DART>& out,
                                 double reference) const;
    // The same to triplets (a, r, theta in degrees): the output is resized first, the records are
    // built aside and then copied into it (after a refusal: resized, no converted element).
    void convertARTSetHemisphere(const std::vector<TripletBase<float>>& in,
                                 std::vector<TripletBase<float>>& out, double reference) const;
    void convertARTSetHemisphere(const std::vector<TripletBase<double>>& in,
                                 std::vector<TripletBase<double>>& out, double reference) const;
    // The float triplet form with the reference and the output thetas in radians: the reference
    // times 180 / pi (double) is used as the degree reference, and each theta is stored as
    // theta * pi / 180 formed in double and rounded to float.
    void convertARTSetHemisphereRad(const std::vector<TripletBase<float>>& in,
                                    std::vector<TripletBase<float>>& out, double reference) const;

    // Points to records with theta set to the given value (stored unchanged, rounded to float for
    // ART); no continuity, aside.
    void convertAR(const std::vector<TripletBase<float>>& in, std::vector<ART>& out,
                   double theta) const;
    void convertAR(const std::vector<TripletBase<double>>& in, std::vector<DART>& out,
                   double theta) const;
    // Points to (a, r) doublets; in place (new elements before the conversion are zero).
    void convertAR(const std::vector<TripletBase<float>>& in, std::vector<Doublet>& out) const;

    // Records and the three unit directions of every point (see the single-point form); no
    // continuity; all four lists are resized first, then filled in place.
    void convertARTWithDirections(const std::vector<TripletBase<float>>& in, std::vector<ART>& art,
                                  std::vector<TripletBase<float>>& axialDirs,
                                  std::vector<TripletBase<float>>& radialDirs,
                                  std::vector<TripletBase<float>>& thetaDirs) const;
    void convertARTWithDirections(const std::vector<TripletBase<double>>& in,
                                  std::vector<DART>& art,
                                  std::vector<TripletBase<double>>& axialDirs,
                                  std::vector<TripletBase<double>>& radialDirs,
                                  std::vector<TripletBase<double>>& thetaDirs) const;

    // ---- Rotations about the axis -----------------------------------------------------------
    //
    // Angles in degrees, positive in the right-handed sense about the axis direction; a number of
    // periods may be fractional or negative and stands for that number times the period angle
    // (the product formed first, in double). Points are rotated through their cylindrical
    // coordinates: convertART, theta plus the angle, convertXYZ (single-point or list forms as
    // each operation says), and written back only after both conversions have succeeded, so a
    // refused call leaves the points unchanged. The refusals are those of the conversions: with
    // a zero axis direction ("MachineData", "convertART"; projectToTheta: "convertAR"), with a
    // period angle of 0 ("RotationAxis", "getRotationMatrix"). An empty list is left empty and
    // succeeds even on an unset axis.

    // Writes into the matrix the rotation by angle (degrees) about the axis line: x maps to
    // R (x - p) + p for column vectors, with p the axis point rounded to float, R the axis-angle
    // matrix of the direction rounded to float and normalised in float, the angle turned into
    // radians in double and rounded to float, cosf and sinf. Built as T(p) (R4 T(-p)) with the
    // single-precision matrix product. Refuses a zero direction or a period angle of exactly 0
    // (even though the angle is given) with ("RotationAxis", "getRotationMatrix")
    // "Invalid rotation parameters.\n"; the matrix is then not touched.
    void getRotationMatrix(ORVMatrix4& matrix, double angle) const;
    // The same for one period forwards (true: the period angle) or backwards (false: minus it).
    void getRotationMatrix(ORVMatrix4& matrix, bool forward) const;

    // One point through the single-point conversions; theta + angle in double.
    void rotateByAngle(TripletBase<double>& point, double angle) const;
    // Each point in index order through the single-point conversions.
    void rotateByAngle(std::vector<TripletBase<double>>& points, double angle) const;
    // The whole list through the list conversions (theta continuous, so whole turns may be added,
    // which do not move the points beyond rounding); theta + angle in double, rounded to float.
    void rotateByAngle(std::vector<TripletBase<float>>& points, double angle) const;

    // One point by periods through the single-point conversions (float: theta widened, the sum in
    // double, rounded to float).
    void rotateByPeriod(TripletBase<float>& point, double periods) const;
    void rotateByPeriod(TripletBase<double>& point, double periods) const;
    // The whole list by periods through the list conversions.
    void rotateByPeriod(std::vector<TripletBase<float>>& points, double periods) const;
    void rotateByPeriod(std::vector<TripletBase<double>>& points, double periods) const;

    // Moves each point to the given theta (degrees), keeping its axial and radial coordinates:
    // convertAR(point, theta), then convertXYZ, point by point in index order. Theta 0 places the
    // points in the half-plane of the up vector. (Not const, though it leaves the axis as it is.)
    void projectToTheta(std::vector<TripletBase<float>>& points, double theta);
    void projectToTheta(std::vector<TripletBase<double>>& points, double theta);

private:
    // The library's own list code outside the class reads the fields through this (internal).
    friend struct detail::AxisAccess;

    TripletBase<double> m_axisPoint;
    TripletBase<double> m_axisDir;
    double m_angle;
    TripletBase<double> m_upVector;
};

} // namespace orv

#endif
