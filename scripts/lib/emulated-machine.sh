# Sourced by the scripts that make or enter the emulated machine: the
# machine that runs the 32-bit programs where this machine cannot
# (scripts/emulated-machine).

# Where it lives: a kernel and an initramfs, once per machine. Its recipe
# names the first process's source, so that a change to it makes the
# machine again; the kernel's version is appended once known.
kel_machine=${KEL_EMULATED_MACHINE:-/var/lib/kel/emulated-machine}
kel_machine_recipe="kel emulated machine 1: Debian's linux-image-amd64, busybox initramfs, the host over 9p; init $(cksum <"$(dirname "${BASH_SOURCE[0]}")/emulated-machine-init" | cut -d' ' -f1)"
readonly kel_machine_recipe
readonly kel_machine_marker=.kel-emulated-machine

# The recipe the emulated machine in place was made from ("" when none).
kel_machine_made_from() {
    cat "$kel_machine/$kel_machine_marker" 2>/dev/null || true
}
