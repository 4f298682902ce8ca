// session_output.cpp - a session's output queue. Output made while a
// hold is open (a save that prints before it commits, a run that prints
// as it posts) is not waited for: the job runs on, the hold ends, and
// the pushes leave one per acknowledgement afterwards, followed by the
// reply of the request that made them. So a client that stops reading
// never keeps the hold open, and no other client waits for it.
//
// The queue is bounded (NetLimits.maxOutput) and its client must keep
// acknowledging or holding (NetLimits.ackMs): one that does neither is
// dropped, its connection closed with a log line, its output with it.
#include "net/net.h"

namespace {

// Closes s's connection for the reason given (its session ends with it).
void DropClient(int s, const char *why) {
    int slot = SessionTable[s].slot;
    NetReport(why, (int)SessionTable[s].id);
    NetConnClose(slot);
}

// Sends queued frames while the client may take them: each only after
// the previous push was acknowledged (the reply too, as when the job
// waits for it).
void SendQueued(int s) {
    SessionEntry &e = SessionTable[s];
    while (e.inUse && !e.out.empty()) {
        if (!e.ack.ready) return;
        SessionOutFrame &f = e.out.front();
        SessionOutFrame frame = std::move(f);
        e.out.pop_front();
        e.outBytes -= frame.bytes.size();
        uint32_t id = e.id;
        if (!NetSendFrame(e.slot, frame.bytes.data(), (uint32_t)frame.bytes.size())) return;
        if (SessionFindById(id) != s) return;   // closed while sending
        if (frame.push) {
            e.ack.ready = false;
            e.ack.held = false;
            e.ack.pushedMs = e.ack.sentMs = NetNowMs();
        }
    }
}

}  // namespace

bool SessionOutputQueue(int s, const uint8_t *bytes, uint32_t length, bool push) {
    if (s < 0 || s >= NetSlotCount || !SessionTable[s].inUse) return false;
    SessionEntry &e = SessionTable[s];
    if (e.outBytes + length > NetLimits.maxOutput) {
        DropClient(s, "Output queue full (the client does not read), client dropped");
        return false;
    }
    e.out.push_back(SessionOutFrame{std::vector<uint8_t>(bytes, bytes + length), push});
    e.outBytes += length;
    uint32_t id = e.id;
    SendQueued(s);
    return SessionFindById(id) == s;
}

void SessionOutputAcknowledged(int s, bool cancel) {
    SessionEntry &e = SessionTable[s];
    if (cancel) {
        // The user stopped the job: its pages still queued go nowhere.
        for (auto it = e.out.begin(); it != e.out.end();) {
            if (it->push) {
                e.outBytes -= it->bytes.size();
                it = e.out.erase(it);
            } else {
                ++it;
            }
        }
    }
    SendQueued(s);
}

void SessionOutputHousekeeping() {
    uint64_t now = NetNowMs();
    for (int s = 0; s < NetSlotCount; s++) {
        const SessionEntry &e = SessionTable[s];
        if (e.inUse && !e.out.empty() && !e.ack.ready && now - e.ack.sentMs > (uint64_t)NetLimits.ackMs)
            DropClient(s, "Output not acknowledged in time, client dropped");
    }
}
