// net_fixture.h - a server in a process of its own for the network
// tests: the child makes a fresh company database, serves on a loopback
// port with the program's own time-outs, and when told to stop reports
// what it holds (the database's integrity, sessions and connections still
// in use). The parent talks to it through raw connections (RawConn, over
// the same TLS channel as the program) or through the program's own client.
//
// Nothing here may depend on the machine being idle: a wait for what must
// come allows a loaded machine (PatientMs) and ends as soon as it came. A
// test that measures one of the server's time-outs makes that one short
// itself (ServerLimit), only for the connections it measures, and waits
// long for its outcome.
#pragma once

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "core/definitions.h"
#include "core/field_access.h"
#include "core/ui_text.h"
#include "core/interface_load.h"
#include "core/message_sink.h"
#include "core/msg_buffer.h"
#include "core/password_verifier.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/system.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "database/access/register_hooks.h"
#include "database/access/remote_calls.h"
#include "database/access/settings_binding.h"
#include "database/access/transport.h"
#include "database/engine/engine.h"
#include "net/net.h"
#include "net/raw_login.h"
#include "net/tls.h"
#include "output/devices/report_output.h"
#include "platform/queue.h"
#include "tests/core/built_interface.h"

namespace nettest {

// How long a test waits for what must come: a loaded build machine (two
// cores, the sanitizers, other tests beside) may stall a process for
// seconds. A passing test never waits this long.
constexpr int PatientMs = 30000;

inline volatile sig_atomic_t StopServer = 0;
inline void OnTerm(int) { StopServer = 1; }

// What a test's server does beside serving (runs in the child).
using ServerSetup = void (*)();

// Set by a ServerSetup: the child serves through the program's own wait
// loop (the message queue's get, socket events as message 2000, and what
// NetInstall puts into it) instead of NetPump.
inline bool ServeThroughQueue = false;

// The report body the child serves for request 12: `pushes` messages of
// output, each a few "nothing" commands, stopping when the job stops.
inline int ReportPushes = 6;
inline void PushingReport(ReportJob &) {
    for (int i = 0; i < ReportPushes && !RepStopped; i++) {
        for (int k = 0; k < 8; k++) MsgPutWord(&OutputMessage, 0);
        MsgSend();
    }
}

// What the parent asks of the running server on the control pipe: one
// byte, and for a limit its place in NetLimitsRec and its new value after
// it. The child answers each with one line.
constexpr char AskHolds = 'h', SetLimit = 'l';
struct LimitChange {
    uint32_t offset = 0;
    int value = 0;
};

// The child's side of one question of the parent.
inline void AnswerParent(char ask, int toParent, int fromParent) {
    std::string line = "?\n";
    if (ask == AskHolds) {
        line = std::to_string(SessionsInUse()) + " " + std::to_string(NetSlotsInUse()) + "\n";
    } else if (ask == SetLimit) {
        LimitChange change;
        if (read(fromParent, &change, sizeof change) != (ssize_t)sizeof change) _exit(3);
        if (change.offset + sizeof change.value <= sizeof NetLimits) {
            std::memcpy(reinterpret_cast<char *>(&NetLimits) + change.offset, &change.value, sizeof change.value);
            line = "set\n";
        }
    }
    if (write(toParent, line.data(), line.size()) < 0) _exit(3);
}

[[noreturn]] inline void ServeChild(const std::string &path, int toParent, int fromParent, ServerSetup setup) {
    std::signal(SIGTERM, OnTerm);
    NetLimits = NetLimitsRec{};   // the program's, whatever an earlier test of this process left
    RunMode = 0;
    LockOwnerId = LockOwnerSelf;
    std::string why;
    bool ok = DbLayerInit() && D4Create(path.c_str(), 0) == D4OpenOk && SettingsStartup() &&
              TlsServerKeyLoad(path, &why);
    ServerReportRun = PushingReport;
    if (setup) setup();
    NetServerStart();
    ok = ok && NetServerListen(0, 0);
    std::string port = std::to_string(ok ? NetListenPort() : 0) + "\n";
    if (write(toParent, port.data(), port.size()) < 0) _exit(3);
    char c;
    // The parent's end of the control pipe closing also stops the server.
    while (!StopServer) {
        PlMessage m;
        if (!ServeThroughQueue) NetPump(10);
        else if (MsgGetTimeout(&m, 10) == PlGet::Message && m.msg == PlMsg::Socket)
            NetOnSocketEvent(int(m.wParam), int(m.lParam));
        pollfd p{fromParent, POLLIN, 0};
        if (poll(&p, 1, 0) <= 0) continue;
        if (read(fromParent, &c, 1) <= 0) break;
        AnswerParent(c, toParent, fromParent);
    }
    std::string report;
    bool integrity = D4IntegrityCheck(&report);
    std::string out = std::string(integrity ? "ok" : "bad") + " " + std::to_string(SessionsInUse()) + " " +
                      std::to_string(NetSlotsInUse()) + "\n" + report;
    NetShutdown();
    if (write(toParent, out.data(), out.size()) < 0) _exit(3);
    D4Close();
    _exit(0);
}

// A blocking loopback connection speaking raw frames through the channel.
struct RawConn {
    int fd = -1;
    TlsSocket *tls = nullptr;
    mutable std::vector<uint8_t> wire;   // every frame byte sent and received, in order, before the channel
    // channel false: plain TCP, without even the channel's hello.
    explicit RawConn(int port, int receiveBuffer = 0, bool channel = true) {
        fd = socket(AF_INET, SOCK_STREAM, 0);
        if (receiveBuffer) setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons((uint16_t)port);
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (connect(fd, (sockaddr *)&a, sizeof a) != 0) {
            close(fd);
            fd = -1;
        }
        int one = 1;
        if (fd >= 0) setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        if (fd >= 0 && port > 0 && channel && !TlsChannelOffForTests && !(tls = TlsSocketOpen(fd, false, PatientMs))) {
            close(fd);
            fd = -1;
        }
    }
    ~RawConn() {
        TlsSocketFree(tls);
        if (fd >= 0) close(fd);
    }
    RawConn(const RawConn &) = delete;
    RawConn &operator=(const RawConn &) = delete;
    // The server's end of an accepted socket (a scripted server).
    bool Accept(int accepted) {
        fd = accepted;
        return TlsChannelOffForTests || (tls = TlsSocketOpen(fd, true, PatientMs)) != nullptr;
    }
    bool Send(const std::vector<uint8_t> &b) const {
        wire.insert(wire.end(), b.begin(), b.end());
        if (tls) return fd >= 0 && TlsSocketWrite(tls, b.data(), b.size());
        return fd >= 0 && ::send(fd, b.data(), b.size(), MSG_NOSIGNAL) == (ssize_t)b.size();
    }
    // Reads n bytes within ms; false on close, error or time-out.
    bool ReadN(uint8_t *out, size_t n, int ms) const {
        size_t got = 0;
        while (tls && got < n) {
            long r = TlsSocketRead(tls, out + got, n - got, ms);
            if (r <= 0) return false;
            wire.insert(wire.end(), out + got, out + got + r);
            got += (size_t)r;
        }
        while (got < n) {
            pollfd p{fd, POLLIN, 0};
            if (poll(&p, 1, ms) <= 0) return false;
            ssize_t r = recv(fd, out + got, n - got, 0);
            if (r <= 0) return false;
            wire.insert(wire.end(), out + got, out + got + r);
            got += (size_t)r;
        }
        return true;
    }
    // One whole frame, or empty on close or time-out. A short ms is for a
    // frame that must NOT come: a slow machine can only miss it there.
    std::vector<uint8_t> Frame(int ms = PatientMs) const {
        uint8_t head[4];
        if (!ReadN(head, 4, ms)) return {};
        uint32_t len = head[0] | head[1] << 8 | head[2] << 16 | (uint32_t)head[3] << 24;
        if (len < 4 || len > (64u << 20)) return {};
        std::vector<uint8_t> f(len);
        std::memcpy(f.data(), head, 4);
        if (!ReadN(f.data() + 4, len - 4, ms)) return {};
        return f;
    }
    // True when the server closed the connection within ms.
    bool Closed(int ms) const {
        uint8_t junk[256];
        if (tls) {
            for (;;) {
                long r = TlsSocketRead(tls, junk, sizeof junk, ms);
                if (r == 0) return true;
                if (r < 0) return false;
            }
        }
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, ms) <= 0) return false;
        uint8_t b[256];
        for (;;) {
            ssize_t r = recv(fd, b, sizeof b, MSG_DONTWAIT);
            if (r == 0) return true;
            if (r < 0) return errno != EAGAIN && errno != EWOULDBLOCK;
            if (poll(&p, 1, ms) <= 0) return false;
        }
    }
};

