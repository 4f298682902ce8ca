// The encrypted channel: the server's key and certificate beside the
// company file, two links talking through memory, a server that takes
// nothing in clear, and the client's pinning of its server.
#include <sys/stat.h>

#include <algorithm>
#include <fstream>

#include "tests/net/net_fixture.h"

using namespace nettest;

namespace {

std::string TempBase(const char *name) {
    return ::testing::TempDir() + "orvel_" + name + "_" + std::to_string(getpid()) + ".VDB";
}

void RemoveKey(const std::string &base) {
    std::remove(TlsKeyPath(base).c_str());
    std::remove(TlsCertPath(base).c_str());
}

// Carries bytes between a client and a server link until neither has
// more to say; false when either refused what it got.
bool Exchange(TlsLink *client, TlsLink *server, std::vector<uint8_t> *toServer, std::vector<uint8_t> *plainAtServer,
              std::vector<uint8_t> *plainAtClient) {
    std::vector<uint8_t> toClient;
    for (int round = 0; round < 10 && (!toServer->empty() || !toClient.empty()); round++) {
        std::vector<uint8_t> in;
        in.swap(*toServer);
        if (!in.empty() && !TlsLinkReceive(server, in.data(), in.size(), plainAtServer, &toClient)) return false;
        in.clear();
        in.swap(toClient);
        if (!in.empty() && !TlsLinkReceive(client, in.data(), in.size(), plainAtClient, toServer)) return false;
    }
    return true;
}

std::vector<std::string> Shown;
void Record(const char *text) { Shown.emplace_back(text); }

}  // namespace

