#!/usr/bin/env bash
# Checks a release as its users will, and exits 0 only when every check holds:
#   scripts/verify-release.sh [--publisher SHA256] [--publisher-name "CN=..." --issuer "CN=..."]
#     [--tsa-ca FILE] [--require-timestamp] [--require-signed-sums] [--allow-unsigned] PACKAGE.zip [CA_FILE]
# - the zip's own listing, read before anything is extracted: one folder,
#   nocturo-VERSION for the VERSION in the zip's name, of regular files only,
#   no two names alike in any letter case, exactly the files its SHA256SUMS lists;
# - every file matches SHA256SUMS, and is the very file the installer beside it
#   (PACKAGE.msi) holds: the installer's signature covers its files, while the
#   zip's sums authenticate nothing;
# - nocturo-VERSION-SHA256SUMS beside them matches both, and its detached
#   signature (.p7s) verifies against CA_FILE by the same publisher;
# - the version is bound: each program's version resource and the installer's
#   ProductVersion (its last two fields folded) are VERSION;
# - every program or DLL in the zip, the installer and the DLLs it runs, carries
#   exactly one signature and nothing after it, and verifies with osslsigncode
#   (its exit status decides, never text a file could carry): against CA_FILE,
#   or the system's roots without one; signed by the leaf certificate whose DER
#   bytes have the SHA-256 given with --publisher, or whose subject and issuer
#   common names are --publisher-name and --issuer (Windows' publisher rules,
#   which a yearly renewal keeps); a timestamp verifies against --tsa-ca
#   (default CA_FILE), as of a day after the certificate's end, where only a
#   valid timestamp carries the signature. Without a CA file or a publisher an
#   unsigned file fails unless --allow-unsigned is given.
# It prints one line a check: each file's signer and timestamp, and what it checked.
set -euo pipefail
usage() {
  echo "usage: scripts/verify-release.sh [--publisher SHA256] [--publisher-name NAME --issuer NAME] [--tsa-ca FILE]" \
       "[--require-timestamp] [--require-signed-sums] [--allow-unsigned] PACKAGE.zip [CA_FILE]" >&2
  exit 2
}
publisher= publisher_name= issuer= tsa_ca= allow_unsigned= require_timestamp= require_signed_sums=
while [ $# -gt 0 ]; do
  case "$1" in
    --publisher) publisher=${2:?}; shift 2 ;;
    --publisher-name) publisher_name=${2:?}; shift 2 ;;
    --issuer) issuer=${2:?}; shift 2 ;;
    --tsa-ca) tsa_ca=${2:?}; shift 2 ;;
    --require-timestamp) require_timestamp=1; shift ;;
    --require-signed-sums) require_signed_sums=1; shift ;;
    --allow-unsigned) allow_unsigned=1; shift ;;
    --) shift; break ;;
    -*) usage ;;
    *) break ;;
  esac
done
zip=${1:-}; ca=${2:-}
[ -f "$zip" ] || usage
[[ -z $publisher || $publisher =~ ^[0-9A-Fa-f]{64}$ ]] || { echo "--publisher: not a SHA-256 in hexadecimal" >&2; exit 2; }
[ -z "$publisher_name$issuer" ] || [[ $publisher_name == CN=* && $issuer == CN=* ]] ||
  { echo "--publisher-name and --issuer: both, each CN=..." >&2; exit 2; }
