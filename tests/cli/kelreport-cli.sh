#!/usr/bin/env bash
# Usage: kelreport-cli.sh MACHINES_DIR COMMAND...  (COMMAND runs kelreport)
set -u
machines=$1
shift
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

check() {  # check NAME EXPECTED_STATUS STDERR_PATTERN STDOUT_PATTERN -- ARGS...
    local name=$1 status=$2 errpat=$3 outpat=$4
    shift 5
    "$@" >"$work/out" 2>"$work/err"
    local got=$?
    if [ "$got" -eq 77 ]; then  # wine-run could not run the program here
        cat "$work/err"
        exit 77
    fi
    if [ "$got" -ne "$status" ]; then
        echo "FAIL $name: exit status $got, expected $status; stderr: $(head -c 300 "$work/err")"
        failures=$((failures + 1)); return
    fi
    if [ -n "$errpat" ] && ! grep -qE -- "$errpat" "$work/err"; then
        echo "FAIL $name: stderr lacks /$errpat/: $(head -c 300 "$work/err")"
        failures=$((failures + 1)); return
    fi
    if [ -n "$outpat" ] && ! grep -qE -- "$outpat" "$work/out"; then
        echo "FAIL $name: stdout lacks /$outpat/: $(head -c 300 "$work/out")"
        failures=$((failures + 1)); return
    fi
    echo "ok   $name"
}

cmd=("$@")
mkdir -p "$work/bad" "$work/good"
printf 'Windows Registry Editor Version 5.00\n\n' >"$work/bad/registry.reg"
printf '[version]\nplatform = two\n' >"$work/bad/machine.ini"
printf 'Windows Registry Editor Version 5.00\n\n' >"$work/good/registry.reg"
printf '[version]\nplatform = 2\nmajor = 5\nminor = 1\nbuild = 2600\n' >"$work/good/machine.ini"

check unknown_option 64 "unknown argument: --verbose" "" -- "${cmd[@]}" --verbose
check machine_without_dir 64 "--machine needs a directory" "" -- "${cmd[@]}" --machine
check help 0 "" "Usage: kelreport \[--brief \| --detail\] \[--format text\|ocs\|glpi\] \[--machine DIR\]" -- "${cmd[@]}" --help
check format_without_name 64 "--format needs text, ocs or glpi" "" -- "${cmd[@]}" --format
check unknown_format 64 "unknown format \(text, ocs or glpi\): xml" "" -- "${cmd[@]}" --format xml
check format_text 0 "" "^OS: Windows XP Version 5.1  \(Build 2600\)$" -- "${cmd[@]}" --format text --machine "$work/good"
# A machine that records no device identifier gets one for this run, and says so.
check format_ocs 0 "no \[identity\] device_id" "^  <DEVICEID>unknown-[0-9]{4}(-[0-9]{2}){5}</DEVICEID>$" -- "${cmd[@]}" --format ocs --machine "$work/good"
check format_glpi 0 "" "^  \"itemtype\": \"Computer\",$" -- "${cmd[@]}" --format glpi --machine "$work/good"
check missing_machine 2 "$work/nowhere" "" -- "${cmd[@]}" --machine "$work/nowhere"
check malformed_ini 2 "machine.ini.*line 2" "" -- "${cmd[@]}" --machine "$work/bad"
check brief 0 "" "^OS: Windows XP Version 5.1  \(Build 2600\)$" -- "${cmd[@]}" --machine "$work/good"
check detail_headings 0 "" "^Startup$" -- "${cmd[@]}" --detail --machine "$work/good"
check brief_has_no_headings 0 "" "^Memory: 0MB$" -- "${cmd[@]}" --brief --machine "$work/good"
if grep -q '^Disks$' "$work/out"; then
    echo "FAIL brief_has_no_headings: the brief report carries a Disks heading"; failures=$((failures + 1))
fi
if grep -q $'\r' "$work/out"; then
    echo "FAIL line_feeds_only: the report carries carriage returns"; failures=$((failures + 1))
fi
for m in "$machines"/*/; do
    check "sample_$(basename "$m")" 0 "" "^OS: (Windows| Version [0-9]+\.[0-9]+ )" -- "${cmd[@]}" --detail --machine "$m"
done

echo "$failures failed"
[ "$failures" -eq 0 ]
