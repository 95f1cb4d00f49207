"""Shared by the Python tests: the data, the C++ reference program (reference.cpp), the test's
axis, passage and transform, and hypothesis's settings (no example database in the source tree,
examples fixed from run to run)."""
import os
import subprocess
import tempfile

import numpy as np
from hypothesis import HealthCheck, settings

import orv

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
DATA = os.environ.get("ORV_ROTOR37_DIR", os.path.join(ROOT, "data", "rotor37"))
REFERENCE = os.environ.get("ORV_PY_REFERENCE", "orv_py_reference")
if os.sep in REFERENCE:
    REFERENCE = os.path.abspath(REFERENCE)
WORK = os.path.abspath(os.environ.get("ORV_PY_WORK", tempfile.gettempdir()))  # mypy's cache

settings.register_profile("orv", database=None, deadline=None, derandomize=True, max_examples=40,
                          suppress_health_check=[HealthCheck.too_slow, HealthCheck.data_too_large])
settings.load_profile("orv")

AXIS = orv.RotationAxis((1.0, -2.0, 0.5), (1.0, 2.0, 3.0), 72.0, (0.0, 0.0, 1.0))
ROTOR37_AXIS = orv.RotationAxis((0, 0, 0), (0, 0, 1), 10.0, (1, 0, 0))


def wall(name):
    return np.loadtxt(f"{DATA}/{name}.csv", delimiter=",", skiprows=1).astype(np.float32)


PASSAGE = orv.TurboTransform(wall("hub"), wall("shroud"))


def reference_point(op, arrays, *numbers):
    """The C++ single-point calls of `op` (reference.cpp, point mode) on the raw rows of arrays:
    ("out", bytes) or ("refused", the exception's description)."""
    with tempfile.TemporaryDirectory() as folder:
        for name, array in zip("ab", arrays):
            np.ascontiguousarray(array).tofile(os.path.join(folder, f"{name}.bin"))
        subprocess.run([REFERENCE, "point", op, folder, DATA, *(repr(float(x)) for x in numbers)],
                       check=True)
        refused = os.path.join(folder, "refused.txt")
        if os.path.exists(refused):
            with open(refused, encoding="utf-8") as text:
                return "refused", text.read()
        with open(os.path.join(folder, "out.bin"), "rb") as out:
            return "out", out.read()
