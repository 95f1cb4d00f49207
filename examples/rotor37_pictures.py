"""Two pictures of NASA Rotor 37 (data/rotor37/) drawn through the Python module orv.

rotor37_meridional.png: the meridional passage (axial z, radius r): hub and shroud, lines of
constant span and of constant normalised meridional coordinate, all converted from (m, theta, span)
by the library, and the blade's leading and trailing edges (the points of least and greatest
normalised m of each blade section).
rotor37_blade_to_blade.png: the blade at mid-span in the conformal plane (m', theta), m' the
integral of dm / r along the line of span 0.5 from the inlet, with its two neighbours one pitch
away. The mid-span section is interpolated in span between the blade sections in (m, theta, span)
and converted to m' by the library.

    PYTHONPATH=build/release/python /usr/bin/python3 examples/rotor37_pictures.py [output folder]

The output folder defaults to docs/.
"""
import os
import sys

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402
import numpy as np  # noqa: E402

import orv  # noqa: E402

DATA = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "rotor37")
PITCH = 10.0  # degrees: 360 / 36 blades
DPI = 120


def read(name):
    return np.loadtxt(os.path.join(DATA, name + ".csv"), delimiter=",", skiprows=1)


def rotor37():
    """The passage model, the transform about the z axis and the blade points (sections, j, 2, 3)."""
    passage = orv.TurboTransform(read("hub").astype(np.float32), read("shroud").astype(np.float32))
    axis = orv.RotationAxis((0, 0, 0), (0, 0, 1), PITCH, (1, 0, 0))
    transform = orv.ThetaTurboTransform(-180.0, axis)
    blade = read("blade")
    sections, chord = int(blade[:, 0].max()), int(blade[:, 1].max())
    # (a, r, theta in radians) of both blade surfaces, converted to points by the axis
    surfaces = [np.column_stack([blade[:, 2], blade[:, 3], blade[:, k]]) for k in (4, 5)]
    xyz = [axis.convert_xyz_theta_rad(s.astype(np.float32)) for s in surfaces]
    points = np.stack(xyz, axis=1).reshape(sections, chord, 2, 3)
    return passage, axis, transform, points


def to_nmts(transform, passage, points):
    shape = points.shape
    return transform.convert_xyz_to_nmts(points.reshape(-1, 3), passage).reshape(shape)


def meridional(passage, axis, transform, points, out):
    def ar(m, s):  # (axial, radial) of NMTS rows (m, 0, span), through points and the axis
        nmts = np.column_stack([m, np.zeros_like(m), s]).astype(np.float64)
        art = axis.convert_art(transform.convert_nmts_to_xyz(nmts, passage))
        return art[:, 0], art[:, 1]

    fig, ax = plt.subplots(figsize=(9.0, 4.6))
    hub, shroud = read("hub"), read("shroud")
    ax.plot(hub[:, 0], hub[:, 1], "k-", lw=2.5, label="hub (hub.csv)")
    ax.plot(shroud[:, 0], shroud[:, 1], "-", color="0.45", lw=2.5, label="shroud (shroud.csv)")
    m = np.linspace(0.0, 1.0, 401)
    for i, s in enumerate((0.0, 0.25, 0.5, 0.75, 1.0)):
        ax.plot(*ar(m, np.full_like(m, s)), "b--", lw=0.9,
                label="span 0, 0.25, 0.5, 0.75, 1" if i == 0 else None)
        ax.annotate(f"{s:g}", ar(np.array([1.0]), np.array([s])), xytext=(4, 0),
                    textcoords="offset points", va="center", fontsize=8, color="b")
    s = np.linspace(0.0, 1.0, 41)
    for i, mm in enumerate(np.linspace(0.0, 1.0, 11)):
        ax.plot(*ar(np.full_like(s, mm), s), "g-", lw=0.7,
                label="normalised m = 0, 0.1, ..., 1" if i == 0 else None)
    # per section, the blade points of least and greatest normalised m
    nmts = to_nmts(transform, passage, points)
    rows = np.arange(points.shape[0])
    flat_m = nmts[..., 0].reshape(points.shape[0], -1)
    flat_p = points.reshape(points.shape[0], -1, 3)
    for pick, style, name in ((np.argmin, "r-o", "leading edge"), (np.argmax, "m-s", "trailing edge")):
        art = axis.convert_art(np.ascontiguousarray(flat_p[rows, pick(flat_m, axis=1)]))
        ax.plot(art[:, 0], art[:, 1], style, ms=3, lw=1.6, label=f"blade {name} (13 sections)")
    ax.set_aspect("equal")
    ax.set_xlabel("axial z (cm)")
    ax.set_ylabel("radius r (cm)")
    ax.set_title("NASA Rotor 37: meridional passage, span and meridional lines from orv")
    ax.legend(loc="upper center", bbox_to_anchor=(0.5, -0.27), ncol=3, fontsize=8)
    ax.grid(True, lw=0.3)
    fig.savefig(os.path.join(out, "rotor37_meridional.png"), dpi=DPI, bbox_inches="tight")
    plt.close(fig)


