# Shared by the checks that run the real program on a display of their own
# (scripts/smoke, tests/firstrun/run.sh): Xvfb with openbox, the program's
# windows found on it by its pid, waiting, and the processes a run started
# stopped whatever happens.
# shellcheck shell=bash

# The processes a run started, oldest first; orv_stop_started ends them.
ORV_STARTED=()

# How often orv_wait_for polls, in seconds.
ORV_POLL=${ORV_POLL:-0.1}

orv_alive() { kill -0 "$1" 2>/dev/null; }
orv_ended() { ! orv_alive "$1"; }

# orv_wait_for SECONDS COMMAND...: polls COMMAND until it succeeds; false
# when the time is up.
orv_wait_for() {
    local seconds=$1; shift
    local deadline=$((SECONDS + seconds))
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep "$ORV_POLL"
    done
}

# orv_stop_started: ends what ORV_STARTED holds, the newest first (a program
# before the display it draws on): SIGTERM, five seconds to end, then
# SIGKILL. Safe to call more than once.
orv_stop_started() {
    local i pid
    for ((i = ${#ORV_STARTED[@]} - 1; i >= 0; i--)); do
        pid=${ORV_STARTED[i]}
        if kill -TERM "$pid" 2>/dev/null; then
            for _ in $(seq 1 50); do orv_alive "$pid" || break; sleep 0.1; done
            kill -KILL "$pid" 2>/dev/null || true
        fi
        wait "$pid" 2>/dev/null || true
    done
    ORV_STARTED=()
}

# orv_desktop_start DIR WIDTHxHEIGHT SECONDS: Xvfb on a free display of that
# size, and openbox on it, each up within SECONDS; exports DISPLAY (this
# display only: WAYLAND_DISPLAY is unset). Their logs go to DIR; both are
# added to ORV_STARTED. False, saying why, when either does not come up.
orv_desktop_start() {
    local dir=$1 size=$2 seconds=$3 xvfb
    # -displayfd: the server takes a free display number and tells it.
    Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$dir/display" >"$dir/xvfb.log" 2>&1 &
    xvfb=$!
    ORV_STARTED+=("$xvfb")
    _orv_display_known() { [ -s "$dir/display" ] && grep -q '^[0-9]' "$dir/display"; }
    orv_wait_for "$seconds" _orv_display_known || { orv_log "Xvfb gave no display number"; return 1; }
    orv_alive "$xvfb" || { orv_log "Xvfb ended: $(tail -n 3 "$dir/xvfb.log")"; return 1; }
    DISPLAY=":$(head -n 1 "$dir/display")"
    export DISPLAY
    unset WAYLAND_DISPLAY
    openbox --sm-disable --startup "touch $dir/wm-ready" >"$dir/openbox.log" 2>&1 &
    ORV_STARTED+=("$!")
    orv_wait_for "$seconds" test -e "$dir/wm-ready" || { orv_log "openbox did not come up on $DISPLAY"; return 1; }
}

# orv_window PID TITLE: the id of a visible window of process PID whose
# title is TITLE, whole; false when it has none.
orv_window() {
    xdotool search --all --onlyvisible --pid "$1" --name "^$2\$" 2>/dev/null | head -n 1 | grep .
}

# orv_window_count PID TITLE: how many visible windows of that title the
# process PID shows.
orv_window_count() {
    xdotool search --all --onlyvisible --pid "$1" --name "^$2\$" 2>/dev/null | grep -c . || true
}
