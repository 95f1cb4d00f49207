// ThetaTurboTransform. A recording mapping shows exactly what reaches the TurboTransform (space and
// triplet, bit for bit) and what comes back; the break-angle wrap and the unit changes are written
// out here once more as the oracle, the rotation axis (tested on its own) gives the ART values.
#include "TestSupport.h"

#include <random>

using namespace orvtest;
using orv::ART;
using orv::DART;
using orv::RotationAxis;
using orv::ThetaTurboTransform;
using orv::TurboTransform;

namespace {

RotationAxis zAxis(double period = 72.0) {
    return RotationAxis(D3(0, 0, 0), D3(0, 0, 1), period, D3(0, 1, 0));
}

// The point at radius r, theta (degrees) and height z about zAxis().
F3 polar(double r, double degrees, double z) {
    const double t = degrees * kPi / 180.0;
    return F3(D3(-r * std::sin(t), r * std::cos(t), z));
}

// At most one addition of 360 (float) when beta is above theta, then one subtraction when theta
// is above beta + 360 (double); the same in double for the double projection.
float wrap(float t, double beta) {
    t = beta > double(t) ? t + 360.0f : t;
    return double(t) > beta + 360.0 ? t - 360.0f : t;
}
double wrap(double t, double beta) {
    t = beta > t ? t + 360.0 : t;
    return t > beta + 360.0 ? t - 360.0 : t;
}
double radians(float degrees) {
    return double(degrees / 180.0f) * kPi;
}
double degrees(double radians) {
    return radians * 180.0 / kPi;
}

// meridional = axial and span = radial both ways; 999 in every theta it returns. Records each
// call; refuses the call numbered refuseCall.
class Recorder : public TurboTransform {
public:
    struct Call {
        std::string op;
        int space;
        D3 in;
        bool flag = false;
    };
    mutable std::vector<Call> calls;
    int refuseCall = -1;

    void convertARTtoSpaceTNs(space sp, const F3& art, F3& tns) const override {
        note("toTNs float", sp, D3(art), false);
        tns = F3(art.x, 999.0f, art.y);
    }
    void convertARTtoSpaceTNs(space sp, const D3& art, D3& tns) const override {
        note("toTNs double", sp, art, false);
        tns = D3(art.x, 999.0, art.y);
    }
    void convertSpaceTNsToART(space sp, const F3& tns, F3& art) const override {
        note("toART float", sp, D3(tns), false);
        art = F3(tns.x, tns.z, 999.0f);
    }
    void convertSpaceTNsToARTspanEQ0or1(space sp, const D3& tns, D3& art,
                                        bool flag) const override {
        note("toART wall", sp, tns, flag);
        art = D3(tns.x, tns.z, 999.0);
    }
    // The calls made since the last check, against the expected ones; clears the record.
    ::testing::AssertionResult made(const std::vector<Call>& want) const {
        std::vector<Call> got;
        got.swap(calls);
        bool ok = got.size() == want.size();
        for (std::size_t i = 0; ok && i < got.size(); ++i) {
            ok = got[i].op == want[i].op && got[i].space == want[i].space &&
                 bitsEq(got[i].in, want[i].in) && got[i].flag == want[i].flag;
        }
        if (ok) {
            return ::testing::AssertionSuccess();
        }
        auto failure = ::testing::AssertionFailure();
        for (const Call& c : got) {
            failure << c.op << " " << c.space << " " << c.in << " " << c.flag << "; ";
        }
        return failure;
    }

private:
    void note(const char* op, space sp, const D3& in, bool flag) const {
        calls.push_back({op, static_cast<int>(sp), in, flag});
        if (static_cast<int>(calls.size()) - 1 == refuseCall) {
            orv::throwError<orv::data::error>("Recorder", op, orv::SystemMsg("refused"));
        }
    }
};

} // namespace

