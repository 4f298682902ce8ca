// remote_locks.cpp - client stubs of the record and register locks kept
// on the server (requests 8, 25, 27 and 28 of docs/protocol.md).
#include "database/access/record_access.h"
#include "database/access/remote_calls.h"
#include "database/access/remote_internal.h"

namespace {

// A request whose reply is empty: true once the server answered.
bool EmptyReply(uint16_t code, MsgBuffer *request) {
    MsgBuffer reply;
    return RemoteExchange(code, request, &reply) && RemoteReplyDone(&reply);
}

}  // namespace

// The record comes back only with the lock: a refused lock leaves the
// caller's record (the one on screen) as it was.
bool RecordLockTakeRemote(int reg, uint32_t recid, uint8_t *record) {
    MsgBuffer request, reply;
    MsgPutWord(&request, (uint16_t)reg);
    MsgPutLong(&request, recid);
    if (!RemoteExchange(ReqRecordLockTake, &request, &reply)) return false;
    ScratchRecord got(reg);
    uint8_t taken = 0;
    MsgGetByte(&reply, &taken);
    RemoteGetRecord(&reply, &got);
    if (!RemoteReplyDone(&reply) || !taken) return false;
    RemoteRecordTake(&got, record);
    return true;
}

bool RecordUnlockRemote(int reg, uint32_t recid) {
    MsgBuffer request;
    MsgPutWord(&request, (uint16_t)reg);
    MsgPutLong(&request, recid);
    return EmptyReply(ReqRecordUnlock, &request);
}

bool RegisterLockTakeRemote(int number) {
    MsgBuffer request, reply;
    MsgPutWord(&request, (uint16_t)number);
    if (!RemoteExchange(ReqRegisterLockTake, &request, &reply)) return false;
    uint8_t taken = 0;
    MsgGetByte(&reply, &taken);
    return RemoteReplyDone(&reply) && taken != 0;
}

bool RegisterUnlockRemote(int number) {
    MsgBuffer request;
    MsgPutWord(&request, (uint16_t)number);
    return EmptyReply(ReqRegisterUnlock, &request);
}
