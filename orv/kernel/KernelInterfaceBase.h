#ifndef ORV_KERNEL_KERNELINTERFACEBASE_H
#define ORV_KERNEL_KERNELINTERFACEBASE_H

#include "orv/foundation/Export.h"
#include "orv/foundation/TripletBase.h"
#include "orv/kernel/NonCopyable.h"
#include "orv/platform/Geometry.h"
#include "orv/platform/IntORVVector.h"
#include "orv/platform/TripletORVVector.h"

#include <string>
#include <utility>
#include <vector>

// Overload groups. The Itanium C++ ABI (GCC, Clang, MinGW) gives the virtual operations slots in
// the order of declaration. The Microsoft ABI (MSVC, clang-cl) gathers all overloads of one name at
// the place of the first one declared and gives them slots in reverse order of declaration. Each
// group of overloads below is written once, in slot order, as ORV_OVERLOADS_n((declaration), ...):
// under the Microsoft ABI (ORV_MICROSOFT_ABI, orv/foundation/Export.h) the macro declares the
// group in reverse, elsewhere as written, so that both ABIs give the slot order of the comments.
// The macros are undefined at the end of the header.
#define ORV_UNPAREN(...) __VA_ARGS__
#if ORV_MICROSOFT_ABI
#define ORV_OVERLOADS_2(a, b) ORV_UNPAREN b ORV_UNPAREN a
#define ORV_OVERLOADS_3(a, b, c) ORV_UNPAREN c ORV_UNPAREN b ORV_UNPAREN a
#define ORV_OVERLOADS_10(a, b, c, d, e, f, g, h, i, j)                                             \
    ORV_UNPAREN j ORV_UNPAREN i ORV_UNPAREN h ORV_UNPAREN g ORV_UNPAREN f ORV_UNPAREN e            \
        ORV_UNPAREN d ORV_UNPAREN c ORV_UNPAREN b ORV_UNPAREN a
#define ORV_OVERLOADS_14(a, b, c, d, e, f, g, h, i, j, k, l, m, n)                                 \
    ORV_UNPAREN n ORV_UNPAREN m ORV_UNPAREN l ORV_UNPAREN k ORV_UNPAREN j ORV_UNPAREN i            \
        ORV_UNPAREN h ORV_UNPAREN g ORV_UNPAREN f ORV_UNPAREN e ORV_UNPAREN d ORV_UNPAREN c        \
            ORV_UNPAREN b ORV_UNPAREN a
#else
#define ORV_OVERLOADS_2(a, b) ORV_UNPAREN a ORV_UNPAREN b
#define ORV_OVERLOADS_3(a, b, c) ORV_UNPAREN a ORV_UNPAREN b ORV_UNPAREN c
#define ORV_OVERLOADS_10(a, b, c, d, e, f, g, h, i, j)                                             \
    ORV_UNPAREN a ORV_UNPAREN b ORV_UNPAREN c ORV_UNPAREN d ORV_UNPAREN e ORV_UNPAREN f            \
        ORV_UNPAREN g ORV_UNPAREN h ORV_UNPAREN i ORV_UNPAREN j
#define ORV_OVERLOADS_14(a, b, c, d, e, f, g, h, i, j, k, l, m, n)                                 \
    ORV_UNPAREN a ORV_UNPAREN b ORV_UNPAREN c ORV_UNPAREN d ORV_UNPAREN e ORV_UNPAREN f            \
        ORV_UNPAREN g ORV_UNPAREN h ORV_UNPAREN i ORV_UNPAREN j ORV_UNPAREN k ORV_UNPAREN l        \
            ORV_UNPAREN m ORV_UNPAREN n
#endif