// Every conversion that starts from a point, on random points and break angles: the wrapped
// theta, what the mapping receives and what the caller gets, bit for bit.
TEST(ThetaTurbo, FromPoints) {
    std::mt19937_64 gen(5);
    std::uniform_real_distribution<double> coord(-3, 3), angle(-600, 600), span(-0.2, 1.2);
    const RotationAxis axis(D3(0.5, -1, 2), D3(0.2, 0.1, 1), 7.5, D3(1, 0, 0));
    const Recorder tt;
    const double betas[] = {-540, -180, 0, 45, 180, N, I, -I};
    for (int i = 0; i < 400; ++i) {
        const double beta = i < 8 ? betas[i] : angle(gen);
        const ThetaTurboTransform ttf(beta, axis);
        const F3 p(D3(coord(gen), coord(gen), coord(gen))), q(D3(coord(gen), coord(gen), 1));
        const ART art = axis.convertART(p), artQ = axis.convertART(q);
        const float w = wrap(art.t, beta), wq = wrap(artQ.t, beta);
        const double t = radians(w), a = art.a, r = art.r, ref = angle(gen) / 100;
        double x = 7, y = 7, z = 7, m = 7, s = 7;
        ttf.convertXYZtoART(p, x, y, z);
        EXPECT_TRUE(tripletEq(D3(x, y, z), a, r, t) && tt.made({}));
        ttf.convertXYZtoMTS(p, m, y, s, tt);
        EXPECT_TRUE(tripletEq(D3(m, y, s), a, t, r) && tt.made({{"toTNs float", 0, D3(a, r, w)}}));
        ttf.convertXYZtoNMTS(p, m, y, s, tt);
        EXPECT_TRUE(tripletEq(D3(m, y, s), a, t, r) && tt.made({{"toTNs float", 3, D3(a, r, w)}}));
        EXPECT_TRUE(tripletEq(ttf.convertXYZtoNMTS(p, tt), a, t, r) &&
                    tt.made({{"toTNs float", 3, D3(a, r, w)}}));
        ttf.convertXYZtoARTSetHemisphere(p, x, y, z, ref); // no wrap: near the reference
        EXPECT_TRUE(
            tripletEq(D3(x, y, z), a, r, radians(axis.convertARTSetHemisphere(p, degrees(ref)).t)));

        const double sp = span(gen);
        const F3 onSpan = ttf.projectPointToSpan(p, sp, TurboTransform::spaceMTS, tt);
        EXPECT_TRUE(tt.made({{"toTNs float", 0, D3(a, r, w)},
                             {"toART float", 0, D3(float(a), float(t), float(sp))}}));
        EXPECT_TRUE(bitsEq(onSpan, axis.convertXYZ(ART{art.a, float(sp), float(degrees(t))})));
        const DART artD = axis.convertART(D3(p));
        const double wd = wrap(artD.t, beta), td = wd / 180.0 * kPi;
        for (const int type : {0, 1, 2, 7}) {
            const D3 got = ttf.projectPointToSpan(D3(p), ThetaTurboTransform::ProjectionType(type),
                                                  sp, TurboTransform::spaceNMTS, tt);
            const bool wall = type == 0 || type == 1;
            const D3 passed = wall ? D3(artD.a, td, sp) : D3(F3(D3(artD.a, td, sp)));
            EXPECT_TRUE(tt.made({{"toTNs double", 3, D3(artD.a, artD.r, wd)},
                                 {wall ? "toART wall" : "toART float", 3, passed, type == 0}}));
            EXPECT_TRUE(bitsEq(got, axis.convertXYZ(DART{passed.x, passed.z, degrees(td)})));
        }

        // Deltas from p to q: theta of q within half a turn of the wrapped theta of p.
        double dm = 7, dt = 7, ds = 7;
        ttf.calcNormalizedDeltas(p, q, dm, dt, ds, tt);
        const double t2 = radians(axis.convertARTSetHemisphere(q, degrees(t)).t);
        EXPECT_TRUE(
            tripletEq(D3(dm, dt, ds), double(artQ.a) - a, (t2 - t) / 7.5, double(artQ.r) - r));
        EXPECT_TRUE(
            tt.made({{"toTNs float", 3, D3(a, r, w)}, {"toTNs float", 3, D3(artQ.a, artQ.r, wq)}}));
        F3 moved;
        ttf.applyNormalizedDeltas(p, moved, dm, dt, ds, tt);
        const D3 target(a + dm, t + dt * 7.5, r + ds);
        EXPECT_TRUE(tt.made({{"toTNs float", 3, D3(a, r, w)}, {"toART float", 3, D3(F3(target))}}));
        EXPECT_TRUE(bitsEq(moved, axis.convertXYZ(ART{float(target.x), float(target.z),
                                                      float(degrees(target.y))})));
        // The outputs are written dm, ds, dt: one variable passed for all three holds dt.
        ttf.calcNormalizedDeltas(p, q, x, x, x, tt);
        EXPECT_TRUE(sameBits(x, dt));
        tt.calls.clear();
    }
}

