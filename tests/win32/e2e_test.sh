#!/bin/bash
# End-to-end test of the Windows clock under wine on a private desktop and sound server: the
# command line; the icon's clicks and menu in wine's own notification area; then, with an XEmbed
# tray host, two starts at once, the window on top and ticking, speech heard clip by clip from
# "Sprich" and from other processes, hiding to the tray host and back, a burst of requests, the
# sound server frozen in the middle of a word, Alt+F4 in the middle of speech, an own voice; and
# the installer and its uninstaller, also over a running clock with and without an armed alarm.
# Usage: tests/win32/e2e_test.sh LURVENDEL_EXE ARTIFACT_DIR (the installer beside the program)
set -euo pipefail

# shellcheck source=../e2e/lib/desktop.sh
source "$(dirname "$0")/../e2e/lib/desktop.sh"
# shellcheck source=lib/wine.sh
source "$(dirname "$0")/lib/wine.sh"
e2e_begin "$@"

SPRICH=(187 165) HIDE=(248 165) # middles of the buttons, 15 twips a pixel
# The clock's zone puts it at 13:16 now, whatever the time: no quarter hour comes near the run.
utc_minute=$((10#$(date -u +%H) * 60 + 10#$(date -u +%M)))
offset=$(((13 * 60 + 16 - utc_minute + 1440) % 1440))
ZONE=$(printf 'LUR-%02d:%02d' $((offset / 60)) $((offset % 60)))

lurvendel() { TZ=$ZONE wine "$BIN" "$@"; }
ask() { lurvendel "$1" || fail "lurvendel $1 ended with status $?"; }
E2E_PADDED=1

# start_clock ARGS... : the program in the background; E2E_PROGRAM_PID is its process.
start_clock() {
    local n=$((++E2E_PROGRAM_COUNT))
    TZ=$ZONE exec wine "$BIN" "$@" >"$E2E_ARTIFACTS/program-$n.out" 2>"$E2E_ARTIFACTS/program-$n.err" &
    E2E_PROGRAM_PID=$!
}

announcements() { clips times "$1" | grep -c '^13:[12][0-9]:' || true; }


# --- 1. the command line, before any clock runs --------------------------------------------
start_xvfb
start_wine
status=0
lurvendel $'--x\n\e[1m' 2>"$E2E_ARTIFACTS/option.err" || status=$?
check_eq "exit status of an unknown option" "$status" 2
check_eq "an unknown option with control characters" "$(cat "$E2E_ARTIFACTS/option.err")" \
    'lurvendel: unbekannte Option --x\x0a\x1b[1m (lurvendel --help nennt alle)'
check_eq "--help, its first line" "$(lurvendel --help | head -n1)" "Aufruf: lurvendel [OPTION]"
check_eq "/?, its first line" "$(lurvendel '/?' | head -n1)" "Aufruf: lurvendel [OPTION]"
check_eq "--version" "$(lurvendel --version)" "lurvendel 0.1.0"

# Started without a console or a stream to read it (as a Start-menu entry starts it, which wine's
# start does too), the program says what it has to say in a box.
wine start /wait /unix "$BIN" --version &
box=$!
if BOX=$(wait_for_window "Die Lurvendel" 20 "$box"); then
    pass "without a console, --version is said in a box"
    kill "$(xdotool getwindowpid "$BOX")"
else
    fail "without a console, --version is said nowhere"
fi
e2e_wait_exit "$box" 10 || fail "the program whose box went ran on"

start_wm
start_sound

# --- 2. wine's own notification area, where no tray host runs: the icon's clicks --------------
# (wine passes no clicks on the icons it docks into an XEmbed tray host to the program)
start_clock
PID=$E2E_PROGRAM_PID
WIN=$(wait_for_window "$TITLE" 20 "$PID") || e2e_fatal "no window titled '$TITLE'"
click_client "$WIN" "${HIDE[@]}"
check_within "'Verbergen' hides the window" "$PID" 10 not_viewable "$WIN"
AREA=$(wait_for_window "Wine System Tray" 10 "$PID") || e2e_fatal "no icon in wine's notification area"
speaks "a left click on the icon" xdotool mousemove --window "$AREA" 10 10 click 1
sleep 0.6 # two clicks within 0.5 s would make a double click
xdotool mousemove --window "$AREA" 10 10 click 3
check_within "a right click on the icon opens the menu" "$PID" 10 menu_open
xdotool windowfocus "$(menu)" key Up Up Up Return # "Uhr Anzeigen", the third from the bottom
check_within "'Uhr Anzeigen' shows the window" "$PID" 10 viewable "$WIN"
xdotool windowactivate --sync "$WIN" key alt+F4
e2e_wait_exit "$PID" 10 || fail "Alt+F4 did not end the clock"
# Wine's shell looks for a tray host when it starts.
wineserver -k
start_tray
start_wine

# --- 3. two --sprich at once: one clock speaks twice, its window on top and ticking ---------
start_recording "$E2E_ARTIFACTS/two-at-once.wav"
start_clock --sprich
first=$E2E_PROGRAM_PID
start_clock --sprich
clips wait-end "$E2E_ARTIFACTS/two-at-once.wav" 40 || fail "two at once: no end"
stop_recording
check_eq "two --sprich at once: announcements heard" "$(announcements "$E2E_ARTIFACTS/two-at-once.wav")" 2
if e2e_gone "$first"; then caller=$first PID=$E2E_PROGRAM_PID; else caller=$E2E_PROGRAM_PID PID=$first; fi
e2e_wait_exit "$caller" 10 || fail "two clocks run after two starts at once"
check_eq "exit status of the caller that found the clock" "${E2E_EXIT_CODE:-}" 0
WIN=$(wait_for_window "$TITLE" 20 "$PID") || e2e_fatal "no window titled '$TITLE'"
xprop -id "$WIN" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE || fail "the window is not on top"
check_runs_on "shown" "$PID" "$WIN"
start_clock
e2e_wait_exit "$E2E_PROGRAM_PID" 10 || fail "a second clock did not end within 10 s"
check_eq "exit status of a second clock" "${E2E_EXIT_CODE:-}" 0
check_eq "windows titled '$TITLE'" "$(xdotool search --name "^$TITLE\$" | wc -l)" 1

# --- 4. "Sprich", hiding, the clock asked from outside, and back ----------------------------
speaks "'Sprich'" click_client "$WIN" "${SPRICH[@]}"
click_client "$WIN" "${HIDE[@]}"
check_within "'Verbergen' hides the window to the tray host" "$PID" 10 not_viewable "$WIN"
check_within "'Verbergen' puts the icon into the tray host" "$PID" 10 icon_there
speaks "--sprich while hidden" ask --sprich
ask --anzeigen
check_within "--anzeigen shows the window" "$PID" 10 viewable "$WIN"
check_within "--anzeigen takes the icon away" "$PID" 10 icon_gone

# --- 5. a burst: each request taken is one whole announcement, the others hear "busy" --------
start_recording "$E2E_ARTIFACTS/burst.wav"
: >"$E2E_ARTIFACTS/burst.err"
clients=()
for ((i = 0; i < 8; i++)); do
    lurvendel --sprich 2>>"$E2E_ARTIFACTS/burst.err" &
    clients+=($!)
done
taken=0
for client in "${clients[@]}"; do if wait "$client"; then taken=$((taken + 1)); fi; done
clips wait-end "$E2E_ARTIFACTS/burst.wav" 60 || fail "the burst spoke no end"
stop_recording
check_range "requests of a burst of 8 taken" "$taken" 1 3
check_eq "whole announcements for a burst of 8" "$(announcements "$E2E_ARTIFACTS/burst.wav")" "$taken"
check_eq "callers of the burst told the clock is busy" \
    "$(grep -c 'die Uhr ist beschäftigt und nimmt gerade nichts mehr an' "$E2E_ARTIFACTS/burst.err")" \
    $((8 - taken))

# --- 6. the sound server freezes in the middle of a word: the clock goes on ----------------
click_client "$WIN" "${SPRICH[@]}"
sleep 0.25
kill -STOP "$E2E_PULSE_PID"
sleep 3
check_runs_on "the sound server frozen" "$PID" "$WIN"
kill -CONT "$E2E_PULSE_PID"
sleep 2 # the word given up on goes on playing now, from a worker of its own; let it end

# --- 7. Alt+F4 one second into "Sprich": silent within 150 ms, gone within 0.5 s -----------
xdotool windowactivate --sync "$WIN"
check_alt_f4_in_speech "$PID" click_client "$WIN" "${SPRICH[@]}"
for ((i = 1; i <= 3; i++)); do check_quiet "$i"; done

# --- 8. an own "Es ist" at 44.1 kHz in stereo is heard, the built-in words after it at its rate; a
# broken "Uhr" is left built-in --------------------------------------------------------------------
home=$WINEPREFIX/drive_c/users/$(id -un)
kill -TERM "$E2E_PULSE_PID"
e2e_wait_until 5 e2e_gone "$E2E_PULSE_PID" || e2e_fatal "pulseaudio did not stop"
put_own_voice "$home/AppData/Roaming/$TITLE/Stimme"
start_sound # at the voice's rate, which the sink then takes as it is
speaks "--sprich with an own 'Es ist'" start_clock --sprich
lurvendel --beenden-ohne-frage || fail "--beenden-ohne-frage ended with status $?"
e2e_wait_exit "$E2E_PROGRAM_PID" 10 || fail "the clock with an own voice did not end"
check_quiet "$E2E_PROGRAM_COUNT"

# --- 9. the installer and uninstaller: for this user alone, silently; a running clock ended first,
# its own way, and one that stays for its armed alarm keeps every file ----------------------------
setup=$(dirname "$BIN")/lurvendel-setup.exe
folder=$home/AppData/Local/Programs/$TITLE
start_menu=$home/AppData/Roaming/Microsoft/Windows/Start\ Menu/Programs
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Lurvendel'
# shellcheck disable=SC2317
installed() { [[ -f $folder/lurvendel.exe && -f $start_menu/$TITLE.lnk && -f $start_menu/Uhrzeit\ sagen.lnk ]]; }
# shellcheck disable=SC2317
removed() { [[ ! -e $folder && ! -e $start_menu/$TITLE.lnk && ! -e $start_menu/Uhrzeit\ sagen.lnk ]]; }
# A run of the installer or uninstaller, given two minutes: a box waiting for nobody ends it as a
# failure (status 124), not as a test that never ends.
installer_run() { timeout --kill-after=5 120 wine "$@"; }
# check_status WHAT EXPECTED COMMAND... : the command's exit status.
check_status() {
    local status=0
    "${@:3}" || status=$?
    check_eq "$1" "$status" "$2"
}
# The uninstaller as Settings -> Apps runs it copies itself away and returns at once; in place
# ("_?=" and the folder, unquoted, which only a batch file passes as it stands) it returns its own
# status.
# shellcheck disable=SC2317
uninstall_in_place() {
    local windows
    windows=$(winepath -w "$folder")
    printf '@"%s\\Deinstallieren.exe" /S _?=%s\r\n@exit /b %%ERRORLEVEL%%\r\n' "$windows" "$windows" \
        >"$WINEPREFIX/drive_c/uninstall.bat"
    installer_run cmd /c 'C:\uninstall.bat'
}
clock_pid() { xdotool getwindowpid "$(wait_for_window "$TITLE" 20)"; }

check_status "exit status of the installer" 0 installer_run "$setup" /S
check_within "the installer puts the program and its two Start-menu entries in place" "$$" 30 installed
cmp -s "$folder/lurvendel.exe" "$BIN" || fail "the installed program is not the one built"
wine reg query "$key" /v UninstallString >/dev/null 2>&1 || fail "no uninstall entry for the user"
# The installer and uninstaller show the program's icon (its four images, 256 pixels the largest);
# the program's resources are German; Settings -> Apps knows the room it takes.
icons_of() { wrestool -l --type=3 "$1" | grep -o 'size=[0-9]*' | sort | tr '\n' ' '; }
check_eq "the installer's icon images" "$(icons_of "$setup")" "$(icons_of "$BIN")"
check_eq "the uninstaller's icon images" "$(icons_of "$folder/Deinstallieren.exe")" "$(icons_of "$BIN")"
check_eq "resources of the program in another language than German" \
    "$(wrestool -l "$BIN" | grep -vc -- '--language=1031' || true)" 0
size_kib=$(wine reg query "$key" /v EstimatedSize 2>/dev/null | tr -d '\r' |
    awk '/EstimatedSize/ { print $3 }')
check_range "the room the Apps entry gives, in KiB" "$((size_kib))" 500 2000

# An update over a clock that runs the installed program, which an older build stands for: the
# clock ends, the program is replaced, and the clock runs again.
printf x >>"$folder/lurvendel.exe"
wine "$folder/lurvendel.exe" >/dev/null 2>&1 &
before=$(clock_pid) || e2e_fatal "the installed clock shows no window"
check_status "exit status of an update over the running clock" 0 installer_run "$setup" /S
cmp -s "$folder/lurvendel.exe" "$BIN" || fail "the update left the old program in place"
e2e_wait_until 10 e2e_gone "$before" || fail "the clock that ran before the update runs on"
WIN=$(wait_for_window "$TITLE" 20) || e2e_fatal "the clock does not run again after the update"
after=$(xdotool getwindowpid "$WIN")
[[ $after != "$before" ]] || fail "the clock after the update is the one before it"

# An alarm armed in twelve hours: neither an update nor the uninstaller ends the clock, and
# neither changes a file. The entry stands beside the clock only while the window is wide, and
# the window narrows again once the alarm is armed.
# shellcheck disable=SC2317
wide() { (($(client_geometry "$WIN" | cut -d' ' -f3) > 400)); }
# shellcheck disable=SC2317
narrow() { ! wide; }
xdotool windowactivate --sync "$WIN"
click_client "$WIN" 248 132 # "Alarm"
check_within "'Alarm' puts the entry beside the clock" "$after" 10 wide
click_client "$WIN" 357 47 # the alarm entry
xdotool key --delay 30 End BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace \
    BackSpace
xdotool type --delay 30 "$(date -d '+12 hours' +%H:%M:00)"
click_client "$WIN" 361 106 # "Alarm übernehmen"
check_within "'Alarm übernehmen' arms the alarm" "$after" 10 narrow
import -window "$WIN" "$E2E_ARTIFACTS/armed.png"
printf y >>"$folder/lurvendel.exe"
cp "$folder/lurvendel.exe" "$E2E_TMP/marked.exe"
check_status "exit status of an update over an armed alarm" 2 installer_run "$setup" /S
cmp -s "$folder/lurvendel.exe" "$E2E_TMP/marked.exe" || fail "an update over an armed alarm changed the program"
check_status "exit status of the uninstaller over an armed alarm" 2 uninstall_in_place
installed || fail "the uninstaller over an armed alarm removed something"
check_runs_on "its alarm armed, after an update and an uninstall were tried" "$after" "$WIN"

click_client "$WIN" 140 132 # "15 min": an interval ends the alarm
installer_run "$folder/Deinstallieren.exe" /S || fail "the uninstaller ended with status $?"
check_within "the uninstaller removes the program, its folder and the entries" "$$" 30 removed
e2e_wait_until 10 e2e_gone "$after" || fail "the uninstaller left the clock running"
if wine reg query "$key" >/dev/null 2>&1; then fail "the uninstall entry stays"; fi

e2e_finish
