// net_services.cpp - the network services' entry table and ports.
#include "shell/net_services.h"

NetServicesRec NetServices;
bool SocketsActive;
uint16_t TcpListenPort = 1235;
uint16_t TcpPort = 1234;
