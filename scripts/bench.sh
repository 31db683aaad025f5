#!/usr/bin/env bash
# Installs what is missing, builds the Windows program and its benchmark, and
# prints the benchmark's table under Wine. Figures only: nothing is checked.
#
# P2PB_BENCH_DISPLAY=:N uses that X display instead of starting Xvfb;
# P2PB_BENCH_PREFIX=DIR uses that Wine prefix instead of build/win32/wineprefix.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --log-level=WARNING --preset win32
cmake --build --preset win32 --target p2pblocker p2pb_bench p2pb_size_baseline
. scripts/session.sh

prefix="$(realpath -m "${P2PB_BENCH_PREFIX:-build/win32/wineprefix}")"
if [ -n "${P2PB_BENCH_DISPLAY:-}" ]; then
  export DISPLAY="$P2PB_BENCH_DISPLAY"
else
  session_start_display
fi
session_start_wine "$prefix"
wine_run() { scripts/wine-exec.sh --prefix "$prefix" "$@"; }
windows_path() { wine_run winepath -w "$PWD/$1" | tr -d '\r'; }

cpu="$(sed -n 's/^model name[[:space:]]*:[[:space:]]*//p' /proc/cpuinfo | head -n 1)"
echo "machine: $(uname -m), ${cpu:-unknown CPU}, $(wine --version)"
wine_run build/win32/bench/p2pb_bench.exe \
  "$(windows_path build/win32/ui/p2pblocker.exe)" "$(windows_path build/win32/bench/p2pb_size_baseline.exe)"
