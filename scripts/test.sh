#!/usr/bin/env bash
# Runs every test: host tests on the simulated Windows (ASan and UBSan), then
# the Windows builds, then the Wine tests of the real programs.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset host-sanitize >/dev/null
cmake --build --preset host-sanitize
scripts/build.sh
ctest --preset host-sanitize
