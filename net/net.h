// net.h - the client/server network layer: the connection table and
// framing, the server's sessions and request dispatch, and the client's
// handshake and request exchange. The bytes on the wire are described
// once, in docs/protocol.md; the codec is core/msg_buffer.h. Every
// connection's bytes pass through its TLS channel (net/tls.h) on the way
// in and out of the table.
//
// Everything runs on the program's one thread. Socket readiness arrives
// through PlSocketPoll (platform/socket.h); NetOnSocketEvent takes each
// event. A wait inside a request (the server waiting for a push's
// acknowledgement, the client waiting for its reply) runs NetPump, which
// handles further events, so handlers nest: every piece of per-request
// state is saved and restored around a frame's handling. The server
// never waits while a hold is open: output made inside one is queued.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "core/msg_buffer.h"
#include "core/report_job.h"

// ---- Limits and time-outs (settable: tests shorten the waits) ----

constexpr int NetSlotCount = 50;           // sessions
// Connections: a few beyond the sessions, so that a client arriving when
// every session is taken is still told so (text 1401) instead of finding
// the door shut.
constexpr int NetConnCount = NetSlotCount + 8;
constexpr uint32_t NetPieceSize = 10000;   // bytes per send or receive call
constexpr int NetListenBacklog = 5;
constexpr uint32_t NetProgramVersion = 3041;
constexpr uint32_t SessionNoneFree = 0xFFFFFFFFu;    // request 15: no free session
constexpr uint32_t SessionNotServing = 0xFFFFFFFEu;  // request 15: not serving

struct NetLimitsRec {
    uint32_t maxLoginFrame = 8192;         // any frame before the connection's login
    uint32_t maxFrame = 16u << 20;         // any frame but request 20, after the login
    uint32_t maxImportFrame = 256u << 20;  // request 20 (the import file travels in it)
    uint32_t maxPending = 64u << 20;       // bytes queued for a connection that does not read
    uint32_t maxLoginPending = 1u << 20;   // the same before the connection's login
    uint32_t maxOutput = 8u << 20;         // a session's queued output (pushes) before it is dropped
    int frameMs = 30000;                   // a begun frame must be complete within this
    int noSessionMs = 60000;               // a connection must open a session within this
    int loginMs = 120000;                  // a connection must log in within this (a user types at the login window)
    int drainMs = 30000;                   // queued bytes must start leaving within this
    int ackMs = 1000000;                   // a job waits for a push's acknowledgement this long from the
                                           // push, holds or not; queued output, from the last hold
    int holdMs = 2000;                     // client: a push still running after this is held, and again
                                           // every time as long (its user answers a dialog)
    int busyRetryMs = 1000;                // client: a busy request is sent again after this
    int busyTextMs = 3000;                 // client: text 1403 after this much busy waiting
    int replyMs = 120000;                  // client: no reply within this is a lost connection
    int maxNesting = 16;                   // frames handled inside the handling of others
    int tickMs = 250;                      // how often the time-outs are looked at, whatever else happens
    uint32_t pausePending = 256u << 10;    // a logged-in connection with more than this waiting to leave is served
                                           // no further frame until it reads
};
// Frames of one connection handed on per turn: the rest wait for its
// next turn, after the other connections' events, so no client that
// sends faster than it is served holds up the others.
constexpr int NetFrameTurn = 8;
extern NetLimitsRec NetLimits;

// ---- Connection table and framing (conn_table.cpp) ----

struct ConnSlot {
    int socket = -1;
    bool inUse = false;
    std::vector<uint8_t> received;   // bytes received; those from `taken` on are not yet handed on
    size_t taken = 0;
    bool maySend = true;
    std::vector<uint8_t> pending;    // bytes not yet sent, in order
    uint64_t acceptedMs = 0;
    uint64_t frameStartMs = 0;       // when the first byte of the frame in `received` came
    uint64_t lastDrainMs = 0;        // when queued bytes last left (or were first queued)
    int handling = 0;                // frames of this slot being handled now
    uint32_t serial = 0;             // which connection this is: a reused slot gets a new one
    size_t skip = 0;                 // bytes of a frame refused at its header, dropped unread as they come
    bool importAllowed = false;      // the request 20 at `taken` may come whole (the server said so)
    bool waiting = false;            // complete frames wait for the connection's next turn
    struct TlsLink *tls = nullptr;   // the channel (net/tls.h); owned, freed with the slot
};
extern ConnSlot ConnTable[NetConnCount];

// Which side's frames the table carries: the server reads requests and
// acknowledgements, the client replies and pushes.
enum class NetRole { None, Server, Client };
extern NetRole NetCurrentRole;

// Where complete frames go. The frame is a copy owned by the callee for
// the call's length; slot names its connection.
using NetFrameHandler = void (*)(int slot, MsgBuffer *frame);
// Told when a slot's connection closes (the server ends its session).
using NetCloseHandler = void (*)(int slot);

