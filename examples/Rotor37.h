#ifndef ORV_EXAMPLES_ROTOR37_H
#define ORV_EXAMPLES_ROTOR37_H

// NASA Rotor 37 (data/rotor37/, centimetres, z the rotation axis): the hub and shroud of its
// passage as (axial, radial) curves for a TurboTransform, and its 36 blades' pitch. Read by the
// example host and the benchmarks; a host reads its own geometry the same way.

#include "orv/GeometryTools.h"

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace rotor37 {

constexpr double kPitchDegrees = 10.0; // 360 / 36 blades

// The rows of a CSV file with a header line, as numbers.
inline std::vector<std::vector<double>> readCsv(const std::string& path) {
    std::ifstream in(path);
    if (!in) {
        throw std::runtime_error("cannot read " + path);
    }
    std::vector<std::vector<double>> rows;
    std::string line;
    std::getline(in, line); // header
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::vector<double> row;
        for (std::string field; std::getline(fields, field, ',');) {
            row.push_back(std::stod(field));
        }
        if (!row.empty()) {
            rows.push_back(row);
        }
    }
    return rows;
}

// A wall (hub.csv or shroud.csv) as (axial z, radial r) points, inlet to outlet.
inline std::vector<orv::Doublet> wall(const std::string& dir, const char* name) {
    std::vector<orv::Doublet> points;
    for (const auto& row : readCsv(dir + "/" + name)) {
        points.emplace_back(static_cast<float>(row.at(0)), static_cast<float>(row.at(1)));
    }
    return points;
}

inline orv::TurboTransform passage(const std::string& dir) {
    return orv::TurboTransform(wall(dir, "hub.csv"), wall(dir, "shroud.csv"));
}

// The rotation axis: z through the origin, theta measured from x towards y, one blade pitch as
// the period angle.
inline orv::RotationAxis axis() {
    using D3 = orv::TripletBase<double>;
    return orv::RotationAxis(D3(0, 0, 0), D3(0, 0, 1), kPitchDegrees, D3(1, 0, 0));
}

} // namespace rotor37

#endif
