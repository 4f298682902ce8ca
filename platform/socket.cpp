// Non-blocking TCP sockets with window-event registration, polled by the
// message wait (see socket.h for the event rules). Every socket this module
// makes is kept in a registry with its target window, its mask, its state and
// which events have been announced and not yet consumed.
#include "platform/socket.h"

#include "platform/queue.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <vector>

namespace {

enum class SockState : uint8_t { Listening, Connecting, Connected, Failed, Ended };

struct SockEntry {
    uint32_t window = 0;
    int mask = 0;
    SockState state = SockState::Connected;
    bool readPosted = false;    // read announced, not yet consumed by a receive
    bool acceptPosted = false;  // accept announced, not yet consumed by an accept
    bool oobPosted = false;
    bool writeArmed = false;    // announce write when the socket can take data
    bool closePosted = false;
};

std::map<int, SockEntry> gSockets;
int gLastError = 0;

int Fail(int error)
{
    gLastError = error;
    return -1;
}

int ErrnoCode(int e) { return (e == EAGAIN || e == EWOULDBLOCK) ? kPlSockWouldBlock : e; }

bool MakeNonBlocking(int fd)
{
    int flags = ::fcntl(fd, F_GETFL, 0);
    return flags >= 0 && ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0;
}

int PendingError(int fd)
{
    int err = 0;
    socklen_t len = sizeof err;
    if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &len) != 0) return errno;
    return err;
}

SockEntry *Find(int fd)
{
    auto it = gSockets.find(fd);
    return it == gSockets.end() ? nullptr : &it->second;
}

// Ends a connect that poll or a wait found finished.
void FinishConnect(SockEntry &e, int error)
{
    e.state = error == 0 ? SockState::Connected : SockState::Failed;
    e.writeArmed = error == 0;
}

// The poll events a registered socket waits for now (0 = none).
short Interest(const SockEntry &e)
{
    short ev = 0;
    switch (e.state) {
    case SockState::Listening:
        if ((e.mask & kPlSockAccept) && !e.acceptPosted) ev |= POLLIN;
        break;
    case SockState::Connecting:
        ev |= POLLOUT;  // completion is tracked whatever the mask
        break;
    case SockState::Connected:
        // Waiting data is level-triggered: while an announced read is not yet
        // consumed the socket is not watched for input, or the wait would spin.
        // Without read interest only the peer's close is watched.
        if ((e.mask & kPlSockRead) && !e.readPosted) ev |= POLLIN;
        else if (!(e.mask & kPlSockRead) && (e.mask & kPlSockClose) && !e.closePosted) ev |= POLLRDHUP;
        if ((e.mask & kPlSockWrite) && e.writeArmed) ev |= POLLOUT;
        if ((e.mask & kPlSockOob) && !e.oobPosted) ev |= POLLPRI;
        break;
    case SockState::Failed:
    case SockState::Ended:
        break;
    }
    return ev;
}

struct Pending {
    uint32_t window;
    int socket;
    int bits;
};

}  // namespace

int PlSocketLastError() { return gLastError; }

bool PlSocketsActive()
{
    for (const auto &[fd, e] : gSockets)
        if (e.mask != 0) return true;
    return false;
}

