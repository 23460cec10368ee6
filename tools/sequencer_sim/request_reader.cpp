#include "tools/sequencer_sim/request_reader.h"

namespace sequencer_sim {

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
        if (buffer_.size() - pos < length) {
            if (now - last_byte_ > gap_) {
                pieces.push_back({protocol::Bytes(buffer_.begin() + pos, buffer_.end()), {}});
                pos = buffer_.size();
            }
            break;
        }
        ReceivedPiece piece;
        piece.bytes.assign(buffer_.begin() + pos, buffer_.begin() + pos + length);
        piece.request = protocol::parse_request_frame(piece.bytes);
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