// Resets every slot (sockets are closed first) and the listening socket.
void NetTableInit(NetRole role, NetFrameHandler onFrame, NetCloseHandler onClose);
// Closes every socket and forgets the handlers.
void NetShutdown();
// The handlers NetTableInit installed (null before it and after
// NetShutdown), and each replaced alone.
NetFrameHandler NetFrameHandlerInstalled();
NetCloseHandler NetCloseHandlerInstalled();
void NetFrameHandlerInstall(NetFrameHandler onFrame);
void NetCloseHandlerInstall(NetCloseHandler onClose);

// Listens on port (0: any free port) with the backlog of 5 for events
// to window; false (told) when it cannot. The bound port is NetListenPort.
bool NetServerListen(uint16_t port, uint32_t window);
uint16_t NetListenPort();
// The window the client's socket events go to (the frame; 0 headless).
extern uint32_t NetClientWindow;
// Connects to host:port within timeoutMs; the socket takes slot 0 and
// the channel's handshake starts. false on failure, which is not told:
// *error (when given) says why, as the platform's socket error number
// (platform/socket.h; kPlSockWouldBlock when no answer came in time) or
// NetConnectNoChannel. The caller tells the user once, in words
// (ConnectFailureText).
constexpr int NetConnectNoChannel = -2;   // the secure channel could not be started
bool NetClientConnect(const char *host, uint16_t port, int timeoutMs, int *error = nullptr);
// True once slot's channel finished its handshake (a connection without
// a channel, attached by a test, at once).
bool NetChannelReady(int slot);
// The fingerprint of the certificate slot's peer showed (net/tls.h).
std::string NetPeerFingerprint(int slot);
// The local address of the client's connection as dotted text.
std::string NetLocalAddress();

// The handler of socket message 2000: the socket and the event word
// (event in the low 16 bits, error in the high ones).
void NetOnSocketEvent(int socket, int eventBits);
// Handles socket events for up to timeoutMs (none when frames wait for
// their turn), the frames waiting for their turn, then the time-outs of
// slow connections. The waits inside a request run it.
void NetPump(int timeoutMs);
// The program's own wait loop runs this through the platform's timer
// (MsgSetTimer, installed by NetInstall): the frames waiting for their
// turn and, every NetLimits.tickMs, NetHousekeeping. Returns the
// milliseconds until it wants to run again (0 while frames wait).
uint32_t NetTimerTick();
// Hands on one turn of frames of every connection whose frames wait
// (not those waiting for their client to read); true when some still wait.
bool NetServeWaiting();
// Closes the time-outs' victims: a frame begun too long ago (one
// refused at its header and being skipped too), a connection without a
// session or without a login too long, queued bytes that do not leave;
// each with a log line on the server.
void NetHousekeeping();
// True when slot's connection has a session whose login was accepted.
bool NetSlotLoggedIn(int slot);
// Makes room for a newcomer: closes the connection that has waited
// longest without a login (other than keep's); false when every other
// connection is logged in.
bool NetEvictOneNotLoggedIn(int keep);
// Queues or sends a whole frame on slot's connection; never waits. The
// connection is closed (false) when its queue passes the bound or the
// socket fails.
bool NetSendFrame(int slot, const uint8_t *bytes, uint32_t length);
// Closes slot's connection and tells the close handler.
void NetConnClose(int slot);
int NetSlotsInUse();
// Where frames go instead of the socket when set (the fuzz targets and
// the in-process benchmark drive the handlers without sockets).
using NetSendFn = bool (*)(int slot, const uint8_t *bytes, uint32_t length);
extern NetSendFn NetSendOverride;
// Takes a slot for a socket made elsewhere (-1 when all are in use).
int NetSlotAttach(int socket);
// Bytes received on slot's connection, framed and handed on as a read would.
void NetFeedBytes(int slot, const uint8_t *bytes, size_t n);
// Milliseconds on a steady clock.
uint64_t NetNowMs();
// Told problems go here (a message box with a display, the log without).
void NetReport(const char *text, int code);
// The same for a line that is whole already.
void NetReportLine(const char *line);

// ---- Server sessions (sessions.cpp) ----

// A frame waiting in a session's output queue: a push (sent only once
// the one before it was acknowledged) or the reply that follows a job's
// pushes.
struct SessionOutFrame {
    std::vector<uint8_t> bytes;
    bool push = false;
};

