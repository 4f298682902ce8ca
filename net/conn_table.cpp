// conn_table.cpp - the connection table: accepting and connecting, the
// TLS channel of each connection (net/tls.h), the framing of the plain
// byte stream into length-prefixed frames, sending in pieces with a
// queue for what the network cannot take now, and the time-outs that
// close slow, silent or never logged-in connections.
//
// A frame starts with its u32 total length (docs/protocol.md, section 2).
// A length below the smallest frame of the direction or above the limit
// closes the connection: nothing after a frame that cannot be framed
// can be trusted. The limit is read from the header, before any room is
// taken for the frame: a small one until the connection's login, a
// larger one after it, and the import's own only for a request 20 the
// server allowed from its header (ServerImportMayCome); one it refused
// is answered at once and its body dropped as it arrives, never kept.
// Complete frames are handed on a few per turn (NetFrameTurn), each as a
// copy taken out of the receive buffer before its handler runs, since
// the handler may nest and read the same connection again; a connection
// whose answers wait unread (NetLimits.pausePending) is served nothing
// more until it reads.
#include <chrono>
#include <cstdio>
#include <cstring>

#include "core/message_sink.h"
#include "core/pstring.h"
#include "core/system.h"
#include "database/access/remote_calls.h"
#include "net/net.h"
#include "net/tls.h"
#include "platform/socket.h"

NetLimitsRec NetLimits;
ConnSlot ConnTable[NetConnCount];
NetRole NetCurrentRole = NetRole::None;
uint32_t NetClientWindow = 0;

