// client.cpp - the client's side of the conversation: the connection
// with its back-off, the handshake (requests 0 and 15), one request with
// its busy retry, and the frames from the server: replies, and pushes of
// output that are run and acknowledged.
//
// Requests are one at a time per wait level. A request sent from inside
// the wait for another takes the reply the server gives it: first, when
// the outer one's output is pushed (the server serves it inside its wait
// for a push), else after the outer one's (a paint's read while a list's
// rows are read): see AwaitReply.
//
// While the client waits its windows still paint, and Esc asks the job
// the server runs for it to stop (the cancel flag rides on the next
// acknowledgement). No other input is handled inside the wait: a request
// a click or key started there would be answered after the one waited for
// and take its reply. Keys and typed characters are held in the queue and
// handled, in their order, once the wait is over, so that a typist who
// runs ahead of the server loses nothing (the first key in a record window
// waits for the record's lock, the next ones come behind it); clicks,
// wheel turns and menu commands given during the wait are dropped, as a
// click on what the screen no longer shows would hit something else.
#include <algorithm>
#include <cassert>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <string>
#include <utility>

#include "core/pstring.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "database/access/remote_calls.h"
#include "database/access/transport.h"
#include "dict_offsets.h"
#include "net/auth.h"
#include "net/net.h"
#include "net/tls.h"
#include "output/devices/report_output.h"
#include "platform/queue.h"
#include "platform/socket.h"
#include "platform/window.h"
#include "shell/net_services.h"
#include "shell/record_commands.h"
#include "shell/shell.h"
#include "shell/startup.h"
#include "shell/toolbar.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

NetClientStateRec NetClient;

