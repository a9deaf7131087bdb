#!/bin/sh
# Starts and stops the Wine session in which the end-to-end tests run the
# Windows program: one persistent wineserver with the Windows services for the
# whole suite, in the Wine prefix that WINEPREFIX names (by default the folder
# "wine" beside brimlow2csv.exe, as the tests assume too).
#
#   wine_session.sh start   creates the prefix if needed and starts the session
#   wine_session.sh stop    ends the session
#
# Without Wine both do nothing: the tests then skip themselves.
#
# Why one session: Wine starts its server and services from the first program
# of a prefix, and those inherit that program's standard streams, so a test
# would wait seconds for its output pipes to close. Started here with the
# streams on /dev/null, they are shared by every test run instead.
#
# Why without CAP_DAC_OVERRIDE: the wineserver, not the program, opens the
# files. Run by root with the override, it would write a read-only file, and
# the read-only test would show nothing. Dropped from its bounding set, file
# permissions bind for every Windows program of the session.
set -eu

wine=${WINE:-wine}
wineserver=${WINESERVER:-wineserver}
: "${BRIMLOW2CSV_WINDOWS_EXE:?BRIMLOW2CSV_WINDOWS_EXE must name brimlow2csv.exe}"
export WINEPREFIX="${WINEPREFIX:-$(dirname "$BRIMLOW2CSV_WINDOWS_EXE")/wine}"
export WINEDEBUG="${WINEDEBUG:--all}"

# The first word of WINE is the command; the rest are its arguments.
set -- "$1" $wine
if ! command -v "$2" >/dev/null 2>&1 || ! command -v "$wineserver" >/dev/null 2>&1; then
  echo "Wine is not installed ($2, $wineserver): the tests of the Windows program skip themselves."
  exit 0
fi
action=$1
shift

case "$action" in
start)
  if [ ! -f "$BRIMLOW2CSV_WINDOWS_EXE" ]; then
    echo "$BRIMLOW2CSV_WINDOWS_EXE is missing: build it with 'make windows' first." >&2
    exit 1
  fi
  mkdir -p "$WINEPREFIX"
  # A server left over from an earlier run may hold the override.
  "$wineserver" -k >/dev/null 2>&1 || true
  "$wineserver" -w >/dev/null 2>&1 || true
  if [ "$(id -u)" = 0 ] && setpriv --bounding-set -dac_override,-dac_read_search \
    "$wineserver" -p </dev/null >/dev/null 2>&1; then
    rights="without root's right to ignore file permissions"
  else
    "$wineserver" -p </dev/null >/dev/null 2>&1
    rights="with the rights of $(id -un)"
  fi
  # The first start of a new prefix fills it, which takes a while.
  "$@" wineboot.exe --init </dev/null >/dev/null 2>&1
  echo "Wine session started in $WINEPREFIX, $rights"
  ;;
stop)
  "$wineserver" -k >/dev/null 2>&1 || true
  echo "Wine session ended"
  ;;
*)
  echo "usage: $0 start|stop" >&2
  exit 2
  ;;
esac