// The pacing of a session's pushes on its connection: each goes once the
// one before it was acknowledged. A hold (AckHold) says the client still
// runs the push while its user answers a dialog; it acknowledges nothing,
// and a job waits for the push no longer than NetLimits.ackMs from the
// push all the same, so that one open dialog is not everyone's wait.
struct PushAck {
    bool ready = true;      // the next push may go
    bool silent = false;    // a wait for the acknowledgement ran out: no job waits for it again
    bool held = false;      // a hold came for the unacknowledged push
    uint64_t pushedMs = 0;  // when the unacknowledged push went out
    uint64_t sentMs = 0;    // the same, or when it was last held (queued output only)
};

struct SessionEntry {
    bool inUse = false;
    uint32_t id = 0;
    uint8_t clientName[21] = {0};   // PString, at most 20 characters
    bool countsSent = false;        // the record counts went out since they last changed
    uint16_t byteOrder = 0;
    void *snapshot = nullptr;       // DVP of request 39
    uint32_t snapshotHandle = 0;
    int slot = -1;                  // the connection the session belongs to
    PushAck ack;                    // its pushes' pacing
    bool loggedIn = false;          // request 31 accepted a user
    std::deque<SessionOutFrame> out;   // output queued while a hold was open (session_output.cpp)
    size_t outBytes = 0;
    // The device the client said its received job opened on (request 44).
    bool deviceTold = false;
    uint16_t deviceKind = 0;
    int32_t deviceWidth = 0;
};
extern SessionEntry SessionTable[NetSlotCount];
extern bool ServerServing;          // module 1 current: requests are served
extern uint32_t SessionIdCounter;   // the last session id given (never given again)

void SessionTableInit();
int SessionFreeSlot();
// Ends the oldest session that has not logged in (its connection is
// closed), other than keepSlot's, to make room for a newcomer: the
// freed entry's index, or -1 when every other session is logged in.
int SessionEvictNotLoggedIn(int keepSlot);
int SessionFindById(uint32_t id);
// The session that belongs to a connection, or -1.
int SessionForSlot(int slot);
// Releases every lock of the owner and frees the entry (with its snapshot).
void SessionEnd(uint32_t id);
void SessionFlagsClear();
// The record counts of every register as replies carry them: taken from
// the database once after each change (SessionFlagsClear, a session
// opened or its snapshot closed) and shared by every session's reply.
const uint32_t *SessionRecordCounts();
extern bool SessionCountsValid;
int SessionsInUse();
bool SessionsAllowExclusive();
// PString label "user  @client" of an entry (empty when not in use).
void SessionLabel(int index, uint8_t *out);
// The session the current request's output is pushed to: the caller's
// own, unless a printer named after another client chose that one. The
// index finds the entry; the id (never given twice) proves it is still
// the same client's: a client gone mid-job takes its output with it.
extern int ServerOutputSession;
extern uint32_t ServerOutputId;
// The index of the session the output goes to, or -1 when that client
// is gone.
int SessionOutputTarget();
// A printer's device text: the in-use session whose client name it is
// (regardless of case) takes the output; any other name, the empty one
// too, leaves the output with the caller. False when no session takes it.
bool SessionSelectOutput(const uint8_t *name);
// The byte-order flag of the session taking the output; -1 none.
int16_t SessionOutputOrderFlag();

// ---- A session's output queue (session_output.cpp) ----

// Puts a whole frame behind session s's queued output and sends what
// may go now. A queue past NetLimits.maxOutput drops the client (its
// connection is closed, with a log line): false then.
bool SessionOutputQueue(int s, const uint8_t *bytes, uint32_t length, bool push);
// An acknowledgement came for s: the next queued frames go out; a
// cancel drops the pushes still queued (their reply still goes).
void SessionOutputAcknowledged(int s, bool cancel);
// Drops the clients whose oldest push went unacknowledged longer than
// NetLimits.ackMs while more output waits for them.
void SessionOutputHousekeeping();

// ---- Server requests (server_handle.cpp, server_dispatch.cpp) ----

// Request classes: reads, writes, report run, exclusive jobs; 0 other.
int RequestClass(uint16_t code);
// Handles one complete frame of a server connection.
void ServerHandleRequest(int slot, MsgBuffer *frame);
// The header of a request 20 came on slot's logged-in connection: true
// when its body may come (up to NetLimits.maxImportFrame). Otherwise the
// request is answered now, as an import refused after its arrival is
// (served, with the refusal's text), its body is skipped unread, and false.
bool ServerImportMayCome(int slot);
// Whether the current request's session may import now: its rights allow
// it and no other session is in use. When not, the reason was shown (it
// travels in the reply) and false.
bool ServerImportMayStart();
// Reads the request body of code from `request` and appends the reply
// body; false when the body did not parse (the reply is then refused).
bool ServerDispatch(uint16_t code, MsgBuffer *request, MsgBuffer *reply);
// Sets up a headless server: the table, sessions, the push hook, the
// access services; listening is separate (NetServerListen).
void NetServerStart();
// The current request's session index (-1 none) and the nesting state.
extern int ServerCurrentSession;
extern int ServerRunningClass;      // class of the request being handled, 0 none
extern bool ServerReportWaiting;    // a report waits for an acknowledgement
extern bool ServerLoginAccepted;    // the last request 31 accepted its user
// What requests 12 and 42 run (the report dispatcher; tests put a body of their own).
extern void (*ServerReportRun)(ReportJob &job);
// Runs NetPump until the session's acknowledgement came, the session
// ended or NetLimits.ackMs passed since the push (the report job is then
// stopped, the session is marked silent, the reply tells why and the log
// names the session). A silent session is not waited for again until it
// acknowledges: the job stops at once.
bool NetWaitAck(int session);

