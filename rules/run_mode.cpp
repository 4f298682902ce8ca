// run_mode.cpp - the run mode of a program that starts stand-alone.
#include "shell/database_open.h"
#include "rules/documents.h"

// Sets the run mode to stand-alone before the network settings are read.
// Only the 16-bit mode word is written: the word stored after it belongs
// to someone else and keeps its value.
void SetRunModeLocal() { SetRunMode(1); }
