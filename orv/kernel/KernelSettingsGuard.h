#ifndef ORV_KERNEL_KERNELSETTINGSGUARD_H
#define ORV_KERNEL_KERNELSETTINGSGUARD_H

#include "orv/foundation/Export.h"
#include "orv/kernel/KernelInterfaceBase.h"

#include <vector>

namespace orv {

// Changes the registered kernel's projection type, triangulation tolerance and tolerance for a
// scope and puts them back. On construction it records the kernel's projection type with its
// integer parameter, triangulation tolerance and tolerance; on destruction it restores them.
//
// The guard holds no pointer to the kernel: every operation fetches it anew through
// KernelInterfaceBase::instance(), so constructing a guard with no kernel registered fails with
// that operation's error. Triangulation-tolerance changes go onto a stack whose bottom entry is the
// recorded value and whose top entry is the value currently set in the kernel; the stack never
// empties.
//
// Refinements and the pitch must be at least 1e-5: a float argument is widened to double and
// compared with 1e-5 (so 9.999999747378752e-06f is refused and 1.0000000656873453e-05f accepted);
// NaN is refused as well. Refusals throw internal::error with class label "KernelSettingsGuard"
// before anything is changed: neither the kernel nor the guard changes.
//
// A copy records the same values and restores them a second time when it is destroyed.
class ORV_API KernelSettingsGuard {
public:
    // Records the kernel's settings: getProjectionType(int&), then getTriangulationTolerance(),
    // then getTolerance().
    KernelSettingsGuard();
    // Records as above, then sets the kernel's projection type to `type` with the recorded
    // integer parameter. Not explicit: `KernelSettingsGuard guard = type;` makes such a guard.
    KernelSettingsGuard(KernelInterfaceBase::projectionType type);

    KernelSettingsGuard(const KernelSettingsGuard& other);
    KernelSettingsGuard& operator=(const KernelSettingsGuard& other);

    // Restores the recorded settings as restoreInitialSettings does, in the same order, but
    // attempts each of the three even when the kernel throws on an earlier one. Failures are
    // swallowed: an exception leaving a destructor would terminate the host.
    ~KernelSettingsGuard();

    // Sets the kernel back to the recorded settings, in this order: setProjectionType(recorded
    // type, recorded parameter), setTriangulationTolerance(bottom entry), setTolerance(recorded
    // tolerance). The stack is not changed. An empty stack (which the guard never lets happen) is
    // refused with ("restoreInitalSettings", "Triangulation tolerance stack size is zero.") after
    // the projection type has been restored.
    void restoreInitialSettings();

    // The kernel's setTolerance(tolerance).
    void setTolerance(double tolerance);

    // The kernel's setTolerance with the recorded tolerance / refinement, in double precision.
    // Refuses a refinement below 1e-5 with ("refineTolerance",
    // "Tolerance refinement is less than or equal to zero.").
    void toleranceRefinement(double refinement);

    // The kernel's setTriangulationTolerance(tolerance); the stack is not changed.
    void setTriangulationTolerance(float tolerance);

    // Pushes and sets a triangulation tolerance for a pitch angle in degrees: count = 360 / pitch
    // in double precision; the bottom entry divided, in double precision, by count when count is
    // greater than 20 and by 20 otherwise, then rounded to float. A pitch of 18 degrees or more
    // gives the bottom entry / 20. Refuses a pitch below 1e-5 with
    // ("setTriangulationToleranceByPitch", "Triangulation pitch is less than or equal to zero.").
    void setTriangulationToleranceByPitch(float pitch);

    // Pushes and sets the bottom entry (the recorded tolerance) / refinement in single precision,
    // whatever was pushed before. Refuses a refinement below 1e-5 with
    // ("triangulationToleranceRefinement",
    // "Triangulation tolerance refinement is less than or equal to zero.").
    void triangulationToleranceRefinement(float refinement);

    // Pushes and sets the top entry (the current tolerance) / refinement in single precision, so
    // refinements multiply. Refuses a refinement below 1e-5 with
    // ("pushTriangulationToleranceRefinement",
    // "Triangulation tolerance refinement is less than or equal to zero.").
    void pushTriangulationToleranceRefinement(float refinement);

    // Removes the top entry and sets the new top entry in the kernel. The bottom entry (the
    // recorded tolerance) is never removed: a pop with only it left is refused with
    // ("popTriangulationToleranceRefinement", "Pop Triangulation tolerance stack size is zero.").
    void popTriangulationToleranceRefinement();

    // The kernel's setProjectionType(type, recorded parameter).
    void setProjectionType(KernelInterfaceBase::projectionType type);

private:
    void saveInitialSettings();

    KernelInterfaceBase::projectionType m_initialProjectionType;
    double m_initialTolerance;
    int m_initialProjectionParameter;
    std::vector<float> m_triangulationToleranceStack;
};

} // namespace orv

#endif
