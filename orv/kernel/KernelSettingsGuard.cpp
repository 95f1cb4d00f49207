#include "orv/kernel/KernelSettingsGuard.h"

#include "orv/platform/Error.h"
#include "orv/platform/SystemMsg.h"

namespace orv {

namespace {

const char* const kClass = "KernelSettingsGuard";

// The smallest refinement or pitch accepted. Written so that NaN is refused too.
bool belowLimit(double value) {
    return !(value >= 1e-5);
}

} // namespace

KernelSettingsGuard::KernelSettingsGuard()
    : m_initialProjectionType(KernelInterfaceBase::projectionNearest), m_initialTolerance(0.0),
      m_initialProjectionParameter(0), m_triangulationToleranceStack() {
    saveInitialSettings();
}

KernelSettingsGuard::KernelSettingsGuard(KernelInterfaceBase::projectionType type)
    : KernelSettingsGuard() {
    KernelInterfaceBase::instance()->setProjectionType(type, m_initialProjectionParameter);
}

KernelSettingsGuard::KernelSettingsGuard(const KernelSettingsGuard& other) = default;

KernelSettingsGuard& KernelSettingsGuard::operator=(const KernelSettingsGuard& other) = default;

KernelSettingsGuard::~KernelSettingsGuard() {
    // Each setting gets its own attempt (restoreInitialSettings stops at the first failure); a
    // failure cannot be reported from a destructor. The stack never empties (pop keeps the bottom
    // entry), so the empty-stack refusal cannot arise here.
    KernelInterfaceBase* kernel = nullptr;
    try {
        kernel = KernelInterfaceBase::instance();
    } catch (...) {
        return;
    }
    try {
        kernel->setProjectionType(m_initialProjectionType, m_initialProjectionParameter);
    } catch (...) {
    }
    if (!m_triangulationToleranceStack.empty()) {
        try {
            kernel->setTriangulationTolerance(m_triangulationToleranceStack[0]);
        } catch (...) {
        }
    }
    try {
        kernel->setTolerance(m_initialTolerance);
    } catch (...) {
    }
}

void KernelSettingsGuard::saveInitialSettings() {
    KernelInterfaceBase* kernel = KernelInterfaceBase::instance();
    m_initialProjectionType = kernel->getProjectionType(m_initialProjectionParameter);
    m_triangulationToleranceStack.push_back(kernel->getTriangulationTolerance());
    m_initialTolerance = kernel->getTolerance();
}

void KernelSettingsGuard::restoreInitialSettings() {
    KernelInterfaceBase* kernel = KernelInterfaceBase::instance();
    kernel->setProjectionType(m_initialProjectionType, m_initialProjectionParameter);
    if (m_triangulationToleranceStack.empty()) {
        throwError<internal::error>(kClass, "restoreInitalSettings",
                                    SystemMsg("Triangulation tolerance stack size is zero."));
    }
    kernel->setTriangulationTolerance(m_triangulationToleranceStack.front());
    kernel->setTolerance(m_initialTolerance);
}

void KernelSettingsGuard::setTolerance(double tolerance) {
    KernelInterfaceBase::instance()->setTolerance(tolerance);
}

void KernelSettingsGuard::toleranceRefinement(double refinement) {
    if (belowLimit(refinement)) {
        throwError<internal::error>(
            kClass, "refineTolerance",
            SystemMsg("Tolerance refinement is less than or equal to zero."));
    }
    const double tolerance = m_initialTolerance / refinement;
    KernelInterfaceBase::instance()->setTolerance(tolerance);
}

void KernelSettingsGuard::setTriangulationTolerance(float tolerance) {
    KernelInterfaceBase::instance()->setTriangulationTolerance(tolerance);
}

void KernelSettingsGuard::setTriangulationToleranceByPitch(float pitch) {
    const double widePitch = static_cast<double>(pitch);
    if (belowLimit(widePitch)) {
        throwError<internal::error>(
            kClass, "setTriangulationToleranceByPitch",
            SystemMsg("Triangulation pitch is less than or equal to zero."));
    }
    const double count = 360.0 / widePitch;
    const double divisor = count > 20.0 ? count : 20.0;
    const double bottom = static_cast<double>(m_triangulationToleranceStack.front());
    const double quotient = bottom / divisor;
    m_triangulationToleranceStack.push_back(static_cast<float>(quotient));
    KernelInterfaceBase::instance()->setTriangulationTolerance(
        m_triangulationToleranceStack.back());
}

void KernelSettingsGuard::triangulationToleranceRefinement(float refinement) {
    if (belowLimit(static_cast<double>(refinement))) {
        throwError<internal::error>(
            kClass, "triangulationToleranceRefinement",
            SystemMsg("Triangulation tolerance refinement is less than or equal to zero."));
    }
    const float tolerance = m_triangulationToleranceStack.front() / refinement;
    m_triangulationToleranceStack.push_back(tolerance);
    KernelInterfaceBase::instance()->setTriangulationTolerance(
        m_triangulationToleranceStack.back());
}

void KernelSettingsGuard::pushTriangulationToleranceRefinement(float refinement) {
    if (belowLimit(static_cast<double>(refinement))) {
        throwError<internal::error>(
            kClass, "pushTriangulationToleranceRefinement",
            SystemMsg("Triangulation tolerance refinement is less than or equal to zero."));
    }
    const float tolerance = m_triangulationToleranceStack.back() / refinement;
    m_triangulationToleranceStack.push_back(tolerance);
    KernelInterfaceBase::instance()->setTriangulationTolerance(
        m_triangulationToleranceStack.back());
}

void KernelSettingsGuard::popTriangulationToleranceRefinement() {
    // The bottom entry stays: without it there would be nothing to set now, and nothing to
    // restore on destruction.
    if (m_triangulationToleranceStack.size() <= 1) {
        throwError<internal::error>(kClass, "popTriangulationToleranceRefinement",
                                    SystemMsg("Pop Triangulation tolerance stack size is zero."));
    }
    m_triangulationToleranceStack.pop_back();
    KernelInterfaceBase::instance()->setTriangulationTolerance(
        m_triangulationToleranceStack.back());
}

void KernelSettingsGuard::setProjectionType(KernelInterfaceBase::projectionType type) {
    KernelInterfaceBase::instance()->setProjectionType(type, m_initialProjectionParameter);
}

} // namespace orv
