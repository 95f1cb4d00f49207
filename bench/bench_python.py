"""Speed of the Python module orv on 10^6 points, against the library's C++ list call on the same
points and against the plain numpy computation of the same general-axis conversion.

    cmake --preset release && cmake --build --preset release
    PYTHONPATH=build/release/python /usr/bin/python3 bench/bench_python.py build/release/python/orv_list_timer

The C++ figures come from orv_list_timer (python/list_timer.cpp), a C++ program without Python that
reads the same points from a file and times the same library call: into a new output list reserved
as the module reserves the lists it returns ("new list", like for like: the module's only extra is
the copy of the input array into the library's list), and into one output list reused from call to
call ("reused", a host's best case). Every figure is the best of ROUNDS x REPEATS calls in
milliseconds, the C++ and the Python calls taking turns round by round, so that a machine shared
with other work slows both alike.
"""
import os
import subprocess
import sys
import tempfile
import time

import numpy as np

import orv

ROUNDS, REPEATS = 3, 5
N = 1_000_000
HERE = os.path.dirname(os.path.abspath(__file__))
DATA = os.path.join(HERE, "..", "data", "rotor37")
POINT, DIRECTION, PERIOD, UP = (1.0, -2.0, 3.0), (0.3, -0.2, 1.0), 30.0, (1.0, 0.0, 0.0)  # as orv_list_timer's


def best(call):
    times = []
    for _ in range(REPEATS):
        start = time.perf_counter()
        result = call()
        times.append(time.perf_counter() - start)
        del result
    return 1e3 * min(times)


def cpp(timer, op, points):
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "points.bin")
        np.ascontiguousarray(points).tofile(path)
        out = subprocess.run([timer, op, path, str(REPEATS), DATA], check=True, capture_output=True, text=True)
    return [1e3 * float(t) for t in out.stdout.split()]


def numpy_art(points):
    """(a, r, theta in degrees, continuous) about the general axis, in plain numpy (float64)."""
    d = np.array(DIRECTION) / np.linalg.norm(DIRECTION)
    u = np.array(UP) - np.dot(UP, d) * d
    u /= np.linalg.norm(u)
    c = np.cross(d, u)
    v = points - np.array(POINT)
    a, x, y = v @ d, v @ u, v @ c  # the radial vector lies in the plane of u and c
    return np.column_stack([a, np.hypot(x, y), np.unwrap(np.degrees(np.arctan2(y, x)), period=360.0)])


def rotor37_mesh(transform, passage):
    """10^6 points filling one blade pitch of Rotor 37's passage (100 x 100 x 100 in NMTS)."""
    g = np.arange(100) / 99.0
    m, s, t = np.meshgrid(g, g, (g - 0.5) * np.radians(10.0), indexing="ij")
    nmts = np.column_stack([m.ravel(), t.ravel(), s.ravel()])
    return nmts, transform.convert_nmts_to_xyz(nmts, passage)


def main(timer):
    rng = np.random.default_rng(12345)
    p64 = rng.uniform(-100.0, 100.0, (N, 3))
    p32 = p64.astype(np.float32)
    axis = orv.RotationAxis(POINT, DIRECTION, PERIOD, UP)
    wall = lambda name: np.loadtxt(f"{DATA}/{name}.csv", delimiter=",", skiprows=1).astype(np.float32)
    passage = orv.TurboTransform(wall("hub"), wall("shroud"))
    transform = orv.ThetaTurboTransform(-180.0, orv.RotationAxis((0, 0, 0), (0, 0, 1), 10.0, (1, 0, 0)))
    nmts, xyz = rotor37_mesh(transform, passage)

    rows = [
        ("RotationAxis.convert_art, float64", "art64", p64, lambda: axis.convert_art(p64)),
        ("RotationAxis.convert_art, float32", "art32", p32, lambda: axis.convert_art(p32)),
        ("ThetaTurboTransform.convert_xyz_to_nmts, Rotor 37", "nmts", xyz,
         lambda: transform.convert_xyz_to_nmts(xyz, passage)),
        ("ThetaTurboTransform.convert_nmts_to_xyz, Rotor 37", "nmts_to_xyz", nmts,
         lambda: transform.convert_nmts_to_xyz(nmts, passage)),
    ]
    print(f"{N} points, best of {ROUNDS * REPEATS} calls (ms)")
    print(f"{'call':50} {'C++ new list':>12} {'reused':>7} {'Python':>7} {'ratios':>11}")
    for name, op, points, call in rows:
        c, p = zip(*[(cpp(timer, op, points), best(call)) for _ in range(ROUNDS)])
        fresh, reused, p = min(f for f, _ in c), min(r for _, r in c), min(p)
        print(f"{name:50} {fresh:12.1f} {reused:7.1f} {p:7.1f} {p / fresh:5.2f} {p / reused:5.2f}")
    ours, plain = zip(*[(best(lambda: axis.convert_art(p64)), best(lambda: numpy_art(p64))) for _ in range(ROUNDS)])
    ours, plain = min(ours), min(plain)
    worst = np.abs(numpy_art(p64) - axis.convert_art(p64)).max()
    print(f"plain numpy (arctan2, hypot, unwrap), float64: {plain:.1f} ms, {plain / ours:.1f} times the "
          f"module's convert_art ({ours:.1f} ms); largest difference {worst:.1e}")


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "build/release/python/orv_list_timer")