int PlSocketPoll(int timeoutMs, PlSocketPost post)
{
    std::vector<pollfd> fds;
    for (const auto &[fd, e] : gSockets) {
        if (e.mask == 0 && e.state != SockState::Connecting) continue;
        short ev = Interest(e);
        if (ev != 0) fds.push_back(pollfd{fd, ev, 0});
    }
    if (fds.empty()) {
        // Nothing to wait on: sleep a bounded wait, never an endless one.
        if (timeoutMs > 0) ::poll(nullptr, 0, timeoutMs);
        return 0;
    }
    int ready = ::poll(fds.data(), fds.size(), timeoutMs);
    if (ready <= 0) return 0;  // time-out or a signal

    // Decide every event first and post afterwards, so that a post function
    // that reaches back into this module sees a consistent registry.
    std::vector<Pending> out;
    for (const pollfd &p : fds) {
        if (p.revents == 0) continue;
        SockEntry *e = Find(p.fd);
        if (e == nullptr) continue;
        auto emit = [&](int bit, int error) {
            if (e->mask & bit) out.push_back(Pending{e->window, p.fd, bit | ((error & 0xFFFF) << 16)});
        };
        if (e->state == SockState::Listening) {
            if (p.revents & POLLIN) {
                e->acceptPosted = true;
                emit(kPlSockAccept, 0);
            }
            continue;
        }
        if (e->state == SockState::Connecting) {
            int err = PendingError(p.fd);
            FinishConnect(*e, err);
            emit(kPlSockConnect, err);
            if (err == 0 && (e->mask & kPlSockWrite)) {
                e->writeArmed = false;
                emit(kPlSockWrite, 0);
            }
            continue;
        }
        if (e->state != SockState::Connected) continue;
        if (p.revents & (POLLIN | POLLRDHUP | POLLHUP | POLLERR)) {
            int waiting = 0;
            if (::ioctl(p.fd, FIONREAD, &waiting) != 0) waiting = 0;
            bool reading = (e->mask & kPlSockRead) != 0;
            if (waiting > 0 && reading) {
                if (!e->readPosted) {
                    e->readPosted = true;
                    emit(kPlSockRead, 0);
                }
            } else if (!e->closePosted && (waiting == 0 || (p.revents & (POLLRDHUP | POLLHUP | POLLERR)))) {
                // Readable with nothing to read: the peer closed or reset.
                e->closePosted = true;
                e->state = SockState::Ended;
                emit(kPlSockClose, PendingError(p.fd));
            }
        }
        if ((p.revents & POLLOUT) && e->writeArmed && e->state == SockState::Connected) {
            e->writeArmed = false;
            emit(kPlSockWrite, 0);
        }
        if ((p.revents & POLLPRI) && !e->oobPosted) {
            e->oobPosted = true;
            emit(kPlSockOob, 0);
        }
    }
    for (const Pending &p : out) post(p.window, p.socket, p.bits);
    return int(out.size());
}

int PlSocketListen(uint16_t port, int backlog)
{
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return Fail(errno);
    int one = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_ANY);
    addr.sin_port = htons(port);
    if (::bind(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) != 0 || ::listen(fd, backlog) != 0 ||
        !MakeNonBlocking(fd)) {
        int err = errno;
        ::close(fd);
        return Fail(err);
    }
    SockEntry e;
    e.state = SockState::Listening;
    gSockets[fd] = e;
    return fd;
}

int PlSocketAccept(int listener)
{
    SockEntry *l = Find(listener);
    if (l == nullptr || l->state != SockState::Listening) return Fail(EBADF);
    l->acceptPosted = false;
    int fd = ::accept4(listener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) return Fail(ErrnoCode(errno));
    int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    // Keep-alive finds a peer that vanished without a word (a dead machine).
    ::setsockopt(fd, SOL_SOCKET, SO_KEEPALIVE, &one, sizeof one);
    SockEntry e;
    e.window = l->window;
    e.mask = l->mask;
    e.state = SockState::Connected;
    e.writeArmed = true;
    gSockets[fd] = e;
    return fd;
}

int PlSocketConnect(const char *host, uint16_t port)
{
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo *found = nullptr;
    if (host == nullptr || ::getaddrinfo(host, nullptr, &hints, &found) != 0 || found == nullptr)
        return Fail(kPlSockHostNotFound);
    sockaddr_in addr{};
    std::memcpy(&addr, found->ai_addr, sizeof addr);
    ::freeaddrinfo(found);
    addr.sin_port = htons(port);
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return Fail(errno);
    int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    // Keep-alive finds a peer that vanished without a word (a dead machine).
    ::setsockopt(fd, SOL_SOCKET, SO_KEEPALIVE, &one, sizeof one);
    SockEntry e;
    if (::connect(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) == 0) {
        e.state = SockState::Connecting;  // announced by the next poll like a slow one
    } else if (errno == EINPROGRESS) {
        e.state = SockState::Connecting;
    } else {
        int err = errno;
        ::close(fd);
        return Fail(err);
    }
    gSockets[fd] = e;
    return fd;
}

