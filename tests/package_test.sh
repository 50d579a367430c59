#!/usr/bin/env bash
# The package a user downloads: exactly its files, each sum right, nothing of
# one blanker's texts in the other, a read-me Notepad shows, ASLR, DEP and
# terminal-server awareness on every program; an installer of exactly the
# zip's files whose shortcuts all work in the installation folder; the same
# bytes of both when made again.
set -euo pipefail
cd "$(dirname "$0")/.."
fail() { echo "FAIL: $*"; exit 1; }
# The unsigned default, whatever this shell was given to sign with.
for variable in $(compgen -e | grep '^NOCTURO_SIGN_' || true); do unset "$variable"; done
version=$(scripts/version.sh)
name=nocturo-$version
zip=build/$name-win32.zip
[ -f "$zip" ] || fail "no $zip: run scripts/build.sh first"

expected=$(printf "$name/%s\n" README.txt SHA256SUMS info.ini nocturo.exe nocturodaemon.exe \
  nocturotray.exe panelblank.exe panelprobe.exe startnocturodaemon.vbs startnocturotray.vbs tpinfo.ini)
actual=$(unzip -Z1 "$zip" | LC_ALL=C sort)
[ "$actual" = "$expected" ] || fail "files differ:"$'\n'"$(diff <(echo "$expected") <(echo "$actual"))"

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
unzip -q "$zip" -d "$tmp/a"
(cd "$tmp/a/$name" && sha256sum --quiet -c SHA256SUMS) || fail "a sum does not match"
[ "$(wc -l < "$tmp/a/$name/SHA256SUMS")" = 10 ] || fail "SHA256SUMS lists not every other file"

grep -q 'tp1\.0' "$tmp/a/$name/nocturo.exe" && fail "nocturo.exe holds the tray edition's banner"
grep -qa 'tp1\.0' "$tmp/a/$name/panelblank.exe" || fail "panelblank.exe lacks its banner"
grep -qaP "Nocturo v${version//./\\.}\\x00" "$tmp/a/$name/panelblank.exe" && fail "panelblank.exe holds the plain banner"
grep -qaP "Nocturo v${version//./\\.}\\x00" "$tmp/a/$name/nocturo.exe" || fail "nocturo.exe lacks its banner"
[ "$(head -c3 "$tmp/a/$name/README.txt" | od -An -tx1 | tr -d ' ')" = efbbbf ] || fail "README.txt has no byte-order mark"
grep -qv $'\r$' "$tmp/a/$name/README.txt" && fail "README.txt has a line without CR LF"
grep -q "^.Nocturo $version"$'\r$' "$tmp/a/$name/README.txt" && ! grep -q @VERSION@ "$tmp/a/$name/README.txt" ||
  fail "README.txt does not name this version"
grep -q 'daemon=0' "$tmp/a/$name/info.ini" || fail "the example info.ini must leave the daemon off"

# Windows' KnownDLLs (Session Manager\KnownDLLs), which it loads from its own
# copies only: any other DLL a program imports is looked for beside it first.
known_dlls='ADVAPI32 CLBCATQ COMBASE COMDLG32 COML2 GDI32 GDIPLUS IMAGEHLP IMM32 KERNEL32 MSCTF MSVCRT NORMALIZ
            NSI OLE32 OLEAUT32 PSAPI RPCRT4 SECHOST SETUPAPI SHCORE SHELL32 SHLWAPI USER32 WLDAP32 WS2_32'
imports() { i686-w64-mingw32-objdump -p "$1" | awk '/DLL Name/ {name = toupper($3); sub(/\.DLL$/, "", name); print name}'; }
# The elevated programs import KnownDLLs only: a DLL planted beside a copy
# would otherwise run as administrator before the program's first line.
for exe in nocturo.exe panelblank.exe nocturotray.exe nocturodaemon.exe; do
  list=$(imports "$tmp/a/$name/$exe")
  [ -n "$list" ] || fail "$exe: no imports read"
  for dll in $list; do
    [[ " $(echo $known_dlls) " == *" $dll "* ]] || fail "$exe imports $dll, which Windows does not pin (KnownDLLs)"
  done
done

