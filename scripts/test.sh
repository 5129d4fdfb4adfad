#!/usr/bin/env bash
# The whole test suite: the engine, front-end and end-to-end tests in a release
# and a debug build (the engine's figures must not change with optimisation).
set -euo pipefail
cd "$(dirname "$0")/.."

for preset in release debug; do
  echo "== ${preset} build"
  cmake --preset "${preset}" >/dev/null
  cmake --build --preset "${preset}"
  ctest --preset "${preset}" -j "$(nproc)"
done
