// tls_channel.cpp - one connection's TLS channel over memory buffers.
// The connection table owns the socket and its non-blocking reads and
// writes; the link only turns bytes: what came from the socket goes in
// (TlsLinkReceive) and plain bytes come out, plain bytes to send go in
// (TlsLinkSend) and sealed bytes come out for the table's send queue.
// Nothing here waits, so the program's one thread never blocks on a peer.
#include <openssl/err.h>
#include <openssl/ssl.h>

#include "net/tls.h"
#include "net/tls_internal.h"

bool TlsChannelOffForTests = false;

struct TlsLink {
    SSL *ssl = nullptr;
    BIO *in = nullptr;    // the socket's bytes, read by OpenSSL (owned by ssl)
    BIO *out = nullptr;   // OpenSSL's bytes for the socket (owned by ssl)
    bool established = false;
    std::vector<uint8_t> early;   // plain bytes sent before the handshake ended
};

namespace {

SSL_CTX *ClientContext = nullptr;

// Moves what OpenSSL wrote into *wire.
void Collect(TlsLink *link, std::vector<uint8_t> *wire) {
    uint8_t buf[16384];
    int n;
    while ((n = BIO_read(link->out, buf, sizeof buf)) > 0) wire->insert(wire->end(), buf, buf + n);
}

// True when the result of an SSL call only asks for more bytes.
bool OnlyWaiting(TlsLink *link, int result) {
    int e = SSL_get_error(link->ssl, result);
    if (e == SSL_ERROR_WANT_READ || e == SSL_ERROR_WANT_WRITE) return true;
    ERR_clear_error();
    return false;
}

bool SealEarly(TlsLink *link, std::vector<uint8_t> *wire) {
    if (link->early.empty()) return true;
    std::vector<uint8_t> early;
    early.swap(link->early);
    return TlsLinkSend(link, early.data(), early.size(), wire);
}

// Runs the handshake as far as the bytes allow.
bool Advance(TlsLink *link, std::vector<uint8_t> *wire) {
    if (link->established) return true;
    int r = SSL_do_handshake(link->ssl);
    Collect(link, wire);
    if (r == 1) {
        link->established = true;
        return SealEarly(link, wire);
    }
    return OnlyWaiting(link, r);
}

TlsLink *NewLink(SSL_CTX *ctx, bool server) {
    if (!ctx) return nullptr;
    TlsLink *link = new TlsLink;
    link->ssl = SSL_new(ctx);
    link->in = BIO_new(BIO_s_mem());
    link->out = BIO_new(BIO_s_mem());
    if (!link->ssl || !link->in || !link->out) {
        if (link->ssl) SSL_free(link->ssl);
        else {
            BIO_free(link->in);
            BIO_free(link->out);
        }
        delete link;
        return nullptr;
    }
    // An empty read buffer is "want more", never the end of the stream.
    BIO_set_mem_eof_return(link->in, -1);
    SSL_set_bio(link->ssl, link->in, link->out);
    if (server) SSL_set_accept_state(link->ssl);
    else SSL_set_connect_state(link->ssl);
    return link;
}

}  // namespace

SSL_CTX *TlsClientContext() {
    if (!ClientContext) {
        SSL_CTX *ctx = SSL_CTX_new(TLS_client_method());
        if (ctx && SSL_CTX_set_min_proto_version(ctx, TLS1_3_VERSION) == 1) {
            SSL_CTX_set_verify(ctx, SSL_VERIFY_NONE, nullptr);
            ClientContext = ctx;
        } else {
            SSL_CTX_free(ctx);
        }
    }
    return ClientContext;
}

TlsLink *TlsLinkServer() { return NewLink(TlsServerContext(), true); }
TlsLink *TlsLinkClient() { return NewLink(TlsClientContext(), false); }

void TlsLinkFree(TlsLink *link) {
    if (!link) return;
    SSL_free(link->ssl);   // frees both buffers with it
    delete link;
}

bool TlsLinkStart(TlsLink *link, std::vector<uint8_t> *wire) { return Advance(link, wire); }

bool TlsLinkReceive(TlsLink *link, const uint8_t *bytes, size_t n, std::vector<uint8_t> *plain,
                    std::vector<uint8_t> *wire) {
    if (n && BIO_write(link->in, bytes, (int)n) != (int)n) return false;
    if (!Advance(link, wire)) return false;
    if (!link->established) return true;
    uint8_t buf[16384];
    for (;;) {
        int r = SSL_read(link->ssl, buf, sizeof buf);
        if (r > 0) {
            plain->insert(plain->end(), buf, buf + r);
            continue;
        }
        Collect(link, wire);
        return OnlyWaiting(link, r);   // a close_notify ends the channel too
    }
}

bool TlsLinkSend(TlsLink *link, const uint8_t *bytes, size_t n, std::vector<uint8_t> *wire) {
    if (!link->established) {
        link->early.insert(link->early.end(), bytes, bytes + n);
        return true;
    }
    size_t done = 0;
    while (done < n) {
        size_t part = n - done > (1u << 30) ? (1u << 30) : n - done;
        int r = SSL_write(link->ssl, bytes + done, (int)part);
        if (r <= 0) {
            Collect(link, wire);
            ERR_clear_error();
            return false;
        }
        done += (size_t)r;
        Collect(link, wire);
    }
    return true;
}

bool TlsLinkEstablished(const TlsLink *link) { return link && link->established; }

std::string TlsLinkPeerFingerprint(const TlsLink *link) {
    if (!link || !link->established) return std::string();
    X509 *cert = SSL_get1_peer_certificate(link->ssl);
    std::string print = TlsCertFingerprint(cert);
    X509_free(cert);
    return print;
}
