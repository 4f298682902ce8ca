// serve_here.h - a transport for client-mode tests: each request is
// served by the server's dispatch in this process, on the same company,
// as a server would serve a client, and the client mode comes back after.
#pragma once

#include "core/msg_buffer.h"
#include "database/access/record_access.h"
#include "net/net.h"

inline bool ServeHere(uint16_t code, MsgBuffer *request, MsgBuffer *reply)
{
    RunMode = 0;
    MsgReset(reply);
    bool served = ServerDispatch(code, request, reply);
    RunMode = RunModeClient;
    return served;
}
