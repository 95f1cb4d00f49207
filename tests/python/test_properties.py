"""Properties over generated arrays (hypothesis): NaN, infinities, huge and subnormal values, signed
zeros, repeated rows, empty arrays and every memory layout (strided, reversed, Fortran order,
transposed, unaligned, broadcast rows). Each result equals, bit for bit, the library's single-point
calls on the same rows (reference.cpp, point mode), or the call is refused with the library's
exception where those calls refuse; input arrays are never changed. Arrays of other dtypes and
shapes are refused with TypeError or ValueError naming what was expected."""
import numpy as np
import pytest
from conftest import AXIS, PASSAGE, ROTOR37_AXIS, reference_point
from hypothesis import given
from hypothesis import strategies as st

import orv

SPECIAL = [0.0, -0.0, np.nan, np.inf, -np.inf, 1e300, -1e300, 3e38, 1.7976931348623157e308, 5e-324, 1e-310,
           1.4e-45, 1e-40, 180.0, -180.0, 540.0]


with np.errstate(over="ignore"):
    SPECIAL_AT = {d: [float(d(v)) for v in SPECIAL] for d in (np.float32, np.float64)}
# A NaN result's sign and payload are not promised: which of two NaN operands an addition or a
# multiplication hands on is the processor's rule and depends on the operand order that each path
# (single point, list, SSE2, AVX2) was compiled with, so a list can give a NaN another sign than
# the single-point call (rotate_by_angle with a NaN angle on the SSE2 path; a row (0, nan, 1e307)
# of convert_xyz, whose theta overflows to infinity in radians). NaNs are compared as NaN, every
# other value bit for bit.


def values(dtype, low, high):
    width = 32 if dtype == np.float32 else 64
    return st.one_of(st.floats(low, high, width=width), st.floats(width=width), st.sampled_from(SPECIAL_AT[dtype]))


@st.composite
def arrays(draw, dtype, columns, low=-100.0, high=100.0, shape=None):
    """An (N, columns) array (or of the given shape) of dtype, with some rows repeated."""
    n = draw(st.integers(0, 12))
    shape = (n, columns) if shape is None else (n, *shape)
    flat = draw(st.lists(values(dtype, low, high), min_size=int(np.prod(shape)), max_size=int(np.prod(shape))))
    a = np.array(flat, dtype=dtype).reshape(shape)
    if n > 1 and draw(st.booleans()):
        a = a[draw(st.lists(st.integers(0, n - 1), min_size=n, max_size=n))]
    return draw(layouts(a))


@st.composite
def layouts(draw, a):
    """The values of a in one of the memory layouts an array can have."""
    kind = draw(st.sampled_from(["C", "F", "strided", "reversed", "transposed", "unaligned", "broadcast"]))
    if kind == "F":
        return np.asfortranarray(a)
    if kind == "strided":
        big = np.zeros((2 * a.shape[0], *a.shape[1:]), a.dtype)
        big[::2] = a
        return big[::2]
    if kind == "reversed":
        return a[::-1].copy()[::-1]
    if kind == "transposed":
        return np.ascontiguousarray(a.T).T
    if kind == "unaligned":
        raw = np.zeros(a.nbytes + 1, np.uint8)
        v = raw[1:].view(a.dtype).reshape(a.shape)
        v[...] = a
        return v
    if kind == "broadcast" and a.shape[0] > 0:
        return np.broadcast_to(a[:1], a.shape)
    return a


def check(call, op, inputs, *numbers, dtype):
    """call() against the C++ single-point calls of op on the same rows; the inputs unchanged."""
    kept = [np.array(a, copy=True).tobytes() for a in inputs]
    kind, cpp = reference_point(op, inputs, *numbers)
    if kind == "refused":
        with pytest.raises(orv.Error) as caught:
            call()
        assert str(caught.value) == cpp
    else:
        ours = call()
        assert ours.dtype == dtype and ours.flags.c_contiguous
        theirs = np.frombuffer(cpp, dtype).reshape(ours.shape)
        nan = np.isnan(ours) & np.isnan(theirs)
        ours, theirs = np.where(nan, np.nan, ours).astype(dtype), np.where(nan, np.nan, theirs).astype(dtype)
        assert ours.tobytes() == theirs.tobytes()
    assert [np.array(a, copy=True).tobytes() for a in inputs] == kept


ANGLES = st.one_of(st.floats(-720, 720), st.sampled_from([np.nan, np.inf, 0.0, -0.0, 1e300]))


@pytest.mark.parametrize("dtype, op", [(np.float32, "art32"), (np.float64, "art64")])
@given(data=st.data())
def test_convert_art(dtype, op, data):
    points = data.draw(arrays(dtype, 3))
    reference = data.draw(st.none() | ANGLES)
    if reference is None:
        check(lambda: AXIS.convert_art(points), op, [points], dtype=dtype)
    else:
        check(lambda: AXIS.convert_art_set_hemisphere(points, reference), op, [points], reference, dtype=dtype)


@pytest.mark.parametrize("dtype, op", [(np.float32, "xyz32"), (np.float64, "xyz64")])
@given(data=st.data())
def test_convert_xyz(dtype, op, data):
    art = data.draw(arrays(dtype, 3, -1000.0, 1000.0))
    check(lambda: AXIS.convert_xyz(art), op, [art], dtype=dtype)


@given(points=arrays(np.float64, 3), angle=ANGLES)
def test_rotate_by_angle(points, angle):
    check(lambda: AXIS.rotate_by_angle(points, angle), "rot64", [points], angle, dtype=np.float64)