namespace orv {

// The abstract face of a geometry kernel: a store of named points, curves, surfaces and loops
// grouped into families, with operations that create, project, query, delete, modify, save and
// draw them, and the kernel's tolerance and projection settings.
//
// Every operation has a harmless default, so that a kernel derived from this class overrides only
// what it supports. The defaults: text results are empty, bool false, int, projectionType and
// `const char*` 0 or null, float and double 0, a triplet (0, 0, 0) (a defined point, not the
// undefined marker), a pair of floats (0, 0), a pair of triplets two zero triplets; void operations
// do nothing. No default touches an out-parameter: a filled reference or list keeps what the
// caller put in it. Objects are identified by text names; an operation that makes an object
// returns its name.
//
// One kernel per process is the registered one (registerInstance); everything else, such as
// KernelSettingsGuard, reaches it through instance(). The registration is a plain pointer, written
// once and never reset; nothing here serialises calls into the kernel, so callers on several
// threads do. Kernels cannot be copied or assigned.
//
// Virtual-table order. A host compiled against this interface calls the virtual operations by
// their position in the virtual table: the virtual destructor comes first, then the 168 operations
// in exactly the order written below (the slot comments count the operations from 1), under the
// Itanium and the Microsoft C++ ABI alike (see the overload groups above). Overloads of one name
// stand side by side. Never insert, remove or reorder a virtual operation; a kernel that needs
// more adds its own virtual operations in the derived class.
class ORV_API KernelInterfaceBase : private NonCopyable<KernelInterfaceBase> {
public:
    // The kind of object an operation addresses.
    enum type { typePoint = 0, typeCurve = 1, typeSurface = 2, typeLoop = 3 };
    // The kernel's projection mode, read and written together with an integer parameter.
    enum projectionType {
        projectionNearest = 0,
        projectionAlongNormal = 1,
        projectionAlongDirection = 2
    };
    // Options of the lofted-surface operations.
    enum curveType { curveTypeLinear = 0, curveTypeBSpline = 1 };
    enum loftedSurfaceType {
        loftedSurfaceSmooth = 0,
        loftedSurfaceRuled = 1,
        loftedSurfaceFacetted = 2
    };
    enum surfaceExtensionMethod {
        surfaceExtensionNone = 0,
        surfaceExtensionLinear = 1,
        surfaceExtensionNatural = 2
    };

    // Does not touch the registration.
    virtual ~KernelInterfaceBase();

    // The registered kernel. Refuses, when none is registered, with internal::error
    // ("KernelInterfaceBase", "instance",
    // "KernelInterfaceBase::instance called before instance has been registered.").
    static KernelInterfaceBase* instance();

    // Registers `kernel` (the argument, not the object called) as the process's kernel. Refuses,
    // when one is already registered, with internal::error ("KernelInterfaceBase",
    // "registerInstance", "KernelInterfaceBase::registerInstance second time."); the first kernel
    // stays registered. Registering nullptr stores null: no kernel counts as registered and a later
    // registration succeeds. The registered kernel must live until the process ends.
    void registerInstance(KernelInterfaceBase* kernel);

    // Slots 1-10: points, lines and arcs.
    ORV_OVERLOADS_2((virtual std::string createPoint(const std::string& name,
                                                     const TripletBase<float>& location,
                                                     const std::string& family);),
                    (virtual std::string createPoint(const std::string& name,
                                                     const TripletBase<double>& location,
                                                     const std::string& family);))
    virtual std::string createPointOnCurve(const std::string& name, const std::string& curve,
                                           double parameter, const std::string& family);
    virtual std::string createPointOnSurface(const std::string& name, const std::string& surface,
                                             double u, double v, const std::string& family);
    virtual std::string createLine(const std::string& name, const TripletBase<float>& start,
                                   const TripletBase<float>& end, const std::string& family);
    virtual std::string createUnstructuredLine(const std::string& name,
                                               const std::vector<TripletBase<float>>& points,
                                               const std::string& family);
    virtual std::string createArcAboutAxis(const std::string& name,
                                           const TripletBase<float>& axisPoint,
                                           const TripletBase<float>& axisDirection,
                                           const TripletBase<float>& start, double startAngle,
                                           double endAngle, const std::string& family);
    virtual std::string createArcFrom3Points(const std::string& name,
                                             const TripletBase<float>& first,
                                             const TripletBase<float>& second,
                                             const TripletBase<float>& third,
                                             const std::string& family);
    virtual TripletBase<double> getPointLocation(const std::string& name);
    virtual void createLoop(const std::string& name, const std::vector<std::string>& curves,
                            const std::string& family);

    // Slots 11-13: existence of objects; the list form fills one flag per name.
    ORV_OVERLOADS_3(
        (virtual void checkObjectExists(type objectType, const std::vector<std::string>& names,
                                        std::vector<short>& exists);),
        (virtual bool checkObjectExists(type objectType, const std::string& name);),
        (virtual bool checkObjectExists(type objectType, const std::vector<std::string>& names);))

