#include "orv/platform/TurboTransform.h"

#include "orv/platform/Error.h"
#include "orv/platform/SystemMsg.h"
#include "orv/platform/UserMsg.h"

#include "orv/math/Math.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace orv {

namespace {

const char* const kClass = "TurboTransform";

// A point or vector of the meridional plane: x axial, y radial.
struct Vec2 {
    double x;
    double y;
};

Vec2 operator+(Vec2 a, Vec2 b) {
    return {a.x + b.x, a.y + b.y};
}
Vec2 operator-(Vec2 a, Vec2 b) {
    return {a.x - b.x, a.y - b.y};
}
Vec2 operator*(double f, Vec2 a) {
    return {f * a.x, f * a.y};
}
double dot(Vec2 a, Vec2 b) {
    const double xx = a.x * b.x;
    const double yy = a.y * b.y;
    return xx + yy;
}
double cross(Vec2 a, Vec2 b) {
    const double p = a.x * b.y;
    const double q = a.y * b.x;
    return p - q;
}
double length(Vec2 a) {
    return std::sqrt(dot(a, a));
}

[[noreturn]] void refuseCurves(const char* message) {
    throwError<data::invalid>(kClass, kClass, UserMsg(message, nullptr));
}

std::vector<Vec2> widen(const std::vector<Doublet>& curve) {
    std::vector<Vec2> points;
    points.reserve(curve.size());
    for (const Doublet& d : curve) {
        points.push_back({static_cast<double>(d.x), static_cast<double>(d.y)});
    }
    return points;
}

bool allFinite(const std::vector<Doublet>& curve) {
    return std::all_of(curve.begin(), curve.end(),
                       [](const Doublet& d) { return std::isfinite(d.x) && std::isfinite(d.y); });
}

// Normalised arc length at each point of a polyline: 0 at the first point, exactly 1 at the last.
// Repeated points share a parameter. Refuses a curve of zero length.
std::vector<double> arcParameters(const std::vector<Vec2>& points) {
    std::vector<double> w(points.size(), 0.0);
    for (std::size_t i = 1; i < points.size(); ++i) {
        w[i] = w[i - 1] + length(points[i] - points[i - 1]);
    }
    const double total = w.back();
    if (!(total > 0.0)) {
        refuseCurves("Hub and shroud curves must have a non-zero length.");
    }
    for (double& v : w) {
        v = v / total;
    }
    return w;
}

// Break points of the two walls whose normalised arc lengths differ by no more than this are one
// station. The arc lengths of the two walls are summed separately, so break points meant to sit at
// the same fraction of their walls differ in the last bits; as separate stations they would bound
// a sliver patch whose orientation is rounding noise.
constexpr double kSameStation = 1e-12;

// The polyline's point at parameter u in [0, 1]: a break point where u lies within kSameStation of
// its parameter, otherwise interpolated on the segment that contains u.
Vec2 pointAt(const std::vector<Vec2>& points, const std::vector<double>& w, double u) {
    const std::size_t i =
        static_cast<std::size_t>(std::upper_bound(w.begin(), w.end(), u) - w.begin()) - 1;
    if (u - w[i] <= kSameStation) {
        return points[i];
    }
    if (w[i + 1] - u <= kSameStation) {
        return points[i + 1];
    }
    const double f = (u - w[i]) / (w[i + 1] - w[i]);
    return points[i] + f * (points[i + 1] - points[i]);
}

// The station parameters: the break-point parameters of both walls in order, those within
// kSameStation of the previous station left out (0 and 1 themselves are always stations).
std::vector<double> mergeStations(const std::vector<double>& wHub,
                                  const std::vector<double>& wShroud) {
    std::vector<double> all = wHub;
    all.insert(all.end(), wShroud.begin(), wShroud.end());
    std::sort(all.begin(), all.end());
    std::vector<double> u;
    for (double v : all) {
        if (u.empty() || v - u.back() > kSameStation) {
            u.push_back(v);
        } else if (v == 1.0) {
            u.back() = 1.0;
        }
    }
    return u;
}

// How far v lies outside [0, 1].
double outsideUnit(double v) {
    return v < 0.0 ? -v : (v > 1.0 ? v - 1.0 : 0.0);
}

// A station's line for the station search: its hub point and the hub-to-shroud vector times the
// passage's orientation, so that the side of a point is one cross product; and 1 / |across|.
struct SideLine {
    Vec2 hub;
    Vec2 across;
    double invAcross;
};

// Positive downstream of the station, negative upstream, 0 on its line (of either sign).
double sideOf(const SideLine& s, Vec2 p) {
    return cross(p - s.hub, s.across);
}

// One patch seen from one of its stations (k0, towards k1): everything the inversion and the back
// conversion need that does not depend on the point.
struct PatchEnd {
    Vec2 hub;     // hub[k0]
    Vec2 shroud;  // shroud[k0]
    Vec2 across;  // across[k0]
    Vec2 dHub;    // hub[k1] - hub[k0]
    Vec2 dShroud; // shroud[k1] - shroud[k0]
    Vec2 dAcross; // across[k1] - across[k0]
    double a;     // -cross(dAcross, dHub): the quadratic's t^2 coefficient
    double bHub;  // cross(across[k0], dHub): the point-independent part of its t coefficient
    double u;     // u[k0]
    double du;    // u[k1] - u[k0] seen from k0: negative from the end station
};

// A patch's wall steps, from station k to k + 1.
struct Step {
    Vec2 dHub;
    Vec2 dShroud;
};

// Length of a step along the line of constant span.
double stepLength(const Step& s, double span) {
    const double w = 1.0 - span;
    const double x = w * s.dHub.x + span * s.dShroud.x;
    const double y = w * s.dHub.y + span * s.dShroud.y;
    const double xx = x * x;
    const double yy = y * y;
    return std::sqrt(xx + yy);
}

// The sum of the lengths of steps [0, n) along the line of constant span, added in order.
double lengthOfSteps(const Step* steps, std::size_t n, double span) {
    double sum = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        sum = sum + stepLength(steps[i], span);
    }
    return sum;
}

