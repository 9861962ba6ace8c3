#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer and runs every test:
# unit, simulated scenarios, the Qt platform layer and the end-to-end tests of the real binary.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh test
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLURVENDEL_SANITIZE=ON \
  -DLURVENDEL_TESTS=ON
cmake --build build/test
ctest --test-dir build/test --output-on-failure -j2
