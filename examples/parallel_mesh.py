"""A mesh larger than one core handles, converted on every core: the module's list calls release
the interpreter lock, so chunks of one array convert at the same time on Python's threads or under
dask (map_blocks over a chunked array). Theta is then continuous within each chunk only.

    PYTHONPATH=build/release/python /usr/bin/python3 examples/parallel_mesh.py

Prints the time of one call on the whole mesh, of the same work on as many threads as the machine
has cores, and under dask's threaded scheduler, each the best of five. It checks that the chunked
results are the whole call's bits where they must be: a and r everywhere, theta in the first chunk
(later chunks start their continuity afresh, so their thetas may differ by whole turns).
"""
import os
import time
from concurrent.futures import ThreadPoolExecutor

import dask
import dask.array as da
import numpy as np

import orv

N = 4_000_000
CORES = os.cpu_count() or 1


def best(call, repeats=5):
    times = []
    for _ in range(repeats):
        start = time.perf_counter()
        result = call()
        times.append(time.perf_counter() - start)
    return 1e3 * min(times), result


def main():
    axis = orv.RotationAxis((1.0, -2.0, 3.0), (0.3, -0.2, 1.0), 30.0, (1.0, 0.0, 0.0))
    points = np.random.default_rng(1).uniform(-100.0, 100.0, (N, 3))
    chunks = np.array_split(points, CORES)

    whole_ms, whole = best(lambda: axis.convert_art(points))
    with ThreadPoolExecutor(CORES) as pool:
        threads_ms, parts = best(lambda: list(pool.map(axis.convert_art, chunks)))
    lazy = da.from_array(points, chunks=(N // CORES, 3))
    mapped = lazy.map_blocks(axis.convert_art, dtype=points.dtype)
    with dask.config.set(scheduler="threads", num_workers=CORES):
        dask_ms, by_dask = best(lambda: mapped.compute())

    joined = np.concatenate(parts)
    assert np.array_equal(joined[:, :2], whole[:, :2]) and np.array_equal(by_dask, joined)
    assert np.array_equal(parts[0], whole[: len(parts[0])])

    print(f"convert_art on {N} float64 points, {CORES} cores, best of 5 (ms)")
    print(f"  one call:              {whole_ms:7.1f}")
    print(f"  {CORES} threads:             {threads_ms:7.1f}   speed-up {whole_ms / threads_ms:.2f}")
    print(f"  dask map_blocks:       {dask_ms:7.1f}   speed-up {whole_ms / dask_ms:.2f}")


if __name__ == "__main__":
    main()
