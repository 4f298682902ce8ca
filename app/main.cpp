// main.cpp - the orvel executable: opens the screen, or says in one line
// why it cannot, and runs the program (OrvelStart: the features layer
// installed, then the shell) with the arguments joined by blanks as the
// company to open.
#include <cstdio>
#include <cstring>
#include <string>

#include "features/program_start.h"
#include "platform/display.h"

// Opens the screen and runs the program; 2 when there is no screen.
int main(int argc, char **argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--version") == 0) {
        std::puts("Orvel");
        return 0;
    }
    std::string error;
    if (!DisplayOpen(PlDisplayKind::Screen, &error)) {
        std::fprintf(stderr, "orvel: %s\n", error.c_str());
        return 2;
    }
    StartOptions options;
    for (int i = 1; i < argc; i++) {
        if (i > 1) options.commandLine += ' ';
        options.commandLine += argv[i];
    }
    int code = OrvelStart(options);
    DisplayClose();
    return code;
}
