#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer, warnings as errors,
# and runs every test: unit, simulated scenarios, the Qt platform layer, the end-to-end tests
# of the real binary, the package, the fuzzer and the house's habits (format, shellcheck); then
# the sound output's threads under ThreadSanitizer; then the Windows program and its tests under
# wine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh test
cmake --preset test
cmake --build --preset test
ctest --preset test
cmake --preset tsan
cmake --build --preset tsan
ctest --preset tsan
scripts/windows.sh test
