#ifndef ORV_TESTS_MATHHARDCASES_H
#define ORV_TESTS_MATHHARDCASES_H

// Published hard-to-round arguments shared by the tests of the scalar and the vector paths.

namespace orvtest {

// atan2's worst cases for correct rounding in double precision, (y, x), as listed by the
// CORE-MATH project's worst-case file atan2.wc: results closer to a rounding boundary than any
// fast path's bound decides.
constexpr double kAtan2WorstCases[][2] = {
    {0x5.0c0913c304108p+52, 0xd.e8e7150878bbp+48},  {0x3.fb515bccee34cp+52, 0x1.08b801e149ea1p+52},
    {0xa.3daf052d9e0d8p+56, 0x1.b75934f5ff25ap+52}, {0xf.d2d9034f224b8p+52, 0x3.0f08a84aad728p+52},
    {0x1.43a2619d9e519p+60, 0x2.2958260348d1ap+52}, {0x1.5a55ccdb2b2c3p+72, 0x1.b496eb2832b1ep+52},
    {0x2.92687a9c4d76cp+52, 0xe.bc30b2d0daa2p+48},  {0xe.9635ff6a492p+60, 0xe.9c8b94f78501p+48}};

} // namespace orvtest

#endif
