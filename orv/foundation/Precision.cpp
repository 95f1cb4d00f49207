#include "orv/foundation/Precision.h"

namespace orv {

float narrowToFloat(double value) {
    return static_cast<float>(value);
}

float scaleToFloat(float value, double factor) {
    const double product = static_cast<double>(value) * factor;
    return static_cast<float>(product);
}

} // namespace orv
