// bench_net_conn.h - a blocking client connection for the network
// benchmarks: raw request frames through the server's TLS channel (or,
// against a server started without it for comparison, plain), with the
// handshake and login of a client.
#pragma once

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <arpa/inet.h>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/msg_buffer.h"
#include "core/pstring.h"
#include "core/ui_text.h"
#include "database/access/remote_calls.h"
#include "database/access/transport.h"
#include "database/engine/engine.h"
#include "net/net.h"
#include "net/raw_login.h"
#include "net/tls.h"

// The rest of a forked server's life: with the company at path open, it
// loads (or makes) the server's key beside it, serves on a free loopback
// port, writes the port and a newline to toParent, serves until *stop is
// set and then removes the company file and its key (_exit runs no
// atexit handler).
[[noreturn]] inline void BenchServeForked(const std::string &path, int toParent, volatile sig_atomic_t *stop) {
    std::string why;
    if (!TlsServerKeyLoad(path, &why)) _exit(5);
    NetServerStart();
    if (!NetServerListen(0, 0)) _exit(3);
    std::string port = std::to_string(NetListenPort()) + "\n";
    if (write(toParent, port.data(), port.size()) < 0) _exit(4);
    while (!*stop) NetPump(50);
    NetShutdown();
    D4Close();
    for (const std::string &f : {path, TlsKeyPath(path), TlsCertPath(path)}) std::remove(f.c_str());
    _exit(0);
}

struct BenchNetConn {
    int fd = -1;
    TlsSocket *tls = nullptr;
    bool plain = false;
    uint32_t session = 0;
    explicit BenchNetConn(int port, bool plainChannel = false) : plain(plainChannel) {
        fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons((uint16_t)port);
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int one = 1;
        setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        if (connect(fd, (sockaddr *)&a, sizeof a) != 0 || (!plain && !(tls = TlsSocketOpen(fd, false, 5000)))) {
            close(fd);
            fd = -1;
        }
    }
    ~BenchNetConn() {
        TlsSocketFree(tls);
        if (fd >= 0) close(fd);
    }
    BenchNetConn(const BenchNetConn &) = delete;
    BenchNetConn &operator=(const BenchNetConn &) = delete;
    bool Send(uint16_t code, MsgBuffer *body) const {
        MsgBuffer f;
        MsgPutLong(&f, 0);
        MsgPutLong(&f, session);
        MsgPutWord(&f, code);
        if (body && MsgLength(body)) MsgPutBytesRaw(&f, MsgData(body), MsgLength(body));
        uint32_t n = MsgLength(&f);
        std::memcpy(f.store + f.head, &n, 4);
        if (fd < 0) return false;
        if (tls) return TlsSocketWrite(tls, MsgData(&f), n);
        return ::send(fd, MsgData(&f), n, MSG_NOSIGNAL) == (ssize_t)n;
    }
    bool ReadN(uint8_t *p, size_t n) const {
        for (size_t got = 0; got < n;) {
            long r = tls ? TlsSocketRead(tls, p + got, n - got, 60000) : (long)recv(fd, p + got, n - got, 0);
            if (r <= 0) return false;
            got += (size_t)r;
        }
        return true;
    }
    // The next frame into m; its frame code, or -1.
    int Frame(MsgBuffer *m) const {
        uint8_t head[4];
        if (!ReadN(head, 4)) return -1;
        uint32_t n = head[0] | head[1] << 8 | head[2] << 16 | (uint32_t)head[3] << 24;
        if (n < 6 || n > (64u << 20)) return -1;
        std::vector<uint8_t> f(n);
        std::memcpy(f.data(), head, 4);
        if (!ReadN(f.data() + 4, n - 4)) return -1;
        MsgLoad(m, f.data(), n);
        return f[4] | f[5] << 8;
    }
    // A request and its reply's status (the body readable in reply).
    int Ask(uint16_t code, MsgBuffer *body, MsgBuffer *reply) const {
        if (!Send(code, body) || Frame(reply) != 0) return -1;
        ReplyHeader h;
        if (!ReplyHeaderRead(reply, &h, false)) return -1;
        return h.status;
    }
    bool Open() {
        MsgBuffer b, r;
        uint8_t a[256];
        PStringFromC(a, "127.0.0.1");
        MsgPutPString(&b, a);
        MsgPutWord(&b, 1);
        if (Ask(ReqSessionOpen, &b, &r) != 0) return false;
        MsgGetLong(&r, &session);
        return Login("ANY", "");
    }
    // The login's two steps (challenge, then proof); a company without
    // persons answers with no iterations and takes any proof. Only the
    // verdict is read: the benchmark loads no interface file here.
    bool Login(const char *user, const char *password) {
        RawLogin l;
        l.user = user;
        l.password = password;
        MsgBuffer first, challenge, final, done;
        uint32_t wait = 0;
        RawLoginAnswer a;
        return RawLoginFirst(&l, &first) && Ask(ReqLogin, &first, &challenge) == 0 &&
               RawLoginTakeChallenge(&l, &challenge, &wait) == RawChallenge::Given && RawLoginFinal(&l, &final) &&
               Ask(ReqLogin, &final, &done) == 0 && RawLoginTakeAnswer(l, &done, &a, false) && a.accepted;
    }
};
