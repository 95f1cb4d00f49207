// orv.TurboTransform (the passage model) and orv.ThetaTurboTransform over numpy arrays.
#include "Arrays.h"
#include "Module.h"

#include <pybind11/stl.h>

#include <charconv>
#include <cstring>
#include <type_traits>

namespace orvpy {

namespace {

using namespace py::literals;

using Space = orv::TurboTransform::space;
using F3 = orv::TripletBase<float>;
using D3 = orv::TripletBase<double>;

const char* const kSingle = " (the theta turbo transform converts single-precision points)";
const char* const kDouble =
    " (the theta turbo transform takes (m, theta, span) in double precision)";
const char* const kDeltas = " (the library's normalised deltas are double precision)";

std::vector<orv::Doublet> curve(const py::object& obj, const char* what) {
    const py::array a =
        rows(obj, what, 2, kFloat32, " (the passage model keeps single-precision curve points)");
    return copyIn<float, orv::Doublet>(view(a));
}

py::array curveArray(const std::vector<orv::Doublet>& c) {
    py::array_t<float> out({py::ssize_t(c.size()), py::ssize_t(2)});
    std::memcpy(out.mutable_data(), c.data(), c.size() * sizeof(orv::Doublet));
    return std::move(out);
}

// The shortest text that reads back to the same float32 (a decimal point kept).
std::string float32Text(float v) {
    if (v != v || v - v != 0.0f) {
        return floatText(static_cast<double>(v));
    }
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof(buffer), v).ptr;
    std::string text(buffer, end);
    if (text.find_first_of(".e") == std::string::npos) {
        text += ".0";
    }
    return text;
}

std::string curveText(const std::vector<orv::Doublet>& c) {
    std::string text = "numpy.array([";
    for (std::size_t i = 0; i < c.size(); ++i) {
        text += (i ? ", [" : "[") + float32Text(c[i].x) + ", " + float32Text(c[i].y) + "]";
    }
    return text + "], dtype=numpy.float32)";
}

bool sameCurve(const std::vector<orv::Doublet>& a, const std::vector<orv::Doublet>& b) {
    return a.size() == b.size() && sameBits(a.data(), b.data(), a.size() * sizeof(orv::Doublet));
}

// Row i of an (N, 3) view as a triplet of T.
template <class T> orv::TripletBase<T> rowAt(const View& v, py::ssize_t i) {
    return orv::TripletBase<T>(element<T>(v, i, 0), element<T>(v, i, 1), element<T>(v, i, 2));
}

// out[i] = f(i) for every row, the triplets of TOut written into a new (N, 3) array, without the
// lock. A refusal of f leaves no result.
template <class TOut, class F> py::object eachPoint(py::ssize_t n, F f) {
    py::array_t<TOut> result({n, py::ssize_t(3)});
    TOut* dst = result.mutable_data();
    {
        py::gil_scoped_release unlocked;
        for (py::ssize_t i = 0; i < n; ++i) {
            const orv::TripletBase<TOut> r = f(i);
            dst[3 * i] = r.x;
            dst[3 * i + 1] = r.y;
            dst[3 * i + 2] = r.z;
        }
    }
    return std::move(result);
}

// Each row through convert(in, out) of the passage model, point by point without the lock.
template <class Convert>
py::object eachRow(const py::object& obj, const char* what, int accept, Convert convert) {
    return byPrecision(
        obj, what,
        [&](const View& v, auto tag) -> py::object {
            using T = decltype(tag);
            return eachPoint<T>(v.rows, [&](py::ssize_t i) {
                orv::TripletBase<T> out;
                convert(rowAt<T>(v, i), out);
                return out;
            });
        },
        accept, accept == kFloat32 ? " (the library's back conversion is single precision)" : "");
}

// XYZ (float32) to (m, theta, span) (float64) or back, through the list call(in, out), chunk by
// chunk (perElement: the theta turbo transform's lists convert each element on its own).
template <class In, class Out, class Call>
py::object turboList(const py::object& obj, const char* what, Call call) {
    using TIn = decltype(In::x);
    using TOut = decltype(Out::x);
    const bool single = std::is_same<TIn, float>::value;
    const py::array a =
        rows(obj, what, 3, single ? kFloat32 : kFloat64, single ? kSingle : kDouble);
    return perElement<TIn, In, TOut, Out>(view(a), call);
}

// The second array of a pair has the first one's rows.
void sameRows(const py::array& first, const py::array& second, const char* what,
              const char* firstName) {
    if (second.shape(0) != first.shape(0)) {
        throw py::value_error(std::string(what) +
                              " must have shape (N, 3) with N = " + std::to_string(first.shape(0)) +
                              " (the rows of " + firstName + "), not " + shapeText(second));
    }
}

py::ssize_t curveHash(const Passage& p) {
    std::vector<float> values;
    for (const auto* c : {&p.hub, &p.shroud}) {
        values.push_back(static_cast<float>(c->size()));
        for (const orv::Doublet& d : *c) {
            values.insert(values.end(), {d.x, d.y});
        }
    }
    return bitsHash(values.data(), values.size() * sizeof(float));
}

template <class T>
py::object notImplementedOr(const py::object& other, bool (*equal)(const T&, const T&),
                            const T& self) {
    if (!py::isinstance<T>(other)) {
        return py::reinterpret_borrow<py::object>(Py_NotImplemented);
    }
    return py::bool_(equal(self, other.cast<const T&>()));
}

bool passageEqual(const Passage& a, const Passage& b) {
    return sameCurve(a.hub, b.hub) && sameCurve(a.shroud, b.shroud);
}

bool thetaEqual(const Theta& a, const Theta& b) {
    return sameBits(&a.breakAngleDeg, &b.breakAngleDeg, sizeof(double)) &&
           axisEqual(a.axis, b.axis);
}

void bindPassage(py::module_& m) {
    using TT = orv::TurboTransform;
    py::class_<Passage> p(m, "TurboTransform",
                          R"(The passage model: (axial, radial) <-> (meridional, span).

TurboTransform(hub, shroud)

hub, shroud: float32 arrays of shape (K, 2), (axial, radial) points from inlet to outlet, in any
length unit. Each curve is parametrised by its normalised arc length u; the point at (u, span) is
(1 - span) hub(u) + span shroud(u), inverted exactly on the bilinear patches between the curves'
break points. Spaces: SPACE_MTS (0): meridional = arc length along the line of constant span (length
unit of the curves); SPACE_NMTS (3): meridional = u in [0, 1]; SPACE_M_PRIME (4): m' = integral of
dm / r along that line (dimensionless). Refused with DataInvalid ("TurboTransform", "TurboTransform"):
fewer than two points, non-finite points, a zero-length curve, curves that meet or cross.

The model cannot be changed. It keeps its two curves (the hub and shroud properties), from which
pickling, copy, repr and == work; a model built from them gives the same bits.)");
    p.def(py::init([](const py::object& hub, const py::object& shroud) {
              return Passage(curve(hub, "TurboTransform: hub"),
                             curve(shroud, "TurboTransform: shroud"));
          }),
          "hub"_a, "shroud"_a,
          "__init__(self, hub, shroud)\n--\n\nThe passage between the hub and shroud curves.");
    p.attr("SPACE_MTS") = static_cast<int>(TT::spaceMTS);
    p.attr("SPACE_NMTS") = static_cast<int>(TT::spaceNMTS);
    p.attr("SPACE_M_PRIME") = static_cast<int>(TT::spaceMPrime);
    p.def_property_readonly(
        "hub", [](const Passage& x) { return curveArray(x.hub); },
        "A copy of the hub curve, float32 (K, 2) (axial, radial), as given.");
    p.def_property_readonly(
        "shroud", [](const Passage& x) { return curveArray(x.shroud); },
        "A copy of the shroud curve, float32 (K, 2) (axial, radial), as given.");
    p.def(
        "__reduce__",
        [](const py::object& self) {
            const Passage& x = self.cast<const Passage&>();
            return py::make_tuple(self.get_type(),
                                  py::make_tuple(curveArray(x.hub), curveArray(x.shroud)));
        },
        "__reduce__(self)\n--\n\nThe class and the two curves, for pickle.");
    p.def(
        "__copy__", [](const Passage& x) { return Passage(x); }, "__copy__(self)\n--\n\nA copy.");
    p.def(
        "__deepcopy__", [](const Passage& x, const py::object&) { return Passage(x); }, "memo"_a,
        "__deepcopy__(self, memo)\n--\n\nA copy (the model holds no Python object).");
    p.def(
        "__repr__",
        [](const Passage& x) {
            return "orv.TurboTransform(hub=" + curveText(x.hub) +
                   ", shroud=" + curveText(x.shroud) + ")";
        },
        "__repr__(self)\n--\n\nThe constructor call with the exact curve points.");
    p.def(
        "__eq__",
        [](const Passage& a, const py::object& other) {
            return notImplementedOr<Passage>(other, passageEqual, a);
        },
        "other"_a, "__eq__(self, other)\n--\n\nTrue when both curves have the same bits.");
    p.def("__hash__", &curveHash, "__hash__(self)\n--\n\nA hash of the curves' bits.");

    p.def(
        "convert_art_to_space_tns",
        [](const Passage& x, int space, const py::object& art) {
            return eachRow(art, "convert_art_to_space_tns: art", kEither,
                           [&](const auto& in, auto& out) {
                               x.model.convertARTtoSpaceTNs(static_cast<Space>(space), in, out);
                           });
        },
        "space"_a, "art"_a,
        "convert_art_to_space_tns(self, space, art)\n--\n\n"
        "(axial, radial, theta) rows to (meridional, theta, span) in the space (0, 3 or 4; others "
        "refused with DataInvalid \"Unknown meridional space.\"); theta passed through unchanged "
        "in its unit. float32 or float64 (double-precision arithmetic, float32 results rounded "
        "once).");
    p.def(
        "convert_space_tns_to_art",
        [](const Passage& x, int space, const py::object& tns) {
            return eachRow(tns, "convert_space_tns_to_art: tns", kFloat32,
                           [&](const auto& in, auto& out) {
                               if constexpr (std::is_same<std::decay_t<decltype(in)>, F3>::value) {
                                   x.model.convertSpaceTNsToART(static_cast<Space>(space), in, out);
                               }
                           });
        },
        "space"_a, "tns"_a,
        "convert_space_tns_to_art(self, space, tns)\n--\n\n"
        "float32 (meridional, theta, span) rows back to (axial, radial, theta), theta unchanged; "
        "meridional values outside the passage continue the first or last patch linearly.");
}

void bindTheta(py::module_& m) {
    using TTT = orv::ThetaTurboTransform;
    py::class_<Theta> t(m, "ThetaTurboTransform",
                        R"(XYZ points <-> (meridional, theta, span) of a passage.

ThetaTurboTransform(break_angle_deg, axis)

break_angle_deg: degrees; axis: a RotationAxis. Points are float32 arrays of shape (N, 3) (the
library's points are single precision; float64 points are refused, except by the float64 form of
project_point_to_span), (m, theta, span) and (a, r, theta) are float64 arrays of shape (N, 3) with
theta in radians. Theta from a point is wrapped against the break angle beta into
[beta, beta + 360] degrees, each point on its own (no continuity). The passage model is lent to each
call. Refusals of the passage model (for example m' where the line of constant span reaches the
axis) raise DataInvalid; no result is returned then.

The transform cannot be changed; pickling, copy, repr and == use its break angle and its axis.)");
    t.def(py::init([](double breakAngle, const Axis& axis) { return Theta(breakAngle, axis); }),
          "break_angle_deg"_a, "axis"_a,
          "__init__(self, break_angle_deg, axis)\n--\n\nThe transform about the axis, theta cut "
          "at break_angle_deg degrees.");
    t.attr("WALL_ENDS_CLAMPED") = static_cast<int>(TTT::wallEndsClamped);
    t.attr("WALL_ENDS_EXTENDED") = static_cast<int>(TTT::wallEndsExtended);
    t.attr("GENERAL_SINGLE") = static_cast<int>(TTT::generalSingle);
    t.def_property_readonly(
        "break_angle_deg", [](const Theta& x) { return x.breakAngleDeg; },
        "The break angle in degrees, as given and stored.");
    t.def_property_readonly(
        "axis", [](const Theta& x) { return x.axis; }, "A copy of the rotation axis.");
    t.def(
        "get_break_angle", [](const Theta& x) { return x.transform.getBreakAngle(); },
        "get_break_angle(self)\n--\n\nThe break angle in degrees (float64, as stored).");
    t.def(
        "get_rotation_axis", [](const Theta& x) { return x.axis; },
        "get_rotation_axis(self)\n--\n\nA copy of the rotation axis.");
    t.def(
        "__reduce__",
        [](const py::object& self) {
            const Theta& x = self.cast<const Theta&>();
            return py::make_tuple(self.get_type(), py::make_tuple(x.breakAngleDeg, x.axis));
        },
        "__reduce__(self)\n--\n\nThe class, the break angle and the axis, for pickle.");
    t.def(
        "__copy__", [](const Theta& x) { return Theta(x); }, "__copy__(self)\n--\n\nA copy.");
    t.def(
        "__deepcopy__", [](const Theta& x, const py::object&) { return Theta(x); }, "memo"_a,
        "__deepcopy__(self, memo)\n--\n\nA copy (the transform holds no Python object).");
    t.def(
        "__repr__",
        [](const Theta& x) {
            return "orv.ThetaTurboTransform(break_angle_deg=" + floatText(x.breakAngleDeg) +
                   ", axis=" + axisRepr(x.axis) + ")";
        },
        "__repr__(self)\n--\n\nThe constructor call with the exact values given.");
    t.def(
        "__eq__",
        [](const Theta& a, const py::object& other) {
            return notImplementedOr<Theta>(other, thetaEqual, a);
        },
        "other"_a,
        "__eq__(self, other)\n--\n\nTrue when the break angles and the axes have the same bits.");
    t.def(
        "__hash__",
        [](const Theta& x) {
            return bitsHash(&x.breakAngleDeg, sizeof(double)) ^ axisHash(x.axis);
        },
        "__hash__(self)\n--\n\nA hash of the values' bits.");

    t.def(
        "convert_xyz_to_space",
        [](const Theta& x, int space, const py::object& xyz, const Passage& tt) {
            return turboList<F3, D3>(
                xyz, "convert_xyz_to_space: xyz", [&](const auto& in, auto& out) {
                    x.transform.convertXYZtoSpace(static_cast<Space>(space), in, out, tt.model);
                });
        },
        "space"_a, "xyz"_a, "passage"_a,
        "convert_xyz_to_space(self, space, xyz, passage)\n--\n\n"
        "float32 points to float64 (meridional, theta, span) in the space "
        "(TurboTransform.SPACE_...), theta in radians wrapped against the break angle.");
    t.def(
        "convert_space_to_xyz",
        [](const Theta& x, int space, const py::object& tns, const Passage& tt) {
            return turboList<D3, F3>(
                tns, "convert_space_to_xyz: tns", [&](const auto& in, auto& out) {
                    x.transform.convertSpaceToXYZ(static_cast<Space>(space), in, out, tt.model);
                });
        },
        "space"_a, "tns"_a, "passage"_a,
        "convert_space_to_xyz(self, space, tns, passage)\n--\n\n"
        "float64 (meridional, theta in radians, span) of the space back to float32 points.");
    t.def(
        "convert_xyz_to_mts",
        [](const Theta& x, const py::object& xyz, const Passage& tt) {
            return turboList<F3, D3>(
                xyz, "convert_xyz_to_mts: xyz",
                [&](const auto& in, auto& out) { x.transform.convertXYZtoMTS(in, out, tt.model); });
        },
        "xyz"_a, "passage"_a,
        "convert_xyz_to_mts(self, xyz, passage)\n--\n\n"
        "float32 points to float64 (m, theta, span): m the arc length along the line of constant "
        "span (length unit of the passage), theta in radians wrapped against the break angle.");
    t.def(
        "convert_xyz_to_nmts",
        [](const Theta& x, const py::object& xyz, const Passage& tt) {
            return turboList<F3, D3>(xyz, "convert_xyz_to_nmts: xyz",
                                     [&](const auto& in, auto& out) {
                                         x.transform.convertXYZtoNMTS(in, out, tt.model);
                                     });
        },
        "xyz"_a, "passage"_a,
        "convert_xyz_to_nmts(self, xyz, passage)\n--\n\n"
        "float32 points to float64 (m, theta, span) with m normalised (0 at the inlet, 1 at the "
        "outlet), theta in radians wrapped against the break angle.");
    t.def(
        "convert_mts_to_xyz",
        [](const Theta& x, const py::object& tns, const Passage& tt) {
            return turboList<D3, F3>(
                tns, "convert_mts_to_xyz: mts",
                [&](const auto& in, auto& out) { x.transform.convertMTStoXYZ(in, out, tt.model); });
        },
        "mts"_a, "passage"_a,
        "convert_mts_to_xyz(self, mts, passage)\n--\n\n"
        "float64 (m, theta in radians, span) of MTS back to float32 points.");
    t.def(
        "convert_nmts_to_xyz",
        [](const Theta& x, const py::object& tns, const Passage& tt) {
            return turboList<D3, F3>(tns, "convert_nmts_to_xyz: nmts",
                                     [&](const auto& in, auto& out) {
                                         x.transform.convertNMTStoXYZ(in, out, tt.model);
                                     });
        },
        "nmts"_a, "passage"_a,
        "convert_nmts_to_xyz(self, nmts, passage)\n--\n\n"
        "float64 (m, theta in radians, span) of NMTS back to float32 points.");

    // ---- Point by point: cylindrical coordinates, normalised deltas, span projection --------
    t.def(
        "convert_xyz_to_art",
        [](const Theta& x, const py::object& xyz) {
            const View v = view(rows(xyz, "convert_xyz_to_art: xyz", 3, kFloat32, kSingle));
            return eachPoint<double>(v.rows, [&](py::ssize_t i) {
                D3 art;
                x.transform.convertXYZtoART(rowAt<float>(v, i), art.x, art.y, art.z);
                return art;
            });
        },
        "xyz"_a,
        "convert_xyz_to_art(self, xyz)\n--\n\n"
        "float32 points to float64 (a, r, theta): the axis's single-precision a and r widened, "
        "theta in radians wrapped against the break angle.");
    t.def(
        "convert_xyz_to_art_set_hemisphere",
        [](const Theta& x, const py::object& xyz, double reference) {
            const View v =
                view(rows(xyz, "convert_xyz_to_art_set_hemisphere: xyz", 3, kFloat32, kSingle));
            return eachPoint<double>(v.rows, [&](py::ssize_t i) {
                D3 art;
                x.transform.convertXYZtoARTSetHemisphere(rowAt<float>(v, i), art.x, art.y, art.z,
                                                         reference);
                return art;
            });
        },
        "xyz"_a, "reference_rad"_a,
        "convert_xyz_to_art_set_hemisphere(self, xyz, reference_rad)\n--\n\n"
        "float32 points to float64 (a, r, theta), each theta (radians) within half a turn of "
        "reference_rad (radians) on its own; no break-angle wrap.");
    t.def(
        "convert_art_to_xyz",
        [](const Theta& x, const py::object& art) {
            const View v = view(rows(art, "convert_art_to_xyz: art", 3, kFloat64, kDouble));
            return eachPoint<float>(v.rows, [&](py::ssize_t i) {
                const D3 p = rowAt<double>(v, i);
                F3 xyz;
                x.transform.convertARTtoXYZ(p.x, p.y, p.z, xyz);
                return xyz;
            });
        },
        "art"_a,
        "convert_art_to_xyz(self, art)\n--\n\n"
        "float64 (a, r, theta in radians) back to float32 points; no break-angle wrap.");
    t.def(
        "calc_normalized_deltas",
        [](const Theta& x, const py::object& from, const py::object& to, const Passage& tt) {
            const py::array a =
                rows(from, "calc_normalized_deltas: from_points", 3, kFloat32, kSingle);
            const py::array b = rows(to, "calc_normalized_deltas: to_points", 3, kFloat32, kSingle);
            sameRows(a, b, "calc_normalized_deltas: to_points", "from_points");
            const View va = view(a), vb = view(b);
            return eachPoint<double>(va.rows, [&](py::ssize_t i) {
                D3 d; // (dm, dt, ds)
                x.transform.calcNormalizedDeltas(rowAt<float>(va, i), rowAt<float>(vb, i), d.x, d.y,
                                                 d.z, tt.model);
                return d;
            });
        },
        "from_points"_a, "to_points"_a, "passage"_a,
        "calc_normalized_deltas(self, from_points, to_points, passage)\n--\n\n"
        "Row by row, the deltas from a float32 point of from_points to the point of to_points in "
        "NMTS, as float64 (dm, dt, ds): dm and ds the differences of the normalised meridional "
        "coordinate and of the span; dt = (theta2 - theta1) / period_deg with the thetas in "
        "radians (theta1 wrapped against the break angle, theta2 taken within half a turn of "
        "it), radians per degree of period angle (0 for a period angle of 0).");
    t.def(
        "apply_normalized_deltas",
        [](const Theta& x, const py::object& points, const py::object& deltas, const Passage& tt) {
            const py::array a =
                rows(points, "apply_normalized_deltas: points", 3, kFloat32, kSingle);
            const py::array b =
                rows(deltas, "apply_normalized_deltas: deltas", 3, kFloat64, kDeltas);
            sameRows(a, b, "apply_normalized_deltas: deltas", "points");
            const View va = view(a), vb = view(b);
            return eachPoint<float>(va.rows, [&](py::ssize_t i) {
                const D3 d = rowAt<double>(vb, i);
                F3 moved;
                x.transform.applyNormalizedDeltas(rowAt<float>(va, i), moved, d.x, d.y, d.z,
                                                  tt.model);
                return moved;
            });
        },
        "points"_a, "deltas"_a, "passage"_a,
        "apply_normalized_deltas(self, points, deltas, passage)\n--\n\n"
        "Row by row, the float32 point moved by the float64 deltas (dm, dt, ds) of "
        "calc_normalized_deltas: the point at NMTS (m + dm, theta + dt * period_deg, s + ds), "
        "float32. One delta row for every point: numpy.broadcast_to(d, (N, 3)) repeats one.");
    t.def(
        "project_point_to_span",
        [](const Theta& x, const py::object& points, double span, int space, const Passage& tt,
           const std::optional<int>& type) {
            const py::array a = rows(points, "project_point_to_span: points", 3, kEither);
            const View v = view(a);
            if (isFloat32(a)) {
                if (type) {
                    throw py::type_error("project_point_to_span: projection_type applies to "
                                         "float64 points only (float32 points take the general "
                                         "single-precision back conversion)");
                }
                return eachPoint<float>(v.rows, [&](py::ssize_t i) {
                    return x.transform.projectPointToSpan(rowAt<float>(v, i), span,
                                                          static_cast<Space>(space), tt.model);
                });
            }
            if (!type) {
                throw py::type_error("project_point_to_span: float64 points need a "
                                     "projection_type (ThetaTurboTransform.WALL_ENDS_CLAMPED, "
                                     "WALL_ENDS_EXTENDED or GENERAL_SINGLE)");
            }
            const auto projection = static_cast<TTT::ProjectionType>(*type);
            return eachPoint<double>(v.rows, [&](py::ssize_t i) {
                return x.transform.projectPointToSpan(rowAt<double>(v, i), projection, span,
                                                      static_cast<Space>(space), tt.model);
            });
        },
        "points"_a, "span"_a, "space"_a, "passage"_a, "projection_type"_a = py::none(),
        "project_point_to_span(self, points, span, space, passage, projection_type=None)\n--\n\n"
        "The points moved to the span, keeping their meridional coordinate in the space "
        "(TurboTransform.SPACE_...) and their wrapped theta. float32 points: the single-precision "
        "form (general back conversion; projection_type must be None). float64 points: the "
        "double-precision form with projection_type WALL_ENDS_CLAMPED (0: the meridional "
        "coordinate limited to the passage) or WALL_ENDS_EXTENDED (1), double-precision back "
        "conversions, or any other int (GENERAL_SINGLE, 2): the back conversion in single "
        "precision. The result has the points' dtype.");
}

} // namespace

void bindTurbo(py::module_& m) {
    bindPassage(m);
    bindTheta(m);
}

} // namespace orvpy
