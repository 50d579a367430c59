#!/usr/bin/env bash
# Gathers the programs and the delivered files into nocturo-<version>/ and zips
# it with SHA-256 sums; the same sources give the same bytes.
#   scripts/package.sh [OUT]   (OUT defaults to build/)
set -euo pipefail
cd "$(dirname "$0")/.."
version=3.0.5.1
out=${1:-build}
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-1767225600}
name=nocturo-$version
zip=$out/$name-win32.zip
mkdir -p "$out"
rm -rf "${out:?}/$name" "$zip"
mkdir -p "$out/$name"
for program in nocturo panelblank nocturotray nocturodaemon panelprobe; do
  cp "build/win32/package/$program.exe" "$out/$name/"
done
cp dist/startnocturotray.vbs dist/startnocturodaemon.vbs dist/tpinfo.ini dist/info.ini dist/README.txt "$out/$name/"
sums=$(cd "$out/$name" && LC_ALL=C ls | xargs sha256sum --)
echo "$sums" > "$out/$name/SHA256SUMS"
find "$out/$name" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
(cd "$out" && LC_ALL=C find "$name" -type f | LC_ALL=C sort | TZ=UTC zip -q -X -D "$name-win32.zip" -@)
echo "package: $(cd "$out" && pwd)/$name-win32.zip"
