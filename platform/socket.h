// TCP sockets for the client and server run modes: POSIX non-blocking sockets
// whose readiness is announced as events to a window, so that the program's
// single thread learns of network traffic through its message wait.
//
// A socket is registered with a target window id and an event mask
// (PlSocketSelect). PlSocketPoll, called by the message wait, waits for
// readiness and hands each event to the queue's post function, which turns it
// into message 2000 for the window. Events are announced once and re-armed by
// the call that consumes them:
//   read     when data is waiting; again after a PlSocketReceive that leaves
//            data, or after the mask is set again;
//   accept   when a connection is waiting; again after PlSocketAccept;
//   connect  when a non-blocking connect ends (the error, if any, in the
//            high word); a successful connect is followed by write;
//   write    once when a connection is made (connect or accept), and again when
//            sending becomes possible after a send that would have blocked;
//   close    when the peer has closed (or reset) the connection and no
//            unread data is left, so that closing on this event loses nothing;
//   oob      when urgent data is waiting.
// An accepted socket takes the listening socket's window and mask.
// Accepted and connecting sockets have TCP keep-alive and no send delay.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Event bits (the values the window messages carry).
constexpr int kPlSockRead = 1;
constexpr int kPlSockWrite = 2;
constexpr int kPlSockOob = 4;
constexpr int kPlSockAccept = 8;
constexpr int kPlSockConnect = 16;
constexpr int kPlSockClose = 32;

// Error numbers reported by PlSocketLastError and in the high word of an
// event: these two, and otherwise the system's errno value.
constexpr int kPlSockWouldBlock = 10035;    // nothing to take or no room now
constexpr int kPlSockHostNotFound = 11001;  // the host name cannot be resolved

// Waits up to timeoutMs (-1 = forever) for readiness on the registered sockets and calls post(window, socket, eventBits)
// for each event; returns the number of events posted. Returns 0 at once when no socket is registered and timeoutMs is 0.
// eventBits holds the event in the low 16 bits and the error in the high 16 bits, the form of the message's second
// parameter. With no socket registered a positive time-out is slept and -1 returns 0 at once (nothing could wake it).
using PlSocketPost = void (*)(uint32_t window, int socket, int eventBits);
int PlSocketPoll(int timeoutMs, PlSocketPost post);
bool PlSocketsActive();  // any socket registered with a non-zero mask

// The error of the last failed call of this module (see above).
int PlSocketLastError();

// A listening socket bound to any local address and `port` (0 = a free port),
// with the given backlog; -1 on failure.
int PlSocketListen(uint16_t port, int backlog);
// Takes a waiting connection: a new non-blocking socket registered with the
// listener's window and mask; -1 with kPlSockWouldBlock when none is waiting.
int PlSocketAccept(int listener);
// Starts a non-blocking connection to host (a name or dotted IPv4 address) and
// port; the socket is returned at once and the connect event tells the
// outcome. -1 when the host is unknown or no socket can be made.
int PlSocketConnect(const char *host, uint16_t port);
// Waits up to timeoutMs for a connect started by PlSocketConnect to finish:
// 0 when connected, kPlSockWouldBlock when still in progress, else the error.
// A connect finished here is not announced again by a connect event.
int PlSocketConnectWait(int socket, int timeoutMs);
// Registers socket for `mask` events to `window`; mask 0 stops the events.
// Setting the mask re-arms read and accept, so waiting data is announced again.
bool PlSocketSelect(int socket, uint32_t window, int mask);
// Sends up to `length` bytes: the number taken, or -1 (kPlSockWouldBlock when
// the socket has no room now: the write event will follow).
long PlSocketSend(int socket, const void *data, size_t length);
// Receives up to `length` bytes: the number read, 0 when the peer has closed,
// -1 on error (kPlSockWouldBlock when nothing is waiting).
long PlSocketReceive(int socket, void *data, size_t length);
// Bytes waiting to be received, or -1.
long PlSocketAvailable(int socket);
// Closes a socket of this module and forgets its registration, dropping its
// events still waiting in the message queue; false for a socket this module
// did not make.
bool PlSocketClose(int socket);
// The local IPv4 address as dotted text (empty on failure) and the local port.
std::string PlSocketLocalAddress(int socket);
uint16_t PlSocketLocalPort(int socket);
// The address of the socket's peer as dotted text (empty on failure).
std::string PlSocketPeerAddress(int socket);