// The integral of ds / r over a straight piece of length len along which the radius goes linearly
// from r0 to r0 + delta: len * ln(1 + x) / (r0 x) with x = delta / r0, and len / r0 where x is 0.
// log1p keeps it accurate to rounding however near the two radii lie.
double inverseRadiusIntegral(double len, double r0, double delta) {
    const double x = delta / r0;
    const double g = x == 0.0 ? 1.0 : math::log1p(x) / x;
    return (len / r0) * g;
}

// Its inverse in the length: the fraction t of the piece at which the integral reaches mu, from
// mu = len / delta * ln(1 + t delta / r0): t = mu r0 / len * expm1(y) / y with y = mu delta / len
// (and 1 for the last factor where y is 0).
double inverseRadiusParameter(double mu, double len, double r0, double delta) {
    const double y = (mu * delta) / len;
    const double h = y == 0.0 ? 1.0 : math::expm1(y) / y;
    return ((mu * r0) / len) * h;
}

[[noreturn]] void refuseRadius(const char* operation) {
    throwError<data::invalid>(
        kClass, operation, UserMsg("Meridional coordinate m' needs a positive radius.", nullptr));
}

// The roots of c + b t + a t^2 = 0, the well-conditioned one first. A linear equation has one root
// (given twice); rounding just outside the lines' envelope takes the touching line.
struct PatchRoots {
    double stable;
    double other;
};
PatchRoots patchRoots(double a, double b, double c) {
    if (a == 0.0) {
        const double t = b == 0.0 ? 0.0 : -c / b;
        return {t, t};
    }
    const double bb = b * b;
    const double ac = a * c;
    double disc = bb - 4.0 * ac;
    if (disc < 0.0) {
        disc = 0.0;
    }
    const double q = -0.5 * (b + std::copysign(std::sqrt(disc), b));
    if (q == 0.0) {
        return {0.0, 0.0}; // b, c and the discriminant all 0: double root at 0
    }
    return {c / q, q / a};
}

} // namespace

