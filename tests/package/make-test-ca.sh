#!/usr/bin/env bash
# Makes a throw-away certificate authority in DIR, with a code-signing
# certificate (signer.p12, password in password.txt) and a time-stamping
# authority (tsa.pem, tsa.key), all issued by it (ca.pem). Nothing leaves
# DIR; nothing is trusted anywhere else.
#
#   make-test-ca.sh DIR
set -euo pipefail
dir=$1
mkdir -p "$dir"
cd "$dir"
days=2
quiet() { "$@" >/dev/null 2>&1 || { echo "make-test-ca: $* failed" >&2; "$@" >&2; exit 1; }; }

quiet openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.pem -days "$days" \
    -subj "/CN=Kel Test CA" -addext "basicConstraints=critical,CA:TRUE" \
    -addext "keyUsage=critical,keyCertSign,cRLSign"

# issue NAME SUBJECT EXTENDED-KEY-USAGE
issue() {
    quiet openssl req -newkey rsa:2048 -nodes -keyout "$1.key" -out "$1.csr" -subj "/CN=$2"
    printf 'basicConstraints=critical,CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=%s\n' "$3" \
        >"$1.ext"
    quiet openssl x509 -req -in "$1.csr" -CA ca.pem -CAkey ca.key -CAcreateserial -days "$days" \
        -extfile "$1.ext" -out "$1.pem"
}
issue signer "Kel Test Publisher" codeSigning
issue tsa "Kel Test Time Stamps" critical,timeStamping

echo "test-only password" >password.txt
quiet openssl pkcs12 -export -inkey signer.key -in signer.pem -certfile ca.pem -out signer.p12 \
    -passout file:password.txt
# The authority's chain, for the time stamps it makes.
cat tsa.pem ca.pem >tsa-chain.pem
