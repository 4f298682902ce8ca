// preview_window.cpp - the preview window (type 5) as an output device:
// its opening, its device routines, search, scrolling, clicks and its end.
//
// Not built yet: a job on the preview is refused (told, stopped) and no
// preview window opens.
#include "output/devices/device_table.h"

namespace {

// The job start of a device not built yet: refused.
bool OpenNotYet(const uint8_t *) { return RepDeviceNotYet(); }

}  // namespace

const RepDevice PreviewDevice = {.openJob = OpenNotYet};

// Opens a preview window; not built yet: none (0).
int PreviewOpen(const uint8_t *) { return 0; }

// Searches the preview; not built yet: does nothing.
void PreviewFind(int) {}

// Follows a new window size; not built yet: does nothing.
void PreviewResized(int) {}

// Frees the store and index; not built yet: there are none.
void PreviewFree(int) {}

// Scrolls the pane; not built yet: does nothing.
void PreviewScroll(int, int, int32_t) {}

// Recomputes the content rectangle; not built yet: does nothing.
void WinContentRect(int) {}

// Handles a click in a preview; not built yet: never handled (false).
bool RepListWindowDraw(int, int32_t, bool, bool) { return false; }