// Stations are the merged break points of the two curves. Between stations k and k + 1 the hub and
// the shroud are straight, so the passage is a bilinear patch. A position inside patch k is stored
// as a parameter t in [0, 1] measured from one of its two stations (fromEnd: from station k + 1
// backwards). Measuring from the nearer station makes points on a station exact.
struct TurboTransform::Passage {
    std::vector<double> u;       // station parameters: u.front() == 0, u.back() == 1
    std::vector<SideLine> sides; // per station
    std::vector<PatchEnd> ends;  // per patch k: [2k] seen from station k, [2k + 1] from k + 1
    std::vector<Step> steps;     // per patch
    std::vector<Vec2> radius;    // per station: hub radius (x) and shroud radius (y)
    unsigned searchDepth = 0;    // halvings of the station search: ceil(log2(patches))

    // The model of a transform, after refusing an unknown space and a missing model.
    static const Passage& checked(const Passage* passage, space sp, const char* operation) {
        if ((sp != spaceMTS && sp != spaceNMTS && sp != spaceMPrime) || !passage) {
            refuseCall(sp, operation);
        }
        return *passage;
    }
    [[noreturn]] static void refuseCall(space sp, const char* operation);

    // Validates the curves and builds the stations (refusals: see the constructor).
    static std::shared_ptr<const Passage> build(const std::vector<Doublet>& hubCurve,
                                                const std::vector<Doublet>& shroudCurve);

    std::size_t patches() const { return steps.size(); }

    // Radius of the line of constant span at station i.
    double radiusAt(std::size_t i, double span) const {
        return (1.0 - span) * radius[i].x + span * radius[i].y;
    }

    // Refuses m' where the line of constant span reaches the axis at one of stations [0, n).
    void checkRadii(std::size_t n, double span, const char* operation) const {
        for (std::size_t i = 0; i < n; ++i) {
            if (radiusAt(i, span) <= 0.0) {
                refuseRadius(operation);
            }
        }
    }

    // m' across patch i: the integral of dm / r from station i to station i + 1.
    double patchMPrime(std::size_t i, double span) const {
        const Step& s = steps[i];
        const double delta = (1.0 - span) * s.dHub.y + span * s.dShroud.y;
        return inverseRadiusIntegral(stepLength(s, span), radiusAt(i, span), delta);
    }

    // m' at station n: the patches before it, summed in order.
    double mPrimeOfStation(std::size_t n, double span) const {
        double sum = 0.0;
        for (std::size_t i = 0; i < n; ++i) {
            sum = sum + patchMPrime(i, span);
        }
        return sum;
    }

    // The patch whose stations enclose p: the last station that p lies downstream of (or on), by
    // halving over the stations; 0 when p lies upstream of the inlet. Where station lines cross
    // outside the passage the sides are not in order, and the halving itself decides: it always
    // halves the same way (the upper part keeps the middle station).
    std::size_t patchOf(Vec2 p) const {
        const SideLine* s = sides.data();
        std::size_t lo = 0;
        std::size_t len = patches();
        for (unsigned i = 0; i < searchDepth; ++i) {
            const std::size_t half = len / 2;
            const bool downstream = sideOf(s[lo + half], p) >= 0.0;
            if (downstream) {
                lo += half;
                len -= half;
            } else {
                len = half;
            }
        }
        return sideOf(s[0], p) >= 0.0 ? lo : 0; // upstream of the inlet (or NaN): patch 0
    }