namespace {

constexpr int TextCertificateChanged = 16200, TextKnownPrint = 16201, TextShownPrint = 16202;
constexpr int TextNoSecureChannel = 16203, TextPinNotKept = 16205;
constexpr int ChannelWaitMs = 5000, ConnectWaitMs = 5000;
// The words of a connection that failed: the server and port, then why.
constexpr int TextConnectFailedTo = 16206, TextConnectFailedPort = 16207, TextWhyRefused = 16208,
              TextWhyNoAnswer = 16209, TextWhyUnknownHost = 16210, TextWhyUnreachable = 16211,
              TextWhyNoChannel = 16212, TextWhyNoHandshake = 16213, TextWhyNoCompany = 16214;
constexpr int BackoffFirstMs = 1000, BackoffLastMs = 30000;
// What follows "The connection to the server was lost.": the windows
// whose work was not stored, and that the program ends.
constexpr int TextNotStored = 20800, TextProgramEnds = 20801;

// The connection to the server went while the company was open: the user
// is told once, with the windows whose work was not stored, and the
// program ends (the quit flag ends its loops; the windows close without
// asking, since nothing can be stored any more). A client has nothing to
// work on without its server; it is started again once the server is back.
void ConnectionLostEnd() {
    NetClient.quit = true;
    PString extra, part, windows;
    extra[0] = 0;
    UnstoredWindowsText(windows);
    if (windows[0]) {
        GetUiText(part, TextNotStored);
        PStringAppendC(extra, " ");
        PStringAppend(extra, part);
        PStringAppendC(extra, " ");
        PStringAppend(extra, windows);
        PStringAppendC(extra, ".");
    }
    GetUiText(part, TextProgramEnds);
    if (extra[0] + 1 + part[0] <= 255) {
        PStringAppendC(extra, " ");
        PStringAppend(extra, part);
    }
    RemoteLostTell(extra);
    QuitFlag = 1;
    QuitForced = QuitLost;
}

void Lost() {
    NetClient.connected = false;
    NetClient.quit = true;
    if (ConnTable[0].inUse) NetConnClose(0);
}

// The connection closed: by the server, the network or Lost. Closed by
// the client itself, or before its company is open (the connect loop
// says why itself), it tells nothing.
void OnClientClosed(int) {
    NetClient.connected = false;
    if (NetClient.closing || NetClient.session == 0 || !DbOpenFlag) return;
    ConnectionLostEnd();
}

// An acknowledgement frame carrying `word` (AckGoOn, AckStop, AckHold)
// on slot's connection; false when it could not be sent.
bool SendAck(int slot, uint16_t word) {
    MsgBuffer ack;
    MsgPutLong(&ack, AckFrameSize);
    MsgPutLong(&ack, NetClient.session);
    MsgPutWord(&ack, AckCode);
    MsgPutWord(&ack, word);
    return NetSendFrame(slot, MsgData(&ack), MsgLength(&ack));
}

// Puts a request just sent where the server's answers will reach it. The
// server answers requests in the order they came, except that while it
// serves one whose output it pushes it answers the requests that come
// meanwhile inside its wait for the push's acknowledgement, first. So a
// request sent while such a one waits (its job's device set up as a
// push runs, a paint inside its Print dialog) goes before it; any other
// (a paint's read while a list's rows are read) goes behind every
// request still waiting. (A request sent in the moment between a job's
// last acknowledgement and its reply is answered after it: the reply
// frame names no request, so that moment cannot be told apart.)
void AwaitReply(NetReplyWait *wait) {
    std::deque<NetReplyWait *> &awaiting = NetClient.awaiting;
    awaiting.insert(std::find_if(awaiting.begin(), awaiting.end(), [](const NetReplyWait *w) { return w->output; }),
                    wait);
}

// Set while the connect loop waits between attempts: Esc gives up there.
bool ConnectWaiting = false;

// The busy notice of the request waiting now (NetClient.busy).
BusyNotice &Busy = NetClient.busy;

// The busy message's own window, 0 when it is not open.
uint32_t BusyNoticeWindow() {
    return BusyMessageWindow && WinIsOpen(BusyMessageWindow) ? WinTable[BusyMessageWindow]->mdiChild : 0;
}

// Input for the busy message (a click on its Cancel) is the one input
// handled while the client waits: everything else is dropped or held.
bool ForBusyNotice(const PlMessage &m) {
    const uint32_t win = Busy.up ? BusyNoticeWindow() : 0;
    return win && m.win && (m.win == win || WinIsChildOf(m.win, win));
}

void BusyNoticeShow() {
    if (Busy.up) return;
    Busy = BusyNotice{true, false, false};
    uint8_t text[256];
    GetUiText(text, Texts::ServerBusy);
    ShowBusyMessage(text);
    Busy.windowShown = BusyNoticeWindow() != 0;
}

// Closes the notice: the server serves the request (its reply or its
// first push came), or the request was given up.
void BusyNoticeClose() {
    if (!Busy.up) return;
    Busy.up = false;
    CloseBusyMessage();
}

// The user gave the request up: Esc, or the notice's window was closed.
bool BusyNoticeGivenUp() { return Busy.up && (Busy.giveUp || (Busy.windowShown && !BusyNoticeWindow())); }

// Keys, clicks and the commands of menus and buttons (keys are held in
// the queue during the wait and reach here only when routed otherwise).
bool IsUserInput(uint32_t msg) {
    return (msg >= PlMsg::KeyDown && msg <= PlMsg::SysKeyUp) || (msg >= PlMsg::MouseMove && msg <= PlMsg::MouseWheel) ||
           msg == PlMsg::Command;
}

}  // namespace

void ClientWaitStep(int ms) {
    // Esc cancels what may be cancelled, whether it was typed before this
    // step or during it: a held Esc left in the queue would reach a window
    // after the wait instead.
    auto takeEscape = [] {
        if (Busy.up && MsgTakeHeldKeyDown(PlKey::Escape)) Busy.giveUp = true;
        else if ((RemoteOutputActive || ConnectWaiting) && MsgTakeHeldKeyDown(PlKey::Escape)) UserCancelFlag = 1;
    };
    takeEscape();
    PlMessage m;
    const bool held = MsgHoldKeys(true);
    PlGet got = MsgGetTimeout(&m, uint32_t(ms));
    MsgHoldKeys(held);
    takeEscape();
    if (got == PlGet::Quit) {
        // The quit is for the loop outside the wait: kept, and this step
        // only serves the sockets.
        MsgPostQuit(int(m.wParam));
        NetPump(ms);
        return;
    }
    if (got != PlGet::Message) {
        // Idle: the queue saw nothing that could arrive; the sockets are
        // still asked, so the wait never spins.
        if (got == PlGet::Idle) NetPump(ms);
        else NetHousekeeping();
        return;
    }
    if (m.msg == PlMsg::Socket) {
        NetOnSocketEvent(int(m.wParam), int(m.lParam));
    } else if (IsUserInput(m.msg) && !ForBusyNotice(m)) {
        // A click, a wheel turn or a command: dropped (see the file comment).
    } else {
        MsgDispatch(m);
    }
    RepaintMarkedWindows();
}

