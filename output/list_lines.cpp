// list_lines.cpp - the lines a choice list gets: into the list box of
// the current choice-list window, or into a server's reply.
#include "output/output_job.h"

uint16_t ChoiceListWindow, ChoiceListPosition;

// Adds a line to the current choice list; not built yet: no line is
// added (false).
bool RepListAddLine(MsgBuffer *reply, const uint8_t *text) { return false; }
