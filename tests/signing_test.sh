#!/usr/bin/env bash
# Signed releases, as the owner makes them and users check them: a PKCS#12
# file, and a key in a PKCS#11 token (SoftHSM2) with RFC 3161 timestamps from
# local servers; every refusal one line that names its variable, prints no
# secret and leaves no package; the verify script failing every bad release.
# Throwaway certificates and a token of this test's own, never kept.
# Needs scripts/build.sh first.
set -euo pipefail
cd "$(dirname "$0")/.."
fail() { echo "FAIL: $*"; exit 1; }
for variable in $(compgen -e | grep '^NOCTURO_SIGN_' || true); do unset "$variable"; done
export no_proxy=127.0.0.1,localhost NO_PROXY=127.0.0.1,localhost
name=nocturo-$(scripts/version.sh)
[ -f "build/$name-win32.zip" ] || fail "no build/$name-win32.zip: run scripts/build.sh first"
tmp=$(mktemp -d)
servers=()
trap 'kill "${servers[@]}" 2>/dev/null; rm -rf "$tmp"' EXIT
certs=$tmp/certs
mkdir "$certs" "$tmp/tokens"
bash tests/throwaway_certificates.sh "$certs"
echo "signing: $(osslsigncode --version | head -1 | sed 's/,.*//')"

# Two local timestamp servers, one that refuses (HTTP 500), and a port nothing answers on.
python3 tests/timestamp_server.py "$certs" "$tmp/good.port" & servers+=($!)
python3 tests/timestamp_server.py "$certs" "$tmp/refusing.port" refuse & servers+=($!)
for _ in $(seq 100); do [ -s "$tmp/good.port" ] && [ -s "$tmp/refusing.port" ] && break; sleep 0.1; done
good=http://127.0.0.1:$(cat "$tmp/good.port")/ refusing=http://127.0.0.1:$(cat "$tmp/refusing.port")/
dead=http://127.0.0.1:9/

# The token: the signer's key and the one under the intermediate; a PIN file as Notepad saves it.
export SOFTHSM2_CONF=$tmp/softhsm2.conf
printf 'directories.tokendir = %s\nobjectstore.backend = file\nlog.level = ERROR\n' "$tmp/tokens" > "$SOFTHSM2_CONF"
softhsm2-util --init-token --free --label nocturo --so-pin 12345678 --pin 24680 >/dev/null
for key in signer chained; do
  openssl pkcs8 -topk8 -nocrypt -in "$certs/$key.key" -out "$tmp/$key.p8"
  softhsm2-util --import "$tmp/$key.p8" --token nocturo --label "$key" --id "$(printf %s "$key" | xxd -p)" --pin 24680 >/dev/null
done
printf '\xef\xbb\xbf24680\r\n' > "$tmp/pin"
printf '13579' > "$tmp/wrong-pin"
cat "$certs/signer.pem" "$certs/ca.pem" > "$tmp/chain.pem"
cat "$certs/other.pem" "$certs/ca.pem" > "$tmp/other-chain.pem"
cat "$certs/chained.pem" "$certs/ca.pem" > "$tmp/incomplete-chain.pem"
module=$(find /usr/lib -name libsofthsm2.so | head -1)
# With the token: key, chain, PIN file, folder, and any further VARIABLE=VALUE.
by_token() {
  env NOCTURO_SIGN_PKCS11_MODULE="$module" NOCTURO_SIGN_PKCS11_KEY="pkcs11:token=nocturo;object=$1" \
    NOCTURO_SIGN_CERT="$2" NOCTURO_SIGN_PIN_FILE="$3" "${@:5}" scripts/package.sh "$4" 2>&1
}
# With the PKCS#12 file: certificate, password file, folder, further VARIABLE=VALUE.
by_file() {
  env NOCTURO_SIGN_PFX="$certs/$1" NOCTURO_SIGN_PASSWORD_FILE="$2" "${@:4}" scripts/package.sh "$3" 2>&1
}
leaf=$(openssl x509 -in "$certs/signer.pem" -outform DER | sha256sum | cut -c1-64)
verify() { scripts/verify-release.sh --publisher "$leaf" --tsa-ca "$certs/ca.pem" "$1" "$certs/ca.pem"; }

