#!/bin/bash
# The sendings of kelreport-send.sh, in one Wine session: the machine Wine
# presents in OCS's format, written to INVENTORY_XML; each documented failure
# from a local port that fails so, sending that file; then the machine sent
# to the real server, twice.
#
#   send-cases.sh INVENTORY_XML SERVER_URL REFUSED STALL GARBAGE NOT-OCS HTTP-ERROR DECLINED INVENTORY-ERROR TLS
#                 -- RUNNER... KELREPORT
#
# Wine sees the host's root as drive Z:.
set -u
inventory=$1 url=$2 refused=$3 stall=$4 garbage=$5 not_ocs=$6 http_error=$7 declined=$8 inventory_error=$9
tls=${10}
shift 11
run=("$@")
failures=0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# check NAME STATUS MESSAGE-PART ARGS...: one run, its status and message,
# within limit seconds (a loaded machine's start of the program included).
timeout=3 limit=60
check() {
    local name=$1 status=$2 message=$3 start=$SECONDS got
    shift 3
    "${run[@]}" "$@" >"$work/out" 2>"$work/err"
    got=$?
    local seconds=$((SECONDS - start))
    [ "$got" = "$status" ] || fail "$name: exit status $got, expected $status; stderr: $(cat "$work/err")"
    grep -qF -- "$message" "$work/err" || fail "$name: stderr lacks \"$message\": $(cat "$work/err")"
    [ ! -s "$work/out" ] || fail "$name: wrote to stdout: $(head -c 200 "$work/out")"
    [ "$seconds" -le "$limit" ] || fail "$name: took $seconds s, more than $limit s, with a $timeout s timeout"
    echo "$name: $got in $seconds s: $(cat "$work/err")"
}

# expect NAME STATUS MESSAGE-PART URL: the inventory sent to the URL.
expect() {
    check "$1" "$2" "$3" --server "$4" --from "Z:$inventory" --timeout "$timeout"
}

"${run[@]}" --format ocs >"$inventory" || fail "kelreport --format ocs: exit status $?"
printf '<REQUEST><QUERY>INVENTORY</QUERY></REQUEST>\n' >"$work/no-id.xml"
# Windows 95 to NT 4.0 have no winhttp.dll: Wine's own, disabled, is as absent.
WINEDLLOVERRIDES=winhttp=d check "no WinHTTP" 3 "sending needs WinHTTP (winhttp.dll), which this Windows lacks" \
    --server http://127.0.0.1/ocsinventory --from "Z:$inventory"
check "--server, glpi" 64 "--server sends the ocs format only" --server http://127.0.0.1/ --format glpi
check "--from alone" 64 "--from needs --server URL" --from "Z:$inventory"
check "bad timeout" 64 "--timeout needs a number of seconds" --server http://127.0.0.1/ --from x --timeout 0
check "missing inventory" 2 "cannot read the inventory" --server http://127.0.0.1/ --from "Z:$work/none.xml"
check "inventory without DEVICEID" 2 "the inventory has no DEVICEID" \
    --server http://127.0.0.1/ --from "Z:$work/no-id.xml"
expect "refused port" 5 "cannot connect to the server" "http://127.0.0.1:$refused/ocsinventory"
# Waiting for a reply that never comes ends with the timeout, not with
# WinHTTP's own wait for headers (21 s in Wine).
limit=15 expect "stalled port" 6 "did not answer the PROLOG request within $timeout seconds" \
    "http://127.0.0.1:$stall/ocsinventory"
expect "garbage" 9 "gave no OCS Inventory reply to the PROLOG request" "http://127.0.0.1:$garbage/ocsinventory"
expect "HTTP 200, not OCS" 9 "not as an OCS Inventory server does" "http://127.0.0.1:$not_ocs/ocsinventory"
expect "HTTP error" 8 "with HTTP status 503" "http://127.0.0.1:$http_error/ocsinventory"
expect "declined" 10 "declined the inventory: it answered the PROLOG request with \"STOP\"" \
    "http://127.0.0.1:$declined/ocsinventory"
expect "inventory refused" 8 "answered the INVENTORY request with HTTP status 500" \
    "http://127.0.0.1:$inventory_error/ocsinventory"
expect "untrusted certificate" 7 "certificate is not one this system trusts" "https://127.0.0.1:$tls/ocsinventory"
expect "unresolvable name" 4 "does not resolve" "http://kel-no-such-server.invalid/ocsinventory"
expect "not http" 64 "needs an http:// or https:// URL" "ftp://127.0.0.1/ocsinventory"

# The machine itself, taken at each sending, under the DEVICEID it keeps.
timeout=60
check "real server" 0 "sent to $url" --server "$url" --timeout "$timeout"
check "real server, again" 0 "sent to $url" --server "$url" --timeout "$timeout"

echo "$failures failures"
[ "$failures" -eq 0 ]
