// List conversions: each element through the single-point arithmetic, with theta continuity along
// the list and a fixed way of filling the output.

#include "orv/axis/RotationAxis.h"
#include "orv/axis/AxisKernel.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

#if defined(__GNUC__) && defined(__x86_64__) && defined(__ELF__)
#define ORV_LIST_CLONES __attribute__((target_clones("avx2", "default")))
#define ORV_ALWAYS_INLINE __attribute__((always_inline))
#else
#define ORV_LIST_CLONES
#define ORV_ALWAYS_INLINE
#endif

namespace orv {

namespace {

using detail::ArtFrame;
using detail::checkTowardsART;
using detail::kPi;

// A theta in degrees (double) at the record's precision.
float atRecordPrecision(double theta, float) {
    return static_cast<float>(theta);
}
double atRecordPrecision(double theta, double) {
    return theta;
}

void put(ART& out, const ART& rec) {
    out = rec;
}
void put(DART& out, const DART& rec) {
    out = rec;
}
void put(TripletBase<float>& out, const ART& rec) {
    out = TripletBase<float>(rec.a, rec.r, rec.t);
}
void put(TripletBase<double>& out, const DART& rec) {
    out = TripletBase<double>(rec.a, rec.r, rec.t);
}

// Continuity within one block. t holds the m thetas as converted (record precision); on return it
// holds the output thetas. previous is the output theta before the block, or null for the first
// block, whose first theta is brought near the reference (or kept when there is none).
//
// The rule makes each output theta depend on the one before it, a chain of a division and two
// conversions per point. To keep the points independent, the turn counts are first predicted
// from the steps between the converted thetas (a step of 180 or more is a turn back, of -180 or
// less a turn forward: exact arithmetic gives n_k = n_(k-1) + that), then every prediction is
// checked against the rule applied to the predicted previous output (see below). When all are
// proved, the predicted thetas are the rule's results bit for bit (by induction from the first
// point, computed by the rule directly); from the first unproved one on, the rest of the block is
// computed by the rule point by point.
template <class T>
ORV_ALWAYS_INLINE inline void continueBlock(T* t, std::size_t m, const T* previous,
                                            const double* reference) {
    const double t0 = static_cast<double>(t[0]);
    double running = 0.0; // turn count of the first point, by the rule
    if (previous != nullptr) {
        running = detail::turnsNear(t0, static_cast<double>(*previous));
    } else if (reference != nullptr) {
        running = detail::turnsNear(t0, *reference);
    }
    // Steps (independent), their running sum (one addition per point), predictions. The counts
    // are whole numbers; the check below refuses any of 2^52 or more, where sums could round.
    double turns[detail::kArtBlock];
    turns[0] = 0.0;
    for (std::size_t k = 1; k < m; ++k) {
        const double step = static_cast<double>(t[k]) - static_cast<double>(t[k - 1]);
        turns[k] = (step >= 180.0 ? 1.0 : 0.0) - (step <= -180.0 ? 1.0 : 0.0);
    }
    std::size_t j = 0;
    for (; j + 4 <= m; j += 4) { // four points per addition on the chain
        const double s0 = turns[j];
        const double s1 = s0 + turns[j + 1];
        const double s2 = s1 + turns[j + 2];
        const double s3 = s2 + turns[j + 3];
        turns[j] = running + s0;
        turns[j + 1] = running + s1;
        turns[j + 2] = running + s2;
        turns[j + 3] = running + s3;
        running += s3;
    }
    for (; j < m; ++j) {
        running += turns[j];
        turns[j] = running;
    }
    T predicted[detail::kArtBlock];
    for (std::size_t k = 0; k < m; ++k) {
        predicted[k] = atRecordPrecision(static_cast<double>(t[k]) - 360.0 * turns[k], T());
    }
    // The check, written so that it vectorises and needs no division: the rule gives turns[k]
    // exactly when either theta does not move and turns[k] is 0, or it moves and its quotient
    // q = d / 360 +- 0.5 truncates to turns[k], that is turns[k] <= q < turns[k] + 1 (q > 0) or
    // turns[k] - 1 < q <= turns[k] (q < 0). Here q is estimated with a multiplication, which is
    // within a few units in the last place of the rule's q; an estimate at least 2^-45 |q| inside
    // those bounds proves the rule's q is inside them too. Anything closer to a bound (or a turn
    // count of 2^52 or more) counts as a disagreement and goes to the rule itself.
    double wrong[detail::kArtBlock]; // 1 where the prediction is not proved
    wrong[0] = std::fabs(turns[0]) < 4503599627370496.0 ? 0.0 : 1.0;
    for (std::size_t k = 1; k < m; ++k) {
        const double nk = turns[k];
        const double d = static_cast<double>(t[k]) - static_cast<double>(predicted[k - 1]);
        const double size = std::fabs(d);
        // Where theta moves, d is not 0 and its sign picks the half turn as in the rule.
        const double half = std::copysign(0.5, d);
        const double q = d * (1.0 / 360.0) + half;
        const double margin = std::fabs(q) * 0x1p-45;
        const double low = (nk - 0.5) + half; // nk for d > 0, nk - 1 for d < 0
        const bool inside = (low + margin <= q) & (q <= low + 1.0 - margin);
        const bool moves = (size >= 180.0) & (size <= 1.7976931348623157e308);
        const bool exact = std::fabs(nk) < 4503599627370496.0; // 2^52
        const bool agrees = (moves & inside & exact) | (!moves & (nk == 0.0));
        wrong[k] = agrees ? 0.0 : 1.0;
    }
    std::size_t k = 0;
    for (; k < m && wrong[k] == 0.0; ++k) {
        t[k] = predicted[k];
    }
    if (k == 0) { // the first point's own turn count is too large for the sums
        t[0] = atRecordPrecision(t0 - 360.0 * turns[0], T());
        k = 1;
    }
    for (; k < m; ++k) {
        t[k] = atRecordPrecision(
            detail::nearReference(static_cast<double>(t[k]), static_cast<double>(t[k - 1])), T());
    }
}

// Converts n points into out[0..n) with theta continuity. With a reference the first theta is
// brought near it; without, the first theta is kept as converted. Every element gets the bits of
// the single-point call followed by the rule: the frame holds only point-independent values and
// the blocks run the same steps.
template <class T, class Out>
ORV_ALWAYS_INLINE inline void fillContinuousBody(const ArtFrame<T>& frame, const TripletBase<T>* in,
                                                 Out* out, std::size_t n, const double* reference) {
    T a[detail::kArtBlock], r[detail::kArtBlock], t[detail::kArtBlock];
    double degrees[detail::kArtBlock];
    T previous = T(0);
    for (std::size_t base = 0; base < n; base += detail::kArtBlock) {
        const std::size_t m = n - base < detail::kArtBlock ? n - base : detail::kArtBlock;
        detail::BlockAhead ahead;
        if (base + m < n) {
            // Records and points have the same size, so both spans cover as many lines: the
            // bytes of the next block's points, plus one for a start inside a line.
            static_assert(sizeof(Out) == sizeof(TripletBase<T>), "records the size of points");
            const std::size_t bytes = std::min(n - base - m, detail::kArtBlock) * sizeof(Out);
            ahead.in = reinterpret_cast<const char*>(in + base + m);
            ahead.out = reinterpret_cast<char*>(out + base + m);
            ahead.lines = (bytes + detail::kCacheLine - 1) / detail::kCacheLine + 1;
        }
        detail::convertBlock(frame, in + base, m, a, r, degrees, ahead);
        for (std::size_t k = 0; k < m; ++k) {
            t[k] = atRecordPrecision(degrees[k], T());
        }
        continueBlock(t, m, base == 0 ? nullptr : &previous, reference);
        previous = t[m - 1];
        for (std::size_t k = 0; k < m; ++k) {
            put(out[base + k], detail::makeRecord(a[k], r[k], static_cast<double>(t[k])));
        }
    }
}

// The list workers, for each record type. On x86-64 ELF targets of GCC and Clang each is also
// built for AVX2 and the loader picks that build where the processor has it: the same IEEE
// operations in every lane, so the same bits, on twice the lanes (the divisions and square roots
// dominate). No fused multiply-add is involved (AVX2 does not include it, and contraction is off).
ORV_LIST_CLONES void fillContinuous(const ArtFrame<double>& frame, const TripletBase<double>* in,
                                    DART* out, std::size_t n, const double* reference) {
    fillContinuousBody(frame, in, out, n, reference);
}
ORV_LIST_CLONES void fillContinuous(const ArtFrame<double>& frame, const TripletBase<double>* in,
                                    TripletBase<double>* out, std::size_t n,
                                    const double* reference) {
    fillContinuousBody(frame, in, out, n, reference);
}
ORV_LIST_CLONES void fillContinuous(const ArtFrame<float>& frame, const TripletBase<float>* in,
                                    ART* out, std::size_t n, const double* reference) {
    fillContinuousBody(frame, in, out, n, reference);
}
ORV_LIST_CLONES void fillContinuous(const ArtFrame<float>& frame, const TripletBase<float>* in,
                                    TripletBase<float>* out, std::size_t n,
                                    const double* reference) {
    fillContinuousBody(frame, in, out, n, reference);
}

// The aside fill of the continuous forms: a new list of the input's length, swapped in at the end.
template <class T, class Out>
void convertAside(const TripletBase<double>& p, const TripletBase<double>& d,
                  const TripletBase<double>& u, const std::vector<TripletBase<T>>& in,
                  std::vector<Out>& out, const double* reference) {
    std::vector<Out> aside(in.size());
    if (!in.empty()) {
        checkTowardsART(d, "convertART");
        const ArtFrame<T> frame(p, d, u);
        fillContinuous(frame, in.data(), aside.data(), in.size(), reference);
    }
    out.swap(aside);
}

// The in-place fill of the continuous record forms: the output resized first, then each element
// written as it is converted (no reference: the first theta is kept as converted).
template <class T, class Rec>
void convertInPlace(const TripletBase<double>& p, const TripletBase<double>& d,
                    const TripletBase<double>& u, const std::vector<TripletBase<T>>& in,
                    std::vector<Rec>& out) {
    out.resize(in.size());
    if (!in.empty()) {
        checkTowardsART(d, "convertART");
        const ArtFrame<T> frame(p, d, u);
        fillContinuous(frame, in.data(), out.data(), in.size(), nullptr);
    }
}

// The triplet forms of convertARTSetHemisphere: the output resized first, the whole record list
// built aside, then copied into the output element by element.
template <class Rec, class T>
void hemisphereTriplets(const RotationAxis& axis, const std::vector<TripletBase<T>>& in,
                        std::vector<TripletBase<T>>& out, double reference) {
    out.resize(in.size());
    std::vector<Rec> records;
    axis.convertARTSetHemisphere(in, records, reference);
    for (std::size_t i = 0; i < records.size(); ++i) {
        put(out[i], records[i]);
    }
}

// The list form of convertARTWithDirections: all four outputs resized first, then each element
// converted with the single-point operation.
template <class T, class Rec>
void directionsList(const RotationAxis& axis, const std::vector<TripletBase<T>>& in,
                    std::vector<Rec>& art, std::vector<TripletBase<T>>& axialDirs,
                    std::vector<TripletBase<T>>& radialDirs,
                    std::vector<TripletBase<T>>& thetaDirs) {
    const std::size_t n = in.size();
    art.resize(n);
    axialDirs.resize(n);
    radialDirs.resize(n);
    thetaDirs.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        axis.convertARTWithDirections(in[i], art[i], axialDirs[i], radialDirs[i], thetaDirs[i]);
    }
}

} // namespace

