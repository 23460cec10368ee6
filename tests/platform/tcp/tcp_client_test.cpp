#include <fcntl.h>
#include <gtest/gtest.h>

#include <array>
#include <cerrno>

#include "loopback_server.h"
#include "platform/tcp/tcp_client.h"

namespace tcp {
namespace {

using Bytes = std::vector<uint8_t>;

// Gives the loopback a moment to deliver, by polling nothing for a few milliseconds; used only
// where a test needs bytes sent by the server to have reached the client's socket.
void let_loopback_deliver() {
    pollfd none{-1, 0, 0};
    poll(&none, 1, 5);
}

class TcpLink : public ::testing::Test {
  protected:
    void connect_client() {
        client_.set_host("127.0.0.1");
        client_.set_port(server_.port());
        ASSERT_FALSE(client_.Connect());
        ASSERT_TRUE(server_.accept_peer());
    }

    LoopbackServer server_;
    TcpClient client_;
};

TEST_F(TcpLink, FramesBothWaysAndHeldBytes) {
    EXPECT_EQ(client_.Connected(), LinkState::NotConnected);
    connect_client();
    EXPECT_EQ(client_.Connected(), LinkState::Connected);
    EXPECT_EQ(client_.HeldBytes(), 0u);

    const Bytes frame{0x55, 0x03, 0xA9, 0x00, 0x00, 0xAA};
    ASSERT_TRUE(client_.Write(frame));
    EXPECT_EQ(server_.receive(frame.size()), frame);

    // The connected test takes in what has arrived without waiting for more.
    server_.send({0x54, 0x03, 0xA9});
    for (int i = 0; i < 400 && client_.HeldBytes() < 3; ++i) {
        ASSERT_EQ(client_.Connected(), LinkState::Connected);
        let_loopback_deliver();
    }
    EXPECT_EQ(client_.HeldBytes(), 3u);

    // The short wait takes in what follows; reads take from the front and leave the rest.
    server_.send({0x01, 0x02});
    client_.WaitForData(2000);
    ASSERT_EQ(client_.HeldBytes(), 5u);
    EXPECT_EQ(client_.Read(2), (Bytes{0x54, 0x03}));
    EXPECT_EQ(client_.Read(10), (Bytes{0xA9, 0x01, 0x02}));
    EXPECT_EQ(client_.Read(1), Bytes{});

    // Reading into a buffer takes what fits, from the front, and leaves the rest held.
    server_.send({0x10, 0x11, 0x12, 0x13, 0x14});
    client_.WaitForData(2000);
    for (int i = 0; i < 400 && client_.HeldBytes() < 5; ++i) {
        let_loopback_deliver();
        client_.WaitForData(10);
    }
    ASSERT_EQ(client_.HeldBytes(), 5u);
    std::array<uint8_t, 3> small{};
    EXPECT_EQ(client_.ReadInto(small), 3u);
    EXPECT_EQ(small, (std::array<uint8_t, 3>{0x10, 0x11, 0x12}));
    EXPECT_EQ(client_.ReadInto(small), 2u);
    EXPECT_EQ(small[0], 0x13);
    EXPECT_EQ(small[1], 0x14);
    EXPECT_EQ(client_.ReadInto(small), 0u);

    // With nothing coming, the wait returns with nothing.
    client_.WaitForData(10);
    EXPECT_EQ(client_.HeldBytes(), 0u);
}

TEST_F(TcpLink, PeerClosingIsABrokenConnectionUntilDisconnect) {
    connect_client();
    server_.send({0x54, 0x01, 0xA8});
    server_.close_peer();
    LinkState state = LinkState::Connected;
    for (int i = 0; i < 400 && state == LinkState::Connected; ++i) {
        state = client_.Connected();
        let_loopback_deliver();
    }
    EXPECT_EQ(state, LinkState::Broken);
    EXPECT_EQ(client_.Connected(), LinkState::Broken);  // stays broken
    EXPECT_EQ(client_.HeldBytes(), 3u);                 // what came before the end is kept
    EXPECT_FALSE(client_.Write(Bytes{0x55}));
    EXPECT_TRUE(client_.Disconnect());
    EXPECT_EQ(client_.Connected(), LinkState::NotConnected);
    EXPECT_EQ(client_.HeldBytes(), 0u);
    EXPECT_FALSE(client_.Write(Bytes{0x55}));

    // The same client connects again.
    ASSERT_FALSE(client_.Connect());
    ASSERT_TRUE(server_.accept_peer());
    EXPECT_EQ(client_.Connected(), LinkState::Connected);
}

TEST_F(TcpLink, ResetByPeerAndWritesIntoAClosedConnection) {
    connect_client();
    server_.close_peer(/*reset=*/true);
    LinkState state = LinkState::Connected;
    for (int i = 0; i < 400 && state == LinkState::Connected; ++i) {
        state = client_.Connected();
        let_loopback_deliver();
    }
    EXPECT_EQ(state, LinkState::Broken);
    EXPECT_FALSE(client_.Write(Bytes(6, 0x55)));
}

TEST_F(TcpLink, WritesGoOutWholeAndAWriteIntoAResetConnectionLeavesItsErrorInErrno) {
    connect_client();
    // Every byte in order, also when the socket takes a long write in pieces.
    Bytes block(256 * 1024);
    for (size_t i = 0; i < block.size(); ++i)
        block[i] = static_cast<uint8_t>(i * 7 + i / 251);
    ASSERT_TRUE(client_.Write(block));
    EXPECT_EQ(server_.receive(block.size()), block);

    // The peer resets before the client has looked: the write itself finds out, and the send
    // routine reports the socket's own error from errno.
    server_.close_peer(/*reset=*/true);
    let_loopback_deliver();
    errno = 0;
    EXPECT_FALSE(client_.Write(Bytes(6, 0x55)));
    EXPECT_TRUE(errno == ECONNRESET || errno == EPIPE) << errno;
    EXPECT_EQ(client_.Connected(), LinkState::Broken);
}

TEST_F(TcpLink, SecondConnectWhileConnectedIsRefused) {
    connect_client();
    const ConnectError e = client_.Connect();
    EXPECT_EQ(e.code, ConnectError::Code::AlreadyConnected);
    EXPECT_EQ(client_.Connected(), LinkState::Connected);
}

// A watch the test sets by hand: what the message loop's wait would have seen.
class HandWatch : public SocketWatch {
  public:
    void watch(int fd) override { watched.push_back(fd); }
    bool may_be_ready() const override { return input; }
    void drained() override {
        ++drains;
        input = false;
    }
    bool reports_hang_up() const override { return true; }
    std::vector<int> watched;
    bool input = true;
    int drains = 0;
};

TEST_F(TcpLink, WithAWatchTheConnectedTestAsksTheSocketOnlyWhenSomethingMayHaveCome) {
    HandWatch watch;
    client_.set_watch(&watch);
    connect_client();
    ASSERT_EQ(watch.watched.size(), 1u);
    EXPECT_GE(watch.watched[0], 0);
    EXPECT_EQ(client_.Connected(), LinkState::Connected);
    EXPECT_EQ(watch.drains, 1);  // read dry
    EXPECT_FALSE(watch.input);

    // Bytes the watch has not reported stay in the socket; once reported they are taken in.
    server_.send({0x54, 0x03, 0xA9});
    let_loopback_deliver();
    EXPECT_EQ(client_.Connected(), LinkState::Connected);
    EXPECT_EQ(client_.HeldBytes(), 0u);
    watch.input = true;
    EXPECT_EQ(client_.Connected(), LinkState::Connected);
    EXPECT_EQ(client_.HeldBytes(), 3u);
    EXPECT_FALSE(watch.input);
    // TakeIn asks the socket whatever the watch says.
    server_.send({0x01, 0x02});
    let_loopback_deliver();
    EXPECT_EQ(client_.Connected(), LinkState::Connected);
    EXPECT_EQ(client_.HeldBytes(), 3u);
    EXPECT_EQ(client_.TakeIn(), LinkState::Connected);
    EXPECT_EQ(client_.HeldBytes(), 5u);
    client_.Read(2);

    // More than the client holds at once: the socket is not dry, so the watch is not told so
    // and the next test takes in the rest without a new report.
    server_.send(Bytes(TcpClient::kMaxHeld + 1000, 0x55));
    for (int i = 0; i < 400; ++i) {
        watch.input = true;
        ASSERT_EQ(client_.Connected(), LinkState::Connected);
        if (client_.HeldBytes() >= TcpClient::kMaxHeld)
            break;
        let_loopback_deliver();
    }
    EXPECT_EQ(client_.HeldBytes(), TcpClient::kMaxHeld);
    EXPECT_TRUE(watch.input);
    client_.Read(client_.HeldBytes());
    for (int i = 0; i < 400; ++i) {
        watch.input = true;
        ASSERT_EQ(client_.Connected(), LinkState::Connected);
        if (client_.HeldBytes() >= 1000u + 3u)
            break;
        let_loopback_deliver();
    }
    EXPECT_EQ(client_.HeldBytes(), 1000u + 3u);
    EXPECT_FALSE(watch.input);  // read dry

    // A hang-up is reported like input; the socket leaves the watch before it is closed.
    server_.close_peer();
    let_loopback_deliver();
    watch.input = true;
    EXPECT_EQ(client_.Connected(), LinkState::Broken);
    EXPECT_TRUE(client_.Disconnect());
    EXPECT_EQ(watch.watched, (std::vector<int>{watch.watched[0], -1}));
}

// The reading tick's take-in and the short wait stop at a read that leaves room: the socket's
// queue is empty then, so they do not ask it again for an EAGAIN, and the watch keeps what the
// loop's wait told it. A hang-up that follows the bytes is still found by the connected test
// once the wait reports it.
TEST_F(TcpLink, TakingInABatchAsksTheSocketOnceAndAHangUpBehindItIsStillFound) {
    HandWatch watch;
    client_.set_watch(&watch);
    connect_client();
    EXPECT_EQ(client_.Connected(), LinkState::Connected);
    ASSERT_EQ(watch.drains, 1);

    const Bytes reply{0x55, 0x03, 0xA8, 0x01, 0x80, 0x01, 0x00, 0x2B};
    server_.send(reply);
    let_loopback_deliver();
    EXPECT_EQ(client_.TakeIn(), LinkState::Connected);
    EXPECT_EQ(client_.Read(client_.HeldBytes()), reply);
    EXPECT_EQ(watch.drains, 1) << "no second read found the socket dry";
    EXPECT_FALSE(watch.input);
    // The wait for more bytes takes in what follows the same way, and a quiet wait reads nothing.
    server_.send({0x01, 0x02});
    client_.WaitForData(2000);
    EXPECT_EQ(client_.HeldBytes(), 2u);
    client_.WaitForData(10);
    EXPECT_EQ(client_.HeldBytes(), 2u);
    EXPECT_EQ(watch.drains, 1);
    // With nothing there, the reading tick hears that the socket is dry.
    client_.Read(2);
    EXPECT_EQ(client_.TakeIn(), LinkState::Connected);
    EXPECT_EQ(watch.drains, 2);

    // Bytes and the peer's end arrive together: the take-in keeps the bytes, the wait reports
    // the hang-up, and the connected test then finds the connection broken.
    server_.send({0x57, 0x03});
    server_.close_peer();
    let_loopback_deliver();
    EXPECT_EQ(client_.TakeIn(), LinkState::Connected);
    EXPECT_EQ(client_.HeldBytes(), 2u);
    watch.input = true;
    EXPECT_EQ(client_.Connected(), LinkState::Broken);
    EXPECT_EQ(client_.HeldBytes(), 2u);
    client_.set_watch(nullptr);  // the watch ends with this test, the client with the fixture
}

TEST(TcpConnect, NothingListeningIsRefused) {
    uint16_t port = 0;
    {
        LoopbackServer closed;
        port = closed.port();
    }
    TcpClient client;
    client.set_host("127.0.0.1");
    client.set_port(port);
    const ConnectError e = client.Connect();
    EXPECT_EQ(e.code, ConnectError::Code::Refused);
    EXPECT_EQ(client.Connected(), LinkState::NotConnected);
}

TEST(TcpConnect, GivesUpAtTheTimeOutWhenNobodyAnswers) {
    // A listener whose queue is full drops further handshakes, so a connect gets no answer.
    LoopbackServer server(/*backlog=*/0);
    std::vector<int> fillers;
    for (int i = 0; i < 3; ++i) {
        const int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        a.sin_port = htons(server.port());
        connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
        pollfd p{fd, POLLOUT, 0};
        poll(&p, 1, 100);
        fillers.push_back(fd);
    }
    TcpClient client;
    client.set_host("127.0.0.1");
    client.set_port(server.port());
    client.set_connect_timeout_ms(300);
    const ConnectError e = client.Connect();
    EXPECT_EQ(e.code, ConnectError::Code::TimedOut);
    EXPECT_EQ(client.Connected(), LinkState::NotConnected);
    for (int fd : fillers) {
        close(fd);
    }
}

TEST(TcpConnect, HostNamesGoThroughTheResolver) {
    LoopbackServer server;
    TcpClient client;
    client.set_port(server.port());
    int lookups = 0;
    client.set_resolver([&](const std::string& host, int timeout_ms) -> std::optional<in_addr> {
        ++lookups;
        EXPECT_GT(timeout_ms, 0);
        if (host != "sequencer.test") {
            return std::nullopt;
        }
        in_addr a{};
        a.s_addr = htonl(INADDR_LOOPBACK);
        return a;
    });
    client.set_host("sequencer.test");
    ASSERT_FALSE(client.Connect());
    EXPECT_EQ(lookups, 1);
    client.Disconnect();

    client.set_host("unknown.test");
    EXPECT_EQ(client.Connect().code, ConnectError::Code::HostNotFound);
    EXPECT_EQ(lookups, 2);

    // Texts that cannot be host names fail without a lookup.
    for (const char* bad : {"", "no such host", "192.168.1.111:8080", "-bad.test", "a..b"}) {
        client.set_host(bad);
        EXPECT_EQ(client.Connect().code, ConnectError::Code::HostNotFound) << bad;
    }
    EXPECT_EQ(lookups, 2);

    // Dotted addresses never need one.
    client.set_host("127.0.0.1");
    EXPECT_FALSE(client.Connect());
    EXPECT_EQ(lookups, 2);
}

TEST(TcpConnect, LocalhostResolvesThroughTheHostsFile) {
    LoopbackServer server;
    TcpClient client;
    client.set_host("localhost");
    client.set_port(server.port());
    EXPECT_FALSE(client.Connect());
    EXPECT_EQ(client.Connected(), LinkState::Connected);
}

}  // namespace
}  // namespace tcp
