// remote_records.cpp - client stubs of the record layer's reading
// operations: finds, reads by position and by id, browsing, rereads,
// existence, new-record defaults and record counts (requests 2, 4, 6, 7,
// 13, 14, 16, 18, 19, 22, 36, 37, 38, 41 of docs/protocol.md).
#include "database/access/record_access.h"
#include "database/access/remote_calls.h"
#include "database/access/remote_internal.h"

namespace {

// Requests 16, 36, 37 and 38: the key in the record, found flag,
// position, record id and the record back. The reply's record replaces
// the caller's in every case, as the local find leaves it (cleared on a
// miss, or the caller's own for the keep forms).
bool FindRequest(uint16_t code, int reg, const char *index, uint8_t *record, int parts, int exact,
                 uint32_t *recid, uint32_t *position) {
    MsgBuffer request, reply;
    MsgPutWord(&request, (uint16_t)reg);
    if (code == ReqFindByIndex || code == ReqFindByIndexKeep) MsgPutCString(&request, RemoteIndexName(index));
    MsgPutWord(&request, (uint16_t)parts);
    MsgPutByte(&request, (uint8_t)exact);
    MsgPutRecord(&request, reg, record);
    if (!RemoteExchange(code, &request, &reply)) return false;
    ScratchRecord got(reg);
    uint8_t found = 0;
    uint32_t pos = 0, id = 0;
    MsgGetByte(&reply, &found);
    MsgGetLong(&reply, &pos);
    MsgGetLong(&reply, &id);
    RemoteGetRecord(&reply, &got);
    if (!RemoteReplyDone(&reply)) return false;
    RemoteRecordTake(&got, record);
    if (found) {
        if (recid) *recid = id;
        if (position) *position = pos;
    }
    return found != 0;
}

// The reply of requests 2, 6, 7, 18, 19 and 22: a found flag, the
// record's id (withId: all but 19 and 22) and the record. The record and
// the id are the caller's only when found; a miss leaves the caller's
// record as it was.
bool FoundRecordReply(uint16_t code, MsgBuffer *request, int reg, uint8_t *record, bool withId,
                      uint32_t *recid) {
    MsgBuffer reply;
    if (!RemoteExchange(code, request, &reply)) return false;
    ScratchRecord got(reg);
    uint8_t found = 0;
    uint32_t id = 0;
    MsgGetByte(&reply, &found);
    if (withId) MsgGetLong(&reply, &id);
    RemoteGetRecord(&reply, &got);
    if (!RemoteReplyDone(&reply)) return false;
    if (!found) return false;
    RemoteRecordTake(&got, record);
    if (recid) *recid = id;
    return true;
}

// Requests 2 and 18: the record at a position of an index.
bool ReadAtRequest(uint16_t code, int reg, const char *index, int32_t position, uint8_t *record,
                   uint32_t *recid) {
    if (position < 0) return false;
    MsgBuffer request;
    MsgPutWord(&request, (uint16_t)reg);
    MsgPutLong(&request, (uint32_t)position);
    MsgPutCString(&request, RemoteIndexName(index));
    return FoundRecordReply(code, &request, reg, record, true, recid);
}

// Requests 6 and 7: the record next to the caller's, with the id of the
// record now shown.
bool BrowseRequest(uint16_t code, int reg, uint8_t *record, uint32_t *recid, const char *text) {
    MsgBuffer request;
    MsgPutWord(&request, (uint16_t)reg);
    MsgPutLong(&request, recid ? *recid : 0);
    MsgPutCString(&request, RemoteIndexName(text));
    MsgPutRecord(&request, reg, record);
    return FoundRecordReply(code, &request, reg, record, true, recid);
}

// Requests 13 and 14: the record with its defaults.
void DefaultsRequest(uint16_t code, int reg, uint8_t *record) {
    MsgBuffer request, reply;
    MsgPutWord(&request, (uint16_t)reg);
    if (code == ReqNewDefaultsOther) MsgPutRecord(&request, reg, record);
    if (!RemoteExchange(code, &request, &reply)) return;
    ScratchRecord got(reg);
    RemoteGetRecord(&reply, &got);
    if (RemoteReplyDone(&reply)) RemoteRecordTake(&got, record);
}

}  // namespace

