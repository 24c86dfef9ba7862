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
#      (given ORV-TERMINAL) with a terminal let in and still connected, the
#      folder's MariaDB is stopped and the terminal asks for admission three
#      times: the window tells the operator once ("Cảnh báo", one log line),
#      within 10 s of the first; `scripts/db restart DIR` brings the
#      database back and the terminal is let in again;
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
. "$root/scripts/lib/desktop.sh"

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
# What the program logs when it tells the operator the database is away.
NOTICE='MainWindow: the main database cannot be reached; the window keeps what it shows'

tmp=$(mktemp -d /tmp/orv-firstrun.XXXXXX)
work=$tmp/run
run=""
step="setting up"

fail() {
    echo "firstrun: FAILED while $step: $*" >&2
    exit 1
}

# stop_run: ends a scripts/run still going (SIGTERM, which it passes on and
# after which it stops its MariaDB), then whatever of its process group is
# left: a build, the program, the database.
stop_run() {
    [ -n "$run" ] || return 0
    if orv_alive "$run"; then
        kill -TERM "$run" 2>/dev/null || true
        orv_wait_for 30 orv_ended "$run" || true
    fi
    kill -KILL -- "-$run" 2>/dev/null || true
    wait "$run" 2>/dev/null || true
    run=""
}

cleanup() {
    local status=$?
    stop_run
    orv_db_stop "$work/mariadb" 2>/dev/null || true
    # The terminal, then the display.
    orv_stop_started
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

step="starting Xvfb and openbox"
orv_desktop_start "$tmp" 1366x768 60 || fail "no display"

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
    if ! orv_alive "$run"; then
        # $run stays set: what is left of its process group is ended too.
        local st=0
        wait "$run" || st=$?
        fail "scripts/run ended with status $st, no window"
    fi
    program=$(program_of "$run") || return 1
    orv_window "$program" "$TITLE" >/dev/null
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
    orv_alive "$db" || fail "the local MariaDB (pid $db) is not running"
    kill -TERM "$run"
    orv_wait_for 60 orv_ended "$run" || fail "scripts/run still running 60 s after SIGTERM"
    wait "$run" || st=$?
    run=""
    [ "$st" -eq 0 ] || fail "scripts/run ended with status $st after SIGTERM, 0 expected"
    ! orv_alive "$program" || fail "the program (pid $program) outlived scripts/run"
    orv_wait_for 10 orv_ended "$db" || fail "the local MariaDB (pid $db) outlived scripts/run"
}

# ---- 1. the first start -----------------------------------------------
step="the first scripts/run $work (build included)"
start_run "$tmp/run1.log"
orv_wait_for "$FIRST_TIMEOUT" shown || fail "no main window within $FIRST_TIMEOUT s"
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
orv_wait_for "$AGAIN_TIMEOUT" shown || fail "no main window within $AGAIN_TIMEOUT s"
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
orv_alive "$program" || fail "the program ended"

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
orv_alive "$db_pid" && [ "$(cat "$work/mariadb/server.pid")" = "$db_pid" ] ||
    fail "the running program's MariaDB (pid $db_pid) was stopped or replaced"
[ "$(cat "$work/mariadb/port")" = "$port" ] || fail "the database moved from port $port"
[ "$(wc -l <"$work/log.txt")" -eq "$log_lines" ] || fail "log.txt gained lines: $(tail -n 3 "$work/log.txt")"
orv_alive "$program" || fail "the program ended"
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

    step="stopping the local MariaDB under an admitted terminal"
    # A terminal let in holds a database session. It stays connected and
    # asks again for each line it reads (orv-terminal --again).
    mkfifo "$tmp/terminal.in"
    "$terminal" "127.0.0.1:$tcp" K1 1 --wait 1 --again <"$tmp/terminal.in" >"$tmp/outage-terminal.log" 2>&1 &
    asking=$!
    ORV_STARTED+=("$asking")
    exec {feed}>"$tmp/terminal.in"
    answers() { grep -c "enter response status $1" "$tmp/outage-terminal.log" || true; }
    let_in_once() { [ "$(answers 0)" -ge 1 ]; }
    orv_wait_for 30 let_in_once || fail "the terminal was not let in: $(tail -n 3 "$tmp/outage-terminal.log")"
    [ "$(grep -cF "$NOTICE" "$work/log.txt" || true)" -eq 0 ] || fail "an outage was noticed before the database stopped"
    (cd "$root" && scripts/db stop "$work/mariadb") || fail "scripts/db stop failed"

    step="asking for admission while the database is away"
    # Three times, a second apart; each gets "no database connection", and
    # the window tells the operator once, within 10 s of the first.
    first_ask=$(date +%s.%N)
    (for _ in 1 2 3; do echo enter; sleep 1; done) >&"$feed" &
    asks=$!
    noticed() { grep -qF "$NOTICE" "$work/log.txt"; }
    orv_wait_for 10 noticed || fail "no outage notice in log.txt within 10 s of the first admission"
    notice_after=$(awk -v from="$first_ask" -v to="$(date +%s.%N)" 'BEGIN { printf "%.1f", to - from }')
    wait "$asks" || fail "the terminal stopped reading its questions"
    refused_thrice() { [ "$(answers 1)" -ge 3 ]; }
    orv_wait_for 30 refused_thrice ||
        fail "$(answers 1) of 3 admissions got status 1: $(tail -n 3 "$tmp/outage-terminal.log")"
    [ "$(answers 0)" -eq 1 ] || fail "an admission was let in while the database was away"
    box_shown() { [ "$(orv_window_count "$program" 'Cảnh báo')" -eq 1 ]; }
    orv_wait_for 10 box_shown || fail "$(orv_window_count "$program" 'Cảnh báo') boxes \"Cảnh báo\" shown, 1 expected"
    # Told once, whatever the terminals asked meanwhile.
    sleep 2
    [ "$(grep -cF "$NOTICE" "$work/log.txt")" -eq 1 ] ||
        fail "the outage was noticed $(grep -cF "$NOTICE" "$work/log.txt") times: $(grep -F "$NOTICE" "$work/log.txt" | tail -n 3)"
    [ "$(orv_window_count "$program" 'Cảnh báo')" -eq 1 ] || fail "more than one box \"Cảnh báo\""
    echo "firstrun: outage noticed $notice_after s after the first admission, once"

    step="bringing the local MariaDB back with scripts/db restart $work"
    # Without the terminal's feed: the database it starts would hold it open.
    (cd "$root" && scripts/db restart "$work") {feed}>&- >"$tmp/restart2.log" 2>&1 || fail "$(cat "$tmp/restart2.log")"
    # The terminals try the database again once the journal's replay has
    # found it (every 5 s): asked until let in.
    let_in_again() {
        orv_alive "$asking" || fail "the terminal ended: $(tail -n 3 "$tmp/outage-terminal.log")"
        echo enter >&"$feed"
        sleep 2
        [ "$(answers 0)" -ge 2 ]
    }
    orv_wait_for 60 let_in_again || fail "the terminal was not let in after the database came back: $(tail -n 3 "$tmp/outage-terminal.log")"
    exec {feed}>&-
    orv_wait_for 30 orv_ended "$asking" || fail "the terminal did not end"
    st=0
    wait "$asking" || st=$?
    [ "$st" -eq 0 ] || fail "the terminal ended with status $st"
fi

step="ending the second start with SIGTERM"
end_run

step="checking the logs' lines"
"$root/scripts/check-log" --root "$root" "$tmp/first-log.txt" "$work/log.txt" >&2 ||
    fail "log lines without their location"

step="done"
echo "firstrun: passed"
