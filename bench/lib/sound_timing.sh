# shellcheck shell=bash
# Sound and display timing on the private desktop of desktop.sh: a recording tied to the
# wall clock, clicks timed at their release, and the seconds display watched over AT-SPI (as
# a screen reader reads it) or by its pixels (as the X server shows it).
#
# Usage, after sourcing desktop.sh and starting Xvfb and the sound server:
#   start_timed_recording "$E2E_ARTIFACTS/a.wav"
#   timed_click "$WIN" 187 165            # CLICK_TIME: wall time of the button release
#   ... stop_timed_recording
#   sample_wall_time "$E2E_ARTIFACTS/a.wav" 51462    # when the sink played that sample
#   start_seconds_watch "$E2E_PROGRAM_PID" "$E2E_ARTIFACTS/seconds.log" 0.1
#   display_standstill "$E2E_ARTIFACTS/seconds.log" FROM TO

SOUND_TIMING_LIB=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# start_timed_recording FILE : records the null sink into FILE (like start_recording) and
# notes the arrival time of every block, so that sample positions map to wall times;
# TIMED_RECORD_PID is the recorder's PID. Ready once the first samples have arrived.
start_timed_recording() {
    local out=$1.out
    /usr/bin/python3 "$SOUND_TIMING_LIB/timed_record.py" "$1" >"$out" 2>&1 &
    TIMED_RECORD_PID=$!
    e2e_wait_until 10 grep -qx ready "$out" ||
        e2e_fatal "the timed recorder did not start (see $out)"
}

stop_timed_recording() {
    kill -TERM "$TIMED_RECORD_PID"
    e2e_wait_exit "$TIMED_RECORD_PID" 10 || e2e_fatal "the timed recorder did not stop"
    ((E2E_EXIT_CODE == 0)) || e2e_fatal "the timed recorder failed (exit $E2E_EXIT_CODE)"
}

# sample_wall_time FILE K... : the wall time at which the sink played sample K of FILE.
sample_wall_time() { /usr/bin/python3 "$SOUND_TIMING_LIB/timed_record.py" at "$@"; }

# shellcheck disable=SC2034  # CLICK_TIME is read by the scripts
# timed_click WIN X Y : clicks client pixel X,Y of WIN; CLICK_TIME is the wall time just
# before the button's release, on which a push button acts.
timed_click() {
    local wx wy before _
    read -r wx wy _ < <(client_geometry "$1")
    read -r before _ \
        < <(/usr/bin/python3 "$SOUND_TIMING_LIB/measure_x11.py" click "$((wx + $2))" "$((wy + $3))")
    CLICK_TIME=$before
}

# _start_watch OUT WHAT CMD... : starts a reader that prints "ready" once it reads; WATCH_PID.
_start_watch() {
    local out=$1 what=$2
    shift 2
    "$@" >"$out" 2>&1 &
    WATCH_PID=$!
    e2e_wait_until 25 grep -qx ready "$out" || e2e_fatal "$what did not start (see $out)"
}

_stop_watch() {
    kill -TERM "$1" 2>/dev/null || true
    e2e_wait_exit "$1" 10 || e2e_fatal "$2 did not stop"
}

# start_seconds_watch PID LOG PERIOD_S : reads the seconds display of PID every PERIOD_S
# (0: back to back) into LOG; SECONDS_WATCH_PID is the reader's PID.
start_seconds_watch() {
    _start_watch "$2.out" "the seconds watcher over AT-SPI" \
        /usr/bin/python3 "$SOUND_TIMING_LIB/atspi.py" watch "$1" "$2" "$3"
    SECONDS_WATCH_PID=$WATCH_PID
}
stop_seconds_watch() { _stop_watch "$SECONDS_WATCH_PID" "the seconds watcher"; }

# start_display_watch WIN LOG PERIOD_S : reads the pixels of the seconds display of WIN every
# PERIOD_S as the X server shows them, into LOG (as start_seconds_watch, the digest of the
# pixels for the text); DISPLAY_WATCH_PID is the reader's PID.
start_display_watch() {
    # Label6: twips 120+2880, 260+240 in the window, 975 square; 15 twips a pixel.
    _start_watch "$2.out" "the display watcher" \
        /usr/bin/python3 "$SOUND_TIMING_LIB/display_watch.py" "$1" 200 33 65 65 "$2" "$3"
    DISPLAY_WATCH_PID=$WATCH_PID
}
stop_display_watch() { _stop_watch "$DISPLAY_WATCH_PID" "the display watcher"; }

# display_changed LOG : true once LOG has seen the display change (a stretch is measured only
# from a change on).
display_changed() { (($(awk '{ print $3 }' "$1" | uniq | wc -l) > 1)); }

# display_standstill LOG [FROM [TO]] : "LONGEST_S SINCE UNTIL BEFORE AFTER STRETCHES FIRST",
# the longest time between two changes of the seconds display among the stretches that ended
# within FROM..TO (with TO, the one still going on counts up to TO); FIRST is the time of the
# first change in LOG.
display_standstill() { /usr/bin/python3 "$SOUND_TIMING_LIB/atspi.py" standstill "$@"; }

# longest_unanswered LOG FROM TO : "MS SENT ANSWERED", the read that waited longest for the
# program's UI thread among those pending between FROM and TO.
longest_unanswered() { /usr/bin/python3 "$SOUND_TIMING_LIB/atspi.py" longest-read "$@"; }

# ui_busy LOG AT : "LONGEST_MS SETTLED_MS" after wall time AT in back-to-back reads: the
# longest the UI thread left a read unanswered, and when it answered at once again.
ui_busy() { /usr/bin/python3 "$SOUND_TIMING_LIB/atspi.py" busy "$@"; }

# wall_plus T SECONDS : wall time T plus SECONDS.
wall_plus() { awk -v a="$1" -v d="$2" 'BEGIN { printf "%.6f\n", a + d }'; }

# ms_between T1 T2 : milliseconds from wall time T1 to T2.
ms_between() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f\n", (b - a) * 1000 }'; }

# sleep_until T : sleeps until wall time T (at once when it has passed).
sleep_until() {
    sleep "$(awk -v t="$1" -v n="$EPOCHREALTIME" \
        'BEGIN { d = t - n; printf "%.3f", (d > 0 ? d : 0) }')"
}

# close_window WIN : asks the window manager to close WIN, as the title bar's close button does.
close_window() { /usr/bin/python3 "$SOUND_TIMING_LIB/measure_x11.py" close "$1"; }

# program_snapshot PID : saves what a stuck program was doing into the artifacts: the window
# tree, and its threads' stacks when gdb is installed.
program_snapshot() {
    xwininfo -root -tree >"$E2E_ARTIFACTS/windows-$1.txt" 2>&1 || true
    if command -v gdb >/dev/null; then
        gdb -batch -p "$1" -ex "thread apply all bt" >"$E2E_ARTIFACTS/stacks-$1.txt" 2>&1 || true
    fi
}
