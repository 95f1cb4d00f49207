"""Exact state of the package's objects: pickling (every protocol), copy and deepcopy give objects
that are equal and convert with the same bits; repr is the constructor call with the exact values
and evaluates back to an equal object; == compares bits; the values given are read back at their
own precision; objects travel to a process pool and convert there with the same bits."""
import copy
import multiprocessing
import pickle
from concurrent.futures import ProcessPoolExecutor

import numpy as np
import pytest
from conftest import PASSAGE, ROTOR37_AXIS, wall

import orv

rng = np.random.default_rng(3)
POINTS64 = rng.uniform(-40.0, 40.0, (300, 3))
POINTS32 = POINTS64.astype(np.float32)
# Axes whose stored values the library derives with care: a NaN period (accepted and stored), -0.0
# components, a direction whose squared length overflows, an up vector too small to normalise
# directly, the default up vector, one not perpendicular.
AXES = [orv.RotationAxis((1.0, -2.0, 0.5), (1.0, 2.0, 3.0), 72.0, (0.0, 0.0, 1.0)),
        orv.RotationAxis((0.1, 0.2, 0.3), (0.3, -0.2, 1.0), 30.0, (1.0, 0.0, 0.0)),
        orv.RotationAxis((-0.0, 0.0, -0.0), (-0.0, 0.0, 2.0), 360.0),
        orv.RotationAxis((1e-310, 5.0, 1e300), (1e300, -3e299, 7e298), 1e-300, (3e-8, 4e-8, 1e155)),
        orv.RotationAxis((0.0, 0.0, 0.0), (0.0, -3.0, 0.0), float("nan"), (0.0, 0.0, 0.0)),
        orv.RotationAxis((2.0, 2.0, 2.0), (0.0, 0.0, 1.0), 10.0, (0.0, 0.0, 5.0))]
PASSAGES = [PASSAGE, orv.TurboTransform(np.float32([[0, 1], [1, 1.1]]), np.float32([[0, 2], [1e-3, 2.5], [1, 3]]))]
TRANSFORMS = [orv.ThetaTurboTransform(-5.0, ROTOR37_AXIS), orv.ThetaTurboTransform(-0.0, AXES[1]),
              orv.ThetaTurboTransform(float("nan"), AXES[0])]
OBJECTS = AXES + PASSAGES + TRANSFORMS
TURBO_POINTS = np.column_stack([20 * np.cos(POINTS64[:, 0]), 20 * np.sin(POINTS64[:, 0]),
                                POINTS64[:, 1] / 4]).astype(np.float32)


def results(x):
    """Every kind of result of the object, as bytes."""
    if isinstance(x, orv.RotationAxis):
        out = [x.convert_art(POINTS64), x.convert_art(POINTS32), x.convert_xyz(POINTS64),
               x.rotate_by_angle(POINTS32, 33.0), x.get_rotation_matrix(20.0) if x.get_angle() == x.get_angle() else 0]
    elif isinstance(x, orv.TurboTransform):
        out = [x.convert_art_to_space_tns(3, POINTS64), x.convert_space_tns_to_art(0, POINTS32)]
    else:
        out = [x.convert_xyz_to_art(TURBO_POINTS), x.convert_xyz_to_nmts(TURBO_POINTS, PASSAGE)]
    return b"".join(np.asarray(a).tobytes() for a in out)


@pytest.mark.parametrize("x", OBJECTS, ids=range(len(OBJECTS)))
@pytest.mark.parametrize("how", ["copy", "deepcopy"] + [f"pickle{p}" for p in range(pickle.HIGHEST_PROTOCOL + 1)])
def test_copies_are_equal_and_give_the_same_bits(x, how):
    if how.startswith("pickle"):
        y = pickle.loads(pickle.dumps(x, protocol=int(how[6:])))
    else:
        y = getattr(copy, how)(x)
    assert y is not x and type(y) is type(x) and y == x and hash(y) == hash(x) and repr(y) == repr(x)
    assert results(y) == results(x)


@pytest.mark.parametrize("x", OBJECTS, ids=range(len(OBJECTS)))
def test_repr_evaluates_to_an_equal_object(x):
    y = eval(repr(x), {"orv": orv, "numpy": np})
    assert y == x and results(y) == results(x)


