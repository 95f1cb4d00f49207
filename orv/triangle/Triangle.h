#ifndef ORV_TRIANGLE_TRIANGLE_H
#define ORV_TRIANGLE_TRIANGLE_H

#include "orv/foundation/Export.h"
#include "orv/foundation/TripletBase.h"

#include <string>
#include <vector>

namespace orv {

// One triangle in space, held in double precision, with its derived measures stored beside the
// vertices: edge lengths, perimeter, semi-perimeter, area (Heron), in-radius and in-centre.
//
// Naming: vertices A, B, C; edge a is opposite A (from B to C), edge b opposite B (from C to A),
// edge c opposite C (from A to B). Lengths are in the unit of the points, angles in radians.
//
// Every constructor except the copy constructor, and every setTriangle, recomputes the measures
// once; queries, paths and reports read the stored values. Copies copy the stored values bit for
// bit and compute nothing.
//
// Nothing is validated: coincident or collinear vertices give zero lengths or a zero area and the
// arithmetic runs on (angles may then be NaN). Every division of the measures, angles and paths has
// the smallest normal double, 2.2250738585072014e-308, added to its denominator so that it never
// divides by exactly 0 (the angle ratio's final division excepted).
//
// Undefined vertices: an edge whose signed vertex difference has a component equal to the double
// undefined marker 1.7976931348623157e308 gets the undefined length 3.4028234663852886e38. A
// difference holding -1.7976931348623157e308 is not a marker; its length overflows to +infinity.
// Later measures are computed from these numbers by ordinary arithmetic.
class ORV_API Triangle {
public:
    // A = (0, 0, 0), B = (1, 0, 0), C = (0.5, 0.866025403784439, 0): the equilateral triangle of
    // side 1 (to rounding) in the XY plane.
    Triangle();
    // The points stored as A, B, C in argument order, then the measures computed.
    Triangle(const TripletBase<double>& a, const TripletBase<double>& b,
             const TripletBase<double>& c);
    // As the float setTriangle.
    Triangle(const TripletBase<float>& a, const TripletBase<float>& b, const TripletBase<float>& c);
    Triangle(const Triangle& other);
    Triangle& operator=(const Triangle& other);
    virtual ~Triangle();

    // Stores the points as A, B, C in argument order and recomputes the measures.
    void setTriangle(const TripletBase<double>& a, const TripletBase<double>& b,
                     const TripletBase<double>& c);
    // Widens every component exactly to double and stores the points. The float undefined marker
    // becomes 3.4028234663852886e38, which is an ordinary value to the edge lengths.
    void setTriangle(const TripletBase<float>& a, const TripletBase<float>& b,
                     const TripletBase<float>& c);

    // A, B, C into the three arguments.
    void getTriangle(TripletBase<double>& a, TripletBase<double>& b, TripletBase<double>& c);
    // The edge lengths a, b, c into the three arguments.
    void getLenghts(double& a, double& b, double& c);
    const TripletBase<double>& getInCenter() const;

    // The interior angles at B and at C, radians, by the law of cosines on the stored lengths.
    // The cosine is not clamped: one outside [-1, 1] gives NaN.
    void getAnglesBandC(double& angleB, double& angleC);

    // Angle ratios, each the first angle over the sum of the two angles at the ends of the edge:
    // edge a: B / (B + C); edge b: C / (C + A); edge c: A / (A + B). NaN for a degenerate triangle.
    double getRatioInCenterSweepToSideA() const;
    double getRatioInCenterSweepToSideB() const;
    double getRatioInCenterSweepToSideC() const;

    // The foot of the angle bisector from the opposite vertex on each edge, and its weight t:
    //   edge a: point = t*B + (1 - t)*C, t = b / (b + c)
    //   edge b: point = t*C + (1 - t)*A, t = c / (c + a)
    //   edge c: point = t*A + (1 - t)*B, t = a / (a + b)
    // (each denominator with the guard epsilon added). Both outputs are written.
    void getBisectorPointEdgeA(TripletBase<double>& point, double& t);
    void getBisectorPointEdgeB(TripletBase<double>& point, double& t);
    void getBisectorPointEdgeC(TripletBase<double>& point, double& t);

