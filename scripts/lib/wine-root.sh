# Sourced by the scripts that make or enter the Wine 10 root: a minimal Debian
# trixie tree whose 64-bit Wine runs 32-bit Windows programs in WoW64 mode,
# since this kernel refuses 32-bit ELF programs but runs 32-bit code.

# Where the root lives: once per machine, shared by every clone.
kel_wine_root=${KEL_WINE_ROOT:-/var/lib/kel/wine-root}
# Names how the root is made; a root made otherwise is made again. The Wine
# version is appended once it is known (see scripts/setup).
readonly kel_wine_root_recipe="kel wine root 1: trixie minbase, wine64 xvfb xauth, libwine:i386 PE DLLs"
readonly kel_wine_root_marker=.kel-wine-root

# Making and entering the root need root: prints the prefix that gets it
# ("" as root, "sudo -n" otherwise), or fails in one line naming the cause.
kel_as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        echo ""
    elif command -v sudo >/dev/null && sudo -n true 2>/dev/null; then
        echo "sudo -n"
    else
        echo "$1: needs root: run as root or with password-less sudo" >&2
        return 1
    fi
}

# The recipe the root in place was made from ("" when there is none).
kel_wine_root_made_from() {
    cat "$kel_wine_root/$kel_wine_root_marker" 2>/dev/null || true
}

# Wine's own path for a host file: drive Z: is the root of the file system.
windows_path() {
    local path
    path=$(cd "$(dirname "$1")" && pwd -P)/$(basename "$1")
    echo "Z:${path//\//\\}"
}

# Whether a Windows program is 32-bit (a PE file for the i386 machine).
kel_is_pe32() {
    local at
    at=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null | tr -d ' ') || return 1
    [ -n "$at" ] && [ "$(od -An -tx2 -j$((at + 4)) -N2 "$1" 2>/dev/null | tr -d ' ')" = 014c ]
}

# Whether this machine runs 32-bit user code, which Wine's WoW64 mode needs
# for every 32-bit program (see runs-32-bit-code.c). The probe is built once
# per version of its source, with the host's C compiler; a probe that cannot
# be built answers yes, so that the programs run and show what is wrong.
kel_runs_32_bit_code() {
    local here source probe built
    here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd -P)
    source=$here/runs-32-bit-code.c
    probe=${TMPDIR:-/tmp}/kel-runs-32-bit-code-$(id -u)-$(cksum <"$source" | cut -d' ' -f1)
    if [ ! -x "$probe" ]; then
        built=$(mktemp "$probe.XXXXXX") || return 0
        if ! cc -O1 -o "$built" "$source"; then
            rm -f "$built"
            echo "could not build $source: taking it that 32-bit code runs" >&2
            return 0
        fi
        mv -f "$built" "$probe"
    fi
    "$probe" "$@"
}

# Why a 32-bit program cannot run here, for the messages of the scripts.
readonly kel_no_32_bit_code="this machine cannot run 32-bit code (the kernel's 32-bit code segment is not usable: its IA-32 emulation is off), which Wine's WoW64 mode needs"

# The store of booted Wine prefixes, templates that every clone's prefixes
# are copied from (scripts/wine-run): a template depends only on the root
# and on whether the machine that booted it runs 32-bit code, so the store
# holds one of each kind, once per machine.
kel_wine_templates=${KEL_WINE_TEMPLATES:-/var/lib/kel/wine-templates}
# Written into every prefix and template wine-run makes: how it was made.
readonly kel_wine_prefix_marker=.kel-wine-prefix

# The store's name for a template booted where 32-bit code runs ($1 yes) or not.
kel_wine_template_kind() {
    if [ "$1" = yes ]; then echo with-32-bit-code; else echo without-32-bit-code; fi
}

# Names how templates are made where 32-bit code runs ($1 yes) or not, and
# by which Wine (the root's recipe, $2); a template made otherwise is booted
# afresh.
kel_wine_template_recipe() {
    echo "kel template 3: wineboot -i, no audio driver, X11 only; 32-bit code: $1; $2"
}

# Whether the store holds a current template of the kind ($1 yes or no) for
# the root in place.
kel_wine_template_stored() {
    local kind
    kind=$(kel_wine_template_kind "$1")
    [ "$(cat "$kel_wine_templates/$kind/$kel_wine_prefix_marker" 2>/dev/null)" = \
        "$(kel_wine_template_recipe "$1" "$(kel_wine_root_made_from)")" ]
}
