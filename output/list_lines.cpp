// list_lines.cpp - the lines a choice list gets: into the list box of
// the current choice-list window, or, while a server serves a client's
// output, into the reply that carries the list to the client.
#include <cassert>

#include "core/pstring.h"
#include "database/access/transport.h"
#include "output/output_job.h"
#include "output/output_windows.h"
#include "platform/control.h"

uint16_t ChoiceListWindow, ChoiceListPosition;

// Adds the PString text as the next line of the current choice list.
// While remote output is active and a reply is given, the line goes into
// the reply as the entry mark 1 and the text (the client reads entries
// until a 0 mark). Otherwise it is appended to the list box of
// ChoiceListWindow and the running line counter moves on. False when
// there is neither a reply nor an open window with a list box to take it,
// or the list box or reply refused the line.
bool RepListAddLine(MsgBuffer *reply, const uint8_t *text)
{
    assert(text);
    if (reply && RemoteOutputActive) {
        MsgPutByte(reply, 1);
        MsgPutPString(reply, text);
        return !MsgFailed(reply);
    }
    uint32_t box = OutWindowListBox(ChoiceListWindow);
    if (box == 0) return false;
    if (ListBoxAdd(box, PStringView(text)) < 0) return false;
    ChoiceListPosition++;
    return true;
}