    // Slots 14-33: curves and surfaces from points and other curves.
    ORV_OVERLOADS_3(
        (virtual std::string createBSplineLine(const std::string& name,
                                               const std::vector<TripletBase<float>>& points,
                                               const std::string& family);),
        (virtual std::string createBSplineLine(
             const std::string& name, const std::vector<TripletBase<float>>& points, int order,
             int controlPointCount, const TripletBase<float>& startTangent,
             const TripletBase<float>& endTangent, int startCondition, int endCondition,
             const std::string& family);),
        (virtual std::string createBSplineLine(const std::string& name,
                                               const std::vector<TripletBase<double>>& points,
                                               const std::string& family);))
    virtual std::string createBSplineLineCons(const std::string& name,
                                              const std::vector<TripletBase<float>>& points,
                                              const std::string& family);
    virtual std::string createProjectedCurve(const std::string& name,
                                             const std::vector<TripletBase<float>>& points,
                                             const std::string& surface, const std::string& family);
    virtual std::string createCurveBySurfaceIntersection(const std::string& name,
                                                         const std::string& firstSurface,
                                                         const std::string& secondSurface,
                                                         const std::string& family);
    ORV_OVERLOADS_3(
        (virtual std::string createLinearBSplineLine(const std::string& name,
                                                     const TripletBase<double>& start,
                                                     const TripletBase<double>& end,
                                                     const std::string& family);),
        (virtual std::string createLinearBSplineLine(const std::string& name,
                                                     const std::vector<TripletBase<float>>& points,
                                                     const std::string& family);),
        (virtual std::string createLinearBSplineLine(const std::string& name,
                                                     const std::vector<TripletBase<double>>& points,
                                                     const std::string& family);))
    virtual std::string
    createLinearBSplineLineUnstructured(const std::string& name,
                                        const std::vector<TripletBase<float>>& points,
                                        const std::string& family);
    virtual std::string createUnstructuredCurveBySurfaceIntersection(
        const std::string& name, const std::string& firstSurface, const std::string& secondSurface,
        const std::string& family);
    virtual std::string concatenateCurves(const std::string& name,
                                          const std::vector<std::string>& curves,
                                          const std::string& family);
    ORV_OVERLOADS_2(
        (virtual std::string concatenateUnstructuredCurves(const std::string& name,
                                                           const std::vector<std::string>& curves,
                                                           const std::string& family, int option);),
        (virtual std::string concatenateUnstructuredCurves(const std::string& name,
                                                           const std::vector<std::string>& curves,
                                                           std::vector<TripletBase<float>>* points,
                                                           const std::string& family, int option);))
    virtual void createSurfaceEdges(const std::string& surface, std::vector<std::string>& edges);
    virtual std::string convertCurveUnstructuredToBspline(const std::string& name,
                                                          const std::string& curve,
                                                          const std::string& family);
    ORV_OVERLOADS_2((virtual std::string simplifyCurve(const std::string& name,
                                                       const std::string& curve, bool keepEnds);),
                    (virtual std::string simplifyCurve(const std::string& name,
                                                       std::vector<TripletBase<float>>& points,
                                                       const std::string& curve, bool keepEnds);))
    virtual std::string createBSplineSurface(const std::string& name, int uCount, int vCount,
                                             const std::vector<TripletBase<float>>& points,
                                             const std::string& family);
    virtual void createBarsFromVertexLocations(const std::vector<TripletBase<float>>& vertices,
                                               const std::string& family);

    // Slots 34-35: surface parameters (u, v) nearest to a point.
    ORV_OVERLOADS_2((virtual std::pair<float, float> getNearestUV(const TripletBase<float>& point,
                                                                  const std::string& surface);),
                    (virtual std::pair<float, float> getNearestUV(const std::string& point,
                                                                  const std::string& surface);))

    // Slots 36-45: mesh elements at vertices, deletion.
    virtual void createNodesAtVertexLocations(const std::vector<TripletBase<float>>& vertices,
                                              const std::string& family);
    virtual void createQuadsFromVertexLocations(const std::vector<TripletBase<float>>& vertices,
                                                const std::string& family);
    virtual void deleteAllGeometry(type objectType);
    ORV_OVERLOADS_3((virtual void deleteGeometry(type objectType, const std::string& name);),
                    (virtual void deleteGeometry(type objectType,
                                                 const std::vector<std::string>& names);),
                    (virtual void deleteGeometry(type objectType, int index);))
    virtual void deleteGeometryByFamily(type objectType, const std::string& family);
    virtual void deleteFamily(const std::string& family);
    virtual void deleteCurveIfExist(const std::string& name);
    virtual void deletePointIfExist(const std::string& name);

