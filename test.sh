#!/usr/bin/env bash
# Installs what is missing, builds Vantrel with its tests and benchmarks, and
# runs every test suite through CTest.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build
ctest --test-dir build --output-on-failure