    // (axial, radial) -> (meridional, span) in the given space.
    void forward(space sp, Vec2 p, double& m, double& span, const char* operation) const {
        const std::size_t k = patchOf(p);
        const SideLine& s0 = sides[k];
        const SideLine& s1 = sides[k + 1];
        const bool fromEnd =
            std::fabs(sideOf(s1, p)) * s1.invAcross < std::fabs(sideOf(s0, p)) * s0.invAcross;
        const PatchEnd& e = ends[2 * k + (fromEnd ? 1 : 0)];

        // p lies on the line from hub(t) to shroud(t): cross(across(t), p - hub(t)) = 0, a
        // quadratic in t; span is then the position along that line.
        const Vec2 f0 = p - e.hub;
        const double c = cross(e.across, f0);
        const double b = cross(e.dAcross, f0) - e.bHub;
        // The root nearest to [0, 1] (the patch's own range) belongs to this patch; the other
        // comes from where the lines of constant meridional coordinate cross far outside. Where
        // both lie equally near (the point lies where two of the lines cross), the root whose span
        // lies nearer to [0, 1] is taken, so that a wall point keeps its wall's span.
        const PatchRoots roots = patchRoots(e.a, b, c);
        const auto spanAt = [&](double root) {
            const Vec2 f = f0 - root * e.dHub;
            const Vec2 across = e.across + root * e.dAcross;
            return dot(f, across) / dot(across, across);
        };
        double t = roots.stable;
        span = spanAt(t);
        const double stableOutside = outsideUnit(roots.stable);
        const double otherOutside = outsideUnit(roots.other);
        if (otherOutside < stableOutside) {
            t = roots.other;
            span = spanAt(t);
        } else if (otherOutside == stableOutside && roots.other != roots.stable) {
            const double otherSpan = spanAt(roots.other);
            if (outsideUnit(otherSpan) < outsideUnit(span)) {
                t = roots.other;
                span = otherSpan;
            }
        }

        if (sp == spaceNMTS) {
            m = e.u + t * e.du;
            return;
        }
        if (sp == spaceMTS) {
            // From the end station: (start + len) - t * len, the same as adding t * -len.
            const double start = lengthOfSteps(steps.data(), k, span);
            const double len = stepLength(steps[k], span);
            m = (fromEnd ? start + len : start) + t * (fromEnd ? -len : len);
            return;
        }
        m = forwardMPrime(k, fromEnd, t, span, operation);
    }

    // m' of the point at t along patch k from station k (k + 1 fromEnd): from the inlet to that
    // station, then along the patch.
    double forwardMPrime(std::size_t k, bool fromEnd, double t, double span,
                         const char* operation) const {
        checkRadii(k + 2, span, operation);
        const PatchEnd& e = ends[2 * k + (fromEnd ? 1 : 0)];
        const double start = mPrimeOfStation(k, span);
        const double r0 = (1.0 - span) * e.hub.y + span * e.shroud.y;
        const double delta = (1.0 - span) * e.dHub.y + span * e.dShroud.y;
        if ((t * delta) / r0 <= -1.0) { // the line reaches the axis before the point
            refuseRadius(operation);
        }
        const double mu = inverseRadiusIntegral(t * stepLength(steps[k], span), r0, t * delta);
        return fromEnd ? (start + patchMPrime(k, span)) - mu : start + mu;
    }

    // (meridional, span) -> (axial, radial) in the given space.
    Vec2 backward(space sp, double m, double span, bool clamp, const char* operation) const {
        const std::size_t last = patches() - 1;
        std::size_t k = 0;
        double start = 0.0;
        double end = 0.0;
        if (sp == spaceNMTS) {
            if (clamp) {
                m = m < 0.0 ? 0.0 : (m > 1.0 ? 1.0 : m);
            }
            // The number of inner stations at or before m (all of them for a NaN): the same
            // patch as the last station at or before m, limited to [0, last].
            const double* inner = u.data() + 1;
            for (std::size_t len = last; len > 0;) {
                const std::size_t half = len / 2;
                const bool after = !(m < inner[k + half]);
                k += after ? half + 1 : 0;
                len = after ? len - half - 1 : half;
            }
            start = u[k];
            end = u[k + 1];
        } else if (sp == spaceMPrime) {
            return backwardMPrime(m, span, clamp, operation);
        } else {
            if (clamp) {
                const double total = lengthOfSteps(steps.data(), last + 1, span);
                m = m < 0.0 ? 0.0 : (m > total ? total : m);
            }
            // The first step that does not end at or before m (the last one at the latest).
            double len = stepLength(steps[0], span);
            while (k < last && start + len <= m) {
                start = start + len;
                ++k;
                len = stepLength(steps[k], span);
            }
            end = start + len;
        }
        const double width = end - start;
        const bool fromEnd = (end - m) < (m - start);
        const double t = width == 0.0 ? 0.0 : (fromEnd ? end - m : m - start) / width;
        const PatchEnd& e = ends[2 * k + (fromEnd ? 1 : 0)];
        return evaluate(e, t, span);
    }

