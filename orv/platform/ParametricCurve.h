#ifndef ORV_PLATFORM_PARAMETRICCURVE_H
#define ORV_PLATFORM_PARAMETRICCURVE_H

#include "orv/foundation/TripletBase.h"
#include "orv/platform/PlatformExport.h"

#include <string>
#include <vector>

namespace orv {

// A curve through a list of points, kept for writing to a file. This stand-in treats the points as
// a polyline (straight segments between consecutive points).
class ORV_PLATFORM_API ParametricCurve {
public:
    // How the points are interpreted: dim2 is a curve through the points with straight segments
    // (the only kind the triangle reports use). The value is kept and written to the file header.
    enum dim { dim1 = 1, dim2 = 2, dim3 = 3 };

    ParametricCurve();
    ~ParametricCurve();

    // Replaces the curve's points with the given list.
    void setPoints(const std::vector<TripletBase<double>>& points, dim kind);

    // Writes the curve to the file so named (see writePointFile: comment lines, then one "x y z"
    // line per point at full precision). An unwritable file or an empty name throws data::error
    // ("ParametricCurve", "exportToFile", "Can not write file '<name>'.").
    void exportToFile(const std::string& fileName) const;

    const std::vector<TripletBase<double>>& getPoints() const { return m_points; }

private:
    std::vector<TripletBase<double>> m_points;
    dim m_kind;
};

} // namespace orv

#endif
