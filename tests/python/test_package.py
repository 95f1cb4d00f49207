"""The package as its users meet it: the stub file agrees with the compiled module (mypy's stubtest)
and types a host's calls (mypy --strict, and the calls it must refuse); every public callable has a
signature that inspect reads and a docstring; the README's quick start runs as written."""
import inspect
import os
import re
import subprocess
import sys

import pytest
from conftest import HERE, ROOT, WORK

import orv

ENV = dict(os.environ, MYPY_CACHE_DIR=os.path.join(WORK, "orv-mypy-cache"))
ORV_DIR = os.path.dirname(os.path.dirname(orv.__file__))


def run(*args):
    return subprocess.run([sys.executable, *args], capture_output=True, text=True, env=ENV, cwd=ORV_DIR)


def test_stub_agrees_with_the_module():
    out = run("-m", "mypy.stubtest", "orv", "--allowlist", os.path.join(HERE, "stubtest-allowlist.txt"))
    assert out.returncode == 0, out.stdout + out.stderr


def test_stub_types_a_hosts_calls():
    sample = os.path.join(HERE, "typed_usage.py")
    out = run("-m", "mypy", "--strict", "--no-error-summary", sample)
    with open(sample, encoding="utf-8") as text:
        wanted = {i + 1 for i, line in enumerate(text) if "# error:" in line}
    refused = {int(m.group(1)) for m in re.finditer(r"typed_usage\.py:(\d+): error", out.stdout)}
    assert refused == wanted, out.stdout


PUBLIC = {"triangle_measures": orv.triangle_measures} | {
    f"{cls.__name__}.{name}": getattr(cls, name) for cls in (orv.RotationAxis, orv.TurboTransform, orv.ThetaTurboTransform)
    for name in dir(cls) if not name.startswith("_") and callable(getattr(cls, name))}


@pytest.mark.parametrize("name", sorted(PUBLIC))
def test_every_callable_has_a_signature_and_a_docstring(name):
    call = PUBLIC[name]
    parameters = list(inspect.signature(call).parameters)
    assert parameters[:1] == ["self"] or call is orv.triangle_measures
    assert len(call.__doc__) >= 20


def test_constructors_have_signatures():
    assert str(inspect.signature(orv.RotationAxis)) == "(point, direction, period_deg, up=None)"
    assert str(inspect.signature(orv.ThetaTurboTransform)) == "(break_angle_deg, axis)"
    assert str(inspect.signature(orv.TurboTransform)) == "(hub, shroud)"


def quick_start():
    """The first python block under the README's heading "## Python"."""
    with open(os.path.join(ROOT, "README.md"), encoding="utf-8") as text:
        readme = text.read()
    section = re.search(r"^## Python\n(.*?)(?=^## |\Z)", readme, re.S | re.M)
    assert section is not None, "the README has no Python section"
    return re.search(r"```python\n(.*?)```", section.group(1), re.S).group(1)


def test_readme_quick_start_runs_as_written(tmp_path):
    script = tmp_path / "quick_start.py"
    script.write_text(quick_start())
    env = dict(ENV, PYTHONPATH=os.pathsep.join([ORV_DIR, os.environ.get("PYTHONPATH", "")]))
    out = subprocess.run([sys.executable, str(script)], capture_output=True, text=True, cwd=tmp_path, env=env)
    assert out.returncode == 0, out.stderr
    out = run("-m", "mypy", "--strict", "--no-error-summary", str(script))
    assert out.returncode == 0, out.stdout
