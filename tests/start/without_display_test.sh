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
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
# expect WHAT STATUS LINE CMD... : CMD ends with STATUS, its stderr being LINE alone.
expect() {
    local what=$1 status=$2 line=$3 got=0
    shift 3
    "$@" 2>"$err" >/dev/null || got=$?
    if [[ $got != "$status" || $(<"$err") != "$line" ]]; then
        fail "$what: status $got, stderr '$(<"$err")'; expected $status, '$line'"
    fi
}
expect "DISPLAY unset" 1 "lurvendel: keine Anzeige erreichbar (DISPLAY ist nicht gesetzt)" \
    env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$BIN"
expect "no server at DISPLAY" 1 "lurvendel: keine Anzeige erreichbar (DISPLAY=:4711)" \
    env -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb DISPLAY=:4711 "$BIN"
expect "an unknown option with control characters" 2 \
    'lurvendel: unbekannte Option --x\x0a\x1b[1m (lurvendel --help nennt alle)' "$BIN" $'--x\n\e[1m'
expect "no server at DISPLAY or WAYLAND_DISPLAY" 1 \
    "lurvendel: keine Anzeige erreichbar (DISPLAY ist nicht gesetzt, WAYLAND_DISPLAY=nirgends-0)" \
    env -u DISPLAY -u QT_QPA_PLATFORM WAYLAND_DISPLAY=nirgends-0 "$BIN"

# The desktop clock started by itself answers as the command would, without a display.
expect "the desktop clock's --version" 0 "" env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb \
    "$(dirname "$BIN")/lurvendel-uhr" --version

# A command that cannot find the desktop clock it would become says so.
mkdir "$XDG_RUNTIME_DIR/bin" && cp "$BIN" "$XDG_RUNTIME_DIR/bin/lurvendel"
expect "no desktop clock beside the command" 1 "lurvendel: die Uhr lässt sich nicht starten \
($XDG_RUNTIME_DIR/bin/../libexec/lurvendel/lurvendel-uhr: No such file or directory)" \
    "$XDG_RUNTIME_DIR/bin/lurvendel" --sprich

# Qt's warnings are no reason to end: the clock runs, takes its socket, speaks as its start asked
# and ends when asked, printing nothing (the bare platform's warnings once it runs included); its
# sound goes to a file.
heard=$XDG_RUNTIME_DIR/heard.raw
echo "pcm.!default { type file slave.pcm { type null } file \"$heard\" format raw }" \
    >"$XDG_RUNTIME_DIR/asound.conf"
rm -f "$XDG_RUNTIME_DIR/lurvendel.socket" # left by the starts above, which ended
QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR_ROUNDING_POLICY=nonsense \
    ALSA_CONFIG_PATH="$XDG_RUNTIME_DIR/asound.conf" timeout 30 "$BIN" --sprich 2>"$XDG_RUNTIME_DIR/clock.err" &
clock=$!
for ((i = 0; i < 100; i++)); do
    [[ -S $XDG_RUNTIME_DIR/lurvendel.socket && -s $heard ]] && break
    sleep 0.1
done
[[ -s $heard ]] || fail "the clock started with --sprich spoke nothing"
# A caller, --help and --version load no toolkit, display or sound library: the command runs the
# desktop clock, which does, only where it is to become the clock.
libraries() {
    LD_DEBUG=libs "$@" 2>&1 >/dev/null | grep -oE 'find library=lib(Qt6|xcb|X11|wayland|asound)[^;]*' |
        sort -u | wc -l
}
for option in --help --version --anzeigen; do
    [[ $(libraries "$BIN" "$option") == 0 ]] || fail "lurvendel $option loads the desktop's libraries"
done
(($(libraries "$(dirname "$BIN")/lurvendel-uhr" --version) >= 3)) ||
    fail "the desktop clock's libraries are not seen"
expect "--beenden of the clock that runs" 0 "" "$BIN" --beenden
status=0
wait "$clock" || status=$?
[[ $status == 0 ]] || fail "the clock ended with status $status"
[[ ! -s $XDG_RUNTIME_DIR/clock.err ]] || fail "the clock printed: $(head -n1 "$XDG_RUNTIME_DIR/clock.err")"

# Under debug the clock names at start each own recording it does not take; started with its
# error stream closed, that line goes nowhere, not into the first file it opens (its lock).
export XDG_DATA_HOME=$XDG_RUNTIME_DIR/data
mkdir -p "$XDG_DATA_HOME/lurvendel/stimme" && printf 'kein WAV' >"$XDG_DATA_HOME/lurvendel/stimme/200.wav"
debug_start() {
    rm -f "$XDG_RUNTIME_DIR/lurvendel.socket" "$XDG_RUNTIME_DIR/lurvendel.lock"
    LURVENDEL_DEBUG=1 QT_QPA_PLATFORM=offscreen ALSA_CONFIG_PATH="$XDG_RUNTIME_DIR/asound.conf" \
        timeout 30 "$(dirname "$BIN")/lurvendel-uhr" &
    for ((i = 0; i < 100; i++)); do [[ -S $XDG_RUNTIME_DIR/lurvendel.socket ]] && break; sleep 0.1; done
    "$BIN" --beenden && wait $!
}
debug_start 2>"$err"
grep -q '^lurvendel: eigene Aufnahme 200.wav nicht genommen: kein WAV' "$err" ||
    fail "under debug the clock did not name the broken recording: $(head -n1 "$err")"
debug_start 2>&-
[[ ! -s $XDG_RUNTIME_DIR/lurvendel.lock ]] || fail "with stderr closed, the lock file got: $(head -c 80 "$XDG_RUNTIME_DIR/lurvendel.lock")"
exit $((failures > 0))