    // The point at t along patch end e's patch, at the span.
    static Vec2 evaluate(const PatchEnd& e, double t, double span) {
        const Vec2 h = e.hub + t * e.dHub;
        const Vec2 s = e.shroud + t * e.dShroud;
        return (1.0 - span) * h + span * s;
    }

    // (m', span) -> (axial, radial): the patch as in MTS, then the integral's inverse along it.
    Vec2 backwardMPrime(double m, double span, bool clamp, const char* operation) const {
        const std::size_t last = patches() - 1;
        if (clamp) {
            checkRadii(last + 2, span, operation);
            const double total = mPrimeOfStation(last + 1, span);
            m = m < 0.0 ? 0.0 : (m > total ? total : m);
        }
        std::size_t k = 0;
        double start = 0.0;
        double step = patchMPrime(0, span);
        while (k < last && start + step <= m) {
            start = start + step;
            ++k;
            step = patchMPrime(k, span);
        }
        checkRadii(k + 2, span, operation);
        const double end = start + step;
        const bool fromEnd = (end - m) < (m - start);
        const PatchEnd& e = ends[2 * k + (fromEnd ? 1 : 0)];
        double t = 0.0;
        if (end - start != 0.0) {
            const double r0 = (1.0 - span) * e.hub.y + span * e.shroud.y;
            const double delta = (1.0 - span) * e.dHub.y + span * e.dShroud.y;
            const double mu = fromEnd ? end - m : m - start;
            t = inverseRadiusParameter(mu, stepLength(steps[k], span), r0, delta);
        }
        return evaluate(e, t, span);
    }
};

void TurboTransform::Passage::refuseCall(space sp, const char* operation) {
    if (sp != spaceMTS && sp != spaceNMTS && sp != spaceMPrime) {
        throwError<data::invalid>(kClass, operation, SystemMsg("Unknown meridional space."));
    }
    throwError<internal::error>(kClass, operation,
                                SystemMsg("TurboTransform has no passage model."));
}

std::shared_ptr<const TurboTransform::Passage>
TurboTransform::Passage::build(const std::vector<Doublet>& hubCurve,
                               const std::vector<Doublet>& shroudCurve) {
    if (hubCurve.size() < 2 || shroudCurve.size() < 2) {
        refuseCurves("Hub and shroud curves need at least two points.");
    }
    if (!allFinite(hubCurve) || !allFinite(shroudCurve)) {
        refuseCurves("Hub and shroud points must be finite.");
    }
    const std::vector<Vec2> hubPoints = widen(hubCurve);
    const std::vector<Vec2> shroudPoints = widen(shroudCurve);
    const std::vector<double> wHub = arcParameters(hubPoints);
    const std::vector<double> wShroud = arcParameters(shroudPoints);

    auto passage = std::make_shared<Passage>();
    std::vector<double>& u = passage->u;
    u = mergeStations(wHub, wShroud);

    std::vector<Vec2> hub;
    std::vector<Vec2> shroud;
    std::vector<Vec2> across;
    for (double v : u) {
        const Vec2 h = pointAt(hubPoints, wHub, v);
        const Vec2 s = pointAt(shroudPoints, wShroud, v);
        const Vec2 e = s - h;
        if (e.x == 0.0 && e.y == 0.0) {
            refuseCurves("Hub and shroud curves must not meet or cross.");
        }
        hub.push_back(h);
        shroud.push_back(s);
        across.push_back(e);
    }

    // Every patch keeps the orientation of the first, and the hub-to-shroud direction turns by
    // less than a right angle from station to station, so hub and shroud never meet inside it.
    double orientation = 1.0;
    for (std::size_t k = 0; k + 1 < u.size(); ++k) {
        const Vec2 diagonal1 = shroud[k + 1] - hub[k];
        const Vec2 diagonal2 = shroud[k] - hub[k + 1];
        const double area = cross(diagonal1, diagonal2);
        if (k == 0) {
            orientation = area < 0.0 ? -1.0 : 1.0;
        }
        if (!(orientation * area > 0.0) || !(dot(across[k], across[k + 1]) > 0.0)) {
            refuseCurves("Hub and shroud curves must not meet or cross.");
        }
    }

    for (std::size_t k = 0; k < u.size(); ++k) {
        passage->sides.push_back({hub[k], orientation * across[k], 1.0 / length(across[k])});
    }
    const auto end = [&](std::size_t k0, std::size_t k1) {
        PatchEnd e{};
        e.hub = hub[k0];
        e.shroud = shroud[k0];
        e.across = across[k0];
        e.dHub = hub[k1] - hub[k0];
        e.dShroud = shroud[k1] - shroud[k0];
        e.dAcross = across[k1] - across[k0];
        e.a = -cross(e.dAcross, e.dHub);
        e.bHub = cross(e.across, e.dHub);
        e.u = u[k0];
        e.du = k1 > k0 ? u[k1] - u[k0] : -(u[k0] - u[k1]);
        return e;
    };
    for (std::size_t k = 0; k + 1 < u.size(); ++k) {
        passage->ends.push_back(end(k, k + 1));
        passage->ends.push_back(end(k + 1, k));
        passage->steps.push_back({hub[k + 1] - hub[k], shroud[k + 1] - shroud[k]});
    }
    for (std::size_t k = 0; k < u.size(); ++k) {
        passage->radius.push_back({hub[k].y, shroud[k].y});
    }
    for (std::size_t n = passage->patches(); n > 1; n = n - n / 2) {
        ++passage->searchDepth;
    }
    return passage;
}