void RotationAxis::convertXYZ(const std::vector<ART>& in,
                              std::vector<TripletBase<float>>& out) const {
    out.resize(in.size());
    for (std::size_t i = 0; i < in.size(); ++i) {
        out[i] = convertXYZ(in[i]);
    }
}

void RotationAxis::convertXYZ(const std::vector<DART>& in,
                              std::vector<TripletBase<double>>& out) const {
    out.resize(in.size());
    for (std::size_t i = 0; i < in.size(); ++i) {
        out[i] = convertXYZ(in[i]);
    }
}

void RotationAxis::convertXYZThetaRad(const std::vector<TripletBase<float>>& in,
                                      std::vector<TripletBase<float>>& out) const {
    out.resize(in.size());
    for (std::size_t i = 0; i < in.size(); ++i) {
        const TripletBase<float> p = in[i];
        const float product = p.z * 180.0f;
        const float degrees = static_cast<float>(static_cast<double>(product) / kPi);
        out[i] = convertXYZ(ART{p.x, p.y, degrees});
    }
}

void RotationAxis::convertXYZThetaRad(const std::vector<TripletBase<double>>& in,
                                      std::vector<TripletBase<double>>& out) const {
    out.resize(in.size());
    for (std::size_t i = 0; i < in.size(); ++i) {
        const TripletBase<double> p = in[i];
        out[i] = convertXYZ(DART{p.x, p.y, p.z * 180.0 / kPi});
    }
}

