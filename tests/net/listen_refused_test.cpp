// A server that cannot listen names the port the user chose and the reason
// in words, not a bare error number that reads like a port.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/message_sink.h"
#include "net/net.h"
#include "platform/socket.h"

namespace {

std::vector<std::string> Said;
void Record(const char *text) { Said.emplace_back(text); }

}  // namespace

TEST(NetListen, ATakenPortIsToldByItsNumber)
{
    const int taken = PlSocketListen(0, 4);
    ASSERT_GE(taken, 0);
    const uint16_t port = PlSocketLocalPort(taken);
    ASSERT_NE(port, 0);

    Said.clear();
    MessageSink before = MessageSinkSet(Record);
    NetTableInit(NetRole::Client, nullptr, nullptr);
    const bool listened = NetServerListen(port, 0);
    NetShutdown();
    MessageSinkSet(before);
    PlSocketClose(taken);

    EXPECT_FALSE(listened);
    ASSERT_EQ(Said.size(), 1u);
    const std::string expected = "Unable to listen on server port " + std::to_string(port) + ": ";
    EXPECT_EQ(Said[0].rfind(expected, 0), 0u) << Said[0];
    EXPECT_NE(Said[0].find("in use"), std::string::npos) << Said[0];
}
