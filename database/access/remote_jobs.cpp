// remote_jobs.cpp - client stubs of the requests that run jobs on the
// server: approving a list of records, report and document runs, the
// text import with its file, the text export, batch routines and
// suggestions, printing a form and converting a document, and the device
// a received job opened on (requests 11, 12, 20, 21, 26, 29, 30, 42, 44
// and 46..50 of docs/protocol.md).
#include <cstring>

#include "database/access/record_access.h"
#include "database/access/remote_calls.h"
#include "database/access/remote_internal.h"

bool MsgPutJobRecord(MsgBuffer *m, const uint8_t *job, uint32_t size) { return MsgPutSized(m, job, size); }

bool MsgGetJobRecord(MsgBuffer *m, uint8_t *job, uint32_t size) {
    uint32_t at = m->readPos, n = 0;
    if (!MsgGetSized(m, nullptr, 0, &n)) return false;
    if (n != size) {
        m->failed = true;
        return false;
    }
    m->readPos = at;
    return MsgGetSized(m, job, size, nullptr);
}

namespace {

// A request with an empty reply: true once the server answered.
bool EmptyReply(uint16_t code, MsgBuffer *request) {
    MsgBuffer reply;
    return RemoteExchange(code, request, &reply) && RemoteReplyDone(&reply);
}

}  // namespace

bool ApproveRecordListRemote(int reg, int kind, const uint32_t *ids, uint32_t count) {
    MsgBuffer request;
    MsgPutWord(&request, (uint16_t)reg);
    MsgPutWord(&request, (uint16_t)kind);
    MsgPutLong(&request, count);
    for (uint32_t i = 0; i < count; i++) MsgPutLong(&request, ids[i]);
    return EmptyReply(ReqApproveList, &request);
}

bool RunReportRemote(bool documentRun, const uint8_t *job, uint32_t jobSize) {
    MsgBuffer request;
    static const uint8_t noPrinter[1] = {0};   // the server looks a printer up only by name
    MsgPutPString(&request, noPrinter);
    MsgPutJobRecord(&request, job, jobSize);
    return EmptyReply(documentRun ? ReqDocumentRun : ReqReportRun, &request);
}

bool JobDeviceRemote(uint16_t kind, int32_t width) {
    MsgBuffer request;
    MsgPutWord(&request, kind);
    MsgPutLong(&request, uint32_t(width));
    return EmptyReply(ReqJobDevice, &request);
}

bool ImportRunRemote(const uint8_t *job, uint32_t jobSize, const uint8_t *file, uint32_t fileLength) {
    MsgBuffer request;
    MsgPutLong(&request, fileLength);
    MsgPutJobRecord(&request, job, jobSize);
    for (uint32_t at = 0; at < fileLength && !MsgFailed(&request); at += ImportChunkSize) {
        uint32_t n = fileLength - at < ImportChunkSize ? fileLength - at : ImportChunkSize;
        MsgPutWord(&request, ImportChunkMark);
        MsgPutLong(&request, at);
        MsgPutLong(&request, n);
        MsgPutBytes(&request, file + at, n);
    }
    return EmptyReply(ReqImportRun, &request);
}

bool TextExportRemote(int kind, const uint8_t *job, uint32_t jobSize) {
    MsgBuffer request;
    MsgPutWord(&request, (uint16_t)kind);
    MsgPutJobRecord(&request, job, jobSize);
    return EmptyReply(ReqTextExport, &request);
}

bool JobRequestRemote(uint16_t code, const uint8_t *job, uint32_t jobSize) {
    if (code != ReqMaintenance && (code < ReqPaymentSuggestion || code > ReqPurchasePricesToItems)) return false;
    MsgBuffer request;
    MsgPutJobRecord(&request, job, jobSize);
    return EmptyReply(code, &request);
}

int PrintFormRemote(int reg, int form, uint8_t *record) {
    MsgBuffer request, reply;
    MsgPutWord(&request, (uint16_t)reg);
    MsgPutWord(&request, (uint16_t)form);
    MsgPutRecord(&request, reg, record);
    if (!RemoteExchange(ReqPrintForm, &request, &reply)) return RecConnectionLost;
    uint16_t result = 0;
    MsgGetWord(&reply, &result);
    return RemoteReplyDone(&reply) ? RemoteResult(result) : RecConnectionLost;
}

bool ConvertDocumentRemote(int reg, int kind, uint8_t *record, uint32_t *newRecid) {
    MsgBuffer request, reply;
    MsgPutWord(&request, (uint16_t)reg);
    MsgPutWord(&request, (uint16_t)kind);
    MsgPutRecord(&request, reg, record);
    if (!RemoteExchange(ReqConvertDocument, &request, &reply)) return false;
    ScratchRecord got(reg);
    uint32_t id = 0;
    RemoteGetRecord(&reply, &got);
    MsgGetLong(&reply, &id);
    if (!RemoteReplyDone(&reply)) return false;
    RemoteRecordTake(&got, record);
    if (newRecid) *newRecid = id;
    return true;
}
