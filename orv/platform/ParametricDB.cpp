#include "orv/platform/ParametricDB.h"

#include "orv/platform/Error.h"
#include "orv/platform/PointFile.h"
#include "orv/platform/SystemMsg.h"

#include <cmath>
#include <iostream>

namespace orv {

namespace {

const char* const kClass = "ParametricDB";

void refuseNaN(double t, const std::string& name, const char* operation) {
    if (std::isnan(t)) {
        throwError<data::invalid>(kClass, operation,
                                  SystemMsg("Parameter on curve '" + name + "' is not a number."));
    }
}

} // namespace

ParametricDB::ParametricDB() : m_curves() {}

ParametricDB::~ParametricDB() = default;

const Polyline& ParametricDB::curve(const std::string& name, const char* operation) const {
    const auto found = m_curves.find(name);
    if (found == m_curves.end()) {
        throwError<data::invalid>(kClass, operation,
                                  SystemMsg("Curve '" + name + "' does not exist."));
    }
    return found->second;
}

void ParametricDB::addCurve(const std::string& name, const std::vector<TripletBase<float>>& points,
                            int kind) {
    if (kind != linearCurve) {
        throwError<data::invalid>(kClass, "addCurve",
                                  SystemMsg("Curve kind " + std::to_string(kind) + " of curve '" +
                                            name + "' is not supported."));
    }
    if (points.size() < 2) {
        throwError<data::invalid>(kClass, "addCurve",
                                  SystemMsg("Curve '" + name + "' needs at least two points."));
    }
    std::vector<TripletBase<double>> wide;
    wide.reserve(points.size());
    for (const TripletBase<float>& p : points) {
        wide.emplace_back(p);
    }
    m_curves.insert_or_assign(name, Polyline(wide));
}

TripletBase<double> ParametricDB::evaluateCurve(const std::string& name, double t) {
    const Polyline& line = curve(name, "evaluateCurve");
    refuseNaN(t, name, "evaluateCurve");
    return line.evaluate(t);
}

TripletBase<double> ParametricDB::projectPoint(const std::string& name,
                                               const TripletBase<double>& point,
                                               double& parameter) const {
    return curve(name, "projectPoint").project(point, parameter);
}

TripletBase<double> ParametricDB::projectPoint(const std::string& name,
                                               const TripletBase<double>& point) const {
    double parameter = 0.0;
    return curve(name, "projectPoint").project(point, parameter);
}

void ParametricDB::getPointLocationsOnCurveAtParameter(
    const std::vector<double>& parameters, const TripletBase<double>& first,
    const TripletBase<double>& second, const std::string& name,
    std::vector<TripletBase<double>>& points) const {
    const char* const operation = "getPointLocationsOnCurveAtParameter";
    const Polyline& line = curve(name, operation);
    for (double p : parameters) {
        refuseNaN(p, name, operation);
    }
    double ta = 0.0;
    double tb = 0.0;
    line.project(first, ta);
    line.project(second, tb);
    const double span = tb - ta;
    std::vector<TripletBase<double>> result;
    result.reserve(parameters.size());
    for (double p : parameters) {
        result.push_back(line.evaluate(ta + p * span));
    }
    points.swap(result);
}

void ParametricDB::exportToFile(const std::string& curveName, const std::string& fileName) const {
    const Polyline& line = curve(curveName, "exportToFile");
    const std::vector<std::string> header{
        "curve " + curveName, "points " + std::to_string(line.size()),
        "length " + formatPointFileNumber(line.length()), "x y z"};
    writePointFile(fileName, line.getPoints(), header, kClass, "exportToFile");
}

void ParametricDB::printDatabaseState() const {
    std::string text = "ParametricDB: " + std::to_string(m_curves.size()) + " curve(s)\n";
    for (const auto& entry : m_curves) {
        text += "  curve '" + entry.first + "': " + std::to_string(entry.second.size()) +
                " points, length " + formatPointFileNumber(entry.second.length()) + "\n";
    }
    std::cout << text;
}

void ParametricDB::clearGeometry() {
    m_curves.clear();
}

void ParametricDB::deleteCurveIfExist(const std::string& name) {
    m_curves.erase(name);
}

bool ParametricDB::hasCurve(const std::string& name) const {
    return m_curves.find(name) != m_curves.end();
}

std::size_t ParametricDB::curveCount() const {
    return m_curves.size();
}

} // namespace orv
