// The client against scripted servers in a thread of the test (busy
// answers, another version, no free session, a server that vanishes
// under a request or while the client rests), the TCP settings file, and
// the list rows the server writes.
#include <atomic>
#include <mutex>
#include <fstream>
#include <thread>

#include "net/tcp_settings.h"
#include "shell/database_open.h"
#include "shell/shell.h"
#include "platform/queue.h"
#include "platform/window.h"
#include "shell/net_services.h"
#include "shell/record_commands.h"
#include "shell/toolbar.h"
#include "tests/net/net_fixture.h"

using namespace nettest;

namespace {

std::vector<std::string> Shown;
void Record(const char *text) { Shown.emplace_back(text); }

// The connection a scripted server's thread serves, which its owner ends
// at once when the test is done with it, rather than the thread waiting
// out a client that stays.
struct ServedConnection {
    std::mutex lock;
    int fd = -1;
    bool ending = false;
    // The accepted socket, or -1 once the owner ended it.
    int Take(int accepted) {
        std::lock_guard<std::mutex> hold(lock);
        if (ending) {
            close(accepted);
            return -1;
        }
        return fd = accepted;
    }
    void End() {
        std::lock_guard<std::mutex> hold(lock);
        ending = true;
        if (fd >= 0) shutdown(fd, SHUT_RDWR);
    }
    // Declared after the thread's connection: forgets the socket before
    // the connection closes it, so that End never reaches a reused number.
    struct Forget {
        ServedConnection &of;
        ~Forget() {
            std::lock_guard<std::mutex> hold(of.lock);
            of.fd = -1;
        }
    };
};

// A server of one connection that answers each request with script(code, n).
// The reply to request number `heldUntilNext` goes only once the next
// request has come, just before that one's reply.
struct ScriptServer {
    int listener = -1;
    int port = 0;
    std::thread thread;
    std::atomic<int> requests{0};
    ServedConnection served;

