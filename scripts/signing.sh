# Sourced by package.sh: Authenticode signatures with the owner's certificate,
# from a PKCS#12 file or from a token through PKCS#11.
#   NOCTURO_SIGN_PFX               the PKCS#12 file (certificate and private key), and
#   NOCTURO_SIGN_PASSWORD_FILE     a file holding its password
# or
#   NOCTURO_SIGN_PKCS11_MODULE     the token's PKCS#11 module (a .so file)
#   NOCTURO_SIGN_PKCS11_KEY        the key, as an RFC 7512 URI: pkcs11:token=...;object=...
#   NOCTURO_SIGN_CERT              a PEM file with the certificate chain, leaf first
#   NOCTURO_SIGN_PIN_FILE          a file holding the token's PIN
# and
#   NOCTURO_SIGN_TIMESTAMP_URL     RFC 3161 servers, separated by blanks, tried in turn,
#                                  each for at most NOCTURO_SIGN_TIMESTAMP_SECONDS (60)
#   NOCTURO_SIGN_REQUIRE_TIMESTAMP 1: a signature without a timestamp, or with one
#                                  that does not verify, is an error
#   NOCTURO_SIGN_CA                the root to check the release against (default: the
#                                  chain's last certificate)
#   NOCTURO_SIGN_TSA_CA            the timestamp servers' roots (default: the system's)
# Passwords and PINs go to the tools from files only, never on a command line
# or into a line printed; a line names a variable, never its value. A token is
# logged into once to check it and never tried again after a refused PIN.
# Without a timestamp the signing time is SOURCE_DATE_EPOCH, so a signed build
# is the same bytes again with the same certificate.
signing_on() { [ -n "${NOCTURO_SIGN_PFX:-}${NOCTURO_SIGN_PKCS11_MODULE:-}${NOCTURO_SIGN_PKCS11_KEY:-}" ]; }
by_token() { [ -n "${NOCTURO_SIGN_PKCS11_MODULE:-}${NOCTURO_SIGN_PKCS11_KEY:-}" ]; }

# A line of a tool's output with every variable's value replaced by its name.
redact() {
  local line=$1 name
  for name in NOCTURO_SIGN_PFX NOCTURO_SIGN_PASSWORD_FILE NOCTURO_SIGN_PKCS11_MODULE NOCTURO_SIGN_PKCS11_KEY \
              NOCTURO_SIGN_CERT NOCTURO_SIGN_PIN_FILE; do
    [ -z "${!name:-}" ] || line=${line//"${!name}"/$name}
  done
  printf '%s' "$line"
}

# A readable file a variable names, else one line that names the variable.
need_file() {
  [ -n "${!1:-}" ] || fail "$1 is not set (see scripts/signing.sh)"
  [ -f "${!1}" ] && [ -r "${!1}" ] || fail "the file $1 names is missing or unreadable"
}

# The secret without a trailing CR LF or a UTF-8 byte-order mark (a file saved
# on Windows), into a file of our own that only we may read.
clean_secret() {
  (umask 077 && sed -e '1s/^\xef\xbb\xbf//' -e 's/\r$//' "$1" | head -n 1 | tr -d '\n' > "$2")
}

# Why a signing failed, as osslsigncode says: its error lines, joined.
reason() {
  redact "$(grep -iE 'error|fail|status|unable|not found|mismatch|incorrect' "$1" |
    grep -vE '^Failed$|Use the "-t" option' | sed 's/^[0-9A-F]*:error:[0-9A-F]*://' | head -4 | paste -sd';' -)"
}

