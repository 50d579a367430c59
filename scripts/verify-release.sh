#!/usr/bin/env bash
# Checks a release as its users will, and exits 0 only when every check holds:
#   scripts/verify-release.sh [--publisher SHA256] [--tsa-ca FILE] [--allow-unsigned] PACKAGE.zip [CA_FILE]
# - every file of the zip is listed in its SHA256SUMS and matches it, and is
#   the very file the installer beside it (PACKAGE.msi) holds: the installer's
#   signature covers its files, while the zip's sums authenticate nothing;
# - nocturo-VERSION-SHA256SUMS beside them, where there is one, matches both;
# - every program or DLL in the zip, the installer and the DLLs it runs, verifies with
#   osslsigncode (its exit status decides, never text a file could carry):
#   against CA_FILE, or the system's roots without one; the timestamp against
#   --tsa-ca (default CA_FILE); signed by the leaf certificate whose DER bytes
#   have the SHA-256 given with --publisher. Without a CA file or a publisher
#   an unsigned file fails unless --allow-unsigned is given.
# It prints each file's signer and timestamp, and what it checked.
set -euo pipefail
usage() { echo "usage: scripts/verify-release.sh [--publisher SHA256] [--tsa-ca FILE] [--allow-unsigned] PACKAGE.zip [CA_FILE]" >&2; exit 2; }
publisher= tsa_ca= allow_unsigned=
while [ $# -gt 0 ]; do
  case "$1" in
    --publisher) publisher=${2:?}; shift 2 ;;
    --tsa-ca) tsa_ca=${2:?}; shift 2 ;;
    --allow-unsigned) allow_unsigned=1; shift ;;
    -*) usage ;;
    *) break ;;
  esac
done
zip=${1:-}; ca=${2:-}
[ -f "$zip" ] || usage
[[ -z $publisher || $publisher =~ ^[0-9A-Fa-f]{64}$ ]] || { echo "--publisher: not a SHA-256 in hexadecimal" >&2; exit 2; }
tsa_ca=${tsa_ca:-$ca}
msi=${zip%.zip}.msi
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
bad=0
say() { echo "$*"; }
wrong() { echo "$*"; bad=1; }

unzip -q "$zip" -d "$tmp/zip"
folder=$(find "$tmp/zip" -mindepth 1 -maxdepth 1 -type d)
[ -n "$folder" ] && [ -f "$folder/SHA256SUMS" ] || { echo "SHA256SUMS: missing"; exit 1; }
if (cd "$folder" && sha256sum --quiet --strict -c SHA256SUMS) > "$tmp/sums.log" 2>&1; then
  say "SHA256SUMS: every file it lists matches"
else
  wrong "SHA256SUMS: does not match: $(tr '\n' ' ' < "$tmp/sums.log")"
fi
listed=$(sed 's/^[0-9a-f]*  //' "$folder/SHA256SUMS" | LC_ALL=C sort)
present=$(cd "$folder" && find . -type f ! -name SHA256SUMS | sed 's|^\./||' | LC_ALL=C sort)
[ "$listed" = "$present" ] || wrong "SHA256SUMS: lists not exactly the zip's files: $(comm -3 <(echo "$listed") <(echo "$present") | tr -s '\t\n' '  ')"
release_sums=${zip%-win32.zip}-SHA256SUMS
if [ -f "$release_sums" ]; then
  if (cd "$(dirname "$zip")" && sha256sum --quiet --strict -c "$(basename "$release_sums")") >/dev/null 2>&1; then
    say "$(basename "$release_sums"): the zip and the installer match"
  else
    wrong "$(basename "$release_sums"): the zip or the installer does not match"
  fi
fi

