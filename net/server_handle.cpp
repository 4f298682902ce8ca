// server_handle.cpp - the server's handling of one complete frame: the
// acknowledgement of a push, or a request with its serving rule, its
// session binding and login rule, and its reply; the pushes of output
// and the wait for their acknowledgements.
//
// A request is served at once when it is a read; a write when nothing
// runs, or when the running request waits for an acknowledgement of its
// output with no hold open (a report, a form print, a text export);
// a report or exclusive job only when nothing runs. Otherwise it is
// answered busy. Form prints and job requests (26, 46..50) are writes
// that print or run jobs of their own: they would share the waiting
// job's record and output, so they are busy while another job waits.
//
// Output made while a hold is open is never waited for: it goes to the
// session's output queue (session_output.cpp) and the reply follows it
// there, so the hold ends at once and no one sees it before it ends.
// Output is addressed by session id: a client gone mid-job takes the
// rest of the job with it, and never hands it to a newcomer. A client
// whose user answers a dialog a push opened holds that push (AckHold);
// the job waits for it, and the others' reports and runs are answered
// busy meanwhile, but no longer than NetLimits.ackMs from the push: a
// dialog left open is not everyone's wait. A client that lets that wait
// run out, holding or silent, is marked silent: its job stops, the reply
// says in words why the output was given up, the log names the session,
// and nothing waits for it again until it acknowledges, so the others
// wait for it one NetLimits.ackMs at most.
//
// Every request but 0 and 15 must carry the session id of its own
// connection (any other is refused). Before its login a session is served
// only the login itself and the end of the session (PreLoginServed);
// anything else is refused with text 16000 and nothing is read. What a
// logged-in session may do its rights decide (net/auth_rights.cpp), for
// the request and for every write it makes in turn: each request starts
// the record layer's write gate afresh (database/access/write_gate.h).
#include <algorithm>
#include <cstring>
#include <string>
#include <utility>

#include "core/interface_defs.h"
#include "core/pstring.h"
#include "core/server_hooks.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "database/access/register_hooks.h"
#include "database/access/remote_calls.h"
#include "database/access/transport.h"
#include "database/access/write_gate.h"
#include "database/engine/engine.h"
#include "exchange/text_exchange.h"
#include "net/auth.h"
#include "net/net.h"
#include "output/devices/report_output.h"
#include "rules/entry_state.h"
#include "shell/login.h"
#include "shell/net_services.h"
#include "shell/shell.h"

int ServerCurrentSession = -1;
int ServerRunningClass = 0;
bool ServerReportWaiting = false;

