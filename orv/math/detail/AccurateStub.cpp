// Placeholder of the accurate paths until the multi-precision ones land: the platform's functions.
#include "orv/math/detail/Accurate.h"

#include <cmath>

namespace orv {
namespace crmath {
namespace detail {

double atan2Accurate(double y, double x) {
    return std::atan2(y, x);
}
double acosAccurate(double x) {
    return std::acos(x);
}
double sinAccurate(double x) {
    return std::sin(x);
}
double cosAccurate(double x) {
    return std::cos(x);
}
float sinfAccurate(float x) {
    return std::sin(x);
}
float cosfAccurate(float x) {
    return std::cos(x);
}
double log1pAccurate(double x) {
    return std::log1p(x);
}
double expm1Accurate(double x) {
    return std::expm1(x);
}

} // namespace detail
} // namespace crmath
} // namespace orv
