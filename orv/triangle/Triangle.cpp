#include "orv/triangle/Triangle.h"

#include "orv/math/Math.h"

#include <cmath>

namespace orv {

Triangle::Triangle()
    : m_pointA(0.0, 0.0, 0.0), m_pointB(1.0, 0.0, 0.0), m_pointC(0.5, 0.866025403784439, 0.0),
      m_lengthA(0.0), m_lengthB(0.0), m_lengthC(0.0), m_perimeter(0.0), m_semiPerimeter(0.0),
      m_area(0.0), m_inRadius(0.0), m_inCenter() {
    calculateBasicLengths();
}

Triangle::Triangle(const TripletBase<double>& a, const TripletBase<double>& b,
                   const TripletBase<double>& c)
    : m_pointA(a), m_pointB(b), m_pointC(c), m_lengthA(0.0), m_lengthB(0.0), m_lengthC(0.0),
      m_perimeter(0.0), m_semiPerimeter(0.0), m_area(0.0), m_inRadius(0.0), m_inCenter() {
    calculateBasicLengths();
}

Triangle::Triangle(const TripletBase<float>& a, const TripletBase<float>& b,
                   const TripletBase<float>& c)
    : Triangle(TripletBase<double>(a), TripletBase<double>(b), TripletBase<double>(c)) {}

Triangle::Triangle(const Triangle& other) = default;
Triangle& Triangle::operator=(const Triangle& other) = default;
Triangle::~Triangle() = default;

void Triangle::setTriangle(const TripletBase<double>& a, const TripletBase<double>& b,
                           const TripletBase<double>& c) {
    m_pointA = a;
    m_pointB = b;
    m_pointC = c;
    calculateBasicLengths();
}

void Triangle::setTriangle(const TripletBase<float>& a, const TripletBase<float>& b,
                           const TripletBase<float>& c) {
    // Widening is exact; the float maximum arrives as 3.4028234663852886e38.
    setTriangle(TripletBase<double>(a), TripletBase<double>(b), TripletBase<double>(c));
}

void Triangle::getTriangle(TripletBase<double>& a, TripletBase<double>& b, TripletBase<double>& c) {
    a = m_pointA;
    b = m_pointB;
    c = m_pointC;
}

void Triangle::getLenghts(double& a, double& b, double& c) {
    a = m_lengthA;
    b = m_lengthB;
    c = m_lengthC;
}

const TripletBase<double>& Triangle::getInCenter() const {
    return m_inCenter;
}

void Triangle::calculateEdgeLengths() {
    // length() gives the undefined value for a difference holding the double marker; the test is
    // on the signed difference, so a marker that ends up negated is an ordinary (overflowing)
    // value.
    m_lengthA = (m_pointC - m_pointB).length();
    m_lengthB = (m_pointA - m_pointC).length();
    m_lengthC = (m_pointB - m_pointA).length();
}

void Triangle::calculateAngles() {
    calculateEdgeLengths();
}

void Triangle::calculateBasicLengths() {
    calculateEdgeLengths();
    const double a = m_lengthA;
    const double b = m_lengthB;
    const double c = m_lengthC;

    const double ab = a + b;
    m_perimeter = ab + c;
    const double s = m_perimeter * 0.5;
    m_semiPerimeter = s;

    const double sa = s - a;
    const double sb = s - b;
    const double sc = s - c;
    const double p1 = sa * s;
    const double p2 = p1 * sb;
    const double p3 = p2 * sc;
    m_area = std::sqrt(p3);

    const double sEps = s + kGuardEpsilon;
    m_inRadius = m_area / sEps;

    // Each vertex weighted by the length of the edge opposite it. The divisor is never exactly 0
    // for non-negative lengths, so operator/ does not refuse it.
    const TripletBase<double> wa = m_pointA * a;
    const TripletBase<double> wb = m_pointB * b;
    const TripletBase<double> wc = m_pointC * c;
    const TripletBase<double> sum = (wa + wb) + wc;
    const double pEps = m_perimeter + kGuardEpsilon;
    m_inCenter = sum / pEps;
}

namespace {

// Law of cosines: acos((s1^2 + s2^2 - opposite^2) / (2 * d1 * d2 + epsilon)), summed and
// multiplied left to right in the order of the arguments.
double cosineRule(double s1, double s2, double opposite, double d1, double d2, double epsilon) {
    const double q1 = s1 * s1;
    const double q2 = s2 * s2;
    const double qo = opposite * opposite;
    const double num = (q1 + q2) - qo;
    const double twice = 2.0 * d1;
    const double den = (twice * d2) + epsilon;
    return math::acos(num / den);
}

} // namespace

void Triangle::getAnglesBandC(double& angleB, double& angleC) {
    const double a = m_lengthA;
    const double b = m_lengthB;
    const double c = m_lengthC;
    // B = acos((c^2 + a^2 - b^2) / (2*a*c + eps)); C = acos((a^2 + b^2 - c^2) / (2*a*b + eps)).
    angleB = cosineRule(c, a, b, a, c, kGuardEpsilon);
    angleC = cosineRule(a, b, c, a, b, kGuardEpsilon);
}

double Triangle::getRatioInCenterSweepToSide(double x, double y, double z) const {
    // thetaX = acos((z^2 + y^2 - x^2) / (2*y*z + eps)), the angle opposite x;
    // thetaY = acos((x^2 + z^2 - y^2) / (2*x*z + eps)), the angle opposite y.
    const double thetaX = cosineRule(z, y, x, y, z, kGuardEpsilon);
    const double thetaY = cosineRule(x, z, y, x, z, kGuardEpsilon);
    const double sum = thetaY + thetaX;
    return thetaX / sum;
}

double Triangle::getRatioInCenterSweepToSideA() const {
    return getRatioInCenterSweepToSide(m_lengthB, m_lengthC, m_lengthA);
}

double Triangle::getRatioInCenterSweepToSideB() const {
    return getRatioInCenterSweepToSide(m_lengthC, m_lengthA, m_lengthB);
}

double Triangle::getRatioInCenterSweepToSideC() const {
    return getRatioInCenterSweepToSide(m_lengthA, m_lengthB, m_lengthC);
}

double Triangle::getRatioToTheSide(const TripletBase<double>& p, const TripletBase<double>& q,
                                   const TripletBase<double>& r, double length) const {
    // 1 - t, t being the parameter of the foot of the perpendicular from p on the line q -> r,
    // measured from q: the weight of q in that foot.
    const TripletBase<double> qp = q - p;
    const TripletBase<double> rp = r - p;
    const double qp2 = qp.dot(qp);
    const double rp2 = rp.dot(rp);
    const double len2 = length * length;
    const double num = (qp2 + len2) - rp2;
    const double half = num * 0.5;
    const double den = len2 + kGuardEpsilon;
    const double t = half / den;
    return 1.0 - t;
}

namespace {

// t*first + (1 - t)*second.
TripletBase<double> blend(const TripletBase<double>& first, const TripletBase<double>& second,
                          double t) {
    const double rest = 1.0 - t;
    return first * t + second * rest;
}

// The weight of the first end of an edge at the foot of the bisector from the opposite vertex:
// the length of the edge at the first end over the sum of the two edges meeting at that vertex.
double bisectorWeight(double nearFirst, double nearSecond, double epsilon) {
    const double den = (nearFirst + nearSecond) + epsilon;
    return nearFirst / den;
}

} // namespace

void Triangle::getBisectorPointEdgeA(TripletBase<double>& point, double& t) {
    const double w = bisectorWeight(m_lengthB, m_lengthC, kGuardEpsilon);
    t = w;
    point = blend(m_pointB, m_pointC, w);
}

void Triangle::getBisectorPointEdgeB(TripletBase<double>& point, double& t) {
    const double w = bisectorWeight(m_lengthC, m_lengthA, kGuardEpsilon);
    t = w;
    point = blend(m_pointC, m_pointA, w);
}

void Triangle::getBisectorPointEdgeC(TripletBase<double>& point, double& t) {
    const double w = bisectorWeight(m_lengthA, m_lengthB, kGuardEpsilon);
    t = w;
    point = blend(m_pointA, m_pointB, w);
}

} // namespace orv
