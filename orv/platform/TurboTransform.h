#ifndef ORV_PLATFORM_TURBOTRANSFORM_H
#define ORV_PLATFORM_TURBOTRANSFORM_H

#include "orv/foundation/Doublet.h"
#include "orv/foundation/TripletBase.h"
#include "orv/platform/PlatformExport.h"

#include <memory>
#include <vector>

namespace orv {

// The meridional coordinate transform of a turbomachinery passage: maps (axial, radial) in the
// meridional plane to (meridional, span) and back. A host lends one to each ThetaTurboTransform
// call; theta is never computed here.
//
// The class is polymorphic: a host (or a test) may derive its own mapping through the protected
// default constructor and override the four conversions. The public constructor builds the
// passage model described below.
//
// Passage model. The hub and shroud curves are polylines of (axial, radial) points, inlet to
// outlet. Each is parametrised by its normalised arc length u in [0, 1]; the point at (u, span) is
//     (1 - span) * hub(u) + span * shroud(u),
// so span is 0 on the hub and 1 on the shroud. Between the merged break points of the two curves
// ("stations"; break points whose normalised arc lengths differ by at most 1e-12 are one station,
// at which each curve keeps its own break point) this is a bilinear patch; the forward mapping
// inverts it exactly (to rounding), and points upstream of the inlet or downstream of the outlet
// continue the first or last patch linearly; spans below 0 or above 1 continue each patch linearly
// as well. The mapping is one-to-one where the straight lines of constant u (hub point to shroud
// point) do not cross each other; points beyond such a crossing receive the coordinates of the
// nearest patch's solution, and a point where two such lines cross takes the solution whose span
// lies nearer to [0, 1].
//
// Spaces:
//   spaceMTS  (0): meridional coordinate = arc length from the inlet along the line of constant
//                  span through the point (in the length unit of the curves); at the outlet it is
//                  the hub's length on span 0 and the shroud's length on span 1.
//   spaceNMTS (3): meridional coordinate = u (0 at the inlet, 1 at the outlet).
//   spaceMPrime (4): meridional coordinate m' = integral of dm / r along the line of constant
//                  span through the point from the inlet (m' = 0 on the inlet station), dm the
//                  arc length element of that line and r its radius: dimensionless (length over
//                  length), the coordinate of blade-to-blade views. On each patch the line is
//                  straight with r linear along it, so the integral and its inverse are closed
//                  forms (a logarithm and an exponential); upstream of the inlet and downstream of
//                  the outlet they continue along the first or last patch's line. Refused with
//                  data::invalid ("TurboTransform", <operation>, "Meridional coordinate m' needs
//                  a positive radius.") where the line of constant span has a radius of 0 or
//                  below at a station from the inlet to the far end of the patch that holds the
//                  point, or at the point itself (with clampToWallEnds: at any station).
// Any other space value is refused with data::invalid ("TurboTransform", <operation>,
// "Unknown meridional space.").
//
// Exactness: every break point of the hub maps to span exactly 0 and every break point of the
// shroud to exactly 1; the inlet end points of both curves map to meridional exactly 0 (all
// spaces) and the outlet end points to exactly 1 (NMTS) or the length or m' along their wall, to
// rounding (MTS, m'). Back conversions of meridional 0 (all spaces) and 1 (NMTS) at span 0 or 1
// return the curves' end points bit for bit. All arithmetic is double precision; the
// single-precision forms widen their input and round each result once. The m' values rest on the
// platform's log1p and expm1, so their last bits may differ between platforms; they round-trip
// to a few units in the last place of the coordinates.
//
// Triplet layout: ART triplets are (axial, radial, theta); TNs triplets are (meridional, theta,
// span). Theta is passed through unchanged in whatever unit it arrives. Outputs are written only
// after every check has passed, and inputs are read before any output is written, so an input and
// an output may be the same object. NaN coordinates give NaN results.
class ORV_PLATFORM_API TurboTransform {
public:
    // The meridional spaces; the underlying type is int so that any value can be passed and
    // refused.
    enum space : int { spaceMTS = 0, spaceNMTS = 3, spaceMPrime = 4 };

    // Builds the passage model from the hub and the shroud curve, (x = axial, y = radial) points
    // from inlet to outlet. Refuses with data::invalid ("TurboTransform", "TurboTransform"), user
    // message, checked in this order:
    //   fewer than two points in either curve: "Hub and shroud curves need at least two points."
    //   a NaN or infinite coordinate: "Hub and shroud points must be finite."
    //   a curve of zero length: "Hub and shroud curves must have a non-zero length."
    //   hub and shroud meeting at a station, turning the hub-to-shroud direction by a right angle
    //   or more between neighbouring stations, or a patch of zero or reversed area: "Hub and
    //   shroud curves must not meet or cross."
    TurboTransform(const std::vector<Doublet>& hub, const std::vector<Doublet>& shroud);

    TurboTransform(const TurboTransform& other);
    TurboTransform& operator=(const TurboTransform& other);
    virtual ~TurboTransform();

    // (axial, radial, theta) -> (meridional, theta, span) in the given space.
    virtual void convertARTtoSpaceTNs(space sp, const TripletBase<float>& art,
                                      TripletBase<float>& tns) const;
    virtual void convertARTtoSpaceTNs(space sp, const TripletBase<double>& art,
                                      TripletBase<double>& tns) const;

    // (meridional, theta, span) -> (axial, radial, theta) in the given space; meridional values
    // before the inlet or after the outlet continue the first or last patch linearly.
    virtual void convertSpaceTNsToART(space sp, const TripletBase<float>& tns,
                                      TripletBase<float>& art) const;

    // Double-precision back conversion for projections onto a span (typically 0 or 1, any span is
    // accepted). clampToWallEnds true: the meridional coordinate is first limited to the passage
    // (0 to 1 in NMTS, 0 to the length or the m' of the span line in MTS or m'), so the point never
    // lies upstream of the inlet or downstream of the outlet; false: no limit, the linear
    // continuation of convertSpaceTNsToART. Inside the passage both give the general conversion in
    // double precision; at spans 0 and 1 they give the points of the hub and shroud curves.
    virtual void convertSpaceTNsToARTspanEQ0or1(space sp, const TripletBase<double>& tns,
                                                TripletBase<double>& art,
                                                bool clampToWallEnds) const;

protected:
    // For derived mappings: no passage model. The base conversions of such an object refuse with
    // internal::error ("TurboTransform", <operation>, "TurboTransform has no passage model.").
    TurboTransform();

private:
    // The passage model's data, shared (immutable) between copies.
    struct Passage;
    std::shared_ptr<const Passage> m_passage;
};

} // namespace orv

#endif
