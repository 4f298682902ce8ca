// The message wait with a screen and sockets both open (a server or a
// client with its window shown): a request arriving during the wait
// wakes it at once, not at the end of a slice spent waiting on the screen.
// Skipped when no display is present.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

#include "platform/display.h"
#include "platform/queue.h"
#include "platform/socket.h"
#include "platform/window.h"

namespace {

using Clock = std::chrono::steady_clock;

TEST(QueueSocketWake, ARequestWakesAWaitThatAlsoWatchesTheScreen)
{
    std::string error;
    if (!DisplayOpen(PlDisplayKind::Screen, &error)) GTEST_SKIP() << error;
    WinResetAll();
    int listener = PlSocketListen(0, 1);
    ASSERT_GE(listener, 0);
    int peer = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(PlSocketLocalPort(listener));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::connect(peer, reinterpret_cast<sockaddr *>(&a), sizeof a), 0);
    int served = -1;
    for (int i = 0; i < 100 && served < 0; i++) {
        served = PlSocketAccept(listener);
        if (served < 0) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_GE(served, 0);
    ASSERT_TRUE(PlSocketSelect(served, 0, kPlSockRead));
    PlMessage m;
    while (MsgGetTimeout(&m, 20) == PlGet::Message) {
    }

    // Bytes sent at moments spread over a wait's slices; the lateness is
    // the time from the send to the wait's return with the socket's event.
    std::vector<double> late;
    for (int trial = 0; trial < 20; trial++) {
        Clock::time_point sent;
        std::thread sender([&] {
            std::this_thread::sleep_for(std::chrono::microseconds(20000 + 700 * trial));
            sent = Clock::now();
            char b = 'x';
            ASSERT_EQ(::send(peer, &b, 1, 0), 1);
        });
        PlGet got = MsgGetTimeout(&m, 1000);
        Clock::time_point woke = Clock::now();
        sender.join();
        ASSERT_EQ(got, PlGet::Message);
        ASSERT_EQ(m.msg, PlMsg::Socket);
        late.push_back(std::chrono::duration<double, std::milli>(woke - sent).count());
        char b;
        ASSERT_EQ(PlSocketReceive(served, &b, 1), 1);
    }
    std::sort(late.begin(), late.end());
    // A wait that looks at the sockets only between 10 ms screen slices
    // is about 5 ms late half the time.
    EXPECT_LT(late[late.size() / 2], 2.5) << "median lateness in ms";
    ::close(peer);
    PlSocketClose(served);
    PlSocketClose(listener);
    DisplayClose();
    WinResetAll();
}

}  // namespace