// A request frame around a body.
inline std::vector<uint8_t> Request(uint32_t session, uint16_t code, MsgBuffer *body) {
    MsgBuffer f;
    MsgPutLong(&f, 0);
    MsgPutLong(&f, session);
    MsgPutWord(&f, code);
    if (body && MsgLength(body)) MsgPutBytesRaw(&f, MsgData(body), MsgLength(body));
    std::vector<uint8_t> v(MsgData(&f), MsgData(&f) + MsgLength(&f));
    uint32_t n = (uint32_t)v.size();
    std::memcpy(v.data(), &n, 4);
    return v;
}

// An acknowledgement of a push for session, with the cancel flag.
inline std::vector<uint8_t> AckFrame(uint32_t session, uint16_t cancel = 0) {
    MsgBuffer f;
    MsgPutLong(&f, AckFrameSize);
    MsgPutLong(&f, session);
    MsgPutWord(&f, AckCode);
    MsgPutWord(&f, cancel);
    return std::vector<uint8_t>(MsgData(&f), MsgData(&f) + MsgLength(&f));
}

inline uint16_t Status(const std::vector<uint8_t> &reply) {
    return reply.size() >= 8 ? (uint16_t)(reply[6] | reply[7] << 8) : 0xFFFF;
}

// Reads a served reply's header into m; the read position at the body.
inline bool ReplyBody(const std::vector<uint8_t> &reply, MsgBuffer *m) {
    if (!MsgLoad(m, reply.data(), (uint32_t)reply.size())) return false;
    ReplyHeader h;
    return ReplyHeaderRead(m, &h, false) && h.status == ReplyServed;
}

