#!/bin/bash
# The program started where no desktop can be reached, or with an option it does not know: one
# line on stderr, and the documented status.
# Usage: tests/start/without_display_test.sh BINARY
set -uo pipefail
BIN=$1 failures=0
# The claim every start takes first goes to a folder of the test's own.
XDG_RUNTIME_DIR=$(mktemp -d) err=$XDG_RUNTIME_DIR/stderr
trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
export XDG_RUNTIME_DIR ASAN_OPTIONS=detect_leaks=0
# expect WHAT STATUS LINE CMD... : CMD ends with STATUS, its stderr being LINE alone.
expect() {
    local what=$1 status=$2 line=$3 got=0
    shift 3
    "$@" 2>"$err" || got=$?
    if [[ $got != "$status" || $(<"$err") != "$line" ]]; then
        echo "FAIL: $what: status $got, stderr '$(<"$err")'; expected $status, '$line'" >&2
        failures=$((failures + 1))
    fi
}
expect "DISPLAY unset" 1 "lurvendel: keine Anzeige erreichbar (DISPLAY ist nicht gesetzt)" \
    env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$BIN"
expect "no server at DISPLAY" 1 "lurvendel: keine Anzeige erreichbar (DISPLAY=:4711)" \
    env -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb DISPLAY=:4711 "$BIN"
expect "an unknown option with control characters" 2 \
    'lurvendel: unbekannte Option --x\x0a\x1b[1m (lurvendel --help nennt alle)' "$BIN" $'--x\n\e[1m'
# Qt's warnings at start-up are no reason to end: the clock runs on (until the timeout ends it),
# silent on a sound device that takes everything. What the bare platform prints is not asked.
echo 'pcm.!default { type null }' >"$XDG_RUNTIME_DIR/asound.conf"
# shellcheck disable=SC2016 # expanded by the inner shell
expect "a start on which Qt warns" 124 "" env QT_QPA_PLATFORM=offscreen \
    QT_SCALE_FACTOR_ROUNDING_POLICY=nonsense ALSA_CONFIG_PATH="$XDG_RUNTIME_DIR/asound.conf" \
    bash -c 'timeout 2 "$0" 2>/dev/null' "$BIN"
exit $((failures > 0))
