#include "tools/sequencer_sim/simulator.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace sequencer_sim {

namespace {

using std::chrono::milliseconds;

constexpr int kLongestWaitMs = 1000;
constexpr size_t kMaxUnwritten = 64 * 1024;
// A closing pseudo-terminal waits (up to the limit) for the console to read the last reply;
// closing it earlier would throw the unread bytes away. The pseudo-terminal hands written bytes
// on to the reading side a little later, so the count of unread bytes is only trusted after a
// short linger.
constexpr milliseconds kDrainLimit(2000);
constexpr milliseconds kDrainLinger(20);
constexpr int kDrainPollMs = 5;

}  // namespace

Simulator::Simulator(const SimOptions& options)
    : options_(options),
      line_(options.device_ids, options.time_scale, options.all_answer),
      faults_(options.faults, options.seed),
      repeats_(milliseconds(options.repeat_window_ms)),
      output_(options.pace) {}

std::string Simulator::open(std::FILE* out) {
    if (!options_.log_path.empty() && !log_.open(options_.log_path)) {
        return "cannot write the log " + options_.log_path;
    }
    if (options_.use_pty) {
        if (auto error = pty_.open(); !error.empty()) {
            return error;
        }
        std::fprintf(out, "pty %s\n", pty_.path().c_str());
        connect(pty_.fd(), SimClock::now());
    } else {
        if (auto error = listener_.listen_on(options_.tcp_host, options_.tcp_port);
            !error.empty()) {
            return error;
        }
        std::fprintf(out, "tcp %s:%u\n", options_.tcp_host.c_str(),
                     static_cast<unsigned>(listener_.bound_port()));
    }
    std::fflush(out);
    return {};
}

void Simulator::connect(int fd, SimTime now) {
    line_fd_ = fd;
    frames_ = 0;
    closing_ = false;
    peer_gone_ = false;
    drain_deadline_.reset();
    if (options_.noise_every_ms > 0) {
        next_noise_ = now + milliseconds(options_.noise_every_ms);
    }
    if (options_.state_report_every_ms > 0) {
        next_report_ = now + milliseconds(options_.state_report_every_ms);
    }
}

void Simulator::disconnect() {
    if (options_.use_pty) {
        pty_.close();
    } else if (line_fd_ >= 0) {
        ::close(line_fd_);
    }
    line_fd_ = -1;
    reader_.clear();
    repeats_.clear();
    output_.clear();
    unwritten_.clear();
    next_noise_.reset();
    next_report_.reset();
}

void Simulator::send(protocol::Bytes bytes, SimTime now, bool is_reply) {
    if (is_reply) {
        bytes = faults_.apply(std::move(bytes));
    }
    if (bytes.empty() || peer_gone_) {
        return;
    }
    log_.sent(bytes);
    const milliseconds delay(is_reply ? options_.reply_delay_ms : 0);
    if (is_reply && options_.split_pause_ms >= 0 && bytes.size() > 1) {
        const auto half = static_cast<std::ptrdiff_t>(bytes.size() / 2);
        output_.push(protocol::Bytes(bytes.begin(), bytes.begin() + half), now, delay);
        output_.push(protocol::Bytes(bytes.begin() + half, bytes.end()), now,
                     milliseconds(options_.split_pause_ms));
    } else {
        output_.push(std::move(bytes), now, delay);
    }
}

void Simulator::handle_pieces(SimTime now) {
    for (auto& piece : reader_.take(now)) {
        log_.received(piece.bytes);
        if (!piece.request || closing_) {
            continue;
        }
        ++frames_;
        if (!repeats_.is_repeat(piece.bytes, now)) {
            for (auto& reply : line_.handle(*piece.request, now)) {
                send(std::move(reply), now, true);
            }
        }
        if (options_.close_after_frames > 0 && frames_ >= options_.close_after_frames) {
            closing_ = true;
        }
    }
}

bool Simulator::take_input(SimTime now) {
    protocol::Byte buffer[4096];
    while (true) {
        const ssize_t n = ::read(line_fd_, buffer, sizeof buffer);
        if (n > 0) {
            reader_.feed(buffer, static_cast<size_t>(n), now);
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) {
            return true;
        }
        // The client has left (or the line failed). A pseudo-terminal stays: the simulator
        // holds its other end itself.
        return options_.use_pty;
    }
}

