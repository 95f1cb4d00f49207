#include "orv/kernel/KernelInterfaceBase.h"

#include "orv/platform/Error.h"
#include "orv/platform/SystemMsg.h"

namespace orv {

KernelInterfaceBase* KernelInterfaceBase::m_instance = nullptr;

KernelInterfaceBase::KernelInterfaceBase() = default;

KernelInterfaceBase::~KernelInterfaceBase() = default;

KernelInterfaceBase* KernelInterfaceBase::instance() {
    if (m_instance == nullptr) {
        throwError<internal::error>(
            "KernelInterfaceBase", "instance",
            SystemMsg("KernelInterfaceBase::instance called before instance has been registered."));
    }
    return m_instance;
}

void KernelInterfaceBase::registerInstance(KernelInterfaceBase* kernel) {
    if (m_instance != nullptr) {
        throwError<internal::error>(
            "KernelInterfaceBase", "registerInstance",
            SystemMsg("KernelInterfaceBase::registerInstance second time."));
    }
    m_instance = kernel;
}

// The defaults, in virtual-table order. Parameters are unnamed: no default reads or fills any.

std::string KernelInterfaceBase::createPoint(const std::string&, const TripletBase<float>&,
                                             const std::string&) {
    return std::string();
}
std::string KernelInterfaceBase::createPoint(const std::string&, const TripletBase<double>&,
                                             const std::string&) {
    return std::string();
}
std::string KernelInterfaceBase::createPointOnCurve(const std::string&, const std::string&, double,
                                                    const std::string&) {
    return std::string();
}
std::string KernelInterfaceBase::createPointOnSurface(const std::string&, const std::string&,
                                                      double, double, const std::string&) {
    return std::string();
}
std::string KernelInterfaceBase::createLine(const std::string&, const TripletBase<float>&,
                                            const TripletBase<float>&, const std::string&) {
    return std::string();
}
std::string KernelInterfaceBase::createUnstructuredLine(const std::string&,
                                                        const std::vector<TripletBase<float>>&,
                                                        const std::string&) {
    return std::string();
}
std::string KernelInterfaceBase::createArcAboutAxis(const std::string&, const TripletBase<float>&,
                                                    const TripletBase<float>&,
                                                    const TripletBase<float>&, double, double,
                                                    const std::string&) {
    return std::string();
}
std::string KernelInterfaceBase::createArcFrom3Points(const std::string&, const TripletBase<float>&,
                                                      const TripletBase<float>&,
                                                      const TripletBase<float>&,
                                                      const std::string&) {
    return std::string();
}
TripletBase<double> KernelInterfaceBase::getPointLocation(const std::string&) {
    return TripletBase<double>();
}
void KernelInterfaceBase::createLoop(const std::string&, const std::vector<std::string>&,
                                     const std::string&) {}
void KernelInterfaceBase::checkObjectExists(type, const std::vector<std::string>&,
                                            std::vector<short>&) {}
bool KernelInterfaceBase::checkObjectExists(type, const std::string&) {
    return false;
}
bool KernelInterfaceBase::checkObjectExists(type, const std::vector<std::string>&) {
    return false;
}
std::string KernelInterfaceBase::createBSplineLine(const std::string&,
                                                   const std::vector<TripletBase<float>>&,
                                                   const std::string&) {
    return std::string();
}
std::string KernelInterfaceBase::createBSplineLine(const std::string&,
                                                   const std::vector<TripletBase<float>>&, int, int,
                                                   const TripletBase<float>&,
                                                   const TripletBase<float>&, int, int,
                                                   const std::string&) {
    return std::string();
}
std::string KernelInterfaceBase::createBSplineLine(const std::string&,
                                                   const std::vector<TripletBase<double>>&,
                                                   const std::string&) {
    return std::string();
}
std::string KernelInterfaceBase::createBSplineLineCons(const std::string&,
                                                       const std::vector<TripletBase<float>>&,
                                                       const std::string&) {
    return std::string();
}
std::string KernelInterfaceBase::createProjectedCurve(const std::string&,
                                                      const std::vector<TripletBase<float>>&,
                                                      const std::string&, const std::string&) {
    return std::string();
}
std::string KernelInterfaceBase::createCurveBySurfaceIntersection(const std::string&,
                                                                  const std::string&,
                                                                  const std::string&,
                                                                  const std::string&) {
    return std::string();
}
std::string KernelInterfaceBase::createLinearBSplineLine(const std::string&,
                                                         const TripletBase<double>&,
                                                         const TripletBase<double>&,
                                                         const std::string&) {
    return std::string();
}
std::string KernelInterfaceBase::createLinearBSplineLine(const std::string&,
                                                         const std::vector<TripletBase<float>>&,
                                                         const std::string&) {
    return std::string();
}
std::string KernelInterfaceBase::createLinearBSplineLine(const std::string&,
                                                         const std::vector<TripletBase<double>>&,
                                                         const std::string&) {
    return std::string();
}
std::string KernelInterfaceBase::createLinearBSplineLineUnstructured(
    const std::string&, const std::vector<TripletBase<float>>&, const std::string&) {
    return std::string();
}
std::string KernelInterfaceBase::createUnstructuredCurveBySurfaceIntersection(const std::string&,
                                                                              const std::string&,
                                                                              const std::string&,
                                                                              const std::string&) {
    return std::string();
}
std::string KernelInterfaceBase::concatenateCurves(const std::string&,
                                                   const std::vector<std::string>&,
                                                   const std::string&) {
    return std::string();
}
std::string KernelInterfaceBase::concatenateUnstructuredCurves(const std::string&,
                                                               const std::vector<std::string>&,
                                                               const std::string&, int) {
    return std::string();
}
std::string KernelInterfaceBase::concatenateUnstructuredCurves(const std::string&,
                                                               const std::vector<std::string>&,
                                                               std::vector<TripletBase<float>>*,
                                                               const std::string&, int) {
    return std::string();
}
void KernelInterfaceBase::createSurfaceEdges(const std::string&, std::vector<std::string>&) {}
std::string KernelInterfaceBase::convertCurveUnstructuredToBspline(const std::string&,
                                                                   const std::string&,
                                                                   const std::string&) {
    return std::string();
}
std::string KernelInterfaceBase::simplifyCurve(const std::string&, const std::string&, bool) {
    return std::string();
}
std::string KernelInterfaceBase::simplifyCurve(const std::string&, std::vector<TripletBase<float>>&,
                                               const std::string&, bool) {
    return std::string();
}
std::string KernelInterfaceBase::createBSplineSurface(const std::string&, int, int,
                                                      const std::vector<TripletBase<float>>&,
                                                      const std::string&) {
    return std::string();
}
void KernelInterfaceBase::createBarsFromVertexLocations(const std::vector<TripletBase<float>>&,
                                                        const std::string&) {}
std::pair<float, float> KernelInterfaceBase::getNearestUV(const TripletBase<float>&,
                                                          const std::string&) {
    return std::pair<float, float>(0.0f, 0.0f);
}
std::pair<float, float> KernelInterfaceBase::getNearestUV(const std::string&, const std::string&) {
    return std::pair<float, float>(0.0f, 0.0f);
}
void KernelInterfaceBase::createNodesAtVertexLocations(const std::vector<TripletBase<float>>&,
                                                       const std::string&) {}
void KernelInterfaceBase::createQuadsFromVertexLocations(const std::vector<TripletBase<float>>&,
                                                         const std::string&) {}
void KernelInterfaceBase::deleteAllGeometry(type) {}
void KernelInterfaceBase::deleteGeometry(type, const std::string&) {}
void KernelInterfaceBase::deleteGeometry(type, const std::vector<std::string>&) {}
void KernelInterfaceBase::deleteGeometry(type, int) {}
void KernelInterfaceBase::deleteGeometryByFamily(type, const std::string&) {}
void KernelInterfaceBase::deleteFamily(const std::string&) {}
void KernelInterfaceBase::deleteCurveIfExist(const std::string&) {}
void KernelInterfaceBase::deletePointIfExist(const std::string&) {}
TripletBase<double> KernelInterfaceBase::projectPointToCurve(const TripletBase<double>&, int) {
    return TripletBase<double>();
}
TripletBase<double> KernelInterfaceBase::projectPointToCurve(const TripletBase<double>&, int,
                                                             double&) {
    return TripletBase<double>();
}
TripletBase<double> KernelInterfaceBase::projectPointToCurve(const TripletBase<double>&,
                                                             const std::vector<int>&, double&) {
    return TripletBase<double>();
}
TripletBase<double> KernelInterfaceBase::projectPointToCurve(const TripletBase<double>&,
                                                             const std::vector<int>&, double&,
                                                             int&) {
    return TripletBase<double>();
}
TripletBase<double> KernelInterfaceBase::projectPointToCurve(const TripletBase<double>&,
                                                             const std::string&) {
    return TripletBase<double>();
}
TripletBase<double> KernelInterfaceBase::projectPointToCurve(const TripletBase<double>&,
                                                             const std::string&, double&) {
    return TripletBase<double>();
}
TripletBase<double> KernelInterfaceBase::projectPointToCurve(const TripletBase<double>&,
                                                             const std::vector<std::string>&,
                                                             double&, int&) {
    return TripletBase<double>();
}
TripletBase<double> KernelInterfaceBase::projectPointToCurve(const TripletBase<double>&,
                                                             const std::vector<std::string>&) {
    return TripletBase<double>();
}
TripletBase<float> KernelInterfaceBase::projectPointToCurve(const TripletBase<float>&,
                                                            const std::string&) {
    return TripletBase<float>();
}
TripletBase<float> KernelInterfaceBase::projectPointToCurve(const TripletBase<float>&,
                                                            const std::string&, double&) {
    return TripletBase<float>();
}
TripletBase<float> KernelInterfaceBase::projectPointToCurve(const TripletBase<float>&,
                                                            const std::string&, double&,
                                                            TripletBase<float>&) {
    return TripletBase<float>();
}
TripletBase<float> KernelInterfaceBase::projectPointToCurve(const TripletBase<float>&,
                                                            const std::vector<std::string>&) {
    return TripletBase<float>();
}
TripletBase<float> KernelInterfaceBase::projectPointToCurve(const TripletBase<float>&, int) {
    return TripletBase<float>();
}
TripletBase<float> KernelInterfaceBase::projectPointToCurve(const TripletBase<float>&, int,
                                                            double&) {
    return TripletBase<float>();
}
TripletBase<double> KernelInterfaceBase::projectPointToSurface(const TripletBase<double>&,
                                                               const std::string&) {
    return TripletBase<double>();
}
TripletBase<double> KernelInterfaceBase::projectPointToSurface(const TripletBase<double>&,
                                                               const std::vector<std::string>&) {
    return TripletBase<double>();
}
TripletBase<double> KernelInterfaceBase::projectPointToSurface(const TripletBase<double>&,
                                                               const std::vector<std::string>&,
                                                               int&, double&, double&) {
    return TripletBase<double>();
}
TripletBase<double> KernelInterfaceBase::projectPointToSurface(const TripletBase<double>&, int) {
    return TripletBase<double>();
}
TripletBase<double> KernelInterfaceBase::projectPointToSurface(const TripletBase<double>&, int,
                                                               double&, double&) {
    return TripletBase<double>();
}
void KernelInterfaceBase::projectPointToSurface(const std::vector<TripletBase<float>>&,
                                                std::vector<TripletBase<float>>&, int,
                                                std::vector<double>&, std::vector<double>&) {}
TripletBase<float> KernelInterfaceBase::projectPointToSurface(const TripletBase<float>&,
                                                              const std::string&) {
    return TripletBase<float>();
}
TripletBase<float> KernelInterfaceBase::projectPointToSurface(const TripletBase<float>&,
                                                              const std::vector<std::string>&) {
    return TripletBase<float>();
}
TripletBase<float> KernelInterfaceBase::projectPointToSurface(const TripletBase<float>&, int) {
    return TripletBase<float>();
}
TripletBase<float> KernelInterfaceBase::projectPointToSurface(const TripletBase<float>&, int,
                                                              double&, double&) {
    return TripletBase<float>();
}
TripletBase<float> KernelInterfaceBase::projectPoint(type, const std::string&,
                                                     const TripletBase<float>&,
                                                     const TripletBase<float>&) {
    return TripletBase<float>();
}
TripletBase<float> KernelInterfaceBase::projectPoint(type, const std::vector<std::string>&,
                                                     const TripletBase<float>&,
                                                     const TripletBase<float>&) {
    return TripletBase<float>();
}
TripletBase<float> KernelInterfaceBase::getSurfaceNormal(const TripletBase<float>&,
                                                         const std::string&) {
    return TripletBase<float>();
}
std::string KernelInterfaceBase::createLoftedSurface(const std::string&,
                                                     const std::vector<std::string>&, double,
                                                     const std::string&) {
    return std::string();
}
std::string KernelInterfaceBase::createLoftedSurface(
    const std::vector<std::vector<TripletBase<float>>>&, const std::string&, const std::string&,
    bool, std::vector<std::string>&, curveType, loftedSurfaceType, const std::string&) {
    return std::string();
}
std::string KernelInterfaceBase::createLoftedSurface(
    const std::vector<std::vector<TripletBase<float>>>&, const std::string&, const std::string&,
    bool, std::vector<std::string>&, curveType, loftedSurfaceType, bool, const std::string&) {
    return std::string();
}
std::string KernelInterfaceBase::createFacettedLoftedSurface(const std::string&,
                                                             const std::vector<std::string>&,
                                                             double, const std::string&) {
    return std::string();
}
void KernelInterfaceBase::readGeometryFile(const std::string&) {}
void KernelInterfaceBase::writeGeometryFile(const std::string&) {}
void KernelInterfaceBase::saveSurface(const std::string&, const std::string&) {}
void KernelInterfaceBase::saveSurfaceInParametricSpace(const std::string&, const std::string&, int,
                                                       int) {}
void KernelInterfaceBase::saveSurfacePoints(int, int, const std::vector<TripletBase<float>>&,
                                            const std::string&) {}
void KernelInterfaceBase::saveCurveCounted(const std::string&, const std::string&) {}
void KernelInterfaceBase::saveCurve(const std::string&, const std::string&) {}
void KernelInterfaceBase::deleteSurfaceIfExist(const std::string&) {}
std::string KernelInterfaceBase::loadCurveCounted(const std::string&, const std::string&,
                                                  const std::string&) {
    return std::string();
}
void KernelInterfaceBase::deleteGeometryByFamilyIter(const std::string&, bool) {}
void KernelInterfaceBase::deleteGeometryByFamilyIter(type, const std::string&, bool) {}
void KernelInterfaceBase::reverseCurve(const std::string&) {}
void KernelInterfaceBase::clearGeometry() {}
void KernelInterfaceBase::setEdgeLength(float) {}
void KernelInterfaceBase::setCurveEdgeLength(const std::string&, float) {}
void KernelInterfaceBase::setTriangulationTolerance(float) {}
float KernelInterfaceBase::getTriangulationTolerance() {
    return 0.0f;
}
void KernelInterfaceBase::extendCurve(const std::string&, float, int) {}
bool KernelInterfaceBase::checkFamilyExists(const std::string&) {
    return false;
}
std::string KernelInterfaceBase::projectCurve(const std::string&, const std::string&,
                                              const std::string&, const std::string&) {
    return std::string();
}
std::string KernelInterfaceBase::projectCurve(const std::string&, const std::string&, int, float) {
    return std::string();
}
float KernelInterfaceBase::getEdgeLength() {
    return 0.0f;
}
void KernelInterfaceBase::extendSurface(const std::string&, float, int) {}
void KernelInterfaceBase::reparameterizeCurve(const std::string&, double) {}
float KernelInterfaceBase::getCurveLength(const std::string&) {
    return 0.0f;
}
void KernelInterfaceBase::reparameterizeSurface(const std::string&, double) {}
float KernelInterfaceBase::getCurveEdgeLength(const std::string&) {
    return 0.0f;
}
std::string KernelInterfaceBase::projectCurveTwoSurfaces(const std::string&, const std::string&,
                                                         const std::string&, bool) {
    return std::string();
}
void KernelInterfaceBase::moveObjectsByRotation(type, const std::string&, const TripletBase<float>&,
                                                const TripletBase<float>&, double) {}
void KernelInterfaceBase::moveObjectsByRotation(type, const std::vector<std::string>&,
                                                const TripletBase<float>&,
                                                const TripletBase<float>&, double) {}
void KernelInterfaceBase::moveObjectsByTranslation(type, const std::string&,
                                                   const TripletBase<float>&) {}
void KernelInterfaceBase::moveObjectsByTranslation(type, const std::vector<std::string>&,
                                                   const TripletBase<float>&) {}
void KernelInterfaceBase::reverseDirection(const std::vector<std::vector<TripletBase<float>>>&,
                                           std::vector<std::vector<TripletBase<float>>>&) {}
void KernelInterfaceBase::sortPointsByNearest(std::vector<TripletBase<float>>&) {}
double KernelInterfaceBase::getParAtPointOnCurve(const TripletBase<float>&, const std::string&) {
    return 0.0;
}
double KernelInterfaceBase::getParAtPointOnCurve(const TripletBase<double>&, const std::string&) {
    return 0.0;
}
float KernelInterfaceBase::getParAtPointOnCurve(const std::string&, const std::string&) {
    return 0.0f;
}
std::string KernelInterfaceBase::getFamilyForObject(type, const std::string&) {
    return std::string();
}
void KernelInterfaceBase::getCurve(const std::string&, std::vector<TripletBase<float>>&) {}
void KernelInterfaceBase::getCurve(const std::string&, std::vector<TripletBase<double>>&) {}
void KernelInterfaceBase::getCurve(const std::string&, TripletORVVector&, IntORVVector&) {}
void KernelInterfaceBase::getCurveNames(int, const std::string&, bool, std::vector<std::string>&) {}
void KernelInterfaceBase::getCurveNames(int, const std::string&, bool, std::vector<std::string>&,
                                        std::string&, std::string&) {}
void KernelInterfaceBase::getObjectNumber(type, const std::vector<std::string>&,
                                          std::vector<int>&) {}
int KernelInterfaceBase::getObjectNumber(type, const std::string&) {
    return 0;
}
std::string KernelInterfaceBase::getObjectsByTypeInFamily(type, const std::string&) {
    return std::string();
}
std::string KernelInterfaceBase::typeString(type) {
    return std::string();
}
int KernelInterfaceBase::getFamilyCount() {
    return 0;
}
const char* KernelInterfaceBase::getFamilyName(int) {
    return nullptr;
}
int KernelInterfaceBase::getGeometryCount(type) {
    return 0;
}
const char* KernelInterfaceBase::getGeometryName(type, int) {
    return nullptr;
}
void KernelInterfaceBase::getGeometryByFamily(type, const std::string&, std::vector<std::string>&) {
}
std::string KernelInterfaceBase::getTypeString(type) {
    return std::string();
}
void KernelInterfaceBase::setFamily(type, const std::string&, const std::string&) {}
void KernelInterfaceBase::setFamily(type, const std::vector<std::string>&, const std::string&) {}
void KernelInterfaceBase::setCurveEndPointNames(const std::string&, const std::string&,
                                                const std::string&) {}
void KernelInterfaceBase::setPointLocation(const std::string&, const TripletBase<float>&) {}
std::string KernelInterfaceBase::createRuledLoftedSurface(const std::string&,
                                                          const std::vector<std::string>&, double,
                                                          const std::string&) {
    return std::string();
}
std::string KernelInterfaceBase::createSurfaceFrom2to4Curves(const std::string&,
                                                             const std::vector<std::string>&,
                                                             double, const std::string&) {
    return std::string();
}
std::string KernelInterfaceBase::createSurfaceFrom4Curves(const std::string&,
                                                          const std::vector<TripletBase<float>>&,
                                                          const std::vector<TripletBase<float>>&,
                                                          const std::vector<TripletBase<float>>&,
                                                          const std::vector<TripletBase<float>>&,
                                                          double, const std::string&) {
    return std::string();
}
std::string KernelInterfaceBase::createSurfaceOfRevolution(const std::string&, const std::string&,
                                                           const TripletBase<float>&,
                                                           const TripletBase<float>&, double,
                                                           double, const std::string&) {
    return std::string();
}
std::string KernelInterfaceBase::createSurfaceByOffset(const std::string&, float,
                                                       const std::string&, const std::string&) {
    return std::string();
}
std::string KernelInterfaceBase::duplicateObject(const std::string&, type, const std::string&) {
    return std::string();
}
void KernelInterfaceBase::getPointLocationsOnCurveAtParameter(const std::vector<double>&,
                                                              const TripletBase<double>&,
                                                              const TripletBase<double>&,
                                                              const std::string&,
                                                              std::vector<TripletBase<double>>&) {}
void KernelInterfaceBase::getPointLocationsOnCurveAtParameter(const std::vector<double>&,
                                                              const TripletBase<float>&,
                                                              const TripletBase<float>&,
                                                              const std::string&,
                                                              std::vector<TripletBase<float>>&) {}
TripletBase<float> KernelInterfaceBase::getPointOnCurvePosition(double, const std::string&) {
    return TripletBase<float>();
}
TripletBase<double> KernelInterfaceBase::getPointLocationOnCurveAtParameter(const std::string&,
                                                                            double) {
    return TripletBase<double>();
}
TripletBase<double> KernelInterfaceBase::getPointLocationOnCurveAtParameter(int, double) {
    return TripletBase<double>();
}
void KernelInterfaceBase::splitCurveAtPoint(const std::string&, const std::string&,
                                            const std::string&, const std::string&,
                                            const std::string&) {}
void KernelInterfaceBase::splitCurveAtPoint(const std::string&, const TripletBase<float>&,
                                            const std::string&, const std::string&,
                                            const std::string&) {}
void KernelInterfaceBase::splitCurveAtPoint(const std::string&, const TripletBase<float>&,
                                            const TripletBase<float>&, const std::string&,
                                            const std::string&) {}
double KernelInterfaceBase::getDistanceFromSurface(const std::string&, const TripletBase<float>&) {
    return 0.0;
}
TripletBase<double> KernelInterfaceBase::getPointOnSurfacePosition(double, double,
                                                                   const std::string&) {
    return TripletBase<double>();
}
void KernelInterfaceBase::trimSurface(const std::string&, const std::string&, const std::string&,
                                      const std::string&) {}
std::pair<TripletBase<float>, TripletBase<float>>
KernelInterfaceBase::getUnstructuredEndPoints(const std::string&) {
    return std::pair<TripletBase<float>, TripletBase<float>>(TripletBase<float>(),
                                                             TripletBase<float>());
}
void KernelInterfaceBase::trimSurfaceByCurve(const std::string&, const std::string&,
                                             const TripletBase<float>&, bool, bool, bool) {}
std::string KernelInterfaceBase::createParametricExtendedLoftedSurface(
    const std::vector<std::vector<TripletBase<float>>>&, std::string&, const std::string&,
    const std::string&, bool, std::vector<std::string>&, std::string&, std::string&, bool,
    curveType, loftedSurfaceType, surfaceExtensionMethod, float, bool, const std::string&) {
    return std::string();
}
std::string KernelInterfaceBase::createParametricExtendedLoftedSurfaceStreamWise(
    const std::vector<std::vector<TripletBase<float>>>&, std::string&, const std::string&,
    const std::string&, bool, std::vector<std::string>&, std::string&, std::string&, curveType,
    loftedSurfaceType, surfaceExtensionMethod, float, const std::string&) {
    return std::string();
}
bool KernelInterfaceBase::surfacesIntersect(const std::string&, const std::string&) {
    return false;
}
void KernelInterfaceBase::intersectCurves(const TripletBase<double>&, TripletBase<double>&, int,
                                          bool, const std::string&, const std::string&) {}
std::string KernelInterfaceBase::renameObject(type, const std::string&, const std::string&) {
    return std::string();
}
void KernelInterfaceBase::drawCurve(const std::string&, Geometry&) {}
void KernelInterfaceBase::drawPoint(const std::string&, Geometry&) {}
void KernelInterfaceBase::setProjectionType(projectionType, int) {}
void KernelInterfaceBase::setProjectionType(projectionType) {}
KernelInterfaceBase::projectionType KernelInterfaceBase::getProjectionType() {
    return projectionNearest;
}
KernelInterfaceBase::projectionType KernelInterfaceBase::getProjectionType(int&) {
    return projectionNearest;
}
void KernelInterfaceBase::drawSurface(const std::string&, Geometry&) {}
int KernelInterfaceBase::getGeometryFamily(type, int) {
    return 0;
}
double KernelInterfaceBase::getTolerance() {
    return 0.0;
}
void KernelInterfaceBase::setTolerance(double) {}
void KernelInterfaceBase::printDatabaseState() {}

} // namespace orv
