#!/usr/bin/env bash
# Creates (once) a Wine prefix for this project: wine-prefix.sh DIR
# Windows open inside Wine's own virtual desktop, so that keys sent with
# xdotool reach them without a window manager.
set -euo pipefail
prefix="$(realpath -m "$1")"
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=zh_CN.UTF-8
[ -f "$prefix/.p2pb-ready" ] && exit 0
mkdir -p "$prefix"
echo "wine-prefix: creating $prefix"
wineboot -i >/dev/null 2>&1 </dev/null
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1 </dev/null
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1 </dev/null
wineserver -w
grep -q '"Default"="1024x768"' "$prefix/user.reg" || { echo "wine-prefix: virtual desktop not set" >&2; exit 1; }
touch "$prefix/.p2pb-ready"
