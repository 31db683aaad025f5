#!/usr/bin/env bash
# Creates a Wine prefix for this project, or brings an older one up to date:
# wine-prefix.sh DIR
# - Windows open inside Wine's own virtual desktop, so that keys sent with
#   xdotool reach them without a window manager.
# - SimSun, which the Chinese dialog font maps to, is drawn with WenQuanYi
#   Micro Hei: Zen Hei's outlines lose strokes at 11 pixels without smoothing.
set -euo pipefail
prefix="$(realpath -m "$1")"
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=zh_CN.UTF-8
settings=2
[ "$(cat "$prefix/.p2pb-ready" 2>/dev/null)" = "$settings" ] && exit 0
mkdir -p "$prefix"
if [ ! -f "$prefix/system.reg" ]; then
  echo "wine-prefix: creating $prefix"
  wineboot -i >/dev/null 2>&1 </dev/null
fi
wreg() { wine reg "$@" >/dev/null 2>&1 </dev/null; }
wreg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f
wreg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f
wreg add 'HKCU\Software\Wine\Fonts\Replacements' /v SimSun /d 'WenQuanYi Micro Hei' /f
# Stop the server these commands started, so that the caller starts its own
# and knows to stop it; the registry is saved on the way out.
wineserver -k >/dev/null 2>&1 || true
wineserver -w >/dev/null 2>&1 || true
grep -q 'Replacements\]' "$prefix/user.reg" || { echo "wine-prefix: settings not stored" >&2; exit 1; }
echo "$settings" > "$prefix/.p2pb-ready"