namespace {

int Nesting = 0;
uint16_t RunningCode = 0;   // the code of the request being handled

// The pacing of one request's output: made by the request's handling and
// handed to the push hook while the request runs (a request handled
// inside another's wait has its own), then read for its reply.
struct RequestPacing {
    int pushed = 0;           // pushes it sent itself, each after the one before was acknowledged
    int queuedForCaller = 0;  // pushes it put in its own session's queue, which its reply follows
};
RequestPacing *Pacing = nullptr;   // the request being handled's; none outside a request

// Per-session: an acknowledgement asked the waiting job to stop.
bool CancelAsked[NetSlotCount];

bool ClassServedNow(uint16_t code, int cls) {
    if (cls == 1) return true;
    if (ServerRunningClass == 0) return true;
    // A wait for an acknowledgement holds no hold (output made inside one
    // is queued), so writes go on meanwhile; imports and maintenance
    // stay alone.
    bool waitsWithoutHold = ServerReportWaiting && (ServerRunningClass == 2 || ServerRunningClass == 3 ||
                                                    RunningCode == ReqTextExport);
    if (cls == 2 && waitsWithoutHold) {
        bool printsOrRuns = code == ReqPrintForm || (code >= ReqPaymentSuggestion && code <= ReqPurchasePricesToItems);
        return !printsOrRuns;
    }
    return false;
}

// The reply frame: header, record counts (when the session's flag is
// clear), then the body; a refusal carries its text. Queued behind the
// session's output when the request's own pushes wait there.
void SendReply(int slot, uint16_t status, MsgBuffer *body, int session, bool queued = false,
               uint16_t refusalText = NoReplyText) {
    MsgBuffer frame;
    MsgPutLong(&frame, 0);
    MsgPutWord(&frame, FrameCodeReply);
    MsgPutWord(&frame, status);
    if (status != ReplyServed) {
        MsgPutWord(&frame, refusalText);
        MsgPutPString(&frame, EmptyPString);
        MsgPutWord(&frame, NoRecordCounts);
    } else {
        MsgPutWord(&frame, ServerRequestState.pendingText);
        MsgPutPString(&frame, ServerRequestState.pendingText == NoPendingText ? EmptyPString
                                                                              : ServerRequestState.pendingExtra);
        if (session >= 0 && !SessionTable[session].countsSent && D4IsOpen()) {
            MsgPutRecordCounts(&frame, SessionRecordCounts(), RegisterCount - 1);
            SessionTable[session].countsSent = true;
        } else {
            MsgPutWord(&frame, NoRecordCounts);
        }
        if (body && MsgLength(body)) MsgPutBytesRaw(&frame, MsgData(body), MsgLength(body));
    }
    if (MsgFailed(&frame)) return;
    uint32_t n = MsgLength(&frame);
    frame.store[frame.head] = uint8_t(n);
    frame.store[frame.head + 1] = uint8_t(n >> 8);
    frame.store[frame.head + 2] = uint8_t(n >> 16);
    frame.store[frame.head + 3] = uint8_t(n >> 24);
    if (queued && session >= 0) SessionOutputQueue(session, MsgData(&frame), n, false);
    else NetSendFrame(slot, MsgData(&frame), n);
}

// Request 15 (the body read here): a session for the connection.
void OpenSession(int slot, MsgBuffer *request, MsgBuffer *reply, int *session) {
    uint8_t name[256];
    uint16_t order = 0;
    MsgGetPString(request, name);
    MsgGetWord(request, &order);
    uint32_t id = SessionNotServing;
    if (ServerServing) {
        // One session per connection: a second handshake replaces the first.
        int old = SessionForSlot(slot);
        if (old >= 0) SessionEnd(SessionTable[old].id);
        // A full table gives up the session that waited longest without
        // a login: those never keep a user out.
        int i = SessionFreeSlot();
        if (i < 0) i = SessionEvictNotLoggedIn(slot);
        id = SessionNoneFree;
        if (i >= 0) {
            do SessionIdCounter++;
            while (SessionIdCounter == 0 || SessionIdCounter >= SessionNotServing || SessionFindById(SessionIdCounter) >= 0);
            SessionEntry &e = SessionTable[i];
            e = SessionEntry{};
            e.inUse = true;
            e.id = id = SessionIdCounter;
            if (name[0] > 20) name[0] = 20;
            std::memcpy(e.clientName, name, (size_t)name[0] + 1);
            e.byteOrder = order;
            e.slot = slot;
            CancelAsked[i] = false;
            AuthSessionReset(i);
            ResetSessionUserInfo(i);
            SessionCountsValid = false;   // the new session's list is taken afresh
            *session = i;
        }
    }
    uint8_t serverName[256];
    PStringFromC(serverName, "Orvel");
    MsgPutLong(reply, id);
    MsgPutWord(reply, RunMode);
    MsgPutWord(reply, (uint16_t)NetProgramVersion);
    MsgPutPString(reply, serverName);
}

// True when a session without a login is served the request: only the
// login and the end of the session. The login window shows nothing of
// the company, so no settings block is read before it either: a client
// loads the settings once logged in.
bool PreLoginServed(uint16_t code) { return code == ReqLogin || code == ReqSessionEnd; }

// After request 31: the session is logged in only by an accepted final
// step; any other step or a body that did not parse leaves it without a
// login, and a session that was logged in before loses it and its rights.
void LoginOutcome(int session, bool parsed) {
    bool accepted = parsed && ServerLoginAccepted;
    if (!accepted && SessionTable[session].loggedIn) AuthRightsClear(session);
    SessionTable[session].loggedIn = accepted;
}

void OnAck(int slot, MsgBuffer *frame, uint32_t sessionId) {
    uint16_t cancel = 0;
    MsgGetWord(frame, &cancel);
    int s = SessionFindById(sessionId);
    // An acknowledgement paces only the pushes of its own connection.
    if (s < 0 || SessionTable[s].slot != slot || MsgLength(frame) != AckFrameSize) return;
    PushAck &ack = SessionTable[s].ack;
    if (cancel == AckHold) {
        // The client still runs the push while its user answers a dialog:
        // noted, for what the give-up says; a job's wait still ends where
        // it would (NetWaitAck), and only queued output, which keeps no one
        // waiting, counts from the hold.
        if (!ack.ready) {
            ack.held = true;
            ack.sentMs = NetNowMs();
        }
        return;
    }
    bool queued = !SessionTable[s].out.empty();
    ack.ready = true;
    ack.held = false;
    ack.silent = false;   // it reads again
    // A cancel of queued output drops its pages; one of a paced job stops it.
    if (cancel && !queued) CancelAsked[s] = true;
    SessionOutputAcknowledged(s, cancel != 0);
}

// The output of the request being served was given up because the client
// taking it did not answer in time, or held it in a dialog past the
// bound: the request's reply says which in words. A user's own stop (Esc)
// is not a give-up and tells nothing.
void OutputGivenUpTell(const PushAck &ack) {
    ShowTextMessage(ack.held ? Texts::OutputHeldGivenUp : Texts::OutputGivenUp);
}

// The log line of a give-up: why, and the session by id, user and client.
void OutputGivenUpLog(int session) {
    uint8_t label[256];
    SessionLabel(session, label);
    std::string line = SessionTable[session].ack.held
                           ? "Output held in a dialog past the acknowledgement time; the job stopped, session "
                           : "Output not acknowledged in time; the job stopped, session ";
    line += std::to_string(SessionTable[session].id);
    if (label[0]) line += " (" + std::string(reinterpret_cast<const char *>(label + 1), label[0]) + ")";
    NetReportLine(line.c_str());
}

// The job's output has nowhere to go: it stops, and stays stopped for
// the rest of the request (a run's next document does not print again).
void OutputLost(MsgBuffer *message) {
    RepStopped = 1;
    RemoteOutputLost = 1;
    MsgReset(message);
}

// The output hook: one push to the session taking the output. Inside a
// hold it is queued; otherwise it goes after the previous one was
// acknowledged, and the wait serves other clients meanwhile.
void PushToClient(MsgBuffer *message) {
    int s = SessionOutputTarget();
    if (s < 0) return OutputLost(message);
    bool queue = D4HoldCount() > 0 || !SessionTable[s].out.empty();
    if (!queue && !NetWaitAck(s)) {
        if (SessionOutputTarget() < 0) RemoteOutputLost = 1;
        RepStopped = 1;
        MsgReset(message);
        return;
    }
    MsgPrependWord(message, FrameCodePush);
    MsgPrependLong(message, MsgLength(message) + 4);
    if (MsgFailed(message)) {
        RepStopped = 1;
    } else if (queue) {
        if (!SessionOutputQueue(s, MsgData(message), MsgLength(message), true)) return OutputLost(message);
        if (Pacing && s == ServerCurrentSession) Pacing->queuedForCaller++;
    } else if (NetSendFrame(SessionTable[s].slot, MsgData(message), MsgLength(message))) {
        PushAck &ack = SessionTable[s].ack;
        ack.ready = false;
        ack.held = false;
        ack.pushedMs = ack.sentMs = NetNowMs();
        if (Pacing) Pacing->pushed++;
    } else {
        return OutputLost(message);
    }
    MsgReset(message);
}

// An export run for a client writes only the registers its user may
// read; the server's own exports (no session) ask as any program's do,
// of the user at its screen: nobody at a server's own frame.
bool ExportReadAllowed(int reg) { return ServerCurrentSession < 0 ? MayReadRegisterHere(reg) : AuthMayRead(reg); }

// Verifiers let a password be guessed away from the server: an export
// run for a client writes them only for the administrator, and so does
// the server's own.
bool ExportVerifiersAllowed()
{
    return ServerCurrentSession < 0 ? AdministratorHere() : AuthIsAdministrator(ServerCurrentSession);
}

void OnConnClosed(int slot) {
    int s = SessionForSlot(slot);
    if (s >= 0) SessionEnd(SessionTable[s].id);
}

}  // namespace

