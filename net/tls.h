// tls.h - the encrypted channel between client and server: TLS 1.3
// through OpenSSL. Every connection of the connection table carries a
// TlsLink that turns the socket's bytes into the protocol's plain frames
// and back; the server's key and self-signed certificate live beside the
// company file; the client pins the fingerprint of the certificate its
// server showed first and refuses a changed one. docs/protocol.md
// describes the channel as a peer sees it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// ---- The server's key and certificate (tls_certificate.cpp) ----

// The key and certificate files of a company file: its path with the
// extension replaced by ".KEY" and ".CRT".
std::string TlsKeyPath(const std::string &companyPath);
std::string TlsCertPath(const std::string &companyPath);
// Loads the key and certificate beside companyPath, making both when
// neither is there (the server's first start); the server's links use
// them from then on. False with *why when they cannot be read or made
// (one without the other, a damaged file, a folder that cannot be
// written): the server then takes no connection.
bool TlsServerKeyLoad(const std::string &companyPath, std::string *why);
// Forgets the loaded key (the server stops taking connections).
void TlsServerKeyDrop();
bool TlsServerReady();
// The SHA-256 fingerprint of the loaded certificate as 64 hex digits
// (empty when none is loaded).
std::string TlsServerFingerprint();

// ---- One connection's channel (tls_channel.cpp) ----

struct TlsLink;
// A server or client end; null when the server has no key.
TlsLink *TlsLinkServer();
TlsLink *TlsLinkClient();
void TlsLinkFree(TlsLink *link);
// The client's first flight: appends the bytes to send to *wire.
bool TlsLinkStart(TlsLink *link, std::vector<uint8_t> *wire);
// Takes n bytes from the socket: plain bytes they complete are appended
// to *plain, bytes the channel must send (handshake, alerts) to *wire.
// False when the peer broke the channel (a bad handshake, a forged or
// damaged record, plain bytes where TLS was due): the connection is to
// be closed.
bool TlsLinkReceive(TlsLink *link, const uint8_t *bytes, size_t n, std::vector<uint8_t> *plain,
                    std::vector<uint8_t> *wire);
// Seals n plain bytes into *wire; before the handshake has ended they
// wait inside the link and leave with its end.
bool TlsLinkSend(TlsLink *link, const uint8_t *bytes, size_t n, std::vector<uint8_t> *wire);
bool TlsLinkEstablished(const TlsLink *link);
// The SHA-256 fingerprint of the certificate the peer showed (64 hex
// digits; empty before the handshake ended or when it showed none).
std::string TlsLinkPeerFingerprint(const TlsLink *link);

// Benchmarks and tests only: connections carry plain frames. Nothing the
// program reads (settings file, command line, interface file) sets it.
extern bool TlsChannelOffForTests;

// ---- The client's known servers (tls_pins.cpp) ----

// The file of known servers, beside QVTCP.INI: one line per server,
// "host port fingerprint".
extern std::string TlsPinFile;
// The fingerprint pinned for host:port, or empty when the server is new.
std::string TlsPinFind(const std::string &host, uint16_t port);
// Pins a new server's fingerprint; false when the file cannot be written.
bool TlsPinAdd(const std::string &host, uint16_t port, const std::string &fingerprint);

// ---- A blocking channel over a connected socket (tls_socket.cpp) ----

// For programs that speak the protocol with raw frames over a blocking
// socket (the load benchmark, the tests): the TLS handshake and then
// plain reads and writes. The server's certificate is not checked here.
struct TlsSocket;
// Shakes hands on fd within ms, as the client or (with the loaded key)
// as the server; null on failure. fd stays the caller's to close.
TlsSocket *TlsSocketOpen(int fd, bool server, int ms);
void TlsSocketFree(TlsSocket *s);
// Writes all n bytes; false on a broken channel.
bool TlsSocketWrite(TlsSocket *s, const void *bytes, size_t n);
// Reads at most n bytes, waiting up to ms: the count, 0 when the peer
// closed, -1 on a time-out or error.
long TlsSocketRead(TlsSocket *s, void *bytes, size_t n, int ms);
std::string TlsSocketPeerFingerprint(TlsSocket *s);
