#!/usr/bin/env bash
# Installs what is missing and builds the Windows program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --log-level=WARNING --preset win32
cmake --build --preset win32
echo "Built the blocking core. The window, and with it build/win32/ui/p2pblocker.exe, comes next."
