// remote_writes.cpp - client stubs of the validated writes and checks:
// insert, update and delete with their results and error positions, and
// the record or block check (requests 3, 5, 9 and 32 of
// docs/protocol.md). A lost connection always gives RecConnectionLost,
// never RecDone; a result word outside the record layer's result space is
// a reply that does not parse. The error position of a reply becomes
// FieldErrorPos only with the reply's result; a failed exchange leaves it
// naming no field.
#include "core/ui_text.h"
#include "database/access/person_password.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "database/access/remote_calls.h"
#include "database/access/remote_internal.h"

bool RemoteGetResult(MsgBuffer *reply, int *result) {
    uint16_t word = 0;
    if (!MsgGetWord(reply, &word)) return false;
    *result = RemoteResult(word);
    if (*result >= RecRefused) return true;
    reply->failed = true;
    return false;
}

bool RemoteGetErrorPos(MsgBuffer *reply, ErrorPosition *pos) {
    bool ok = MsgGetWord(reply, &pos->field);
    ok = MsgGetWord(reply, &pos->row) && ok;
    return MsgGetWord(reply, &pos->column) && ok;
}

int RemoteCheckedExchange(uint16_t code, MsgBuffer *request) {
    RecFocusClear();
    MsgBuffer reply;
    if (!RemoteExchange(code, request, &reply)) return RecConnectionLost;
    int result = RecConnectionLost;
    ErrorPosition pos{};
    RemoteGetResult(&reply, &result);
    RemoteGetErrorPos(&reply, &pos);
    if (!RemoteReplyDone(&reply)) return RecConnectionLost;
    FieldErrorPos = pos;
    return result;
}

// A person's typed password leaves the client only as its verifier.
bool SealedForSending(int reg, uint8_t *record) { return reg != PEVc::Number || PersonPasswordSeal(record); }

// A record id stands only beside a done insert.
void RecInsertCheckedRemote(int reg, uint8_t *record, uint32_t *recid, int *result) {
    *result = RecConnectionLost;
    RecFocusClear();
    if (!SealedForSending(reg, record)) {
        *result = RecStoreFailed;
        return;
    }
    MsgBuffer request, reply;
    MsgPutWord(&request, (uint16_t)reg);
    MsgPutRecord(&request, reg, record);
    if (!RemoteExchange(ReqInsertChecked, &request, &reply)) return;
    ScratchRecord got(reg);
    uint32_t id = 0;
    int code = RecConnectionLost;
    ErrorPosition pos{};
    MsgGetLong(&reply, &id);
    RemoteGetResult(&reply, &code);
    RemoteGetErrorPos(&reply, &pos);
    RemoteGetRecord(&reply, &got);
    if (!RemoteReplyDone(&reply)) return;
    RemoteRecordTake(&got, record);
    *recid = code == RecDone ? id : 0;
    *result = code;
    FieldErrorPos = pos;
}

void RecUpdateCheckedRemote(int reg, uint8_t *record, uint32_t recid, int *result) {
    *result = RecConnectionLost;
    RecFocusClear();
    if (!SealedForSending(reg, record)) {
        *result = RecStoreFailed;
        return;
    }
    MsgBuffer request, reply;
    MsgPutWord(&request, (uint16_t)reg);
    MsgPutLong(&request, recid);
    MsgPutRecord(&request, reg, record);
    if (!RemoteExchange(ReqUpdateChecked, &request, &reply)) return;
    ScratchRecord got(reg);
    int code = RecConnectionLost;
    ErrorPosition pos{};
    RemoteGetResult(&reply, &code);
    RemoteGetErrorPos(&reply, &pos);
    MsgGetLong(&reply, nullptr);   // the id of the record rewritten: the caller's own
    RemoteGetRecord(&reply, &got);
    if (!RemoteReplyDone(&reply)) return;
    RemoteRecordTake(&got, record);
    *result = code;
    FieldErrorPos = pos;
}

int RecDeleteCheckedRemote(int reg, uint8_t *record, uint32_t *recid, const char *text) {
    if (!SealedForSending(reg, record)) return RecStoreFailed;
    MsgBuffer request, reply;
    MsgPutWord(&request, (uint16_t)reg);
    MsgPutLong(&request, *recid);
    MsgPutCString(&request, RemoteIndexName(text));
    MsgPutRecord(&request, reg, record);
    if (!RemoteExchange(ReqDeleteChecked, &request, &reply)) return RecConnectionLost;
    ScratchRecord got(reg);
    int code = RecConnectionLost;
    uint32_t id = 0;
    RemoteGetResult(&reply, &code);
    MsgGetLong(&reply, &id);
    RemoteGetRecord(&reply, &got);
    if (!RemoteReplyDone(&reply)) return RecConnectionLost;
    // Only a done delete moves the caller on to another record.
    if (code != RecDone) return code;
    RemoteRecordTake(&got, record);
    *recid = id;
    return code;
}

int RecCheckRemote(int reg, uint8_t *data, uint32_t size, int mode) {
    MsgBuffer request;
    MsgPutWord(&request, (uint16_t)reg);
    MsgPutWord(&request, (uint16_t)mode);
    MsgPutSized(&request, data, size);
    return RemoteCheckedExchange(ReqCheck, &request);
}