bool NetClientRequest(uint16_t code, MsgBuffer *request, MsgBuffer *reply) {
    if (!NetClient.connected || !ConnTable[0].inUse || MsgFailed(request)) return false;
    if (!RequestFrameBuild(request, NetClient.session, code)) return false;
    NetReplyWait wait;
    wait.output = RequestPushesOutput(code);
    NetClient.sendLevel++;
    // A request sent inside the wait of a busy one (a paint's read) is
    // served at once; the outer one's notice is left to it.
    const BusyNotice outerBusy = std::exchange(Busy, BusyNotice{});
    const uint8_t cancelBefore = UserCancelFlag;
    uint64_t start = NetNowMs();
    bool ok = false;
    for (;;) {
        wait.arrived = false;
        if (!NetSendFrame(0, MsgData(request), MsgLength(request))) {
            Lost();
            break;
        }
        AwaitReply(&wait);
        // Counted from the server's last push, not only from the send: the
        // time this program's user spends in a dialog a push opened is not
        // the server's.
        const uint64_t sent = NetNowMs();
        auto inTime = [sent] { return NetNowMs() < std::max(sent, NetClient.heardMs) + (uint64_t)NetLimits.replyMs; };
        while (!wait.arrived && NetClient.connected && inTime()) ClientWaitStep(20);
        if (!wait.arrived) {
            std::erase(NetClient.awaiting, &wait);
            Lost();
            break;
        }
        ReplyHeader h;
        MsgBuffer got = std::move(wait.reply);
        if (!ReplyHeaderRead(&got, &h, true)) {
            Lost();
            break;
        }
        if (h.status == ReplyBusy) {
            // The notice stands without stopping anything: the request is
            // sent again every busyRetryMs until it is served or given up.
            if (NetNowMs() - start > (uint64_t)NetLimits.busyTextMs) BusyNoticeShow();
            for (uint64_t again = NetNowMs() + (uint64_t)NetLimits.busyRetryMs;
                 NetNowMs() < again && !BusyNoticeGivenUp() && NetClient.connected;)
                ClientWaitStep(20);
            if (BusyNoticeGivenUp()) {
                // Nothing of it reached the server's work: it is simply not
                // sent again, and the user's window keeps what it held. The
                // notice's Cancel stops no job of this program's own.
                UserCancelFlag = cancelBefore;
                uint8_t said[256];
                GetUiText(said, Texts::RequestGivenUp);
                StatusLineSet(std::string_view(reinterpret_cast<const char *>(said + 1), said[0]));
                break;
            }
            continue;
        }
        BusyNoticeClose();
        if (h.status != ReplyServed) {
            // "Not logged in" refuses the one request: the session and the
            // connection stay, and the login may still come. Any other
            // refusal may say why before the connection goes.
            if (h.textNumber == TextNotLoggedIn) break;
            if (h.textNumber != NoReplyText) ShowTextMessage(h.textNumber);
            Lost();
            break;
        }
        if (h.textNumber != NoReplyText) ShowMessage(h.textNumber, h.text);
        *reply = std::move(got);
        ok = true;
        break;
    }
    BusyNoticeClose();
    Busy = outerBusy;
    NetClient.sendLevel--;
    return ok;
}

