"""A mesh stored out of core, converted chunk by chunk on worker processes of dask.distributed into
(m', theta, span) and written back to disk.

    PYTHONPATH=build/release/python /usr/bin/python3 examples/distributed_mesh.py [--points N]
        [--chunk ROWS] [--workers W] [--scheduler tcp://HOST:8786] [--folder DIR] [--repeat R]

1. Makes, once, DIR/rotor37_mesh.h5 (default DIR: build/mesh) with the dataset "xyz": N float32
   points (default 4 000 000) filling one blade pitch of NASA Rotor 37's passage, stored layer by
   layer in theta, as a mesh of blade-to-blade surfaces is (built from a grid in normalised
   (m, theta, span) by the library itself).
2. Converts it on a LocalCluster of W worker processes (default: one per core, one thread each), or
   on the cluster whose scheduler is at --scheduler: each task opens the file, reads its rows,
   converts them with ThetaTurboTransform.convert_xyz_to_space(SPACE_M_PRIME, ...) and writes the
   float64 result into a part file of its own (HDF5 has no parallel writer without MPI); this
   process then writes DIR/rotor37_mprime.h5, whose dataset "mprime" (N, 3) is an HDF5 virtual
   dataset over the parts, read as one array. The transform and the passage model travel to the
   workers pickled (a few hundred bytes); only file names come back.
3. Does the same work in this one process (read, convert, write the parts and the virtual dataset)
   into DIR/local/, checks that both hold the same bits, and prints both times (best of R runs,
   taking turns; the cluster's start excluded) and the speed-up.

On several machines: run `dask-scheduler` on one, `dask-worker tcp://HOST:8786 --nthreads 1` on each
machine (orv installed there with pip, in the same version), put the mesh file on storage that
every worker reads under the same path, and pass --scheduler tcp://HOST:8786 --folder
/shared/path. Only the objects and the file names travel over the network: the workers read the
mesh and write the results on the shared storage.
"""
import argparse
import logging
import os
import time

import h5py
import numpy as np
from distributed import Client, LocalCluster

import orv

HERE = os.path.dirname(os.path.abspath(__file__))
DATA = os.path.join(HERE, "..", "data", "rotor37")
M_PRIME = orv.TurboTransform.SPACE_M_PRIME


def rotor37():
    """The passage model and the transform about the z axis (break angle -180 degrees)."""
    wall = lambda name: np.loadtxt(os.path.join(DATA, name + ".csv"), delimiter=",", skiprows=1).astype(np.float32)
    axis = orv.RotationAxis((0, 0, 0), (0, 0, 1), 10.0, (1, 0, 0))  # one blade pitch: 10 degrees
    return orv.TurboTransform(wall("hub"), wall("shroud")), orv.ThetaTurboTransform(-180.0, axis)


