#include "orv/turbo/ThetaTurboTransform.h"

#include "orv/axis/detail/AxisAccess.h"
#include "orv/axis/detail/BlockKernel.h"
#include "orv/axis/detail/Frame.h"
#include "orv/axis/detail/PointSteps.h"
#include "orv/axis/detail/Refusals.h"

#include "orv/foundation/ART.h"
#include "orv/foundation/DART.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <typeinfo>
#include <vector>

namespace orv {

namespace {

constexpr double kPi = 3.141592653589793;

using F3 = TripletBase<float>;
using D3 = TripletBase<double>;

// At most one addition of 360 when the break angle is above theta, then at most one subtraction
// when theta is above the break angle plus 360; comparisons in double, arithmetic in float.
float wrapDegrees(float theta, double breakAngle) {
    if (breakAngle > static_cast<double>(theta)) {
        theta = theta + 360.0f;
    }
    if (static_cast<double>(theta) > breakAngle + 360.0) {
        theta = theta - 360.0f;
    }
    return theta;
}

// The same wrap in double precision.
double wrapDegrees(double theta, double breakAngle) {
    if (breakAngle > theta) {
        theta = theta + 360.0;
    }
    if (theta > breakAngle + 360.0) {
        theta = theta - 360.0;
    }
    return theta;
}

// Single-precision degrees to radians: divided by 180 in float, widened, times pi.
double toRadians(float degrees) {
    const float half = degrees / 180.0f;
    return static_cast<double>(half) * kPi;
}

// Radians to degrees in double precision.
double toDegrees(double radians) {
    const double scaled = radians * 180.0;
    return scaled / kPi;
}

// Meridional (x) and span (z) of an ART record whose theta is already wrapped.
F3 meridionalOf(const ART& art, float wrapped, TurboTransform::space space,
                const TurboTransform& tt) {
    F3 tns(0.0f, 0.0f, 0.0f);
    tt.convertARTtoSpaceTNs(space, F3(art.a, art.r, wrapped), tns);
    return tns;
}

// (meridional, theta in radians, span) in the given space of a point whose axis conversion is
// art: the steps of the single-point conversions from XYZ.
struct SpaceRecord {
    double m;
    double t;
    double s;
};
SpaceRecord toSpace(const ART& art, double breakAngle, TurboTransform::space space,
                    const TurboTransform& tt) {
    const float wrapped = wrapDegrees(art.t, breakAngle);
    const F3 tns = meridionalOf(art, wrapped, space, tt);
    return SpaceRecord{static_cast<double>(tns.x), toRadians(wrapped), static_cast<double>(tns.z)};
}

// The results of the passage model for the last three distinct (axial, radial) inputs of a list,
// keyed by their bits (so that 0 and -0 differ, and a NaN matches only its own bits).
class RecentInversions {
public:
    static std::uint64_t keyOf(float a, float r) {
        std::uint32_t ua;
        std::uint32_t ur;
        std::memcpy(&ua, &a, sizeof ua);
        std::memcpy(&ur, &r, sizeof ur);
        return (static_cast<std::uint64_t>(ua) << 32) | ur;
    }
    // Writes the stored result for key into out and returns true where there is one.
    bool find(std::uint64_t key, F3& out) const {
        for (std::size_t i = 0; i < m_count; ++i) {
            if (m_key[i] == key) {
                out = m_out[i];
                return true;
            }
        }
        return false;
    }
    // Stores a result in place of the oldest one.
    void add(std::uint64_t key, const F3& out) {
        m_key[m_next] = key;
        m_out[m_next] = out;
        m_next = m_next == kSize - 1 ? 0 : m_next + 1;
        m_count = m_count < kSize ? m_count + 1 : kSize;
    }

private:
    static constexpr std::size_t kSize = 3;
    std::uint64_t m_key[kSize] = {0, 0, 0};
    F3 m_out[kSize];
    std::size_t m_next = 0;
    std::size_t m_count = 0;
};

} // namespace

ThetaTurboTransform::ThetaTurboTransform() : m_rotationAxis(), m_breakAngle(0.0) {}

ThetaTurboTransform::ThetaTurboTransform(double breakAngle, const RotationAxis& axis)
    : m_rotationAxis(axis), m_breakAngle(breakAngle) {}

ThetaTurboTransform::ThetaTurboTransform(const ThetaTurboTransform& other) = default;
ThetaTurboTransform& ThetaTurboTransform::operator=(const ThetaTurboTransform& other) = default;
ThetaTurboTransform::~ThetaTurboTransform() = default;

double ThetaTurboTransform::getBreakAngle() const {
    return m_breakAngle;
}

void ThetaTurboTransform::setBreakAngle(double breakAngle) {
    m_breakAngle = breakAngle;
}

RotationAxis ThetaTurboTransform::getRotationAxis() const {
    return m_rotationAxis;
}

void ThetaTurboTransform::setRotationAxis(const RotationAxis& axis) {
    m_rotationAxis = axis;
}

void ThetaTurboTransform::convertXYZtoART(const TripletBase<float>& xyz, double& a, double& r,
                                          double& t) const {
    const ART art = m_rotationAxis.convertART(xyz);
    const float wrapped = wrapDegrees(art.t, m_breakAngle);
    a = static_cast<double>(art.a);
    r = static_cast<double>(art.r);
    t = toRadians(wrapped);
}

void ThetaTurboTransform::convertXYZtoARTSetHemisphere(const TripletBase<float>& xyz, double& a,
                                                       double& r, double& t,
                                                       double reference) const {
    const ART art = m_rotationAxis.convertARTSetHemisphere(xyz, toDegrees(reference));
    a = static_cast<double>(art.a);
    r = static_cast<double>(art.r);
    t = toRadians(art.t);
}

void ThetaTurboTransform::convertARTtoXYZ(double a, double r, double t,
                                          TripletBase<float>& xyz) const {
    const ART art{static_cast<float>(a), static_cast<float>(r), static_cast<float>(toDegrees(t))};
    xyz = m_rotationAxis.convertXYZ(art);
}

void ThetaTurboTransform::convertXYZtoMTS(const TripletBase<float>& xyz, double& m, double& t,
                                          double& s, const TurboTransform& tt) const {
    const SpaceRecord rec =
        toSpace(m_rotationAxis.convertART(xyz), m_breakAngle, TurboTransform::spaceMTS, tt);
    m = rec.m;
    t = rec.t;
    s = rec.s;
}

void ThetaTurboTransform::convertMTStoXYZ(double m, double t, double s, TripletBase<float>& xyz,
                                          const TurboTransform& tt) const {
    F3 art(0.0f, 0.0f, 0.0f);
    tt.convertSpaceTNsToART(TurboTransform::spaceMTS,
                            F3(static_cast<float>(m), static_cast<float>(t), static_cast<float>(s)),
                            art);
    xyz = m_rotationAxis.convertXYZ(ART{art.x, art.y, static_cast<float>(toDegrees(t))});
}

void ThetaTurboTransform::convertXYZtoNMTS(const TripletBase<float>& xyz, double& m, double& t,
                                           double& s, const TurboTransform& tt) const {
    const SpaceRecord rec =
        toSpace(m_rotationAxis.convertART(xyz), m_breakAngle, TurboTransform::spaceNMTS, tt);
    m = rec.m;
    t = rec.t;
    s = rec.s;
}

TripletBase<double> ThetaTurboTransform::convertXYZtoNMTS(const TripletBase<float>& xyz,
                                                          const TurboTransform& tt) const {
    const SpaceRecord rec =
        toSpace(m_rotationAxis.convertART(xyz), m_breakAngle, TurboTransform::spaceNMTS, tt);
    return D3(rec.m, rec.t, rec.s);
}

void ThetaTurboTransform::convertNMTStoXYZ(double m, double t, double s, TripletBase<float>& xyz,
                                           const TurboTransform& tt) const {
    F3 art(0.0f, 0.0f, 0.0f);
    tt.convertSpaceTNsToART(TurboTransform::spaceNMTS,
                            F3(static_cast<float>(m), static_cast<float>(t), static_cast<float>(s)),
                            art);
    xyz = m_rotationAxis.convertXYZ(ART{art.x, art.y, static_cast<float>(toDegrees(t))});
}

TripletBase<float> ThetaTurboTransform::convertNMTStoXYZ(const TripletBase<double>& nmts,
                                                         const TurboTransform& tt) const {
    F3 xyz(0.0f, 0.0f, 0.0f);
    convertNMTStoXYZ(nmts.x, nmts.y, nmts.z, xyz, tt);
    return xyz;
}

void ThetaTurboTransform::calcNormalizedDeltas(const TripletBase<float>& from,
                                               const TripletBase<float>& to, double& dm, double& dt,
                                               double& ds, const TurboTransform& tt) const {
    const ART art1 = m_rotationAxis.convertART(from);
    const float wrapped1 = wrapDegrees(art1.t, m_breakAngle);
    const F3 tns1 = meridionalOf(art1, wrapped1, TurboTransform::spaceNMTS, tt);

    const ART art2 = m_rotationAxis.convertART(to);
    const float wrapped2 = wrapDegrees(art2.t, m_breakAngle);
    const F3 tns2 = meridionalOf(art2, wrapped2, TurboTransform::spaceNMTS, tt);

    const double theta1 = toRadians(wrapped1);
    const ART hemisphere = m_rotationAxis.convertARTSetHemisphere(to, toDegrees(theta1));
    const double theta2 = toRadians(hemisphere.t);

    const double deltaM = static_cast<double>(tns2.x) - static_cast<double>(tns1.x);
    const double deltaS = static_cast<double>(tns2.z) - static_cast<double>(tns1.z);
    const double alpha = m_rotationAxis.getAngle();
    const double deltaT = alpha == 0.0 ? 0.0 : (theta2 - theta1) / alpha;
    dm = deltaM;
    ds = deltaS;
    dt = deltaT;
}

void ThetaTurboTransform::applyNormalizedDeltas(const TripletBase<float>& point,
                                                TripletBase<float>& result, double dm, double dt,
                                                double ds, const TurboTransform& tt) const {
    const ART art = m_rotationAxis.convertART(point);
    const float wrapped = wrapDegrees(art.t, m_breakAngle);
    const F3 tns = meridionalOf(art, wrapped, TurboTransform::spaceNMTS, tt);
    const double theta = toRadians(wrapped);
    const double turn = dt * m_rotationAxis.getAngle();
    convertNMTStoXYZ(static_cast<double>(tns.x) + dm, theta + turn, static_cast<double>(tns.z) + ds,
                     result, tt);
}

TripletBase<float> ThetaTurboTransform::projectPointToSpan(const TripletBase<float>& point,
                                                           double span, TurboTransform::space space,
                                                           const TurboTransform& tt) const {
    const ART art = m_rotationAxis.convertART(point);
    const float wrapped = wrapDegrees(art.t, m_breakAngle);
    const F3 tns = meridionalOf(art, wrapped, space, tt);
    const double theta = toRadians(wrapped);
    F3 back(0.0f, 0.0f, 0.0f);
    tt.convertSpaceTNsToART(space, F3(tns.x, static_cast<float>(theta), static_cast<float>(span)),
                            back);
    return m_rotationAxis.convertXYZ(ART{back.x, back.y, static_cast<float>(toDegrees(theta))});
}

TripletBase<double> ThetaTurboTransform::projectPointToSpan(const TripletBase<double>& point,
                                                            ProjectionType type, double span,
                                                            TurboTransform::space space,
                                                            const TurboTransform& tt) const {
    const DART art = m_rotationAxis.convertART(point);
    const double wrapped = wrapDegrees(art.t, m_breakAngle);
    D3 tns(0.0, 0.0, 0.0);
    tt.convertARTtoSpaceTNs(space, D3(art.a, art.r, wrapped), tns);
    const double theta = wrapped / 180.0 * kPi;
    const D3 target(tns.x, theta, span);
    D3 back(0.0, 0.0, 0.0);
    if (type == wallEndsClamped || type == wallEndsExtended) {
        tt.convertSpaceTNsToARTspanEQ0or1(space, target, back, type == wallEndsClamped);
    } else {
        F3 backSingle(0.0f, 0.0f, 0.0f);
        tt.convertSpaceTNsToART(space,
                                F3(static_cast<float>(target.x), static_cast<float>(target.y),
                                   static_cast<float>(target.z)),
                                backSingle);
        back = D3(static_cast<double>(backSingle.x), static_cast<double>(backSingle.y),
                  static_cast<double>(backSingle.z));
    }
    return m_rotationAxis.convertXYZ(DART{back.x, back.y, toDegrees(theta)});
}

TripletBase<double> ThetaTurboTransform::convertXYZtoSpace(TurboTransform::space sp,
                                                           const TripletBase<float>& xyz,
                                                           const TurboTransform& tt) const {
    const SpaceRecord rec = toSpace(m_rotationAxis.convertART(xyz), m_breakAngle, sp, tt);
    return D3(rec.m, rec.t, rec.s);
}

TripletBase<float> ThetaTurboTransform::convertSpaceToXYZ(TurboTransform::space sp,
                                                          const TripletBase<double>& tns,
                                                          const TurboTransform& tt) const {
    F3 art(0.0f, 0.0f, 0.0f);
    tt.convertSpaceTNsToART(
        sp, F3(static_cast<float>(tns.x), static_cast<float>(tns.y), static_cast<float>(tns.z)),
        art);
    return m_rotationAxis.convertXYZ(ART{art.x, art.y, static_cast<float>(toDegrees(tns.y))});
}

void ThetaTurboTransform::convertXYZtoSpace(TurboTransform::space sp,
                                            const std::vector<TripletBase<float>>& xyz,
                                            std::vector<TripletBase<double>>& tns,
                                            const TurboTransform& tt) const {
    // Filled aside (appended, not zeroed first) and swapped in at the end, so that a refusal
    // leaves the output as it was.
    std::vector<D3> aside;
    aside.reserve(xyz.size());
    if (!xyz.empty()) {
        using detail::AxisAccess;
        const RotationAxis& axis = m_rotationAxis;
        detail::checkTowardsART(AxisAccess::dir(axis), "convertART");
        // The axis conversion of a block of points at a time, with the frame built once: each
        // element gets the bits of RotationAxis::convertART (no continuity).
        const detail::ArtFrame<float> frame(AxisAccess::point(axis), AxisAccess::dir(axis),
                                            AxisAccess::up(axis));
        float a[detail::kArtBlock], r[detail::kArtBlock];
        double degrees[detail::kArtBlock];
        // The platform's own passage model (not a class derived from it) computes the meridional
        // and span values from (axial, radial) alone and passes theta through, so a point whose
        // axial and radial values have the bits of one of the last three inverted points takes
        // that point's values without a second inversion. The points of a mesh line along theta
        // share their (axial, radial) up to the rounding of their coordinates, which takes at
        // most three values along such a line. A derived mapping is called for every point.
        const bool ownModel = typeid(tt) == typeid(TurboTransform);
        RecentInversions recent;
        for (std::size_t base = 0; base < xyz.size(); base += detail::kArtBlock) {
            const std::size_t m = std::min(xyz.size() - base, detail::kArtBlock);
            detail::convertBlock(frame, xyz.data() + base, m, a, r, degrees);
            for (std::size_t k = 0; k < m; ++k) {
                const float wrapped = wrapDegrees(static_cast<float>(degrees[k]), m_breakAngle);
                const std::uint64_t key = RecentInversions::keyOf(a[k], r[k]);
                F3 out(0.0f, 0.0f, 0.0f);
                if (!recent.find(key, out)) {
                    tt.convertARTtoSpaceTNs(sp, F3(a[k], r[k], wrapped), out);
                    if (ownModel) {
                        recent.add(key, out);
                    }
                }
                aside.emplace_back(static_cast<double>(out.x), toRadians(wrapped),
                                   static_cast<double>(out.z));
            }
        }
    }
    tns.swap(aside);
}

void ThetaTurboTransform::convertSpaceToXYZ(TurboTransform::space sp,
                                            const std::vector<TripletBase<double>>& tns,
                                            std::vector<TripletBase<float>>& xyz,
                                            const TurboTransform& tt) const {
    std::vector<F3> aside;
    if (!tns.empty()) {
        using detail::AxisAccess;
        const RotationAxis& axis = m_rotationAxis;
        const auto mapped = [&](std::size_t i) {
            F3 art(0.0f, 0.0f, 0.0f);
            tt.convertSpaceTNsToART(sp,
                                    F3(static_cast<float>(tns[i].x), static_cast<float>(tns[i].y),
                                       static_cast<float>(tns[i].z)),
                                    art);
            return art;
        };
        // As the single-point form: the axis is checked after the first element's call.
        const F3 first = mapped(0);
        detail::checkTowardsXYZ(AxisAccess::dir(axis), AxisAccess::angle(axis));
        // The point-independent frame of RotationAxis::convertXYZ, built once; the host's calls
        // in the list's order, a block at a time, then the block's points several at a time
        // (each with the bits of RotationAxis::convertXYZ).
        const detail::XyzFrame<float> frame(AxisAccess::point(axis), AxisAccess::dir(axis),
                                            AxisAccess::up(axis));
        aside.resize(tns.size());
        detail::pointsFrom(
            frame, tns.size(),
            [&](std::size_t i, float& a, float& r, float& t) {
                const F3 art = i == 0 ? first : mapped(i);
                a = art.x;
                r = art.y;
                t = static_cast<float>(toDegrees(tns[i].y));
            },
            aside.data());
    }
    xyz.swap(aside);
}

void ThetaTurboTransform::convertXYZtoMTS(const std::vector<TripletBase<float>>& xyz,
                                          std::vector<TripletBase<double>>& mts,
                                          const TurboTransform& tt) const {
    convertXYZtoSpace(TurboTransform::spaceMTS, xyz, mts, tt);
}

void ThetaTurboTransform::convertXYZtoNMTS(const std::vector<TripletBase<float>>& xyz,
                                           std::vector<TripletBase<double>>& nmts,
                                           const TurboTransform& tt) const {
    convertXYZtoSpace(TurboTransform::spaceNMTS, xyz, nmts, tt);
}

void ThetaTurboTransform::convertMTStoXYZ(const std::vector<TripletBase<double>>& mts,
                                          std::vector<TripletBase<float>>& xyz,
                                          const TurboTransform& tt) const {
    convertSpaceToXYZ(TurboTransform::spaceMTS, mts, xyz, tt);
}

void ThetaTurboTransform::convertNMTStoXYZ(const std::vector<TripletBase<double>>& nmts,
                                           std::vector<TripletBase<float>>& xyz,
                                           const TurboTransform& tt) const {
    convertSpaceToXYZ(TurboTransform::spaceNMTS, nmts, xyz, tt);
}

} // namespace orv
