#!/usr/bin/env bash
# Builds the clock (release) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh run
cmake --preset release
cmake --build --preset release
exec build/release/lurvendel
