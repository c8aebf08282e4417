#!/usr/bin/env bash
# A private PostgreSQL server for the tests, on loopback, in a temporary folder.
#   pg-test-server.sh start INFO_FILE [fsync]   starts it and writes host, port and user to INFO_FILE;
#                                       with fsync it waits for the disk at commits as a real server does
#   pg-test-server.sh stop INFO_FILE    stops it and removes its folder and INFO_FILE
# As root the server runs as the postgres user; otherwise as the calling user.
set -euo pipefail

action=${1:?start or stop}
info=${2:?path of the information file}
durable=${3:-}

bin=/usr/lib/postgresql/15/bin
[ -x "$bin/initdb" ] || bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
[ -x "$bin/initdb" ] || { echo "PostgreSQL is not installed (run scripts/install-deps.sh)" >&2; exit 1; }

as_server() {
  if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}

stop() {
  [ -f "$info" ] || return 0
  local dir
  dir=$(sed -n 's/^dir=//p' "$info")
  if [ -n "$dir" ] && [ -d "$dir/data" ]; then
    as_server "$bin/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null 2>&1 || true
    rm -rf "$dir"
  fi
  rm -f "$info"
}

start() {
  stop # a server left over from an interrupted run
  local dir port
  dir=$(mktemp -d /tmp/sorvanta-pg.XXXXXX)
  mkdir -p "$dir/data" "$dir/sock"
  [ "$(id -u)" -eq 0 ] && chown -R postgres:postgres "$dir"
  port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
  if ! as_server "$bin/initdb" -D "$dir/data" -U postgres -A trust -E UTF8 --locale=C.UTF-8 >"$dir/initdb.log" 2>&1; then
    cat "$dir/initdb.log" >&2
    rm -rf "$dir"
    exit 1
  fi
  # fsync off: the server lives for one test run only (benchmarks may ask for it on).
  local fsync=off
  [ "$durable" = fsync ] && fsync=on
  if ! as_server "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
      -o "-p $port -k $dir/sock -c listen_addresses=127.0.0.1 -c fsync=$fsync" start >/dev/null; then
    cat "$dir/server.log" >&2
    rm -rf "$dir"
    exit 1
  fi
  mkdir -p "$(dirname "$info")"
  printf 'host=127.0.0.1\nport=%s\nuser=postgres\ndir=%s\n' "$port" "$dir" >"$info"
  echo "PostgreSQL started on 127.0.0.1:$port ($dir)"
}

case $action in
  start) start ;;
  stop) stop ;;
  *) echo "usage: $0 start|stop INFO_FILE" >&2; exit 2 ;;
esac
