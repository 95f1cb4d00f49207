"""The package orv: every function against the C++ results of orv_py_reference (built from
tests/python/reference.cpp on the same inputs), bit for bit, in both precisions; refusals of arrays;
the library's exceptions with their labels; theta continuity; a Rotor 37 round trip."""
import subprocess

import numpy as np
import pytest
from conftest import AXIS, DATA, PASSAGE, REFERENCE, ROTOR37_AXIS

import orv

TURBO = orv.ThetaTurboTransform(-5.0, ROTOR37_AXIS)
rng = np.random.default_rng(7)
t, z, r = rng.uniform(-np.pi, np.pi, 50), rng.uniform(-20, 14, 50), rng.uniform(18.5, 24, 50)
# Longer than two of the module's chunks of 8192 points, so that continuity crosses chunk boundaries;
# the last two on the axis.
xyz = np.vstack([rng.uniform(-50, 50, (17998, 3)), [[1.0, -2.0, 0.5], [2.0, 0.0, 3.5]]])
INPUTS = {"xyz": xyz, "art": np.column_stack([z, r, rng.uniform(-400, 400, 50)]),
          "pass": np.column_stack([z, r, t])}
INPUTS = {f"in_{k}{b}": v.astype(d) for k, v in INPUTS.items() for b, d in (("32", np.float32), ("64", float))}
INPUTS["in_turbo32"] = np.column_stack([r * np.cos(t), r * np.sin(t), z]).astype(np.float32)
INPUTS["in_turbo64"] = INPUTS["in_turbo32"].astype(float) + rng.uniform(-1e-3, 1e-3, (50, 3))
INPUTS["in_deltas"] = np.column_stack([rng.uniform(-0.2, 0.2, 50), rng.uniform(-0.01, 0.01, 50), rng.uniform(-0.3, 0.3, 50)])
BIG, UNDEF = 1e300, 1.7976931348623157e308  # UNDEF: the library's undefined marker
SPECIAL = [[[0, 0, 0], [4, 0, 0], [0, 3, 0]], [[1, 2, 3]] * 3, [[0, 0, 0], [1, 1, 1], [2, 2, 2]],
           [[0, 0, 0], [1, 0, 0], [np.nan, 0, 0]], [[UNDEF, 0, 0], [1, 0, 0], [0, 1, 0]],
           [[0, 0, 0], [np.inf, 0, 0], [0, 1, 0]], [[0, 0, 0], [BIG, 0, 0], [0, BIG, 0]],
           [[0, 0, 0], [5e-324, 0, 0], [0, 5e-324, 0]]]
INPUTS["in_tri64"] = np.concatenate([np.array(SPECIAL, float), rng.normal(0, 10, (40, 3, 3))])
SPANS = {f"span32_{s}": (s, None) for s in (0, 3, 4)} | {f"span64_{k}_{s}": (s, k) for k in (0, 1, 2, 7) for s in (0, 3, 4)}


