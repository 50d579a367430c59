#!/usr/bin/env bash
# Checks a release as its users will: every program and the installer, signed
# by whom or unsigned, and every file against SHA256SUMS.
#   scripts/verify-release.sh PACKAGE [CA_FILE]
# PACKAGE is the zip; the installer of the same name (.msi) beside it is
# checked too. With CA_FILE (PEM) each signature must verify against it, and
# an unsigned file fails; without it the system's trusted authorities are used
# and an unsigned file is only reported. Exit code 0 when all is right.
set -euo pipefail
zip=${1:?usage: scripts/verify-release.sh PACKAGE.zip [CA_FILE]}
ca=${2:-}
msi=${zip%.zip}.msi
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
unzip -q "$zip" -d "$tmp"
folder=$(find "$tmp" -mindepth 1 -maxdepth 1 -type d)
bad=0
if [ ! -f "$folder/SHA256SUMS" ]; then
  echo "SHA256SUMS: missing"; bad=1
elif mismatched=$(cd "$folder" && sha256sum -c SHA256SUMS 2>/dev/null | grep -v ': OK$'); then
  echo "SHA256SUMS: does not match:" $mismatched; bad=1
else
  echo "SHA256SUMS: every file matches"
fi

# "name: signed by SUBJECT, verified" or "unsigned" or why not.
check() {
  local report
  report=$(osslsigncode verify ${ca:+-CAfile "$ca"} -in "$1" 2>&1) || true
  local signer
  signer=$(sed -n 's/^[[:space:]]*Subject: *//p' <<< "$report" | head -1)
  if grep -qE 'No signature found|has no signature' <<< "$report"; then
    echo "$2: unsigned"
    [ -z "$ca" ] || bad=1
  elif grep -q '^Signature verification: ok' <<< "$report"; then
    echo "$2: signed by $signer, verified${ca:+ against $ca}"
  else
    echo "$2: signed by ${signer:-nobody known}, does NOT verify: $(grep -m1 -iE 'mismatch|fail' <<< "$report" | sed 's/^[[:space:]]*//')"
    bad=1
  fi
}
for exe in "$folder"/*.exe; do check "$exe" "$(basename "$exe")"; done
if [ -f "$msi" ]; then check "$msi" "$(basename "$msi")"; else echo "$(basename "$msi"): missing"; bad=1; fi
exit "$bad"
