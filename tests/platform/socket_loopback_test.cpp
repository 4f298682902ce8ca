// Sockets over loopback: accept, connect, read with re-announcement, write
// after a blocked send, close after the last data, refused connections, and
// the poll contract with nothing registered.
#include <gtest/gtest.h>
#include <poll.h>

#include <cerrno>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "platform/socket.h"

namespace {

struct Event {
    uint32_t window;
    int socket;
    int bits;
};

std::vector<Event> gEvents;

void Record(uint32_t window, int socket, int bits) { gEvents.push_back(Event{window, socket, bits}); }

// Polls until pred() holds or two seconds pass; returns pred().
bool PumpUntil(const std::function<bool()> &pred)
{
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (!pred() && std::chrono::steady_clock::now() < end) PlSocketPoll(20, Record);
    return pred();
}

int CountEvents(int socket, int bit)
{
    int n = 0;
    for (const Event &e : gEvents) n += e.socket == socket && (e.bits & 0xFFFF) == bit;
    return n;
}

const Event *FindEvent(int socket, int bit)
{
    for (const Event &e : gEvents)
        if (e.socket == socket && (e.bits & 0xFFFF) == bit) return &e;
    return nullptr;
}

constexpr int kAll = kPlSockRead | kPlSockWrite | kPlSockAccept | kPlSockConnect | kPlSockClose;

}  // namespace

TEST(SocketLoopback, AcceptConnectReadClose)
{
    gEvents.clear();
    EXPECT_FALSE(PlSocketsActive());
    EXPECT_EQ(PlSocketPoll(0, Record), 0);

    int listener = PlSocketListen(0, 5);
    ASSERT_GE(listener, 0);
    uint16_t port = PlSocketLocalPort(listener);
    ASSERT_NE(port, 0);
    ASSERT_TRUE(PlSocketSelect(listener, 7, kAll));
    EXPECT_TRUE(PlSocketsActive());

    int client = PlSocketConnect("127.0.0.1", port);
    ASSERT_GE(client, 0);
    ASSERT_TRUE(PlSocketSelect(client, 9, kAll));
    ASSERT_TRUE(PumpUntil([&] { return FindEvent(listener, kPlSockAccept) && FindEvent(client, kPlSockWrite); }));
    const Event *accept = FindEvent(listener, kPlSockAccept);
    EXPECT_EQ(accept->window, 7u);
    const Event *connect = FindEvent(client, kPlSockConnect);
    ASSERT_NE(connect, nullptr);
    EXPECT_EQ(connect->window, 9u);
    EXPECT_EQ(connect->bits >> 16, 0);  // no error
    EXPECT_EQ(PlSocketLocalAddress(client), "127.0.0.1");

    int server = PlSocketAccept(listener);
    ASSERT_GE(server, 0);
    EXPECT_EQ(PlSocketAccept(listener), -1);
    EXPECT_EQ(PlSocketLastError(), kPlSockWouldBlock);
    // The accepted socket inherits the listener's window and announces write once.
    ASSERT_TRUE(PumpUntil([&] { return FindEvent(server, kPlSockWrite) != nullptr; }));
    EXPECT_EQ(FindEvent(server, kPlSockWrite)->window, 7u);

    // Read: announced once until a receive; re-announced while data is left.
    char buf[16] = {};
    EXPECT_EQ(PlSocketReceive(server, buf, sizeof buf), -1);
    EXPECT_EQ(PlSocketLastError(), kPlSockWouldBlock);
    ASSERT_EQ(PlSocketSend(client, "hello", 5), 5);
    gEvents.clear();
    ASSERT_TRUE(PumpUntil([&] { return CountEvents(server, kPlSockRead) == 1; }));
    EXPECT_EQ(PlSocketAvailable(server), 5);
    for (int i = 0; i < 5; i++) PlSocketPoll(10, Record);
    EXPECT_EQ(CountEvents(server, kPlSockRead), 1);
    EXPECT_EQ(PlSocketReceive(server, buf, 2), 2);
    ASSERT_TRUE(PumpUntil([&] { return CountEvents(server, kPlSockRead) == 2; }));
    EXPECT_EQ(PlSocketReceive(server, buf + 2, sizeof buf - 2), 3);
    EXPECT_EQ(std::string(buf, 5), "hello");
    for (int i = 0; i < 5; i++) PlSocketPoll(10, Record);
    EXPECT_EQ(CountEvents(server, kPlSockRead), 2);
    // Selecting again re-arms read while data waits.
    ASSERT_EQ(PlSocketSend(client, "ab", 2), 2);
    ASSERT_TRUE(PumpUntil([&] { return CountEvents(server, kPlSockRead) == 3; }));
    ASSERT_TRUE(PlSocketSelect(server, 7, kAll & ~kPlSockRead));
    ASSERT_TRUE(PlSocketSelect(server, 7, kAll));
    ASSERT_TRUE(PumpUntil([&] { return CountEvents(server, kPlSockRead) == 4; }));

    // Data then close: the last read comes before the close.
    ASSERT_EQ(PlSocketSend(client, "xyz", 3), 3);
    ASSERT_TRUE(PlSocketClose(client));
    EXPECT_FALSE(PlSocketClose(client));  // no longer ours
    for (int i = 0; i < 5; i++) PlSocketPoll(10, Record);
    EXPECT_EQ(CountEvents(server, kPlSockClose), 0);  // "abxyz" still unread
    EXPECT_EQ(PlSocketReceive(server, buf, sizeof buf), 5);
    ASSERT_TRUE(PumpUntil([&] { return CountEvents(server, kPlSockClose) == 1; }));
    EXPECT_EQ(PlSocketReceive(server, buf, sizeof buf), 0);

    EXPECT_TRUE(PlSocketClose(server));
    EXPECT_TRUE(PlSocketClose(listener));
    EXPECT_FALSE(PlSocketsActive());
}

