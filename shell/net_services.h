// net_services.h - the network services the shell calls at fixed
// places: settings, listening, socket events, the client's connection
// and session end. Each entry is null until the network installs it;
// callers skip a null entry.
#pragma once

#include <cstdint>

struct NetServicesRec {
    void (*tcpSettingsLoad)();                                    // reads the TCP settings
    bool (*serverListen)(uint16_t port, uint32_t frame);          // starts listening
    void (*onSocketEvent)(uint32_t win, int socket, int bits);    // socket readiness (2000)
    void (*clientClose)();                                        // drops the client's connection
    bool (*connectLoop)();                                        // connects a client to its server
    void (*sessionEnd)();                                         // ends the session at the server
    void (*serverRunModeOn)();                                    // switches to server mode
    bool (*requestInProgress)();                                  // a request is being answered
    void (*serverStatusPaint)(int window);                        // frame pass of the server status window
    void (*moduleOneSwitch)(int module, int previous);            // module 1 entered or left (network layer)
};
extern NetServicesRec NetServices;
extern bool SocketsActive;         // the TCP settings ask for the network
extern uint16_t TcpListenPort;     // a server listens here; 1235
extern uint16_t TcpPort;           // a client connects here; 1234
extern uint32_t ClientSessionId;   // the session the server gave this client, 0 none

// Makes the connected client session whose name is name (a printer's
// device text) the current one for remote printing; false when there is
// none. No session is ever connected here yet: always false.
bool SessionSelectByName(const uint8_t *name);
// The byte-order and character-set flag of the client session being
// served; -1 when no client is current, which is always so here yet.
int16_t SessionOrderFlag();
