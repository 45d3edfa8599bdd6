#!/usr/bin/env bash
# The release signed as a company signs it, with a certificate of its own authority: a throwaway
# one made here, so that no test needs the network. tools/package runs in the copy of the sources
# that the package checks built the release in (cmake/ReleaseCheckSources.cmake):
#   - certificates it must refuse leave no package, and say why;
#   - with a good one, the programs, both servers and both installers verify against the
#     authority, the checksums hold, and a rebuild without the certificate passes
#     tools/check-signed-release, which a changed installer does not;
#   - the signed installer installs under Wine's msiexec, with its programs still signed.
#   SignedRelease.sh SOURCE_DIR WORK_DIR CHECK_DIR
set -uo pipefail
source_dir=$1
work=$2
copy=$3/source
rm -rf "$work"
mkdir -p "$work/keys"
cmake -DSOURCE_DIR="$source_dir" -DCHECK_DIR="$3" -P "$source_dir/cmake/ReleaseCheckSources.cmake" ||
    exit 1
SOURCE_DATE_EPOCH=$(git -C "$source_dir" log -1 --format=%ct 2>/dev/null || date +%s)
export SOURCE_DATE_EPOCH
cd "$work/keys" || exit 1
failures=0
fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}

openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.crt -days 30 \
    -subj "/CN=Relingo Test Authority" -addext "basicConstraints=critical,CA:TRUE" \
    -addext "keyUsage=critical,keyCertSign" 2>/dev/null
# A signer's certificate: signer NAME USAGE [FAKETIME], issued for 30 days.
signer() {
    openssl req -newkey rsa:2048 -nodes -keyout "$1.key" -out "$1.csr" -subj "/CN=Relingo Signer" \
        2>/dev/null
    printf 'keyUsage=critical,digitalSignature\nextendedKeyUsage=%s\n' "$2" >"$1.ext"
    ${3:+faketime "$3"} openssl x509 -req -in "$1.csr" -CA ca.crt -CAkey ca.key -CAcreateserial \
        -days 30 -extfile "$1.ext" -out "$1.crt" 2>/dev/null
    openssl pkcs12 -export -inkey "$1.key" -in "$1.crt" -certfile ca.crt -passout pass:secret \
        -out "$1.pfx"
}
signer good codeSigning
signer web serverAuth
signer expired codeSigning "2020-01-01 00:00:00"
echo secret >password

package=$copy/tools/package
packages=$copy/build/packages
while IFS='|' read -r what pfx password timestamp said; do
    mkdir -p "$packages" && touch "$packages/Relingo-0.9.0-x64.zip"
    output=$(RELINGO_SIGN_PFX=$pfx.pfx RELINGO_SIGN_PASSWORD=$password \
        RELINGO_SIGN_TIMESTAMP_URL=$timestamp "$package" 2>&1) && fail "$what: packaged"
    grep -q "$said" <<<"$output" || fail "$what: said $output"
    [ -e "$packages" ] && fail "$what: build/packages left"
done <<'CASES'
a wrong password|good|wrong||does not open with the password given
a certificate for web servers|web|secret||lacks the code-signing usage
an expired certificate|expired|secret||expired on Jan 31
a timestamp server that does not answer|good|secret|http://127.0.0.1:9/|does not answer
CASES

if ! RELINGO_SIGN_PFX=good.pfx RELINGO_SIGN_PASSWORD_FILE=password "$package" \
    >"$work/signed.log" 2>&1; then
    fail "signed packaging: $(tail -n 20 "$work/signed.log")"
    exit 1
fi
mv "$packages" "$work/signed"
mkdir -p "$work/unpacked"
for zip in "$work"/signed/*.zip; do
    (cd "$work/unpacked" && cmake -E tar xf "$zip")
done
for file in "$work"/unpacked/*/*.exe "$work"/unpacked/*/*.ocx "$work"/signed/*.msi; do
    osslsigncode verify -CAfile ca.crt -in "$file" >/dev/null 2>&1 || fail "$file does not verify"
done
[ "$(ls "$work"/unpacked/*/*.exe "$work"/unpacked/*/*.ocx "$work"/signed/*.msi | wc -l)" -eq 6 ] ||
    fail "not both programs, servers and installers"
(cd "$work/signed" && sha256sum --check --strict --quiet SHA256SUMS) || fail "SHA256SUMS"

"$package" >"$work/rebuild.log" 2>&1 || fail "unsigned packaging: $(tail -n 20 "$work/rebuild.log")"
"$copy/tools/check-signed-release" "$work/signed" "$packages" || fail "the rebuild"
cp -r "$work/signed" "$work/changed"
printf 'X' | dd of="$(ls "$work"/changed/*x64.msi)" bs=1 seek=300000 conv=notrunc 2>/dev/null
"$copy/tools/check-signed-release" "$work/changed" "$packages" >/dev/null &&
    fail "a changed installer passed"

msi=$(ls "$work"/signed/*x64.msi)
"$source_dir/cmake/wine-run.sh" "$work/wineprefix" msiexec /i "Z:${msi//\//\\}" /qn ||
    fail "msiexec"
osslsigncode verify -CAfile ca.crt -in "$work/wineprefix/drive_c/Program Files/Relingo/Relingo.exe" \
    >/dev/null 2>&1 || fail "the installed program is not signed"
WINEPREFIX=$work/wineprefix wineserver -k 2>/dev/null
[ "$failures" -eq 0 ] && rm -rf "$work"
exit "$failures"