def make_mesh(path, n, chunk, passage, transform):
    """n points of a grid in NMTS (theta outermost, then span, then m) converted to points."""
    side = max(2, round(n ** (1 / 3)))
    m, s = np.linspace(0.0, 1.0, side), np.linspace(0.0, 1.0, side)
    theta = np.radians(np.linspace(-5.0, 5.0, -(-n // (side * side))))
    with h5py.File(path, "w") as f:
        xyz = f.create_dataset("xyz", (n, 3), np.float32, chunks=(min(chunk, n), 3))
        layer = np.column_stack([np.tile(m, side), np.zeros(side * side), np.repeat(s, side)])
        for k, t in enumerate(theta):
            start = k * len(layer)
            rows = layer[: max(0, min(len(layer), n - start))].copy()
            rows[:, 1] = t
            xyz[start:start + len(rows)] = transform.convert_nmts_to_xyz(rows, passage)


def convert_rows(path, start, stop, transform, passage, parts):
    """Rows start..stop of the mesh file to (m', theta, span), written to a part file of their own:
    what each task does. Returns the rows and the part's name."""
    with h5py.File(path, "r") as f:
        xyz = f["xyz"][start:stop]
    part = os.path.join(parts, f"part_{start:012d}.h5")
    with h5py.File(part, "w") as f:
        f["mprime"] = transform.convert_xyz_to_space(M_PRIME, xyz, passage)
    return start, stop, part


def run(path, folder, n, chunk, transform, passage, client=None):
    """The whole mesh converted and written into folder, on the cluster or (client None) here;
    seconds."""
    begin = time.perf_counter()
    parts = os.path.join(folder, "parts")
    os.makedirs(parts, exist_ok=True)
    jobs = [(path, s, min(s + chunk, n), transform, passage, parts) for s in range(0, n, chunk)]
    if client is None:
        done = [convert_rows(*job) for job in jobs]
    else:
        done = client.gather([client.submit(convert_rows, *job, pure=False) for job in jobs])
    layout = h5py.VirtualLayout(shape=(n, 3), dtype=np.float64)
    for start, stop, part in done:
        layout[start:stop] = h5py.VirtualSource(os.path.relpath(part, folder), "mprime", shape=(stop - start, 3))
    with h5py.File(os.path.join(folder, "rotor37_mprime.h5"), "w") as out:
        out.create_virtual_dataset("mprime", layout)
    return time.perf_counter() - begin


def same_bits(a_folder, b_folder, chunk):
    with h5py.File(os.path.join(a_folder, "rotor37_mprime.h5"), "r") as a, \
            h5py.File(os.path.join(b_folder, "rotor37_mprime.h5"), "r") as b:
        x, y = a["mprime"], b["mprime"]
        return x.shape == y.shape and all(x[i:i + chunk].tobytes() == y[i:i + chunk].tobytes()
                                          for i in range(0, x.shape[0], chunk))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--points", type=int, default=4_000_000)
    parser.add_argument("--chunk", type=int, default=250_000)
    parser.add_argument("--workers", type=int, default=os.cpu_count() or 1)
    parser.add_argument("--scheduler", help="address of a running scheduler (no LocalCluster)")
    parser.add_argument("--folder", default=os.path.join(HERE, "..", "build", "mesh"))
    parser.add_argument("--repeat", type=int, default=3)
    args = parser.parse_args()
    folder = os.path.abspath(args.folder)
    os.makedirs(folder, exist_ok=True)
    mesh = os.path.join(folder, "rotor37_mesh.h5")
    passage, transform = rotor37()
    with h5py.File(mesh, "a") as f:
        fresh = "xyz" not in f or f["xyz"].shape[0] != args.points
    if fresh:
        make_mesh(mesh, args.points, args.chunk, passage, transform)

    if args.scheduler:
        client, cluster, where = Client(args.scheduler), None, args.scheduler
    else:
        cluster = LocalCluster(n_workers=args.workers, threads_per_worker=1, processes=True,
                               dashboard_address=None, silence_logs=logging.ERROR)
        client, where = Client(cluster), f"LocalCluster of {args.workers} worker processes"
    local = os.path.join(folder, "local")
    try:
        cluster_s, local_s = [], []
        for _ in range(args.repeat):  # taking turns, so that other work on the machine slows both
            cluster_s.append(run(mesh, folder, args.points, args.chunk, transform, passage, client))
            local_s.append(run(mesh, local, args.points, args.chunk, transform, passage))
    finally:
        client.close()
        if cluster is not None:
            cluster.close()
    assert same_bits(folder, local, args.chunk), "the cluster's results differ"
    one, many = min(local_s), min(cluster_s)
    chunks = -(-args.points // args.chunk)
    print(f"{args.points} points of {mesh} in {chunks} chunks of {args.chunk} rows to (m', theta, span), "
          f"read and written, best of {args.repeat}:")
    print(f"  this process alone:  {one:7.3f} s")
    print(f"  {where}: {many:7.3f} s   speed-up {one / many:.2f}")
    print("  results: the same bits")


if __name__ == "__main__":
    main()