anchor=${ca:-"the system's roots"}
options=()
[ -z "$ca" ] || options+=(-CAfile "$ca")
[ -z "$tsa_ca" ] || options+=(-TSA-CAfile "$tsa_ca")
[ -z "$publisher" ] || options+=(-require-leaf-hash "sha256:$publisher")
# The signer and the timestamp's time, read from the signature's structure and
# never from osslsigncode's text, which repeats the file's own description.
describe() {
  local serial subject= cert offset stamp
  serial=$(openssl pkcs7 -in "$tmp/sig.pem" -print -noout 2>/dev/null |
    awk '/^ *signer_info:/ {s = 1} s && /serial: 0x/ {sub(/.*0x/, ""); print; exit}')
  rm -f "$tmp"/cert-*.pem
  openssl pkcs7 -in "$tmp/sig.pem" -print_certs 2>/dev/null |
    awk -v to="$tmp/cert-" '/BEGIN CERT/ {n++} n {print > (to n ".pem")}'
  for cert in "$tmp"/cert-*.pem; do
    [ -n "$serial" ] && [ "$(openssl x509 -in "$cert" -noout -serial 2>/dev/null)" = "serial=$serial" ] || continue
    subject=$(openssl x509 -in "$cert" -noout -subject -nameopt oneline,-esc_msb | sed 's/^subject= *//' | tr -cd '[:print:]')
  done
  # The token's time is in its TSTInfo, an octet string after the content type.
  offset=$(openssl asn1parse -in "$tmp/sig.pem" 2>/dev/null |
    awk '/:id-smime-ct-TSTInfo$/ {getline; getline; sub(/:.*/, ""); print $1; exit}')
  stamp=
  [ -z "$offset" ] || stamp=$(openssl asn1parse -in "$tmp/sig.pem" -strparse "$offset" 2>/dev/null |
    awk '/GENERALIZEDTIME/ {sub(/.*:/, ""); print; exit}' |
    sed -nE 's/^([0-9]{4})([0-9]{2})([0-9]{2})([0-9]{2})([0-9]{2})([0-9]{2}).*Z$/\1-\2-\3 \4:\5:\6 UTC/p')
  printf 'signed by %s, %s' "${subject:-?}" "${stamp:+timestamped $stamp}"
  [ -n "$stamp" ] || printf 'not timestamped'
}
check() {  # file, name
  rm -f "$tmp/sig.pem"  # osslsigncode writes no file over another
  if ! osslsigncode extract-signature -pem -in "$1" -out "$tmp/sig.pem" >/dev/null 2>&1; then
    if [ -n "$allow_unsigned" ] && [ -z "$ca$publisher" ]; then say "$2: unsigned (allowed)"
    else wrong "$2: unsigned"
    fi
    return
  fi
  local status=0
  osslsigncode verify "${options[@]}" -in "$1" >/dev/null 2>&1 || status=$?
  if [ "$status" = 0 ]; then
    say "$2: $(describe), verified against $anchor${publisher:+, signed by the pinned certificate}"
  else
    wrong "$2: $(describe), does NOT verify (osslsigncode verify: exit $status)"
  fi
}
while IFS= read -r -d '' file; do
  [ "$(head -c 2 "$file")" = MZ ] && check "$file" "${file#"$folder"/}"
done < <(find "$folder" -type f -print0 | LC_ALL=C sort -z)
if [ -f "$msi" ]; then
  check "$msi" "$(basename "$msi")"
  # The installer's own programs: its custom actions' DLLs, run as SYSTEM.
  for stream in $(msiinfo streams "$msi" | grep '^Binary\.'); do
    msiinfo extract "$msi" "$stream" > "$tmp/$stream"
    [ "$(head -c 2 "$tmp/$stream")" != MZ ] || check "$tmp/$stream" "$(basename "$msi") $stream"
  done
  if msiextract -C "$tmp/msi" "$msi" >/dev/null 2>&1 && [ -d "$tmp/msi" ]; then
    same=1
    while IFS= read -r -d '' file; do
      name=${file#"$folder"/}
      copy=$(find "$tmp/msi" -type f -name "$(basename "$name")" | head -1)
      [ -n "$copy" ] && cmp -s "$file" "$copy" || { wrong "$name: not the installer's copy"; same=; }
    done < <(find "$folder" -type f -print0)
    [ -z "$same" ] || say "$(basename "$msi"): holds the zip's very files"
  else
    wrong "$(basename "$msi"): cannot be read"
  fi
else
  wrong "$(basename "$msi"): missing"
fi
exit "$bad"
