// sessions.cpp - the server's session table: one entry per client that
// passed the handshake, bound to the connection it came on. A session
// ends at request 24 or when its connection closes; either way its
// locks, its read snapshot, its queued output and its entry are given
// back. Session ids are never given twice while the program runs: an
// id names one client, whichever table entry it has.
#include <cstring>

#include "core/interface_defs.h"
#include "core/pstring.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "database/access/record_locks.h"
#include "database/engine/engine.h"
#include "net/net.h"
#include "rules/entry_state.h"

SessionEntry SessionTable[NetSlotCount];
int ServerOutputSession = -1;
uint32_t ServerOutputId = 0;
bool SessionCountsValid = false;
uint32_t SessionCounts[RegisterCount];
bool ServerServing = false;
uint32_t SessionIdCounter = 0;

void SessionTableInit() {
    SessionCountsValid = false;
    for (SessionEntry &e : SessionTable) {
        if (e.inUse) SessionEnd(e.id);
        e = SessionEntry{};
    }
}

int SessionFreeSlot() {
    for (int i = 0; i < NetSlotCount; i++)
        if (!SessionTable[i].inUse) return i;
    return -1;
}

int SessionFindById(uint32_t id) {
    for (int i = 0; i < NetSlotCount; i++)
        if (SessionTable[i].inUse && SessionTable[i].id == id) return i;
    return -1;
}

int SessionForSlot(int slot) {
    for (int i = 0; i < NetSlotCount; i++)
        if (SessionTable[i].inUse && SessionTable[i].slot == slot) return i;
    return -1;
}

void SessionEnd(uint32_t id) {
    LocksReleaseOwner(id);
    int i = SessionFindById(id);
    if (i < 0) return;
    SessionEntry &e = SessionTable[i];
    if (e.snapshot) D4SnapshotClose(static_cast<DVP *>(e.snapshot), e.snapshotHandle);
    e = SessionEntry{};
}

void SessionFlagsClear() {
    for (SessionEntry &e : SessionTable) e.countsSent = false;
    SessionCountsValid = false;
}

const uint32_t *SessionRecordCounts() {
    if (!SessionCountsValid) {
        for (int reg = 0; reg < RegisterCount; reg++) SessionCounts[reg] = RegRecordCountLocal(reg);
        SessionCountsValid = true;
    }
    return SessionCounts;
}

int SessionsInUse() {
    int n = 0;
    for (const SessionEntry &e : SessionTable) n += e.inUse;
    return n;
}

// An exclusive job (an import, a register lock taken for one) may run
// only while no other client could be working: fewer than 2 sessions.
bool SessionsAllowExclusive() { return SessionsInUse() < 2; }

void SessionLabel(int index, uint8_t *out) {
    out[0] = 0;
    if (index < 0 || index >= NetSlotCount || !SessionTable[index].inUse) return;
    const uint8_t *user = SessionUserEntry(index);
    if (user) PStringCopy(out, user + SU::FullName);
    const uint8_t *client = SessionTable[index].clientName;
    if (client[0]) {
        PStringAppendC(out, "  @");
        PStringAppend(out, client);
    }
}

bool SessionSelectOutput(const uint8_t *name) {
    if (name && name[0])
        for (int i = 0; i < NetSlotCount; i++)
            if (SessionTable[i].inUse && PStringCompareNoCase(SessionTable[i].clientName, name) == 0) {
                ServerOutputSession = i;
                ServerOutputId = SessionTable[i].id;
                return true;
            }
    // A printer that names no connected client is the asking client's own:
    // its print still comes out, where that client prints.
    return ServerOutputSession >= 0 && SessionTable[ServerOutputSession].inUse;
}

int16_t SessionOutputOrderFlag() {
    int s = ServerOutputSession;
    return s >= 0 && SessionTable[s].inUse ? (int16_t)SessionTable[s].byteOrder : -1;
}

int SessionOutputTarget() {
    int s = ServerOutputSession;
    if (s < 0 || s >= NetSlotCount || !SessionTable[s].inUse || SessionTable[s].id != ServerOutputId) return -1;
    return s;
}

int SessionEvictNotLoggedIn(int keepSlot) {
    int oldest = -1;
    for (int i = 0; i < NetSlotCount; i++) {
        const SessionEntry &e = SessionTable[i];
        if (!e.inUse || e.loggedIn || e.slot == keepSlot || (e.slot >= 0 && ConnTable[e.slot].handling)) continue;
        if (oldest < 0 || e.id < SessionTable[oldest].id) oldest = i;
    }
    if (oldest < 0) return -1;
    NetReport("Room made for a newcomer: a session without a login ended", (int)SessionTable[oldest].id);
    int slot = SessionTable[oldest].slot;
    if (slot >= 0) NetConnClose(slot);
    if (SessionTable[oldest].inUse) SessionEnd(SessionTable[oldest].id);
    return oldest;
}
