// Placeholder of the fast paths until they land: every call goes to the accurate path.
#include "orv/math/CorrectlyRounded.h"
#include "orv/math/detail/Accurate.h"

namespace orv {
namespace crmath {

double atan2(double y, double x) {
    return detail::atan2Accurate(y, x);
}
double acos(double x) {
    return detail::acosAccurate(x);
}
double sin(double x) {
    return detail::sinAccurate(x);
}
double cos(double x) {
    return detail::cosAccurate(x);
}
void sincos(double x, double& s, double& c) {
    s = detail::sinAccurate(x);
    c = detail::cosAccurate(x);
}
float sinf(float x) {
    return detail::sinfAccurate(x);
}
float cosf(float x) {
    return detail::cosfAccurate(x);
}
void sincosf(float x, float& s, float& c) {
    s = detail::sinfAccurate(x);
    c = detail::cosfAccurate(x);
}
double log1p(double x) {
    return detail::log1pAccurate(x);
}
double expm1(double x) {
    return detail::expm1Accurate(x);
}

} // namespace crmath
} // namespace orv
