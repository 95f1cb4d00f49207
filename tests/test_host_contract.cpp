// The up vector a rotation axis stores, bit for bit, for ordinary, tiny and huge up vectors and
// directions. It is read back through convertXYZ of (a 0, r 1, theta 0) on an axis through the
// origin, which is the stored up vector exactly (the rotation by 0 is the identity).
#include "TestSupport.h"

#include <cmath>

namespace {
using D3 = orv::TripletBase<double>;

struct UpCase {
    const char* label;
    D3 dir;
    D3 up;
    D3 stored;
};

D3 storedUp(const orv::RotationAxis& axis) {
    return axis.convertXYZ(orv::DART{0.0, 1.0, 0.0});
}
} // namespace

TEST(RotationAxisUpVector, StoredBitForBitForOrdinaryTinyAndHugeVectors) {
    const double s = 0x1.6a09e667f3bccp-1; // sqrt(0.5) as (1, 1, 0) normalises
    const UpCase cases[] = {
        // Squared lengths that do not overflow: perpendicular part, then normalised.
        {"ordinary, z axis", D3(0, 0, 1), D3(3e-8, 4e-8, 1), D3(0.6, 0.8, 0)},
        {"ordinary, skew axis", D3(0.3, -0.2, 5), D3(1, 2, 3),
         D3(0x1.72685c247dda2p-2, 0x1.dd434e543126cp-1, 0x1.fe9c409177b69p-7)},
        {"tiny: squared length underflows, kept as given", D3(0, 0, 1), D3(3e-170, 4e-170, 0),
         D3(3e-170, 4e-170, 0)},
        // Squared lengths that overflow: scaled down, perpendicular part scaled, normalised.
        {"huge, perpendicular part underflows", D3(0, 0, 1), D3(3e-8, 4e-8, 1e155),
         D3(0.6, 0.8, 0)},
        {"huge, perpendicular part subnormal", D3(0, 0, 1), D3(1e-160, 0, 1e155), D3(1, 0, 0)},
        {"huge, negative components", D3(0, 0, 1), D3(-4e-8, -3e-8, -1e155), D3(-0.8, -0.6, 0)},
        {"huge along y, huge direction", D3(0, 0, 1e300), D3(0, 1e300, 0), D3(0, 1, 0)},
        {"huge diagonal", D3(0, 0, 1), D3(1e300, 1e300, 0), D3(s, s, 0)},
        {"huge diagonal direction", D3(1e300, 1e300, 0), D3(0, 0, 1), D3(0, 0, 1)},
        {"huge, skew axis", D3(1, 2, 2), D3(3e200, 0, 0),
         D3(0x1.e2b7dddfefa66p-1, -0x1.e2b7dddfefa66p-3, -0x1.e2b7dddfefa66p-3)},
        {"near the double maximum, diagonal axis", D3(1, 1, 0), D3(1.7e308, 1.6e308, 1e308),
         D3(0x1.98946f59a8bbp-5, -0x1.98946f59a8be6p-5, 0x1.feb98b3012ebcp-1)},
    };
    for (const UpCase& c : cases) {
        const orv::RotationAxis axis(D3(0, 0, 0), c.dir, 30, c.up);
        EXPECT_TRUE(orvtest::tripletEq(storedUp(axis), c.stored.x, c.stored.y, c.stored.z))
            << c.label;
    }
    // A NaN direction leaves a NaN up vector, huge or not.
    const D3 nan = storedUp(orv::RotationAxis(D3(0, 0, 0), D3(NAN, 0, 0), 30, D3(0, 1e300, 0)));
    EXPECT_TRUE(std::isnan(nan.x) && std::isnan(nan.y) && std::isnan(nan.z));
    // Single precision measures theta from the mended up vector again (rounded to float, the
    // unmended one was (0, 0, 0), and every theta 0).
    const orv::RotationAxis mended(D3(0, 0, 0), D3(0, 0, 1), 30, D3(3e-8, 4e-8, 1e155));
    EXPECT_LE(orvtest::ulpDistance(mended.convertART(orv::TripletBase<float>(-4, 3, 7)).t, 90.0f),
              2);
}
