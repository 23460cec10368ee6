#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "protocol/frame.h"
#include "tools/velmor_ctl/ctl_line.h"

namespace ctl {

// The answer a request waits for, by the console's table of answers: ReadId an IdReply,
// PollStatus a StatusReply, ReadSettings and WriteDelays a SettingsReply, every other request an
// Ack with its own ID and command code. A StateReport (0xB0 or 0xB1) of the addressed device
// also answers every request except ReadId and ReadSettings/WriteDelays, whose data it lacks.
struct Expectation {
    enum class Kind { Ack, IdReply, StatusReply, SettingsReply };
    Kind kind = Kind::Ack;
    uint8_t device_id = 0;
    uint8_t command = 0;
};
Expectation ExpectationFor(std::span<const uint8_t> payload);

struct Answer {
    enum class Outcome {
        Answered,  // frame holds the whole, verified answer
        Silent,    // nothing came in time
        Failed,    // something came that is no good answer, or the connection broke
    };
    Outcome outcome = Outcome::Silent;
    protocol::Bytes frame;
    std::string error;  // for Silent and Failed: what happened, for people
    // Failed because the connection closed or the line failed: no later request can be
    // answered either.
    bool line_lost = false;
    // Failed because the stop flag was raised (SIGINT, SIGTERM) while waiting.
    bool interrupted = false;

    bool ok() const { return outcome == Outcome::Answered; }
};

// Sends requests one at a time and waits for each answer. Unlike the console, which takes one
// read as one reply, the client gathers bytes until the expected reply is whole, so an answer
// that arrives in pieces is still recognised; it is then checked as the console's dispatcher
// checks it (length and family byte, check byte, device ID and code). Noise, a bad check
// byte, an answer from another device or a connection that closes mid-answer end the wait
// with an error, never with a wrong result.
class Exchanger {
  public:
    Exchanger(Line& line, int timeout_ms) : line_(line), timeout_ms_(timeout_ms) {}

    // Builds the frame of the payload, sends it and waits for its answer.
    Answer Ask(std::span<const uint8_t> payload);

    // Called with a StatusReply of another device that arrives while waiting (an answer that
    // came after its own request had timed out, as during a scan). Without it such a reply is
    // an error.
    std::function<void(uint8_t device_id)> on_late_status;

    // A flag (not owned) that, once raised, ends a wait within kStopCheckMs instead of at the
    // time-out, which may be minutes.
    void set_stop(const std::atomic<bool>* stop) { stop_ = stop; }
    static constexpr int kStopCheckMs = 100;

    int timeout_ms() const { return timeout_ms_; }

  private:
    enum class Verdict { Accept, Skip, BadCheck, Wrong };
    Verdict judge(const protocol::Bytes& frame, const Expectation& expected);

    bool stopped() const { return stop_ != nullptr && stop_->load(); }

    Line& line_;
    int timeout_ms_;
    const std::atomic<bool>* stop_ = nullptr;
};

// Bytes as upper-case hex, separated by blanks ("55 03 A8 ...").
std::string HexBytes(std::span<const uint8_t> bytes);

}  // namespace ctl