def test_repr_text():
    assert repr(AXES[2]) == "orv.RotationAxis(point=(-0.0, 0.0, -0.0), direction=(-0.0, 0.0, 2.0), period_deg=360.0, up=(0.0, 0.0, 0.0))"
    assert repr(AXES[4]).endswith("period_deg=float('nan'), up=(0.0, 0.0, 0.0))")
    assert repr(PASSAGES[1]) == ("orv.TurboTransform(hub=numpy.array([[0.0, 1.0], [1.0, 1.1]], dtype=numpy.float32), "
                                 "shroud=numpy.array([[0.0, 2.0], [0.001, 2.5], [1.0, 3.0]], dtype=numpy.float32))")
    assert repr(TRANSFORMS[1]) == "orv.ThetaTurboTransform(break_angle_deg=-0.0, axis=" + repr(AXES[1]) + ")"


def one_bit_away(v):
    return float(np.nextafter(v, np.inf))


@pytest.mark.parametrize("a, b", [
    (AXES[0], orv.RotationAxis((1.0, -2.0, 0.5), (1.0, 2.0, 3.0), one_bit_away(72.0), (0.0, 0.0, 1.0))),
    (AXES[0], orv.RotationAxis((1.0, -2.0, 0.5), (1.0, 2.0, one_bit_away(3.0)), 72.0, (0.0, 0.0, 1.0))),
    (AXES[2], orv.RotationAxis((0.0, 0.0, -0.0), (-0.0, 0.0, 2.0), 360.0)),  # -0.0 and 0.0 differ
    (AXES[2], orv.RotationAxis((-0.0, 0.0, -0.0), (0.0, 0.0, 1.0), 360.0)),  # same axis, other values
    (PASSAGES[1], orv.TurboTransform(np.float32([[0, 1], [1, 1.1]]), np.float32([[0, 2], [1e-3, 2.5], [1, 3.0000002]]))),
    (PASSAGES[1], orv.TurboTransform(np.float32([[0, 1], [1, 1.1]]), np.float32([[0, 2], [1, 3]]))),
    (TRANSFORMS[1], orv.ThetaTurboTransform(0.0, AXES[1])),
    (TRANSFORMS[0], orv.ThetaTurboTransform(-5.0, AXES[0])),
])
def test_objects_differing_in_one_value_are_unequal(a, b):
    assert a != b and not (a == b)


def test_equality_with_other_types_and_nan():
    assert AXES[4] == copy.copy(AXES[4])  # a NaN period equals itself: the same bits
    assert AXES[0] != TRANSFORMS[0] and AXES[0] != (1.0, -2.0, 0.5) and PASSAGE != None  # noqa: E711
    assert len({AXES[0], copy.copy(AXES[0]), AXES[1]}) == 2


def test_values_given_are_read_back_exactly():
    a = AXES[3]
    assert (a.point, a.direction, a.period_deg, a.up) == ((1e-310, 5.0, 1e300), (1e300, -3e299, 7e298), 1e-300,
                                                         (3e-8, 4e-8, 1e155))
    assert a.get_axis_point().dtype == np.float64 and a.get_axis_point().tolist() == list(a.point)
    assert a.get_angle() == 1e-300 and AXES[2].up == (0.0, 0.0, 0.0)
    assert a.get_axis_dir().dtype == np.float32 and a.get_up_vector().dtype == np.float32
    rebuilt = orv.RotationAxis(a.point, a.direction, a.period_deg, a.up)
    assert rebuilt == a and results(rebuilt) == results(a)
    t = TRANSFORMS[0]
    assert t.break_angle_deg == t.get_break_angle() == -5.0 and t.axis == t.get_rotation_axis() == ROTOR37_AXIS
    assert PASSAGE.hub.tobytes() == wall("hub").tobytes() and PASSAGE.shroud.tobytes() == wall("shroud").tobytes()
    hub = PASSAGE.hub
    hub[0, 0] = 99.0  # a copy: the model is unchanged
    assert PASSAGE.hub[0, 0] != 99.0


def test_state_cannot_be_changed():
    for x, name in ((AXES[0], "point"), (PASSAGE, "hub"), (TRANSFORMS[0], "axis")):
        with pytest.raises(AttributeError):
            setattr(x, name, None)


def convert_chunk(transform, passage, axis, chunk):
    return transform.convert_xyz_to_nmts(chunk, passage), axis.convert_art(chunk)


def test_process_pool_gives_the_bits_of_this_process():
    chunks = np.array_split(TURBO_POINTS, 4)
    with ProcessPoolExecutor(2, mp_context=multiprocessing.get_context("spawn")) as pool:
        remote = list(pool.map(convert_chunk, [TRANSFORMS[0]] * 4, [PASSAGE] * 4, [AXES[1]] * 4, chunks))
    for (nmts, art), chunk in zip(remote, chunks):
        local = convert_chunk(TRANSFORMS[0], PASSAGE, AXES[1], chunk)
        assert nmts.tobytes() == local[0].tobytes() and art.tobytes() == local[1].tobytes()
