"""The Python package orv (see pyproject.toml): the project's CMake builds the library and the
module orv._core, and installs the package folder orv/ with the two shared libraries inside it
(the CMake component python_wheel); nothing else of the project goes into the wheel. The version
is the CMake project's."""
import os
import re

from skbuild import setup

HERE = os.path.dirname(os.path.abspath(__file__))
with open(os.path.join(HERE, "CMakeLists.txt"), encoding="utf-8") as cmake:
    VERSION = re.search(r"project\(ORVRWGeometryTools\s+VERSION\s+([0-9.]+)", cmake.read()).group(1)

# Two parallel compile jobs unless the caller chose otherwise.
os.environ.setdefault("CMAKE_BUILD_PARALLEL_LEVEL", "2")

setup(
    name="orv",
    version=VERSION,
    description="Geometry tools for turbomachinery over numpy arrays (libORVRWGeometryTools)",
    python_requires=">=3.9",
    install_requires=["numpy"],
    packages=["orv"],
    package_dir={"": "python"},
    package_data={"orv": ["py.typed", "__init__.pyi"]},
    cmake_languages=("CXX",),
    cmake_install_dir="python",
    cmake_install_target="install-python-wheel",
    cmake_args=[
        "-DCMAKE_BUILD_TYPE=Release",
        "-DORV_BUILD_TESTS=OFF",
        "-DORV_BUILD_BENCHMARKS=OFF",
        "-DORV_BUILD_EXAMPLES=OFF",
        "-DORV_BUILD_PYTHON=ON",
    ],
    zip_safe=False,
)
