#!/usr/bin/env bash
# Gathers the programs and the delivered files into nocturo-<version>/, zips
# it with SHA-256 sums, and builds the installer of the same files; the same
# sources give the same bytes.
#   scripts/package.sh [OUT] [VERSION]   (OUT defaults to build/; another
#   VERSION gives an installer of that version, for the upgrade tests)
# NOCTURO_PROGRAMS names another folder of built programs (the Wine tests'
# 64-bit twins where this machine runs no 32-bit code). NOCTURO_SIGN_PFX, or
# NOCTURO_SIGN_PKCS11_MODULE, and their companions (scripts/signing.sh) sign
# the programs and the installer, and the signed release is then checked.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/signing.sh
fail() { echo "package: $*" >&2; exit 1; }
version=$(scripts/version.sh)
out=${1:-build}
msi_version=${2:-$version}
# Windows Installer compares the first three fields of a version only: the
# third carries the last two (3.0.5.1 installs as 3.0.501), so a release that
# changes only the fourth still upgrades the one before.
IFS=. read -r major minor patch tweak <<< "$msi_version"
((patch <= 654 && tweak <= 99)) ||
  fail "version $msi_version has no installer version (third field at most 654, fourth at most 99)"
product_version=$major.$minor.$((patch * 100 + tweak))
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-1767225600}
name=nocturo-$version
zip=$out/$name-win32.zip
msi=$out/nocturo-$msi_version-win32.msi
release_sums=$out/$name-SHA256SUMS
programs=${NOCTURO_PROGRAMS:-build/win32/package}
mkdir -p "$out"
rm -rf "${out:?}/$name" "$zip" "$msi" "$release_sums" "$release_sums.p7s"
tmp=$(mktemp -d)
# A build that stops leaves no package behind, nothing half signed.
trap 'rm -rf "$tmp"; [ -n "${packaged:-}" ] || rm -rf "${out:?}/$name" "$zip" "$msi" "$release_sums" "$release_sums.p7s"' EXIT
if signing_on; then check_certificate "$programs/panelprobe.exe"; fi
mkdir -p "$out/$name"
for program in nocturo panelblank nocturotray nocturodaemon panelprobe; do
  cp "$programs/$program.exe" "$out/$name/"
  if signing_on; then sign_file "$out/$name/$program.exe"; fi
done
cp dist/startnocturotray.vbs dist/startnocturodaemon.vbs dist/tpinfo.ini dist/info.ini "$out/$name/"
# CR LF line ends, as every Notepad reads them.
sed "s/@VERSION@/$version/g; s/\r*$/\r/" dist/README.txt > "$out/$name/README.txt"
sums=$(cd "$out/$name" && LC_ALL=C ls | xargs sha256sum --)
echo "$sums" > "$out/$name/SHA256SUMS"
# Fixed modes and times, those of a umask of 022: the zip's bytes whatever the umask.
chmod 755 "$out/$name" "$out/$name"/*.exe
find "$out/$name" -type f ! -name '*.exe' -exec chmod 644 {} +
find "$out/$name" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
(cd "$out" && LC_ALL=C find "$name" -type f | LC_ALL=C sort | TZ=UTC zip -q -X -D "$name-win32.zip" -@)
echo "package: $(cd "$out" && pwd)/$name-win32.zip"

# A GUID fixed by a text: SHA-1 of it, shaped as a name-based GUID.
guid_of() {
  local h
  h=$(printf '%s' "$1" | sha1sum | cut -c1-32)
  printf '%s-%s-5%s-%x%s-%s' "${h:0:8}" "${h:8:4}" "${h:13:3}" $(((0x${h:16:1} & 3) | 8)) "${h:17:3}" "${h:20:12}" |
    tr a-f A-F
}
# wixl takes relative paths only: the zip's files, the icon of Apps & Features
# and the custom action that removes the logon tasks, staged.
cp -a "$out/$name" "$tmp/files"
cp res/nocturo.ico dist/nocturo.wxs "$programs/nocturo_tasks.dll" "$tmp/"
if signing_on; then sign_file "$tmp/nocturo_tasks.dll"; fi
# wixl stamps the clock into the summary and the storage and picks a random
# package code: a fixed clock and codes fixed by the version give the same bytes.
at="$(date -u -d "@$SOURCE_DATE_EPOCH" '+%Y-%m-%d %H:%M:%S')"
product_code=$(guid_of "nocturo product $msi_version")
package_code=$(guid_of "nocturo package $msi_version")
(cd "$tmp" && faketime -f "$at" wixl -D Version="$product_version" -D Release="$msi_version" -D ProductCode="$product_code" \
   -D PackageCode="$package_code" -D SourceDir=files -D IconFile=nocturo.ico -D TasksDll=nocturo_tasks.dll \
   -o nocturo.msi nocturo.wxs 2>wixl.log) || { cat "$tmp/wixl.log" >&2; exit 1; }
# NeverOverwrite (128) and Permanent (16) on the settings files' components.
msiinfo export "$tmp/nocturo.msi" Component |
  awk -F'\t' 'BEGIN {OFS = FS}
       NR > 3 && ($1 == "tpinfo.ini" || $1 == "info.ini") {
         if (int($4 / 128) % 2 == 0) $4 += 128
         if (int($4 / 16) % 2 == 0) $4 += 16
       }
       {print}' > "$tmp/Component.idt"
printf '\r\n\r\n936\t_ForceCodepage\r\n' > "$tmp/_ForceCodepage.idt"
edits=()
# The old version goes once the new one is in (wixl puts it first): what both
# share stays, the settings files above all.
edits+=(-q "UPDATE \`InstallExecuteSequence\` SET \`Sequence\` = 6601 WHERE \`Action\` = 'RemoveExistingProducts'")
# When the programs really go, the settings files and leftover local links go with them.
for row in "RemoveTrayPrefs|tpinfo.ini" "RemoveSettings|info.ini" "RemoveLocalLinks|*.lnk"; do
  edits+=(-q "INSERT INTO \`RemoveFile\` (\`FileKey\`, \`Component_\`, \`FileName\`, \`DirProperty\`, \`InstallMode\`) VALUES ('${row%%|*}', 'nocturo.exe', '${row#*|}', 'INSTALLDIR', 2)")
done
# wixl writes neither the code page nor text outside ASCII: the Start Menu's
# Chinese names go in afterwards, into a database of code page 936.
for row in "TrayShortcut|Nocturo 托盘" "BlankerShortcut|Nocturo 熄屏" "ProbeShortcut|Nocturo 检测" \
           "ReadmeShortcut|Nocturo 说明"; do
  edits+=(-q "UPDATE \`Shortcut\` SET \`Name\` = '${row#*|}' WHERE \`Shortcut\` = '${row%%|*}'")
done
(cd "$tmp" && faketime -f "$at" msibuild nocturo.msi -i Component.idt -i _ForceCodepage.idt "${edits[@]}" &&
   faketime -f "$at" msibuild nocturo.msi -s "Nocturo" "Nocturo" "Intel;2052" "{$package_code}")
if signing_on; then sign_file "$tmp/nocturo.msi"; fi
cp "$tmp/nocturo.msi" "$msi"
# The release's own sums, beside it: the zip and the installer.
(cd "$out" && sha256sum -- "$(basename -- "$zip")" "$(basename -- "$msi")" > "$(basename -- "$release_sums")")
if signing_on; then sign_sums "$release_sums" && check_release "$zip"; fi
packaged=1
echo "installer: $(cd "$out" && pwd)/$(basename -- "$msi")"