int RequestClass(uint16_t code) {
    switch (code) {
    case 3: case 5: case 8: case 9: case 10: case 25: case 26: case 27: case 28: case 29: case 32:
    case 46: case 47: case 48: case 49: case 50:
        return 2;
    case 12:
        return 3;
    case 11: case 20: case 21: case 30: case 42:
        return 4;
    default:
        return code <= 45 ? 1 : 0;
    }
}

bool NetWaitAck(int session) {
    if (session < 0 || !SessionTable[session].inUse) return false;
    PushAck &ack = SessionTable[session].ack;
    if (ack.silent && !ack.ready) {
        // It let one wait run out and has not acknowledged since: the job
        // stops now, and no other client waits for it a second time.
        RepStopped = 1;
        OutputGivenUpTell(ack);
        return false;
    }
    uint32_t id = SessionTable[session].id;
    // Counted from the push: holds say the client's user answers a dialog,
    // and the job waits for that within the bound, never past it.
    auto within = [&] { return NetNowMs() < ack.pushedMs + (uint64_t)NetLimits.ackMs; };
    bool outer = ServerReportWaiting;
    ServerReportWaiting = true;
    while (SessionFindById(id) == session && !ack.ready && within()) NetPump(20);
    ServerReportWaiting = outer;
    bool ok = SessionFindById(id) == session && ack.ready;
    if (SessionFindById(id) != session) RemoteOutputLost = 1;
    if (ok && CancelAsked[session]) {
        CancelAsked[session] = false;
        RepStopped = 1;
        UserCancelFlag = 1;   // the report's own poll of the user's Esc sees it
    }
    if (!ok) RepStopped = 1;
    if (!ok && SessionFindById(id) == session) {
        ack.silent = true;
        OutputGivenUpLog(session);
        OutputGivenUpTell(ack);
    }
    return ok;
}