// The two steps of request 31 on a raw connection, as docs/protocol.md
// gives them: the client's name and nonce, the server's challenge, the
// proof, and the server's signature, which is checked here too.
enum class LoginOutcome { Accepted, Refused, Wait, Broken };
struct LoginTrace {
    uint32_t waitMs = 0;          // the wait the first step was told
    bool serverProven = false;    // the accepted reply carried the right signature
    uint16_t refusalText = 0;     // the message of a refused (status 2) step
    std::chrono::steady_clock::time_point proofSent{};   // just before the second step went
};
inline LoginOutcome Login(const RawConn &c, uint32_t session, const char *user, const char *password,
                          LoginTrace *trace = nullptr) {
    LoginTrace ignored;
    LoginTrace &t = trace ? *trace : ignored;
    RawLogin l;
    l.user = user;
    l.password = password;
    MsgBuffer first;
    if (!RawLoginFirst(&l, &first) || !c.Send(Request(session, ReqLogin, &first))) return LoginOutcome::Broken;
    std::vector<uint8_t> f = c.Frame();
    MsgBuffer m;
    if (!ReplyBody(f, &m)) {
        t.refusalText = f.size() >= 10 ? uint16_t(f[8] | f[9] << 8) : 0;
        return LoginOutcome::Broken;
    }
    switch (RawLoginTakeChallenge(&l, &m, &t.waitMs)) {
    case RawChallenge::Wait: return LoginOutcome::Wait;
    case RawChallenge::Broken: return LoginOutcome::Broken;
    case RawChallenge::Given: break;
    }
    MsgBuffer final;
    if (!RawLoginFinal(&l, &final)) return LoginOutcome::Broken;
    t.proofSent = std::chrono::steady_clock::now();
    if (!c.Send(Request(session, ReqLogin, &final))) return LoginOutcome::Broken;
    MsgBuffer r;
    RawLoginAnswer a;
    if (!ReplyBody(c.Frame(), &r) || !RawLoginTakeAnswer(l, &r, &a)) return LoginOutcome::Broken;
    t.serverProven = a.serverProven;
    return a.accepted ? LoginOutcome::Accepted : LoginOutcome::Refused;
}

