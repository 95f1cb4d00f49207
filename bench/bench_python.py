"""Speed of the Python package orv on 10^6 points: against the library's C++ calls on the same points,
and against what a user would otherwise write or install, with the agreement of each peer.

    cmake --preset release && cmake --build --preset release
    PYTHONPATH=build/release/python /usr/bin/python3 bench/bench_python.py build/release/python/orv_list_timer

1. The package against C++. orv_list_timer (python/list_timer.cpp) times the same library calls on
   the same points without Python: into a new output list reserved as the module reserves the lists
   it returns ("new list", like for like), and into one list reused from call to call ("reused", a
   host's best case). The C++ program and the Python call take turns round by round.
2. Peers, timed in one loop of interleaved repetitions (each round runs every entry once, in turn, so
   that other work on the machine slows all alike): for (a, r, theta) about the z axis and about a
   skew axis, numpy (hypot, arctan2, with and without unwrap), VTK's vtkCylindricalTransform
   (python3-vtk9; its inverse, composed with a vtkTransform into the skew axis's frame for the skew
   axis, giving (r, theta in radians, z) as VTK keeps them, double precision, into a new vtkPoints
   on every call or into one reused from call to call); for rotations, scipy's Rotation.apply
   (python3-scipy). A peer that is not installed is
   left out with a line that says so. Agreement: the largest difference from orv, in the unit of the
   coordinates (theta in degrees, compared modulo 360 where the peer has no continuity).

Figures are the median and the best of the rounds, in milliseconds and nanoseconds per point; the
ratios are of the best times, the figure least moved by other work on a shared machine.
Without the argument only the peers are timed.
"""
import os
import statistics
import subprocess
import sys
import tempfile
import time

import numpy as np

import orv

ROUNDS, REPEATS = 9, 5
N = 1_000_000
HERE = os.path.dirname(os.path.abspath(__file__))
DATA = os.path.join(HERE, "..", "data", "rotor37")
POINT, DIRECTION, PERIOD, UP = (1.0, -2.0, 3.0), (0.3, -0.2, 1.0), 30.0, (1.0, 0.0, 0.0)  # as orv_list_timer's
ANGLE = 25.0  # degrees, the rotations


def once(call):
    start = time.perf_counter()
    result = call()
    seconds = time.perf_counter() - start
    del result
    return seconds


def best(call):
    return 1e3 * min(once(call) for _ in range(REPEATS))


def cpp(timer, op, points):
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "points.bin")
        np.ascontiguousarray(points).tofile(path)
        out = subprocess.run([timer, op, path, str(REPEATS), DATA], check=True, capture_output=True, text=True)
    return [1e3 * float(t) for t in out.stdout.split()]


def frame(direction, up):
    """The unit direction d, the unit up vector u perpendicular to it and c = d x u (theta 90)."""
    d = np.array(direction) / np.linalg.norm(direction)
    u = np.array(up) - np.dot(up, d) * d
    u /= np.linalg.norm(u)
    return d, u, np.cross(d, u)


def numpy_art(points, point, direction, up, unwrap):
    """(a, r, theta in degrees) about the axis in plain numpy (float64), theta continuous with unwrap."""
    d, u, c = frame(direction, up)
    v = points - np.array(point)
    a, x, y = v @ d, v @ u, v @ c  # the radial vector lies in the plane of u and c
    theta = np.degrees(np.arctan2(y, x))
    return np.column_stack([a, np.hypot(x, y), np.unwrap(theta, period=360.0) if unwrap else theta])


def numpy_z(points, unwrap):
    """The same about the z axis (up x): hypot and arctan2 of x and y."""
    x, y = points[:, 0], points[:, 1]
    theta = np.degrees(np.arctan2(y, x))
    return np.column_stack([points[:, 2], np.hypot(x, y), np.unwrap(theta, period=360.0) if unwrap else theta])


