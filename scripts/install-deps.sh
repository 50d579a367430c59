#!/usr/bin/env bash
# Installs what building and testing need on Debian 12; installs nothing that is already there.
set -euo pipefail

packages=(cmake ninja-build g++ libgtest-dev libgmock-dev
          g++-mingw-w64-i686 mingw-w64-i686-dev g++-mingw-w64-x86-64 mingw-w64-x86-64-dev
          wine wine32:i386 wine64 xvfb xauth xdotool locales zip unzip
          imagemagick fonts-wqy-microhei wixl msitools faketime)

missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if ((${#missing[@]})); then
  [ "$(id -u)" = 0 ] || { echo "install-deps: run as root to install: ${missing[*]}" >&2; exit 1; }
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  apt-get update -q
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# Wine takes code page 936 from LC_ALL=zh_CN.UTF-8, which must exist.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
  [ "$(id -u)" = 0 ] || { echo "install-deps: run as root to generate zh_CN.UTF-8" >&2; exit 1; }
  sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi
