#!/usr/bin/env bash
# Installs what the build and the test suite need on Debian 12 (run as root).
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
apt-get update
apt-get install -y --no-install-recommends \
  cmake ninja-build g++ clang libclang-rt-14-dev \
  libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev \
  python3 time