    template <typename F>
    explicit ScriptServer(F script, int heldUntilNext = -1) {
        listener = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(listener, (sockaddr *)&a, sizeof a);
        listen(listener, 1);
        socklen_t len = sizeof a;
        getsockname(listener, (sockaddr *)&a, &len);
        port = ntohs(a.sin_port);
        thread = std::thread([this, script, heldUntilNext] {
            int fd = served.Take(accept(listener, nullptr, nullptr));
            if (fd < 0) return;
            RawConn c(0);
            ServedConnection::Forget forget{served};
            if (!c.Accept(fd)) return;
            std::vector<uint8_t> held;
            for (;;) {
                std::vector<uint8_t> f = c.Frame();
                if (f.size() < 10) return;
                uint16_t code = f[8] | f[9] << 8;
                const int n = requests++;
                std::vector<uint8_t> reply = script(code, n);
                if (reply.empty()) return;   // vanish
                if (n == heldUntilNext) {
                    held = reply;
                    continue;
                }
                if (!held.empty()) c.Send(std::exchange(held, {}));
                c.Send(reply);
            }
        });
    }
    ~ScriptServer() {
        served.End();
        shutdown(listener, SHUT_RDWR);
        close(listener);
        thread.join();
    }
};

std::vector<uint8_t> Reply(uint16_t status, MsgBuffer *body) {
    MsgBuffer f;
    MsgPutLong(&f, 0);
    MsgPutWord(&f, FrameCodeReply);
    MsgPutWord(&f, status);
    MsgPutWord(&f, NoReplyText);
    MsgPutPString(&f, EmptyPString);
    MsgPutWord(&f, NoRecordCounts);
    if (body && MsgLength(body)) MsgPutBytesRaw(&f, MsgData(body), MsgLength(body));
    std::vector<uint8_t> v(MsgData(&f), MsgData(&f) + MsgLength(&f));
    uint32_t n = (uint32_t)v.size();
    std::memcpy(v.data(), &n, 4);
    return v;
}

std::vector<uint8_t> Handshake(uint16_t code, uint32_t version, uint32_t session) {
    MsgBuffer b;
    if (code == ReqVersion) {
        MsgPutLong(&b, version);
    } else {
        uint8_t name[256];
        PStringFromC(name, "A server name longer than thirty characters");
        MsgPutLong(&b, session);
        MsgPutWord(&b, 2);
        MsgPutWord(&b, 3041);
        MsgPutPString(&b, name);
    }
    return Reply(ReplyServed, &b);
}

class NetClientTest : public ::testing::Test {
protected:
    NetLimitsRec saved = NetLimits;
    // The scripted servers' key (they speak the same channel) and this
    // test's file of known servers.
    std::string keyBase = ::testing::TempDir() + "orvel_script_" + std::to_string(getpid()) + ".VDB";
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(LoadBuiltInterface(&error)) << error;
        ASSERT_TRUE(TlsServerKeyLoad(keyBase, &error)) << error;
        TlsPinFile = keyBase + ".PIN";
        std::remove(TlsPinFile.c_str());
        if (!PendingVoucher) {
            ASSERT_TRUE(AllocWorkBlocks());
        }
        Shown.clear();
        MessageSinkSet(Record);
        NetLimits.busyRetryMs = 50;
        NetLimits.busyTextMs = 300;
        NetLimits.replyMs = PatientMs;
        RunMode = RunModeClient;
        NetClientStart();
    }
    void TearDown() override {
        NetShutdown();
        NetLimits = saved;
        TransportInstall(nullptr, nullptr);
        RunMode = 0;
        NetClient.connected = false;
        MsgClear(&NetClient.reply);
        MessageSinkSet(nullptr);
        InterfaceUnload();
        TlsServerKeyDrop();
        std::remove(TlsKeyPath(keyBase).c_str());
        std::remove(TlsCertPath(keyBase).c_str());
        std::remove(TlsPinFile.c_str());
    }
    static bool Has(const std::string &part) {
        for (const std::string &s : Shown)
            if (s.find(part) != std::string::npos) return true;
        return false;
    }
};

}  // namespace

TEST_F(NetClientTest, HandshakeRefusalsStopTheClient) {
    struct Case {
        uint32_t version, session;
        const char *text;
    };
    for (Case k : {Case{3040, 1, "another version"}, Case{3041, SessionNoneFree, "no free session"},
                   Case{3041, SessionNotServing, "not serving"}}) {
        Shown.clear();
        ScriptServer s([k](uint16_t code, int) { return Handshake(code, k.version, k.session); });
        EXPECT_FALSE(ConnectLoop("127.0.0.1", (uint16_t)s.port, nullptr)) << k.text;
        EXPECT_TRUE(Has(k.text)) << k.text;
        EXPECT_TRUE(NetClient.quit);
        EXPECT_EQ(NetClient.session, 0u);
    }
}

TEST_F(NetClientTest, BusyRequestsAreSentAgainAndTheBusyTextComesLate) {
    ScriptServer s([](uint16_t code, int n) {
        if (code == ReqVersion || code == ReqSessionOpen) return Handshake(code, 3041, 77);
        if (n < 10) return Reply(ReplyBusy, nullptr);   // about 400 ms of busy answers
        MsgBuffer b;
        MsgPutLong(&b, 5);
        return Reply(ReplyServed, &b);
    });
    ASSERT_TRUE(ConnectLoop("127.0.0.1", (uint16_t)s.port, nullptr));
    EXPECT_EQ(NetClient.session, 77u);
    EXPECT_EQ(NetClient.serverName[0], 30);
    EXPECT_EQ(RegRecordCount(CUVc::Number), 5u);
    EXPECT_EQ(s.requests.load(), 11);
    EXPECT_FALSE(Has("busy")) << "the busy notice was a message box";
    EXPECT_FALSE(NetClient.busy.up) << "the busy notice outlived the reply";
}