// Request 41: the count of reg's records (all ones when not served).
inline uint32_t RecordCount(const RawConn &c, uint32_t session, uint16_t reg) {
    MsgBuffer b;
    MsgPutWord(&b, reg);
    c.Send(Request(session, ReqRecordCount, &b));
    MsgBuffer m;
    uint32_t n = 0xFFFFFFFF;
    if (ReplyBody(c.Frame(), &m)) MsgGetLong(&m, &n);
    return n;
}
inline uint32_t CustomerCount(const RawConn &c, uint32_t session) { return RecordCount(c, session, CUVc::Number); }

// Request 15 on a raw connection and, when asked, the login of user; the
// session id (0: failed).
inline uint32_t SessionOpen(const RawConn &c, bool login, const char *user, const char *password) {
    MsgBuffer body;
    uint8_t addr[256];
    PStringFromC(addr, "127.0.0.1");
    MsgPutPString(&body, addr);
    MsgPutWord(&body, 1);
    if (!c.Send(Request(0, ReqSessionOpen, &body))) return 0;
    MsgBuffer m;
    uint32_t id = 0;
    if (!ReplyBody(c.Frame(), &m) || !MsgGetLong(&m, &id)) return 0;
    if (id >= SessionNotServing) return 0;
    if (!login) return id;
    return Login(c, id, user, password) == LoginOutcome::Accepted ? id : 0;
}

// Request 2 of register reg at position pos: the found flag (-1: no
// served reply), the record into *out and its id into *id when asked.
inline int ReadAt(const RawConn &c, uint32_t session, int reg, uint32_t pos, std::vector<uint8_t> *out = nullptr,
                  uint32_t *id = nullptr) {
    MsgBuffer b;
    MsgPutWord(&b, (uint16_t)reg);
    MsgPutLong(&b, pos);
    MsgPutCString(&b, "");
    c.Send(Request(session, ReqReadAt, &b));
    MsgBuffer m;
    if (!ReplyBody(c.Frame(), &m)) return -1;
    uint8_t found = 0;
    uint32_t recid = 0;
    MsgGetByte(&m, &found);
    MsgGetLong(&m, &recid);
    MemBlock h = 0;
    uint8_t *r = RecBufferNew(reg, &h);
    MsgGetRecord(&m, reg, r);
    if (out) out->assign(r, r + RegRecordSize(reg));
    if (id) *id = recid;
    RecBufferFree(reg, &h);
    return found;
}

struct ServerEnd {
    bool integrity = false;
    int sessions = -1;
    int slots = -1;
    std::string report;
};

}  // namespace nettest

class NetServerTest : public ::testing::Test {
protected:
    pid_t child = -1;
    int port = 0;
    int fromChild = -1, toChild = -1;
    std::string path;

    virtual nettest::ServerSetup ServerExtra() { return nullptr; }

    static void Quiet(const char *) {}