// Towards points the caller's theta is used (never the mapping's), turned into degrees in
// double and rounded to float; the break angle plays no part.
TEST(ThetaTurbo, ToPoints) {
    std::mt19937_64 gen(6);
    std::uniform_real_distribution<double> v(-4, 4);
    const RotationAxis axis(D3(1, 2, 3), D3(1, 1, 0), 30, D3(0, 0, 1));
    const Recorder tt;
    for (int i = 0; i < 200; ++i) {
        const ThetaTurboTransform ttf(v(gen) * 100, axis);
        const D3 mts(v(gen), v(gen), v(gen));
        const F3 want = axis.convertXYZ(ART{float(mts.x), float(mts.z), float(degrees(mts.y))});
        F3 xyz;
        ttf.convertMTStoXYZ(mts.x, mts.y, mts.z, xyz, tt);
        EXPECT_TRUE(bitsEq(xyz, want) && tt.made({{"toART float", 0, D3(F3(mts))}}));
        ttf.convertNMTStoXYZ(mts.x, mts.y, mts.z, xyz, tt);
        EXPECT_TRUE(bitsEq(xyz, want) && tt.made({{"toART float", 3, D3(F3(mts))}}));
        EXPECT_TRUE(bitsEq(ttf.convertNMTStoXYZ(mts, tt), want) &&
                    tt.made({{"toART float", 3, D3(F3(mts))}}));
        ttf.convertARTtoXYZ(mts.x, mts.z, mts.y, xyz);
        EXPECT_TRUE(bitsEq(xyz, want));
    }
}

// The wrap at its boundaries (strict tests, one correction at most) and the values a host's
// geometry may hold, through a straight passage: NMTS = (axial / 4, theta, radius - 1).
TEST(ThetaTurbo, Rows) {
    const F3 at180(0, -1, 2), atM90(1, 0, 2), at0(0, 1, 2), atM170 = polar(1, -170, 2);
    const double m170 = radians(zAxis().convertART(atM170).t + 360.0f),
                 s170 = float(double(zAxis().convertART(atM170).r) - 1.0);
    const struct {
        double beta;
        F3 point;
        D3 nmts;
    } rows[] = {
        {-180, at180, D3(0.5, kPi, 0)},     // equal to beta + 360: unchanged
        {-90, atM90, D3(0.5, -kPi / 2, 0)}, // equal to beta: unchanged
        {0, atM90, D3(0.5, 1.5 * kPi, 0)},  // one addition
        {180, at180, D3(0.5, kPi, 0)},
        {200, atM170, D3(0.5, m170, s170)}, // one addition only: 190, still below beta
        {-600, at0, D3(0.5, -2 * kPi, 0)},  // one subtraction
        {-600, at180, D3(0.5, -kPi, 0)},    // one subtraction only: -180, still above -240
        {0, F3(float(N), 0, 0), D3(N, N, N)},
        {0, F3(0, 0, float(I)), D3(N, N, N)},
        {0, F3(0, MF, 2), D3(0.5, 0, float(U - 1.0))}, // undefined radius
        {0, F3(0, 0, 2), D3(0.5, 0, -1)},              // on the axis
        {N, F3(-1, 0, 2), D3(0.5, kPi / 2, 0)},        // NaN break angle: no wrap
        {I, at0, D3(0.5, 2 * kPi, 0)},
        {-I, at0, D3(0.5, -2 * kPi, 0)},
        {1e300, at0, D3(0.5, 2 * kPi, 0)},
    };
    const TurboTransform straight({{0, 1}, {4, 1}}, {{0, 2}, {4, 2}});
    for (const auto& row : rows) {
        const ThetaTurboTransform ttf(row.beta, zAxis());
        EXPECT_TRUE(sameAs(ttf.convertXYZtoNMTS(row.point, straight), row.nmts)) << row.beta;
    }
    const ThetaTurboTransform ttf(0, zAxis());
    const struct {
        D3 nmts, point;
    } back[] = {
        {D3(N, 0, 0.5), D3(N, N, N)}, {D3(0.5, N, 0.5), D3(N, N, N)}, {D3(0.5, 0, I), D3(N, N, N)}};
    for (const auto& row : back) {
        EXPECT_TRUE(sameAs(ttf.convertNMTStoXYZ(row.nmts, straight), row.point));
    }
    EXPECT_TRUE(sameAs(ttf.projectPointToSpan(D3(N, 1, 2), ThetaTurboTransform::wallEndsClamped,
                                              0.5, TurboTransform::spaceNMTS, straight),
                       D3(N, N, N)));
    // The double wrap at theta exactly beta and beta + 360: unchanged (strict tests).
    const Recorder rec;
    for (const double beta : {-180.0, -90.0}) {
        ThetaTurboTransform(beta, zAxis())
            .projectPointToSpan(D3(beta == -90 ? D3(atM90) : D3(at180)),
                                ThetaTurboTransform::generalSingle, 0.5, TurboTransform::spaceNMTS,
                                rec);
    }
    EXPECT_TRUE(rec.calls.size() == 4 && rec.calls[0].in.z == 180 && rec.calls[2].in.z == -90);

    // Deltas to a point exactly half a turn ahead: its theta is brought near the first theta in
    // radians turned back into degrees, a little above -89.99, so 90.01 is not turned.
    const F3 from = polar(1, -89.99, 0), to = polar(1, -89.99 + 180, 0);
    const float t1 = zAxis().convertART(from).t, t2 = zAxis().convertART(to).t;
    ASSERT_TRUE(double(t2) - double(t1) == 180 && degrees(radians(t1)) > double(t1));
    double dm = 7, dt = 7, ds = 7;
    ThetaTurboTransform(-180, zAxis()).calcNormalizedDeltas(from, to, dm, dt, ds, rec);
    EXPECT_TRUE(sameBits(dt, (radians(t2) - radians(t1)) / 72.0));
}

