# Shared by the scripts in scripts/: Debian packages and a private MariaDB.
# shellcheck shell=bash

ORV_PACKAGES=(
    cmake ninja-build g++ pkg-config clang libclang-rt-14-dev
    qtbase5-dev qtbase5-dev-tools qttools5-dev qttools5-dev-tools libqt5svg5-dev
    libqt5sql5-mysql libqt5sql5-sqlite
    libfreeimage-dev libqrcodegencpp-dev libquazip1-qt5-dev
    mariadb-server mariadb-client
    python3 python3-openpyxl
    libopenjp2-tools poppler-utils zxing-cpp-tools libxml2-utils fonts-dejavu-core fonts-liberation2
    xvfb openbox imagemagick librsvg2-bin xdotool x11-utils
)

orv_log() { printf '%s\n' "$*" >&2; }

# orv_install_packages [PACKAGE...]: installs those of ORV_PACKAGES and of the
# extra PACKAGEs that are not there yet; does nothing when all are.
orv_install_packages() {
    local missing=() p installed
    # One query for all: each call reads the whole package database.
    # (A package unknown here makes it fail: it is then missing.)
    installed=" $({ dpkg-query -W -f='${Package} ${Status}\n' "${ORV_PACKAGES[@]}" "$@" 2>/dev/null || true; } \
        | awk '/ install ok installed$/ { printf "%s ", $1 }')"
    for p in "${ORV_PACKAGES[@]}" "$@"; do
        [[ "$installed" == *" $p "* ]] || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    orv_log "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
}

orv_free_port() {
    /usr/bin/python3 - <<'PY'
import socket
s = socket.socket()
s.bind(("127.0.0.1", 0))
print(s.getsockname()[1])
s.close()
PY
}

# orv_port_free PORT: whether nothing listens on loopback PORT.
orv_port_free() {
    /usr/bin/python3 - "$1" <<'PY'
import socket, sys
s = socket.socket()
s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
try:
    s.bind(("127.0.0.1", int(sys.argv[1])))
except OSError:
    sys.exit(1)
finally:
    s.close()
PY
}

# orv_db_account SOCKET KIND PASSWORD [USER] [MAIN] [AUX]: the account USER
# (default orv), over TCP from 127.0.0.1 and through the socket, holds what
# KIND says and nothing more (whatever it held before is taken away):
#   program  what the program's statements use: SELECT, INSERT, UPDATE and
#            DELETE on its main database MAIN (default orv), SELECT on the
#            theory-test database AUX (default quenlor);
#   tests    what the suites' fixtures do besides: create and drop their
#            databases and tables, read every session (PROCESS), create the
#            read-only accounts and grant them what it holds itself.
# Neither holds an administrative privilege (SUPER, CONNECTION ADMIN,
# SHUTDOWN, RELOAD, ...): MariaDB's one connection beyond max_connections
# stays free for root, however many sessions the program holds.
orv_db_account() {
    local sock=$1 kind=$2 pass=$3 user=${4:-orv} main=${5:-orv} aux=${6:-quenlor}
    local host sql=""
    for host in 127.0.0.1 localhost; do
        sql+="CREATE USER IF NOT EXISTS '$user'@'$host' IDENTIFIED BY '$pass';
REVOKE ALL PRIVILEGES, GRANT OPTION FROM '$user'@'$host';
"
        case "$kind" in
            program)
                sql+="GRANT SELECT, INSERT, UPDATE, DELETE ON \`$main\`.* TO '$user'@'$host';