tsa_ca=${tsa_ca:-$ca}
msi=${zip%.zip}.msi
here=$(cd "$(dirname "$0")" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
bad=0
say() { echo "$*"; }
wrong() { echo "$*"; bad=1; }

zip_name=$(basename -- "$zip")
[[ $zip_name =~ ^nocturo-([0-9]+\.[0-9]+\.[0-9]+\.[0-9]+)-win32\.zip$ ]] ||
  { echo "$zip_name: not named nocturo-VERSION-win32.zip"; exit 1; }
version=${BASH_REMATCH[1]}
name=nocturo-$version
IFS=. read -r major minor patch tweak <<< "$version"
folded=$major.$minor.$((patch * 100 + tweak))

# The listing decides what the zip is, before a byte of it is extracted.
python3 "$here/release_facts.py" listing "$zip" "$name" > "$tmp/listing" 2>&1 || echo "cannot be read as a zip" >> "$tmp/listing"
if grep -v '^file ' "$tmp/listing" > "$tmp/faults"; then
  while IFS= read -r fault; do wrong "$zip_name: $fault"; done < "$tmp/faults"
  exit 1
fi
say "$zip_name: one folder $name/ of regular files, each name once"
unzip -q -o "$zip" -d "$tmp/zip" < /dev/null
folder=$tmp/zip/$name
[ -f "$folder/SHA256SUMS" ] || { echo "SHA256SUMS: missing"; exit 1; }
if (cd "$folder" && sha256sum --quiet --strict -c SHA256SUMS) > "$tmp/sums.log" 2>&1; then
  say "SHA256SUMS: every file it lists matches"
else
  wrong "SHA256SUMS: does not match: $(tr '\n' ' ' < "$tmp/sums.log")"
fi
listed=$(sed 's/^[0-9a-f]*  //' "$folder/SHA256SUMS" | LC_ALL=C sort)
present=$(sed -n 's/^file //p' "$tmp/listing" | grep -vx SHA256SUMS | LC_ALL=C sort)
[ "$listed" = "$present" ] || wrong "SHA256SUMS: lists not exactly the zip's files: $(comm -3 <(echo "$listed") <(echo "$present") | tr -s '\t\n' '  ')"

# The signer's certificate by issuer and serial together, as the signature
# names it: its subject, issuer and end, one a line.
signer_certificate() {
  openssl pkcs7 -in "$tmp/sig.pem" -print -noout 2>/dev/null | awk '
    function after(line) { sub(/^ *[A-Za-z_]+: /, "", line); return line }
    /^ *signer_info:/ {in_signer = 1}
    !in_signer && /^ *serialNumber: / {serial = $2}
    !in_signer && /^ *issuer: / {iss = after($0)}
    !in_signer && /^ *notAfter: / {end = after($0)}
    !in_signer && /^ *subject: / {n++; s[n] = serial; i[n] = iss; e[n] = end; j[n] = after($0)}
    in_signer && /^ *issuer: / {signer_issuer = after($0)}
    in_signer && /^ *serial: / {for (k = 1; k <= n; k++)
      if (s[k] == $2 && i[k] == signer_issuer) {print j[k]; print i[k]; print e[k]; exit}
      exit}'
}
common_name() { sed -n 's/.*CN=\([^,]*\).*/CN=\1/p' <<< "$1"; }
timestamp_time() {
  local offset
  offset=$(openssl asn1parse -in "$tmp/sig.pem" 2>/dev/null |
    awk '/:id-smime-ct-TSTInfo$/ {getline; getline; sub(/:.*/, ""); print $1; exit}')
  [ -z "$offset" ] || openssl asn1parse -in "$tmp/sig.pem" -strparse "$offset" 2>/dev/null |
    awk '/GENERALIZEDTIME/ {sub(/.*:/, ""); print; exit}' |
    sed -nE 's/^([0-9]{4})([0-9]{2})([0-9]{2})([0-9]{2})([0-9]{2})([0-9]{2}).*Z$/\1-\2-\3 \4:\5:\6 UTC/p'
}

system_roots="the system's roots"
anchor=${ca:-$system_roots}
options=()
[ -z "$ca" ] || options+=(-CAfile "$ca")
[ -z "$tsa_ca" ] || options+=(-TSA-CAfile "$tsa_ca")
[ -z "$publisher" ] || options+=(-require-leaf-hash "sha256:$publisher")
pinned=${publisher:+, signed by the pinned certificate}${publisher_name:+, published by $publisher_name of $issuer}
check() {  # file, name
  rm -f "$tmp/sig.pem"  # osslsigncode writes no file over another
  local after
  if [ "$(head -c 2 "$1")" = MZ ]; then after=$(python3 "$here/release_facts.py" pe "$1" | sed -n 's/^after-signature //p')
  else after=$(python3 "$here/release_facts.py" msi "$1" | sed -n 's/^after-end //p')
  fi
  [ "${after:-1}" = 0 ] || { wrong "$2: ${after:-unknown} bytes after its end, where nothing may follow the signature"; return; }
  if ! osslsigncode extract-signature -pem -in "$1" -out "$tmp/sig.pem" >/dev/null 2>&1; then
    if [ -n "$allow_unsigned" ] && [ -z "$ca$publisher$publisher_name" ]; then say "$2: unsigned (allowed)"
    else wrong "$2: unsigned"
    fi
    return
  fi
  local subject signer_issuer stamp end status=0 nested
  { IFS= read -r subject; IFS= read -r signer_issuer; IFS= read -r end; } < <(signer_certificate; printf '\n\n\n')
  stamp=$(timestamp_time)
  local who="signed by ${subject:-?}, ${stamp:+timestamped $stamp}"
  [ -n "$stamp" ] || who+="not timestamped"
  nested=$(openssl asn1parse -in "$tmp/sig.pem" 2>/dev/null | grep -c ':1\.3\.6\.1\.4\.1\.311\.2\.4\.1$' || true)
  [ "$nested" = 0 ] || { wrong "$2: $who, and $nested more signature(s) nested in it: exactly one is allowed"; return; }
  if [ -n "$publisher_name" ] &&
     { [ "$(common_name "$subject")" != "$publisher_name" ] || [ "$(common_name "$signer_issuer")" != "$issuer" ]; }; then
    wrong "$2: $who, of $(common_name "$signer_issuer"): not $publisher_name of $issuer"
    return
  fi
  osslsigncode verify "${options[@]}" -in "$1" >/dev/null 2>&1 || status=$?
  [ "$status" = 0 ] || { wrong "$2: $who, does NOT verify (osslsigncode verify: exit $status)"; return; }
  if [ -n "$stamp" ]; then
    [ -z "$end" ] || end=$(date -u -d "$end" +%s)
    if [ -z "$end" ] || ! faketime "@$((end + 86400))" osslsigncode verify "${options[@]}" -in "$1" >/dev/null 2>&1; then
      wrong "$2: $who, but the timestamp does NOT verify against ${tsa_ca:-$system_roots}"
      return
    fi
  elif [ -n "$require_timestamp" ]; then
    wrong "$2: $who, and a timestamp is required"
    return
  fi
  say "$2: $who, verified against $anchor$pinned"
}
while IFS= read -r -d '' file; do
  [ "$(head -c 2 "$file")" = MZ ] || continue
  check "$file" "${file#"$folder"/}"
  case "$file" in
    *.exe)
      resource=$(python3 "$here/release_facts.py" pe "$file" | sed -n 's/^version //p')
      [ "$resource" = "$version" ] || wrong "${file#"$folder"/}: version ${resource:-none}, not $version" ;;
  esac
