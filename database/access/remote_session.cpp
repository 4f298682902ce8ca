// remote_session.cpp - client stubs of the session's own requests: the
// login and the end of the session (requests 31 and 24 of
// docs/protocol.md). The handshake that opens the session (requests 0
// and 15) belongs to the network layer.
#include <cstring>

#include "database/access/record_access.h"
#include "database/access/remote_calls.h"
#include "database/access/remote_internal.h"

bool SessionEndRequest(uint32_t session) {
    MsgBuffer request, reply;
    MsgPutLong(&request, session);
    return RemoteExchange(ReqSessionEnd, &request, &reply) && RemoteReplyDone(&reply);
}

bool LoginRemote(int accessReg, uint8_t *name, const uint8_t *password, uint8_t *accessRecord) {
    MsgBuffer request, reply;
    MsgPutPString(&request, name);
    MsgPutPString(&request, password);
    if (!RemoteExchange(ReqLogin, &request, &reply)) return false;
    ScratchRecord got(accessReg);
    uint8_t serverName[256];
    uint8_t accepted = 0;
    MsgGetPString(&reply, serverName);
    MsgGetByte(&reply, &accepted);
    RemoteGetRecord(&reply, &got);
    if (!RemoteReplyDone(&reply)) return false;
    std::memcpy(name, serverName, (size_t)serverName[0] + 1);
    RemoteRecordTake(&got, accessRecord);
    return accepted != 0;
}
