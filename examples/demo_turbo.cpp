#include "Demos.h"
#include "Rotor37.h"

#include "orv/GeometryTools.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iostream>
#include <vector>

namespace {

using F3 = orv::TripletBase<float>;
using D3 = orv::TripletBase<double>;
constexpr double kPi = 3.141592653589793;

double distance(const F3& p, const F3& q) {
    const double dx = double(p.x) - double(q.x);
    const double dy = double(p.y) - double(q.y);
    const double dz = double(p.z) - double(q.z);
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

} // namespace

void demoTurbo() {
    std::cout << "\n== Theta turbo transform\n";
    // A small axial passage in the meridional plane (axial, radial): the hub rises slightly, the
    // shroud falls; both run from axial 0 (inlet) to 0.4 (outlet).
    const orv::TurboTransform passage(
        {{0.0f, 0.30f}, {0.10f, 0.31f}, {0.25f, 0.33f}, {0.40f, 0.33f}},
        {{0.0f, 0.50f}, {0.15f, 0.49f}, {0.30f, 0.48f}, {0.40f, 0.48f}});
    // Five blades about the z axis: a period of 72 degrees; theta is cut at -36 degrees, so the
    // passage around theta 0 is never split.
    const orv::RotationAxis axis(D3(0, 0, 0), D3(0, 0, 1), 72.0, D3(0, 1, 0));
    const orv::ThetaTurboTransform transform(-36.0, axis);

    // A blade-like cloud: a cambered surface from inlet to outlet, turning by 30 degrees, at
    // spans 0.1 to 0.9, built in NMTS and converted to XYZ and back.
    std::vector<D3> cloud;
    for (int i = 0; i <= 8; ++i) {
        const double m = 0.05 + 0.9 * i / 8.0;
        const double theta = (-10.0 + 30.0 * m * m) * kPi / 180.0;
        for (int j = 1; j <= 9; j += 2) {
            cloud.emplace_back(m, theta, j / 10.0);
        }
    }
    double worstXYZ = 0.0;
    double worstNMTS = 0.0;
    for (const D3& nmts : cloud) {
        const F3 xyz = transform.convertNMTStoXYZ(nmts, passage);
        const D3 back = transform.convertXYZtoNMTS(xyz, passage);
        const F3 again = transform.convertNMTStoXYZ(back, passage);
        worstXYZ = std::max(worstXYZ, distance(xyz, again));
        worstNMTS = std::max({worstNMTS, std::fabs(back.x - nmts.x), std::fabs(back.y - nmts.y),
                              std::fabs(back.z - nmts.z)});
    }
    std::cout << cloud.size() << " blade points XYZ -> NMTS -> XYZ: largest NMTS change "
              << worstNMTS << ", largest XYZ change " << worstXYZ << "\n";

    // A displacement measured from the leading edge to the trailing edge at mid-span, then applied
    // from the leading edge of the next blade (one period further round).
    const F3 leading = transform.convertNMTStoXYZ(D3(0.05, -10.0 * kPi / 180.0, 0.5), passage);
    const F3 trailing = transform.convertNMTStoXYZ(D3(0.95, 17.0 * kPi / 180.0, 0.5), passage);
    double dm = 0, dt = 0, ds = 0;
    transform.calcNormalizedDeltas(leading, trailing, dm, dt, ds, passage);
    double a = 0, r = 0, t = 0;
    transform.convertXYZtoART(leading, a, r, t);
    F3 nextLeading;
    transform.convertARTtoXYZ(a, r, t + 72.0 * kPi / 180.0, nextLeading);
    F3 moved;
    transform.applyNormalizedDeltas(nextLeading, moved, dm, dt, ds, passage);
    const D3 movedNMTS = transform.convertXYZtoNMTS(moved, passage);
    std::cout << "deltas leading -> trailing edge: dm " << dm << ", dt " << dt << " (radians per"
              << " degree of period), ds " << ds << "\n"
              << "applied one blade over: theta " << movedNMTS.y * 180.0 / kPi
              << " degrees (17 + 72 expected), meridional " << movedNMTS.x << ", span "
              << movedNMTS.z << "\n";

    // Points of the cloud projected to mid-span, in single and double precision.
    const F3 tip = transform.convertNMTStoXYZ(D3(0.5, 0.1, 0.9), passage);
    const F3 mid = transform.projectPointToSpan(tip, 0.5, orv::TurboTransform::spaceNMTS, passage);
    const D3 midDouble = transform.projectPointToSpan(D3(tip.x, tip.y, tip.z),
                                                      orv::ThetaTurboTransform::wallEndsClamped,
                                                      0.5, orv::TurboTransform::spaceNMTS, passage);
    const D3 check = transform.convertXYZtoNMTS(mid, passage);
    std::cout << "point " << D3(tip) << " at span 0.9 projected to mid-span: " << D3(mid)
              << " (span " << check.z << ", theta " << check.y << ")\n"
              << "  double precision, clamped to the wall ends: " << midDouble << "\n";

    // An unknown meridional space is refused.
    try {
        transform.projectPointToSpan(tip, 0.5, static_cast<orv::TurboTransform::space>(1), passage);
    } catch (const orv::data::invalid& e) {
        std::cout << "refused: " << e.describe() << "\n";
    }

    // NASA Rotor 37: a point of its blade at mid-span, mid-chord (section 7, point 50 of
    // data/rotor37/blade.csv, suction side), in the three meridional spaces of its passage.
    const std::string dir = ORV_ROTOR37_DIR;
    if (!std::ifstream(dir + "/hub.csv")) {
        std::cout << "Rotor 37 data not found in " << dir << ": skipped\n";
        return;
    }
    const orv::TurboTransform rotor = rotor37::passage(dir);
    const orv::ThetaTurboTransform rotorTransform(-180.0, rotor37::axis());
    for (const auto& row : rotor37::readCsv(dir + "/blade.csv")) {
        if (row.at(0) != 7 || row.at(1) != 50) {
            continue;
        }
        const double z = row.at(2), r = row.at(3), theta = row.at(4); // cm, cm, radians
        const F3 xyz(D3(r * std::cos(theta), r * std::sin(theta), z));
        std::cout << "Rotor 37 blade point " << D3(xyz) << " cm:\n";
        const struct {
            orv::TurboTransform::space space;
            const char* name;
        } spaces[] = {{orv::TurboTransform::spaceNMTS, "NMTS (u, theta, span)"},
                      {orv::TurboTransform::spaceMTS, "MTS (m cm, theta, span)"},
                      {orv::TurboTransform::spaceMPrime, "m' (m', theta, span)"}};
        for (const auto& sp : spaces) {
            const D3 tns = rotorTransform.convertXYZtoSpace(sp.space, xyz, rotor);
            const F3 back = rotorTransform.convertSpaceToXYZ(sp.space, tns, rotor);
            std::cout << "  " << sp.name << ": " << tns << ", back to XYZ moves it by "
                      << distance(back, xyz) << " cm\n";
        }
    }
}
