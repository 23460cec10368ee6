#include "tools/sequencer_sim/frame_log.h"

namespace sequencer_sim {

std::string format_log_line(std::string_view direction, const protocol::Bytes& bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string line(direction);
    line.reserve(direction.size() + 3 * bytes.size());
    for (protocol::Byte b : bytes) {
        line += ' ';
        line += kHex[b >> 4];
        line += kHex[b & 0x0F];
    }
    return line;
}

FrameLog::~FrameLog() {
    if (file_) {
        std::fclose(file_);
    }
}

bool FrameLog::open(const std::string& path) {
    file_ = std::fopen(path.c_str(), "w");
    return file_ != nullptr;
}

void FrameLog::write(std::string_view direction, const protocol::Bytes& bytes) {
    if (!file_ || bytes.empty()) {
        return;
    }
    const std::string line = format_log_line(direction, bytes);
    std::fprintf(file_, "%s\n", line.c_str());
    std::fflush(file_);
}

}  // namespace sequencer_sim
