#!/usr/bin/env bash
# Builds and runs the deal engine's benchmarks (Release).
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build --target deal_bench
build/bench/deal_bench "$@"
