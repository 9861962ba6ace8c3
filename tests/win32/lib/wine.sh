# shellcheck shell=bash
# Wine for a run of the end-to-end library (tests/e2e/lib/desktop.sh): a prefix of the run's own,
# whose server runs until the run ends, and the icons wine docks into the tray host.

# start_wine : makes the prefix and starts its server; WINEPREFIX and WINEDEBUG are exported.
start_wine() {
    export WINEPREFIX=$E2E_TMP/wineprefix WINEDEBUG=-all
    # Without the folder the server quits at once, and wine starts one that quits when idle.
    mkdir -p "$WINEPREFIX"
    wineserver -f -p >"$E2E_ARTIFACTS/wineserver.log" 2>&1 &
    local server=$!
    wineboot -i >"$E2E_ARTIFACTS/wineboot.log" 2>&1 || e2e_fatal "wineboot failed (see wineboot.log)"
    if e2e_gone "$server"; then e2e_fatal "no wine server (see wineserver.log)"; fi
    e2e_log "wine prefix ready"
}

# icon : the clock's icon docked in the tray host (a window of wine's shell); empty when none.
icon() {
    local panel w
    panel=$(xdotool search --name '^panel$' | head -n1)
    [[ -n $panel ]] || return 0
    for w in $(xwininfo -tree -id "$panel" | awk '/explorer.exe/ { print $1 }'); do
        if viewable "$w"; then echo "$w"; fi
    done
}
icon_there() { [[ -n $(icon) ]]; }
icon_gone() { [[ -z $(icon) ]]; }

# menu : the clock's open popup menu, a window without a name; empty when none.
menu() {
    local w
    for w in $(xdotool search --onlyvisible --classname '^lurvendel.exe$' 2>/dev/null); do
        if [[ -z $(xdotool getwindowname "$w") ]]; then echo "$w"; fi
    done
}
menu_open() { [[ -n $(menu) ]]; }
