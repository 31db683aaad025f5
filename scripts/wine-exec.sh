#!/usr/bin/env bash
# Runs a Windows program under Wine: wine-exec.sh [--prefix DIR] program.exe [args...]
# CMake uses this as the emulator for the Windows build's tests.
set -eu
if [ "${1:-}" = --prefix ]; then
  export WINEPREFIX="$2"
  shift 2
fi
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export LC_ALL=zh_CN.UTF-8
# The first Wine process of a server starts the prefix's services, and they
# keep its output open: a caller that waits for end of output, as ctest does,
# would wait for ever. With no server running, start one and let a process
# with no output bring the services up.
if [ -n "${WINEPREFIX:-}" ] && wineserver -p30 >/dev/null 2>&1 </dev/null; then
  wine reg.exe query 'HKCU\Software\Wine' >/dev/null 2>&1 </dev/null || true
fi
exec wine "$@"