void RotationAxis::convertART(const std::vector<TripletBase<float>>& in,
                              std::vector<ART>& out) const {
    convertInPlace(m_axisPoint, m_axisDir, m_upVector, in, out);
}

void RotationAxis::convertART(const std::vector<TripletBase<double>>& in,
                              std::vector<DART>& out) const {
    convertInPlace(m_axisPoint, m_axisDir, m_upVector, in, out);
}

void RotationAxis::convertART(const std::vector<TripletBase<float>>& in,
                              std::vector<TripletBase<float>>& out) const {
    convertAside(m_axisPoint, m_axisDir, m_upVector, in, out, nullptr);
}

void RotationAxis::convertART(const std::vector<TripletBase<double>>& in,
                              std::vector<TripletBase<double>>& out) const {
    convertAside(m_axisPoint, m_axisDir, m_upVector, in, out, nullptr);
}

void RotationAxis::convertARTSetHemisphere(const std::vector<TripletBase<float>>& in,
                                           std::vector<ART>& out, double reference) const {
    convertAside(m_axisPoint, m_axisDir, m_upVector, in, out, &reference);
}

void RotationAxis::convertARTSetHemisphere(const std::vector<TripletBase<double>>& in,
                                           std::vector<DART>& out, double reference) const {
    convertAside(m_axisPoint, m_axisDir, m_upVector, in, out, &reference);
}

