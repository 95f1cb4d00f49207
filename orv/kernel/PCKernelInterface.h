#ifndef ORV_KERNEL_PCKERNELINTERFACE_H
#define ORV_KERNEL_PCKERNELINTERFACE_H

#include "orv/foundation/Export.h"
#include "orv/kernel/KernelInterfaceBase.h"
#include "orv/kernel/NonCopyable.h"
#include "orv/platform/ParametricDB.h"

#include <string>
#include <vector>

namespace orv {

// The library's own kernel: keeps polyline curves in a ParametricDB and implements the curve subset
// of KernelInterfaceBase (make a linear curve through points, evaluate it at parameters, project
// points onto it, delete and save curves, print the store). Every other operation keeps the
// default of KernelInterfaceBase. Curves are polylines parametrised by normalised arc length, 0 at
// the first point and 1 at the last; their points are held in double precision.
//
// A process-wide singleton: the first instance() makes the kernel and registers it as the current
// kernel; it lives until the process ends. Refusals of the database (a curve name it does not hold
// is refused with data::invalid ("ParametricDB", <operation>, "Curve '<name>' does not exist."))
// pass through unchanged.
class ORV_API PCKernelInterface : public KernelInterfaceBase,
                                  private NonCopyable<PCKernelInterface> {
public:
    // The kernel, made and registered by the first call. When another kernel is already
    // registered, that first call keeps the new kernel and then throws the second-registration
    // error of KernelInterfaceBase::registerInstance; later calls return the kept kernel without
    // registering it and without error.
    static PCKernelInterface* instance();

    // Destroys the database; clears no registration.
    ~PCKernelInterface() override;

    // The overloads this kernel does not override keep the defaults of the base.
    using KernelInterfaceBase::createLinearBSplineLine;
    using KernelInterfaceBase::getPointLocationOnCurveAtParameter;
    using KernelInterfaceBase::getPointLocationsOnCurveAtParameter;
    using KernelInterfaceBase::projectPointToCurve;

    // Stores a linear curve (database kind 2) named `name` through `points` and returns a copy of
    // `name`; `family` is not used. A curve the database already holds under that name is
    // replaced. Refuses fewer than two points with data::error ("PCKernelInterface",
    // "createLinearBSplineLine", "BSpline must have at least two points."), before the database
    // is called.
    std::string createLinearBSplineLine(const std::string& name,
                                        const std::vector<TripletBase<float>>& points,
                                        const std::string& family) override;

    // The nearest point of the curve to `point`; `parameter` receives its normalised arc-length
    // parameter.
    TripletBase<double> projectPointToCurve(const TripletBase<double>& point,
                                            const std::string& curve, double& parameter) override;

    // The nearest point of the one curve named in `curves`. Refuses two or more names with
    // internal::error ("PCKernelInterface", "projectPointToCurve",
    // "Can not handle projection to two curves.") and an empty list with data::error
    // ("PCKernelInterface", "projectPointToCurve", "Can not project to a curve: no curve name
    // given.").
    TripletBase<double> projectPointToCurve(const TripletBase<double>& point,
                                            const std::vector<std::string>& curves) override;

    // The point of the curve at normalised arc-length parameter `parameter` (below 0 gives the
    // first point, above 1 the last; NaN is refused by the database).
    TripletBase<double> getPointLocationOnCurveAtParameter(const std::string& curve,
                                                           double parameter) override;

    // Fills `points` (resized) with points on the stretch of the curve between the projections of
    // `first` (parameter 0) and `second` (parameter 1); see
    // ParametricDB::getPointLocationsOnCurveAtParameter.
    void getPointLocationsOnCurveAtParameter(const std::vector<double>& parameters,
                                             const TripletBase<double>& first,
                                             const TripletBase<double>& second,
                                             const std::string& curve,
                                             std::vector<TripletBase<double>>& points) override;

    // Writes the curve `curve` to the file `fileName` as a plain text point file
    // (ParametricDB::exportToFile).
    void saveCurve(const std::string& curve, const std::string& fileName) override;

    // Removes the named curve; an absent name is ignored.
    void deleteCurveIfExist(const std::string& name) override;

    // Removes every curve.
    void clearGeometry() override;

    // Writes the database's curves to the standard output (ParametricDB::printDatabaseState).
    void printDatabaseState() override;

private:
    PCKernelInterface();

    ParametricDB m_database;

    static PCKernelInterface* m_instance;
};

} // namespace orv

#endif
