// A host built against the installed package: it catches, by type, an exception thrown inside the
// library, and checks its labels and message.
#include "orv/GeometryTools.h"

#include <iostream>

int main() {
    try {
        orv::RotationAxis axis(orv::TripletBase<double>(0, 0, 0), orv::TripletBase<double>(0, 0, 0),
                               30.0, orv::TripletBase<double>(0, 1, 0));
    } catch (const orv::data::invalid& e) {
        if (e.getClassLabel() == "RotationAxis" && e.getOperationLabel() == "set" &&
            e.getMessage() == "Axis Direction is zero length." &&
            e.getErrorType() == orv::errorTypeError) {
            std::cout << "caught orv::data::invalid: " << e.getMessage() << '\n';
            return 0;
        }
        std::cerr << "wrong exception contents: " << e.describe() << '\n';
        return 1;
    } catch (...) {
        std::cerr << "exception not caught by its type\n";
        return 1;
    }
    std::cerr << "no exception\n";
    return 1;
}
