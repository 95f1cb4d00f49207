// Example host of libORVRWGeometryTools: builds geometry the way a turbomachinery design program
// would, and prints what the library returns.
#include "Demos.h"

#include "orv/GeometryTools.h"

#include <iostream>

int main() {
    std::cout << "libORVRWGeometryTools " << ORV_VERSION_STRING << "\n";
    try {
        demoAxis();
        demoKernel();
        demoTurbo();
        demoTriangle();
    } catch (const orv::Error& e) {
        std::cerr << "unexpected refusal: " << e.describe() << "\n";
        return 1;
    }
    return 0;
}