// Refusals come from the axis or the mapping and leave the caller's variables as they were.
TEST(ThetaTurbo, Refusals) {
    const Refusal toART{"MachineData", "convertART", kNotInitialised},
        toXYZ{"RotationAxis", "getRotationMatrix", kInvalidRotation},
        mapping{"Recorder", "toTNs float", "refused"};
    const ThetaTurboTransform unset, good(0, zAxis());
    RotationAxis flat = zAxis();
    flat.setAngle(0);
    const ThetaTurboTransform noPeriod(0, flat);
    const Recorder tt;
    Recorder refusing;
    double a = 7, b = 7, c = 7;
    F3 xyz(7, 7, 7);
    const F3 p(0, 1, 1);
    const struct {
        std::function<void()> call;
        Refusal refusal;
        bool data; // data::invalid, else data::error (the mapping's)
    } rows[] = {
        {[&] { unset.convertXYZtoART(p, a, b, c); }, toART, true},
        {[&] { unset.convertXYZtoARTSetHemisphere(p, a, b, c, 0); }, toART, true},
        {[&] { unset.convertXYZtoMTS(p, a, b, c, tt); }, toART, true},
        {[&] { unset.convertXYZtoNMTS(p, a, b, c, tt); }, toART, true},
        {[&] { unset.convertXYZtoNMTS(p, tt); }, toART, true},
        {[&] { unset.calcNormalizedDeltas(p, p, a, b, c, tt); }, toART, true},
        {[&] { unset.applyNormalizedDeltas(p, xyz, 0, 0, 0, tt); }, toART, true},
        {[&] { unset.projectPointToSpan(p, 0.5, TurboTransform::spaceNMTS, tt); }, toART, true},
        {[&] {
             unset.projectPointToSpan(D3(p), ThetaTurboTransform::wallEndsClamped, 0.5,
                                      TurboTransform::spaceNMTS, tt);
         },
         toART, true},
        {[&] { unset.convertARTtoXYZ(1, 1, 0, xyz); }, toXYZ, true},
        {[&] { noPeriod.convertMTStoXYZ(1, 0, 1, xyz, tt); }, toXYZ, true},
        {[&] { noPeriod.convertNMTStoXYZ(1, 0, 1, xyz, tt); }, toXYZ, true},
        {[&] { noPeriod.convertNMTStoXYZ(D3(1, 0, 1), tt); }, toXYZ, true},
        {[&] { noPeriod.applyNormalizedDeltas(p, xyz, 0, 0, 0, tt); }, toXYZ, true},
        {[&] { noPeriod.projectPointToSpan(p, 0.5, TurboTransform::spaceMTS, tt); }, toXYZ, true},
        {[&] { good.convertXYZtoMTS(p, a, b, c, (refusing.refuseCall = 0, refusing)); }, mapping,
         false},
        {[&] { good.convertXYZtoNMTS(p, a, b, c, (refusing.refuseCall = 0, refusing)); }, mapping,
         false},
        {[&] { good.calcNormalizedDeltas(p, p, a, b, c, (refusing.refuseCall = 1, refusing)); },
         mapping, false},
        {[&] { good.applyNormalizedDeltas(p, xyz, 0, 0, 0, (refusing.refuseCall = 0, refusing)); },
         mapping, false},
    };
    for (const auto& row : rows) {
        refusing.calls.clear();
        EXPECT_TRUE(row.data ? throwsWith<orv::data::invalid>(row.call, row.refusal)
                             : throwsWith<orv::data::error>(row.call, row.refusal));
    }
    EXPECT_TRUE(a == 7 && b == 7 && c == 7 && tripletEq(xyz, 7.f, 7.f, 7.f));
    // A period angle of 0 gives dt = 0 without a refusal.
    noPeriod.calcNormalizedDeltas(F3(0, 1, 1), F3(-2, 0, 3), a, b, c, tt);
    EXPECT_TRUE(tripletEq(D3(a, b, c), 2.0, 0.0, 1.0));
}