    // Slots 46-59: projection of a point onto curves, named or by index; `parameter` receives the
    // curve parameter of the projection and `curveIndex` the curve chosen from a list.
    ORV_OVERLOADS_14(
        (virtual TripletBase<double> projectPointToCurve(const TripletBase<double>& point,
                                                         int curve);),
        (virtual TripletBase<double> projectPointToCurve(const TripletBase<double>& point,
                                                         int curve, double& parameter);),
        (virtual TripletBase<double> projectPointToCurve(const TripletBase<double>& point,
                                                         const std::vector<int>& curves,
                                                         double& parameter);),
        (virtual TripletBase<double> projectPointToCurve(const TripletBase<double>& point,
                                                         const std::vector<int>& curves,
                                                         double& parameter, int& curveIndex);),
        (virtual TripletBase<double> projectPointToCurve(const TripletBase<double>& point,
                                                         const std::string& curve);),
        (virtual TripletBase<double> projectPointToCurve(const TripletBase<double>& point,
                                                         const std::string& curve,
                                                         double& parameter);),
        (virtual TripletBase<double> projectPointToCurve(const TripletBase<double>& point,
                                                         const std::vector<std::string>& curves,
                                                         double& parameter, int& curveIndex);),
        (virtual TripletBase<double> projectPointToCurve(const TripletBase<double>& point,
                                                         const std::vector<std::string>& curves);),
        (virtual TripletBase<float> projectPointToCurve(const TripletBase<float>& point,
                                                        const std::string& curve);),
        (virtual TripletBase<float> projectPointToCurve(const TripletBase<float>& point,
                                                        const std::string& curve,
                                                        double& parameter);),
        (virtual TripletBase<float> projectPointToCurve(const TripletBase<float>& point,
                                                        const std::string& curve, double& parameter,
                                                        TripletBase<float>& tangent);),
        (virtual TripletBase<float> projectPointToCurve(const TripletBase<float>& point,
                                                        const std::vector<std::string>& curves);),
        (virtual TripletBase<float> projectPointToCurve(const TripletBase<float>& point,
                                                        int curve);),
        (virtual TripletBase<float> projectPointToCurve(const TripletBase<float>& point, int curve,
                                                        double& parameter);))

    // Slots 60-72: projection onto surfaces, and along a direction onto objects of a type.
    ORV_OVERLOADS_10(
        (virtual TripletBase<double> projectPointToSurface(const TripletBase<double>& point,
                                                           const std::string& surface);),
        (virtual TripletBase<double> projectPointToSurface(
             const TripletBase<double>& point, const std::vector<std::string>& surfaces);),
        (virtual TripletBase<double> projectPointToSurface(const TripletBase<double>& point,
                                                           const std::vector<std::string>& surfaces,
                                                           int& surfaceIndex, double& u,
                                                           double& v);),
        (virtual TripletBase<double> projectPointToSurface(const TripletBase<double>& point,
                                                           int surface);),
        (virtual TripletBase<double> projectPointToSurface(const TripletBase<double>& point,
                                                           int surface, double& u, double& v);),
        (virtual void projectPointToSurface(const std::vector<TripletBase<float>>& points,
                                            std::vector<TripletBase<float>>& projected, int surface,
                                            std::vector<double>& u, std::vector<double>& v);),
        (virtual TripletBase<float> projectPointToSurface(const TripletBase<float>& point,
                                                          const std::string& surface);),
        (virtual TripletBase<float> projectPointToSurface(
             const TripletBase<float>& point, const std::vector<std::string>& surfaces);),
        (virtual TripletBase<float> projectPointToSurface(const TripletBase<float>& point,
                                                          int surface);),
        (virtual TripletBase<float> projectPointToSurface(const TripletBase<float>& point,
                                                          int surface, double& u, double& v);))
    ORV_OVERLOADS_2((virtual TripletBase<float> projectPoint(type objectType,
                                                             const std::string& name,
                                                             const TripletBase<float>& point,
                                                             const TripletBase<float>& direction);),
                    (virtual TripletBase<float> projectPoint(type objectType,
                                                             const std::vector<std::string>& names,
                                                             const TripletBase<float>& point,
                                                             const TripletBase<float>& direction);))
    virtual TripletBase<float> getSurfaceNormal(const TripletBase<float>& point,
                                                const std::string& surface);

