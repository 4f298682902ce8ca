// run_mode.cpp - the run mode of a program that runs stand-alone.
#include "rules/documents.h"

// Leaves the run mode as it is.
void SetRunModeLocal() {}
