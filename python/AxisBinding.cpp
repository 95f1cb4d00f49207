// orv.RotationAxis: conversions about a rotation axis over numpy arrays.
#include "Arrays.h"
#include "Module.h"

#include "orv/axis/detail/ListRange.h"

#include <pybind11/stl.h>

#include <algorithm>
#include <cstring>
#include <optional>

namespace orvpy {

namespace {

using namespace py::literals;

template <class T> using Triplet = orv::TripletBase<T>;
template <class T>
using Record = std::conditional_t<std::is_same<T, float>::value, orv::ART, orv::DART>;

py::array floatTriplet(const Triplet<float>& t) {
    py::array_t<float> out(3);
    out.mutable_at(0) = t.x;
    out.mutable_at(1) = t.y;
    out.mutable_at(2) = t.z;
    return std::move(out);
}

py::array matrixArray(const orv::ORVMatrix4& m) {
    py::array_t<float> out({4, 4});
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            out.mutable_at(i, j) = m(i, j);
        }
    }
    return std::move(out);
}

// Points (or records, InOf = Record) in, triplets or records of the same precision out:
// call(axis, in, out) runs without the lock.
template <template <class> class OutOf, template <class> class InOf = Triplet, class Call>
py::object pointsToList(const orv::RotationAxis& axis, const py::object& points, const char* what,
                        Call call, int accept = kEither, const char* why = "") {
    return byPrecision(
        points, what,
        [&](const View& v, auto tag) -> py::object {
            using T = decltype(tag);
            std::vector<OutOf<T>> out = reserved<OutOf<T>>(v.rows);
            {
                py::gil_scoped_release unlocked;
                const std::vector<InOf<T>> in = copyIn<T, InOf<T>>(v);
                call(axis, in, out);
            }
            return toArray<T>(std::move(out), 3);
        },
        accept, why);
}

// Points (or records, InOf = Record) to triplets or records of the same precision through a list
// form without continuity, call(axis, in, out), chunk by chunk (perElement).
template <template <class> class OutOf, template <class> class InOf = Triplet, class Call>
py::object eachElement(const orv::RotationAxis& axis, const py::object& points, const char* what,
                       Call call) {
    return byPrecision(points, what, [&](const View& v, auto tag) -> py::object {
        using T = decltype(tag);
        return perElement<T, InOf<T>, T, OutOf<T>>(
            v, [&](const auto& in, auto& out) { call(axis, in, out); });
    });
}

// The continuous conversion towards (a, r, theta) of a whole array into the returned array. Rows
// lying as the library's records (C order, aligned) are converted where they lie, in one call;
// other layouts are copied in chunks as perElement copies them, a chunk after the first converted
// with its first theta brought near the last theta before it, the rule the list form applies
// between its own blocks. Either way the bits are those of one call on the whole list. reference
// (degrees) brings the first theta of the array near it; null keeps it as converted.
template <class T>
py::object continuousART(const orv::RotationAxis& axis, const View& v, const double* reference) {
    py::array_t<T> result({v.rows, py::ssize_t(3)});
    Record<T>* dst = reinterpret_cast<Record<T>*>(result.mutable_data());
    {
        py::gil_scoped_release unlocked;
        if (v.packed) {
            orv::detail::convertARTRange(axis, reinterpret_cast<const Triplet<T>*>(v.data),
                                         static_cast<std::size_t>(v.rows), dst, reference);
        } else {
            std::vector<Triplet<T>> in;
            in.reserve(static_cast<std::size_t>(std::min(v.rows, kChunk)));
            double near = 0.0;
            for (py::ssize_t first = 0; first < v.rows; first += kChunk) {
                const py::ssize_t m = std::min(kChunk, v.rows - first);
                copyRows<T>(v, first, m, in);
                orv::detail::convertARTRange(axis, in.data(), in.size(), dst + first,
                                             first == 0 ? reference : &near);
                near = static_cast<double>(dst[first + m - 1].t);
            }
        }
    }
    return std::move(result);
}

// Points rotated or moved by call(axis, list) on a copy of the axis, as a new array.
template <class Call>
py::object movedPoints(const orv::RotationAxis& axis, const py::object& points, const char* what,
                       Call call) {
    return byPrecision(points, what, [&](const View& v, auto tag) -> py::object {
        using T = decltype(tag);
        std::vector<Triplet<T>> list;
        {
            py::gil_scoped_release unlocked;
            list = copyIn<T, Triplet<T>>(v);
            orv::RotationAxis own(axis); // projectToTheta is not const
            call(own, list);
        }
        return toArray<T>(std::move(list), 3);
    });
}

py::tuple pyTuple(const Vec3& v) {
    return py::make_tuple(v[0], v[1], v[2]);
}

} // namespace

