#!/usr/bin/env bash
# The README's first command as a newcomer types it, on a display of its own
# (Xvfb with openbox) and a fresh working folder:
#   1. `scripts/run DIR` builds what is missing, starts the MariaDB of DIR
#      and shows the main window (found through the X server, by the
#      program's pid); SIGTERM to the script ends it with status 0, and
#      neither the program nor its MariaDB is left;
#   2. `scripts/run DIR` again builds nothing ("ninja: no work to do") and
#      shows the window again; with the program running, its MariaDB is
#      stopped and brought back by `scripts/db restart DIR` on its own port;
#      SIGTERM, status 0, nothing left;
#      a third `scripts/run DIR` beside the running program is refused
#      with status 1 within seconds and touches nothing: the MariaDB keeps
#      its pid and port, log.txt gains no line, and (given ORV-TERMINAL) a
#      terminal is let in afterwards;
#   3. both runs' log.txt pass scripts/check-log.
# Between the two starts the folder's database account is given every
# privilege, as scripts/run once made it: the second start narrows it to what
# the program's statements use.
# The second start's time to the window is printed, whole and from the
# program's start (the README's performance table).
#
#   tests/firstrun/run.sh [ORV-TERMINAL]
#   ORV_FIRSTRUN_TIMEOUT=S   bound on the first start, build included (1800)
#
# Runs scripts/run as the caller's environment has it, but with a display:
# QT_QPA_PLATFORM must not be set. Every process started here is stopped
# whatever happens.
set -euo pipefail
# The window's title is matched as UTF-8 text whatever the caller's locale.
export LC_ALL=C.UTF-8
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
. "$root/scripts/lib/common.sh"

for tool in Xvfb openbox xdotool setsid; do
    command -v "$tool" >/dev/null || { echo "firstrun: $tool is missing (scripts/test installs it)" >&2; exit 1; }
done
if [ -n "${QT_QPA_PLATFORM:-}" ]; then
    echo "firstrun: QT_QPA_PLATFORM is set ($QT_QPA_PLATFORM); scripts/run must find the display by itself" >&2
    exit 1
fi

FIRST_TIMEOUT=${ORV_FIRSTRUN_TIMEOUT:-1800}
# A test terminal (tests/support's orv-terminal), to see that a refused
# start left the running program serving; without it that check is skipped.
terminal=${1:-}
# A start on a built tree; generous, the machine may be busy.
AGAIN_TIMEOUT=120
TITLE=Taskveld # the main window (ui/mainwindow.ui)

tmp=$(mktemp -d /tmp/orv-firstrun.XXXXXX)
work=$tmp/run
display_pids=()
run=""
step="setting up"

fail() {
    echo "firstrun: FAILED while $step: $*" >&2
    exit 1
}

alive() { kill -0 "$1" 2>/dev/null; }
ended() { ! alive "$1"; }

# wait_for SECONDS COMMAND...: polls COMMAND until it succeeds; false when
# the time is up.
wait_for() {
    local seconds=$1; shift
    local deadline=$((SECONDS + seconds))
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}

# stop_run: ends a scripts/run still going (SIGTERM, which it passes on and
# after which it stops its MariaDB), then whatever of its process group is
# left: a build, the program, the database.
stop_run() {
    [ -n "$run" ] || return 0
    if alive "$run"; then
        kill -TERM "$run" 2>/dev/null || true
        wait_for 30 ended "$run" || true
    fi
    kill -KILL -- "-$run" 2>/dev/null || true
    wait "$run" 2>/dev/null || true
    run=""
}

