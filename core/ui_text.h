// ui_text.h - user-interface texts by number, messages to the user, and
// the error position of a failed validation.
//
// Every text the user sees comes from the interface file by number; the
// program holds only numbers. A text number the file lacks gives an
// empty text, and a message with such a number shows "Internal error "
// and the number, so that a wrong interface file is visible.
//
// On a server, while a client's request is handled, messages are not
// shown: the last one (or the one kept, ServerMessageKeep) is kept in
// ServerRequestState and sent back in the reply.
#pragma once

#include <cstdint>

#include "core/message_kind.h"

// Copies text number n into dst (a PString buffer of 256 bytes). Number
// 0, a number the loaded interface file lacks, or any number while none
// is loaded, gives the empty text. GetUiText2 and GetUiText3 are the
// same operation under the names report code uses.
void GetUiText(uint8_t *dst, int n);
void GetUiText2(uint8_t *dst, int n);
void GetUiText3(uint8_t *dst, int n);
// Text n as a zero-terminated string (dst holds 256 bytes).
void GetUiTextC(char *dst, int n);

// The text table as the interface-file loader hands it over: a lookup
// returning the PString of text n or null, or no lookup at all while no
// interface file is loaded.
using UiTextLookup = const uint8_t *(*)(int n);
void UiTextSetLookup(UiTextLookup lookup);

// Message boxes. StopMessage shows a PString with the stop icon and
// waits for OK; AskYesNoCancel answers 1 Yes, 4 No, 2 Cancel (also for a
// closed box or any other answer).
void StopMessage(const uint8_t *text);
void StopMessage2(const uint8_t *text);
int AskYesNoCancel(const uint8_t *text);

// How the window layer asks a yes/no/cancel question: it returns 1, 4
// or 2. Null restores the default, which answers Cancel (there is no one
// to ask) after writing the question to standard error.
using AskSink = int (*)(const char *text);
AskSink AskSinkSet(AskSink sink);

// Shows text n directly followed by extra (null: nothing). Text 0 shows
// only extra.
void ShowMessage(int n, const uint8_t *extra);
void ShowTextMessage(int n);
// The same in the box of what a run or an action came to (message_kind.h):
// a success or a count is a notice with the information icon, a refusal or
// a failure a stop message. ShowMessage is this with MessageOutcome::Failed.
void TellOutcome(MessageOutcome outcome, int n, const uint8_t *extra);
// Whether a service that a higher layer installs at start-up is there:
// false, and the user told that the function is not available, when it
// is not. A caller that gets false does nothing and says it did nothing.
bool ServiceInstalled(bool present);

// Where a failed validation wants the focus: the field's offset in the
// record, and for a matrix cell the row and the field's offset in it.
struct ErrorPosition {
    uint16_t field;
    uint16_t row;
    uint16_t column;
};
extern ErrorPosition FieldErrorPos;

// Report a validation error: show text n with extra (nothing when n is
// 0), record the position, return -1.
int FieldError(int n, const uint8_t *extra, uint16_t field);
int FieldErrorAt(int n, const uint8_t *extra, uint16_t field, uint16_t row, uint16_t column);

constexpr uint16_t NoPendingText = 65535;

struct ServerRequestStateRec {
    bool handling;              // a client's request is being handled
    uint16_t pendingText;       // NoPendingText when none
    uint8_t pendingExtra[256];  // PString
    bool pendingKept;           // later messages do not replace it (ServerMessageKeep)
};
extern ServerRequestStateRec ServerRequestState;

// Called by the server before it runs each request.
void ServerRequestBegin();
void ServerRequestEnd();
// While a request is handled: the message told last stays the one the
// reply carries, whatever the request tells after it. A refusal of the
// person's rights is kept so, as the client must read why a run wrote
// nothing rather than only the run's closing line. Elsewhere nothing.
void ServerMessageKeep();

// The shared empty text passed where a message has no extra text.
extern const uint8_t EmptyPString[1];