void Simulator::unprompted(SimTime now) {
    if (!connected() || closing_) {
        return;
    }
    if (next_noise_ && now >= *next_noise_) {
        send(faults_.noise(static_cast<size_t>(options_.noise_bytes)), now, false);
        *next_noise_ += milliseconds(options_.noise_every_ms);
    }
    if (next_report_ && now >= *next_report_) {
        send(line_.next_state_report(options_.state_report_code), now, false);
        *next_report_ += milliseconds(options_.state_report_every_ms);
    }
}

bool Simulator::write_due(SimTime now) {
    const protocol::Bytes due = output_.take_due(now);
    // A console that stops reading overruns the line: what does not fit is lost, as on a wire.
    const size_t room = kMaxUnwritten - std::min(kMaxUnwritten, unwritten_.size());
    unwritten_.insert(unwritten_.end(), due.begin(),
                      due.begin() + static_cast<std::ptrdiff_t>(std::min(room, due.size())));
    while (connected() && !unwritten_.empty()) {
        const ssize_t n =
            options_.use_pty ? ::write(line_fd_, unwritten_.data(), unwritten_.size())
                             : ::send(line_fd_, unwritten_.data(), unwritten_.size(), MSG_NOSIGNAL);
        if (n > 0) {
            unwritten_.erase(unwritten_.begin(), unwritten_.begin() + n);
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) {
            break;
        }
        if (options_.use_pty) {
            // Nobody reads the line; a real device's bytes would be lost the same way.
            unwritten_.clear();
            break;
        }
        disconnect();
        return false;
    }
    return true;
}

bool Simulator::ready_to_close(SimTime now) {
    if (!closing_ || !output_.empty() || !unwritten_.empty()) {
        return false;
    }
    if (!options_.use_pty) {
        return true;
    }
    if (!drain_deadline_) {
        drain_deadline_ = now + kDrainLimit;
    }
    const bool lingered = now >= *drain_deadline_ - kDrainLimit + kDrainLinger;
    return (lingered && pty_.unread_bytes() == 0) || now >= *drain_deadline_;
}

int Simulator::poll_timeout(SimTime now) const {
    std::optional<SimTime> next = line_.next_step_time();
    auto consider = [&](std::optional<SimTime> t) {
        if (t && (!next || *t < *next)) {
            next = t;
        }
    };
    if (connected()) {
        consider(output_.next_due());
        consider(reader_.deadline());
        consider(next_noise_);
        consider(next_report_);
    }
    if (drain_deadline_) {
        return kDrainPollMs;
    }
    if (!next) {
        return kLongestWaitMs;
    }
    if (*next <= now) {
        return 0;
    }
    // Round up, so that the loop does not wake just before the moment and spin.
    const auto wait = std::chrono::ceil<milliseconds>(*next - now).count();
    return static_cast<int>(std::min<int64_t>(wait, kLongestWaitMs));
}

int Simulator::run() {
    while (true) {
        SimTime now = SimClock::now();
        line_.advance(now);
        unprompted(now);
        write_due(now);
        if (ready_to_close(now)) {
            disconnect();
            if (options_.use_pty) {
                return 0;
            }
        }

        pollfd fds[2];
        nfds_t count = 0;
        if (connected()) {
            short events = closing_ ? 0 : POLLIN;
            if (!unwritten_.empty()) {
                events |= POLLOUT;
            }
            fds[count++] = {line_fd_, events, 0};
        }
        if (!options_.use_pty) {
            fds[count++] = {listener_.fd(), POLLIN, 0};
        }
        const int ready = ::poll(fds, count, poll_timeout(now));
        if (ready < 0 && errno != EINTR) {
            return 1;
        }
        now = SimClock::now();
        line_.advance(now);
        if (connected() && (fds[0].revents & (POLLIN | POLLHUP | POLLERR))) {
            // What a client sent just before leaving is still carried out and logged.
            peer_gone_ = !take_input(now);
            handle_pieces(now);
            if (peer_gone_) {
                disconnect();
            }
        } else if (connected()) {
            handle_pieces(now);
        }
        if (!options_.use_pty && (fds[count - 1].revents & POLLIN)) {
            const int client = listener_.accept_client();
            if (client >= 0) {
                if (connected()) {
                    // One console at a time, as on a device's single network port.
                    ::close(client);
                } else {
                    connect(client, now);
                }
            }
        }
    }
}

}  // namespace sequencer_sim
