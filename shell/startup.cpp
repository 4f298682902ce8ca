// startup.cpp - the program's entry and the instance initialisation.
#include "shell/startup.h"

// Runs the program; 0 on a normal end, non-zero when start-up failed.
int WinMain(const StartOptions &o) { return 1; }

// Loads the definitions and makes the frame; false with *why on failure
// or when a previous instance was asked to show itself.
bool InitInstance(const StartOptions &o, std::string *why) { return false; }
