#ifndef ORV_PYTHON_MODULE_H
#define ORV_PYTHON_MODULE_H

// The objects of the module orv._core: each library object held with the values it was built from,
// exactly as given, so that it can be pickled, copied, compared and shown, and rebuilt bit for bit
// (the library keeps the axis's normalised vectors and the passage's curves without handing them
// back at their own precision). None of them can be changed from Python.

#include "orv/GeometryTools.h"

#include <pybind11/pybind11.h>

#include <array>
#include <string>
#include <vector>

namespace orvpy {

namespace py = pybind11;

using Vec3 = std::array<double, 3>;

inline orv::TripletBase<double> triplet(const Vec3& v) {
    return orv::TripletBase<double>(v[0], v[1], v[2]);
}

// orv.RotationAxis: the axis and its four arguments (up (0, 0, 0) where None was given).
struct Axis {
    Vec3 point;
    Vec3 direction;
    double periodDeg;
    Vec3 up;
    orv::RotationAxis axis;

    Axis(const Vec3& p, const Vec3& d, double angle, const Vec3& u)
        : point(p), direction(d), periodDeg(angle), up(u),
          axis(triplet(p), triplet(d), angle, triplet(u)) {}
};

// orv.TurboTransform: the passage model and its two curves.
struct Passage {
    std::vector<orv::Doublet> hub;
    std::vector<orv::Doublet> shroud;
    orv::TurboTransform model;

    Passage(std::vector<orv::Doublet> h, std::vector<orv::Doublet> s)
        : hub(std::move(h)), shroud(std::move(s)), model(hub, shroud) {}
};

// orv.ThetaTurboTransform: the transform, its break angle and its axis.
struct Theta {
    double breakAngleDeg;
    Axis axis;
    orv::ThetaTurboTransform transform;

    Theta(double breakAngle, const Axis& a)
        : breakAngleDeg(breakAngle), axis(a), transform(breakAngle, a.axis) {}
};

// Python's repr of a float: the shortest text that reads back to the same double; "float('nan')"
// and "float('inf')" for the values that have no literal.
std::string floatText(double v);
// "(x, y, z)" of floatText.
std::string tupleText(const Vec3& v);
// Equality of the bits (a NaN equals itself, 0.0 differs from -0.0), and a hash that agrees.
bool sameBits(const void* a, const void* b, std::size_t bytes);
py::ssize_t bitsHash(const void* data, std::size_t bytes);

// The axis's repr, equality of bits and hash, shared with the transform that holds an axis.
std::string axisRepr(const Axis& a);
bool axisEqual(const Axis& a, const Axis& b);
py::ssize_t axisHash(const Axis& a);

// The classes and functions of the module, by subject.
void bindRotationAxis(py::module_& m);
void bindTurbo(py::module_& m);
void bindTriangles(py::module_& m);

} // namespace orvpy

#endif