    // Slots 73-93: lofted surfaces, files, deletion, edge lengths and the triangulation tolerance.
    ORV_OVERLOADS_3(
        (virtual std::string createLoftedSurface(const std::string& name,
                                                 const std::vector<std::string>& curves,
                                                 double tolerance, const std::string& family);),
        (virtual std::string createLoftedSurface(
             const std::vector<std::vector<TripletBase<float>>>& sections, const std::string& name,
             const std::string& family, bool closed, std::vector<std::string>& curves,
             curveType sectionCurveType, loftedSurfaceType surfaceType,
             const std::string& options);),
        (virtual std::string createLoftedSurface(
             const std::vector<std::vector<TripletBase<float>>>& sections, const std::string& name,
             const std::string& family, bool closed, std::vector<std::string>& curves,
             curveType sectionCurveType, loftedSurfaceType surfaceType, bool keepCurves,
             const std::string& options);))
    virtual std::string createFacettedLoftedSurface(const std::string& name,
                                                    const std::vector<std::string>& curves,
                                                    double tolerance, const std::string& family);
    virtual void readGeometryFile(const std::string& fileName);
    virtual void writeGeometryFile(const std::string& fileName);
    virtual void saveSurface(const std::string& surface, const std::string& fileName);
    virtual void saveSurfaceInParametricSpace(const std::string& surface,
                                              const std::string& fileName, int uCount, int vCount);
    virtual void saveSurfacePoints(int uCount, int vCount,
                                   const std::vector<TripletBase<float>>& points,
                                   const std::string& fileName);
    virtual void saveCurveCounted(const std::string& curve, const std::string& fileName);
    virtual void saveCurve(const std::string& curve, const std::string& fileName);
    virtual void deleteSurfaceIfExist(const std::string& name);
    virtual std::string loadCurveCounted(const std::string& name, const std::string& fileName,
                                         const std::string& family);
    ORV_OVERLOADS_2(
        (virtual void deleteGeometryByFamilyIter(const std::string& family, bool recursive);),
        (virtual void deleteGeometryByFamilyIter(type objectType, const std::string& family,
                                                 bool recursive);))
    virtual void reverseCurve(const std::string& name);
    virtual void clearGeometry();
    virtual void setEdgeLength(float length);
    virtual void setCurveEdgeLength(const std::string& curve, float length);
    virtual void setTriangulationTolerance(float tolerance);
    virtual float getTriangulationTolerance();

    // Slots 94-113: curve and surface edits, lengths and curve parameters.
    virtual void extendCurve(const std::string& curve, float length, int end);
    virtual bool checkFamilyExists(const std::string& family);
    ORV_OVERLOADS_2(
        (virtual std::string projectCurve(const std::string& name, const std::string& curve,
                                          const std::string& surface, const std::string& family);),
        (virtual std::string projectCurve(const std::string& name, const std::string& curve,
                                          int surface, float tolerance);))
    virtual float getEdgeLength();
    virtual void extendSurface(const std::string& surface, float length, int side);
    virtual void reparameterizeCurve(const std::string& curve, double tolerance);
    virtual float getCurveLength(const std::string& curve);
    virtual void reparameterizeSurface(const std::string& surface, double tolerance);
    virtual float getCurveEdgeLength(const std::string& curve);
    virtual std::string projectCurveTwoSurfaces(const std::string& curve,
                                                const std::string& firstSurface,
                                                const std::string& secondSurface,
                                                bool keepOriginal);
    ORV_OVERLOADS_2((virtual void moveObjectsByRotation(type objectType, const std::string& name,
                                                        const TripletBase<float>& axisPoint,
                                                        const TripletBase<float>& axisDirection,
                                                        double angle);),
                    (virtual void moveObjectsByRotation(type objectType,
                                                        const std::vector<std::string>& names,
                                                        const TripletBase<float>& axisPoint,
                                                        const TripletBase<float>& axisDirection,
                                                        double angle);))
    ORV_OVERLOADS_2((virtual void moveObjectsByTranslation(type objectType, const std::string& name,
                                                           const TripletBase<float>& offset);),
                    (virtual void moveObjectsByTranslation(type objectType,
                                                           const std::vector<std::string>& names,
                                                           const TripletBase<float>& offset);))
    virtual void reverseDirection(const std::vector<std::vector<TripletBase<float>>>& sections,
                                  std::vector<std::vector<TripletBase<float>>>& reversed);
    virtual void sortPointsByNearest(std::vector<TripletBase<float>>& points);
    ORV_OVERLOADS_3((virtual double getParAtPointOnCurve(const TripletBase<float>& point,
                                                         const std::string& curve);),
                    (virtual double getParAtPointOnCurve(const TripletBase<double>& point,
                                                         const std::string& curve);),
                    (virtual float getParAtPointOnCurve(const std::string& point,
                                                        const std::string& curve);))

