# shellcheck shell=bash
# A private headless desktop for end-to-end tests of the real program. A test script (run as
# SCRIPT BINARY ARTIFACT_DIR) sources this, calls e2e_begin "$@" (which runs it again inside a
# session bus and a PID namespace of its own), starts what it needs (start_xvfb, start_wm, ...)
# and ends with e2e_finish. Whatever the run started ends with the namespace.

E2E_LIB_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
E2E_FAILURES=0
E2E_PROGRAM_COUNT=0
export E2E_RATE=${E2E_RATE:-11025}

e2e_log() { printf '[e2e %(%H:%M:%S)T] %s\n' -1 "$*" >&2; }

# --- run set-up ---------------------------------------------------------------------

# e2e_begin BINARY ARTIFACT_DIR : the start of every test script: checks its arguments,
# sets BIN (absolute) and HERE (the tests' directory), then e2e_init.
e2e_begin() {
    if (($# != 2)); then
        echo "usage: $0 BINARY ARTIFACT_DIR" >&2
        exit 2
    fi
    [[ -x $1 ]] || { echo "$0: not an executable: $1" >&2; exit 2; }
    # shellcheck disable=SC2034  # read by the test scripts
    BIN=$(realpath "$1") HERE=${E2E_LIB_DIR%/lib} TITLE="Die Lurvendel"
    # shellcheck disable=SC2034
    CLIPS=$E2E_LIB_DIR/clips.py
    e2e_init "$2" "$0" "$@"
}

# e2e_init ARTIFACT_DIR SCRIPT [ARGS...]
# First call: makes private HOME/XDG dirs, runs SCRIPT ARGS again in the run's namespace and
# exits with its status. Second call (inside): starts the run's record of results.
e2e_init() {
    local art=$1
    shift
    mkdir -p "$art"
    E2E_ARTIFACTS=$(cd "$art" && pwd)
    export E2E_ARTIFACTS
    if [[ -z ${E2E_INNER:-} ]]; then
        _e2e_outer "$(realpath "$1")" "${@:2}"
        exit "$?"
    fi
    : >"$E2E_ARTIFACTS/result.txt"
}

_e2e_outer() {
    E2E_TMP=$(mktemp -d /tmp/lurvendel-e2e.XXXXXXXX)
    export E2E_TMP E2E_INNER=1
    export HOME=$E2E_TMP/home XDG_RUNTIME_DIR=$E2E_TMP/run TMPDIR=$E2E_TMP/tmp
    export XDG_CONFIG_HOME=$HOME/.config XDG_CACHE_HOME=$HOME/.cache XDG_DATA_HOME=$HOME/.local/share
    mkdir -p "$HOME" "$TMPDIR" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME" "$XDG_DATA_HOME"
    mkdir -m 0700 "$XDG_RUNTIME_DIR"
    # Nothing of the caller's desktop may leak into the run.
    unset DISPLAY WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS PULSE_SERVER SESSION_MANAGER XAUTHORITY
    trap 'E2E_RC=$?; rm -rf "$E2E_TMP" || true; exit "$E2E_RC"' EXIT
    trap 'kill -TERM "$E2E_NS_PID" 2>/dev/null' INT TERM
    # When the namespace's first process (a shell, which reaps the orphans) ends, the kernel ends
    # every other one in it; its own /dev/shm keeps what libfaketime and the sound server leave
    # there from outliving it.
    local rc=0 userns=()
    ((EUID == 0)) || userns=(--user --map-root-user)
    unshare "${userns[@]}" --pid --fork --kill-child --mount-proc -- bash -c \
        'mount -t tmpfs tmpfs /dev/shm && dbus-run-session -- bash "$@"; exit $?' bash "$@" &
    E2E_NS_PID=$!
    wait "$E2E_NS_PID" || rc=$?
    # A signal interrupts the first wait; wait again for the real status.
    if ! e2e_gone "$E2E_NS_PID"; then wait "$E2E_NS_PID" || rc=$?; fi
    return "$rc"
}

# True when process PID has ended (gone or a zombie waiting to be reaped).
e2e_gone() {
    local stat
    { read -r stat <"/proc/$1/stat"; } 2>/dev/null || return 0
    stat=${stat##*) }
    [[ ${stat:0:1} == Z ]]
}

_e2e_ms() { echo $((${EPOCHREALTIME//[!0-9]/} / 1000)); }

# e2e_wait_until TIMEOUT_S CMD... : runs CMD every 50 ms until it succeeds.
e2e_wait_until() {
    local deadline=$(($(_e2e_ms) + $(_e2e_secs_to_ms "$1")))
    shift
    until "$@" >/dev/null 2>&1; do
        (($(_e2e_ms) < deadline)) || return 1
        sleep 0.05
    done
}

_e2e_secs_to_ms() { awk -v s="$1" 'BEGIN { printf "%d", s * 1000 }'; }

# shellcheck disable=SC2034  # E2E_EXIT_CODE is read by the test scripts
# e2e_wait_exit PID TIMEOUT_S : waits for the child PID to end; E2E_EXIT_CODE gets its
# status. Returns 1 if it still runs after TIMEOUT_S.
e2e_wait_exit() {
    E2E_EXIT_CODE=
    e2e_wait_until "$2" e2e_gone "$1" || return 1
    E2E_EXIT_CODE=0
    wait "$1" || E2E_EXIT_CODE=$?
}

# --- helpers: display, window manager, tray, sound ---------------------------------

# Starts Xvfb on a free display (1280x800x24, 96 dpi) and exports DISPLAY. -noreset:
# otherwise the server resets when the readiness probe disconnects, and the next
# client started right then cannot connect.
start_xvfb() {
    local attempt
    for attempt in 1 2; do
        _e2e_try_xvfb "$attempt" && return 0
        e2e_log "Xvfb start $attempt failed"
    done
    e2e_fatal "Xvfb did not start (see $E2E_ARTIFACTS/xvfb-*.log)"
}

_e2e_try_xvfb() {
    local fifo=$E2E_TMP/displayfd.$1 fd n pid
    mkfifo "$fifo"
    exec {fd}<>"$fifo"
    Xvfb -displayfd 3 -screen 0 1280x800x24 -dpi 96 -nolisten tcp -noreset 3>"$fifo" \
        >"$E2E_ARTIFACTS/xvfb-$1.log" 2>&1 &
    pid=$!
    if ! read -r -t 15 -u "$fd" n; then
        exec {fd}<&-
        kill -TERM "$pid" 2>/dev/null
        return 1
    fi
    exec {fd}<&-
    export DISPLAY=:$n
    e2e_wait_until 10 xdpyinfo || { kill -TERM "$pid" 2>/dev/null; return 1; }
    e2e_log "Xvfb pid $pid on $DISPLAY"
}

# Starts openbox; ready when the root window names its supporting window and carries
# _OB_THEME: openbox sets the former about a second before it manages windows, and a
# window mapped in between can stay unmapped.
start_wm() {
    _e2e_start_helper openbox _e2e_wm_ready openbox --sm-disable
}

_e2e_wm_ready() {
    xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id # 0x' &&
        xprop -root _OB_THEME | grep -q ' = '
}

# Starts trayer as the system-tray host; ready when _NET_SYSTEM_TRAY_S0 has an owner.
start_tray() {
    _e2e_start_helper trayer _e2e_tray_ready \
        trayer --edge bottom --align right --widthtype request --height 30
}

_e2e_tray_ready() { [[ $(x_selection_owner _NET_SYSTEM_TRAY_S0) != 0x0 ]]; }

x_selection_owner() { /usr/bin/python3 "$E2E_LIB_DIR/x11.py" owner "$1"; }

# _e2e_start_helper NAME READY_CMD CMD... : starts CMD in the background, waits up to
# 10 s for READY_CMD, gives it one more start if it did not get ready.
_e2e_start_helper() {
    local name=$1 ready=$2 attempt pid
    shift 2
    for attempt in 1 2; do
        "$@" >"$E2E_ARTIFACTS/$name-$attempt.log" 2>&1 &
        pid=$!
        if while_running "$pid" 10 "$ready"; then
            e2e_log "$name pid $pid ready"
            return 0
        fi
        e2e_log "$name start $attempt failed"
        kill -TERM "$pid" 2>/dev/null || true
        e2e_wait_until 3 e2e_gone "$pid" || kill -KILL "$pid" 2>/dev/null || true
    done
    e2e_fatal "$name did not get ready (see $E2E_ARTIFACTS/$name-*.log)"
}

# Starts PulseAudio with one null sink "exact" (mono s16le at E2E_RATE, 11025 Hz unless set; no
# rewinds) as the default sink; ready when pactl answers. E2E_PULSE_PID is the daemon's PID.
start_sound() {
    local pa=$E2E_TMP/null.pa attempt
    cat >"$pa" <<EOF
load-module module-native-protocol-unix auth-anonymous=1
load-module module-null-sink sink_name=exact norewinds=1 format=s16le rate=$E2E_RATE channels=1
set-default-sink exact
EOF
    mkdir -p "$XDG_RUNTIME_DIR/pulse"
    for attempt in 1 2; do
        pulseaudio --daemonize=yes --system=false --exit-idle-time=-1 -n -F "$pa" \
            --log-target="file:$E2E_ARTIFACTS/pulseaudio-$attempt.log" || true
        if e2e_wait_until 10 pactl info; then
            E2E_PULSE_PID=$(<"$XDG_RUNTIME_DIR/pulse/pid")
            e2e_log "pulseaudio pid $E2E_PULSE_PID ready"
            return 0
        fi
        e2e_log "pulseaudio start $attempt failed"
        if [[ -s $XDG_RUNTIME_DIR/pulse/pid ]]; then kill -TERM "$(<"$XDG_RUNTIME_DIR/pulse/pid")" 2>/dev/null || true; fi
    done
    e2e_fatal "pulseaudio did not get ready (see $E2E_ARTIFACTS/pulseaudio-*.log)"
}

# start_recording FILE : records the null sink sample-exactly into FILE (WAV, E2E_RATE
# mono s16le); ready once the server lists the recording stream.
start_recording() {
    local before
    before=$(pactl list short source-outputs | wc -l)
    parecord -d exact.monitor --latency-msec=5 --format=s16le --rate="$E2E_RATE" --channels=1 \
        "$1" 2>"$E2E_ARTIFACTS/parecord.log" &
    E2E_RECORD_PID=$!
    e2e_wait_until 10 _e2e_more_source_outputs "$before" ||
        e2e_fatal "parecord did not start recording (see $E2E_ARTIFACTS/parecord.log)"
}

_e2e_more_source_outputs() { (($(pactl list short source-outputs | wc -l) > $1)); }

# shellcheck disable=SC2034  # E2E_RECORD_STOP_TIME is read by the test scripts
# E2E_RECORD_STOP_TIME is the wall time just before the stop: the recording's last sample
# is from then, which ties its sample positions to the wall clock.
stop_recording() {
    E2E_RECORD_STOP_TIME=$EPOCHREALTIME
    kill -TERM "$E2E_RECORD_PID"
    e2e_wait_exit "$E2E_RECORD_PID" 5 || e2e_fatal "parecord did not stop"
}

# put_own_voice FOLDER : an own "Es ist" (0.3 s of a different tone on each side, 16 bit, 44.1 kHz,
# stereo, between silent edges) and a broken "Uhr" in the clock's voice folder FOLDER; the clips
# are then expected as a voice at 44.1 kHz speaks them (E2E_VOICE, E2E_RATE).
put_own_voice() {
    export E2E_VOICE=$1 E2E_RATE=44100
    mkdir -p "$1"
    /usr/bin/python3 - "$1/300.wav" <<'PY'
import math, struct, sys, wave
with wave.open(sys.argv[1], "wb") as w:
    w.setnchannels(2)
    w.setsampwidth(2)
    w.setframerate(44100)
    frames = [(0, 0)] + [(int(8000 * math.sin(i / 10)), int(3000 * math.sin(i / 7)))
                         for i in range(1, 13229)] + [(0, 0)]
    w.writeframes(b"".join(struct.pack("<hh", *f) for f in frames))
PY
    printf 'kein WAV' >"$1/200.wav"
}

# --- the program -------------------------------------------------------------------

# start_program BINARY [FAKETIME [ARGS...]] : starts the program in the background;
# E2E_PROGRAM_PID is its PID, its output goes to program-N.out/.err in the artifacts. FAKETIME
# (for example '@2026-12-07 10:14:50', or empty) starts its clock there; the monotonic clock
# stays real.
start_program() {
    local bin=$1 fake=${2:-} n environment=(ASAN_OPTIONS=detect_leaks=0 QT_QPA_PLATFORM=xcb)
    shift $(($# < 2 ? $# : 2))
    n=$((++E2E_PROGRAM_COUNT))
    # libfaketime is preloaded directly (the faketime wrapper would fork, and its PID would not
    # be the program's); ASan then no longer comes first in the link order.
    [[ -z $fake ]] || environment=(FAKETIME="$fake" FAKETIME_DONT_FAKE_MONOTONIC=1
        LD_PRELOAD=/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1
        ASAN_OPTIONS=detect_leaks=0:verify_asan_link_order=0 QT_QPA_PLATFORM=xcb)
    env "${environment[@]}" "$bin" "$@" >"$E2E_ARTIFACTS/program-$n.out" \
        2>"$E2E_ARTIFACTS/program-$n.err" &
    E2E_PROGRAM_PID=$!
    e2e_log "program start $n: pid $E2E_PROGRAM_PID"
}

# --- windows -----------------------------------------------------------------------

# wait_for_window NAME TIMEOUT_S [PID] : prints the id of the viewable window whose title
# is exactly NAME. With PID, fails at once when that process ends first.
wait_for_window() {
    local re deadline ids
    re=$(_e2e_title_re "$1")
    deadline=$(($(_e2e_ms) + $(_e2e_secs_to_ms "$2")))
    while :; do
        if ids=$(xdotool search --onlyvisible --name "$re" 2>/dev/null); then
            head -n1 <<<"$ids"
            return 0
        fi
        [[ -n ${3:-} ]] && e2e_gone "$3" && return 1
        (($(_e2e_ms) < deadline)) || return 1
        sleep 0.05
    done
}

# _e2e_title_re NAME : an extended regex matching exactly NAME.
_e2e_title_re() {
    # shellcheck disable=SC2001
    echo "^$(sed 's/[][\.*^$+?(){}|]/\\&/g' <<<"$1")\$"
}

# client_geometry WIN : "X Y WIDTH HEIGHT" of the client area, absolute.
client_geometry() {
    xwininfo -id "$1" | awk -F: '
        /Absolute upper-left X/ { x = $2 } /Absolute upper-left Y/ { y = $2 }
        /^ *Width/ { w = $2 } /^ *Height/ { h = $2 }
        END { printf "%d %d %d %d\n", x, y, w, h }'
}

# shellcheck disable=SC2034  # E2E_CLICK_TIME is read by the test scripts
# click_client WIN X Y : moves the pointer to client pixel X,Y of WIN and clicks button 1.
# E2E_CLICK_TIME is the wall time (seconds since the epoch) just before the click.
click_client() {
    local wx wy
    read -r wx wy _ < <(client_geometry "$1")
    xdotool mousemove "$((wx + $2))" "$((wy + $3))"
    E2E_CLICK_TIME=$EPOCHREALTIME
    xdotool click 1
}

# clips ARGS... : clips.py, with --padded where the test set E2E_PADDED (wine's sound stack pads
# silence even inside words); at the lowest priority, so that playback never starves meanwhile.
clips() { nice -n 19 /usr/bin/python3 "$CLIPS" ${E2E_PADDED:+--padded} "$@"; }

# check_heard WHAT REC : the recording holds one whole "Sprich" of 13:1x or 13:2x and no other
# sound: the tests run the program's clock from there.
check_heard() {
    local said times stray
    said=$(clips times "$2")
    times=$(grep -v '^stray' <<<"$said" | tr '\n' ' ')
    if [[ -n ${E2E_PADDED:-} ]]; then
        stray=$(awk '$1 == "stray" && $2 != 0' <<<"$said")
    else
        stray=$(clips find "$2" | awk '$1 == "sound"')
    fi
    if [[ $times =~ ^13:[12][0-9]:[0-9]{2}\ $ && -z $stray ]]; then pass "$1: heard $times"; else
        fail "$1: heard '$times'${stray:+, and sound that is no clip: $stray}"
    fi
}

# speaks WHAT CMD... : CMD makes the clock speak; recorded until its last word, then checked.
speaks() {
    local what=$1 rec=$E2E_ARTIFACTS/speech-$((++E2E_SPOKEN)).wav
    shift
    start_recording "$rec"
    "$@"
    clips wait-end "$rec" 30 || fail "$what: no announcement ended in 30 s"
    stop_recording
    check_heard "$what" "$rec"
}
E2E_SPOKEN=0

# check_alt_f4_in_speech PID CLICK... : CLICK starts an announcement; Alt+F4 one second into it
# ends the program within 0.5 s and its sound within 150 ms (the last sample, on the wall clock,
# against the moment of the close).
check_alt_f4_in_speech() {
    local pid=$1 close gone
    shift
    start_recording "$E2E_ARTIFACTS/closed.wav"
    "$@"
    sleep "$(awk -v c="$E2E_CLICK_TIME" -v n="$EPOCHREALTIME" \
        'BEGIN { d = c + 1 - n; printf "%.3f", (d > 0 ? d : 0) }')"
    close=$EPOCHREALTIME
    xdotool key alt+F4
    e2e_wait_until 2 e2e_gone "$pid" || true
    gone=$EPOCHREALTIME
    sleep 0.5
    stop_recording
    check_range "from Alt+F4 to the process's end in ms" \
        "$(awk -v c="$close" -v g="$gone" 'BEGIN { printf "%d", (g - c) * 1000 }')" 0 500
    check_range "sound after Alt+F4 in ms" "$(clips find \
        "$E2E_ARTIFACTS/closed.wav" | awk -v t="$E2E_RECORD_STOP_TIME" -v c="$close" -v r="$E2E_RATE" '
        $1 == "clip" && $4 > last { last = $4 } $1 == "sound" && $3 > last { last = $3 }
        $1 == "length" { n = $2 } END { printf "%d", (t - (n - last) / r - c) * 1000 }')" -2000 150
}

# check_runs_on WHAT PID WIN : the program lives and its seconds display moves on. While it
# speaks, the display moves between words only: within a second and the longest word, and the
# second of margin a word gets where the sound system holds it.
check_runs_on() {
    local before
    before=$(_e2e_seconds_shown "$3")
    sleep 3
    if ! e2e_gone "$2" && [[ $(_e2e_seconds_shown "$3") != "$before" ]]; then
        pass "$1: the clock runs on"
    else
        fail "$1: the clock stands or has ended"
    fi
}
_e2e_seconds_shown() { import -window "$1" -crop 65x65+200+33 png:- | md5sum; }

# --- the notification area -----------------------------------------------------------

# icon : the id of the program's icon in the tray, a window named after the program; empty
# when there is none.
icon() {
    local w
    for w in $(xdotool search --onlyvisible --classname '^lurvendel$' 2>/dev/null); do
        if [[ $(xdotool getwindowname "$w") == lurvendel ]]; then echo "$w"; fi
    done
}
icon_there() { [[ -n $(icon) ]]; }
icon_gone() { [[ -z $(icon) ]]; }
viewable() { xwininfo -id "$1" 2>/dev/null | grep -q IsViewable; }
not_viewable() { ! viewable "$1"; }

# while_running PID TIMEOUT_S CMD... : waits for CMD to succeed; fails at once when the
# program PID has ended.
while_running() {
    local pid=$1 t=$2
    shift 2
    e2e_wait_until "$t" _done_or_ended "$pid" "$@" && ! e2e_gone "$pid"
}
_done_or_ended() { e2e_gone "$1" || "${@:2}"; }

# check_within WHAT PID TIMEOUT_S CMD... : CMD comes true within TIMEOUT_S while PID lives.
check_within() {
    if while_running "$2" "$3" "${@:4}"; then pass "$1"; else fail "$1: not within $3 s"; fi
}

# --- checks ------------------------------------------------------------------------

pass() {
    echo "PASS: $*" | tee -a "$E2E_ARTIFACTS/result.txt" >&2
}

fail() {
    echo "FAIL: $*" | tee -a "$E2E_ARTIFACTS/result.txt" >&2
    E2E_FAILURES=$((E2E_FAILURES + 1))
}

# e2e_fatal MSG : a failure after which the case cannot go on.
e2e_fatal() {
    fail "$*"
    exit 1
}

# check_range WHAT VALUE LOW HIGH
check_range() {
    if [[ $2 =~ ^-?[0-9]+$ ]] && (($2 >= $3 && $2 <= $4)); then
        pass "$1 is $2 (expected $3..$4)"
    else
        fail "$1 is '$2', expected $3..$4"
    fi
}

# check_eq WHAT ACTUAL EXPECTED
check_eq() {
    if [[ $2 == "$3" ]]; then pass "$1 is '$2'"; else fail "$1 is '$2', expected '$3'"; fi
}

# check_quiet N : run N of the program (program-N.out/.err) wrote nothing at all.
check_quiet() {
    local f bad=()
    for f in "$E2E_ARTIFACTS/program-$1".{out,err}; do [[ ! -s $f ]] || bad+=("${f##*/}"); done
    if ((${#bad[@]} == 0)); then
        pass "program run $1 wrote nothing on stdout or stderr"
    else
        fail "program run $1 wrote output: ${bad[*]} (first line: $(head -n1 "$E2E_ARTIFACTS/${bad[0]}"))"
    fi
}

# check_no_sanitizer_reports : no AddressSanitizer/UBSan report in any program stderr.
check_no_sanitizer_reports() {
    local hits
    hits=$(grep -l -E 'runtime error:|ERROR: (Address|Leak|Undefined)Sanitizer' \
        "$E2E_ARTIFACTS"/program-*.err 2>/dev/null || true)
    if [[ -z $hits ]]; then pass "no sanitizer reports"; else fail "sanitizer reports in: $hits"; fi
}

# e2e_finish : ends the case, failing when any check failed.
e2e_finish() {
    if ((E2E_FAILURES)); then
        echo "$E2E_FAILURES check(s) failed; artifacts in $E2E_ARTIFACTS" >&2
        exit 1
    fi
    echo "all checks passed; artifacts in $E2E_ARTIFACTS" >&2
    exit 0
}
