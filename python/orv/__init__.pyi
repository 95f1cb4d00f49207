# Types of the package orv. Points and records are arrays of shape (N, 3); a function that takes
# both float32 and float64 returns its results in the dtype it was given, unless its overloads say
# otherwise. Angles: RotationAxis in degrees (except the *_rad forms), ThetaTurboTransform in
# radians (its break angle in degrees).
from typing import Any, Final, NamedTuple, Sequence, TypeVar

import numpy as np
import numpy.typing as npt

_F32 = npt.NDArray[np.float32]
_F64 = npt.NDArray[np.float64]
# The two dtypes of the functions that keep the dtype of their argument.
_F = TypeVar("_F", np.float32, np.float64)
_Vec3 = tuple[float, float, float]
# Three numbers: a tuple, a list or an array of shape (3,).
_Point3 = Sequence[float] | npt.NDArray[np.floating[Any]]

__version__: str

class Error(Exception):
    """A refusal of the library."""
    class_label: str
    operation_label: str
    message: str
    error_type: int

class InternalError(Error): ...
class DataError(Error): ...
class DataInvalid(DataError): ...

class RotationAxis:
    """The rotation axis of a turbomachine; lengths in any unit, angles in degrees."""
    def __init__(
        self,
        point: _Point3,
        direction: _Point3,
        period_deg: float,
        up: _Point3 | None = None,
    ) -> None: ...
    @property
    def point(self) -> _Vec3:
        """The axis point as given (float64)."""
    @property
    def direction(self) -> _Vec3:
        """The direction as given (float64), before normalisation."""
    @property
    def period_deg(self) -> float:
        """The period angle in degrees."""
    @property
    def up(self) -> _Vec3:
        """The up vector as given (float64; (0, 0, 0) for None)."""
    def get_angle(self) -> float:
        """The period angle in degrees."""
    def get_axis_point(self) -> _F64:
        """The stored axis point, float64 (3,)."""
    def get_axis_dir(self) -> _F32:
        """The unit direction rounded to float32, (3,)."""
    def get_up_vector(self) -> _F32:
        """The unit up vector rounded to float32, (3,)."""
    def __copy__(self) -> RotationAxis: ...
    def __deepcopy__(self, memo: Any) -> RotationAxis: ...
    def __eq__(self, other: object) -> bool: ...
    def __hash__(self) -> int: ...
    def __reduce__(self) -> tuple[Any, tuple[Any, ...]]: ...
    def convert_art(self, points: npt.NDArray[_F]) -> npt.NDArray[_F]:
        """Points to (a, r, theta in degrees), theta continuous along the array."""
    def convert_art_set_hemisphere(self, points: npt.NDArray[_F], reference_deg: float) -> npt.NDArray[_F]:
        """(a, r, theta in degrees), the first theta within half a turn of reference_deg."""
    def convert_art_set_hemisphere_rad(self, points: _F32, reference_rad: float) -> _F32:
        """float32 points to (a, r, theta in radians), the first theta near reference_rad."""
    def convert_ar(self, points: npt.NDArray[_F], theta_deg: float) -> npt.NDArray[_F]:
        """(a, r, theta_deg): a and r of the points, theta set (degrees)."""
    def convert_art_with_directions(self, points: npt.NDArray[_F]) -> tuple[npt.NDArray[_F], npt.NDArray[_F], npt.NDArray[_F], npt.NDArray[_F]]:
        """(art, axial, radial, theta_dir) of the points, theta in degrees, no continuity."""
    def convert_xyz(self, art: npt.NDArray[_F]) -> npt.NDArray[_F]:
        """(a, r, theta in degrees) back to points."""
    def convert_xyz_theta_rad(self, art: npt.NDArray[_F]) -> npt.NDArray[_F]:
        """(a, r, theta in radians) back to points."""
    def rotate_by_angle(self, points: npt.NDArray[_F], angle_deg: float) -> npt.NDArray[_F]:
        """The points rotated about the axis by angle_deg degrees, as a new array."""
    def rotate_by_period(self, points: npt.NDArray[_F], periods: float) -> npt.NDArray[_F]:
        """The points rotated by a number of periods, as a new array."""
    def project_to_theta(self, points: npt.NDArray[_F], theta_deg: float) -> npt.NDArray[_F]:
        """The points moved to theta_deg degrees, keeping a and r, as a new array."""
    def get_rotation_matrix(self, angle_deg: float) -> _F32:
        """The float32 (4, 4) matrix of the rotation by angle_deg degrees."""
    def get_period_rotation_matrix(self, forward: bool = True) -> _F32:
        """The float32 (4, 4) matrix of one period forwards or backwards."""