TurboTransform::TurboTransform() : m_passage() {}

TurboTransform::TurboTransform(const std::vector<Doublet>& hub, const std::vector<Doublet>& shroud)
    : m_passage(Passage::build(hub, shroud)) {}

TurboTransform::TurboTransform(const TurboTransform& other) = default;
TurboTransform& TurboTransform::operator=(const TurboTransform& other) = default;
TurboTransform::~TurboTransform() = default;

void TurboTransform::convertARTtoSpaceTNs(space sp, const TripletBase<float>& art,
                                          TripletBase<float>& tns) const {
    const Passage& passage = Passage::checked(m_passage.get(), sp, "convertARTtoSpaceTNs");
    double m = 0.0;
    double span = 0.0;
    passage.forward(sp, Vec2{static_cast<double>(art.x), static_cast<double>(art.y)}, m, span,
                    "convertARTtoSpaceTNs");
    tns = TripletBase<float>(static_cast<float>(m), art.z, static_cast<float>(span));
}

void TurboTransform::convertARTtoSpaceTNs(space sp, const TripletBase<double>& art,
                                          TripletBase<double>& tns) const {
    const Passage& passage = Passage::checked(m_passage.get(), sp, "convertARTtoSpaceTNs");
    double m = 0.0;
    double span = 0.0;
    const double theta = art.z;
    passage.forward(sp, Vec2{art.x, art.y}, m, span, "convertARTtoSpaceTNs");
    tns = TripletBase<double>(m, theta, span);
}

void TurboTransform::convertSpaceTNsToART(space sp, const TripletBase<float>& tns,
                                          TripletBase<float>& art) const {
    const Passage& passage = Passage::checked(m_passage.get(), sp, "convertSpaceTNsToART");
    const float theta = tns.y;
    const Vec2 p = passage.backward(sp, static_cast<double>(tns.x), static_cast<double>(tns.z),
                                    false, "convertSpaceTNsToART");
    art = TripletBase<float>(static_cast<float>(p.x), static_cast<float>(p.y), theta);
}

void TurboTransform::convertSpaceTNsToARTspanEQ0or1(space sp, const TripletBase<double>& tns,
                                                    TripletBase<double>& art,
                                                    bool clampToWallEnds) const {
    const Passage& passage =
        Passage::checked(m_passage.get(), sp, "convertSpaceTNsToARTspanEQ0or1");
    const double theta = tns.y;
    const Vec2 p =
        passage.backward(sp, tns.x, tns.z, clampToWallEnds, "convertSpaceTNsToARTspanEQ0or1");
    art = TripletBase<double>(p.x, p.y, theta);
}

} // namespace orv
