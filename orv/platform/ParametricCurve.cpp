#include "orv/platform/ParametricCurve.h"

#include "orv/platform/PointFile.h"

namespace orv {

ParametricCurve::ParametricCurve() : m_points(), m_kind(dim2) {}

ParametricCurve::~ParametricCurve() = default;

void ParametricCurve::setPoints(const std::vector<TripletBase<double>>& points, dim kind) {
    m_points = points;
    m_kind = kind;
}

void ParametricCurve::exportToFile(const std::string& fileName) const {
    const std::vector<std::string> header{"curve " + fileName,
                                          "dim " + std::to_string(static_cast<int>(m_kind)),
                                          "points " + std::to_string(m_points.size()), "x y z"};
    writePointFile(fileName, m_points, header, "ParametricCurve", "exportToFile");
}

} // namespace orv
