// The previous-instance socket: claiming it, signalling the holder, and
// turning valid show requests into message 1024 for the frame window.
#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "platform/instance.h"
#include "platform/queue.h"
#include "platform/window.h"

namespace {
constexpr char kRequest[] = "ORVEL-SHOW\n";
constexpr int kRequestLen = sizeof kRequest - 1;
constexpr char kAnswer[] = "ORVEL-SHOWN\n";
constexpr int kAnswerLen = sizeof kAnswer - 1;

int gListen = -1;
std::string gFile;  // the socket file to remove on release (file mode only)

// The display part of the address, from the environment as this process
// sees it (the frame opens on that display).
std::string DisplayPart()
{
    return InstanceDisplayKey(std::getenv("DISPLAY"), std::getenv("WAYLAND_DISPLAY"));
}

std::string FileDir()
{
    const char *xdg = std::getenv("XDG_RUNTIME_DIR");
    if (xdg && *xdg) {
        struct stat st;
        if (stat(xdg, &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == getuid()) return xdg;
    }
    return "/tmp/orvel-" + std::to_string(getuid());
}

// The address for name; false when it does not fit.
bool MakeAddress(std::string_view name, bool useFile, sockaddr_un *addr, socklen_t *len, std::string *file)
{
    std::memset(addr, 0, sizeof *addr);
    addr->sun_family = AF_UNIX;
    std::string path;
    if (useFile) {
        path = FileDir() + "/" + std::string(name) + "-" + DisplayPart() + ".sock";
        if (path.size() + 1 > sizeof addr->sun_path) return false;
        std::memcpy(addr->sun_path, path.c_str(), path.size() + 1);
        *len = socklen_t(offsetof(sockaddr_un, sun_path) + path.size() + 1);
        if (file) *file = path;
        return true;
    }
    path = "orvel-" + std::to_string(getuid()) + "-" + DisplayPart() + "-" + std::string(name);
    if (path.size() + 1 > sizeof addr->sun_path) return false;
    std::memcpy(addr->sun_path + 1, path.data(), path.size());  // leading NUL: abstract
    *len = socklen_t(offsetof(sockaddr_un, sun_path) + 1 + path.size());
    if (file) file->clear();
    return true;
}

// Connects to the holder; -1 when nobody listens.
int ConnectTo(const sockaddr_un &addr, socklen_t len)
{
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    if (connect(fd, reinterpret_cast<const sockaddr *>(&addr), len) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

bool SameUser(int fd)
{
    ucred cred{};
    socklen_t len = sizeof cred;
    return getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cred, &len) == 0 && cred.uid == getuid();
}

// Reads `len` bytes of one connection, waiting at most `ms` for each
// part, and compares them with `expected`; false on a short read or other bytes.
bool ReadExactly(int fd, const char *expected, int len, int ms)
{
    char buf[32];
    int got = 0;
    while (got < len) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, ms) <= 0) return false;
        ssize_t n = read(fd, buf + got, size_t(len - got));
        if (n <= 0) return false;
        got += int(n);
    }
    return std::memcmp(buf, expected, size_t(len)) == 0;
}
}  // namespace

// An X display name is [host]:display[.screen]; a missing screen is
// screen 0, so ":1" and ":1.0" are one key. Characters that cannot stand in
// a file name become '_'.
std::string InstanceDisplayKey(const char *x11, const char *wayland)
{
    std::string key;
    if (x11 && *x11) {
        key = x11;
        size_t colon = key.rfind(':');
        if (colon != std::string::npos && key.find('.', colon) == std::string::npos) key += ".0";
        key = "x" + key;
    } else if (wayland && *wayland) {
        key = std::string("w:") + wayland;
    } else {
        return "none";
    }
    for (char &c : key)
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '-'))
            c = '_';
    return key;
}

std::string InstanceAddress(std::string_view name, bool useFile)
{
    sockaddr_un addr;
    socklen_t len;
    std::string file;
    if (!MakeAddress(name, useFile, &addr, &len, &file)) return std::string();
    if (useFile) return file;
    return "@" + std::string(addr.sun_path + 1, len - offsetof(sockaddr_un, sun_path) - 1);
}

PlInstanceRole InstanceClaim(std::string_view name, bool useFile)
{
    if (gListen >= 0) return PlInstanceRole::First;
    sockaddr_un addr;
    socklen_t len;
    std::string file;
    if (!MakeAddress(name, useFile, &addr, &len, &file)) return PlInstanceRole::Failed;
    if (useFile) {
        std::string dir = FileDir();
        if (mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) return PlInstanceRole::Failed;
        struct stat st;
        // A directory of another user (or open to others) is not trusted.
        if (stat(dir.c_str(), &st) != 0 || st.st_uid != getuid() || (st.st_mode & 077) != 0)
            return PlInstanceRole::Failed;
    }
    for (int attempt = 0; attempt < 2; ++attempt) {
        int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        if (fd < 0) return PlInstanceRole::Failed;
        if (bind(fd, reinterpret_cast<const sockaddr *>(&addr), len) == 0 && listen(fd, 4) == 0) {
            gListen = fd;
            gFile = file;
            return PlInstanceRole::First;
        }
        int err = errno;
        close(fd);
        if (err != EADDRINUSE) {
            // No abstract namespace here: fall back to a socket file.
            if (!useFile) return InstanceClaim(name, true);
            return PlInstanceRole::Failed;
        }
        int probe = ConnectTo(addr, len);
        if (probe >= 0) {
            close(probe);
            return PlInstanceRole::Second;
        }
        // A socket file left by an instance that ended: remove it and retry.
        if (!useFile || unlink(file.c_str()) != 0) return PlInstanceRole::Failed;
    }
    return PlInstanceRole::Failed;
}

bool InstanceSignal(std::string_view name, bool useFile, int answerMs)
{
    sockaddr_un addr;
    socklen_t len;
    if (!MakeAddress(name, useFile, &addr, &len, nullptr)) return false;
    int fd = ConnectTo(addr, len);
    // A holder without the abstract namespace listens on its socket file.
    if (fd < 0) return !useFile && InstanceSignal(name, true, answerMs);
    bool ok = send(fd, kRequest, size_t(kRequestLen), MSG_NOSIGNAL) == kRequestLen;
    if (ok && answerMs > 0) ok = ReadExactly(fd, kAnswer, kAnswerLen, answerMs);
    close(fd);
    return ok;
}

void InstanceRelease()
{
    if (gListen >= 0) close(gListen);
    gListen = -1;
    if (!gFile.empty()) unlink(gFile.c_str());
    gFile.clear();
}

bool InstanceHeld() { return gListen >= 0; }

bool InstancePoll()
{
    if (gListen < 0) return false;
    bool posted = false;
    for (;;) {
        int fd = accept4(gListen, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) break;
        bool valid = SameUser(fd) && ReadExactly(fd, kRequest, kRequestLen, 200);
        uint32_t frame = valid ? WinFindTopLevel("m4frame") : 0;
        if (frame && MsgPost(frame, PlMsg::User, 0, 0)) {
            posted = true;
            // The sender may have stopped waiting: no signal for a closed peer.
            (void)send(fd, kAnswer, size_t(kAnswerLen), MSG_NOSIGNAL);
        }
        close(fd);
    }
    return posted;
}

bool InstanceWait(int timeoutMs)
{
    if (gListen < 0) return false;
    pollfd p{gListen, POLLIN, 0};
    return poll(&p, 1, timeoutMs) > 0;
}
