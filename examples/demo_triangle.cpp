#include "Demos.h"

#include "orv/GeometryTools.h"

#include <iostream>
#include <vector>

void demoTriangle() {
    std::cout << "\n== Triangle\n";
    // A right triangle with legs 4 and 3: edge a (from B to C) is the hypotenuse.
    orv::Triangle tri(orv::TripletBase<double>(0, 0, 0), orv::TripletBase<double>(4, 0, 0),
                      orv::TripletBase<double>(0, 3, 0));

    double a = 0, b = 0, c = 0;
    tri.getLenghts(a, b, c);
    double angleB = 0, angleC = 0;
    tri.getAnglesBandC(angleB, angleC);
    std::cout << "edges a, b, c   " << a << ", " << b << ", " << c << "\n"
              << "in-centre       " << tri.getInCenter() << "\n"
              << "angles at B, C  " << angleB << ", " << angleC << " radians\n"
              << "angle ratio a   " << tri.getRatioInCenterSweepToSideA() << "\n";

    // Four points from the in-centre towards the hypotenuse, the last one dropped onto it.
    std::vector<orv::TripletBase<double>> path;
    double ratio = 0;
    tri.followInCenterToSideA(4, path, ratio, true);
    std::cout << "path to edge a:\n";
    for (const orv::TripletBase<double>& p : path) {
        std::cout << "  " << p << "\n";
    }
    std::cout << "last point = " << ratio << " * B + " << 1.0 - ratio << " * C\n\n";

    // The library's own diagnostic report of the stored measures.
    tri.testBasicLengths("right triangle 3-4-5");
}