TEST(SocketLoopback, WriteAfterBlockedSendAndFailures)
{
    gEvents.clear();
    int listener = PlSocketListen(0, 5);
    ASSERT_GE(listener, 0);
    uint16_t port = PlSocketLocalPort(listener);
    ASSERT_TRUE(PlSocketSelect(listener, 1, kPlSockAccept));
    int client = PlSocketConnect("localhost", port);
    ASSERT_GE(client, 0);
    EXPECT_EQ(PlSocketConnectWait(client, 2000), 0);
    ASSERT_TRUE(PumpUntil([&] { return FindEvent(listener, kPlSockAccept) != nullptr; }));
    int server = PlSocketAccept(listener);
    ASSERT_GE(server, 0);
    ASSERT_TRUE(PlSocketSelect(server, 1, kPlSockRead));
    ASSERT_TRUE(PlSocketSelect(client, 2, kPlSockWrite | kPlSockConnect));
    // A connect finished by the wait is not announced; its write is.
    ASSERT_TRUE(PumpUntil([&] { return FindEvent(client, kPlSockWrite) != nullptr; }));
    EXPECT_EQ(FindEvent(client, kPlSockConnect), nullptr);

    // Fill the connection until a send would block; draining it brings write.
    gEvents.clear();
    std::vector<char> chunk(65536, 'q');
    long sent = 0;
    for (int i = 0; i < 2000; i++) {
        long n = PlSocketSend(client, chunk.data(), chunk.size());
        if (n < 0) break;
        sent += n;
    }
    ASSERT_EQ(PlSocketLastError(), kPlSockWouldBlock);
    EXPECT_EQ(FindEvent(client, kPlSockWrite), nullptr);
    long got = 0;
    ASSERT_TRUE(PumpUntil([&] {
        long n;
        while ((n = PlSocketReceive(server, chunk.data(), chunk.size())) > 0) got += n;
        return FindEvent(client, kPlSockWrite) != nullptr;
    }));
    EXPECT_EQ(CountEvents(client, kPlSockWrite), 1);
    EXPECT_GT(got, 0);
    EXPECT_LE(got, sent);

    // A refused connection reports its error with the connect event.
    ASSERT_TRUE(PlSocketClose(listener));
    gEvents.clear();
    int refused = PlSocketConnect("127.0.0.1", port);
    ASSERT_GE(refused, 0);
    ASSERT_TRUE(PlSocketSelect(refused, 3, kPlSockConnect | kPlSockWrite));
    ASSERT_TRUE(PumpUntil([&] { return FindEvent(refused, kPlSockConnect) != nullptr; }));
    EXPECT_EQ(FindEvent(refused, kPlSockConnect)->bits >> 16, ECONNREFUSED);
    EXPECT_EQ(FindEvent(refused, kPlSockWrite), nullptr);

    EXPECT_EQ(PlSocketConnect("", port), -1);
    EXPECT_EQ(PlSocketLastError(), kPlSockHostNotFound);
    EXPECT_FALSE(PlSocketSelect(12345, 1, kAll));
    EXPECT_TRUE(PlSocketClose(refused));
    EXPECT_TRUE(PlSocketClose(client));
    EXPECT_TRUE(PlSocketClose(server));
    EXPECT_FALSE(PlSocketsActive());
}