def module_results():
    out, i = {}, INPUTS
    for b in ("32", "64"):
        x, a = i["in_xyz" + b], i["in_art" + b]
        dirs = AXIS.convert_art_with_directions(x)
        out.update({"art" + b: AXIS.convert_art(x), "hem" + b: AXIS.convert_art_set_hemisphere(x, 100.0),
                    "ar" + b: AXIS.convert_ar(x, 30.0), "xyz" + b: AXIS.convert_xyz(a),
                    "xyzrad" + b: AXIS.convert_xyz_theta_rad(a), "rot" + b: AXIS.rotate_by_angle(x, 25.0),
                    "per" + b: AXIS.rotate_by_period(x, 1.5), "proj" + b: AXIS.project_to_theta(x, 40.0),
                    "pass_tns" + b: PASSAGE.convert_art_to_space_tns(3, i["in_pass" + b])})
        out.update({f"dirs_{k}{b}": d for k, d in zip(("art", "axial", "radial", "theta"), dirs)})
    out["hemrad32"] = AXIS.convert_art_set_hemisphere_rad(i["in_xyz32"], 1.5)
    out["pass_art32"] = PASSAGE.convert_space_tns_to_art(3, out["pass_tns32"])
    out["axis_values"] = np.concatenate([AXIS.get_axis_dir(), AXIS.get_up_vector(),
                                         AXIS.get_rotation_matrix(33.0).ravel(),
                                         AXIS.get_period_rotation_matrix(True).ravel(),
                                         AXIS.get_period_rotation_matrix(forward=False).ravel()])
    p = i["in_turbo32"]
    for name, fwd, back in (("mts", TURBO.convert_xyz_to_mts, TURBO.convert_mts_to_xyz),
                            ("nmts", TURBO.convert_xyz_to_nmts, TURBO.convert_nmts_to_xyz),
                            ("mprime", lambda x, tt: TURBO.convert_xyz_to_space(4, x, tt),
                             lambda x, tt: TURBO.convert_space_to_xyz(4, x, tt))):
        out[name] = fwd(p, PASSAGE)
        out[name + "_xyz"] = back(out[name], PASSAGE)
    out["turbo_art"] = TURBO.convert_xyz_to_art(p)
    out["turbo_hem"] = TURBO.convert_xyz_to_art_set_hemisphere(p, 2.5)
    out["turbo_art_xyz"] = TURBO.convert_art_to_xyz(out["turbo_art"])
    out["deltas"] = TURBO.calc_normalized_deltas(p, np.roll(p, -1, axis=0), PASSAGE)
    out["applied"] = TURBO.apply_normalized_deltas(p, i["in_deltas"], PASSAGE)
    for name, (space, kind) in SPANS.items():
        points = p if kind is None else i["in_turbo64"]
        out[name] = TURBO.project_point_to_span(points, 0.25 if kind is None else 0.75, space, PASSAGE, kind)
    m = orv.triangle_measures(i["in_tri64"])
    out["tri64"] = np.column_stack([m.lengths, m.perimeter, m.area, m.in_radius, m.in_center, m.angles_bc])
    return out


@pytest.fixture(scope="module")
def results(tmp_path_factory):
    folder = tmp_path_factory.mktemp("reference")
    kept = {k: v.copy() for k, v in INPUTS.items()}
    for name, array in INPUTS.items():
        array.tofile(folder / f"{name}.bin")
    subprocess.run([REFERENCE, str(folder), DATA], check=True)
    cpp = {f.stem: f.read_bytes() for f in folder.iterdir() if not f.stem.startswith("in_")}
    ours = module_results()
    assert all(kept[k].tobytes() == v.tobytes() for k, v in INPUTS.items())  # inputs untouched
    assert sorted(cpp) == sorted(ours)
    return cpp, ours


FLOAT64 = {"mts", "nmts", "mprime", "turbo_art", "turbo_hem", "deltas", "tri64"}


@pytest.mark.parametrize("name", sorted(module_results()))
def test_bits_equal_the_cpp_results(results, name):
    cpp, ours = results
    wide = name in FLOAT64 or name.endswith("64") or name.startswith("span64")
    assert ours[name].dtype == (np.float64 if wide else np.float32)
    if name == "tri64":  # perimeter, area, in-radius read from the C++ report: any NaN as NaN
        theirs = np.frombuffer(cpp[name]).reshape(-1, 11).copy()
        mine = ours[name].copy()
        both = np.isnan(theirs[:, 3:6]) & np.isnan(mine[:, 3:6])
        theirs[:, 3:6][both] = mine[:, 3:6][both] = np.nan
        assert mine.tobytes() == theirs.tobytes()
    else:
        assert ours[name].tobytes() == cpp[name]


