#!/usr/bin/env bash
# kelreport --server as a scheduled run meets the network: each documented
# failure from a local port that fails so, with its exit status and message
# and no hang past the timeout; then a real sending to the server of
# scripts/ocs-server, which must store the machine once, however often sent.
#
#   kelreport-send.sh STATE_DIR WINE_PREFIX KELREPORT
#
# The fault servers and the database are the host's; the sendings run in one
# Wine session in WINE_PREFIX, by send-cases.sh.
set -u
here=$(cd "$(dirname "$0")" && pwd)
state=$1 prefix=$2 kelreport=$3
wine_run=$here/../../scripts/wine-run
failures=0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
inventory=$work/inventory.xml

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# The fault servers run until this script ends and closes their input.
coproc faults { python3 "$here/fault_server.py" "$work"; }
declare -A port
while read -r fault number <&"${faults[0]}"; do
    [ "$fault" != ready ] || break
    port[$fault]=$number
done
[ -n "${port[tls]:-}" ] || { echo "FAIL: the fault servers did not start"; exit 1; }

url=$("$here/../../scripts/ocs-server" status) || { echo "FAIL: the OCS server is not running"; exit 1; }
"$wine_run" --prefix "$prefix" --session -- /bin/bash "$here/send-cases.sh" "$inventory" "$url" \
    "${port[refused]}" "${port[stall]}" "${port[garbage]}" "${port[not-ocs]}" "${port[http-error]}" \
    "${port[declined]}" "${port[inventory-error]}" "${port[tls]}" -- "$wine_run" -- "$kelreport" || failures=$((failures + 1))

# The real server got the machine twice and stored it once, under Kel's
# User-Agent, with the DEVICEID and name of its inventory in OCS's format.
field() { sed -n "s|.*<$1>\\(.*\\)</$1>.*|\\1|p" "$inventory" | head -n1; }
device_id=$(field DEVICEID) name=$(field NAME)
[ -n "$device_id" ] && [ -n "$name" ] || fail "kelreport --format ocs wrote no DEVICEID or no NAME"
rows() {
    mariadb --no-defaults --socket="$state/mariadb.sock" -u root ocsweb -N -B \
        -e "SELECT COUNT(*), MIN(USERAGENT), MIN(NAME) FROM hardware WHERE DEVICEID = '$device_id'"
}
[ "$(rows)" = "$(printf '1\tKel\t%s' "$name")" ] ||
    fail "the server holds $(rows) for DEVICEID $device_id (count, User-Agent, name; expected 1, Kel, $name)"

echo "$failures failures"
[ "$failures" -eq 0 ]