// The user at a client that waits for a busy server: once the notice
// stands it watches three more sends go out behind it, then presses Esc.
// A client that never gives up is served after a while, so that the test
// ends either way.
struct BusyUser {
    std::atomic<int> *requests = nullptr;
    std::atomic<bool> *busy = nullptr;
    int sentWhenShown = -1;
    bool escaped = false;
    std::chrono::steady_clock::time_point until;
};
BusyUser User;
bool WatchTheBusyNotice() {
    if (NetClient.busy.up && User.sentWhenShown < 0) User.sentWhenShown = User.requests->load();
    if (std::chrono::steady_clock::now() > User.until) *User.busy = false;
    if (User.escaped || User.sentWhenShown < 0 || User.requests->load() < User.sentWhenShown + 3) return false;
    User.escaped = true;
    MsgInputKey(PlKey::Escape, true, 27);
    MsgInputKey(PlKey::Escape, false, 27);
    return true;
}

// While the notice stands the request is still sent again; Esc gives it
// up: it fails, nothing more of it is sent, nothing is told as lost, and
// the connection serves the next request.
TEST_F(NetClientTest, EscInTheBusyNoticeGivesTheRequestUpAndKeepsTheConnection) {
    std::atomic<bool> busy{true};
    ScriptServer s([&busy](uint16_t code, int) {
        if (code == ReqVersion || code == ReqSessionOpen) return Handshake(code, 3041, 31);
        if (busy) return Reply(ReplyBusy, nullptr);
        MsgBuffer b;
        MsgPutLong(&b, 5);
        return Reply(ReplyServed, &b);
    });
    ASSERT_TRUE(ConnectLoop("127.0.0.1", (uint16_t)s.port, nullptr));
    User = BusyUser{&s.requests, &busy, -1, false, std::chrono::steady_clock::now() + std::chrono::seconds(20)};
    UserCancelFlag = 0;
    const PlIdleFn idle = MsgSetIdleHook(WatchTheBusyNotice);
    const uint32_t first = RegRecordCount(CUVc::Number);
    MsgSetIdleHook(idle);
    EXPECT_GE(User.sentWhenShown, 0) << "no busy notice stood";
    EXPECT_TRUE(User.escaped);
    EXPECT_EQ(first, 0u) << "Esc did not give the request up";
    EXPECT_TRUE(busy.load()) << "the client was served only because it went on asking";
    EXPECT_FALSE(NetClient.busy.up) << "the notice stood after the request was given up";
    EXPECT_EQ(UserCancelFlag, 0) << "giving a request up stopped the program's own work";
    EXPECT_TRUE(NetClient.connected);
    EXPECT_EQ(StatusLineText(), "Given up while the server was busy: nothing was done.");
    const int sent = s.requests.load();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));   // six retry times
    EXPECT_EQ(s.requests.load(), sent) << "the given-up request was sent again";
    busy = false;
    EXPECT_EQ(RegRecordCount(CUVc::Number), 5u) << "the connection did not serve the next request";
    EXPECT_TRUE(Shown.empty()) << Shown.front();
    NetClientClose();
}

// A window painted while the client waits for a read reads a count of its
// own: the server answers the two in the order they came, and each takes
// its own answer.
uint32_t PaintedCount = 0;
bool PaintRead = false;
intptr_t CountPaintProc(uint32_t win, uint32_t msg, uintptr_t wParam, intptr_t lParam) {
    if (msg == PlMsg::Paint && !std::exchange(PaintRead, true)) PaintedCount = RegRecordCount(IVVc::Number);
    return WinDefProc(win, msg, wParam, lParam);
}

