#ifndef ORV_MATH_CORRECTLYROUNDED_H
#define ORV_MATH_CORRECTLYROUNDED_H

// Internal to the library (not installed): its own mathematical functions, correctly rounded
// (round to nearest, ties to even) for every argument, with the special values of C's Annex F.
// Every result equals the exact value rounded once, so it is the same on every platform and from
// every compiler. Each definition says its method and error bounds.

namespace orv {
namespace crmath {

double atan2(double y, double x);
double acos(double x);
double sin(double x);
double cos(double x);
// sin and cos of one argument, each correctly rounded (the same bits as the two calls).
void sincos(double x, double& s, double& c);

float sinf(float x);
float cosf(float x);
void sincosf(float x, float& s, float& c);

double log1p(double x);
double expm1(double x);

} // namespace crmath
} // namespace orv

#endif
