// The Python module orv: the rotation axis, the passage model and the theta turbo transform of
// libORVRWGeometryTools over numpy arrays.
//
// Arrays. Points and coordinate records are numpy arrays of shape (N, 3) (curves of the passage:
// (K, 2)); float32 arrays run the single-precision operations and float64 arrays the double ones,
// and the results have the input's dtype unless a function says otherwise. Any other type, dtype or
// shape is refused with TypeError or ValueError naming what was expected; nothing is converted. An
// array of any memory layout is accepted: it is copied into the library's list (the only work on
// top of the library call); the result array owns the list the library filled, without a copy.
//
// Threads. The axis, passage and transform objects cannot be changed from Python, and every
// conversion runs with the global interpreter lock released, so threads may convert parts of one
// mesh at the same time with the same objects.
#include "ReservedList.h"

#include "orv/GeometryTools.h"

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

namespace py = pybind11;
using namespace py::literals;

namespace {

template <class T> using Triplet = orv::TripletBase<T>;
template <class T>
using Record = std::conditional_t<std::is_same<T, float>::value, orv::ART, orv::DART>;
using Space = orv::TurboTransform::space;

// ---- Arrays ---------------------------------------------------------------------------------

enum Accept { kFloat32 = 1, kFloat64 = 2, kEither = 3 };

std::string shapeText(const py::array& a) {
    std::string text = "(";
    for (py::ssize_t i = 0; i < a.ndim(); ++i) {
        text += (i ? ", " : "") + std::to_string(a.shape(i));
    }
    return text + (a.ndim() == 1 ? ",)" : ")");
}

// The array behind obj once its type, dtype and shape (N, cols) are those accepted; `what` names
// the function and the argument, `why` says why only one precision is taken.
py::array checked(const py::object& obj, const char* what, py::ssize_t cols, int accept,
                  const char* why = "") {
    const std::string dtypes = accept == kEither    ? "float32 or float64"
                               : accept == kFloat32 ? "float32"
                                                    : "float64";
    const std::string shape = cols == 3 ? "(N, 3)" : "(K, 2)";
    if (!py::isinstance<py::array>(obj)) {
        throw py::type_error(std::string(what) + " must be a numpy array of " + dtypes +
                             ", shape " + shape + ", not " +
                             py::str(obj.get_type().attr("__name__")).cast<std::string>());
    }
    const py::array a = py::reinterpret_borrow<py::array>(obj);
    const bool ok = ((accept & kFloat32) && py::isinstance<py::array_t<float>>(a)) ||
                    ((accept & kFloat64) && py::isinstance<py::array_t<double>>(a));
    if (!ok) {
        throw py::type_error(std::string(what) + " must be " + dtypes + why + ", not " +
                             py::str(a.dtype()).cast<std::string>());
    }
    if (a.ndim() != 2 || a.shape(1) != cols) {
        throw py::value_error(std::string(what) + " must have shape " + shape + ", not " +
                              shapeText(a));
    }
    return a;
}

bool isFloat32(const py::array& a) {
    return py::isinstance<py::array_t<float>>(a);
}

// Where an array's elements are, read with the interpreter lock held, so that they can be copied
// without it (the caller keeps the array alive).
struct View {
    const char* data;
    py::ssize_t rows, cols, rowStride, colStride;
    bool packed; // C order and aligned: the rows are the library's records as they lie in memory
};

View view(const py::array& a) {
    const int flags = a.flags();
    const bool packed = (flags & py::detail::npy_api::NPY_ARRAY_C_CONTIGUOUS_) &&
                        (flags & py::detail::npy_api::NPY_ARRAY_ALIGNED_);
    return View{static_cast<const char*>(a.data()),
                a.shape(0),
                a.shape(1),
                a.strides(0),
                a.strides(1),
                packed};
}

// Rows first..first+m of the view into list, resized to m.
template <class T, class Rec>
void copyRows(const View& v, py::ssize_t first, py::ssize_t m, std::vector<Rec>& list) {
    if (v.packed) {
        const Rec* rows = reinterpret_cast<const Rec*>(v.data) + first;
        list.assign(rows, rows + m);
        return;
    }
    list.resize(static_cast<std::size_t>(m));
    for (py::ssize_t i = 0; i < m; ++i) {
        for (py::ssize_t j = 0; j < v.cols; ++j) {
            std::memcpy(reinterpret_cast<char*>(&list[i]) + j * sizeof(T),
                        v.data + (first + i) * v.rowStride + j * v.colStride, sizeof(T));
        }
    }
}

// The rows as a list of the library's records (Rec: cols components of T, packed).
template <class T, class Rec> std::vector<Rec> copyIn(const View& v) {
    static_assert(std::is_trivially_copyable<Rec>::value, "records copied as bytes");
    std::vector<Rec> out = orvpy::reserved<Rec>(v.rows);
    copyRows<T>(v, 0, v.rows, out);
    return out;
}

// An array of shape (N, cols) that owns the list.
template <class T, class Rec> py::array toArray(std::vector<Rec>&& list, py::ssize_t cols) {
    static_assert(sizeof(Rec) == 0 || sizeof(Rec) % sizeof(T) == 0, "records of T");
    auto owned = std::make_unique<std::vector<Rec>>(std::move(list));
    const py::ssize_t rows = static_cast<py::ssize_t>(owned->size());
    T* data = reinterpret_cast<T*>(owned->data());
    py::capsule owner(owned.get(), [](void* p) { delete static_cast<std::vector<Rec>*>(p); });
    owned.release();
    return py::array_t<T>({rows, cols}, {cols * py::ssize_t(sizeof(T)), py::ssize_t(sizeof(T))},
                          data, owner);
}

// Runs f(view, T{}) for the array's precision, T float or double.
template <class F>
py::object byPrecision(const py::object& obj, const char* what, F&& f, int accept = kEither,
                       const char* why = "") {
    const py::array a = checked(obj, what, 3, accept, why);
    if (isFloat32(a)) {
        return f(view(a), float{});
    }
    return f(view(a), double{});
}

// ---- Exceptions -----------------------------------------------------------------------------

struct ErrorClasses {
    PyObject* error;
    PyObject* internal;
    PyObject* data;
    PyObject* invalid;
};
ErrorClasses errorClasses; // created once with the module, never freed

// Sets the Python exception of class cls for the library's exception.
void raise(PyObject* cls, const orv::Error& e) {
    py::object exc = py::reinterpret_borrow<py::object>(cls)(e.describe());
    exc.attr("class_label") = e.getClassLabel();
    exc.attr("operation_label") = e.getOperationLabel();
    exc.attr("message") = e.getMessage();
    exc.attr("error_type") = static_cast<int>(e.getErrorType());
    PyErr_SetObject(cls, exc.ptr());
}

PyObject* newError(py::module_& m, const char* name, PyObject* base, const char* doc) {
    PyObject* cls =
        PyErr_NewExceptionWithDoc((std::string("orv.") + name).c_str(), doc, base, nullptr);
    if (cls == nullptr) {
        throw py::error_already_set();
    }
    m.add_object(name, py::handle(cls));
    return cls;
}

// ---- Rotation axis --------------------------------------------------------------------------

Triplet<double> triplet(const std::array<double, 3>& v) {
    return Triplet<double>(v[0], v[1], v[2]);
}

py::array floatTriplet(const Triplet<float>& t) {
    py::array_t<float> out(3);
    out.mutable_at(0) = t.x;
    out.mutable_at(1) = t.y;
    out.mutable_at(2) = t.z;
    return out;
}

py::array matrixArray(const orv::ORVMatrix4& m) {
    py::array_t<float> out({4, 4});
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            out.mutable_at(i, j) = m(i, j);
        }
    }
    return out;
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
            std::vector<OutOf<T>> out = orvpy::reserved<OutOf<T>>(v.rows);
            {
                py::gil_scoped_release unlocked;
                const std::vector<InOf<T>> in = copyIn<T, InOf<T>>(v);
                call(axis, in, out);
            }
            return toArray<T>(std::move(out), 3);
        },
        accept, why);
}

