#include "Demos.h"

#include "orv/GeometryTools.h"

#include <cmath>
#include <iomanip>
#include <iostream>
#include <vector>

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

    // Points to axial, radial, theta (degrees) and back.
    std::cout << "points to ART and back:\n";
    const orv::TripletBase<double> points[] = {
        {0, 1, 5}, {1, 0, 5}, {-1, 0, -2}, {0, -2, 0}, {0.5, 0.5, 1.25}};
    for (const orv::TripletBase<double>& p : points) {
        const orv::DART art = axis.convertART(p);
        std::cout << "  " << p << " -> (a " << art.a << ", r " << art.r << ", theta " << art.t
                  << ") -> " << axis.convertXYZ(art) << "\n";
    }

    // One period forwards: 72 degrees about the axis.
    orv::TripletBase<double> blade(0, 2, 0.5);
    std::cout << "rotated by one period: " << blade;
    axis.rotateByPeriod(blade, 1.0);
    std::cout << " -> " << blade << " (theta " << axis.convertART(blade).t << ")\n";

    // A curve that crosses the +-180 degree cut: the single-point thetas jump, the list keeps
    // them continuous.
    std::vector<orv::TripletBase<double>> curve;
    for (int i = 0; i <= 6; ++i) {
        const double t = (150.0 + 10.0 * i) * 3.141592653589793 / 180.0;
        curve.emplace_back(-std::sin(t), std::cos(t), 0.1 * i);
    }
    std::vector<orv::DART> thetas;
    axis.convertART(curve, thetas);
    std::cout << "curve across the cut, theta point by point / along the list:\n";
    for (std::size_t i = 0; i < curve.size(); ++i) {
        std::cout << "  " << std::setw(10) << axis.convertART(curve[i]).t << "  " << std::setw(10)
                  << thetas[i].t << "\n";
    }
}