def vtk_peers(points, skew_point, direction, up):
    """VTK's cylindrical transform (r, theta in radians, z) of the points about z and about the skew
    axis, into a new vtkPoints per call or into one kept from call to call: calls by (axis, reuse),
    or None where VTK is not installed."""
    try:
        from vtkmodules.util import numpy_support
        from vtkmodules.vtkCommonCore import vtkPoints
        from vtkmodules.vtkCommonTransforms import vtkCylindricalTransform, vtkGeneralTransform, vtkTransform
    except ImportError:
        return None
    source = vtkPoints()
    source.SetData(numpy_support.numpy_to_vtk(points, deep=False))
    inverse = vtkCylindricalTransform().GetInverse()  # rectangular -> (r, theta, z)
    d, u, c = frame(direction, up)
    rows = np.array([u, c, d])
    matrix = np.eye(4)
    matrix[:3, :3], matrix[:3, 3] = rows, -rows @ np.array(skew_point)
    into_frame = vtkTransform()
    into_frame.SetMatrix(matrix.ravel().tolist())
    skew = vtkGeneralTransform()
    skew.PostMultiply()
    skew.Concatenate(into_frame)
    skew.Concatenate(inverse)

    kept = {}

    def run(transform, reuse):  # the (N, 3) array (r, theta in radians, z), a view of VTK's points
        out = kept.get(id(transform)) if reuse else None
        if out is None:
            out = vtkPoints()
            out.SetDataTypeToDouble()  # (vtkPoints hold float32 unless told)
            out.Allocate(len(points))  # room for every point at once
            if reuse:
                kept[id(transform)] = out
        out.Reset()  # (keeps the memory)
        transform.TransformPoints(source, out)
        return numpy_support.vtk_to_numpy(out.GetData())

    return {(axis, reuse): (lambda t=t, r=reuse: run(t, r)) for axis, t in (("z", inverse), ("skew", skew))
            for reuse in (False, True)}


def vtk_as_art(rtz):
    """VTK's (r, theta in radians, z) as (a, r, theta in degrees), for the agreement only."""
    return np.column_stack([rtz[:, 2], rtz[:, 0], np.degrees(rtz[:, 1])])


def scipy_rotation(points, point, direction, angle):
    try:
        from scipy.spatial.transform import Rotation
    except ImportError:
        return None
    d = np.array(direction) / np.linalg.norm(direction)
    rotation = Rotation.from_rotvec(np.radians(angle) * d)
    p = np.array(point)
    return lambda: rotation.apply(points - p) + p


def agreement(ours, theirs, periodic):
    """Largest difference of (a, r) and of theta (modulo 360 where periodic), or of points."""
    if ours.shape[1] == 3 and periodic is not None:
        dt = np.abs(ours[:, 2] - theirs[:, 2])
        if periodic:
            dt = np.minimum(dt % 360.0, 360.0 - dt % 360.0)
        return max(np.abs(ours[:, :2] - theirs[:, :2]).max(), dt.max())
    return np.abs(ours - theirs).max()


def interleaved(entries):
    """Every entry's call once per round, in turn, for ROUNDS rounds, each round starting one entry
    further on (no entry always first): {name: [seconds]}."""
    times = {name: [] for name, _, _ in entries}
    for r in range(ROUNDS):
        for name, call, _ in entries[r % len(entries):] + entries[: r % len(entries)]:
            times[name].append(once(call))
    return times


def rotor37_mesh(transform, passage):
    """10^6 points filling one blade pitch of Rotor 37's passage (100 x 100 x 100 in NMTS)."""
    g = np.arange(100) / 99.0
    m, s, t = np.meshgrid(g, g, (g - 0.5) * np.radians(10.0), indexing="ij")
    nmts = np.column_stack([m.ravel(), t.ravel(), s.ravel()])
    return nmts, transform.convert_nmts_to_xyz(nmts, passage)