# One line that says what is wrong, before anything is built. Needs $tmp.
check_certificate() {
  command -v osslsigncode >/dev/null || fail "osslsigncode is missing: run scripts/install-deps.sh"
  if [ -n "${NOCTURO_SIGN_PFX:-}" ] && by_token; then
    fail "both NOCTURO_SIGN_PFX and NOCTURO_SIGN_PKCS11_* are set: choose one way to sign"
  fi
  local cert
  if by_token; then
    for variable in NOCTURO_SIGN_PKCS11_MODULE NOCTURO_SIGN_CERT NOCTURO_SIGN_PIN_FILE; do need_file "$variable"; done
    [[ ${NOCTURO_SIGN_PKCS11_KEY:-} == pkcs11:* ]] || fail "NOCTURO_SIGN_PKCS11_KEY is not a pkcs11: URI"
    # The PIN comes from its file alone: in the URI it would reach every command line.
    [[ ${NOCTURO_SIGN_PKCS11_KEY,,} != *pin-value* && ${NOCTURO_SIGN_PKCS11_KEY,,} != *pin-source* ]] ||
      fail "NOCTURO_SIGN_PKCS11_KEY holds a PIN: take it out, and name its file in NOCTURO_SIGN_PIN_FILE"
    clean_secret "$NOCTURO_SIGN_PIN_FILE" "$tmp/secret"
    cert=$(openssl x509 -in "$NOCTURO_SIGN_CERT" 2>/dev/null) || fail "NOCTURO_SIGN_CERT holds no PEM certificate"
    cp "$NOCTURO_SIGN_CERT" "$tmp/chain.pem"
  else
    need_file NOCTURO_SIGN_PFX
    need_file NOCTURO_SIGN_PASSWORD_FILE
    clean_secret "$NOCTURO_SIGN_PASSWORD_FILE" "$tmp/secret"
    # Older exports use ciphers OpenSSL 3 reads only with its legacy provider.
    local legacy
    for legacy in "" -legacy; do
      cert=$(openssl pkcs12 $legacy -in "$NOCTURO_SIGN_PFX" -passin "file:$tmp/secret" -nokeys -clcerts 2>>"$tmp/pkcs12.log") && break
    done
    if [ -z "$cert" ]; then
      grep -qi 'invalid password' "$tmp/pkcs12.log" &&
        fail "the password in NOCTURO_SIGN_PASSWORD_FILE does not open NOCTURO_SIGN_PFX"
      fail "NOCTURO_SIGN_PFX is not a PKCS#12 file"
    fi
    { echo "$cert"; openssl pkcs12 $legacy -in "$NOCTURO_SIGN_PFX" -passin "file:$tmp/secret" -nokeys -cacerts 2>/dev/null; } > "$tmp/chain.pem"
    # The key, for the release sums' signature: in a file only we may read, gone with $tmp.
    (umask 077 && openssl pkcs12 $legacy -in "$NOCTURO_SIGN_PFX" -passin "file:$tmp/secret" -nocerts -nodes \
       -out "$tmp/key.pem" 2>/dev/null) || fail "the key of NOCTURO_SIGN_PFX cannot be read"
  fi
  local which=NOCTURO_SIGN_CERT subject
  by_token || which=NOCTURO_SIGN_PFX
  subject=$(openssl x509 -noout -subject -nameopt oneline <<< "$cert" | sed 's/^subject= *//')
  grep -q 'Code Signing' <<< "$(openssl x509 -noout -ext extendedKeyUsage <<< "$cert" 2>/dev/null)" ||
    fail "the certificate of $which ($subject) is not for code signing"
  openssl x509 -noout -checkend 0 <<< "$cert" >/dev/null ||
    fail "the certificate of $which ($subject) expired on $(openssl x509 -noout -enddate <<< "$cert" | cut -d= -f2)"
  openssl x509 -outform DER <<< "$cert" | sha256sum | cut -c1-64 > "$tmp/leaf-sha256"
  # The anchor of the build's own check: the chain's root alone, never the whole chain.
  if [ -n "${NOCTURO_SIGN_CA:-}" ]; then need_file NOCTURO_SIGN_CA; cp "$NOCTURO_SIGN_CA" "$tmp/anchor.pem"
  else awk '/BEGIN CERT/ {n++; block = ""} n {block = block $0 "\n"} END {printf "%s", block}' "$tmp/chain.pem" > "$tmp/anchor.pem"
  fi
  if [ -z "${NOCTURO_SIGN_TIMESTAMP_URL:-}" ] && [ "${NOCTURO_SIGN_REQUIRE_TIMESTAMP:-}" = 1 ]; then
    fail "NOCTURO_SIGN_REQUIRE_TIMESTAMP is 1 but NOCTURO_SIGN_TIMESTAMP_URL names no server"
  fi
  # One signature of a scratch copy tries everything at once: the module, the
  # key, the PIN (one login, never repeated), the certificate against the key,
  # the timestamp servers.
  cp "$1" "$tmp/trial.exe"
  if ! osslsign "$tmp/trial.exe"; then
    local why
    why=$(reason "$tmp/sign.log")
    case "$why" in
      *"Unable to load PKCS#11 module"*) fail "NOCTURO_SIGN_PKCS11_MODULE does not load as a PKCS#11 module" ;;
      *"PIN incorrect"*|*"PIN_INCORRECT"*|*"PIN locked"*|*"PIN len"*|*"Login failed"*)
        fail "the PIN in NOCTURO_SIGN_PIN_FILE does not open the token (not tried again: tokens lock after a few)" ;;
      *"object not found"*|*"private key was not found"*) fail "NOCTURO_SIGN_PKCS11_KEY names no key the token holds" ;;
      *"key values mismatch"*) fail "the certificate of $which is not the one of its key" ;;
      *imestamp*|*HTTP*|*onnect*) fail "no server of NOCTURO_SIGN_TIMESTAMP_URL gave a timestamp: $why" ;;
      *) fail "signing with $which failed: $why" ;;
    esac
  fi
  echo "package: signing as $subject${NOCTURO_SIGN_TIMESTAMP_URL:+, timestamped}"
  [ -n "${NOCTURO_SIGN_TIMESTAMP_URL:-}" ] ||
    echo "package: not timestamped: invalid once the certificate expires (set NOCTURO_SIGN_TIMESTAMP_URL)"
}

