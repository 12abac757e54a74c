#!/usr/bin/env python3
"""Tougaard backgrounds of synthetic spectra, computed from the formula alone, for
tougaard_background_test.cpp (which pastes this script's output as constants).

The spectrum: binding energies x = 280.0, 280.2, ... 292.0 (61 points); a Gaussian peak of
height 1000 at 285 eV (sigma 0.7) on a level of 50, plus a known loss tail: the universal
kernel (B = 2866, C = 1643) applied to the peak alone. The background at x_i is
    low + B * sum over x_j < x_i of K1(x_i - x_j) * (y_j - low) * w_j,
K1(T) = T / ((C + C' T^2)^2 + D T^2), w_j the trapezoid weight of point j on [x_0, x_i]
(half the spacing on each side, half only on the right at x_0), low the mean of the 3 lowest
x points. With B fitted, the background's mean over the 3 highest x points equals theirs.
"""
import math

N, X0, DX = 61, 280.0, 0.2
xs = [X0 + DX * i for i in range(N)]


def k1(t, c, cp, d):
    return t / ((c + cp * t * t) ** 2 + d * t * t)


def weight(j):
    left = xs[j - 1] if j > 0 else xs[0]
    return (xs[j + 1] - left) / 2.0


def loss_sums(values, c, cp, d):
    # values by rising x; S_i = sum_{j<i} K1(x_i - x_j) * values_j * w_j
    out = []
    for i in range(N):
        s = 0.0
        for j in range(i):
            s += k1(xs[i] - xs[j], c, cp, d) * values[j] * weight(j)
        out.append(s)
    return out


peak = [1000.0 * math.exp(-((x - 285.0) ** 2) / (2 * 0.7 ** 2)) for x in xs]
tail = [2866.0 * s for s in loss_sums(peak, 1643.0, 1.0, 0.0)]
ys = [50.0 + p + t for p, t in zip(peak, tail)]


def background(c, cp, d, b=None, ends=3):
    low = sum(ys[:ends]) / ends
    high = sum(ys[-ends:]) / ends
    s = loss_sums([y - low for y in ys], c, cp, d)
    if b is None:
        b = (high - low) / (sum(s[-ends:]) / ends)
    return b, [low + b * v for v in s]


def cpp(name, values):
    print(f"const std::vector<double> {name} = {{")
    print(",\n".join("    " + repr(v) for v in values))
    print("};")


cpp("kY", ys)
b, universal = background(1643.0, 1.0, 0.0)
print(f"constexpr double kFittedB = {b!r};")
cpp("kUniversal", universal)
_, oxide = background(542.0, -1.0, 275.0, b=300.0)
cpp("kOxideB300", oxide)
