// program_start.h - the program's start, as main makes it and as the
// tests that run the whole program make it: the features layer (the
// reports, the text exchange, the network) installed into the tables
// through which the layers beneath reach it, then the shell's WinMain.
//
// This is the composition root of the features layer: the one place that
// names every installer above the shell, so that the shell's own start-up
// names none of them.
#pragma once

#include "shell/startup.h"

// Installs the reports, the text exchange and the network: the output
// layer's runs, the settings blocks' text entries, the shell's network
// services and its feature commands. Running it again gives the same
// tables.
void FeaturesInstall();
// Runs the whole program: FeaturesInstall, then WinMain(o). WinMain's
// code: 0 on a normal end, non-zero when start-up failed.
int OrvelStart(const StartOptions &o);