cleanup() {
    local status=$? i
    stop_run
    orv_db_stop "$work/mariadb" 2>/dev/null || true
    for ((i = ${#display_pids[@]} - 1; i >= 0; i--)); do
        kill -TERM "${display_pids[i]}" 2>/dev/null || true
        wait "${display_pids[i]}" 2>/dev/null || true
    done
    if [ "$status" -ne 0 ]; then
        echo "firstrun: scripts/run's output (tail):" >&2
        tail -n 30 "$tmp"/run*.log >&2 2>/dev/null || true
        tail -n 20 "$work/log.txt" >&2 2>/dev/null || true
    fi
    rm -rf "$tmp"
    exit "$status"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

step="starting Xvfb"
# -displayfd: the server takes a free display number and tells it.
Xvfb -displayfd 3 -screen 0 1366x768x24 -nolisten tcp 3>"$tmp/display" >"$tmp/xvfb.log" 2>&1 &
display_pids+=($!)
display_known() { [ -s "$tmp/display" ] && grep -q '^[0-9]' "$tmp/display"; }
wait_for 60 display_known || fail "Xvfb gave no display number"
DISPLAY=":$(head -n 1 "$tmp/display")"
export DISPLAY
# On this display only, also when run from a desktop session.
unset WAYLAND_DISPLAY

step="starting openbox on $DISPLAY"
openbox --sm-disable --startup "touch $tmp/wm-ready" >"$tmp/openbox.log" 2>&1 &
display_pids+=($!)
wait_for 60 test -e "$tmp/wm-ready" || fail "openbox did not come up"

# start_run LOG: `scripts/run DIR` as the README gives it, from the
# checkout, in a process group of its own (so that a failed step can end
# all it started); its pid in $run, the time it started in $started.
start_run() {
    started=$(date +%s.%N)
    (cd "$root" && exec setsid scripts/run "$work") >"$1" 2>&1 &
    run=$!
}

# program_of PID: the pid of the orvserver that scripts/run PID started
# (read from /proc: a bare machine may have no ps).
program_of() {
    local stat line
    for stat in /proc/[0-9]*/stat; do
        { read -r line <"$stat"; } 2>/dev/null || continue
        # "pid (name) state ppid ..."
        if [[ $line =~ ^([0-9]+)\ \(orvserver\)\ .\ ([0-9]+)\  ]] && [ "${BASH_REMATCH[2]}" = "$1" ]; then
            echo "${BASH_REMATCH[1]}"
            return 0
        fi
    done
    return 1
}

# shown: whether the program of $run shows its main window; its pid in
# $program. Fails the step when scripts/run has ended.
shown() {
    if ! alive "$run"; then
        # $run stays set: what is left of its process group is ended too.
        local st=0
        wait "$run" || st=$?
        fail "scripts/run ended with status $st, no window"
    fi
    program=$(program_of "$run") || return 1
    xdotool search --all --onlyvisible --pid "$program" --name "^$TITLE\$" >/dev/null 2>&1
}

# seconds_since_start PID: how long the process PID has been running, read
# from the kernel's clock since boot (10 ms steps).
seconds_since_start() {
    local ticks
    ticks=$(awk '{ sub(/^.*\) /, ""); print $20 }' "/proc/$1/stat")
    awk -v ticks="$ticks" -v hz="$(getconf CLK_TCK)" '{ printf "%.2f", $1 - ticks / hz }' /proc/uptime
}

# end_run: SIGTERM to scripts/run, which must end with status 0 and leave
# neither the program nor its MariaDB running.
end_run() {
    local db st=0
    db=$(cat "$work/mariadb/server.pid")
    alive "$db" || fail "the local MariaDB (pid $db) is not running"
    kill -TERM "$run"
    wait_for 60 ended "$run" || fail "scripts/run still running 60 s after SIGTERM"
    wait "$run" || st=$?
    run=""
    [ "$st" -eq 0 ] || fail "scripts/run ended with status $st after SIGTERM, 0 expected"
    ! alive "$program" || fail "the program (pid $program) outlived scripts/run"
    wait_for 10 ended "$db" || fail "the local MariaDB (pid $db) outlived scripts/run"
}

# ---- 1. the first start -----------------------------------------------
step="the first scripts/run $work (build included)"
start_run "$tmp/run1.log"
wait_for "$FIRST_TIMEOUT" shown || fail "no main window within $FIRST_TIMEOUT s"
step="ending the first start with SIGTERM"
end_run
cp "$work/log.txt" "$tmp/first-log.txt"

# The folder's account as scripts/run made it before it was narrowed: every
# privilege. The next scripts/run narrows it.
step="widening the folder's account as an earlier scripts/run left it"
(orv_db_start "$work/mariadb" "$(cat "$work/mariadb/password")" "$(cat "$work/mariadb/port")" program >/dev/null) ||
    fail "the folder's MariaDB did not start"
mariadb --no-defaults -uroot --socket="$work/mariadb/mysqld.sock" \
    -e "GRANT ALL PRIVILEGES ON *.* TO 'orv'@'127.0.0.1' WITH GRANT OPTION" || fail "no GRANT"
orv_db_stop "$work/mariadb"

# ---- 2. the second start ----------------------------------------------
step="the second scripts/run $work"
start_run "$tmp/run2.log"
wait_for "$AGAIN_TIMEOUT" shown || fail "no main window within $AGAIN_TIMEOUT s"
whole=$(awk -v from="$started" -v to="$(date +%s.%N)" 'BEGIN { printf "%.2f", to - from }')
own=$(seconds_since_start "$program")
grep -q '^ninja: no work to do\.$' "$tmp/run2.log" ||
    fail "the second start built again: $(grep -E '^\[[0-9]+/[0-9]+\]' "$tmp/run2.log" | head -n 3 | tr '\n' ' ')"
echo "firstrun: second start, scripts/run to the main window: $whole s, of which the program's own: $own s"

# What the program's statements use, and nothing more.
step="checking the account scripts/run left"
program_sql() {
    mariadb --no-defaults -uorv -p"$(cat "$work/mariadb/password")" -h127.0.0.1 -P"$(cat "$work/mariadb/port")" "$@"
}
program_sql orv -e 'SELECT COUNT(*) FROM khoathi' >/dev/null || fail "the account cannot read the main database"
program_sql quenlor -e 'SELECT COUNT(*) FROM khoahoc' >/dev/null || fail "the account cannot read the theory-test database"
! program_sql orv -e 'CREATE TABLE probe (i INT)' 2>/dev/null || fail "the account may create a table"
! program_sql quenlor -e 'DELETE FROM khoahoc' 2>/dev/null || fail "the account may write the theory-test database"
! program_sql -e 'SET GLOBAL max_connections = 1000' 2>/dev/null || fail "the account may change the server"

step="restarting the local MariaDB with scripts/db restart $work"
port=$(cat "$work/mariadb/port")
orv_db_stop "$work/mariadb"
(cd "$root" && scripts/db restart "$work") >"$tmp/restart.log" 2>&1 || fail "$(cat "$tmp/restart.log")"
[ "$(cat "$work/mariadb/port")" = "$port" ] || fail "the database moved from port $port"
mariadb --no-defaults -uorv -p"$(cat "$work/mariadb/password")" -h127.0.0.1 -P"$port" orv \
    -e 'SELECT COUNT(*) FROM khoathi' >/dev/null || fail "the restarted database does not answer on port $port"
alive "$program" || fail "the program ended"

step="a third scripts/run $work beside the running program"
# Refused at once, touching nothing: the running program keeps its
# database (same server, same port), its log gains no line.
db_pid=$(cat "$work/mariadb/server.pid")
log_lines=$(wc -l <"$work/log.txt")
third_started=$SECONDS
third=0
(cd "$root" && timeout 60 scripts/run "$work") >"$tmp/run3.log" 2>&1 || third=$?
[ "$third" -eq 1 ] || fail "status $third, 1 expected: $(tail -n 3 "$tmp/run3.log")"
[ $((SECONDS - third_started)) -le 10 ] || fail "the refusal took $((SECONDS - third_started)) s"
grep -q 'already runs' "$tmp/run3.log" || fail "it did not say why: $(tail -n 3 "$tmp/run3.log")"
alive "$db_pid" && [ "$(cat "$work/mariadb/server.pid")" = "$db_pid" ] ||
    fail "the running program's MariaDB (pid $db_pid) was stopped or replaced"
[ "$(cat "$work/mariadb/port")" = "$port" ] || fail "the database moved from port $port"
[ "$(wc -l <"$work/log.txt")" -eq "$log_lines" ] || fail "log.txt gained lines: $(tail -n 3 "$work/log.txt")"
alive "$program" || fail "the program ended"
if [ -n "$terminal" ]; then
    # A candidate of a running course, let in by the program that was left alone.
    mariadb --no-defaults -uroot --socket="$work/mariadb/mysqld.sock" orv <<'SQL' || fail "no course could be made"
INSERT INTO tinh VALUES ('T1', 'Hà Nội');
INSERT INTO donvi VALUES ('U1', 'T1', 'Trung tâm Một');
INSERT INTO khoathi (IDKhoaHoc, TenKhoaHoc, IDDonVi, NgayThi, TrangThai, TrungTam)
    VALUES ('K1', 'Khóa 01/2026', 'U1', CURDATE(), 2, 'Sân sát hạch Một');
INSERT INTO thisinh (IDThiSinh, HoTen, GioiTinh, NgaySinh, SoCMT)
    VALUES (1, 'Nguyễn Văn Một', 'M', '1990-05-17', '001234567801');
INSERT INTO khoathi_thisinh (ID, IDKhoaHoc, IDThiSinh, SoBaoDanh, LoaiBang, TrangThai, NoiDungSH,
                             DiemMoPhong, DiemChuanMoPhong)
    VALUES (1, 'K1', 1, '1', 'B2', 0, '1', -1, 35);
SQL
    tcp=$(sed -n 's/^SERVER://p' "$work/config/connection_tcp.csv" | tr -d '\r')
    timeout 60 "$terminal" "127.0.0.1:$tcp" K1 1 --wait 2 >"$tmp/terminal.log" 2>&1 || true
    grep -q 'enter response status 0' "$tmp/terminal.log" ||
        fail "a terminal was not let in after the refused start: $(tail -n 3 "$tmp/terminal.log")"
fi

step="ending the second start with SIGTERM"
end_run

step="checking the logs' lines"
"$root/scripts/check-log" --root "$root" "$tmp/first-log.txt" "$work/log.txt" >&2 ||
    fail "log lines without their location"

step="done"
echo "firstrun: passed"