TEST_F(NetClientTest, AReadAPaintSendsWhileTheClientWaitsTakesItsOwnReply) {
    // The read's reply (request 2) waits for the paint's read to come.
    ScriptServer s(
        [](uint16_t code, int n) {
            if (code == ReqVersion || code == ReqSessionOpen) return Handshake(code, 3041, 9);
            MsgBuffer b;
            MsgPutLong(&b, uint32_t(100 + n));
            return Reply(ReplyServed, &b);
        },
        2);
    WinResetAll();
    ASSERT_TRUE(WinRegisterClass({"NetPaintCount", CountPaintProc, 0, kPlLightGrey, 0, 0}));
    ASSERT_TRUE(ConnectLoop("127.0.0.1", (uint16_t)s.port, nullptr));
    uint32_t win = WinCreate("NetPaintCount", "", PlStyle::Visible, {0, 0, 200, 100}, 0, 0, 0);
    ASSERT_NE(win, 0u);
    PaintedCount = 0;
    PaintRead = false;
    EXPECT_EQ(RegRecordCount(CUVc::Number), 102u);
    EXPECT_EQ(PaintedCount, 103u) << "the paint's read was not sent during the wait, or took another reply";
    EXPECT_TRUE(NetClient.connected);
    NetClientClose();
    WinResetAll();
}

// A server that vanishes under a request, with the company open: the
// request fails as a lost connection (never done), the user is told once
// and the program ends without asking about any window; a later request
// fails the same way and tells nothing more.
TEST_F(NetClientTest, AVanishingServerIsALostConnectionNeverDone) {
    ScriptServer s([](uint16_t code, int) {
        if (code == ReqVersion || code == ReqSessionOpen) return Handshake(code, 3041, 9);
        return std::vector<uint8_t>();
    });
    ASSERT_TRUE(ConnectLoop("127.0.0.1", (uint16_t)s.port, nullptr));
    DbOpenFlag = 1;
    MemBlock h = 0;
    uint8_t *r = RecBufferNew(CUVc::Number, &h);
    uint32_t id = 0;
    int result = RecDone;
    RecInsertChecked(CUVc::Number, r, &id, &result);
    EXPECT_EQ(result, RecConnectionLost);
    EXPECT_FALSE(NetClient.connected);
    ASSERT_EQ(Shown.size(), 1u) << ::testing::PrintToString(Shown);
    EXPECT_EQ(Shown[0].rfind("The connection to the server was lost. The program ends now", 0), 0u) << Shown[0];
    EXPECT_EQ(QuitFlag, 1);
    EXPECT_EQ(QuitForced, QuitLost);
    result = RecDone;
    RecInsertChecked(CUVc::Number, r, &id, &result);
    EXPECT_EQ(result, RecConnectionLost);
    EXPECT_EQ(Shown.size(), 1u) << ::testing::PrintToString(Shown);
    RecBufferFree(CUVc::Number, &h);
    DbOpenFlag = 0;
    QuitFlag = QuitForced = 0;
}

// A server that goes while the client does nothing: the client hears the
// connection close, tells once and ends. Closed by the client itself (the
// program's own end) nothing is told.
TEST_F(NetClientTest, AServerGoneWhileTheClientRestsIsToldOnceAndEndsIt) {
    std::atomic<bool> go{false};
    ScriptServer s([&go](uint16_t code, int) {
        if (code == ReqVersion || code == ReqSessionOpen) return Handshake(code, 3041, 9);
        while (!go) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return std::vector<uint8_t>();   // vanish
    });
    ASSERT_TRUE(ConnectLoop("127.0.0.1", (uint16_t)s.port, nullptr));
    DbOpenFlag = 1;
    ASSERT_TRUE(NetClient.connected);
    MsgBuffer nothing;   // the request the script server answers by going away
    MsgPutWord(&nothing, 0);
    ASSERT_TRUE(RequestFrameBuild(&nothing, NetClient.session, ReqNothing));
    ASSERT_TRUE(NetSendFrame(0, MsgData(&nothing), MsgLength(&nothing)));
    go = true;
    for (auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(PatientMs);
         NetClient.connected && std::chrono::steady_clock::now() < until;)
        ClientWaitStep(10);
    EXPECT_FALSE(NetClient.connected);
    ASSERT_EQ(Shown.size(), 1u) << ::testing::PrintToString(Shown);
    EXPECT_TRUE(Has("The connection to the server was lost."));
    EXPECT_EQ(QuitForced, QuitLost);
    DbOpenFlag = 0;
    QuitFlag = QuitForced = 0;

    // The program's own end closes without a word.
    Shown.clear();
    ScriptServer quiet([](uint16_t code, int) {
        if (code == ReqVersion || code == ReqSessionOpen) return Handshake(code, 3041, 10);
        MsgBuffer b;
        return Reply(ReplyServed, &b);
    });
    ASSERT_TRUE(ConnectLoop("127.0.0.1", (uint16_t)quiet.port, nullptr));
    DbOpenFlag = 1;
    NetClientClose();
    EXPECT_TRUE(Shown.empty()) << ::testing::PrintToString(Shown);
    EXPECT_EQ(QuitFlag, 0);
    DbOpenFlag = 0;
}

