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

# Local timestamp servers: one that answers, one that refuses (HTTP 500), one
# that takes the request and never answers; and a port nothing answers on.
for server in good: refusing:refuse hanging:hang; do
  python3 tests/timestamp_server.py "$certs" "$tmp/${server%:*}.port" ${server#*:} & servers+=($!)
done
for _ in $(seq 100); do [ -s "$tmp/good.port" ] && [ -s "$tmp/refusing.port" ] && [ -s "$tmp/hanging.port" ] && break; sleep 0.1; done
good=http://127.0.0.1:$(cat "$tmp/good.port")/ refusing=http://127.0.0.1:$(cat "$tmp/refusing.port")/
hanging=http://127.0.0.1:$(cat "$tmp/hanging.port")/
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
verify() {
  scripts/verify-release.sh --publisher "$leaf" --tsa-ca "$certs/ca.pem" --require-signed-sums "${@:2}" "$1" "$certs/ca.pem"
}

# The token's release, timestamped by the third server: the first never answers
# (each try bounded), the second is not there.
started=$(date +%s)
out=$(by_token signer "$tmp/chain.pem" "$tmp/pin" "$tmp/token" NOCTURO_SIGN_TIMESTAMP_URL="$hanging $dead $good" \
      NOCTURO_SIGN_TIMESTAMP_SECONDS=2 NOCTURO_SIGN_TSA_CA="$certs/ca.pem" NOCTURO_SIGN_REQUIRE_TIMESTAMP=1) ||
  fail "the token's release failed: $out"
echo "signing: the token's release, a server that never answers first, took $(($(date +%s) - started)) s"
[ -f "$tmp/token/$name-SHA256SUMS.p7s" ] || fail "the release sums are not signed"
openssl cms -verify -binary -inform DER -in "$tmp/token/$name-SHA256SUMS.p7s" -content "$tmp/token/$name-SHA256SUMS" \
  -CAfile "$certs/ca.pem" -purpose any -out /dev/null 2>/dev/null || fail "openssl cms does not verify the release sums"
tzip=$tmp/token/$name-win32.zip
report=$(verify "$tzip") || fail "the token's release does not verify:"$'\n'"$report"
echo "$report"
[ "$(grep -c 'Nocturo Test Publisher (signer), timestamped .*, verified' <<< "$report")" = 7 ] ||
  fail "not every program and the installer are signed and timestamped"
grep -qx 'release sums: signed, verified against .*, signed by the pinned certificate' <<< "$report" ||
  fail "the release sums' signature is not checked"
scripts/verify-release.sh --publisher-name "CN=Nocturo Test Publisher (signer)" --issuer "CN=Nocturo Test CA" \
  --tsa-ca "$certs/ca.pem" "$tzip" "$certs/ca.pem" >/dev/null || fail "the publisher's name and issuer do not pin it"
report=$(scripts/verify-release.sh --publisher-name "CN=Nocturo Test Publisher (other)" --issuer "CN=Nocturo Test CA" \
  "$tzip" "$certs/ca.pem") && fail "another publisher's name passes"
echo "caught, another publisher's name pinned: $(grep -m1 'not CN=Nocturo Test Publisher (other)' <<< "$report")"
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
a PIN in the key's URI|NOCTURO_SIGN_PKCS11_KEY holds a PIN|by_token "signer;pin-value=24680" "\$tmp/chain.pem" "\$tmp/pin" "\$tmp/refused"
a certificate not for code signing|is not for code signing|by_file no-eku.pfx "\$certs/password" "\$tmp/refused"
an expired certificate|expired on|by_file expired.pfx "\$certs/password" "\$tmp/refused"
ROWS

# Bad releases, each made from the token's release as an attacker could, and
# each failing the check with its own line. In the release's folder $tmp/v: the
# zip, the installer, the release sums and their signature, and the zip's
# folder unpacked ($name/). The SHA256SUMS inside can always be written anew.
resum() { (cd "$name" && LC_ALL=C ls | grep -vx SHA256SUMS | xargs sha256sum -- > SHA256SUMS); }
rezip() { rm -f "$name-win32.zip" && zip -q -r -y "$name-win32.zip" "$name"; }
outer() { sha256sum -- "$name-win32.zip" "$name-win32.msi" > "$name-SHA256SUMS"; }
msi=$name-win32.msi
osslsigncode sign -pkcs12 "$certs/other.pfx" -readpass "$certs/password" -h sha256 \
  -in "$tmp/t/$name/nocturotray.exe" -out "$tmp/others.exe" >/dev/null
openssl req -x509 -newkey rsa:2048 -nodes -days 30 -subj "/CN=Nocturo" -keyout "$tmp/self.key" -out "$tmp/self.pem" \
  -addext extendedKeyUsage=codeSigning 2>/dev/null
osslsigncode remove-signature -in "$tmp/t/$name/nocturotray.exe" -out "$tmp/bare.exe" >/dev/null
osslsigncode sign -certs "$tmp/self.pem" -key "$tmp/self.key" -h sha256 -n $'x\nSignature verification: ok' \
  -in "$tmp/bare.exe" -out "$tmp/spoof.exe" >/dev/null
# A certificate of our name with the serial of the other publisher's, from an
# authority of the attacker's own, carried in the other publisher's signature.
other_serial=$(openssl x509 -in "$certs/other.pem" -noout -serial | cut -d= -f2)
openssl req -new -newkey rsa:2048 -nodes -subj "/CN=Nocturo Test Publisher (signer)" -keyout "$tmp/name.key" \
  -out "$tmp/name.csr" 2>/dev/null
openssl x509 -req -in "$tmp/name.csr" -CA "$tmp/self.pem" -CAkey "$tmp/self.key" -set_serial "0x$other_serial" \
  -days 30 -out "$tmp/same-serial.pem" 2>/dev/null
osslsigncode sign -pkcs12 "$certs/other.pfx" -readpass "$certs/password" -h sha256 -ac "$tmp/same-serial.pem" \
  -in "$tmp/bare.exe" -out "$tmp/named.exe" >/dev/null
# The installer: another publisher's signature first with ours nested, and
# ours first with a self-signed one nested.
osslsigncode remove-signature -in "$tmp/token/$msi" -out "$tmp/bare.msi" >/dev/null
osslsigncode sign -pkcs12 "$certs/other.pfx" -readpass "$certs/password" -h sha256 -add-msi-dse \
  -in "$tmp/bare.msi" -out "$tmp/others.msi" >/dev/null
osslsigncode sign -nest -pkcs12 "$certs/signer.pfx" -readpass "$certs/password" -h sha256 -add-msi-dse \
  -in "$tmp/others.msi" -out "$tmp/ours-nested.msi" >/dev/null
osslsigncode sign -nest -certs "$tmp/self.pem" -key "$tmp/self.key" -h sha256 -add-msi-dse \
  -in "$tmp/token/$msi" -out "$tmp/self-nested.msi" >/dev/null
# An older version's installer and folder, under this version's name.
old_version=${name#nocturo-}
old_version=${old_version%.*}.$((${old_version##*.} - 1))
scripts/package.sh "$tmp/old" "$old_version" >/dev/null
caught=0
while IFS='|' read -r what says change; do
  rm -rf "$tmp/v" && mkdir "$tmp/v" && cp "$tmp/token/$name"-* "$tmp/v/" && (cd "$tmp/v" && unzip -q "$name-win32.zip")
  (cd "$tmp/v" && eval "$change")
  report=$(verify "$tmp/v/$name-win32.zip") && fail "$what: the check passes:"$'\n'"$report"
  line=$(grep -m1 -E -- "$says" <<< "$report") || fail "$what: no line \"$says\" in:"$'\n'"$report"
  echo "caught, $what: $line"
  caught=$((caught + 1))
done <<ROWS
README.txt changed|^SHA256SUMS: does not match|echo changed >> $name/README.txt && rezip
a DLL added|^SHA256SUMS: lists not exactly the zip's files: +extra.dll|cp "$(pwd)/build/win32/package/nocturo_tasks.dll" $name/extra.dll && rezip
README.txt changed, SHA256SUMS written anew|^README.txt: not the installer's copy|echo changed >> $name/README.txt && resum && rezip
a program's byte changed, SHA256SUMS written anew|^nocturo.exe: .*does NOT verify|printf '\\x90' | dd of=$name/nocturo.exe bs=1 seek=4096 conv=notrunc 2>/dev/null && resum && rezip
a description that claims it verifies|^nocturotray.exe: signed by CN=Nocturo, .*does NOT verify|cp "\$tmp/spoof.exe" $name/nocturotray.exe && resum && rezip
a program of another publisher the system trusts|^nocturotray.exe: signed by CN=Nocturo Test Publisher \(other\).*does NOT verify|cp "\$tmp/others.exe" $name/nocturotray.exe && resum && rezip
another's, carrying a certificate of our name with its serial|^nocturotray.exe: signed by CN=Nocturo Test Publisher \(other\)|cp "\$tmp/named.exe" $name/nocturotray.exe && resum && rezip
bytes after a program's signature|^nocturotray.exe: 8 bytes after its end|printf 'appended' >> $name/nocturotray.exe && resum && rezip
bytes after the installer's end|^$msi: [0-9]+ bytes after its end|printf 'appended' >> $msi && outer
a setup program beside the folder|lies outside the folder $name/|echo MZ > setup.exe && zip -q $name-win32.zip setup.exe
a script beside the folder|'README-FIRST.vbs' lies outside the folder|echo x > README-FIRST.vbs && zip -q $name-win32.zip README-FIRST.vbs
a link inside the folder|'$name/link.txt' is no regular file|ln -s README.txt $name/link.txt && rezip
two entries of one name|two entries named '$name/README.txt'|python3 -c "import sys, warnings, zipfile; warnings.simplefilter('ignore'); zipfile.ZipFile(sys.argv[1], 'a').writestr(sys.argv[2], 'x')" $name-win32.zip $name/README.txt
the installer another's, ours nested|^$msi: signed by CN=Nocturo Test Publisher \(other\).*, and 1 more signature\(s\) nested in it|cp "\$tmp/ours-nested.msi" $msi && outer
ours, with a self-signed one nested|^$msi: signed by CN=Nocturo Test Publisher \(signer\).*, and 1 more signature\(s\) nested in it|cp "\$tmp/self-nested.msi" $msi && outer
an older version's folder under this name|'nocturo-$old_version/.*' lies outside the folder $name/|mv $name nocturo-$old_version && rm $name-win32.zip && zip -q -r $name-win32.zip nocturo-$old_version && outer
an older version's installer under this name|^$msi: ProductVersion [0-9.]+, not|cp "\$tmp/old/nocturo-$old_version-win32.msi" $msi && outer
the release sums written anew|^release sums: the signature does NOT verify|echo changed > $name/README.txt && resum && rezip && outer
the release sums' signature missing|^release sums: not signed|rm $name-SHA256SUMS.p7s
the release sums' signature changed|^release sums: the signature does NOT verify|printf '\\x00' | dd of=$name-SHA256SUMS.p7s bs=1 seek=200 conv=notrunc 2>/dev/null
ROWS
report=$(verify "$tzip" --tsa-ca "$tmp/self.pem") && fail "a timestamp checked against the wrong authority passes"
line=$(grep -m1 'but the timestamp does NOT verify' <<< "$report") || fail "the wrong timestamp authority: no line in:"$'\n'"$report"
echo "caught, a timestamp checked against another authority: $line"
report=$(scripts/verify-release.sh --require-timestamp "$tmp/file/$name-win32.zip" "$certs/ca.pem") &&
  fail "a release without timestamps passes --require-timestamp"
echo "caught, no timestamp where one is required: $(grep -m1 'a timestamp is required' <<< "$report")"
report=$(scripts/verify-release.sh "build/$name-win32.zip") && fail "an unsigned release passes:"$'\n'"$report"
echo "caught, an unsigned release: $(grep -m1 ': unsigned$' <<< "$report")"
scripts/verify-release.sh --allow-unsigned "build/$name-win32.zip" >/dev/null || fail "--allow-unsigned refuses the unsigned release"
echo "signing: a token's timestamped release and a file's fixed one verify, pinned; 11 refusals; $((caught + 3)) bad releases caught"
