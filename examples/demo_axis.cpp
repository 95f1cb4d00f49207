#include "Demos.h"

#include "orv/GeometryTools.h"

#include <iostream>

namespace {

void printAxis(const orv::RotationAxis& axis) {
    std::cout << "  axis point " << orv::TripletBase<double>(axis.getAxisPoint()) << "\n"
              << "  direction  " << orv::TripletBase<double>(axis.getAxisDir()) << "\n"
              << "  period     " << axis.getAngle() << " degrees\n"
              << "  up vector  " << orv::TripletBase<double>(axis.getUpVector()) << "\n";
}

} // namespace

void demoAxis() {
    std::cout << "\n== Rotation axis\n";
    // An axis along z through the origin, 72 degree passages (5 blades), up vector not yet
    // perpendicular: the axis normalises the direction and makes the up vector perpendicular.
    orv::RotationAxis axis(orv::TripletBase<double>(0, 0, 0), orv::TripletBase<double>(0, 0, 2),
                           72.0, orv::TripletBase<double>(0, 1, 1));
    std::cout << "stored:\n";
    printAxis(axis);

    // A refused axis: the library throws and the axis keeps what it had.
    try {
        axis.setRotationAxis(orv::TripletBase<double>(0, 0, 0), orv::TripletBase<double>(0, 0, 1),
                             400.0, orv::TripletBase<double>(0, 1, 0));
    } catch (const orv::data::invalid& e) {
        std::cout << "refused: " << e.getClassLabel() << "::" << e.getOperationLabel() << ": \""
                  << e.getMessage() << "\"\n";
    }
    std::cout << "after the refusal the period is still " << axis.getAngle() << " degrees\n";
}
