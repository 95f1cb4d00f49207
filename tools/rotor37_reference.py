#!/usr/bin/python3
"""Reference values of the passage model on NASA Rotor 37 (data/rotor37), computed independently of
the library: NMTS (u, span), MTS and m' for a few (axial, radial) points, printed with 17 digits.

The passage model: each wall is parametrised by its normalised arc length u; the point at
(u, span) is (1 - span) hub(u) + span shroud(u). Here, for a point P, u is found by bisection on
the side of P from the line hub(u) -> shroud(u), span by projecting P onto that line; the line of
constant span through P is followed through the break points of both walls (where it bends), its
length summed piece by piece (MTS) and the integral of ds / r taken by Gauss-Legendre quadrature
on each straight piece (m'). The walls are read as the library reads them: each value rounded to
single precision.

Usage: tools/rotor37_reference.py [data directory]   (default: data/rotor37 beside this folder)
"""
import os
import sys

import numpy as np


def read_wall(path):
    rows = [line.split(",") for line in open(path).read().split("\n")[1:] if line.strip()]
    return np.array([[float(np.float32(float(v))) for v in row] for row in rows])


def arc_parameters(wall):
    steps = np.hypot(np.diff(wall[:, 0]), np.diff(wall[:, 1]))
    w = np.concatenate(([0.0], np.cumsum(steps)))
    return w / w[-1]


def at(wall, w, u):
    return np.array([np.interp(u, w, wall[:, 0]), np.interp(u, w, wall[:, 1])])


def invert(hub, wh, shroud, ws, p):
    def side(u):
        h = at(hub, wh, u)
        e = at(shroud, ws, u) - h
        return e[0] * (p[1] - h[1]) - e[1] * (p[0] - h[0])

    lo, hi = 0.0, 1.0
    s_lo = np.sign(side(lo))
    assert s_lo != np.sign(side(hi)), "point outside the passage"
    for _ in range(200):
        mid = 0.5 * (lo + hi)
        if mid in (lo, hi):
            break
        if np.sign(side(mid)) == s_lo:
            lo = mid
        else:
            hi = mid
    u = 0.5 * (lo + hi)
    h = at(hub, wh, u)
    e = at(shroud, ws, u) - h
    return u, float(np.dot(p - h, e) / np.dot(e, e))


def along_span(hub, wh, shroud, ws, u, span):
    """Arc length and integral of ds / r along the line of constant span, from the inlet to u."""
    knots = np.union1d(np.union1d(wh, ws), [u])
    knots = knots[knots <= u]
    pts = [(1 - span) * at(hub, wh, k) + span * at(shroud, ws, k) for k in knots]
    length, mprime = 0.0, {}
    for order in (20, 40):
        x, g = np.polynomial.legendre.leggauss(order)
        mprime[order] = 0.0
        for a, b in zip(pts[:-1], pts[1:]):
            piece = float(np.hypot(*(b - a)))
            r = a[1] + 0.5 * (x + 1.0) * (b[1] - a[1])
            mprime[order] += 0.5 * piece * float(np.sum(g / r))
    length = sum(float(np.hypot(*(b - a))) for a, b in zip(pts[:-1], pts[1:]))
    assert abs(mprime[20] - mprime[40]) <= 1e-14 * mprime[40], "quadrature not converged"
    return length, mprime[40]


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "data", "rotor37")
    hub = read_wall(os.path.join(folder, "hub.csv"))
    shroud = read_wall(os.path.join(folder, "shroud.csv"))
    wh, ws = arc_parameters(hub), arc_parameters(shroud)
    points = [(-10.0, 21.0), (0.5, 20.0), (2.0, 18.5), (4.0, 24.0), (8.0, 21.5), (14.0, 19.5)]
    print("// axial, radial, NMTS u, span, MTS, m'")
    for a, r in points:
        u, span = invert(hub, wh, shroud, ws, np.array([a, r]))
        mts, mprime = along_span(hub, wh, shroud, ws, u, span)
        print("{%r, %r, %.17g, %.17g, %.17g, %.17g}," % (a, r, u, span, mts, mprime))


if __name__ == "__main__":
    main()
