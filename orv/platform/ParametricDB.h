#ifndef ORV_PLATFORM_PARAMETRICDB_H
#define ORV_PLATFORM_PARAMETRICDB_H

#include "orv/foundation/TripletBase.h"
#include "orv/platform/PlatformExport.h"
#include "orv/platform/Polyline.h"

#include <cstddef>
#include <map>
#include <string>
#include <vector>

namespace orv {

// A store of named parametric curves. This stand-in holds polylines (straight segments through the
// points), parametrised by normalised arc length: 0 at the first point, 1 at the last (Polyline).
// Curve data is held in double precision.
//
// Refusals throw data::invalid with class label "ParametricDB", the operation's name as
// operation label and a message naming the curve; nothing is changed by a refused call and an
// output list keeps what it held. A name the store does not hold is refused with
// "Curve '<name>' does not exist." by every operation except deleteCurveIfExist.
class ORV_PLATFORM_API ParametricDB {
public:
    // The curve kind understood by addCurve: a linear curve (polyline) through the points.
    static constexpr int linearCurve = 2;

    ParametricDB();
    virtual ~ParametricDB();

    // Stores a curve of the given kind through the points (widened exactly to double); a curve of
    // the same name is replaced. Refuses, in this order, a kind other than linearCurve ("Curve
    // kind <kind> of curve '<name>' is not supported.") and fewer than two points ("Curve '<name>'
    // needs at least two points."); a refused call keeps a curve of that name as it was.
    virtual void addCurve(const std::string& name, const std::vector<TripletBase<float>>& points,
                          int kind);

    // The point of the named curve at normalised arc-length parameter t; t below 0 gives the first
    // point and above 1 the last. A NaN t is refused ("Parameter on curve '<name>' is not a
    // number.").
    virtual TripletBase<double> evaluateCurve(const std::string& name, double t);

    // The nearest point of the named curve to `point`; `parameter` receives its normalised
    // arc-length parameter (it is left unchanged when the call is refused). The second form
    // returns the point only.
    TripletBase<double> projectPoint(const std::string& name, const TripletBase<double>& point,
                                     double& parameter) const;
    TripletBase<double> projectPoint(const std::string& name,
                                     const TripletBase<double>& point) const;

    // Points on the stretch of the named curve between the projections of `first` and `second`:
    // with ta and tb the curve parameters of those projections, parameters[i] = 0 gives the
    // projection of `first`, 1 that of `second`, and p in general the curve point at parameter
    // ta + p * (tb - ta) (so the stretch runs backwards along the curve when tb < ta; values
    // outside [0, 1] continue along the curve and stop at its ends). `points` is resized to the
    // number of parameters and overwritten. A NaN parameter is refused ("Parameter on curve
    // '<name>' is not a number.") and leaves `points` unchanged.
    void getPointLocationsOnCurveAtParameter(const std::vector<double>& parameters,
                                             const TripletBase<double>& first,
                                             const TripletBase<double>& second,
                                             const std::string& name,
                                             std::vector<TripletBase<double>>& points) const;

    // Writes the named curve's points to the file `fileName` as a plain text point file
    // (writePointFile: "# " comment lines giving the curve name, point count and length, then one
    // "x y z" line per point with 17 significant digits). An unknown curve is refused before the
    // file is touched; an unwritable file throws data::error ("ParametricDB", "exportToFile",
    // "Can not write file '<fileName>'.").
    void exportToFile(const std::string& curveName, const std::string& fileName) const;

    // Writes the store's state to the standard output: a line "ParametricDB: <n> curve(s)", then,
    // in name order, one line per curve "  curve '<name>': <count> points, length <length>" with
    // the length at 17 significant digits (formatPointFileNumber: the same in every locale).
    void printDatabaseState() const;

    // Removes every curve.
    void clearGeometry();

    // Removes the named curve; a name the store does not hold is ignored.
    void deleteCurveIfExist(const std::string& name);

    bool hasCurve(const std::string& name) const;
    std::size_t curveCount() const;

private:
    const Polyline& curve(const std::string& name, const char* operation) const;

    std::map<std::string, Polyline> m_curves;
};

} // namespace orv

#endif
