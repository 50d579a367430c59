# Sourced by package.sh: Authenticode signatures with the owner's certificate.
#   NOCTURO_SIGN_PFX             the PKCS#12 file (certificate and private key)
#   NOCTURO_SIGN_PASSWORD_FILE   a file holding its password, never put on a command line
#   NOCTURO_SIGN_TIMESTAMP_URL   optional: an RFC 3161 server, so the signatures outlive
#                                the certificate
# Without a timestamp the signing time is SOURCE_DATE_EPOCH, so a signed build
# is the same bytes again with the same certificate.
signing_on() { [ -n "${NOCTURO_SIGN_PFX:-}" ]; }

# One line that says what is wrong, before anything is built. Needs $tmp.
check_certificate() {
  local pfx=$NOCTURO_SIGN_PFX pass=${NOCTURO_SIGN_PASSWORD_FILE:-} cert
  command -v osslsigncode >/dev/null || fail "osslsigncode is missing: run scripts/install-deps.sh"
  [ -f "$pfx" ] && [ -r "$pfx" ] || fail "the certificate $pfx is missing or unreadable"
  [ -f "$pass" ] && [ -r "$pass" ] || fail "the password file '$pass' (NOCTURO_SIGN_PASSWORD_FILE) is missing or unreadable"
  # Older exports use ciphers OpenSSL 3 reads only with its legacy provider.
  if ! cert=$(openssl pkcs12 -in "$pfx" -passin "file:$pass" -nokeys -clcerts 2>"$tmp/pkcs12.log") &&
     ! cert=$(openssl pkcs12 -legacy -in "$pfx" -passin "file:$pass" -nokeys -clcerts 2>>"$tmp/pkcs12.log"); then
    grep -qi 'invalid password' "$tmp/pkcs12.log" && fail "the password in $pass does not open the certificate $pfx"
    fail "the certificate $pfx is not a PKCS#12 file"
  fi
  local subject
  subject=$(openssl x509 -noout -subject -nameopt oneline <<< "$cert" | sed 's/^subject= *//')
  openssl x509 -noout -ext extendedKeyUsage <<< "$cert" 2>/dev/null | grep -q 'Code Signing' ||
    fail "the certificate $pfx ($subject) is not for code signing"
  openssl x509 -noout -checkend 0 <<< "$cert" >/dev/null ||
    fail "the certificate $pfx ($subject) expired on $(openssl x509 -noout -enddate <<< "$cert" | cut -d= -f2)"
  echo "package: signing as $subject"
}

# Signs the PE file or MSI database in place: SHA-256, the product's name and address.
sign_file() {
  local when=(-time "$SOURCE_DATE_EPOCH")
  [ -z "${NOCTURO_SIGN_TIMESTAMP_URL:-}" ] || when=(-ts "$NOCTURO_SIGN_TIMESTAMP_URL")
  osslsigncode sign -pkcs12 "$NOCTURO_SIGN_PFX" -readpass "$NOCTURO_SIGN_PASSWORD_FILE" -h sha256 \
    -n Nocturo -i https://nocturo.example.com/ "${when[@]}" -in "$1" -out "$1.signed" >"$tmp/sign.log" 2>&1 ||
    fail "signing $(basename "$1") failed: $(grep -v '^Failed' "$tmp/sign.log" | tail -1)"
  mv "$1.signed" "$1"
}
