#!/usr/bin/env bash
# The whole test suite: the engine, front-end and end-to-end tests in a release
# and a debug build (the engine's figures must not change with optimisation),
# under AddressSanitizer and UndefinedBehaviorSanitizer, and built with clang.
set -euo pipefail
cd "$(dirname "$0")/.."

for preset in release debug asan clang; do
  echo "== ${preset} build"
  cmake --preset "${preset}" >/dev/null
  cmake --build --preset "${preset}"
  ctest --preset "${preset}" -j "$(nproc)"
done
