// program_args.cpp - see program_args.h.
#include "features/program_args.h"

namespace {

constexpr const char *Usage =
    "Usage: orvel [company file]\n"
    "\n"
    "Opens the company file (a name ending in .VDB). A name with no file\n"
    "behind it is not made into a company: the program says so and the Open\n"
    "dialog asks, where a new name makes a new company from DEFAULT.TXT.\n"
    "Without a name the Open dialog asks at once.\n"
    "The working folder is the folder orvel starts in: it holds the company\n"
    "files, QVTCP.INI (server or client mode), the folder print/ for printed\n"
    "PDF files and the log orvel.log. (scripts/run starts orvel in\n"
    "$ORVEL_WORK, else ~/orvel-work; orvel itself reads no such variable.)\n"
    "\n"
    "Options:\n"
    "  --help      print this text and exit\n"
    "  --version   print the program's name and exit\n";

}  // namespace

ProgramArgsResult ProgramArgsRead(int argc, const char *const *argv, StartOptions *options)
{
    ProgramArgsResult r;
    std::string company;
    for (int i = 1; i < argc; i++) {
        const std::string word = argv[i] ? argv[i] : "";
        if (word.rfind("--", 0) == 0) {
            r.action = ProgramArgsAction::Exit;
            if (word == "--help") {
                r.out = Usage;
            } else if (word == "--version") {
                r.out = "Orvel\n";
            } else {
                r.exitCode = 2;
                r.err = "orvel: unknown option " + word + " (orvel --help lists what it takes)\n";
            }
            return r;
        }
        if (!company.empty()) company += ' ';
        company += word;
    }
    options->commandLine = company;
    return r;
}