# The token's release, timestamped by the second server when the first does not answer.
out=$(by_token signer "$tmp/chain.pem" "$tmp/pin" "$tmp/token" NOCTURO_SIGN_TIMESTAMP_URL="$dead $good" \
      NOCTURO_SIGN_TSA_CA="$certs/ca.pem" NOCTURO_SIGN_REQUIRE_TIMESTAMP=1) || fail "the token's release failed: $out"
tzip=$tmp/token/$name-win32.zip
report=$(verify "$tzip") || fail "the token's release does not verify:"$'\n'"$report"
echo "$report"
[ "$(grep -c 'Nocturo Test Publisher (signer), timestamped .*, verified' <<< "$report")" = 7 ] ||
  fail "not every program and the installer are signed and timestamped"
# Years later, the certificate expired: the timestamp keeps the signature valid.
unzip -q "$tzip" "$name/nocturotray.exe" -d "$tmp/t"
faketime '2050-01-01 00:00:00' osslsigncode verify -CAfile "$certs/ca.pem" -TSA-CAfile "$certs/ca.pem" \
  -in "$tmp/t/$name/nocturotray.exe" >/dev/null 2>&1 || fail "a timestamped signature does not outlive its certificate"

# The file's release: no timestamp, so the build's fixed time, and the same bytes twice.
out=$(by_file signer.pfx "$certs/password" "$tmp/file") || fail "the PKCS#12 release failed: $out"
grep -q '^package: not timestamped: invalid once the certificate expires' <<< "$out" || fail "no word of the missing timestamp"
by_file signer.pfx "$certs/password" "$tmp/file-again" >/dev/null
cmp -s "$tmp/file/$name-win32.zip" "$tmp/file-again/$name-win32.zip" &&
  cmp -s "$tmp/file/$name-win32.msi" "$tmp/file-again/$name-win32.msi" || fail "signed again, the release differs"
unzip -q "$tmp/file/$name-win32.zip" "$name/nocturotray.exe" -d "$tmp/f"
faketime '2050-01-01 00:00:00' osslsigncode verify -CAfile "$certs/ca.pem" -in "$tmp/f/$name/nocturotray.exe" \
  >/dev/null 2>&1 && fail "a signature without a timestamp outlives its certificate"

# Refusals: one line that names what is wrong and no secret, and no package at all.
echo 'not the password' > "$tmp/wrong-password"
while IFS='|' read -r what says command; do
  rm -rf "$tmp/refused"
  out=$(eval "$command") && fail "$what: a release was made"
  grep -q "^package: .*$says" <<< "$out" || fail "$what: no \"$says\" in: $out"
  ! grep -qE '24680|13579|throwaway-' <<< "$out" || fail "$what: a secret is printed: $out"
  [ ! -e "$tmp/refused" ] || [ -z "$(ls -A "$tmp/refused")" ] || fail "$what: left $(ls "$tmp/refused")"
  echo "refused, $what: $(grep -m1 "^package: .*$says" <<< "$out")"
