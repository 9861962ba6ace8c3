# shellcheck shell=bash
# Helpers for the tests of the notification-area icon and the info box; source after
# desktop.sh and set PID to the program's process id.
# shellcheck disable=SC2317  # the small helpers are called through e2e_wait_until

INFO_TITLE="Die Lurvendel   -    Info "
INFO_FIRST="Die Sprach- und Alarmausgabe funktioniert auch bei "
# shellcheck disable=SC2034  # used by the test scripts
HIDE_X=248 HIDE_Y=165 # middle of "Verbergen" (client px 216..281, 156..175)
# shellcheck disable=SC2034
INFO_X=148 INFO_Y=165 # middle of "I" (client px 140..157, 156..175)

# icon : the id of the program's icon embedded in trayer; empty when there is none.
icon() { /usr/bin/python3 "$E2E_LIB_DIR/x11.py" icon lurvendel trayer; }
icon_there() { [[ -n $(icon) ]]; }
icon_gone() { [[ -z $(icon) ]]; }
viewable() { xwininfo -id "$1" 2>/dev/null | grep -q IsViewable; }
not_viewable() { ! viewable "$1"; }
focused() { (($(xdotool getwindowfocus 2>/dev/null) == $1)); }

# while_running TIMEOUT_S CMD... : waits for CMD to succeed; fails at once when the
# program has ended.
while_running() {
    local t=$1
    shift
    e2e_wait_until "$t" _done_or_ended "$@" && ! e2e_gone "$PID"
}
_done_or_ended() { e2e_gone "$PID" || "$@"; }

# ended : a note for a failure message when the program is no longer there.
ended() { if e2e_gone "$PID"; then echo " - the program has ended, see program-1.err"; fi; }

# check_info_box HOW : the info box opened by HOW: its title, its text over AT-SPI, and
# Return closes it.
check_info_box() {
    local box text
    box=$(wait_for_window "$INFO_TITLE" 10 "$PID") ||
        { fail "no info box titled '$INFO_TITLE' within 10 s after $1$(ended)"; return; }
    pass "info box '$INFO_TITLE' opened by $1"
    text=$(/usr/bin/python3 "$E2E_LIB_DIR/atspi.py" alert "$PID" "$INFO_TITLE" 10) || true
    printf '%s\n' "$text" >"$E2E_ARTIFACTS/info-text.txt"
    check_eq "first line of the info text ($1)" "$(head -n1 <<<"$text")" "$INFO_FIRST"
    check_eq "lines of the info text ($1)" "$(wc -l <<<"$text")" 12
    if ! while_running 10 focused "$box"; then
        fail "info box ($1) did not get the keyboard focus within 10 s$(ended)"
        return
    fi
    xdotool key Return
    if while_running 10 not_viewable "$box"; then
        pass "Return closed the info box ($1)"
    else
        fail "info box ($1) still open 10 s after Return$(ended)"
    fi
}
