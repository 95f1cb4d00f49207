#ifndef ORV_AXIS_DETAIL_HEMISPHERE_H
#define ORV_AXIS_DETAIL_HEMISPHERE_H

// Internal: the hemisphere rule (theta moved by whole turns to within half a turn of a reference)
// and theta continuity along a list, which applies it from one output theta to the next.

#include "orv/foundation/Config.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

namespace orv {
namespace detail {

// Turn count of the hemisphere rule (both angles in degrees, double): d = theta - reference; when
// |d| >= 180, n = d / 360 rounded to nearest with halves away from zero (d / 360 + 0.5 for d > 0,
// d / 360 - 0.5 otherwise, truncated towards zero); otherwise 0. A NaN or infinite d gives 0, so
// theta stays as it is.
//
// The truncation runs through a 64-bit integer: where n fits in 32 bits this is the 32-bit
// truncation; beyond it is still exact (a double of magnitude 2^52 or more is already an integer,
// so from 2^62 on the quotient is used as it is). Written without branches on the data, because
// the lists apply it to every point and points on both sides of the cut would defeat prediction.
inline double turnsNear(double theta, double reference) {
    const double d = theta - reference;
    const double q = d / 360.0 + (d > 0.0 ? 0.5 : -0.5);
    const bool fits = std::fabs(q) < 4611686018427387904.0; // 2^62; false for NaN
    const double truncated = static_cast<double>(static_cast<std::int64_t>(fits ? q : 0.0));
    const double turns = fits ? truncated : q;
    const bool moves = (std::fabs(d) >= 180.0) & (std::fabs(d) <= 1.7976931348623157e308);
    return moves ? turns : 0.0;
}

// Theta within half a turn of the reference: theta - 360 n with n = turnsNear(theta, reference).
// With n = 0 this is theta itself, bit for bit (theta - 0 keeps -0, infinities and NaN).
inline double nearReference(double theta, double reference) {
    return theta - 360.0 * turnsNear(theta, reference);
}

// A theta in degrees (double) at the record's precision.
inline float atRecordPrecision(double theta, float) {
    return static_cast<float>(theta);
}
inline double atRecordPrecision(double theta, double) {
    return theta;
}

// Largest number of points that a list converts at a time (see BlockKernel.h).
constexpr std::size_t kArtBlock = 128;

// Continuity within one block. t holds the m thetas as converted (record precision); on return it
// holds the output thetas. previous is the output theta before the block, or null for the first
// block, whose first theta is brought near the reference (or kept when there is none).
//
// The rule makes each output theta depend on the one before it, a chain of a division and two
// conversions per point. To keep the points independent, the turn counts are first predicted
// from the steps between the converted thetas (a step of 180 or more is a turn back, of -180 or
// less a turn forward: exact arithmetic gives n_k = n_(k-1) + that), then every prediction is
// checked against the rule applied to the predicted previous output (see below). When all are
// proved, the predicted thetas are the rule's results bit for bit (by induction from the first
// point, computed by the rule directly); from the first unproved one on, the rest of the block is
// computed by the rule point by point.
template <class T>
ORV_FORCE_INLINE void continueBlock(T* t, std::size_t m, const T* previous,
                                    const double* reference) {
    const double t0 = static_cast<double>(t[0]);
    double running = 0.0; // turn count of the first point, by the rule
    if (previous != nullptr) {
        running = turnsNear(t0, static_cast<double>(*previous));
    } else if (reference != nullptr) {
        running = turnsNear(t0, *reference);
    }
    // Steps (independent), their running sum (one addition per point), predictions. The counts
    // are whole numbers; the check below refuses any of 2^52 or more, where sums could round.
    double turns[kArtBlock];
    turns[0] = 0.0;
    for (std::size_t k = 1; k < m; ++k) {
        const double step = static_cast<double>(t[k]) - static_cast<double>(t[k - 1]);
        turns[k] = (step >= 180.0 ? 1.0 : 0.0) - (step <= -180.0 ? 1.0 : 0.0);
    }
    std::size_t j = 0;
    for (; j + 4 <= m; j += 4) { // four points per addition on the chain
        const double s0 = turns[j];
        const double s1 = s0 + turns[j + 1];
        const double s2 = s1 + turns[j + 2];
        const double s3 = s2 + turns[j + 3];
        turns[j] = running + s0;
        turns[j + 1] = running + s1;
        turns[j + 2] = running + s2;
        turns[j + 3] = running + s3;
        running += s3;
    }
    for (; j < m; ++j) {
        running += turns[j];
        turns[j] = running;
    }
    T predicted[kArtBlock];
    for (std::size_t k = 0; k < m; ++k) {
        predicted[k] = atRecordPrecision(static_cast<double>(t[k]) - 360.0 * turns[k], T());
    }
    // The check, written so that it vectorises and needs no division: the rule gives turns[k]
    // exactly when either theta does not move and turns[k] is 0, or it moves and its quotient
    // q = d / 360 +- 0.5 truncates to turns[k], that is turns[k] <= q < turns[k] + 1 (q > 0) or
    // turns[k] - 1 < q <= turns[k] (q < 0). Here q is estimated with a multiplication, which is
    // within a few units in the last place of the rule's q; an estimate at least 2^-45 |q| inside
    // those bounds proves the rule's q is inside them too. Anything closer to a bound (or a turn
    // count of 2^52 or more) counts as a disagreement and goes to the rule itself.
    double wrong[kArtBlock]; // 1 where the prediction is not proved
    wrong[0] = std::fabs(turns[0]) < 4503599627370496.0 ? 0.0 : 1.0;
    for (std::size_t k = 1; k < m; ++k) {
        const double nk = turns[k];
        const double d = static_cast<double>(t[k]) - static_cast<double>(predicted[k - 1]);
        const double size = std::fabs(d);
        // Where theta moves, d is not 0 and its sign picks the half turn as in the rule.
        const double half = std::copysign(0.5, d);
        const double q = d * (1.0 / 360.0) + half;
        const double margin = std::fabs(q) * 0x1p-45;
        const double low = (nk - 0.5) + half; // nk for d > 0, nk - 1 for d < 0
        const bool inside = (low + margin <= q) & (q <= low + 1.0 - margin);
        const bool moves = (size >= 180.0) & (size <= 1.7976931348623157e308);
        const bool exact = std::fabs(nk) < 4503599627370496.0; // 2^52
        const bool agrees = (moves & inside & exact) | (!moves & (nk == 0.0));
        wrong[k] = agrees ? 0.0 : 1.0;
    }
    std::size_t k = 0;
    for (; k < m && wrong[k] == 0.0; ++k) {
        t[k] = predicted[k];
    }
    if (k == 0) { // the first point's own turn count is too large for the sums
        t[0] = atRecordPrecision(t0 - 360.0 * turns[0], T());
        k = 1;
    }
    for (; k < m; ++k) {
        t[k] = atRecordPrecision(
            nearReference(static_cast<double>(t[k]), static_cast<double>(t[k - 1])), T());
    }
}

} // namespace detail
} // namespace orv

#endif