void NetClientOnMessage(int slot, MsgBuffer *frame) {
    ReplyHeader h;
    MsgRewind(frame);
    uint32_t length = 0;
    uint16_t frameCode = 0;
    MsgGetLong(frame, &length);
    MsgGetWord(frame, &frameCode);
    if (frameCode != FrameCodePush) {
        // The reply of the request the server answers next; one that no
        // request waits for is kept as it came.
        std::deque<NetReplyWait *> &awaiting = NetClient.awaiting;
        if (!awaiting.empty()) {
            NetReplyWait *w = awaiting.front();
            awaiting.pop_front();
            w->reply = std::move(*frame);
            w->arrived = true;
            return;
        }
        NetClient.reply = std::move(*frame);
        NetClient.replyArrived = true;
        return;
    }
    // The server serves the request whose output this is: its busy
    // notice goes before a dialog of the push can open.
    BusyNoticeClose();
    // While the push runs, a dialog it opens may wait for the user: the
    // server is told so (ClientHoldPush) rather than left to give up.
    const bool outerRunning = std::exchange(NetClient.pushRunning, true);
    NetClient.holdSentMs = NetNowMs();
    RepExecRemote(MsgData(frame) + 6, MsgLength(frame) - 6);
    NetClient.pushRunning = outerRunning;
    NetClient.heardMs = NetNowMs();
    if (!SendAck(slot, (RepStopped || UserCancelFlag) ? AckStop : AckGoOn)) Lost();
    (void)h;
}

void ClientHoldPush() {
    if (!NetClient.pushRunning || !NetClient.connected || !ConnTable[0].inUse) return;
    const uint64_t now = NetNowMs();
    if (now - NetClient.holdSentMs < (uint64_t)NetLimits.holdMs) return;
    NetClient.holdSentMs = now;
    if (!SendAck(0, AckHold)) Lost();
}

bool ClientHandshake(const uint8_t *clientAddress) {
    NetClient.session = 0;
    MsgBuffer request, reply;
    uint32_t version = 0;
    if (!NetClientRequest(ReqVersion, &request, &reply) || !MsgGetLong(&reply, &version)) return false;
    if (version != NetProgramVersion) {
        ShowTextMessage(Texts::ServerWrongVersion);
        NetClient.quit = NetClient.refused = true;
        return false;
    }
    MsgBuffer open, answer;
    MsgPutPString(&open, clientAddress);
    MsgPutWord(&open, 1);   // this program's byte order
    if (!NetClientRequest(ReqSessionOpen, &open, &answer)) return false;
    uint32_t id = 0;
    uint16_t mode = 0;
    uint8_t name[256];
    MsgGetLong(&answer, &id);
    MsgGetWord(&answer, &mode);
    MsgGetWord(&answer, nullptr);
    MsgGetPString(&answer, name);
    if (MsgFailed(&answer)) return false;
    if (id == SessionNoneFree || id == SessionNotServing) {
        ShowTextMessage(id == SessionNoneFree ? Texts::NoFreeSession : Texts::ServerNotServing);
        NetClient.quit = NetClient.refused = true;
        return false;
    }
    NetClient.session = ClientSessionId = id;
    NetClient.serverMode = mode;
    if (name[0] > 30) name[0] = 30;
    std::memcpy(NetClient.serverName, name, name[0] + 1u);
    return true;
}

namespace {

// The server's certificate against the one pinned for host:port: a new
// server is pinned; a changed certificate is refused, showing both
// fingerprints. A refusal sets NetClient.quit: asking again will not help.
bool ServerKnown(const char *host, uint16_t port) {
    std::string shown = NetPeerFingerprint(0), known = TlsPinFind(host, port);
    if (known.empty()) {
        if (TlsPinAdd(host, port, shown)) return true;
        ShowTextMessage(TextPinNotKept);
        NetClient.quit = NetClient.refused = true;
        return false;
    }
    if (known == shown) return true;
    uint8_t extra[256], part[256];
    GetUiText(extra, TextKnownPrint);
    PStringAppendC(extra, (" " + known).c_str());
    GetUiText(part, TextShownPrint);
    PStringAppend(extra, part);
    PStringAppendC(extra, (" " + shown).c_str());
    ShowMessage(TextCertificateChanged, extra);
    NetClient.quit = NetClient.refused = true;
    return false;
}

// Waits for the channel's handshake on the new connection, then checks
// whom it reached. Nothing is sent over a channel that is not both.
bool ChannelTrusted(const char *host, uint16_t port) {
    uint64_t until = NetNowMs() + ChannelWaitMs;
    while (ConnTable[0].inUse && !NetChannelReady(0) && NetNowMs() < until) ClientWaitStep(20);
    if (!NetChannelReady(0)) {
        ShowTextMessage(TextNoSecureChannel);
        NetClient.quit = NetClient.refused = true;
        return false;
    }
    return TlsChannelOffForTests || ServerKnown(host, port);
}

}  // namespace

