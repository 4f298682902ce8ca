// press_tracking.cpp - a press on a drawn control, icon button, list
// header or record arrow: started by the button going down, followed
// while the pointer moves, run when the button goes up inside.
#include "shell/window_mouse.h"

PressStateRec PressState;

// Starts a press at point; not built yet: never taken.
bool WinMousePress(int n, int32_t point, bool shift, bool dbl) { return false; }

// Starts a press on an icon button; not built yet: never taken.
bool IconButtonPress(int n, int32_t point) { return false; }

// Starts a press on a list header; not built yet: never taken.
bool ListHeaderPress(int n, int32_t point) { return false; }

// Starts a press on the record arrows; not built yet: never taken.
bool RecordArrowPress(int n, int32_t point) { return false; }

// One move step of the press in progress; not built yet: nothing.
void WinMouseTrack(int n, int32_t point) {}

// Ends the press in progress; not built yet: nothing.
void WinMouseRelease(int n, int32_t point) {}

// True while a press is in progress; not built yet: never, as no press starts.
bool PressRunning() { return false; }