    void SetUp() override {
        std::string error;
        ASSERT_TRUE(LoadBuiltInterface(&error)) << error;
        if (!PendingVoucher) {
            ASSERT_TRUE(AllocWorkBlocks());
        }
        MessageSinkSet(Quiet);
        path = ::testing::TempDir() + "orvel_net_" + std::to_string(getpid()) + ".VDB";
        std::remove(path.c_str());
        std::remove(TlsKeyPath(path).c_str());
        std::remove(TlsCertPath(path).c_str());
        TlsPinFile = path + ".PIN";
        std::remove(TlsPinFile.c_str());
        int up[2], down[2];
        ASSERT_EQ(pipe(up), 0);
        ASSERT_EQ(pipe(down), 0);
        std::fflush(nullptr);
        child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(up[0]);
            close(down[1]);
            nettest::ServeChild(path, up[1], down[0], ServerExtra());
        }
        close(up[1]);
        close(down[0]);
        fromChild = up[0];
        toChild = down[1];
        std::string line = ReadLine(nettest::PatientMs);
        port = std::atoi(line.c_str());
        ASSERT_GT(port, 0) << "the server did not start";
    }

    void TearDown() override {
        if (child > 0) Stop();
        NetShutdown();
        TransportInstall(nullptr, nullptr);
        RunMode = 0;
        NetClient.connected = false;
        NetClient.session = 0;
        MsgClear(&NetClient.reply);
        std::remove(path.c_str());
        std::remove(TlsKeyPath(path).c_str());
        std::remove(TlsCertPath(path).c_str());
        std::remove(TlsPinFile.c_str());
        MessageSinkSet(nullptr);
        InterfaceUnload();
    }

    std::string ReadLine(int ms) {
        std::string s;
        char c;
        while (true) {
            pollfd p{fromChild, POLLIN, 0};
            if (poll(&p, 1, ms) <= 0 || read(fromChild, &c, 1) != 1) break;
            if (c == '\n') break;
            s += c;
        }
        return s;
    }

    // Stops the server and gives what it reported of itself.
    nettest::ServerEnd Stop() {
        nettest::ServerEnd end;
        if (child <= 0) return end;
        kill(child, SIGTERM);
        std::string line = ReadLine(nettest::PatientMs);
        char flag[8] = {0};
        std::sscanf(line.c_str(), "%7s %d %d", flag, &end.sessions, &end.slots);
        end.integrity = std::string(flag) == "ok";
        end.report = ReadLine(nettest::PatientMs);
        int status = 0;
        waitpid(child, &status, 0);
        child = -1;
        close(fromChild);
        close(toChild);
        return end;
    }

    // The sessions and connections the server holds now ({-1, -1}: no
    // answer). Asked between requests: a server inside a job answers
    // when the job has ended.
    std::pair<int, int> ServerHolds() {
        std::pair<int, int> held{-1, -1};
        if (write(toChild, &nettest::AskHolds, 1) != 1) return held;
        std::sscanf(ReadLine(nettest::PatientMs).c_str(), "%d %d", &held.first, &held.second);
        return held;
    }

    // Waits until the server holds that many sessions and connections:
    // what a client closed is gone at the server only once it has seen
    // the close. False when that did not come within the patient wait.
    bool AwaitServerHolds(int sessions, int slots) {
        const std::pair<int, int> want{sessions, slots};
        for (auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(nettest::PatientMs);;) {
            if (ServerHolds() == want) return true;
            if (std::chrono::steady_clock::now() > until) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }

    // Sets one of the running server's limits (for all its connections,
    // from its next look at them on): a test measuring a time-out makes
    // it short only while the connections it measures need it, so that a
    // slow machine never cuts the others.
    void ServerLimit(int NetLimitsRec::*limit, int ms) {
        NetLimitsRec any;
        nettest::LimitChange change;
        change.offset = uint32_t(reinterpret_cast<char *>(&(any.*limit)) - reinterpret_cast<char *>(&any));
        change.value = ms;
        std::string ask(1, nettest::SetLimit);
        ask.append(reinterpret_cast<const char *>(&change), sizeof change);
        ASSERT_EQ(write(toChild, ask.data(), ask.size()), (ssize_t)ask.size());
        ASSERT_EQ(ReadLine(nettest::PatientMs), "set") << "the server did not take its new limit";
    }
    // The program's own value of a limit.
    static int ProgramLimit(int NetLimitsRec::*limit) { return NetLimitsRec{}.*limit; }

    // Handshake and login on a raw connection; the session id (0: failed).
    static uint32_t Open(const nettest::RawConn &c, bool login = true, const char *user = "ANY",
                         const char *password = "") {
        return nettest::SessionOpen(c, login, user, password);
    }

    // Request 3 for a customer with the code; the result word (or -100 when no reply came).
    static int InsertCustomer(const nettest::RawConn &c, uint32_t session, const char *code, uint32_t *recid) {
        MemBlock h = 0;
        uint8_t *r = RecBufferNew(CUVc::Number, &h);
        uint8_t p[256];
        PStringFromC(p, code);
        PutText(r, CUVc::Code, p);
        MsgBuffer body;
        MsgPutWord(&body, CUVc::Number);
        MsgPutRecord(&body, CUVc::Number, r);
        RecBufferFree(CUVc::Number, &h);
        if (!c.Send(nettest::Request(session, ReqInsertChecked, &body))) return -100;
        std::vector<uint8_t> f = c.Frame();
        MsgBuffer m;
        if (!nettest::ReplyBody(f, &m)) return -100 - (int)nettest::Status(f);
        uint32_t id = 0;
        uint16_t result = 0;
        MsgGetLong(&m, &id);
        MsgGetWord(&m, &result);
        if (recid) *recid = id;
        return (int16_t)result;
    }
};