// The device the client taking the output opened the job on that was
// just sent to it: its acknowledgement of that push is waited for, and
// the client tells its device (request 44) before it acknowledges. Output
// queued behind a hold is not waited for, and a client that said nothing
// (an older one) gives false: the job is then laid out as for a file.
static bool ClientDeviceOfJob(uint16_t *kind, int32_t *width) {
    int s = SessionOutputTarget();
    if (s < 0) return false;
    uint32_t id = SessionTable[s].id;
    SessionTable[s].deviceTold = false;
    if (!SessionTable[s].out.empty() || D4HoldCount() > 0) return false;
    if (!SessionTable[s].ack.ready && !NetWaitAck(s)) return false;
    if (SessionFindById(id) != s || !SessionTable[s].deviceTold) return false;
    *kind = SessionTable[s].deviceKind;
    *width = SessionTable[s].deviceWidth;
    return true;
}

// The end of a request's output: the acknowledgement of the last push it
// sent itself is waited for (queued output is not). A request that pushed
// nothing is answered at once: one a client sends while it runs a push
// (its printer's set-up read as the job opens) would otherwise wait for
// the acknowledgement of that very push, which the client sends only
// once it has the reply.
static void LastPushAcknowledged(const RequestPacing &pacing) {
    int out = SessionOutputTarget();
    if (pacing.pushed > 0 && out >= 0 && SessionTable[out].out.empty() && !SessionTable[out].ack.ready &&
        D4HoldCount() == 0)
        NetWaitAck(out);
}

// Whether a request's reply goes behind the pushes it put in its own
// session's queue (live: that session, -1 when it is gone).
static bool ReplyFollowsQueue(const RequestPacing &pacing, int live) {
    return live >= 0 && pacing.queuedForCaller > 0 && !SessionTable[live].out.empty();
}

bool ServerImportMayCome(int slot) {
    int session = SessionForSlot(slot);
    if (session < 0 || !SessionTable[session].loggedIn) return false;
    // The question the import itself asks when it arrives, asked of the
    // sending session, with what it shows kept for the reply.
    int savedSession = ServerCurrentSession;
    int16_t savedUser = CurrentSessionIndex;
    ServerRequestStateRec savedText = ServerRequestState;
    ServerCurrentSession = session;
    CurrentSessionIndex = (int16_t)session;
    ServerRequestBegin();
    bool allowed = ServerImportMayStart();
    if (!allowed) {
        NetReport("Import refused at its header, its body skipped; session", (int)SessionTable[session].id);
        SendReply(slot, ReplyServed, nullptr, session);
    }
    ServerRequestEnd();
    ServerRequestState = savedText;
    CurrentSessionIndex = savedUser;
    ServerCurrentSession = savedSession;
    return allowed;
}

