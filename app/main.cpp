// main.cpp - the orvel executable.
#include <cstdio>
#include <cstring>

int main(int argc, char **argv) {
    if (argc > 1 && std::strcmp(argv[1], "--version") == 0) {
        std::puts("Orvel");
        return 0;
    }
    std::fputs("orvel: this build has no application shell and cannot open a "
               "company.\n", stderr);
    return 2;
}
