#!/usr/bin/env bash
# The packages package-make.sh made, read with the host's tools: no
# self-registration, the rules an administrator relies on, the CAB's INF
# against the module itself, and every signature against the test CA.
#
#   package-contents.sh SOURCE_DIR DIR
set -uo pipefail
source_dir=$1
dir=$2
work=$(mktemp -d "$dir/contents.XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
    echo "FAIL $*"
    failures=$((failures + 1))
}
ok() { echo "ok   $*"; }

# A table of a package, without the line ends' carriage returns.
table() {
    msiinfo export "$1" "$2" 2>/dev/null | tr -d '\r'
}

version=$(table "$(ls "$dir"/new/Kel-*-x64.msi | head -n1)" Property | sed -n 's/^ProductVersion\t//p')
x64=$dir/new/Kel-$version-x64.msi
x86=$dir/new/Kel-$version-x86.msi
[ -f "$x64" ] && [ -f "$x86" ] || { echo "FAIL no packages of version '$version' in $dir/new"; exit 1; }

# Self-registration: the table is absent or holds no row.
for msi in "$x64" "$x86"; do
    rows=$(table "$msi" SelfReg | tail -n +4)
    [ -z "$rows" ] && ok "no SelfReg rows in $(basename "$msi")" || fail "SelfReg rows in $(basename "$msi"): $rows"
done

# column TABLE KEY COLUMN: a column of a row of the x64 or x86 package.
column() {
    table "$1" "$2" | awk -F '\t' -v k="$3" -v c="$4" '$1 == k { print $c }'
}
check() {  # check NAME GOT EXPECTED
    [ "$2" = "$3" ] && ok "$1" || fail "$1: got '$2', expected '$3'"
}
check "per-machine (ALLUSERS)" "$(column "$x64" Property ALLUSERS 2)" 1
check "x64: the 64-bit module's component is 64-bit" "$(( $(column "$x64" Component Kel64 4) & 256 ))" 256
check "x64: the 32-bit module's component is 32-bit" "$(( $(column "$x64" Component Kel32 4) & 256 ))" 0
check "x64: the categories stay (64-bit view)" "$(( $(column "$x64" Component Categories64 4) & 16 ))" 16
check "x64: the categories stay (32-bit view)" "$(( $(column "$x64" Component Categories32 4) & 16 ))" 16
check "x86: the categories stay" "$(( $(column "$x86" Component Categories32 4) & 16 ))" 16
check "x64: files" "$(table "$x64" File | tail -n +4 | cut -f1 | sort | tr '\n' ' ')" "Kel32 Kel64 kelreport64 "
check "x86: files" "$(table "$x86" File | tail -n +4 | cut -f1 | sort | tr '\n' ' ')" "Kel32 kelreport32 "
check "x64: upgrades include the same version" \
    "$(table "$x64" Upgrade | awk -F '\t' '$7 == "WIX_UPGRADE_DETECTED" { print $3, $5 }')" "$version 513"
refusal=$(column "$x86" LaunchCondition "NOT VersionNT64" 2)
[[ "$refusal" == *"Kel-$version-x64.msi"* ]] && ok "x86 refuses 64-bit Windows, naming the x64 package" ||
    fail "x86 on 64-bit Windows: '$refusal'"
[ -z "$(column "$x64" LaunchCondition "NOT VersionNT64" 2)" ] && ok "x64 has no 32-bit condition" ||
    fail "x64 refuses 64-bit Windows"

# The CAB: the module and its INF, the INF naming the module's own class
# and version.
listing=$(gcab -l "$dir/new/kel.cab" | cut -d" " -f1 | sort | tr '\n' ' ')
check "kel.cab holds the module and the INF" "$listing" "Kel.ocx kel.inf "
mkdir -p "$work/cab"
gcab -x -C "$work/cab" "$dir/new/kel.cab" >/dev/null || fail "gcab cannot unpack kel.cab"
inf=$(tr -d '\r' <"$work/cab/kel.inf")
for line in "[Add.Code]" "Kel.ocx=Kel.ocx" "file-win32-x86=thiscab" "RegisterServer=yes"; do
    grep -qxF "$line" <<<"$inf" && ok "kel.inf: $line" || fail "kel.inf lacks $line"
done
python3 - "$work/cab/Kel.ocx" "$inf" <<'PY' && ok "kel.inf: clsid and FileVersion are the module's" || fail "kel.inf and the module differ"
import re, struct, sys, uuid
module = open(sys.argv[1], "rb").read()
inf = dict(l.split("=", 1) for l in sys.argv[2].splitlines() if "=" in l)
# The fixed version record's signature, then its file version.
at = module.find(struct.pack("<I", 0xFEEF04BD))
ms, ls = struct.unpack_from("<II", module, at + 8)
version = "%d,%d,%d,%d" % (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)
print("module version", version, "INF", inf.get("FileVersion"))
clsid = uuid.UUID(inf.get("clsid", "").strip("{}"))
# The type library in the module carries the class's identifier in binary.
print("INF clsid", clsid, "in the module:", module.count(clsid.bytes_le))
sys.exit(0 if at >= 0 and inf.get("FileVersion") == version and module.count(clsid.bytes_le) > 0 else 1)
PY

# The example page asks for the version the CAB carries.
codebase=$(grep -o 'codebase="kel.cab#Version=[0-9,]*"' "$source_dir/examples/kel.html")
check "examples/kel.html names the CAB and its version" "$codebase" \
    "codebase=\"kel.cab#Version=$(sed -n 's/^FileVersion=//p' <<<"$inf")\""

# Signatures: every shipped file, each package and the CAB, against the
# test CA and its time-stamping authority.
verify() {
    "$source_dir/scripts/lib/osslsigncode" --bind "$dir" verify -CAfile "$dir/ca/ca.pem" \
        -TSA-CAfile "$dir/ca/ca.pem" -in "$1" >"$work/verify.log" 2>&1
}
mkdir -p "$work/x64" "$work/x86"
msiextract -C "$work/x64" "$x64" >/dev/null && msiextract -C "$work/x86" "$x86" >/dev/null ||
    fail "msiextract cannot unpack the packages"
while IFS= read -r -d '' file; do
    verify "$file" && grep -q "Timestamp Server Signature verification: ok" "$work/verify.log" &&
        ok "signed and time-stamped: ${file#"$dir"/}" ||
        { fail "signature of ${file#"$dir"/}:"; tail -n 5 "$work/verify.log"; }
done < <(find "$work/x64" "$work/x86" "$dir/new" -type f \( -name '*.ocx' -o -name '*.exe' -o -name '*.msi' -o -name '*.cab' \) -print0)
count=$(find "$work/x64" "$work/x86" -type f | wc -l)
check "files in the packages" "$count" 5

# A module changed after signing no longer verifies.
changed=$work/changed.ocx
cp "$work/cab/Kel.ocx" "$changed"
printf 'X' | dd of="$changed" bs=1 seek=4096 conv=notrunc status=none
verify "$changed" && fail "a changed module still verifies" || ok "a changed module fails verification"

echo "$failures failed"
[ "$failures" -eq 0 ]
