#!/usr/bin/env bash
# debian-mirror-test.sh DEBIAN_MIRROR
# The mirror is the first entry for Debian's own release with main, in
# apt's order and in both of its formats; security, updates, disabled and
# other vendors' entries never count; without one it fails naming where it
# looked.
set -u
lookup=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0

# check NAME EXPECTED_MIRROR: looks in $scratch/NAME for release bookworm;
# an empty EXPECTED_MIRROR means the lookup must fail.
check() {
    local name=$1 want=$2 got status
    got=$("$lookup" "$scratch/$name" bookworm 2>"$scratch/$name.err")
    status=$?
    if [ -z "$want" ]; then
        if [ "$status" -eq 0 ] || ! grep -q "$scratch/$name/sources.list" "$scratch/$name.err"; then
            echo "FAIL $name: wanted a failure naming where it looked, got status $status, '$got', $(cat "$scratch/$name.err")" >&2
            failures=$((failures + 1))
        fi
    elif [ "$status" -ne 0 ] || [ "$got" != "$want" ]; then
        echo "FAIL $name: wanted '$want', got status $status, '$got', $(cat "$scratch/$name.err")" >&2
        failures=$((failures + 1))
    fi
}

# write_source NAME FILE: the file's text from standard input.
write_source() {
    mkdir -p "$scratch/$1/sources.list.d"
    cat >"$scratch/$1/$2"
}

write_source deb822 sources.list.d/debian.sources <<'TEXT'
Types: deb
# a comment between fields
URIs: http://security.example/debian-security
Suites: bookworm-security
Components: main

Types: deb-src deb
URIs: http://mirror.example/debian
  http://second.example/debian
Suites: bookworm bookworm-updates
Components: main contrib
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
TEXT
check deb822 http://mirror.example/debian

write_source one-line sources.list <<'TEXT'
# deb http://commented.example/debian bookworm main
deb http://security.example/debian-security bookworm-security main
deb-src http://sources.example/debian bookworm main
deb [arch=amd64 signed-by=/usr/share/keyrings/x.gpg] http://ftp.example/debian/ bookworm main non-free-firmware
TEXT
check one-line http://ftp.example/debian/

# sources.list comes first, then sources.list.d by name; a file of another
# name is not read, nor a disabled stanza.
write_source order sources.list <<'TEXT'
deb https://download.docker.example/linux/debian bookworm stable
TEXT
write_source order sources.list.d/a.sources.disabled <<'TEXT'
Types: deb
URIs: http://ignored.example/debian
Suites: bookworm
Components: main
TEXT
write_source order sources.list.d/b.sources <<'TEXT'
Enabled: no
Types: deb
URIs: http://disabled.example/debian
Suites: bookworm
Components: main
TEXT
write_source order sources.list.d/c.list <<'TEXT'
deb http://alias.example/debian stable main
TEXT
write_source order sources.list.d/d.list <<'TEXT'
deb http://later.example/debian bookworm main
TEXT
check order http://alias.example/debian

write_source none sources.list <<'TEXT'
deb http://security.example/debian-security bookworm-security main
TEXT
write_source none sources.list.d/vendor.sources <<'TEXT'
Types: deb
URIs: https://deb.vendor.example/node
Suites: nodistro
Components: main
TEXT
check none ""

mkdir -p "$scratch/empty"
check empty ""

[ "$failures" -eq 0 ] && echo "all cases passed"
exit $((failures > 0))