// A refusal of one request for want of a login: the session and the
// connection stay, the next request is served on them and nothing was
// told; any other refusal still ends the connection.
TEST_F(NetClientTest, ANotLoggedInRefusalCostsOnlyItsRequest) {
    ScriptServer s([](uint16_t code, int n) {
        if (code == ReqVersion || code == ReqSessionOpen) return Handshake(code, 3041, 12);
        if (n == 2 || n == 4) {
            std::vector<uint8_t> refused = Reply(ReplyRefused, nullptr);
            uint16_t text = n == 2 ? 16000 : NoReplyText;
            std::memcpy(refused.data() + 8, &text, 2);
            return refused;
        }
        MsgBuffer b;
        MsgPutLong(&b, 7);
        return Reply(ReplyServed, &b);
    });
    ASSERT_TRUE(ConnectLoop("127.0.0.1", (uint16_t)s.port, nullptr));
    EXPECT_EQ(RegRecordCount(CUVc::Number), 0u);   // refused: not logged in
    EXPECT_TRUE(NetClient.connected);
    EXPECT_EQ(NetClient.session, 12u);
    EXPECT_EQ(RegRecordCount(CUVc::Number), 7u);
    EXPECT_TRUE(Shown.empty()) << Shown.front();
    EXPECT_EQ(RegRecordCount(CUVc::Number), 0u);   // refused without a reason: the connection goes
    EXPECT_FALSE(NetClient.connected);
}

TEST_F(NetClientTest, ConnectLoopBacksOffAndCancels) {
    // Nothing listens on this port: attempts are a second apart, not a spin.
    static int asked = 0;
    asked = 0;
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(ConnectLoop("127.0.0.1", 1, [] { return ++asked > 15; }));
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    EXPECT_GE(ms, 900);
    // The cancel is asked during the waits: asked only between attempts,
    // its sixteen asks would take the waits of minutes.
    EXPECT_LT(ms, PatientMs);
}

// The program's own way in, as its Open command takes it, to a port that
// nothing listens on: one attempt, not a retry until Esc; one message
// that names the server, its port and why in words, not an error number;
// then the program ends rather than offering a local company.
TEST_F(NetClientTest, AnUnreachableServerIsToldOnceByAddressPortAndReasonAndTheProgramEnds) {
    int closed = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(bind(closed, (sockaddr *)&a, sizeof a), 0);
    socklen_t len = sizeof a;
    getsockname(closed, (sockaddr *)&a, &len);
    const uint16_t port = ntohs(a.sin_port);
    close(closed);   // bound but never listening: the port is closed

    NetInstall();
    TcpSettings.serverAddress = "127.0.0.1";
    TcpPort = port;
    QuitFlag = QuitForced = 0;
    auto start = std::chrono::steady_clock::now();
    DbConnectCommand();
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    // One attempt is a refused connect; the tries of a loop wait 1, 2, 4,
    // 8 s... between them.
    EXPECT_LT(ms, PatientMs) << "tried again instead of telling";
    EXPECT_TRUE(QuitFlag);
    EXPECT_TRUE(RunModeIsClient()) << "the program went on to open a local company";
    EXPECT_FALSE(DbOpenFlag);
    ASSERT_EQ(Shown.size(), 1u) << ::testing::PrintToString(Shown);
    for (const std::string &part : {std::string("Connection failed"), std::string("127.0.0.1"),
                                    ", port " + std::to_string(port) + ":", std::string("nothing accepts connections")})
        EXPECT_NE(Shown[0].find(part), std::string::npos) << part << " in " << Shown[0];
    // The reason's own question mark ends the sentence: no point after it.
    EXPECT_EQ(Shown[0].substr(Shown[0].size() - 2), "g?") << Shown[0];
    QuitFlag = QuitForced = 0;
}

