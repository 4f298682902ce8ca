// server_hooks.h - what only a serving program has: the network layer
// fills this table when the program starts to serve (NetServerStart), and
// stand-alone or as a client every entry stays empty by design. Each
// reader says what an empty entry means where it asks.
#pragma once

#include <cstdint>

struct ServerHooksRec {
    // Makes the server's session table at the start-up flags (none: none).
    void (*sessionTableInit)();
    // Clears the per-session flags so every session gets the new record
    // counts (none: nothing to clear).
    void (*sessionFlagsClear)();
    // true when a register lock may be exclusive now (none: true).
    bool (*sessionsAllowExclusive)();
    // A client session by name takes the output (none: no session does).
    bool (*sessionSelectByName)(const uint8_t *name);
    // The byte-order flag of the session taking the output.
    int16_t (*sessionOrderFlag)();
    // Waits until the client taking the output has opened the job just
    // sent to it, and gives the device it said it opened: its output kind
    // and usable width (none, or a client that said nothing: false).
    bool (*clientDevice)(uint16_t *kind, int32_t *width);
    // The rights of the person whose request the server serves, asked of
    // each write, settings lock and run made while it is served (the
    // record layer's LocalWriteRefused, LocalBlockRefused, LocalRunRefused):
    // 0 allows, else the refusal, told, as the result. Outside a request
    // (the server's own work) they allow. None: every write allowed.
    int (*refuseWrite)(uint16_t request, int reg, const uint8_t *record, uint32_t recid);
    int (*refuseBlock)(int block);
    int (*refuseRun)(uint16_t code, int kind, const uint8_t *job);
};
extern ServerHooksRec ServerHooks;