void ServerHandleRequest(int slot, MsgBuffer *frame) {
    uint32_t length = 0, sessionId = 0;
    uint16_t code = 0;
    MsgGetLong(frame, &length);
    MsgGetLong(frame, &sessionId);
    MsgGetWord(frame, &code);
    MsgSetEnd(frame, length);
    if (code == AckCode) {
        OnAck(slot, frame, sessionId);
        return;
    }
    int cls = RequestClass(code);
    int own = SessionForSlot(slot);
    uint32_t connection = ConnTable[slot].serial;
    if (Nesting >= NetLimits.maxNesting || ConnTable[slot].handling > 2 || !ClassServedNow(code, cls)) {
        SendReply(slot, ReplyBusy, nullptr, -1);
        return;
    }
    bool handshake = code == ReqVersion || code == ReqSessionOpen;
    bool bound = own >= 0 && SessionTable[own].id == sessionId;
    if ((!ServerServing && !handshake) || (!handshake && !bound)) {
        SendReply(slot, ReplyRefused, nullptr, -1);
        return;
    }
    if (!handshake && !SessionTable[own].loggedIn && !PreLoginServed(code)) {
        SendReply(slot, ReplyRefused, nullptr, -1, false, TextNotLoggedIn);
        return;
    }

    // Everything one request changes of the program-wide state.
    int savedSession = ServerCurrentSession, savedClass = ServerRunningClass, savedOutput = ServerOutputSession;
    uint32_t savedOutputId = ServerOutputId;
    uint16_t savedCode = RunningCode;
    RequestPacing pacing;
    RequestPacing *outerPacing = std::exchange(Pacing, &pacing);
    uint8_t savedLost = RemoteOutputLost;
    int16_t savedUser = CurrentSessionIndex;
    uint32_t savedOwner = LockOwnerId;
    uint8_t savedRemote = RemoteOutput;
    ServerRequestStateRec savedText = ServerRequestState;
    MsgBuffer savedMessage = std::move(OutputMessage);
    MsgBuffer savedReceived = std::move(ReceivedMessage);
    WriteGateRequest gate;   // its writes are its session's, asked afresh
    Nesting++;

    MsgBuffer reply;
    int session = handshake ? -1 : own;
    ServerRunningClass = cls;
    RunningCode = code;
    RemoteOutputLost = 0;
    ServerRequestBegin();
    bool parsed = true;
    if (code == ReqSessionOpen) {
        OpenSession(slot, frame, &reply, &session);
        parsed = !MsgFailed(frame);
    } else {
        ServerCurrentSession = ServerOutputSession = session;
        ServerOutputId = session >= 0 ? SessionTable[session].id : 0;
        CurrentSessionIndex = (int16_t)session;
        LockOwnerId = session >= 0 ? SessionTable[session].id : LockOwnerSelf;
        RemoteOutput = 1;
        DVP *previous = nullptr;
        bool snap = session >= 0 && SessionTable[session].snapshot && cls == 1;
        D4DescriptorSelect(0, snap ? static_cast<DVP *>(SessionTable[session].snapshot) : nullptr, &previous);
        parsed = ServerDispatch(code, frame, &reply);
        D4DescriptorRestore(0, previous);
        // What the job left unsent, and the acknowledgement of its last push.
        if (MsgLength(&OutputMessage) && ServerOutputSession >= 0) MsgSend();
        LastPushAcknowledged(pacing);
    }
    if (code == ReqLogin && session >= 0 && SessionFindById(sessionId) == session) LoginOutcome(session, parsed);
    // The connection may have closed inside a wait, and its slot gone to another.
    if (ConnTable[slot].inUse && ConnTable[slot].serial == connection) {
        int live = session >= 0 && SessionTable[session].inUse ? session : -1;
        SendReply(slot, parsed && !MsgFailed(&reply) ? ReplyServed : ReplyRefused, &reply, live,
                  ReplyFollowsQueue(pacing, live));
    }

    Nesting--;
    ServerRequestEnd();
    ServerRequestState = savedText;
    OutputMessage = std::move(savedMessage);
    ReceivedMessage = std::move(savedReceived);
    RemoteOutput = savedRemote;
    LockOwnerId = savedOwner;
    CurrentSessionIndex = savedUser;
    ServerRunningClass = savedClass;
    ServerCurrentSession = savedSession;
    ServerOutputSession = savedOutput;
    ServerOutputId = savedOutputId;
    RunningCode = savedCode;
    Pacing = outerPacing;
    RemoteOutputLost = savedLost;
}

void NetServerStart() {
    NetTableInit(NetRole::Server, ServerHandleRequest, OnConnClosed);
    SessionTableInit();
    ServerHooks = ServerHooksRec{
        .sessionTableInit = SessionTableInit,
        .sessionFlagsClear = SessionFlagsClear,
        .sessionsAllowExclusive = SessionsAllowExclusive,
        .sessionSelectByName = SessionSelectOutput,
        .sessionOrderFlag = SessionOutputOrderFlag,
        .clientDevice = ClientDeviceOfJob,
        .refuseWrite = AuthRefuseWrite,
        .refuseBlock = AuthRefuseBlockStore,
        .refuseRun = AuthRefuseRun,
    };
    MsgSetPush(PushToClient);
    ExportMayRead = ExportReadAllowed;
    ExportMayWriteVerifiers = ExportVerifiersAllowed;
    ServerServing = true;
    RunMode = RunModeServer;
}
