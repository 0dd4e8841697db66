#!/usr/bin/env bash
# Makes what the package tests read, in DIR: a throw-away CA (ca/), the
# packages signed with it and time-stamped offline (new/) with the x64
# package's files unpacked (new-files/), and the same packages unsigned
# under a lower version (old/), to upgrade from.
#
#   package-make.sh SOURCE_DIR DIR
set -euo pipefail
source_dir=$1
dir=$2
rm -rf "$dir"
mkdir -p "$dir"
"$source_dir/tests/package/make-test-ca.sh" "$dir/ca"
KEL_SIGN_PKCS12=$dir/ca/signer.p12 KEL_SIGN_PASSWORD="$(cat "$dir/ca/password.txt")" \
    KEL_SIGN_TSA_CERT=$dir/ca/tsa-chain.pem KEL_SIGN_TSA_KEY=$dir/ca/tsa.key \
    "$source_dir/scripts/package" --no-build --out "$dir/new"
"$source_dir/scripts/package" --no-build --out "$dir/old" --version 0.0.0.1 >"$dir/old.log"
grep -q "^package: not signed: set KEL_SIGN_PKCS12" "$dir/old.log" ||
    { echo "FAIL an unsigned build does not say so:"; cat "$dir/old.log"; exit 1; }
msiextract -C "$dir/new-files" "$dir"/new/Kel-*-x64.msi >/dev/null