    // In-centre following: a path of count points from the in-centre towards one edge, each point
    // the in-centre of the triangle formed by the previous point and the two ends of the edge
    // (edge a: B then C; edge b: C then A; edge c: A then B). The distance from the edge's line at
    // least halves at every step.
    //
    // The list is resized to count and overwritten; its first point is the in-centre. ratio is set
    // to 0, except with lastOnEdge, where the last point is replaced by the foot of its
    // perpendicular on the line of the edge, written as ratio*first end + (1 - ratio)*second end,
    // and ratio keeps that weight. With count 1 and lastOnEdge the point is where the inscribed
    // circle touches the edge.
    //
    // A count below 1 is refused with data::invalid ("Triangle", the operation's name, "Number of
    // path points must be at least 1."); the list and ratio are then left unchanged.
    void followInCenterToSideA(int count, std::vector<TripletBase<double>>& path, double& ratio,
                               bool lastOnEdge) const;
    void followInCenterToSideB(int count, std::vector<TripletBase<double>>& path, double& ratio,
                               bool lastOnEdge) const;
    void followInCenterToSideC(int count, std::vector<TripletBase<double>>& path, double& ratio,
                               bool lastOnEdge) const;
    // The last point of the same path, bit for bit, and the same ratio. A count below 1 is refused
    // as above, leaving the point and ratio unchanged.
    void followInCenterToSideA(int count, TripletBase<double>& last, double& ratio,
                               bool lastOnEdge) const;
    void followInCenterToSideB(int count, TripletBase<double>& last, double& ratio,
                               bool lastOnEdge) const;
    void followInCenterToSideC(int count, TripletBase<double>& last, double& ratio,
                               bool lastOnEdge) const;

    // Diagnostic reports on std::cout, in its current formatting (six significant digits by
    // default). They read the triangle and change nothing in it; reports from several threads may
    // interleave.
    //
    // The basic report: the title, the vertices, the stored measures, then the weight of the first
    // end of each edge at the foot of the in-centre's perpendicular, first by projecting the
    // in-centre (" R A", " R B", " R C"), then by the closed forms (s - c)/a, (s - a)/b, (s - b)/c
    // (" R 0", " R 1", " R 2"; divided by the bare length, so a zero edge prints inf or nan).
    void testBasicLengths(const std::string& title) const;
    // The basic report titled with the integer in plain decimal.
    void testBasicLengths(int title) const;
    // Follows the in-centre to edges a, b and c with count and lastOnEdge and writes each path to a
    // curve file named name + ("fcL" with lastOnEdge, else "fc") + "EdgeA", "EdgeB" or "EdgeC"
    // (relative names are relative to the working directory; an empty name is allowed). Writes a
    // two-line header and, with lastOnEdge, the three ratios.
    // Refusals pass through, after the lines already written: a count below 1 (the following's
    // data::invalid, before any file is written) and a file that cannot be written (data::error
    // from ParametricCurve::exportToFile, with the files before it written).
    void testTriangleFollowInCenter(int count, bool lastOnEdge, const std::string& name) const;
    // The basic report titled name, the follow reports with 10 points without and with lastOnEdge,
    // then the three angle ratios ("Simple A", "Simple B", "Simple C"). The integer is not read.
    void testFull(int unused, const std::string& name) const;
    // Does nothing: no file is created and nothing is written.
    void saveTriangle(const std::string& name) const;

private:
    // The smallest positive normal double, added to denominators.
    static constexpr double kGuardEpsilon = 2.2250738585072014e-308;

    void calculateBasicLengths();
    void calculateEdgeLengths();
    void calculateAngles();
    double getRatioInCenterSweepToSide(double x, double y, double z) const;
    double getRatioToTheSide(const TripletBase<double>& p, const TripletBase<double>& q,
                             const TripletBase<double>& r, double length) const;
    void followInCenterToSide(int count, std::vector<TripletBase<double>>& path,
                              const TripletBase<double>& p, const TripletBase<double>& q,
                              double length, double& ratio, bool lastOnEdge) const;

    TripletBase<double> m_pointA;
    TripletBase<double> m_pointB;
    TripletBase<double> m_pointC;
    double m_lengthA;
    double m_lengthB;
    double m_lengthC;
    double m_perimeter;
    double m_semiPerimeter;
    double m_area;
    double m_inRadius;
    TripletBase<double> m_inCenter;
};

} // namespace orv

#endif