namespace {

int Listener = -1;
uint32_t ListenWindow = 0;
NetFrameHandler OnFrame = nullptr;
NetCloseHandler OnClose = nullptr;
uint32_t Generations[NetConnCount];   // raised at every close: a reused slot is told apart

constexpr uint32_t ServerMinFrame = 10;   // a request header
constexpr uint32_t ClientMinFrame = 6;    // a push header
constexpr uint32_t ReplyMinFrame = 14;

uint32_t ReadLong(const uint8_t *p) {
    return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
}
uint16_t ReadWord(const uint8_t *p) { return (uint16_t)(p[0] | p[1] << 8); }

uint32_t NextSerial = 0;

void ResetSlot(int slot) {
    TlsLinkFree(ConnTable[slot].tls);
    ConnTable[slot] = ConnSlot{};
    ConnTable[slot].serial = ++NextSerial;
}

int SlotOfSocket(int socket) {
    for (int i = 0; i < NetConnCount; i++)
        if (ConnTable[i].inUse && ConnTable[i].socket == socket) return i;
    return -1;
}

// The length a frame may have, read from its first bytes; 0 while too
// few bytes are there to tell; FrameBad for a frame that cannot be
// framed; FrameAsk for a request 20 the server has not yet allowed.
constexpr uint32_t FrameBad = 0xFFFFFFFFu;
constexpr uint32_t FrameAsk = 0xFFFFFFFEu;
uint32_t FrameLength(int slot, const uint8_t *b, size_t size) {
    if (size < 4) return 0;
    uint32_t len = ReadLong(b);
    if (NetCurrentRole == NetRole::Server) {
        if (len < ServerMinFrame) return FrameBad;
        if (!NetSlotLoggedIn(slot)) return len <= NetLimits.maxLoginFrame ? len : FrameBad;
        if (size < 10) return 0;   // the code tells which allowance holds
        if (ReadWord(b + 8) != ReqImportRun) return len <= NetLimits.maxFrame ? len : FrameBad;
        if (len > NetLimits.maxImportFrame) return FrameBad;
        return ConnTable[slot].importAllowed ? len : FrameAsk;
    }
    if (len < ClientMinFrame || len > NetLimits.maxFrame) return FrameBad;
    if (size < 6) return 0;
    uint16_t code = ReadWord(b + 4);
    if (code > 1 || (code == 0 && len < ReplyMinFrame)) return FrameBad;
    return len;
}

// The bytes of slot not yet handed on.
size_t Unread(const ConnSlot &c) { return c.received.size() - c.taken; }

// A logged-in connection whose answers pile up unread: it is served no
// further frame until it reads. (One without a login is refused all but
// the login, cheaply, and cut off at its small queue instead.)
bool Paused(int slot) {
    return NetCurrentRole == NetRole::Server && ConnTable[slot].pending.size() > NetLimits.pausePending &&
           NetSlotLoggedIn(slot);
}

// Asks the server about the request 20 whose header is at slot's read
// position. Allowed, its body may come; refused (and answered), the
// frame's bytes are dropped, those here and those still to come. False
// when the connection closed meanwhile.
bool AskImport(int slot) {
    uint32_t gen = Generations[slot];
    bool allowed = ServerImportMayCome(slot);
    if (!ConnTable[slot].inUse || Generations[slot] != gen) return false;
    ConnSlot &c = ConnTable[slot];
    if (allowed) {
        c.importAllowed = true;
        return true;
    }
    size_t length = ReadLong(c.received.data() + c.taken), here = Unread(c) < length ? Unread(c) : length;
    c.taken += here;
    c.skip = length - here;
    if (Unread(c) != 0) c.frameStartMs = NetNowMs();
    return true;
}

// Hands on the complete frames that slot holds: all of them when turn
// is 0, else at most turn, and none while the connection is paused; the
// rest wait (`waiting`) for the connection's next turn. Frames are taken
// by moving `taken` on (a handler may nest and take further frames of
// the same slot); the bytes taken are dropped at the end.
void HandFrames(int slot, int turn = 0) {
    uint32_t gen = Generations[slot];
    int handed = 0;
    ConnTable[slot].waiting = false;
    while (ConnTable[slot].inUse && Generations[slot] == gen) {
        ConnSlot &c = ConnTable[slot];
        uint32_t len = FrameLength(slot, c.received.data() + c.taken, Unread(c));
        if (len == FrameAsk) {
            if (!AskImport(slot)) return;
            continue;
        }
        if (len == FrameBad) {
            NetReport("Frame refused, connection closed", (int)slot);
            NetConnClose(slot);
            return;
        }
        if (len == 0 || Unread(c) < len) break;
        if (turn && (handed >= turn || Paused(slot))) {
            c.waiting = true;
            break;
        }
        MsgBuffer frame;
        if (!MsgLoad(&frame, c.received.data() + c.taken, len)) {
            NetConnClose(slot);
            return;
        }
        c.taken += len;
        c.importAllowed = false;
        c.frameStartMs = Unread(c) == 0 ? 0 : NetNowMs();
        handed++;
        if (OnFrame) {
            c.handling++;
            OnFrame(slot, &frame);
            if (Generations[slot] == gen) ConnTable[slot].handling--;
        }
    }
    if (!ConnTable[slot].inUse || Generations[slot] != gen) return;
    ConnSlot &c = ConnTable[slot];
    // Dropped once most of the buffer is taken, so that many small frames
    // handed a turn at a time do not move the rest each time.
    if (c.taken == c.received.size()) {
        c.received.clear();
        c.taken = 0;
    } else if (c.taken >= NetPieceSize && c.taken * 2 >= c.received.size()) {
        c.received.erase(c.received.begin(), c.received.begin() + (long)c.taken);
        c.taken = 0;
    }
}

// The largest frame slot's connection may send now.
size_t FrameLimitNow(int slot) {
    if (NetCurrentRole != NetRole::Server) return NetLimits.maxFrame;
    if (!NetSlotLoggedIn(slot)) return NetLimits.maxLoginFrame;
    return ConnTable[slot].importAllowed ? NetLimits.maxImportFrame : NetLimits.maxFrame;
}

// The most a connection may hold unread: its largest frame and a piece
// and one channel record (up to 16 KB of plain bytes at once) beyond it.
// Reading pauses at the frame limit and while frames wait for their
// turn, so only a peer that lies about its frames comes near it.
size_t UnreadBound(int slot) { return FrameLimitNow(slot) + NetPieceSize + 16384; }

// Takes received plain bytes into slot; false (closed) past the bound.
// The bytes of a frame refused at its header are dropped first.
bool Append(int slot, const uint8_t *bytes, size_t n) {
    ConnSlot &c = ConnTable[slot];
    if (c.skip) {
        size_t drop = c.skip < n ? c.skip : n;
        c.skip -= drop;
        bytes += drop;
        n -= drop;
        if (n == 0) return true;
    }
    if (Unread(c) == 0) c.frameStartMs = NetNowMs();
    c.received.insert(c.received.end(), bytes, bytes + n);
    if (Unread(c) <= UnreadBound(slot)) return true;
    NetReport("Connection sent more than it may, closed", slot);
    NetConnClose(slot);
    return false;
}

bool Drain(int slot);

// Puts bytes for the socket behind what slot has queued and sends what
// the socket takes; false when the connection was closed.
bool QueueWire(int slot, const uint8_t *bytes, size_t n) {
    ConnSlot &c = ConnTable[slot];
    if (c.pending.empty()) c.lastDrainMs = NetNowMs();
    c.pending.insert(c.pending.end(), bytes, bytes + n);
    return !c.maySend || Drain(slot);
}

// Takes bytes from the socket: through the channel when the slot has
// one. False when the connection was closed.
bool TakeFromSocket(int slot, const uint8_t *bytes, size_t n) {
    ConnSlot &c = ConnTable[slot];
    if (!c.tls) return Append(slot, bytes, n);
    std::vector<uint8_t> plain, wire;
    bool ok = TlsLinkReceive(c.tls, bytes, n, &plain, &wire);
    if (!wire.empty() && !QueueWire(slot, wire.data(), wire.size())) return false;
    if (!ok) {
        NetReport("Secure channel broken, connection closed", slot);
        NetConnClose(slot);
        return false;
    }
    return plain.empty() || Append(slot, plain.data(), plain.size());
}

// A read event of slot (or its turn): the frames that wait come first;
// only when none is left is the socket read again, so a client that
// sends faster than it is served is held back by its own connection.
void OnRead(int slot) {
    uint32_t gen = Generations[slot];
    if (ConnTable[slot].waiting) {
        HandFrames(slot, NetFrameTurn);
        if (Generations[slot] != gen || !ConnTable[slot].inUse || ConnTable[slot].waiting) return;
    }
    uint8_t piece[NetPieceSize];
    // A bounded number of pieces per event, so one flooding peer cannot
    // hold the thread; the rest is announced again.
    for (int i = 0; i < 16; i++) {
        ConnSlot &c = ConnTable[slot];
        long n = PlSocketReceive(c.socket, piece, sizeof piece);
        if (n > 0) {
            if (!TakeFromSocket(slot, piece, (size_t)n)) return;
            uint32_t len = FrameLength(slot, c.received.data() + c.taken, Unread(c));
            if (len == FrameBad || len == FrameAsk) break;
            // Enough for the largest frame: those are handed on before
            // more is read (a receive that left bytes is announced again).
            if (Unread(c) >= FrameLimitNow(slot)) break;
            continue;
        }
        if (n == 0 || PlSocketLastError() != kPlSockWouldBlock) {
            HandFrames(slot);   // what arrived before the end still counts
            if (Generations[slot] == gen) NetConnClose(slot);
            return;
        }
        break;
    }
    HandFrames(slot, NetFrameTurn);
}

// Sends what slot holds queued; false when the connection was closed.
bool Drain(int slot) {
    ConnSlot &c = ConnTable[slot];
    size_t sent = 0;
    while (sent < c.pending.size()) {
        size_t n = c.pending.size() - sent;
        if (n > NetPieceSize) n = NetPieceSize;
        long got = PlSocketSend(c.socket, c.pending.data() + sent, n);
        if (got < 0) {
            if (PlSocketLastError() != kPlSockWouldBlock) {
                NetReport("send error", PlSocketLastError());
                NetConnClose(slot);
                return false;
            }
            c.maySend = false;
            break;
        }
        sent += (size_t)got;
    }
    if (sent) {
        c.pending.erase(c.pending.begin(), c.pending.begin() + (long)sent);
        c.lastDrainMs = NetNowMs();
    }
    return true;
}

int FreeSlot() {
    for (int i = 0; i < NetConnCount; i++)
        if (!ConnTable[i].inUse) return i;
    return -1;
}

void OnAccept() {
    for (;;) {
        int s = PlSocketAccept(Listener);
        if (s < 0) return;
        // A full table gives up the connection that waited longest
        // without a login: those never keep a logged-in user out.
        int slot = FreeSlot();
        if (slot < 0 && NetEvictOneNotLoggedIn(-1)) slot = FreeSlot();
        TlsLink *tls = TlsChannelOffForTests ? nullptr : TlsLinkServer();
        if (slot < 0 || (!tls && !TlsChannelOffForTests)) {
            NetReport(slot < 0 ? "Every connection is logged in; a newcomer closed"
                               : "The server has no key; a newcomer closed",
                      s);
            TlsLinkFree(tls);
            PlSocketClose(s);
            continue;
        }
        ResetSlot(slot);
        ConnSlot &c = ConnTable[slot];
        c.socket = s;
        c.inUse = true;
        c.tls = tls;
        c.acceptedMs = c.lastDrainMs = NetNowMs();
    }
}

void PostDirect(uint32_t, int socket, int bits) { NetOnSocketEvent(socket, bits); }

}  // namespace