done < <(find "$folder" -type f -print0 | LC_ALL=C sort -z)

if [ -f "$msi" ]; then
  check "$msi" "$(basename -- "$msi")"
  product=$(msiinfo export "$msi" Property 2>/dev/null | tr -d '\r' | awk -F'\t' '$1 == "ProductVersion" {print $2}')
  [ "$product" = "$folded" ] && say "$(basename -- "$msi"): ProductVersion $product, this version's" ||
    wrong "$(basename -- "$msi"): ProductVersion ${product:-none}, not $folded (version $version)"
  streams=$(msiinfo streams "$msi" 2>/dev/null || true)
  if [[ $'\n'$streams$'\n' == *$'\n\005DigitalSignature\n'* && $'\n'$streams$'\n' != *$'\n\005MsiDigitalSignatureEx\n'* ]]; then
    wrong "$(basename -- "$msi"): signed without MsiDigitalSignatureEx, which signs its files' metadata"
  fi
  # The installer's own programs: its custom actions' DLLs, run as SYSTEM.
  for stream in $(grep '^Binary\.' <<< "$streams"); do
    msiinfo extract "$msi" "$stream" > "$tmp/$stream"
    [ "$(head -c 2 "$tmp/$stream")" != MZ ] || check "$tmp/$stream" "$(basename -- "$msi") $stream"
  done
  if msiextract -C "$tmp/msi" "$msi" >/dev/null 2>&1 && [ -d "$tmp/msi" ]; then
    same=1
    while IFS= read -r -d '' file; do
      name_in=${file#"$folder"/}
      copy=$(find "$tmp/msi" -type f -name "$(basename -- "$name_in")" | head -1)
      [ -n "$copy" ] && cmp -s "$file" "$copy" || { wrong "$name_in: not the installer's copy"; same=; }
    done < <(find "$folder" -type f -print0)
    [ -z "$same" ] || say "$(basename -- "$msi"): holds the zip's very files"
  else
    wrong "$(basename -- "$msi"): cannot be read"
  fi
else
  wrong "$(basename -- "$msi"): missing"
fi

# The release's own sums, and their signature by the same publisher.
release_sums=${zip%-win32.zip}-SHA256SUMS
sums_name=$(basename -- "$release_sums")
if [ ! -f "$release_sums" ]; then
  [ -n "$require_signed_sums" ] && wrong "$sums_name: missing" || say "$sums_name: missing, not checked"
else
  if (cd "$(dirname "$zip")" && sha256sum --quiet --strict -c -- "$sums_name") >/dev/null 2>&1 &&
     [ "$(awk '{print $2}' "$release_sums" | LC_ALL=C sort | tr '\n' ' ')" = "$(printf '%s\n' "$zip_name" "$(basename -- "$msi")" | LC_ALL=C sort | tr '\n' ' ')" ]; then
    say "$sums_name: the zip and the installer match, and nothing else is listed"
  else
    wrong "$sums_name: the zip or the installer does not match"
  fi
  if [ ! -f "$release_sums.p7s" ]; then
    [ -n "$require_signed_sums" ] && wrong "release sums: not signed" || say "release sums: not signed, not checked"
  else
    cms=(-CAfile "${ca:-/etc/ssl/certs/ca-certificates.crt}")
    if openssl cms -verify -binary -inform DER -in "$release_sums.p7s" -content "$release_sums" "${cms[@]}" \
         -purpose any -signer "$tmp/sums-signer.pem" -out /dev/null >/dev/null 2>&1 &&
       { [ -z "$publisher" ] ||
         [ "$(openssl x509 -in "$tmp/sums-signer.pem" -outform DER | sha256sum | cut -c1-64)" = "${publisher,,}" ]; } &&
       { [ -z "$publisher_name" ] ||
         { [ "$(common_name "$(openssl x509 -in "$tmp/sums-signer.pem" -noout -subject -nameopt RFC2253 | sed 's/^subject=//')")" = "$publisher_name" ] &&
           [ "$(common_name "$(openssl x509 -in "$tmp/sums-signer.pem" -noout -issuer -nameopt RFC2253 | sed 's/^issuer=//')")" = "$issuer" ]; }; }; then
      say "release sums: signed, verified against $anchor$pinned"
    else
      wrong "release sums: the signature does NOT verify$pinned"
    fi
  fi
fi
exit "$bad"
