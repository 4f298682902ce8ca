// ui_text.cpp - text fetch by number, message boxes and the error
// position of validation failures.
#include "core/ui_text.h"

#include <cstdio>

#include "core/decimal.h"
#include "core/message_sink.h"
#include "core/pstring.h"
#include "dict_offsets.h"

ErrorPosition FieldErrorPos;
ServerRequestStateRec ServerRequestState = {false, NoPendingText, {0}, false};
const uint8_t EmptyPString[1] = {0};

static UiTextLookup CurrentLookup = nullptr;

void UiTextSetLookup(UiTextLookup lookup) { CurrentLookup = lookup; }

void GetUiText(uint8_t *dst, int n) {
    const uint8_t *text = (n != 0 && CurrentLookup) ? CurrentLookup(n) : nullptr;
    if (text)
        PStringCopy(dst, text);
    else
        dst[0] = 0;
}

void GetUiText2(uint8_t *dst, int n) { GetUiText(dst, n); }
void GetUiText3(uint8_t *dst, int n) { GetUiText(dst, n); }

void GetUiTextC(char *dst, int n) {
    PString text;
    GetUiText(text, n);
    PStringToC(text, dst);
}

static int AskStderr(const char *text) {
    std::fprintf(stderr, "orvel: %s [answered Cancel: no one to ask]\n", text);
    return 2;
}

static AskSink CurrentAsk = AskStderr;

AskSink AskSinkSet(AskSink sink) {
    AskSink old = CurrentAsk;
    CurrentAsk = sink ? sink : AskStderr;
    return old;
}

void StopMessage(const uint8_t *text) {
    char c[256];
    PStringToC(text, c);
    MessageSinkShow(c);
}

void StopMessage2(const uint8_t *text) { StopMessage(text); }

int AskYesNoCancel(const uint8_t *text) {
    char c[256];
    PStringToC(text, c);
    int answer = CurrentAsk(c);
    return answer == 1 || answer == 4 ? answer : 2;
}

void ShowMessage(int n, const uint8_t *extra) { TellOutcome(MessageOutcome::Failed, n, extra); }

void TellOutcome(MessageOutcome outcome, int n, const uint8_t *extra) {
    if (!extra) extra = EmptyPString;
    if (ServerRequestState.handling) {
        if (ServerRequestState.pendingKept) return;
        ServerRequestState.pendingText = (uint16_t)n;
        PStringCopy(ServerRequestState.pendingExtra, extra);
        return;
    }
    PString text;
    GetUiText(text, n);
    if (n != 0 && text[0] == 0) {
        PStringFromC(text, "Internal error ");
        PString number;
        LongToDigitText((int16_t)n, number);
        PStringAppend(text, number);
        PStringAppendChar(text, ' ');
    }
    PStringAppend(text, extra);
    if (MessageKindFor(outcome) == MessageKind::Information) {
        char c[256];
        PStringToC(text, c);
        NoticeSinkShow(c);
        return;
    }
    StopMessage(text);
}

void ShowTextMessage(int n) { ShowMessage(n, EmptyPString); }

int FieldError(int n, const uint8_t *extra, uint16_t field) {
    if (n != 0) ShowMessage(n, extra);
    FieldErrorPos.field = field;
    return -1;
}

int FieldErrorAt(int n, const uint8_t *extra, uint16_t field, uint16_t row, uint16_t column) {
    if (n != 0) ShowMessage(n, extra);
    FieldErrorPos = ErrorPosition{field, row, column};
    return -1;
}

void ServerRequestBegin() {
    ServerRequestState.handling = true;
    ServerRequestState.pendingText = NoPendingText;
    ServerRequestState.pendingExtra[0] = 0;
    ServerRequestState.pendingKept = false;
}

void ServerRequestEnd() { ServerRequestState.handling = false; }

void ServerMessageKeep() { ServerRequestState.pendingKept = ServerRequestState.handling; }

bool ServiceInstalled(bool present)
{
    if (!present) ShowTextMessage(Texts::FunctionNotYet);
    return present;
}
