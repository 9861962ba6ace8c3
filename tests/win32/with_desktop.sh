#!/bin/bash
# Runs a command on a private headless desktop (Xvfb and openbox) with a wine prefix of its own:
# the Windows tests whose controls, timers and message boxes need one.
# Usage: tests/win32/with_desktop.sh ARTIFACT_DIR COMMAND...
set -euo pipefail

# shellcheck source=../e2e/lib/desktop.sh
source "$(dirname "$0")/../e2e/lib/desktop.sh"
# shellcheck source=lib/wine.sh
source "$(dirname "$0")/lib/wine.sh"
e2e_init "$1" "$0" "$@"
shift

start_xvfb
start_wm
start_wine
"$@"