def test_triangles_known_values():
    m = orv.triangle_measures(np.array(SPECIAL[:2], float))
    assert m.lengths.tolist() == [[5, 3, 4], [0, 0, 0]] and m.perimeter.tolist() == [12, 0]
    assert m.area.tolist() == [6, 0] and m.in_radius.tolist() == [1, 0]
    assert m.in_center.tolist() == [[1, 1, 0], [0, 0, 0]]
    assert m.angles_bc[0].tolist() == [np.arccos(0.8), np.arccos(0.6)]
    assert np.array_equal(orv.triangle_measures(np.float32(SPECIAL[:1])).area, [6.0])


def test_any_memory_layout_gives_the_same_bits():
    # C-ordered rows convert where they lie, other layouts chunk by chunk (continuity across chunks).
    for b in ("32", "64"):
        x = INPUTS["in_xyz" + b]
        assert AXIS.convert_art(x[::2]).tobytes() == AXIS.convert_art(x[::2].copy()).tobytes()
        assert AXIS.convert_art(np.asfortranarray(x)).tobytes() == AXIS.convert_art(x).tobytes()
        assert (AXIS.convert_art_set_hemisphere(np.asfortranarray(x), -700.0).tobytes()
                == AXIS.convert_art_set_hemisphere(x, -700.0).tobytes())
        assert AXIS.convert_art(x[:0]).shape == (0, 3)


F64, F32 = np.zeros((2, 3)), np.zeros((2, 3), np.float32)
SINGLE = " (the theta turbo transform converts single-precision points), not float64"


@pytest.mark.parametrize("call, kind, text", [
    (lambda: AXIS.convert_art(F64.astype(np.int64)), TypeError, "convert_art: points must be float32 or float64, not int64"),
    (lambda: AXIS.convert_art(F64.tolist()), TypeError,
     "convert_art: points must be a numpy array of float32 or float64, shape (N, 3), not list"),
    (lambda: AXIS.convert_xyz(F32[:, :2]), ValueError, "convert_xyz: art must have shape (N, 3), not (2, 2)"),
    (lambda: AXIS.rotate_by_angle(F64[0], 1.0), ValueError, "rotate_by_angle: points must have shape (N, 3), not (3,)"),
    (lambda: AXIS.convert_art_set_hemisphere_rad(F64, 0.0), TypeError, "convert_art_set_hemisphere_rad: points must be "
     "float32 (the library's list form in radians is single precision), not float64"),
    (lambda: TURBO.convert_xyz_to_nmts(F64, PASSAGE), TypeError, "convert_xyz_to_nmts: xyz must be float32" + SINGLE),
    (lambda: TURBO.convert_space_to_xyz(4, F32, PASSAGE), TypeError, "convert_space_to_xyz: tns must be float64 (the "
     "theta turbo transform takes (m, theta, span) in double precision), not float32"),
    (lambda: PASSAGE.convert_space_tns_to_art(3, F64), TypeError, "convert_space_tns_to_art: tns must be float32 (the "
     "library's back conversion is single precision), not float64"),
    (lambda: orv.TurboTransform(F64[:, :2], F32[:, :2]), TypeError, "TurboTransform: hub must be float32 (the passage "
     "model keeps single-precision curve points), not float64"),
    (lambda: TURBO.calc_normalized_deltas(F32, F32[:1], PASSAGE), ValueError, "calc_normalized_deltas: to_points must "
     "have shape (N, 3) with N = 2 (the rows of from_points), not (1, 3)"),
    (lambda: TURBO.apply_normalized_deltas(F32, F32, PASSAGE), TypeError, "apply_normalized_deltas: deltas must be "
     "float64 (the library's normalised deltas are double precision), not float32"),
    (lambda: TURBO.project_point_to_span(F64, 0.5, 3, PASSAGE), TypeError, "project_point_to_span: float64 points need "
     "a projection_type (ThetaTurboTransform.WALL_ENDS_CLAMPED, WALL_ENDS_EXTENDED or GENERAL_SINGLE)"),
    (lambda: TURBO.project_point_to_span(F32, 0.5, 3, PASSAGE, 2), TypeError, "project_point_to_span: projection_type "
     "applies to float64 points only (float32 points take the general single-precision back conversion)"),
    (lambda: TURBO.convert_art_to_xyz(F32), TypeError, "convert_art_to_xyz: art must be float64 (the theta turbo "
     "transform takes (m, theta, span) in double precision), not float32"),
    (lambda: orv.triangle_measures(F64), ValueError, "triangle_measures: triangles must have shape (M, 3, 3), not (2, 3)"),
    (lambda: orv.triangle_measures([[[0.0] * 3] * 3]), TypeError,
     "triangle_measures: triangles must be a numpy array of float32 or float64, shape (M, 3, 3), not list"),
])
def test_arrays_refused(call, kind, text):
    with pytest.raises(kind) as caught:
        call()
    assert str(caught.value) == text


