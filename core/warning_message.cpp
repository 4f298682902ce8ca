// warning_message.cpp - warnings about work that goes on; see
// warning_message.h.
#include "core/warning_message.h"

#include "core/pstring.h"
#include "core/ui_text.h"

namespace {

MessageSink CurrentWarning = nullptr;

}  // namespace

MessageSink WarningSinkSet(MessageSink sink)
{
    MessageSink old = CurrentWarning;
    CurrentWarning = sink;
    return old;
}

void ShowWarning(int n, const uint8_t *extra)
{
    if (!extra) extra = EmptyPString;
    if (ServerRequestState.handling) {
        if (ServerRequestState.pendingKept) return;
        ServerRequestState.pendingText = uint16_t(n);
        PStringCopy(ServerRequestState.pendingExtra, extra);
        return;
    }
    PString text;
    GetUiText(text, n);
    PStringAppend(text, extra);
    char c[256];
    PStringToC(text, c);
    if (CurrentWarning) CurrentWarning(c);
    else MessageSinkShow(c);
}
