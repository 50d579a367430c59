#!/usr/bin/env bash
# Gathers the programs and delivered files into build/nocturo and zips them,
# with SHA-256 sums; the same sources give the same bytes.
set -euo pipefail
cd "$(dirname "$0")/.."
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-1767225600}
out=build/nocturo
rm -rf "$out" build/nocturo-win32.zip
mkdir -p "$out"
cp build/win32/package/*.exe "$out/"
cp dist/info.ini dist/tpinfo.ini dist/README.txt "$out/"
(cd "$out" && sha256sum -- * > SHA256SUMS)
find "$out" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
(cd build && TZ=UTC zip -q -X -D nocturo-win32.zip $(cd nocturo && ls | sed 's|^|nocturo/|' | LC_ALL=C sort))
echo "package: $(pwd)/build/nocturo-win32.zip"
