// net_services.cpp - the network services' entry table and ports, and
// the two questions the output layer asks of the server's sessions.
#include "shell/net_services.h"

#include "core/file_form.h"
#include "core/server_hooks.h"
#include "output/devices/report_output.h"

NetServicesRec NetServices;
bool SocketsActive;
uint16_t TcpListenPort = 1235;
uint16_t TcpPort = 1234;
uint32_t ClientSessionId;

bool SessionSelectByName(const uint8_t *name) {
    return ServerHooks.sessionSelectByName && name && ServerHooks.sessionSelectByName(name);
}

int16_t SessionOrderFlag() {
    if (!RemoteOutput) return ByteOrder.program;
    return ServerHooks.sessionOrderFlag ? ServerHooks.sessionOrderFlag() : -1;
}
