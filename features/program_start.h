// program_start.h - the program's start, as main makes it and as the
// tests that run the whole program make it: every layer installed into
// the tables through which the layers beneath reach it, in layer order,
// the seams checked, then the shell's WinMain.
//
// This is the composition root: the one place that calls each layer's
// install, so that no layer's own start-up names another's.
#pragma once

#include <string>

#include "shell/startup.h"

// Installs the reports, the text exchange and the network: the output
// layer's runs, the report hooks, the settings blocks' text entries, the
// shell's network services and its feature commands.
void FeaturesInstall();
// Every layer's install in layer order: the business rules (RulesInstall),
// the output (OutputInstall), the ui (UiInstall), the features
// (FeaturesInstall). Running it again gives the same tables.
void ProgramInstall();
// Runs the whole program: ProgramInstall, the seams' check (a table entry
// found empty ends the start with its name), then WinMain(o). WinMain's
// code: 0 on a normal end, non-zero when start-up failed.
int OrvelStart(const StartOptions &o);
