#include "orv/triangle/Triangle.h"

#include "orv/platform/ParametricCurve.h"

#include <iostream>
#include <sstream>

namespace orv {

void Triangle::testBasicLengths(const std::string& title) const {
    std::ostream& out = std::cout;
    out << title << std::endl;
    out << "============" << std::endl;
    out << "Points: " << std::endl;
    out << "               " << m_pointA << std::endl;
    out << "               " << m_pointB << std::endl;
    out << "               " << m_pointC << std::endl;
    out << "Lengths:       " << m_lengthA << ":" << m_lengthB << ":" << m_lengthC << std::endl;
    out << "Area:          " << m_area << std::endl;
    out << "Perimeter:     " << m_perimeter << std::endl;
    out << "SemiPerimeter: " << m_semiPerimeter << std::endl;
    out << "In Radius: " << m_inRadius << std::endl;
    out << "In Center: " << m_inCenter << std::endl;

    // The weight of the first end of each edge at the foot of the in-centre's perpendicular,
    // projected numerically...
    const double ra = getRatioToTheSide(m_inCenter, m_pointB, m_pointC, m_lengthA);
    const double rb = getRatioToTheSide(m_inCenter, m_pointC, m_pointA, m_lengthB);
    const double rc = getRatioToTheSide(m_inCenter, m_pointA, m_pointB, m_lengthC);
    out << " R A " << ra << std::endl;
    out << " R B " << rb << std::endl;
    out << " R C " << rc << std::endl;

    // ...and in closed form: the inscribed circle touches edge a at distance s - c from B, and so
    // on. Divided by the bare length, so a zero-length edge prints inf or nan.
    const double s = m_semiPerimeter;
    const double r0 = (s - m_lengthC) / m_lengthA;
    const double r1 = (s - m_lengthA) / m_lengthB;
    const double r2 = (s - m_lengthB) / m_lengthC;
    out << " R 0 " << r0 << std::endl;
    out << " R 1 " << r1 << std::endl;
    out << " R 2 " << r2 << std::endl;
}

void Triangle::testBasicLengths(int title) const {
    std::ostringstream text;
    text << title;
    testBasicLengths(text.str());
}

void Triangle::testTriangleFollowInCenter(int count, bool lastOnEdge,
                                          const std::string& name) const {
    std::ostream& out = std::cout;
    if (lastOnEdge) {
        out << " Test Follow In Center with last on Edge :" << name << std::endl;
        out << "========================================== " << std::endl;
    } else {
        out << " Test Follow In Center :" << name << std::endl;
        out << "================================= " << std::endl;
    }
    const std::string suffix = lastOnEdge ? "fcL" : "fc";

    ParametricCurve curve;
    std::vector<TripletBase<double>> path;
    double ratioA = 0.0;
    double ratioB = 0.0;
    double ratioC = 0.0;

    followInCenterToSideA(count, path, ratioA, lastOnEdge);
    curve.setPoints(path, ParametricCurve::dim2);
    curve.exportToFile(name + suffix + "EdgeA");

    followInCenterToSideB(count, path, ratioB, lastOnEdge);
    curve.setPoints(path, ParametricCurve::dim2);
    curve.exportToFile(name + suffix + "EdgeB");

    followInCenterToSideC(count, path, ratioC, lastOnEdge);
    curve.setPoints(path, ParametricCurve::dim2);
    curve.exportToFile(name + suffix + "EdgeC");

    if (lastOnEdge) {
        out << " Ratios \n";
        out << " =======\n";
        out << " Edge A :" << ratioA << std::endl;
        out << " Edge B :" << ratioB << std::endl;
        out << " Edge C :" << ratioC << std::endl;
    }
}

void Triangle::testFull(int /*unused*/, const std::string& name) const {
    testBasicLengths(name);
    testTriangleFollowInCenter(10, false, name);
    testTriangleFollowInCenter(10, true, name);
    std::ostream& out = std::cout;
    out << "Simple A " << getRatioInCenterSweepToSideA() << std::endl;
    out << "Simple B " << getRatioInCenterSweepToSideB() << std::endl;
    out << "Simple C " << getRatioInCenterSweepToSideC() << std::endl;
}

void Triangle::saveTriangle(const std::string& /*name*/) const {}

} // namespace orv
