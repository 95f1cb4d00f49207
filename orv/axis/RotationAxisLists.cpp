// List conversions: each element through the single-point arithmetic, with theta continuity along
// the list and a fixed way of filling the output.

#include "orv/axis/RotationAxis.h"

#include "orv/axis/detail/AxisAccess.h"
#include "orv/axis/detail/BlockKernel.h"
#include "orv/axis/detail/Frame.h"
#include "orv/axis/detail/Hemisphere.h"
#include "orv/axis/detail/ListRange.h"
#include "orv/axis/detail/PointSteps.h"
#include "orv/axis/detail/Refusals.h"
#include "orv/foundation/Config.h"

#include <cstddef>
#include <vector>

namespace orv {

namespace {

using detail::ArtFrame;
using detail::checkTowardsART;
using detail::kPi;

// The list worker, in two builds where the configuration allows: for the baseline instruction
// set and for AVX2, chosen by the processor (asked once per process). The same IEEE operations in
// every lane, so the same bits, on twice the lanes (the divisions and square roots dominate). No
// fused multiply-add is involved (AVX2 does not include it, and contraction is off).
template <class T, class Out>
void fillBaseline(const ArtFrame<T>& frame, const TripletBase<T>* in, Out* out, std::size_t n,
                  const double* reference) {
    detail::convertContinuous(frame, in, out, n, reference);
}
#if ORV_HAVE_AVX2_TARGET
template <class T, class Out>
ORV_TARGET_AVX2 void fillAvx2(const ArtFrame<T>& frame, const TripletBase<T>* in, Out* out,
                              std::size_t n, const double* reference) {
    detail::convertContinuous(frame, in, out, n, reference);
}
#endif
template <class T, class Out>
void fillContinuous(const ArtFrame<T>& frame, const TripletBase<T>* in, Out* out, std::size_t n,
                    const double* reference) {
#if ORV_HAVE_AVX2_TARGET
    if (detail::processorHasAvx2()) {
        fillAvx2(frame, in, out, n, reference);
        return;
    }
#endif
    fillBaseline(frame, in, out, n, reference);
}

// The list worker towards points, in the same two builds.
template <class T, class Read>
void pointsBaseline(const detail::XyzFrame<T>& frame, std::size_t n, const Read& read,
                    TripletBase<T>* out) {
    detail::pointsFrom(frame, n, read, out);
}
#if ORV_HAVE_AVX2_TARGET
template <class T, class Read>
ORV_TARGET_AVX2 void pointsAvx2(const detail::XyzFrame<T>& frame, std::size_t n, const Read& read,
                                TripletBase<T>* out) {
    detail::pointsFrom(frame, n, read, out);
}
#endif

// The in-place fill of the lists towards points: the output resized first, the axis checked
// (for a non-empty list), then the points written block by block.
template <class T, class Read>
void pointsInPlace(const RotationAxis& axis, std::size_t n, const Read& read,
                   std::vector<TripletBase<T>>& out) {
    out.resize(n);
    if (n == 0) {
        return;
    }
    using detail::AxisAccess;
    detail::checkTowardsXYZ(AxisAccess::dir(axis), AxisAccess::angle(axis));
    const detail::XyzFrame<T> frame(AxisAccess::point(axis), AxisAccess::dir(axis),
                                    AxisAccess::up(axis));
#if ORV_HAVE_AVX2_TARGET
    if (detail::processorHasAvx2()) {
        pointsAvx2(frame, n, read, out.data());
        return;
    }
#endif
    pointsBaseline(frame, n, read, out.data());
}

// The continuous forms' fill of n records (nothing checked or written for n == 0).
template <class T, class Out>
void fillRange(const TripletBase<double>& p, const TripletBase<double>& d,
               const TripletBase<double>& u, const TripletBase<T>* in, std::size_t n, Out* out,
               const double* reference) {
    if (n != 0) {
        checkTowardsART(d, "convertART");
        const ArtFrame<T> frame(p, d, u);
        fillContinuous(frame, in, out, n, reference);
    }
}

// The aside fill of the continuous forms: a new list of the input's length, swapped in at the end.
template <class T, class Out>
void convertAside(const TripletBase<double>& p, const TripletBase<double>& d,
                  const TripletBase<double>& u, const std::vector<TripletBase<T>>& in,
                  std::vector<Out>& out, const double* reference) {
    std::vector<Out> aside(in.size());
    fillRange(p, d, u, in.data(), in.size(), aside.data(), reference);
    out.swap(aside);
}

// The in-place fill of the continuous record forms: the output resized first, then each element
// written as it is converted (no reference: the first theta is kept as converted).
template <class T, class Rec>
void convertInPlace(const TripletBase<double>& p, const TripletBase<double>& d,
                    const TripletBase<double>& u, const std::vector<TripletBase<T>>& in,
                    std::vector<Rec>& out) {
    out.resize(in.size());
    fillRange(p, d, u, in.data(), in.size(), out.data(), nullptr);
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
        detail::put(out[i], records[i]);
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

// Each element as the single-point convertXYZ gives it, several at a time (pointsInPlace).
void RotationAxis::convertXYZ(const std::vector<ART>& in,
                              std::vector<TripletBase<float>>& out) const {
    const ART* data = in.data();
    pointsInPlace(
        *this, in.size(),
        [data](std::size_t i, float& a, float& r, float& t) {
            a = data[i].a;
            r = data[i].r;
            t = data[i].t;
        },
        out);
}

void RotationAxis::convertXYZ(const std::vector<DART>& in,
                              std::vector<TripletBase<double>>& out) const {
    const DART* data = in.data();
    pointsInPlace(
        *this, in.size(),
        [data](std::size_t i, double& a, double& r, double& t) {
            a = data[i].a;
            r = data[i].r;
            t = data[i].t;
        },
        out);
}

// theta = z * 180 (float) / pi (double), rounded to float; in and out may be one list.
void RotationAxis::convertXYZThetaRad(const std::vector<TripletBase<float>>& in,
                                      std::vector<TripletBase<float>>& out) const {
    const TripletBase<float>* data = in.data();
    pointsInPlace(
        *this, in.size(),
        [data](std::size_t i, float& a, float& r, float& t) {
            const TripletBase<float> p = data[i];
            const float product = p.z * 180.0f;
            a = p.x;
            r = p.y;
            t = static_cast<float>(static_cast<double>(product) / kPi);
        },
        out);
}

void RotationAxis::convertXYZThetaRad(const std::vector<TripletBase<double>>& in,
                                      std::vector<TripletBase<double>>& out) const {
    const TripletBase<double>* data = in.data();
    pointsInPlace(
        *this, in.size(),
        [data](std::size_t i, double& a, double& r, double& t) {
            const TripletBase<double> p = data[i];
            a = p.x;
            r = p.y;
            t = p.z * 180.0 / kPi;
        },
        out);
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

namespace detail {

void convertARTRange(const RotationAxis& axis, const TripletBase<float>* in, std::size_t n,
                     ART* out, const double* reference) {
    fillRange(AxisAccess::point(axis), AxisAccess::dir(axis), AxisAccess::up(axis), in, n, out,
              reference);
}

void convertARTRange(const RotationAxis& axis, const TripletBase<double>* in, std::size_t n,
                     DART* out, const double* reference) {
    fillRange(AxisAccess::point(axis), AxisAccess::dir(axis), AxisAccess::up(axis), in, n, out,
              reference);
}

} // namespace detail

} // namespace orv
