// remote_common.cpp - the request exchange every client stub goes
// through, the winding up of output jobs after the requests whose output
// the server pushes, and the scratch records of replies.
#include <cstring>
#include <utility>

#include "core/definitions.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "database/access/remote_calls.h"
#include "database/access/remote_internal.h"
#include "database/access/transport.h"

namespace {

RemoteJobEndFn JobEnd = nullptr;

// What a request means for the local output job: nothing (most), the
// output flag while it runs (the import), or the flag and a winding up
// afterwards, whole or only the end of the job.
enum class OutputRole { None, FlagOnly, EndJobOnly, Full };

OutputRole OutputRoleOf(uint16_t code) {
    switch (code) {
    case ReqApproveList:
    case ReqReportRun:
    case ReqPrintForm:
    case ReqDocumentRun:
        return OutputRole::Full;
    case ReqTextExport:
    case ReqMaintenance:
        return OutputRole::EndJobOnly;
    case ReqImportRun:
        return OutputRole::FlagOnly;
    default:
        return OutputRole::None;
    }
}

}  // namespace

bool RequestPushesOutput(uint16_t code) { return OutputRoleOf(code) != OutputRole::None; }

void RemoteJobEndInstall(RemoteJobEndFn fn) { JobEnd = fn; }
RemoteJobEndFn RemoteJobEndInstalled() { return JobEnd; }

void RemoteFail() { RemoteConnectionLost = true; }

bool RemoteExchange(uint16_t code, MsgBuffer *request, MsgBuffer *reply) {
    if (MsgFailed(request)) {
        RemoteFail();
        return false;
    }
    OutputRole role = OutputRoleOf(code);
    bool outer = RemoteOutputActive;
    if (role != OutputRole::None) RemoteOutputActive = true;
    bool ok = RequestIsLong(code) ? RequestSendLong(code, request, reply) : RequestSend(code, request, reply);
    RemoteOutputActive = outer;
    if (JobEnd && role == OutputRole::Full) JobEnd(RemoteJobEnd::Full);
    if (JobEnd && role == OutputRole::EndJobOnly) JobEnd(RemoteJobEnd::EndJobOnly);
    if (!ok) RemoteFail();
    return ok;
}

bool RemoteReplyDone(MsgBuffer *reply) {
    if (!MsgFailed(reply)) return true;
    RemoteFail();
    ShowTextMessage(RecConnectionLost);
    return false;
}

ScratchRecord::ScratchRecord(int r) : reg(r) { record = RecBufferNew(r, &handle); }

ScratchRecord::~ScratchRecord() { RecBufferFree(reg, &handle); }

bool RemoteGetRecord(MsgBuffer *reply, ScratchRecord *scratch) {
    if (!scratch->record) {
        reply->failed = true;
        return false;
    }
    return MsgGetRecord(reply, scratch->reg, scratch->record);
}

void RemoteRecordTake(ScratchRecord *scratch, uint8_t *record) {
    int32_t slot = RegMatrixOffset(scratch->reg);
    if (slot >= 0) RecFreeMatrix(scratch->reg, record);
    std::memcpy(record, scratch->record, RegRecordSize(scratch->reg));
    if (slot >= 0) std::memset(scratch->record + slot, 0, 4);   // the rows now belong to the caller
}