TEST(NetTcpSettings, SectionLinesAndDefaults) {
    TcpSettingsRec s;
    EXPECT_FALSE(TcpSettingsParse("nothing here\n", &s));
    EXPECT_EQ(s.clientPort, 1234);
    EXPECT_EQ(s.runMode, TcpRunModeNone);
    ASSERT_TRUE(TcpSettingsParse("x\r\nsetuptcp\r\n10.1.2.3456789012345678901\tcomment\r\n4000\r\n4001\r\n3\r\n", &s));
    EXPECT_EQ(s.serverAddress, "10.1.2.3456789012345");
    EXPECT_EQ(s.clientPort, 4000);
    EXPECT_EQ(s.serverPort, 4001);
    EXPECT_EQ(s.runMode, 3);
    ASSERT_TRUE(TcpSettingsParse("setuptcp\n\n1\n2\n\n", &s));
    EXPECT_EQ(s.serverAddress, TcpDefaultAddress);
    EXPECT_EQ(s.runMode, TcpRunModeNone);
}

TEST(NetTcpSettings, TheFileSetsTheRunModeAndThePorts) {
    std::string dir = ::testing::TempDir() + "orvel_tcp_" + std::to_string(getpid());
    std::string mk = "mkdir -p " + dir;
    ASSERT_EQ(std::system(mk.c_str()), 0);
    char old[4096];
    ASSERT_NE(getcwd(old, sizeof old), nullptr);
    ASSERT_EQ(chdir(dir.c_str()), 0);
    std::remove("QVTCP.INI");
    uint16_t port = TcpPort, listen = TcpListenPort;
    RunMode = 1;
    EXPECT_EQ(TcpSettingsLoad(), 0);
    EXPECT_EQ(RunMode, 0) << "no file: stand-alone";
    EXPECT_FALSE(SocketsActive);
    std::ofstream("QVTCP.INI") << "setuptcp\n127.0.0.1\n5000\n5001\n2\n";
    EXPECT_EQ(TcpSettingsLoad(), 0);
    EXPECT_EQ(RunMode, 2);
    EXPECT_TRUE(SocketsActive);
    EXPECT_EQ(TcpPort, 5000);
    EXPECT_EQ(TcpListenPort, 5001);
    std::remove("QVTCP.INI");
    RunMode = 0;
    SocketsActive = false;
    TcpPort = port;
    TcpListenPort = listen;
    ASSERT_EQ(chdir(old), 0);
}

TEST(NetListRows, AChoiceColumnShowsItsListText) {
    std::string error;
    ASSERT_TRUE(LoadBuiltInterface(&error)) << error;
    MemBlock h = 0;
    uint8_t *r = RecBufferNew(IVVc::Number, &h);
    PutU16(r, IVVc::Posted, 1);
    MsgBuffer m;
    ASSERT_TRUE(RowFieldsToMsg(&m, 348, IVVc::Number, r));
    MsgRewind(&m);
    uint8_t text[256];
    std::string last;
    while (MsgRemaining(&m) && MsgGetPString(&m, text)) last.assign((const char *)text + 1, text[0]);
    uint8_t yes[256];
    GetUiText(yes, Texts::PostedYes);
    EXPECT_EQ(last, std::string((const char *)yes + 1, yes[0]));
    RecBufferFree(IVVc::Number, &h);
    InterfaceUnload();
}