// A mapping of its own that reads theta: meridional = theta, span = radial.
class ThetaAsMeridional : public TurboTransform {
public:
    void convertARTtoSpaceTNs(space, const F3& art, F3& tns) const override {
        tns = F3(art.z, 0.0f, art.y);
    }
};

// Lists that revisit the same (axial, radial) bits at other thetas, five pairs in random order
// (more than the list keeps at once): the platform's model gives every element the single-point
// result in every space; a derived mapping that reads theta is still called for every point.
TEST(ThetaTurbo, ListsOfRepeatedMeridionalPoints) {
    const TurboTransform passage({{-1, 1}, {0.5f, 1.2f}, {2, 1.2f}},
                                 {{-1, 2}, {0, 1.9f}, {2, 1.8f}});
    const ThetaAsMeridional byTheta;
    // Axis along z from the origin: axial = z exactly; at quarter turns the radius too.
    const ThetaTurboTransform ttf(-30, RotationAxis(D3(0, 0, 0), D3(0, 0, 1), 10, D3(1, 0, 0)));
    const float pairs[5][2] = {
        {0.25f, 1.3f}, {0.25f, 1.5f}, {0.5f, 1.3f}, {0.5f, 1.5f}, {0.75f, 1.7f}};
    std::mt19937_64 gen(12);
    std::uniform_int_distribution<int> pick(0, 4), quarter(0, 3);
    std::vector<F3> pts;
    for (int i = 0; i < 2000; ++i) {
        const float* ar = pairs[pick(gen)];
        const float r = ar[1];
        const F3 turns[4] = {F3(r, 0, ar[0]), F3(0, r, ar[0]), F3(-r, 0, ar[0]), F3(0, -r, ar[0])};
        pts.push_back(turns[quarter(gen)]);
    }
    const TurboTransform::space spaces[] = {TurboTransform::spaceMTS, TurboTransform::spaceNMTS,
                                            TurboTransform::spaceMPrime};
    for (TurboTransform::space sp : spaces) {
        std::vector<D3> out;
        ttf.convertXYZtoSpace(sp, pts, out, passage);
        ASSERT_EQ(out.size(), pts.size());
        for (std::size_t i = 0; i < pts.size(); ++i) {
            ASSERT_TRUE(bitsEq(out[i], ttf.convertXYZtoSpace(sp, pts[i], passage)))
                << sp << " " << i;
        }
    }
    std::vector<D3> out;
    ttf.convertXYZtoNMTS(pts, out, byTheta);
    for (std::size_t i = 0; i < pts.size(); ++i) {
        ASSERT_TRUE(bitsEq(out[i], ttf.convertXYZtoNMTS(pts[i], byTheta))) << i;
    }
}