GRANT SELECT ON \`$aux\`.* TO '$user'@'$host';
" ;;
            tests)
                sql+="GRANT SELECT, INSERT, UPDATE, DELETE, CREATE, DROP, ALTER, INDEX, REFERENCES,
    CREATE TEMPORARY TABLES, LOCK TABLES, CREATE VIEW, SHOW VIEW, PROCESS, CREATE USER
    ON *.* TO '$user'@'$host' WITH GRANT OPTION;
" ;;
            *) orv_log "orv_db_account: unknown kind '$kind'"; return 2 ;;
        esac
    done
    mariadb --no-defaults -uroot --socket="$sock" <<<"$sql"
}

# orv_db_start DIR [PASSWORD] [PORT] [ACCOUNT]: starts a private MariaDB with
# its data under DIR (created and initialised when new), listening on
# loopback PORT (default: a free one), with the account orv of kind ACCOUNT
# (orv_db_account: "tests", the default, or "program" for a working
# folder's database). Writes DIR/env with the ORV_DB_* variables the tests
# and the program read, and sources it into the calling shell.
orv_db_start() {
    local dir=$1 pass=${2:-orv-test-pass} port=${3:-} account=${4:-tests}
    mkdir -p "$dir"
    dir=$(cd "$dir" && pwd)
    if [ ! -d "$dir/data/mysql" ]; then
        mariadb-install-db --no-defaults --user="$(id -un)" --datadir="$dir/data" \
            --auth-root-authentication-method=socket --skip-test-db >"$dir/install.log" 2>&1 || {
            cat "$dir/install.log" >&2; return 1; }
    fi
    if [ -z "$port" ]; then
        port=$(orv_free_port)
    elif ! orv_port_free "$port"; then
        orv_log "Port $port on 127.0.0.1 is taken by another program: the MariaDB in $dir cannot start there."
        return 1
    fi
    mariadbd --no-defaults --user="$(id -un)" --datadir="$dir/data" --port="$port" \
        --bind-address=127.0.0.1 --socket="$dir/mysqld.sock" --pid-file="$dir/mysqld.pid" \
        --log-error="$dir/error.log" --max-connections=1000 --innodb-buffer-pool-size=256M \
        --character-set-server=utf8mb4 --collation-server=utf8mb4_unicode_ci &
    echo $! >"$dir/server.pid"
    local i
    for i in $(seq 1 300); do
        mariadb --no-defaults -uroot --socket="$dir/mysqld.sock" -e 'SELECT 1' >/dev/null 2>&1 && break
        if ! kill -0 "$(cat "$dir/server.pid")" 2>/dev/null; then
            orv_log "MariaDB did not start:"; cat "$dir/error.log" >&2; return 1
        fi
        sleep 0.1
    done
    # Reaches the server over TCP with a password, as the program does. An
    # existing account is narrowed to its kind here, at each start.
    orv_db_account "$dir/mysqld.sock" "$account" "$pass" || return 1
    cat >"$dir/env" <<ENV
export ORV_DB_HOST=127.0.0.1
export ORV_DB_PORT=$port
export ORV_DB_USER=orv
export ORV_DB_PASS=$pass
export ORV_DB_SOCKET=$dir/mysqld.sock
ENV
    # shellcheck disable=SC1091
    . "$dir/env"
}

# orv_db_start_kept DIR PASSWORD: starts the MariaDB of a working folder (its
# account of kind "program", see orv_db_account) on
# the port it had before (DIR/port), so that the connection files that point
# at it stay right; the first time, or when another program has taken that
# port, on a free one (ORV_DB_PORT_MOVED=1 then, and the caller rewrites the
# connection files). The port is kept in DIR/port.
orv_db_start_kept() {
    local dir=$1 pass=$2 port=""
    ORV_DB_PORT_MOVED=0
    # One left running (scripts/db restart) holds the data and the port.
    orv_db_stop "$dir"
    if [ -f "$dir/port" ]; then
        port=$(cat "$dir/port")
        if ! orv_port_free "$port"; then
            orv_log "Port $port of the local MariaDB is taken by another program: starting it on a new port."
            port=""
            ORV_DB_PORT_MOVED=1
        fi
    fi
    orv_db_start "$dir" "$pass" "$port" program || return 1
    echo "$ORV_DB_PORT" >"$dir/port"
}

# orv_db_load DIR DATABASE FILE: creates DATABASE when missing and, when it
# has no tables yet, loads FILE into it.
orv_db_load() {
    local dir=$1 db=$2 file=$3
    local sock="$dir/mysqld.sock"
    mariadb --no-defaults -uroot --socket="$sock" -e "CREATE DATABASE IF NOT EXISTS \`$db\` CHARACTER SET utf8mb4" || return 1
    local n
    n=$(mariadb --no-defaults -uroot --socket="$sock" -N -e "SELECT COUNT(*) FROM information_schema.tables WHERE table_schema='$db'") || return 1
    if [ "$n" = "0" ]; then
        mariadb --no-defaults --default-character-set=utf8mb4 -uroot --socket="$sock" "$db" <"$file" || return 1
    fi
}

# orv_db_stop DIR: stops the server started by orv_db_start, by its pid.
orv_db_stop() {
    local dir=$1 pid
    [ -f "$dir/server.pid" ] || return 0
    pid=$(cat "$dir/server.pid")
    if kill -0 "$pid" 2>/dev/null; then
        kill "$pid" 2>/dev/null
        local i
        for i in $(seq 1 200); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
        kill -9 "$pid" 2>/dev/null || true
    fi
    rm -f "$dir/server.pid"
}

# orv_prepare_workdir ROOT WORK: the working folder layout the program reads
# and writes (config/, reportTemplate/, videos/, pdf/, reports/, orv.db). The sample
# settings are copied only where the folder has none, so an operator's edits
# survive the next run; the templates are copied afresh (their XML sources
# stay in the checkout).
orv_prepare_workdir() {
    local root=$1 work=$2 f
    mkdir -p "$work"/{config,reportTemplate,videos,pdf,reports} || return 1
    for f in "$root"/workdir/config/*; do
        [ -e "$work/config/$(basename "$f")" ] || cp "$f" "$work/config/" || return 1
    done
    find "$root/reportTemplate" -maxdepth 1 -type f \( -name '*.xlsx' -o -name '*.lrxml' \) \
        -exec cp {} "$work/reportTemplate/" \;
    # The list of exam videos (orv.db), empty until the centre fills it; a
    # list already there is kept.
    /usr/bin/python3 - "$work/orv.db" <<'PY' || return 1
import sqlite3, sys
db = sqlite3.connect(sys.argv[1])
db.execute("CREATE TABLE IF NOT EXISTS video (id INTEGER PRIMARY KEY, name TEXT NOT NULL, chapter INTEGER NOT NULL, th INTEGER NOT NULL)")
db.commit()
db.close()
PY
}

# orv_write_db_config FILE DATABASE: a connection file (config/connection_mysql.csv
# or config/aux_connection_mysql.csv) naming DATABASE on the server the
# ORV_DB_* variables describe.
orv_write_db_config() {
    printf 'HOST_NAME:127.0.0.1\nPORT_NUMBER:%s\nMYSQL_DB_NAME:%s\nMYSQL_USERNAME:%s\nMYSQL_PASS:%s\n' \
        "$ORV_DB_PORT" "$2" "$ORV_DB_USER" "$ORV_DB_PASS" >"$1"
}