namespace {

int Paints = 0, Commands = 0;
intptr_t CountingProc(uint32_t win, uint32_t msg, uintptr_t wParam, intptr_t lParam) {
    if (msg == PlMsg::Paint) Paints++;
    if (msg == PlMsg::Command) Commands++;
    return WinDefProc(win, msg, wParam, lParam);
}

// A server that answers the handshake, and a report request with one
// push (of the commands given) whose acknowledgement it reads before it
// replies; the cancel word of that acknowledgement is kept, and the holds
// that came before it are counted.
struct PushingServer {
    int listener = -1, port = 0;
    std::thread thread;
    std::atomic<int> cancel{-1}, holds{0};
    ServedConnection served;
    explicit PushingServer(std::vector<uint8_t> commands = {}) {
        listener = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(listener, (sockaddr *)&a, sizeof a);
        listen(listener, 1);
        socklen_t len = sizeof a;
        getsockname(listener, (sockaddr *)&a, &len);
        port = ntohs(a.sin_port);
        thread = std::thread([this, commands] {
            int fd = served.Take(accept(listener, nullptr, nullptr));
            if (fd < 0) return;
            RawConn c(0);
            ServedConnection::Forget forget{served};
            if (!c.Accept(fd)) return;
            for (;;) {
                std::vector<uint8_t> f = c.Frame();
                if (f.size() < 10) return;
                uint16_t code = f[8] | f[9] << 8;
                if (code != ReqReportRun) {
                    c.Send(Handshake(code, 3041, 5));
                    continue;
                }
                // The client waits for the reply while the push is out.
                std::this_thread::sleep_for(std::chrono::milliseconds(300));
                std::vector<uint8_t> push = {uint8_t(6 + commands.size()), 0, 0, 0, 1, 0};
                push.insert(push.end(), commands.begin(), commands.end());
                c.Send(push);
                for (;;) {
                    std::vector<uint8_t> ack = c.Frame();
                    int word = ack.size() == AckFrameSize ? ack[10] | ack[11] << 8 : -1;
                    if (word != AckHold) {
                        cancel = word;
                        break;
                    }
                    holds++;
                }
                c.Send(Reply(ReplyServed, nullptr));
            }
        });
    }
    ~PushingServer() {
        served.End();
        shutdown(listener, SHUT_RDWR);
        close(listener);
        thread.join();
    }
};

}  // namespace

TEST_F(NetClientTest, WhileWaitingTheWindowsPaintAndEscCancelsTheServersJob) {
    WinResetAll();
    ASSERT_TRUE(WinRegisterClass({"NetWaitPaint", CountingProc, 0, kPlLightGrey, 0, 0}));
    uint32_t win = WinCreate("NetWaitPaint", "", PlStyle::Visible, {0, 0, 200, 100}, 0, 0, 0);
    ASSERT_NE(win, 0u);
    MsgPumpPending();
    for (bool esc : {false, true}) {
        PushingServer s;
        ASSERT_TRUE(ConnectLoop("127.0.0.1", (uint16_t)s.port, nullptr));
        UserCancelFlag = 0;
        RepStopped = 0;
        Paints = 0;
        WinInvalidate(win, nullptr, true);
        // A menu command given during the wait does nothing, a typed key
        // waits for the wait's end; Esc cancels.
        Commands = 0;
        MsgPost(win, PlMsg::Command, 101, 0);
        MsgInputKey('A', true, 'a');
        MsgInputKey('A', false, 'a');
        if (esc) {
            MsgInputKey(PlKey::Escape, true, 27);
            MsgInputKey(PlKey::Escape, false, 27);
        }
        uint8_t job[8] = {0};
        EXPECT_TRUE(RunReportRemote(false, job, sizeof job));
        EXPECT_GE(Paints, 1) << "the window did not paint during the wait";
        EXPECT_EQ(s.cancel.load(), esc ? 1 : 0);
        EXPECT_EQ(Commands, 0) << "a command ran inside the wait";
        // What is left is the typed key, press and release, not the Esc
        // the wait took.
        EXPECT_EQ(MsgPendingCount(), 2) << "the typed key was lost, or the Esc was left for later";
        PlMessage m;
        ASSERT_TRUE(MsgPeek(&m, true));
        EXPECT_EQ(m.msg, PlMsg::KeyDown);
        EXPECT_EQ(m.wParam, uint32_t('A'));
        MsgPumpPending();
        NetClientClose();
    }
    UserCancelFlag = 0;
    WinResetAll();
}

