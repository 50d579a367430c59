#!/usr/bin/env bash
# Installs what building and testing need on Debian 12; installs nothing that is already there.
set -euo pipefail

packages=(cmake ninja-build g++ libgtest-dev libgmock-dev
          g++-mingw-w64-i686 mingw-w64-i686-dev g++-mingw-w64-x86-64 mingw-w64-x86-64-dev
          wine wine32:i386 wine64 xvfb xauth xdotool locales zip unzip
          imagemagick fonts-wqy-microhei wixl msitools faketime osslsigncode openssl
          softhsm2 libengine-pkcs11-openssl xxd python3)

# wine32 runs the shipped 32-bit programs, but only on a kernel that runs 32-bit
# code; elsewhere the Wine tests run the 64-bit twins. Ask the kernel with the
# smallest i386 program there is: exit(0).
probe=$(mktemp)
printf '\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\xb8\x01\x00\x00\x00\x31\xdb\xcd\x80' >"$probe"
chmod +x "$probe"
if ! "$probe" 2>/dev/null; then
  packages=("${packages[@]/wine32:i386}")
fi
rm -f "$probe"

missing=()
for p in "${packages[@]}"; do
  [ -n "$p" ] || continue
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if ((${#missing[@]})); then
  [ "$(id -u)" = 0 ] || { echo "install-deps: run as root to install: ${missing[*]}" >&2; exit 1; }
  if [[ " ${missing[*]} " == *:i386\ * ]]; then
    grep -qx i386 <<< "$(dpkg --print-foreign-architectures)" || dpkg --add-architecture i386
  fi
  # A mirror that is mid-sync fails one index now and then; the others still
  # serve, so retry a few times and then go on with what was fetched.
  for try in 1 2 3; do
    apt-get update -q && break
    echo "install-deps: apt-get update failed (try $try of 3)" >&2
    sleep $((try * 5))
  done
  install() { DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "$@"; }
  # wine32 needs i386 libraries of the very versions the amd64 ones have; a
  # mirror that lags on one architecture cannot give them. Without wine32 the
  # Wine tests run the 64-bit twins, as on a kernel that runs no 32-bit code.
  if ! install "${missing[@]}"; then
    echo "install-deps: going on without the i386 packages (the Wine tests will run the 64-bit programs)" >&2
    rest=()
    for p in "${missing[@]}"; do [[ $p == *:i386 ]] || rest+=("$p"); done
    install "${rest[@]}"
  fi
fi

# Wine takes its ANSI code page from LC_ALL: 936 from zh_CN.UTF-8, and 1252,
# a Western Windows, from en_US.UTF-8. Both locales must exist.
for loc in zh_CN en_US; do
  grep -qi "^$loc\.utf-\?8$" <<< "$(locale -a 2>/dev/null)" && continue
  [ "$(id -u)" = 0 ] || { echo "install-deps: run as root to generate $loc.UTF-8" >&2; exit 1; }
  sed -i "s/^# *$loc.UTF-8 UTF-8/$loc.UTF-8 UTF-8/" /etc/locale.gen
  grep -q "^$loc.UTF-8 UTF-8" /etc/locale.gen || echo "$loc.UTF-8 UTF-8" >> /etc/locale.gen
  generate=1
done
if [ -n "${generate:-}" ]; then locale-gen >/dev/null; fi
