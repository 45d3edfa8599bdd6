# Authenticode signing of a release, for tools/package when it is given a certificate:
#   RELINGO_SIGN_PFX            the certificate and its private key, a PKCS#12 file, with the
#                               chain of certificates it was issued under
#   RELINGO_SIGN_PASSWORD       its password, or
#   RELINGO_SIGN_PASSWORD_FILE  a file whose first line is the password
#   RELINGO_SIGN_TIMESTAMP_URL  an RFC 3161 timestamp server (optional)
#   RELINGO_SIGN_URL            the web address the signature names (optional)
#   RELINGO_SIGN_CA             the root certificate of a private authority the certificate was
#                               issued under, trusted beside the system's roots (optional)
# Files are signed with SHA-256 and the product name as the signature's description, then
# verified against the system's roots and RELINGO_SIGN_CA, never against the roots the PKCS#12
# file carries itself. Source it after common.sh; it defines functions only.

relingo_sign_description=Relingo

# Runs openssl pkcs12 on the certificate with the password given, which reaches openssl through
# its own environment only.
relingo_sign_pkcs12() {
    RELINGO_SIGN_SECRET=$(cat "$RELINGO_SIGN_WORK/password") openssl pkcs12 \
        -passin env:RELINGO_SIGN_SECRET -passout env:RELINGO_SIGN_SECRET "$@"
}

# The certificate to sign with, in the private folder: the file given, or where it is one of the
# older files that Windows exports with RC2, which OpenSSL 3 reads only through its legacy
# provider, the same certificate and key written again the current way. Fails with openssl's
# own reason on the standard error when neither way opens it.
relingo_sign_take_pfx() {
    local work=$RELINGO_SIGN_WORK errors=$RELINGO_SIGN_WORK/openssl.log
    if relingo_sign_pkcs12 -in "$RELINGO_SIGN_PFX" -nokeys -out /dev/null 2>"$errors"; then
        cp "$RELINGO_SIGN_PFX" "$work/signing.pfx"
        return
    fi
    # The key passes through a pipe only, never a file of its own.
    : >"$errors"
    relingo_sign_pkcs12 -export -out "$work/signing.pfx" \
        -in <(relingo_sign_pkcs12 -legacy -in "$RELINGO_SIGN_PFX" -nokeys 2>>"$errors") \
        -inkey <(relingo_sign_pkcs12 -legacy -in "$RELINGO_SIGN_PFX" -nocerts -nodes 2>>"$errors") \
        2>>"$errors" || {
        grep -v '^$' "$errors" | head -n 2 >&2
        return 1
    }
}

# Whether the timestamp server grants a timestamp.
relingo_sign_timestamp_answers() {
    local query=$RELINGO_SIGN_WORK/probe.tsq reply=$RELINGO_SIGN_WORK/probe.tsr
    printf 'Relingo' | openssl ts -query -sha256 -cert -out "$query" 2>/dev/null &&
        curl --silent --fail --max-time 30 -H 'Content-Type: application/timestamp-query' \
            --data-binary "@$query" -o "$reply" "$RELINGO_SIGN_TIMESTAMP_URL" &&
        openssl ts -reply -in "$reply" -text 2>/dev/null | grep -q '^Status: Granted'
}

