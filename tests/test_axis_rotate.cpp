// RotationAxis rotations, theta projection and rotation matrices. The point operations are
// compositions of the conversions (convert, change theta, convert back), checked bit for bit
// against those compositions; the matrix against its steps built with the matrix classes.
#include "AxisOracle.h"

#include <random>

using namespace orvtest;
using orv::ART;
using orv::DART;
using orv::ORVMatrix3base;
using orv::ORVMatrix4;
using orv::RotationAxis;

namespace {

RotationAxis zAxis() {
    return RotationAxis(D3(0, 0, 0), D3(0, 0, 1), 30, D3(0, 1, 0));
}

// The matrix of the rotation by `degrees` about an axis set from (p, d, u): T(p) (R4 T(-p)).
ORVMatrix4 matrixSteps(const oracle::V<double>& p, const oracle::V<double>& d, double degrees) {
    const oracle::V<float> pf = oracle::at<float>(p);
    ORVMatrix4 t;
    t.setTranslationMatrix(F3(0.0f - pf.x, 0.0f - pf.y, 0.0f - pf.z));
    oracle::V<float> rows[3];
    oracle::axisAngle(oracle::at<float>(oracle::normalized(d)), float(degrees * kPi / 180.0), rows);
    ORVMatrix3base<float> r;
    for (int i = 0; i < 3; ++i) {
        r(i, 0) = rows[i].x;
        r(i, 1) = rows[i].y;
        r(i, 2) = rows[i].z;
    }
    const ORVMatrix4 m = ORVMatrix4(r) * t;
    t.setTranslationMatrix(oracle::triplet(pf));
    return t * m;
}

::testing::AssertionResult matrixEq(const ORVMatrix4& a, const ORVMatrix4& b) {
    for (int k = 0; k < 16; ++k) {
        if (!sameBits(a(k / 4, k % 4), b(k / 4, k % 4)) &&
            !(std::isnan(a(k / 4, k % 4)) && std::isnan(b(k / 4, k % 4)))) {
            return ::testing::AssertionFailure() << "element (" << k / 4 << ", " << k % 4 << ")";
        }
    }
    return ::testing::AssertionSuccess();
}

bool allNaN(const ORVMatrix4& m) {
    bool all = true;
    for (int k = 0; k < 16; ++k) {
        all = all && std::isnan(m(k / 4, k % 4));
    }
    return all;
}

ORVMatrix4 filled(float value) {
    ORVMatrix3base<float> r;
    for (int k = 0; k < 9; ++k) {
        r(k / 3, k % 3) = value;
    }
    return ORVMatrix4(r);
}

} // namespace

TEST(AxisMatrix, StepsOnRandomAxesAndAngles) {
    std::mt19937_64 gen(4711);
    std::uniform_real_distribution<double> c(-10, 10), u(-1, 1), angle(-400, 400);
    for (int i = 0; i < 500; ++i) {
        const oracle::V<double> p{c(gen), c(gen), c(gen)}, d{u(gen), u(gen), u(gen)};
        const double period = std::fabs(angle(gen)) * 0.45 + 1; // (1, 181]
        const RotationAxis axis(oracle::triplet(p), oracle::triplet(d), period, D3(0, 0, 1));
        // The first angle's radians round to different floats when divided by 180 first.
        const double a = i == 0 ? 0x1.ca5dce2ecc6bp+4 : angle(gen);
        ORVMatrix4 m;
        axis.getRotationMatrix(m, a);
        ASSERT_TRUE(matrixEq(m, matrixSteps(p, d, a))) << i;
        axis.getRotationMatrix(m, true);
        ASSERT_TRUE(matrixEq(m, matrixSteps(p, d, period))) << i;
        axis.getRotationMatrix(m, false);
        ASSERT_TRUE(matrixEq(m, matrixSteps(p, d, -period))) << i;
    }
    // 90 degrees about z: cos of the float nearest pi/2 is tiny and negative; z^2 (1 - c) + c
    // rounds to 1 - 2^-24. Angle 0: the identity wherever the axis point lies.
    ORVMatrix4 m;
    zAxis().getRotationMatrix(m, 90.0);
    const float cs = mathoracle::cos(float(90.0 * kPi / 180.0));
    ORVMatrix3base<float> r;
    r(0, 0) = cs, r(0, 1) = -1, r(1, 0) = 1, r(1, 1) = cs, r(2, 2) = 1 - 0x1p-24f;
    EXPECT_TRUE(cs < 0.f && matrixEq(m, ORVMatrix4(r)));
    const RotationAxis skew(D3(1.5, -2.25, 3.1), D3(0.3, -0.7, 0.2), 72, D3(0, 0, 1));
    skew.getRotationMatrix(m, 0.0);
    EXPECT_TRUE(matrixEq(m, ORVMatrix4()));
    // It maps a point as the rotation about the axis line does (columns act on (x, 1)).
    skew.getRotationMatrix(m, -72.0);
    D3 x(4, -1, 2);
    const F3 moved = m.transformPoint(F3(x));
    skew.rotateByAngle(x, -72.0);
    EXPECT_TRUE(nearScale(moved, F3(x), 8.f, 8)) << D3(moved) << " against " << x;
    // A NaN or infinite angle (or a NaN period) makes every element NaN, the last row included.
    RotationAxis nanPeriod = zAxis();
    nanPeriod.setAngle(N);
    nanPeriod.getRotationMatrix(m, true);
    EXPECT_TRUE(allNaN(m));
    zAxis().getRotationMatrix(m, I);
    EXPECT_TRUE(allNaN(m));
}

