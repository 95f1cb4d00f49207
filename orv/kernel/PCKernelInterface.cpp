#include "orv/kernel/PCKernelInterface.h"

#include "orv/platform/Error.h"
#include "orv/platform/SystemMsg.h"

namespace orv {

PCKernelInterface* PCKernelInterface::m_instance = nullptr;

PCKernelInterface::PCKernelInterface() : KernelInterfaceBase(), m_database() {}

PCKernelInterface::~PCKernelInterface() = default;

PCKernelInterface* PCKernelInterface::instance() {
    if (m_instance == nullptr) {
        m_instance = new PCKernelInterface();
        m_instance->registerInstance(m_instance);
    }
    return m_instance;
}

std::string
PCKernelInterface::createLinearBSplineLine(const std::string& name,
                                           const std::vector<TripletBase<float>>& points,
                                           const std::string& /*family*/) {
    if (points.size() < 2) {
        throwError<data::error>("PCKernelInterface", "createLinearBSplineLine",
                                SystemMsg("BSpline must have at least two points."));
    }
    m_database.addCurve(name, points, ParametricDB::linearCurve);
    return name;
}

TripletBase<double> PCKernelInterface::projectPointToCurve(const TripletBase<double>& point,
                                                           const std::string& curve,
                                                           double& parameter) {
    return m_database.projectPoint(curve, point, parameter);
}

TripletBase<double> PCKernelInterface::projectPointToCurve(const TripletBase<double>& point,
                                                           const std::vector<std::string>& curves) {
    if (curves.size() >= 2) {
        throwError<internal::error>("PCKernelInterface", "projectPointToCurve",
                                    SystemMsg("Can not handle projection to two curves."));
    }
    if (curves.empty()) {
        throwError<data::error>("PCKernelInterface", "projectPointToCurve",
                                SystemMsg("Can not project to a curve: no curve name given."));
    }
    return m_database.projectPoint(curves.front(), point);
}

TripletBase<double> PCKernelInterface::getPointLocationOnCurveAtParameter(const std::string& curve,
                                                                          double parameter) {
    return m_database.evaluateCurve(curve, parameter);
}

void PCKernelInterface::getPointLocationsOnCurveAtParameter(
    const std::vector<double>& parameters, const TripletBase<double>& first,
    const TripletBase<double>& second, const std::string& curve,
    std::vector<TripletBase<double>>& points) {
    m_database.getPointLocationsOnCurveAtParameter(parameters, first, second, curve, points);
}

void PCKernelInterface::saveCurve(const std::string& curve, const std::string& fileName) {
    m_database.exportToFile(curve, fileName);
}

void PCKernelInterface::deleteCurveIfExist(const std::string& name) {
    m_database.deleteCurveIfExist(name);
}

void PCKernelInterface::clearGeometry() {
    m_database.clearGeometry();
}

void PCKernelInterface::printDatabaseState() {
    m_database.printDatabaseState();
}

} // namespace orv
