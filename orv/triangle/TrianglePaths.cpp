#include "orv/triangle/Triangle.h"

#include "orv/platform/Error.h"
#include "orv/platform/UserMsg.h"

namespace orv {

namespace {

// The path always holds the in-centre as its first point, so it needs at least one element. The
// check runs before the caller's outputs are touched.
void requirePathCount(int count, const char* operation) {
    if (count < 1) {
        throwError<data::invalid>("Triangle", operation,
                                  UserMsg("Number of path points must be at least 1.", nullptr));
    }
}

} // namespace

void Triangle::followInCenterToSide(int count, std::vector<TripletBase<double>>& path,
                                    const TripletBase<double>& p, const TripletBase<double>& q,
                                    double length, double& ratio, bool lastOnEdge) const {
    const std::size_t n = static_cast<std::size_t>(count);
    path.resize(n);
    path[0] = m_inCenter;
    for (std::size_t i = 1; i < n; ++i) {
        const TripletBase<double> prev = path[i - 1];
        // Each corner of the triangle (prev, p, q) weighted by the length of the side opposite it:
        // the next point is that triangle's in-centre.
        const double dQ = (q - prev).length();
        const double dP = (p - prev).length();
        const TripletBase<double> wPrev = prev * length;
        const TripletBase<double> wP = p * dQ;
        const TripletBase<double> wQ = q * dP;
        const TripletBase<double> sum = (wPrev + wP) + wQ;
        const double den = ((dQ + length) + dP) + kGuardEpsilon;
        path[i] = sum / den;
    }
    ratio = 0.0;
    if (!lastOnEdge) {
        return;
    }
    const TripletBase<double> last = path[n - 1];
    const double weight = getRatioToTheSide(last, p, q, length);
    const double rest = 1.0 - weight;
    path[n - 1] = p * weight + q * rest;
    ratio = weight;
}

void Triangle::followInCenterToSideA(int count, std::vector<TripletBase<double>>& path,
                                     double& ratio, bool lastOnEdge) const {
    requirePathCount(count, "followInCenterToSideA");
    followInCenterToSide(count, path, m_pointB, m_pointC, m_lengthA, ratio, lastOnEdge);
}

void Triangle::followInCenterToSideB(int count, std::vector<TripletBase<double>>& path,
                                     double& ratio, bool lastOnEdge) const {
    requirePathCount(count, "followInCenterToSideB");
    followInCenterToSide(count, path, m_pointC, m_pointA, m_lengthB, ratio, lastOnEdge);
}

void Triangle::followInCenterToSideC(int count, std::vector<TripletBase<double>>& path,
                                     double& ratio, bool lastOnEdge) const {
    requirePathCount(count, "followInCenterToSideC");
    followInCenterToSide(count, path, m_pointA, m_pointB, m_lengthC, ratio, lastOnEdge);
}

void Triangle::followInCenterToSideA(int count, TripletBase<double>& last, double& ratio,
                                     bool lastOnEdge) const {
    requirePathCount(count, "followInCenterToSideA");
    std::vector<TripletBase<double>> path;
    followInCenterToSide(count, path, m_pointB, m_pointC, m_lengthA, ratio, lastOnEdge);
    last = path.back();
}

void Triangle::followInCenterToSideB(int count, TripletBase<double>& last, double& ratio,
                                     bool lastOnEdge) const {
    requirePathCount(count, "followInCenterToSideB");
    std::vector<TripletBase<double>> path;
    followInCenterToSide(count, path, m_pointC, m_pointA, m_lengthB, ratio, lastOnEdge);
    last = path.back();
}

void Triangle::followInCenterToSideC(int count, TripletBase<double>& last, double& ratio,
                                     bool lastOnEdge) const {
    requirePathCount(count, "followInCenterToSideC");
    std::vector<TripletBase<double>> path;
    followInCenterToSide(count, path, m_pointA, m_pointB, m_lengthC, ratio, lastOnEdge);
    last = path.back();
}

} // namespace orv
