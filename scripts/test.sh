#!/usr/bin/env bash
# Installs what is missing, builds every preset and runs every test: the
# portable core natively (plain and with sanitizers), then the Windows build
# under Wine against the real Wine registry and window system.
set -uo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh || exit 1
. scripts/session.sh

failed=()
step() {
  local name="$1"
  shift
  echo "=== $name"
  "$@" || failed+=("$name")
}

list_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Policies\Explorer\DisallowRun'

for preset in host host-asan win32; do
  step "configure $preset" cmake --log-level=WARNING --preset "$preset"
  step "build $preset" cmake --build --preset "$preset"
done
for preset in host host-asan; do
  step "test $preset" ctest --preset "$preset"
done

prefix="$PWD/build/win32/wineprefix"
session_start_display
session_start_wine "$prefix"
wreg() { scripts/wine-exec.sh --prefix "$prefix" reg "$@"; }

# The prefix's own list holds entries of its own; no test may change them.
wreg add "$list_key" /v kugou.exe /t REG_SZ /d kugou.exe /f >/dev/null
wreg add "$list_key" /v 1 /t REG_SZ /d notepad.exe /f >/dev/null
wreg export "$list_key" build/win32/list-before.reg /y >/dev/null

step "test win32" ctest --preset win32

wreg export "$list_key" build/win32/list-after.reg /y >/dev/null
if cmp -s build/win32/list-before.reg build/win32/list-after.reg; then
  echo "=== the Wine prefix's own disallow list is unchanged"
else
  echo "=== the Wine prefix's own disallow list was changed by the tests"
  diff <(iconv -f UTF-16 -t UTF-8 build/win32/list-before.reg) <(iconv -f UTF-16 -t UTF-8 build/win32/list-after.reg)
  failed+=("real list untouched")
fi

session_stop
if [ ${#failed[@]} -gt 0 ]; then
  echo "FAILED: ${failed[*]}"
  exit 1
fi
echo "All test steps passed."
