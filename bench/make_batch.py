#!/usr/bin/env python3
"""Writes a batch input file of N expression items or N domain items."""
import sys

def main() -> None:
    kind, count, path = sys.argv[1], int(sys.argv[2]), sys.argv[3]
    with open(path, "w", encoding="utf-8") as out:
        out.write("[\n")
        for i in range(count):
            if kind == "expression":
                item = ('{"label": "E%d", "expression": "E = m*c^2 + %d", "params": {"m": %d.5}}'
                        % (i, i % 97, i % 1000))
            else:
                item = '{"domain": "hawking", "params": [%d.0e30]}' % (1 + i % 9)
            out.write(item)
            out.write(",\n" if i + 1 < count else "\n")
        out.write("]\n")

if __name__ == "__main__":
    main()
