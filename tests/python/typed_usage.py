"""Calls of the package as a typed host writes them; test_package.py runs mypy --strict on it (the
stub must accept every line) and on the lines marked "error", each of which mypy must refuse."""
import numpy as np
import numpy.typing as npt

import orv

axis = orv.RotationAxis((0.0, 0.0, 0.0), [0.0, 0.0, 1.0], 10.0, up=np.array([1.0, 0.0, 0.0]))
points: npt.NDArray[np.float64] = np.zeros((4, 3))
art: npt.NDArray[np.float64] = axis.convert_art(points)
art32: npt.NDArray[np.float32] = axis.convert_art(points.astype(np.float32))
directions: tuple[npt.NDArray[np.float64], ...] = axis.convert_art_with_directions(points)
matrix: npt.NDArray[np.float32] = axis.get_rotation_matrix(15.0)
given: tuple[float, float, float] = axis.direction
passage = orv.TurboTransform(np.zeros((2, 2), np.float32), np.ones((2, 2), np.float32))
transform = orv.ThetaTurboTransform(-180.0, axis)
nmts: npt.NDArray[np.float64] = transform.convert_xyz_to_nmts(points.astype(np.float32), passage)
back: npt.NDArray[np.float32] = transform.convert_nmts_to_xyz(nmts, passage)
deltas: npt.NDArray[np.float64] = transform.calc_normalized_deltas(back, back, passage)
moved: npt.NDArray[np.float32] = transform.apply_normalized_deltas(back, deltas, passage)
span64: npt.NDArray[np.float64] = transform.project_point_to_span(points, 0.5, 3, passage, 0)
measures: orv.TriangleMeasures = orv.triangle_measures(np.zeros((1, 3, 3)))
area: npt.NDArray[np.float64] = measures.area
same: bool = axis == transform.axis and transform.get_break_angle() == transform.break_angle_deg
try:
    axis.convert_art(points)
except orv.DataInvalid as e:
    label: str = e.class_label + e.operation_label + e.message
wrong32: npt.NDArray[np.float32] = axis.convert_art(points)  # error: float64 in, float64 out
wrong64: npt.NDArray[np.float32] = transform.convert_xyz_to_nmts(back, passage)  # error: float64 out
axis.convert_art([[0.0, 0.0, 0.0]])  # error: a list is not an array
orv.ThetaTurboTransform(-180.0, passage)  # error: the transform takes an axis
axis.period_deg = 5.0  # error: read-only
