"""dask.distributed with worker processes: a chunked array converted on LocalCluster(processes=True,
n_workers=2) gives, chunk for chunk, the bits of converting each chunk in this process. The axis,
the transform and the passage model travel to the workers pickled. The example of a mesh in an
HDF5 file converted on such a cluster runs and writes the whole call's bits."""
import logging
import os
import subprocess
import sys

import dask.array as da
import h5py
import numpy as np
import pytest
from conftest import AXIS, PASSAGE, ROOT, ROTOR37_AXIS
from distributed import Client, LocalCluster

import orv

pytestmark = pytest.mark.filterwarnings("ignore::DeprecationWarning")  # tornado's, in distributed
TRANSFORM = orv.ThetaTurboTransform(-180.0, ROTOR37_AXIS)


def worker_pid(block):
    return np.full((1, 1), os.getpid())


def test_chunked_arrays_convert_on_worker_processes_with_this_process_bits():
    rng = np.random.default_rng(11)
    points = rng.uniform(-40.0, 40.0, (60_000, 3))
    angle = rng.uniform(-np.pi, np.pi, 60_000)
    ring = np.column_stack([21 * np.cos(angle), 21 * np.sin(angle), rng.uniform(-20, 14, 60_000)]).astype(np.float32)
    lazy, lazy_ring = da.from_array(points, chunks=(7_000, 3)), da.from_array(ring, chunks=(9_000, 3))
    with LocalCluster(n_workers=2, threads_per_worker=1, processes=True, dashboard_address=None,
                      silence_logs=logging.ERROR) as cluster, Client(cluster):
        art = lazy.map_blocks(AXIS.convert_art, dtype=np.float64).compute()
        art32 = lazy.astype(np.float32).map_blocks(AXIS.convert_art, dtype=np.float32).compute()
        mprime = lazy_ring.map_blocks(lambda b: TRANSFORM.convert_xyz_to_space(4, b, PASSAGE), dtype=np.float64).compute()
        pids = set(lazy.map_blocks(worker_pid, chunks=(1, 1), dtype=int).compute().ravel())
    assert pids and os.getpid() not in pids  # converted by the worker processes, not by this one
    for result, source, convert in ((art, points, AXIS.convert_art), (art32, points.astype(np.float32), AXIS.convert_art),
                                    (mprime, ring, lambda b: TRANSFORM.convert_xyz_to_space(4, b, PASSAGE))):
        size = 7_000 if source is not ring else 9_000
        local = np.concatenate([convert(source[i:i + size]) for i in range(0, len(source), size)])
        assert result.dtype == local.dtype and result.tobytes() == local.tobytes()


def test_distributed_mesh_example_runs(tmp_path):
    example = os.path.join(ROOT, "examples", "distributed_mesh.py")
    out = subprocess.run([sys.executable, example, "--points", "50000", "--chunk", "12000", "--workers", "2",
                          "--repeat", "1", "--folder", str(tmp_path)], capture_output=True, text=True)
    assert out.returncode == 0, out.stderr
    assert "50000 points" in out.stdout and "results: the same bits" in out.stdout
    with h5py.File(tmp_path / "rotor37_mprime.h5", "r") as f, h5py.File(tmp_path / "rotor37_mesh.h5", "r") as m:
        assert f["mprime"].shape == (50000, 3) and np.array_equal(
            f["mprime"][:], TRANSFORM.convert_xyz_to_space(4, m["xyz"][:], PASSAGE))
