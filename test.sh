#!/usr/bin/env bash
# Installs what is missing, builds Vantrel with its tests and benchmarks, and
# runs every test suite through CTest; then builds the core once more with
# clang under AddressSanitizer and UndefinedBehaviorSanitizer and runs its
# tests there, the random sessions and the fuzzer included.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DVANTREL_STRICT=ON >/dev/null
cmake --build build
ctest --test-dir build --output-on-failure

CC=clang CXX=clang++ cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVANTREL_SANITIZE=ON -DVANTREL_BUILD_QT=OFF -DVANTREL_BUILD_BENCH=OFF >/dev/null
cmake --build build-sanitize
ctest --test-dir build-sanitize --output-on-failure --parallel 2