bool RecFindRemote(int reg, uint8_t *record, int parts, int exact, uint32_t *recid, uint32_t *position) {
    return FindRequest(ReqFind, reg, nullptr, record, parts, exact, recid, position);
}

bool RecFindKeepRemote(int reg, uint8_t *record, int parts, int exact, uint32_t *recid, uint32_t *position) {
    return FindRequest(ReqFindKeep, reg, nullptr, record, parts, exact, recid, position);
}

bool RecFindByIndexRemote(int reg, const char *index, uint8_t *record, int parts, int exact, uint32_t *recid,
                          uint32_t *position) {
    return FindRequest(ReqFindByIndex, reg, index, record, parts, exact, recid, position);
}

bool RecFindByIndexKeepRemote(int reg, const char *index, uint8_t *record, int parts, int exact,
                              uint32_t *recid, uint32_t *position) {
    return FindRequest(ReqFindByIndexKeep, reg, index, record, parts, exact, recid, position);
}

bool RecExistsRemote(int reg, uint8_t *record) {
    MsgBuffer request, reply;
    MsgPutWord(&request, (uint16_t)reg);
    MsgPutRecord(&request, reg, record);
    if (!RemoteExchange(ReqExists, &request, &reply)) return false;
    uint8_t found = 0;
    MsgGetByte(&reply, &found);
    return RemoteReplyDone(&reply) && found != 0;
}

bool RecReadByIdRemote(int reg, uint32_t recid, uint8_t *record) {
    MsgBuffer request;
    MsgPutWord(&request, (uint16_t)reg);
    MsgPutLong(&request, recid);
    MsgPutWord(&request, 0);   // two words the server does not use
    MsgPutByte(&request, 1);
    return FoundRecordReply(ReqReadById, &request, reg, record, false, nullptr);
}

bool RecReadAtRemote(int reg, const char *index, int32_t position, uint8_t *record, uint32_t *recid) {
    return ReadAtRequest(ReqReadAt, reg, index, position, record, recid);
}

bool RecReadAtIndexCRemote(int reg, int32_t position, uint8_t *record, const char *index, uint32_t *recid) {
    return ReadAtRequest(ReqReadAtIndexC, reg, index, position, record, recid);
}

bool RecRereadRemote(int reg, uint32_t recid, uint8_t *record, int mode) {
    MsgBuffer request;
    MsgPutWord(&request, (uint16_t)reg);
    MsgPutLong(&request, recid);
    MsgPutWord(&request, (uint16_t)mode);
    return FoundRecordReply(ReqReread, &request, reg, record, false, nullptr);
}

bool RecBrowseNextRemote(int reg, uint8_t *record, uint32_t *recid, const char *text) {
    return BrowseRequest(ReqBrowseNext, reg, record, recid, text);
}

bool RecBrowsePrevRemote(int reg, uint8_t *record, uint32_t *recid, const char *text) {
    return BrowseRequest(ReqBrowsePrev, reg, record, recid, text);
}

void RecNewDefaultsRemote(int reg, uint8_t *record) { DefaultsRequest(ReqNewDefaults, reg, record); }

void RecNewDefaultsOtherRemote(int reg, uint8_t *record) { DefaultsRequest(ReqNewDefaultsOther, reg, record); }

uint32_t RegRecordCountRemote(int reg) {
    MsgBuffer request, reply;
    MsgPutWord(&request, (uint16_t)reg);
    if (!RemoteExchange(ReqRecordCount, &request, &reply)) return 0;
    uint32_t n = 0;
    MsgGetLong(&reply, &n);
    return RemoteReplyDone(&reply) ? n : 0;
}
