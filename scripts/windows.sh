#!/usr/bin/env bash
# Builds the Windows clock with Debian's mingw-w64: build/windows/lurvendel.exe, one static
# program, and its installer build/windows/lurvendel-setup.exe (nsis).
# "scripts/windows.sh test" also builds the Windows tests, warnings as errors, and runs them under
# wine: the core's model tests, the Win32 layer's on a private display, and the end-to-end script.
# Installs the Debian packages it misses with apt-get (as root, or through sudo).
set -euo pipefail
cd "$(dirname "$0")/.."

case "${1:-build}" in
  build) scripts/install-deps.sh windows ;;
  test) scripts/install-deps.sh windows-test ;;
  *) echo "usage: $0 [build|test]" >&2; exit 2 ;;
esac

cmake --preset windows
cmake --build --preset windows
[ "${1:-build}" = test ] || exit 0

cmake --preset windows-test
cmake --build --preset windows-test
# A hang ends as a failure in minutes, with its artifacts, never as a run that does not end.
bash tests/win32/with_desktop.sh build/windows-test/artifacts/tests \
  ctest --test-dir build/windows-test --output-on-failure --timeout 300
timeout --kill-after=30 1200 \
  bash tests/win32/e2e_test.sh build/windows-test/lurvendel.exe build/windows-test/artifacts/e2e
