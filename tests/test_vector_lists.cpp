// The list conversions that take their atan2, sine and cosine several points at a time: on large
// random lists with special points among them, every element has the bits of the single-point
// operations (the rotations with continuity: the list towards ART, theta plus the addend, each
// record back through the single-point convertXYZ), in both precisions.
#include "TestSupport.h"

#include <random>

using namespace orvtest;
using orv::ART;
using orv::DART;
using orv::RotationAxis;

namespace {

// Random points in a cube of side 200 about a skew axis, with points that the vector paths hand
// to the single calls among them: on the axis (radius 0), NaN, the undefined marker, huge values,
// at whole quarter turns (reduced angles near zero).
std::vector<D3> points(std::size_t n) {
    std::mt19937_64 gen(2028);
    std::uniform_real_distribution<double> c(-100, 100);
    std::vector<D3> p(n);
    for (D3& x : p) {
        x = D3(c(gen), c(gen), c(gen));
    }
    const D3 special[] = {D3(1, -2, 3),    D3(1.3, -2.2, 4), D3(N, 1, 2),  D3(M, 0, 0),
                          D3(1e300, 1, 1), D3(-I, 5, 5),     D3(1, 20, 3), D3(1, -2, 50)};
    for (std::size_t i = 0; i < n; i += 97) {
        p[i] = special[(i / 97) % 8];
    }
    return p;
}

template <class T> std::vector<orv::TripletBase<T>> at(const std::vector<D3>& pts) {
    return std::vector<orv::TripletBase<T>>(pts.begin(), pts.end());
}

// The single-point rotation by an angle: the double one as such (no continuity), the float one
// as the list rotation does it, from the list's record.
D3 byAngleOne(const RotationAxis& axis, D3 p, const DART&, double angle) {
    axis.rotateByAngle(p, angle);
    return p;
}
F3 byAngleOne(const RotationAxis& axis, F3, const ART& rec, double angle) {
    return axis.convertXYZ(ART{rec.a, rec.r, float(double(rec.t) + angle)});
}

// Rotations and projections of one precision against the single-point operations.
template <class T, class R>
::testing::AssertionResult rotationsMatch(const RotationAxis& axis,
                                          const std::vector<orv::TripletBase<T>>& pts, double angle,
                                          double periods) {
    using P = orv::TripletBase<T>;
    std::vector<P> byAngle = pts, byPeriod = pts, projected = pts;
    axis.rotateByAngle(byAngle, angle);
    axis.rotateByPeriod(byPeriod, periods);
    RotationAxis writable = axis;
    writable.projectToTheta(projected, angle);
    std::vector<R> recs;
    axis.convertART(pts, recs);
    const double addend = periods * axis.getAngle();
    const auto plus = [](const R& rec, double add) {
        return R{rec.a, rec.r, decltype(rec.t)(double(rec.t) + add)};
    };
    for (std::size_t i = 0; i < pts.size(); ++i) {
        if (!bitsEq(byAngle[i], byAngleOne(axis, pts[i], recs[i], angle)) ||
            !bitsEq(byPeriod[i], axis.convertXYZ(plus(recs[i], addend))) ||
            !bitsEq(projected[i], axis.convertXYZ(axis.convertAR(pts[i], angle)))) {
            return ::testing::AssertionFailure() << "point " << i << " angle " << angle;
        }
    }
    return ::testing::AssertionSuccess();
}

} // namespace

TEST(VectorLists, RotationsAndProjections) {
    const RotationAxis skew(D3(1, -2, 3), D3(0.3, -0.2, 1), 30, D3(1, 0, 0));
    const std::vector<D3> pts = points(40000);
    // Small angles; quarter turns; angles whose radians pass 2^12 (the wide reduction).
    for (const double angle : {7.5, -90.0, 3.0e5}) {
        EXPECT_TRUE((rotationsMatch<double, DART>(skew, pts, angle, angle / 7.0)));
        EXPECT_TRUE((rotationsMatch<float, ART>(skew, at<float>(pts), angle, -angle / 3.0)));
    }
}

// Records with thetas of many turns, quarter turns, NaN and infinite values, to points.
TEST(VectorLists, RecordsToPoints) {
    const RotationAxis skew(D3(1, -2, 3), D3(0.3, -0.2, 1), 30, D3(1, 0, 0));
    std::mt19937_64 gen(2029);
    std::uniform_real_distribution<double> u(-1, 1);
    std::vector<DART> drec;
    for (int i = 0; i < 40000; ++i) {
        const double t = i % 5 == 0 ? 90.0 * (i % 17) : u(gen) * (i % 3 == 0 ? 4e5 : 720);
        drec.push_back(DART{u(gen) * 50, u(gen) * 50 + 50, t});
    }
    const DART special[] = {{N, 1, 2}, {1, N, 2}, {1, 2, N}, {1, 2, I}, {M, 2, 3}, {0, 0, -0.0}};
    for (std::size_t k = 0; k < 6; ++k) {
        drec[k * 101 + 3] = special[k];
    }
    std::vector<ART> frec;
    for (const DART& r : drec) {
        frec.push_back(ART{float(r.a), float(r.r), float(r.t)});
    }
    std::vector<D3> dout;
    std::vector<F3> fout;
    skew.convertXYZ(drec, dout);
    skew.convertXYZ(frec, fout);
    ASSERT_TRUE(dout.size() == drec.size() && fout.size() == frec.size());
    for (std::size_t i = 0; i < drec.size(); ++i) {
        ASSERT_TRUE(bitsEq(dout[i], skew.convertXYZ(drec[i])) &&
                    bitsEq(fout[i], skew.convertXYZ(frec[i])))
            << i << " " << drec[i].t;
    }
}
