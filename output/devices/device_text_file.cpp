// device_text_file.cpp - the text file device (kind 2), the TAB file
// device (kind 12), and the choice of their output file.
//
// Not built yet: a job on either device is refused (told, stopped), and
// nothing is written.
#include "output/devices/device_table.h"

namespace {

// The job start of a device not built yet: refused.
bool OpenNotYet(const uint8_t *) { return RepDeviceNotYet(); }

}  // namespace

const RepDevice TextFileDevice = {.openJob = OpenNotYet};
const RepDevice TabFileDevice = {.openJob = OpenNotYet};

// Chooses and creates the output file; not built yet: a job on kind 2 or
// 12 stays stopped (told), other kinds are not stopped.
void RepOpenFileDevice()
{
    uint16_t kind = CurrentOutputKind();
    if (kind == OutTextFile || kind == OutTabFile)
        RepDeviceNotYet();
    else
        RepStopped = 0;
}

// Opens the next output file; not built yet: the job stops.
void RepReopenFileDevice() { RepStopped = 1; }

// Writes a text to the file; not built yet: the job stops (false).
bool TextLineWrite(const uint8_t *)
{
    RepStopped = 1;
    return false;
}

// Writes to the export stream; not built yet: the job stops.
void StreamWrite(const uint8_t *, uint32_t) { RepStopped = 1; }

// Turns TAB, LF, VT and CR inside a PString into blanks.
void PStrBlankControls(uint8_t *text)
{
    for (int i = 1; i <= text[0]; i++)
        if (text[i] == 9 || text[i] == 10 || text[i] == 11 || text[i] == 13) text[i] = ' ';
}