# osslsigncode sign, in place: SHA-256, the product's name and address, the
# timestamp or the fixed time; an installer's files' metadata signed too
# (MsiDigitalSignatureEx). A timestamp server that takes the connection and
# never answers would stop the build for good: each is tried on its own, for
# a bounded time, and the next one after it.
osslsign() {
  local key=(-pkcs12 "${NOCTURO_SIGN_PFX:-}") extra=() url
  by_token && key=(-pkcs11module "$NOCTURO_SIGN_PKCS11_MODULE" -certs "$tmp/chain.pem" -key "$NOCTURO_SIGN_PKCS11_KEY")
  [[ $1 != *.msi ]] || extra=(-add-msi-dse)
  sign_once() {
    rm -f "$1.signed"
    timeout "${NOCTURO_SIGN_TIMESTAMP_SECONDS:-60}" osslsigncode sign "${key[@]}" -readpass "$tmp/secret" -h sha256 \
      -n Nocturo -i https://nocturo.example.com/ "${extra[@]}" "${@:2}" -in "$1" -out "$1.signed" >"$tmp/try.log" 2>&1
    local status=$?
    cat "$tmp/try.log" >> "$tmp/sign.log"
    return $status
  }
  : > "$tmp/sign.log"
  if [ -z "${NOCTURO_SIGN_TIMESTAMP_URL:-}" ]; then
    sign_once "$1" -time "$SOURCE_DATE_EPOCH" && mv "$1.signed" "$1"
    return
  fi
  local status
  for url in $NOCTURO_SIGN_TIMESTAMP_URL; do
    status=0
    sign_once "$1" -ts "$url" || status=$?
    [ "$status" != 0 ] || { mv "$1.signed" "$1"; return 0; }
    if [ "$status" = 124 ]; then
      echo "timestamp server $url failed: no answer within ${NOCTURO_SIGN_TIMESTAMP_SECONDS:-60} s" >> "$tmp/sign.log"
    elif ! grep -qiE 'timestamp|http|connect|curl' "$tmp/try.log"; then
      return 1  # not the server's fault: a refused PIN is never tried again
    fi
  done
  return 1
}

# The release's own sums, signed by the same key: a detached CMS signature
# that anyone checks with openssl, on any system.
sign_sums() {
  local key=(-inkey "$tmp/key.pem") conf=
  if by_token; then
    conf=$tmp/openssl-pkcs11.cnf
    printf 'openssl_conf = conf\n[conf]\nengines = engines\n[engines]\npkcs11 = pkcs11\n[pkcs11]\nengine_id = pkcs11\nMODULE_PATH = %s\ninit = 0\n' \
      "$NOCTURO_SIGN_PKCS11_MODULE" > "$conf"
    key=(-engine pkcs11 -keyform engine -inkey "$NOCTURO_SIGN_PKCS11_KEY;pin-source=file:$tmp/secret")
  fi
  awk '/BEGIN CERT/ {n++} n == 1' "$tmp/chain.pem" > "$tmp/leaf.pem"
  awk '/BEGIN CERT/ {n++} n > 1' "$tmp/chain.pem" > "$tmp/issuers.pem"
  local issuers=()
  [ ! -s "$tmp/issuers.pem" ] || issuers=(-certfile "$tmp/issuers.pem")
  OPENSSL_CONF=${conf:-${OPENSSL_CONF:-}} openssl cms -sign -binary -in "$1" -signer "$tmp/leaf.pem" "${key[@]}" \
    "${issuers[@]}" -outform DER -out "$1.p7s" >"$tmp/sums.log" 2>&1 ||
    fail "signing $(basename -- "$1") failed: $(redact "$(head -3 "$tmp/sums.log" | paste -sd';' -)")"
}

sign_file() {
  osslsign "$1" || fail "signing $(basename -- "$1") failed: $(reason "$tmp/sign.log")"
}

# The release as its users check it: pinned to this certificate, anchored at
# the chain's root alone, so that a chain that leaves out an intermediate fails
# here as it would on their PCs.
check_release() {
  local tsa=()
  [ -z "${NOCTURO_SIGN_TIMESTAMP_URL:-}" ] || tsa=(--tsa-ca "${NOCTURO_SIGN_TSA_CA:-/etc/ssl/certs/ca-certificates.crt}")
  [ "${NOCTURO_SIGN_REQUIRE_TIMESTAMP:-}" != 1 ] || tsa+=(--require-timestamp)
  scripts/verify-release.sh --publisher "$(cat "$tmp/leaf-sha256")" "${tsa[@]}" --require-signed-sums "$1" "$tmp/anchor.pem" > "$tmp/verify.log" ||
    fail "the signed release does not verify as its users will check it:"$'\n'"$(cat "$tmp/verify.log")"
}
