// tls_socket.cpp - a TLS channel over a socket that its caller reads and
// writes in turn (the load benchmark's and the tests' raw clients, and
// the tests' scripted servers). The socket is made non-blocking and each
// call waits with poll, so a silent peer costs a time-out, never a hang.
#include <fcntl.h>
#include <poll.h>

#include <chrono>
#include <csignal>

#include <openssl/err.h>
#include <openssl/ssl.h>

#include "net/tls.h"
#include "net/tls_internal.h"

struct TlsSocket {
    SSL *ssl = nullptr;
    int fd = -1;
};

namespace {

int64_t NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Waits for what the last call asked (-1 when it failed for good or the
// time ran out). ms < 0 waits without end.
int WaitFor(TlsSocket *s, int result, int64_t until) {
    int e = SSL_get_error(s->ssl, result);
    short want = e == SSL_ERROR_WANT_READ ? POLLIN : e == SSL_ERROR_WANT_WRITE ? POLLOUT : 0;
    if (!want) {
        ERR_clear_error();
        return -1;
    }
    int left = until < 0 ? -1 : (int)(until - NowMs());
    if (until >= 0 && left <= 0) return -1;
    pollfd p{s->fd, want, 0};
    return ::poll(&p, 1, left) > 0 ? 0 : -1;
}

}  // namespace

TlsSocket *TlsSocketOpen(int fd, bool server, int ms) {
    // OpenSSL writes to the socket itself, without MSG_NOSIGNAL: a peer
    // that closed must be a failed write, not the end of the process.
    std::signal(SIGPIPE, SIG_IGN);
    SSL_CTX *ctx = server ? TlsServerContext() : TlsClientContext();
    if (fd < 0 || !ctx) return nullptr;
    int flags = ::fcntl(fd, F_GETFL, 0);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) != 0) return nullptr;
    TlsSocket *s = new TlsSocket;
    s->fd = fd;
    s->ssl = SSL_new(ctx);
    if (!s->ssl || SSL_set_fd(s->ssl, fd) != 1) {
        TlsSocketFree(s);
        return nullptr;
    }
    int64_t until = NowMs() + ms;
    for (;;) {
        int r = server ? SSL_accept(s->ssl) : SSL_connect(s->ssl);
        if (r == 1) return s;
        if (WaitFor(s, r, until) < 0) break;
    }
    TlsSocketFree(s);
    return nullptr;
}

void TlsSocketFree(TlsSocket *s) {
    if (!s) return;
    SSL_free(s->ssl);
    delete s;
}

bool TlsSocketWrite(TlsSocket *s, const void *bytes, size_t n) {
    const uint8_t *p = static_cast<const uint8_t *>(bytes);
    size_t done = 0;
    while (done < n) {
        int r = SSL_write(s->ssl, p + done, (int)(n - done > (1u << 30) ? (1u << 30) : n - done));
        if (r > 0) {
            done += (size_t)r;
            continue;
        }
        if (WaitFor(s, r, NowMs() + 30000) < 0) return false;
    }
    return true;
}

long TlsSocketRead(TlsSocket *s, void *bytes, size_t n, int ms) {
    int64_t until = ms < 0 ? -1 : NowMs() + ms;
    for (;;) {
        int r = SSL_read(s->ssl, bytes, (int)(n > (1u << 30) ? (1u << 30) : n));
        if (r > 0) return r;
        int e = SSL_get_error(s->ssl, r);
        if (e == SSL_ERROR_ZERO_RETURN) return 0;
        if (e == SSL_ERROR_SYSCALL || e == SSL_ERROR_SSL) {
            ERR_clear_error();
            return 0;   // the peer went away without a close_notify
        }
        if (WaitFor(s, r, until) < 0) return -1;
    }
}

std::string TlsSocketPeerFingerprint(TlsSocket *s) {
    X509 *cert = SSL_get1_peer_certificate(s->ssl);
    std::string print = TlsCertFingerprint(cert);
    X509_free(cert);
    return print;
}
