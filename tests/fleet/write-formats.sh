#!/usr/bin/env bash
# Writes the detailed text report and both inventory formats of each
# recorded machine to OUTDIR/NAME.text, NAME.ocs and NAME.glpi, for
# check-formats.py. Under Wine it runs inside one wine-run session, so that
# the nine programs cost one start of Wine.
#
#   write-formats.sh OUTDIR MACHINE-DIR... -- KELREPORT-COMMAND...
set -euo pipefail
out=$1
shift
machines=()
while [ "$1" != "--" ]; do
    machines+=("$1")
    shift
done
shift
mkdir -p "$out"
for machine in "${machines[@]}"; do
    name=$(basename "$machine")
    "$@" --detail --machine "$machine" > "$out/$name.text"
    "$@" --format ocs --machine "$machine" > "$out/$name.ocs"
    "$@" --format glpi --machine "$machine" > "$out/$name.glpi"
done
