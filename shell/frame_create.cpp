// frame_create.cpp - the window classes, the frame with its menu, fonts,
// bars and MDI client, and the frame's clean-up.
#include "shell/startup.h"

// Registers the shell's window classes in order; false at the first refusal.
bool RegisterWindowClasses() { return false; }

// Creates the frame, its menu, bars and MDI client; false with *why on failure.
bool CreateFrameWindow(PlShow show, std::string *why) { return false; }

// Closes the company and frees the frame's resources, once.
void FrameCleanup() {}
