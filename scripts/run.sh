#!/usr/bin/env bash
# Sets up what is missing, builds Vantrix and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVX_BUILD_TESTS=OFF -DVX_BUILD_BENCH=OFF
cmake --build build --target vantrix
exec ./build/src/shell/vantrix
