#!/usr/bin/env bash
# Installs what the tests need where it is missing (Debian packages, with apt-get), then builds and
# runs the tests: cmake --workflow --preset release (the library, the example host, the tests, the
# benchmarks, the Python module; the tests include the package test, the Python tests and, with
# clang, the Microsoft ABI check).
# .ci/run runs its release tests through this script.
set -euo pipefail
cd "$(dirname "$0")/.."

missing=()
# need PACKAGE [COMMAND...]: PACKAGE is missing unless COMMAND succeeds (without a command: unless
# dpkg has PACKAGE installed). One line per package.
need() {
    local package=$1
    shift
    if [ $# -gt 0 ]; then
        "$@" >/dev/null 2>&1 || missing+=("$package")
    else
        dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
    fi
}
need cmake command -v cmake
need g++ command -v g++
need libgtest-dev
need libgmock-dev
need libbenchmark-dev
# MPFR: the oracle of the correctly rounded mathematical functions (tests only).
need libmpfr-dev
need clang command -v clang++
# The Python module, its tests and its examples: Debian's python3 with numpy, its headers,
# pybind11, pytest, matplotlib (the pictures) and dask (the chunked conversion).
need python3-dev
need python3-numpy /usr/bin/python3 -c "import numpy"
need pybind11-dev
need python3-pytest /usr/bin/python3 -c "import pytest"
need python3-matplotlib /usr/bin/python3 -c "import matplotlib"
need python3-dask /usr/bin/python3 -c "import dask.array"
# The Python package's tests: property tests (hypothesis), worker processes of dask.distributed,
# the HDF5 mesh of examples/distributed_mesh.py (h5py), the stub checked with mypy; and .ci/run's
# pip install into a virtual environment (venv, scikit-build).
need python3-hypothesis /usr/bin/python3 -c "import hypothesis"
need python3-distributed /usr/bin/python3 -c "import distributed"
need python3-h5py /usr/bin/python3 -c "import h5py"
need python3-mypy /usr/bin/python3 -c "import mypy.stubtest"
need python3-skbuild /usr/bin/python3 -c "import skbuild"
need python3-venv
# The locale sources, from which a test builds a decimal-comma locale where none is installed.
need locales

if [ ${#missing[@]} -gt 0 ]; then
    if ! command -v apt-get >/dev/null; then
        echo "missing: ${missing[*]} (Debian package names); install them, then run this again" >&2
        exit 1
    fi
    echo "installing: ${missing[*]}"
    sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    export DEBIAN_FRONTEND=noninteractive
    "${sudo[@]}" apt-get update -q
    "${sudo[@]}" apt-get install -y -q "${missing[@]}"
fi

cmake --workflow --preset release
