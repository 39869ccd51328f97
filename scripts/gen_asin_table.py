#!/usr/bin/env python3
"""Writes src/core/model/asin_table.h: Taylor's coefficients of arcsin at
j / 128, j = 0 .. 64, for fixed_acos. Needs python3-mpmath; run it from the
repository's root and commit the header it writes."""
from mpmath import mp, mpf, asin, taylor

mp.prec = 256
STEPS = 128
ENTRIES = STEPS // 2 + 1
DEGREE = 8


def split(v):
    """v as the sum of two doubles, the first v rounded."""
    hi = float(v)
    lo = float(v - mpf(hi))
    return hi, lo


def literal(d):
    return repr(d) if d != 0 else "0.0"


rows = [[] for _ in range(DEGREE + 3)]
for j in range(ENTRIES):
    c = taylor(asin, mpf(j) / STEPS, DEGREE)
    a0, a0_low = split(c[0])
    a1, a1_low = split(c[1])
    values = [a0, a0_low, a1, a1_low] + [float(c[k]) for k in range(2, DEGREE + 1)]
    for r, v in enumerate(values):
        rows[r].append(v)

names = ["value", "value_low", "slope", "slope_low"] + [
    f"c{k}" for k in range(2, DEGREE + 1)
]
out = []
out.append("// Written by scripts/gen_asin_table.py; do not edit.")
out.append("//")
out.append("// Taylor's coefficients of arcsin at s0 = j / 128, j = 0 .. 64:")
out.append("// arcsin s0 and its slope 1 / sqrt(1 - s0^2) as unevaluated sums of two")
out.append("// doubles (the second below half a unit in the last place of the first),")
out.append(f"// the coefficients of h^2 .. h^{DEGREE} rounded to doubles. One array a")
out.append("// coefficient, so that eight lanes gather one coefficient each at once.")
out.append("#pragma once")
out.append("")
out.append("namespace qlor::asin_table {")
out.append("")
out.append(f"inline constexpr int kSteps = {STEPS};")
out.append(f"inline constexpr int kEntries = {ENTRIES};")
out.append("")
for name, row in zip(names, rows):
    out.append(f"alignas(64) inline constexpr double k_{name}[kEntries] = {{")
    for i in range(0, len(row), 3):
        out.append("    " + ", ".join(literal(v) for v in row[i:i + 3]) + ",")
    out.append("};")
    out.append("")
out.append("}  // namespace qlor::asin_table")
with open("src/core/model/asin_table.h", "w") as f:
    f.write("\n".join(out) + "\n")
