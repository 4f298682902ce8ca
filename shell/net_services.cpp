// net_services.cpp - the network services' entry table and ports.
#include "shell/net_services.h"

NetServicesRec NetServices;
bool SocketsActive;
uint16_t TcpListenPort = 1235;
uint16_t TcpPort = 1234;
uint32_t ClientSessionId;

// No client session is connected without the server layer: none has the
// name.
bool SessionSelectByName(const uint8_t *name) { return false; }

// No client session is current without the server layer.
int16_t SessionOrderFlag() { return -1; }