# Checks everything signing needs before anything is built: the certificate opens with its
# password, is valid now and may sign code, and the timestamp server answers. Keeps the
# password and the chain to verify against in a private folder, RELINGO_SIGN_WORK, which
# relingo_end_signing removes. Says what is wrong and fails otherwise.
relingo_begin_signing() {
    RELINGO_SIGN_WORK=$(mktemp -d) && chmod 700 "$RELINGO_SIGN_WORK" || return 1
    export RELINGO_SIGN_WORK
    local pfx=$RELINGO_SIGN_PFX work=$RELINGO_SIGN_WORK
    if [ -n "${RELINGO_SIGN_PASSWORD_FILE:-}" ]; then
        if [ ! -r "$RELINGO_SIGN_PASSWORD_FILE" ]; then
            relingo_say "the password file $RELINGO_SIGN_PASSWORD_FILE cannot be read"
            return 1
        fi
        head -n 1 "$RELINGO_SIGN_PASSWORD_FILE" | tr -d '\r\n' >"$work/password"
    else
        printf '%s' "${RELINGO_SIGN_PASSWORD:-}" >"$work/password"
    fi
    # From here on the password is in the private folder alone: none of the programs the build
    # starts finds it in its environment.
    unset RELINGO_SIGN_PASSWORD
    if [ ! -r "$pfx" ]; then
        relingo_say "the certificate $pfx cannot be read"
        return 1
    fi
    if ! relingo_sign_take_pfx 2>"$work/reason" ||
        ! relingo_sign_pkcs12 -in "$work/signing.pfx" -nokeys -clcerts -out "$work/signer.pem" \
            2>/dev/null; then
        relingo_say "the certificate $pfx does not open with the password given, or is no" \
            "PKCS#12 file: $(tr '\n' ' ' <"$work/reason")"
        return 1
    fi
    local signer=$work/signer.pem from until
    from=$(openssl x509 -in "$signer" -noout -startdate | cut -d= -f2)
    until=$(openssl x509 -in "$signer" -noout -enddate | cut -d= -f2)
    if [ "$(date -d "$from" +%s)" -gt "$(date +%s)" ]; then
        relingo_say "the certificate is not valid before $from"
        return 1
    fi
    if ! openssl x509 -in "$signer" -noout -checkend 0 >/dev/null; then
        relingo_say "the certificate expired on $until"
        return 1
    fi
    if ! openssl x509 -in "$signer" -noout -ext extendedKeyUsage 2>/dev/null |
        grep -q 'Code Signing'; then
        relingo_say "the certificate may not sign code: it lacks the code-signing usage"
        return 1
    fi
    # The system's roots and the authority named, never those the file brings along: a file
    # that carries its own private root would verify against itself.
    cat /etc/ssl/certs/ca-certificates.crt ${RELINGO_SIGN_CA:+"$RELINGO_SIGN_CA"} \
        >"$work/trusted.pem" 2>/dev/null
    relingo_sign_pkcs12 -in "$work/signing.pfx" -nokeys -cacerts -out "$work/chain.pem" 2>/dev/null
    local untrusted=()
    [ -s "$work/chain.pem" ] && untrusted=(-untrusted "$work/chain.pem")
    if ! openssl verify -CAfile "$work/trusted.pem" "${untrusted[@]}" -purpose any "$signer" \
        >/dev/null 2>&1; then
        relingo_say "the certificate is not issued under a root this machine trusts; name its" \
            "authority's root certificate in RELINGO_SIGN_CA"
        return 1
    fi
    if [ -n "${RELINGO_SIGN_TIMESTAMP_URL:-}" ] && ! relingo_sign_timestamp_answers; then
        relingo_say "the timestamp server $RELINGO_SIGN_TIMESTAMP_URL does not answer"
        return 1
    fi
    relingo_say "signing as: $(openssl x509 -in "$signer" -noout -subject)"
}

relingo_end_signing() {
    [ -n "${RELINGO_SIGN_WORK:-}" ] && rm -rf "$RELINGO_SIGN_WORK"
    unset RELINGO_SIGN_WORK
}

# Signs each file in place, then verifies its signature against the system's roots and
# RELINGO_SIGN_CA; a file is replaced only by a signed copy that verifies, with the same mode.
relingo_sign_files() {
    local options=(-pkcs12 "$RELINGO_SIGN_WORK/signing.pfx" -readpass "$RELINGO_SIGN_WORK/password"
        -h sha256 -n "$relingo_sign_description")
    [ -n "${RELINGO_SIGN_URL:-}" ] && options+=(-i "$RELINGO_SIGN_URL")
    [ -n "${RELINGO_SIGN_TIMESTAMP_URL:-}" ] && options+=(-ts "$RELINGO_SIGN_TIMESTAMP_URL")
    local file signed log=$RELINGO_SIGN_WORK/osslsigncode.log
    for file in "$@"; do
        signed=$file.signed
        rm -f "$signed"
        if ! osslsigncode sign "${options[@]}" -in "$file" -out "$signed" >"$log" 2>&1; then
            relingo_say "could not sign $(basename "$file"):"
            cat "$log" >&2
            rm -f "$signed"
            return 1
        fi
        if ! osslsigncode verify -CAfile "$RELINGO_SIGN_WORK/trusted.pem" \
            -TSA-CAfile "$RELINGO_SIGN_WORK/trusted.pem" -in "$signed" \
            >"$log" 2>&1; then
            relingo_say "the signature of $(basename "$file") does not verify against the" \
                "system's roots and RELINGO_SIGN_CA:"
            cat "$log" >&2
            rm -f "$signed"
            return 1
        fi
        # osslsigncode writes its output for nobody to run.
        chmod --reference="$file" "$signed"
        mv "$signed" "$file"
    done
}
