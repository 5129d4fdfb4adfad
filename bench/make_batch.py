#!/usr/bin/env python3
"""Writes a batch input file of N expression, domain or mixed items.

The mixed kind cycles through every shape a batch item can take: labels (an
empty one included), per-item zones and precisions, fallback keys, parameters
of every JSON kind, formulas outside the recognised set, failing expressions,
non-object elements and strings with escapes, so that two builds can be
compared byte for byte on it.
"""
import sys

MIXED = [
    '{"label": "E%d", "expression": "E = m*c^2 + %d", "params": {"m": %d.5}}',
    '{"domain": "hawking", "params": [%d.0e30, %d, %d]}',
    '{"expression": "T = hbar*c^3/(8*pi*G*M*kb) * %d", "params": {"M": %d, "x": "s", "y": %d}, "zone": "sinh"}',
    '{"expr": "ln(x) + sqrt(%d) - pow(2, y)", "params": {"x": -%d, "y": 0.%d}, "precision": %d}',
    '{"formula": "wien", "params": [%d.25, null, "x", %d], "zone": "linear_ev", "precision": "p%d"}',
    '{"expression": %d, "expr": "1+%d", "domain": "gravity", "params": [%d, 2, 3]}',
    '{"domain": "coulomb", "params": {"a": %d}, "label": "", "precision": %d.0}',
    '%d',
    '"item %d \\u0001\\t\\"%d\\" \\u00e9/\\ud83d\\ude00 %d"',
    '{"label": "L%d", "precision": true, "zone": %d, "note": [%d]}',
    '{"expression": "x = zz%d + 1", "label": "bad %d", "zone": "linear_cfd", "params": {"zz": %d}}',
    '{"expression": "1e400 * %d", "precision": -0, "label": "inf %d", "params": {"q": %d}}',
    '{"domain": "schwarzschild", "params": [%d.5e3, -0, 9007199254740993, 1.5e%d], "zone": "lucas", "label": "s%d"}',
    '{"domain": "stefan_boltzmann", "params": [%d, 1e-%d, %d], "zone": "other"}',
    '[%d, {"expression": "%d"}, %d]',
    '{"expression": "a == b %d", "label": "eq\\n%d", "params": {"a": %d, "a": 2}}',
    '{"domain": "relativistic_energy", "params": [%d, 0.%d, %d], "precision": 1e3}',
    '{"expression": "2^%d - 3**0.5 * %d / %d", "zone": "sinh", "precision": ""}',
    'null',
    '{}',
]

def item(kind: str, i: int) -> str:
    if kind == "expression":
        return ('{"label": "E%d", "expression": "E = m*c^2 + %d", "params": {"m": %d.5}}'
                % (i, i % 97, i % 1000))
    if kind == "domain":
        return '{"domain": "hawking", "params": [%d.0e30]}' % (1 + i % 9)
    pattern = MIXED[i % len(MIXED)]
    values = (i, 1 + i % 97, i % 1000, i % 7)[: pattern.count("%d")]
    return pattern % values

def main() -> None:
    kind, count, path = sys.argv[1], int(sys.argv[2]), sys.argv[3]
    with open(path, "w", encoding="utf-8") as out:
        out.write("[\n")
        for i in range(count):
            out.write(item(kind, i))
            out.write(",\n" if i + 1 < count else "\n")
        out.write("]\n")

if __name__ == "__main__":
    main()