TEST(NetChannelKey, MadeOnceBesideTheCompanyAndRefusedWhenHalfOrDamaged) {
    std::string base = TempBase("key"), why;
    RemoveKey(base);
    ASSERT_TRUE(TlsServerKeyLoad(base, &why)) << why;
    std::string first = TlsServerFingerprint();
    EXPECT_EQ(first.size(), 64u);
    struct stat st;
    ASSERT_EQ(stat(TlsKeyPath(base).c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 077, 0u) << "the private key is readable by others";
    // A later start loads the same key: the clients' pins still hold.
    ASSERT_TRUE(TlsServerKeyLoad(base, &why)) << why;
    EXPECT_EQ(TlsServerFingerprint(), first);

    // A certificate without its key is not replaced by a new pair.
    std::remove(TlsKeyPath(base).c_str());
    EXPECT_FALSE(TlsServerKeyLoad(base, &why));
    EXPECT_FALSE(TlsServerReady());
    EXPECT_NE(why.find(".KEY"), std::string::npos) << why;
    struct stat none;
    EXPECT_NE(stat(TlsKeyPath(base).c_str(), &none), 0) << "a key was made beside a kept certificate";

    // A damaged certificate is said, not used.
    RemoveKey(base);
    ASSERT_TRUE(TlsServerKeyLoad(base, &why)) << why;
    std::ofstream(TlsCertPath(base), std::ios::trunc) << "-----BEGIN CERTIFICATE-----\nAAAA\n";
    EXPECT_FALSE(TlsServerKeyLoad(base, &why));
    EXPECT_FALSE(TlsServerKeyLoad("", &why)) << "no company, no key";
    RemoveKey(base);
    TlsServerKeyDrop();
}

TEST(NetChannelLink, CarriesBytesBothWaysAndRefusesForgedOrPlainBytes) {
    std::string base = TempBase("link"), why;
    RemoveKey(base);
    ASSERT_TRUE(TlsServerKeyLoad(base, &why)) << why;
    TlsLink *client = TlsLinkClient(), *server = TlsLinkServer();
    ASSERT_TRUE(client && server);
    std::vector<uint8_t> wire, atServer, atClient;
    // Plain bytes given before the handshake ended leave with its end.
    const uint8_t early[] = {1, 2, 3, 4, 5};
    ASSERT_TRUE(TlsLinkSend(client, early, sizeof early, &wire));
    EXPECT_TRUE(wire.empty());
    ASSERT_TRUE(TlsLinkStart(client, &wire));
    ASSERT_TRUE(Exchange(client, server, &wire, &atServer, &atClient));
    EXPECT_TRUE(TlsLinkEstablished(client));
    EXPECT_TRUE(TlsLinkEstablished(server));
    EXPECT_EQ(atServer, std::vector<uint8_t>(early, early + sizeof early));
    EXPECT_EQ(TlsLinkPeerFingerprint(client), TlsServerFingerprint());

    std::vector<uint8_t> big(100000);
    for (size_t i = 0; i < big.size(); i++) big[i] = uint8_t(i * 7);
    std::vector<uint8_t> sealed;
    ASSERT_TRUE(TlsLinkSend(server, big.data(), big.size(), &sealed));
    EXPECT_EQ(std::search(sealed.begin(), sealed.end(), big.begin() + 1000, big.begin() + 1064), sealed.end())
        << "plain bytes on the wire";
    ASSERT_TRUE(TlsLinkReceive(client, sealed.data(), sealed.size(), &atClient, &wire));
    EXPECT_EQ(atClient, big);

    // One changed byte of a record breaks the channel.
    std::vector<uint8_t> more;
    ASSERT_TRUE(TlsLinkSend(client, early, sizeof early, &more));
    more[more.size() - 3] ^= 0x40;
    std::vector<uint8_t> plain, reply;
    EXPECT_FALSE(TlsLinkReceive(server, more.data(), more.size(), &plain, &reply));
    EXPECT_TRUE(plain.empty());
    TlsLinkFree(client);
    TlsLinkFree(server);

    // A peer speaking plain frames where the handshake is due is refused.
    server = TlsLinkServer();
    std::vector<uint8_t> frame = Request(0, ReqVersion, nullptr);
    plain.clear();
    reply.clear();
    EXPECT_FALSE(TlsLinkReceive(server, frame.data(), frame.size(), &plain, &reply));
    EXPECT_TRUE(plain.empty());
    TlsLinkFree(server);
    TlsServerKeyDrop();
    EXPECT_EQ(TlsLinkServer(), nullptr) << "a server link without a key";
    RemoveKey(base);
}

TEST_F(NetServerTest, PlainFramesAreNotServed) {
    TlsChannelOffForTests = true;   // this side only: the server keeps its channel
    RawConn plain(port);
    TlsChannelOffForTests = false;
    ASSERT_GE(plain.fd, 0);
    ASSERT_EQ(plain.tls, nullptr);
    plain.Send(Request(0, ReqVersion, nullptr));
    EXPECT_TRUE(plain.Frame(1500).empty()) << "a reply went out in clear";
    EXPECT_TRUE(plain.Closed(PatientMs));
    RawConn ok(port);
    EXPECT_NE(Open(ok), 0u);
    ServerEnd e = Stop();
    EXPECT_TRUE(e.integrity) << e.report;
}

TEST_F(NetServerTest, TheClientPinsItsServerAndRefusesAChangedOne) {
    MessageSinkSet(Record);
    Shown.clear();
    RunMode = RunModeClient;
    NetClientStart();
    ASSERT_TRUE(ConnectLoop("127.0.0.1", (uint16_t)port, nullptr));
    std::string pinned = TlsPinFind("127.0.0.1", (uint16_t)port);
    EXPECT_EQ(pinned.size(), 64u);
    EXPECT_EQ(pinned, NetPeerFingerprint(0));
    EXPECT_TRUE(TlsPinFind("127.0.0.1", (uint16_t)(port + 1)).empty()) << "a pin is per server";
    NetClientClose();
    // The same server again: accepted without a word.
    ASSERT_TRUE(ConnectLoop("127.0.0.1", (uint16_t)port, nullptr));
    NetClientClose();
    EXPECT_TRUE(Shown.empty());

    // Another certificate under the same address: refused, both shown,
    // and the client does not try again.
    std::string forged(64, 'A');
    std::ofstream(TlsPinFile, std::ios::trunc) << "127.0.0.1 " << port << " " << forged << "\n";
    EXPECT_FALSE(ConnectLoop("127.0.0.1", (uint16_t)port, nullptr));
    EXPECT_TRUE(NetClient.refused);
    EXPECT_FALSE(NetClient.connected);
    ASSERT_EQ(Shown.size(), 1u);
    EXPECT_NE(Shown[0].find(forged), std::string::npos) << Shown[0];
    EXPECT_NE(Shown[0].find(pinned), std::string::npos) << Shown[0];
    EXPECT_EQ(TlsPinFind("127.0.0.1", (uint16_t)port), forged) << "the pin was replaced silently";

    // A pin that cannot be kept is not a silent pass either.
    Shown.clear();
    std::string kept = TlsPinFile;
    TlsPinFile = ::testing::TempDir() + "no_such_folder_" + std::to_string(getpid()) + "/QVTCP.PIN";
    EXPECT_FALSE(ConnectLoop("127.0.0.1", (uint16_t)port, nullptr));
    TlsPinFile = kept;
    EXPECT_TRUE(NetClient.refused);
    EXPECT_EQ(Shown.size(), 1u);
    ServerEnd e = Stop();
    EXPECT_TRUE(e.integrity) << e.report;
    EXPECT_EQ(e.sessions, 0) << "a refused client kept a session";
}
