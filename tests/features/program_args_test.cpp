// The orvel command's arguments: options are answered or refused and never
// opened as a company; the other words make the company's name.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "features/program_args.h"

namespace {

ProgramArgsResult Read(std::initializer_list<const char *> words, StartOptions *o)
{
    std::vector<const char *> argv{"orvel"};
    argv.insert(argv.end(), words);
    return ProgramArgsRead(int(argv.size()), argv.data(), o);
}

}  // namespace

TEST(ProgramArgs, OptionsAreAnsweredAndNeverACompany)
{
    StartOptions o;
    ProgramArgsResult help = Read({"--help"}, &o);
    EXPECT_EQ(help.action, ProgramArgsAction::Exit);
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("Usage: orvel [company file]"), std::string::npos) << help.out;
    EXPECT_NE(help.out.find("--version"), std::string::npos) << help.out;
    // What the start does with a name that has no file (road_start_test.cpp
    // walks it): it tells, and only the Open dialog makes a new company.
    EXPECT_NE(help.out.find("not made into a company"), std::string::npos) << help.out;
    EXPECT_NE(help.out.find("the Open\ndialog asks, where a new name makes a new company"), std::string::npos)
        << help.out;
    // Where the files are: the folder it starts in, whatever ORVEL_WORK
    // says (only scripts/run reads that).
    EXPECT_NE(help.out.find("The working folder is the folder orvel starts in"), std::string::npos) << help.out;
    EXPECT_NE(help.out.find("orvel itself reads no such variable"), std::string::npos) << help.out;
    EXPECT_TRUE(o.commandLine.empty());

    // An option after a company name still ends the run: no company opens.
    o.commandLine = "left";
    ProgramArgsResult late = Read({"demo.VDB", "--help"}, &o);
    EXPECT_EQ(late.action, ProgramArgsAction::Exit);
    EXPECT_EQ(o.commandLine, "left");

    ProgramArgsResult bad = Read({"--hepl"}, &o);
    EXPECT_EQ(bad.action, ProgramArgsAction::Exit);
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_TRUE(bad.out.empty());
    EXPECT_NE(bad.err.find("unknown option --hepl"), std::string::npos) << bad.err;

    EXPECT_EQ(Read({"--version"}, &o).out, "Orvel\n");
}

TEST(ProgramArgs, WordsMakeTheCompanyName)
{
    StartOptions o;
    EXPECT_EQ(Read({}, &o).action, ProgramArgsAction::Run);
    EXPECT_TRUE(o.commandLine.empty());
    EXPECT_EQ(Read({"My", "Company.VDB"}, &o).action, ProgramArgsAction::Run);
    EXPECT_EQ(o.commandLine, "My Company.VDB");
    // A single dash is a name, as a file may begin with one.
    EXPECT_EQ(Read({"-x.VDB"}, &o).action, ProgramArgsAction::Run);
    EXPECT_EQ(o.commandLine, "-x.VDB");
}
