#include "tools/sequencer_sim/request_reader.h"

namespace sequencer_sim {

namespace {

// The first byte in [from, to) that can start a frame, or `to`.
size_t next_header(const protocol::Bytes& bytes, size_t from, size_t to) {
    while (from < to && protocol::request_frame_length(bytes[from]) == 0) {
        ++from;
    }
    return from;
}

}  // namespace

void RequestReader::feed(const protocol::Byte* data, size_t size, SimTime now) {
    if (size == 0) {
        return;
    }
    buffer_.insert(buffer_.end(), data, data + size);
    last_byte_ = now;
}

std::vector<ReceivedPiece> RequestReader::take(SimTime now) {
    std::vector<ReceivedPiece> pieces;
    size_t pos = 0;
    while (pos < buffer_.size()) {
        const size_t length = protocol::request_frame_length(buffer_[pos]);
        if (length == 0) {
            // A run of bytes that start no frame, up to the next possible header.
            size_t end = pos;
            while (end < buffer_.size() && protocol::request_frame_length(buffer_[end]) == 0) {
                ++end;
            }
            pieces.push_back({protocol::Bytes(buffer_.begin() + pos, buffer_.begin() + end), {}});
            pos = end;
            continue;
        }
        // A header byte may be noise: when what it starts is no frame (left unfinished, or a
        // bad check byte), reading goes on at the next header inside it, so that one stray
        // byte costs no frame that follows it. A frame damaged whole has no header inside and
        // is thrown away whole.
        if (buffer_.size() - pos < length) {
            if (now - last_byte_ <= gap_) {
                break;
            }
            const size_t next = next_header(buffer_, pos + 1, buffer_.size());
            pieces.push_back({protocol::Bytes(buffer_.begin() + pos, buffer_.begin() + next), {}});
            pos = next;
            continue;
        }
        ReceivedPiece piece;
        piece.bytes.assign(buffer_.begin() + pos, buffer_.begin() + pos + length);
        piece.request = protocol::parse_request_frame(piece.bytes);
        if (!piece.request) {
            const size_t next = next_header(buffer_, pos + 1, pos + length);
            piece.bytes.resize(next - pos);
            pieces.push_back(std::move(piece));
            pos = next;
            continue;
        }
        pieces.push_back(std::move(piece));
        pos += length;
    }
    buffer_.erase(buffer_.begin(), buffer_.begin() + pos);
    return pieces;
}

std::optional<SimTime> RequestReader::deadline() const {
    if (buffer_.empty()) {
        return std::nullopt;
    }
    return last_byte_ + gap_ + std::chrono::milliseconds(1);
}

}  // namespace sequencer_sim