// Single points through the single-point conversions, lists (but the double rotateByAngle)
// through the list conversions; sums of theta and angle in double, rounded to float for floats.
TEST(AxisRotate, CompositionsOfTheConversions) {
    std::mt19937_64 gen(99);
    std::uniform_real_distribution<double> c(-10, 10), u(-1, 1), angle(-720, 720);
    for (int i = 0; i < 200; ++i) {
        const RotationAxis axis(D3(c(gen), c(gen), c(gen)), D3(u(gen), u(gen), u(gen)),
                                std::fabs(angle(gen)) / 2 + 1, D3(u(gen), u(gen), u(gen)));
        const double a = angle(gen), periods = u(gen) * 3;
        const double addend = periods * axis.getAngle();
        std::vector<D3> pts;
        for (int k = 0; k < 20; ++k) {
            pts.emplace_back(c(gen), c(gen), c(gen));
        }
        std::vector<F3> ptsF(pts.begin(), pts.end());
        // The expected lists: records from the list conversion, theta plus the addend, back.
        const auto throughLists = [&](auto points, double add) {
            using P = typename decltype(points)::value_type;
            std::vector<decltype(axis.convertART(P()))> recs;
            axis.convertART(points, recs);
            for (auto& rec : recs) {
                rec.t = decltype(rec.t)(double(rec.t) + add);
            }
            axis.convertXYZ(recs, points);
            return points;
        };
        std::vector<D3> byAngle = pts, byPeriod = pts;
        std::vector<F3> byAngleF = ptsF, byPeriodF = ptsF, projected = ptsF;
        std::vector<D3> projectedD = pts;
        axis.rotateByAngle(byAngle, a);
        axis.rotateByPeriod(byPeriod, periods);
        axis.rotateByAngle(byAngleF, a);
        axis.rotateByPeriod(byPeriodF, periods);
        RotationAxis writable = axis;
        writable.projectToTheta(projected, a);
        writable.projectToTheta(projectedD, a);
        const std::vector<F3> wantAngleF = throughLists(ptsF, a),
                              wantPeriodF = throughLists(ptsF, addend);
        const std::vector<D3> wantPeriod = throughLists(pts, addend);
        for (std::size_t k = 0; k < pts.size(); ++k) {
            DART rec = axis.convertART(pts[k]);
            D3 single = pts[k], singleP = pts[k];
            axis.rotateByAngle(single, a);
            axis.rotateByPeriod(singleP, periods);
            F3 singleF = ptsF[k];
            axis.rotateByPeriod(singleF, periods);
            const ART recF = axis.convertART(ptsF[k]);
            EXPECT_TRUE(bitsEq(single, axis.convertXYZ(DART{rec.a, rec.r, rec.t + a})));
            EXPECT_TRUE(bitsEq(singleP, axis.convertXYZ(DART{rec.a, rec.r, rec.t + addend})));
            EXPECT_TRUE(bitsEq(
                singleF, axis.convertXYZ(ART{recF.a, recF.r, float(double(recF.t) + addend)})));
            EXPECT_TRUE(bitsEq(byAngle[k], single));
            EXPECT_TRUE(bitsEq(byPeriod[k], wantPeriod[k]) && bitsEq(byAngleF[k], wantAngleF[k]) &&
                        bitsEq(byPeriodF[k], wantPeriodF[k]));
            EXPECT_TRUE(bitsEq(projected[k], axis.convertXYZ(axis.convertAR(ptsF[k], a))));
            EXPECT_TRUE(bitsEq(projectedD[k], axis.convertXYZ(axis.convertAR(pts[k], a))));
        }
    }
    // One period equals the period angle; whole turns come back to rounding.
    const RotationAxis axis(D3(1, 2, 3), D3(1, 1, 0), 72, D3(0, 0, 1));
    D3 byPeriod(4, -2, 7), byAngle = byPeriod, turn = byPeriod;
    axis.rotateByPeriod(byPeriod, 1.0);
    axis.rotateByAngle(byAngle, 72.0);
    axis.rotateByPeriod(turn, -5.0);
    EXPECT_TRUE(bitsEq(byPeriod, byAngle) && nearScale(turn, D3(4, -2, 7), 8.0, 16));
}