uint64_t NetNowMs() {
    return (uint64_t)std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void NetReport(const char *text, int code) {
    char line[160];
    std::snprintf(line, sizeof line, "%s %d", text, code);
    NetReportLine(line);
}

void NetReportLine(const char *line) {
    if (NetCurrentRole == NetRole::Server) {
        // A server often runs without anyone to press a message box: the log.
        uint8_t p[256];
        PStringFromC(p, line);
        LogAppend(p);
        return;
    }
    MessageSinkShow(line);
}

void NetTableInit(NetRole role, NetFrameHandler onFrame, NetCloseHandler onClose) {
    NetShutdown();
    NetCurrentRole = role;
    OnFrame = onFrame;
    OnClose = onClose;
}

NetFrameHandler NetFrameHandlerInstalled() { return OnFrame; }
NetCloseHandler NetCloseHandlerInstalled() { return OnClose; }
void NetFrameHandlerInstall(NetFrameHandler onFrame) { OnFrame = onFrame; }
void NetCloseHandlerInstall(NetCloseHandler onClose) { OnClose = onClose; }

void NetShutdown() {
    for (int i = 0; i < NetConnCount; i++) {
        if (ConnTable[i].inUse) PlSocketClose(ConnTable[i].socket);
        ResetSlot(i);
        Generations[i]++;
    }
    if (Listener >= 0) PlSocketClose(Listener);
    Listener = -1;
    OnFrame = nullptr;
    OnClose = nullptr;
}

bool NetServerListen(uint16_t port, uint32_t window) {
    int s = PlSocketListen(port, NetListenBacklog);
    if (s < 0) {
        // The port is what the user can change (QVTCP.INI); the reason
        // follows it in words rather than as a bare error number.
        const int error = PlSocketLastError();
        char line[160];
        std::snprintf(line, sizeof line, "Unable to listen on server port %u: %s", unsigned(port),
                      std::strerror(error));
        NetReportLine(line);
        return false;
    }
    if (!PlSocketSelect(s, window, kPlSockRead | kPlSockWrite | kPlSockAccept | kPlSockClose)) {
        NetReport("Unable to set up socket", PlSocketLastError());
        PlSocketClose(s);
        return false;
    }
    Listener = s;
    ListenWindow = window;
    return true;
}

uint16_t NetListenPort() { return Listener >= 0 ? PlSocketLocalPort(Listener) : 0; }

bool NetClientConnect(const char *host, uint16_t port, int timeoutMs, int *error) {
    int ignored = 0;
    if (!error) error = &ignored;
    *error = 0;
    int s = PlSocketConnect(host, port);
    if (s < 0) {
        *error = PlSocketLastError();
        return false;
    }
    int r = PlSocketConnectWait(s, timeoutMs);
    if (r == 0 && !PlSocketSelect(s, NetClientWindow, kPlSockRead | kPlSockWrite | kPlSockClose))
        r = PlSocketLastError();
    if (r != 0) {
        *error = r;
        PlSocketClose(s);
        return false;
    }
    if (ConnTable[0].inUse) NetConnClose(0);
    ResetSlot(0);
    ConnTable[0].socket = s;
    ConnTable[0].inUse = true;
    ConnTable[0].acceptedMs = ConnTable[0].lastDrainMs = NetNowMs();
    if (TlsChannelOffForTests) return true;
    ConnTable[0].tls = TlsLinkClient();
    std::vector<uint8_t> wire;
    if (!ConnTable[0].tls || !TlsLinkStart(ConnTable[0].tls, &wire) || !QueueWire(0, wire.data(), wire.size())) {
        *error = NetConnectNoChannel;
        NetConnClose(0);
        return false;
    }
    return true;
}

bool NetChannelReady(int slot) {
    if (slot < 0 || slot >= NetConnCount || !ConnTable[slot].inUse) return false;
    return !ConnTable[slot].tls || TlsLinkEstablished(ConnTable[slot].tls);
}

std::string NetPeerFingerprint(int slot) {
    if (slot < 0 || slot >= NetConnCount || !ConnTable[slot].inUse) return std::string();
    return TlsLinkPeerFingerprint(ConnTable[slot].tls);
}

std::string NetLocalAddress() {
    return ConnTable[0].inUse ? PlSocketLocalAddress(ConnTable[0].socket) : std::string();
}

void NetOnSocketEvent(int socket, int eventBits) {
    int event = eventBits & 0xFFFF;
    if (socket == Listener && Listener >= 0) {
        if (event & kPlSockAccept) OnAccept();
        return;
    }
    int slot = SlotOfSocket(socket);
    if (slot < 0) return;
    if (event & kPlSockRead) OnRead(slot);
    if (!ConnTable[slot].inUse || ConnTable[slot].socket != socket) return;
    if (event & kPlSockWrite) {
        ConnTable[slot].maySend = true;
        if (!Drain(slot)) return;
        // A paused connection read some of its answers: its frames go on.
        if (ConnTable[slot].waiting && !Paused(slot)) OnRead(slot);
        if (!ConnTable[slot].inUse || ConnTable[slot].socket != socket) return;
    }
    if (event & kPlSockConnect && (eventBits >> 16) != 0) {
        NetConnClose(slot);
        return;
    }
    if (event & kPlSockClose) {
        // Whatever is still waiting was read by the read event the close
        // follows; the frames it completed are handed on, all of them.
        OnRead(slot);
        if (ConnTable[slot].inUse && ConnTable[slot].socket == socket) HandFrames(slot);
        if (ConnTable[slot].inUse && ConnTable[slot].socket == socket) NetConnClose(slot);
    }
}

namespace {
bool FramesWaiting() {
    for (int i = 0; i < NetConnCount; i++)
        if (ConnTable[i].inUse && ConnTable[i].waiting && !Paused(i)) return true;
    return false;
}
uint64_t LastHousekeepingMs = 0;
}  // namespace

void NetPump(int timeoutMs) {
    PlSocketPoll(FramesWaiting() ? 0 : timeoutMs, PostDirect);
    NetServeWaiting();
    NetHousekeeping();
}

bool NetServeWaiting() {
    for (int i = 0; i < NetConnCount; i++)
        if (ConnTable[i].inUse && ConnTable[i].waiting && !Paused(i)) OnRead(i);
    return FramesWaiting();
}

uint32_t NetTimerTick() {
    bool more = NetServeWaiting();
    uint64_t now = NetNowMs();
    if (now - LastHousekeepingMs >= (uint64_t)NetLimits.tickMs) {
        LastHousekeepingMs = now;
        NetHousekeeping();
    }
    return more ? 0 : (uint32_t)NetLimits.tickMs;
}

void NetHousekeeping() {
    uint64_t now = NetNowMs();
    bool server = NetCurrentRole == NetRole::Server;
    for (int i = 0; i < NetConnCount; i++) {
        ConnSlot &c = ConnTable[i];
        if (!c.inUse) continue;
        uint64_t age = now - c.acceptedMs;
        const char *why = nullptr;
        bool begun = (Unread(c) != 0 && !c.waiting) || c.skip != 0;
        if (begun && now - c.frameStartMs > (uint64_t)NetLimits.frameMs)
            why = "A frame did not arrive in time, connection closed";
        else if (server && SessionForSlot(i) < 0 && age > (uint64_t)NetLimits.noSessionMs)
            why = "No session opened in time, connection closed";
        else if (server && !NetSlotLoggedIn(i) && age > (uint64_t)NetLimits.loginMs)
            why = "No login in time, connection closed";
        else if (!c.pending.empty() && now - c.lastDrainMs > (uint64_t)NetLimits.drainMs)
            why = "Connection does not read, closed";
        if (!why) continue;
        if (server) NetReport(why, i);
        NetConnClose(i);
    }
    if (server) SessionOutputHousekeeping();
    if (NetCurrentRole == NetRole::Client) ClientHoldPush();
}

bool NetEvictOneNotLoggedIn(int keep) {
    int oldest = -1;
    for (int i = 0; i < NetConnCount; i++) {
        const ConnSlot &c = ConnTable[i];
        if (!c.inUse || i == keep || c.handling || NetSlotLoggedIn(i)) continue;
        if (oldest < 0 || c.acceptedMs < ConnTable[oldest].acceptedMs) oldest = i;
    }
    if (oldest < 0) return false;
    NetReport("Room made for a newcomer: a connection without a login closed", oldest);
    NetConnClose(oldest);
    return true;
}

bool NetSendFrame(int slot, const uint8_t *bytes, uint32_t length) {
    if (slot < 0 || slot >= NetConnCount || !ConnTable[slot].inUse) return false;
    if (NetSendOverride) return NetSendOverride(slot, bytes, length);
    ConnSlot &c = ConnTable[slot];
    bool guest = NetCurrentRole == NetRole::Server && !NetSlotLoggedIn(slot);
    if (c.pending.size() + length > (guest ? NetLimits.maxLoginPending : NetLimits.maxPending)) {
        NetReport("Connection does not read, closed", slot);
        NetConnClose(slot);
        return false;
    }
    if (!c.tls) return QueueWire(slot, bytes, length);
    std::vector<uint8_t> wire;
    if (!TlsLinkSend(c.tls, bytes, length, &wire)) {
        NetReport("Secure channel broken, connection closed", slot);
        NetConnClose(slot);
        return false;
    }
    return wire.empty() || QueueWire(slot, wire.data(), wire.size());
}

void NetConnClose(int slot) {
    if (slot < 0 || slot >= NetConnCount || !ConnTable[slot].inUse) return;
    PlSocketClose(ConnTable[slot].socket);
    ResetSlot(slot);
    Generations[slot]++;
    if (OnClose) OnClose(slot);
}

NetSendFn NetSendOverride = nullptr;

int NetSlotAttach(int socket) {
    for (int i = 0; i < NetConnCount; i++) {
        if (ConnTable[i].inUse) continue;
        ResetSlot(i);
        ConnTable[i].socket = socket;
        ConnTable[i].inUse = true;
        ConnTable[i].acceptedMs = ConnTable[i].lastDrainMs = NetNowMs();
        return i;
    }
    return -1;
}

bool NetSlotLoggedIn(int slot) {
    int s = SessionForSlot(slot);
    return s >= 0 && SessionTable[s].loggedIn;
}

void NetFeedBytes(int slot, const uint8_t *bytes, size_t n) {
    if (slot < 0 || slot >= NetConnCount || !ConnTable[slot].inUse) return;
    if (Append(slot, bytes, n)) HandFrames(slot);
}

int NetSlotsInUse() {
    int n = 0;
    for (const ConnSlot &c : ConnTable) n += c.inUse;
    return n;
}
