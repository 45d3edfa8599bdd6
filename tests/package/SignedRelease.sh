#!/usr/bin/env bash
# The release signed as a company signs it, with a certificate of its own authority: a throwaway
# one made here, so that no test needs the network. tools/package runs in the copy of the sources
# that the package checks built the release in (cmake/ReleaseCheckSources.cmake):
#   - certificates it must refuse leave no package, and say why;
#   - with a good one, the programs, both servers and both installers verify against the
#     authority, the checksums hold, and a rebuild without the certificate passes
#     tools/check-signed-release, which a changed or incomplete release does not;
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
openssl pkcs12 -export -legacy -inkey good.key -in good.crt -certfile ca.crt -passout pass:secret \
    -out legacy.pfx
echo secret >password

package=$copy/tools/package
packages=$copy/build/packages
while IFS='|' read -r what pfx password timestamp ca said; do
    mkdir -p "$packages" && touch "$packages/Relingo-0.9.0-x64.zip"
    output=$(RELINGO_SIGN_PFX=$pfx.pfx RELINGO_SIGN_PASSWORD=$password RELINGO_SIGN_CA=$ca \
        RELINGO_SIGN_TIMESTAMP_URL=$timestamp "$package" 2>&1) && fail "$what: packaged"
    grep -q -E "$said" <<<"$output" || fail "$what: said $output"
    [ -e "$packages" ] && fail "$what: build/packages left"
done <<'CASES'
a wrong password|good|wrong||ca.crt|does not open with the password given.*password
a certificate for web servers|web|secret||ca.crt|lacks the code-signing usage
an expired certificate|expired|secret||ca.crt|expired on Jan 31
an authority the machine does not trust|good|secret|||RELINGO_SIGN_CA
a timestamp server that does not answer|good|secret|http://127.0.0.1:9/|ca.crt|does not answer
CASES

RELINGO_SIGN_PFX=good.pfx RELINGO_SIGN_PASSWORD_FILE=password RELINGO_SIGN_CA=ca.crt \
    "$package" windows >"$work/one.log" 2>&1 || fail "one build: $(tail -n 20 "$work/one.log")"
mv "$packages" "$work/one"
mkdir -p "$work/spy" && printf '#!/bin/sh\ncase " $* " in *" --build "*) env >>"%s";; esac
exec %s "$@"\n' "$work/spy.env" "$(command -v cmake)" >"$work/spy/cmake" && chmod +x "$work/spy/cmake"
if ! PATH=$work/spy:$PATH RELINGO_SIGN_PFX=legacy.pfx RELINGO_SIGN_PASSWORD=secret \
    RELINGO_SIGN_CA=ca.crt "$package" >"$work/signed.log" 2>&1; then
    fail "signed packaging: $(tail -n 20 "$work/signed.log")"
    exit 1
fi
grep -q '^RELINGO_SIGN_PASSWORD=' "$work/spy.env" && fail "the password reached the build"
mv "$packages" "$work/signed"
mkdir -p "$work/unpacked"
for zip in "$work"/signed/*.zip; do
    (cd "$work/unpacked" && cmake -E tar xf "$zip")
done
for file in "$work"/unpacked/*/*.exe "$work"/unpacked/*/*.ocx "$work"/signed/*.msi; do
    osslsigncode verify -CAfile ca.crt -in "$file" >/dev/null 2>&1 || fail "$file does not verify"
    [[ $file != *.exe || -x $file ]] || fail "$file lost its run bit"
done
[ "$(ls "$work"/unpacked/*/*.exe "$work"/unpacked/*/*.ocx "$work"/signed/*.msi | wc -l)" -eq 6 ] ||
    fail "not both programs, servers and installers"
(cd "$work/signed" && sha256sum --check --strict --quiet SHA256SUMS) || fail "SHA256SUMS"

mkdir -p "$work/inherited" && touch "$work/inherited/kept"
RELINGO_SIGN_WORK=$work/inherited "$package" >"$work/rebuild.log" 2>&1 ||
    fail "unsigned packaging: $(tail -n 20 "$work/rebuild.log")"
[ -e "$work/inherited/kept" ] || fail "the unsigned run removed the folder it was handed"
cp -r "$packages" "$work/rebuild"
cp -r "$work/signed" "$work/changed"
printf 'X' | dd of="$(ls "$work"/changed/*x64.msi)" bs=1 seek=300000 conv=notrunc 2>/dev/null
(cd "$work/changed" && sha256sum -- *.zip *.msi >SHA256SUMS)
cp -r "$work/signed" "$work/badsums"
sed -i '1{s/^f/e/;t;s/^./f/}' "$work/badsums/SHA256SUMS"
cp -r "$work/rebuild" "$work/lacking"
rm "$work"/lacking/*-x86.zip
web=$(openssl x509 -in web.crt -noout -fingerprint -sha256)
while IFS='|' read -r what release rebuild signer passes said; do
    output=$("$copy/tools/check-signed-release" ${signer:+--signer "${signer/web/$web}"} \
        "$work/$release" "$work/$rebuild" 2>&1) && passed=yes || passed=no
    [ "$passed" = "$passes" ] || fail "$what: $output"
    grep -q -E "$said" <<<"$output" || fail "$what: said $output"
done <<'CASES'
the rebuild, its signer named|signed|rebuild|good.crt|yes|same Authenticode digest
the rebuild, no signer named|signed|rebuild||yes|Relingo Signer.*thumbprint [0-9A-F]{64}
another signer's thumbprint|signed|rebuild|web|no|another certificate
a changed installer|changed|rebuild||no|msi's Authenticode digest
a release without its installers|one|rebuild||no|not in the release
a rebuild without a package|signed|lacking||no|not in the rebuild
checksums that do not hold|badsums|rebuild||no|SHA256SUMS does not hold
CASES

msi=$(ls "$work"/signed/*x64.msi)
"$source_dir/cmake/wine-run.sh" "$work/wineprefix" msiexec /i "Z:${msi//\//\\}" /qn ||
    fail "msiexec"
osslsigncode verify -CAfile ca.crt -in "$work/wineprefix/drive_c/Program Files/Relingo/Relingo.exe" \
    >/dev/null 2>&1 || fail "the installed program is not signed"
WINEPREFIX=$work/wineprefix wineserver -k 2>/dev/null
[ "$failures" -eq 0 ] && rm -rf "$work"
exit "$failures"