    // Slots 114-139: queries by name, type and family; more surfaces.
    virtual std::string getFamilyForObject(type objectType, const std::string& name);
    ORV_OVERLOADS_3(
        (virtual void getCurve(const std::string& name, std::vector<TripletBase<float>>& points);),
        (virtual void getCurve(const std::string& name, std::vector<TripletBase<double>>& points);),
        (virtual void getCurve(const std::string& name, TripletORVVector& points,
                               IntORVVector& indices);))
    ORV_OVERLOADS_2((virtual void getCurveNames(int index, const std::string& family,
                                                bool recursive, std::vector<std::string>& names);),
                    (virtual void getCurveNames(int index, const std::string& family,
                                                bool recursive, std::vector<std::string>& names,
                                                std::string& startPoint, std::string& endPoint);))
    ORV_OVERLOADS_2((virtual void getObjectNumber(type objectType,
                                                  const std::vector<std::string>& names,
                                                  std::vector<int>& numbers);),
                    (virtual int getObjectNumber(type objectType, const std::string& name);))
    virtual std::string getObjectsByTypeInFamily(type objectType, const std::string& family);
    virtual std::string typeString(type objectType);
    virtual int getFamilyCount();
    virtual const char* getFamilyName(int index);
    virtual int getGeometryCount(type objectType);
    virtual const char* getGeometryName(type objectType, int index);
    virtual void getGeometryByFamily(type objectType, const std::string& family,
                                     std::vector<std::string>& names);
    virtual std::string getTypeString(type objectType);
    ORV_OVERLOADS_2((virtual void setFamily(type objectType, const std::string& name,
                                            const std::string& family);),
                    (virtual void setFamily(type objectType, const std::vector<std::string>& names,
                                            const std::string& family);))
    virtual void setCurveEndPointNames(const std::string& curve, const std::string& startPoint,
                                       const std::string& endPoint);
    virtual void setPointLocation(const std::string& name, const TripletBase<float>& location);
    virtual std::string createRuledLoftedSurface(const std::string& name,
                                                 const std::vector<std::string>& curves,
                                                 double tolerance, const std::string& family);
    virtual std::string createSurfaceFrom2to4Curves(const std::string& name,
                                                    const std::vector<std::string>& curves,
                                                    double tolerance, const std::string& family);
    virtual std::string createSurfaceFrom4Curves(const std::string& name,
                                                 const std::vector<TripletBase<float>>& first,
                                                 const std::vector<TripletBase<float>>& second,
                                                 const std::vector<TripletBase<float>>& third,
                                                 const std::vector<TripletBase<float>>& fourth,
                                                 double tolerance, const std::string& family);
    virtual std::string createSurfaceOfRevolution(const std::string& name, const std::string& curve,
                                                  const TripletBase<float>& axisPoint,
                                                  const TripletBase<float>& axisDirection,
                                                  double startAngle, double endAngle,
                                                  const std::string& family);
    virtual std::string createSurfaceByOffset(const std::string& name, float offset,
                                              const std::string& surface,
                                              const std::string& family);
    virtual std::string duplicateObject(const std::string& name, type objectType,
                                        const std::string& newName);

