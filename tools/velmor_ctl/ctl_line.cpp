#include "tools/velmor_ctl/ctl_line.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/serial/com_ports.h"
#include "platform/serial/comm.h"
#include "platform/tcp/tcp_client.h"

namespace ctl {

namespace {

// The console's connect time-out; a longer answer time-out stretches it.
constexpr int kConnectTimeoutMs = 2000;

class TcpLine : public Line {
  public:
    std::string open(const LinkTarget& target, int timeout_ms) {
        client_.set_host(target.host);
        client_.set_port(target.port);
        client_.set_connect_timeout_ms(std::max(kConnectTimeoutMs, timeout_ms));
        if (const tcp::ConnectError error = client_.Connect()) {
            return error.text;
        }
        return {};
    }

    bool Send(std::span<const uint8_t> frame) override {
        return client_.Connected() == tcp::LinkState::Connected && client_.Write(frame);
    }

    ReadResult Read(std::vector<uint8_t>* into, int wait_ms) override {
        if (client_.Connected() != tcp::LinkState::Connected) {
            return take(into) ? ReadResult::Data : ReadResult::Closed;
        }
        if (client_.HeldBytes() == 0) {
            client_.WaitForData(wait_ms);
        }
        if (take(into)) {
            return ReadResult::Data;
        }
        return client_.Connected() == tcp::LinkState::Connected ? ReadResult::Nothing
                                                                : ReadResult::Closed;
    }

    void Discard() override {
        if (client_.Connected() == tcp::LinkState::Connected) {
            client_.Read(client_.HeldBytes());
        }
    }

  private:
    bool take(std::vector<uint8_t>* into) {
        const auto bytes = client_.Read(client_.HeldBytes());
        into->insert(into->end(), bytes.begin(), bytes.end());
        return !bytes.empty();
    }

    tcp::TcpClient client_;
};

// The port number under which the client opens a device given by its path: the serial
// interface opens ports by name, and this one is the client's own for this run.
constexpr int kOwnPort = 0;

class SerialLine : public Line {
  public:
    ~SerialLine() override {
        if (handle_ != serial::INVALID_HANDLE_VALUE) {
            serial::CloseHandle(handle_);
        }
    }

    std::string open(const LinkTarget& target) {
        serial::set_com_mapping(kOwnPort, target.device);
        handle_ = serial::CreateFileA("COM" + std::to_string(kOwnPort));
        if (handle_ == serial::INVALID_HANDLE_VALUE) {
            const int error = errno;
            return target.device + ": " +
                   (error == EWOULDBLOCK || error == EBUSY
                        ? std::string("in use by another program")
                        : std::string(std::strerror(error)));
        }
        serial::DCB dcb;
        if (!serial::GetCommState(handle_, &dcb)) {
            return target.device + ": not a serial line";
        }
        dcb.BaudRate = 19200;
        dcb.ByteSize = 8;
        dcb.Parity = serial::NOPARITY;
        dcb.StopBits = serial::ONESTOPBIT;
        if (!serial::SetCommState(handle_, dcb)) {
            return target.device + ": the line settings 19200,8,None,1 were refused";
        }
        Discard();
        return {};
    }

    bool Send(std::span<const uint8_t> frame) override {
        size_t written = 0;
        return serial::WriteFile(handle_, frame.data(), frame.size(), &written) &&
               written == frame.size();
    }

    ReadResult Read(std::vector<uint8_t>* into, int wait_ms) override {
        pollfd p{handle_, POLLIN, 0};
        const int ready = ::poll(&p, 1, std::max(wait_ms, 0));
        if (ready <= 0) {
            return ReadResult::Nothing;
        }
        if ((p.revents & POLLIN) == 0 && (p.revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) {
            return ReadResult::Closed;
        }
        uint8_t buffer[256];
        size_t n = 0;
        if (!serial::ReadFile(handle_, buffer, sizeof buffer, &n)) {
            return ReadResult::Closed;
        }
        // A hung-up terminal stays readable and reads as empty: without this the wait for an
        // answer would ask it again and again until its time ran out.
        if (n == 0 && (p.revents & (POLLERR | POLLHUP)) != 0) {
            return ReadResult::Closed;
        }
        into->insert(into->end(), buffer, buffer + n);
        return n > 0 ? ReadResult::Data : ReadResult::Nothing;
    }

    void Discard() override { serial::PurgeComm(handle_, serial::PURGE_RXCLEAR); }

  private:
    serial::HANDLE handle_ = serial::INVALID_HANDLE_VALUE;
};

}  // namespace

OpenedLine OpenLine(const LinkTarget& target, int timeout_ms) {
    OpenedLine opened;
    if (target.kind == LinkTarget::Kind::Tcp) {
        auto line = std::make_unique<TcpLine>();
        opened.error = line->open(target, timeout_ms);
        if (opened.error.empty()) {
            opened.line = std::move(line);
        }
    } else {
        auto line = std::make_unique<SerialLine>();
        opened.error = line->open(target);
        if (opened.error.empty()) {
            opened.line = std::move(line);
        }
    }
    return opened;
}

}  // namespace ctl