std::string axisRepr(const Axis& a) {
    return "orv.RotationAxis(point=" + tupleText(a.point) +
           ", direction=" + tupleText(a.direction) + ", period_deg=" + floatText(a.periodDeg) +
           ", up=" + tupleText(a.up) + ")";
}

bool axisEqual(const Axis& a, const Axis& b) {
    return sameBits(a.point.data(), b.point.data(), sizeof(Vec3)) &&
           sameBits(a.direction.data(), b.direction.data(), sizeof(Vec3)) &&
           sameBits(&a.periodDeg, &b.periodDeg, sizeof(double)) &&
           sameBits(a.up.data(), b.up.data(), sizeof(Vec3));
}

py::ssize_t axisHash(const Axis& a) {
    const double values[10] = {a.point[0],     a.point[1],     a.point[2],  a.direction[0],
                               a.direction[1], a.direction[2], a.periodDeg, a.up[0],
                               a.up[1],        a.up[2]};
    return bitsHash(values, sizeof(values));
}

void bindRotationAxis(py::module_& m) {
    py::class_<Axis> c(m, "RotationAxis", R"(The rotation axis of a turbomachine.

RotationAxis(point, direction, period_deg, up=None)

point: a point on the axis; direction: the axis direction (normalised when stored); period_deg: the
period angle of one passage in degrees, in (0, 360]; up: the vector from which theta is measured
(made perpendicular to the direction and normalised; None or (0, 0, 0): (0, 1, 0), or (1, 0, 0) for a
direction along y). Three numbers each, held in double precision.

Cylindrical coordinates (a, r, theta): a the signed distance along the direction from the point,
r the distance from the axis line, theta in degrees about the direction from the up vector
(right-handed), in [-180, 180] unless a reference or continuity moves it by whole turns.
Refused with DataInvalid ("RotationAxis", "set"): a zero direction "Axis Direction is zero length.",
period_deg <= 0 "Rotation Angle must be greater than zero.", > 360 "Rotation Angle must be less than
360.".

Every conversion takes an array of shape (N, 3), float32 (single-precision operations) or float64
(double precision), and returns arrays of the same dtype; input arrays are never changed. The
list conversions towards (a, r, theta) keep theta continuous along the array: each theta within half
a turn of the one before, so that a curve crossing the 180 degree cut gets 170, 190, 210. A mesh
split into chunks (threads, dask map_blocks) is continuous per chunk only.

The axis cannot be changed. It keeps the four values it was built from (point, direction,
period_deg, up), exactly as given: pickling, copy, repr and == use them, and an axis built from them
gives the same bits in every conversion.)");
    c.def(py::init([](const Vec3& point, const Vec3& direction, double periodDeg,
                      const std::optional<Vec3>& up) {
              return Axis(point, direction, periodDeg, up ? *up : Vec3{0.0, 0.0, 0.0});
          }),
          "point"_a, "direction"_a, "period_deg"_a, "up"_a = py::none(),
          "__init__(self, point, direction, period_deg, up=None)\n--\n\n"
          "The axis through point along direction with period_deg degrees per passage.");
    c.def_property_readonly(
        "point", [](const Axis& a) { return pyTuple(a.point); },
        "The axis point as given (float64); the library stores it unchanged.");
    c.def_property_readonly(
        "direction", [](const Axis& a) { return pyTuple(a.direction); },
        "The direction as given (float64), before the library normalises it.");
    c.def_property_readonly(
        "period_deg", [](const Axis& a) { return a.periodDeg; },
        "The period angle in degrees as given and stored.");
    c.def_property_readonly(
        "up", [](const Axis& a) { return pyTuple(a.up); },
        "The up vector as given (float64; (0, 0, 0) for None), before the library makes it "
        "perpendicular and normalises it.");
    c.def(
        "get_angle", [](const Axis& a) { return a.axis.getAngle(); },
        "get_angle(self)\n--\n\nThe period angle in degrees (float64, as stored).");
    c.def(
        "get_axis_point",
        [](const Axis& a) {
            py::array_t<double> out(3);
            std::copy(a.point.begin(), a.point.end(), out.mutable_data());
            return out;
        },
        "get_axis_point(self)\n--\n\nThe axis point as stored (float64, shape (3,)): the point "
        "given, unchanged.");
    c.def(
        "get_axis_dir", [](const Axis& a) { return floatTriplet(a.axis.getAxisDir()); },
        "get_axis_dir(self)\n--\n\nThe unit axis direction rounded to float32, shape (3,): the "
        "library gives its double-precision normalised direction at single precision only. The "
        "direction property is the direction given, from which the axis is rebuilt exactly.");
    c.def(
        "get_up_vector", [](const Axis& a) { return floatTriplet(a.axis.getUpVector()); },
        "get_up_vector(self)\n--\n\nThe unit up vector (theta 0) rounded to float32, shape (3,), "
        "as the library gives it (see get_axis_dir; the up property is the vector given).");

    // Exact state: pickling from the values given (the library's validation runs again when
    // unpickled, on the same values, and stores the same bits), with every protocol; copies;
    // repr; equality of bits.
    c.def(
        "__reduce__",
        [](const py::object& self) {
            const Axis& a = self.cast<const Axis&>();
            return py::make_tuple(
                self.get_type(),
                py::make_tuple(pyTuple(a.point), pyTuple(a.direction), a.periodDeg, pyTuple(a.up)));
        },
        "__reduce__(self)\n--\n\nThe class and the four values given, for pickle.");
    c.def(
        "__copy__", [](const Axis& a) { return Axis(a); }, "__copy__(self)\n--\n\nA copy.");
    c.def(
        "__deepcopy__", [](const Axis& a, const py::object&) { return Axis(a); }, "memo"_a,
        "__deepcopy__(self, memo)\n--\n\nA copy (the axis holds no Python object).");
    c.def("__repr__", &axisRepr,
          "__repr__(self)\n--\n\nThe constructor call with the exact values given.");
    c.def(
        "__eq__",
        [](const Axis& a, const py::object& other) -> py::object {
            if (!py::isinstance<Axis>(other)) {
                return py::reinterpret_borrow<py::object>(Py_NotImplemented);
            }
            return py::bool_(axisEqual(a, other.cast<const Axis&>()));
        },
        "other"_a,
        "__eq__(self, other)\n--\n\nTrue when both axes were built from the same values, bit for "
        "bit (a NaN period equals itself; 0.0 and -0.0 differ).");
    c.def("__hash__", &axisHash, "__hash__(self)\n--\n\nA hash of the values' bits.");

    c.def(
        "convert_art",
        [](const Axis& a, const py::object& points) {
            return byPrecision(points, "convert_art: points",
                               [&](const View& v, auto tag) -> py::object {
                                   return continuousART<decltype(tag)>(a.axis, v, nullptr);
                               });
        },
        "points"_a,
        "convert_art(self, points)\n--\n\n"
        "Points (x, y, z) to (a, r, theta), theta in degrees, continuous along the array. float32: "
        "single-precision steps (atan2 in double on float dot products), float64: double.");
    c.def(
        "convert_art_set_hemisphere",
        [](const Axis& a, const py::object& points, double reference) {
            return byPrecision(points, "convert_art_set_hemisphere: points",
                               [&](const View& v, auto tag) -> py::object {
                                   return continuousART<decltype(tag)>(a.axis, v, &reference);
                               });
        },
        "points"_a, "reference_deg"_a,
        "convert_art_set_hemisphere(self, points, reference_deg)\n--\n\n"
        "Points to (a, r, theta), the first theta within half a turn of reference_deg (degrees), "
        "then continuous; theta in degrees.");
    c.def(
        "convert_art_set_hemisphere_rad",
        [](const Axis& a, const py::object& points, double reference) {
            return pointsToList<Triplet>(
                a.axis, points, "convert_art_set_hemisphere_rad: points",
                [reference](const orv::RotationAxis& x, const auto& in, auto& out) {
                    if constexpr (std::is_same<std::decay_t<decltype(in)>,
                                               std::vector<Triplet<float>>>::value) {
                        x.convertARTSetHemisphereRad(in, out, reference);
                    }
                },
                kFloat32, " (the library's list form in radians is single precision)");
        },
        "points"_a, "reference_rad"_a,
        "convert_art_set_hemisphere_rad(self, points, reference_rad)\n--\n\n"
        "float32 points to (a, r, theta) with reference_rad and theta in radians: the reference "
        "turned into degrees, the first theta within half a turn of it, then continuous, each "
        "theta stored as degrees * pi / 180 in double rounded to float. float64 is refused "
        "(TypeError).");
    c.def(
        "convert_ar",
        [](const Axis& a, const py::object& points, double theta) {
            return eachElement<Record>(a.axis, points, "convert_ar: points",
                                       [theta](const orv::RotationAxis& x, const auto& in,
                                               auto& out) { x.convertAR(in, out, theta); });
        },
        "points"_a, "theta_deg"_a,
        "convert_ar(self, points, theta_deg)\n--\n\n"
        "Points to (a, r, theta_deg): a and r as convert_art, theta set to the given value "
        "(degrees, rounded to float32 for float32 points), no theta computed.");
    c.def(
        "convert_art_with_directions",
        [](const Axis& a, const py::object& points) {
            return byPrecision(points, "convert_art_with_directions: points",
                               [&](const View& v, auto tag) -> py::object {
                                   using T = decltype(tag);
                                   auto art = reserved<Record<T>>(v.rows);
                                   auto axial = reserved<Triplet<T>>(v.rows);
                                   auto radial = reserved<Triplet<T>>(v.rows);
                                   auto theta = reserved<Triplet<T>>(v.rows);
                                   {
                                       py::gil_scoped_release unlocked;
                                       const auto in = copyIn<T, Triplet<T>>(v);
                                       a.axis.convertARTWithDirections(in, art, axial, radial,
                                                                       theta);
                                   }
                                   return py::make_tuple(toArray<T>(std::move(art), 3),
                                                         toArray<T>(std::move(axial), 3),
                                                         toArray<T>(std::move(radial), 3),
                                                         toArray<T>(std::move(theta), 3));
                               });
        },
        "points"_a,
        "convert_art_with_directions(self, points)\n--\n\n"
        "Points to the tuple (art, axial, radial, theta_dir): (a, r, theta in degrees) without "
        "continuity, the unit axial direction, the unit radial direction at each point and the "
        "theta direction (axial x radial); (0, 0, 0) directions for a point on the axis line.");
    c.def(
        "convert_xyz",
        [](const Axis& a, const py::object& art) {
            return eachElement<Triplet, Record>(a.axis, art, "convert_xyz: art",
                                                [](const orv::RotationAxis& x, const auto& in,
                                                   auto& out) { x.convertXYZ(in, out); });
        },
        "art"_a,
        "convert_xyz(self, art)\n--\n\n(a, r, theta) with theta in degrees back to points (x, y, "
        "z).");
    c.def(
        "convert_xyz_theta_rad",
        [](const Axis& a, const py::object& art) {
            return eachElement<Triplet>(a.axis, art, "convert_xyz_theta_rad: art",
                                        [](const orv::RotationAxis& x, const auto& in, auto& out) {
                                            x.convertXYZThetaRad(in, out);
                                        });
        },
        "art"_a,
        "convert_xyz_theta_rad(self, art)\n--\n\n"
        "(a, r, theta) with theta in radians back to points: theta * 180 / pi (float32: theta * "
        "180 in float, divided by pi in double), then as convert_xyz.");
    c.def(
        "rotate_by_angle",
        [](const Axis& a, const py::object& points, double angle) {
            return movedPoints(
                a.axis, points, "rotate_by_angle: points",
                [angle](orv::RotationAxis& x, auto& list) { x.rotateByAngle(list, angle); });
        },
        "points"_a, "angle_deg"_a,
        "rotate_by_angle(self, points, angle_deg)\n--\n\n"
        "The points rotated about the axis by angle_deg (degrees, right-handed about the "
        "direction), as a new array: float32 through the list conversions (theta continuous), "
        "float64 point by point.");
    c.def(
        "rotate_by_period",
        [](const Axis& a, const py::object& points, double periods) {
            return movedPoints(
                a.axis, points, "rotate_by_period: points",
                [periods](orv::RotationAxis& x, auto& list) { x.rotateByPeriod(list, periods); });
        },
        "points"_a, "periods"_a,
        "rotate_by_period(self, points, periods)\n--\n\n"
        "The points rotated by a number of periods (any real number; times the period angle in "
        "degrees, in double), as a new array, through the list conversions.");
    c.def(
        "project_to_theta",
        [](const Axis& a, const py::object& points, double theta) {
            return movedPoints(
                a.axis, points, "project_to_theta: points",
                [theta](orv::RotationAxis& x, auto& list) { x.projectToTheta(list, theta); });
        },
        "points"_a, "theta_deg"_a,
        "project_to_theta(self, points, theta_deg)\n--\n\n"
        "The points moved to theta_deg (degrees), keeping a and r, as a new array; theta 0 is the "
        "half-plane of the up vector.");
    c.def(
        "get_rotation_matrix",
        [](const Axis& a, double angle) {
            orv::ORVMatrix4 matrix;
            a.axis.getRotationMatrix(matrix, angle);
            return matrixArray(matrix);
        },
        "angle_deg"_a,
        "get_rotation_matrix(self, angle_deg)\n--\n\n"
        "The float32 (4, 4) matrix of the rotation by angle_deg (degrees) about the axis line, for "
        "column vectors (x, y, z, 1): single precision throughout.");
    c.def(
        "get_period_rotation_matrix",
        [](const Axis& a, bool forward) {
            orv::ORVMatrix4 matrix;
            a.axis.getRotationMatrix(matrix, forward);
            return matrixArray(matrix);
        },
        "forward"_a = true,
        "get_period_rotation_matrix(self, forward=True)\n--\n\n"
        "The float32 (4, 4) rotation matrix of one period angle (degrees) forwards (True) or "
        "backwards (False).");
}

} // namespace orvpy
