#!/usr/bin/env bash
# Builds the Windows programs (32-bit package, and the 64-bit twin the Wine
# tests use where 32-bit code cannot run), then packages them.
set -euo pipefail
cd "$(dirname "$0")/.."
for preset in win32 win64; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done
scripts/package.sh