done <<ROWS
a wrong PIN|the PIN in NOCTURO_SIGN_PIN_FILE does not open|by_token signer "\$tmp/chain.pem" "\$tmp/wrong-pin" "\$tmp/refused"
no such key|NOCTURO_SIGN_PKCS11_KEY names no key|by_token nosuch "\$tmp/chain.pem" "\$tmp/pin" "\$tmp/refused"
a certificate not of the key|the certificate of NOCTURO_SIGN_CERT is not the one of its key|by_token signer "\$tmp/other-chain.pem" "\$tmp/pin" "\$tmp/refused"
a server that answers 500|NOCTURO_SIGN_TIMESTAMP_URL gave a timestamp: .*500|by_token signer "\$tmp/chain.pem" "\$tmp/pin" "\$tmp/refused" NOCTURO_SIGN_TIMESTAMP_URL="\$refusing"
both ways at once|choose one|by_token signer "\$tmp/chain.pem" "\$tmp/pin" "\$tmp/refused" NOCTURO_SIGN_PFX="\$certs/signer.pfx"
a timestamp required, none named|NOCTURO_SIGN_REQUIRE_TIMESTAMP|by_file signer.pfx "\$certs/password" "\$tmp/refused" NOCTURO_SIGN_REQUIRE_TIMESTAMP=1
a chain without its intermediate|does not verify as its users will check it|by_token chained "\$tmp/incomplete-chain.pem" "\$tmp/pin" "\$tmp/refused"
a wrong password|the password in NOCTURO_SIGN_PASSWORD_FILE does not open|by_file signer.pfx "\$tmp/wrong-password" "\$tmp/refused"
a certificate not for code signing|is not for code signing|by_file no-eku.pfx "\$certs/password" "\$tmp/refused"
an expired certificate|expired on|by_file expired.pfx "\$certs/password" "\$tmp/refused"
ROWS

# Bad releases, each made from the token's release as an attacker could, and
# each failing the check. The SHA256SUMS inside can always be written anew.
resum() { LC_ALL=C ls | grep -vx SHA256SUMS | xargs sha256sum -- > SHA256SUMS; }
osslsigncode sign -pkcs12 "$certs/other.pfx" -readpass "$certs/password" -h sha256 \
  -in "$tmp/t/$name/nocturotray.exe" -out "$tmp/others.exe" >/dev/null
openssl req -x509 -newkey rsa:2048 -nodes -days 30 -subj "/CN=Nocturo" -keyout "$tmp/self.key" -out "$tmp/self.pem" \
  -addext extendedKeyUsage=codeSigning 2>/dev/null
osslsigncode remove-signature -in "$tmp/t/$name/nocturotray.exe" -out "$tmp/bare.exe" >/dev/null
osslsigncode sign -certs "$tmp/self.pem" -key "$tmp/self.key" -h sha256 -n $'x\nSignature verification: ok' \
  -in "$tmp/bare.exe" -out "$tmp/spoof.exe" >/dev/null
while IFS='|' read -r what change; do
  rm -rf "$tmp/v" && mkdir "$tmp/v" && unzip -q "$tzip" -d "$tmp/v"
  (cd "$tmp/v/$name" && eval "$change")
  (cd "$tmp/v" && zip -q -r "$name-win32.zip" "$name" && cp "$tmp/token/$name-win32.msi" .)
  report=$(verify "$tmp/v/$name-win32.zip") && fail "$what: the check passes:"$'\n'"$report"
  echo "caught, $what: $(grep -vE ': (every file it lists matches|holds the zip.s very files|.*, verified against .*)$' <<< "$report" | head -1)"
done <<ROWS
README.txt changed|echo changed >> README.txt
a DLL added|cp "$(pwd)/build/win32/package/nocturo_tasks.dll" extra.dll
README.txt changed, SHA256SUMS written anew|echo changed >> README.txt && resum
a program's byte changed, SHA256SUMS written anew|printf '\\x90' | dd of=nocturo.exe bs=1 seek=4096 conv=notrunc 2>/dev/null && resum
a description that claims it verifies|cp "\$tmp/spoof.exe" nocturotray.exe && resum
a program of another publisher the system trusts|cp "\$tmp/others.exe" nocturotray.exe && resum
ROWS
report=$(scripts/verify-release.sh "build/$name-win32.zip") && fail "an unsigned release passes:"$'\n'"$report"
echo "caught, an unsigned release: $(grep -m1 ': unsigned$' <<< "$report")"
scripts/verify-release.sh --allow-unsigned "build/$name-win32.zip" >/dev/null || fail "--allow-unsigned refuses the unsigned release"
echo "signing: a token's timestamped release and a file's fixed one verify, pinned; 10 refusals; 7 bad releases caught"
