// orv._core.triangle_measures: the triangle toolkit's measures over an array of triangles.
#include "Arrays.h"
#include "Module.h"

#include <cmath>
#include <cstring>

namespace orvpy {

namespace {

using namespace py::literals;

using D3 = orv::TripletBase<double>;

// Vertex k of triangle i of an (M, 3, 3) array of T.
template <class T>
orv::TripletBase<T> vertex(const py::array& a, const char* data, py::ssize_t i, py::ssize_t k) {
    const char* at = data + i * a.strides(0) + k * a.strides(1);
    T c[3];
    for (int j = 0; j < 3; ++j) {
        std::memcpy(&c[j], at + j * a.strides(2), sizeof(T));
    }
    return orv::TripletBase<T>(c[0], c[1], c[2]);
}

// The smallest normal double, which the triangle toolkit adds to its denominators.
constexpr double kGuardEpsilon = 2.2250738585072014e-308;

template <class T> py::tuple measures(const py::array& a) {
    const py::ssize_t m = a.shape(0);
    py::array_t<double> lengths({m, py::ssize_t(3)}), perimeter(m), area(m), inRadius(m),
        inCenter({m, py::ssize_t(3)}), angles({m, py::ssize_t(2)});
    double* len = lengths.mutable_data();
    double* per = perimeter.mutable_data();
    double* are = area.mutable_data();
    double* rad = inRadius.mutable_data();
    double* cen = inCenter.mutable_data();
    double* ang = angles.mutable_data();
    const char* data = static_cast<const char*>(a.data());
    {
        py::gil_scoped_release unlocked;
        for (py::ssize_t i = 0; i < m; ++i) {
            orv::Triangle tri(vertex<T>(a, data, i, 0), vertex<T>(a, data, i, 1),
                              vertex<T>(a, data, i, 2));
            double la, lb, lc;
            tri.getLenghts(la, lb, lc);
            tri.getAnglesBandC(ang[2 * i], ang[2 * i + 1]);
            const D3& centre = tri.getInCenter();
            // The toolkit stores its perimeter, area and in-radius without a getter: they are
            // formed here from its lengths in its order of operations (Heron's product from the
            // semi-perimeter, the in-radius over the semi-perimeter plus the guard epsilon), which
            // gives its bits (the tests read the stored values from its report).
            const double p = (la + lb) + lc;
            const double s = p * 0.5;
            const double heron = (((s - la) * s) * (s - lb)) * (s - lc);
            const double areaValue = std::sqrt(heron);
            len[3 * i] = la;
            len[3 * i + 1] = lb;
            len[3 * i + 2] = lc;
            per[i] = p;
            are[i] = areaValue;
            rad[i] = areaValue / (s + kGuardEpsilon);
            cen[3 * i] = centre.x;
            cen[3 * i + 1] = centre.y;
            cen[3 * i + 2] = centre.z;
        }
    }
    return py::make_tuple(lengths, perimeter, area, inRadius, inCenter, angles);
}

} // namespace

void bindTriangles(py::module_& m) {
    m.def(
        "triangle_measures",
        [](const py::object& triangles) {
            const py::array a = checked(triangles, "triangle_measures: triangles", {-1, 3, 3},
                                        "(M, 3, 3)", kEither);
            return isFloat32(a) ? measures<float>(a) : measures<double>(a);
        },
        "triangles"_a,
        "triangle_measures(triangles)\n--\n\n"
        "The tuple (lengths, perimeter, area, in_radius, in_center, angles_bc) of an (M, 3, 3) "
        "array of triangles (triangle, vertex A/B/C, x/y/z), float64 or float32 (widened exactly, "
        "as the toolkit's float form does); every result float64. orv.triangle_measures gives "
        "them named.");
}

} // namespace orvpy
