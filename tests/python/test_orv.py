"""The module orv: every function against the C++ results of orv_py_reference (built from
tests/python/reference.cpp on the same inputs), bit for bit, in both precisions; refusals of arrays;
the library's exceptions with their labels; theta continuity; a Rotor 37 round trip."""
import os
import subprocess

import numpy as np
import pytest

import orv

HERE = os.path.dirname(os.path.abspath(__file__))
DATA = os.environ.get("ORV_ROTOR37_DIR", os.path.join(HERE, "..", "..", "data", "rotor37"))
REFERENCE = os.environ.get("ORV_PY_REFERENCE", "orv_py_reference")
AXIS = orv.RotationAxis((1.0, -2.0, 0.5), (1.0, 2.0, 3.0), 72.0, (0.0, 0.0, 1.0))
TURBO = orv.ThetaTurboTransform(-5.0, orv.RotationAxis((0, 0, 0), (0, 0, 1), 10.0, (1, 0, 0)))


def wall(name):
    return np.loadtxt(f"{DATA}/{name}.csv", delimiter=",", skiprows=1).astype(np.float32)


PASSAGE = orv.TurboTransform(wall("hub"), wall("shroud"))
rng = np.random.default_rng(7)
t, z, r = rng.uniform(-np.pi, np.pi, 50), rng.uniform(-20, 14, 50), rng.uniform(18.5, 24, 50)
# Longer than two of the module's chunks of 8192 points, so that continuity crosses chunk boundaries;
# the last two on the axis.
xyz = np.vstack([rng.uniform(-50, 50, (17998, 3)), [[1.0, -2.0, 0.5], [2.0, 0.0, 3.5]]])
INPUTS = {"xyz": xyz, "art": np.column_stack([z, r, rng.uniform(-400, 400, 50)]),
          "pass": np.column_stack([z, r, t])}
INPUTS = {f"in_{k}{b}": v.astype(d) for k, v in INPUTS.items() for b, d in (("32", np.float32), ("64", float))}
INPUTS["in_turbo32"] = np.column_stack([r * np.cos(t), r * np.sin(t), z]).astype(np.float32)


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
    out["axis_values"] = np.concatenate([AXIS.get_axis_point(), AXIS.get_axis_dir(), AXIS.get_up_vector(),
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
    assert all(np.array_equal(kept[k], v) for k, v in INPUTS.items())  # inputs untouched
    assert sorted(cpp) == sorted(ours)
    return cpp, ours


@pytest.mark.parametrize("name", sorted(module_results()))
def test_bits_equal_the_cpp_results(results, name):
    cpp, ours = results
    dtype = np.float64 if name in ("mts", "nmts", "mprime") or name.endswith("64") else np.float32
    assert ours[name].dtype == dtype and ours[name].tobytes() == cpp[name]


def test_any_memory_layout_gives_the_same_bits():
    x = INPUTS["in_xyz64"]
    assert AXIS.convert_art(x[::2]).tobytes() == AXIS.convert_art(x[::2].copy()).tobytes()
    assert AXIS.convert_art(np.asfortranarray(x)).tobytes() == AXIS.convert_art(x).tobytes()
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
