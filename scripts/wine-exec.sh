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
exec wine "$@"