// The continuous conversion towards (a, r, theta) of a whole array, in chunks small enough to stay
// in cache: the input is never copied whole, only each chunk's results into the returned array.
// Continuity runs across the chunks as along one list: a chunk after the first is converted with
// its first theta brought near the last theta before it, the rule the list form applies between
// its own blocks, so the bits are those of one call on the whole list. reference (degrees) brings
// the first theta of the array near it; null keeps it as converted.
constexpr py::ssize_t kChunk = 8192;

template <class T>
py::object continuousART(const orv::RotationAxis& axis, const View& v, const double* reference) {
    py::array_t<T> result({v.rows, py::ssize_t(3)});
    T* dst = result.mutable_data();
    {
        py::gil_scoped_release unlocked;
        std::vector<Triplet<T>> in;
        std::vector<Record<T>> out;
        in.reserve(static_cast<std::size_t>(std::min(v.rows, kChunk)));
        double near = reference ? *reference : 0.0;
        for (py::ssize_t first = 0; first < v.rows; first += kChunk) {
            const py::ssize_t m = std::min(kChunk, v.rows - first);
            copyRows<T>(v, first, m, in);
            if (first == 0 && reference == nullptr) {
                axis.convertART(in, out);
            } else {
                axis.convertARTSetHemisphere(in, out, near);
            }
            std::memcpy(dst + 3 * first, out.data(), sizeof(Record<T>) * std::size_t(m));
            near = static_cast<double>(out.back().t);
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

void bindRotationAxis(py::module_& m) {
    using Axis = orv::RotationAxis;
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
split into chunks (threads, dask map_blocks) is continuous per chunk only.)");
    c.def(py::init([](const std::array<double, 3>& point, const std::array<double, 3>& direction,
                      double periodDeg, const std::optional<std::array<double, 3>>& up) {
              return Axis(triplet(point), triplet(direction), periodDeg,
                          up ? triplet(*up) : Triplet<double>(0, 0, 0));
          }),
          "point"_a, "direction"_a, "period_deg"_a, "up"_a = py::none());
    c.def("get_angle", &Axis::getAngle, "The period angle in degrees.");
    c.def(
        "get_axis_point", [](const Axis& a) { return floatTriplet(a.getAxisPoint()); },
        "The axis point rounded to float32, shape (3,).");
    c.def(
        "get_axis_dir", [](const Axis& a) { return floatTriplet(a.getAxisDir()); },
        "The unit axis direction rounded to float32, shape (3,).");
    c.def(
        "get_up_vector", [](const Axis& a) { return floatTriplet(a.getUpVector()); },
        "The unit up vector (theta 0) rounded to float32, shape (3,).");

    c.def(
        "convert_art",
        [](const Axis& axis, const py::object& points) {
            return byPrecision(points, "convert_art: points",
                               [&](const View& v, auto tag) -> py::object {
                                   return continuousART<decltype(tag)>(axis, v, nullptr);
                               });
        },
        "points"_a,
        "Points (x, y, z) to (a, r, theta), theta in degrees, continuous along the array. float32: "
        "single-precision steps (atan2 in double on float dot products), float64: double.");
    c.def(
        "convert_art_set_hemisphere",
        [](const Axis& axis, const py::object& points, double reference) {
            return byPrecision(points, "convert_art_set_hemisphere: points",
                               [&](const View& v, auto tag) -> py::object {
                                   return continuousART<decltype(tag)>(axis, v, &reference);
                               });
        },
        "points"_a, "reference_deg"_a,
        "Points to (a, r, theta), the first theta within half a turn of reference_deg (degrees), "
        "then continuous; theta in degrees.");
    c.def(
        "convert_art_set_hemisphere_rad",
        [](const Axis& axis, const py::object& points, double reference) {
            return pointsToList<Triplet>(
                axis, points, "convert_art_set_hemisphere_rad: points",
                [reference](const Axis& a, const auto& in, auto& out) {
                    if constexpr (std::is_same<std::decay_t<decltype(in)>,
                                               std::vector<Triplet<float>>>::value) {
                        a.convertARTSetHemisphereRad(in, out, reference);
                    }
                },
                kFloat32, " (the library's list form in radians is single precision)");
        },
        "points"_a, "reference_rad"_a,
        "float32 points to (a, r, theta) with reference_rad and theta in radians: the reference "
        "turned into degrees, the first theta within half a turn of it, then continuous, each "
        "theta "
        "stored as degrees * pi / 180 in double rounded to float. float64 is refused (TypeError).");
    c.def(
        "convert_ar",
        [](const Axis& axis, const py::object& points, double theta) {
            return pointsToList<Record>(
                axis, points, "convert_ar: points",
                [theta](const Axis& a, const auto& in, auto& out) { a.convertAR(in, out, theta); });
        },
        "points"_a, "theta_deg"_a,
        "Points to (a, r, theta_deg): a and r as convert_art, theta set to the given value "
        "(degrees, rounded to float32 for float32 points), no theta computed.");
    c.def(
        "convert_art_with_directions",
        [](const Axis& axis, const py::object& points) {
            return byPrecision(points, "convert_art_with_directions: points",
                               [&](const View& v, auto tag) -> py::object {
                                   using T = decltype(tag);
                                   auto art = orvpy::reserved<Record<T>>(v.rows);
                                   auto axial = orvpy::reserved<Triplet<T>>(v.rows);
                                   auto radial = orvpy::reserved<Triplet<T>>(v.rows);
                                   auto theta = orvpy::reserved<Triplet<T>>(v.rows);
                                   {
                                       py::gil_scoped_release unlocked;
                                       const auto in = copyIn<T, Triplet<T>>(v);
                                       axis.convertARTWithDirections(in, art, axial, radial, theta);
                                   }
                                   return py::make_tuple(toArray<T>(std::move(art), 3),
                                                         toArray<T>(std::move(axial), 3),
                                                         toArray<T>(std::move(radial), 3),
                                                         toArray<T>(std::move(theta), 3));
                               });
        },
        "points"_a,
        "Points to the tuple (art, axial, radial, theta_dir): (a, r, theta in degrees) without "
        "continuity, the unit axial direction, the unit radial direction at each point and the "
        "theta "
        "direction (axial x radial); (0, 0, 0) directions for a point on the axis line.");
    c.def(
        "convert_xyz",
        [](const Axis& axis, const py::object& art) {
            return pointsToList<Triplet, Record>(
                axis, art, "convert_xyz: art",
                [](const Axis& a, const auto& in, auto& out) { a.convertXYZ(in, out); });
        },
        "art"_a, "(a, r, theta) with theta in degrees back to points (x, y, z).");
    c.def(
        "convert_xyz_theta_rad",
        [](const Axis& axis, const py::object& art) {
            return pointsToList<Triplet>(
                axis, art, "convert_xyz_theta_rad: art",
                [](const Axis& a, const auto& in, auto& out) { a.convertXYZThetaRad(in, out); });
        },
        "art"_a,
        "(a, r, theta) with theta in radians back to points: theta * 180 / pi (float32: theta * "
        "180 "
        "in float, divided by pi in double), then as convert_xyz.");
    c.def(
        "rotate_by_angle",
        [](const Axis& axis, const py::object& points, double angle) {
            return movedPoints(axis, points, "rotate_by_angle: points",
                               [angle](Axis& a, auto& list) { a.rotateByAngle(list, angle); });
        },
        "points"_a, "angle_deg"_a,
        "The points rotated about the axis by angle_deg (degrees, right-handed about the "
        "direction), as a new array: float32 through the list conversions (theta continuous), "
        "float64 point by point.");
    c.def(
        "rotate_by_period",
        [](const Axis& axis, const py::object& points, double periods) {
            return movedPoints(axis, points, "rotate_by_period: points",
                               [periods](Axis& a, auto& list) { a.rotateByPeriod(list, periods); });
        },
        "points"_a, "periods"_a,
        "The points rotated by a number of periods (any real number; times the period angle in "
        "degrees, in double), as a new array, through the list conversions.");
    c.def(
        "project_to_theta",
        [](const Axis& axis, const py::object& points, double theta) {
            return movedPoints(axis, points, "project_to_theta: points",
                               [theta](Axis& a, auto& list) { a.projectToTheta(list, theta); });
        },
        "points"_a, "theta_deg"_a,
        "The points moved to theta_deg (degrees), keeping a and r, as a new array; theta 0 is the "
        "half-plane of the up vector.");
    c.def(
        "get_rotation_matrix",
        [](const Axis& axis, double angle) {
            orv::ORVMatrix4 matrix;
            axis.getRotationMatrix(matrix, angle);
            return matrixArray(matrix);
        },
        "angle_deg"_a,
        "The float32 (4, 4) matrix of the rotation by angle_deg (degrees) about the axis line, for "
        "column vectors (x, y, z, 1): single precision throughout.");
    c.def(
        "get_period_rotation_matrix",
        [](const Axis& axis, bool forward) {
            orv::ORVMatrix4 matrix;
            axis.getRotationMatrix(matrix, forward);
            return matrixArray(matrix);
        },
        "forward"_a = true,
        "The float32 (4, 4) rotation matrix of one period angle (degrees) forwards (True) or "
        "backwards (False).");
}

// ---- Passage model and theta turbo transform ------------------------------------------------

const char* const kSingle = " (the theta turbo transform converts single-precision points)";
const char* const kDouble =
    " (the theta turbo transform takes (m, theta, span) in double precision)";

std::vector<orv::Doublet> curve(const py::object& obj, const char* what) {
    const py::array a =
        checked(obj, what, 2, kFloat32, " (the passage model keeps single-precision curve points)");
    return copyIn<float, orv::Doublet>(view(a));
}

// Each row through convert(in, out) of the passage model, point by point without the lock.
template <class Convert>
py::object eachRow(const py::object& obj, const char* what, int accept, Convert convert) {
    return byPrecision(
        obj, what,
        [&](const View& v, auto tag) -> py::object {
            using T = decltype(tag);
            std::vector<Triplet<T>> list;
            {
                py::gil_scoped_release unlocked;
                list = copyIn<T, Triplet<T>>(v);
                for (Triplet<T>& p : list) {
                    convert(p, p); // the passage model reads its input before it writes
                }
            }
            return toArray<T>(std::move(list), 3);
        },
        accept, accept == kFloat32 ? " (the library's back conversion is single precision)" : "");
}

// XYZ (float32) to (m, theta, span) (float64) or back, through call(in, out) without the lock.
template <class In, class Out, class Call>
py::object turboList(const py::object& obj, const char* what, Call call) {
    using TIn = decltype(In::x);
    using TOut = decltype(Out::x);
    const py::array a = checked(obj, what, 3, std::is_same<TIn, float>::value ? kFloat32 : kFloat64,
                                std::is_same<TIn, float>::value ? kSingle : kDouble);
    const View v = view(a);
    std::vector<Out> out;
    {
        py::gil_scoped_release unlocked;
        const std::vector<In> in = copyIn<TIn, In>(v);
        call(in, out);
    }
    return toArray<TOut>(std::move(out), 3);
}

void bindTurbo(py::module_& m) {
    using TT = orv::TurboTransform;
    py::class_<TT> p(m, "TurboTransform",
                     R"(The passage model: (axial, radial) <-> (meridional, span).

TurboTransform(hub, shroud)

hub, shroud: float32 arrays of shape (K, 2), (axial, radial) points from inlet to outlet, in any
length unit. Each curve is parametrised by its normalised arc length u; the point at (u, span) is
(1 - span) hub(u) + span shroud(u), inverted exactly on the bilinear patches between the curves'
break points. Spaces: SPACE_MTS (0): meridional = arc length along the line of constant span (length
unit of the curves); SPACE_NMTS (3): meridional = u in [0, 1]; SPACE_M_PRIME (4): m' = integral of
dm / r along that line (dimensionless). Refused with DataInvalid ("TurboTransform", "TurboTransform"):
fewer than two points, non-finite points, a zero-length curve, curves that meet or cross.)");
    p.def(py::init([](const py::object& hub, const py::object& shroud) {
              return TT(curve(hub, "TurboTransform: hub"), curve(shroud, "TurboTransform: shroud"));
          }),
          "hub"_a, "shroud"_a);
    p.attr("SPACE_MTS") = static_cast<int>(TT::spaceMTS);
    p.attr("SPACE_NMTS") = static_cast<int>(TT::spaceNMTS);
    p.attr("SPACE_M_PRIME") = static_cast<int>(TT::spaceMPrime);
    p.def(
        "convert_art_to_space_tns",
        [](const TT& tt, int space, const py::object& art) {
            return eachRow(art, "convert_art_to_space_tns: art", kEither,
                           [&](const auto& in, auto& out) {
                               tt.convertARTtoSpaceTNs(static_cast<Space>(space), in, out);
                           });
        },
        "space"_a, "art"_a,
        "(axial, radial, theta) rows to (meridional, theta, span) in the space (0, 3 or 4; others "
        "refused with DataInvalid \"Unknown meridional space.\"); theta passed through unchanged "
        "in "
        "its unit. float32 or float64 (double-precision arithmetic, float32 results rounded "
        "once).");
    p.def(
        "convert_space_tns_to_art",
        [](const TT& tt, int space, const py::object& tns) {
            return eachRow(
                tns, "convert_space_tns_to_art: tns", kFloat32, [&](const auto& in, auto& out) {
                    if constexpr (std::is_same<std::decay_t<decltype(in)>, Triplet<float>>::value) {
                        tt.convertSpaceTNsToART(static_cast<Space>(space), in, out);
                    }
                });
        },
        "space"_a, "tns"_a,
        "float32 (meridional, theta, span) rows back to (axial, radial, theta), theta unchanged; "
        "meridional values outside the passage continue the first or last patch linearly.");

    using TTT = orv::ThetaTurboTransform;
    py::class_<TTT> t(m, "ThetaTurboTransform",
                      R"(XYZ points <-> (meridional, theta, span) of a passage.

ThetaTurboTransform(break_angle_deg, axis)

break_angle_deg: degrees; axis: a RotationAxis. Points are float32 arrays of shape (N, 3) (the
library's points are single precision; float64 points are refused), (m, theta, span) are float64
arrays of shape (N, 3) with theta in radians. Theta from a point is wrapped against the break angle
beta into [beta, beta + 360] degrees, each point on its own (no continuity). The passage model is
lent to each call. Refusals of the passage model (for example m' where the line of constant span
reaches the axis) raise DataInvalid; no result is returned then.)");
    t.def(py::init<double, const orv::RotationAxis&>(), "break_angle_deg"_a, "axis"_a);
    t.def("get_break_angle", &TTT::getBreakAngle, "The break angle in degrees.");
    t.def("get_rotation_axis", &TTT::getRotationAxis, "A copy of the rotation axis.");

    using F3 = Triplet<float>;
    using D3 = Triplet<double>;
    t.def(
        "convert_xyz_to_space",
        [](const TTT& x, int space, const py::object& xyz, const TT& tt) {
            return turboList<F3, D3>(
                xyz, "convert_xyz_to_space: xyz", [&](const auto& in, auto& out) {
                    x.convertXYZtoSpace(static_cast<Space>(space), in, out, tt);
                });
        },
        "space"_a, "xyz"_a, "passage"_a,
        "float32 points to float64 (meridional, theta, span) in the space "
        "(TurboTransform.SPACE_...), "
        "theta in radians wrapped against the break angle.");
    t.def(
        "convert_space_to_xyz",
        [](const TTT& x, int space, const py::object& tns, const TT& tt) {
            return turboList<D3, F3>(
                tns, "convert_space_to_xyz: tns", [&](const auto& in, auto& out) {
                    x.convertSpaceToXYZ(static_cast<Space>(space), in, out, tt);
                });
        },
        "space"_a, "tns"_a, "passage"_a,
        "float64 (meridional, theta in radians, span) of the space back to float32 points.");
    t.def(
        "convert_xyz_to_mts",
        [](const TTT& x, const py::object& xyz, const TT& tt) {
            return turboList<F3, D3>(
                xyz, "convert_xyz_to_mts: xyz",
                [&](const auto& in, auto& out) { x.convertXYZtoMTS(in, out, tt); });
        },
        "xyz"_a, "passage"_a,
        "float32 points to float64 (m, theta, span): m the arc length along the line of constant "
        "span (length unit of the passage), theta in radians wrapped against the break angle.");
    t.def(
        "convert_xyz_to_nmts",
        [](const TTT& x, const py::object& xyz, const TT& tt) {
            return turboList<F3, D3>(
                xyz, "convert_xyz_to_nmts: xyz",
                [&](const auto& in, auto& out) { x.convertXYZtoNMTS(in, out, tt); });
        },
        "xyz"_a, "passage"_a,
        "float32 points to float64 (m, theta, span) with m normalised (0 at the inlet, 1 at the "
        "outlet), theta in radians wrapped against the break angle.");
    t.def(
        "convert_mts_to_xyz",
        [](const TTT& x, const py::object& tns, const TT& tt) {
            return turboList<D3, F3>(
                tns, "convert_mts_to_xyz: mts",
                [&](const auto& in, auto& out) { x.convertMTStoXYZ(in, out, tt); });
        },
        "mts"_a, "passage"_a, "float64 (m, theta in radians, span) of MTS back to float32 points.");
    t.def(
        "convert_nmts_to_xyz",
        [](const TTT& x, const py::object& tns, const TT& tt) {
            return turboList<D3, F3>(
                tns, "convert_nmts_to_xyz: nmts",
                [&](const auto& in, auto& out) { x.convertNMTStoXYZ(in, out, tt); });
        },
        "nmts"_a, "passage"_a,
        "float64 (m, theta in radians, span) of NMTS back to float32 points.");
}

} // namespace

PYBIND11_MODULE(orv, m) {
    m.doc() = R"(Geometry tools for turbomachinery over numpy arrays (libORVRWGeometryTools).

RotationAxis: points <-> (axial, radial, theta) about any axis, rotations, matrices.
TurboTransform: the passage model from hub and shroud curves.
ThetaTurboTransform: points <-> (meridional, theta, span) in MTS, NMTS and m'.
Failures of the library raise Error (base), InternalError, DataError or DataInvalid (a DataError),
with the attributes class_label, operation_label, message and error_type; wrong arrays raise
TypeError or ValueError.)";
    m.attr("__version__") = ORV_VERSION_STRING;

    ErrorClasses& e = errorClasses;
    e.error =
        newError(m, "Error", PyExc_Exception,
                 "A refusal of the library; class_label, operation_label, message, error_type.");
    e.internal = newError(m, "InternalError", e.error, "A fault of the program or of its calls.");
    e.data = newError(m, "DataError", e.error, "A fault in the data passed.");
    e.invalid = newError(m, "DataInvalid", e.data, "Data refused as invalid.");
    py::register_exception_translator([](std::exception_ptr p) {
        try {
            if (p) {
                std::rethrow_exception(p);
            }
        } catch (const orv::data::invalid& x) {
            raise(errorClasses.invalid, x);
        } catch (const orv::data::error& x) {
            raise(errorClasses.data, x);
        } catch (const orv::internal::error& x) {
            raise(errorClasses.internal, x);
        } catch (const orv::Error& x) {
            raise(errorClasses.error, x);
        }
    });

    bindRotationAxis(m);
    bindTurbo(m);
}