bool ConnectOnce(const char *host, uint16_t port, int *error) {
    int ignored = 0;
    if (!error) error = &ignored;
    NetClient.quit = NetClient.refused = false;
    if (!NetClientConnect(host, port, ConnectWaitMs, error)) return false;
    NetClient.connected = true;
    uint8_t address[256];
    PStringFromC(address, NetLocalAddress().c_str());
    if (ChannelTrusted(host, port) && ClientHandshake(address)) return true;
    NetClient.connected = false;
    if (ConnTable[0].inUse) NetConnClose(0);
    *error = NetConnectNoHandshake;
    return false;
}

void ConnectFailureText(const char *host, uint16_t port, int error, uint8_t *out) {
    assert(host && out);
    int why = 0;
    switch (error) {
    case ECONNREFUSED: why = TextWhyRefused; break;
    case kPlSockWouldBlock: case ETIMEDOUT: why = TextWhyNoAnswer; break;
    case kPlSockHostNotFound: why = TextWhyUnknownHost; break;
    case ENETUNREACH: case EHOSTUNREACH: case ENETDOWN: case EHOSTDOWN: why = TextWhyUnreachable; break;
    case NetConnectNoChannel: why = TextWhyNoChannel; break;
    case NetConnectNoHandshake: why = TextWhyNoHandshake; break;
    case NetConnectNoCompany: why = TextWhyNoCompany; break;
    default: break;
    }
    uint8_t part[256];
    GetUiText(out, TextConnectFailedTo);
    PStringAppendC(out, host);
    GetUiText(part, TextConnectFailedPort);
    PStringAppend(out, part);
    PStringAppendC(out, (std::to_string(port) + ": ").c_str());
    if (why != 0) {
        GetUiText(part, why);
        PStringAppend(out, part);
    } else {
        // An error the words above do not cover: the system's own.
        std::string system = std::strerror(error);
        if (!system.empty()) system[0] = char(std::tolower((unsigned char)system[0]));
        PStringAppendC(out, system.c_str());
    }
    // A reason that ends in its own mark (a question) keeps it alone.
    const uint8_t last = out[0] ? out[out[0]] : 0;
    if (last != '.' && last != '?' && last != '!') PStringAppendC(out, ".");
}

bool ConnectLoop(const char *host, uint16_t port, bool (*cancel)()) {
    int backoff = BackoffFirstMs;
    NetClient.quit = NetClient.refused = false;
    for (;;) {
        if (cancel && cancel()) return false;
        if (ConnectOnce(host, port, nullptr)) return true;
        if (NetClient.quit) return false;   // refused: asking again will not help
        // Never a tight loop: wait, in short steps so a cancel is heard;
        // the windows paint meanwhile and Esc is the user's cancel.
        ConnectWaiting = true;
        for (uint64_t until = NetNowMs() + (uint64_t)backoff; NetNowMs() < until;) {
            if (cancel && cancel()) break;
            ClientWaitStep(100);
        }
        ConnectWaiting = false;
        if (cancel && cancel()) return false;
        backoff = backoff * 2 > BackoffLastMs ? BackoffLastMs : backoff * 2;
    }
}

void NetClientClose() {
    NetClient.closing = true;
    if (NetClient.connected && NetClient.session) SessionEndRequest(NetClient.session);
    if (ConnTable[0].inUse) NetConnClose(0);
    NetClient.closing = false;
    NetClient.connected = false;
    NetClient.session = ClientSessionId = 0;
}

void NetClientStart() {
    NetTableInit(NetRole::Client, NetClientOnMessage, OnClientClosed);
    TransportInstall(NetClientRequest, NetClientRequest);
    RemoteOpsInstall();
    NetClient.connected = false;
    NetClient.quit = NetClient.refused = NetClient.closing = false;
    NetClient.session = 0;
    RemoteLostReset();
}