    // Slots 140-144: points of a curve at parameters. `points` is filled with one point per
    // parameter.
    ORV_OVERLOADS_2((virtual void getPointLocationsOnCurveAtParameter(
                         const std::vector<double>& parameters, const TripletBase<double>& first,
                         const TripletBase<double>& second, const std::string& curve,
                         std::vector<TripletBase<double>>& points);),
                    (virtual void getPointLocationsOnCurveAtParameter(
                         const std::vector<double>& parameters, const TripletBase<float>& first,
                         const TripletBase<float>& second, const std::string& curve,
                         std::vector<TripletBase<float>>& points);))
    virtual TripletBase<float> getPointOnCurvePosition(double parameter, const std::string& curve);
    ORV_OVERLOADS_2(
        (virtual TripletBase<double> getPointLocationOnCurveAtParameter(const std::string& curve,
                                                                        double parameter);),
        (virtual TripletBase<double> getPointLocationOnCurveAtParameter(int curve,
                                                                        double parameter);))

    // Slots 145-157: splitting, trimming, surface positions, intersections.
    ORV_OVERLOADS_3(
        (virtual void splitCurveAtPoint(const std::string& curve, const std::string& point,
                                        const std::string& firstName, const std::string& secondName,
                                        const std::string& family);),
        (virtual void splitCurveAtPoint(const std::string& curve, const TripletBase<float>& point,
                                        const std::string& firstName, const std::string& secondName,
                                        const std::string& family);),
        (virtual void splitCurveAtPoint(const std::string& curve, const TripletBase<float>& first,
                                        const TripletBase<float>& second,
                                        const std::string& firstName,
                                        const std::string& secondName);))
    virtual double getDistanceFromSurface(const std::string& surface,
                                          const TripletBase<float>& point);
    virtual TripletBase<double> getPointOnSurfacePosition(double u, double v,
                                                          const std::string& surface);
    virtual void trimSurface(const std::string& surface, const std::string& curve,
                             const std::string& name, const std::string& family);
    virtual std::pair<TripletBase<float>, TripletBase<float>>
    getUnstructuredEndPoints(const std::string& curve);
    virtual void trimSurfaceByCurve(const std::string& surface, const std::string& curve,
                                    const TripletBase<float>& keepPoint, bool keepInside,
                                    bool replace, bool extend);
    virtual std::string createParametricExtendedLoftedSurface(
        const std::vector<std::vector<TripletBase<float>>>& sections, std::string& name,
        const std::string& family, const std::string& options, bool closed,
        std::vector<std::string>& curves, std::string& startCurve, std::string& endCurve,
        bool keepCurves, curveType sectionCurveType, loftedSurfaceType surfaceType,
        surfaceExtensionMethod extension, float extensionLength, bool extendBothEnds,
        const std::string& suffix);
    virtual std::string createParametricExtendedLoftedSurfaceStreamWise(
        const std::vector<std::vector<TripletBase<float>>>& sections, std::string& name,
        const std::string& family, const std::string& options, bool closed,
        std::vector<std::string>& curves, std::string& startCurve, std::string& endCurve,
        curveType sectionCurveType, loftedSurfaceType surfaceType, surfaceExtensionMethod extension,
        float extensionLength, const std::string& suffix);
    virtual bool surfacesIntersect(const std::string& firstSurface,
                                   const std::string& secondSurface);
    virtual void intersectCurves(const TripletBase<double>& point,
                                 TripletBase<double>& intersection, int mode, bool extend,
                                 const std::string& firstCurve, const std::string& secondCurve);
    virtual std::string renameObject(type objectType, const std::string& name,
                                     const std::string& newName);

    // Slots 158-165: drawing and the projection mode.
    virtual void drawCurve(const std::string& name, Geometry& geometry);
    virtual void drawPoint(const std::string& name, Geometry& geometry);
    ORV_OVERLOADS_2((virtual void setProjectionType(projectionType mode, int parameter);),
                    (virtual void setProjectionType(projectionType mode);))
    ORV_OVERLOADS_2((virtual projectionType getProjectionType();),
                    (virtual projectionType getProjectionType(int& parameter);))
    virtual void drawSurface(const std::string& name, Geometry& geometry);
    virtual int getGeometryFamily(type objectType, int index);

    // Slots 166-168: the tolerance and the state report.
    virtual double getTolerance();
    virtual void setTolerance(double tolerance);
    virtual void printDatabaseState();

protected:
    KernelInterfaceBase();

private:
    static KernelInterfaceBase* m_instance;
};

} // namespace orv

#undef ORV_UNPAREN
#undef ORV_OVERLOADS_2
#undef ORV_OVERLOADS_3
#undef ORV_OVERLOADS_10
#undef ORV_OVERLOADS_14

#endif