TEST(AxisRotate, BadValuesAndRefusals) {
    const RotationAxis axis = zAxis();
    const struct {
        double angle; // rotateByAngle; angle / 30 periods for rotateByPeriod
        D3 point, rotated;
    } rows[] = {
        {N, D3(1, 0, 5), D3(N, N, N)},
        {I, D3(1, 0, 5), D3(N, N, N)},
        {90, D3(N, 0, 5), D3(N, N, N)},
        {90, D3(0, 0, 5), D3(0, 0, 5)}, // on the axis
    };
    for (const auto& row : rows) {
        D3 p = row.point;
        axis.rotateByAngle(p, row.angle);
        std::vector<F3> list{F3(row.point)};
        axis.rotateByPeriod(list, row.angle / 30.0);
        EXPECT_TRUE(sameAs(p, row.rotated) && sameAs(list[0], row.rotated)) << row.angle;
    }
    RotationAxis nanPeriod = zAxis(), unset, noPeriod = zAxis();
    nanPeriod.setAngle(N); // not refused: rotations by periods give NaN
    D3 p(1, 0, 5);
    nanPeriod.rotateByPeriod(p, 1);
    EXPECT_TRUE(sameAs(p, D3(N, N, N)));

    noPeriod.setAngle(0);
    std::vector<D3> pts{D3(1, 2, 3), D3(4, 5, 6)};
    std::vector<F3> ptsF{F3(1, 2, 3)};
    D3 point(1, 2, 3);
    F3 pointF(1, 2, 3);
    ORVMatrix4 m = filled(3);
    const Refusal toART{"MachineData", "convertART", kNotInitialised},
        toAR{"MachineData", "convertAR", kNotInitialised},
        back{"RotationAxis", "getRotationMatrix", kInvalidRotation};
    const struct {
        std::function<void()> call;
        Refusal refusal;
    } refusals[] = {
        {[&] { unset.rotateByAngle(point, 10); }, toART},
        {[&] { unset.rotateByAngle(pts, 10); }, toART},
        {[&] { unset.rotateByAngle(ptsF, 1); }, toART},
        {[&] { unset.rotateByPeriod(pointF, 1); }, toART},
        {[&] { unset.rotateByPeriod(point, 1); }, toART},
        {[&] { unset.rotateByPeriod(pts, 1); }, toART},
        {[&] { unset.rotateByPeriod(ptsF, 1); }, toART},
        {[&] { unset.projectToTheta(pts, 1); }, toAR},
        {[&] { unset.projectToTheta(ptsF, 1); }, toAR},
        {[&] { noPeriod.rotateByAngle(point, 1); }, back},
        {[&] { noPeriod.rotateByAngle(pts, 1); }, back},
        {[&] { noPeriod.rotateByAngle(ptsF, 1); }, back},
        {[&] { noPeriod.rotateByPeriod(pointF, 1); }, back},
        {[&] { noPeriod.rotateByPeriod(point, 1); }, back},
        {[&] { noPeriod.rotateByPeriod(pts, 1); }, back},
        {[&] { noPeriod.rotateByPeriod(ptsF, 1); }, back},
        {[&] { noPeriod.projectToTheta(pts, 1); }, back},
        {[&] { noPeriod.projectToTheta(ptsF, 1); }, back},
        {[&] { unset.getRotationMatrix(m, 10.0); }, back},
        {[&] { noPeriod.getRotationMatrix(m, 10.0); }, back}, // though the angle is given
        {[&] { noPeriod.getRotationMatrix(m, true); }, back},
        {[&] { noPeriod.getRotationMatrix(m, false); }, back},
    };
    for (const auto& row : refusals) {
        EXPECT_TRUE(throwsWith<orv::data::invalid>(row.call, row.refusal));
    }
    // Nothing written: points, lists and the matrix as they were.
    EXPECT_TRUE(pts.size() == 2 && tripletEq(pts[0], 1.0, 2.0, 3.0) &&
                tripletEq(pts[1], 4.0, 5.0, 6.0) && tripletEq(ptsF[0], 1.f, 2.f, 3.f) &&
                tripletEq(point, 1.0, 2.0, 3.0) && tripletEq(pointF, 1.f, 2.f, 3.f));
    EXPECT_TRUE(matrixEq(m, filled(3)));
}