void RotationAxis::convertARTSetHemisphere(const std::vector<TripletBase<float>>& in,
                                           std::vector<TripletBase<float>>& out,
                                           double reference) const {
    hemisphereTriplets<ART>(*this, in, out, reference);
}

void RotationAxis::convertARTSetHemisphere(const std::vector<TripletBase<double>>& in,
                                           std::vector<TripletBase<double>>& out,
                                           double reference) const {
    hemisphereTriplets<DART>(*this, in, out, reference);
}

void RotationAxis::convertARTSetHemisphereRad(const std::vector<TripletBase<float>>& in,
                                              std::vector<TripletBase<float>>& out,
                                              double reference) const {
    out.resize(in.size());
    std::vector<ART> records;
    convertARTSetHemisphere(in, records, reference * 180.0 / kPi);
    for (std::size_t i = 0; i < records.size(); ++i) {
        const double radians = static_cast<double>(records[i].t) * kPi / 180.0;
        out[i] = TripletBase<float>(records[i].a, records[i].r, static_cast<float>(radians));
    }
}

void RotationAxis::convertAR(const std::vector<TripletBase<float>>& in, std::vector<ART>& out,
                             double theta) const {
    std::vector<ART> aside(in.size());
    if (!in.empty()) {
        checkTowardsART(m_axisDir, "convertAR");
        const ArtFrame<float> frame(m_axisPoint, m_axisDir, m_upVector);
        const float t = static_cast<float>(theta);
        for (std::size_t i = 0; i < in.size(); ++i) {
            const detail::RadialPart<float> part = detail::radialPart(frame, in[i]);
            aside[i] = ART{part.a, part.r, t};
        }
    }
    out.swap(aside);
}

void RotationAxis::convertAR(const std::vector<TripletBase<double>>& in, std::vector<DART>& out,
                             double theta) const {
    std::vector<DART> aside(in.size());
    if (!in.empty()) {
        checkTowardsART(m_axisDir, "convertAR");
        const ArtFrame<double> frame(m_axisPoint, m_axisDir, m_upVector);
        for (std::size_t i = 0; i < in.size(); ++i) {
            const detail::RadialPart<double> part = detail::radialPart(frame, in[i]);
            aside[i] = DART{part.a, part.r, theta};
        }
    }
    out.swap(aside);
}

void RotationAxis::convertAR(const std::vector<TripletBase<float>>& in,
                             std::vector<Doublet>& out) const {
    out.resize(in.size());
    if (!in.empty()) {
        checkTowardsART(m_axisDir, "convertAR");
        const ArtFrame<float> frame(m_axisPoint, m_axisDir, m_upVector);
        for (std::size_t i = 0; i < in.size(); ++i) {
            const detail::RadialPart<float> part = detail::radialPart(frame, in[i]);
            out[i] = Doublet(part.a, part.r);
        }
    }
}

void RotationAxis::convertARTWithDirections(const std::vector<TripletBase<float>>& in,
                                            std::vector<ART>& art,
                                            std::vector<TripletBase<float>>& axialDirs,
                                            std::vector<TripletBase<float>>& radialDirs,
                                            std::vector<TripletBase<float>>& thetaDirs) const {
    directionsList(*this, in, art, axialDirs, radialDirs, thetaDirs);
}

void RotationAxis::convertARTWithDirections(const std::vector<TripletBase<double>>& in,
                                            std::vector<DART>& art,
                                            std::vector<TripletBase<double>>& axialDirs,
                                            std::vector<TripletBase<double>>& radialDirs,
                                            std::vector<TripletBase<double>>& thetaDirs) const {
    directionsList(*this, in, art, axialDirs, radialDirs, thetaDirs);
}

} // namespace orv