// The list forms: every element the single-point result, bit for bit, through the platform's
// passage model and through a mapping derived by a host; refusals leave the output unchanged.
TEST(ThetaTurbo, ListsAreTheSinglePointResults) {
    std::mt19937_64 gen(8);
    std::uniform_real_distribution<double> v(-3, 3), m(-0.2, 1.2);
    const TurboTransform passage({{-1, 1}, {0.5f, 1.2f}, {2, 1.2f}},
                                 {{-1, 2}, {0, 1.9f}, {2, 1.8f}});
    const Recorder recorder;
    const ThetaTurboTransform ttf(-30, RotationAxis(D3(0.1, 0, 0), D3(0, 0.1, 1), 10, D3(1, 0, 0)));
    std::vector<F3> pts;
    std::vector<D3> tns;
    for (int i = 0; i < 1000; ++i) {
        pts.emplace_back(D3(v(gen), v(gen), v(gen)));
        tns.emplace_back(m(gen), v(gen) * 2, m(gen));
    }
    const TurboTransform* mappings[] = {&passage, &recorder};
    for (const TurboTransform* tt : mappings) {
        std::vector<D3> mts, nmts(3), any;
        std::vector<F3> back, backN, backAny(5);
        ttf.convertXYZtoMTS(pts, mts, *tt);
        ttf.convertXYZtoNMTS(pts, nmts, *tt);
        ttf.convertXYZtoSpace(TurboTransform::spaceNMTS, pts, any, *tt);
        ttf.convertMTStoXYZ(tns, back, *tt);
        ttf.convertNMTStoXYZ(tns, backN, *tt);
        ttf.convertSpaceToXYZ(TurboTransform::spaceMTS, tns, backAny, *tt);
        ASSERT_TRUE(mts.size() == pts.size() && backAny.size() == tns.size());
        for (std::size_t i = 0; i < pts.size(); ++i) {
            D3 single;
            ttf.convertXYZtoMTS(pts[i], single.x, single.y, single.z, *tt);
            F3 p;
            ttf.convertMTStoXYZ(tns[i].x, tns[i].y, tns[i].z, p, *tt);
            ASSERT_TRUE(
                bitsEq(mts[i], single) && bitsEq(back[i], p) && bitsEq(backAny[i], p) &&
                bitsEq(nmts[i], ttf.convertXYZtoNMTS(pts[i], *tt)) && bitsEq(any[i], nmts[i]) &&
                bitsEq(backN[i], ttf.convertNMTStoXYZ(tns[i], *tt)) &&
                bitsEq(ttf.convertXYZtoSpace(TurboTransform::spaceMTS, pts[i], *tt), single) &&
                bitsEq(ttf.convertSpaceToXYZ(TurboTransform::spaceMTS, tns[i], *tt), p))
                << i;
        }
    }
    // Refused lists leave the output as it was: the axis before the first element (towards the
    // spaces) or after its mapping call (towards points), the mapping at the element it refuses.
    RotationAxis flat = ttf.getRotationAxis();
    flat.setAngle(0);
    const ThetaTurboTransform unset, noPeriod(0, flat);
    Recorder refusing;
    refusing.refuseCall = 600;
    std::vector<D3> out(1, D3(7, 7, 7));
    std::vector<F3> outF(1, F3(7, 7, 7));
    EXPECT_TRUE(throwsWith<orv::data::invalid>([&] { unset.convertXYZtoNMTS(pts, out, passage); },
                                               "MachineData", "convertART", kNotInitialised));
    EXPECT_TRUE(
        throwsWith<orv::data::invalid>([&] { noPeriod.convertMTStoXYZ(tns, outF, recorder); },
                                       "RotationAxis", "getRotationMatrix", kInvalidRotation));
    EXPECT_TRUE(throwsWith<orv::data::invalid>(
        [&] { ttf.convertSpaceToXYZ(TurboTransform::space(1), tns, outF, passage); },
        "TurboTransform", "convertSpaceTNsToART", "Unknown meridional space."));
    EXPECT_TRUE(throwsWith<orv::data::error>([&] { ttf.convertXYZtoMTS(pts, out, refusing); },
                                             "Recorder", "toTNs float", "refused"));
    EXPECT_TRUE(refusing.calls.size() == 601 && out.size() == 1 && outF.size() == 1 &&
                tripletEq(out[0], 7.0, 7.0, 7.0) && tripletEq(outF[0], 7.f, 7.f, 7.f));
    unset.convertNMTStoXYZ(std::vector<D3>(), outF, passage); // empty: nothing to refuse
    unset.convertXYZtoSpace(TurboTransform::spaceMTS, std::vector<F3>(), out, passage);
    EXPECT_TRUE(out.empty() && outF.empty());
}
