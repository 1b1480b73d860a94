#!/bin/sh
# Runs a Windows program under Wine for ctest.  Usage: wine-run.sh PREFIX PROGRAM [ARG ...]
# The Wine server and the prefix's services are started once, apart from the caller's output:
# started by the test itself they would hold ctest's output pipe open after the test ends. They
# stop by themselves 30 s after the last program, or at once with: WINEPREFIX=PREFIX wineserver -k
set -e
export WINEPREFIX="$1"
shift
export WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
# The server needs the prefix folder; wineboot fills an empty one.
mkdir -p "$WINEPREFIX"
flock -o "$WINEPREFIX.lock" sh -c 'if wineserver -p30; then wine wineboot; fi' </dev/null >/dev/null 2>&1
exec wine "$@"
