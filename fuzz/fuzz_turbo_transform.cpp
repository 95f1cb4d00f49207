// ThetaTurboTransform on well-conditioned random passages, axes and break angles in [-540, 180],
// with points inside the passage: round trips XYZ -> NMTS -> XYZ and XYZ -> MTS -> XYZ, the theta
// returned (the axis theta moved by whole turns into [beta, beta + 360]), deltas applied.

#include "FuzzSupport.h"

#include <algorithm>
#include <vector>

using namespace orvfuzz;
using orv::Doublet;
using orv::TurboTransform;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    // The hub a polyline of 2 to 6 points; the shroud the hub scaled by 2 about a centre on the far
    // side of the axis, so that the lines of constant meridional coordinate fan out without
    // crossing and the passage is at least 40 wide. Multiples of 1/256 below 1000: exact in float.
    std::vector<Doublet> hub, shroud;
    float x = static_cast<float>(in.ConsumeIntegralInRange<int>(-1600, 1600)) / 16;
    float r = static_cast<float>(in.ConsumeIntegralInRange<int>(320, 640)) / 16;
    const float cy = -static_cast<float>(in.ConsumeIntegralInRange<int>(40, 200));
    for (int i = in.ConsumeIntegralInRange<int>(2, 6); i > 0; --i) {
        hub.emplace_back(x, r);
        const int step = in.ConsumeIntegralInRange<int>(16, 160);
        x += static_cast<float>(step) / 16;
        r += static_cast<float>(step * in.ConsumeIntegralInRange<int>(-4, 4)) / 256;
    }
    long double length = 0, extent = 0; // the hub's length, the passage's largest coordinate
    for (std::size_t i = 0; i < hub.size(); ++i) {
        shroud.emplace_back(2 * hub[i].x - hub[0].x, 2 * hub[i].y - cy);
        length += i ? std::hypot(hub[i].x - hub[i - 1].x, hub[i].y - hub[i - 1].y) : 0;
        extent = std::max<long double>(
            {extent, std::fabs(shroud[i].x), shroud[i].y, std::fabs(hub[i].x)});
    }
    const TurboTransform tt(hub, shroud);
    const orv::RotationAxis axis = drawWellConditionedAxis(in);
    const double betas[] = {-540, -180, 0, 180, in.ConsumeFloatingPointInRange<double>(-540, 180)};
    const double beta = betas[in.ConsumeIntegralInRange<int>(0, 4)];
    const orv::ThetaTurboTransform ttt(beta, axis);

    // A point inside the passage, on a wall at times.
    const double walls[] = {0, 1, in.ConsumeProbability<double>()};
    const double u = in.ConsumeProbability<double>(),
                 s = walls[in.ConsumeIntegralInRange<int>(0, 2)];
    const F3 xyz =
        ttt.convertNMTStoXYZ(D3(u, in.ConsumeFloatingPointInRange<double>(-20, 20), s), tt);
    // Float coordinates: positions within 32 units in the last place (2^-23) of the scale;
    // meridional and span within that over the hub's length and the least width; the theta
    // returned (degrees) within 8 units in the last place of 360.
    const long double tol = 32 * 0x1p-23L * (norm(axis.getAxisPoint()) + norm(xyz) + extent);
    const long double tolTheta = 8 * 0x1p-23L * 360;
    F3 back;

    double m, t, span;
    ttt.convertXYZtoNMTS(xyz, m, t, span, tt);
    const long double degrees = t * 180 / kPi;
    check(std::fabs(m - u) <= tol / length && std::fabs(span - s) <= tol / 40, "XYZ -> NMTS");
    check(degrees >= beta - tolTheta && degrees <= beta + 360 + tolTheta, "theta in the range");
    check(offWholeTurns(degrees, axis.convertART(xyz).t) <= tolTheta, "axis theta + turns");
    ttt.convertNMTStoXYZ(m, t, span, back, tt);
    check(distance(back, xyz) <= tol, "XYZ -> NMTS -> XYZ");
    double mMTS, tMTS, sMTS;
    ttt.convertXYZtoMTS(xyz, mMTS, tMTS, sMTS, tt);
    check(sameBits(tMTS, t), "the same theta in MTS and NMTS");
    ttt.convertMTStoXYZ(mMTS, tMTS, sMTS, back, tt);
    check(distance(back, xyz) <= tol, "XYZ -> MTS -> XYZ");

    // The deltas measured from the point to another, applied to the point, lead to the other.
    const F3 other = ttt.convertNMTStoXYZ(D3{in.ConsumeProbability<double>(),
                                             in.ConsumeFloatingPointInRange<double>(-20, 20),
                                             in.ConsumeProbability<double>()},
                                          tt);
    F3 moved;
    double dm, dt, ds;
    ttt.calcNormalizedDeltas(xyz, other, dm, dt, ds, tt);
    ttt.applyNormalizedDeltas(xyz, moved, dm, dt, ds, tt);
    check(distance(moved, other) <= 2 * tol + 32 * 0x1p-23L * norm(other), "deltas applied");
    return 0;
}
