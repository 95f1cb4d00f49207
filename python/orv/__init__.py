"""Geometry tools for turbomachinery over numpy arrays (libORVRWGeometryTools).

RotationAxis: points <-> (axial, radial, theta) about any axis, rotations, matrices.
TurboTransform: the passage model from hub and shroud curves.
ThetaTurboTransform: points <-> (meridional, theta, span) in MTS, NMTS and m'; normalised deltas
between points and their application; projection of points onto a span.
triangle_measures: edge lengths, perimeter, area, in-radius, in-centre and the angles at B and C
of an (M, 3, 3) array of triangles.

Failures of the library raise Error (base), InternalError, DataError or DataInvalid (a DataError),
with the attributes class_label, operation_label, message and error_type; wrong arrays raise
TypeError or ValueError. Every call releases the interpreter lock while the library works. The
objects cannot be changed; they pickle, copy and compare by the values they were built from, so
that process pools and dask.distributed workers convert with the same bits.
"""
from typing import NamedTuple

import numpy as np
import numpy.typing as npt

from ._core import (
    DataError,
    DataInvalid,
    Error,
    InternalError,
    RotationAxis,
    ThetaTurboTransform,
    TurboTransform,
    __version__,
)
from ._core import triangle_measures as _triangle_measures

__all__ = [
    "DataError",
    "DataInvalid",
    "Error",
    "InternalError",
    "RotationAxis",
    "ThetaTurboTransform",
    "TriangleMeasures",
    "TurboTransform",
    "__version__",
    "triangle_measures",
]


class TriangleMeasures(NamedTuple):
    """The measures of M triangles, float64, each row the bits of the library's orv::Triangle.

    Edge a is opposite vertex A (from B to C), b opposite B, c opposite C; lengths in the unit of
    the points, angles in radians. Nothing is refused: degenerate triangles give zeros or NaN as
    the library does (see the C++ header orv/triangle/Triangle.h).
    """

    lengths: npt.NDArray[np.float64]
    """(M, 3): the edge lengths a, b, c."""
    perimeter: npt.NDArray[np.float64]
    """(M,): (a + b) + c."""
    area: npt.NDArray[np.float64]
    """(M,): Heron's area from the semi-perimeter s = perimeter * 0.5."""
    in_radius: npt.NDArray[np.float64]
    """(M,): area / (s + 2.2250738585072014e-308)."""
    in_center: npt.NDArray[np.float64]
    """(M, 3): the in-centre, the vertices weighted by the opposite edges' lengths."""
    angles_bc: npt.NDArray[np.float64]
    """(M, 2): the interior angles at B and at C (law of cosines, not clamped: NaN outside)."""


def triangle_measures(
    triangles: npt.NDArray[np.float64] | npt.NDArray[np.float32],
) -> TriangleMeasures:
    """The measures of an (M, 3, 3) array of triangles (triangle, vertex A/B/C, x/y/z).

    float64, or float32 widened exactly (the library's float form); any memory layout. Other
    dtypes or shapes raise TypeError or ValueError; the array is never changed.
    """
    return TriangleMeasures(*_triangle_measures(triangles))
