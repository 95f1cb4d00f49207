#include "orv/platform/TurboTransform.h"

#include "orv/platform/Error.h"
#include "orv/platform/SystemMsg.h"
#include "orv/platform/UserMsg.h"

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

void checkSpace(TurboTransform::space sp, const char* operation) {
    if (sp != TurboTransform::spaceMTS && sp != TurboTransform::spaceNMTS) {
        throwError<data::invalid>(kClass, operation, SystemMsg("Unknown meridional space."));
    }
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

double outsideUnit(double v) {
    return v < 0.0 ? -v : (v > 1.0 ? v - 1.0 : 0.0);
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
    std::vector<double> u;         // station parameters: u.front() == 0, u.back() == 1
    std::vector<Vec2> hub;         // hub point at each station
    std::vector<Vec2> shroud;      // shroud point at each station
    std::vector<Vec2> across;      // shroud - hub at each station
    std::vector<double> invAcross; // 1 / |across|
    double orientation = 1.0;      // +1 or -1, the sign of every patch's area

    // Validates the curves and builds the stations (refusals: see the constructor).
    static std::shared_ptr<const Passage> build(const std::vector<Doublet>& hubCurve,
                                                const std::vector<Doublet>& shroudCurve);

    std::size_t patches() const { return u.size() - 1; }

    // Positive downstream of station k, negative upstream, exactly 0 on the hub and shroud points.
    double side(std::size_t k, Vec2 p) const { return orientation * cross(p - hub[k], across[k]); }

    // Length of patch k along the line of constant span.
    double stepLength(std::size_t k, double span) const {
        const double w = 1.0 - span;
        return length(w * (hub[k + 1] - hub[k]) + span * (shroud[k + 1] - shroud[k]));
    }

    Vec2 evaluate(std::size_t k, bool fromEnd, double t, double span) const {
        const std::size_t k0 = fromEnd ? k + 1 : k;
        const std::size_t k1 = fromEnd ? k : k + 1;
        const Vec2 h = hub[k0] + t * (hub[k1] - hub[k0]);
        const Vec2 s = shroud[k0] + t * (shroud[k1] - shroud[k0]);
        return (1.0 - span) * h + span * s;
    }

    // (axial, radial) -> (meridional, span) in the given space.
    void forward(space sp, Vec2 p, double& m, double& span) const {
        const std::size_t last = patches() - 1;
        std::size_t k = 0;
        if (side(0, p) >= 0.0) { // else upstream of the inlet (or NaN): first patch
            std::size_t lo = 0;
            std::size_t hi = last;
            while (lo < hi) {
                const std::size_t mid = lo + (hi - lo + 1) / 2;
                if (side(mid, p) >= 0.0) {
                    lo = mid;
                } else {
                    hi = mid - 1;
                }
            }
            k = lo;
        }
        const bool fromEnd =
            std::fabs(side(k + 1, p)) * invAcross[k + 1] < std::fabs(side(k, p)) * invAcross[k];
        const std::size_t k0 = fromEnd ? k + 1 : k;
        const std::size_t k1 = fromEnd ? k : k + 1;

        // p lies on the line from hub(t) to shroud(t): cross(across(t), p - hub(t)) = 0, a
        // quadratic in t; span is then the position along that line.
        const Vec2 dHub = hub[k1] - hub[k0];
        const Vec2 dAcross = across[k1] - across[k0];
        const Vec2 f0 = p - hub[k0];
        const double c = cross(across[k0], f0);
        const double b = cross(dAcross, f0) - cross(across[k0], dHub);
        const double a = -cross(dAcross, dHub);
        // The root nearest to [0, 1] (the patch's own range) belongs to this patch; the other
        // comes from where the lines of constant meridional coordinate cross far outside. Where
        // both lie equally near (the point lies where two of the lines cross), the root whose span
        // lies nearer to [0, 1] is taken, so that a wall point keeps its wall's span.
        const PatchRoots roots = patchRoots(a, b, c);
        const auto spanAt = [&](double root) {
            const Vec2 f = f0 - root * dHub;
            const Vec2 e = across[k0] + root * dAcross;
            return dot(f, e) / dot(e, e);
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
            const double du = u[k + 1] - u[k];
            m = fromEnd ? u[k + 1] - t * du : u[k] + t * du;
            return;
        }
        double start = 0.0;
        for (std::size_t i = 0; i < k; ++i) {
            start = start + stepLength(i, span);
        }
        const double len = stepLength(k, span);
        m = fromEnd ? (start + len) - t * len : start + t * len;
    }

    // (meridional, span) -> (axial, radial) in the given space.
    Vec2 backward(space sp, double m, double span, bool clamp) const {
        const std::size_t last = patches() - 1;
        std::size_t k = 0;
        double start = 0.0;
        double end = 0.0;
        if (sp == spaceNMTS) {
            if (clamp) {
                m = m < 0.0 ? 0.0 : (m > 1.0 ? 1.0 : m);
            }
            const std::size_t above =
                static_cast<std::size_t>(std::upper_bound(u.begin(), u.end(), m) - u.begin());
            k = std::min(above == 0 ? 0 : above - 1, last);
            start = u[k];
            end = u[k + 1];
        } else {
            if (clamp) {
                double total = 0.0;
                for (std::size_t i = 0; i <= last; ++i) {
                    total = total + stepLength(i, span);
                }
                m = m < 0.0 ? 0.0 : (m > total ? total : m);
            }
            double len = stepLength(0, span);
            while (k < last && start + len <= m) {
                start = start + len;
                ++k;
                len = stepLength(k, span);
            }
            end = start + len;
        }
        const double width = end - start;
        const bool fromEnd = (end - m) < (m - start);
        const double t = width == 0.0 ? 0.0 : (fromEnd ? end - m : m - start) / width;
        return evaluate(k, fromEnd, t, span);
    }
};

std::shared_ptr<const TurboTransform::Passage>
TurboTransform::Passage::build(const std::vector<Doublet>& hubCurve,
                               const std::vector<Doublet>& shroudCurve) {
    if (hubCurve.size() < 2 || shroudCurve.size() < 2) {
        refuseCurves("Hub and shroud curves need at least two points.");
    }
    if (!allFinite(hubCurve) || !allFinite(shroudCurve)) {
        refuseCurves("Hub and shroud points must be finite.");
    }
    const std::vector<Vec2> hub = widen(hubCurve);
    const std::vector<Vec2> shroud = widen(shroudCurve);
    const std::vector<double> wHub = arcParameters(hub);
    const std::vector<double> wShroud = arcParameters(shroud);

    auto passage = std::make_shared<Passage>();
    std::vector<double>& u = passage->u;
    u = mergeStations(wHub, wShroud);

    for (double v : u) {
        const Vec2 h = pointAt(hub, wHub, v);
        const Vec2 s = pointAt(shroud, wShroud, v);
        const Vec2 e = s - h;
        if (e.x == 0.0 && e.y == 0.0) {
            refuseCurves("Hub and shroud curves must not meet or cross.");
        }
        passage->hub.push_back(h);
        passage->shroud.push_back(s);
        passage->across.push_back(e);
        passage->invAcross.push_back(1.0 / length(e));
    }

    // Every patch keeps the orientation of the first, and the hub-to-shroud direction turns by
    // less than a right angle from station to station, so hub and shroud never meet inside it.
    for (std::size_t k = 0; k + 1 < u.size(); ++k) {
        const Vec2 diagonal1 = passage->shroud[k + 1] - passage->hub[k];
        const Vec2 diagonal2 = passage->shroud[k] - passage->hub[k + 1];
        const double area = cross(diagonal1, diagonal2);
        if (k == 0) {
            passage->orientation = area < 0.0 ? -1.0 : 1.0;
        }
        if (!(passage->orientation * area > 0.0) ||
            !(dot(passage->across[k], passage->across[k + 1]) > 0.0)) {
            refuseCurves("Hub and shroud curves must not meet or cross.");
        }
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
    TripletBase<double> in(static_cast<double>(art.x), static_cast<double>(art.y),
                           static_cast<double>(art.z));
    TripletBase<double> out;
    TurboTransform::convertARTtoSpaceTNs(sp, in, out);
    tns = TripletBase<float>(static_cast<float>(out.x), art.z, static_cast<float>(out.z));
}

void TurboTransform::convertARTtoSpaceTNs(space sp, const TripletBase<double>& art,
                                          TripletBase<double>& tns) const {
    const char* const op = "convertARTtoSpaceTNs";
    checkSpace(sp, op);
    if (!m_passage) {
        throwError<internal::error>(kClass, op, SystemMsg("TurboTransform has no passage model."));
    }
    double m = 0.0;
    double span = 0.0;
    const double theta = art.z;
    m_passage->forward(sp, Vec2{art.x, art.y}, m, span);
    tns = TripletBase<double>(m, theta, span);
}

void TurboTransform::convertSpaceTNsToART(space sp, const TripletBase<float>& tns,
                                          TripletBase<float>& art) const {
    const char* const op = "convertSpaceTNsToART";
    checkSpace(sp, op);
    if (!m_passage) {
        throwError<internal::error>(kClass, op, SystemMsg("TurboTransform has no passage model."));
    }
    const float theta = tns.y;
    const Vec2 p =
        m_passage->backward(sp, static_cast<double>(tns.x), static_cast<double>(tns.z), false);
    art = TripletBase<float>(static_cast<float>(p.x), static_cast<float>(p.y), theta);
}

void TurboTransform::convertSpaceTNsToARTspanEQ0or1(space sp, const TripletBase<double>& tns,
                                                    TripletBase<double>& art,
                                                    bool clampToWallEnds) const {
    const char* const op = "convertSpaceTNsToARTspanEQ0or1";
    checkSpace(sp, op);
    if (!m_passage) {
        throwError<internal::error>(kClass, op, SystemMsg("TurboTransform has no passage model."));
    }
    const double theta = tns.y;
    const Vec2 p = m_passage->backward(sp, tns.x, tns.z, clampToWallEnds);
    art = TripletBase<double>(p.x, p.y, theta);
}

} // namespace orv