for exe in "$tmp/a/$name"/*.exe; do
  flags=$(i686-w64-mingw32-objdump -p "$exe" | sed -n '/^DllCharacteristics/,/^SizeOfStackReserve/p')
  for flag in DYNAMIC_BASE NX_COMPAT TERMINAL_SERVICE_AWARE; do
    grep -q "$flag" <<< "$flags" || fail "$(basename "$exe") lacks $flag"
  done
done

msi=build/$name-win32.msi
[ -f "$msi" ] || fail "no $msi"
table() { msiinfo export "$msi" "$1" | tail -n +4 | tr -d '\r'; }
installed=$(table File | cut -f3 | sed 's/.*|//' | LC_ALL=C sort)
zipped=$(unzip -Z1 "$zip" | sed "s|^$name/||" | LC_ALL=C sort)
[ "$installed" = "$zipped" ] || fail "the installer's files differ from the zip's:"$'\n'"$(diff <(echo "$zipped") <(echo "$installed"))"
[ "$(table Shortcut | wc -l)" = 4 ] || fail "the installer has not four shortcuts"
table Shortcut | awk -F'\t' '$12 == "INSTALLDIR" {n++} END {exit n != 4}' || fail "a shortcut works elsewhere"
grep -qx $'ALLUSERS\t1' <<< "$(table Property)" || fail "the installer is not per machine"
table Component | awk -F'\t' '($1 == "tpinfo.ini" || $1 == "info.ini") &&
  int($4 / 128) % 2 == 1 && int($4 / 16) % 2 == 1 {n++} END {exit n != 2}' ||
  fail "a settings file may be overwritten, or go with an upgrade"
# The links' removal runs as the user (no 2048, "no impersonation"), and every
# tool is taken from the 64-bit system folder where Windows has one.
actions=$(table CustomAction)
awk -F'\t' '$1 == "RemoveStartupLinks" && int($2 / 2048) % 2 == 0 {ok = 1} END {exit !ok}' <<< "$actions" ||
  fail "the Startup links' removal does not run as the removing user"
# Every command interpreter (a program named by a property: type 50) without AutoRun.
awk -F'\t' '$3 == "CMD_EXE" && $2 % 64 == 50 {n++; ok += $4 ~ /^\/d \/v:off \/c /} END {exit n != 1 || ok != n}' <<< "$actions" ||
  fail "a command interpreter of the installer's would run the user's AutoRun"
# The logon tasks go with a full removal, by a 32-bit DLL of system DLLs only, as SYSTEM.
# A DLL from the Binary table (1), deferred (1024), as SYSTEM (2048, no
# impersonation), its failure not failing the removal (64).
awk -F'\t' '$1 == "RemoveLogonTasks" && $2 % 64 == 1 && int($2 / 64) % 2 == 1 && int($2 / 1024) % 2 == 1 &&
  int($2 / 2048) % 2 == 1 && $3 == "NocturoTasks" && $4 == "RemoveNocturoTasks" {n++}
  END {exit n != 1}' <<< "$actions" || fail "no custom action removes the logon tasks as SYSTEM"
table InstallExecuteSequence | awk -F'\t' '$1 ~ /^Remove(StartupLinks|LogonTasks)$/ {c[$2]++; n++} END {exit n != 2 || length(c) != 1}' ||
  fail "the logon tasks are not removed exactly when the Startup links are"
msiinfo extract "$msi" Binary.NocturoTasks > "$tmp/tasks.dll"
# Read whole first: grep -q would end the pipe early and objdump die of SIGPIPE.
header=$(i686-w64-mingw32-objdump -p "$tmp/tasks.dll")
[[ $header == *'file format pei-i386'* ]] || fail "the task removal is not a 32-bit DLL"
unexpected=$(imports "$tmp/tasks.dll" | grep -vxE 'KERNEL32|ADVAPI32|OLE32|OLEAUT32|MSVCRT') && fail "the task removal imports $unexpected"
for tool in taskkill.exe cmd.exe; do
  grep -qF "[System64Folder]$tool" <<< "$actions" || fail "no native $tool on 64-bit Windows"
done

# Every release upgrades the one before, a change of the fourth field too:
# Windows Installer compares three fields.
installer_version() {
  msiinfo export "$1" Property | tr -d '\r' | awk -F'\t' '$1 == "ProductVersion" {print $2}' | cut -d. -f1-3
}
next=${version%.*}.$((${version##*.} + 1))
scripts/package.sh "$tmp/next" "$next" >/dev/null
this_one=$(installer_version "$msi") that_one=$(installer_version "$tmp/next/nocturo-$next-win32.msi")
[ "$(printf '%s\n' "$this_one" "$that_one" | sort -V | tail -1)" = "$that_one" ] && [ "$this_one" != "$that_one" ] ||
  fail "$next ($that_one) would not upgrade $version ($this_one)"

# Under pipefail, a producer piped into grep -q can die of SIGPIPE when grep
# stops at its first match, and fail the check at random: none is left.
shape=$(grep -nE '\|[[:space:]]*grep[[:space:]]+(-[a-zA-Z]*q|--quiet)' scripts/*.sh tests/*.sh .ci/run || true)
[ -z "$shape" ] || fail "a pipeline into grep -q, whose producer can die of SIGPIPE:"$'\n'"$shape"

# Again under the other common umask: the zip stores each file's mode.
(umask "$( [ "$(umask)" = 0002 ] && echo 022 || echo 002)" && scripts/package.sh "$tmp/again" >/dev/null)
cmp -s "$zip" "$tmp/again/$name-win32.zip" || fail "packaged again under another umask, the zip differs"
cmp -s "$msi" "$tmp/again/$name-win32.msi" || fail "packaged again, the installer differs"

echo "package: $(unzip -Z1 "$zip" | wc -l) files, sums right, flags set, the installer the same files; the same bytes again"
