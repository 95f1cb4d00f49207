#include "Demos.h"

#include "orv/GeometryTools.h"

#include <iostream>
#include <string>
#include <vector>

void demoKernel() {
    std::cout << "\n== Geometry kernel\n";
    // The library's polyline-curve kernel registers itself on first use; from then on any code
    // reaches it through KernelInterfaceBase::instance().
    orv::PCKernelInterface::instance();
    orv::KernelInterfaceBase* kernel = orv::KernelInterfaceBase::instance();

    // A hub line in the meridional plane: 3 along x, then 4 up in y (length 7).
    const std::vector<orv::TripletBase<float>> hub{{0, 0, 0}, {3, 0, 0}, {3, 4, 0}};
    kernel->deleteCurveIfExist("hub");
    const std::string name = kernel->createLinearBSplineLine("hub", hub, "meridional");
    kernel->printDatabaseState();

    // Project a point onto the curve: the nearest point and its normalised arc-length parameter.
    double parameter = 0.0;
    const orv::TripletBase<double> foot =
        kernel->projectPointToCurve(orv::TripletBase<double>(5, 2, 1), name, parameter);
    std::cout << "(5, 2, 1) projects to " << foot << " at parameter " << parameter << "\n";
    std::cout << "midpoint of the curve " << kernel->getPointLocationOnCurveAtParameter(name, 0.5)
              << "\n";

    // Change the kernel's settings for a scope only: the guard puts them back when it goes.
    {
        orv::KernelSettingsGuard guard(orv::KernelInterfaceBase::projectionAlongNormal);
        guard.pushTriangulationToleranceRefinement(2.0f);
        guard.toleranceRefinement(10.0);
        try {
            guard.toleranceRefinement(0.0);
        } catch (const orv::internal::error& e) {
            std::cout << "refused: " << e.getOperationLabel() << ": \"" << e.getMessage() << "\"\n";
        }
    }
    std::cout << "settings restored at the end of the scope\n";

    // A curve name the kernel does not hold is refused.
    try {
        kernel->getPointLocationOnCurveAtParameter("tip", 0.5);
    } catch (const orv::data::invalid& e) {
        std::cout << "refused: " << e.getClassLabel() << "::" << e.getOperationLabel() << ": \""
                  << e.getMessage() << "\"\n";
    }
}