// ---- Client (client.cpp) ----

// A request of the client sent and not yet answered: its reply, once in.
struct NetReplyWait {
    bool output = false;   // its output is pushed (RequestPushesOutput)
    bool arrived = false;
    MsgBuffer reply;
};

// The busy notice of the request that the server answers busy: a
// modeless busy message (text 1403) that stands while the request is sent
// again, and closes when the server serves it. Esc, or its Cancel (which
// closes it), gives the request up; the connection and every window stay.
struct BusyNotice {
    bool up = false;           // shown, for the request waiting now
    bool windowShown = false;  // its window opened (a program without windows has none)
    bool giveUp = false;       // Esc was pressed while it stood
};

struct NetClientStateRec {
    bool connected = false;
    uint32_t session = 0;
    uint16_t serverMode = 0;
    uint8_t serverName[31] = {0};  // PString, at most 30 characters
    int sendLevel = 0;
    bool replyArrived = false;     // a reply came that no request waited for
    MsgBuffer reply;               // that reply frame
    // The requests sent and not answered, in the order the server answers
    // them (client.cpp, AwaitReply).
    std::deque<NetReplyWait *> awaiting;
    BusyNotice busy;
    bool quit = false;
    bool refused = false;          // the server refused the client and the user was told why
    bool closing = false;          // the client itself closes the connection (NetClientClose)
    bool pushRunning = false;      // a push from the server is being run (its acknowledgement not sent)
    uint64_t holdSentMs = 0;       // when that push began or was last held (AckHold)
    uint64_t heardMs = 0;          // when the server's last push had run: a reply is waited for from then
};
extern NetClientStateRec NetClient;

// The installed send function of transport.h.
bool NetClientRequest(uint16_t code, MsgBuffer *request, MsgBuffer *reply);
// A complete frame from the server: a push is run and acknowledged, a
// reply goes to the request it answers (NetClient.reply when none waits).
void NetClientOnMessage(int slot, MsgBuffer *frame);
// While a push runs longer than NetLimits.holdMs (its user answers a
// dialog it opened), tells the server so once every holdMs (an
// acknowledgement with AckHold), so that the server's wait for the push
// counts from then. Run by the housekeeping in every wait, the dialog's too.
void ClientHoldPush();
// Requests 0 and 15; true when the server accepted the client.
bool ClientHandshake(const uint8_t *clientAddress);
// One attempt: connects and shakes hands; true once a session stands.
// On failure *error (when given) says why: NetClientConnect's error, or
// NetConnectNoHandshake when the connection was made but no session came
// of it. A server that refused the client (NetClient.refused) has told
// the user why already.
constexpr int NetConnectNoHandshake = -3;
// Not an error of the connection: the server's company did not open.
constexpr int NetConnectNoCompany = -4;
bool ConnectOnce(const char *host, uint16_t port, int *error);
// "Connection failed to the server host, port n: " and why in words,
// into the 256-byte PString buffer out.
void ConnectFailureText(const char *host, uint16_t port, int error, uint8_t *out);
// Connects (backing off 1 s doubling to 30 s between attempts) and
// shakes hands; true once a session stands, false when cancelled.
// cancel is asked between attempts (null: never cancel).
bool ConnectLoop(const char *host, uint16_t port, bool (*cancel)());
// Ends the session (request 24) and closes the connection.
void NetClientClose();
// Sets the client up: table, transport, stubs.
void NetClientStart();
// One step (at most ms) of the client's wait for its server: socket
// events, paint and the other messages of the windows, Esc as the cancel
// flag while the server runs a job for the client or while the connect
// loop waits between attempts; other keys, clicks and commands are
// dropped. A quit request is kept for the loop outside.
void ClientWaitStep(int ms);

// ---- Start-up (net_install.cpp, status_window.cpp) ----

// Fills the shell's network service table.
void NetInstall();
// Paints the server's status window (window type 423).
void ServerStatusPaint(int window);
// The status window's module line (a PString, "&" removed): the current
// module's name; module 1's is the server's own text.
void ServerStatusModuleText(uint8_t *out);
// Module 1 entered (serving, status window) or left.
void ModuleOneSwitch(int module, int previous);