def against_cpp(timer, axis, passage, transform, p64, p32):
    nmts, xyz = rotor37_mesh(transform, passage)
    moved = axis.rotate_by_angle(xyz, 3.0)  # deltas from each mesh point to a rotated neighbour
    xyz64 = xyz.astype(np.float64)
    triangles = p64[: (N // 3) * 3].reshape(-1, 3, 3)
    rows = [
        ("RotationAxis.convert_art, float64", "art64", p64, lambda: axis.convert_art(p64)),
        ("RotationAxis.convert_art, float32", "art32", p32, lambda: axis.convert_art(p32)),
        ("ThetaTurboTransform.convert_xyz_to_nmts, Rotor 37", "nmts", xyz,
         lambda: transform.convert_xyz_to_nmts(xyz, passage)),
        ("ThetaTurboTransform.convert_nmts_to_xyz, Rotor 37", "nmts_to_xyz", nmts,
         lambda: transform.convert_nmts_to_xyz(nmts, passage)),
        ("ThetaTurboTransform.calc_normalized_deltas, Rotor 37", "deltas", np.vstack([xyz, moved]),
         lambda: transform.calc_normalized_deltas(xyz, moved, passage)),
        ("ThetaTurboTransform.project_point_to_span, float64", "span64", xyz64,
         lambda: transform.project_point_to_span(xyz64, 0.5, 3, passage, 0)),
        (f"triangle_measures, {len(triangles)} triangles", "triangles", p64[: 3 * len(triangles)],
         lambda: orv.triangle_measures(triangles)),
    ]
    print(f"1. The package against the library's C++ calls: {N} points, best of {ROUNDS * REPEATS} calls (ms)")
    print(f"| call | C++, new list | C++, reused | Python | Python / new | Python / reused |")
    print("|---|---|---|---|---|---|")
    for name, op, points, call in rows:
        c, p = zip(*[(cpp(timer, op, points), best(call)) for _ in range(ROUNDS)])
        fresh, reused, p = min(f for f, _ in c), min(r for _, r in c), min(p)
        print(f"| `{name}` | {fresh:.1f} | {reused:.1f} | {p:.1f} | {p / fresh:.2f} | {p / reused:.2f} |")


def against_peers(p64):
    z_axis = orv.RotationAxis((0, 0, 0), (0, 0, 1), PERIOD, (1, 0, 0))
    skew = orv.RotationAxis(POINT, DIRECTION, PERIOD, UP)
    entries = [
        ("orv convert_art, z axis", lambda: z_axis.convert_art(p64), None),
        ("numpy hypot + arctan2, z axis", lambda: numpy_z(p64, False), ("z", True)),
        ("numpy hypot + arctan2 + unwrap, z axis", lambda: numpy_z(p64, True), ("z", False)),
        ("orv convert_art, skew axis", lambda: skew.convert_art(p64), None),
        ("numpy dot + hypot + arctan2, skew axis", lambda: numpy_art(p64, POINT, DIRECTION, UP, False), ("skew", True)),
        ("numpy dot + hypot + arctan2 + unwrap, skew axis", lambda: numpy_art(p64, POINT, DIRECTION, UP, True),
         ("skew", False)),
    ]
    vtk = vtk_peers(p64, POINT, DIRECTION, UP)
    if vtk:
        entries[3:3] = [(f"VTK vtkCylindricalTransform, z axis, {how}", vtk["z", reuse], ("z", True, vtk_as_art))
                        for how, reuse in (("new vtkPoints", False), ("vtkPoints reused", True))]
        entries += [(f"VTK vtkTransform + vtkCylindricalTransform, skew axis, {how}", vtk["skew", reuse],
                     ("skew", True, vtk_as_art)) for how, reuse in (("new vtkPoints", False), ("vtkPoints reused", True))]
    entries.append(("orv rotate_by_angle, skew axis", lambda: skew.rotate_by_angle(p64, ANGLE), None))
    rotate = scipy_rotation(p64, POINT, DIRECTION, ANGLE)
    if rotate:
        entries.append(("scipy Rotation.apply, skew axis", rotate, ("rotate", None)))
    times = interleaved(entries)
    ours = {"z": z_axis.convert_art(p64), "skew": skew.convert_art(p64), "rotate": skew.rotate_by_angle(p64, ANGLE)}
    reference = {"z": times[entries[0][0]], "skew": times["orv convert_art, skew axis"],
                 "rotate": times["orv rotate_by_angle, skew axis"]}
    print(f"\n2. Peers: {N} float64 points, {ROUNDS} interleaved rounds (median and best; ratios of the best)")
    print("| call | median ms | best ms | ns per point (best) | time / orv's | largest difference from orv |")
    print("|---|---|---|---|---|---|")
    for name, call, compare in entries:
        t = times[name]
        median, fastest = 1e3 * statistics.median(t), 1e3 * min(t)
        if compare is None:
            ratio, diff = "1", "-"
        else:
            kind, periodic, *as_art = compare
            ratio = f"{min(t) / min(reference[kind]):.2f}"
            theirs = as_art[0](call()) if as_art else call()
            diff = f"{agreement(ours[kind], theirs, periodic):.1e}"
        print(f"| {name} | {median:.1f} | {fastest:.1f} | {1e6 * fastest / N:.1f} | {ratio} | {diff} |")
    if not vtk:
        print("VTK (python3-vtk9) not installed: its rows left out")
    if not rotate:
        print("scipy (python3-scipy) not installed: its row left out")


def main(timer):
    rng = np.random.default_rng(12345)
    p64 = rng.uniform(-100.0, 100.0, (N, 3))
    p32 = p64.astype(np.float32)
    axis = orv.RotationAxis(POINT, DIRECTION, PERIOD, UP)
    wall = lambda name: np.loadtxt(f"{DATA}/{name}.csv", delimiter=",", skiprows=1).astype(np.float32)
    passage = orv.TurboTransform(wall("hub"), wall("shroud"))
    transform = orv.ThetaTurboTransform(-180.0, orv.RotationAxis((0, 0, 0), (0, 0, 1), 10.0, (1, 0, 0)))
    if timer:
        against_cpp(timer, axis, passage, transform, p64, p32)
    against_peers(p64)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else None)