// A push whose run waits for the user (here a message it shows, read
// while the program's wait goes on, longer than the client waits for a
// reply) tells the server so while it waits, and acknowledges once it has
// run; the client's own wait for the reply does not count that time either.
const std::atomic<int> *HoldsSeen = nullptr;
TEST_F(NetClientTest, APushThatWaitsForItsUserIsHeldAtTheServer) {
    NetLimits.holdMs = 200;
    // Long beside a loaded machine's stall between the acknowledgement and
    // the reply; the message is read for longer.
    NetLimits.replyMs = 2000;
    const PlTimerFn timer = MsgSetTimer(NetTimerTick);
    PushingServer s({4, 0});   // a text command cut short: damaged output, told
    HoldsSeen = &s.holds;
    const MessageSink sink = MessageSinkSet([](const char *text) {
        Record(text);
        // Read until the server has heard the hold, and for longer than
        // the reply time.
        const auto shown = std::chrono::steady_clock::now();
        for (auto now = shown; now < shown + std::chrono::milliseconds(PatientMs);
             now = std::chrono::steady_clock::now()) {
            if (HoldsSeen->load() >= 1 && now - shown > std::chrono::milliseconds(NetLimits.replyMs + 500)) break;
            PlMessage m;
            MsgGetTimeout(&m, 20);
        }
    });
    ASSERT_TRUE(ConnectLoop("127.0.0.1", (uint16_t)s.port, nullptr));
    RepStopped = 0;
    uint8_t job[8] = {0};
    EXPECT_TRUE(RunReportRemote(false, job, sizeof job));
    EXPECT_TRUE(Has("damaged"));
    EXPECT_GE(s.holds.load(), 1) << "the server was not told that the push waits for its user";
    EXPECT_EQ(s.cancel.load(), AckGoOn);
    EXPECT_TRUE(NetClient.connected);
    NetClientClose();
    MessageSinkSet(sink);
    MsgSetTimer(timer);
    HoldsSeen = nullptr;
}

TEST_F(NetClientTest, EscGivesUpConnecting) {
    WinResetAll();
    ASSERT_TRUE(WinRegisterClass({"NetWaitPaint", CountingProc, 0, kPlLightGrey, 0, 0}));
    ASSERT_NE(WinCreate("NetWaitPaint", "", PlStyle::Visible, {0, 0, 200, 100}, 0, 0, 0), 0u);
    MsgPumpPending();
    UserCancelFlag = 0;
    MsgInputKey(PlKey::Escape, true, 27);
    MsgInputKey(PlKey::Escape, false, 27);
    // Nothing listens on this port: without the Esc the loop would go on.
    // The loop asks its cancel before the attempt and every 100 ms of its
    // wait: the Esc is heard in the first step of the first wait, however
    // long the steps take on a loaded machine.
    static int asked = 0;
    asked = 0;
    EXPECT_FALSE(ConnectLoop("127.0.0.1", 1, [] {
        asked++;
        return UserCancelFlag != 0;
    }));
    EXPECT_LE(asked, 4) << "the Esc was not heard in the wait's first step";
    EXPECT_EQ(UserCancelFlag, 1);
    UserCancelFlag = 0;
    WinResetAll();
}
