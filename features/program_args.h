// program_args.h - what the orvel command takes on its command line.
//
// The words that do not begin with "--" name the company to open (joined
// by blanks, so that a name with blanks needs no quotes); a word that
// begins with "--" is an option. "--help" and "--version" are answered
// at once; any other option is refused, so that a mistyped option never
// opens (or makes) a company of that name.
#pragma once

#include <string>

#include "shell/startup.h"

enum class ProgramArgsAction { Run, Exit };

struct ProgramArgsResult {
    ProgramArgsAction action = ProgramArgsAction::Run;
    int exitCode = 0;    // for Exit: 0 after --help or --version, 2 for a refused option
    std::string out;     // what goes to standard output before the exit
    std::string err;     // what goes to standard error before the exit
};

// Reads argv[1..argc-1] into *options (its commandLine) or into the
// answer to print before exiting.
ProgramArgsResult ProgramArgsRead(int argc, const char *const *argv, StartOptions *options);
