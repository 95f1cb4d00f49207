// TripletBase: one table of its operations on ordinary and awkward values, exact results.
#include "TestSupport.h"

#include <sstream>

using namespace orvtest;
using orv::TripletBase;

TEST(Triplet, OperationsTable) {
    enum Op { Length, Normalize, Perpendicular, DivideAssign, Divide, Dot, Cross };
    const D3 z0(0, 0, 0);
    const struct {
        Op op;
        D3 v, arg, want; // a scalar result in x
    } rows[] = {
        {Length, D3(3, 4, 0), z0, D3(5, 0, 0)},
        {Length, D3(M, 0, 0), z0, D3(U, 0, 0)}, // undefined: the undefined value
        {Length, D3(0, 0, M), z0, D3(U, 0, 0)},
        {Length, D3(-M, 0, 0), z0, D3(I, 0, 0)}, // not the marker: overflows
        {Length, D3(U, 0, 0), z0, D3(U, 0, 0)},  // the float maximum is ordinary in double
        {Length, D3(1e200, 0, 0), z0, D3(I, 0, 0)},
        {Length, D3(N, 0, 0), z0, D3(N, 0, 0)},
        {Length, D3(-I, 0, 0), z0, D3(I, 0, 0)},
        {Length, D3(DN, DN, DN), z0, z0},
        {Normalize, z0, z0, z0}, // a zero vector stays, nothing thrown
        {Normalize, D3(0, 0, 5), z0, D3(0, 0, 1)},
        {Normalize, D3(M, 0, 0), z0, D3(M / U, 0, 0)}, // divided by the undefined value
        {Normalize, D3(DN, 0, 0), z0, D3(DN, 0, 0)},   // length 0: kept
        {Normalize, D3(N, 1, 0), z0, D3(N, N, N)},
        {Normalize, D3(I, 0, 0), z0, D3(N, 0, 0)},
        {Normalize, D3(-M, 0, 0), z0, D3(-0.0, 0, 0)},
        {Normalize, D3(1e200, 1e200, 0), z0, z0},
        {Perpendicular, D3(1, 2, 3), D3(0, 0, 10), D3(1, 2, 0)},
        {Perpendicular, D3(1, 2, 3), z0, D3(1, 2, 3)},
        {Perpendicular, D3(1, 2, 3), D3(0, 0, N), D3(N, N, N)},
        {Perpendicular, D3(1, 2, 3), D3(0, 0, I), D3(N, N, N)},
        {Perpendicular, D3(1, 2, 3), D3(0, 0, DN), D3(1, 2, 3)},
        {Perpendicular, D3(1, 2, 3), D3(0, 0, M), D3(1, 2, -I)},
        {DivideAssign, D3(2, 4, 6), D3(2, 0, 0), D3(1, 2, 3)},
        {DivideAssign, D3(2, 4, 6), D3(N, 0, 0), D3(N, N, N)},
        {DivideAssign, D3(2, -4, 6), D3(I, 0, 0), D3(0, -0.0, 0)},
        {DivideAssign, D3(2, 4, 6), D3(DN, 0, 0), D3(I, I, I)},
        {Divide, D3(3, 6, 9), D3(3, 0, 0), D3(1, 2, 3)},
        {Divide, D3(2, 4, 6), D3(N, 0, 0), D3(N, N, N)},
        {Dot, D3(1, 2, 3), D3(4, 5, 6), D3(32, 0, 0)},
        {Dot, D3(1e16, 1, -1e16), D3(1, 1, 1), z0}, // (1e16 + 1) - 1e16: summed in this order
        {Dot, D3(1e16, -1e16, 1), D3(1, 1, 1), D3(1, 0, 0)},
        {Cross, D3(1, 0, 0), D3(0, 1, 0), D3(0, 0, 1)},
        {Cross, D3(1, 2, 3), D3(-4, 5, 0.5), D3(-14, -12.5, 13)},
    };
    for (const auto& r : rows) {
        D3 v = r.v, got;
        switch (r.op) {
        case Length:
            got = D3(v.length(), 0, 0);
            break;
        case Normalize:
            v.normalize(), got = v;
            break;
        case Perpendicular:
            got = v.perpendicularComponent(r.arg);
            break;
        case DivideAssign:
            v /= r.arg.x, got = v;
            break;
        case Divide:
            got = v / r.arg.x;
            break;
        case Dot:
            got = D3(v.dot(r.arg), 0, 0);
            break;
        case Cross:
            got = v.cross(r.arg);
            break;
        }
        EXPECT_TRUE(sameAs(got, r.want)) << r.op << " " << r.v;
    }
    // Single precision: the float marker is the undefined one.
    EXPECT_EQ(F3(MF, 0, 0).length(), MF);
    EXPECT_EQ(F3(-MF, 0, 0).length(), float(I));
    F3 marker(MF, 0, 0);
    marker.normalize();
    EXPECT_TRUE(tripletEq(marker, 1.f, 0.f, 0.f));
    EXPECT_TRUE(tripletEq(F3(1, 2, 3).perpendicularComponent(F3(0, 0, 10)), 1.f, 2.f, 0.f));
    EXPECT_TRUE(!D3(I, 0, 0).isUndefined() && !D3(N, 0, 0).isUndefined() &&
                D3(0, M, 0).isUndefined() && !D3(0, MF, 0).isUndefined() &&
                F3(0, 0, MF).isUndefined());
}

TEST(Triplet, PrecisionOfProductsAndConversions) {
    // Float times a double scalar: the product formed in double, rounded once to float.
    const F3 t(0.1f, 1.0f / 3.0f, 16777216.0f);
    const F3 p = t * 3.0000001;
    EXPECT_TRUE(tripletEq(p, float(double(0.1f) * 3.0000001),
                          float(double(1.0f / 3.0f) * 3.0000001), float(16777216.0 * 3.0000001)));
    EXPECT_TRUE(tripletEq(F3(1, 1, 1) * 0.1, 0.1f, 0.1f, 0.1f)); // the scalar is not rounded first
    // Narrowing rounds each component; beyond the float range (the double marker too) infinite.
    EXPECT_TRUE(tripletEq(F3(D3(0.1, 0.2, 0.3)), 0.1f, 0.2f, 0.3f));
    EXPECT_TRUE(sameAs(F3(D3(M, -1e300, DN)), D3(I, -I, 0)));
    EXPECT_TRUE(tripletEq(D3(F3(0.1f, 0, MF)), double(0.1f), 0.0, U)); // widening is exact
    std::vector<D3> packed{{1, 2, 3}, {4, 5, 6}};
    EXPECT_EQ((&packed[0].x)[4], 5.0); // components x, y, z and nothing else
}

TEST(Triplet, DivisionByZeroAndStreamOutput) {
    for (const double zero : {0.0, -0.0}) {
        D3 u(2, 4, 6);
        EXPECT_TRUE(throwsWith<orv::data::invalid>([&] { u /= zero; }, "Triplet",
                                                   "operator/=", "Attempt to divide by zero."));
        EXPECT_TRUE(throwsWith<orv::data::invalid>([&] { (void)(u / zero); }, "Triplet",
                                                   "operator/", "Attempt to divide by zero."));
        EXPECT_TRUE(tripletEq(u, 2.0, 4.0, 6.0)); // left unchanged
    }
    std::ostringstream os;
    os << D3(1, U, 0.5) << D3(M, -2, 0);
    EXPECT_EQ(os.str(), "(1, UNDEF, 0.5)(1.79769e+308, -2, 0)");
}
