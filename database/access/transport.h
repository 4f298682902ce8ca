// transport.h - what the client stubs need of the network layer: sending
// one request and getting its reply, and reading the parts of a reply
// frame that come before its body.
//
// The network layer installs its two send functions once it has a
// connection (TransportInstall). Until then, and whenever a send fails,
// RequestSend and RequestSendLong give false and the stub reports its
// failure result for a lost connection; a stub never reads a reply that
// was not received.
//
// Contract of an installed send function:
//   - request holds the request body (docs/protocol.md); the function may
//     put the frame header in front of it. Nothing is sent when the
//     request message has failed (a put could not grow it).
//   - It gives true only for a reply with status 0 (served). It has then
//     read the reply's header (status, message number and text, record
//     counts) with ReplyHeaderRead, shown the message when there is one,
//     and left *reply holding the reply frame with the read position at
//     the first byte of the body and the read limit at the frame's end.
//   - Busy replies are retried by the function itself; a refused reply
//     (status 2), a lost connection or no connection at all give false.
// RequestSendLong is the same for the requests that start long server
// jobs (codes 12, 20, 21, 30 and 42).
#pragma once

#include <cstdint>

#include "core/msg_buffer.h"
#include "core/pstring.h"

using RequestSendFn = bool (*)(uint16_t code, MsgBuffer *request, MsgBuffer *reply);

// Installs the send functions (null: no connection) and returns nothing;
// a null long-job function falls back to the plain one.
void TransportInstall(RequestSendFn send, RequestSendFn sendLong);

bool RequestSend(uint16_t code, MsgBuffer *request, MsgBuffer *reply);
bool RequestSendLong(uint16_t code, MsgBuffer *request, MsgBuffer *reply);

// True for the request codes that go through RequestSendLong.
bool RequestIsLong(uint16_t code);
// True for the request codes whose output the server pushes while it
// serves them (11, 12, 20, 21, 26, 30, 42): a request sent meanwhile is
// served inside the server's wait for a push, and answered first.
bool RequestPushesOutput(uint16_t code);

// Set while a request runs whose output the server pushes (codes 11, 12,
// 20, 21, 26, 30, 42); record counts arriving meanwhile are dropped.
extern bool RemoteOutputActive;

// ---- Frames ----

constexpr uint16_t FrameCodeReply = 0;
constexpr uint16_t FrameCodePush = 1;
constexpr uint16_t ReplyServed = 0;
constexpr uint16_t ReplyBusy = 1;
constexpr uint16_t ReplyRefused = 2;
constexpr uint16_t AckCode = 65535;        // in the place of a request code
constexpr uint16_t NoReplyText = 65535;    // no message in a reply
constexpr uint16_t NoRecordCounts = 65535; // no record-count list in a reply
constexpr uint32_t RequestHeaderSize = 10; // u32 length, u32 session, u16 code
constexpr uint32_t ReplyHeaderMinSize = 14;
constexpr uint32_t AckFrameSize = 12;
// The word an acknowledgement carries after its code: the push ran and
// the job goes on, or the user stopped the job; or, before the push has
// run, that the client still runs it while its user answers a dialog (a
// hold: the push is not acknowledged, and the server's wait starts anew).
constexpr uint16_t AckGoOn = 0, AckStop = 1, AckHold = 2;

// Puts the request header (u32 total length, u32 session id, u16 code)
// in front of a finished request body.
bool RequestFrameBuild(MsgBuffer *body, uint32_t session, uint16_t code);

struct ReplyHeader {
    uint32_t length;     // the whole frame's
    uint16_t frameCode;  // FrameCodeReply or FrameCodePush
    uint16_t status;     // replies only
    uint16_t textNumber; // NoReplyText when none
    PString text;
    bool counts;         // a record-count list came with the reply
};

// Reads the header of a frame from its first byte: the length word (it
// must lie between the smallest frame and the bytes held, and becomes
// the read limit) and the frame code; for a reply also the status, the
// message and the record-count list (applied unless applyCounts is
// false or RemoteOutputActive). The read position then stands at the
// first byte of the body (of the output commands for a push). false,
// with the message's flag set, for a malformed header.
bool ReplyHeaderRead(MsgBuffer *frame, ReplyHeader *out, bool applyCounts);

// The record-count list of a reply: u16 highest register number h
// (NoRecordCounts: no list), then h + 1 u32 counts for registers 0..h.
// MsgGetRecordCounts stores them with RegSetRecordCount when apply is
// true; a list naming a register above the highest number, or shorter
// than it says, is refused whole (nothing stored).
bool MsgGetRecordCounts(MsgBuffer *m, bool apply);
// Writes the list for counts[0..highest], or NoRecordCounts alone when
// counts is null.
bool MsgPutRecordCounts(MsgBuffer *m, const uint32_t *counts, uint16_t highest);