def mid_span(passage, transform, points, span=0.5):
    """The blade's points at the span, (j, 2, 3): m and theta interpolated in span across the
    sections at each chordwise index j and surface, converted back to points."""
    nmts = to_nmts(transform, passage, points)
    spans = nmts[..., 2]
    if not (np.diff(spans, axis=0) > 0).all():
        sys.exit("blade sections do not rise in span at every chordwise point")
    at = np.empty(points.shape[1:], dtype=np.float64)
    for j in range(points.shape[1]):
        for k in range(2):
            at[j, k] = [np.interp(span, spans[:, j, k], nmts[:, j, k, c]) for c in (0, 1)] + [span]
    return transform.convert_nmts_to_xyz(at.reshape(-1, 3), passage).reshape(points.shape[1:])


def blade_to_blade(passage, axis, transform, points, out):
    xyz = mid_span(passage, transform, points)
    outline = np.ascontiguousarray(np.concatenate([xyz[:, 0], xyz[::-1, 1], xyz[:1, 0]]))
    fig, ax = plt.subplots(figsize=(6.4, 5.6))
    for periods, colour, name in ((0, "tab:blue", "blade"), (1, "0.55", "neighbours, +/- 1 pitch"),
                                  (-1, "0.55", None)):
        moved = outline if periods == 0 else axis.rotate_by_period(outline, float(periods))
        mt = transform.convert_xyz_to_space(orv.TurboTransform.SPACE_M_PRIME, moved, passage)
        ax.fill(mt[:, 0], mt[:, 1], color=colour, alpha=0.35, lw=0)
        ax.plot(mt[:, 0], mt[:, 1], "-", color=colour, lw=1.4, label=name)
        if periods == 0:
            le, te = mt[0], mt[len(xyz) - 1]
            ax.plot(*le[:2], "ro", ms=4, label="leading edge (j = 1)")
            ax.plot(*te[:2], "ms", ms=4, label="trailing edge (j = 100)")
            ax.set_xlim(le[0] - 0.25, te[0] + 0.25)
    ax.set_aspect("equal")
    ax.set_xlabel("m' (dimensionless)")
    ax.set_ylabel("theta (rad)")
    ax.set_title("NASA Rotor 37: blade to blade at span 0.5, equal scales (conformal)\n"
                 "m' = integral of dm / r along span 0.5 from the inlet; the section is\n"
                 "interpolated in span between the blade sections, converted by orv", fontsize=10)
    ax.legend(loc="center left", bbox_to_anchor=(1.02, 0.5), fontsize=8)
    ax.grid(True, lw=0.3)
    fig.savefig(os.path.join(out, "rotor37_blade_to_blade.png"), dpi=DPI, bbox_inches="tight")
    plt.close(fig)


def main(out):
    os.makedirs(out, exist_ok=True)
    passage, axis, transform, points = rotor37()
    meridional(passage, axis, transform, points, out)
    blade_to_blade(passage, axis, transform, points, out)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "docs")
