// remote_writes.cpp - client stubs of the validated writes and checks:
// insert, update and delete with their results and error positions, and
// the record or block check (requests 3, 5, 9 and 32 of
// docs/protocol.md). A lost connection always gives RecConnectionLost,
// never RecDone.
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "database/access/remote_calls.h"
#include "database/access/remote_internal.h"

bool RemoteGetErrorPos(MsgBuffer *reply, ErrorPosition *pos) {
    bool ok = MsgGetWord(reply, &pos->field);
    ok = MsgGetWord(reply, &pos->row) && ok;
    return MsgGetWord(reply, &pos->column) && ok;
}

int RemoteCheckedExchange(uint16_t code, MsgBuffer *request) {
    MsgBuffer reply;
    if (!RemoteExchange(code, request, &reply)) return RecConnectionLost;
    uint16_t result = 0;
    ErrorPosition pos{};
    MsgGetWord(&reply, &result);
    RemoteGetErrorPos(&reply, &pos);
    if (!RemoteReplyDone(&reply)) return RecConnectionLost;
    FieldErrorPos = pos;
    return RemoteResult(result);
}

void RecInsertCheckedRemote(int reg, uint8_t *record, uint32_t *recid, int *result) {
    *result = RecConnectionLost;
    MsgBuffer request, reply;
    MsgPutWord(&request, (uint16_t)reg);
    MsgPutRecord(&request, reg, record);
    if (!RemoteExchange(ReqInsertChecked, &request, &reply)) return;
    ScratchRecord got(reg);
    uint32_t id = 0;
    uint16_t code = 0;
    ErrorPosition pos{};
    MsgGetLong(&reply, &id);
    MsgGetWord(&reply, &code);
    RemoteGetErrorPos(&reply, &pos);
    RemoteGetRecord(&reply, &got);
    if (!RemoteReplyDone(&reply)) return;
    RemoteRecordTake(&got, record);
    *recid = id;
    *result = RemoteResult(code);
    FieldErrorPos = pos;
}

void RecUpdateCheckedRemote(int reg, uint8_t *record, uint32_t recid, int *result) {
    *result = RecConnectionLost;
    MsgBuffer request, reply;
    MsgPutWord(&request, (uint16_t)reg);
    MsgPutLong(&request, recid);
    MsgPutRecord(&request, reg, record);
    if (!RemoteExchange(ReqUpdateChecked, &request, &reply)) return;
    ScratchRecord got(reg);
    uint16_t code = 0;
    ErrorPosition pos{};
    MsgGetWord(&reply, &code);
    RemoteGetErrorPos(&reply, &pos);
    MsgGetLong(&reply, nullptr);   // the id of the record rewritten: the caller's own
    RemoteGetRecord(&reply, &got);
    if (!RemoteReplyDone(&reply)) return;
    RemoteRecordTake(&got, record);
    *result = RemoteResult(code);
    FieldErrorPos = pos;
}

int RecDeleteCheckedRemote(int reg, uint8_t *record, uint32_t *recid, const char *text) {
    MsgBuffer request, reply;
    MsgPutWord(&request, (uint16_t)reg);
    MsgPutLong(&request, *recid);
    MsgPutCString(&request, RemoteIndexName(text));
    MsgPutRecord(&request, reg, record);
    if (!RemoteExchange(ReqDeleteChecked, &request, &reply)) return RecConnectionLost;
    ScratchRecord got(reg);
    uint16_t code = 0;
    uint32_t id = 0;
    MsgGetWord(&reply, &code);
    MsgGetLong(&reply, &id);
    RemoteGetRecord(&reply, &got);
    if (!RemoteReplyDone(&reply)) return RecConnectionLost;
    RemoteRecordTake(&got, record);
    *recid = id;
    return RemoteResult(code);
}

int RecCheckRemote(int reg, uint8_t *data, uint32_t size, int mode) {
    MsgBuffer request;
    MsgPutWord(&request, (uint16_t)reg);
    MsgPutWord(&request, (uint16_t)mode);
    MsgPutSized(&request, data, size);
    return RemoteCheckedExchange(ReqCheck, &request);
}