class TurboTransform:
    """The passage model from float32 (K, 2) hub and shroud curves (axial, radial)."""
    SPACE_MTS: Final[int]
    SPACE_NMTS: Final[int]
    SPACE_M_PRIME: Final[int]
    def __init__(self, hub: _F32, shroud: _F32) -> None: ...
    @property
    def hub(self) -> _F32:
        """A copy of the hub curve, float32 (K, 2)."""
    @property
    def shroud(self) -> _F32:
        """A copy of the shroud curve, float32 (K, 2)."""
    def __copy__(self) -> TurboTransform: ...
    def __deepcopy__(self, memo: Any) -> TurboTransform: ...
    def __eq__(self, other: object) -> bool: ...
    def __hash__(self) -> int: ...
    def __reduce__(self) -> tuple[Any, tuple[Any, ...]]: ...
    def convert_art_to_space_tns(self, space: int, art: npt.NDArray[_F]) -> npt.NDArray[_F]:
        """(axial, radial, theta) to (meridional, theta, span) in the space."""
    def convert_space_tns_to_art(self, space: int, tns: _F32) -> _F32:
        """float32 (meridional, theta, span) back to (axial, radial, theta)."""

class ThetaTurboTransform:
    """XYZ float32 points <-> float64 (meridional, theta in radians, span) of a passage."""
    WALL_ENDS_CLAMPED: Final[int]
    WALL_ENDS_EXTENDED: Final[int]
    GENERAL_SINGLE: Final[int]
    def __init__(self, break_angle_deg: float, axis: RotationAxis) -> None: ...
    @property
    def break_angle_deg(self) -> float:
        """The break angle in degrees."""
    @property
    def axis(self) -> RotationAxis:
        """A copy of the rotation axis."""
    def get_break_angle(self) -> float:
        """The break angle in degrees."""
    def get_rotation_axis(self) -> RotationAxis:
        """A copy of the rotation axis."""
    def __copy__(self) -> ThetaTurboTransform: ...
    def __deepcopy__(self, memo: Any) -> ThetaTurboTransform: ...
    def __eq__(self, other: object) -> bool: ...
    def __hash__(self) -> int: ...
    def __reduce__(self) -> tuple[Any, tuple[Any, ...]]: ...
    def convert_xyz_to_space(self, space: int, xyz: _F32, passage: TurboTransform) -> _F64:
        """float32 points to float64 (meridional, theta in radians, span) of the space."""
    def convert_space_to_xyz(self, space: int, tns: _F64, passage: TurboTransform) -> _F32:
        """float64 (meridional, theta in radians, span) of the space to float32 points."""
    def convert_xyz_to_mts(self, xyz: _F32, passage: TurboTransform) -> _F64:
        """float32 points to float64 (m, theta in radians, span), m an arc length."""
    def convert_xyz_to_nmts(self, xyz: _F32, passage: TurboTransform) -> _F64:
        """float32 points to float64 (m, theta in radians, span), m normalised to [0, 1]."""
    def convert_mts_to_xyz(self, mts: _F64, passage: TurboTransform) -> _F32:
        """float64 MTS back to float32 points."""
    def convert_nmts_to_xyz(self, nmts: _F64, passage: TurboTransform) -> _F32:
        """float64 NMTS back to float32 points."""
    def convert_xyz_to_art(self, xyz: _F32) -> _F64:
        """float32 points to float64 (a, r, theta in radians wrapped at the break angle)."""
    def convert_xyz_to_art_set_hemisphere(self, xyz: _F32, reference_rad: float) -> _F64:
        """float32 points to float64 (a, r, theta in radians near reference_rad)."""
    def convert_art_to_xyz(self, art: _F64) -> _F32:
        """float64 (a, r, theta in radians) to float32 points."""
    def calc_normalized_deltas(
        self, from_points: _F32, to_points: _F32, passage: TurboTransform
    ) -> _F64:
        """float64 (dm, dt, ds) from each point of from_points to the same row of to_points."""
    def apply_normalized_deltas(self, points: _F32, deltas: _F64, passage: TurboTransform) -> _F32:
        """The float32 points moved by the float64 deltas (dm, dt, ds), row by row."""
    def project_point_to_span(
        self,
        points: npt.NDArray[_F],
        span: float,
        space: int,
        passage: TurboTransform,
        projection_type: int | None = None,
    ) -> npt.NDArray[_F]:
        """The points moved to the span, keeping their meridional coordinate and theta; float64
        points need a projection_type, float32 points take none."""

class TriangleMeasures(NamedTuple):
    """The measures of M triangles, float64."""
    lengths: _F64
    perimeter: _F64
    area: _F64
    in_radius: _F64
    in_center: _F64
    angles_bc: _F64

def triangle_measures(triangles: _F64 | _F32) -> TriangleMeasures:
    """Edge lengths, perimeter, area, in-radius, in-centre and angles at B and C, (M, 3, 3)."""
