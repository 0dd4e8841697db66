/* Exits 0 when this machine can run 32-bit user code, 1 when it cannot.
 *
 * Wine's WoW64 mode runs 32-bit Windows code through the kernel's 32-bit user
 * code segment (selector 0x23 on x86-64 Linux). A kernel whose IA-32
 * emulation is off leaves that segment unusable, and every 32-bit program
 * then fails before its first instruction. LAR tells whether the selector is
 * valid for us, and its access rights whether the segment is present and
 * holds 32-bit code. With any argument it also prints what it found. */
#include <stdio.h>

int main(int argc, char** argv)
{
    (void)argv;
    const unsigned long selector = 0x23;
    unsigned long rights = 0;
    unsigned char valid = 0;
    __asm__ volatile("lar %2, %0\n\tsetz %1" : "=r"(rights), "=q"(valid) : "r"(selector) : "cc");
    const int present = (rights & 0x8000) != 0;
    const int code = (rights & 0x0800) != 0;
    const int bits32 = (rights & 0x400000) != 0;
    if (argc > 1)
        printf("selector 0x%lx: %s, access rights 0x%08lx\n", selector, valid ? "valid" : "not valid",
               valid ? rights : 0);
    return valid && present && code && bits32 ? 0 : 1;
}
