// A program for the test bed's own test: prints its arguments, one a line,
// and exits with the status its first argument names.
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        std::printf("%s\n", argv[i]);
    return argc > 1 ? std::atoi(argv[1]) : 0;
}
