// remote_transport.cpp - the installed send functions, the request
// header, and the reading of a reply frame's header with its record-count
// list (layouts in docs/protocol.md, section 2).
#include <vector>

#include "core/interface_defs.h"
#include "database/access/record_access.h"
#include "database/access/remote_calls.h"
#include "database/access/transport.h"

bool RemoteOutputActive = false;

namespace {

RequestSendFn SendPlain = nullptr;
RequestSendFn SendLong = nullptr;

constexpr uint16_t HighestRegister = RegisterCount - 1;

}  // namespace

void TransportInstall(RequestSendFn send, RequestSendFn sendLong) {
    SendPlain = send;
    SendLong = sendLong ? sendLong : send;
}

bool RequestSend(uint16_t code, MsgBuffer *request, MsgBuffer *reply) {
    return SendPlain && !MsgFailed(request) && SendPlain(code, request, reply);
}

bool RequestSendLong(uint16_t code, MsgBuffer *request, MsgBuffer *reply) {
    return SendLong && !MsgFailed(request) && SendLong(code, request, reply);
}

bool RequestIsLong(uint16_t code) {
    return code == ReqReportRun || code == ReqImportRun || code == ReqTextExport || code == ReqMaintenance ||
           code == ReqDocumentRun;
}

bool RequestFrameBuild(MsgBuffer *body, uint32_t session, uint16_t code) {
    return MsgPrependWord(body, code) && MsgPrependLong(body, session) &&
           MsgPrependLong(body, MsgLength(body) + 4);
}

bool ReplyHeaderRead(MsgBuffer *frame, ReplyHeader *out, bool applyCounts) {
    *out = ReplyHeader{};
    out->textNumber = NoReplyText;
    MsgRewind(frame);
    frame->endPos = MsgNoEnd;
    uint32_t length = 0;
    if (!MsgGetLong(frame, &length) || !MsgGetWord(frame, &out->frameCode)) return false;
    uint32_t least = out->frameCode == FrameCodePush ? 6 : ReplyHeaderMinSize;
    if (out->frameCode > FrameCodePush || length < least || !MsgSetEnd(frame, length)) {
        frame->failed = true;
        return false;
    }
    out->length = length;
    if (out->frameCode == FrameCodePush) return true;
    MsgGetWord(frame, &out->status);
    MsgGetWord(frame, &out->textNumber);
    MsgGetPString(frame, out->text);
    uint16_t highest = NoRecordCounts;
    uint32_t countsAt = frame->readPos;
    MsgGetWord(frame, &highest);
    out->counts = highest != NoRecordCounts;
    frame->readPos = countsAt;
    if (!MsgGetRecordCounts(frame, applyCounts && !RemoteOutputActive)) return false;
    return !MsgFailed(frame);
}

bool MsgGetRecordCounts(MsgBuffer *m, bool apply) {
    uint16_t highest = NoRecordCounts;
    if (!MsgGetWord(m, &highest)) return false;
    if (highest == NoRecordCounts) return true;
    if (highest > HighestRegister || MsgRemaining(m) < 4u * (highest + 1u)) {
        m->failed = true;
        return false;
    }
    std::vector<uint32_t> counts(highest + 1u);
    for (uint32_t &n : counts) MsgGetLong(m, &n);
    if (apply)
        for (int reg = 0; reg <= highest; reg++) RegSetRecordCount(reg, counts[reg]);
    return true;
}

bool MsgPutRecordCounts(MsgBuffer *m, const uint32_t *counts, uint16_t highest) {
    if (!counts) return MsgPutWord(m, NoRecordCounts);
    if (highest > HighestRegister) {
        m->failed = true;
        return false;
    }
    bool ok = MsgPutWord(m, highest);
    for (int reg = 0; reg <= highest; reg++) ok = MsgPutLong(m, counts[reg]) && ok;
    return ok;
}
