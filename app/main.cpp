// main.cpp - the orvel executable: reads its arguments (an option such as
// --help is answered here and never taken for a company), opens the
// screen, or says in one line why it cannot, and runs the program
// (OrvelStart: every layer installed in layer order, the business rules,
// output, windows and features, the tables between them checked, then
// the shell) with the company named on the command line.
#include <cstdio>
#include <string>

#include "features/program_args.h"
#include "features/program_start.h"
#include "platform/display.h"

// Opens the screen and runs the program; 2 when there is no screen or an
// option is not known.
int main(int argc, char **argv)
{
    StartOptions options;
    const ProgramArgsResult args = ProgramArgsRead(argc, argv, &options);
    if (args.action == ProgramArgsAction::Exit) {
        std::fputs(args.out.c_str(), stdout);
        std::fputs(args.err.c_str(), stderr);
        return args.exitCode;
    }
    std::string error;
    if (!DisplayOpen(PlDisplayKind::Screen, &error)) {
        std::fprintf(stderr, "orvel: %s\n", error.c_str());
        return 2;
    }
    int code = OrvelStart(options);
    DisplayClose();
    return code;
}
