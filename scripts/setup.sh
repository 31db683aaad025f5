#!/usr/bin/env bash
# Installs what the build and the tests need on Debian or Ubuntu. Does nothing when all is there.
set -euo pipefail

packages=(cmake ninja-build g++ python3 libgtest-dev googletest
          g++-mingw-w64-i686-posix binutils-mingw-w64-i686
          wine wine64 wine32:i386 xvfb xauth xdotool x11-utils imagemagick
          fonts-wqy-zenhei fonts-wqy-microhei fonts-wine locales)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    "${sudo[@]}" dpkg --add-architecture i386
  fi
  "${sudo[@]}" apt-get update -q
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# Wine shows the Chinese captions only with a Chinese locale available.
if ! locale -a 2>/dev/null | grep -qix 'zh_CN.utf8'; then
  echo "setup: generating zh_CN.UTF-8"
  if [ -f /etc/locale.gen ] && grep -q 'zh_CN.UTF-8 UTF-8' /etc/locale.gen; then
    "${sudo[@]}" sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen
    "${sudo[@]}" locale-gen
  else
    "${sudo[@]}" locale-gen zh_CN.UTF-8
  fi
fi