BREAK = st.one_of(st.sampled_from([-180.0, -5.0, 0.0, 170.0]), st.floats(-600, 300), st.just(np.nan))
SPACE = st.sampled_from([0, 3, 4, 1])  # 1: no such space, refused
TURBO_POINT_RANGE = (-30.0, 30.0)  # about the size of Rotor 37 (radii 17.5 to 25.5, z -22.9 to 15.2)


@given(xyz=arrays(np.float32, 3, *TURBO_POINT_RANGE), beta=BREAK, space=SPACE)
def test_convert_xyz_to_space(xyz, beta, space):
    t = orv.ThetaTurboTransform(beta, ROTOR37_AXIS)
    check(lambda: t.convert_xyz_to_space(space, xyz, PASSAGE), "space", [xyz], beta, space, dtype=np.float64)


@given(tns=arrays(np.float64, 3, -2.0, 2.0), beta=BREAK, space=SPACE)
def test_convert_space_to_xyz(tns, beta, space):
    t = orv.ThetaTurboTransform(beta, ROTOR37_AXIS)
    check(lambda: t.convert_space_to_xyz(space, tns, PASSAGE), "space_xyz", [tns], beta, space, dtype=np.float32)


@given(data=st.data(), beta=BREAK)
def test_calc_normalized_deltas(data, beta):
    a = data.draw(arrays(np.float32, 3, *TURBO_POINT_RANGE))
    b = data.draw(layouts(np.array(data.draw(arrays(np.float32, 3, *TURBO_POINT_RANGE)))[: len(a)]))
    if len(b) < len(a):
        a = a[: len(b)]
    t = orv.ThetaTurboTransform(beta, ROTOR37_AXIS)
    check(lambda: t.calc_normalized_deltas(a, b, PASSAGE), "deltas", [a, b], beta, dtype=np.float64)


@given(data=st.data(), beta=BREAK)
def test_apply_normalized_deltas(data, beta):
    a = data.draw(arrays(np.float32, 3, *TURBO_POINT_RANGE))
    d = data.draw(layouts(np.array(data.draw(arrays(np.float64, 3, -1.0, 1.0)))[: len(a)]))
    a = a[: len(d)]
    t = orv.ThetaTurboTransform(beta, ROTOR37_AXIS)
    check(lambda: t.apply_normalized_deltas(a, d, PASSAGE), "apply", [a, d], beta, dtype=np.float32)


SPAN = st.one_of(st.floats(-0.5, 1.5), st.sampled_from([0.0, 1.0, np.nan]))


@given(points=arrays(np.float32, 3, *TURBO_POINT_RANGE), beta=BREAK, span=SPAN, space=SPACE)
def test_project_point_to_span_float32(points, beta, span, space):
    t = orv.ThetaTurboTransform(beta, ROTOR37_AXIS)
    check(lambda: t.project_point_to_span(points, span, space, PASSAGE), "span32", [points], beta, span, space,
          dtype=np.float32)


@given(points=arrays(np.float64, 3, *TURBO_POINT_RANGE), beta=BREAK, span=SPAN, space=SPACE,
       kind=st.sampled_from([0, 1, 2, -4, 99]))
def test_project_point_to_span_float64(points, beta, span, space, kind):
    t = orv.ThetaTurboTransform(beta, ROTOR37_AXIS)
    check(lambda: t.project_point_to_span(points, span, space, PASSAGE, kind), "span64", [points], beta, kind, span,
          space, dtype=np.float64)


@pytest.mark.parametrize("dtype, op", [(np.float32, "tri32"), (np.float64, "tri64")])
@given(data=st.data())
def test_triangle_measures(dtype, op, data):
    triangles = data.draw(arrays(dtype, None, -50.0, 50.0, shape=(3, 3)))
    kept = np.array(triangles, copy=True).tobytes()
    m = orv.triangle_measures(triangles)
    ours = np.column_stack([m.lengths, m.perimeter, m.area, m.in_radius, m.in_center, m.angles_bc])
    assert np.array(triangles, copy=True).tobytes() == kept and ours.dtype == np.float64
    kind, cpp = reference_point(op, [triangles])
    theirs = np.frombuffer(cpp).reshape(-1, 11).copy()
    both = np.isnan(theirs[:, 3:6]) & np.isnan(ours[:, 3:6])  # read from the report: NaN as NaN
    theirs[:, 3:6][both] = ours[:, 3:6][both] = np.nan
    assert ours.tobytes() == theirs.tobytes()


DTYPES = [np.float32, np.float64, np.float16, np.int32, np.int64, np.complex128, np.dtype(">f8"), object, bool]


@given(dtype=st.sampled_from(DTYPES), shape=st.lists(st.integers(0, 4), min_size=0, max_size=3))
def test_other_dtypes_and_shapes_are_refused(dtype, shape):
    a = np.zeros(shape, dtype)
    if np.dtype(dtype) not in (np.float32, np.float64):
        with pytest.raises(TypeError, match=rf"^convert_art: points must be float32 or float64, not {np.dtype(dtype)}$"):
            AXIS.convert_art(a)
    elif len(shape) != 2 or shape[1] != 3:
        text = "(" + ", ".join(map(str, shape)) + ("," if len(shape) == 1 else "") + ")"
        with pytest.raises(ValueError) as caught:
            AXIS.convert_art(a)
        assert str(caught.value) == f"convert_art: points must have shape (N, 3), not {text}"
    else:
        assert AXIS.convert_art(a).shape == a.shape
