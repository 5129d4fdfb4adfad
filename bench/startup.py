#!/usr/bin/env python3
"""Median whole-process time of one kalvex computation against a trivial program."""
import statistics
import subprocess
import sys
import time

RUNS = 300

def median_seconds(argv: list[str]) -> float:
    samples = []
    for _ in range(RUNS):
        start = time.perf_counter()
        subprocess.run(argv, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
        samples.append(time.perf_counter() - start)
    return statistics.median(samples)

def main() -> None:
    kalvex, trivial = sys.argv[1], sys.argv[2]
    computation = [kalvex, "compute", "--expression", "hbar*c^3/(8*pi*G*1.989e30*kb)"]
    # Warm the page cache for both before measuring.
    for argv in (computation, [trivial]):
        subprocess.run(argv, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
    kalvex_median = median_seconds(computation)
    trivial_median = median_seconds([trivial])
    print(f"start-up: kalvex compute median {kalvex_median * 1e3:.3f} ms, "
          f"trivial program median {trivial_median * 1e3:.3f} ms, "
          f"ratio {kalvex_median / trivial_median:.2f} (target <= 1.5)")

if __name__ == "__main__":
    main()
