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

// On a server producing output for a client: makes the connected client
// session whose name is name (a printer's device text) the one the
// output goes to, so a print to a printer named after a client reaches
// that client; a name no session has leaves the output with the client
// that asked for it. False when the output has no client to go to (or
// no server layer is installed).
bool SessionSelectByName(const uint8_t *name);
// The byte-order and character-set flag of the current output: the
// program's own flag unless the output goes to a client (RemoteOutput),
// then that client's flag, -1 when no client session takes the output.
int16_t SessionOrderFlag();