ON_AXIS = orv.TurboTransform(np.float32([[0, 0], [1, 0]]), np.float32([[0, 1], [1, 1]]))


@pytest.mark.parametrize("call, operation, message", [
    (lambda: orv.RotationAxis((0, 0, 0), (0, 0, 0), 10.0), "RotationAxis.set", "Axis Direction is zero length."),
    (lambda: orv.RotationAxis((0, 0, 0), (0, 0, 1), 0.0), "RotationAxis.set", "Rotation Angle must be greater than zero."),
    (lambda: orv.RotationAxis((0, 0, 0), (0, 0, 1), 360.5), "RotationAxis.set", "Rotation Angle must be less than 360."),
    (lambda: orv.TurboTransform(F32[:1, :2], F32[:, :2]), "TurboTransform.TurboTransform",
     "Hub and shroud curves need at least two points."),
    (lambda: TURBO.convert_xyz_to_space(7, F32, PASSAGE), "TurboTransform.convertARTtoSpaceTNs", "Unknown meridional space."),
    (lambda: TURBO.convert_xyz_to_space(4, np.float32([[0, 0, 0.5]]), ON_AXIS), "TurboTransform.convertARTtoSpaceTNs",
     "Meridional coordinate m' needs a positive radius."),
    (lambda: TURBO.project_point_to_span(np.float32([[1, 0, 0.5]]), 0.5, 9, ON_AXIS), "TurboTransform.convertARTtoSpaceTNs",
     "Unknown meridional space."),
])
def test_library_refusals_raise_data_invalid(call, operation, message):
    with pytest.raises(orv.DataInvalid) as caught:
        call()
    e = caught.value
    assert (f"{e.class_label}.{e.operation_label}", e.message, e.error_type) == (operation, message, 4)
    assert str(e) == f"{e.class_label}::{e.operation_label}: {message}"


@pytest.mark.parametrize("dtype", [np.float32, np.float64])
def test_theta_continuous_across_the_cut(dtype):
    angles = np.radians(np.arange(170.0, 560.0, 20.0))  # crosses 180 and 540
    points = np.column_stack([np.cos(angles), np.sin(angles), np.ones_like(angles)]).astype(dtype)
    theta = orv.RotationAxis((0, 0, 0), (0, 0, 1), 10.0, (1, 0, 0)).convert_art(points)[:, 2]
    assert np.all(np.abs(np.diff(theta) - 20) < 1e-3) and theta[0] == pytest.approx(170, abs=1e-4)


@pytest.mark.parametrize("space", [0, 3, 4])
def test_rotor37_blade_round_trip(space):
    blade = np.loadtxt(f"{DATA}/blade.csv", delimiter=",", skiprows=1)
    s = blade[blade[:, 0] == 7]
    points = np.vstack([np.column_stack([s[:, 3] * np.cos(th), s[:, 3] * np.sin(th), s[:, 2]]) for th in s[:, 4:6].T])
    points = points.astype(np.float32)
    back = TURBO.convert_space_to_xyz(space, TURBO.convert_xyz_to_space(space, points, PASSAGE), PASSAGE)
    # Within 6 units in the last place of the radius: theta goes through float32 degrees both ways.
    ulp = np.spacing(np.hypot(points[:, 0], points[:, 1]))[:, None]
    assert np.all(np.abs(back - points) <= 6 * ulp)
