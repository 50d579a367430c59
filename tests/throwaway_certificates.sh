#!/usr/bin/env bash
# Makes throwaway certificates for the signing tests in folder $1, never kept:
#   ca.pem          a root the tests trust (until 2079)
#   password        the password of every .pfx here
#   signer.pfx      a code-signing certificate from that root (.pem and .key too), until 2044
#   other.pfx       another one from it, another publisher's
#   no-eku.pfx      one without the code-signing use
#   expired.pfx     one that expired in 2020
#   inter.pem       an intermediate authority under the root
#   chained.pem     a code-signing certificate from the intermediate (.key too)
#   tsa.pem         a timestamp server's certificate from the root (.key too), until 2079
# Valid from 2025 on, so a signing time fixed in the past still falls inside.
set -euo pipefail
cd "$1"
quiet() { "$@" >/dev/null 2>&1 || { echo "throwaway-certificates: $1 failed" >&2; exit 1; }; }
printf 'throwaway-%s' "$RANDOM$RANDOM" > password
quiet faketime -f '2025-01-01 00:00:00' openssl req -x509 -newkey rsa:2048 -nodes -days 20000 \
  -subj "/CN=Nocturo Test CA" -keyout ca.key -out ca.pem \
  -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign,cRLSign
issue() {  # name, extensions, faketime start, days, issuer
  printf '%b' "$2" > "$1.ext"
  quiet openssl req -newkey rsa:2048 -nodes -subj "/CN=Nocturo Test Publisher ($1)" -keyout "$1.key" -out "$1.csr"
  quiet faketime -f "$3" openssl x509 -req -in "$1.csr" -CA "${5:-ca}.pem" -CAkey "${5:-ca}.key" -CAcreateserial \
    -days "$4" -extfile "$1.ext" -out "$1.pem"
  quiet openssl pkcs12 -export -inkey "$1.key" -in "$1.pem" -certfile ca.pem -passout file:password -out "$1.pfx"
}
signing='keyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n'
issue signer "$signing" '2025-01-01 00:00:00' 7300
issue other "$signing" '2025-01-01 00:00:00' 7300
issue no-eku 'keyUsage=critical,digitalSignature\nextendedKeyUsage=serverAuth\n' '2025-01-01 00:00:00' 7300
issue expired "$signing" '2020-01-01 00:00:00' 30
issue inter 'basicConstraints=critical,CA:TRUE\nkeyUsage=critical,keyCertSign,cRLSign\n' '2025-01-01 00:00:00' 20000
issue chained "$signing" '2025-01-01 00:00:00' 7300 inter
issue tsa 'keyUsage=critical,digitalSignature\nextendedKeyUsage=critical,timeStamping\n' '2025-01-01 00:00:00' 20000
