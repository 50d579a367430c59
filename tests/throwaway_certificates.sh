#!/usr/bin/env bash
# Makes throwaway certificates for the signing tests in folder $1, never kept:
#   ca.pem          a certificate authority the tests trust
#   password        the password of every .pfx here
#   signer.pfx      a code-signing certificate from that authority
#   other.pfx       another one from it, another publisher's
#   no-eku.pfx      one without the code-signing use
#   expired.pfx     one that expired in 2020
# Valid from 2025 on, so a signing time fixed in the past still falls inside.
set -euo pipefail
cd "$1"
quiet() { "$@" >/dev/null 2>&1 || { echo "throwaway-certificates: $1 failed" >&2; exit 1; }; }
printf 'throwaway-%s' "$RANDOM$RANDOM" > password
quiet faketime -f '2025-01-01 00:00:00' openssl req -x509 -newkey rsa:2048 -nodes -days 7300 \
  -subj "/CN=Nocturo Test CA" -keyout ca.key -out ca.pem \
  -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign,cRLSign
issue() {  # name, extensions, faketime start, days
  printf '%b' "$2" > "$1.ext"
  quiet openssl req -newkey rsa:2048 -nodes -subj "/CN=Nocturo Test Publisher ($1)" -keyout "$1.key" -out "$1.csr"
  quiet faketime -f "$3" openssl x509 -req -in "$1.csr" -CA ca.pem -CAkey ca.key -CAcreateserial \
    -days "$4" -extfile "$1.ext" -out "$1.pem"
  quiet openssl pkcs12 -export -inkey "$1.key" -in "$1.pem" -certfile ca.pem -passout file:password -out "$1.pfx"
}
issue signer 'keyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n' '2025-01-01 00:00:00' 7300
issue other 'keyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n' '2025-01-01 00:00:00' 7300
issue no-eku 'keyUsage=critical,digitalSignature\nextendedKeyUsage=serverAuth\n' '2025-01-01 00:00:00' 7300
issue expired 'keyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n' '2020-01-01 00:00:00' 30
