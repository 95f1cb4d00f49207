#ifndef ORV_AXIS_ROTATIONAXIS_H
#define ORV_AXIS_ROTATIONAXIS_H

#include "orv/foundation/Export.h"
#include "orv/foundation/TripletBase.h"

namespace orv {

// The rotation axis of a turbomachine: a point on the axis, the unit axis direction, the period
// angle of one passage (degrees) and the up vector from which theta is measured. All fields are
// held in double precision whatever precision the caller uses.
//
// A default-constructed axis has every field 0 and is not valid (isValid() is false) until
// setRotationAxis succeeds or a valid axis is assigned to it.
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
    // A NaN angle passes both tests and is stored. The direction is normalised. A zero up vector
    // defaults to (0, 1, 0), or to (1, 0, 0) when the normalised direction lies along y. The up
    // vector is then made perpendicular to the direction and normalised; one parallel to the
    // direction ends as (0, 0, 0).
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

private:
    TripletBase<double> m_axisPoint;
    TripletBase<double> m_axisDir;
    double m_angle;
    TripletBase<double> m_upVector;
};

} // namespace orv

#endif