int PlSocketConnectWait(int socket, int timeoutMs)
{
    SockEntry *e = Find(socket);
    if (e == nullptr) return EBADF;
    if (e->state == SockState::Connected) return 0;
    if (e->state != SockState::Connecting) return ENOTCONN;
    pollfd p{socket, POLLOUT, 0};
    int ready = ::poll(&p, 1, timeoutMs);
    if (ready < 0) return errno;
    if (ready == 0) return kPlSockWouldBlock;
    int err = PendingError(socket);
    FinishConnect(*e, err);
    return err;
}

bool PlSocketSelect(int socket, uint32_t window, int mask)
{
    SockEntry *e = Find(socket);
    if (e == nullptr) {
        gLastError = EBADF;
        return false;
    }
    e->window = window;
    e->mask = mask;
    e->readPosted = false;
    e->acceptPosted = false;
    e->oobPosted = false;
    return true;
}

long PlSocketSend(int socket, const void *data, size_t length)
{
    SockEntry *e = Find(socket);
    if (e == nullptr) return Fail(EBADF);
    ssize_t n = ::send(socket, data, length, MSG_NOSIGNAL);
    if (n < 0) {
        int err = ErrnoCode(errno);
        if (err == kPlSockWouldBlock) e->writeArmed = true;
        return Fail(err);
    }
    return long(n);
}

long PlSocketReceive(int socket, void *data, size_t length)
{
    SockEntry *e = Find(socket);
    if (e == nullptr) return Fail(EBADF);
    e->readPosted = false;
    e->oobPosted = false;
    ssize_t n = ::recv(socket, data, length, 0);
    if (n < 0) return Fail(ErrnoCode(errno));
    return long(n);
}

long PlSocketAvailable(int socket)
{
    if (Find(socket) == nullptr) return Fail(EBADF);
    int waiting = 0;
    if (::ioctl(socket, FIONREAD, &waiting) != 0) return Fail(errno);
    return waiting;
}

bool PlSocketClose(int socket)
{
    auto it = gSockets.find(socket);
    if (it == gSockets.end()) {
        gLastError = EBADF;
        return false;
    }
    gSockets.erase(it);
    MsgDropSocketEvents(socket);
    return ::close(socket) == 0;
}

// The IPv4 address of one end of a socket as dotted text; empty on failure.
static std::string SocketAddressText(int socket, bool peer)
{
    sockaddr_in addr{};
    socklen_t len = sizeof addr;
    int got = peer ? ::getpeername(socket, reinterpret_cast<sockaddr *>(&addr), &len)
                   : ::getsockname(socket, reinterpret_cast<sockaddr *>(&addr), &len);
    if (got != 0 || addr.sin_family != AF_INET) return std::string();
    char text[INET_ADDRSTRLEN] = {};
    if (::inet_ntop(AF_INET, &addr.sin_addr, text, sizeof text) == nullptr) return std::string();
    return text;
}

std::string PlSocketLocalAddress(int socket) { return SocketAddressText(socket, false); }

std::string PlSocketPeerAddress(int socket) { return SocketAddressText(socket, true); }

uint16_t PlSocketLocalPort(int socket)
{
    sockaddr_in addr{};
    socklen_t len = sizeof addr;
    if (::getsockname(socket, reinterpret_cast<sockaddr *>(&addr), &len) != 0 || addr.sin_family != AF_INET) return 0;
    return ntohs(addr.sin_port);
}
