#ifndef ORV_FOUNDATION_DOUBLET_H
#define ORV_FOUNDATION_DOUBLET_H

#include <cstddef>
#include <type_traits>

namespace orv {

// Two single-precision components x then y; the list form of RotationAxis::convertAR fills x with
// the axial and y with the radial coordinate. Default construction leaves the components unset
// (value-initialisation, as in a resized std::vector, gives zeros).
class Doublet {
public:
    float x;
    float y;

    Doublet() = default;
    Doublet(float x_, float y_) : x(x_), y(y_) {}
};

static_assert(sizeof(Doublet) == 2 * sizeof(float), "packed doublet");
static_assert(std::is_standard_layout<Doublet>::value && offsetof(Doublet, y) == sizeof(float),
              "components x, y in order");

} // namespace orv

#endif
