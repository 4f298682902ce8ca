// startup.h - the program's start and its message loops: the previous-
// instance check, loading the interface file, the window classes, the
// frame, opening the company named on the command line, the main loop,
// and the clean-up when the frame goes.
#pragma once

#include <cstdint>
#include <string>

#include "platform/queue.h"
#include "platform/window.h"

struct StartOptions {
    std::string commandLine;               // the arguments joined by blanks
    PlShow show = PlShow::Maximized;
    std::string instanceName = "orvel";    // name of the previous-instance check
    int instanceAnswerMs = 5000;           // how long a second start waits for the first
};

// ---- startup.cpp ----
// Runs the program; 0 on a normal end, non-zero when start-up failed.
// The layers above the shell are installed first: the program starts
// through OrvelStart (features/program_start.h), which does both.
int WinMain(const StartOptions &o);
// Loads the definitions and makes the frame; false with *why on failure
// or when a previous instance was asked to show itself.
bool InitInstance(const StartOptions &o, std::string *why);

// ---- frame_create.cpp ----
// Registers the shell's window classes in order; false at the first refusal.
bool RegisterWindowClasses();
// Creates the frame, its menu, bars and MDI client; false with *why on failure.
bool CreateFrameWindow(PlShow show, std::string *why);
// Closes the company and frees the frame's resources, once.
void FrameCleanup();
// Set once FrameCleanup has run; WinMain clears it at its start.
extern uint8_t FrameCleanupDone;
// Text n of the interface file, or the fallback when the file lacks it.
std::string StartupText(int n, const char *fallback);

// ---- message_loops.cpp ----
// Gets and dispatches messages until quit (or the nested loop's end).
void MainMessageLoop();
// One message of the main loop, with the shell's work around it.
void MainLoopMessage(const PlMessage &m);
// Repaints every open window that carries its changed mark, once.
void RepaintMarkedWindows();
// Dispatches messages until *flag is set or ms milliseconds (0: no limit) pass.
void ModalMessageLoop(const uint8_t *flag, int32_t ms);
